// SPDX-License-Identifier: MIT
// How the logical pixels of the main window's picture fall on device pixels
// when the picture is held at a device pixel ratio (2 on a 4K laptop, 1.5 on
// many desktop screens).
//
// Logical coordinate x begins at device pixel Edge(x), the product rounded
// half up, so every logical pixel keeps its place to within half a device
// pixel. A line one logical pixel wide is LineWidth() device pixels wide
// wherever it lies: at 1.5 the steps between edges alternate between 1 and 2,
// and a line as wide as its own step would make neighbouring graticule lines
// differ. At ratio 1 every mapping is the identity.
#pragma once

#include <algorithm>
#include <climits>
#include <cmath>

struct DeviceGrid {
    double Ratio = 1.0;

    bool Identity() const { return Ratio == 1.0; }

    int Edge(int logical) const
    {
        const double device = std::floor(logical * Ratio + 0.5);
        return static_cast<int>(std::clamp(device, double(INT_MIN), double(INT_MAX)));
    }

    // Device width of a line `logical` pixels wide (the pen width).
    int LineWidth(int logical = 1) const
    {
        return std::max(1, static_cast<int>(std::min(std::floor(logical * Ratio + 0.5), double(INT_MAX))));
    }

    // Device pixels a line at logical x covers across its direction, first
    // and one past the last, for a pen of the given logical width (which
    // reaches (width - 1) / 2 pixels before x, as the canvas draws it).
    int LineStart(int x, int width = 1) const { return Edge(x - (width - 1) / 2); }
    int LineEnd(int x, int width = 1) const { return LineStart(x, width) + LineWidth(width); }

    // The logical pixel whose cell, Edge(x) up to Edge(x + 1), holds device
    // pixel d: where a mouse over that device pixel points.
    int CellOf(int device) const
    {
        int x =
            static_cast<int>(std::clamp(std::floor((device + 0.5) / Ratio), double(INT_MIN / 2), double(INT_MAX / 2)));
        // The quotient can be one off where the ratio has no exact binary form.
        while (x > INT_MIN / 2 && Edge(x) > device)
            --x;
        while (x < INT_MAX / 2 && Edge(x + 1) <= device)
            ++x;
        return x;
    }
};
