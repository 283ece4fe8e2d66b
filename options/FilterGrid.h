// SPDX-License-Identifier: MIT
// The open dialog's filter ("description|pattern|description|pattern") as
// rows of a two-column grid, and back.
//
// Reading takes pairs from the front while a "|" follows the description, so
// a trailing description without a pattern is not shown, and a text ending in
// "|" gives a last row with an empty pattern. Writing goes down the rows until
// the first empty description: later rows, and a pattern without a
// description, are dropped; a description with an empty pattern stays.
#pragma once

#include <QTableWidget>

#include <string>
#include <vector>

struct FilterRow {
    std::string Pattern;
    std::string Description;

    bool operator==(const FilterRow&) const = default;
};

std::vector<FilterRow> FilterRowsOf(const std::string& filter);
std::string FilterTextOf(const std::vector<FilterRow>& rows);

// The grid `Filters`: a fixed heading row "フィルタ" / "説明" (67 and 216
// pixels wide), nine editable rows of 16 pixels, Tab from cell to cell. Pairs
// past the ninth are not shown but kept, and come back after the visible rows.
// A "|" cannot be typed into a cell: it would split the pair when the filter
// is read again and shift every later pattern into a description.
class FilterGrid : public QTableWidget {
    Q_OBJECT

public:
    static constexpr int kDataRows = 9;
    static constexpr int kRowHeight = 16;
    static constexpr int kPatternWidth = 67;
    static constexpr int kDescriptionWidth = 216;

    explicit FilterGrid(QWidget* parent = nullptr);

    void SetFilter(const std::string& filter);
    std::string Filter() const;

    // All rows, the visible ones first, as they are now.
    std::vector<FilterRow> Rows() const;

    // Text of a visible cell; row 1..9 as in the heading-row numbering,
    // column 0 = pattern, 1 = description.
    QString Cell(int column, int row) const;
    void SetCell(int column, int row, const QString& text);

private:
    std::vector<FilterRow> m_hiddenRows;
};
