// SPDX-License-Identifier: MIT
// Per-entry queries, the list error, and the record-filling helpers.
#include "DirectoryEntries.h"
#include "ScratchDir.h"
#include "Searchfiles.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <string>

namespace {

class OutOfRangeIndex : public ::testing::TestWithParam<int> {};

TEST_P(OutOfRangeIndex, EveryQueryThrowsTheListErrorWithTheIndex)
{
    ScratchDir dir;
    dir.MakeFile("only.dat");
    TSearchFiles files;
    files.DispFile = dfFile;
    ASSERT_TRUE(files.Execute(dir.Path()));
    ASSERT_EQ(files.Count(), 1);

    const int index = GetParam();
    const std::string expected = "リストのインデックスが範囲を超えています (" + std::to_string(index) + ")";
    const std::function<void()> queries[] = {
        [&] { files.GetFileName(index); }, [&] { files.GetSize(index); },    [&] { files.GetAttrib(index); },
        [&] { files.GetDate(index); },     [&] { files.GetTime(index); },    [&] { files.GetFileBlock(index); },
        [&] { files.IsReadOnly(index); },  [&] { files.IsHidden(index); },   [&] { files.IsSystem(index); },
        [&] { files.IsLabel(index); },     [&] { files.IsDirec(index); },    [&] { files.IsArch(index); },
    };
    for (const auto& query : queries) {
        try {
            query();
            ADD_FAILURE() << "no error for index " << index;
        } catch (const EListError& error) {
            EXPECT_EQ(error.Index(), index);
            EXPECT_STREQ(error.what(), expected.c_str());
        }
    }
    EXPECT_EQ(files.GetFileName(0), "only.dat");
}

INSTANTIATE_TEST_SUITE_P(SearchFiles, OutOfRangeIndex, ::testing::Values(-1, 1, 2, INT_MAX, INT_MIN));

TEST(SearchFilesQueries, FileBlockIsAFullCopyOfTheRecord)
{
    ScratchDir dir;
    dir.MakeFile("x.dat", 42, LocalTime(1999, 12, 31, 23, 59, 59));
    TSearchFiles files;
    files.DispFile = dfFile;
    ASSERT_TRUE(files.Execute(dir.Path()));

    FileBlock copy = files.GetFileBlock(0);
    EXPECT_EQ(copy.Reserved, 0u);
    EXPECT_EQ(copy.Size, 42);
    EXPECT_EQ(copy.Attrib, 0x20u);
    EXPECT_STREQ(copy.EntryName, "x.dat");
    EXPECT_EQ(files.GetDate(0), "1999/12/31");
    EXPECT_EQ(files.GetTime(0), "23:59");
    std::strcpy(copy.EntryName, "changed");
    EXPECT_EQ(files.GetFileName(0), "x.dat");
}

struct PackCase {
    const char* Label;
    time_t Written;
    uint16_t Date;
    uint16_t Time;
};

class PackedDateTime : public ::testing::TestWithParam<PackCase> {};

TEST_P(PackedDateTime, PacksOrClampsToTheRecordsRange)
{
    uint16_t date = 0xFFFF;
    uint16_t time = 0xFFFF;
    PackDosDateTime(GetParam().Written, date, time);
    EXPECT_EQ(date, GetParam().Date);
    EXPECT_EQ(time, GetParam().Time);
}

constexpr uint16_t kFirstDay = (0 << 9) | (1 << 5) | 1;
constexpr uint16_t kLastDay = (127 << 9) | (12 << 5) | 31;
constexpr uint16_t kLastTime = (23 << 11) | (59 << 5) | 29;

INSTANTIATE_TEST_SUITE_P(
    SearchFiles, PackedDateTime,
    ::testing::Values(PackCase{"FirstSecond", LocalTime(1980, 1, 1, 0, 0, 0), kFirstDay, 0},
                      PackCase{"LastRepresentable", LocalTime(2107, 12, 31, 23, 59, 59), kLastDay, kLastTime},
                      PackCase{"Before1980", LocalTime(1970, 1, 2), kFirstDay, 0},
                      PackCase{"After2107", LocalTime(2200, 6, 1), kLastDay, kLastTime},
                      PackCase{"FarPast", LLONG_MIN, kFirstDay, 0},
                      PackCase{"FarFuture", LLONG_MAX, kLastDay, kLastTime}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST(SearchFilesRecord, NameMustFitWithItsTerminator)
{
    FileBlock block {};
    std::memset(&block, 0x5A, sizeof block);
    EXPECT_TRUE(SetEntryName(block, std::string(259, 'a')));
    EXPECT_EQ(std::strlen(block.EntryName), 259u);

    std::memset(&block, 0x5A, sizeof block);
    EXPECT_FALSE(SetEntryName(block, std::string(260, 'b')));
    EXPECT_EQ(block.EntryName[0], '\0');
    EXPECT_EQ(block.EntryName[1], 0x5A);  // nothing else written
    EXPECT_EQ(block.Size, 0x5A5A5A5A);

    EXPECT_FALSE(SetEntryName(block, std::string("a\0b", 3)));
}

TEST(SearchFilesRecord, VanishedEntriesAreDroppedFromTheDetails)
{
    ScratchDir dir;
    dir.MakeFile("stays.dat", 9);
    dir.MakeDir("turned");
    TFileList list;
    for (const char* name : {"stays.dat", "gone.dat", "turned"}) {
        auto block = std::make_unique<FileBlock>();
        SetEntryName(*block, name);
        block->Attrib = kAttrArchive;  // "turned" was a file when it was listed
        list.push_back(std::move(block));
    }
    DIR* handle = opendir(dir.Path().c_str());
    ASSERT_NE(handle, nullptr);
    ReadEntryDetails(dirfd(handle), list);
    closedir(handle);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_STREQ(list[0]->EntryName, "stays.dat");
    EXPECT_EQ(list[0]->Size, 9);
}

}  // namespace
