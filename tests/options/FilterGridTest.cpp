// SPDX-License-Identifier: MIT
#include "FilterGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const std::string kBuiltIn =
    "GDWファイル(*.gdw)|*.gdw|データファイル(*.dat)|*.dat|テキストファイル(*.txt)|*.txt|全てのファイル(*.*)|*.*";

struct SplitCase {
    const char* Name;
    std::string Filter;
    std::vector<FilterRow> Rows;   // pattern, description
    std::string Written;           // what the rows give back unchanged
};

class FilterRows : public testing::TestWithParam<SplitCase> { };

TEST_P(FilterRows, ReadAndWrittenBack)
{
    const SplitCase& c = GetParam();
    EXPECT_EQ(FilterRowsOf(c.Filter), c.Rows);
    EXPECT_EQ(FilterTextOf(FilterRowsOf(c.Filter)), c.Written);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, FilterRows,
    testing::Values(SplitCase{"BuiltIn",
                              kBuiltIn,
                              {{"*.gdw", "GDWファイル(*.gdw)"},
                               {"*.dat", "データファイル(*.dat)"},
                               {"*.txt", "テキストファイル(*.txt)"},
                               {"*.*", "全てのファイル(*.*)"}},
                              kBuiltIn},
                    SplitCase{"Empty", "", {}, ""}, SplitCase{"NoBar", "just text", {}, ""},
                    SplitCase{"TrailingDescriptionDropped", "A|*.a|B", {{"*.a", "A"}}, "A|*.a"},
                    SplitCase{"EndingInBarGivesEmptyPattern", "A|*.a|B|", {{"*.a", "A"}, {"", "B"}}, "A|*.a|B|"},
                    SplitCase{"EmptyDescriptionEndsTheWrittenList",
                              "A|*.a||*.b|C|*.c",
                              {{"*.a", "A"}, {"*.b", ""}, {"*.c", "C"}},
                              "A|*.a"},
                    SplitCase{"BlanksKept", " A |*.a ", {{"*.a ", " A "}}, " A |*.a "},
                    SplitCase{"SeveralPatterns", "Data|*.dat;*.gdw", {{"*.dat;*.gdw", "Data"}}, "Data|*.dat;*.gdw"}),
    [](const testing::TestParamInfo<SplitCase>& testInfo) { return std::string(testInfo.param.Name); });

TEST(FilterRows, EmptyingRowsCutsTheList)
{
    std::vector<FilterRow> rows = FilterRowsOf(kBuiltIn);
    rows[1].Description.clear();
    EXPECT_EQ(FilterTextOf(rows), "GDWファイル(*.gdw)|*.gdw");

    for (FilterRow& row : rows)
        row.Description.clear();
    EXPECT_EQ(FilterTextOf(rows), "");
}

std::string ManyPairs(int count)
{
    std::string filter;
    for (int i = 1; i <= count; ++i)
        filter += (i > 1 ? "|" : "") + std::string("D") + std::to_string(i) + "|*." + std::to_string(i);
    return filter;
}

TEST(FilterGrid, ShowsPairsInRowsOneToNineUnderTheHeading)
{
    FilterGrid grid;
    grid.SetFilter(kBuiltIn);
    EXPECT_EQ(grid.rowCount(), FilterGrid::kDataRows);
    EXPECT_EQ(grid.horizontalHeaderItem(0)->text(), QStringLiteral("フィルタ"));
    EXPECT_EQ(grid.horizontalHeaderItem(1)->text(), QStringLiteral("説明"));
    EXPECT_EQ(grid.Cell(0, 1), QStringLiteral("*.gdw"));
    EXPECT_EQ(grid.Cell(1, 1), QStringLiteral("GDWファイル(*.gdw)"));
    EXPECT_EQ(grid.Cell(1, 4), QStringLiteral("全てのファイル(*.*)"));
    EXPECT_EQ(grid.Cell(1, 5), QString());
    EXPECT_EQ(grid.Filter(), kBuiltIn);

    // A shorter filter clears what the longer one left.
    grid.SetFilter("A|*.a");
    EXPECT_EQ(grid.Cell(1, 2), QString());
    EXPECT_EQ(grid.Filter(), "A|*.a");
}

TEST(FilterGrid, PairsPastTheNinthAreKeptAndWrittenBackAfterTheVisibleRows)
{
    FilterGrid grid;
    const std::string twelve = ManyPairs(12);
    grid.SetFilter(twelve);
    EXPECT_EQ(grid.Cell(1, 9), QStringLiteral("D9"));
    EXPECT_EQ(grid.Filter(), twelve);

    grid.SetCell(0, 9, QStringLiteral("*.nine"));
    EXPECT_EQ(grid.Filter(), ManyPairs(8) + "|D9|*.nine|D10|*.10|D11|*.11|D12|*.12");

    // An emptied visible row ends the list before the kept ones too.
    grid.SetCell(1, 9, QString());
    EXPECT_EQ(grid.Filter(), ManyPairs(8));
}

TEST(FilterGrid, OutOfRangeCellsAreIgnored)
{
    FilterGrid grid;
    grid.SetFilter(kBuiltIn);
    grid.SetCell(1, 0, QStringLiteral("x"));
    grid.SetCell(1, 10, QStringLiteral("x"));
    grid.SetCell(2, 1, QStringLiteral("x"));
    EXPECT_EQ(grid.Cell(1, 10), QString());
    EXPECT_EQ(grid.Filter(), kBuiltIn);
}

class FilterGridEditing : public testing::Test {
protected:
    void SetUp() override
    {
        grid.resize(305, 87);
        grid.SetFilter(kBuiltIn);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    QLineEdit* OpenEditor(int column, int row)
    {
        grid.setCurrentCell(row - 1, column);
        grid.editItem(grid.item(row - 1, column));
        return qobject_cast<QLineEdit*>(QApplication::focusWidget());
    }

    FilterGrid grid;
};

TEST_F(FilterGridEditing, TypedTextReachesTheFilterBeforeTheEditorCloses)
{
    QLineEdit* editor = OpenEditor(0, 2);
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "*.dat;*.csv");
    EXPECT_EQ(grid.Filter(),
              "GDWファイル(*.gdw)|*.gdw|データファイル(*.dat)|*.dat;*.csv|テキストファイル(*.txt)|*.txt|全てのファイル("
              "*.*)|*.*");
}

TEST_F(FilterGridEditing, BarCannotBeTyped)
{
    QLineEdit* editor = OpenEditor(1, 1);
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "A|B");
    EXPECT_EQ(editor->text(), QStringLiteral("AB"));
    EXPECT_EQ(grid.Cell(1, 1), QStringLiteral("AB"));
    EXPECT_EQ(FilterRowsOf(grid.Filter()).size(), 4u);
}

}   // namespace
