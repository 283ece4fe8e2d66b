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

#include <fcntl.h>
#include <unistd.h>

namespace {

class OutOfRangeIndex : public ::testing::TestWithParam<int> { };

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
        [&] { files.GetFileName(index); }, [&] { files.GetSize(index); },  [&] { files.GetAttrib(index); },
        [&] { files.GetDate(index); },     [&] { files.GetTime(index); },  [&] { files.GetFileBlock(index); },
        [&] { files.IsReadOnly(index); },  [&] { files.IsHidden(index); }, [&] { files.IsSystem(index); },
        [&] { files.IsLabel(index); },     [&] { files.IsDirec(index); },  [&] { files.IsArch(index); },
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

class PackedDateTime : public ::testing::TestWithParam<PackCase> { };

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

INSTANTIATE_TEST_SUITE_P(SearchFiles, PackedDateTime,
                         ::testing::Values(PackCase{"FirstSecond", LocalTime(1980, 1, 1, 0, 0, 0), kFirstDay, 0},
                                           PackCase{"LastRepresentable", LocalTime(2107, 12, 31, 23, 59, 59), kLastDay,
                                                    kLastTime},
                                           PackCase{"Before1980", LocalTime(1970, 1, 2), kFirstDay, 0},
                                           PackCase{"After2107", LocalTime(2200, 6, 1), kLastDay, kLastTime},
                                           PackCase{"FarPast", LLONG_MIN, kFirstDay, 0},
                                           PackCase{"FarFuture", LLONG_MAX, kLastDay, kLastTime}),
                         [](const auto& testInfo) { return std::string(testInfo.param.Label); });

TEST(SearchFilesRecord, NameMustFitWithItsTerminator)
{
    FileBlock block{};
    std::memset(&block, 0x5A, sizeof block);
    EXPECT_TRUE(SetEntryName(block, std::string(259, 'a')));
    EXPECT_EQ(std::strlen(block.EntryName), 259u);

    std::memset(&block, 0x5A, sizeof block);
    EXPECT_FALSE(SetEntryName(block, std::string(260, 'b')));
    EXPECT_EQ(block.EntryName[0], '\0');
    EXPECT_EQ(block.EntryName[1], 0x5A);   // nothing else written
    EXPECT_EQ(block.Size, 0x5A5A5A5A);

    EXPECT_FALSE(SetEntryName(block, std::string("a\0b", 3)));
}

TEST(SearchFilesRecord, EntriesNoLongerAsListedKeepTheirKindWithoutDetails)
{
    ScratchDir dir;
    dir.MakeFile("stays.dat", 9, LocalTime(2010, 1, 2, 3, 4));
    dir.MakeDir("turned");
    struct Case {
        const char* Name;
        uint32_t ListedKind;
        int32_t Size;
    };
    const UniqueFd dirFd(open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    ASSERT_TRUE(dirFd.Valid());
    // "turned" was a file when it was listed.
    for (const Case& c : {Case{"stays.dat", kAttrArchive, 9}, Case{"gone.dat", kAttrArchive, 0},
                          Case{"turned", kAttrArchive, 0}, Case{"stays.dat", kAttrDirectory, 0}}) {
        FileBlock block{};
        SetEntryName(block, c.Name);
        block.Attrib = c.ListedKind;
        DescribeEntry(dirFd.Get(), block);
        EXPECT_EQ(block.Attrib, c.ListedKind) << c.Name;
        EXPECT_EQ(block.Size, c.Size) << c.Name;
        EXPECT_EQ(block.Date, c.Size != 0 ? ((30 << 9) | (1 << 5) | 2) : kFirstDay) << c.Name;
    }
}

TEST(SearchFilesQueries, DetailsAreTakenWhenFirstAskedForAndKept)
{
    ScratchDir dir;
    dir.MakeFile("asked.dat", 5);
    dir.MakeFile("removed.dat", 7);
    TSearchFiles files;
    files.DispFile = dfFile;
    ASSERT_TRUE(files.Execute(dir.Path()));
    ASSERT_EQ(files.GetFileName(0), "asked.dat");
    EXPECT_EQ(files.GetSize(0), 5);

    dir.MakeFile("asked.dat", 500);
    ASSERT_EQ(unlink(dir.PathOf("removed.dat").c_str()), 0);
    EXPECT_EQ(files.GetSize(0), 5);
    EXPECT_EQ(files.GetFileName(1), "removed.dat");
    EXPECT_EQ(files.GetSize(1), 0);
    EXPECT_EQ(files.GetDate(1), "1980/01/01");
    EXPECT_TRUE(files.IsArch(1));
}

// The listed directory is held open, so a relative name stays good after
// the working directory changes.
TEST(SearchFilesQueries, DetailsOfARelativeListingSurviveAChangeOfDirectory)
{
    ScratchDir dir;
    dir.MakeFile("a.dat", 11);
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    TSearchFiles files;
    files.DispFile = dfFile;
    const bool found = files.Execute(".");
    ASSERT_EQ(chdir("/"), 0);
    const int32_t size = found && files.Count() == 1 ? files.GetSize(0) : -1;
    ASSERT_EQ(chdir(previous), 0);
    EXPECT_EQ(size, 11);
}

}   // namespace
