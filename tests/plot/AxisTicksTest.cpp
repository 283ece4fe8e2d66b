// SPDX-License-Identifier: MIT
#include "AxisTicks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

namespace {

struct Range {
    double A;
    double B;
    int MaxIntervals;
    const char* What;
};

class AxisTicksRange : public ::testing::TestWithParam<Range> { };

// A step is one, two or five times a power of ten.
bool IsRoundStep(double step)
{
    const double decade = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    const double mantissa = step / decade;
    return std::fabs(mantissa - 1) < 1e-6 || std::fabs(mantissa - 2) < 1e-6 || std::fabs(mantissa - 5) < 1e-6;
}

TEST_P(AxisTicksRange, RoundEvenlySpacedTicksInsideTheRange)
{
    const Range r = GetParam();
    const std::vector<AxisTick> ticks = ComputeAxisTicks(r.A, r.B, r.MaxIntervals);
    const double lo = std::min(r.A, r.B), hi = std::max(r.A, r.B);
    ASSERT_GE(ticks.size(), 2u) << r.What;
    EXPECT_LE(ticks.size(), std::size_t(r.MaxIntervals) + 1) << r.What;
    const double step = ticks[1].Value - ticks[0].Value;
    EXPECT_TRUE(IsRoundStep(step)) << r.What << " step " << step;
    std::set<std::string> labels;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const AxisTick& t = ticks[i];
        EXPECT_TRUE(std::isfinite(t.Value)) << r.What;
        EXPECT_GE(t.Value, lo) << r.What;
        EXPECT_LE(t.Value, hi) << r.What;
        const double tolerance = std::max(step, std::fabs(t.Value)) * 1e-9;
        EXPECT_NEAR(std::remainder(t.Value, step), 0, tolerance) << r.What << " " << t.Label;
        if (i > 0) {
            EXPECT_NEAR(t.Value - ticks[i - 1].Value, step, tolerance) << r.What;
        }
        EXPECT_TRUE(labels.insert(t.Label).second) << r.What << ": two ticks read " << t.Label;
        EXPECT_EQ(t.Label.find("nan"), std::string::npos) << r.What;
    }
    // The step is the smallest round one whose ticks fit: one notch finer
    // would give too many.
    const double finer = step * (IsRoundStep(step / 5) ? 0.4 : 0.5);
    EXPECT_GT(std::floor(hi / finer + 1e-9) - std::ceil(lo / finer - 1e-9), r.MaxIntervals) << r.What;
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, AxisTicksRange,
    ::testing::Values(Range{0, 10, 5, "plain"}, Range{-25.4, -3.1, 8, "negative"}, Range{10, 0, 5, "inverted"},
                      Range{-3.7, 12.2, 10, "across zero"}, Range{1e-12, 7e-12, 6, "tiny"},
                      Range{1000.0001, 1000.0009, 4, "tiny beside a large value"}, Range{0, 3e9, 6, "huge"},
                      Range{-1e37, 1e37, 8, "the reader's empty-range sentinels"},
                      Range{-3.4e38, 3.4e38, 8, "the float range"}, Range{0.5, 0.500001, 3, "a float's resolution"},
                      Range{-1, 1, 400, "crowded"}));

TEST(AxisTicks, DegenerateRangesGiveOneTickOrNoneAndNeverHang)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<AxisTick> same = ComputeAxisTicks(5, 5, 10);
    ASSERT_EQ(same.size(), 1u);
    EXPECT_EQ(same[0].Label, "5");
    ASSERT_EQ(ComputeAxisTicks(0, 0, 10).size(), 1u);
    EXPECT_EQ(ComputeAxisTicks(0, 0, 10)[0].Label, "0");
    EXPECT_TRUE(ComputeAxisTicks(nan, 1, 10).empty());
    EXPECT_TRUE(ComputeAxisTicks(0, inf, 10).empty());
    EXPECT_TRUE(ComputeAxisTicks(-inf, inf, 10).empty());
    EXPECT_TRUE(ComputeAxisTicks(-1e308, 1e308, 10).empty());   // the span overflows
    EXPECT_LE(ComputeAxisTicks(0, 1, 1000000).size(), 501u);
    EXPECT_FALSE(ComputeAxisTicks(0, 1, 0).empty());
    EXPECT_EQ(RoundTickStep(0, 5), 0);
    EXPECT_EQ(RoundTickStep(-1, 5), 0);
    EXPECT_EQ(RoundTickStep(nan, 5), 0);
}

struct Format {
    double Value, Step, Largest;
    const char* Text;
};

class TickLabel : public ::testing::TestWithParam<Format> { };

TEST_P(TickLabel, PlainUnlessTooLong)
{
    const Format f = GetParam();
    EXPECT_EQ(FormatTickValue(f.Value, f.Step, f.Largest), f.Text);
}

INSTANTIATE_TEST_SUITE_P(Labels, TickLabel,
                         ::testing::Values(Format{25.4, 0.1, 100, "25.4"}, Format{25, 5, 100, "25"},
                                           Format{-20, 5, 25, "-20"}, Format{0.001, 0.001, 0.005, "0.001"},
                                           Format{0.01, 0.005, 0.0123, "0.010"}, Format{-0.0, 1, 10, "0"},
                                           Format{1.5e9, 5e8, 3e9, "1.5e+09"}, Format{2e9, 5e8, 3e9, "2e+09"},
                                           Format{3e-12, 1e-12, 7e-12, "3e-12"},
                                           Format{1000.0004, 0.0002, 1000.0009, "1000.0004"},
                                           Format{5e36, 5e36, 1e37, "5e+36"}, Format{9999999, 1, 9999999, "9999999"}));

}   // namespace
