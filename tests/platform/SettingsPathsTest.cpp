// SPDX-License-Identifier: MIT
#include "SettingsPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class SettingsPaths : public testing::Test {
protected:
    SettingsPaths()
    {
        std::string pattern = (fs::temp_directory_path() / "tracely-paths-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            ADD_FAILURE() << "mkdtemp failed";
        root = pattern;
        config = root + "/config";
    }
    ~SettingsPaths() override
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    static void Touch(const std::string& path) { std::ofstream(path) << "x"; }
    std::string MakeDir(const std::string& relative) const
    {
        fs::create_directories(root + "/" + relative);
        return root + "/" + relative;
    }

    std::string root;
    std::string config;
};

TEST_F(SettingsPaths, WritableExecutableDirectoryIsUsed)
{
    const std::string exeDir = MakeDir("portable");
    EXPECT_EQ(GlobalSettingsPathFor(exeDir, config), exeDir + "/Tracely.ini");
    EXPECT_FALSE(fs::exists(config));
}

TEST_F(SettingsPaths, UnusableExecutableDirectoryFallsBackToUserConfigAndCreatesIt)
{
    const std::string plainFile = root + "/file";
    Touch(plainFile);
    for (const std::string& exeDir : {root + "/does-not-exist", plainFile, std::string()}) {
        EXPECT_EQ(GlobalSettingsPathFor(exeDir, config), config + "/tracely/Tracely.ini") << exeDir;
        EXPECT_TRUE(fs::is_directory(config + "/tracely"));
    }
}

// Root can write /usr/bin; an installed copy must still keep its settings per user.
TEST_F(SettingsPaths, InstalledLayoutUsesUserConfigEvenWhenWritable)
{
    const std::string bin = MakeDir("prefix/bin");
    MakeDir("prefix/share/applications");
    Touch(root + "/prefix/share/applications/" + std::string(TRACELY_APP_ID) + ".desktop");
    EXPECT_EQ(GlobalSettingsPathFor(bin, config), config + "/tracely/Tracely.ini");

    const std::string otherBin = MakeDir("other/bin");
    MakeDir("other/share/tracely");
    EXPECT_EQ(GlobalSettingsPathFor(otherBin, config), config + "/tracely/Tracely.ini");
}

TEST_F(SettingsPaths, ExistingFileBesideAnInstalledExecutableIsKept)
{
    const std::string bin = MakeDir("prefix/bin");
    MakeDir("prefix/share/tracely");
    Touch(bin + "/Tracely.ini");
    EXPECT_EQ(GlobalSettingsPathFor(bin, config), bin + "/Tracely.ini");
}

TEST_F(SettingsPaths, NoConfigHomeAndNoExecutableDirectoryGivesWorkingDirectoryName)
{
    EXPECT_EQ(GlobalSettingsPathFor("", ""), "Tracely.ini");
}

TEST_F(SettingsPaths, GlobalAndOptionFileAreOneFileBesideThisExecutable)
{
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const std::string exeDir = fs::read_symlink("/proc/self/exe").parent_path().string();
    EXPECT_EQ(ExecutableDirectory(), exeDir);
    EXPECT_EQ(GlobalSettingsPath(), exeDir + "/Tracely.ini");
    ::unsetenv("XDG_CONFIG_HOME");
}

TEST_F(SettingsPaths, DirectoryFileExactNameCaseVariantsOrDefault)
{
    const std::string data = MakeDir("data") + "/";
    EXPECT_EQ(DirectorySettingsPath(data), data + "_Tracely.ini");

    MakeDir("data/_tracely.INI");   // a directory never counts
    EXPECT_EQ(DirectorySettingsPath(data), data + "_Tracely.ini");

    Touch(data + "_tracely.ini");
    Touch(data + "_TRACELY.INI");
    EXPECT_EQ(DirectorySettingsPath(data), data + "_TRACELY.INI");
    EXPECT_EQ(DirectorySettingsPath(root + "/data"), data + "_TRACELY.INI");

    Touch(data + "_Tracely.ini");
    EXPECT_EQ(DirectorySettingsPath(data), data + "_Tracely.ini");
}

TEST_F(SettingsPaths, DirectoryFileInMissingDirectoryIsTheDefaultName)
{
    EXPECT_EQ(DirectorySettingsPath(root + "/gone/"), root + "/gone/_Tracely.ini");
}

}   // namespace
