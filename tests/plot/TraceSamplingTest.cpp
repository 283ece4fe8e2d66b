// SPDX-License-Identifier: MIT
// Finding samples by X, sorted and unsorted, at the edges of a trace.
#include "TraceSampling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TEST(TraceSampling, RangeOfSortedSamplesIncludesBothEndsAndItsNeighbours)
{
    const std::vector<float> x{0, 1, 2, 2, 3, 4, 5};
    const std::size_t n = x.size();
    EXPECT_TRUE(XNeverDecreases(x.data(), n));
    const std::vector<float> gap{0, std::nanf(""), 2};
    EXPECT_FALSE(XNeverDecreases(gap.data(), gap.size()));
    EXPECT_EQ(SamplesWithin(x.data(), n, 2, 3, true), (SampleRange{2, 5}));
    EXPECT_EQ(SamplesWithin(x.data(), n, 1.5, 1.7, true), (SampleRange{2, 2}));
    EXPECT_EQ(SamplesWithin(x.data(), n, 9, 10, true), (SampleRange{n, n}));
    EXPECT_EQ(WithNeighbours({2, 5}, n), (SampleRange{1, 6}));
    EXPECT_EQ(WithNeighbours({2, 2}, n), (SampleRange{1, 3}));   // the line across an empty view
    EXPECT_EQ(WithNeighbours({n, n}, n), (SampleRange{n - 1, n}));
}

TEST(TraceSampling, NearestSampleTakesTheEarlierOnATie)
{
    const std::vector<float> x{0, 1, 1, 3};
    for (bool sorted : {true, false}) {
        EXPECT_EQ(NearestSample(x.data(), x.size(), 2, sorted), 1u) << sorted;   // tie between 1 and 3
        EXPECT_EQ(NearestSample(x.data(), x.size(), 2.1, sorted), 3u);
        EXPECT_EQ(NearestSample(x.data(), x.size(), -5, sorted), 0u);
    }
    const std::vector<float> none{std::nanf("")};
    EXPECT_FALSE(NearestSample(none.data(), 1, 1, false));
}

TEST(TraceSampling, ValueAtIsExactOnASampleAndInterpolatedBetween)
{
    const std::vector<float> x{0, 1, 2, 4};
    const std::vector<float> y{10, 20, std::nanf(""), 40};
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
        EXPECT_FALSE(ValueAt(x.data(), y.data(), x.size(), 4.5, sorted));
    }
    // X that runs back: the first pair that encloses x gives the value.
    const std::vector<float> bx{0, 10, 0};
    const std::vector<float> by{0, 100, 50};
    EXPECT_DOUBLE_EQ(ValueAt(bx.data(), by.data(), bx.size(), 5, false)->Value, 50);
}

}   // namespace
