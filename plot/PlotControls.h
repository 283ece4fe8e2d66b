// SPDX-License-Identifier: MIT
// The state that the main window keeps in its controls rather than in
// PlotState: the auto boxes, the Ys selection and the display toggles. The
// reader, the range step and the painter only read it through this
// interface; what they decide about the controls they return, and the window
// applies it.
#pragma once

class PlotControls {
public:
    virtual ~PlotControls() = default;

    // Auto check box of axis 0..3 (X0_auto, Y1_auto, Y2_auto, Y3_auto).
    virtual bool AxisAuto(int axis) const = 0;
    // Selected item of RadioGroup1 ("Y's"): -1 (none) or 0..2.
    virtual int YsItemIndex() const = 0;
    virtual bool LinkageYs() const = 0;
    virtual bool DispName() const = 0;
    virtual bool CursorOn() const = 0;
};
