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
    return FileNameToText(path) + QStringLiteral(" は大きすぎるため読み込みません (設定ファイルは 1 MiB まで)");
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

} // namespace

std::string ProgramSettingsDirectory(const std::string& given)
{
    std::string dir = given;
    if (dir.empty()) {
        const std::string file = GlobalSettingsPath();
        const std::size_t slash = file.rfind('/');
        dir = slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
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

void TForm1::ReadSettingsFile(const std::string& dir, bool global)
{
    std::string path;
    if (global) {
        path = dir + kGlobalSettingsName;
    } else {
        path = DirectorySettingsPath(dir);
        bool oversized = false;
        if (!OpensAsSettingsFile(path, oversized)) {
            if (oversized && FirstReportOf(path))
                Modals.Error(this, OversizedText(path));
            // A directory without settings of its own keeps the ones in force;
            // only the column choice follows the option again.
            const ProfileFile options(GlobalSettingsFile());
            State.AutoDet = options.ReadBool(kOptionSection, kAutoDetKey, kDefaultAutoDet);
            State.RedetectColumns = State.AutoDet;
            return;
        }
    }

    ProfileFile ini(path, global ? ProfileFile::Links::Follow : ProfileFile::Links::OwnOnly);
    const ProfileFile::Batch snapshot(ini);
    // Read as no file at all; for a directory file this shows only when the
    // file grew past the limit since the look above.
    if (snapshot.State() == ProfileFile::Found::Oversized && FirstReportOf(path))
        Modals.Error(this, OversizedText(path));

    if (global) {
        State.UnitWheel = ini.ReadInteger(kOptionSection, kUnitWheelKey, kDefaultUnitWheel);
        const int top = ini.ReadInteger(kForm1Section, kTopKey, kDefaultTop);
        const int left = ini.ReadInteger(kForm1Section, kLeftKey, kDefaultLeft);
        move(left, top);   // as stored, also off every screen
        State.FileDialogFilter = ini.ReadString(kOptionSection, kFileDialogKey, kBuiltInFileDialogFilter);
        m_openDialogFilter = QString::fromStdString(State.FileDialogFilter);
    } else {
        // The stored columns hold unless the reader finds a new column count.
        State.RedetectColumns = false;
        SetYsItemIndex(ini.ReadInteger(kStateSection, kYsKey, kDefaultYsItem));
        for (int axis = 0; axis < kAxisCount; ++axis) {
            const AxisControlGroup& group = AxisControls[static_cast<std::size_t>(axis)];
            group.Auto->setChecked(ini.ReadBool(kStateSection, AxisAutoKey(axis), kDefaultAxisAuto));
            group.Upper->setText(QString::fromStdString(ini.ReadString(kValueSection, AxisUpperKey(axis), kDefaultLimitText)));
            group.Lower->setText(QString::fromStdString(ini.ReadString(kValueSection, AxisLowerKey(axis), kDefaultLimitText)));
            AxisState& limits = State.Axes[static_cast<std::size_t>(axis)];
            limits.Lower = StrToFloat(TextOf(group.Lower));
            limits.Upper = StrToFloat(TextOf(group.Upper));
        }
    }

    ChangeYs();
    // A change runs the box's click handler (SetTopmost, CursorClick) as a click would.
    TopMostToggle->setChecked(ini.ReadBool(kStateSection, kTopMostKey, kDefaultToggle));
    DispNameToggle->setChecked(ini.ReadBool(kStateSection, kDispNameKey, kDefaultToggle));
    Cursor->setChecked(ini.ReadBool(kStateSection, kCursorKey, kDefaultToggle));

    for (int axis = 0; axis < kAxisCount; ++axis) {
        QLineEdit* box = AxisControls[static_cast<std::size_t>(axis)].Column;
        const std::string key = AxisColumnKey(axis);
        const QString text = QString::fromStdString(ini.ReadString(kStateSection, key, DefaultColumnText(axis)));
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
            if (!global) {
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
            Modals.Error(this, QString::fromUtf8(error.what()) + QStringLiteral(".\n") +
                                   FileNameToText(path) + QStringLiteral(" の [%1] %2 は既定値 %3 で起動します。")
                                                              .arg(QString::fromUtf8(kStateSection),
                                                                   QString::fromStdString(key))
                                                              .arg(axis));
        }
    }

    for (int entry = 0; entry < kColorCount; ++entry) {
        TColor& color = State.Colors[static_cast<std::size_t>(entry)];
        color = static_cast<TColor>(ini.ReadInteger(kColorSection, ColorKey(entry), static_cast<std::int32_t>(color)));
    }
}

void TForm1::WriteSettingsFile(const std::string& dir, bool global)
{
    ProfileFile ini(global ? dir + kGlobalSettingsName : DirectorySettingsPath(dir),
                    global ? ProfileFile::Links::Follow : ProfileFile::Links::OwnOnly);
    ProfileFile::Batch batch(ini);

    // The order of the writes is the layout of a new file.
    if (global) {
        ini.WriteInteger(kForm1Section, kTopKey, pos().y());
        ini.WriteInteger(kForm1Section, kLeftKey, pos().x());
        ini.WriteInteger(kOptionSection, kUnitWheelKey, State.UnitWheel);
        ini.WriteString(kOptionSection, kFileDialogKey, "\"" + m_openDialogFilter.toStdString() + "\"");
    } else {
        ini.WriteInteger(kStateSection, kYsKey, YsItemIndex());
        for (int axis = 0; axis < kAxisCount; ++axis) {
            const AxisControlGroup& group = AxisControls[static_cast<std::size_t>(axis)];
            ini.WriteBool(kStateSection, AxisAutoKey(axis), group.Auto->isChecked());
            ini.WriteString(kValueSection, AxisUpperKey(axis), TextOf(group.Upper));
            ini.WriteString(kValueSection, AxisLowerKey(axis), TextOf(group.Lower));
        }
    }

    ini.WriteBool(kStateSection, kTopMostKey, TopMostToggle->isChecked());
    ini.WriteBool(kStateSection, kDispNameKey, DispNameToggle->isChecked());
    ini.WriteBool(kStateSection, kCursorKey, Cursor->isChecked());
    for (int axis = 0; axis < kAxisCount; ++axis) {
        const AxisControlGroup& group = AxisControls[static_cast<std::size_t>(axis)];
        ini.WriteString(kStateSection, AxisColumnKey(axis), TextOf(group.Column));
        ini.WriteString(kValueSection, AxisUpperKey(axis), TextOf(group.Upper));
        ini.WriteString(kValueSection, AxisLowerKey(axis), TextOf(group.Lower));
    }
    for (int entry = 0; entry < kColorCount; ++entry)
        ini.WriteInteger(kColorSection, ColorKey(entry), static_cast<std::int32_t>(State.Colors[static_cast<std::size_t>(entry)]));

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

    WriteSettingsFile(m_settingsDirectory, true);
}

void TForm1::SaveIniFile()
{
    WriteSettingsFile(State.CurrentDir, false);
}
