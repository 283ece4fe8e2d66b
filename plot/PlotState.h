// SPDX-License-Identifier: MIT
// The one in-memory record that the main window's handlers share: the trace
// history, the four axes (0 = X, 1..3 = Y1..Y3), the column map, the colour
// table, the cursors and the directory being browsed. State held by controls
// (auto boxes, Ys selection, toggles) is reached through Controls.
#pragma once

#include "Color.h"
#include "DataTable.h"
#include "PlotControls.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr int kHistorySlots = 10;
inline constexpr int kAxisCount = 4;
inline constexpr int kColorCount = 16;
inline constexpr int kMaxColumn = 999;
// Where a search for a maximum or minimum starts, and what an axis without
// any value keeps: values beyond them are never taken.
inline constexpr float kNoMaximum = -1e37f;
inline constexpr float kNoMinimum = 1e37f;
// A cursor position that stands for no cursor.
inline constexpr std::int32_t kNoCursor = -1;

struct PlotRectangle {
    int Left;
    int Top;
    int Width;
    int Height;
};

// The fixed plot area in client pixels of the main window.
inline constexpr PlotRectangle PlotRect{70, 1, 310, 310};

struct TraceSlot {
    std::string Name;           // as passed to the reader
    TablePtr Table;             // 4 rows of Points values; none for an empty slot
    std::size_t Points = 0;     // number of data lines
    std::int32_t Columns = 0;   // values on the first data line
    std::array<std::int32_t, kAxisCount> Present{};
    std::array<float, kAxisCount> Max{};
    std::array<float, kAxisCount> Min{};

    bool Loaded() const { return Table != nullptr; }
};

struct AxisState {
    float Upper = 0;
    float Lower = 0;
};

inline constexpr std::array<TColor, kColorCount> kDefaultColors{
    0x02000000, 0x02FF0000, 0x0200FF00, 0x020000FF, 0x02FFFF00, 0x02FF00FF, 0x0200FFFF, 0x02FFB080,
    0x0280FFB0, 0x02B080FF, 0x02FF80B0, 0x02B0FF80, 0x0280B0FF, 0x02FFFFB0, 0x02FFB0FF, 0x02B0FFFF};

struct PlotState {
    std::array<TraceSlot, kHistorySlots> Traces;   // slot 0 = newest
    std::array<AxisState, kAxisCount> Axes;
    std::array<std::int32_t, kAxisCount> ColumnMap{0, 1, 2, 3};
    std::array<TColor, kColorCount> Colors = kDefaultColors;

    std::int32_t TracesShown = 1;   // 1..10
    bool RedetectColumns = false;
    bool AutoDet = false;
    std::int32_t UnitWheel = 2;
    std::int32_t WheelCount = 0;
    std::string FileDialogFilter;
    std::string CurrentDir;   // ends in '/'
    std::int32_t ListingCount = 0;
    std::int32_t ListingIndex = 0;

    std::int32_t CursorX = kNoCursor, CursorY = kNoCursor;
    std::int32_t RedCursorX = kNoCursor, RedCursorY = kNoCursor;
    bool GraphReady = false;   // set only by GraphBusy
    int GraphBusyDepth = 0;

    std::int32_t DisplayedTraces = 0;   // set by every paint

    PlotControls* Controls = nullptr;   // never null once the window exists

    // Items of RadioGroup1 + 1: 1..3, or 0 when no item is selected.
    int NumYs() const { return Controls ? Controls->YsItemIndex() + 1 : 1; }
};

// While one lives, the picture is being redrawn or lies under a modal dialog,
// and mouse moves must not invert the cursor cross into it: a cross drawn
// then could not be erased by the next move. Guards nest (a paint inside the
// options dialog); GraphReady comes back when the outermost one ends, also
// when a paint stops with an exception, and not before the first paint.
class GraphBusy {
public:
    explicit GraphBusy(PlotState& state) : m_state(state)
    {
        ++m_state.GraphBusyDepth;
        m_state.GraphReady = false;
    }
    ~GraphBusy()
    {
        if (--m_state.GraphBusyDepth == 0)
            m_state.GraphReady = true;
    }
    GraphBusy(const GraphBusy&) = delete;
    GraphBusy& operator=(const GraphBusy&) = delete;

private:
    PlotState& m_state;
};
