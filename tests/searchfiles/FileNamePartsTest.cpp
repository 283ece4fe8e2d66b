// SPDX-License-Identifier: MIT
#include "FileNameParts.h"

#include <gtest/gtest.h>

TEST(FileNameParts, SplitAtTheLastSlashOnly)
{
    EXPECT_EQ(ExtractFileName("/home/user/data/run1.dat"), "run1.dat");
    EXPECT_EQ(ExtractFilePath("/home/user/data/run1.dat"), "/home/user/data/");
    EXPECT_EQ(ExtractFileName("run1.dat"), "run1.dat");
    EXPECT_EQ(ExtractFilePath("run1.dat"), "");
    EXPECT_EQ(ExtractFileName("dir/"), "");
    EXPECT_EQ(ExtractFilePath("/"), "/");
    EXPECT_EQ(ExtractFileName(""), "");
    // A backslash is a byte of the name on this system, not a separator.
    EXPECT_EQ(ExtractFileName("a\\b.dat"), "a\\b.dat");
}

TEST(FileNameParts, ExtensionComesFromTheNameNotItsDirectory)
{
    EXPECT_EQ(ExtractFileExt("/data/run.07/trace"), "");
    EXPECT_EQ(ExtractFileExt("/data/run.07/trace.gdw"), ".gdw");
    EXPECT_EQ(ExtractFileExt("archive.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt(".hidden"), ".hidden");
    EXPECT_EQ(ExtractFileExt("name."), ".");
}
