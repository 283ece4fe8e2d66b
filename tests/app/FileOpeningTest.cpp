// SPDX-License-Identifier: MIT
#include "AppTestSupport.h"
#include "MainWindowUi.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <sys/stat.h>

namespace {

bool InDataLayout(const TForm1& form)
{
    return Ui(form).NextFile->isEnabled() && !Ui(form).X0_upper->isHidden() && !Ui(form).Y1_upper->isHidden() &&
        !Ui(form).NumofTraces->isHidden();
}

std::string CurrentWorkingDir()
{
    return QDir::currentPath().toStdString() + "/";
}

}   // namespace

using FileOpening = MainWindowTest;

TEST_F(FileOpening, TypedNameIsFoundInCurrentDirAndOpenedByItsFullName)
{
    WriteLine("a.dat");
    const std::string target = WriteLine("b.dat");
    WriteLine("c.dat");
    QDir::setCurrent(QString::fromStdString(Dir));
    TForm1& form = MakeForm();

    TypeName("b.dat");

    EXPECT_TRUE(Script.Messages.isEmpty());
    EXPECT_EQ(form.State.Traces[0].Name, target);
    EXPECT_TRUE(InDataLayout(form));
    EXPECT_EQ(form.State.ListingCount, 3);
    EXPECT_EQ(form.State.ListingIndex, 1);
    EXPECT_EQ(Ui(form).MaskEdit1->text(), "b.dat");
}

TEST_F(FileOpening, FullPathInAnotherDirectoryMakesItCurrent)
{
    QDir(QString::fromStdString(Dir)).mkdir("other");
    const std::string target = WriteLine("other/x.gdw");
    TForm1& form = MakeForm();

    TypeName(QString::fromStdString(target));

    EXPECT_EQ(form.State.CurrentDir, Dir + "other/");
    EXPECT_EQ(form.Navigator().Listing().ExtFilter, ".gdw");
    EXPECT_EQ(form.State.Traces[0].Name, target);
}

TEST_F(FileOpening, ListingFollowsTheExtensionOfTheTypedFile)
{
    WriteLine("one.gdw");
    WriteLine("two.gdw");
    WriteLine("a.dat");
    WriteLine("b.dat");
    WriteLine("c.dat");
    TForm1& form = MakeForm();
    TypeName(QString::fromStdString(Dir + "two.gdw"));
    EXPECT_EQ(form.State.ListingCount, 2);

    TypeName("c.dat");

    EXPECT_EQ(form.Navigator().Listing().ExtFilter, ".dat");
    EXPECT_EQ(form.State.ListingCount, 3);
    EXPECT_EQ(form.State.ListingIndex, 2);
}

TEST_F(FileOpening, NameWithoutExtensionListsEveryFile)
{
    WriteLine("plain");
    WriteLine("a.dat");
    TForm1& form = MakeForm();
    TypeName(QString::fromStdString(Dir + "plain"));
    EXPECT_EQ(form.Navigator().Listing().ExtFilter, "");
    EXPECT_EQ(form.State.ListingCount, 2);
}

// Names that must give "File not found" and leave everything as it was.
class FileOpeningUnresolved : public MainWindowTest, public ::testing::WithParamInterface<std::string> { };

TEST_P(FileOpeningUnresolved, ShowsFileNotFoundAndChangesNothing)
{
    WriteLine("real.dat");
    TForm1& form = MakeForm();
    const std::string dirBefore = form.State.CurrentDir;
    const std::string cwdBefore = CurrentWorkingDir();

    TypeName(QString::fromStdString(GetParam()));

    ASSERT_EQ(Script.Messages.size(), 1);
    EXPECT_EQ(Script.Messages.front(), "File not found");
    EXPECT_TRUE(Script.Errors.isEmpty());
    EXPECT_FALSE(form.State.Traces[0].Loaded());
    EXPECT_EQ(form.State.CurrentDir, dirBefore);
    EXPECT_EQ(CurrentWorkingDir(), cwdBefore);
    EXPECT_FALSE(InDataLayout(form));
}

INSTANTIATE_TEST_SUITE_P(BadNames, FileOpeningUnresolved,
                         ::testing::Values("", "missing.dat", "/no/such/dir/x.dat", std::string(600, 'a'), "real.dat/",
                                           "nul\x01byte"));

// Things that exist but are no data file count as not found: the history
// stays as it was and nothing hangs on the FIFO.
TEST_F(FileOpening, DirectoryAndFifoAreNotFoundWithoutHangingOrLosingHistory)
{
    const std::string good = WriteLine("good.dat");
    QDir(QString::fromStdString(Dir)).mkdir("folder.dat");
    const std::string fifo = Dir + "pipe.dat";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    TForm1& form = MakeForm(good);
    ASSERT_EQ(form.State.Traces[0].Name, good);

    TypeName(QString::fromStdString(Dir + "folder.dat"));
    TypeName(QString::fromStdString(fifo));

    EXPECT_EQ(Script.Messages, QStringList({"File not found", "File not found"}));
    EXPECT_TRUE(Script.Errors.isEmpty());
    EXPECT_EQ(form.State.Traces[0].Name, good);
    EXPECT_FALSE(form.State.Traces[1].Loaded());
}

