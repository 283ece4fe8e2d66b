// SPDX-License-Identifier: MIT
// How TSearchFiles reads a Linux directory into FileBlock records.
//
// Listing takes only what readdir tells: the name and the kind of each
// entry. Size, permissions and write time cost a stat call per entry, several
// times the price of the listing itself, so DescribeEntry fetches them only
// for the entries someone asks about (or sorts by).
//
// Attribute bits: 0x10 for a directory, 0x20 for a regular file, 0x04 for
// the other kinds (FIFOs, sockets, devices), 0x01 when the owner has no
// write permission, 0x02 for names starting with "." other than "." and "..".
// A symbolic link counts as what it points to; a dangling one (or a loop)
// counts as a regular file described by the link itself.
#pragma once

#include "FileBlock.h"
#include "Searchfiles.h"

#include <cstdint>
#include <ctime>
#include <string_view>

#include <dirent.h>
#include <sys/stat.h>

inline constexpr uint16_t kEarliestDosDate = (0 << 9) | (1 << 5) | 1;   // 1980-01-01

// Copies name into block.EntryName; false (and the name left empty) when it
// does not fit with its terminating zero.
bool SetEntryName(FileBlock& block, std::string_view name);

// A name starting with "." other than "." and ".." itself.
bool IsHiddenName(std::string_view name);

// Local time of t in the packed 16-bit date and time. Times outside
// 1980-01-01 00:00:00 .. 2107-12-31 23:59:58 are clamped to that range.
void PackDosDateTime(time_t t, uint16_t& date, uint16_t& time);

// The kind bit of an entry of this mode: directory, regular file (a link
// that leads nowhere counts as one) or system for every other kind.
uint32_t KindFromMode(mode_t mode);

// Appends one record per entry of dir, "." and ".." included, with EntryName
// and the kind bits set (directory, regular file or other, hidden). Names too
// long for a record are left out.
void ReadEntryNames(DIR* dir, TFileList& out);

// Fills Size, Date, Time and the read-only bit of block from the entry of
// that name in the directory dirFd. An entry that is gone, cannot be
// examined, or has changed kind since it was listed keeps what the listing
// saw, with size 0 and the time 1980-01-01 00:00.
void DescribeEntry(int dirFd, FileBlock& block);
