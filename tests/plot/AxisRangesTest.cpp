// SPDX-License-Identifier: MIT
#include "AxisRanges.h"
#include "PlainControls.h"

#include "Conversions.h"
#include "SlotFill.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

void Load(PlotState& state, int slot, const std::vector<float>& x, const std::vector<float>& y1,
          const std::vector<float>& y2 = {}, const std::vector<float>& y3 = {})
{
    FillSlot(state.Traces[slot], "/data/file" + std::to_string(slot) + ".dat", x, y1, y2, y3);
}

struct Fixture {
    PlainControls Controls;
    PlotState State;
    Fixture() { State.Controls = &Controls; }
    AxisState& Axis(int a) { return State.Axes[a]; }
};

}   // namespace

TEST(AxisRanges, FindMaxAndFindMinTakeOnlyStrictlyBeyondTheirSentinels)
{
    const float values[] = {3, -2, 7, 7, -9};
    EXPECT_EQ(FindMax(values, 5), 7);
    EXPECT_EQ(FindMin(values, 5), -9);
    EXPECT_EQ(FindMax(values, 0), -1e37f);
    EXPECT_EQ(FindMin(values, 0), 1e37f);
    const float beyond[] = {-2e37f, 2e37f, kNaN};
    EXPECT_EQ(FindMax(beyond, 1), -1e37f);
    EXPECT_EQ(FindMin(beyond + 1, 1), 1e37f);
    EXPECT_EQ(FindMax(beyond + 2, 1), -1e37f) << "NaN is never greater";
}

// One Y1 column in the newest file; how the settled limits come out.
struct OneAxisCase {
    const char* Name;
    std::vector<float> Y1;   // empty: the file lacks the column
    bool Auto;
    float Upper, Lower;   // limits before the paint
    float ExpectedUpper, ExpectedLower;
};

class SettleOneAxis : public ::testing::TestWithParam<OneAxisCase> { };

TEST_P(SettleOneAxis, GivesTheExpectedLimits)
{
    const OneAxisCase& c = GetParam();
    Fixture f;
    Load(f.State, 0, {0, 1, 2, 3}, c.Y1);
    f.Controls.Auto[1] = c.Auto;
    f.Axis(1) = {c.Upper, c.Lower};
    SettleAxisRanges(f.State);
    EXPECT_EQ(f.Axis(1).Upper, c.ExpectedUpper);
    EXPECT_EQ(f.Axis(1).Lower, c.ExpectedLower);
}

INSTANTIATE_TEST_SUITE_P(
    AxisRanges, SettleOneAxis,
    ::testing::Values(
        OneAxisCase{"ExactExtremesWithoutMargin", {2, 10, 0, 4}, true, 0, 0, 10, 0},
        OneAxisCase{"ConstantFiveOpensByTenPercent", {5, 5, 5, 5}, true, 0, 0, 5.5f, 4.5f},
        OneAxisCase{"ConstantMinusFiveOpensInverted", {-5, -5, -5, -5}, true, 0, 0, -5.5f, -4.5f},
        OneAxisCase{"ConstantZeroBecomesMinusOneToOne", {0, 0, 0, 0}, true, 0, 0, 1, -1},
        OneAxisCase{
            "EqualTypedLimitsAreReplacedFromTheFile", {1, 2, 3, 4}, false, 3, 3, float(4 * 1.1), float(1 * 0.9)},
        OneAxisCase{"InvertedTypedLimitsStay", {1, 2, 3, 4}, false, 2, 8, 2, 8},
        OneAxisCase{"ManualLimitsIgnoreTheData", {1, 2, 3, 4}, false, 100, -100, 100, -100},
        OneAxisCase{"MissingColumnKeepsTheSentinels", {}, true, 0, 0, -1e37f, 1e37f},
        // All values lie above the +1e37 sentinel, so the minimum keeps it.
        OneAxisCase{"LargestFloatTimesOnePointOneOverflowsToInfinity",
                    {FLT_MAX, FLT_MAX, FLT_MAX, FLT_MAX},
                    false,
                    3,
                    3,
                    kInf,
                    float(1e37f * 0.9)}),
    [](const ::testing::TestParamInfo<OneAxisCase>& testInfo) { return std::string(testInfo.param.Name); });

