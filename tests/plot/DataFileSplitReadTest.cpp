// SPDX-License-Identifier: MIT
// A load whose passes are split into parts read at once must give what one
// pass over the whole file gives, to the bit: the table, the ranges, the
// point and column counts, the column choice and every refusal.
#include "DataFileParts.h"
#include "DataFileReader.h"
#include "PlainControls.h"
#include "ReaderEdgeCases.h"
#include "UniqueFd.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::string_literals;

// Everything a load gives or changes, floats as bit patterns.
struct LoadOutcome {
    bool Ok;
    LoadError Error;
    std::string Message;
    std::array<std::int32_t, kAxisCount> ChosenMap;
    int HighestColumn, YsItem, AxesSet;
    bool Redetected;
    std::size_t Points;
    std::int32_t Columns;
    std::array<std::int32_t, kAxisCount> Present;
    std::array<std::uint32_t, kAxisCount> Min, Max;
    std::vector<std::uint32_t> Cells;
    std::array<std::int32_t, kAxisCount> ColumnMap;
    bool RedetectColumns;
    bool operator==(const LoadOutcome&) const = default;
};

template <typename T> std::array<std::uint32_t, kAxisCount> Bits(const std::array<T, kAxisCount>& values)
{
    std::array<std::uint32_t, kAxisCount> bits{};
    for (std::size_t i = 0; i < kAxisCount; ++i)
        bits[i] = std::bit_cast<std::uint32_t>(values[i]);
    return bits;
}

// How the state stands before the load: what decides the column choice.
struct StateBefore {
    bool AutoDet = false;
    bool RedetectColumns = false;
    std::array<std::int32_t, kAxisCount> ColumnMap{0, 1, 2, 3};
    int PreviousColumns = -1;   // of an earlier one-line load; -1 for none
};

class SplitReadEquivalence : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = testing::TempDir() + "split-read-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = m_dir + "/" + name;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return path;
    }

    LoadOutcome Load(const std::string& path, unsigned parts, const StateBefore& before = {},
                     std::function<void()> betweenPasses = {})
    {
        PlotState state;
        PlainControls controls;
        state.Controls = &controls;
        if (before.PreviousColumns >= 0) {
            std::string line;
            for (int i = 0; i < before.PreviousColumns; ++i)
                line += "1 ";
            EXPECT_TRUE(LoadDataFile(state, Write("previous.txt", line + "\n")).Ok);
        }
        state.AutoDet = before.AutoDet;
        state.RedetectColumns = before.RedetectColumns;
        state.ColumnMap = before.ColumnMap;

        DataFileReaderHooks hooks;
        hooks.ReadParts = parts;
        hooks.BetweenPasses = std::move(betweenPasses);
        const LoadResult result = LoadDataFile(state, path, hooks);
        const TraceSlot& slot = state.Traces[0];
        LoadOutcome out{result.Ok,
                        result.Error,
                        result.Message,
                        result.Columns.Map,
                        result.Columns.HighestColumn,
                        result.Columns.YsItem,
                        result.Columns.AxesSet,
                        result.Columns.Redetected,
                        slot.Points,
                        slot.Columns,
                        slot.Present,
                        Bits(slot.Min),
                        Bits(slot.Max),
                        {},
                        state.ColumnMap,
                        state.RedetectColumns};
        if (slot.Loaded())
            for (std::size_t i = 0; i < kAxisCount * slot.Table->Points(); ++i)
                out.Cells.push_back(std::bit_cast<std::uint32_t>((*slot.Table)[0][i]));
        return out;
    }

    // Loads the bytes in one part and in several, under each way the state
    // may stand, and expects the same outcome every time.
    void ExpectSameBothWays(const std::string& name, const std::string& bytes)
    {
        const std::string path = Write("data.txt", bytes);
        const StateBefore befores[] = {
            {},
            {true, false, {2, 1, 7, 5}, 3},   // the column count changes: re-detected
            {true, false, {2, 1, 7, 5}, 2},   // the same count: the user's columns stand
            {false, true, {0, 3, 0, 1}, 1},   // re-detection armed, no automatic detection
        };
        for (const StateBefore& before : befores) {
            const LoadOutcome whole = Load(path, 1, before);
            for (unsigned parts : {2u, 3u, 4u, 7u})
                EXPECT_TRUE(Load(path, parts, before) == whole)
                    << name << ": " << parts << " parts, earlier columns " << before.PreviousColumns;
        }
    }

    std::string m_dir;
};

