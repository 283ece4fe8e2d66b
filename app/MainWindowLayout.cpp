// SPDX-License-Identifier: MIT
// The controls of the main window: their positions in client pixels,
// captions, start texts, tool tips, tab stops and tab order.
#include "CaptionFit.h"
#include "PlotView.h"
#include "StandardIcons.h"
#include "Translations.h"
#include "Unit1.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>

namespace {

// The "system menu" colour behind the read-only read-outs.
const QColor kReadoutBackground(240, 240, 240);

// The installed Japanese face runs about a tenth wider than the one the fixed
// positions were laid out for; at the window's 12 pixels the numbers in the
// narrow edits and the captions of the narrow boxes would be cut off.
void UseNarrowFont(QWidget* w)
{
    QFont font = w->font();
    font.setPixelSize(11);
    w->setFont(font);
}

// Numbers fill the narrow edits from edge to edge.
void UseNumberLayout(QLineEdit* edit)
{
    UseNarrowFont(edit);
    edit->setTextMargins(-2, 0, -2, 0);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

// Edits the user reaches with the mouse only (no tab stop).
QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text, const QString& hint, QRect geometry)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    edit->setToolTip(hint);
    edit->setFocusPolicy(Qt::ClickFocus);
    return edit;
}

QLineEdit* MakeReadout(QWidget* parent, const char* name, const QString& hint, int left, int top)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(left, top, 65, 18);
    edit->setToolTip(hint);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::StrongFocus);
    UseNumberLayout(edit);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, kReadoutBackground);
    edit->setPalette(palette);
    return edit;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& caption, const QString& hint, QRect geometry,
                        bool checked, bool tabStop)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    box->setToolTip(hint);
    box->setChecked(checked);
    box->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    box->setStyleSheet(QStringLiteral("QCheckBox { spacing: 3px; }"));
    return box;
}

QToolButton* MakeSpeedButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon, const QString& hint,
                             int left)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, 411, 20, 20);
    button->setIcon(StandardIcon(parent->style(), icon));
    button->setIconSize(QSize(kButtonIconEdge, kButtonIconEdge));
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QPushButton* MakeNavigationButton(QWidget* parent, const char* name, const QString& caption, const QString& hint,
                                  QRect geometry)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAutoDefault(false);
    QFont font = button->font();
    font.setPixelSize(16);
    button->setFont(font);
    return button;
}

}   // namespace

void TForm1::CreateControls()
{
    m_plotView = new PlotView(this);
    m_plotView->setGeometry(PlotRect.Left, PlotRect.Top, PlotRect.Width + 1, PlotRect.Height + 1);

    PlaceAxisControls();
    PlaceFileControls();
    PlaceReadouts();
    SetTabOrder();

    AxisControls[0] = {X0_upper, X0_lower, X0column, X0_auto, nullptr, nullptr, L_X0column};
    AxisControls[1] = {Y1_upper, Y1_lower, Y1column, Y1_auto, L_Y1_upper, L_Y1_lower, L_Y1column};
    AxisControls[2] = {Y2_upper, Y2_lower, Y2column, Y2_auto, L_Y2_upper, L_Y2_lower, L_Y2column};
    AxisControls[3] = {Y3_upper, Y3_lower, Y3column, Y3_auto, L_Y3_upper, L_Y3_lower, L_Y3column};

    // A few captions already touch their edges in the Japanese layout, which
    // keeps every pixel it has; the English one may be drawn narrower.
    if (CurrentLanguage() == UiLanguage::English)
        CondenseCaptionsToFit(*this);
}

