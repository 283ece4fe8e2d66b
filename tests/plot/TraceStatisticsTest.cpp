// SPDX-License-Identifier: MIT
// Statistics over known data, checked against values worked out here by
// other means (closed forms, or plain sums in long double).
#include "TraceStatistics.h"

#include "PlainControls.h"
#include "SlotFill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

struct Series {
    std::vector<float> X, Y;

    TraceStatistics Over(double lo, double hi) const
    {
        return ComputeStatistics(X.data(), Y.data(), 0, X.size(), lo, hi);
    }
    TraceStatistics All() const { return Over(-1e30, 1e30); }
};

Series Ramp(int n)
{
    Series s;
    for (int i = 0; i < n; ++i) {
        s.X.push_back(float(i));
        s.Y.push_back(float(i));
    }
    return s;
}

TEST(TraceStatisticsOf, SineOverWholePeriodsHasTheRmsOfItsAmplitude)
{
    Series sine;
    for (int i = 0; i < 5000; ++i) {   // five periods of 1000 samples
        sine.X.push_back(float(i) * 0.001f);
        sine.Y.push_back(float(3.0 * std::sin(2 * std::numbers::pi * i / 1000)));
    }
    const TraceStatistics s = sine.All();
    EXPECT_EQ(s.Points, 5000u);
    EXPECT_NEAR(s.Mean, 0, 1e-6);
    EXPECT_NEAR(s.Rms, 3.0 / std::sqrt(2.0), 1e-6);
    EXPECT_NEAR(s.StdDev, 3.0 / std::sqrt(2.0), 1e-6);
    EXPECT_FLOAT_EQ(float(s.PeakToPeak), 6.0f);
    EXPECT_FLOAT_EQ(float(s.XOfMax), 0.25f);   // the first crest
    EXPECT_FLOAT_EQ(float(s.XOfMin), 0.75f);
}

TEST(TraceStatisticsOf, RampWholeAndWithinARangeOfX)
{
    const Series ramp = Ramp(100);
    const TraceStatistics all = ramp.All();
    EXPECT_DOUBLE_EQ(all.Mean, 49.5);
    EXPECT_DOUBLE_EQ(all.Rms, std::sqrt(99.0 * 199.0 / 6.0));   // sum of squares 0..99 over 100
    EXPECT_DOUBLE_EQ(all.StdDev, std::sqrt((100.0 * 100.0 - 1.0) / 12.0));

    const TraceStatistics part = ramp.Over(10, 20);   // both ends count
    EXPECT_EQ(part.Points, 11u);
    EXPECT_DOUBLE_EQ(part.Mean, 15);
    EXPECT_EQ(part.XOfMin, 10);
    EXPECT_EQ(part.XOfMax, 20);
    EXPECT_EQ(ramp.Over(10.5, 10.9).Points, 0u);
    // A range found beforehand in a sorted X gives the same without X.
    const TraceStatistics known = ComputeStatisticsOfRange(ramp.X.data(), ramp.Y.data(), 10, 21);
    EXPECT_EQ(known.Points, 11u);
    EXPECT_DOUBLE_EQ(known.Rms, part.Rms);
    EXPECT_DOUBLE_EQ(known.StdDev, part.StdDev);
}

TEST(TraceStatisticsOf, LargeOffsetKeepsTheDeviationOfItsRipple)
{
    Series s;
    for (int i = 0; i < 100000; ++i) {
        s.X.push_back(float(i));
        s.Y.push_back(123456.7f);
    }
    EXPECT_EQ(s.All().StdDev, 0);
    EXPECT_NEAR(s.All().Rms, double(123456.7f), 1e-6);
    for (std::size_t i = 0; i < s.Y.size(); ++i)
        s.Y[i] = 1e6f + (i % 2 ? 0.125f : -0.125f);
    EXPECT_NEAR(s.All().StdDev, 0.125, 1e-9);
}

