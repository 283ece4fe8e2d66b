// SPDX-License-Identifier: MIT
// The settings records through real files, without a window: what is written
// reads back the same, each key is written once, and a new file has the
// layout the sections' order gives.
#include "SettingsRecords.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Occurrences(const std::string& text, const std::string& line)
{
    int n = 0;
    for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
        ++n;
    return n;
}

CommonSettings SomeCommon()
{
    CommonSettings common;
    common.TopMost = true;
    common.Cursor = true;
    common.ColumnTexts = {"0", "5", "x1", "999"};   // texts as the boxes hold them, good or not
    common.Colors[3] = 255;
    common.Colors[15] = static_cast<TColor>(0x80000005);
    return common;
}

}   // namespace

TEST(SettingsRecords, DirectoryRecordRoundTripsAndWritesEachKeyOnce)
{
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/_Tracely.ini";
    DirectorySettings written;
    written.YsItem = 2;
    written.AxisAuto = {false, true, false, true};
    written.UpperTexts = {"+1.00e+01", "abc", "3", ""};
    written.LowerTexts = {"-1", "0.0", "2e-3", "$(cmd)"};
    written.Common = SomeCommon();
    {
        ProfileFile ini(path, ProfileFile::Links::OwnOnly);
        ProfileFile::Batch batch(ini);
        WriteDirectorySettings(ini, written);
        batch.Commit();
    }
    const std::string bytes = Bytes(path);
    EXPECT_EQ(Occurrences(bytes, "A3lower="), 1);
    EXPECT_LT(bytes.find("[State]"), bytes.find("[Value]"));
    EXPECT_LT(bytes.find("[Value]"), bytes.find("[Color]"));

    ProfileFile ini(path, ProfileFile::Links::OwnOnly);
    const ProfileFile::Batch snapshot(ini);
    const DirectorySettings read = ReadDirectorySettings(ini, kDefaultColors);
    EXPECT_EQ(read.YsItem, written.YsItem);
    EXPECT_EQ(read.AxisAuto, written.AxisAuto);
    EXPECT_EQ(read.UpperTexts, written.UpperTexts);
    EXPECT_EQ(read.LowerTexts, written.LowerTexts);
    EXPECT_EQ(read.Common.ColumnTexts, written.Common.ColumnTexts);
    EXPECT_EQ(read.Common.Colors, written.Common.Colors);
    EXPECT_TRUE(read.Common.TopMost);
    EXPECT_FALSE(read.Common.DispName);
    EXPECT_TRUE(read.Common.Cursor);
}

TEST(SettingsRecords, GlobalRecordRoundTripsItsFilterAndKeepsColoursOfMissingKeys)
{
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/Tracely.ini";
    GlobalSettings written;
    written.Top = -20;
    written.Left = 3000;
    written.UnitWheel = 7;
    written.FileDialog = " A (*.a)|*.a ";
    written.Common = SomeCommon();
    {
        ProfileFile ini(path);
        ProfileFile::Batch batch(ini);
        WriteGlobalSettings(ini, written);
        batch.Commit();
    }
    const std::string bytes = Bytes(path);
    for (const char* section : {"[Form1]", "[Option]", "[State]", "[Value]"})
        EXPECT_LT(bytes.find(section), bytes.find("[Color]")) << section;
    EXPECT_NE(bytes.find("FileDialog=\" A (*.a)|*.a \""), std::string::npos);

    ProfileFile ini(path);
    const ProfileFile::Batch snapshot(ini);
    auto current = kDefaultColors;
    current[0] = 42;
    const GlobalSettings read = ReadGlobalSettings(ini, "built-in", current);
    EXPECT_EQ(read.Top, -20);
    EXPECT_EQ(read.Left, 3000);
    EXPECT_EQ(read.UnitWheel, 7);
    EXPECT_EQ(read.FileDialog, written.FileDialog);
    EXPECT_EQ(read.Common.Colors[3], 255u);

    QTemporaryDir empty;
    ProfileFile none(empty.path().toStdString() + "/Tracely.ini");
    const GlobalSettings defaults = ReadGlobalSettings(none, "built-in", current);
    EXPECT_EQ(defaults.FileDialog, "built-in");
    EXPECT_EQ(defaults.UnitWheel, 2);
    EXPECT_EQ(defaults.Common.Colors[0], 42u) << "a missing colour keeps the entry in force";
    EXPECT_EQ(defaults.Common.ColumnTexts, (std::array<std::string, kAxisCount>{"0", "1", "2", "3"}));
}
