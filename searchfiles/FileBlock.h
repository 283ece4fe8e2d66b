// SPDX-License-Identifier: MIT
// One directory entry as TSearchFiles keeps it. GetFileBlock hands out copies
// of this record, so its layout (276 bytes, no padding) is part of the
// component's interface.
#pragma once

#include <cstddef>
#include <cstdint>

// Attribute bits of FileBlock::Attrib.
inline constexpr uint32_t kAttrReadOnly = 0x01;
inline constexpr uint32_t kAttrHidden = 0x02;
inline constexpr uint32_t kAttrSystem = 0x04;
inline constexpr uint32_t kAttrLabel = 0x08;
inline constexpr uint32_t kAttrDirectory = 0x10;
inline constexpr uint32_t kAttrArchive = 0x20;

// Room for a name of 259 bytes and its terminating zero.
inline constexpr std::size_t kEntryNameSize = 260;

struct FileBlock {
    uint32_t Reserved;                // always 0 here; kept for the record's layout
    int32_t Size;                     // low 32 bits of the size in bytes; 0 for directories
    uint32_t Attrib;                  // kAttr* bits
    uint16_t Time;                    // local last-write time: hour << 11 | minute << 5 | second / 2
    uint16_t Date;                    // local last-write date: (year - 1980) << 9 | month << 5 | day
    char EntryName[kEntryNameSize];   // name without directory, zero-terminated
};

static_assert(sizeof(FileBlock) == 276, "FileBlock must stay 276 bytes");
static_assert(offsetof(FileBlock, EntryName) == 16, "FileBlock fields must not be padded");
