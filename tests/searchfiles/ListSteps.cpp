// SPDX-License-Identifier: MIT
// The filter, sort and grouping steps on hand-made lists, so every key and
// attribute can be chosen freely.
#include "DirectoryEntries.h"
#include "Searchfiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

struct Entry {
    std::string Name;
    bool Directory = false;
    int32_t Size = 0;
    uint16_t Date = 0;
};

TFileList MakeList(const std::vector<Entry>& entries)
{
    TFileList list;
    for (const Entry& entry : entries) {
        auto block = std::make_unique<FileBlock>();
        EXPECT_TRUE(SetEntryName(*block, entry.Name));
        block->Attrib = entry.Directory ? kAttrDirectory : kAttrArchive;
        block->Size = entry.Size;
        block->Date = entry.Date;
        list.push_back(std::move(block));
    }
    return list;
}

std::vector<std::string> Names(const TFileList& list)
{
    std::vector<std::string> names;
    for (const auto& block : list)
        names.emplace_back(block->EntryName);
    return names;
}

struct FilterCase {
    const char* Filter;
    std::vector<std::string> Kept;
};

class ExtFilterTokens : public ::testing::TestWithParam<FilterCase> { };

TEST_P(ExtFilterTokens, KeepsDirectoriesAndMatchingFilesTokenByToken)
{
    TSearchFiles files;
    files.ExtFilter = GetParam().Filter;
    TFileList list = MakeList({{"a.gdw"},
                               {"sub", true},
                               {"b.DAT"},
                               {"noext"},
                               {"c.GDW"},
                               {"d.txt"},
                               {"e.dat.bak"},
                               {"f."},
                               {"g.dat"},
                               {".gdw"}});
    files.CheckExt(list);
    EXPECT_THAT(Names(list), ElementsAreArray(GetParam().Kept));
}

INSTANTIATE_TEST_SUITE_P(
    SearchFiles, ExtFilterTokens,
    ::testing::Values(
        FilterCase{"", {"a.gdw", "sub", "b.DAT", "noext", "c.GDW", "d.txt", "e.dat.bak", "f.", "g.dat", ".gdw"}},
        // Directories and the first token's files in listing order, then the second token's.
        FilterCase{"gdw;.DAT", {"a.gdw", "sub", "c.GDW", ".gdw", "b.DAT", "g.dat"}},
        FilterCase{".dat", {"sub", "b.DAT", "g.dat"}}, FilterCase{";", {"sub", "noext"}},
        FilterCase{";;", {"sub", "noext"}}, FilterCase{".", {"sub", "f."}}, FilterCase{"bak", {"sub", "e.dat.bak"}},
        FilterCase{"*.gdw", {"sub"}},
        // Tokens are not trimmed.
        FilterCase{"gdw; dat", {"a.gdw", "sub", "c.GDW", ".gdw"}},
        // A repeated token finds nothing more the second time.
        FilterCase{"dat;dat", {"sub", "b.DAT", "g.dat"}}));

TEST(SearchFilesExtFilter, IgnoresOnlyAsciiLetterCase)
{
    TSearchFiles files;
    files.ExtFilter = ".\xC3\xA9t";   // ".ét" in UTF-8
    TFileList list = MakeList({{"a.\xC3\xA9t"}, {"b.\xC3\x89T"}, {"c.\xC3\xA9T"}});
    files.CheckExt(list);
    EXPECT_THAT(Names(list), ElementsAre("a.\xC3\xA9t", "c.\xC3\xA9T"));
}

struct DispCase {
    TDispFile Disp;
    std::vector<std::string> Kept;
};

class DispFileKinds : public ::testing::TestWithParam<DispCase> { };

TEST_P(DispFileKinds, DropsTheKindsTheSettingExcludes)
{
    TSearchFiles files;
    files.DispFile = GetParam().Disp;
    TFileList list = MakeList({{".", true}, {"..", true}, {".hidden"}, {"..odd"}, {"sub", true}, {"a.dat"}});
    files.CheckDirAndFile(list);
    EXPECT_THAT(Names(list), ElementsAreArray(GetParam().Kept));
}

