// SPDX-License-Identifier: MIT
#include "Conversions.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

struct IntCase {
    const char* Text;
    int Expected;
};

class IntegerText : public ::testing::TestWithParam<IntCase> { };

TEST_P(IntegerText, Converts)
{
    EXPECT_EQ(StrToInt(GetParam().Text), GetParam().Expected) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(Conversions, IntegerText,
                         ::testing::Values(IntCase{"0", 0}, IntCase{"42", 42}, IntCase{"+7", 7}, IntCase{"-13", -13},
                                           IntCase{" 5 ", 5}, IntCase{"\t12", 12}, IntCase{"007", 7},
                                           IntCase{"2147483647", 2147483647}, IntCase{"-2147483648", -2147483647 - 1},
                                           IntCase{"$1F", 31}, IntCase{"0x1f", 31}, IntCase{"0X10", 16},
                                           IntCase{"-$10", -16}, IntCase{"$02FF0000", 0x02FF0000},
                                           IntCase{"$FFFFFFFF", -1}));

class NotAnIntegerText : public ::testing::TestWithParam<const char*> { };

TEST_P(NotAnIntegerText, RaisesTheConversionErrorWithTheText)
{
    const std::string text = GetParam();
    try {
        StrToInt(text);
        ADD_FAILURE() << "no error for '" << text << "'";
    } catch (const EConvertError& e) {
        EXPECT_EQ(std::string(e.what()), "'" + text + "' は整数ではありません");
    }
}

INSTANTIATE_TEST_SUITE_P(Conversions, NotAnIntegerText,
                         ::testing::Values("", " ", "abc", "1.5", "12a", "1 2", "+", "-", "$", "0x", "$G", "2147483648",
                                           "-2147483649", "99999999999999999999", "$100000000", "１２", "--1", "+-1",
                                           "1e3"));

struct FloatCase {
    const char* Text;
    float Expected;
};

class FloatText : public ::testing::TestWithParam<FloatCase> { };

TEST_P(FloatText, Converts)
{
    EXPECT_EQ(StrToFloat(GetParam().Text), GetParam().Expected) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(Conversions, FloatText,
                         ::testing::Values(FloatCase{"0", 0}, FloatCase{"5", 5}, FloatCase{"-2.5", -2.5f},
                                           FloatCase{"+1.2e+01", 12}, FloatCase{"-1.0e+37", -1e37f},
                                           FloatCase{" 3.25 ", 3.25f}, FloatCase{".5", 0.5f}, FloatCase{"5.", 5},
                                           FloatCase{"1E3", 1000}, FloatCase{"12.34", 12.34f},
                                           FloatCase{"3.4028235e38", FLT_MAX}, FloatCase{"1e-50", 0},
                                           FloatCase{"-1e-400", -0.0f},
                                           FloatCase{"0.000000000000000000000000000000000000000000000000001", 0}));

class NotAFloatText : public ::testing::TestWithParam<const char*> { };

TEST_P(NotAFloatText, RaisesTheConversionErrorWithTheText)
{
    const std::string text = GetParam();
    try {
        StrToFloat(text);
        ADD_FAILURE() << "no error for '" << text << "'";
    } catch (const EConvertError& e) {
        EXPECT_EQ(std::string(e.what()), "'" + text + "' は浮動小数点数ではありません");
    }
}

INSTANTIATE_TEST_SUITE_P(Conversions, NotAFloatText,
                         ::testing::Values("", "  ", "abc", ".", "-", "+.", "1,5", "1.2.3", "1e", "1e+", "e5", "12kg",
                                           "1 2", "nan", "inf", "-inf", "infinity", "0x10", "$10", "1e39", "-3.5e38",
                                           "1e99999999999", "--1"));
