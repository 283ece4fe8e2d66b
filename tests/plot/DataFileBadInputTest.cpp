// SPDX-License-Identifier: MIT
// Files and names the reader must survive: no crash, no hang, nothing
// written past a buffer, and a refused load leaves everything as it was.
#include "DataFileReader.h"
#include "GraphPainter.h"
#include "PlainControls.h"
#include "ReaderEdgeCases.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::string_literals;

// Everything a load may touch, to compare before and after a refusal.
struct Snapshot {
    struct Slot {
        std::string Name;
        const DataTable* Table;
        std::size_t Points;
        std::int32_t Columns;
        std::array<std::int32_t, kAxisCount> Present;
        std::array<float, kAxisCount> Max, Min;
        bool operator==(const Slot&) const = default;
    };
    std::vector<Slot> Slots;
    std::vector<std::uint32_t> NewestValues;   // bit patterns: a NaN cell equals itself
    std::array<std::int32_t, kAxisCount> ColumnMap;
    bool RedetectColumns;
    int RedCursorX, RedCursorY;
    std::array<bool, 4> Auto;
    int YsItem;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const PlotState& state, const PlainControls& controls)
{
    Snapshot s;
    for (const TraceSlot& t : state.Traces)
        s.Slots.push_back({t.Name, t.Table.get(), t.Points, t.Columns, t.Present, t.Max, t.Min});
    if (state.Traces[0].Loaded()) {
        const DataTable& table = *state.Traces[0].Table;
        for (std::size_t i = 0; i < 4 * table.Points(); ++i)
            s.NewestValues.push_back(std::bit_cast<std::uint32_t>(table[0][i]));
    }
    s.ColumnMap = state.ColumnMap;
    s.RedetectColumns = state.RedetectColumns;
    s.RedCursorX = state.RedCursorX;
    s.RedCursorY = state.RedCursorY;
    s.Auto = controls.Auto;
    s.YsItem = controls.YsItem;
    return s;
}

class DataFileBadInput : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = testing::TempDir() + "badinput-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        state.Controls = &controls;
        // A history to protect: one earlier file, re-detection armed, a red cursor.
        state.AutoDet = true;
        ASSERT_TRUE(LoadDataFile(state, Write("earlier.txt", "1 2 3\n4 5 6\n")).Ok);
        state.RedCursorX = 12;
        state.RedCursorY = 34;
        controls.Auto[2] = false;
    }
    void TearDown() override
    {
        chmod(dir.c_str(), 0700);
        std::filesystem::remove_all(dir);
    }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return path;
    }

    // Loads `name`, expects a refusal with `error` and an untouched state.
    void ExpectRefused(const std::string& name, LoadError error, const DataFileReaderHooks& hooks = {})
    {
        const Snapshot before = Take(state, controls);
        const LoadResult result = LoadDataFile(state, name, hooks);
        EXPECT_FALSE(result.Ok);
        EXPECT_EQ(result.Error, error);
        EXPECT_FALSE(result.Message.empty());
        EXPECT_TRUE(Take(state, controls) == before) << "a refused load changed the state";
    }

    // Loads `name` and checks that slot 0 is whole: the table matches the
    // point count and every range is sane.
    void ExpectLoadedWhole(const std::string& name)
    {
        const LoadResult result = LoadDataFile(state, name);
        ASSERT_TRUE(result.Ok) << result.Message;
        const TraceSlot& slot = state.Traces[0];
        ASSERT_TRUE(slot.Loaded());
        EXPECT_EQ(slot.Table->Points(), slot.Points);
        EXPECT_GE(slot.Columns, 0);
        for (int axis = 1; axis < kAxisCount; ++axis) {
            if (slot.Present[axis]) {
                EXPECT_LE(slot.Min[axis], slot.Max[axis]);
            }
        }
    }

    PlotState state;
    PlainControls controls;
    std::string dir;
};

TEST_F(DataFileBadInput, NonRegularFilesAreRefusedWithoutWaiting)
{
    ExpectRefused(dir, LoadError::NotRegularFile);
    const std::string fifo = dir + "/pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ExpectRefused(fifo, LoadError::NotRegularFile);   // a blocking open would hang here
    ExpectRefused("/dev/zero", LoadError::NotRegularFile);
    ExpectRefused("/dev/null", LoadError::NotRegularFile);
}

TEST_F(DataFileBadInput, MissingFilesAreRefused)
{
    ExpectRefused(dir + "/missing.txt", LoadError::NotFound);
    ExpectRefused(dir + "/earlier.txt/below", LoadError::NotFound);
    ExpectRefused("", LoadError::NotFound);
}

TEST_F(DataFileBadInput, UnreadableFileIsRefused)
{
    const std::string path = Write("locked.txt", "1 2\n");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    // Only the file's mode may stand in the way, not the directory's.
    ASSERT_EQ(chmod(dir.c_str(), 0711), 0);
    // Root reads a file whatever its mode, so the load runs in a child that
    // gives up root first. A failed expectation in the child would go
    // unseen: it answers with its exit status instead.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        const Snapshot before = Take(state, controls);
        const LoadResult result = LoadDataFile(state, path);
        if (result.Ok || result.Error != LoadError::CannotRead || result.Message != kMessageCannotRead)
            _exit(3);
        _exit(Take(state, controls) == before ? 0 : 4);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "child status " << status;
    ASSERT_NE(WEXITSTATUS(status), 2) << "could not drop privileges";
    EXPECT_EQ(WEXITSTATUS(status), 0) << (WEXITSTATUS(status) == 3 ? "the load was not refused as unreadable"
                                                                   : "the refused load changed the state");
}

