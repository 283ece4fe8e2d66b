// SPDX-License-Identifier: MIT
// Opening files: a typed name, the open dialog, and the steps every way of
// opening shares (resolving the name, entering its directory, switching to
// the data layout).
#include "Unit1.h"

#include "Conversions.h"
#include "DataFileReader.h"
#include "FileNames.h"
#include "PlotCursor.h"
#include "Translations.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>

#include <vector>

const char* RefusalReason(FileKind kind)
{
    switch (kind) {
    case FileKind::NotRegular: return kMessageNotRegularFile;
    case FileKind::Unusable: return kMessageNameTooLong;
    default: return kMessageNotFound;
    }
}

QString RefusalLine(const std::string& reason, const QString& item)
{
    return TranslatedText(reason) + QStringLiteral(": ") + item;
}

void TakeIfRegular(const std::string& name, std::vector<std::string>& files, QStringList& refusals)
{
    const FileKind kind = KindOfFile(name);
    if (kind == FileKind::Regular)
        files.push_back(name);
    else
        refusals << RefusalLine(RefusalReason(kind), FileNameToText(name));
}

void TForm1::NewFileINput()
{
    const Resolved resolved = ResolveDataFileName(TextToFileName(MaskEdit1->text()));
    if (!resolved.Found) {
        Modals.Message(this, QString(), AppText::tr("File not found"));
        return;
    }
    if (!EnterAndLoad(resolved.Name, KeepWhatOpeningChanges()))
        return;
    PaintGraph();
    ShowDataControls();
    PrefetchNeighbours();
}

void TForm1::FIleNameInput()
{
    // Read first: a text that is not a number stops the handler before the dialog.
    const int before = StrToInt(NumofTraces->text().toStdString());

    const QStringList picked = Modals.OpenFiles(this, FileNameToText(State.CurrentDir), m_openDialogFilter,
                                                MatchingFilterIndex(m_openDialogFilter, State.Traces[0].Name));
    if (picked.isEmpty())
        return;
    std::vector<std::string> names;
    for (const QString& name : picked)
        names.push_back(TextToFileName(name));
    OpenFilesTogether(names, before, {});
}

void TForm1::OpenFilesTogether(const std::vector<std::string>& names, int before, QStringList refusals)
{
    // Only regular files count: a folder or a FIFO among them must not become
    // the browsed directory or change its listing and settings.
    std::vector<std::string> files;
    for (const std::string& name : names)
        TakeIfRegular(name, files, refusals);

    if (!files.empty()) {
        OpeningKept kept = KeepWhatOpeningChanges();
        ShowDataControls();
        kept.Place = EnterDirectoryOf(files.front());
        int loaded = 0;
        bool cancelled = false;
        for (const std::string& name : files) {
            const LoadResult result = LoadFile(name);
            if (result) {
                ++loaded;
            } else if (result.Error == LoadError::Cancelled) {
                cancelled = true;
                break;   // the rest of them too
            } else {
                refusals << RefusalLine(result.Message, FileNameToText(name));
            }
        }
        // Cancelled before any file came in: the opening is given up whole.
        // Once one is in the history, its directory is the browsed one.
        if (cancelled && loaded == 0)
            PutBack(std::move(kept));
        // Only the files that made it into the history count as shown
        // traces; the edit's own handler keeps the count within the history.
        if (loaded > before)
            NumofTraces->setText(QString::number(loaded));
        PaintGraph();
    }
    if (!refusals.isEmpty())
        Modals.Error(this, refusals.join(QLatin1Char('\n')));
}

void TForm1::OpenNamesTogether(const std::vector<std::string>& names, const std::string& dir)
{
    // Read first: a count that is not a number abandons them before anything changes.
    const int before = StrToInt(NumofTraces->text().toStdString());
    std::vector<std::string> paths;
    for (const std::string& name : names)
        paths.push_back(CompletedFileName(name, dir));
    OpenFilesTogether(paths, before, {});
}

LoadResult TForm1::LoadFile(const std::string& name)
{
    LoadResult result = ReadAndCommit(name);
    if (!result)
        return result;
    const ColumnChoice& choice = result.Columns;
    if (choice.Redetected) {
        // Each edit runs ChangeColn and the selection runs ChangeYs, as typed.
        for (int axis = 0; axis < choice.AxesSet; ++axis)
            AxisControls[static_cast<std::size_t>(axis)].Column->setText(
                QString::number(choice.Map[static_cast<std::size_t>(axis)]));
        for (int axis = 0; axis < choice.AxesSet; ++axis)
            AxisControls[static_cast<std::size_t>(axis)].Auto->setChecked(true);
        SetYsItemIndex(choice.YsItem);
    }
    HideDeltaReadouts();
    FollowLoadedFile(result);
    return result;
}

bool TForm1::LoadAndReport(const std::string& name)
{
    const LoadResult result = LoadFile(name);
    ReportRefusal(result, name);
    return result.Ok;
}

void TForm1::ReportRefusal(const LoadResult& result, const std::string& name)
{
    // Cancelled by the user: nothing to tell.
    if (!result && result.Error != LoadError::Cancelled)
        Modals.Error(this, RefusalLine(result.Message, FileNameToText(name)));
}

TForm1::Resolved TForm1::ResolveDataFileName(const std::string& name) const
{
    // The limit is on the name as given; completed, it may be longer.
    if (name.empty() || name.size() > kMaxGivenFileName)
        return {};
    // An absolute name stands as given, a relative one is taken in
    // CurrentDir. Only a regular file counts as found: anything else must
    // leave the browsed directory, its listing and its settings alone.
    std::string candidate = CompletedFileName(name, State.CurrentDir);
    if (KindOfFile(candidate) != FileKind::Regular)
        return {};
    return {true, std::move(candidate)};
}

DirectoryNavigator::Place TForm1::EnterDirectoryOf(const std::string& name)
{
    DirectoryNavigator::Place left = m_navigator.Enter(name);
    ReadDirectorySettingsFile(State.CurrentDir);
    return left;
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
    m_cursor->HideAll();
    for (QWidget* w : std::initializer_list<QWidget*>{NumofTraces, RadioGroup1, LinkageYsBox})
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
    if (Cursor->isChecked())
        m_cursor->ShowCurrent();
    // The Y2 and Y3 groups and Link follow the Ys selection.
    ChangeYs();
    NextFile->setFocus();
}
