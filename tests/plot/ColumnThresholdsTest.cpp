// SPDX-License-Identifier: MIT
#include "ColumnThresholds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr int kLeft = 70;
constexpr float kInfinity = std::numeric_limits<float>::infinity();

struct Mapping {
    float Lower;
    float Upper;
    int Size;
};

}   // namespace

// Each column's threshold is the first float that maps right of the column:
// it does, and the float below it does not. Spans of a few floats (columns
// that no value reaches), of the whole float range, and of one column.
TEST(ColumnThresholds, EachIsTheFirstValueThatMapsRightOfItsColumn)
{
    std::vector<Mapping> mappings{{0, 310, 310},        {-1, 1, 310}, {1e-30f, 2e-30f, 310}, {1000, 1000.001f, 310},
                                  {-3e38f, 3e38f, 620}, {5, 6, 1},    {-0.0f, 1e-40f, 310},  {0.1f, 0.3f, 3840}};
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> unit(-1, 1);
    for (int k = 0; k < 20; ++k) {
        const float lower = unit(rng) * std::ldexp(1.0f, int(rng() % 60) - 30);
        float upper = lower + std::ldexp(1.5f + unit(rng) * 0.5f, int(rng() % 60) - 30);
        if (!(upper > lower))
            upper = std::nextafter(lower, kInfinity);   // a span of one float
        mappings.push_back({lower, upper, 310});
    }
    for (const Mapping& m : mappings) {
        const AxisScale scale(m.Lower, m.Upper, m.Size);
        const ColumnThresholds columns(scale, kLeft);
        ASSERT_TRUE(columns.Usable()) << m.Lower << ' ' << m.Upper;
        ASSERT_EQ(columns.Last(), kLeft + m.Size);
        for (int c = kLeft; c < columns.Last(); ++c) {
            const float edge = columns.After(c);
            ASSERT_GT(kLeft + scale.Offset(edge), c) << m.Lower << ' ' << m.Upper << " column " << c;
            ASSERT_LE(kLeft + scale.Offset(std::nextafter(edge, -kInfinity)), c)
                << m.Lower << ' ' << m.Upper << " column " << c;
        }
        EXPECT_TRUE(std::isnan(columns.After(columns.Last()))) << "nothing maps right of the last column";
    }
}

TEST(ColumnThresholds, AMappingThatDoesNotGrowHasNone)
{
    EXPECT_FALSE(ColumnThresholds(AxisScale(1, 0, 310), kLeft).Usable());
    EXPECT_FALSE(ColumnThresholds(AxisScale(2, 2, 310), kLeft).Usable());
    EXPECT_FALSE(ColumnThresholds(AxisScale(0, std::nanf(""), 310), kLeft).Usable());
    EXPECT_FALSE(ColumnThresholds(AxisScale(0, 1, 0), kLeft).Usable());
}
