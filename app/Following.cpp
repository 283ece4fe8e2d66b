// SPDX-License-Identifier: MIT
// Follow mode: the shown file is kept up to date while a logger appends to
// it, and a new file of the listing is loaded, as a step loads it, once it
// has stopped growing. The platform tells of changes (inotify through Qt);
// nothing polls while nothing changes. A burst of notifications becomes one
// look at the files, and looks are at least kFollowLookIntervalMs apart.
#include "Unit1.h"

#include "DataFileColumns.h"
#include "FollowWatch.h"
#include "LargeViewWindow.h"
#include "PlotView.h"
#include "ProfileFile.h"
#include "Searchfiles.h"
#include "SettingsKeys.h"
#include "SingleInstance.h"
#include "Translations.h"

#include <QPainter>

#include <algorithm>
#include <ctime>
#include <tuple>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// While new files wait to stop growing, they are looked at this often even
// when no notification comes.
constexpr int kWaitingLookMs = 250;

// The marker in the plot's top right corner, inside the frame.
constexpr int kMarkerSize = 7;
constexpr QRgb kMarkerColor = 0xFF00A000;

double ThreadCpuSeconds()
{
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

std::set<std::string> ListedNames(const std::string& dir, const std::string& filter)
{
    TSearchFiles files;
    files.DispFile = dfFile;
    files.ExtFilter = filter;
    files.SortStyle = ssNoSort;
    files.Execute(dir);
    std::set<std::string> names;
    for (int i = 0; i < files.Count(); ++i)
        names.insert(files.GetFileName(i));
    return names;
}

// Why a followed directory can no longer be followed; empty while it can.
QString DirectoryTrouble(const std::string& dir)
{
    struct stat info { };
    if (::stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return AppText::tr("Follow mode is off: the folder is gone: %1").arg(FileNameToText(dir));
    if (::access(dir.c_str(), R_OK | X_OK) != 0)
        return AppText::tr("Follow mode is off: the folder cannot be read: %1").arg(FileNameToText(dir));
    return {};
}

}   // namespace

FollowWatch::FollowWatch(QObject* owner) : Watcher(new QFileSystemWatcher(owner)), Timer(new QTimer(owner))
{
    Timer->setSingleShot(true);
    SinceLook.start();
}

FollowWatch::~FollowWatch()
{
    Timer->stop();
    QObject::disconnect(Timer, nullptr, nullptr, nullptr);
    QObject::disconnect(Watcher, nullptr, nullptr, nullptr);
    Timer->deleteLater();
    Watcher->deleteLater();
}

bool TForm1::Following() const
{
    return m_follow != nullptr;
}

void TForm1::ToggleFollowing()
{
    SetFollowing(!Following());
}

void TForm1::SetFollowing(bool on)
{
    if (on == Following())
        return;
    m_followUsed = true;
    if (on) {
        m_follow = std::make_unique<FollowWatch>(this);
        connect(m_follow->Timer, &QTimer::timeout, this, [this] { Guarded([this] { LookAtFollowedFiles(); }); });
        // A logger appending a line a millisecond would wake the window a
        // thousand times a second: the file leaves the watch until the look,
        // which watches it again before it reads.
        connect(m_follow->Watcher, &QFileSystemWatcher::fileChanged, this, [this](const QString& path) {
            m_follow->Watcher->removePath(path);
            m_follow->FileChanged = true;
            ScheduleFollowLook();
        });
        connect(m_follow->Watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
            m_follow->DirectoryChanged = true;
            ScheduleFollowLook();
        });
        WatchFollowedFiles();
        TakeLoadMark();
        AppendTestLog("follow on");
    } else {
        m_follow.reset();
    }
    // The marker comes and goes with the mode.
    DrawGraphIntoPicture();
    m_plotView->update();
    if (m_largeView)
        m_largeView->SetFollowing(on);
}

void TForm1::DrawFollowMarker()
{
    QPainter painter(&m_picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(kMarkerColor));
    const int right = PlotRect.Left + PlotRect.Width - 3;
    painter.drawEllipse(QRect(right - kMarkerSize, PlotRect.Top + 3, kMarkerSize, kMarkerSize));
}