TEST_F(DataFileBadInput, NamesOverTheLimitAreRefusedNotCut)
{
    // Names reach the reader completed against a directory, so a deep one is
    // long; past the system's own path limit the name is refused, never cut.
    std::string deep = dir;
    while (deep.size() < 300) {
        deep += "/" + std::string(40, 'd');
        ASSERT_EQ(::mkdir(deep.c_str(), 0700), 0);
    }
    const std::string longName = deep + "/long.dat";
    std::ofstream(longName) << "1 2\n";
    ExpectRefused(std::string(4096, 'a'), LoadError::NameTooLong);
    // Cut at the NUL this name would open the earlier file.
    ExpectRefused(dir + "/earlier.txt" + "\0.bak"s, LoadError::NameTooLong);

    ASSERT_TRUE(LoadDataFile(state, longName).Ok);
    EXPECT_EQ(state.Traces[0].Name, longName);
}

TEST_F(DataFileBadInput, AllocationFailureIsRefusedWithItsMessage)
{
    DataFileReaderHooks hooks;
    hooks.Alloc = [](int, std::size_t) { return TablePtr(); };
    const std::string path = Write("data.txt", "1 2\n");
    ExpectRefused(path, LoadError::AllocationFailure, hooks);
    EXPECT_EQ(LoadDataFile(state, path, hooks).Message, "Allocation Failure!");

    hooks.Alloc = [](int, std::size_t) -> TablePtr { throw std::bad_alloc(); };
    ExpectRefused(path, LoadError::AllocationFailure, hooks);

    // Any other allocation of the read, and any other failure, is refused
    // too: workers read through here, and an exception would end the program.
    hooks.Alloc = nullptr;
    hooks.BetweenPasses = [] { throw std::bad_alloc(); };
    ExpectRefused(path, LoadError::AllocationFailure, hooks);
    hooks.BetweenPasses = [] { throw std::length_error("too long"); };
    ExpectRefused(path, LoadError::CannotRead, hooks);
}

TEST_F(DataFileBadInput, FileCutShortBetweenThePassesIsRefused)
{
    const std::string path = Write("shrinks.txt", "1 2\n3 4\n5 6\n");
    DataFileReaderHooks hooks;
    hooks.BetweenPasses = [&] { ASSERT_EQ(truncate(path.c_str(), 4), 0); };
    ExpectRefused(path, LoadError::FileChanged, hooks);
}

TEST_F(DataFileBadInput, FileDeletedOrReplacedBetweenThePassesIsReadAsItWas)
{
    const std::string path = Write("goes.txt", "1 2\n3 4\n5 6\n");
    DataFileReaderHooks hooks;
    hooks.BetweenPasses = [&] { ASSERT_EQ(unlink(path.c_str()), 0); };
    ASSERT_TRUE(LoadDataFile(state, path, hooks).Ok);
    EXPECT_EQ(state.Traces[0].Points, 3u);
    EXPECT_EQ((*state.Traces[0].Table)[1][2], 6);

    Write("goes.txt", "1 2\n3 4\n5 6\n");
    const std::string shorter = Write("shorter.txt", "7 8\n");
    hooks.BetweenPasses = [&] { ASSERT_EQ(rename(shorter.c_str(), path.c_str()), 0); };
    ASSERT_TRUE(LoadDataFile(state, path, hooks).Ok);
    EXPECT_EQ(state.Traces[0].Points, 3u);
    EXPECT_EQ((*state.Traces[0].Table)[1][2], 6);
}

TEST_F(DataFileBadInput, FileGrownBetweenThePassesIsReadUpToTheFirstCount)
{
    const std::string path = Write("grows.txt", "1 2\n3 4\n");
    DataFileReaderHooks hooks;
    hooks.BetweenPasses = [&] { std::ofstream(path, std::ios::app) << "5 6\n7 8\n"; };
    ASSERT_TRUE(LoadDataFile(state, path, hooks).Ok);
    EXPECT_EQ(state.Traces[0].Points, 2u);
    EXPECT_EQ(state.Traces[0].Max[1], 4);
}

using ContentCase = ReaderContentCase;

class DataFileBadContent : public DataFileBadInput, public testing::WithParamInterface<ContentCase> { };

TEST_P(DataFileBadContent, LoadsWithoutHarm)
{
    const std::string path = Write("content.dat", GetParam().Make());
    ExpectLoadedWhole(path);
    if (GetParam().Points >= 0) {
        EXPECT_EQ(state.Traces[0].Points, static_cast<std::size_t>(GetParam().Points));
        EXPECT_EQ(state.Traces[0].Columns, GetParam().Columns);
    }
}

INSTANTIATE_TEST_SUITE_P(DataFileBadInput, DataFileBadContent, testing::ValuesIn(ReaderContentCases()),
                         [](const auto& testInfo) { return std::string(testInfo.param.Name); });

TEST_F(DataFileBadInput, EveryLineIsReadPastTheLastPointCountAFloatHoldsExactly)
{
    // 2^24 + 10 one-value lines, the largest value on the last one: a count
    // kept in a float, or a loop bounded by one, stops short of it.
    constexpr std::size_t kLines = (std::size_t(1) << 24) + 10;
    std::string bytes(2 * kLines, '\n');
    for (std::size_t i = 0; i < kLines; ++i)
        bytes[2 * i] = '1';
    bytes[2 * (kLines - 1)] = '9';
    ExpectLoadedWhole(Write("many.txt", bytes));
    const TraceSlot& slot = state.Traces[0];
    EXPECT_EQ(slot.Points, kLines);
    EXPECT_EQ(DrawablePoints(slot), kLines);
    EXPECT_EQ(slot.Max[1], 9);
    EXPECT_EQ((*slot.Table)[1][kLines - 1], 9);
}

}   // namespace
