// SPDX-License-Identifier: MIT
#include "ViewZoom.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Below this ratio of its sides a drag counts as a line along one axis.
constexpr int kOneAxisRatio = 5;

}   // namespace

double MinimumSpan(double lo, double hi)
{
    const double magnitude =
        std::min(std::max(std::fabs(lo), std::fabs(hi)), double(std::numeric_limits<float>::max()));
    const float f = static_cast<float>(magnitude);
    const double step = double(std::nextafter(f, std::numeric_limits<float>::infinity())) - double(f);
    return std::max(kMinimumSpan, kMinimumFloatSteps * step);
}

ViewAxisLimits SaneLimits(ViewAxisLimits limits)
{
    double lo = std::min(limits.Lower, limits.Upper);
    double hi = std::max(limits.Lower, limits.Upper);
    if (!std::isfinite(lo) || !std::isfinite(hi))
        return UsableLimits(limits);
    lo = std::clamp(lo, -kLargestLimit, kLargestLimit);
    hi = std::clamp(hi, -kLargestLimit, kLargestLimit);
    const double least = MinimumSpan(lo, hi);
    if (hi - lo < least) {
        const double middle = lo / 2 + hi / 2;
        lo = middle - least / 2;
        hi = middle + least / 2;
    }
    // An axis the user turned round (upper limit below the lower) stays so.
    if (limits.Lower > limits.Upper)
        return {hi, lo};
    return {lo, hi};
}

BoxZoom BoxZoomOf(int width, int height)
{
    width = std::abs(width);
    height = std::abs(height);
    if (height * kOneAxisRatio < width)
        return BoxZoom::XOnly;
    if (width * kOneAxisRatio < height)
        return BoxZoom::YOnly;
    return BoxZoom::Both;
}

ViewAxisLimits ZoomedAbout(ViewAxisLimits limits, double anchor, double factor)
{
    if (!(factor > 0) || !std::isfinite(factor) || !std::isfinite(anchor))
        return SaneLimits(limits);
    const ViewAxisLimits sane = SaneLimits(limits);
    const ViewAxisLimits zoomed{anchor + (sane.Lower - anchor) * factor, anchor + (sane.Upper - anchor) * factor};
    const ViewAxisLimits kept = SaneLimits(zoomed);
    // Already at the narrowest width, zooming in leaves the axis where it is
    // rather than moving it about the anchor.
    const double keptSpan = std::fabs(kept.Upper - kept.Lower);
    if (keptSpan > std::fabs(zoomed.Upper - zoomed.Lower) && std::fabs(sane.Upper - sane.Lower) <= keptSpan)
        return sane;
    return kept;
}

ViewAxisLimits PannedBy(ViewAxisLimits limits, double fraction)
{
    const ViewAxisLimits sane = SaneLimits(limits);
    const double shift = (sane.Upper - sane.Lower) * fraction;
    return SaneLimits({sane.Lower + shift, sane.Upper + shift});
}
