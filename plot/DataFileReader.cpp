// SPDX-License-Identifier: MIT
#include "DataFileReader.h"

#include "DataFileColumns.h"
#include "DataFileLines.h"
#include "DataFileParts.h"
#include "DataFilePasses.h"
#include "UniqueFd.h"
#include "VectorState.h"

#include <cerrno>
#include <fcntl.h>
#include <future>
#include <map>
#include <mutex>
#include <new>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

LoadResult Refuse(LoadError error)
{
    if (error == LoadError::None)
        return {};
    LoadResult refused;
    refused.Ok = false;
    refused.Error = error;
    refused.Message = LoadErrorMessage(error);
    return refused;
}

namespace {

TablePtr AllocateTable(const DataFileReaderHooks& hooks, std::size_t points)
{
    try {
        return hooks.Alloc ? hooks.Alloc(kAxisCount, points) : AllocTable(kAxisCount, points);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// What tells a second pass that the file is still the one the first pass
// read. A file changed in between is read in one pass, which is what answers
// for a changed file.
bool SameSizeAndTime(const FileStamp& a, const FileStamp& b)
{
    return a.Size == b.Size && SameFileTime(a.Modified, b.Modified);
}

std::vector<FilePart> PartsToRead(int fd, off_t fileSize, unsigned wanted)
{
    if (fileSize < 0)
        return {};
    const auto size = static_cast<std::uint64_t>(fileSize);
    const unsigned parts = wanted != 0 ? wanted : ReadPartsFor(size, std::thread::hardware_concurrency());
    if (parts < 2)
        return {};
    std::vector<FilePart> split = SplitAtLineFeeds(fd, size, parts);
    if (split.size() < 2)
        split.clear();
    return split;
}

// Far more than the file system clock's tick.
constexpr double kStampSettleSeconds = 0.05;

double SecondsBetween(const timespec& earlier, const timespec& later)
{
    return double(later.tv_sec - earlier.tv_sec) + double(later.tv_nsec - earlier.tv_nsec) * 1e-9;
}

// The file's last change lies well before now.
bool SettledSince(const FileStamp& stamp)
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return SecondsBetween(stamp.Changed, now) > kStampSettleSeconds;
}

FileStamp StampFrom(const struct stat& info)
{
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

FileStamp StampOfDescriptor(int fd)
{
    struct stat info { };
    return ::fstat(fd, &info) == 0 ? StampFrom(info) : FileStamp{};
}

// The whole file from its start, as one part; a watched load counts its
// bytes and fails its next read once cancelled.
DataFileLines::ReadFunction WholeFileReader(int fd, ReadWatch* watch)
{
    return PartReader(fd, FilePart{}, true, watch);
}

// The first pass: the data lines and the columns of the first, and the parts
// the second pass reads (none: one pass over the whole).
LoadError CountPass(int fd, off_t size, const DataFileReaderHooks& hooks, DataLineCount& count,
                    std::vector<FilePart>& parts)
{
    parts = PartsToRead(fd, size, hooks.ReadParts);
    bool counted = false;
    if (!parts.empty()) {
        bool failed = false;
        counted = CountLinesInParts(fd, parts, count, failed, hooks.Watch);
        if (counted && failed)
            return LoadError::CannotRead;
        if (!counted || parts.size() < 2)
            parts.clear();
    }
    if (!counted) {
        DataFileLines lines(WholeFileReader(fd, hooks.Watch));
        if (!CountLinesOf(lines, count))
            return LoadError::CannotRead;
    }
    return LoadError::None;
}

// A first pass made ahead of time, kept for the load of the same file.
struct FirstPass {
    FileStamp Stamp;
    bool Settled = false;   // unchanged for a while when the count began
    DataLineCount Count;
    std::vector<FilePart> Parts;
};

struct EarlyCounts {
    std::mutex Lock;
    std::map<std::string, std::shared_future<std::optional<FirstPass>>> Running;
};

EarlyCounts& Early()
{
    static EarlyCounts counts;
    return counts;
}

// The early count of `name` when it was made of this very version of the
// file; waits for one still running.
std::optional<FirstPass> TakeEarlyCount(const std::string& name, const FileStamp& stamp)
{
    std::shared_future<std::optional<FirstPass>> running;
    {
        const std::lock_guard<std::mutex> hold(Early().Lock);
        const auto found = Early().Running.find(name);
        if (found == Early().Running.end())
            return std::nullopt;
        running = found->second;
        Early().Running.erase(found);
    }
    std::optional<FirstPass> pass;
    try {
        pass = running.get();
    } catch (const std::exception&) {
        return std::nullopt;   // the load counts for itself
    }
    if (!pass || !pass->Settled || !(pass->Stamp == stamp))
        return std::nullopt;
    return pass;
}

LoadResult ReadInto(PreparedLoad& read, const LoadInputs& inputs, const std::string& name,
                    const DataFileReaderHooks& hooks)
{
    ClearUpperVectorState();
    UniqueFd fd;
    if (const LoadError error = OpenDataFile(name, fd); error != LoadError::None)
        return Refuse(error);
    const FileStamp stamp = StampOfDescriptor(fd.Get());
    // File times come from a coarse clock: a file changed within one of its
    // ticks of the read could change again without its times showing it.
    const bool settled = SettledSince(stamp);

    DataLineCount count;
    std::vector<FilePart> parts;
    if (std::optional<FirstPass> early = TakeEarlyCount(name, stamp)) {
        count = early->Count;
        parts = std::move(early->Parts);
    } else if (const LoadError error = CountPass(fd.Get(), stamp.Size, hooks, count, parts); error != LoadError::None) {
        return Refuse(error);
    }

    // Slot 0 is the file that slot 1 will hold once this load is committed.
    read.Redetect = count.Columns != inputs.NewestColumns ? inputs.AutoDet : inputs.RedetectColumns;
    const ColumnChoice choice = ChooseColumnsFromMap(inputs.ColumnMap, read.Redetect, count.Columns);

    TraceSlot& fresh = read.Fresh;
    fresh.Table = AllocateTable(hooks, count.Lines);
    if (!fresh.Table)
        return Refuse(LoadError::AllocationFailure);

    if (hooks.BetweenPasses)
        hooks.BetweenPasses();

    // Both passes read through the one descriptor, so a file deleted or
    // renamed over in between is still read as it was; only a file cut short
    // in place comes back with fewer lines.
    const bool filled = !parts.empty() && SameSizeAndTime(StampOfDescriptor(fd.Get()), stamp) &&
        ReadDataColumnsInParts(fd.Get(), parts, choice, fresh, hooks.Watch);
    if (!filled) {
        DataFileLines lines(WholeFileReader(fd.Get(), hooks.Watch));
        const std::size_t rows = ReadDataColumns(lines, choice, fresh);
        if (lines.Failed())
            return Refuse(LoadError::CannotRead);
        if (rows < count.Lines)
            return Refuse(LoadError::FileChanged);
    }

    fresh.Name = name;
    fresh.Points = count.Lines;
    fresh.Columns = count.Columns;
    LoadResult loaded;
    loaded.Columns = choice;
    loaded.Stamp = stamp;
    loaded.HeldStill = stamp.Size >= 0 && StampOfDescriptor(fd.Get()) == stamp;
    read.Steady = settled && loaded.HeldStill;
    loaded.EndedAtCtrlZ = count.CtrlZ;
    char last = 0;
    loaded.EndsWithLineFeed = stamp.Size > 0 && ::pread(fd.Get(), &last, 1, stamp.Size - 1) == 1 && last == '\n';
    return loaded;
}

void ShiftHistory(PlotState& state, TraceSlot&& newest)
{
    FreeTable(state.Traces[kHistorySlots - 1].Table);
    for (int k = kHistorySlots - 1; k >= 1; --k)
        state.Traces[k] = std::move(state.Traces[k - 1]);
    state.Traces[0] = std::move(newest);
}

}   // namespace

LoadError OpenDataFile(const std::string& name, UniqueFd& out)
{
    if (name.size() > kMaxDataFileName || name.find('\0') != std::string::npos)
        return LoadError::NameTooLong;
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        switch (errno) {
        case ENOENT:
        case ENOTDIR: return LoadError::NotFound;
        case ENAMETOOLONG: return LoadError::NameTooLong;
        case ENXIO:
        case EISDIR: return LoadError::NotRegularFile;
        default: return LoadError::CannotRead;
        }
    }
    out = UniqueFd(fd);
    struct stat info { };
    if (::fstat(fd, &info) != 0)
        return LoadError::CannotRead;
    if (!S_ISREG(info.st_mode))
        return LoadError::NotRegularFile;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return LoadError::CannotRead;
    return LoadError::None;
}

const char* LoadErrorMessage(LoadError error)
{
    switch (error) {
    case LoadError::None: break;
    case LoadError::NameTooLong: return kMessageNameTooLong;
    case LoadError::NotFound: return kMessageNotFound;
    case LoadError::NotRegularFile: return kMessageNotRegularFile;
    case LoadError::CannotRead: return kMessageCannotRead;
    case LoadError::FileChanged: return kMessageFileChanged;
    case LoadError::AllocationFailure: return kMessageAllocationFailure;
    case LoadError::Cancelled: return kMessageCancelled;
    }
    return "";
}

LoadResult LoadDataFile(PlotState& state, const std::string& name)
{
    return LoadDataFile(state, name, DataFileReaderHooks{});
}

LoadResult LoadDataFile(PlotState& state, const std::string& name, const DataFileReaderHooks& hooks)
{
    return CommitDataFile(state, ReadDataFile(LoadInputs::Of(state), name, hooks));
}

bool FileStamp::operator==(const FileStamp& other) const
{
    return Device == other.Device && Inode == other.Inode && Size == other.Size &&
        SameFileTime(Modified, other.Modified) && SameFileTime(Changed, other.Changed);
}

FileStamp StampOf(const std::string& name)
{
    struct stat info { };
    return ::stat(name.c_str(), &info) == 0 ? StampFrom(info) : FileStamp{};
}

void StartEarlyCount(const std::string& name)
{
    auto count = [name]() -> std::optional<FirstPass> {
        UniqueFd fd;
        if (OpenDataFile(name, fd) != LoadError::None)
            return std::nullopt;
        FirstPass pass;
        pass.Stamp = StampOfDescriptor(fd.Get());
        pass.Settled = SettledSince(pass.Stamp);
        if (CountPass(fd.Get(), pass.Stamp.Size, DataFileReaderHooks{}, pass.Count, pass.Parts) != LoadError::None)
            return std::nullopt;
        // A file that changed meanwhile is counted again by its load.
        if (!(StampOfDescriptor(fd.Get()) == pass.Stamp))
            return std::nullopt;
        return pass;
    };
    try {
        std::shared_future<std::optional<FirstPass>> running = std::async(std::launch::async, count).share();
        const std::lock_guard<std::mutex> hold(Early().Lock);
        Early().Running[name] = std::move(running);
    } catch (const std::exception&) {
        // No thread to be had: the load counts for itself.
    }
}

LoadInputs LoadInputs::Of(const PlotState& state)
{
    return {state.Traces[0].Columns, state.AutoDet, state.RedetectColumns, state.ColumnMap};
}

PreparedLoad ReadDataFile(const LoadInputs& inputs, const std::string& name, const DataFileReaderHooks& hooks)
{
    PreparedLoad read;
    // Workers read through here, where an exception would end the program.
    try {
        read.Result = ReadInto(read, inputs, name, hooks);
    } catch (const std::bad_alloc&) {
        read = PreparedLoad{};
        read.Result = Refuse(LoadError::AllocationFailure);
    } catch (const std::exception&) {
        read = PreparedLoad{};
        read.Result = Refuse(LoadError::CannotRead);
    }
    if (!read.Result && hooks.Watch && hooks.Watch->Cancel.load())
        read.Result = Refuse(LoadError::Cancelled);
    return read;
}

LoadResult CommitDataFile(PlotState& state, PreparedLoad&& read)
{
    if (!read.Result)
        return read.Result;
    ShiftHistory(state, std::move(read.Fresh));
    state.RedetectColumns = read.Redetect;
    ApplyColumnChoice(state, read.Result.Columns);
    ClearRedCursor(state);
    return read.Result;
}

bool CountDataLines(const std::string& path, std::size_t& lines, int& columns)
{
    lines = 0;
    columns = 0;
    UniqueFd fd;
    if (OpenDataFile(path, fd) != LoadError::None)
        return false;
    DataFileLines reader(WholeFileReader(fd.Get(), nullptr));
    DataLineCount count;
    const bool ok = CountLinesOf(reader, count);
    lines = count.Lines;
    columns = count.Columns;
    return ok;
}

void ClearRedCursor(PlotState& state)
{
    state.RedCursorX = kNoCursor;
    state.RedCursorY = kNoCursor;
}
