// SPDX-License-Identifier: MIT
#include "DataFileReader.h"
#include "PlainControls.h"
#include "ReaderEdgeCases.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

class DataFileReaderTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = testing::TempDir() + "reader-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        state.Controls = &controls;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = m_dir + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    void Load(const std::string& path)
    {
        const LoadResult result = LoadDataFile(state, path);
        ASSERT_TRUE(result.Ok) << result.Message;
    }

    const float* Row(int axis) const { return (*state.Traces[0].Table)[axis]; }

    PlotState state;
    PlainControls controls;
    std::string m_dir;
};

using CountCase = ReaderCountCase;

class DataFileReaderCount : public DataFileReaderTest, public testing::WithParamInterface<CountCase> { };

TEST_P(DataFileReaderCount, PointsAreDataLinesAndColumnsComeFromTheFirstOne)
{
    const std::string path = Write("data.txt", GetParam().Bytes);
    std::size_t lines = 99;
    int columns = 99;
    ASSERT_TRUE(CountDataLines(path, lines, columns));
    EXPECT_EQ(lines, static_cast<std::size_t>(GetParam().Points));
    EXPECT_EQ(columns, GetParam().Columns);

    Load(path);
    const TraceSlot& slot = state.Traces[0];
    EXPECT_EQ(slot.Points, static_cast<std::size_t>(GetParam().Points));
    EXPECT_EQ(slot.Columns, GetParam().Columns);
    EXPECT_EQ(slot.Table->Points(), static_cast<std::size_t>(GetParam().Points));
    EXPECT_EQ(slot.Name, path);
}

INSTANTIATE_TEST_SUITE_P(DataFileReader, DataFileReaderCount, testing::ValuesIn(ReaderCountCases()),
                         [](const auto& testInfo) { return std::string(testInfo.param.Name); });

TEST_F(DataFileReaderTest, ShortLinesLeaveCellsWithoutAValue)
{
    state.ColumnMap = {1, 2, 3, 4};
    Load(Write("short.txt", "1 2 3\n4 5\n"));
    const TraceSlot& slot = state.Traces[0];
    EXPECT_EQ((std::array<int, 4>{slot.Present[0], slot.Present[1], slot.Present[2], slot.Present[3]}),
              (std::array<int, 4>{1, 1, 1, 0}));
    EXPECT_EQ(Row(0)[1], 4);
    EXPECT_EQ(Row(1)[1], 5);
    EXPECT_TRUE(std::isnan(Row(2)[1]));
    EXPECT_EQ(slot.Min[2], 3);
    EXPECT_EQ(slot.Max[2], 3);
    EXPECT_TRUE(std::isnan(Row(3)[0]) && std::isnan(Row(3)[1]));
    EXPECT_EQ(slot.Min[3], 1e37f);
    EXPECT_EQ(slot.Max[3], -1e37f);
}

TEST_F(DataFileReaderTest, ColumnZeroMakesXThePointIndexOverAllDataLines)
{
    Load(Write("index.txt", "5\n--- no values ---\n7\n"));
    const TraceSlot& slot = state.Traces[0];
    EXPECT_EQ(Row(0)[0], 0);
    EXPECT_EQ(Row(0)[1], 1);
    EXPECT_EQ(Row(0)[2], 2);
    EXPECT_EQ(slot.Min[0], 0);
    EXPECT_EQ(slot.Max[0], 2);
    EXPECT_EQ(slot.Present[0], 0);
    EXPECT_EQ(Row(1)[0], 5);
    EXPECT_TRUE(std::isnan(Row(1)[1]));
    EXPECT_EQ(Row(1)[2], 7);
    EXPECT_EQ(slot.Min[1], 5);
    EXPECT_EQ(slot.Max[1], 7);
}

