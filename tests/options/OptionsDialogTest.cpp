// SPDX-License-Identifier: MIT
#include "Unit2.h"

#include "ProfileFile.h"

#include <QCheckBox>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>

namespace {

const std::string kBuiltIn =
    "GDWファイル(*.gdw)|*.gdw|データファイル(*.dat)|*.dat|テキストファイル(*.txt)|*.txt|全てのファイル(*.*)|*.*";

std::string ReadAll(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

bool WriteAll(const std::string& path, const std::string& bytes)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

// A dialog over a private option file and scripted modal answers.
class OptionsDialog : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        optionFile = dir.filePath(QStringLiteral("Tracely.ini")).toStdString();
        state.FileDialogFilter = kBuiltIn;
        state.UnitWheel = 2;
        dialogs.Error = [this](QWidget*, const QString& text) { errors.push_back(text); };
        dialogs.Message = [this](QWidget*, const QString&, const QString& text) { messages.push_back(text); };
        dialogs.ConfirmOkCancel = [this](QWidget*, const QString&, const QString& text) {
            messages.push_back(text);
            return false;
        };
        dialogs.PickColor = [this](QWidget*, const QColor& preset) -> std::optional<QColor> {
            presets.push_back(preset);
            swatchWhilePicking = form ? form->EditedSwatch : kNoSwatch;
            if (form)
                pictureWhilePicking = form->ColorTablePicture().copy();
            if (answers.empty())
                return std::nullopt;
            const std::optional<QColor> answer = answers.front();
            answers.pop_front();
            return answer;
        };
    }

    TForm2& Open()
    {
        form = std::make_unique<TForm2>(
            state, dialogs, optionFile, nullptr, [this](const Dialogs& d, QWidget* p, const std::string& optionPath) {
                XdgPaths paths;
                const QString root = dir.path();
                paths.Home = root + QStringLiteral("/home");
                paths.DataHome = root + QStringLiteral("/data");
                paths.ConfigHome = root + QStringLiteral("/config");
                return AssociationManager(AssociationStore(root + QStringLiteral("/tracely"), paths), optionPath, d, p);
            });
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return *form;
    }

    // Pixel of the colour table at a client position.
    QRgb TableAt(int x, int y) const { return form->ColorTablePicture().pixel(x, y); }

    QTemporaryDir dir;
    std::string optionFile;
    PlotState state;
    Dialogs dialogs;
    QStringList errors;
    QStringList messages;
    std::vector<QColor> presets;
    std::deque<std::optional<QColor>> answers;
    int swatchWhilePicking = kNoSwatch;
    QImage pictureWhilePicking;
    std::unique_ptr<TForm2> form;
};

TEST_F(OptionsDialog, OpensWithCheckBoxesFromTheOptionFileDefaultingToChecked)
{
    TForm2& f = Open();
    EXPECT_TRUE(f.Y_AutoDetermine->isChecked());
    EXPECT_TRUE(f.ChkNoMulExec->isChecked());
    EXPECT_EQ(f.EditedSwatch, kNoSwatch);
    EXPECT_EQ(f.KanrenCasesIndex(), -1);
    EXPECT_EQ(f.Filters->Filter(), kBuiltIn);
    f.hide();

    ASSERT_TRUE(WriteAll(optionFile, "[option]\r\nautodet=0\r\nNoMulExec=0\r\n"));
    TForm2& g = Open();
    EXPECT_FALSE(g.Y_AutoDetermine->isChecked());
    EXPECT_FALSE(g.ChkNoMulExec->isChecked());
}

TEST_F(OptionsDialog, StoredWheelValueIsShownClampedAndSavedClamped)
{
    state.UnitWheel = 500;
    TForm2& f = Open();
    EXPECT_EQ(f.MouseSens->text(), QStringLiteral("99"));
    f.Button1->click();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(state.UnitWheel, 99);
    EXPECT_EQ(ProfileFile(optionFile).ReadInteger("Option", "UnitWheel", 0), 99);
    EXPECT_TRUE(errors.isEmpty());
}

struct WheelCase {
    const char* Typed;
    const char* Shown;
    bool Error;
};

class OptionsDialogWheel : public OptionsDialog, public testing::WithParamInterface<WheelCase> { };

TEST_P(OptionsDialogWheel, FieldIsForcedIntoOneToNinetyNine)
{
    TForm2& f = Open();
    f.MouseSens->setText(QString::fromUtf8(GetParam().Typed));
    EXPECT_EQ(f.MouseSens->text(), QString::fromUtf8(GetParam().Shown));
    if (GetParam().Error) {
        ASSERT_EQ(errors.size(), 1);
        EXPECT_EQ(errors[0], QStringLiteral("'%1' は整数ではありません.").arg(QString::fromUtf8(GetParam().Typed)));
    } else {
        EXPECT_TRUE(errors.isEmpty());
    }
    EXPECT_EQ(state.UnitWheel, 2);   // only closing hands the value over
}

