// SPDX-License-Identifier: MIT
// What follow mode keeps between two looks: the platform's change
// notification on the browsed directory and the shown file, the timer that
// bundles a burst of notifications into one look, what slot 0 holds of its
// file, and the new files of the listing waiting to stop growing.
#pragma once

#include "DataFileFollow.h"

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QTimer>

#include <cstdint>
#include <ctime>
#include <map>
#include <set>
#include <string>

// Looks are at least this far apart, so a logger appending a thousand lines
// a second costs at most ten reads and paints a second; and at least ten
// times the last look's cost apart, so following never takes more than
// about a tenth of a core, however large the file or slow the paint.
inline constexpr int kFollowLookIntervalMs = 100;
inline constexpr int kFollowCostShare = 10;
// A one-off costly look (a large file read again) delays the next at most this.
inline constexpr int kFollowLookMaxIntervalMs = 1000;
// A new file counts as written once its size and modification time have
// stood still this long: a logger that closes a file within a second of its
// last line is shown a second later, one that pauses longer mid-file is
// shown early and then followed as it grows.
inline constexpr int kFollowSettleMs = 1000;

struct FollowWatch {
    // Made with the window as parent and handed to deleteLater at the end:
    // follow mode may end inside a look that one of their signals started.
    explicit FollowWatch(QObject* owner);
    ~FollowWatch();
    FollowWatch(const FollowWatch&) = delete;
    FollowWatch& operator=(const FollowWatch&) = delete;

    QFileSystemWatcher* Watcher;
    QTimer* Timer;
    QElapsedTimer SinceLook;
    double LastLookCost = 0;   // processor seconds
    bool Looking = false;      // a look is running (its error box may run the event loop)
    bool FileChanged = false;

    // The file and directory the notifications are for.
    std::string WatchedDir;
    std::string WatchedFilter;   // the listing's extension filter
    std::string WatchedFile;

    // What slot 0 holds of its file, and which slot 0 that was: another
    // load into slot 0 starts the mark again.
    FollowMark Mark;
    const DataTable* MarkedTable = nullptr;
    std::string MarkedName;
    bool ReadErrorShown = false;   // one box per file that cannot be read

    // The listing as last seen; a name not in it is new.
    std::set<std::string> Known;
    bool DirectoryChanged = false;
    struct Candidate {
        std::int64_t Size = -1;
        timespec Modified{};
        QElapsedTimer Still;   // since size and time last changed
    };
    std::map<std::string, Candidate> Waiting;
};
