// SPDX-License-Identifier: MIT
#include "ColumnThresholds.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Floats in the order of their values as unsigned integers: -inf lowest,
// +inf highest, -0 just below +0.
std::uint32_t KeyOf(float value)
{
    const auto bits = std::bit_cast<std::uint32_t>(value);
    return (bits & 0x80000000u) ? ~bits : bits | 0x80000000u;
}

float ValueOf(std::uint32_t key)
{
    return std::bit_cast<float>((key & 0x80000000u) ? key & 0x7FFFFFFFu : ~key);
}

constexpr float kInfinity = std::numeric_limits<float>::infinity();

}   // namespace

ColumnThresholds::ColumnThresholds(const AxisScale& scale, int left) : m_left(left)
{
    if (!(scale.Span > 0) || !(scale.Size >= 1))
        return;
    const int columns = static_cast<int>(scale.Size) + 1;
    m_after.resize(static_cast<std::size_t>(columns));
    // The offset never falls as the value grows, so the first value reaching
    // an offset is found by bisection over the floats between one that falls
    // short and one that reaches it. The straight line's value is within a
    // few floats of it: the bracket grows from there.
    for (int k = 0; k < columns; ++k) {
        float& after = m_after[static_cast<std::size_t>(k)];
        const int offset = k + 1;
        if (scale.Offset(kInfinity) < offset) {
            after = std::numeric_limits<float>::quiet_NaN();
            continue;
        }
        if (scale.Offset(-kInfinity) >= offset) {
            after = -kInfinity;
            continue;
        }
        std::uint32_t shortOf = KeyOf(-kInfinity);
        std::uint32_t reach = KeyOf(kInfinity);
        const auto guess = static_cast<float>(scale.Lower + offset * scale.Span / scale.Size);
        if (!std::isnan(guess)) {
            const std::uint32_t start = KeyOf(guess);
            const bool reaches = scale.Offset(guess) >= offset;
            (reaches ? reach : shortOf) = start;
            for (std::uint32_t step = 1; reach - shortOf > step; step *= 2) {
                const std::uint32_t probe = reaches ? reach - step : shortOf + step;
                if ((scale.Offset(ValueOf(probe)) >= offset) != reaches) {
                    (reaches ? shortOf : reach) = probe;
                    break;
                }
                (reaches ? reach : shortOf) = probe;
            }
        }
        while (reach - shortOf > 1) {
            const std::uint32_t middle = shortOf + (reach - shortOf) / 2;
            (scale.Offset(ValueOf(middle)) >= offset ? reach : shortOf) = middle;
        }
        after = ValueOf(reach);
    }
}
