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

TEST(CommandLine, FollowIsAnOptionAndNoName)
{
    const CommandLine line = ParseCommandLine({"tracely", "--follow", "a.dat", "--", "--follow"});
    EXPECT_TRUE(line.Follow);
    EXPECT_EQ(line.FileNames, (std::vector<std::string>{"a.dat", "--follow"}));
    EXPECT_FALSE(ParseCommandLine({"tracely", "a.dat"}).Follow);
}

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

TEST(CommandLine, ExportLimitsAndStatisticsBeforeTheEndOfOptions)
{
    const CommandLine line = ParseCommandLine(
        {"tracely", "--export", "o.png", "--x", "-1.5:2e3", "--y3", "+0:1", "--stats", "--", "--y1", "1:2", "--stats"});
    EXPECT_TRUE(line.Error.empty()) << line.Error;
    EXPECT_EQ(line.ExportLimits[0], std::make_pair(-1.5, 2000.0));
    EXPECT_EQ(line.ExportLimits[3], std::make_pair(0.0, 1.0));
    EXPECT_FALSE(line.ExportLimits[1]) << "after -- it is a file name";
    EXPECT_TRUE(line.ExportStats);
    EXPECT_EQ(line.FileNames, (std::vector<std::string>{"--y1", "1:2", "--stats"}));

    // Refused with the option and the reason: a colon, two finite numbers, LO below HI.
    const std::vector<std::pair<std::vector<std::string>, const char*>> bad{
        {{"--x", "1-2"}, "colon"},     {{"--y1", "a:2"}, "numbers"},  {{"--x", "0:inf"}, "numbers"},
        {{"--x", "1:2:3"}, "numbers"}, {{"--y2", "2:1"}, "below"},    {{"--y3", "1:1"}, "below"},
        {{"--x"}, "needs a value"},    {{"--stats"}, "with --export"}};
    for (const auto& [args, why] : bad) {
        std::vector<std::string> all{"tracely"};
        if (args.front() != "--stats")
            all.insert(all.end(), {"--export", "o.png"});
        all.insert(all.end(), args.begin(), args.end());
        const std::string error = ParseCommandLine(all).Error;
        EXPECT_NE(error.find(why), std::string::npos) << args.back() << ": " << error;
        EXPECT_NE(error.find(args.front()), std::string::npos) << error;
    }
}
