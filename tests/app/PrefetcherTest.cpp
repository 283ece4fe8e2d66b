// SPDX-License-Identifier: MIT
// A file read ahead stands for a load only while it provably is what a load
// would read now; a neighbour changed in any way between steps is read again.
#include "Prefetcher.h"
#include "AppTestSupport.h"
#include "MainWindowUi.h"

#include <QTest>

#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace {

class ReadAhead : public MainWindowTest {
protected:
    // File times come from a coarse clock: only files older than a few of
    // its ticks can be told apart from a later change.
    static void LetTimesSettle() { std::this_thread::sleep_for(std::chrono::milliseconds(80)); }

    PlotState Plain;
};

TEST_F(ReadAhead, AnUnchangedFileIsHandedOutAsADirectLoadWouldReadIt)
{
    const std::string a = WriteLine("a.dat", 11, 2.0);
    LetTimesSettle();
    const LoadInputs inputs = LoadInputs::Of(Plain);
    Prefetcher prefetcher;
    prefetcher.Start({a}, inputs);
    std::optional<PreparedLoad> read = prefetcher.Take(a, inputs);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Fresh.Points, 11u);
    EXPECT_EQ(read->Fresh.Max[2], 20.0f);
    EXPECT_EQ(prefetcher.Size(), 0u);
    EXPECT_FALSE(prefetcher.Take(a, inputs)) << "handed out once";
}

TEST_F(ReadAhead, ReadsDroppedWhileQueuedHoldNothingUp)
{
    // One worker reads in turn; reads dropped before it came to them must
    // neither be waited for nor keep a later read from being handed out.
    std::vector<std::string> names;
    for (char c = 'a'; c <= 'f'; ++c)
        names.push_back(WriteLine(std::string(1, c) + ".dat", 20000));
    LetTimesSettle();
    const LoadInputs inputs = LoadInputs::Of(Plain);
    Prefetcher prefetcher;
    for (int round = 0; round < 20; ++round) {
        prefetcher.Start({names[round % 3 * 2], names[round % 3 * 2 + 1]}, inputs);
        if (round % 5 == 4)
            prefetcher.Clear();
    }
    prefetcher.Clear();
    LetTimesSettle();   // the worker has nothing left and waits
    prefetcher.Start({names[4], names[5]}, inputs);
    EXPECT_EQ(prefetcher.Size(), 2u);
    std::optional<PreparedLoad> read = prefetcher.Take(names[5], inputs);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Fresh.Points, 20000u);
    prefetcher.Clear();
    EXPECT_EQ(prefetcher.Size(), 0u);
    prefetcher.Start({names[0]}, inputs);   // left queued or running for the destructor
}

TEST_F(ReadAhead, AnyChangeOfTheFileOrTheInputsMeansReadingAgain)
{
    const std::string a = WriteLine("a.dat", 11);
    const std::string copy = WriteLine("copy.dat", 11);
    LetTimesSettle();
    const LoadInputs inputs = LoadInputs::Of(Plain);
    const struct {
        const char* Change;
        std::function<void()> Make;
        LoadInputs Inputs;
    } cases[] = {
        {"rewritten, same size", [&] { WriteLine("a.dat", 11, 3.0); }, inputs},
        {"shortened", [&] { WriteLine("a.dat", 5); }, inputs},
        {"deleted", [&] { std::filesystem::remove(a); }, inputs},
        {"replaced keeping size and times",
         [&] {
             std::filesystem::copy_file(a, copy, std::filesystem::copy_options::overwrite_existing);
             std::filesystem::last_write_time(copy, std::filesystem::last_write_time(a));
             std::filesystem::rename(copy, a);
         },
         inputs},
        {"other columns", [] {},
         [&] {
             LoadInputs other = inputs;
             other.ColumnMap[1] = 2;
             return other;
         }()},
        {"re-detection on", [] {},
         [&] {
             LoadInputs other = inputs;
             other.RedetectColumns = true;
             return other;
         }()},
    };
    for (const auto& c : cases) {
        WriteLine("a.dat", 11);
        LetTimesSettle();
        Prefetcher prefetcher;
        prefetcher.Start({a}, inputs);
        QTest::qWait(50);   // the read has ended before the change
        c.Make();
        EXPECT_FALSE(prefetcher.Take(a, c.Inputs)) << c.Change;
    }
}

TEST_F(ReadAhead, AFileStillBeingWrittenOrTooLargeIsNotHandedOut)
{
    const std::string fresh = WriteLine("fresh.dat", 11);
    const LoadInputs inputs = LoadInputs::Of(Plain);
    Prefetcher prefetcher;
    prefetcher.Start({fresh}, inputs);
    EXPECT_FALSE(prefetcher.Take(fresh, inputs)) << "changed a moment before the read";

    std::string text;
    const std::size_t lines = kPrefetchTableBytes / sizeof(float) / kAxisCount + 1;
    text.reserve(lines * 2);
    for (std::size_t i = 0; i < lines; ++i)
        text += "1\n";
    const std::string big = WriteFile("big.dat", text);
    LetTimesSettle();
    prefetcher.Start({big}, inputs);
    EXPECT_FALSE(prefetcher.Take(big, inputs)) << "its table passes the bound";
}

// A step to a large file does not wait for its read ahead, which has no
// Cancel: asked not to wait, Take gives up a read that is not done.
TEST_F(ReadAhead, AReadNotDoneIsGivenUpWhenNotToBeWaitedFor)
{
    const std::string big = Dir + "big.dat";
    const int fd = ::open(big.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t(3) << 30), 0);   // seconds of reading, no disk used
    ::close(fd);
    const std::string a = WriteLine("a.dat", 11);
    LetTimesSettle();
    const LoadInputs inputs = LoadInputs::Of(Plain);
    Prefetcher prefetcher;
    prefetcher.Start({big, a}, inputs);   // a waits behind big
    EXPECT_FALSE(prefetcher.Take(a, inputs, false));
    EXPECT_FALSE(prefetcher.Take(big, inputs, false));
    EXPECT_EQ(prefetcher.Size(), 0u);
}

TEST_F(ReadAhead, StepsShowANeighbourRewrittenSinceItWasReadAhead)
{
    WriteLine("a.dat", 11);
    WriteLine("b.dat", 12);
    WriteLine("c.dat", 13);
    LetTimesSettle();
    TForm1& form = MakeForm(Dir + "a.dat");
    form.SetPrefetching(true);
    ASSERT_EQ(form.Prefetching()->Size(), 2u) << "b.dat and c.dat, the neighbours";
    QTest::qWait(100);
    WriteLine("b.dat", 12, 5.0);   // same size, other values
    Ui(form).NextFile->click();
    EXPECT_EQ(form.State.Traces[0].Name, Dir + "b.dat");
    EXPECT_EQ(form.State.Traces[0].Max[1], 55.0f) << "the rewritten file, not the one read ahead";

    LetTimesSettle();
    Ui(form).PrevFile->click();   // a.dat, read ahead after the last step and unchanged
    EXPECT_EQ(form.State.Traces[0].Name, Dir + "a.dat");
    EXPECT_EQ(form.State.Traces[0].Points, 11u);
    EXPECT_EQ(form.State.Traces[1].Name, Dir + "b.dat");
}

}   // namespace
