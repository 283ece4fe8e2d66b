// SPDX-License-Identifier: MIT
// What the running copy does with a handed-over name.
#include "AppTestSupport.h"
#include "MainWindowUi.h"

#include <QLineEdit>
#include <QPushButton>

#include <sys/stat.h>

namespace {

bool InDataLayout(const TForm1& form)
{
    return Ui(form).NextFile->isEnabled() && !Ui(form).X0_upper->isHidden() && !Ui(form).NumofTraces->isHidden();
}

}   // namespace

using HandOver = MainWindowTest;

TEST_F(HandOver, EmptyNameOnlySwitchesToTheDataLayout)
{
    TForm1& form = MakeForm();
    const std::string dirBefore = form.State.CurrentDir;
    form.ReceiveCopyData("");
    EXPECT_TRUE(InDataLayout(form));
    EXPECT_FALSE(form.State.Traces[0].Loaded());
    EXPECT_EQ(form.State.CurrentDir, dirBefore);
    EXPECT_TRUE(Script.Errors.isEmpty());
}

TEST_F(HandOver, FullNameBecomesSlotZeroAndItsDirectoryIsBrowsed)
{
    ASSERT_EQ(::mkdir((Dir + "sub").c_str(), 0700), 0);
    WriteLine("sub/a.dat");
    const std::string b = WriteLine("sub/b.dat");
    TForm1& form = MakeForm();
    Ui(form).NumofTraces->setText("3");

    form.ReceiveCopyData(b);

    EXPECT_EQ(form.State.Traces[0].Name, b);
    EXPECT_EQ(form.State.CurrentDir, Dir + "sub/");
    EXPECT_EQ(form.State.ListingCount, 2);
    EXPECT_EQ(form.State.ListingIndex, 1);
    EXPECT_EQ(Ui(form).NumofTraces->text(), "3");   // the trace count is left alone
    EXPECT_TRUE(InDataLayout(form));
}

TEST_F(HandOver, RelativeNamesAreTakenInCurrentDir)
{
    // A second copy sends whole names; a relative one from some other client
    // is taken in the browsed directory, which the working directory never follows.
    ASSERT_EQ(::mkdir((Dir + "sub").c_str(), 0700), 0);
    const std::string bare = WriteLine("bare.dat");
    const std::string nested = WriteLine("sub/nested.dat");
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(Dir)));
    TForm1& form = MakeForm();
    ASSERT_TRUE(QDir::setCurrent(QDir::rootPath()));

    form.ReceiveCopyData("bare.dat");
    EXPECT_EQ(form.State.Traces[0].Name, bare);
    EXPECT_EQ(form.State.CurrentDir, Dir);

    form.ReceiveCopyData("sub/nested.dat");
    EXPECT_EQ(form.State.Traces[0].Name, nested);
    EXPECT_EQ(form.State.CurrentDir, Dir + "sub/");
    EXPECT_TRUE(Script.Errors.isEmpty()) << Script.Errors.join('\n').toStdString();
}

TEST_F(HandOver, NameOfNoReadableFileIsReportedAndTheHistoryStays)
{
    const std::string kept = WriteLine("kept.dat");
    ASSERT_EQ(::mkfifo((Dir + "pipe.dat").c_str(), 0600), 0);
    TForm1& form = MakeForm(kept);
    ASSERT_EQ(form.State.Traces[0].Name, kept);

    form.ReceiveCopyData(Dir + "missing.dat");
    form.ReceiveCopyData(Dir + "pipe.dat");

    ASSERT_EQ(Script.Errors.size(), 2);
    EXPECT_TRUE(Script.Errors[0].contains("missing.dat"));
    EXPECT_TRUE(Script.Errors[1].contains("pipe.dat"));
    EXPECT_EQ(form.State.Traces[0].Name, kept);
    EXPECT_FALSE(form.State.Traces[1].Loaded());
}

TEST_F(HandOver, SeveralNamesOpenTogetherLikeADrop)
{
    const std::string a = WriteLine("a.dat", 11);
    const std::string b = WriteLine("b.dat", 12);
    TForm1& form = MakeForm();
    form.ReceiveHandOver({a, Dir + "missing.dat", b});
    EXPECT_TRUE(InDataLayout(form));
    EXPECT_EQ(form.State.Traces[0].Name, b);
    EXPECT_EQ(form.State.Traces[1].Name, a);
    EXPECT_EQ(Ui(form).NumofTraces->text(), "2");
    EXPECT_EQ(form.State.CurrentDir, Dir);
    ASSERT_EQ(Script.Errors.size(), 1) << "one box lists every refusal";
    EXPECT_TRUE(Script.Errors[0].contains(QStringLiteral("missing.dat")));
}

TEST_F(HandOver, SeveralCommandLineNamesOpenTogetherFromTheWorkingDirectory)
{
    WriteLine("a.dat", 11);
    WriteLine("b.dat", 12);
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(Dir)));
    TForm1& form = MakeForm();
    form.OpenCommandLineFiles({"a.dat", "b.dat"});
    EXPECT_EQ(form.State.Traces[0].Name, Dir + "b.dat");
    EXPECT_EQ(form.State.Traces[1].Name, Dir + "a.dat");
    EXPECT_EQ(Ui(form).NumofTraces->text(), "2");
    EXPECT_TRUE(Script.Errors.isEmpty());
}
