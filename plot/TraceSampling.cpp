// SPDX-License-Identifier: MIT
#include "TraceSampling.h"

#include <algorithm>
#include <cmath>

bool XNeverDecreases(const float* xs, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        if (std::isnan(xs[i]) || (i > 0 && xs[i] < xs[i - 1]))
            return false;
    return true;
}

SampleRange SamplesWithin(const float* xs, std::size_t count, double lo, double hi, bool sorted)
{
    if (!sorted)
        return {0, count};
    if (!(lo <= hi))
        return {0, 0};
    const float* end = xs + count;
    const float* first = std::lower_bound(xs, end, lo, [](float v, double limit) { return double(v) < limit; });
    const float* last = std::upper_bound(first, end, hi, [](double limit, float v) { return limit < double(v); });
    return {std::size_t(first - xs), std::size_t(last - xs)};
}

SampleRange WithNeighbours(SampleRange range, std::size_t count)
{
    if (count == 0)
        return {0, 0};
    if (range.Begin >= range.End) {
        // Nothing inside: the pair of samples on either side of the gap can
        // still draw a line across it.
        const std::size_t at = std::min(range.Begin, count);
        return {at > 0 ? at - 1 : 0, std::min(at + 1, count)};
    }
    return {range.Begin > 0 ? range.Begin - 1 : 0, std::min(range.End + 1, count)};
}

std::optional<std::size_t> NearestSample(const float* xs, std::size_t count, double x, bool sorted)
{
    if (count == 0 || std::isnan(x))
        return std::nullopt;
    if (sorted) {
        const float* end = xs + count;
        const float* at = std::lower_bound(xs, end, x, [](float v, double limit) { return double(v) < limit; });
        std::size_t i = std::size_t(at - xs);
        if (i == count)
            return count - 1;
        // Go back to the first of equal X, then see whether the one before is nearer.
        while (i > 0 && xs[i - 1] == xs[i])
            --i;
        if (i > 0 && x - double(xs[i - 1]) <= double(xs[i]) - x) {
            std::size_t j = i - 1;
            while (j > 0 && xs[j - 1] == xs[j])
                --j;
            return j;
        }
        return i;
    }
    std::optional<std::size_t> best;
    double bestDistance = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (std::isnan(xs[i]))
            continue;
        const double distance = std::fabs(double(xs[i]) - x);
        if (!best || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

namespace {

std::optional<SampledValue> Between(const float* xs, const float* ys, std::size_t i, double x)
{
    const double x0 = xs[i], x1 = xs[i + 1];
    const double y0 = ys[i], y1 = ys[i + 1];
    if (x == x0)
        return std::isnan(y0) ? std::nullopt : std::optional<SampledValue>({y0, false});
    if (x == x1)
        return std::isnan(y1) ? std::nullopt : std::optional<SampledValue>({y1, false});
    if (std::isnan(y0) || std::isnan(y1))
        return std::nullopt;
    const double t = (x - x0) / (x1 - x0);
    return SampledValue{y0 + t * (y1 - y0), true};
}

}   // namespace

std::optional<SampledValue> ValueAt(const float* xs, const float* ys, std::size_t count, double x, bool sorted)
{
    if (count == 0 || !std::isfinite(x))
        return std::nullopt;
    if (count == 1 || sorted) {
        const float* end = xs + count;
        const float* at = std::lower_bound(xs, end, x, [](float v, double limit) { return double(v) < limit; });
        const std::size_t i = std::size_t(at - xs);
        if (i < count && double(xs[i]) == x)
            return std::isnan(ys[i]) ? std::nullopt : std::optional<SampledValue>({double(ys[i]), false});
        if (i == 0 || i == count || count == 1)
            return std::nullopt;
        return Between(xs, ys, i - 1, x);
    }
    for (std::size_t i = 0; i + 1 < count; ++i) {
        const double x0 = xs[i], x1 = xs[i + 1];
        if ((x0 <= x && x <= x1) || (x1 <= x && x <= x0))
            return Between(xs, ys, i, x);
    }
    return std::nullopt;
}
