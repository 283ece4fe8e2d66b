// SPDX-License-Identifier: MIT
// Keeps a loaded trace up to date with a file that a logger is still
// writing. Only complete lines count: what follows the last line feed is
// left until its line feed arrives, so a value half written is never read.
// Lines appended since the last look are read on their own and added to the
// slot's table in place; a file that shrank or was replaced by another (a new
// inode) is read again from the start, also in place. The history never
// shifts here.
#pragma once

#include "DataFileColumns.h"
#include "DataFileReader.h"
#include "PlotState.h"

#include <cstdint>
#include <sys/types.h>

// What the slot holds of its file.
struct FollowMark {
    bool Valid = false;   // false: the next look reads the file again from the start
    dev_t Device = 0;
    ino_t Inode = 0;
    std::uint64_t Bytes = 0;          // the slot holds the data lines of bytes [0, Bytes), each ended by a line feed
    std::uint64_t NoFeedBefore = 0;   // bytes [Bytes, NoFeedBefore) are known to hold no line feed
    bool Stopped = false;             // a Ctrl-Z ended the lines: nothing after it is data
};

enum class FollowChange {
    Unchanged,   // nothing new, or only part of a line
    Appended,    // complete lines were added to the slot's table
    Reloaded,    // the file was read again from the start into the slot
    Gone,        // no file of that name any more; the slot is kept
    Refused,     // cannot be read, or no memory; the slot is kept as it was
};

struct FollowResult {
    FollowChange Change = FollowChange::Unchanged;
    LoadError Error = LoadError::None;   // why, when Refused
};

// What a load's table holds of its file: a mark from which appends are read,
// or, when that cannot be told (the file changed while it was read, or its
// last line had no line feed yet), one that reads the file again first.
FollowMark MarkOfLoad(const LoadResult& load);

// Looks at the slot's file once and brings the slot up to date. `choice` is
// the column choice to read new lines with (the current column map; the
// columns are not re-detected for a file that merely grows).
FollowResult UpdateFollowedSlot(TraceSlot& slot, FollowMark& mark, const ColumnChoice& choice);

// Offset of the last line feed in bytes [from, to) of the file, or -1 when
// there is none or it cannot be read.
std::int64_t LastLineFeed(int fd, std::uint64_t from, std::uint64_t to);
