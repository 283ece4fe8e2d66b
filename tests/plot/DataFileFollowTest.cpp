// SPDX-License-Identifier: MIT
// A followed file read in pieces, as a logger writes it, must leave the slot
// exactly as one load of its complete lines would, and never show a line
// that has no line feed yet.
#include "DataFileFollow.h"
#include "DataFileReader.h"
#include "PlainControls.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

namespace {

class FollowedSlot : public testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_dir);
        State.Controls = &m_controls;
    }
    void TearDown() override
    {
        SetAllocTableGate({});
        std::filesystem::remove_all(m_dir);
    }

    std::string PathOf(const std::string& name) const { return m_dir + name; }
    void Write(const std::string& name, const std::string& bytes, bool append = false) const
    {
        std::ofstream(PathOf(name), std::ios::binary | (append ? std::ios::app : std::ios::trunc)) << bytes;
    }

    // Loads the file as a step would; appends are read from what it read.
    void Start(const std::string& name)
    {
        const LoadResult loaded = LoadDataFile(State, PathOf(name));
        ASSERT_TRUE(loaded);
        Mark = MarkOfLoad(loaded);
        ASSERT_TRUE(Mark.Valid);
    }
    FollowResult Update() { return UpdateFollowedSlot(State.Traces[0], Mark, ChooseColumns(State, false, 0)); }

    // Everything the slot holds, floats as bit patterns.
    static std::vector<std::uint32_t> Contents(const TraceSlot& s)
    {
        std::vector<std::uint32_t> out{std::uint32_t(s.Points), std::uint32_t(s.Columns)};
        for (std::size_t a = 0; a < kAxisCount; ++a) {
            out.insert(out.end(),
                       {std::uint32_t(s.Present[a]), std::bit_cast<std::uint32_t>(s.Min[a]),
                        std::bit_cast<std::uint32_t>(s.Max[a])});
            for (std::size_t i = 0; i < s.Points; ++i)
                out.push_back(std::bit_cast<std::uint32_t>((*s.Table)[int(a)][i]));
        }
        return out;
    }

    // What one load of the complete lines of `bytes` gives.
    std::vector<std::uint32_t> LoadedWhole(const std::string& bytes)
    {
        const std::size_t feed = bytes.rfind('\n');
        Write("whole.dat", feed == std::string::npos ? std::string() : bytes.substr(0, feed + 1));
        PlotState whole;
        whole.Controls = &m_controls;
        whole.ColumnMap = State.ColumnMap;
        EXPECT_TRUE(LoadDataFile(whole, PathOf("whole.dat")));
        whole.Traces[0].Columns = State.Traces[0].Columns;   // the first line may still be missing there
        return Contents(whole.Traces[0]);
    }

    PlainControls m_controls;
    PlotState State;
    FollowMark Mark;
    std::string m_dir = testing::TempDir() + "follow-" + std::to_string(::getpid()) + "/";
};

std::string RandomLines(std::mt19937& random, int lines)
{
    static const char* const kPieces[] = {"1.5", "-2e3", "0", "-0", "7", "abc", "1e39", "3.25", "-1e-5", "nan"};
    std::string text;
    for (int n = 0; n < lines; ++n) {
        switch (random() % 12) {
        case 0: text += "# a comment line"; break;
        case 1: break;                                                   // an empty line
        case 2: text += std::string(4100 + random() % 50, '5'); break;   // longer than a line may be
        default:
            for (int k = 0, count = 1 + int(random() % 5); k < count; ++k)
                text += std::string(k ? (random() % 2 ? "\t" : " ") : "") + kPieces[random() % 10];
        }
        text += random() % 7 == 0 ? "\r\n" : "\n";
    }
    return text;
}

TEST_F(FollowedSlot, PiecesOfAnyLengthAddUpToOneLoadOfTheCompleteLines)
{
    for (const auto& map : {std::array<std::int32_t, kAxisCount>{0, 1, 2, 3}, {1, 2, 3, 4}, {2, 1, 5, 1}}) {
        std::mt19937 random(static_cast<unsigned>(map[0] * 7 + map[2]));
        State = PlotState{};
        State.Controls = &m_controls;
        State.ColumnMap = map;
        std::string written = "0 0 0 0 0\n";
        Write("log.dat", written);
        Start("log.dat");
        const std::string rest = RandomLines(random, 3000);
        for (std::size_t at = 0; at < rest.size();) {
            const std::size_t piece = std::min<std::size_t>(rest.size() - at, 1 + random() % 9000);
            Write("log.dat", rest.substr(at, piece), true);
            written += rest.substr(at, piece);
            at += piece;
            const FollowResult result = Update();
            ASSERT_NE(result.Change, FollowChange::Refused);
            ASSERT_NE(result.Change, FollowChange::Reloaded) << "a growing file is never read again";
            ASSERT_EQ(Contents(State.Traces[0]), LoadedWhole(written)) << "map " << map[0] << " at byte " << at;
        }
    }
}

