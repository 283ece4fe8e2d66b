// SPDX-License-Identifier: MIT
#include "AppTestSupport.h"
#include "MainWindowUi.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

namespace {

const QString kListError = QStringLiteral("リストのインデックスが範囲を超えています (%1).");

std::vector<std::string> HistoryNames(const TForm1& form)
{
    std::vector<std::string> names;
    for (const TraceSlot& slot : form.State.Traces)
        names.push_back(slot.Name);
    return names;
}

}   // namespace

class DirectoryNavigation : public MainWindowTest {
protected:
    void Next() { QTest::mouseClick(Ui(*Form).NextFile, Qt::LeftButton); }
    void Prev() { QTest::mouseClick(Ui(*Form).PrevFile, Qt::LeftButton); }
    void Redraw() { QTest::mouseClick(Ui(*Form).ReDraw, Qt::LeftButton); }

    std::string Shown() const { return Form->State.Traces[0].Name; }

    // A data file whose point count tells it apart.
    std::string WritePoints(const std::string& relative, int points) const { return WriteLine(relative, points); }
};

TEST_F(DirectoryNavigation, NextAndPrevWrapAtBothEnds)
{
    WriteLine("a.gdw");
    WriteLine("b.gdw");
    WriteLine("c.gdw");
    TForm1& form = MakeForm(Dir + "b.gdw");
    form.State.RedetectColumns = true;

    Next();
    EXPECT_EQ(Shown(), Dir + "c.gdw");
    EXPECT_FALSE(form.State.RedetectColumns) << "a step never re-detects columns";
    EXPECT_EQ(Ui(form).MaskEdit1->text(), "c.gdw");
    Next();
    EXPECT_EQ(Shown(), Dir + "a.gdw");
    EXPECT_EQ(form.State.ListingIndex, 0);
    Prev();
    EXPECT_EQ(Shown(), Dir + "c.gdw");
    EXPECT_EQ(form.State.ListingIndex, 2);
    Prev();
    EXPECT_EQ(Shown(), Dir + "b.gdw");
    EXPECT_EQ(HistoryNames(form)[4], Dir + "b.gdw") << "each step pushes the history";
    EXPECT_TRUE(Script.Errors.isEmpty());
}

TEST_F(DirectoryNavigation, SingleFileDirectoryReloadsThatFileEachStep)
{
    const std::string only = WriteLine("only.dat");
    WriteLine("other.txt");
    TForm1& form = MakeForm(only);

    Next();
    Prev();
    Next();

    EXPECT_EQ(form.State.ListingCount, 1);
    EXPECT_EQ(form.State.ListingIndex, 0);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(form.State.Traces[static_cast<std::size_t>(k)].Name, only) << k;
    EXPECT_TRUE(Script.Errors.isEmpty());
}

TEST_F(DirectoryNavigation, StepsFollowTheListingOrderAndFilter)
{
    // Extension matched without regard to case, upper case sorting first, no
    // hidden files, no directories, no other extensions.
    WriteLine("c.dat");
    WriteLine("B.dat");
    WriteLine("a.DAT");
    WriteLine(".hidden.dat");
    WriteLine("z.txt");
    std::filesystem::create_directory(Dir + "dir.dat");
    TForm1& form = MakeForm(Dir + "c.dat");

    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) {
        Next();
        seen.push_back(Ui(form).MaskEdit1->text().toStdString());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"B.dat", "a.DAT", "c.dat", "B.dat"}));
}

TEST_F(DirectoryNavigation, OpenedFileIsFoundByItsExactCase)
{
    WriteLine("DATA.GDW");
    WriteLine("data.gdw");
    WriteLine("x.gdw");
    TForm1& form = MakeForm(Dir + "data.gdw");
    EXPECT_EQ(form.State.ListingIndex, 1);

    TypeName("DATA.GDW");
    EXPECT_EQ(form.State.ListingIndex, 0);
    Next();
    EXPECT_EQ(Shown(), Dir + "data.gdw");
}

