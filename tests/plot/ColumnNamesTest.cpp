// SPDX-License-Identifier: MIT
#include "ColumnNames.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Names = std::vector<std::string>;

struct Header {
    const char* What;
    std::string Text;
    Names Expected;
};

class HeaderNames : public ::testing::TestWithParam<Header> { };

TEST_P(HeaderNames, FromTheLastFittingLineBeforeTheData)
{
    const Header& h = GetParam();
    EXPECT_EQ(ColumnNamesFromText(h.Text), h.Expected) << h.What;
}

// "時間", "電圧[mV]" and "表" (whose second byte is a backslash) in CP932.
const std::string kSjisTime = "\x8e\x9e\x8a\xd4";
const std::string kSjisVolt = "\x93\x64\x88\xb3[mV]";
const std::string kSjisTable = "\x95\x5c";

INSTANTIATE_TEST_SUITE_P(
    Files, HeaderNames,
    ::testing::Values(Header{"csv", "time,U_out[mV],I\n0,1.5,2\n1,2,3\n", {"time", "U_out[mV]", "I"}},
                      Header{"tsv with units", "time [s]\tU_out [mV]\n0\t1\n", {"time [s]", "U_out [mV]"}},
                      Header{"blank-separated comment", "# time  U_out[mV]\n0 1\n", {"time", "U_out[mV]"}},
                      Header{"no header", "0,1\n1,2\n", {}}, Header{"only a title", "Sweep of 7 May\n0,1\n", {}},
                      Header{"fewer fields than values", "time,U\n0,1,2\n", {}},
                      Header{"more fields than values", "a b c d\n0 1\n", {}},
                      Header{"title after the header", "time,U\nmeasured on 7 May\n0,1\n", {"time", "U"}},
                      Header{"the nearer of two", "a,b\n#x\ty\n0,1\n", {"x", "y"}},
                      Header{"quoted, trailing separator, CR LF", "\"t\",\"U\",\r\n0,1,\r\n", {"t", "U"}},
                      Header{"no data line", "time,U\n", {}},
                      Header{"Japanese UTF-8", "時間\t電圧[mV]\n0\t1\n", {"時間", "電圧[mV]"}},
                      Header{"Japanese Shift-JIS",
                             kSjisTime + "," + kSjisVolt + "," + kSjisTable + "\n0,1,2\n",
                             {"時間", "電圧[mV]", "表"}},
                      Header{"a broken byte", "a\xff,b\n0,1\n", {"a?", "b"}}));

TEST(ColumnNames, AxisTitles)
{
    const Names names{"time", "", "U"};
    EXPECT_EQ(AxisTitle(names, 0), "index");
    EXPECT_EQ(AxisTitle(names, 1), "time");
    EXPECT_EQ(AxisTitle(names, 2), "column 2");   // an empty field names nothing
    EXPECT_EQ(AxisTitle(names, 3), "U");
    EXPECT_EQ(AxisTitle(names, 4), "column 4");
    EXPECT_EQ(AxisTitle({}, 3), "column 3");
}

TEST(ColumnNames, ReadsOnlyTheBeginningOfAFile)
{
    char path[] = "/tmp/tracely-names-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    {
        std::ofstream out(path, std::ios::binary);
        out << "time,U\n0,1\n";
    }
    EXPECT_EQ(ReadColumnNames(path), (Names{"time", "U"}));
    {
        // The header is past the read limit: no names rather than a long read.
        std::ofstream out(path, std::ios::binary);
        const std::string filler = "# filler\n";
        for (std::size_t written = 0; written <= kHeaderReadLimit; written += filler.size())
            out << filler;
        out << "time,U\n0,1\n";
    }
    EXPECT_EQ(ReadColumnNames(path), Names{});
    std::remove(path);
    EXPECT_EQ(ReadColumnNames(path), Names{});
    EXPECT_EQ(ReadColumnNames("/tmp"), Names{});
}

}   // namespace
