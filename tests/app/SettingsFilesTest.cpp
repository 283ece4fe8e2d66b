// SPDX-License-Identifier: MIT
// The global and directory settings files as the main window reads and writes
// them. Every window here keeps its global settings in a temporary directory;
// the fixture fails a test that leaves a Tracely.ini beside the test program.
#include "AppTestSupport.h"
#include "MainWindowUi.h"

#include "ProfileFile.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QToolButton>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ExpectedFile(const char* name)
{
    return ReadBytes((fs::path(__FILE__).parent_path() / "data" / name).string());
}

bool Shown(const QWidget* w)
{
    return !w->isHidden();
}

class SettingsFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_savedCwd = QDir::currentPath();
        ASSERT_TRUE(m_root.isValid());
        const std::string root = m_root.path().toStdString();
        ProgramDir = root + "/program/";
        DataDir = root + "/data/";
        OtherDir = root + "/other/";
        for (const std::string& dir : {ProgramDir, DataDir, OtherDir})
            fs::create_directories(dir);
        m_besideTests = QCoreApplication::applicationDirPath().toStdString() + "/Tracely.ini";
        m_besideTestsExisted = fs::exists(m_besideTests);
    }

    void TearDown() override
    {
        Form.reset();
        ProfileFile::SetBeforeReplaceHook(nullptr);
        QDir::setCurrent(m_savedCwd);
        if (!m_besideTestsExisted) {
            EXPECT_FALSE(fs::exists(m_besideTests)) << "a settings file was written beside the test program";
        }
    }

    TForm1& MakeForm(const std::string& commandLineFile = {})
    {
        Form = std::make_unique<TForm1>(commandLineFile, Script.Make(), nullptr, ProgramDir);
        return *Form;
    }

    // Four columns: the point number, then twice, three and four times it.
    static std::string WriteData(const std::string& path, int points = 5)
    {
        std::string text = "# n 2n 3n 4n\n";
        for (int i = 0; i < points; ++i)
            text += std::to_string(i) + " " + std::to_string(2 * i) + " " + std::to_string(3 * i) + " " +
                std::to_string(4 * i) + "\n";
        WriteBytes(path, text);
        return path;
    }

    void Open(const std::string& path) { TypeInto(Ui(*Form).MaskEdit1, FileNameToText(path)); }

    std::string GlobalFile() const { return ProgramDir + "Tracely.ini"; }
    std::string DirectoryFile() const { return DataDir + "_Tracely.ini"; }

    ScriptedDialogs Script;
    std::unique_ptr<TForm1> Form;
    std::string ProgramDir, DataDir, OtherDir;   // each ends in '/'

private:
    QTemporaryDir m_root;
    QString m_savedCwd;
    std::string m_besideTests;
    bool m_besideTestsExisted = false;
};

// A state that differs from the start-up one in every kind of key.
void SetKnownState(TForm1& form)
{
    form.move(30, 40);
    form.State.UnitWheel = 5;
    Ui(form).DispNameToggle->setChecked(true);
    Ui(form).Y2column->setText("7");
    for (int axis = 0; axis < kAxisCount; ++axis) {
        Ui(form).AxisControls[axis].Upper->setText(QStringLiteral("U%1").arg(axis));
        Ui(form).AxisControls[axis].Lower->setText(QStringLiteral("L%1").arg(axis));
    }
    form.State.Colors[1] = 0x0000FF;     // a colour picked in the options dialog
    form.State.Colors[2] = 0xFF00000A;   // a system colour: negative when stored
}

// --- Start-up: the global file ---

struct GlobalCase {
    const char* Name;
    const char* Ini;
    std::function<void(const TForm1&)> Check;
};

class GlobalFileReading : public SettingsFilesTest, public ::testing::WithParamInterface<GlobalCase> { };

TEST_P(GlobalFileReading, StartUpTakesWhatTheFileSays)
{
    WriteBytes(GlobalFile(), GetParam().Ini);
    const TForm1& form = MakeForm();
    EXPECT_TRUE(Script.Errors.isEmpty()) << Script.Errors.join("\n").toStdString();
    GetParam().Check(form);
}

const std::string kBuiltIn = TForm1::kBuiltInFileDialogFilter;

