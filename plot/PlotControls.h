// SPDX-License-Identifier: MIT
// The state that the main window keeps in its controls rather than in
// PlotState: the auto boxes, the Ys selection, the display toggles and the
// column edits. The reader, the range step and the painter reach the controls
// only through this interface; the main window implements it with widgets and
// tests use PlainControls.
#pragma once

#include <array>
#include <string>

class PlotControls {
public:
    virtual ~PlotControls() = default;

    // Auto check box of axis 0..3 (X0_auto, Y1_auto, Y2_auto, Y3_auto).
    virtual bool AxisAuto(int axis) const = 0;
    virtual void SetAxisAuto(int axis, bool checked) = 0;

    // Selected item of RadioGroup1 ("Y's"): -1 (none) or 0..2. Setting it runs ChangeYs.
    virtual int YsItemIndex() const = 0;
    virtual void SetYsItemIndex(int item) = 0;

    // Text of the column edit of axis 0..3. Setting it runs ChangeColn.
    virtual void SetColumnText(int axis, const std::string& text) = 0;

    virtual bool LinkageYs() const = 0;
    virtual bool DispName() const = 0;
    virtual bool CursorOn() const = 0;

    // Hides DeltaX, L_DeltaX, DeltaY1, L_DeltaY1, DeltaY2 and DeltaY3.
    virtual void HideDeltaReadouts() = 0;
};

// Controls without widgets: plain values, for tests, benchmarks and tools.
class PlainControls : public PlotControls {
public:
    std::array<bool, 4> Auto{true, true, true, true};
    int YsItem = 0;
    std::array<std::string, 4> ColumnText{"0", "1", "2", "3"};
    bool Link = false;
    bool Names = false;
    bool Cursor = false;
    int DeltaHides = 0;

    bool AxisAuto(int axis) const override { return Auto.at(axis); }
    void SetAxisAuto(int axis, bool checked) override { Auto.at(axis) = checked; }
    int YsItemIndex() const override { return YsItem; }
    void SetYsItemIndex(int item) override { YsItem = item; }
    void SetColumnText(int axis, const std::string& text) override { ColumnText.at(axis) = text; }
    bool LinkageYs() const override { return Link; }
    bool DispName() const override { return Names; }
    bool CursorOn() const override { return Cursor; }
    void HideDeltaReadouts() override { ++DeltaHides; }
};
