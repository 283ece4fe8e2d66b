// SPDX-License-Identifier: MIT
#include "FormatText.h"

#include <gtest/gtest.h>

#include <string>

struct NumberFormatCase {
    const char* Format;
    double Value;
    const char* Expected;
};

class FormatNumber : public ::testing::TestWithParam<NumberFormatCase> { };

TEST_P(FormatNumber, MatchesTheReadOutForm)
{
    const NumberFormatCase& c = GetParam();
    EXPECT_EQ(FormatText(c.Format, c.Value), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    FormatText, FormatNumber,
    ::testing::Values(NumberFormatCase{"%+.2e", 12.5, "+1.25e+01"}, NumberFormatCase{"%+.1e", -0.25, "-2.5e-01"},
                      NumberFormatCase{"%+.1e", 12.34, "+1.2e+01"}, NumberFormatCase{"%+.1e", 1e37, "+1.0e+37"},
                      NumberFormatCase{"%+.1e", -1e37, "-1.0e+37"}, NumberFormatCase{"%+.1e", 5, "+5.0e+00"},
                      NumberFormatCase{"%+.4g", 12.3456, "+12.35"},
                      NumberFormatCase{"%+.4g", 0.000123456, "+0.0001235"},
                      NumberFormatCase{"%+.4g", 123456, "+1.235e+05"}, NumberFormatCase{"%+.4g", 0, "+0"},
                      NumberFormatCase{"%+.2e", 1e300 * 1e300, "+inf"}));

TEST(FormatText, IntegersAndLabels)
{
    EXPECT_EQ(FormatText("%02d", 7), "07");
    EXPECT_EQ(FormatText("%02d", 15), "15");
    EXPECT_EQ(FormatText("%d", -42), "-42");
    EXPECT_EQ(FormatText("Y%d", 3), "Y3");
    EXPECT_EQ(FormatText("%s=%d", "n", 1), "n=1");
}

TEST(FormatText, TextLongerThanTheFirstBufferComesOutWhole)
{
    const std::string longText(5000, 'x');
    const std::string result = FormatText("[%s]%d", longText.c_str(), 9);
    EXPECT_EQ(result.size(), 5003u);
    EXPECT_EQ(result.front(), '[');
    EXPECT_EQ(result.substr(5000), "x]9");
    EXPECT_EQ(FormatText("%127s", "a").size(), 127u);
    EXPECT_EQ(FormatText("%128s", "a").size(), 128u);
}

TEST(FormatText, NoFormatGivesAnEmptyText)
{
    EXPECT_EQ(FormatText(nullptr), "");
    EXPECT_EQ(FormatText("%s", ""), "");
}
