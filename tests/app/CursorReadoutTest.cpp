// SPDX-License-Identifier: MIT
#include "AppTestSupport.h"
#include "MainWindowUi.h"

#include "GraphPainter.h"
#include "PlotView.h"
#include "QtTextRenderer.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegion>
#include <QSignalBlocker>
#include <QTest>

#include <climits>
#include <cstring>
#include <random>
#include <tuple>

namespace {

constexpr int kCentreX = 225;
constexpr int kCentreY = 156;

bool Shown(const QWidget* w)
{
    return !w->isHidden();
}

// The eight read-outs in the order X, Y1, Y2, Y3.
std::array<QString, 4> Current(const TForm1& form)
{
    return {Ui(form).CurrentX->text(), Ui(form).CurrentY1->text(), Ui(form).CurrentY2->text(),
            Ui(form).CurrentY3->text()};
}

std::array<QString, 4> Delta(const TForm1& form)
{
    return {Ui(form).DeltaX->text(), Ui(form).DeltaY1->text(), Ui(form).DeltaY2->text(), Ui(form).DeltaY3->text()};
}

void SendMouse(PlotView* view, QEvent::Type type, int clientX, int clientY, Qt::MouseButton button = Qt::NoButton)
{
    const QPointF local(clientX - view->x(), clientY - view->y());
    QMouseEvent event(type, local, view->mapToGlobal(local), button,
                      type == QEvent::MouseMove ? Qt::MouseButtons() : Qt::MouseButtons(button), Qt::NoModifier);
    QApplication::sendEvent(view, &event);
}

// What the last full paint drew: the cursor box, the red cursor and the Ys
// selection then.
struct PaintRecord {
    bool CursorOn = false;
    int RedX = -1;
    int RedY = -1;
    int YsItem = 0;
};

PaintRecord RecordOf(const TForm1& form)
{
    return {Ui(form).Cursor->isChecked(), form.State.RedCursorX, form.State.RedCursorY, form.YsItemIndex()};
}

// Checks a Ys item without running the window's handler.
void CheckYsItemQuietly(TForm1& form, int item)
{
    QRadioButton* button = Ui(form).RadioGroup1Items[static_cast<std::size_t>(item)];
    const QSignalBlocker quiet(button);
    button->setChecked(true);
}

// The picture a fresh paint made with `painted` gives, without its centre
// cross, and with the cross where the state now has it when the box is
// checked. Drawn into a copy; the window's picture and state stay as they are.
QImage ExpectedPicture(TForm1& form, const PaintRecord& painted)
{
    PlotState& state = form.State;
    const auto saved = std::tuple(state.CursorX, state.CursorY, state.RedCursorX, state.RedCursorY);
    const bool on = Ui(form).Cursor->isChecked();
    const int ysItem = form.YsItemIndex();

    QImage expected = form.Picture().copy();
    PixelBuffer buffer{reinterpret_cast<std::uint32_t*>(expected.bits()), expected.width(), expected.height(),
                       static_cast<int>(expected.bytesPerLine() / 4)};
    QtTextRenderer text;
    RasterCanvas canvas(buffer, &text);
    canvas.Pen = form.Canvas().Pen;
    canvas.Brush = form.Canvas().Brush;
    canvas.Font = form.Canvas().Font;
    canvas.SystemColor = form.Canvas().SystemColor;
    {
        const QSignalBlocker quiet(Ui(form).Cursor);
        Ui(form).Cursor->setChecked(painted.CursorOn);
        state.RedCursorX = painted.RedX;
        state.RedCursorY = painted.RedY;
        CheckYsItemQuietly(form, painted.YsItem);
        DrawGraph(state, canvas);
        if (painted.CursorOn)
            DrawCursorCross(state, canvas);
        Ui(form).Cursor->setChecked(on);
        CheckYsItemQuietly(form, ysItem);
    }
    std::tie(state.CursorX, state.CursorY, state.RedCursorX, state.RedCursorY) = saved;
    if (on && state.CursorX >= 0)
        DrawCursorCross(state, canvas);
    return expected;
}

struct PaintRegions : QObject {
    QRegion Painted;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            Painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

}   // namespace

// X and Y1 run from 0 to 310, so one pixel is one unit; Y2 from 0 to 3.1 and
// Y3 from -620 to 620. Three Ys are selected by the four-column file.
class CursorReadout : public MainWindowTest {
protected:
    TForm1& OpenKnown(bool show = true)
    {
        WriteFile("known2.dat", "0 0 0 -620\n310 310 3.1 620\n");
        TForm1& form = MakeForm(WriteFile("known.dat", "0 0 0 -620\n310 310 3.1 620\n"));
        if (show) {
            form.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        }
        View = form.findChild<PlotView*>();
        return form;
    }

