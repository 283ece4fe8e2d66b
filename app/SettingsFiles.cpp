// SPDX-License-Identifier: MIT
// The settings files: the global one read while the window is made and
// written when it closes, and the one of a data directory read whenever a file
// of that directory is opened and written by the SaveSettings button.
//
// Each read or write works on one snapshot of the file (ProfileFile::Batch):
// the values are the ones key-by-key calls would give, and a save reaches the
// disk in one atomic step, so a refused or interrupted save leaves the old
// file whole.
#include "Unit1.h"

#include "Conversions.h"
#include "ProfileFile.h"
#include "SettingsKeys.h"
#include "SettingsLocation.h"
#include "SettingsPaths.h"
#include "SettingsRecords.h"
#include "Translations.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include <filesystem>
#include <set>
#include <system_error>

namespace {

// The existence test of a directory's settings file. Something under that name
// that cannot be opened, is no regular file (a directory, a FIFO), is a link
// another user may have planted, or is larger than any settings file counts as
// no file; `oversized` tells the last case, which the user is told about.
// There is no 259-character limit here: a deep data directory has its settings
// like any other, up to the profile functions' own path limit.
bool OpensAsSettingsFile(const std::string& path, bool& oversized)
{
    const ProfileFile::Found found = ProfileFile(path, ProfileFile::Links::OwnOnly).Examine();
    oversized = found == ProfileFile::Found::Oversized;
    return found == ProfileFile::Found::Readable;
}

// Told once per file and run: stepping through a directory reads its file at
// every step, and a box at each one would stop the stepping.
bool FirstReportOf(const std::string& path)
{
    static std::set<std::string> reported;
    return reported.insert(path).second;
}

static_assert(kMaxProfileFileSize == 1024 * 1024, "the message names the limit");

QString OversizedText(const std::string& path)
{
    return AppText::tr("%1 は大きすぎるため読み込みません (設定ファイルは 1 MiB まで)").arg(FileNameToText(path));
}

std::string TextOf(const QLineEdit* edit)
{
    return edit->text().toStdString();
}

void SetTextQuietly(QLineEdit* edit, const QString& text)
{
    const QSignalBlocker quiet(edit);
    edit->setText(text);
}

}   // namespace

std::string ProgramSettingsDirectory(const std::string& given)
{
    std::string dir = given;
    if (dir.empty()) {
        dir = ExtractFilePath(GlobalSettingsPath());
    }
    if (dir.empty() || dir.front() != '/') {
        std::error_code error;
        const std::filesystem::path cwd = std::filesystem::current_path(error);
        if (!error)
            dir = (cwd / dir).string();
    }
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    return dir;
}

std::string TForm1::GlobalSettingsFile() const
{
    return m_settingsDirectory + kGlobalSettingsName;
}

// Where a settings file lies and how it is read: the global one keeps
// following links (dotfiles kept as links), a directory's only the user's own.
namespace {

ProfileFile GlobalFileAt(const std::string& path)
{
    return ProfileFile(path, ProfileFile::Links::Follow);
}

ProfileFile DirectoryFileAt(const std::string& path)
{
    return ProfileFile(path, ProfileFile::Links::OwnOnly);
}

}   // namespace

void TForm1::ReadGlobalSettingsFile()
{
    const std::string path = GlobalSettingsFile();
    ProfileFile ini = GlobalFileAt(path);
    const ProfileFile::Batch snapshot(ini);
    if (snapshot.State() == ProfileFile::Found::Oversized && FirstReportOf(path))
        Modals.Error(this, OversizedText(path));
    const GlobalSettings settings = ReadGlobalSettings(ini, kBuiltInFileDialogFilter, State.Colors);

    State.UnitWheel = settings.UnitWheel;
    move(settings.Left, settings.Top);   // as stored, also off every screen
    State.FileDialogFilter = settings.FileDialog;
    m_openDialogFilter = QString::fromStdString(State.FileDialogFilter);
    ApplyCommonSettings(settings.Common, path, BadColumnText::TakesItsDefault);
    ReadLargeViewSettings(ini);
    ReadFollowSettings(ini);
}

void TForm1::ReadDirectorySettingsFile(const std::string& dir)
{
    const std::string path = DirectorySettingsPath(dir);
    bool oversized = false;
    if (!OpensAsSettingsFile(path, oversized)) {
        if (oversized && FirstReportOf(path))
            Modals.Error(this, OversizedText(path));
        // A directory without settings of its own keeps the ones in force;
        // only the column choice follows the option again.
        State.AutoDet = GlobalFileAt(GlobalSettingsFile()).ReadBool(kOptionSection, kAutoDetKey, kDefaultAutoDet);
        State.RedetectColumns = State.AutoDet;
        return;
    }
    ProfileFile ini = DirectoryFileAt(path);
    const ProfileFile::Batch snapshot(ini);
    // Read as no file at all; this shows only when the file grew past the
    // limit since the look above.
    if (snapshot.State() == ProfileFile::Found::Oversized && FirstReportOf(path))
        Modals.Error(this, OversizedText(path));
    const DirectorySettings settings = ReadDirectorySettings(ini, State.Colors);

    // The stored columns hold unless the reader finds a new column count.
    State.RedetectColumns = false;
    SetYsItemIndex(settings.YsItem);
    for (int axis = 0; axis < kAxisCount; ++axis) {
        const std::size_t a = static_cast<std::size_t>(axis);
        const AxisControlGroup& group = AxisControls[a];
        ShowAxisSettings(settings, a);
        // A text that is no number stops the opening here.
        State.Axes[a].Lower = StrToFloat(TextOf(group.Lower));
        State.Axes[a].Upper = StrToFloat(TextOf(group.Upper));
    }
    ApplyCommonSettings(settings.Common, path, BadColumnText::StopsTheOpening);
}

