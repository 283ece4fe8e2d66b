// SPDX-License-Identifier: MIT
#include "StandardIcons.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QProxyStyle>

#include <gtest/gtest.h>

namespace {

QImage Picture(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage();
}

// A style of its own icons, all red.
class RedIconStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap, const QStyleOption* = nullptr, const QWidget* = nullptr) const override
    {
        QPixmap red(16, 16);
        red.fill(Qt::red);
        return QIcon(red);
    }
};

}   // namespace

TEST(StandardIcons, MadeAheadAreTheStylesOwnAndStandOnlyForThatStyle)
{
    QStyle* style = QApplication::style();
    const QStyle::StandardPixmap icons[] = {
        QStyle::SP_DialogOpenButton,   QStyle::SP_DialogSaveButton, QStyle::SP_FileDialogDetailedView,
        QStyle::SP_MessageBoxQuestion, QStyle::SP_ArrowLeft,        QStyle::SP_ArrowRight,
        QStyle::SP_TrashIcon};   // the last one no button shows
    {
        const StandardIconsAhead ahead;
        for (const QStyle::StandardPixmap which : icons)
            EXPECT_EQ(Picture(StandardIcon(style, which)), Picture(style->standardIcon(which))) << which;
        RedIconStyle red;
        EXPECT_EQ(Picture(StandardIcon(&red, QStyle::SP_ArrowLeft)), Picture(red.standardIcon(QStyle::SP_ArrowLeft)));
    }
    // Once they are gone, each is made when asked for.
    EXPECT_EQ(Picture(StandardIcon(style, QStyle::SP_ArrowRight)), Picture(style->standardIcon(QStyle::SP_ArrowRight)));
}