    void Move(int x, int y) { SendMouse(View, QEvent::MouseMove, x, y); }
    void Press(int x, int y, Qt::MouseButton button = Qt::LeftButton)
    {
        SendMouse(View, QEvent::MouseButtonPress, x, y, button);
        SendMouse(View, QEvent::MouseButtonRelease, x, y, button);
    }

    PlotView* View = nullptr;
};

struct ReadoutCase {
    int X;
    int Y;
    std::array<const char*, 4> Texts;
};

class CursorValues : public CursorReadout, public ::testing::WithParamInterface<ReadoutCase> { };

TEST_P(CursorValues, ReadOutTheValuesUnderTheMouse)
{
    TForm1& form = OpenKnown();
    Move(GetParam().X, GetParam().Y);
    const std::array<QString, 4> texts = Current(form);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(texts[static_cast<std::size_t>(k)], GetParam().Texts[static_cast<std::size_t>(k)]) << k;
}

INSTANTIATE_TEST_SUITE_P(Pixels, CursorValues,
                         ::testing::Values(ReadoutCase{70, 1, {"+0", "+310", "+3.1", "+620"}},
                                           ReadoutCase{380, 311, {"+310", "+0", "+0", "-620"}},
                                           ReadoutCase{225, 156, {"+155", "+155", "+1.55", "+0"}},
                                           ReadoutCase{71, 310, {"+1", "+1", "+0.01", "-616"}}));

TEST_F(CursorReadout, FormatShowsSignFourDigitsAndExponentForLargeValues)
{
    TForm1& form = MakeForm(WriteFile("wide.dat", "0 0\n123456 0.000123456\n"));
    Ui(form).Cursor->setChecked(true);
    form.DisplayXY(380, 1);
    EXPECT_EQ(Ui(form).CurrentX->text(), "+1.235e+05");
    EXPECT_EQ(Ui(form).CurrentY1->text(), "+0.0001235");
}

struct OutsidePoint {
    int X;
    int Y;
};

class CursorOutside : public CursorReadout, public ::testing::WithParamInterface<OutsidePoint> { };

TEST_P(CursorOutside, MovesAndClicksChangeNothing)
{
    TForm1& form = OpenKnown();
    Ui(form).Cursor->setChecked(true);
    Move(100, 100);
    const QImage before = form.Picture().copy();
    const auto texts = Current(form);
    const auto deltas = Delta(form);

    form.DisplayXY(GetParam().X, GetParam().Y);
    form.SetRedCursor(GetParam().X, GetParam().Y);

    EXPECT_EQ(form.Picture(), before);
    EXPECT_EQ(Current(form), texts);
    EXPECT_EQ(Delta(form), deltas);
    EXPECT_EQ(form.State.CursorX, 100);
    EXPECT_EQ(form.State.RedCursorX, -1);
    EXPECT_FALSE(Shown(Ui(form).DeltaX));
}

INSTANTIATE_TEST_SUITE_P(Points, CursorOutside,
                         ::testing::Values(OutsidePoint{69, 100}, OutsidePoint{381, 100}, OutsidePoint{100, 0},
                                           OutsidePoint{100, 312}, OutsidePoint{-1, -1}, OutsidePoint{INT_MIN, INT_MAX},
                                           OutsidePoint{INT_MAX, 100}));

TEST_F(CursorReadout, CheckingDrawsTheCrossAtTheCentreAndClearingRestoresThePicture)
{
    TForm1& form = OpenKnown();
    const QImage plain = form.Picture().copy();
    ASSERT_EQ(form.State.CursorX, -1);

    Ui(form).Cursor->setChecked(true);
    EXPECT_EQ(form.State.CursorX, kCentreX);
    EXPECT_EQ(form.State.CursorY, kCentreY);
    // One column and one row; both lines invert the centre, which comes back.
    EXPECT_EQ(DifferentPixels(plain, form.Picture()), 310 + 310 - 2);
    EXPECT_EQ(form.Picture().pixel(kCentreX, kCentreY), plain.pixel(kCentreX, kCentreY));
    EXPECT_EQ(form.Picture().pixel(kCentreX, 100) & 0xFFFFFF, ~plain.pixel(kCentreX, 100) & 0xFFFFFF);
    for (QWidget* w : std::initializer_list<QWidget*>{Ui(form).CurrentX, Ui(form).L_CurrentX, Ui(form).CurrentY1,
                                                      Ui(form).L_CurrentY1, Ui(form).CurrentY2, Ui(form).CurrentY3})
        EXPECT_TRUE(Shown(w)) << w->objectName().toStdString();
    EXPECT_FALSE(Shown(Ui(form).DeltaX));

    Move(300, 40);
    Ui(form).Cursor->setChecked(false);
    EXPECT_EQ(form.Picture(), plain);
    EXPECT_EQ(form.State.CursorX, -1);
    EXPECT_EQ(form.State.CursorY, -1);
    for (QWidget* w : std::initializer_list<QWidget*>{Ui(form).CurrentX, Ui(form).L_CurrentX, Ui(form).CurrentY1,
                                                      Ui(form).L_CurrentY1, Ui(form).CurrentY2, Ui(form).CurrentY3})
        EXPECT_FALSE(Shown(w)) << w->objectName().toStdString();
}

TEST_F(CursorReadout, ReadoutsFollowTheNumberOfYsWhenChecked)
{
    TForm1& form = OpenKnown();
    QTest::mouseClick(Ui(form).RadioGroup1Items[0], Qt::LeftButton);
    Ui(form).Cursor->setChecked(true);
    EXPECT_TRUE(Shown(Ui(form).CurrentY1));
    EXPECT_FALSE(Shown(Ui(form).CurrentY2));
    EXPECT_FALSE(Shown(Ui(form).CurrentY3));
}

TEST_F(CursorReadout, MovesDrawNoCrossWhileThePictureIsNotReadyOrTheBoxIsClear)
{
    TForm1& form = OpenKnown();
    const QImage plain = form.Picture().copy();
    Move(100, 100);
    EXPECT_EQ(form.Picture(), plain);
    EXPECT_EQ(Ui(form).CurrentX->text(), "+30") << "the hidden read-outs still follow";

    Ui(form).Cursor->setChecked(true);
    const QImage centred = form.Picture().copy();
    form.State.GraphReady = false;
    Move(120, 120);
    EXPECT_EQ(form.Picture(), centred);
    EXPECT_EQ(form.State.CursorX, kCentreX);
    EXPECT_EQ(Ui(form).CurrentX->text(), "+50");
}

TEST_F(CursorReadout, MoveChangesOnlyTheOldAndNewCrossLines)
{
    TForm1& form = OpenKnown();
    Ui(form).Cursor->setChecked(true);
    QApplication::processEvents();
    const QImage before = form.Picture().copy();
    PaintRegions regions;
    View->installEventFilter(&regions);

    Move(100, 200);
    QApplication::processEvents();

    // The cross leaves the centre lines and inverts the new ones.
    EXPECT_EQ(form.Picture().pixel(kCentreX, 30), ~before.pixel(kCentreX, 30) | 0xFF000000);
    EXPECT_EQ(form.Picture().pixel(100, 30), ~before.pixel(100, 30) | 0xFF000000);
    const QRegion lines = QRegion(kCentreX - 70, 0, 1, 311) + QRegion(0, kCentreY - 1, 311, 1) +
        QRegion(100 - 70, 0, 1, 311) + QRegion(0, 200 - 1, 311, 1);
    EXPECT_FALSE(regions.Painted.isEmpty());
    EXPECT_TRUE((regions.Painted - lines).isEmpty()) << "the plot is not repainted, only the lines";
    EXPECT_TRUE(form.State.GraphReady);
}

class RedCursorButton : public CursorReadout, public ::testing::WithParamInterface<Qt::MouseButton> { };

TEST_P(RedCursorButton, AnyButtonInsideSetsTheRedCursor)
{
    TForm1& form = OpenKnown();
    QTest::mouseClick(Ui(form).RadioGroup1Items[0], Qt::LeftButton);
    Ui(form).Cursor->setChecked(true);

    Press(100, 200, GetParam());

    EXPECT_EQ(form.State.RedCursorX, 100);
    EXPECT_EQ(form.State.RedCursorY, 200);
    for (QWidget* w :
         std::initializer_list<QWidget*>{Ui(form).DeltaX, Ui(form).L_DeltaX, Ui(form).DeltaY1, Ui(form).L_DeltaY1})
        EXPECT_TRUE(Shown(w)) << w->objectName().toStdString();
    EXPECT_FALSE(Shown(Ui(form).DeltaY2));
    EXPECT_FALSE(Shown(Ui(form).DeltaY3));
    // Red lines through the click; the cross back at the centre.
    EXPECT_EQ(form.Picture().pixel(100, 50) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(form.Picture().pixel(300, 200) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(form.State.CursorX, kCentreX);
}

INSTANTIATE_TEST_SUITE_P(Buttons, RedCursorButton,
                         ::testing::Values(Qt::LeftButton, Qt::RightButton, Qt::MiddleButton));

TEST_F(CursorReadout, ClickWithTheBoxClearSetsNoRedCursor)
{
    TForm1& form = OpenKnown();
    const QImage before = form.Picture().copy();
    Press(100, 200);
    EXPECT_EQ(form.State.RedCursorX, -1);
    EXPECT_FALSE(Shown(Ui(form).DeltaX));
    EXPECT_EQ(form.Picture(), before);
}

TEST_F(CursorReadout, DifferencesAreZeroOnTheRedCursorAndPositiveRightAndAbove)
{
    TForm1& form = OpenKnown();
    Ui(form).Cursor->setChecked(true);
    Press(100, 200);

    Move(100, 200);
    for (const QString& text : Delta(form))
        EXPECT_EQ(text, "+0");
    Move(131, 169);
    EXPECT_EQ(Delta(form), (std::array<QString, 4>{"+31", "+31", "+0.31", "+124"}));
    Move(69 + 1, 311);
    EXPECT_EQ(Ui(form).DeltaX->text(), "-30");
    EXPECT_EQ(Ui(form).DeltaY1->text(), "-111");
}

TEST_F(CursorReadout, MoreYsAfterTheClickShowTheirDifferencesOnlyAfterTheNextClick)
{
    TForm1& form = OpenKnown();
    QTest::mouseClick(Ui(form).RadioGroup1Items[0], Qt::LeftButton);
    Ui(form).Cursor->setChecked(true);
    Press(100, 200);

    QTest::mouseClick(Ui(form).RadioGroup1Items[2], Qt::LeftButton);
    EXPECT_TRUE(Shown(Ui(form).CurrentY2));
    EXPECT_TRUE(Shown(Ui(form).CurrentY3));
    EXPECT_FALSE(Shown(Ui(form).DeltaY2));
    EXPECT_FALSE(Shown(Ui(form).DeltaY3));

    Press(150, 150);
    EXPECT_TRUE(Shown(Ui(form).DeltaY2));
    EXPECT_TRUE(Shown(Ui(form).DeltaY3));
}

TEST_F(CursorReadout, FewerYsAtTheNextClickLeaveTheirDifferencesShown)
{
    // A click only ever shows differences; a load or clearing the box hides them.
    TForm1& form = OpenKnown();
    QTest::mouseClick(Ui(form).RadioGroup1Items[2], Qt::LeftButton);
    Ui(form).Cursor->setChecked(true);
    Press(100, 200);
    ASSERT_TRUE(Shown(Ui(form).DeltaY3));

    QTest::mouseClick(Ui(form).RadioGroup1Items[0], Qt::LeftButton);
    Press(150, 150);
    EXPECT_TRUE(Shown(Ui(form).DeltaY2));
    EXPECT_TRUE(Shown(Ui(form).DeltaY3));
}

TEST_F(CursorReadout, LoadingRemovesTheRedCursorAndKeepsTheCrossAndReadouts)
{
    TForm1& form = OpenKnown();
    Ui(form).Cursor->setChecked(true);
    Press(100, 200);
    Move(150, 150);

    QTest::mouseClick(Ui(form).NextFile, Qt::LeftButton);

    EXPECT_EQ(form.State.Traces[0].Name, Dir + "known2.dat");
    EXPECT_EQ(form.State.RedCursorX, -1);
    EXPECT_EQ(form.State.RedCursorY, -1);
    for (QWidget* w : std::initializer_list<QWidget*>{Ui(form).DeltaX, Ui(form).L_DeltaX, Ui(form).DeltaY1,
                                                      Ui(form).L_DeltaY1, Ui(form).DeltaY2, Ui(form).DeltaY3})
        EXPECT_FALSE(Shown(w)) << w->objectName().toStdString();
    EXPECT_TRUE(Shown(Ui(form).CurrentX));
    EXPECT_TRUE(Shown(Ui(form).CurrentY1));
    EXPECT_EQ(form.State.CursorX, kCentreX);
    EXPECT_NE(form.Picture().pixel(100, 50) & 0xFFFFFF, 0xFF0000u) << "no red line after the load";
}

TEST_F(CursorReadout, ClearingAfterAClickLeavesTheRedLinesUntilTheNextPaint)
{
    TForm1& form = OpenKnown();
    Ui(form).Cursor->setChecked(true);
    Press(100, 200);
    Ui(form).Cursor->setChecked(false);
    EXPECT_EQ(form.State.RedCursorX, -1);
    EXPECT_FALSE(Shown(Ui(form).DeltaX));
    EXPECT_EQ(form.Picture().pixel(100, 50) & 0xFFFFFF, 0xFF0000u);
    form.PaintGraph();
    EXPECT_NE(form.Picture().pixel(100, 50) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(CursorReadout, LeavingThePlotKeepsTheCrossWhereItWas)
{
    TForm1& form = OpenKnown();
    const PaintRecord painted = RecordOf(form);
    Ui(form).Cursor->setChecked(true);
    Move(300, 40);
    const QImage before = form.Picture().copy();
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(View, &leave);
    EXPECT_EQ(form.Picture(), before);
    Move(200, 100);
    EXPECT_EQ(form.Picture(), ExpectedPicture(form, painted));
}

// Any mix of moves, paints, clicks, toggles, loads and a dialog's lock-out
// leaves the picture equal to a fresh paint plus the one cross where the state
// says it stands: no stale inverted pixel anywhere.
class CursorCrossProperty : public CursorReadout, public ::testing::WithParamInterface<unsigned> { };

TEST_P(CursorCrossProperty, PictureIsAFreshPaintPlusTheCurrentCross)
{
    TForm1& form = OpenKnown();
    std::mt19937 random(GetParam());
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    PaintRecord painted = RecordOf(form);

    for (int step = 0; step < 80; ++step) {
        const int action = pick(0, 9);
        const int x = pick(60, 390);
        const int y = pick(-5, 320);
        const bool inside = x >= 70 && x <= 380 && y >= 1 && y <= 311;
        std::string what;
        switch (action) {
        case 0:
        case 1:
        case 2:
            what = "move";
            if (inside)
                Move(x, y);
            else
                form.DisplayXY(x, y);
            break;
        case 3:
            what = "click";
            if (inside) {
                Press(x, y, pick(0, 1) ? Qt::LeftButton : Qt::RightButton);
                if (Ui(form).Cursor->isChecked())
                    painted = RecordOf(form);
            } else {
                form.SetRedCursor(x, y);
            }
            break;
        case 4:
        case 5:
            what = "toggle";
            Ui(form).Cursor->toggle();
            break;
        case 6:
            what = "paint";
            form.PaintGraph();
            painted = RecordOf(form);
            break;
        case 7:
            what = "next";
            QTest::mouseClick(Ui(form).NextFile, Qt::LeftButton);
            painted = RecordOf(form);
            break;
        case 8:
            what = "not ready";   // a paint under way or the options dialog open
            form.State.GraphReady = false;
            break;
        case 9:
            what = "ys";
            QTest::mouseClick(Ui(form).RadioGroup1Items[static_cast<std::size_t>(pick(0, 2))], Qt::LeftButton);
            break;
        }
        const int wrong = DifferentPixels(form.Picture(), ExpectedPicture(form, painted));
        ASSERT_EQ(wrong, 0) << "after step " << step << " (" << what << " at " << x << "," << y << ")";
    }
    EXPECT_TRUE(Script.Errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Seeds, CursorCrossProperty, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u));
