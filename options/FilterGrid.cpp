// SPDX-License-Identifier: MIT
#include "FilterGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>

namespace {

constexpr char kSeparator = '|';

// Line edits that refuse the separator and hand every keystroke to the
// grid's data at once, so closing the dialog with a cell still open loses
// nothing.
class FilterCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            static const QRegularExpression kNoSeparator(QStringLiteral("[^|]*"));
            edit->setValidator(new QRegularExpressionValidator(kNoSeparator, edit));
            auto* self = const_cast<FilterCellDelegate*>(this);
            QObject::connect(edit, &QLineEdit::textEdited, self, [self, edit] { emit self->commitData(edit); });
        }
        return editor;
    }
};

}   // namespace

std::vector<FilterRow> FilterRowsOf(const std::string& filter)
{
    std::vector<FilterRow> rows;
    std::string rest = filter;
    for (;;) {
        const std::size_t bar = rest.find(kSeparator);
        if (bar == std::string::npos)
            break;
        FilterRow row;
        row.Description = rest.substr(0, bar);
        rest.erase(0, bar + 1);
        const std::size_t next = rest.find(kSeparator);
        if (next == std::string::npos) {
            // The pattern is the whole rest; with no "|" left the next round stops.
            row.Pattern = rest;
        } else {
            row.Pattern = rest.substr(0, next);
            rest.erase(0, next + 1);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string FilterTextOf(const std::vector<FilterRow>& rows)
{
    std::string text;
    for (const FilterRow& row : rows) {
        if (row.Description.empty())
            break;
        text += row.Description;
        text += kSeparator;
        text += row.Pattern;
        text += kSeparator;
    }
    if (!text.empty())
        text.pop_back();
    return text;
}

FilterGrid::FilterGrid(QWidget* parent) : QTableWidget(kDataRows, 2, parent)
{
    setHorizontalHeaderLabels({tr("フィルタ"), tr("説明")});
    QHeaderView* heading = horizontalHeader();
    heading->setSectionResizeMode(QHeaderView::Fixed);
    heading->setHighlightSections(false);
    heading->setSectionsClickable(false);
    heading->setFixedHeight(kRowHeight);
    heading->setMinimumSectionSize(1);
    setColumnWidth(0, kPatternWidth);
    setColumnWidth(1, kDescriptionWidth);

    QHeaderView* rowHeads = verticalHeader();
    rowHeads->hide();
    rowHeads->setMinimumSectionSize(1);
    rowHeads->setSectionResizeMode(QHeaderView::Fixed);
    rowHeads->setDefaultSectionSize(kRowHeight);
    for (int r = 0; r < kDataRows; ++r)
        setRowHeight(r, kRowHeight);

    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setTabKeyNavigation(true);
    setShowGrid(true);
    setWordWrap(false);
    setItemDelegate(new FilterCellDelegate(this));

    for (int r = 0; r < kDataRows; ++r) {
        for (int c = 0; c < 2; ++c)
            setItem(r, c, new QTableWidgetItem());
    }
}

void FilterGrid::SetFilter(const std::string& filter)
{
    std::vector<FilterRow> rows = FilterRowsOf(filter);
    for (int r = 0; r < kDataRows; ++r) {
        const bool filled = r < static_cast<int>(rows.size());
        SetCell(0, r + 1, filled ? QString::fromStdString(rows[r].Pattern) : QString());
        SetCell(1, r + 1, filled ? QString::fromStdString(rows[r].Description) : QString());
    }
    m_hiddenRows.clear();
    if (rows.size() > kDataRows)
        m_hiddenRows.assign(rows.begin() + kDataRows, rows.end());
}

std::vector<FilterRow> FilterGrid::Rows() const
{
    std::vector<FilterRow> rows;
    rows.reserve(kDataRows + m_hiddenRows.size());
    for (int r = 1; r <= kDataRows; ++r)
        rows.push_back({Cell(0, r).toStdString(), Cell(1, r).toStdString()});
    rows.insert(rows.end(), m_hiddenRows.begin(), m_hiddenRows.end());
    return rows;
}

std::string FilterGrid::Filter() const
{
    return FilterTextOf(Rows());
}

QString FilterGrid::Cell(int column, int row) const
{
    const QTableWidgetItem* cell = item(row - 1, column);
    return cell ? cell->text() : QString();
}

void FilterGrid::SetCell(int column, int row, const QString& text)
{
    if (row < 1 || row > kDataRows || column < 0 || column > 1)
        return;
    QTableWidgetItem* cell = item(row - 1, column);
    if (!cell) {
        cell = new QTableWidgetItem();
        setItem(row - 1, column, cell);
    }
    cell->setText(text);
}
