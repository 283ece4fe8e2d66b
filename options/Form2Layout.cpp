// SPDX-License-Identifier: MIT
// The controls of the options dialog at their fixed client positions.
#include "Unit2.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QLabel* MakeLabel(QWidget* parent, const char* objectName, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(objectName));
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* objectName, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    // Enter in an edit must not press a button of the dialog.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

// A label that sizes itself to its text, with its top-left corner given.
void PlaceAutoSized(QLabel* label, int left, int top)
{
    label->adjustSize();
    label->move(left, top);
}

// The installed Japanese face runs a little wider than the one the layout was
// made for; a text that would be cut off is drawn narrower until it fits.
void CondenseToFit(QWidget* control, int room)
{
    constexpr int kNarrowest = 80;
    QFont font = control->font();
    for (int stretch = 98; control->sizeHint().width() > room && stretch >= kNarrowest; stretch -= 2) {
        font.setStretch(stretch);
        control->setFont(font);
    }
}

}   // namespace

void TForm2::CreateControls()
{
    StaticText1 = MakeLabel(this, "StaticText1", tr("■描画色の設定"));
    Label1 = MakeLabel(this, "Label1", tr("■オプション設定"));
    Y_AutoDetermine = new QCheckBox(tr("Y軸設定自動変更"), this);
    Y_AutoDetermine->setObjectName(QStringLiteral("Y_AutoDetermine"));
    ChkNoMulExec = new QCheckBox(tr("複数起動しない"), this);
    ChkNoMulExec->setObjectName(QStringLiteral("ChkNoMulExec"));
    MouseSens = new QLineEdit(this);
    MouseSens->setObjectName(QStringLiteral("MouseSens"));
    MouseSens->setTextMargins(0, 0, 0, 0);
    StaticText2 = MakeLabel(this, "StaticText2", tr("Wheel感度:"));
    StaticText3 = MakeLabel(this, "StaticText3", tr("counts/scroll"));

    Label2 = MakeLabel(this, "Label2", tr("■関連づけ変更"));
    Label3 = MakeLabel(this, "Label3", tr("拡張子："));
    Kakucho = new QLineEdit(this);
    Kakucho->setObjectName(QStringLiteral("Kakucho"));
    Kakucho->setTextMargins(0, 0, 0, 0);

    KanrenCases = new QGroupBox(this);
    KanrenCases->setObjectName(QStringLiteral("KanrenCases"));
    m_kanrenButtons = new QButtonGroup(this);
    m_kanrenButtons->setExclusive(true);
    const std::array<QString, 3> items{tr("ダブルクリックで実行"), tr("Tracelyで開く(&Q)"), tr("元に戻す")};
    for (int i = 0; i < 3; ++i) {
        KanrenCasesItems[i] = new QRadioButton(items[i], KanrenCases);
        m_kanrenButtons->addButton(KanrenCasesItems[i], i);
    }

    Go = MakeButton(this, "Go", tr("Go!"));
    QFont bold = Go->font();
    bold.setBold(true);
    Go->setFont(bold);
    Label4 = MakeLabel(this, "Label4", tr("関連づけを"));
    KanrenReset = MakeButton(this, "KanrenReset", tr("全てリセット"));

    Label5 = MakeLabel(this, "Label5", tr("■ファイル選択ダイアログのフィルタ"));
    Filters = new FilterGrid(this);
    Filters->setObjectName(QStringLiteral("Filters"));
    Button1 = MakeButton(this, "Button1", tr("戻る"));
}

void TForm2::PlaceControls()
{
    StaticText1->setGeometry(8, 8, 88, 16);
    PlaceAutoSized(Label1, 176, 8);
    Y_AutoDetermine->setGeometry(176, 24, 137, 17);
    ChkNoMulExec->setGeometry(176, 48, 97, 17);
    MouseSens->setGeometry(235, 69, 22, 20);
    StaticText2->setGeometry(176, 72, 60, 16);
    StaticText3->setGeometry(261, 72, 72, 16);

    PlaceAutoSized(Label2, 8, 128);
    PlaceAutoSized(Label3, 10, 148);
    Kakucho->setGeometry(56, 144, 41, 20);
    KanrenCases->setGeometry(104, 120, 145, 73);
    // The items share the box below its (empty) caption, one above the other.
    for (int i = 0; i < 3; ++i)
        KanrenCasesItems[i]->setGeometry(6, 12 + i * 19, 137, 19);
    Go->setGeometry(24, 168, 49, 25);
    PlaceAutoSized(Label4, 265, 150);
    KanrenReset->setGeometry(256, 165, 73, 25);

    PlaceAutoSized(Label5, 8, 208);
    Filters->setGeometry(16, 224, 305, 87);
    Button1->setGeometry(125, 323, 75, 25);

    CondenseToFit(Y_AutoDetermine, Y_AutoDetermine->width());
    CondenseToFit(ChkNoMulExec, ChkNoMulExec->width());
    // The wheel label's box reaches one pixel under the wheel field.
    CondenseToFit(StaticText2, MouseSens->x() - StaticText2->x());
    CondenseToFit(StaticText3, StaticText3->width());
    for (QRadioButton* item : KanrenCasesItems)
        CondenseToFit(item, item->width());
}

void TForm2::SetTabOrder()
{
    // Static texts take no focus; the rest follow the dialog's tab order.
    QWidget* const order[] = {Y_AutoDetermine,
                              ChkNoMulExec,
                              MouseSens,
                              Kakucho,
                              KanrenCasesItems[0],
                              KanrenCasesItems[1],
                              KanrenCasesItems[2],
                              Go,
                              KanrenReset,
                              Button1,
                              Filters};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void TForm2::ConnectHandlers()
{
    connect(MouseSens, &QLineEdit::textChanged, this, [this] { ChangeWheelUnit(); });
    connect(Go, &QPushButton::clicked, this, [this] { ChangeKanren(); });
    connect(KanrenReset, &QPushButton::clicked, this, [this] { RestoreAll(); });
    connect(Button1, &QPushButton::clicked, this, [this] { ReturnToMain(); });
}
