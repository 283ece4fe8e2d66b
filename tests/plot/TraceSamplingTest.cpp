// SPDX-License-Identifier: MIT
// Finding samples by X, sorted and unsorted, at the edges of a trace.
#include "TraceSampling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

const float kNaN = std::nanf("");

TEST(TraceSampling, OrderOfX)
{
    EXPECT_TRUE(XNeverDecreases(nullptr, 0));
    const std::vector<float> flatSteps{0, 1, 1, 2};
    EXPECT_TRUE(XNeverDecreases(flatSteps.data(), flatSteps.size()));
    const std::vector<float> back{0, 2, 1};
    EXPECT_FALSE(XNeverDecreases(back.data(), back.size()));
    const std::vector<float> gap{0, kNaN, 2};
    EXPECT_FALSE(XNeverDecreases(gap.data(), gap.size()));
}

TEST(TraceSampling, RangeOfSortedSamplesIncludesBothEnds)
{
    const std::vector<float> x{0, 1, 2, 2, 3, 4, 5};
    const std::size_t n = x.size();
    EXPECT_EQ(SamplesWithin(x.data(), n, 2, 3, true), (SampleRange{2, 5}));
    EXPECT_EQ(SamplesWithin(x.data(), n, 1.5, 1.7, true), (SampleRange{2, 2}));
    EXPECT_EQ(SamplesWithin(x.data(), n, -9, -1, true), (SampleRange{0, 0}));
    EXPECT_EQ(SamplesWithin(x.data(), n, 9, 10, true), (SampleRange{n, n}));
    EXPECT_EQ(SamplesWithin(x.data(), n, 2, 3, false), (SampleRange{0, n}));   // unsorted: everything

    EXPECT_EQ(WithNeighbours({2, 5}, n), (SampleRange{1, 6}));
    EXPECT_EQ(WithNeighbours({0, n}, n), (SampleRange{0, n}));
    EXPECT_EQ(WithNeighbours({2, 2}, n), (SampleRange{1, 3}));   // the line across an empty view
    EXPECT_EQ(WithNeighbours({n, n}, n), (SampleRange{n - 1, n}));
    EXPECT_EQ(WithNeighbours({0, 0}, 0), (SampleRange{0, 0}));
}

TEST(TraceSampling, NearestSampleTakesTheEarlierOnATie)
{
    const std::vector<float> x{0, 1, 1, 3};
    for (bool sorted : {true, false}) {
        EXPECT_EQ(NearestSample(x.data(), x.size(), 2, sorted), 1u) << sorted;   // tie between 1 and 3
        EXPECT_EQ(NearestSample(x.data(), x.size(), 2.1, sorted), 3u);
        EXPECT_EQ(NearestSample(x.data(), x.size(), -5, sorted), 0u);
        EXPECT_EQ(NearestSample(x.data(), x.size(), 50, sorted), 3u);
        EXPECT_EQ(NearestSample(x.data(), x.size(), 0.9, sorted), 1u);
    }
    const std::vector<float> walk{5, kNaN, 1, 4};
    EXPECT_EQ(NearestSample(walk.data(), walk.size(), 1.2, false), 2u);
    EXPECT_FALSE(NearestSample(walk.data(), 0, 1, false));
    const std::vector<float> none{kNaN};
    EXPECT_FALSE(NearestSample(none.data(), 1, 1, false));
}

TEST(TraceSampling, ValueAtIsExactOnASampleAndInterpolatedBetween)
{
    const std::vector<float> x{0, 1, 2, 4};
    const std::vector<float> y{10, 20, kNaN, 40};
    for (bool sorted : {true, false}) {
        const auto on = ValueAt(x.data(), y.data(), x.size(), 1, sorted);
        ASSERT_TRUE(on);
        EXPECT_EQ(on->Value, 20);
        EXPECT_FALSE(on->Interpolated);
        const auto between = ValueAt(x.data(), y.data(), x.size(), 0.25, sorted);
        ASSERT_TRUE(between);
        EXPECT_DOUBLE_EQ(between->Value, 12.5);
        EXPECT_TRUE(between->Interpolated);
        EXPECT_FALSE(ValueAt(x.data(), y.data(), x.size(), 3, sorted)) << "needs the NaN";
        EXPECT_FALSE(ValueAt(x.data(), y.data(), x.size(), -0.5, sorted));
        EXPECT_FALSE(ValueAt(x.data(), y.data(), x.size(), 4.5, sorted));
    }
    // X that runs back: the first pair that encloses x gives the value.
    const std::vector<float> bx{0, 10, 0};
    const std::vector<float> by{0, 100, 50};
    const auto back = ValueAt(bx.data(), by.data(), bx.size(), 5, false);
    ASSERT_TRUE(back);
    EXPECT_DOUBLE_EQ(back->Value, 50);
    const std::vector<float> one{3};
    EXPECT_TRUE(ValueAt(one.data(), one.data(), 1, 3, false));
    EXPECT_FALSE(ValueAt(one.data(), one.data(), 1, 3.5, false));
}

}   // namespace
