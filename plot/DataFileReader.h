// SPDX-License-Identifier: MIT
// The only reader of data files. LoadDataFile pushes the trace history down by
// one slot and fills slot 0 with the named file; it never paints.
//
// A load either completes or changes nothing: the file is read twice (once to
// size the table, once to fill a fresh one) before the history shifts, so a
// refused load leaves every slot, the column map, the flags and the controls
// exactly as they were.
#pragma once

#include "DataFileColumns.h"
#include "DataTable.h"
#include "PlotState.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <sys/types.h>

class UniqueFd;

enum class LoadError {
    None,
    NameTooLong,   // over kMaxDataFileName bytes, or holding a NUL byte
    NotFound,
    NotRegularFile,   // a directory, a FIFO, a device ...
    CannotRead,       // no permission, or a read error
    FileChanged,      // fewer data lines on the second pass than on the first
    AllocationFailure,
    Cancelled,   // stopped through its ReadWatch; nothing to tell the user
};

// Texts for the caller to show.
inline constexpr const char* kMessageNameTooLong = "File name too long";
inline constexpr const char* kMessageNotFound = "File not found";
inline constexpr const char* kMessageNotRegularFile = "Not a regular file";
inline constexpr const char* kMessageCannotRead = "Cannot read the file";
inline constexpr const char* kMessageFileChanged = "The file changed while it was read";
inline constexpr const char* kMessageAllocationFailure = "Allocation Failure!";
inline constexpr const char* kMessageCancelled = "Cancelled";

// The text for an error (empty for None).
const char* LoadErrorMessage(LoadError error);

// File times, to the nanosecond.
inline bool SameFileTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// What tells one version of a file from another: a file replaced by a copy
// that keeps size and modification time (cp -p, then mv) still has another
// inode and change time.
struct FileStamp {
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = -1;
    timespec Modified{};
    timespec Changed{};

    bool operator==(const FileStamp& other) const;
};
// The stamp of the named file now; Size -1 when there is none.
FileStamp StampOf(const std::string& name);

struct LoadResult {
    bool Ok = true;
    LoadError Error = LoadError::None;
    std::string Message;    // for the caller to show when !Ok; the history is then unchanged
    ColumnChoice Columns;   // the columns the load was read with; the window shows a re-detected choice
    // What a loaded table holds of its file, for following it as it grows:
    // the data lines of the first Stamp.Size bytes when the file held still
    // while it was read.
    FileStamp Stamp;
    bool HeldStill = false;
    bool EndsWithLineFeed = false;   // the last of those bytes ends a line
    bool EndedAtCtrlZ = false;       // nothing after a Ctrl-Z in them is data
    explicit operator bool() const { return Ok; }
};

// The result of a load refused for `error`: not Ok, with its message (an Ok
// result for None).
LoadResult Refuse(LoadError error);

// Longest name the reader takes: the system's path limit less its NUL. Names
// come completed against their directory, so the limit on what a user types
// is applied before they get here. A longer name is refused, never cut: a cut
// name opens another file.
inline constexpr std::size_t kMaxDataFileName = 4095;

// Lets a load on another thread be followed and stopped: every block read
// adds its size to BytesRead (both passes count, so a load reads about twice
// the file), and once Cancel is set the next block read fails and the load
// ends with LoadError::Cancelled.
struct ReadWatch {
    std::atomic<bool> Cancel{false};
    std::atomic<std::uint64_t> BytesRead{0};
};

// Seams for tests: a step run between the two passes (to change the file under
// the reader), a replacement for AllocTable (to make allocation fail) and the
// number of parts the passes read at once (0: as the file's size and the
// cores decide; 1: one part; more: that many, however small the file).
struct DataFileReaderHooks {
    std::function<void()> BetweenPasses;
    std::function<TablePtr(int rows, std::size_t n)> Alloc;
    unsigned ReadParts = 0;
    ReadWatch* Watch = nullptr;   // a load on another thread: followed and stoppable
};

// What a load takes from the state: the newest slot's column count, the
// column flags and the column map.
struct LoadInputs {
    std::int32_t NewestColumns = 0;
    bool AutoDet = false;
    bool RedetectColumns = false;
    std::array<std::int32_t, kAxisCount> ColumnMap{0, 1, 2, 3};

    static LoadInputs Of(const PlotState& state);
    bool operator==(const LoadInputs&) const = default;
};

// A file read but not yet in the history.
struct PreparedLoad {
    LoadResult Result;
    TraceSlot Fresh;
    bool Redetect = false;
    // The file held still while it was read (Result.HeldStill), and had not
    // changed for a while when the read began: Result.Stamp then tells any
    // later change.
    bool Steady = false;
};

// The reading half of a load. It touches no state, so it may run on another
// thread while the window goes on.
PreparedLoad ReadDataFile(const LoadInputs& inputs, const std::string& name, const DataFileReaderHooks& hooks);
// The committing half: the history shifts and the column choice is taken.
// A refused read changes nothing and returns its refusal.
LoadResult CommitDataFile(PlotState& state, PreparedLoad&& read);

// Opens a regular file for reading into `out`. The open never waits: a FIFO
// without a writer would otherwise block the window until someone writes to it.
LoadError OpenDataFile(const std::string& name, UniqueFd& out);

LoadResult LoadDataFile(PlotState& state, const std::string& name);
LoadResult LoadDataFile(PlotState& state, const std::string& name, const DataFileReaderHooks& hooks);

// Begins the first pass over the named file on a worker, ahead of its load
// (the file named at start-up, while the application and the window are
// being made). The load takes the count when the file is still the very
// version counted and had settled before; otherwise it counts again.
void StartEarlyCount(const std::string& name);

// First pass on its own: the number of data lines, and the column count of the
// first one. Returns false when the file cannot be read as a regular file.
bool CountDataLines(const std::string& path, std::size_t& lines, int& columns);

// Forgets the red reference cursor; the window hides the difference read-outs.
void ClearRedCursor(PlotState& state);