TEST(AxisRanges, NothingLoadedGivesSentinelsOnAutomaticAxesAndOpensAManualZeroWidthX)
{
    Fixture f;
    SettleAxisRanges(f.State);
    EXPECT_EQ(f.State.DisplayedTraces, 0);
    EXPECT_EQ(f.Axis(0).Upper, -1e37f);
    EXPECT_EQ(f.Axis(0).Lower, 1e37f);
    EXPECT_EQ(f.Axis(3).Upper, -1e37f);

    f.Controls.Auto[0] = false;
    f.Axis(0) = {0, 0};
    SettleAxisRanges(f.State);
    EXPECT_EQ(f.Axis(0).Upper, 1);
    EXPECT_EQ(f.Axis(0).Lower, -1);
}

TEST(AxisRanges, OverlaidFilesSpanAllDisplayedSlotsAndOnlyThose)
{
    Fixture f;
    Load(f.State, 2, {0, 1}, {-3, 1});
    Load(f.State, 1, {0, 1}, {0, 20});
    Load(f.State, 0, {5, 6}, {2, 4});
    f.State.TracesShown = 10;
    SettleAxisRanges(f.State);
    EXPECT_EQ(f.State.DisplayedTraces, 3);
    EXPECT_EQ(f.Axis(1).Upper, 20);
    EXPECT_EQ(f.Axis(1).Lower, -3);
    EXPECT_EQ(f.Axis(0).Lower, 0);
    EXPECT_EQ(f.Axis(0).Upper, 6);

    f.State.TracesShown = 1;
    SettleAxisRanges(f.State);
    EXPECT_EQ(f.State.DisplayedTraces, 1);
    EXPECT_EQ(f.Axis(1).Upper, 4);
    EXPECT_EQ(f.Axis(1).Lower, 2);
}

TEST(AxisRanges, OutOfRangeTracesShownNeverCountsBeyondTheHistory)
{
    Fixture f;
    Load(f.State, 0, {0, 1}, {0, 1});
    for (int shown : {-5, 0, 11, 1000}) {
        f.State.TracesShown = shown;
        SettleAxisRanges(f.State);
        EXPECT_GE(f.State.DisplayedTraces, 0);
        EXPECT_LE(f.State.DisplayedTraces, 1);
    }
}

TEST(AxisRanges, ZeroWidthRuleTakesTheNewestFileOnly)
{
    Fixture f;
    Load(f.State, 1, {0, 1}, {-50, 50});
    Load(f.State, 0, {0, 1}, {10, 20});
    f.State.TracesShown = 2;
    f.Controls.Auto[1] = false;
    f.Axis(1) = {7, 7};
    SettleAxisRanges(f.State);
    EXPECT_EQ(f.Axis(1).Upper, float(20 * 1.1));
    EXPECT_EQ(f.Axis(1).Lower, float(10 * 0.9));
}

TEST(AxisRanges, ZeroWidthRuleLeavesHiddenYsAlone)
{
    Fixture f;
    Load(f.State, 0, {0, 1}, {0, 1}, {0, 1}, {0, 1});
    f.Controls.YsItem = 1;   // two Ys
    f.Controls.Auto[3] = false;
    f.Axis(3) = {4, 4};
    SettleAxisRanges(f.State);
    EXPECT_EQ(f.Axis(3).Upper, 4);
    EXPECT_EQ(f.Axis(3).Lower, 4);
}

TEST(AxisRanges, LinkedYsShareTheWidestShownRange)
{
    Fixture f;
    Load(f.State, 0, {0, 1}, {0, 10}, {-5, 5}, {-100, 100});
    f.Controls.YsItem = 1;   // two Ys: Y3's data takes no part
    f.Controls.Link = true;
    SettleAxisRanges(f.State);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(f.Axis(k).Upper, 10) << k;
        EXPECT_EQ(f.Axis(k).Lower, -5) << k;
    }
    EXPECT_EQ(f.Axis(0).Upper, 1) << "X never takes part";
}