void TForm1::ScheduleFollowLook()
{
    if (!m_follow || m_follow->Timer->isActive())
        return;
    // Cost as the processor time the look took: time spent waiting for an
    // error box or for a busy processor is not the look's.
    const qint64 cost = static_cast<qint64>(kFollowCostShare * 1000 * m_follow->LastLookCost);
    const qint64 interval = std::clamp<qint64>(cost, kFollowLookIntervalMs, kFollowLookMaxIntervalMs);
    const qint64 since = m_follow->SinceLook.elapsed();
    m_follow->Timer->start(static_cast<int>(std::max<qint64>(interval - since, 0)));
}

void TForm1::WatchFollowedFiles()
{
    FollowWatch& watch = *m_follow;
    const TraceSlot& newest = State.Traces[0];
    // New files are looked for once a file is shown: its extension makes the listing.
    const std::string dir = newest.Loaded() ? State.CurrentDir : std::string();
    const std::string& filter = m_navigator.Listing().ExtFilter;
    if (dir != watch.WatchedDir || filter != watch.WatchedFilter) {
        if (!watch.WatchedDir.empty())
            watch.Watcher->removePath(FileNameToText(watch.WatchedDir));
        watch.WatchedDir = dir;
        watch.WatchedFilter = filter;
        watch.Waiting.clear();
        watch.DirectoryChanged = false;
        watch.Known.clear();
        if (!dir.empty()) {
            watch.Watcher->addPath(FileNameToText(dir));
            watch.Known = ListedNames(dir, filter);
        }
    }
    const std::string file = newest.Loaded() ? newest.Name : std::string();
    const QString fileText = FileNameToText(file);
    const bool sameFile = file == watch.WatchedFile;
    if (!sameFile) {
        if (!watch.WatchedFile.empty())
            watch.Watcher->removePath(FileNameToText(watch.WatchedFile));
        watch.WatchedFile = file;
    }
    // A file deleted or renamed over drops out of the watch; the one of that
    // name now is watched again, and read, since it may be another.
    if (!file.empty() && !watch.Watcher->files().contains(fileText) && watch.Watcher->addPath(fileText) && sameFile)
        watch.FileChanged = true;
}

void TForm1::FollowLoadedFile(const LoadResult& load)
{
    m_loadMark = MarkOfLoad(load);
    m_loadMarkTable = State.Traces[0].Table.get();
    if (!m_follow)
        return;
    WatchFollowedFiles();
    TakeLoadMark();
}

void TForm1::TakeLoadMark()
{
    FollowWatch& watch = *m_follow;
    const TraceSlot& newest = State.Traces[0];
    // Only for the table that load made: a step back or a failed ReDraw may
    // have brought another to slot 0 since.
    watch.Mark = newest.Loaded() && newest.Table.get() == m_loadMarkTable ? m_loadMark : FollowMark{};
    watch.MarkedTable = newest.Table.get();
    watch.MarkedName = newest.Name;
    watch.ReadErrorShown = false;
}

void TForm1::LookAtFollowedFiles()
{
    if (!m_follow)
        return;
    FollowWatch& watch = *m_follow;
    if (watch.Looking || m_loading) {
        ScheduleFollowLook();
        return;
    }
    watch.Looking = true;
    watch.SinceLook.restart();
    const double cpuAtStart = ThreadCpuSeconds();

    if (!watch.WatchedDir.empty()) {
        if (const QString trouble = DirectoryTrouble(watch.WatchedDir); !trouble.isEmpty()) {
            // Off first: the box runs the event loop, and nothing is to be looked at meanwhile.
            SetFollowing(false);
            AppendTestLog("follow off");
            Modals.Error(this, trouble);
            return;
        }
    }
    WatchFollowedFiles();
    // Both, every look: a new file must not wait for the shown one to rest.
    const bool grown = FollowShownFile();
    const bool stepped = m_follow && FollowNewFiles();
    if (grown || stepped)
        AppendTestLog("follow shown " + State.Traces[0].Name + " " + std::to_string(State.Traces[0].Points));

    // The error box of a look may have ended follow mode.
    if (!m_follow)
        return;
    m_follow->Looking = false;
    m_follow->LastLookCost = ThreadCpuSeconds() - cpuAtStart;
    if (!m_follow->Waiting.empty() && !m_follow->Timer->isActive())
        m_follow->Timer->start(kWaitingLookMs);
}