void TForm1::PlaceAxisControls()
{
    Y1_upper = MakeEdit(this, "Y1_upper", QStringLiteral("Y1_upper"), tr("Y1上限"), {15, 0, 52, 18});
    Y2_upper = MakeEdit(this, "Y2_upper", QStringLiteral("Y2_upper"), tr("Y2上限"), {15, 18, 52, 18});
    Y3_upper = MakeEdit(this, "Y3_upper", QStringLiteral("Y3_upper"), tr("Y3上限"), {15, 36, 52, 18});
    L_Y1_upper = MakeLabel(this, "L_Y1_upper", QStringLiteral("Y1"), 0, 3);
    L_Y2_upper = MakeLabel(this, "L_Y2_upper", QStringLiteral("Y2"), 0, 21);
    L_Y3_upper = MakeLabel(this, "L_Y3_upper", QStringLiteral("Y3"), 0, 39);

    LinkageYsBox =
        MakeCheckBox(this, "LinkageYs", tr("Link"), tr("Y1～Y3の縦軸を同調させます"), {10, 65, 37, 17}, false, false);
    Y1_auto = MakeCheckBox(this, "Y1_auto", tr("Y1:Auto"), tr("Y1軸自動設定"), {10, 81, 57, 17}, true, false);
    Y2_auto = MakeCheckBox(this, "Y2_auto", tr("Y2:Auto"), tr("Y2軸自動設定"), {10, 97, 57, 17}, true, false);
    Y3_auto = MakeCheckBox(this, "Y3_auto", tr("Y3:Auto"), tr("Y3軸自動設定"), {10, 113, 57, 17}, true, false);

    Y1_lower = MakeEdit(this, "Y1_lower", QStringLiteral("Y1_lower"), tr("Y1下限"), {15, 292, 52, 18});
    Y2_lower = MakeEdit(this, "Y2_lower", QStringLiteral("Y2_lower"), tr("Y2下限"), {15, 310, 52, 18});
    Y3_lower = MakeEdit(this, "Y3_lower", QStringLiteral("Y3_lower"), tr("Y3下限"), {15, 328, 52, 18});
    L_Y1_lower = MakeLabel(this, "L_Y1_lower", QStringLiteral("Y1"), 0, 295);
    L_Y2_lower = MakeLabel(this, "L_Y2_lower", QStringLiteral("Y2"), 0, 313);
    L_Y3_lower = MakeLabel(this, "L_Y3_lower", QStringLiteral("Y3"), 0, 331);

    X0_lower = MakeEdit(this, "X0_lower", QString(), tr("X下限"), {69, 316, 56, 18});
    X0_auto = MakeCheckBox(this, "X0_auto", tr("Auto"), tr("X軸自動設定"), {281, 317, 43, 17}, true, false);
    X0_upper = MakeEdit(this, "X0_upper", QString(), tr("X上限"), {325, 316, 56, 18});

    X0column = MakeEdit(this, "X0column", QStringLiteral("0"), tr("X軸のカラム番号"), {156, 387, 20, 18});
    Y1column = MakeEdit(this, "Y1column", QStringLiteral("1"), tr("Y1軸のカラム番号"), {216, 387, 20, 18});
    Y2column = MakeEdit(this, "Y2column", QStringLiteral("2"), tr("Y2軸のカラム番号"), {244, 387, 20, 18});
    Y3column = MakeEdit(this, "Y3column", QStringLiteral("3"), tr("Y3軸のカラム番号"), {272, 387, 20, 18});
    L_X0column = MakeLabel(this, "L_X0column", QStringLiteral("X"), 161, 375);
    L_Y1column = MakeLabel(this, "L_Y1column", QStringLiteral("Y1"), 220, 375);
    L_Y2column = MakeLabel(this, "L_Y2column", QStringLiteral("Y2"), 248, 375);
    L_Y3column = MakeLabel(this, "L_Y3column", QStringLiteral("Y3"), 276, 375);

    for (QLineEdit* edit : {Y1_upper, Y2_upper, Y3_upper, Y1_lower, Y2_lower, Y3_lower, X0_lower, X0_upper, X0column,
                            Y1column, Y2column, Y3column})
        UseNumberLayout(edit);
    // The X limits carry one digit more than the Y limits in the same width.
    for (QLineEdit* edit : {X0_lower, X0_upper}) {
        QFont font = edit->font();
        font.setLetterSpacing(QFont::AbsoluteSpacing, -0.7);
        edit->setFont(font);
    }
    for (QCheckBox* box : {LinkageYsBox, Y1_auto, Y2_auto, Y3_auto, X0_auto})
        UseNarrowFont(box);
}

