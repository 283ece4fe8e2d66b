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
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

namespace {

using namespace std::string_literals;

class SplitReadEquivalence : public testing::Test {
protected:
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        std::filesystem::create_directories(m_dir);
        std::ofstream(m_dir + name, std::ios::binary | std::ios::trunc) << bytes;
        return m_dir + name;
    }

    // Everything the load gives or changes, floats as bit patterns. With
    // AutoDet the columns follow the file's first data line and all of them
    // are read; without, the map stands.
    using ColumnMap = std::array<std::int32_t, kAxisCount>;
    std::vector<std::uint32_t> Load(const std::string& path, unsigned parts, bool autoDet = false,
                                    ColumnMap map = {0, 1, 2, 3}, std::function<void()> betweenPasses = {})
    {
        PlotState state;
        PlainControls controls;
        state.Controls = &controls;
        state.AutoDet = autoDet;
        state.ColumnMap = map;
        const LoadResult r = LoadDataFile(state, path, {std::move(betweenPasses), {}, parts});
        const TraceSlot& s = state.Traces[0];
        std::vector<std::uint32_t> out(r.Message.begin(), r.Message.end());
        auto add = [&out](const auto&... values) { (out.push_back(std::bit_cast<std::uint32_t>(values)), ...); };
        add(int(r.Ok), r.Error, int(r.Columns.Redetected), r.Columns.HighestColumn, r.Columns.YsItem, r.Columns.AxesSet,
            std::int32_t(s.Points), s.Columns, int(state.RedetectColumns));
        for (std::size_t a = 0; a < kAxisCount; ++a)
            add(r.Columns.Map[a], state.ColumnMap[a], s.Present[a], s.Min[a], s.Max[a]);
        for (std::size_t i = 0; s.Loaded() && i < kAxisCount * s.Table->Points(); ++i)
            add((*s.Table)[0][i]);
        return out;
    }

    std::string m_dir = testing::TempDir() + "split-read-" + std::to_string(::getpid()) + "/";
};

TEST_F(SplitReadEquivalence, EveryEdgeCaseFileReadsTheSameInParts)
{
    std::vector<std::pair<std::string, std::string>> files;
    for (const ReaderCountCase& c : ReaderCountCases())
        files.emplace_back(c.Name, c.Bytes);
    for (const ReaderContentCase& c : ReaderContentCases())
        files.emplace_back(c.Name, c.Make());
    for (const LineSplitCase& c : LineSplitCases())
        files.emplace_back(c.Name, c.Bytes);
    for (const auto& [name, bytes] : files) {
        const std::string path = Write("data.txt", bytes);
        for (bool autoDet : {false, true}) {
            const auto whole = Load(path, 1, autoDet);
            for (unsigned parts : {2u, 3u, 4u, 7u})
                EXPECT_TRUE(Load(path, parts, autoDet) == whole) << name << " in " << parts << " parts";
        }
    }
}

TEST_F(SplitReadEquivalence, FileChangedBetweenThePassesGivesTheSameOutcome)
{
    const std::string path = m_dir + "changing.txt";
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"CutShort", [&] { ASSERT_EQ(truncate(path.c_str(), 9), 0); }},
        {"CutInTheLastLine", [&] { ASSERT_EQ(truncate(path.c_str(), 31), 0); }},
        {"Deleted", [&] { ASSERT_EQ(unlink(path.c_str()), 0); }},
        {"Grown", [&] { std::ofstream(path, std::ios::app) << "11 12\n13 14\n"; }},
        {"RewrittenInPlace", [&] { std::fstream(path, std::ios::in | std::ios::out) << "9 9\n# 9\n#5 6\n-1 -2\n"; }},
        // Within one tick of the file clock, so size and times stay; the
        // lines no longer end where the parts do.
        {"RewrittenWithOtherLines", [&] { Write("changing.txt", "1\n2\n3\n4\n5\n6\n7\n8\n9\n0\n1\n2\n34\n"); }}};
    for (const auto& [name, change] : changes) {
        std::vector<std::uint32_t> whole;
        for (unsigned parts : {1u, 2u, 3u}) {
            Write("changing.txt", "1 2\n3 4\n5 6\n7 8\n# end\n9 10\n");
            const auto outcome = Load(path, parts, false, {0, 1, 2, 3}, change);
            if (parts == 1)
                whole = outcome;
            EXPECT_TRUE(outcome == whole) << name << " in " << parts << " parts";
        }
    }
}

TEST_F(SplitReadEquivalence, LinesAddedBetweenThePassesAreNotRead)
{
    // The second pass stores the lines the first one counted and no more,
    // also when the lines added share a block of the scan with the last of
    // them.
    for (int lines = 200; lines < 216; ++lines) {
        std::string bytes;
        for (int i = 0; i < lines; ++i)
            bytes += std::to_string(i) + " " + std::to_string(2 * i) + "\n";
        const std::string path = Write("growing.txt", bytes);
        const auto unchanged = Load(path, 1);
        for (unsigned parts : {1u, 2u}) {
            Write("growing.txt", bytes);
            const auto grown = Load(path, parts, false, {0, 1, 2, 3},
                                    [&] { std::ofstream(path, std::ios::app) << "8 8\n9 9\n" + bytes; });
            EXPECT_TRUE(grown == unchanged) << lines << " lines in " << parts << " parts";
        }
    }
}

