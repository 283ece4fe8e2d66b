// SPDX-License-Identifier: MIT
// Opening files: a typed name, the open dialog, and the steps every way of
// opening shares (resolving the name, entering its directory, switching to
// the data layout).
#include "Unit1.h"

#include "Conversions.h"
#include "DataFileReader.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>

#include <fcntl.h>
#include <unistd.h>

namespace {

// ResolveDataFileName joins CurrentDir and the name in a buffer of this size;
// a longer join is not tried.
constexpr std::size_t kJoinedNameBuffer = 256;

// Opening for reading without blocking: a FIFO must not hang the window. What
// is not a regular file is then refused by the reader with its own message.
bool OpensForReading(const std::string& path)
{
    if (path.empty() || path.find('\0') != std::string::npos)
        return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

std::string BaseNameOf(const std::string& name)
{
    const std::size_t slash = name.rfind('/');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

// The reader's reason, then the file it is about.
QString RefusalText(const LoadResult& result, const std::string& name)
{
    return QString::fromStdString(result.Message) + QStringLiteral(": ") + FileNameToText(name);
}

} // namespace

void TForm1::NewFileINput()
{
    const Resolved resolved = ResolveDataFileName(TextToFileName(MaskEdit1->text()));
    if (!resolved.Found) {
        Modals.Message(this, QString(), QStringLiteral("File not found"));
        return;
    }
    EnterDirectoryOf(resolved.Name);
    if (!LoadAndReport(resolved.Name))
        return;
    PaintGraph();
    ShowDataControls();
}

void TForm1::FIleNameInput()
{
    // Read first: a text that is not a number stops the handler before the dialog.
    const int before = StrToInt(NumofTraces->text().toStdString());

    const QStringList picked = Modals.OpenFiles(this, QDir::currentPath(), m_openDialogFilter);
    if (picked.isEmpty())
        return;

    ShowDataControls();
    EnterDirectoryOf(TextToFileName(picked.front()));

    int loaded = 0;
    QStringList refusals;
    for (const QString& name : picked) {
        const LoadResult result = LoadDataFile(State, TextToFileName(name));
        if (result)
            ++loaded;
        else
            refusals << RefusalText(result, TextToFileName(name));
    }
    if (!refusals.isEmpty())
        Modals.Error(this, refusals.join(QLatin1Char('\n')));
    // Only the files that made it into the history count as shown traces.
    if (loaded > before)
        NumofTraces->setText(QString::number(loaded));
    PaintGraph();
}

bool TForm1::LoadAndReport(const std::string& name)
{
    const LoadResult result = LoadDataFile(State, name);
    if (!result)
        Modals.Error(this, RefusalText(result, name));
    return result.Ok;
}

TForm1::Resolved TForm1::ResolveDataFileName(const std::string& name) const
{
    if (name.empty())
        return {};
    if (State.CurrentDir.size() + name.size() < kJoinedNameBuffer) {
        std::string candidate = State.CurrentDir + name;
        if (OpensForReading(candidate))
            return {true, std::move(candidate)};
    }
    if (OpensForReading(name))
        return {true, name};
    return {};
}

void TForm1::EnterDirectoryOf(const std::string& name)
{
    SearchFiles1.SortStyle = ssNameSmall;
    const std::string base = BaseNameOf(name);
    const std::size_t dot = base.rfind('.');
    SearchFiles1.ExtFilter = dot == std::string::npos ? std::string() : base.substr(dot);
    State.CurrentDir = name.substr(0, name.size() - base.size());
    ChangeDirectoryTo(name);
    SearchFiles1.Execute(".");
    // The listing position is settled before the directory's settings are
    // read: a bad value there stops the opening, and a count and index left
    // from the previous listing would make every later paint and step ask
    // this listing for a name it does not have.
    State.ListingCount = SearchFiles1.Count();
    for (int i = 0; i < State.ListingCount; ++i) {
        if (SearchFiles1.GetFileName(i) == base) {
            State.ListingIndex = i;
            break;
        }
    }
    ReadSettingsFile(State.CurrentDir, false);
}

void TForm1::ChangeDirectoryTo(const std::string& name)
{
    const std::size_t slash = name.rfind('/');
    if (slash == std::string::npos)
        return;
    const std::string dir = slash == 0 ? std::string("/") : name.substr(0, slash);
    if (dir.find('\0') != std::string::npos)
        return;
    // A directory that is gone or not ours to enter leaves the working directory as it was.
    [[maybe_unused]] const int ignored = ::chdir(dir.c_str());
}

void TForm1::HideDataControls()
{
    for (const AxisControlGroup& group : AxisControls) {
        for (QWidget* w : std::initializer_list<QWidget*>{group.Upper, group.Lower, group.Column, group.Auto,
                                                           group.UpperLabel, group.LowerLabel, group.ColumnLabel})
            if (w)
                w->hide();
    }
    RadioGroup1Items[0]->setChecked(true);
    NextFile->setEnabled(false);
    PrevFile->setEnabled(false);
    ReDraw->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{L_CurrentY1, CurrentY1, CurrentY2, CurrentY3, CurrentX,
                                                       L_CurrentX, NumofTraces, DeltaY1, L_DeltaY1, DeltaY2, DeltaY3,
                                                       DeltaX, L_DeltaX, RadioGroup1, LinkageYsBox})
        w->hide();
}

void TForm1::ShowDataControls()
{
    ShowAxisControls(0, true);
    ShowAxisControls(1, true);
    NextFile->setEnabled(true);
    PrevFile->setEnabled(true);
    ReDraw->setEnabled(true);
    NumofTraces->show();
    RadioGroup1->show();
    if (Cursor->isChecked()) {
        for (QWidget* w : std::initializer_list<QWidget*>{CurrentY1, L_CurrentY1, CurrentX, L_CurrentX})
            w->show();
    }
    // The Y2 and Y3 groups and Link follow the Ys selection.
    ChangeYs();
    NextFile->setFocus();
}