TEST_F(FollowedSlot, AHalfWrittenLineWaitsForItsLineFeed)
{
    Write("log.dat", "1 10\n");
    Start("log.dat");
    Write("log.dat", "2", true);
    EXPECT_EQ(Update().Change, FollowChange::Unchanged);
    EXPECT_EQ(State.Traces[0].Points, 1u);
    Write("log.dat", "5 3", true);
    EXPECT_EQ(Update().Change, FollowChange::Unchanged);
    Write("log.dat", "\n4 4", true);
    EXPECT_EQ(Update().Change, FollowChange::Appended);
    ASSERT_EQ(State.Traces[0].Points, 2u);
    EXPECT_EQ((*State.Traces[0].Table)[1][1], 25.0f) << "the whole line, not the part seen first";
    EXPECT_EQ(State.Traces[0].Max[1], 25.0f);
}

TEST_F(FollowedSlot, ALoadThatEndedInAHalfLineIsReadAgainAtTheFirstLook)
{
    Write("log.dat", "1 10\n2 2");
    const LoadResult loaded = LoadDataFile(State, PathOf("log.dat"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(State.Traces[0].Points, 2u) << "a load reads the last line as it stands";
    Mark = MarkOfLoad(loaded);
    EXPECT_FALSE(Mark.Valid);
    Write("log.dat", "5 3\n4 4", true);
    EXPECT_EQ(Update().Change, FollowChange::Reloaded);
    EXPECT_EQ(Contents(State.Traces[0]), LoadedWhole("1 10\n2 25 3\n"));
}

TEST_F(FollowedSlot, AFileCutShortOrReplacedIsReadAgainFromTheStart)
{
    Write("log.dat", "1 1\n2 2\n3 3\n");
    Start("log.dat");

    Write("log.dat", "7 70\n");
    EXPECT_EQ(Update().Change, FollowChange::Reloaded);
    EXPECT_EQ(Contents(State.Traces[0]), LoadedWhole("7 70\n"));

    // Renamed over: another inode, larger than what was read.
    Write("next.dat", "1 5\n2 6\n3 7\n4 8\n5 9\n");
    ASSERT_EQ(std::rename(PathOf("next.dat").c_str(), PathOf("log.dat").c_str()), 0);
    EXPECT_EQ(Update().Change, FollowChange::Reloaded);
    EXPECT_EQ(Contents(State.Traces[0]), LoadedWhole("1 5\n2 6\n3 7\n4 8\n5 9\n"));
    EXPECT_EQ(State.Traces[0].Name, PathOf("log.dat"));
}

TEST_F(FollowedSlot, ADeletedFileKeepsItsTraceAndOneMadeAgainIsRead)
{
    Write("log.dat", "1 1\n2 2\n");
    Start("log.dat");
    const std::vector<std::uint32_t> before = Contents(State.Traces[0]);
    std::filesystem::remove(PathOf("log.dat"));
    EXPECT_EQ(Update().Change, FollowChange::Gone);
    EXPECT_EQ(Contents(State.Traces[0]), before);
    Write("log.dat", "9 9\n");
    EXPECT_EQ(Update().Change, FollowChange::Reloaded);
    EXPECT_EQ(State.Traces[0].Points, 1u);
}

TEST_F(FollowedSlot, NothingAfterACtrlZIsData)
{
    Write("log.dat", "1 1\n");
    Start("log.dat");
    Write("log.dat",
          "2 2\n\x1a"
          "3 3\n",
          true);
    EXPECT_EQ(Update().Change, FollowChange::Appended);
    Write("log.dat", "4 4\n", true);
    EXPECT_EQ(Update().Change, FollowChange::Unchanged);
    EXPECT_EQ(State.Traces[0].Points, 2u);
}

TEST_F(FollowedSlot, NoMemoryToGrowLeavesTheTraceAsItWasUntilThereIs)
{
    Write("log.dat", "1 1\n2 2\n");
    Start("log.dat");
    const std::vector<std::uint32_t> before = Contents(State.Traces[0]);
    SetAllocTableGate([](int, std::size_t) { return false; });
    Write("log.dat", "3 3\n", true);
    const FollowResult refused = Update();
    EXPECT_EQ(refused.Change, FollowChange::Refused);
    EXPECT_EQ(refused.Error, LoadError::AllocationFailure);
    EXPECT_EQ(Contents(State.Traces[0]), before);
    SetAllocTableGate({});
    EXPECT_EQ(Update().Change, FollowChange::Appended);
    EXPECT_EQ(Contents(State.Traces[0]), LoadedWhole("1 1\n2 2\n3 3\n"));
}

TEST(LastLineFeed, FindsTheLastFeedInTheRangeAcrossBlocks)
{
    const std::string path = testing::TempDir() + "feeds-" + std::to_string(::getpid());
    std::string bytes(200000, 'x');
    bytes[10] = '\n';
    bytes[70000] = '\n';
    std::ofstream(path, std::ios::binary) << bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_TRUE(file);
    const int fd = ::fileno(file);
    EXPECT_EQ(LastLineFeed(fd, 0, bytes.size()), 70000);
    EXPECT_EQ(LastLineFeed(fd, 0, 70000), 10);
    EXPECT_EQ(LastLineFeed(fd, 11, 70000), -1);
    EXPECT_EQ(LastLineFeed(fd, 0, 300000), 70000) << "a file shorter than asked";
    std::fclose(file);
    std::remove(path.c_str());
}

}   // namespace
