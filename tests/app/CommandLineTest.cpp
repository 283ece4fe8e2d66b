// SPDX-License-Identifier: MIT
#include "CommandLine.h"

#include <gtest/gtest.h>

struct CommandLineCase {
    const char* Label;
    std::vector<std::string> Args;   // without the program's name
    std::string File;
    std::string Log;
    bool Error;
};

class CommandLines : public ::testing::TestWithParam<CommandLineCase> { };

TEST_P(CommandLines, KnownOptionsAreTakenAndEverythingElseIsAFileName)
{
    std::vector<std::string> args{"tracely"};
    args.insert(args.end(), GetParam().Args.begin(), GetParam().Args.end());
    const CommandLine line = ParseCommandLine(args);
    EXPECT_EQ(line.FileName, GetParam().File);
    EXPECT_EQ(line.EventLog, GetParam().Log);
    EXPECT_EQ(!line.Error.empty(), GetParam().Error);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLines,
    ::testing::Values(CommandLineCase{"Nothing", {}, "", "", false},
                      CommandLineCase{"OneFile", {"a.dat"}, "a.dat", "", false},
                      CommandLineCase{"OnlyTheFirstFile", {"a.dat", "b.dat"}, "a.dat", "", false},
                      CommandLineCase{"SingleDashIsAName", {"-reverse"}, "-reverse", "", false},
                      CommandLineCase{"UnknownLongIsAName", {"--help"}, "--help", "", false},
                      CommandLineCase{"LogBeforeFile", {"--event-log", "e.log", "a.dat"}, "a.dat", "e.log", false},
                      CommandLineCase{"LogAfterFile", {"a.dat", "--event-log", "e.log"}, "a.dat", "e.log", false},
                      CommandLineCase{"DashDashEndsOptions", {"--", "--event-log"}, "--event-log", "", false},
                      CommandLineCase{"EmptyName", {""}, "", "", false},
                      CommandLineCase{"LogWithoutValue", {"a.dat", "--event-log"}, "a.dat", "", true},
                      CommandLineCase{"ViewIsNoName", {"--view", "a.dat"}, "a.dat", "", false},
                      CommandLineCase{"BadSize", {"--size", "12x", "a.dat"}, "", "", true},
                      CommandLineCase{"HugeSize", {"--size", "99999x10", "a.dat"}, "", "", true}),
    [](const auto& testInfo) { return std::string(testInfo.param.Label); });

TEST(CommandLine, ExportTakesEveryFileItsTargetAndSize)
{
    const CommandLine line =
        ParseCommandLine({"tracely", "--export", "out.svg", "--size", "640x480", "--", "a.dat", "--view", "b.dat"});
    EXPECT_TRUE(line.Error.empty()) << line.Error;
    EXPECT_EQ(line.ExportTo, "out.svg");
    EXPECT_EQ(line.ExportWidth, 640);
    EXPECT_EQ(line.ExportHeight, 480);
    EXPECT_FALSE(line.View) << "after -- it is a file name";
    EXPECT_EQ(line.FileNames, (std::vector<std::string>{"a.dat", "--view", "b.dat"}));
}
