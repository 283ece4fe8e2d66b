// SPDX-License-Identifier: MIT
// A load read on another thread is followed through its byte count and can
// be stopped; a stopped load changes nothing.
#include "DataFileReader.h"
#include "PlainControls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

class WatchedLoad : public testing::Test {
protected:
    void SetUp() override
    {
        std::ofstream out(m_path);
        for (int i = 0; i < 200000; ++i)
            out << i << ' ' << i % 13 << '\n';
        State.Controls = &m_controls;
    }
    void TearDown() override { std::filesystem::remove(m_path); }

    PlainControls m_controls;
    PlotState State;
    std::string m_path = testing::TempDir() + "watched-" + std::to_string(::getpid()) + ".dat";
};

TEST_F(WatchedLoad, CountsTheBytesOfBothPassesInOneOrSeveralParts)
{
    const auto size = std::filesystem::file_size(m_path);
    for (unsigned parts : {1u, 4u}) {
        ReadWatch watch;
        DataFileReaderHooks hooks;
        hooks.ReadParts = parts;
        hooks.Watch = &watch;
        ASSERT_TRUE(LoadDataFile(State, m_path, hooks));
        EXPECT_EQ(watch.BytesRead.load(), 2 * size) << parts << " parts";
    }
}

TEST_F(WatchedLoad, CancelledInEitherPassLeavesTheStateAsItWas)
{
    ASSERT_TRUE(LoadDataFile(State, m_path));
    const TablePtr& before = State.Traces[0].Table;
    const DataTable* table = before.get();
    for (unsigned parts : {1u, 4u}) {
        for (bool inFirstPass : {true, false}) {
            ReadWatch watch;
            DataFileReaderHooks hooks;
            hooks.ReadParts = parts;
            hooks.Watch = &watch;
            if (inFirstPass)
                watch.Cancel = true;
            else
                hooks.BetweenPasses = [&watch] { watch.Cancel = true; };
            State.RedCursorX = 5;
            const LoadResult result = LoadDataFile(State, m_path, hooks);
            EXPECT_EQ(result.Error, LoadError::Cancelled) << parts << " parts, first pass " << inFirstPass;
            EXPECT_EQ(State.Traces[0].Table.get(), table);
            EXPECT_FALSE(State.Traces[1].Loaded());
            EXPECT_EQ(State.RedCursorX, 5);
        }
    }
}

}   // namespace
