// SPDX-License-Identifier: MIT
// The arithmetic of the large view's zoom: box zooms, zooming about a point,
// panning, and the narrowest range an axis may take.
#pragma once

#include "ColumnEnvelope.h"

// The data are single-precision floats: a range narrower than a few of their
// steps would only spread one sample over the whole plot, and ticks and
// pixel mapping would run out of digits. An axis therefore keeps at least
// kMinimumFloatSteps float steps (at the larger magnitude of its limits), and
// never less than kMinimumSpan.
inline constexpr double kMinimumFloatSteps = 64;
inline constexpr double kMinimumSpan = 1e-30;
// Zooming out stops here: beyond it a span is no longer a finite double.
inline constexpr double kLargestLimit = 1e300;

double MinimumSpan(double lo, double hi);

// Limits that are finite and at least MinimumSpan apart (widened about their
// middle when narrower), in the order they were given.
ViewAxisLimits SaneLimits(ViewAxisLimits limits);

// Which axes a dragged rectangle of w x h pixels zooms: a wide, flat one only
// X, a tall, narrow one only Y, any other both.
enum class BoxZoom {
    XOnly,
    YOnly,
    Both
};
BoxZoom BoxZoomOf(int width, int height);

// Zoomed by `factor` (below 1 zooms in) about the value `anchor`, which keeps
// its place on the screen.
ViewAxisLimits ZoomedAbout(ViewAxisLimits limits, double anchor, double factor);

// Shifted by `fraction` of the axis's span (positive: toward larger values).
ViewAxisLimits PannedBy(ViewAxisLimits limits, double fraction);
