// SPDX-License-Identifier: MIT
#include "AppTestSupport.h"
#include "MainWindowUi.h"

#include "PlotView.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

#include <climits>
#include <vector>

namespace {

// Sends one wheel turn of `delta` eighths of a degree to `target`, as Qt
// delivers it (positive: away from the user).
void Turn(QWidget* target, int delta)
{
    const QPointF pos(20, 20);
    QWheelEvent event(pos, target->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

}   // namespace

// A directory of nine files, the fifth one open: every step shows as a change
// of ListingIndex by one, never wrapping within a table row.
class Wheel : public MainWindowTest {
protected:
    TForm1& OpenMiddle()
    {
        for (char c = 'a'; c <= 'i'; ++c)
            WriteLine(std::string(1, c) + ".dat", 3);
        TForm1& form = MakeForm(Dir + "e.dat");
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        m_view = form.findChild<PlotView*>();
        return form;
    }

    // Turns the wheel by the given deltas over the plot and returns the steps
    // seen after each: 'N' next, 'P' previous, '.' none.
    std::string TurnEach(const std::vector<int>& deltas)
    {
        std::string steps;
        for (int delta : deltas) {
            const int before = Form->State.ListingIndex;
            Turn(m_view, delta);
            const int moved = Form->State.ListingIndex - before;
            steps += moved == 1 ? 'N' : moved == -1 ? 'P' : moved == 0 ? '.' : '?';
        }
        return steps;
    }

    PlotView* m_view = nullptr;
};

struct NotchCase {
    const char* Name;
    int UnitWheel;
    const char* Notches;       // d: toward the user, u: away
    std::vector<int> Counts;   // WheelCount after each notch
    const char* Steps;
};

class WheelNotches : public Wheel, public ::testing::WithParamInterface<NotchCase> { };

TEST_P(WheelNotches, StepWhenTheSharedCountComesBackToZero)
{
    const NotchCase& c = GetParam();
    TForm1& form = OpenMiddle();
    form.State.UnitWheel = c.UnitWheel;

    std::vector<int> counts;
    std::string steps;
    for (const char* n = c.Notches; *n; ++n) {
        steps += TurnEach({*n == 'd' ? -120 : 120});
        counts.push_back(form.State.WheelCount);
    }

    EXPECT_EQ(counts, c.Counts);
    EXPECT_EQ(steps, c.Steps);
    EXPECT_TRUE(Script.Errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Table, WheelNotches,
                         ::testing::Values(NotchCase{"TwoDown", 2, "dd", {1, 0}, ".N"},
                                           NotchCase{"TwoUp", 2, "uu", {-1, 0}, ".P"},
                                           NotchCase{"DownThenUp", 2, "du", {1, 0}, ".P"},
                                           NotchCase{"UpThenDown", 2, "ud", {-1, 0}, ".N"},
                                           NotchCase{"ThreeDownByTwo", 2, "ddd", {1, 0, 1}, ".N."},
                                           NotchCase{"ThreeDownByThree", 3, "ddd", {1, 2, 0}, "..N"},
                                           NotchCase{"TwoDownOneUpByThree", 3, "ddu", {1, 2, 1}, "..."},
                                           NotchCase{"BackToZeroGoingUp", 3, "dduu", {1, 2, 1, 0}, "...P"},
                                           NotchCase{"EveryNotchByOne", 1, "dudd", {0, 0, 0, 0}, "NPNN"},
                                           NotchCase{"ZeroStepsEveryNotch", 0, "du", {0, 0}, "NP"},
                                           NotchCase{"NegativeStepsEveryNotch", -4, "ud", {0, 0}, "PN"},
                                           NotchCase{"LargestNeverSteps", INT_MAX, "ddu", {1, 2, 1}, "..."},
                                           NotchCase{"SmallestStepsEveryNotch", INT_MIN, "ud", {0, 0}, "PN"}),
                         [](const auto& testInfo) { return std::string(testInfo.param.Name); });

struct DeltaCase {
    const char* Name;
    std::vector<int> Deltas;
    const char* Steps;
};

class WheelDeltas : public Wheel, public ::testing::WithParamInterface<DeltaCase> { };

// High-resolution wheels and touchpads send small deltas; they must step
// exactly as often as whole notches would.
TEST_P(WheelDeltas, StepOncePerWholeNotch)
{
    TForm1& form = OpenMiddle();
    form.State.UnitWheel = 1;
    EXPECT_EQ(TurnEach(GetParam().Deltas), GetParam().Steps);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WheelDeltas,
    ::testing::Values(DeltaCase{"EighthsDown", {-15, -15, -15, -15, -15, -15, -15, -15, -15}, ".......N."},
                      DeltaCase{"UnevenPieces", {-100, -100, -40, -80, -40}, ".NN.N"},
                      DeltaCase{"BackAndForthCancels", {60, -60, 60, -60, 100}, "....."},
                      DeltaCase{"UpInPieces", {30, 30, 30, 29, 1}, "....P"}, DeltaCase{"HorizontalOnly", {0, 0}, ".."}),
    [](const auto& testInfo) { return std::string(testInfo.param.Name); });

TEST_F(Wheel, SeveralNotchesInOneEventStepEachTime)
{
    TForm1& form = OpenMiddle();
    form.State.UnitWheel = 1;
    Turn(m_view, -360);
    EXPECT_EQ(form.State.ListingIndex, 4 + 3);
    Turn(&form, 240);
    EXPECT_EQ(form.State.ListingIndex, 4 + 1) << "the window itself takes the wheel too";
}

TEST_F(Wheel, CountIsKeptAcrossButtonStepsAndOpenedFiles)
{
    TForm1& form = OpenMiddle();
    form.State.UnitWheel = 3;
    TurnEach({-120});
    QTest::mouseClick(Ui(form).NextFile, Qt::LeftButton);
    TypeName("a.dat");
    EXPECT_EQ(form.State.WheelCount, 1);
    EXPECT_EQ(TurnEach({-120, -120}), ".N");
    EXPECT_EQ(Ui(form).MaskEdit1->text(), "b.dat");
}
