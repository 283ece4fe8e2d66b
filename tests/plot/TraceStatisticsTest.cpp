// SPDX-License-Identifier: MIT
// Statistics over known data, checked against values worked out here by
// other means (closed forms, or plain sums in long double).
#include "TraceStatistics.h"

#include "PlainControls.h"
#include "SlotFill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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

Series Sine(double amplitude, int perPeriod, int periods)
{
    Series s;
    for (int i = 0; i < perPeriod * periods; ++i) {
        s.X.push_back(float(i) * 0.001f);
        s.Y.push_back(float(amplitude * std::sin(2 * std::numbers::pi * i / perPeriod)));
    }
    return s;
}

Series Ramp(int n)
{
    Series s;
    for (int i = 0; i < n; ++i) {
        s.X.push_back(float(i));
        s.Y.push_back(float(i));
    }
    return s;
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(TraceStatisticsOf, SineOverWholePeriodsHasTheRmsOfItsAmplitude)
{
    const Series sine = Sine(3.0, 1000, 5);
    const TraceStatistics s = sine.All();
    EXPECT_EQ(s.Points, 5000u);
    EXPECT_NEAR(s.Mean, 0, 1e-6);
    EXPECT_NEAR(s.Rms, 3.0 / std::sqrt(2.0), 1e-6);
    EXPECT_NEAR(s.StdDev, 3.0 / std::sqrt(2.0), 1e-6);
    EXPECT_FLOAT_EQ(float(s.Max), 3.0f);
    EXPECT_FLOAT_EQ(float(s.Min), -3.0f);
    EXPECT_FLOAT_EQ(float(s.XOfMax), 0.25f);   // the first crest
    EXPECT_FLOAT_EQ(float(s.XOfMin), 0.75f);
    EXPECT_FLOAT_EQ(float(s.PeakToPeak), 6.0f);
}

TEST(TraceStatisticsOf, RampWholeAndWithinARangeOfX)
{
    const Series ramp = Ramp(100);
    const TraceStatistics all = ramp.All();
    EXPECT_EQ(all.Points, 100u);
    EXPECT_DOUBLE_EQ(all.Mean, 49.5);
    EXPECT_DOUBLE_EQ(all.Rms, std::sqrt(99.0 * 100.0 * 199.0 / 6.0 / 100.0));   // sum of squares 0..99
    EXPECT_DOUBLE_EQ(all.StdDev, std::sqrt((100.0 * 100.0 - 1.0) / 12.0));
    EXPECT_EQ(all.XOfMin, 0);
    EXPECT_EQ(all.XOfMax, 99);

    const TraceStatistics part = ramp.Over(10, 19);   // both ends count
    EXPECT_EQ(part.Points, 10u);
    EXPECT_DOUBLE_EQ(part.Mean, 14.5);
    EXPECT_EQ(part.Min, 10);
    EXPECT_EQ(part.Max, 19);
    EXPECT_DOUBLE_EQ(part.PeakToPeak, 9);
    EXPECT_EQ(ramp.Over(10.5, 10.9).Points, 0u);

    // A sorted range found beforehand gives the same without looking at X.
    const TraceStatistics known = ComputeStatisticsOfRange(ramp.X.data(), ramp.Y.data(), 10, 21);
    EXPECT_EQ(known.Points, 11u);
    EXPECT_DOUBLE_EQ(known.Mean, 15);
    EXPECT_DOUBLE_EQ(known.Rms, ramp.Over(10, 20).Rms);
    EXPECT_DOUBLE_EQ(known.StdDev, std::sqrt((11.0 * 11.0 - 1.0) / 12.0));
}

TEST(TraceStatisticsOf, LargeConstantHasNoDeviationAtAll)
{
    Series s;
    for (int i = 0; i < 100000; ++i) {
        s.X.push_back(float(i));
        s.Y.push_back(123456.7f);
    }
    const TraceStatistics c = s.All();
    EXPECT_EQ(c.StdDev, 0);
    EXPECT_EQ(c.PeakToPeak, 0);
    EXPECT_EQ(c.Mean, double(123456.7f));
    EXPECT_NEAR(c.Rms, double(123456.7f), 1e-6);

    // A small ripple on a large offset keeps its deviation.
    for (std::size_t i = 0; i < s.Y.size(); ++i)
        s.Y[i] = 1e6f + (i % 2 ? 0.125f : -0.125f);
    EXPECT_NEAR(s.All().StdDev, 0.125, 1e-9);
}

TEST(TraceStatisticsOf, NaNCellsAreLeftOutOnEitherSide)
{
    Series s = Ramp(10);
    s.Y[2] = kNaN;
    s.Y[7] = kNaN;
    s.X[9] = kNaN;   // a point without an X is nowhere
    const TraceStatistics n = s.All();
    long double sum = 0, squares = 0;
    int count = 0;
    for (int i : {0, 1, 3, 4, 5, 6, 8}) {
        sum += i;
        squares += (long double)i * i;
        ++count;
    }
    EXPECT_EQ(n.Points, std::size_t(count));
    EXPECT_DOUBLE_EQ(n.Mean, double(sum / count));
    EXPECT_DOUBLE_EQ(n.Rms, double(std::sqrt(squares / count)));
    EXPECT_EQ(n.Max, 8);
}

TEST(TraceStatisticsOf, InfinitiesAreExtremesButNotPartOfTheMoments)
{
    Series s = Ramp(5);   // 0 1 2 3 4
    s.Y[1] = kInf;
    s.Y[3] = -kInf;
    const TraceStatistics i = s.All();
    EXPECT_EQ(i.Points, 5u);
    EXPECT_EQ(i.Infinite, 2u);
    EXPECT_EQ(i.Max, HUGE_VAL);
    EXPECT_EQ(i.XOfMax, 1);
    EXPECT_EQ(i.Min, -HUGE_VAL);
    EXPECT_EQ(i.XOfMin, 3);
    EXPECT_EQ(i.PeakToPeak, HUGE_VAL);
    EXPECT_DOUBLE_EQ(i.Mean, 2);   // (0 + 2 + 4) / 3
    EXPECT_DOUBLE_EQ(i.Rms, std::sqrt(20.0 / 3));

    Series only{{0, 1}, {kInf, kInf}};
    const TraceStatistics o = only.All();
    EXPECT_EQ(o.Points, 2u);
    EXPECT_TRUE(std::isnan(o.Mean) && std::isnan(o.Rms) && std::isnan(o.StdDev));
    EXPECT_EQ(o.PeakToPeak, 0);   // the same infinity throughout
}

TEST(TraceStatisticsOf, OnePointAndNoPointGiveDefinedValues)
{
    const Series one{{2.5f}, {-4}};
    const TraceStatistics s = one.All();
    EXPECT_EQ(s.Points, 1u);
    EXPECT_EQ(s.Min, -4);
    EXPECT_EQ(s.Max, -4);
    EXPECT_EQ(s.Mean, -4);
    EXPECT_EQ(s.Rms, 4);
    EXPECT_EQ(s.StdDev, 0);
    EXPECT_EQ(s.PeakToPeak, 0);
    EXPECT_EQ(s.XOfMin, 2.5);
    EXPECT_EQ(s.XOfMax, 2.5);

    const TraceStatistics none = one.Over(3, 4);
    EXPECT_EQ(none.Points, 0u);
    EXPECT_TRUE(std::isnan(none.Min) && std::isnan(none.Mean));
}

// The shown traces of a state, their labels, and the range taken in either
// order, for X that runs back and forth as well.
TEST(ShownTraceStatisticsOf, EveryShownTraceWithItsLabel)
{
    PlainControls controls;
    controls.YsItem = 1;
    PlotState state;
    state.Controls = &controls;
    state.ColumnMap = {1, 2, 3, 4};
    FillSlot(state.Traces[0], "/d/new.dat", {0, 1, 2, 3}, {10, 11, 12, 13}, {5, 5, 5, 5});
    FillSlot(state.Traces[1], "/d/old.dat", {3, 0, 2, 1}, {1, 2, 3, 4});   // no Y2, X back and forth
    state.DisplayedTraces = 2;

    const auto names = [](const TraceSlot& slot) {
        return slot.Name == "/d/new.dat" ? std::vector<std::string>{"t", "U", "I"} : std::vector<std::string>{};
    };
    const std::vector<TraceStatisticsRow> rows = ShownTraceStatistics(state, 2, 1, names);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Trace.Label, "new.dat:U");
    EXPECT_EQ(rows[1].Trace.Label, "new.dat:I");
    EXPECT_EQ(rows[2].Trace.Label, "old.dat:column 2");
    EXPECT_EQ(rows[0].Stats.Points, 2u);
    EXPECT_DOUBLE_EQ(rows[0].Stats.Mean, 11.5);
    EXPECT_EQ(rows[2].Stats.Points, 2u);   // X 2 and 1, found out of order
    EXPECT_DOUBLE_EQ(rows[2].Stats.Mean, 3.5);
    EXPECT_EQ(rows[2].Stats.XOfMax, 1);

    const std::string tsv = StatisticsAsTsv(rows);
    EXPECT_EQ(tsv.substr(0, tsv.find('\n')),
              "trace\tpoints\tmin\tmax\tmean\trms\tstd\tpeak-to-peak\tx of min\tx of max");
    EXPECT_NE(tsv.find("\nnew.dat:I\t2\t5\t5\t5\t5\t0\t0\t1\t1\n"), std::string::npos) << tsv;

    controls.YsItem = -1;   // no Y shown: nothing to measure
    EXPECT_TRUE(ShownTraceStatistics(state, 0, 3, names).empty());
}

TEST(StatisticsNumberText, InfinityUnknownAndPrecision)
{
    EXPECT_EQ(StatisticsNumber(HUGE_VAL), "inf");
    EXPECT_EQ(StatisticsNumber(-HUGE_VAL), "-inf");
    EXPECT_EQ(StatisticsNumber(std::nan("")), "");
    EXPECT_EQ(StatisticsNumber(0.1), "0.1");
    EXPECT_EQ(StatisticsNumber(1234567.891), "1234567.89");
    EXPECT_EQ(StatisticsNumber(1.5e-12), "1.5e-12");
}

}   // namespace