TEST(AxisRanges, HiddenLinkWithOneYCopiesY1IntoY2AndY3)
{
    Fixture f;
    Load(f.State, 0, {0, 1}, {2, 3}, {-5, 5});
    f.Controls.YsItem = 0;
    f.Controls.Link = true;
    SettleAxisRanges(f.State);
    EXPECT_EQ(f.Axis(2).Upper, 3);
    EXPECT_EQ(f.Axis(3).Lower, 2);
}

TEST(AxisRanges, LinkWithNoYSelectedKeepsTheYLimits)
{
    Fixture f;
    Load(f.State, 0, {0, 1}, {2, 3});
    f.Controls.YsItem = -1;
    f.Controls.Link = true;
    for (int k = 1; k <= 3; ++k) {
        f.Controls.Auto[k] = false;
        f.Axis(k) = {9, 1};
    }
    SettleAxisRanges(f.State);
    EXPECT_EQ(ShownYs(f.State), 0);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(f.Axis(k).Upper, 9) << k;
        EXPECT_EQ(f.Axis(k).Lower, 1) << k;
    }
}

// Value-to-pixel on the X axis (left 70, width 310).
struct MapCase {
    float Lower, Upper, Value;
    int ExpectedX;
};

class MapX : public ::testing::TestWithParam<MapCase> { };

TEST_P(MapX, LandsOnTheExpectedColumn)
{
    const MapCase& c = GetParam();
    PlotState state;
    state.Axes[0] = {c.Upper, c.Lower};
    EXPECT_EQ(ValueToPixelX(state, c.Value), c.ExpectedX) << c.Lower << ".." << c.Upper << " value " << c.Value;
}

INSTANTIATE_TEST_SUITE_P(AxisRanges, MapX,
                         ::testing::Values(MapCase{0, 10, 0, 70}, MapCase{0, 10, 10, 380}, MapCase{0, 10, 5, 225},
                                           MapCase{0, 10, 9.999f, 379}, MapCase{0, 10, -0.01f, 70},
                                           MapCase{0, 10, -1, 70}, MapCase{0, 10, 1e30f, 380},
                                           MapCase{0, 10, -1e30f, 70}, MapCase{0, 10, kInf, 380},
                                           MapCase{0, 10, -kInf, 70}, MapCase{0, 10, kNaN, 70}, MapCase{10, 0, 0, 380},
                                           MapCase{10, 0, 10, 70}, MapCase{10, 0, 12, 70}, MapCase{0, kInf, 5, 70},
                                           MapCase{-kInf, kInf, 5, 70}, MapCase{kInf, kInf, kInf, 70},
                                           MapCase{-1e37f, 1e37f, 0, 225}, MapCase{1e37f, -1e37f, 0, 225},
                                           MapCase{kNaN, 10, 5, 70}, MapCase{0, 0, 5, 380}));

TEST(AxisRanges, YValuesMapFromTheBottomEdgeUp)
{
    PlotState state;
    state.Axes[2] = {1, 0};
    EXPECT_EQ(ValueToPixelY(state, 2, 1), 1);
    EXPECT_EQ(ValueToPixelY(state, 2, 0), 311);
    EXPECT_EQ(ValueToPixelY(state, 2, 0.5f), 156);
    EXPECT_EQ(ValueToPixelY(state, 2, 1e30f), 1);
    EXPECT_EQ(ValueToPixelY(state, 2, -kInf), 311);
}

TEST(AxisRanges, PixelsAtTheFrameGiveTheLimitsBack)
{
    PlotState state;
    state.Axes[0] = {12.5f, -2.5f};
    state.Axes[3] = {-4, 6};
    EXPECT_EQ(PixelToValueX(state, 70), -2.5f);
    EXPECT_EQ(PixelToValueX(state, 380), 12.5f);
    EXPECT_EQ(PixelToValueX(state, 225), 5);
    EXPECT_EQ(PixelToValueY(state, 3, 1), -4);
    EXPECT_EQ(PixelToValueY(state, 3, 311), 6);

    state.Axes[0] = {FLT_MAX, -FLT_MAX};
    EXPECT_EQ(PixelToValueX(state, 100000), kInf) << "beyond the float range is infinite, not undefined";
    EXPECT_EQ(PixelToValueX(state, INT_MIN), -kInf);
    EXPECT_LT(PixelToValueY(state, 3, INT_MIN), -6e7f) << "far below the frame on an inverted axis";
}

