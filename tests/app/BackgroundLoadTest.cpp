// SPDX-License-Identifier: MIT
// Large files are read on a worker while the window runs on; Cancel on the
// progress dialog leaves everything as it was.
#include "AppTestSupport.h"
#include "MainWindowUi.h"
#include "SingleInstance.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <sstream>

namespace {

class BackgroundLoad : public MainWindowTest {
protected:
    // Three gigabytes of nothing: seconds of reading, no disk used.
    void WriteBig(const std::string& name)
    {
        const int fd = ::open((Dir + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, off_t(3) << 30), 0);
        ::close(fd);
    }

    // Presses Cancel on every progress dialog that comes up, once it has
    // shown a few steps of progress.
    void CancelEachDialog(TForm1& form)
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this, &form] {
            auto* progress = form.findChild<QProgressDialog*>(QStringLiteral("LoadProgress"));
            if (!progress || !progress->isVisible() || ++m_ticks < 8)
                return;
            m_ticks = 0;
            if (auto* cancel = progress->findChild<QPushButton*>(); cancel && cancel->isEnabled()) {
                ++Dialogs;
                cancel->click();
            }
        });
        m_poll.start(20);
    }

    // Everything opening a file of another directory changes before the file
    // is read, written out so a difference shows where it lies.
    static std::string WhatOpeningChanges(TForm1& form)
    {
        const MainWindowUi ui(form);
        const PlotState& state = form.State;
        std::ostringstream out;
        out << state.CurrentDir << " at " << state.ListingIndex << " of " << state.ListingCount << " ("
            << form.Navigator().Listing().ExtFilter << ")\n";
        for (std::size_t a = 0; a < kAxisCount; ++a) {
            const AxisControlGroup& group = ui.AxisControls[a];
            out << "axis " << a << ": " << state.Axes[a].Lower << ".." << state.Axes[a].Upper << " column "
                << state.ColumnMap[a] << " texts " << group.Lower->text().toStdString() << ".."
                << group.Upper->text().toStdString() << " " << group.Column->text().toStdString() << " auto "
                << group.Auto->isChecked() << " shown " << !group.Upper->isHidden() << "\n";
        }
        for (const TColor colour : state.Colors)
            out << colour << " ";
        out << "\nAutoDet " << state.AutoDet << " redetect " << state.RedetectColumns << " Ys " << form.YsItemIndex()
            << " cursor " << ui.Cursor->isChecked() << " names " << ui.DispNameToggle->isChecked()
            << " traces box shown " << !ui.NumofTraces->isHidden() << " Next " << ui.NextFile->isEnabled() << " red "
            << state.RedCursorX << "," << state.RedCursorY;
        return out.str();
    }

    // A directory whose settings differ from the defaults in every key.
    std::string WriteOtherDirectory(bool cursor)
    {
        const std::string other = Dir + "other/";
        EXPECT_TRUE(QDir().mkpath(QString::fromStdString(other)));
        WriteFile("other/_Tracely.ini",
                  std::string("[State]\nYs=2\nA0auto=0\nA1auto=0\nA2auto=0\nA3auto=0\nDispName=0\nCursor=") +
                      (cursor ? "1" : "0") +
                      "\nA0col=0\nA1col=1\nA2col=1\nA3col=1\n"
                      "[Value]\nA0upper=9\nA0lower=1\nA1upper=500\nA1lower=-5\nA2upper=2\nA2lower=-2\n"
                      "A3upper=3\nA3lower=-3\n[Color]\n01=255\n");
        WriteBig("other/big.gdw");
        return other;
    }

    int Dialogs = 0;

private:
    QTimer m_poll;
    int m_ticks = 0;
};

TEST_F(BackgroundLoad, AWorkerReadsWhatTheWindowWouldHaveReadItself)
{
    WriteLine("a.dat", 11);
    WriteFile("b.dat", "1 2 3\n4 5 6\n");
    TForm1& form = MakeForm(Dir + "a.dat");
    form.SetBackgroundLoadFrom(0);
    Ui(form).NextFile->click();
    EXPECT_EQ(form.State.Traces[0].Name, Dir + "b.dat");
    EXPECT_EQ(form.State.Traces[0].Points, 2u);
    EXPECT_EQ(form.State.Traces[0].Max[2], 6.0f);
    EXPECT_EQ(form.State.Traces[1].Points, 11u);
    EXPECT_FALSE(form.Loading());
    EXPECT_TRUE(Script.Errors.isEmpty());
}

