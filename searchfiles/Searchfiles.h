// SPDX-License-Identifier: MIT
// TSearchFiles lists one directory into fixed-size entry records, keeps the
// entries wanted (by extension and by kind), orders them, and answers
// questions about the entry at a position of the result.
//
// Typical use (the main window's way):
//     TSearchFiles files;
//     files.DispFile = dfFile;
//     files.ExtFilter = ".dat";
//     files.Execute(dir);
//     for (int i = 0; i < files.Count(); ++i) Use(files.GetFileName(i));
//
// The three settings are plain fields; they take effect at the next Execute.
#pragma once

#include "FileBlock.h"
#include "ListError.h"
#include "UniqueFd.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Which kinds of entry stay in the result.
enum TDispFile : uint8_t {
    dfAll,       // everything, "." and ".." included
    dfParent,    // drops names starting with "." unless the second byte is also "." (".." stays)
    dfDirFile,   // drops every name starting with "."
    dfFile,      // drops every name starting with "." and every directory
};

// Order of the result; the Small orders put the smallest key first.
enum TSortStyle : uint8_t {
    ssNoSort,
    ssNameSmall,
    ssNameLarge,
    ssExtSmall,
    ssExtLarge,
    ssDateSmall,
    ssDateLarge,
    ssSizeSmall,
    ssSizeLarge,
};

// The records of one listing, each owned by the list.
using TFileList = std::vector<std::unique_ptr<FileBlock>>;

class TSearchFiles {
public:
    using enum TDispFile;
    using enum TSortStyle;

    TDispFile DispFile = dfParent;
    std::string ExtFilter;   // extensions separated by ";", e.g. "gdw;.DAT"; empty keeps every extension
    TSortStyle SortStyle = ssNameSmall;

    TSearchFiles() = default;
    TSearchFiles(const TSearchFiles&) = delete;
    TSearchFiles& operator=(const TSearchFiles&) = delete;

    // Lists dir ("/" when empty), then filters, sorts and puts directories
    // first. True when the directory could be read and held at least one
    // entry before filtering; otherwise the list is left empty and false is
    // returned. The previous result is discarded in every case.
    //
    // Names and kinds are taken when listing. Size, the read-only bit and the
    // write time of an entry are looked up the first time one of them is asked for (all
    // at once when sorting by date or size), and kept from then on; an entry
    // gone by then keeps its listed kind with size 0 and the time
    // 1980-01-01 00:00. The directory stays open until the next Execute, so a
    // later change of working directory does not matter.
    bool Execute(const std::string& dir);

    // Number of entries of the last Execute's result.
    int Count() const { return static_cast<int>(m_fileList.size()); }

    // Queries by position 0 .. Count() - 1; any other position throws
    // EListError. Not for use from several threads at once.
    std::string GetFileName(int index) const;
    int32_t GetSize(int index) const;
    uint32_t GetAttrib(int index) const;
    std::string GetDate(int index) const;   // "yyyy/mm/dd"
    std::string GetTime(int index) const;   // "hh:mm"
    FileBlock GetFileBlock(int index) const;
    bool IsReadOnly(int index) const;
    bool IsHidden(int index) const;
    bool IsSystem(int index) const;
    bool IsLabel(int index) const;
    bool IsDirec(int index) const;
    bool IsArch(int index) const;

    // Empties the result and lets go of the listed directory.
    void DeleteList();

    // The filter and order steps of Execute, usable on any list.
    // Keeps the directories and the entries whose extension matches a token
    // of ExtFilter (ASCII case ignored): first every directory and the first
    // token's files in list order, then the second token's files, and so on.
    void CheckExt(TFileList& list) const;
    // Drops the entries DispFile excludes.
    void CheckDirAndFile(TFileList& list) const;
    // Orders list by SortStyle; entries with equal keys keep their order.
    void Sort(TFileList& list) const;
    // Moves the directories in front of the files, keeping each group's
    // order; does nothing with dfFile.
    void DevideDirAndFile(TFileList& list) const;

private:
    const FileBlock& At(int index) const;
    const FileBlock& Described(int index) const;
    bool SortNeedsDetails() const;

    TFileList m_fileList;
    UniqueFd m_dir;                          // the listed directory, for the lookups of details
    mutable std::vector<bool> m_described;   // per entry: details looked up
};