INSTANTIATE_TEST_SUITE_P(Typed, OptionsDialogWheel,
                         testing::Values(WheelCase{"0", "1", false}, WheelCase{"150", "99", false},
                                         WheelCase{"7", "7", false}, WheelCase{"-5", "1", false},
                                         WheelCase{" 12", "12", false}, WheelCase{"99999999999", "99999999999", true},
                                         WheelCase{"", "", true}, WheelCase{"-", "-", true},
                                         WheelCase{"abc", "abc", true}));

TEST_F(OptionsDialog, ClosingWritesTheFourOptionKeysAndHandsThemBack)
{
    TForm2& f = Open();
    f.MouseSens->setText(QStringLiteral("7"));
    f.Y_AutoDetermine->setChecked(false);
    f.Button1->click();

    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(state.UnitWheel, 7);
    EXPECT_EQ(state.FileDialogFilter, kBuiltIn);
    EXPECT_FALSE(state.AutoDet);
    const std::string bytes = ReadAll(optionFile);
    EXPECT_NE(bytes.find("FileDialog=\"" + kBuiltIn + "\""), std::string::npos) << bytes;
    const ProfileFile ini(optionFile);
    EXPECT_EQ(ini.ReadString("Option", "FileDialog", "?"), kBuiltIn);
    EXPECT_EQ(ini.ReadInteger("Option", "UnitWheel", 0), 7);
    EXPECT_FALSE(ini.ReadBool("Option", "AutoDet", true));
    EXPECT_TRUE(ini.ReadBool("Option", "NoMulExec", false));
}

TEST_F(OptionsDialog, CloseBoxBehavesLikeReturn)
{
    TForm2& f = Open();
    f.ChkNoMulExec->setChecked(false);
    f.Y_AutoDetermine->setChecked(true);
    EXPECT_TRUE(f.close());
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(state.AutoDet);
    EXPECT_FALSE(ProfileFile(optionFile).ReadBool("Option", "NoMulExec", true));
}

TEST_F(OptionsDialog, EmptyingFilterDescriptionsShortensTheList)
{
    TForm2& f = Open();
    f.Filters->SetCell(1, 2, QString());
    f.Button1->click();
    EXPECT_EQ(state.FileDialogFilter, "GDWファイル(*.gdw)|*.gdw");

    Open();
    EXPECT_EQ(form->Filters->Cell(1, 2), QString());
    form->Filters->SetCell(1, 1, QString());
    form->Button1->click();
    EXPECT_EQ(state.FileDialogFilter, "");
    EXPECT_NE(ReadAll(optionFile).find("FileDialog=\"\""), std::string::npos);
    EXPECT_EQ(ProfileFile(optionFile).ReadString("Option", "FileDialog", "?"), "");
}

TEST_F(OptionsDialog, WheelFieldWithoutANumberKeepsTheDialogOpenAndChangesNothing)
{
    state.AutoDet = true;
    TForm2& f = Open();
    f.MouseSens->setText(QStringLiteral("x"));
    f.Y_AutoDetermine->setChecked(false);
    f.Filters->SetCell(1, 1, QString());
    errors.clear();

    f.Button1->click();
    EXPECT_TRUE(f.isVisible());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], QStringLiteral("'x' は整数ではありません."));
    EXPECT_EQ(state.UnitWheel, 2);
    EXPECT_EQ(state.FileDialogFilter, kBuiltIn);
    EXPECT_TRUE(state.AutoDet);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(optionFile)));

    f.MouseSens->setText(QStringLiteral("5"));
    EXPECT_TRUE(f.close());
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(state.UnitWheel, 5);
}

TEST_F(OptionsDialog, UnwritableOptionFileIsReportedAndTheSecondCloseLeaves)
{
    // A file where the option file's directory should be: not even root can write there.
    ASSERT_TRUE(WriteAll(dir.filePath(QStringLiteral("blocker")).toStdString(), "x"));
    optionFile = dir.filePath(QStringLiteral("blocker/Tracely.ini")).toStdString();
    TForm2& f = Open();
    f.MouseSens->setText(QStringLiteral("9"));
    f.Y_AutoDetermine->setChecked(false);
    state.AutoDet = true;

    f.Button1->click();
    EXPECT_TRUE(f.isVisible());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], QString::fromStdString(optionFile) + QStringLiteral(" に書き込めません."));
    EXPECT_EQ(state.UnitWheel, 9);
    EXPECT_EQ(state.FileDialogFilter, kBuiltIn);
    EXPECT_TRUE(state.AutoDet);

    f.Button1->click();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(errors.size(), 2);
}