TEST_F(DataFileReaderTest, AxesSharingAColumnGetTheSameValuesAndRanges)
{
    state.ColumnMap = {1, 2, 2, 0};
    Load(Write("shared.txt", "1 -3\n2 8\n"));
    const TraceSlot& slot = state.Traces[0];
    EXPECT_EQ(Row(1)[0], Row(2)[0]);
    EXPECT_EQ(Row(1)[1], Row(2)[1]);
    EXPECT_EQ(slot.Min[1], -3);
    EXPECT_EQ(slot.Min[2], -3);
    EXPECT_EQ(slot.Max[2], 8);
    EXPECT_EQ(slot.Present[3], 0);
}

TEST_F(DataFileReaderTest, RangesStartFromTheSentinels)
{
    state.ColumnMap = {0, 1, 2, 3};
    Load(Write("huge.txt", "2e37 -2e37 1e39\n3e37 -3e37 1\n"));
    const TraceSlot& slot = state.Traces[0];
    EXPECT_EQ(slot.Min[1], 1e37f);   // every value above +1e37
    EXPECT_EQ(slot.Max[1], 3e37f);
    EXPECT_EQ(slot.Max[2], -1e37f);   // every value below -1e37
    EXPECT_EQ(slot.Min[2], -3e37f);
    EXPECT_TRUE(std::isinf(slot.Max[3]));
}

TEST_F(DataFileReaderTest, HistoryKeepsTenTablesNewestFirst)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 11; ++i)
        paths.push_back(Write("f" + std::to_string(i) + ".txt", std::to_string(i) + "\n"));

    for (int i = 0; i < 3; ++i)
        Load(paths[i]);
    for (int k = 0; k < kHistorySlots; ++k)
        EXPECT_EQ(state.Traces[k].Loaded(), k < 3) << "slot " << k;
    EXPECT_EQ(state.Traces[0].Name, paths[2]);
    EXPECT_EQ(state.Traces[2].Name, paths[0]);

    Load(paths[2]);
    EXPECT_EQ(state.Traces[0].Name, paths[2]);
    EXPECT_EQ(state.Traces[1].Name, paths[2]);
    EXPECT_NE(state.Traces[0].Table, state.Traces[1].Table);

    for (int i = 3; i < 11; ++i)
        Load(paths[i]);
    EXPECT_EQ(state.Traces[0].Name, paths[10]);
    EXPECT_EQ(state.Traces[9].Name, paths[2]);
    EXPECT_EQ((*state.Traces[9].Table)[1][0], 2);
    for (const TraceSlot& slot : state.Traces)
        EXPECT_TRUE(slot.Loaded());
}

TEST_F(DataFileReaderTest, EveryLoadForgetsTheRedCursor)
{
    state.RedCursorX = 100;
    state.RedCursorY = 50;
    Load(Write("a.txt", "1 2\n"));
    EXPECT_EQ(state.RedCursorX, -1);
    EXPECT_EQ(state.RedCursorY, -1);
}

// Column re-detection: what the controls and the map end with.
struct RedetectCase {
    const char* Name;
    int PreviousColumns;   // of an earlier load; -1 for none
    bool AutoDet;
    bool RedetectBefore;
    std::string Bytes;
    std::array<std::int32_t, 4> Map;
    int YsItem;
    std::vector<std::string> Calls;   // what the window is to show, in order
    bool RedetectAfter;
};

class DataFileReaderRedetect : public DataFileReaderTest, public testing::WithParamInterface<RedetectCase> { };

TEST_P(DataFileReaderRedetect, ReturnsTheChoiceForTheWindowToShow)
{
    const RedetectCase& c = GetParam();
    if (c.PreviousColumns >= 0) {
        std::string line;
        for (int i = 0; i < c.PreviousColumns; ++i)
            line += "1 ";
        Load(Write("previous.txt", line + "\n"));
    }
    // The user's own choice, which a load without re-detection must keep.
    state.ColumnMap = {2, 1, 7, 5};
    controls.Auto[0] = false;
    controls.YsItem = 1;
    state.AutoDet = c.AutoDet;
    state.RedetectColumns = c.RedetectBefore;

    const LoadResult result = LoadDataFile(state, Write("next.txt", c.Bytes));
    ASSERT_TRUE(result.Ok) << result.Message;

    // The column edits, then the auto boxes, then the Ys selection.
    std::vector<std::string> shown;
    const ColumnChoice& choice = result.Columns;
    if (choice.Redetected) {
        for (int axis = 0; axis < choice.AxesSet; ++axis)
            shown.push_back("col" + std::to_string(axis) + "=" + std::to_string(choice.Map[axis]));
        for (int axis = 0; axis < choice.AxesSet; ++axis)
            shown.push_back("auto" + std::to_string(axis) + "=on");
        shown.push_back("ys=" + std::to_string(choice.YsItem));
        EXPECT_EQ(choice.YsItem, c.YsItem);
    }
    EXPECT_EQ(shown, c.Calls);
    EXPECT_EQ(state.ColumnMap, c.Map);
    EXPECT_EQ(state.RedetectColumns, c.RedetectAfter);
    EXPECT_EQ(controls.YsItem, 1) << "the reader changed a control itself";
    EXPECT_FALSE(controls.Auto[0]) << "the reader changed a control itself";
}