bool Covers(AxisSpan set, int axis)
{
    return axis >= set.First && axis <= set.Last;
}

TEST(AxisRanges, TypedLimitWithLinkGoesToAllThreeYsAndClearsTheirAutoBoxes)
{
    Fixture f;
    f.Controls.Link = true;
    f.Axis(0) = {10, 0};
    const AxisSpan set = ApplyLimitText(f.State, {2, true}, "7");
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(f.Axis(k).Upper, 7) << k;
        EXPECT_TRUE(Covers(set, k)) << k;
    }
    EXPECT_EQ(f.Axis(0).Upper, 10);
    EXPECT_FALSE(Covers(set, 0));
}

TEST(AxisRanges, TypedXLimitWithLinkSetsTheXAxisAndLeavesTheYs)
{
    Fixture f;
    f.Controls.Link = true;
    f.Axis(1) = {3, 1};
    const AxisSpan set = ApplyLimitText(f.State, {0, false}, "-2.5");
    EXPECT_EQ(f.Axis(0).Lower, -2.5f);
    EXPECT_TRUE(Covers(set, 0));
    EXPECT_EQ(f.Axis(1).Lower, 1);
    EXPECT_FALSE(Covers(set, 1));
}

TEST(AxisRanges, TypedLimitWithoutLinkSetsOneLimitOfOneAxis)
{
    Fixture f;
    f.Axis(2) = {4, 2};
    const AxisSpan set = ApplyLimitText(f.State, {2, false}, " -1e1 ");
    EXPECT_EQ(f.Axis(2).Lower, -10);
    EXPECT_EQ(f.Axis(2).Upper, 4);
    EXPECT_EQ(set.First, 2);
    EXPECT_EQ(set.Last, 2);
}

TEST(AxisRanges, EnterOnTheRoundedTextTakesTheRoundedValue)
{
    Fixture f;
    f.Axis(1) = {12.34f, 0};
    EXPECT_TRUE(Covers(ApplyLimitText(f.State, {1, true}, "+1.2e+01"), 1));
    EXPECT_EQ(f.Axis(1).Upper, 12);
}

TEST(AxisRanges, TextThatIsNoNumberChangesNothing)
{
    for (const char* text : {"", "abc", "1,5", "12kg", "nan", "inf", "1e39", "0x10"}) {
        Fixture f;
        f.Controls.Link = true;
        f.Axis(1) = {3, 1};
        try {
            ApplyLimitText(f.State, {1, true}, text);
            ADD_FAILURE() << "no error for '" << text << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + std::string(text) + "' は浮動小数点数ではありません");
        }
        EXPECT_EQ(f.Axis(1).Upper, 3) << text;
        EXPECT_EQ(f.Axis(2).Upper, 0) << text;
    }
}

TEST(AxisRanges, AxisOutOfRangeChangesNothing)
{
    Fixture f;
    f.Axis(1) = {3, 1};
    const auto before = f.State.Axes;
    for (const int axis : {7, -1, kAxisCount}) {
        const AxisSpan set = ApplyTypedLimit(f.State, LimitTarget{axis, true}, 5);
        EXPECT_LT(set.Last, set.First) << axis;
    }
    for (int a = 0; a < kAxisCount; ++a)
        EXPECT_EQ(f.Axis(a).Upper, before[static_cast<std::size_t>(a)].Upper);
}

TEST(AxisRanges, YsSelectionShowsGroupsByItem)
{
    const auto one = YsLayoutOfItem(0);
    const auto two = YsLayoutOfItem(1);
    const auto three = YsLayoutOfItem(2);
    ASSERT_TRUE(one && two && three);
    EXPECT_FALSE(one->ShowY2 || one->ShowY3 || one->ShowLink);
    EXPECT_TRUE(two->ShowY2 && two->ShowLink);
    EXPECT_FALSE(two->ShowY3);
    EXPECT_TRUE(three->ShowY2 && three->ShowY3 && three->ShowLink);
    EXPECT_FALSE(YsLayoutOfItem(-1));
    EXPECT_FALSE(YsLayoutOfItem(3));
}
