// SPDX-License-Identifier: MIT
#include "Searchfiles.h"

#include "AsciiText.h"
#include "DirectoryEntries.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

bool IsDirectory(const FileBlock& block)
{
    return (block.Attrib & kAttrDirectory) != 0;
}

std::string_view NameOf(const FileBlock& block)
{
    return std::string_view(block.EntryName, strnlen(block.EntryName, kEntryNameSize));
}

// The name from its last "." on, that "." included; empty without a ".".
std::string_view ExtensionOf(const FileBlock& block)
{
    const std::string_view name = NameOf(block);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

// Byte-wise as unsigned codes; a prefix sorts before the longer name.
int CompareBytes(std::string_view a, std::string_view b)
{
    // An empty extension has no data pointer, and memcmp must not see one.
    const std::size_t common = std::min(a.size(), b.size());
    if (common != 0) {
        if (const int order = std::memcmp(a.data(), b.data(), common); order != 0)
            return order;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// The ExtFilter tokens in order: split at ";", empty tokens kept (they match
// names without "."), a missing leading "." supplied, nothing trimmed.
std::vector<std::string> FilterTokens(const std::string& filter)
{
    std::vector<std::string> tokens;
    std::string_view rest = filter;
    while (!rest.empty()) {
        const std::size_t semicolon = rest.find(';');
        std::string token(rest.substr(0, semicolon));
        rest = semicolon == std::string_view::npos ? std::string_view() : rest.substr(semicolon + 1);
        if (!token.empty() && token[0] != '.')
            token.insert(token.begin(), '.');
        tokens.push_back(std::move(token));
    }
    return tokens;
}

template <typename Less> void StableSortBy(TFileList& list, Less less)
{
    std::stable_sort(
        list.begin(), list.end(),
        [&less](const std::unique_ptr<FileBlock>& a, const std::unique_ptr<FileBlock>& b) { return less(*a, *b); });
}

}   // namespace

bool TSearchFiles::Execute(const std::string& dir)
{
    DeleteList();
    // A name with a zero byte cannot be handed to the system without being cut short.
    if (dir.find('\0') != std::string::npos)
        return false;
    std::string path = dir.empty() ? std::string("/") : dir;
    if (path.back() != '/')
        path.push_back('/');

    UniqueFd dirFd(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dirFd.Valid())
        return false;
    // Built aside and taken over at the end, so an allocation failure on the
    // way leaves the component empty rather than half filled.
    TFileList list;
    {
        // The listing reads through a second descriptor, which closedir takes along.
        const int listFd = fcntl(dirFd.Get(), F_DUPFD_CLOEXEC, 0);
        if (listFd < 0)
            return false;
        DirHandle handle(fdopendir(listFd));
        if (!handle) {
            close(listFd);
            return false;
        }
        ReadEntryNames(handle.get(), list);
    }
    if (list.empty())
        return false;

    CheckExt(list);
    CheckDirAndFile(list);
    const bool describeAll = SortNeedsDetails();
    if (describeAll) {
        for (auto& entry : list)
            DescribeEntry(dirFd.Get(), *entry);
    }
    Sort(list);
    DevideDirAndFile(list);
    std::vector<bool> described(list.size(), describeAll);

    m_fileList = std::move(list);
    m_described = std::move(described);
    m_dir = std::move(dirFd);
    return true;
}

void TSearchFiles::DeleteList()
{
    m_fileList.clear();
    m_described.clear();
    m_dir = UniqueFd();
}

bool TSearchFiles::SortNeedsDetails() const
{
    switch (SortStyle) {
    case ssDateSmall:
    case ssDateLarge:
    case ssSizeSmall:
    case ssSizeLarge: return true;
    default: return false;
    }
}

void TSearchFiles::CheckExt(TFileList& list) const
{
    if (ExtFilter.empty())
        return;
    TFileList kept;
    kept.reserve(list.size());
    for (const std::string& token : FilterTokens(ExtFilter)) {
        auto rest = list.begin();
        for (auto& entry : list) {
            if (IsDirectory(*entry) || EqualsIgnoringAsciiCase(ExtensionOf(*entry), token))
                kept.push_back(std::move(entry));
            else
                *rest++ = std::move(entry);
        }
        list.erase(rest, list.end());
    }
    list = std::move(kept);
}

void TSearchFiles::CheckDirAndFile(TFileList& list) const
{
    const auto drop = [this](const std::unique_ptr<FileBlock>& entry) {
        const char first = entry->EntryName[0];
        const char second = first == '\0' ? '\0' : entry->EntryName[1];
        switch (DispFile) {
        case dfParent: return first == '.' && second != '.';
        case dfDirFile: return first == '.';
        case dfFile: return first == '.' || IsDirectory(*entry);
        case dfAll: break;
        }
        // An unknown setting drops nothing, like dfAll.
        return false;
    };
    list.erase(std::remove_if(list.begin(), list.end(), drop), list.end());
}

void TSearchFiles::Sort(TFileList& list) const
{
    // strncmp compares as unsigned bytes and puts a prefix first, and the bound
    // keeps it inside a record whose name lacks its terminator.
    const auto byName = [](const FileBlock& a, const FileBlock& b) {
        return std::strncmp(a.EntryName, b.EntryName, kEntryNameSize) < 0;
    };
    const auto byExt = [](const FileBlock& a, const FileBlock& b) {
        return CompareBytes(ExtensionOf(a), ExtensionOf(b)) < 0;
    };
    const auto byDate = [](const FileBlock& a, const FileBlock& b) { return a.Date < b.Date; };
    const auto bySize = [](const FileBlock& a, const FileBlock& b) { return a.Size < b.Size; };
    const auto reversed = [](auto less) {
        return [less](const FileBlock& a, const FileBlock& b) { return less(b, a); };
    };

    switch (SortStyle) {
    case ssNameSmall: StableSortBy(list, byName); break;
    case ssNameLarge: StableSortBy(list, reversed(byName)); break;
    case ssExtSmall: StableSortBy(list, byExt); break;
    case ssExtLarge: StableSortBy(list, reversed(byExt)); break;
    case ssDateSmall: StableSortBy(list, byDate); break;
    case ssDateLarge: StableSortBy(list, reversed(byDate)); break;
    case ssSizeSmall: StableSortBy(list, bySize); break;
    case ssSizeLarge: StableSortBy(list, reversed(bySize)); break;
    case ssNoSort: break;
    }
    // An unknown setting leaves the order as it is, like ssNoSort.
}

void TSearchFiles::DevideDirAndFile(TFileList& list) const
{
    if (DispFile == dfFile)
        return;
    std::stable_partition(list.begin(), list.end(),
                          [](const std::unique_ptr<FileBlock>& entry) { return IsDirectory(*entry); });
}

const FileBlock& TSearchFiles::At(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(index);
    return *m_fileList[static_cast<std::size_t>(index)];
}

const FileBlock& TSearchFiles::Described(int index) const
{
    const FileBlock& block = At(index);
    const auto i = static_cast<std::size_t>(index);
    if (!m_described[i]) {
        DescribeEntry(m_dir.Get(), *m_fileList[i]);
        m_described[i] = true;
    }
    return block;
}

std::string TSearchFiles::GetFileName(int index) const
{
    return std::string(NameOf(At(index)));
}

int32_t TSearchFiles::GetSize(int index) const
{
    return Described(index).Size;
}

uint32_t TSearchFiles::GetAttrib(int index) const
{
    return Described(index).Attrib;
}

std::string TSearchFiles::GetDate(int index) const
{
    const uint16_t date = Described(index).Date;
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d", 1980 + (date >> 9), (date >> 5) & 0x0F, date & 0x1F);
    return text;
}

std::string TSearchFiles::GetTime(int index) const
{
    const uint16_t time = Described(index).Time;
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", time >> 11, (time >> 5) & 0x3F);
    return text;
}

FileBlock TSearchFiles::GetFileBlock(int index) const
{
    return Described(index);
}

bool TSearchFiles::IsReadOnly(int index) const
{
    return (Described(index).Attrib & kAttrReadOnly) != 0;
}
bool TSearchFiles::IsHidden(int index) const
{
    return (At(index).Attrib & kAttrHidden) != 0;
}
bool TSearchFiles::IsSystem(int index) const
{
    return (At(index).Attrib & kAttrSystem) != 0;
}
bool TSearchFiles::IsLabel(int index) const
{
    return (At(index).Attrib & kAttrLabel) != 0;
}
bool TSearchFiles::IsDirec(int index) const
{
    return (At(index).Attrib & kAttrDirectory) != 0;
}
bool TSearchFiles::IsArch(int index) const
{
    return (At(index).Attrib & kAttrArchive) != 0;
}
