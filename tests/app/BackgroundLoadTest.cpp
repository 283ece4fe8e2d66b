// SPDX-License-Identifier: MIT
// Large files are read on a worker while the window runs on; Cancel on the
// progress dialog leaves everything as it was.
#include "AppTestSupport.h"
#include "MainWindowUi.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

namespace {

class BackgroundLoad : public MainWindowTest { };

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
    // Three gigabytes of nothing: seconds of reading, no disk used.
    const std::string big = Dir + "big.dat";
    const int fd = ::open(big.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t(3) << 30), 0);
    ::close(fd);

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

}   // namespace