TEST_F(DirectoryNavigation, UnlistedFileKeepsThePreviousIndex)
{
    WriteLine("a.dat");
    WriteLine("b.dat");
    WriteLine("c.dat");
    const std::string hidden = WriteLine(".hidden.dat");
    TForm1& form = MakeForm(Dir + "b.dat");

    TypeName(".hidden.dat");
    EXPECT_EQ(Shown(), hidden);
    EXPECT_EQ(form.State.ListingCount, 3);
    EXPECT_EQ(form.State.ListingIndex, 1);
    Next();
    EXPECT_EQ(Shown(), Dir + "c.dat");
}

TEST_F(DirectoryNavigation, IndexLeftFromALongerListingGivesTheListErrorAndLoadsNothing)
{
    QDir(QString::fromStdString(Dir)).mkdir("long");
    QDir(QString::fromStdString(Dir)).mkdir("short");
    for (const char* name : {"1.dat", "2.dat", "3.dat", "4.dat", "5.dat"})
        WriteLine(std::string("long/") + name);
    WriteLine("short/a.dat");
    WriteLine("short/b.dat");
    const std::string hidden = WriteLine("short/.h.dat");
    TForm1& form = MakeForm(Dir + "long/5.dat");
    TypeName(QString::fromStdString(hidden));
    ASSERT_EQ(form.State.ListingIndex, 4);
    ASSERT_EQ(form.State.ListingCount, 2);
    const auto before = HistoryNames(form);

    Prev();
    ASSERT_EQ(Script.Errors.size(), 1);
    EXPECT_EQ(Script.Errors.front(), kListError.arg(3));
    EXPECT_EQ(HistoryNames(form), before);
    EXPECT_EQ(form.State.ListingIndex, 3) << "the index keeps its new value";

    Next();   // 4 is past the end: wraps to the first entry
    EXPECT_EQ(Shown(), Dir + "short/a.dat");
    EXPECT_EQ(Script.Errors.size(), 1);
}

TEST_F(DirectoryNavigation, EmptyListingGivesTheListErrorEitherWay)
{
    // The only file is hidden, so the listing of its directory is empty.
    const std::string hidden = WriteLine(".only.dat");
    TForm1& form = MakeForm(hidden);
    ASSERT_EQ(form.State.ListingCount, 0);
    const auto before = HistoryNames(form);

    Next();
    Prev();

    ASSERT_EQ(Script.Errors.size(), 2);
    EXPECT_EQ(Script.Errors[0], kListError.arg(0));
    EXPECT_EQ(Script.Errors[1], kListError.arg(-1));
    EXPECT_EQ(HistoryNames(form), before);
}

TEST_F(DirectoryNavigation, WheelBeforeAnyFileGivesTheListError)
{
    TForm1& form = MakeForm();
    form.State.UnitWheel = 1;
    form.State.RedetectColumns = true;

    form.WheelTurned(-120);

    ASSERT_EQ(Script.Errors.size(), 1);
    EXPECT_EQ(Script.Errors.front(), kListError.arg(0));
    EXPECT_FALSE(form.State.Traces[0].Loaded());
    EXPECT_FALSE(form.State.RedetectColumns);
}

TEST_F(DirectoryNavigation, VanishedNeighbourIsReportedAndTheNextStepGoesOnBeyondIt)
{
    WriteLine("a.dat");
    const std::string gone = WriteLine("b.dat");
    WriteLine("c.dat");
    TForm1& form = MakeForm(Dir + "a.dat");
    const auto before = HistoryNames(form);
    std::filesystem::remove(gone);

    Next();
    ASSERT_EQ(Script.Errors.size(), 1);
    EXPECT_TRUE(Script.Errors.front().contains(QString::fromStdString(gone))) << Script.Errors.front().toStdString();
    EXPECT_TRUE(Script.Errors.front().contains("File not found"));
    EXPECT_EQ(HistoryNames(form), before);
    EXPECT_EQ(Ui(form).MaskEdit1->text(), "a.dat") << "the box still names the file that is shown";

    Next();
    EXPECT_EQ(Shown(), Dir + "c.dat");
    EXPECT_EQ(Script.Errors.size(), 1);
}

struct Replacement {
    const char* Case;
    std::function<void(const std::string& path)> Make;
};