bool TForm1::FollowShownFile()
{
    FollowWatch& watch = *m_follow;
    TraceSlot& slot = State.Traces[0];
    if (!watch.FileChanged || !slot.Loaded())
        return false;
    watch.FileChanged = false;
    // Another load into slot 0 (a step, ReDraw) starts the mark again.
    if (slot.Table.get() != watch.MarkedTable || slot.Name != watch.MarkedName) {
        watch.Mark = FollowMark{};
        watch.MarkedName = slot.Name;
        watch.ReadErrorShown = false;
    }
    const FollowResult result = UpdateFollowedSlot(slot, watch.Mark, ChooseColumns(State, false, slot.Columns));
    watch.MarkedTable = slot.Table.get();
    if (result.Change == FollowChange::Appended || result.Change == FollowChange::Reloaded)
        m_loadMarkTable = nullptr;   // the load's mark no longer tells what the table holds
    switch (result.Change) {
    case FollowChange::Reloaded:
        // Another file under the same name: the red cursor belonged to the old one.
        ClearRedCursor(State);
        HideDeltaReadouts();
        [[fallthrough]];
    case FollowChange::Appended:
        watch.ReadErrorShown = false;
        PaintGraph();
        return true;
    case FollowChange::Refused:
        if (!watch.ReadErrorShown) {
            watch.ReadErrorShown = true;
            Modals.Error(this, RefusalLine(LoadErrorMessage(result.Error), FileNameToText(slot.Name)));
        }
        return false;
    case FollowChange::Gone:
    case FollowChange::Unchanged: break;
    }
    return false;
}

bool TForm1::FollowNewFiles()
{
    FollowWatch& watch = *m_follow;
    if (watch.WatchedDir.empty())
        return false;
    if (watch.DirectoryChanged) {
        watch.DirectoryChanged = false;
        std::set<std::string> listed = ListedNames(watch.WatchedDir, m_navigator.Listing().ExtFilter);
        for (const std::string& name : listed)
            if (!watch.Known.count(name) && !watch.Waiting.count(name))
                watch.Waiting[name].Still.start();
        // A file removed and made again later is new then.
        std::erase_if(watch.Known, [&listed](const std::string& name) { return !listed.count(name); });
    }

    std::string newest;
    timespec newestTime{};
    for (auto it = watch.Waiting.begin(); it != watch.Waiting.end();) {
        FollowWatch::Candidate& candidate = it->second;
        struct stat info { };
        if (::stat((watch.WatchedDir + it->first).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            it = watch.Waiting.erase(it);
            continue;
        }
        if (info.st_size != candidate.Size || !SameFileTime(info.st_mtim, candidate.Modified)) {
            candidate.Size = info.st_size;
            candidate.Modified = info.st_mtim;
            candidate.Still.restart();
            ++it;
            continue;
        }
        if (candidate.Still.elapsed() < kFollowSettleMs) {
            ++it;
            continue;
        }
        // Of several written meanwhile, the one written last is shown.
        if (newest.empty() ||
            std::tie(info.st_mtim.tv_sec, info.st_mtim.tv_nsec) >= std::tie(newestTime.tv_sec, newestTime.tv_nsec)) {
            newest = it->first;
            newestTime = info.st_mtim;
        }
        watch.Known.insert(it->first);
        it = watch.Waiting.erase(it);
    }
    if (newest.empty())
        return false;

    // As a step to it: the listing made again, the directory's settings not
    // read. A Cancel leaves the listing and the column choice as they were.
    const std::string path = watch.WatchedDir + newest;
    DirectoryNavigator::Place left = m_navigator.Relist(path);
    const bool redetect = State.RedetectColumns;
    State.RedetectColumns = false;
    const LoadResult result = LoadFile(path);
    ReportRefusal(result, path);
    if (result.Error == LoadError::Cancelled) {
        m_navigator.Return(std::move(left));
        State.RedetectColumns = redetect;
    }
    if (!result)
        return false;
    PaintGraph();
    return true;
}

void TForm1::ReadFollowSettings(const ProfileFile& ini)
{
    m_followUsed = !ini.ReadSectionKeys(kFollowSection).empty();
    m_followWasOn = ini.ReadBool(kFollowSection, kFollowOnKey, false);
}

// Written only once follow mode has been used, so a settings file of someone
// who never did keeps exactly its old layout.
void TForm1::WriteFollowSettings(ProfileFile& ini) const
{
    if (m_followUsed)
        ini.WriteBool(kFollowSection, kFollowOnKey, Following());
}
