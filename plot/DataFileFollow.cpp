// SPDX-License-Identifier: MIT
#include "DataFileFollow.h"

#include "DataFileLines.h"
#include "DataFileParts.h"
#include "DataFilePasses.h"
#include "LineScanner.h"
#include "UniqueFd.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// The data lines of bytes [begin, end): how many, the values on the first,
// and whether a Ctrl-Z ended them.
struct StretchCount {
    DataLineCount Count;
    bool Failed = false;
};

StretchCount CountStretch(int fd, std::uint64_t begin, std::uint64_t end)
{
    DataFileLines lines(PartReader(fd, FilePart{begin, end, 0}, false));
    StretchCount result;
    result.Failed = !CountLinesOf(lines, result.Count);
    return result;
}

// Reads the complete lines of the whole file into a fresh table in place of
// the slot's; the slot keeps its name.
FollowResult Reload(int fd, const struct stat& info, TraceSlot& slot, FollowMark& mark, const ColumnChoice& choice)
{
    const auto size = static_cast<std::uint64_t>(info.st_size);
    const std::int64_t feed = LastLineFeed(fd, 0, size);
    const std::uint64_t complete = feed < 0 ? 0 : static_cast<std::uint64_t>(feed) + 1;
    const StretchCount stretch = CountStretch(fd, 0, complete);
    if (stretch.Failed)
        return {FollowChange::Refused, LoadError::CannotRead};

    TraceSlot fresh;
    fresh.Table = AllocTable(kAxisCount, stretch.Count.Lines);
    if (!fresh.Table)
        return {FollowChange::Refused, LoadError::AllocationFailure};
    DataFileLines lines(PartReader(fd, FilePart{0, complete, 0}, false));
    const std::size_t rows = ReadDataColumns(lines, choice, fresh);
    if (lines.Failed())
        return {FollowChange::Refused, LoadError::CannotRead};
    if (rows < stretch.Count.Lines) {
        // Cut short while it was read: the next look starts again.
        mark.Valid = false;
        return {};
    }
    fresh.Name = std::move(slot.Name);
    fresh.Points = stretch.Count.Lines;
    fresh.Columns = stretch.Count.Columns;
    slot = std::move(fresh);
    mark = FollowMark{true, info.st_dev, info.st_ino, complete, size, stretch.Count.CtrlZ};
    return {FollowChange::Reloaded, LoadError::None};
}

FollowResult Append(int fd, std::uint64_t size, TraceSlot& slot, FollowMark& mark, const ColumnChoice& choice)
{
    const std::uint64_t unseen = std::max(mark.Bytes, mark.NoFeedBefore);
    const std::int64_t feed = LastLineFeed(fd, unseen, size);
    if (feed < 0) {
        mark.NoFeedBefore = size;
        return {};
    }
    const std::uint64_t complete = static_cast<std::uint64_t>(feed) + 1;
    const StretchCount stretch = CountStretch(fd, mark.Bytes, complete);
    if (stretch.Failed)
        return {FollowChange::Refused, LoadError::CannotRead};
    const std::size_t added = stretch.Count.Lines;
    if (added == 0) {
        mark.Bytes = complete;
        mark.Stopped = stretch.Count.CtrlZ;
        return {};
    }

    DataTable& table = *slot.Table;
    const std::size_t before = slot.Points;
    if (!table.Resize(before + added))
        return {FollowChange::Refused, LoadError::AllocationFailure};
    ValueRanges ranges;
    ranges.Present = slot.Present;
    ranges.Min = slot.Min;
    ranges.Max = slot.Max;
    DataFileLines lines(PartReader(fd, FilePart{mark.Bytes, complete, 0}, false));
    const std::size_t rows = ReadDataRows(lines, choice, table, before, added, ranges);
    if (lines.Failed() || rows < added) {
        // Cut short while it was read: what the slot showed stays, and the
        // next look reads the file again.
        table.Resize(before);
        mark.Valid = false;
        return lines.Failed() ? FollowResult{FollowChange::Refused, LoadError::CannotRead} : FollowResult{};
    }
    slot.Points = before + added;
    StoreRanges(ranges, choice, slot);
    mark.Bytes = complete;
    mark.NoFeedBefore = size;
    mark.Stopped = stretch.Count.CtrlZ;
    return {FollowChange::Appended, LoadError::None};
}

}   // namespace

FollowMark MarkOfLoad(const LoadResult& load)
{
    const FileStamp& stamp = load.Stamp;
    if (!load || !load.HeldStill || stamp.Size < 0 || !(stamp.Size == 0 || load.EndsWithLineFeed || load.EndedAtCtrlZ))
        return {};
    const auto size = static_cast<std::uint64_t>(stamp.Size);
    return FollowMark{true, stamp.Device, stamp.Inode, size, size, load.EndedAtCtrlZ};
}

std::int64_t LastLineFeed(int fd, std::uint64_t from, std::uint64_t to)
{
    constexpr std::size_t kBlock = 64 * 1024;
    std::vector<char> block(kBlock);
    while (to > from) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, to - from));
        const std::uint64_t at = to - want;
        ssize_t got;
        do
            got = ::pread(fd, block.data(), want, static_cast<off_t>(at));
        while (got < 0 && errno == EINTR);
        if (got < 0)
            return -1;
        // A file cut short meanwhile gives less: only what arrived is looked at.
        if (const void* feed = ::memrchr(block.data(), '\n', static_cast<std::size_t>(got)))
            return static_cast<std::int64_t>(at) + (static_cast<const char*>(feed) - block.data());
        to = at;
    }
    return -1;
}

FollowResult UpdateFollowedSlot(TraceSlot& slot, FollowMark& mark, const ColumnChoice& choice)
{
    if (!slot.Loaded())
        return {};
    UniqueFd fd;
    if (const LoadError error = OpenDataFile(slot.Name, fd); error != LoadError::None) {
        if (error == LoadError::NotFound)
            return {FollowChange::Gone, LoadError::None};
        return {FollowChange::Refused, error};
    }
    struct stat info { };
    if (::fstat(fd.Get(), &info) != 0)
        return {FollowChange::Refused, LoadError::CannotRead};
    const auto size = static_cast<std::uint64_t>(info.st_size);

    const bool sameFile = mark.Valid && info.st_dev == mark.Device && info.st_ino == mark.Inode;
    if (!sameFile || size < mark.Bytes)
        return Reload(fd.Get(), info, slot, mark, choice);
    if (mark.Stopped || size == mark.Bytes)
        return {};
    return Append(fd.Get(), size, slot, mark, choice);
}