class NeighbourReplaced : public DirectoryNavigation, public ::testing::WithParamInterface<Replacement> { };

TEST_P(NeighbourReplaced, IsRefusedWithoutHangingOrTouchingTheHistory)
{
    WriteLine("a.dat");
    const std::string neighbour = WriteLine("b.dat");
    TForm1& form = MakeForm(Dir + "a.dat");
    const auto before = HistoryNames(form);
    std::filesystem::remove(neighbour);
    GetParam().Make(neighbour);

    Next();

    EXPECT_EQ(Script.Errors.size(), 1);
    EXPECT_EQ(HistoryNames(form), before);
    EXPECT_EQ(form.State.ListingIndex, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, NeighbourReplaced,
    ::testing::Values(Replacement{"Directory", [](const std::string& p) { std::filesystem::create_directory(p); }},
                      Replacement{"Fifo", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
                      Replacement{"DanglingLink",
                                  [](const std::string& p) { std::filesystem::create_symlink(p + ".none", p); }}),
    [](const auto& testInfo) { return std::string(testInfo.param.Case); });

TEST_F(DirectoryNavigation, FileCreatedAfterTheListingIsReachedOnlyAfterReDraw)
{
    WriteLine("a.dat");
    WriteLine("c.dat");
    TForm1& form = MakeForm(Dir + "a.dat");
    WriteLine("b.dat");

    Next();
    EXPECT_EQ(Shown(), Dir + "c.dat");

    Redraw();
    EXPECT_EQ(form.State.ListingCount, 3);
    EXPECT_EQ(form.State.ListingIndex, 2);
    Prev();
    EXPECT_EQ(Shown(), Dir + "b.dat");
}

TEST_F(DirectoryNavigation, ReDrawReloadsTheShownFilesInTheirOrder)
{
    WritePoints("a.dat", 5);
    WritePoints("b.dat", 6);
    WritePoints("c.dat", 7);
    TForm1& form = MakeForm(Dir + "a.dat");
    Ui(form).NumofTraces->setText("3");
    Next();
    Next();
    // History: c, b, a. The files grow on disk.
    WritePoints("a.dat", 50);
    WritePoints("b.dat", 60);
    WritePoints("c.dat", 70);
    form.State.RedetectColumns = true;

    Redraw();

    const auto names = HistoryNames(form);
    const std::vector<std::string> expected{Dir + "c.dat", Dir + "b.dat", Dir + "a.dat"};
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 3), expected);
    EXPECT_EQ(std::vector<std::string>(names.begin() + 3, names.begin() + 6), expected) << "the old ones below";
    EXPECT_EQ(form.State.Traces[0].Points, 70u);
    EXPECT_EQ(form.State.Traces[1].Points, 60u);
    EXPECT_EQ(form.State.Traces[2].Points, 50u);
    EXPECT_EQ(form.State.Traces[3].Points, 7u);
    EXPECT_TRUE(form.State.RedetectColumns) << "ReDraw leaves the column choice alone";
    EXPECT_EQ(form.State.ListingIndex, 2);
    EXPECT_EQ(Ui(form).MaskEdit1->text(), "c.dat");
}

TEST_F(DirectoryNavigation, ReDrawKeepsTheOldTraceOfAFileThatVanished)
{
    WritePoints("a.dat", 5);
    WritePoints("b.dat", 6);
    WritePoints("c.dat", 7);
    TForm1& form = MakeForm(Dir + "a.dat");
    Ui(form).NumofTraces->setText("3");
    Next();
    Next();
    std::filesystem::remove(Dir + "b.dat");
    WritePoints("c.dat", 70);

    Redraw();

    ASSERT_EQ(Script.Errors.size(), 1);
    EXPECT_TRUE(Script.Errors.front().contains(QString::fromStdString(Dir + "b.dat")));
    const auto names = HistoryNames(form);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 3),
              (std::vector<std::string>{Dir + "c.dat", Dir + "b.dat", Dir + "a.dat"}));
    EXPECT_EQ(form.State.Traces[0].Points, 70u);
    ASSERT_TRUE(form.State.Traces[1].Loaded());
    EXPECT_EQ(form.State.Traces[1].Points, 6u);
    EXPECT_EQ((*form.State.Traces[1].Table)[1][5], 5.0f) << "the kept trace holds the old values";
    EXPECT_EQ(form.State.ListingCount, 2);
}