// Random lines of random values, separators and line ends, with the bytes
// the line rules single out; in some files only zeros of both signs and
// values of one sign, so that the largest or smallest value is a zero met in
// more than one part.
std::string RandomDataFile(std::mt19937& rng)
{
    auto pick = [&rng](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    static const std::vector<std::vector<std::string>> kValues{
        {"1",      "-2.5", "+3e2",           ".5", "7.", "1e39", "-1e-50",     "0",   "-0",   "16777217", "2.5e-12",
         "12.5kg", "abc",  "1.2.3",          "e5", "-",  "nan",  "2023/01/05", "# 1", "time", "",         " \t",
         "1\0"s,   "4\r5", NumbersLine(5000)},
        {"0", "-0", "-0.0", "-1", "-1e-50"},
        {"0", "-0", "0.0", "2", "1e-50"}};
    static const char* const kSeparators[] = {" ", "\t", ",", ", ", ",,", " ,", "  "};
    static const char* const kEnds[] = {"\n", "\n", "\r\n", "\r", ""};
    const auto& values = kValues[pick(kValues.size())];
    std::string bytes;
    for (std::size_t lines = pick(60); lines > 0; --lines) {
        for (std::size_t v = pick(6); v > 0; --v)
            bytes += values[pick(values.size())] + kSeparators[pick(std::size(kSeparators))];
        bytes += kEnds[pick(std::size(kEnds))] + std::string(pick(150) == 0 ? "\x1A" : "");
    }
    return bytes;
}

TEST_F(SplitReadEquivalence, RandomFilesReadTheSameInAnyNumberOfParts)
{
    std::mt19937 rng(20261208);
    for (int round = 0; round < 300; ++round) {
        const std::string path = Write("random.txt", RandomDataFile(rng));
        const bool autoDet = rng() % 2 == 0;
        ColumnMap map;
        for (std::int32_t& column : map)
            column = static_cast<std::int32_t>(rng() % 7);
        const auto parts = static_cast<unsigned>(2 + rng() % 7);
        ASSERT_TRUE(Load(path, parts, autoDet, map) == Load(path, 1, autoDet, map))
            << "round " << round << ", " << parts;

        // A load reads again in one pass when the parts disagree with the
        // first pass, which would hide a wrong split: an unchanged file must
        // never need that.
        const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        std::vector<FilePart> split = SplitAtLineFeeds(fd.Get(), std::filesystem::file_size(path), parts);
        DataLineCount count;
        bool failed = true;
        ASSERT_TRUE(CountLinesInParts(fd.Get(), split, count, failed) && !failed);
        TraceSlot slot;
        slot.Table = AllocTable(kAxisCount, count.Lines);
        EXPECT_TRUE(ReadDataColumnsInParts(fd.Get(), split, ChooseColumns({}, true, count.Columns), slot)) << round;
    }
}

// Where the file clock does not show such a rewrite, the parts themselves
// must: each has to start a line and hold just the lines counted for it.
TEST_F(SplitReadEquivalence, PartsOfARewrittenFileRefuseWhereItsLinesMoved)
{
    const std::string before = "1 2\n3 4\n5 6\n7 8\n# end\n9 10\n";
    const std::pair<const char*, std::string> rewrites[] = {
        {"more lines in the first part", "1\n2\n3\n4\n5\n6\n7\n8\n9\n0\n1\n2\n34\n"},
        {"a part ending and one starting inside a line", "1 2 3 4 5 6 7 8 9 10 11 12\n"},
        {"a part starting inside a line", "1\n2\n3\n4\n# abcd 97 8 9 10 1\n"},
        {"the same lines", "9 9\n8 8\n7 7\n6 6\n# end\n5 55\n"}};
    for (const auto& [name, after] : rewrites) {
        ASSERT_EQ(after.size(), before.size()) << name;
        const std::string path = Write("moved.txt", before);
        const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        std::vector<FilePart> split = SplitAtLineFeeds(fd.Get(), before.size(), 2);
        ASSERT_EQ(split.size(), 2u);
        DataLineCount count;
        bool failed = true;
        ASSERT_TRUE(CountLinesInParts(fd.Get(), split, count, failed) && !failed);
        std::fstream(path, std::ios::in | std::ios::out | std::ios::binary) << after;
        TraceSlot slot;
        slot.Table = AllocTable(kAxisCount, count.Lines);
        EXPECT_EQ(ReadDataColumnsInParts(fd.Get(), split, ChooseColumns({}, true, count.Columns), slot),
                  std::string(name) == "the same lines")
            << name;
    }
}

TEST_F(SplitReadEquivalence, ALongStretchWithoutLineFeedsIsNotSearchedThrough)
{
    std::string bytes = "1 2\n3 4\n" + std::string(3 * kSplitSearchBytes, '7') + "\n5 6\n";
    const std::string path = Write("stretch.txt", bytes);
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    const std::vector<FilePart> split = SplitAtLineFeeds(fd.Get(), bytes.size(), 2);
    EXPECT_EQ(split.size(), 1u) << "no line feed within reach of the middle";
    EXPECT_TRUE(Load(path, 2) == Load(path, 1));
}

TEST_F(SplitReadEquivalence, ACountMadeAheadGivesTheSameLoadAndIsDroppedForAChangedFile)
{
    std::mt19937 rng(7);
    std::string bytes;
    while (bytes.size() < 2 * kSplitSearchBytes)
        bytes += RandomDataFile(rng);
    const std::string path = Write("early.txt", bytes);
    std::this_thread::sleep_for(std::chrono::milliseconds(80));   // beyond the file clock's tick
    const std::vector<std::uint32_t> counted = Load(path, 1);

    StartEarlyCount(path);
    EXPECT_TRUE(Load(path, 0) == counted);

    StartEarlyCount(path);
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    Write("early.txt", "9 9 9\n" + bytes);
    EXPECT_TRUE(Load(path, 0) == Load(path, 1)) << "the count made before the change is not used";
    EXPECT_FALSE(Load(path, 0) == counted);
}

}   // namespace
