// SPDX-License-Identifier: MIT
// Controls without widgets: plain values, for tests and benchmarks.
#pragma once

#include "PlotControls.h"

#include <array>

class PlainControls : public PlotControls {
public:
    std::array<bool, 4> Auto{true, true, true, true};
    int YsItem = 0;
    bool Link = false;
    bool Names = false;
    bool Cursor = false;

    bool AxisAuto(int axis) const override { return Auto.at(static_cast<std::size_t>(axis)); }
    int YsItemIndex() const override { return YsItem; }
    bool LinkageYs() const override { return Link; }
    bool DispName() const override { return Names; }
    bool CursorOn() const override { return Cursor; }
};
