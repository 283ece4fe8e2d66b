// SPDX-License-Identifier: MIT
#include "DirectoryEntries.h"

#include <cstring>

#include <fcntl.h>

namespace {

constexpr uint16_t kEarliestDate = kEarliestDosDate;
constexpr uint16_t kLatestDate = (127 << 9) | (12 << 5) | 31;         // 2107-12-31
constexpr uint16_t kLatestTime = (23 << 11) | (59 << 5) | (58 / 2);   // 23:59:58

// The kind bit of an entry as it is now; links are followed, and one that
// leads nowhere counts as a regular file.
uint32_t KindOfEntry(DIR* dir, const dirent& entry)
{
    switch (entry.d_type) {
    case DT_DIR: return kAttrDirectory;
    case DT_REG: return kAttrArchive;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat st;
        if (fstatat(dirfd(dir), entry.d_name, &st, 0) != 0)
            return kAttrArchive;
        return KindFromMode(st.st_mode);
    }
    default: return kAttrSystem;
    }
}

// Status of name in dirFd, following links; a dangling link or a link loop
// is described by the link itself.
bool LookUp(int dirFd, const char* name, struct stat& st)
{
    return fstatat(dirFd, name, &st, 0) == 0 || fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0;
}

}   // namespace

bool SetEntryName(FileBlock& block, std::string_view name)
{
    if (name.size() >= kEntryNameSize || name.find('\0') != std::string_view::npos) {
        block.EntryName[0] = '\0';
        return false;
    }
    std::memcpy(block.EntryName, name.data(), name.size());
    block.EntryName[name.size()] = '\0';
    return true;
}

bool IsHiddenName(std::string_view name)
{
    return !name.empty() && name[0] == '.' && name != "." && name != "..";
}

void PackDosDateTime(time_t t, uint16_t& date, uint16_t& time)
{
    struct tm local { };
    if (localtime_r(&t, &local) == nullptr) {
        // Only times far beyond any calendar fail here.
        date = t < 0 ? kEarliestDate : kLatestDate;
        time = t < 0 ? 0 : kLatestTime;
        return;
    }
    const int year = local.tm_year + 1900;
    if (year < 1980) {
        date = kEarliestDate;
        time = 0;
        return;
    }
    if (year > 2107) {
        date = kLatestDate;
        time = kLatestTime;
        return;
    }
    date = static_cast<uint16_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
    // A leap second (60) packs as 30, still inside the 5-bit field.
    time = static_cast<uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
}

uint32_t KindFromMode(mode_t mode)
{
    if (S_ISDIR(mode))
        return kAttrDirectory;
    if (S_ISREG(mode) || S_ISLNK(mode))
        return kAttrArchive;
    return kAttrSystem;
}

void ReadEntryNames(DIR* dir, TFileList& out)
{
    while (const dirent* entry = readdir(dir)) {
        auto block = std::make_unique<FileBlock>();
        // Linux names are at most 255 bytes, but the record has no room for more than 259.
        if (!SetEntryName(*block, entry->d_name))
            continue;
        block->Attrib = KindOfEntry(dir, *entry);
        if (IsHiddenName(block->EntryName))
            block->Attrib |= kAttrHidden;
        block->Date = kEarliestDate;
        out.push_back(std::move(block));
    }
}

void DescribeEntry(int dirFd, FileBlock& block)
{
    constexpr uint32_t kKindBits = kAttrDirectory | kAttrArchive | kAttrSystem;
    struct stat st;
    if (!LookUp(dirFd, block.EntryName, st) || KindFromMode(st.st_mode) != (block.Attrib & kKindBits)) {
        // Whatever is there now is not what was listed; keep what the listing saw.
        block.Size = 0;
        block.Date = kEarliestDate;
        block.Time = 0;
        return;
    }
    if ((st.st_mode & S_IWUSR) == 0)
        block.Attrib |= kAttrReadOnly;
    // The size of a directory's own listing means nothing to a user.
    block.Size = S_ISDIR(st.st_mode) ? 0 : static_cast<int32_t>(static_cast<uint32_t>(st.st_size));
    PackDosDateTime(st.st_mtim.tv_sec, block.Date, block.Time);
}
