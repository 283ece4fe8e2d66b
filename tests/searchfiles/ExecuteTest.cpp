// SPDX-License-Identifier: MIT
// Listing real directories made for each test.
#include "ScratchDir.h"
#include "Searchfiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::vector<std::string> Names(const TSearchFiles& files)
{
    std::vector<std::string> names;
    for (int i = 0; i < files.Count(); ++i)
        names.push_back(files.GetFileName(i));
    return names;
}

int IndexOf(const TSearchFiles& files, const std::string& name)
{
    for (int i = 0; i < files.Count(); ++i) {
        if (files.GetFileName(i) == name)
            return i;
    }
    return -1;
}

TEST(SearchFilesExecute, MainWindowSettingsListMatchingFilesByName)
{
    ScratchDir dir;
    for (const char* name : {"b.gdw", "A.GDW", "a.dat", ".gdw"})
        dir.MakeFile(name);
    dir.MakeDir("sub");

    TSearchFiles files;
    files.DispFile = dfFile;
    files.ExtFilter = ".gdw";
    EXPECT_TRUE(files.Execute(dir.Path()));
    EXPECT_THAT(Names(files), ElementsAre("A.GDW", "b.gdw"));
}

TEST(SearchFilesExecute, DefaultsListDirectoriesWithParentFirstThenFiles)
{
    ScratchDir dir;
    dir.MakeFile("b.txt");
    dir.MakeFile("a.dat");
    dir.MakeFile(".hidden");
    dir.MakeDir("zdir");

    TSearchFiles files;   // dfParent, ssNameSmall, no filter
    EXPECT_TRUE(files.Execute(dir.Path() + "/"));
    EXPECT_THAT(Names(files), ElementsAre("..", "zdir", "a.dat", "b.txt"));
}

TEST(SearchFilesExecute, EmptyFilterWithFilesOnlyListsEveryFile)
{
    ScratchDir dir;
    for (const char* name : {"x.bin", "noext", "y.DAT", "z.tar.gz"})
        dir.MakeFile(name);
    dir.MakeDir("sub");

    TSearchFiles files;
    files.DispFile = dfFile;
    EXPECT_TRUE(files.Execute(dir.Path()));
    EXPECT_THAT(Names(files), ElementsAre("noext", "x.bin", "y.DAT", "z.tar.gz"));
}

TEST(SearchFilesExecute, DirectoryWithOnlyDotEntriesIsFoundButListsNoFiles)
{
    ScratchDir dir;
    TSearchFiles files;
    files.DispFile = dfFile;
    EXPECT_TRUE(files.Execute(dir.Path()));
    EXPECT_EQ(files.Count(), 0);

    files.DispFile = dfAll;
    EXPECT_TRUE(files.Execute(dir.Path()));
    EXPECT_THAT(Names(files), ElementsAre(".", ".."));
}

TEST(SearchFilesExecute, EmptyNameListsTheRoot)
{
    TSearchFiles files;
    files.DispFile = dfAll;
    EXPECT_TRUE(files.Execute(""));
    EXPECT_GE(IndexOf(files, "."), 0);
    EXPECT_TRUE(files.IsDirec(IndexOf(files, "..")));
}

// Each case names a directory that cannot be listed; tests run as root, so
// unreadability is made by structure rather than by permissions.
class UnlistableDirectory : public ::testing::TestWithParam<const char*> { };

TEST_P(UnlistableDirectory, GivesFalseAndDiscardsThePreviousResult)
{
    ScratchDir dir;
    dir.MakeFile("plain.dat", 10);
    dir.MakeLink("dangling", "missing");
    dir.MakeLink("loop", "loop");

    TSearchFiles files;
    ASSERT_TRUE(files.Execute(dir.Path()));
    ASSERT_GT(files.Count(), 0);

    std::string bad = GetParam();
    if (bad.rfind("/", 0) != 0)
        bad = dir.PathOf(bad);
    EXPECT_FALSE(files.Execute(bad));
    EXPECT_EQ(files.Count(), 0);
    EXPECT_THROW(files.GetFileName(0), EListError);
}