TEST_F(BackgroundLoad, CancelLeavesEverySlotTheColumnsAndTheControlsAsTheyWere)
{
    WriteLine("a.dat", 11);
    WriteBig("big.dat");
    const std::string big = Dir + "big.dat";

    TForm1& form = MakeForm(Dir + "a.dat");
    form.show();
    const std::array<std::int32_t, kAxisCount> columns = form.State.ColumnMap;
    const QString upper = Ui(form).Y1_upper->text();
    const DataTable* table = form.State.Traces[0].Table.get();

    bool sawDialog = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* progress = form.findChild<QProgressDialog*>(QStringLiteral("LoadProgress"));
            progress && progress->isVisible()) {
            sawDialog = true;
            if (auto* cancel = progress->findChild<QPushButton*>())
                cancel->click();
        }
    });
    poll.start(20);
    TypeInto(Ui(form).MaskEdit1, QString::fromStdString(big));
    poll.stop();

    EXPECT_TRUE(sawDialog);
    EXPECT_FALSE(form.Loading());
    EXPECT_EQ(form.State.Traces[0].Table.get(), table);
    EXPECT_EQ(form.State.Traces[0].Name, Dir + "a.dat");
    EXPECT_FALSE(form.State.Traces[1].Loaded());
    EXPECT_EQ(form.State.ColumnMap, columns);
    EXPECT_EQ(Ui(form).Y1_upper->text(), upper);
    EXPECT_TRUE(Script.Errors.isEmpty()) << "a cancel is not an error";
}

// A hand-over that arrives while a load runs waits for it, or it would start
// a second load into the same slot; then it is taken and acknowledged.
TEST_F(BackgroundLoad, AHandOverWaitsUntilTheLoadIsOver)
{
    WriteLine("a.dat", 11);
    WriteLine("c.dat", 5);
    WriteBig("big.dat");
    TForm1& form = MakeForm(Dir + "a.dat");
    form.show();
    QTemporaryDir runtime;
    const SingleInstancePaths paths = SingleInstancePathsFor(runtime.path().toStdString(), "0000load");
    SingleInstance first(paths);
    ASSERT_EQ(first.Claim(), SingleInstance::Role::First);
    ASSERT_TRUE(first.Listen());
    bool servedWhileLoading = false;
    first.Serve([&](const std::vector<std::string>& names) {
        servedWhileLoading = servedWhileLoading || form.Loading();
        form.ReceiveHandOver(names);
    });
    QObject::connect(&form, &TForm1::LoadingChanged, &first, [&first](bool loading) { first.Hold(loading); });

    std::future<SingleInstance::HandOverResult> sent;
    QTimer sender;
    QObject::connect(&sender, &QTimer::timeout, [&] {
        auto* progress = form.findChild<QProgressDialog*>(QStringLiteral("LoadProgress"));
        if (sent.valid() || !progress || !progress->isVisible())
            return;
        sent = std::async(std::launch::async, [&paths, name = Dir + "c.dat"] {
            SingleInstance second(paths);
            second.Claim();
            return second.HandOver(name, 3000, 10000);
        });
    });
    sender.start(10);
    CancelEachDialog(form);
    TypeInto(Ui(form).MaskEdit1, QString::fromStdString(Dir + "big.dat"));
    ASSERT_TRUE(sent.valid());
    QTRY_VERIFY_WITH_TIMEOUT(sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 10000);
    EXPECT_EQ(sent.get(), SingleInstance::HandOverResult::Acknowledged);
    EXPECT_EQ(Dialogs, 1);
    EXPECT_FALSE(servedWhileLoading);
    EXPECT_EQ(form.State.Traces[0].Name, Dir + "c.dat");
    EXPECT_EQ(form.State.Traces[1].Name, Dir + "a.dat");
}

