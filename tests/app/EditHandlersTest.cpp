// SPDX-License-Identifier: MIT
#include "AppTestSupport.h"
#include "MainWindowUi.h"

#include "HelpViewer.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

struct ClampCase {
    const char* Typed;
    int Shown;
    const char* TextAfter;
};

class TraceCountEdit : public MainWindowTest, public ::testing::WithParamInterface<ClampCase> { };

TEST_P(TraceCountEdit, ClampsToOneThroughTen)
{
    TForm1& form = MakeForm();
    Ui(form).NumofTraces->setText(GetParam().Typed);
    EXPECT_EQ(form.State.TracesShown, GetParam().Shown);
    EXPECT_EQ(Ui(form).NumofTraces->text(), GetParam().TextAfter);
    EXPECT_TRUE(Script.Errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Values, TraceCountEdit,
                         ::testing::Values(ClampCase{"7", 7, "7"}, ClampCase{"25", 10, "10"}, ClampCase{"0", 1, "1"},
                                           ClampCase{"-4", 1, "1"}, ClampCase{" 3 ", 3, " 3 "}));

class TraceCountBadText : public MainWindowTest, public ::testing::WithParamInterface<const char*> { };

TEST_P(TraceCountBadText, ShowsTheConversionErrorAndKeepsTheCount)
{
    TForm1& form = MakeForm();
    Ui(form).NumofTraces->setText("4");
    Ui(form).NumofTraces->setText(QString::fromUtf8(GetParam()));
    EXPECT_EQ(form.State.TracesShown, 4);
    ASSERT_EQ(Script.Errors.size(), 1);
    EXPECT_EQ(Script.Errors.front(), QStringLiteral("'%1' は整数ではありません.").arg(QString::fromUtf8(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(Texts, TraceCountBadText,
                         ::testing::Values("", "abc", "2.5", "３", "1e3", "5x", "99999999999"));

struct ColumnCase {
    int Axis;
    const char* Typed;
    int Column;
    const char* TextAfter;
};

class ColumnEdit : public MainWindowTest, public ::testing::WithParamInterface<ColumnCase> { };

TEST_P(ColumnEdit, ClampsToTheColumnRange)
{
    TForm1& form = MakeForm();
    const ColumnCase& c = GetParam();
    QLineEdit* edit = Ui(form).AxisControls[static_cast<std::size_t>(c.Axis)].Column;
    edit->setText(c.Typed);
    EXPECT_EQ(form.State.ColumnMap[static_cast<std::size_t>(c.Axis)], c.Column);
    EXPECT_EQ(edit->text(), c.TextAfter);
    EXPECT_TRUE(Script.Errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Values, ColumnEdit,
                         ::testing::Values(ColumnCase{0, "1500", 999, "999"}, ColumnCase{0, "-3", 0, "0"},
                                           ColumnCase{2, "-3", 1, "1"}, ColumnCase{1, "0", 0, "0"},
                                           ColumnCase{3, "42", 42, "42"}, ColumnCase{3, "999", 999, "999"},
                                           ColumnCase{1, "1000", 999, "999"}));

TEST_F(MainWindowTest, ColumnEditBadTextKeepsThatColumnAndSaysWhy)
{
    TForm1& form = MakeForm();
    Ui(form).Y1column->setText("5");
    Ui(form).Y1column->setText("five");
    EXPECT_EQ(form.State.ColumnMap[1], 5);
    ASSERT_EQ(Script.Errors.size(), 1);
    EXPECT_EQ(Script.Errors.front(), "'five' は整数ではありません.");
}

TEST_F(MainWindowTest, ClampingOneColumnReportsABadNeighbourOnce)
{
    TForm1& form = MakeForm();
    Ui(form).Y3column->setText("zz");
    Script.Errors.clear();
    Ui(form).X0column->setText("5000");
    EXPECT_EQ(form.State.ColumnMap[0], 999);
    EXPECT_EQ(Script.Errors.size(), 1);
}

TEST_F(MainWindowTest, TopMostKeepsThePlaceOfTheWindow)
{
    TForm1& form = MakeForm();
    form.move(200, 150);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QPoint before = form.pos();

    Ui(form).TopMostToggle->click();
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.pos(), before);
    EXPECT_EQ(form.size(), QSize(383, 431));

    Ui(form).TopMostToggle->click();
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.pos(), before);
}

TEST_F(MainWindowTest, HelpOpensTheManualAtItsContentsBesideTheWindow)
{
    TForm1& form = MakeForm();
    Ui(form).SpeedButton3->click();
    HelpViewer* help = form.Help();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(help->isModal());
    EXPECT_EQ(help->source().fragment(), "contents");
    // The compiled-in manual is there (not an empty page).
    EXPECT_TRUE(help->toPlainText().contains("Tracely"));

    Ui(form).SpeedButton3->click();
    EXPECT_EQ(form.Help(), help);
}

TEST(HelpViewer, FileNamedAfterTheProgramWinsOverTheBuiltInManual)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString program = dir.filePath("tracely");
    EXPECT_EQ(HelpViewer::ManualUrl(program).toString(), "qrc:/help/tracely.html#contents");

    QFile beside(dir.filePath("tracely.html"));
    ASSERT_TRUE(beside.open(QIODevice::WriteOnly));
    beside.write("<h1 id=contents>local</h1>");
    beside.close();
    const QUrl url = HelpViewer::ManualUrl(program);
    EXPECT_EQ(url.toLocalFile(), QFileInfo(beside).absoluteFilePath());
    EXPECT_EQ(url.fragment(), "contents");

    // An extension of the program is not part of the manual's name.
    EXPECT_EQ(HelpViewer::ManualUrl(dir.filePath("tracely.exe")).toLocalFile(), QFileInfo(beside).absoluteFilePath());
}

TEST_F(MainWindowTest, OptionsButtonTakesTheNewFilterAndRepaints)
{
    TForm1& form = MakeForm();
    form.State.FileDialogFilter = "CSV (*.csv)|*.csv";
    form.State.GraphReady = false;
    RejectNextModal();
    Ui(form).SpeedButton2->click();
    EXPECT_TRUE(form.State.GraphReady);
    EXPECT_EQ(form.OpenDialogFilter(), "CSV (*.csv)|*.csv");

    Ui(form).SpeedButton1->click();
    EXPECT_EQ(Script.OpenFilter, "CSV (*.csv)|*.csv");
}