const std::vector<std::string> kAllFour{"col0=1",   "col1=2",   "col2=3",   "col3=4",
                                        "auto0=on", "auto1=on", "auto2=on", "auto3=on"};

std::vector<std::string> AllFourThen(const std::string& ys)
{
    std::vector<std::string> calls = kAllFour;
    calls.push_back(ys);
    return calls;
}

INSTANTIATE_TEST_SUITE_P(
    DataFileReader, DataFileReaderRedetect,
    testing::Values(
        RedetectCase{"OneColumn",
                     -1,
                     true,
                     false,
                     "4\n5\n",
                     {0, 1, 7, 5},
                     0,
                     {"col0=0", "col1=1", "auto0=on", "auto1=on", "ys=0"},
                     true},
        RedetectCase{"TwoAfterThree", 3, true, false, "1 2\n", {1, 2, 3, 4}, 0, AllFourThen("ys=0"), true},
        RedetectCase{"ThreeColumns", 2, true, false, "1 2 3\n", {1, 2, 3, 4}, 1, AllFourThen("ys=1"), true},
        RedetectCase{"FourColumns", 2, true, false, "1 2 3 4\n", {1, 2, 3, 4}, 2, AllFourThen("ys=2"), true},
        RedetectCase{"SevenColumns", 2, true, false, "1 2 3 4 5 6 7\n", {1, 2, 3, 4}, 2, AllFourThen("ys=2"), true},
        RedetectCase{"SameCountKeepsTheUsersColumns", 2, true, false, "1 2\n", {2, 1, 7, 5}, 1, {}, false},
        RedetectCase{
            "SameCountStillRedetectsWhenSet", 2, true, true, "1 2\n", {1, 2, 3, 4}, 0, AllFourThen("ys=0"), true},
        RedetectCase{"ChangedCountWithoutAutoDet", 3, false, true, "1 2\n", {2, 1, 7, 5}, 1, {}, false},
        RedetectCase{"NoValuesKeepsOneYSelected",
                     3,
                     true,
                     false,
                     "# only a comment\n",
                     {1, 2, 3, 4},
                     0,
                     AllFourThen("ys=0"),
                     true}),
    [](const auto& testInfo) { return std::string(testInfo.param.Name); });

TEST_F(DataFileReaderTest, RedetectedColumnsAreUsedForTheSameLoad)
{
    state.AutoDet = true;
    state.ColumnMap = {3, 3, 3, 3};
    Load(Write("three.txt", "10 20 30\n11 21 31\n"));
    EXPECT_EQ(Row(0)[1], 11);
    EXPECT_EQ(Row(1)[1], 21);
    EXPECT_EQ(Row(2)[1], 31);
    EXPECT_EQ(state.Traces[0].Present[3], 0);
}

TEST_F(DataFileReaderTest, RedetectionStaysOnForFollowingLoads)
{
    state.AutoDet = true;
    Load(Write("a.txt", "1 2 3\n"));
    state.ColumnMap[1] = 3;
    Load(Write("b.txt", "4 5 6\n"));
    EXPECT_TRUE(state.RedetectColumns);
    EXPECT_EQ(state.ColumnMap[1], 2);
}

}   // namespace