// A cancelled step leaves the listing at the shown file, and the rest of a
// wheel turn loads nothing more.
TEST_F(BackgroundLoad, ACancelledStepEndsTheWheelTurnWhereItBegan)
{
    WriteLine("a.dat", 11);
    WriteBig("big1.dat");
    WriteBig("big2.dat");
    TForm1& form = MakeForm(Dir + "a.dat");
    form.show();
    form.State.UnitWheel = 1;
    form.State.RedetectColumns = true;
    const int position = form.State.ListingIndex;
    CancelEachDialog(form);
    form.WheelTurned(-3 * 120);   // three notches toward the user: forward
    EXPECT_EQ(Dialogs, 1);
    EXPECT_EQ(form.State.ListingIndex, position);
    EXPECT_TRUE(form.State.RedetectColumns);
    EXPECT_EQ(form.State.Traces[0].Name, Dir + "a.dat");
    EXPECT_FALSE(form.Loading());
}

// A new file that follow mode loads is cancelled as a step is: the listing
// and the column choice stay as they were, so Next goes on from the shown file.
TEST_F(BackgroundLoad, ACancelledFollowedFileLeavesTheListingAsItWas)
{
    WriteLine("a.dat", 11);
    WriteLine("b.dat", 5);
    TForm1& form = MakeForm(Dir + "a.dat");
    form.show();
    form.State.RedetectColumns = true;
    form.SetFollowing(true);
    CancelEachDialog(form);
    WriteBig("c.dat");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Dialogs == 1 && !form.Loading(); }, 10000));
    EXPECT_EQ(form.State.ListingCount, 2);
    EXPECT_EQ(form.State.ListingIndex, 0);
    EXPECT_TRUE(form.State.RedetectColumns);
    EXPECT_EQ(form.State.Traces[0].Name, Dir + "a.dat");

    form.SetFollowing(false);
    Ui(form).NextFile->click();
    EXPECT_EQ(form.State.Traces[0].Name, Dir + "b.dat");
}

// Opening a file of another directory reads that directory's settings before
// the file; a Cancel puts back those and the listing, and the shown file's
// neighbours are still the next steps.
TEST_F(BackgroundLoad, CancelInAnotherDirectoryPutsItsSettingsAndListingBack)
{
    WriteLine("a.dat", 11);
    WriteLine("b.dat", 5);
    const std::string other = WriteOtherDirectory(false);
    TForm1& form = MakeForm(Dir + "a.dat");
    form.show();
    TypeInto(Ui(form).Y1_upper, QStringLiteral("77"));   // typed, not saved
    Ui(form).Cursor->click();
    form.SetRedCursor(PlotRect.Left + 20, PlotRect.Top + 30);
    ASSERT_EQ(form.State.RedCursorX, PlotRect.Left + 20);
    const std::string before = WhatOpeningChanges(form);
    CancelEachDialog(form);

    TypeInto(Ui(form).MaskEdit1, QString::fromStdString(other + "big.gdw"));
    EXPECT_EQ(Dialogs, 1);
    EXPECT_EQ(WhatOpeningChanges(form), before);
    EXPECT_TRUE(Script.Errors.isEmpty());

    Ui(form).NextFile->click();
    EXPECT_EQ(form.State.Traces[0].Name, Dir + "b.dat");
    EXPECT_EQ(Dialogs, 1);
}

// A window that shows no file yet shows none after a cancelled hand-over; of
// files opened together, one that came in keeps its directory entered.
TEST_F(BackgroundLoad, ACancelledOpeningOfAnEmptyWindowLeavesItEmpty)
{
    const std::string other = WriteOtherDirectory(true);
    WriteFile("other/small.gdw", "1 2\n3 4\n");
    TForm1& form = MakeForm();
    form.show();
    const std::string before = WhatOpeningChanges(form);
    CancelEachDialog(form);

    form.ReceiveHandOver({other + "big.gdw"});
    EXPECT_EQ(Dialogs, 1);
    EXPECT_EQ(WhatOpeningChanges(form), before);
    EXPECT_FALSE(form.State.Traces[0].Loaded());
    form.OpenNamesTogether({other + "big.gdw"}, Dir);   // as a drop opens it
    EXPECT_EQ(Dialogs, 2);
    EXPECT_EQ(WhatOpeningChanges(form), before);

    form.OpenNamesTogether({other + "small.gdw", other + "big.gdw"}, Dir);
    EXPECT_EQ(Dialogs, 3);
    EXPECT_EQ(form.State.Traces[0].Name, other + "small.gdw");
    EXPECT_EQ(form.State.CurrentDir, other);
    EXPECT_EQ(form.State.Axes[1].Upper, 500.0f);
    EXPECT_TRUE(Script.Errors.isEmpty());
}

}   // namespace