INSTANTIATE_TEST_SUITE_P(SearchFiles, DispFileKinds,
                         ::testing::Values(DispCase{dfAll, {".", "..", ".hidden", "..odd", "sub", "a.dat"}},
                                           DispCase{dfParent, {"..", "..odd", "sub", "a.dat"}},
                                           DispCase{dfDirFile, {"sub", "a.dat"}}, DispCase{dfFile, {"a.dat"}},
                                           // A value no setting has (a damaged setting) removes nothing.
                                           DispCase{static_cast<TDispFile>(200),
                                                    {".", "..", ".hidden", "..odd", "sub", "a.dat"}}));

struct SortCase {
    TSortStyle Style;
    std::vector<std::string> Order;
};

class SortStyles : public ::testing::TestWithParam<SortCase> { };

// Dates: x and z share a day (different times must not matter); sizes are signed.
TEST_P(SortStyles, OrdersByTheStyleKeyKeepingTiesInListOrder)
{
    TSearchFiles files;
    files.SortStyle = GetParam().Style;
    TFileList list = MakeList({{"b10.txt", false, 300, 0x2A65},
                               {"B9.dat", false, -5, 0x2A66},
                               {"a", false, 7, 0x2A65},
                               {"\xE3\x81\x82.dat", false, 7, 0x2A01}});
    files.Sort(list);
    EXPECT_THAT(Names(list), ElementsAreArray(GetParam().Order));
}

INSTANTIATE_TEST_SUITE_P(SearchFiles, SortStyles,
                         ::testing::Values(SortCase{ssNoSort, {"b10.txt", "B9.dat", "a", "\xE3\x81\x82.dat"}},
                                           // Upper case before lower, "10" before "9", bytes >= 0x80 after ASCII.
                                           SortCase{ssNameSmall, {"B9.dat", "a", "b10.txt", "\xE3\x81\x82.dat"}},
                                           SortCase{ssNameLarge, {"\xE3\x81\x82.dat", "b10.txt", "a", "B9.dat"}},
                                           SortCase{ssExtSmall, {"a", "B9.dat", "\xE3\x81\x82.dat", "b10.txt"}},
                                           SortCase{ssExtLarge, {"b10.txt", "B9.dat", "\xE3\x81\x82.dat", "a"}},
                                           SortCase{ssDateSmall, {"\xE3\x81\x82.dat", "b10.txt", "a", "B9.dat"}},
                                           SortCase{ssDateLarge, {"B9.dat", "b10.txt", "a", "\xE3\x81\x82.dat"}},
                                           SortCase{ssSizeSmall, {"B9.dat", "a", "\xE3\x81\x82.dat", "b10.txt"}},
                                           SortCase{ssSizeLarge, {"b10.txt", "a", "\xE3\x81\x82.dat", "B9.dat"}},
                                           SortCase{static_cast<TSortStyle>(99),
                                                    {"b10.txt", "B9.dat", "a", "\xE3\x81\x82.dat"}}));

TEST(SearchFilesSort, PrefixSortsBeforeLongerName)
{
    TSearchFiles files;
    TFileList list = MakeList({{"run1.dat"}, {"run"}, {"run1"}});
    files.Sort(list);
    EXPECT_THAT(Names(list), ElementsAre("run", "run1", "run1.dat"));
}

TEST(SearchFilesGrouping, PutsDirectoriesFirstKeepingEachGroupsOrder)
{
    TSearchFiles files;
    files.DispFile = dfParent;
    TFileList list = MakeList({{"a.dat"}, {"z", true}, {"b.dat"}, {"..", true}, {"c"}});
    files.DevideDirAndFile(list);
    EXPECT_THAT(Names(list), ElementsAre("z", "..", "a.dat", "b.dat", "c"));
}

}   // namespace
