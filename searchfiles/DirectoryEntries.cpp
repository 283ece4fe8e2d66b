// SPDX-License-Identifier: MIT
#include "DirectoryEntries.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>

namespace {

constexpr uint16_t kEarliestDate = (0 << 9) | (1 << 5) | 1;                 // 1980-01-01
constexpr uint16_t kLatestDate = (127 << 9) | (12 << 5) | 31;               // 2107-12-31
constexpr uint16_t kLatestTime = (23 << 11) | (59 << 5) | (58 / 2);         // 23:59:58

// Directory or not, as the entry is now; links are followed, and one that
// leads nowhere counts as a file.
bool IsDirectoryEntry(DIR* dir, const dirent& entry)
{
    switch (entry.d_type) {
    case DT_DIR:
        return true;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat st;
        return fstatat(dirfd(dir), entry.d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
    }
    default:
        return false;
    }
}

enum class Lookup { Found, Gone, Unknown };

// Status of name in dirFd, following links; a dangling link or a link loop
// is described by the link itself.
Lookup LookUp(int dirFd, const char* name, struct stat& st)
{
    if (fstatat(dirFd, name, &st, 0) == 0)
        return Lookup::Found;
    if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0)
        return Lookup::Found;
    return errno == ENOENT ? Lookup::Gone : Lookup::Unknown;
}

// Records the entry from its status; false when it has changed kind since it
// was listed, so the record no longer describes it.
bool FillFromStat(FileBlock& block, const struct stat& st)
{
    const bool wasDirectory = (block.Attrib & kAttrDirectory) != 0;
    const bool isDirectory = S_ISDIR(st.st_mode);
    if (wasDirectory != isDirectory)
        return false;
    block.Attrib = AttribFromStat(st, block.EntryName);
    // The size of a directory's own listing means nothing to a user.
    block.Size = isDirectory ? 0 : static_cast<int32_t>(static_cast<uint32_t>(st.st_size));
    PackDosDateTime(st.st_mtim.tv_sec, block.Date, block.Time);
    return true;
}

}  // namespace

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
    struct tm local {};
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

uint32_t AttribFromStat(const struct stat& st, std::string_view name)
{
    uint32_t attrib = 0;
    if (S_ISDIR(st.st_mode))
        attrib |= kAttrDirectory;
    else if (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode))
        attrib |= kAttrArchive;
    else
        attrib |= kAttrSystem;
    if ((st.st_mode & S_IWUSR) == 0)
        attrib |= kAttrReadOnly;
    if (IsHiddenName(name))
        attrib |= kAttrHidden;
    return attrib;
}

void ReadEntryNames(DIR* dir, TFileList& out)
{
    while (const dirent* entry = readdir(dir)) {
        auto block = std::make_unique<FileBlock>();
        // Linux names are at most 255 bytes, but the record has no room for more than 259.
        if (!SetEntryName(*block, entry->d_name))
            continue;
        if (IsDirectoryEntry(dir, *entry))
            block->Attrib |= kAttrDirectory;
        else
            block->Attrib |= kAttrArchive;
        if (IsHiddenName(block->EntryName))
            block->Attrib |= kAttrHidden;
        out.push_back(std::move(block));
    }
}

void ReadEntryDetails(int dirFd, TFileList& list)
{
    auto gone = [dirFd](std::unique_ptr<FileBlock>& block) {
        struct stat st;
        switch (LookUp(dirFd, block->EntryName, st)) {
        case Lookup::Found:
            return !FillFromStat(*block, st);
        case Lookup::Gone:
            return true;
        case Lookup::Unknown:
            // The entry is there but cannot be examined (no search permission
            // on the directory): keep what the listing told us.
            block->Date = kEarliestDate;
            return false;
        }
        return true;
    };
    list.erase(std::remove_if(list.begin(), list.end(), gone), list.end());
}