TEST_F(OptionsDialog, PickedColourIsStoredAsPlainRgbAndRelabelsTheSwatch)
{
    TForm2& f = Open();
    const int x = SwatchX(7) + 3;
    const int y = SwatchY(7) + 3;
    const QRgb before = TableAt(x, y);
    answers.push_back(QColor(255, 0, 0));
    QTest::mouseClick(&f, Qt::LeftButton, {}, QPoint(x, y));

    ASSERT_EQ(presets.size(), 1u);
    EXPECT_EQ(presets[0].rgb(), QColor(0x80, 0xB0, 0xFF).rgb());
    EXPECT_EQ(swatchWhilePicking, 7);
    EXPECT_EQ(pictureWhilePicking.pixel(SwatchX(7) - 2, SwatchY(7) + 8), qRgb(0, 0, 0));   // 5-pixel border
    EXPECT_EQ(state.Colors[7], 0x000000FFu);
    EXPECT_EQ(f.EditedSwatch, kNoSwatch);
    EXPECT_NE(TableAt(x, y), before);
    EXPECT_EQ(TableAt(x, y), qRgb(255, 0, 0));
    EXPECT_EQ(TableAt(SwatchX(7) - 2, SwatchY(7) + 8), qRgb(255, 255, 255));
    EXPECT_EQ(LabelColorOf(state.Colors[7], 0), clWhite);
}

TEST_F(OptionsDialog, CancelledChooserAndClicksBesideTheTableKeepTheColours)
{
    TForm2& f = Open();
    QTest::mouseClick(&f, Qt::RightButton, {}, QPoint(125, 105));   // swatch 15, cancelled
    ASSERT_EQ(presets.size(), 1u);
    EXPECT_EQ(swatchWhilePicking, 15);
    QTest::mouseClick(&f, Qt::LeftButton, {}, QPoint(20, 5));
    QTest::mouseClick(&f, Qt::LeftButton, {}, QPoint(152, 35));
    EXPECT_EQ(presets.size(), 1u);
    EXPECT_EQ(state.Colors, kDefaultColors);
    EXPECT_EQ(f.EditedSwatch, kNoSwatch);
}

TEST_F(OptionsDialog, SystemColourFromAHandEditedFileGetsAReadableLabel)
{
    state.Colors[4] = 0x80000005;
    TForm2& f = Open();
    const QRgb fill = TableAt(SwatchX(4) + 2, SwatchY(4) + 2);
    EXPECT_GT(qGray(fill), 128);   // shown in the light window colour
    answers.push_back(std::nullopt);
    QTest::mouseClick(&f, Qt::LeftButton, {}, QPoint(SwatchX(4) + 2, SwatchY(4) + 2));
    EXPECT_EQ(presets.at(0).rgb(), fill);
    EXPECT_EQ(state.Colors[4], 0x80000005u);
    EXPECT_EQ(LabelColorOf(state.Colors[4], fill), clBlack);
}

TEST_F(OptionsDialog, AssociationButtonsReachTheTool)
{
    TForm2& f = Open();
    f.Go->click();
    ASSERT_EQ(errors.size(), 1);   // no extension typed
    EXPECT_EQ(errors[0], QStringLiteral("範囲チェックエラー."));

    f.KanrenReset->click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("全ての関連づけ情報を復元します"));

    f.KanrenCasesItems[2]->click();
    EXPECT_EQ(f.KanrenCasesIndex(), 2);
}

// What a control covers on screen: a label only as far as its text reaches
// (the wheel label's box runs one pixel under the wheel field).
QRect Occupied(const QWidget* w)
{
    QRect area = w->geometry();
    if (auto* label = qobject_cast<const QLabel*>(w))
        area.setWidth(std::min(area.width(), label->sizeHint().width()));
    return area;
}

TEST_F(OptionsDialog, JapaneseTextsHaveAJapaneseFontAndFitTheirControls)
{
    state.UnitWheel = 99;
    TForm2& f = Open();
    EXPECT_EQ(QFontInfo(f.font()).family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(f.size(), QSize(TForm2::kClientWidth, TForm2::kClientHeight));

    std::vector<QWidget*> controls;
    for (QWidget* w : f.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        controls.push_back(w);
    for (QWidget* w : controls) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_TRUE(QRect(0, 0, TForm2::kClientWidth, TForm2::kClientHeight).contains(w->geometry()));
        EXPECT_FALSE(
            w->geometry().intersects(QRect(kTableLeft, kTableTop, kTableRight - kTableLeft, kTableBottom - kTableTop)));
        if (auto* label = qobject_cast<QLabel*>(w)) {
            EXPECT_LE(label->sizeHint().width(), label->width());
        }
        if (auto* box = qobject_cast<QCheckBox*>(w)) {
            EXPECT_LE(box->sizeHint().width(), box->width());
        }
        for (QWidget* other : controls) {
            if (other != w) {
                EXPECT_FALSE(Occupied(w).intersects(Occupied(other))) << other->objectName().toStdString();
            }
        }
    }
    for (QRadioButton* item : f.KanrenCasesItems) {
        EXPECT_LE(item->sizeHint().width(), item->width()) << item->text().toStdString();
    }

    if (!qEnvironmentVariableIsEmpty("TRACELY_SHOT"))
        f.grab().save(qEnvironmentVariable("TRACELY_SHOT"));
}

}   // namespace