TEST_F(SplitReadEquivalence, EveryEdgeCaseFileReadsTheSameInParts)
{
    for (const ReaderCountCase& c : ReaderCountCases())
        ExpectSameBothWays(c.Name, c.Bytes);
    for (const ReaderContentCase& c : ReaderContentCases())
        ExpectSameBothWays(c.Name, c.Make());
    for (const LineSplitCase& c : LineSplitCases())
        ExpectSameBothWays(c.Name, c.Bytes);
}

TEST_F(SplitReadEquivalence, FileChangedBetweenThePassesGivesTheSameOutcome)
{
    const std::string lines = "1 2\n3 4\n5 6\n7 8\n# end\n9 10\n";
    struct Change {
        const char* Name;
        std::function<void(const std::string& path)> Apply;
    };
    const std::vector<Change> changes{
        {"CutShort", [](const std::string& p) { ASSERT_EQ(truncate(p.c_str(), 9), 0); }},
        {"CutInTheLastLine", [](const std::string& p) { ASSERT_EQ(truncate(p.c_str(), 31), 0); }},
        {"Deleted", [](const std::string& p) { ASSERT_EQ(unlink(p.c_str()), 0); }},
        {"Grown", [](const std::string& p) { std::ofstream(p, std::ios::app) << "11 12\n13 14\n"; }},
        {"RewrittenInPlace",
         [](const std::string& p) {
             std::fstream f(p, std::ios::in | std::ios::out | std::ios::binary);
             f << "9 9\n# 9\n#5 6\n-1 -2\n# end\n9 10\n";
         }},
    };
    for (const Change& change : changes) {
        const std::string path = m_dir + "/changing.txt";
        std::vector<LoadOutcome> outcomes;
        for (unsigned parts : {1u, 2u, 3u}) {
            Write("changing.txt", lines);
            outcomes.push_back(Load(path, parts, {}, [&] { change.Apply(path); }));
        }
        EXPECT_TRUE(outcomes[1] == outcomes[0]) << change.Name << " in 2 parts";
        EXPECT_TRUE(outcomes[2] == outcomes[0]) << change.Name << " in 3 parts";
    }
}