TEST_F(FileOpening, CommandLineFileIsResolvedThroughCurrentDir)
{
    const std::string target = WriteLine("start.dat");
    QDir::setCurrent(QString::fromStdString(Dir));
    TForm1& form = MakeForm("start.dat");
    EXPECT_EQ(form.State.Traces[0].Name, target);
    EXPECT_TRUE(InDataLayout(form));
    EXPECT_TRUE(form.State.GraphReady);
}

TEST_F(FileOpening, MissingCommandLineFileIsIgnoredSilently)
{
    TForm1& form = MakeForm(Dir + "absent.dat");
    EXPECT_TRUE(Script.Messages.isEmpty());
    EXPECT_TRUE(Script.Errors.isEmpty());
    EXPECT_FALSE(form.State.Traces[0].Loaded());
    EXPECT_FALSE(InDataLayout(form));
    EXPECT_EQ(form.State.CurrentDir, CurrentWorkingDir());
}

TEST_F(FileOpening, DialogLoadsEveryPickedFileInOrderAndRaisesTraces)
{
    const std::string names[] = {WriteLine("1.dat"), WriteLine("2.dat"), WriteLine("3.dat"), WriteLine("4.dat")};
    TForm1& form = MakeForm();
    Ui(form).NumofTraces->setText("2");
    for (const std::string& name : names)
        Script.OpenAnswer << QString::fromStdString(name);
    const std::string startDir = form.State.CurrentDir;

    Ui(form).SpeedButton1->click();

    EXPECT_EQ(Script.OpenCalls, 1);
    EXPECT_EQ(Script.OpenStartDir.toStdString(), startDir);
    EXPECT_EQ(Script.OpenFilter.toStdString(), TForm1::kBuiltInFileDialogFilter);
    for (int slot = 0; slot < 4; ++slot)
        EXPECT_EQ(form.State.Traces[static_cast<std::size_t>(slot)].Name, names[3 - slot]);
    EXPECT_EQ(Ui(form).NumofTraces->text(), "4");
    EXPECT_EQ(form.State.TracesShown, 4);
    EXPECT_EQ(form.State.DisplayedTraces, 4);
    EXPECT_TRUE(InDataLayout(form));
    EXPECT_EQ(form.State.CurrentDir, Dir);
}

TEST_F(FileOpening, DialogNeverLowersTheTraceCount)
{
    TForm1& form = MakeForm();
    Ui(form).NumofTraces->setText("5");
    Script.OpenAnswer << QString::fromStdString(WriteLine("only.dat"));
    Ui(form).SpeedButton1->click();
    EXPECT_EQ(Ui(form).NumofTraces->text(), "5");
}

TEST_F(FileOpening, CancelledDialogChangesNothing)
{
    TForm1& form = MakeForm();
    const std::string dirBefore = form.State.CurrentDir;
    Ui(form).SpeedButton1->click();
    EXPECT_EQ(Script.OpenCalls, 1);
    EXPECT_FALSE(form.State.Traces[0].Loaded());
    EXPECT_FALSE(InDataLayout(form));
    EXPECT_EQ(form.State.CurrentDir, dirBefore);
}

TEST_F(FileOpening, BadTraceCountStopsBeforeTheDialog)
{
    TForm1& form = MakeForm();
    Ui(form).NumofTraces->setText("abc");
    Script.Errors.clear();
    Ui(form).SpeedButton1->click();
    EXPECT_EQ(Script.OpenCalls, 0);
    ASSERT_EQ(Script.Errors.size(), 1);
    EXPECT_EQ(Script.Errors.front(), "'abc' は整数ではありません.");
}

TEST_F(FileOpening, PickedFileThatVanishedIsReportedOnceAndTheOthersLoad)
{
    const std::string first = WriteLine("first.dat");
    const std::string last = WriteLine("last.dat");
    TForm1& form = MakeForm();
    Script.OpenAnswer << QString::fromStdString(first) << QString::fromStdString(Dir + "gone.dat")
                      << QString::fromStdString(last);

    Ui(form).SpeedButton1->click();

    ASSERT_EQ(Script.Errors.size(), 1);
    EXPECT_TRUE(Script.Errors.front().contains("gone.dat"));
    EXPECT_EQ(form.State.Traces[0].Name, last);
    EXPECT_EQ(form.State.Traces[1].Name, first);
    EXPECT_FALSE(form.State.Traces[2].Loaded());
    EXPECT_EQ(Ui(form).NumofTraces->text(), "2");
}

TEST_F(FileOpening, OpeningNeverMovesTheWorkingDirectoryAndTheDialogStartsInCurrentDir)
{
    QDir(QString::fromStdString(Dir)).mkdir("other");
    const std::string target = WriteLine("other/x.dat");
    TForm1& form = MakeForm();
    const std::string cwd = CurrentWorkingDir();

    TypeName(QString::fromStdString(target));
    ASSERT_EQ(form.State.CurrentDir, Dir + "other/");
    EXPECT_EQ(CurrentWorkingDir(), cwd);

    // A relative name is taken in CurrentDir, not in the working directory.
    WriteLine("other/y.dat");
    TypeName("y.dat");
    EXPECT_EQ(form.State.Traces[0].Name, Dir + "other/y.dat");

    Ui(form).SpeedButton1->click();
    EXPECT_EQ(Script.OpenStartDir.toStdString(), Dir + "other/");
}