TEST_F(DirectoryNavigation, ReDrawKeepsTheOldTraceOfAFileWhoseTableCannotBeHad)
{
    WritePoints("a.dat", 5);
    WritePoints("b.dat", 1000);
    WritePoints("c.dat", 7);
    TForm1& form = MakeForm(Dir + "a.dat");
    Ui(form).NumofTraces->setText("3");
    Next();
    Next();
    WritePoints("a.dat", 50);
    WritePoints("b.dat", 2000);
    WritePoints("c.dat", 70);
    const DataTable* oldB = form.State.Traces[1].Table.get();
    // Memory is short: no table of b's size can be had, the old one's nor the new one's.
    struct GateReset {
        ~GateReset() { SetAllocTableGate({}); }
    } reset;
    SetAllocTableGate([](int, std::size_t n) { return n < 1000; });

    Redraw();

    ASSERT_EQ(Script.Errors.size(), 1);
    EXPECT_EQ(Script.Errors.front(), QString::fromStdString("Allocation Failure!: " + Dir + "b.dat"));
    const auto names = HistoryNames(form);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 3),
              (std::vector<std::string>{Dir + "c.dat", Dir + "b.dat", Dir + "a.dat"}));
    EXPECT_EQ(form.State.Traces[0].Points, 70u);
    EXPECT_EQ(form.State.Traces[1].Table.get(), oldB) << "the old table itself stays";
    EXPECT_EQ(form.State.Traces[1].Points, 1000u);
    EXPECT_EQ(form.State.Traces[2].Points, 50u);
}

TEST_F(DirectoryNavigation, ReDrawWithMoreTracesThanFilesReloadsOnlyTheFiles)
{
    WritePoints("a.dat", 5);
    TForm1& form = MakeForm(Dir + "a.dat");
    Ui(form).NumofTraces->setText("10");

    Redraw();

    EXPECT_EQ(HistoryNames(form)[0], Dir + "a.dat");
    EXPECT_EQ(HistoryNames(form)[1], Dir + "a.dat");
    EXPECT_FALSE(form.State.Traces[2].Loaded());
    EXPECT_TRUE(Script.Errors.isEmpty());
}

TEST_F(DirectoryNavigation, ReDrawWithATraceCountThatIsNoIntegerReloadsNothing)
{
    WritePoints("a.dat", 5);
    TForm1& form = MakeForm(Dir + "a.dat");
    WritePoints("a.dat", 50);
    Ui(form).NumofTraces->setText("2x");   // its own change handler already complains
    Script.Errors.clear();

    Redraw();

    ASSERT_EQ(Script.Errors.size(), 1);
    EXPECT_EQ(Script.Errors.front(), QStringLiteral("'2x' は整数ではありません."));
    EXPECT_EQ(form.State.Traces[0].Points, 5u);
    EXPECT_FALSE(form.State.Traces[1].Loaded());
}

TEST_F(DirectoryNavigation, ReDrawListsCurrentDirEvenWhenTheWorkingDirectoryMoved)
{
    QDir(QString::fromStdString(Dir)).mkdir("data");
    QDir(QString::fromStdString(Dir)).mkdir("elsewhere");
    WriteLine("data/a.dat");
    WriteLine("data/b.dat");
    for (const char* name : {"x.dat", "y.dat", "z.dat"})
        WriteLine(std::string("elsewhere/") + name);
    TForm1& form = MakeForm(Dir + "data/a.dat");
    // As the open dialog may leave it after being cancelled.
    ASSERT_EQ(::chdir((Dir + "elsewhere").c_str()), 0);

    Redraw();
    EXPECT_EQ(form.State.ListingCount, 2);
    EXPECT_EQ(form.State.ListingIndex, 0);
    Next();
    EXPECT_EQ(Shown(), Dir + "data/b.dat");
    EXPECT_TRUE(Script.Errors.isEmpty());
}