INSTANTIATE_TEST_SUITE_P(SearchFiles, UnlistableDirectory,
                         ::testing::Values("missing", "plain.dat", "plain.dat/sub", "dangling", "loop",
                                           "/proc/self/fd/999999", "missing/../.."));

TEST(SearchFilesExecute, NameWithZeroByteIsRefused)
{
    ScratchDir dir;
    TSearchFiles files;
    // Cut at the zero byte this would name the scratch directory itself.
    EXPECT_FALSE(files.Execute(dir.Path() + std::string("\0/etc", 5)));
    EXPECT_EQ(files.Count(), 0);
}

TEST(SearchFilesExecute, OverlongDirectoryNameGivesFalse)
{
    TSearchFiles files;
    EXPECT_FALSE(files.Execute("/" + std::string(10000, 'a')));
    EXPECT_EQ(files.Count(), 0);
}

TEST(SearchFilesExecute, LinksCountAsWhatTheyPointToAndDanglingOnesAsFiles)
{
    ScratchDir dir;
    dir.MakeFile("target.dat", 1234);
    dir.MakeDir("realdir");
    dir.MakeLink("tofile.dat", "target.dat");
    dir.MakeLink("todir", "realdir");
    dir.MakeLink("dangling.dat", "nowhere.dat");
    dir.MakeLink("loop.dat", "loop.dat");

    TSearchFiles files;
    files.DispFile = dfDirFile;
    ASSERT_TRUE(files.Execute(dir.Path()));
    EXPECT_THAT(Names(files), ElementsAre("realdir", "todir", "dangling.dat", "loop.dat", "target.dat", "tofile.dat"));

    EXPECT_TRUE(files.IsDirec(IndexOf(files, "todir")));
    EXPECT_EQ(files.GetSize(IndexOf(files, "todir")), 0);
    EXPECT_EQ(files.GetSize(IndexOf(files, "tofile.dat")), 1234);
    for (const char* name : {"dangling.dat", "loop.dat"}) {
        const int i = IndexOf(files, name);
        EXPECT_FALSE(files.IsDirec(i)) << name;
        EXPECT_TRUE(files.IsArch(i)) << name;
    }
}

TEST(SearchFilesExecute, KeepsNamesWithHighBytesAndOfFullLength)
{
    ScratchDir dir;
    const std::string japanese = "\xE3\x83\x87\xE3\x83\xBC\xE3\x82\xBF.dat";   // "データ.dat"
    const std::string latin1 = "caf\xE9.dat";                                  // not valid UTF-8
    const std::string longest = std::string(251, 'n') + ".dat";                // 255 bytes
    for (const std::string& name : {japanese, latin1, longest})
        dir.MakeFile(name, 3);

    TSearchFiles files;
    files.DispFile = dfFile;
    files.ExtFilter = "DAT";
    ASSERT_TRUE(files.Execute(dir.Path()));
    EXPECT_THAT(Names(files), ElementsAre("caf\xE9.dat", longest, japanese));
    const FileBlock block = files.GetFileBlock(1);
    EXPECT_EQ(std::string(block.EntryName), longest);
    EXPECT_EQ(block.Size, 3);
}

TEST(SearchFilesExecute, DerivesAttributesFromKindModeAndName)
{
    ScratchDir dir;
    dir.MakeFile("rw.dat");
    dir.MakeFile("ro.dat");
    ASSERT_EQ(chmod(dir.PathOf("ro.dat").c_str(), 0444), 0);
    dir.MakeFile(".secret");
    dir.MakeDir("sub");
    ASSERT_EQ(mkfifo(dir.PathOf("pipe").c_str(), 0644), 0);

    TSearchFiles files;
    files.DispFile = dfAll;
    ASSERT_TRUE(files.Execute(dir.Path()));
    EXPECT_EQ(files.GetAttrib(IndexOf(files, "rw.dat")), 0x20u);
    EXPECT_EQ(files.GetAttrib(IndexOf(files, "ro.dat")), 0x21u);
    EXPECT_EQ(files.GetAttrib(IndexOf(files, ".secret")), 0x22u);
    EXPECT_EQ(files.GetAttrib(IndexOf(files, "sub")), 0x10u);
    EXPECT_EQ(files.GetAttrib(IndexOf(files, "pipe")), 0x04u);
    EXPECT_FALSE(files.IsHidden(IndexOf(files, ".")));
    EXPECT_FALSE(files.IsHidden(IndexOf(files, "..")));
}