// A random file rich in what the line and value rules care about. Every
// third file holds only zeros of both signs and values of one sign, so that
// the largest or smallest value is a zero met in more than one part.
std::string RandomDataFile(std::mt19937& rng)
{
    auto pick = [&rng](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    static const std::vector<const char*> kAnyValues{"1",  "-2.5", "+3e2",     ".5",      "7.",        "1e39", "-1e-50",
                                                     "0",  "-0",   "16777217", "2.5e-12", "12.5kg",    "abc",  "1.2.3",
                                                     "e5", "-",    "nan",      "inf",     "2023/01/05"};
    static const std::vector<const char*> kNotAbove{"0", "-0", "-0.0", "-1", "-1e-50"};
    static const std::vector<const char*> kNotBelow{"0", "-0", "0.0", "2", "1e-50"};
    const std::vector<const char*>* const sets[] = {&kAnyValues, &kNotAbove, &kNotBelow};
    const std::size_t set = pick(3);
    const std::vector<const char*>& tokens = *sets[set];
    static const char* const kSeparators[] = {" ", "\t", ",", ", ", ",,", " ,", "  "};
    static const char* const kEnds[] = {"\n", "\n", "\n", "\r\n", "\r\n", "\r", ""};
    std::string bytes;
    const std::size_t lines = pick(60);
    for (std::size_t i = 0; i < lines; ++i) {
        std::size_t kind = pick(12);
        if (set != 0 && kind >= 4 && kind <= 6)
            kind = 7;   // those lines hold positive values
        switch (kind) {
        case 0: bytes += "# comment 1 2"; break;
        case 1: bytes += "time ch1"; break;
        case 2: break;   // blank
        case 3: bytes += " \t"; break;
        case 4: bytes += NumbersLine(3000 + pick(6000)).substr(1); break;   // past the line limit
        case 5: bytes += "1 2"s + '\0' + " 3"; break;
        case 6: bytes += "4\r5 6"; break;
        default: {
            if (pick(4) == 0)
                bytes += "  ";
            const std::size_t values = 1 + pick(6);
            for (std::size_t v = 0; v < values; ++v) {
                if (v > 0)
                    bytes += kSeparators[pick(std::size(kSeparators))];
                bytes += tokens[pick(tokens.size())];
            }
        }
        }
        bytes += kEnds[pick(std::size(kEnds))];
        if (pick(150) == 0)
            bytes += '\x1A';
    }
    return bytes;
}

// The load falls back to one pass when the parts do not match the first
// pass, which would hide a broken split; an unchanged file must not need it.
bool SecondPassStaysInParts(const std::string& path, unsigned parts, const LoadOutcome& whole)
{
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    std::vector<FilePart> split = SplitAtLineFeeds(fd.Get(), std::filesystem::file_size(path), parts);
    DataLineCount count;
    bool failed = true;
    if (!CountDataLinesInParts(fd.Get(), split, count, failed) || failed || count.Lines != whole.Points)
        return false;
    TraceSlot slot;
    slot.Table = AllocTable(kAxisCount, count.Lines);
    ColumnChoice choice;
    choice.Map = whole.ChosenMap;
    choice.HighestColumn = whole.HighestColumn;
    return ReadDataColumnsInParts(fd.Get(), split, choice, slot);
}

TEST_F(SplitReadEquivalence, RandomFilesReadTheSameInAnyNumberOfParts)
{
    std::mt19937 rng(20261208);
    for (int round = 0; round < 300; ++round) {
        const std::string bytes = RandomDataFile(rng);
        const std::string path = Write("random.txt", bytes);
        StateBefore before;
        before.AutoDet = rng() % 2 == 0;
        before.PreviousColumns = static_cast<int>(rng() % 5) - 1;
        for (std::int32_t& column : before.ColumnMap)
            column = static_cast<std::int32_t>(rng() % 7);
        const LoadOutcome whole = Load(path, 1, before);
        const auto parts = static_cast<unsigned>(2 + rng() % 7);
        ASSERT_TRUE(Load(path, parts, before) == whole) << "round " << round << ", " << parts << " parts";
        EXPECT_TRUE(SecondPassStaysInParts(path, parts, whole)) << "round " << round;
    }
}

TEST_F(SplitReadEquivalence, PartsStartAfterLineFeedsAndCoverTheFile)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 200; ++round) {
        const std::string bytes = RandomDataFile(rng);
        const UniqueFd fd(::open(Write("split.txt", bytes).c_str(), O_RDONLY | O_CLOEXEC));
        const auto parts = static_cast<unsigned>(2 + rng() % 7);
        const std::vector<FilePart> split = SplitAtLineFeeds(fd.Get(), bytes.size(), parts);
        ASSERT_FALSE(split.empty());
        ASSERT_LE(split.size(), parts);
        EXPECT_EQ(split.front().Begin, 0u);
        EXPECT_EQ(split.back().End, bytes.size());
        for (std::size_t k = 1; k < split.size(); ++k) {
            EXPECT_EQ(split[k].Begin, split[k - 1].End);
            EXPECT_LT(split[k - 1].Begin, split[k - 1].End) << "an empty part";
            EXPECT_EQ(bytes[split[k].Begin - 1], '\n') << "round " << round << ", part " << k;
        }
    }
    const UniqueFd fd(::open(Write("one-line.txt", std::string(100000, '1')).c_str(), O_RDONLY | O_CLOEXEC));
    EXPECT_EQ(SplitAtLineFeeds(fd.Get(), 100000, 4).size(), 1u) << "no line feed: no place to split";
}

}   // namespace
