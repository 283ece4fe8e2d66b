// SPDX-License-Identifier: MIT
// Names on every way a file can be opened (typed, command line, open dialog,
// drop, hand-over): an absolute name is used as given, only a regular file
// counts as found, and the history keeps whole names that later reloads
// find again whatever the working directory does.
#include "AppTestSupport.h"
#include "MainWindowUi.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>

#include <sys/stat.h>

#include <functional>

namespace {

enum class Way {
    Typed,
    CommandLine,
    Dialog,
    Drop,
    HandOver
};

struct NameCase {
    const char* Label;
    Way How;
};

std::string ToName(const NameCase& c)
{
    return c.Label;
}

class OpeningNames : public MainWindowTest, public ::testing::WithParamInterface<NameCase> {
protected:
    // Opens `name` the way the case says; for the command line the window is
    // made with it, otherwise the window must exist already.
    TForm1& Open(const std::string& name)
    {
        switch (GetParam().How) {
        case Way::CommandLine: return MakeForm(name);
        case Way::Typed: TypeName(QString::fromStdString(name)); break;
        case Way::Dialog:
            Script.OpenAnswer = QStringList{QString::fromStdString(name)};
            Ui(*Form).SpeedButton1->click();
            break;
        case Way::Drop: Form->ReceiveDroppedFiles({QUrl::fromLocalFile(QString::fromStdString(name))}); break;
        case Way::HandOver: Form->ReceiveCopyData(name); break;
        }
        return *Form;
    }

    TForm1& FormFor() { return GetParam().How == Way::CommandLine ? *Form : MakeForm(); }
    bool TakesRelativeNames() const { return GetParam().How != Way::Dialog && GetParam().How != Way::Drop; }
};

}   // namespace

TEST_P(OpeningNames, AbsoluteNameIsUsedAsGiven)
{
    if (!TakesRelativeNames())
        GTEST_SKIP() << "this way only ever gives whole names";
    // The same name below CurrentDir holds other data.
    QDir(QString::fromStdString(Dir)).mkpath(QString::fromStdString("abs"));
    QDir(QString::fromStdString(Dir)).mkpath(QString::fromStdString("cur/" + Dir.substr(1) + "abs"));
    const std::string elsewhere = WriteLine("abs/a.dat", 5, 7.0);
    const std::string decoy = WriteLine("cur/" + Dir.substr(1) + "abs/a.dat", 5, 1.0);
    QDir::setCurrent(QString::fromStdString(Dir + "cur"));
    if (GetParam().How != Way::CommandLine)
        MakeForm();
    ASSERT_TRUE(QFile::exists(QString::fromStdString(decoy)));

    TForm1& form = Open(elsewhere);

    EXPECT_EQ(form.State.Traces[0].Name, elsewhere);
    EXPECT_EQ(form.State.CurrentDir, Dir + "abs/");
    EXPECT_FLOAT_EQ(form.State.Traces[0].Max[1], 28.0f);
}

TEST_P(OpeningNames, DirectoryOrFifoChangesNothing)
{
    // A folder with settings of its own beside the names: entering it would
    // apply them and list every file.
    QDir(QString::fromStdString(Dir)).mkpath("other/folder");
    WriteFile("other/_Tracely.ini", "[State]\nYs=2\n");
    WriteLine("other/x.dat");
    const std::string fifo = Dir + "other/pipe.dat";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string first = WriteLine("first.gdw");

    for (const std::string& bad : {Dir + "other/folder", fifo}) {
        SCOPED_TRACE(bad);
        Form.reset();
        Script = {};
        QDir::setCurrent(QString::fromStdString(Dir));
        TForm1& form = MakeForm(first);
        const std::string dirBefore = form.State.CurrentDir;
        const std::string filterBefore = form.Navigator().Listing().ExtFilter;
        const int countBefore = form.State.ListingCount;
        const QString cwdBefore = QDir::currentPath();
        Form.reset();
        if (GetParam().How != Way::CommandLine)
            MakeForm(first);

        TForm1& after = Open(bad);

        EXPECT_EQ(after.State.Traces[0].Name, GetParam().How == Way::CommandLine ? "" : first);
        if (GetParam().How != Way::CommandLine) {
            EXPECT_EQ(after.State.CurrentDir, dirBefore);
            EXPECT_EQ(after.Navigator().Listing().ExtFilter, filterBefore);
            EXPECT_EQ(after.State.ListingCount, countBefore);
        }
        EXPECT_EQ(QDir::currentPath(), cwdBefore);
        EXPECT_EQ(after.YsItemIndex(), 0) << "the folder's settings were applied";
        switch (GetParam().How) {
        case Way::CommandLine:
            EXPECT_TRUE(Script.Messages.isEmpty());
            EXPECT_TRUE(Script.Errors.isEmpty());
            break;
        case Way::Typed:
            EXPECT_EQ(Script.Messages, QStringList{"File not found"});
            EXPECT_TRUE(Script.Errors.isEmpty());
            break;
        default:
            ASSERT_EQ(Script.Errors.size(), 1);
            EXPECT_TRUE(Script.Errors.front().endsWith(QString::fromStdString(bad)))
                << Script.Errors.front().toStdString();
        }
    }
}

TEST_P(OpeningNames, HistoryKeepsWholeNamesThatReDrawFindsAgain)
{
    if (!TakesRelativeNames())
        GTEST_SKIP() << "this way only ever gives whole names";
    // A working directory deeper than a given name may be long.
    std::string deep = "deep";
    while (deep.size() < 300)
        deep += "/level";
    QDir(QString::fromStdString(Dir)).mkpath(QString::fromStdString(deep));
    const std::string mine = WriteLine(deep + "/a.dat", 5, 3.0);
    QDir(QString::fromStdString(Dir)).mkpath("away");
    WriteLine("away/a.dat", 5, 9.0);
    const std::string away = WriteLine("away/b.dat", 5, 1.0);
    QDir::setCurrent(QString::fromStdString(Dir + deep));
    if (GetParam().How != Way::CommandLine)
        MakeForm();

    TForm1& form = Open("a.dat");
    ASSERT_EQ(form.State.Traces[0].Name, mine);

    TypeName(QString::fromStdString(away));
    Ui(form).NumofTraces->setText("2");
    Ui(form).ReDraw->click();

    EXPECT_EQ(form.State.Traces[1].Name, mine);
    EXPECT_FLOAT_EQ(form.State.Traces[1].Max[1], 12.0f) << "another directory's a.dat was reloaded";
    EXPECT_EQ(form.State.Traces[0].Name, away);
}

INSTANTIATE_TEST_SUITE_P(EveryWay, OpeningNames,
                         ::testing::Values(NameCase{"Typed", Way::Typed}, NameCase{"CommandLine", Way::CommandLine},
                                           NameCase{"Dialog", Way::Dialog}, NameCase{"Drop", Way::Drop},
                                           NameCase{"HandOver", Way::HandOver}),
                         [](const auto& testInfo) { return ToName(testInfo.param); });
