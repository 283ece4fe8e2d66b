// SPDX-License-Identifier: MIT
// Column names from a data file's header. The header line is the last line
// before the first data line (a '#' line counts with its '#' removed) that
// has as many fields as the first data line has values; fields are split on
// tabs if the line has any, else on commas, else on runs of blanks. Its text
// is taken as UTF-8 when it is valid UTF-8, otherwise as Shift-JIS (CP932).
// Data lines are what the reader takes for data lines (LineScanner.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// How much of a file is read for its header at most.
inline constexpr std::size_t kHeaderReadLimit = 64 * 1024;

bool IsValidUtf8(std::string_view text);

// The text in UTF-8: as it is when valid, else converted from CP932; bytes
// that are neither become '?'.
std::string HeaderTextToUtf8(std::string_view bytes);

// Fields of a header line (already UTF-8), each trimmed of blanks and of one
// pair of surrounding double quotes; empty fields at the end (a separator at
// the end of the line) are dropped.
std::vector<std::string> SplitHeaderFields(std::string_view line);

// Names of the columns of a file whose beginning is `text` (up to and
// including the first data line); empty when no line before the first data
// line fits, or when the text holds no data line.
std::vector<std::string> ColumnNamesFromText(std::string_view text);

// The same for a file on disk, reading at most kHeaderReadLimit bytes; empty
// when the file cannot be read.
std::vector<std::string> ReadColumnNames(const std::string& path);

// Title of an axis that shows file column `column`: its header name, "index"
// for column 0 (the point number), else "column N".
std::string AxisTitle(const std::vector<std::string>& names, int column);