void TForm1::ApplyCommonSettings(const CommonSettings& common, const std::string& path, BadColumnText bad)
{
    ChangeYs();
    // A change runs the box's click handler (SetTopmost, CursorClick) as a click would.
    TopMostToggle->setChecked(common.TopMost);
    DispNameToggle->setChecked(common.DispName);
    Cursor->setChecked(common.Cursor);

    for (int axis = 0; axis < kAxisCount; ++axis) {
        QLineEdit* box = AxisControls[static_cast<std::size_t>(axis)].Column;
        const QString text = QString::fromStdString(common.ColumnTexts[static_cast<std::size_t>(axis)]);
        const QString before = box->text();
        try {
            // ChangeColn runs here rather than from the box's own signal, so a
            // text that is no integer reaches the caller once instead of being
            // shown by the box's handler and then again by this conversion.
            if (box->text() != text) {
                SetTextQuietly(box, text);
                ChangeColn();
            }
            State.ColumnMap[static_cast<std::size_t>(axis)] = StrToInt(TextOf(box));
        } catch (const EConvertError& error) {
            if (bad == BadColumnText::StopsTheOpening) {
                // The box keeps its column: a text left in it would be
                // written into the global file at close and refused at
                // every start after.
                SetTextQuietly(box, before);
                throw;
            }
            // A bad column in the global file must not keep the program from
            // starting: that key takes its default and the user is told.
            SetTextQuietly(box, QString::fromStdString(DefaultColumnText(axis)));
            State.ColumnMap[static_cast<std::size_t>(axis)] = axis;
            Modals.Error(this,
                         ErrorText(error) + QStringLiteral(".\n") +
                             AppText::tr("%1 の [%2] %3 は既定値 %4 で起動します。")
                                 .arg(FileNameToText(path), QString::fromUtf8(kStateSection),
                                      QString::fromStdString(AxisColumnKey(axis)), QString::number(axis)));
        }
    }
    State.Colors = common.Colors;
}

CommonSettings TForm1::CommonSettingsOfControls() const
{
    CommonSettings common;
    common.TopMost = TopMostToggle->isChecked();
    common.DispName = DispNameToggle->isChecked();
    common.Cursor = Cursor->isChecked();
    for (int axis = 0; axis < kAxisCount; ++axis)
        common.ColumnTexts[static_cast<std::size_t>(axis)] =
            TextOf(AxisControls[static_cast<std::size_t>(axis)].Column);
    common.Colors = State.Colors;
    return common;
}

void TForm1::WriteGlobalSettingsFile()
{
    GlobalSettings settings;
    settings.Top = pos().y();
    settings.Left = pos().x();
    settings.UnitWheel = State.UnitWheel;
    settings.FileDialog = m_openDialogFilter.toStdString();
    settings.Common = CommonSettingsOfControls();
    for (int axis = 0; axis < kAxisCount; ++axis) {
        const std::size_t a = static_cast<std::size_t>(axis);
        settings.UpperTexts[a] = TextOf(AxisControls[a].Upper);
        settings.LowerTexts[a] = TextOf(AxisControls[a].Lower);
    }
    ProfileFile ini = GlobalFileAt(GlobalSettingsFile());
    ProfileFile::Batch batch(ini);
    WriteGlobalSettings(ini, settings);
    WriteLargeViewSettings(ini);
    WriteFollowSettings(ini);
    batch.Commit();
}

DirectorySettings TForm1::DirectorySettingsOfControls() const
{
    DirectorySettings settings;
    settings.YsItem = YsItemIndex();
    for (int axis = 0; axis < kAxisCount; ++axis) {
        const std::size_t a = static_cast<std::size_t>(axis);
        settings.AxisAuto[a] = AxisControls[a].Auto->isChecked();
        settings.UpperTexts[a] = TextOf(AxisControls[a].Upper);
        settings.LowerTexts[a] = TextOf(AxisControls[a].Lower);
    }
    settings.Common = CommonSettingsOfControls();
    return settings;
}

void TForm1::ShowAxisSettings(const DirectorySettings& settings, std::size_t axis)
{
    const AxisControlGroup& group = AxisControls[axis];
    group.Auto->setChecked(settings.AxisAuto[axis]);
    group.Upper->setText(QString::fromStdString(settings.UpperTexts[axis]));
    group.Lower->setText(QString::fromStdString(settings.LowerTexts[axis]));
}

void TForm1::WriteDirectorySettingsFile(const std::string& dir)
{
    const DirectorySettings settings = DirectorySettingsOfControls();
    ProfileFile ini = DirectoryFileAt(DirectorySettingsPath(dir));
    ProfileFile::Batch batch(ini);
    WriteDirectorySettings(ini, settings);
    batch.Commit();
}

void TForm1::Closure()
{
    // The window closes whether or not the settings could be written (the
    // error is shown once by the caller), so the tables go in either case.
    struct ReleaseTables {
        PlotState& State;
        ~ReleaseTables()
        {
            for (TraceSlot& slot : State.Traces)
                slot.Table.reset();
        }
    } releaseTables{State};

    WriteGlobalSettingsFile();
}

void TForm1::SaveIniFile()
{
    WriteDirectorySettingsFile(State.CurrentDir);
}
