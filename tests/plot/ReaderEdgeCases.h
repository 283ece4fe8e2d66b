// SPDX-License-Identifier: MIT
// The reader's edge-case files: what the line, count and bad-input tests
// expect of them, and what the split-read test reads both ways.
#pragma once

#include "DataFileLines.h"

#include <random>
#include <string>
#include <vector>

struct ReaderCountCase {
    const char* Name;
    std::string Bytes;
    int Points;
    int Columns;
};

inline std::string NumbersLine(std::size_t length)
{
    std::string line;
    while (line.size() < length)
        line += "1 ";
    line.resize(length);
    return line + "\n";
}

inline std::vector<ReaderCountCase> ReaderCountCases()
{
    return {ReaderCountCase{"CommentAndHeaderOnly", "# x y\ntime  value\n", 0, 0},
            ReaderCountCase{"ShortSecondLine", "1 2 3\n4 5\n", 2, 3},
            ReaderCountCase{"DashesAreAPointWithoutValues", "--- results ---\n1 2\n", 2, 0},
            ReaderCountCase{"DateTokenIsOneValue", "2023/01/05 12.5\n", 1, 2},
            ReaderCountCase{"SkippedLines", "x 1\n.5 1\n#1 2\n\n  -1.5e-3,2.0\n", 1, 2},
            ReaderCountCase{"LongLineIsTwoLines", NumbersLine(5000), 2, 2048},
            ReaderCountCase{"CrLfFile", "1 2\r\n3 4\r\n5 6\r\n", 3, 2}};
}

struct ReaderContentCase {
    const char* Name;
    std::string (*Make)();
    int Points;   // -1: whatever the bytes give
    int Columns;
};

inline std::string BinaryGarbage()
{
    std::mt19937 rng(7);
    std::string bytes(1 << 20, '\0');
    for (char& c : bytes)
        c = static_cast<char>(rng());
    return bytes;
}

inline std::string OneMegabyteLine()
{
    std::string bytes;
    for (int i = 0; i < (1 << 19); ++i)
        bytes += "1 ";
    return bytes + "\n";
}

inline std::vector<ReaderContentCase> ReaderContentCases()
{
    using namespace std::string_literals;
    return {ReaderContentCase{"BinaryGarbage", BinaryGarbage, -1, 0},
            ReaderContentCase{"NulBytes", [] { return "1 2\0 3 4\n\0\0\n\0 9\n5 6\n"s; }, 2, 2},
            // 1 MiB + LF in 4,095-byte pieces, each starting with a value or a blank.
            ReaderContentCase{"OneMegabyteLine", OneMegabyteLine, 257, 2048},
            ReaderContentCase{"TenMillionEmptyLines", [] { return std::string(10'000'000, '\n'); }, 0, 0},
            ReaderContentCase{"CommentsAndHeadersOnly", [] { return "# run 1\n#x y\ntime value\n\n.5\n"s; }, 0, 0},
            ReaderContentCase{"CrOnlyLineEnds", [] { return "1 2\r3 4\r5 6\r"s; }, 1, 4},
            ReaderContentCase{"CtrlZ",
                              [] {
                                  return "1 2\n\x1A"
                                         "3 4\n"s;
                              },
                              1, 2},
            ReaderContentCase{"OnlyCarriageReturns", [] { return std::string(100000, '\r'); }, 0, 0}};
}

struct LineSplitCase {
    const char* Name;
    std::string Bytes;
    std::vector<std::string> Lines;
};

inline std::vector<LineSplitCase> LineSplitCases()
{
    using namespace std::string_literals;
    const std::string k4094(4094, 'a');
    const std::string k4095(4095, 'a');
    return {LineSplitCase{"LineFeeds", "1 2\n3 4\n", {"1 2", "3 4"}},
            LineSplitCase{"CrLf", "1 2\r\n3 4\r\n", {"1 2", "3 4"}},
            LineSplitCase{"CrOnlyLineEndsReadAsOneLine", "1 2\r3 4\r5\r", {"1 23 45"}},
            LineSplitCase{"StrayCrDroppedInsideLine", "1\r2 3\n", {"12 3"}},
            LineSplitCase{"CrAtEndOfFile", "1\r", {"1"}},
            LineSplitCase{"OnlyCrs", "\r\r\r", {}},
            LineSplitCase{"NoFinalLineFeed", "1\n2", {"1", "2"}},
            LineSplitCase{"EmptyFile", "", {}},
            LineSplitCase{"EmptyLines", "\n\n", {"", ""}},
            LineSplitCase{"CtrlZEndsTheFile",
                          "1\n2\x1A"
                          "3\n4\n",
                          {"1", "2"}},
            LineSplitCase{"CtrlZFirst",
                          "\x1A"
                          "1\n",
                          {}},
            LineSplitCase{"NulEndsTheExaminedText", "1 2\0 3\n4\n"s, {"1 2", "4"}},
            LineSplitCase{"NulLinesAreEmpty", "\0\0\n\0"s, {"", ""}},
            LineSplitCase{"LongestLineWithLineFeed", k4094 + "\n1", {k4094, "1"}},
            LineSplitCase{"FullBufferLeavesTheLineFeedAlone", k4095 + "\nb", {k4095, "", "b"}},
            LineSplitCase{"FullBufferAfterALine", "1\n" + k4094 + "\n" + k4095 + "\nb", {"1", k4094, k4095, "", "b"}},
            LineSplitCase{"CrDoesNotCountTowardsTheLimit", k4094 + "\r\n", {k4094}},
            LineSplitCase{
                "LongLineContinues", std::string(5000, '7') + "\n", {std::string(4095, '7'), std::string(905, '7')}},
            LineSplitCase{
                "NulInLongLine", "12"s + '\0' + std::string(5000, 'a') + "\n", {"12", std::string(5003 - 4095, 'a')}}};
}
