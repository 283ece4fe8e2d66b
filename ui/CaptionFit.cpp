// SPDX-License-Identifier: MIT
#include "CaptionFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>

int CaptionInk(const QWidget& control, QString text)
{
    static const QRegularExpression mnemonic(QStringLiteral("&(?!&)"));
    text.remove(mnemonic);
    return QFontMetrics(control.font()).tightBoundingRect(text).right() + 1;
}

int CaptionRoom(const QAbstractButton& button)
{
    if (qobject_cast<const QPushButton*>(&button)) {
        constexpr int kFrame = 2;
        const int icon = button.icon().isNull() ? 0 : button.iconSize().width() + 4;
        return button.width() - 2 * kFrame - icon;
    }
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const bool check = qobject_cast<const QCheckBox*>(&button) != nullptr;
    return button.style()
        ->subElementRect(check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, &button)
        .width();
}

void CondenseCaptionsToFit(QWidget& window)
{
    constexpr int kNarrowest = 80;
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (button->text().isEmpty())
            continue;
        QFont font = button->font();
        for (int stretch = 96; CaptionInk(*button, button->text()) > CaptionRoom(*button) && stretch >= kNarrowest;
             stretch -= 2) {
            font.setStretch(stretch);
            button->setFont(font);
        }
    }
}