INSTANTIATE_TEST_SUITE_P(
    SettingsFiles, GlobalFileReading,
    ::testing::Values(GlobalCase{"NoFileGivesTheFirstStart", "",
                                 [](const TForm1& f) {
                                     EXPECT_EQ(f.pos(), QPoint(100, 100));
                                     EXPECT_EQ(f.State.UnitWheel, 2);
                                     EXPECT_EQ(f.OpenDialogFilter().toStdString(), kBuiltIn);
                                     EXPECT_EQ(f.State.ColumnMap, (std::array<std::int32_t, 4>{0, 1, 2, 3}));
                                     EXPECT_EQ(f.State.Colors, kDefaultColors);
                                     EXPECT_FALSE(Ui(f).TopMostToggle->isChecked());
                                 }},
                      GlobalCase{"UnitWheelThatIsNoNumberIsTwo", "[Option]\nUnitWheel=abc\n",
                                 [](const TForm1& f) { EXPECT_EQ(f.State.UnitWheel, 2); }},
                      GlobalCase{"HexTopAndNegativeLeftAreTakenAsTheyAre", "[Form1]\nTop=0x1F4\nLeft=-20\n",
                                 [](const TForm1& f) { EXPECT_EQ(f.pos(), QPoint(-20, 500)); }},
                      GlobalCase{"TopMostTwoIsOnAndPutsTheWindowOnTop", "[State]\nTopMost=2\n",
                                 [](const TForm1& f) {
                                     EXPECT_TRUE(Ui(f).TopMostToggle->isChecked());
                                     EXPECT_TRUE(f.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
                                 }},
                      GlobalCase{"TopMostYesIsTheDefault", "[State]\nTopMost=yes\n",
                                 [](const TForm1& f) {
                                     EXPECT_FALSE(Ui(f).TopMostToggle->isChecked());
                                     EXPECT_FALSE(f.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
                                 }},
                      GlobalCase{"CursorOnRunsItsHandler", "[State]\nCursor=1\n",
                                 [](const TForm1& f) {
                                     EXPECT_TRUE(Ui(f).Cursor->isChecked());
                                     EXPECT_EQ(f.State.CursorX, PlotRect.Left + PlotRect.Width / 2);
                                 }},
                      GlobalCase{"NamesMatchWithoutCaseInACrlfFileWithComments",
                                 "; by hand\r\n[OPTION]\r\n  unitwheel = 4 \r\n\r\n[state]\r\nDISPNAME=1\r\n",
                                 [](const TForm1& f) {
                                     EXPECT_EQ(f.State.UnitWheel, 4);
                                     EXPECT_TRUE(Ui(f).DispNameToggle->isChecked());
                                 }},
                      GlobalCase{"QuotedFilterKeepsItsBlanks", "[Option]\nFileDialog=\"  Data (*.dat)|*.dat  \"\n",
                                 [](const TForm1& f) {
                                     EXPECT_EQ(f.State.FileDialogFilter, "  Data (*.dat)|*.dat  ");
                                     EXPECT_EQ(f.OpenDialogFilter(), "  Data (*.dat)|*.dat  ");
                                 }},
                      GlobalCase{"ColumnsGoThroughTheirBoxes", "[State]\nA1col=5\nA2col=5000\nA3col=-4\n",
                                 [](const TForm1& f) {
                                     EXPECT_EQ(f.State.ColumnMap, (std::array<std::int32_t, 4>{0, 5, 999, 1}));
                                     EXPECT_EQ(Ui(f).Y2column->text(), "999");
                                     EXPECT_EQ(Ui(f).Y3column->text(), "1");
                                 }},
                      GlobalCase{"ColoursAreSignedAndMissingOnesStay", "[Color]\n01=255\n02=-16777206\n03=$FF00\n",
                                 [](const TForm1& f) {
                                     EXPECT_EQ(f.State.Colors[1], 0x0000FFu);
                                     EXPECT_EQ(f.State.Colors[2], 0xFF00000Au);
                                     EXPECT_EQ(f.State.Colors[3], 0x00FF00u);
                                     EXPECT_EQ(f.State.Colors[4], kDefaultColors[4]);
                                 }},
                      GlobalCase{"DirectoryKeysHaveNoEffect",
                                 "[State]\nYs=2\nA1auto=0\n[Value]\nA0upper=5\nA0lower=4\n",
                                 [](const TForm1& f) {
                                     EXPECT_EQ(f.YsItemIndex(), 0);
                                     EXPECT_TRUE(Ui(f).Y1_auto->isChecked());
                                     EXPECT_NE(Ui(f).X0_upper->text(), "5");
                                     EXPECT_NE(f.State.Axes[0].Upper, 5.0f);
                                 }}),
    [](const ::testing::TestParamInfo<GlobalCase>& testInfo) { return std::string(testInfo.param.Name); });

TEST_F(SettingsFilesTest, BadColumnAtStartUpTakesItsDefaultAndSaysSo)
{
    WriteBytes(GlobalFile(), "[State]\nA1col=abc\nA2col=7\n[Color]\n00=255\n");
    const TForm1& form = MakeForm();

    ASSERT_EQ(Script.Errors.size(), 1);
    const std::string message = Script.Errors.front().toStdString();
    EXPECT_NE(message.find("'abc' は整数ではありません"), std::string::npos) << message;
    EXPECT_NE(message.find(GlobalFile() + " の [State] A1col は既定値 1"), std::string::npos) << message;
    EXPECT_EQ(Ui(form).Y1column->text(), "1");
    // The keys after the bad one are still read.
    EXPECT_EQ(form.State.ColumnMap, (std::array<std::int32_t, 4>{0, 1, 7, 3}));
    EXPECT_EQ(form.State.Colors[0], 255u);
}

// --- A data directory's file ---

struct DirectoryCase {
    const char* Name;
    const char* Ini;
    std::function<void(const TForm1&)> Check;
};

class DirectoryFileReading : public SettingsFilesTest, public ::testing::WithParamInterface<DirectoryCase> { };

TEST_P(DirectoryFileReading, ReadingChangesTheControlsAndState)
{
    TForm1& form = MakeForm();
    // Something to change: two Ys, Y1 typed limits, file names shown, a colour.
    form.SetYsItemIndex(1);
    Ui(form).Y1_auto->setChecked(false);
    Ui(form).DispNameToggle->setChecked(true);
    form.State.Colors[4] = 1234;
    form.State.RedetectColumns = true;
    WriteBytes(DirectoryFile(), GetParam().Ini);

    form.ReadDirectorySettingsFile(DataDir);

    EXPECT_TRUE(Script.Errors.isEmpty()) << Script.Errors.join("\n").toStdString();
    EXPECT_FALSE(form.State.RedetectColumns);
    GetParam().Check(form);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsFiles, DirectoryFileReading,
    ::testing::Values(DirectoryCase{"MissingKeysGiveTheDefaults", "[State]\n",
                                    [](const TForm1& f) {
                                        EXPECT_EQ(f.YsItemIndex(), 0);
                                        for (int axis = 0; axis < kAxisCount; ++axis) {
                                            EXPECT_TRUE(Ui(f).AxisControls[axis].Auto->isChecked()) << axis;
                                            EXPECT_EQ(Ui(f).AxisControls[axis].Upper->text(), "0.0") << axis;
                                            EXPECT_EQ(Ui(f).AxisControls[axis].Lower->text(), "0.0") << axis;
                                            EXPECT_EQ(f.State.Axes[axis].Upper, 0.0f) << axis;
                                        }
                                        EXPECT_FALSE(Ui(f).DispNameToggle->isChecked());
                                        EXPECT_EQ(f.State.Colors[4], 1234u);
                                    }},
                      DirectoryCase{"YsOfSevenSelectsThreeYs", "[State]\nYs=7\n",
                                    [](const TForm1& f) {
                                        EXPECT_EQ(f.YsItemIndex(), 2);
                                        EXPECT_TRUE(Shown(Ui(f).Y3column));
                                    }},
                      DirectoryCase{"NegativeYsSelectsNoneAndLeavesTheYControls", "[State]\nYs=-5\n",
                                    [](const TForm1& f) {
                                        EXPECT_EQ(f.YsItemIndex(), -1);
                                        EXPECT_TRUE(Shown(Ui(f).Y2column));
                                        EXPECT_FALSE(Shown(Ui(f).Y3column));
                                    }},
                      DirectoryCase{
                          "LimitsAreTheTextsAndTheirValues",
                          "[State]\nA0auto=0\nA2auto=2\n[Value]\nA0upper=1.5e3\nA0lower= -2 \nA3upper=\"+1.0e-1\"\n",
                          [](const TForm1& f) {
                              EXPECT_FALSE(Ui(f).X0_auto->isChecked());
                              EXPECT_TRUE(Ui(f).Y1_auto->isChecked());
                              EXPECT_TRUE(Ui(f).Y2_auto->isChecked());
                              EXPECT_EQ(Ui(f).X0_upper->text(), "1.5e3");
                              EXPECT_EQ(Ui(f).X0_lower->text(), "-2");
                              EXPECT_EQ(f.State.Axes[0].Upper, 1500.0f);
                              EXPECT_EQ(f.State.Axes[0].Lower, -2.0f);
                              EXPECT_EQ(f.State.Axes[3].Upper, 0.1f);
                          }},
                      DirectoryCase{"CommonKeysAsInTheGlobalFile", "[State]\nA1col=3\nCursor=1\n[Color]\n04=$FF\n",
                                    [](const TForm1& f) {
                                        EXPECT_EQ(f.State.ColumnMap[1], 3);
                                        EXPECT_TRUE(Ui(f).Cursor->isChecked());
                                        EXPECT_EQ(f.State.Colors[4], 255u);
                                    }}),
    [](const ::testing::TestParamInfo<DirectoryCase>& testInfo) { return std::string(testInfo.param.Name); });

struct BadDirectoryCase {
    const char* Name;
    const char* Ini;
    const char* Error;
};

class BadDirectoryFile : public SettingsFilesTest, public ::testing::WithParamInterface<BadDirectoryCase> { };

TEST_P(BadDirectoryFile, StopsReadingAndTheFileIsNotLoaded)
{
    TForm1& form = MakeForm();
    WriteBytes(DirectoryFile(), GetParam().Ini);

    Open(WriteData(DataDir + "a.dat"));

    EXPECT_EQ(Script.Errors, QStringList{QString::fromUtf8(GetParam().Error)});
    EXPECT_FALSE(form.State.Traces[0].Loaded());
    // Read before the bad key:
    EXPECT_EQ(form.YsItemIndex(), 2);
    // Not read after it:
    EXPECT_TRUE(Ui(form).Y3_auto->isChecked());
    EXPECT_EQ(form.State.ColumnMap[3], 3);
    EXPECT_EQ(form.State.Colors[0], kDefaultColors[0]);
    // A bad column keeps its box, so nothing bad reaches the global file.
    EXPECT_EQ(Ui(form).Y2column->text(), "2");
    EXPECT_EQ(form.State.ColumnMap[2], 2);
    form.close();
    EXPECT_EQ(ProfileFile(GlobalFile()).ReadString("State", "A2col", "-"), "2");
}

INSTANTIATE_TEST_SUITE_P(
    SettingsFiles, BadDirectoryFile,
    ::testing::Values(
        BadDirectoryCase{"LimitThatIsNoNumber",
                         "[State]\nYs=2\nA3auto=0\nA3col=1\n[Value]\nA1upper=1\nA1lower=abc\n[Color]\n00=255\n",
                         "'abc' は浮動小数点数ではありません."},
        BadDirectoryCase{"ColumnThatIsNoInteger", "[State]\nYs=2\nA2col=x1\nA3col=1\n[Color]\n00=255\n",
                         "'x1' は整数ではありません."}),
    [](const ::testing::TestParamInfo<BadDirectoryCase>& testInfo) { return std::string(testInfo.param.Name); });

// A bad directory file stops the opening after the new directory was listed;
// the listing position must then belong to that listing, or every later
// paint asks the listing for a name it no longer has.
TEST_F(SettingsFilesTest, BadDirectoryFileLeavesAListingPositionThatExists)
{
    TForm1& form = MakeForm();
    for (const char* name : {"a.dat", "b.dat", "c.dat", "d.dat"})
        WriteData(OtherDir + name);
    Open(OtherDir + "d.dat");
    ASSERT_EQ(form.State.ListingIndex, 3);
    WriteBytes(DirectoryFile(), "[Value]\nA1upper=abc\n");

    Open(WriteData(DataDir + "a.dat"));
    ASSERT_EQ(Script.Errors.size(), 1);
    EXPECT_EQ(form.State.ListingCount, form.Navigator().Listing().Count());
    EXPECT_LT(form.State.ListingIndex, form.State.ListingCount);

    Script.Errors.clear();
    TypeInto(Ui(form).Y1_upper, "5");
    EXPECT_TRUE(Script.Errors.isEmpty()) << Script.Errors.join('\n').toStdString();
    EXPECT_EQ(Ui(form).Y1_upper->text(), "+5.0e+00");
}

// --- Opening files ---

TEST_F(SettingsFilesTest, DirectoryWithoutItsFileKeepsTheSettingsAndTakesAutoDet)
{
    TForm1& form = MakeForm();
    WriteBytes(DirectoryFile(), "[State]\nYs=1\nA1auto=0\nA1col=3\n[Value]\nA1upper=9\nA1lower=1\n[Color]\n00=255\n");
    Open(WriteData(DataDir + "a.dat"));
    const std::array<std::int32_t, 4> columns = form.State.ColumnMap;
    WriteBytes(GlobalFile(), "[Option]\nAutoDet=0\n");

    Open(WriteData(OtherDir + "b.dat"));

    EXPECT_EQ(form.State.Traces[0].Name, OtherDir + "b.dat");
    EXPECT_EQ(form.YsItemIndex(), 1);
    EXPECT_FALSE(Ui(form).Y1_auto->isChecked());
    EXPECT_EQ(form.State.Axes[1].Upper, 9.0f);
    EXPECT_EQ(form.State.ColumnMap, columns);
    EXPECT_EQ(form.State.Colors[0], 255u);
    EXPECT_FALSE(form.State.AutoDet);
    EXPECT_FALSE(form.State.RedetectColumns);

    // Without the key the option is on, and the columns follow the file again.
    fs::remove(GlobalFile());
    Open(OtherDir + "b.dat");
    EXPECT_TRUE(form.State.AutoDet);
    EXPECT_TRUE(form.State.RedetectColumns);
}

TEST_F(SettingsFilesTest, DirectoryWithItsFileUsesTheStoredColumns)
{
    TForm1& form = MakeForm();
    Open(WriteData(OtherDir + "b.dat"));
    ASSERT_TRUE(form.State.RedetectColumns);   // no settings there: columns follow the file
    WriteBytes(DirectoryFile(), "[State]\nA0col=0\nA1col=3\n");

    Open(WriteData(DataDir + "a.dat"));

    EXPECT_FALSE(form.State.RedetectColumns);
    EXPECT_EQ(form.State.ColumnMap[1], 3);
    EXPECT_EQ(form.State.Traces[0].Max[1], 12.0f);   // column 3 holds 3n, n up to 4
}

TEST_F(SettingsFilesTest, DeepDirectoryHasItsSettingsLikeAnyOther)
{
    std::string deep = DataDir;
    while (deep.size() < 300)
        deep += "long-directory-name-segment/";
    fs::create_directories(deep);
    TForm1& form = MakeForm();
    WriteBytes(deep + "_Tracely.ini", "[State]\nYs=2\n");
    // The reader has a length limit of its own for data file names; the
    // settings of the directory do not.
    form.State.CurrentDir = deep;

    form.ReadDirectorySettingsFile(deep);

    EXPECT_EQ(form.YsItemIndex(), 2);
    form.SetYsItemIndex(1);
    Ui(form).SaveSettings->click();
    EXPECT_TRUE(Script.Errors.isEmpty()) << Script.Errors.join("\n").toStdString();
    EXPECT_NE(ReadBytes(deep + "_Tracely.ini").find("Ys=1\n"), std::string::npos);
}

TEST_F(SettingsFilesTest, SavedDirectorySettingsComeBackInANewWindow)
{
    TForm1& first = MakeForm();
    Open(WriteData(DataDir + "a.dat"));
    first.SetYsItemIndex(2);
    Ui(first).Y2_auto->setChecked(false);
    Ui(first).Y2_upper->setText("+7.0e+00");
    Ui(first).Y2_lower->setText("-7.0e+00");
    Ui(first).Y3column->setText("1");
    Ui(first).Cursor->setChecked(true);
    first.State.Colors[9] = 0x123456;
    Ui(first).SaveSettings->click();
    ASSERT_TRUE(Script.Errors.isEmpty());

    TForm1& second = MakeForm();
    Open(DataDir + "a.dat");

    EXPECT_EQ(second.YsItemIndex(), 2);
    EXPECT_FALSE(Ui(second).Y2_auto->isChecked());
    EXPECT_EQ(second.State.Axes[2].Upper, 7.0f);
    EXPECT_EQ(second.State.Axes[2].Lower, -7.0f);
    EXPECT_EQ(second.State.ColumnMap[3], 1);
    EXPECT_TRUE(Ui(second).Cursor->isChecked());
    EXPECT_EQ(second.State.Colors[9], 0x123456u);
}

// --- Writing ---

TEST_F(SettingsFilesTest, NewGlobalFileHasItsLayout)
{
    TForm1& form = MakeForm();
    SetKnownState(form);
    form.close();
    EXPECT_EQ(ReadBytes(GlobalFile()), ExpectedFile("settings-new-global.ini"));
}

TEST_F(SettingsFilesTest, NewDirectoryFileHasItsLayoutAndGoesToTheStartDirectory)
{
    // Before any file is opened, the directory is the one the program started in.
    QDir::setCurrent(QString::fromStdString(DataDir));
    TForm1& form = MakeForm();
    SetKnownState(form);
    form.SetYsItemIndex(1);
    Ui(form).Y1_auto->setChecked(false);

    Ui(form).SaveSettings->click();

    EXPECT_EQ(ReadBytes(DirectoryFile()), ExpectedFile("settings-new-directory.ini"));
}

TEST_F(SettingsFilesTest, TwoSavesLeaveOneEntryPerKey)
{
    TForm1& form = MakeForm();
    Open(WriteData(DataDir + "a.dat"));
    Ui(form).SaveSettings->click();
    Ui(form).Y1column->setText("2");
    Ui(form).SaveSettings->click();
    const std::string twice = ReadBytes(DirectoryFile());

    fs::remove(DirectoryFile());
    Ui(form).SaveSettings->click();
    EXPECT_EQ(twice, ReadBytes(DirectoryFile()));

    std::istringstream lines(twice);
    std::set<std::string> seen;
    for (std::string line; std::getline(lines, line);)
        EXPECT_TRUE(seen.insert(line.substr(0, line.find('='))).second) << line;
}

TEST_F(SettingsFilesTest, CloseKeepsTheFilterWithItsBlanksAndReleasesTheTables)
{
    WriteBytes(GlobalFile(), "[Option]\nFileDialog=\" A (*.a)|*.a \"\n");
    TForm1& form = MakeForm();
    Open(WriteData(DataDir + "a.dat"));

    form.close();

    EXPECT_NE(ReadBytes(GlobalFile()).find("FileDialog=\" A (*.a)|*.a \"\n"), std::string::npos);
    for (const TraceSlot& slot : form.State.Traces)
        EXPECT_FALSE(slot.Loaded());
}

TEST_F(SettingsFilesTest, RefusedSaveShowsTheErrorAndLeavesTheFile)
{
    const std::string before = "; mine\n[State]\nYs=2\n";
    WriteBytes(DirectoryFile(), before);
    TForm1& form = MakeForm();
    Open(WriteData(DataDir + "a.dat"));
    // The system refuses at the last step, after the new content was written aside.
    ProfileFile::SetBeforeReplaceHook([this] { throw EIniFileException(DirectoryFile() + " に書き込めません"); });

    Ui(form).SaveSettings->click();

    EXPECT_EQ(Script.Errors, QStringList{FileNameToText(DirectoryFile()) + " に書き込めません."});
    EXPECT_EQ(ReadBytes(DirectoryFile()), before);
    // Nothing left behind under a temporary name either.
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(DataDir))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"_Tracely.ini", "a.dat"}));
}

TEST_F(SettingsFilesTest, SettingsNameTakenByADirectoryIsNotWritten)
{
    TForm1& form = MakeForm();
    Open(WriteData(DataDir + "a.dat"));
    fs::create_directory(DirectoryFile());

    Ui(form).SaveSettings->click();

    EXPECT_EQ(Script.Errors, QStringList{FileNameToText(DirectoryFile()) + " に書き込めません."});
    EXPECT_TRUE(fs::is_empty(DirectoryFile()));
}

TEST_F(SettingsFilesTest, WindowClosesWhenTheGlobalFileCannotBeWritten)
{
    // The settings directory lies under a plain file, which no user can write into.
    const std::string blocker = ProgramDir + "blocker";
    WriteBytes(blocker, "x");
    ProgramDir = blocker + "/";
    TForm1& form = MakeForm();
    Open(WriteData(DataDir + "a.dat"));
    form.show();

    EXPECT_TRUE(form.close());

    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(Script.Errors, QStringList{FileNameToText(GlobalFile()) + " に書き込めません."});
    EXPECT_FALSE(form.State.Traces[0].Loaded());
    EXPECT_EQ(ReadBytes(blocker), "x");
}

}   // namespace
