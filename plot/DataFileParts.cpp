// SPDX-License-Identifier: MIT
#include "DataFileParts.h"

#include "EachOnThreads.h"
#include "LineScanner.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <thread>
#include <unistd.h>

namespace {

unsigned ReadThreads()
{
    return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxReadThreads);
}

// Runs work(0) .. work(n - 1), each once, on up to kMaxReadThreads threads.
template <typename Work> void RunParts(std::size_t n, const Work& work)
{
    RunEachOnThreads(n, ReadThreads(), work);
}

struct PartCount {
    DataLineCount Count;
    bool CtrlZ = false;
    bool Failed = false;
    bool Threw = false;
};

// Whether the byte before `offset` is a line feed.
bool StartsLine(int fd, std::uint64_t offset)
{
    char before = 0;
    return ::pread(fd, &before, 1, static_cast<off_t>(offset - 1)) == 1 && before == '\n';
}

// Whether a data line is left in `lines` (a read error counts as one).
bool MoreDataLines(DataFileLines& lines)
{
    std::string_view line;
    while (lines.Next(line))
        if (IsDataLine(line))
            return true;
    return lines.Failed();
}

}   // namespace

DataFileLines::ReadFunction PartReader(int fd, const FilePart& part, bool last, ReadWatch* watch)
{
    return [fd, pos = part.Begin, end = part.End, last, watch](char* into, std::size_t size) mutable -> ssize_t {
        const std::size_t want = last ? size : static_cast<std::size_t>(std::min<std::uint64_t>(size, end - pos));
        if (want == 0)
            return 0;
        if (watch && watch->Cancel.load(std::memory_order_relaxed))
            return -1;
        for (;;) {
            const ssize_t got = ::pread(fd, into, want, static_cast<off_t>(pos));
            if (got >= 0) {
                pos += static_cast<std::uint64_t>(got);
                if (watch)
                    watch->BytesRead.fetch_add(static_cast<std::uint64_t>(got), std::memory_order_relaxed);
                return got;
            }
            if (errno != EINTR)
                return -1;
        }
    };
}

unsigned ReadPartsFor(std::uint64_t size, unsigned cores)
{
    if (size < kSplitReadMinBytes || cores < 2)
        return 1;
    const auto bySize = static_cast<unsigned>(std::min<std::uint64_t>(size / kReadPartBytes, kMaxReadParts));
    return std::max(std::min(cores, kMaxReadThreads), bySize);
}

std::vector<FilePart> SplitAtLineFeeds(int fd, std::uint64_t size, unsigned parts)
{
    // Lines are short, so one small read past each point nearly always finds
    // a line feed.
    constexpr std::size_t kWindow = 4 * 1024;
    std::vector<FilePart> result;
    std::unique_ptr<char[]> window;
    std::uint64_t begin = 0;
    for (unsigned k = 1; k < parts; ++k) {
        const std::uint64_t point = size * k / parts;
        const std::uint64_t next = size * (k + 1) / parts;
        // A line feed just before the point lets a part start right at it.
        std::uint64_t pos = std::max(std::max<std::uint64_t>(point, 1) - 1, begin);
        std::uint64_t feed = next;
        // A stretch this long without a line feed is no table of numbers: the
        // part goes on instead of the search reading on through it.
        const std::uint64_t searchEnd = std::min(next, pos + kSplitSearchBytes);
        while (pos < searchEnd && feed == next) {
            if (!window)
                window.reset(new char[kWindow]);
            const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(kWindow, searchEnd - pos));
            ssize_t got;
            do
                got = ::pread(fd, window.get(), want, static_cast<off_t>(pos));
            while (got < 0 && errno == EINTR);
            if (got < 0)
                return {};
            if (got == 0)
                break;
            if (const void* lf = std::memchr(window.get(), '\n', static_cast<std::size_t>(got)))
                feed = pos + static_cast<std::uint64_t>(static_cast<const char*>(lf) - window.get());
            pos += static_cast<std::uint64_t>(got);
        }
        if (feed >= next || feed + 1 >= size)
            continue;
        result.push_back({begin, feed + 1, 0});
        begin = feed + 1;
    }
    result.push_back({begin, size, 0});
    return result;
}

bool CountLinesInParts(int fd, std::vector<FilePart>& parts, DataLineCount& count, bool& failed, ReadWatch* watch)
{
    std::vector<PartCount> counts(parts.size());
    RunParts(parts.size(), [&](std::size_t k) {
        PartCount& c = counts[k];
        try {
            DataFileLines lines(PartReader(fd, parts[k], k + 1 == parts.size(), watch));
            c.Failed = !CountLinesOf(lines, c.Count);
            c.CtrlZ = lines.EndedAtCtrlZ();
        } catch (...) {
            c.Threw = true;
        }
    });

    // In file order, as one pass would meet them: a read error or a Ctrl-Z
    // ends the file there, whatever the later parts found.
    failed = false;
    count = DataLineCount{};
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const PartCount& c = counts[k];
        if (c.Threw)
            return false;
        if (c.Failed) {
            failed = true;
            return true;
        }
        if (count.Lines == 0 && c.Count.Lines > 0)
            count.Columns = c.Count.Columns;
        count.Lines += c.Count.Lines;
        parts[k].Lines = c.Count.Lines;
        if (c.CtrlZ) {
            count.CtrlZ = true;
            parts.resize(k + 1);
            break;
        }
    }
    return true;
}

bool ReadDataColumnsInParts(int fd, const std::vector<FilePart>& parts, const ColumnChoice& choice, TraceSlot& slot,
                            ReadWatch* watch)
{
    DataTable& table = *slot.Table;
    std::vector<std::size_t> firstRow(parts.size());
    std::size_t rows = 0;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        firstRow[k] = rows;
        rows += parts[k].Lines;
    }
    if (rows != table.Points())
        return false;

    std::vector<ValueRanges> ranges(parts.size());
    std::vector<char> whole(parts.size(), 0);
    RunParts(parts.size(), [&](std::size_t k) {
        try {
            const bool last = k + 1 == parts.size();
            DataFileLines lines(PartReader(fd, parts[k], last, watch));
            // A file rewritten in place within one tick of its clock keeps
            // its size and times. Its parts then read as one pass only while
            // each still starts a line and holds just its counted lines.
            whole[k] = ReadDataRows(lines, choice, table, firstRow[k], parts[k].Lines, ranges[k]) == parts[k].Lines &&
                (k == 0 || StartsLine(fd, parts[k].Begin)) && (last || !MoreDataLines(lines));
        } catch (...) {
            whole[k] = 0;
        }
    });
    if (std::find(whole.begin(), whole.end(), 0) != whole.end())
        return false;

    ValueRanges all;
    for (const ValueRanges& part : ranges)
        MergeLaterRanges(all, part);
    StoreRanges(all, choice, slot);
    return true;
}
