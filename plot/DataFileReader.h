// SPDX-License-Identifier: MIT
// The only reader of data files. LoadDataFile pushes the trace history down by
// one slot and fills slot 0 with the named file; it never paints.
#pragma once

#include "PlotState.h"

#include <cstddef>
#include <string>

struct LoadResult {
    bool Ok = true;
    std::string Message;   // for the caller to show when !Ok; the history is then unchanged
    explicit operator bool() const { return Ok; }
};

// Longest name the reader takes (its path buffer holds 260 bytes with the terminator).
inline constexpr std::size_t kMaxDataFileName = 259;

LoadResult LoadDataFile(PlotState& state, const std::string& name);

// First pass: the number of data lines, and the column count of the first one.
// Returns false when the file cannot be read as a regular file.
bool CountDataLines(const std::string& path, std::size_t& lines, int& columns);

void ClearRedCursor(PlotState& state);