// NaN on either side leaves a point out; infinities are counted and are
// extremes but stay out of the moments; one point has defined values.
TEST(TraceStatisticsOf, NaNInfinityAndASinglePoint)
{
    Series s = Ramp(10);
    s.Y[2] = std::nanf("");
    s.X[9] = std::nanf("");
    s.Y[1] = HUGE_VALF;
    s.Y[3] = -HUGE_VALF;
    long double sum = 0, squares = 0;
    for (int i : {0, 4, 5, 6, 7, 8}) {
        sum += i;
        squares += (long double)i * i;
    }
    const TraceStatistics n = s.All();
    EXPECT_EQ(n.Points, 8u);
    EXPECT_EQ(n.Infinite, 2u);
    EXPECT_DOUBLE_EQ(n.Mean, double(sum / 6));
    EXPECT_DOUBLE_EQ(n.Rms, double(std::sqrt(squares / 6)));
    EXPECT_EQ(n.Max, HUGE_VAL);
    EXPECT_EQ(n.XOfMax, 1);
    EXPECT_EQ(n.Min, -HUGE_VAL);
    EXPECT_EQ(n.PeakToPeak, HUGE_VAL);

    const Series infinite{{0, 1}, {HUGE_VALF, HUGE_VALF}};
    EXPECT_EQ(infinite.All().PeakToPeak, 0);   // the same infinity throughout
    EXPECT_TRUE(std::isnan(infinite.All().Mean));

    const Series one{{2.5f}, {-4}};
    const TraceStatistics single = one.All();
    EXPECT_EQ(single.Points, 1u);
    EXPECT_EQ(single.Mean, -4);
    EXPECT_EQ(single.Rms, 4);
    EXPECT_EQ(single.StdDev, 0);
    EXPECT_EQ(single.XOfMin, 2.5);
    EXPECT_TRUE(std::isnan(one.Over(3, 4).Mean));
}

// The shown traces of a state, their labels, and the range taken in either
// order, for an X that runs back and forth as well; then the table as text.
TEST(ShownTraceStatisticsOf, EveryShownTraceWithItsLabel)
{
    PlainControls controls;
    controls.YsItem = 1;
    PlotState state;
    state.Controls = &controls;
    state.ColumnMap = {1, 2, 3, 4};
    FillSlot(state.Traces[0], "/d/new.dat", {0, 1, 2, 3}, {10, 11, 12, HUGE_VALF}, {5, 5, 5, 5});
    FillSlot(state.Traces[1], "/d/old.dat", {3, 0, 2, 1}, {1, 2, 3, 4});   // no Y2, X back and forth
    state.DisplayedTraces = 2;
    const auto names = [](const TraceSlot& slot) {
        return slot.Name == "/d/new.dat" ? std::vector<std::string>{"t", "U", "I"} : std::vector<std::string>{};
    };
    const std::vector<TraceStatisticsRow> rows = ShownTraceStatistics(state, 3, 1, names);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Trace.Label, "new.dat:U");
    EXPECT_EQ(rows[1].Trace.Label, "new.dat:I");
    EXPECT_EQ(rows[2].Trace.Label, "old.dat:column 2");
    EXPECT_EQ(rows[2].Stats.Points, 3u);   // X 3, 2 and 1, found out of order
    EXPECT_DOUBLE_EQ(rows[2].Stats.Mean, 8.0 / 3);

    const std::string tsv = StatisticsAsTsv(rows);
    EXPECT_EQ(tsv.substr(0, tsv.find('\n')),
              "trace\tpoints\tmin\tmax\tmean\trms\tstd\tpeak-to-peak\tx of min\tx of max");
    EXPECT_NE(tsv.find("\nnew.dat:U\t3\t11\tinf\t11.5\t"), std::string::npos) << tsv;
    EXPECT_NE(tsv.find("\nnew.dat:I\t3\t5\t5\t5\t5\t0\t0\t1\t1\n"), std::string::npos) << tsv;

    controls.YsItem = -1;   // no Y shown: nothing to measure
    EXPECT_TRUE(ShownTraceStatistics(state, 0, 3, names).empty());
}

}   // namespace
