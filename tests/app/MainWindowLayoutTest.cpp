// SPDX-License-Identifier: MIT
#include "AppTestSupport.h"
#include "MainWindowUi.h"

#include "QtTextRenderer.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <vector>

using MainWindowLayout = MainWindowTest;

TEST_F(MainWindowLayout, StartsInTheNoDataLayout)
{
    TForm1& form = MakeForm();
    EXPECT_EQ(form.windowTitle(), "Tracely");
    EXPECT_EQ(form.size(), QSize(383, 431));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    for (const AxisControlGroup& group : Ui(form).AxisControls) {
        for (QWidget* w : std::initializer_list<QWidget*>{group.Upper, group.Lower, group.Column, group.Auto,
                                                          group.UpperLabel, group.LowerLabel, group.ColumnLabel}) {
            if (w) {
                EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();
            }
        }
    }
    for (QWidget* w :
         std::initializer_list<QWidget*>{Ui(form).NumofTraces, Ui(form).RadioGroup1, Ui(form).LinkageYsBox,
                                         Ui(form).CurrentX, Ui(form).CurrentY1, Ui(form).DeltaX, Ui(form).L_DeltaX})
        EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();
    EXPECT_FALSE(Ui(form).NextFile->isEnabled());
    EXPECT_FALSE(Ui(form).PrevFile->isEnabled());
    EXPECT_FALSE(Ui(form).ReDraw->isEnabled());
    EXPECT_FALSE(Ui(form).MaskEdit1->isHidden());
    EXPECT_EQ(form.YsItemIndex(), 0);
    EXPECT_EQ(form.State.TracesShown, 1);
    EXPECT_EQ(Ui(form).NumofTraces->text(), "1");
    for (int axis = 0; axis < 4; ++axis)
        EXPECT_TRUE(form.AxisAuto(axis));
    EXPECT_FALSE(form.CursorOn());
    EXPECT_FALSE(form.DispName());
    EXPECT_FALSE(form.LinkageYs());
}

TEST_F(MainWindowLayout, UsesAJapaneseFaceForEveryGlyph)
{
    TForm1& form = MakeForm();
    const QString family = QFontInfo(form.font()).family();
    EXPECT_TRUE(family == "IPAPGothic" || family == "Noto Sans CJK JP") << family.toStdString();
    EXPECT_EQ(QFontInfo(form.font()).pixelSize(), 12);
}

TEST_F(MainWindowLayout, TabReachesTheButtonsToggleAndReadoutsOnlyInOrder)
{
    TForm1& form = MakeForm(WriteLine("shown.dat"));
    Ui(form).Cursor->setChecked(true);
    form.SetYsItemIndex(2);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    std::vector<QString> order;
    QWidget* w = Ui(form).NextFile;
    do {
        if (w->isVisibleTo(&form) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && w->window() == &form)
            order.push_back(w->objectName());
        w = w->nextInFocusChain();
    } while (w != Ui(form).NextFile);

    const std::vector<QString> expected{
        "NextFile",      "ReDraw",        "PrevFile",  "TopMostToggle", "DispNameToggle", "Cursor",  "RadioGroup1_0",
        "RadioGroup1_1", "RadioGroup1_2", "CurrentY1", "CurrentY2",     "CurrentY3",      "CurrentX"};
    EXPECT_EQ(order, expected);
}

TEST_F(MainWindowLayout, DataLayoutFocusesNext)
{
    TForm1& form = MakeForm();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    TypeName(QString::fromStdString(WriteLine("focus.dat")));
    EXPECT_EQ(form.focusWidget(), Ui(form).NextFile);
}

// Text drawn through the Qt renderer lands inside the target buffer only,
// whatever the position, also when the buffer is part of a wider image.
TEST(QtTextRenderer, DrawsIntoItsBufferAndNowhereElse)
{
    constexpr int kWidth = 60, kHeight = 30, kStride = 100;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kStride) * (kHeight + 2), 0xFF123456u);
    PixelBuffer buffer{pixels.data() + kStride, kWidth, kHeight, kStride};
    QtTextRenderer renderer;
    TFont font;
    font.SetSize(9);

    renderer.DrawText(buffer, 2, 2, "Wy日本", font, 0xFF000000u, 0xFFFFFFFFu);
    for (int x : {-500, -20, 55, 59, 5000})
        for (int y : {-500, -10, 25, 29, 5000})
            renderer.DrawText(buffer, x, y, "Overflow テスト", font, 0xFF000000u, 0xFFFFFFFFu);

    int dark = 0;
    for (int y = 0; y < kHeight + 2; ++y)
        for (int x = 0; x < kStride; ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y) * kStride + static_cast<std::size_t>(x)];
            const bool inside = y >= 1 && y <= kHeight && x < kWidth;
            if (!inside)
                ASSERT_EQ(p, 0xFF123456u) << x << "," << y;
            else if ((p & 0xFFFFFF) < 0x404040)
                ++dark;
        }
    EXPECT_GT(dark, 10);
}

TEST(QtTextRenderer, SizesInPointsAreForA96DpiScreen)
{
    TFont font;
    font.SetSize(9);
    EXPECT_EQ(QtTextRenderer::QtFontOf(font).pixelSize(), 12);
    font.SetHeight(16);
    font.Bold = true;
    font.Underline = true;
    const QFont q = QtTextRenderer::QtFontOf(font);
    EXPECT_EQ(q.pixelSize(), 16);
    EXPECT_TRUE(q.bold());
    EXPECT_TRUE(q.underline());
}