void TForm1::PlaceFileControls()
{
    Label1 = MakeLabel(this, "Label1", tr("Filename"), 8, 412);
    MaskEdit1 = MakeEdit(this, "MaskEdit1", QString(), tr("ファイル名入力"), {56, 408, 225, 20});
    SpeedButton1 = MakeSpeedButton(this, "SpeedButton1", QStyle::SP_DialogOpenButton, tr("ファイル選択"), 288);
    SaveSettings = MakeSpeedButton(this, "SaveSettings", QStyle::SP_DialogSaveButton, tr("iniファイルを保存"), 320);
    SpeedButton2 = MakeSpeedButton(this, "SpeedButton2", QStyle::SP_FileDialogDetailedView, tr("オプション設定"), 340);
    SpeedButton3 = MakeSpeedButton(this, "SpeedButton3", QStyle::SP_MessageBoxQuestion, tr("ヘルプ"), 360);

    Label12 = MakeLabel(this, "Label12", tr("Traces"), 16, 391);
    NumofTraces = MakeEdit(this, "NumofTraces", QStringLiteral("1"), tr("同時表示データファイル数"), {56, 387, 20, 18});
    Label13 = MakeLabel(this, "Label13", tr("Column"), 113, 391);
    UseNumberLayout(NumofTraces);
    UseNarrowFont(Label1);
    Label1->adjustSize();

    RadioGroup1 = new QGroupBox(tr("Y's"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setGeometry(28, 353, 89, 32);
    RadioGroup1->setToolTip(tr("Y軸の数"));
    m_ysButtons = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* item = new QRadioButton(QString::number(i + 1), RadioGroup1);
        item->setObjectName(QStringLiteral("RadioGroup1_%1").arg(i));
        item->setGeometry(4 + 28 * i, 14, 27, 16);
        item->setFocusPolicy(Qt::StrongFocus);
        m_ysButtons->addButton(item, i);
        RadioGroup1Items[i] = item;
    }
    RadioGroup1Items[0]->setChecked(true);

    PrevFile = MakeNavigationButton(this, "PrevFile", tr("Prev."), tr("前のファイル"), {128, 338, 75, 25});
    PrevFile->setIcon(StandardIcon(style(), QStyle::SP_ArrowLeft));
    ReDraw = MakeNavigationButton(this, "ReDraw", tr("ReDraw"), tr("再描画"), {217, 338, 62, 25});
    NextFile = MakeNavigationButton(this, "NextFile", tr("Next"), tr("次のファイル"), {296, 338, 75, 25});
    NextFile->setIcon(StandardIcon(style(), QStyle::SP_ArrowRight));
    NextFile->setLayoutDirection(Qt::RightToLeft);   // the arrow right of the caption

    TopMostToggle =
        MakeCheckBox(this, "TopMostToggle", tr("TopMost"), tr("常に最上位"), {304, 365, 73, 17}, false, true);
    DispNameToggle =
        MakeCheckBox(this, "DispNameToggle", tr("DispName"), tr("ファイル名を表示"), {304, 380, 73, 17}, false, true);
    Cursor = MakeCheckBox(this, "Cursor", tr("Cursor"), tr("カーソル表示"), {304, 395, 97, 17}, false, true);
}

void TForm1::PlaceReadouts()
{
    const QString current = tr("現在のカーソル位置");
    const QString delta = tr("赤カーソルとの差");
    m_readouts.CurrentY1 = MakeReadout(this, "CurrentY1", current, 3, 148);
    m_readouts.CurrentY2 = MakeReadout(this, "CurrentY2", current, 3, 166);
    m_readouts.CurrentY3 = MakeReadout(this, "CurrentY3", current, 3, 184);
    m_readouts.CurrentX = MakeReadout(this, "CurrentX", current, 137, 316);
    m_readouts.DeltaY1 = MakeReadout(this, "DeltaY1", delta, 3, 227);
    m_readouts.DeltaY2 = MakeReadout(this, "DeltaY2", delta, 3, 245);
    m_readouts.DeltaY3 = MakeReadout(this, "DeltaY3", delta, 3, 263);
    m_readouts.DeltaX = MakeReadout(this, "DeltaX", delta, 214, 316);
    m_readouts.L_CurrentY1 = MakeLabel(this, "L_CurrentY1", tr("Absolute"), 12, 135);
    m_readouts.L_CurrentX = MakeLabel(this, "L_CurrentX", QStringLiteral("A"), 128, 321);
    // A capital delta: no Symbol font maps "D" to it here, so the letter itself.
    m_readouts.L_DeltaY1 = MakeLabel(this, "L_DeltaY1", QStringLiteral("Δ"), 29, 213);
    m_readouts.L_DeltaX = MakeLabel(this, "L_DeltaX", QStringLiteral("Δ"), 206, 318);
}

void TForm1::SetTabOrder()
{
    QWidget* order[] = {NextFile,
                        ReDraw,
                        PrevFile,
                        TopMostToggle,
                        DispNameToggle,
                        Cursor,
                        RadioGroup1Items[0],
                        RadioGroup1Items[1],
                        RadioGroup1Items[2],
                        m_readouts.CurrentY1,
                        m_readouts.CurrentY2,
                        m_readouts.CurrentY3,
                        m_readouts.CurrentX,
                        m_readouts.DeltaY1,
                        m_readouts.DeltaY2,
                        m_readouts.DeltaY3,
                        m_readouts.DeltaX};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}