TEST(SearchFilesExecute, SizeIsTheLow32BitsOfTheFileSize)
{
    ScratchDir dir;
    dir.MakeFile("big.dat", (int64_t{1} << 32) + 5);   // sparse: takes no disk space
    dir.MakeFile("neg.dat", int64_t{0xFFFFFFFF});

    TSearchFiles files;
    files.DispFile = dfFile;
    files.SortStyle = ssSizeSmall;
    ASSERT_TRUE(files.Execute(dir.Path()));
    EXPECT_THAT(Names(files), ElementsAre("neg.dat", "big.dat"));
    EXPECT_EQ(files.GetSize(0), -1);
    EXPECT_EQ(files.GetSize(1), 5);
}

TEST(SearchFilesExecute, PacksTheLocalWriteTime)
{
    ScratchDir dir;
    dir.MakeFile("a.dat", 0, LocalTime(2001, 3, 5, 9, 7, 58));

    TSearchFiles files;
    files.DispFile = dfFile;
    ASSERT_TRUE(files.Execute(dir.Path()));
    EXPECT_EQ(files.GetDate(0), "2001/03/05");
    EXPECT_EQ(files.GetTime(0), "09:07");
    const FileBlock block = files.GetFileBlock(0);
    EXPECT_EQ(block.Date, (21 << 9) | (3 << 5) | 5);
    EXPECT_EQ(block.Time, (9 << 11) | (7 << 5) | 29);
}

TEST(SearchFilesExecute, DateOrderIgnoresTheTimeOfDay)
{
    ScratchDir dir;
    dir.MakeFile("late.dat", 0, LocalTime(2020, 6, 1, 23, 0));
    dir.MakeFile("early.dat", 0, LocalTime(2020, 6, 1, 1, 0));
    dir.MakeFile("older.dat", 0, LocalTime(2019, 12, 31, 23, 59));

    TSearchFiles files;
    files.DispFile = dfFile;
    files.SortStyle = ssDateSmall;
    ASSERT_TRUE(files.Execute(dir.Path()));
    ASSERT_EQ(files.Count(), 3);
    EXPECT_EQ(files.GetFileName(0), "older.dat");

    files.SortStyle = ssDateLarge;
    ASSERT_TRUE(files.Execute(dir.Path()));
    EXPECT_EQ(files.GetFileName(2), "older.dat");
}

int OpenDescriptors()
{
    int count = 0;
    if (DIR* fds = opendir("/proc/self/fd")) {
        while (readdir(fds) != nullptr)
            ++count;
        closedir(fds);
    }
    return count;
}

TEST(SearchFilesExecute, HoldsNoMoreThanTheListedDirectoryOpen)
{
    ScratchDir dir;
    dir.MakeFile("a.dat");
    const int before = OpenDescriptors();
    {
        TSearchFiles files;
        for (int i = 0; i < 50; ++i) {
            files.Execute(dir.Path());
            files.Execute(dir.PathOf("a.dat"));
            files.Execute(dir.PathOf("missing"));
            files.Execute(dir.Path());
        }
        EXPECT_EQ(OpenDescriptors(), before + 1);
        files.DeleteList();
        EXPECT_EQ(OpenDescriptors(), before);
        files.Execute(dir.Path());
    }
    EXPECT_EQ(OpenDescriptors(), before);
}

}   // namespace
