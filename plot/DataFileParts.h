// SPDX-License-Identifier: MIT
// The reader's two passes run over parts of a large file at once, one thread
// per part, with results equal to the bit to those of one pass over the whole.
//
// A part starts right after a line feed (or at the start of the file) and
// ends right after one (or at the end). A line feed ends a line whatever came
// before it (the line length limit splits a line before its feed, never after
// it), so the lines of a part are those one pass over the whole file gives,
// as long as no Ctrl-Z came earlier: the parts after the one holding a Ctrl-Z
// are not part of the file and are dropped.
#pragma once

#include "DataFileColumns.h"
#include "DataFilePasses.h"
#include "DataFileReader.h"
#include "PlotState.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Smallest file whose passes are split. Starting the threads and finding
// the split points costs about 0.05 ms, and a MiB takes about 1.3 ms in one
// part. Measured on two cores shared with other work (best of 60 loads of
// the benchmark's lines, one part against two): below 256 KiB two parts
// always lost, by 18% to 53%; from 512 KiB to 4 MiB they won 10-15% while
// the other core had time to give, and lost 2-13% (at most 0.2 ms) while
// it had none. From 1 MiB the gain a free core brings (up to 0.6 ms) is
// three times the worst loss, and files of ten thousand lines (0.4 MB),
// which the wheel steps through, stay on one thread.
inline constexpr std::uint64_t kSplitReadMinBytes = std::uint64_t(1) << 20;
// Most threads that read the parts, whatever the cores: each holds a 1 MiB
// read buffer, and four keep that well inside the reader's memory budget of
// table + 16 MiB.
inline constexpr unsigned kMaxReadThreads = 4;
// The parts are handed to the threads one at a time as each is done, so a
// core slowed by other work reads fewer of them instead of holding up the
// rest. A large file is cut into parts of about this size (up to
// kMaxReadParts of them): the last one taken is then a short wait, while
// each part costs a read buffer and a split point (some 0.05 ms).
inline constexpr std::uint64_t kReadPartBytes = std::uint64_t(4) << 20;
inline constexpr unsigned kMaxReadParts = 32;

struct FilePart {
    std::uint64_t Begin = 0;
    std::uint64_t End = 0;   // the last part reads on to the end of the file, wherever it is then
    std::size_t Lines = 0;   // data lines, from the first pass
};

// Reads the part's bytes through its own offset, so readers share the
// descriptor without seeking it; the last part reads on to wherever the file
// ends.
// A watched read counts its bytes and fails once cancelled.
DataFileLines::ReadFunction PartReader(int fd, const FilePart& part, bool last, ReadWatch* watch = nullptr);

// How far past a split point SplitAtLineFeeds looks for a line feed.
inline constexpr std::uint64_t kSplitSearchBytes = std::uint64_t(1) << 20;

// How many parts a file of `size` bytes is read in, given the cores at hand:
// one part per thread up to kReadPartBytes each, more beyond.
unsigned ReadPartsFor(std::uint64_t size, unsigned cores);

// Splits the file into at most `parts` parts at the first line feed at or
// after each of the evenly spaced points. A stretch without a line feed joins
// the part before it, so fewer parts may come back; at least one always does.
// Returns an empty list on a read error.
std::vector<FilePart> SplitAtLineFeeds(int fd, std::uint64_t size, unsigned parts);

// The first pass over the parts at once; fills in each part's Lines and drops
// the parts after a Ctrl-Z. Sets `count` and `failed` as CountDataLines over
// the whole file would (failed: a read error before the end or a Ctrl-Z).
// Returns false when a part could not be read for want of memory; the caller
// then counts in one pass.
bool CountLinesInParts(int fd, std::vector<FilePart>& parts, DataLineCount& count, bool& failed,
                       ReadWatch* watch = nullptr);

// The second pass over the parts at once, into `slot` as ReadDataColumns
// fills it. False, with the slot's values undefined, when a part did not give
// its count from the first pass or could not be read: the caller then reads
// the file in one pass, which meets the same change or error and answers for
// it as it always has.
bool ReadDataColumnsInParts(int fd, const std::vector<FilePart>& parts, const ColumnChoice& choice, TraceSlot& slot,
                            ReadWatch* watch = nullptr);
