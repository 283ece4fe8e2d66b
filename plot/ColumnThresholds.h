// SPDX-License-Identifier: MIT
// Where an X mapping enters each pixel column. Points whose X never
// decreases fill the columns in order, so the points of one column are those
// below the value where the next column starts: a walk finds a column's last
// point by comparing values, without mapping every point.
#pragma once

#include "AxisRanges.h"

#include <vector>

class ColumnThresholds {
public:
    // For columns left..left + scale.Size of a mapping whose values grow to
    // the right (a positive span); otherwise there is none and Usable() is
    // false.
    ColumnThresholds(const AxisScale& scale, int left);

    bool Usable() const { return !m_after.empty(); }

    // The smallest value that maps right of `column` (which must be one of
    // the mapping's columns); NaN, which compares false with every value,
    // when none does.
    float After(int column) const { return m_after[static_cast<std::size_t>(column - m_left)]; }
    // The rightmost column.
    int Last() const { return m_left + static_cast<int>(m_after.size()) - 1; }

private:
    std::vector<float> m_after;
    int m_left;
};
