// SPDX-License-Identifier: MIT
// How TSearchFiles reads a Linux directory into FileBlock records.
//
// Listing is done in two passes so that only the entries that survive the
// filters pay for a stat call: ReadEntryNames takes the names and whether
// each entry is a directory, ReadEntryDetails fills size, attributes, date
// and time of what is left.
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

// Copies name into block.EntryName; false (and the name left empty) when it
// does not fit with its terminating zero.
bool SetEntryName(FileBlock& block, std::string_view name);

// A name starting with "." other than "." and ".." itself.
bool IsHiddenName(std::string_view name);

// Local time of t in the packed 16-bit date and time. Times outside
// 1980-01-01 00:00:00 .. 2107-12-31 23:59:58 are clamped to that range.
void PackDosDateTime(time_t t, uint16_t& date, uint16_t& time);

// Attribute bits of an entry with this status and name.
uint32_t AttribFromStat(const struct stat& st, std::string_view name);

// Appends one record per entry of dir, "." and ".." included, with EntryName
// and the directory and hidden bits set. Names too long for a record are
// left out.
void ReadEntryNames(DIR* dir, TFileList& out);

// Fills Size, Attrib, Date and Time of every record of list from the entry of
// that name in the directory dirFd. Entries that vanished since they were
// listed, or turned from file into directory or back, are removed.
void ReadEntryDetails(int dirFd, TFileList& list);
