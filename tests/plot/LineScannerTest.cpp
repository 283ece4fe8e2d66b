// SPDX-License-Identifier: MIT
#include "LineScanner.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

std::vector<float> ValuesOf(std::string_view line)
{
    std::vector<float> values;
    LineScanner scanner(line);
    float v;
    while (scanner.Next(v))
        values.push_back(v);
    return values;
}

// A copy of a line with padding on either side that would read as more
// digits if the scanner took any of it for part of the line.
class PaddedCopy {
public:
    explicit PaddedCopy(std::string_view line, char pad = '7') : m_bytes(kScanPadding, pad)
    {
        m_bytes += line;
        m_bytes.append(kScanPadding, pad);
    }
    std::string_view Line() const
    {
        return std::string_view(m_bytes).substr(kScanPadding, m_bytes.size() - 2 * kScanPadding);
    }

private:
    std::string m_bytes;
};

std::vector<float> PaddedValuesOf(std::string_view line)
{
    const PaddedCopy copy(line);
    std::vector<float> values;
    LineScanner scanner(copy.Line(), PaddedLine{});
    float v;
    while (scanner.Next(v))
        values.push_back(v);
    return values;
}

std::vector<std::uint32_t> Bits(const std::vector<float>& values)
{
    std::vector<std::uint32_t> bits;
    for (float v : values)
        bits.push_back(std::bit_cast<std::uint32_t>(v));
    return bits;
}

struct DataLineCase {
    const char* Name;
    std::string Line;
    bool IsData;
};

class LineScannerDataLine : public testing::TestWithParam<DataLineCase> { };

TEST_P(LineScannerDataLine, ClassifiesByTheFirstCharacterAfterBlanks)
{
    EXPECT_EQ(IsDataLine(GetParam().Line), GetParam().IsData) << '"' << GetParam().Line << '"';
}

INSTANTIATE_TEST_SUITE_P(LineScanner, LineScannerDataLine,
                         testing::Values(DataLineCase{"Digit", "1 2", true},
                                         DataLineCase{"BlanksThenMinus", "  -1.5e-3,2.0", true},
                                         DataLineCase{"TabThenPlus", "\t+3", true},
                                         DataLineCase{"DashesWithoutValues", "--- results ---", true},
                                         DataLineCase{"LeadingPoint", ".5 1", false},
                                         DataLineCase{"Letter", "x 1", false}, DataLineCase{"Comment", "#1 2", false},
                                         DataLineCase{"CommentOnlyInFirstColumn", " #1 2", false},
                                         DataLineCase{"Empty", "", false}, DataLineCase{"OnlyBlanks", " \t ", false},
                                         DataLineCase{"VerticalTabIsNotABlank", "\v1", false},
                                         DataLineCase{"HighByte",
                                                      "\xB0"
                                                      "1",
                                                      false}),
                         [](const auto& testInfo) { return std::string(testInfo.param.Name); });

struct ValuesCase {
    const char* Name;
    std::string Line;
    std::vector<float> Values;
};

class LineScannerValues : public testing::TestWithParam<ValuesCase> { };

TEST_P(LineScannerValues, ReadsValuesUntilNoNumberStarts)
{
    const std::vector<float> got = ValuesOf(GetParam().Line);
    ASSERT_EQ(got.size(), GetParam().Values.size()) << '"' << GetParam().Line << '"';
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_EQ(got[i], GetParam().Values[i]) << "value " << i << " of \"" << GetParam().Line << '"';
    EXPECT_EQ(CountLineValues(GetParam().Line), static_cast<int>(got.size()));
    EXPECT_EQ(Bits(PaddedValuesOf(GetParam().Line)), Bits(got)) << "padded";
}

INSTANTIATE_TEST_SUITE_P(
    LineScanner, LineScannerValues,
    testing::Values(ValuesCase{"Blanks", "1 2 3", {1, 2, 3}}, ValuesCase{"TwoCommas", "1,,2", {1}},
                    ValuesCase{"CommaThenBlank", "1, 2", {1, 2}}, ValuesCase{"TwoTabs", "1\t\t2", {1, 2}},
                    ValuesCase{"BlankThenComma", "1 ,2", {1}}, ValuesCase{"WordStops", "1 abc 3", {1}},
                    ValuesCase{"UnitIgnored", "12.5kg 3", {12.5f, 3}}, ValuesCase{"SemicolonInsideToken", "1;2", {1}},
                    ValuesCase{"DateToken", "2023/01/05 12.5", {2023, 12.5f}},
                    ValuesCase{"SignsAndExponent", "  -1.5e-3,2.0", {-1.5e-3f, 2}},
                    ValuesCase{"PlusSign", "+5 -6", {5, -6}},
                    ValuesCase{"CapitalExponent", "1E5 2e-2 3e+1", {1e5f, 2e-2f, 30}},
                    ValuesCase{"BareExponentLetterIgnored", "1e 2", {1, 2}},
                    ValuesCase{"ExponentSignWithoutDigits", "1e+ 2", {1, 2}},
                    ValuesCase{"PointWithoutLeadingDigit", ".5 .25", {0.5f, 0.25f}},
                    ValuesCase{"PointWithoutTrailingDigit", "5. 1", {5, 1}},
                    ValuesCase{"DashesOnly", "--- results ---", {}}, ValuesCase{"SignThenBlank", "- 1", {}},
                    ValuesCase{"TwoSigns", "+-1", {}}, ValuesCase{"LonePoint", ". 1", {}},
                    ValuesCase{"NoInfinity", "inf 1", {}}, ValuesCase{"NoNan", "1 nan 2", {1}},
                    ValuesCase{"NoHex", "0x10 5", {0, 5}},
                    ValuesCase{"HighByteSeparates",
                               "1\xB0"
                               "2",
                               {1, 2}},
                    ValuesCase{"ControlByteSeparates",
                               "1\x01"
                               "2",
                               {1, 2}},
                    ValuesCase{"OnlyOneSeparatorConsumed", "1\xB0,2", {1}}, ValuesCase{"TrailingBlank", "1 2 ", {1, 2}},
                    ValuesCase{"FormFeedSkippedBeforeValue", "1 \f2", {1, 2}},
                    ValuesCase{"RoundsToNearestFloat", "0.1 16777217", {0.1f, 16777216.0f}}),
    [](const auto& testInfo) { return std::string(testInfo.param.Name); });

// Bit patterns, so that the sign of a zero counts.
struct RangeCase {
    const char* Name;
    std::string Text;
    float Value;
};

class LineScannerRange : public testing::TestWithParam<RangeCase> { };

TEST_P(LineScannerRange, BeyondTheFloatRangeGivesInfinityOrZeroOfTheSign)
{
    const std::vector<float> got = ValuesOf(GetParam().Text);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(got[0]), std::bit_cast<std::uint32_t>(GetParam().Value))
        << GetParam().Text << " read as " << got[0];
}

constexpr float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(LineScanner, LineScannerRange,
                         testing::Values(RangeCase{"LargestFloat", "3.40282347e38", std::numeric_limits<float>::max()},
                                         RangeCase{"Overflow", "1e39", kInf},
                                         RangeCase{"NegativeOverflow", "-1e39", -kInf},
                                         RangeCase{"HugeExponent", "2e99999999999999999999", kInf},
                                         RangeCase{"ManyDigits", "1" + std::string(400, '0'), kInf},
                                         RangeCase{"Subnormal", "1e-40", 1e-40f}, RangeCase{"Underflow", "1e-50", 0.0f},
                                         RangeCase{"NegativeUnderflow", "-1e-50", -0.0f},
                                         RangeCase{"LongFractionUnderflow", "0." + std::string(60, '0') + "1", 0.0f},
                                         RangeCase{"ZeroWithHugeExponent", "0e99999999999", 0.0f},
                                         RangeCase{"HugeNegativeExponent", "5e-99999999999999999999", 0.0f}),
                         [](const auto& testInfo) { return std::string(testInfo.param.Name); });

TEST(LineScanner, EveryNumberRoundsAsTheGeneralConversionDoes)
{
    // Short numbers take a quicker road than long ones; both must give the
    // correctly rounded float that std::from_chars gives.
    std::mt19937 rng(42);
    auto digits = [&](int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += static_cast<char>('0' + rng() % 10);
        return text;
    };
    for (int i = 0; i < 200000; ++i) {
        std::string text = rng() % 2 ? "-" : "";
        text += digits(1 + static_cast<int>(rng() % 9));
        if (rng() % 3 != 0)
            text += "." + digits(static_cast<int>(rng() % 10));
        if (rng() % 2 != 0)
            text += "e" + std::to_string(static_cast<int>(rng() % 31) - 15);
        float expected = 0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_EQ(result.ec, std::errc()) << text;
        const std::vector<float> got = ValuesOf(text);
        ASSERT_EQ(got.size(), 1u) << text;
        ASSERT_EQ(std::bit_cast<std::uint32_t>(got[0]), std::bit_cast<std::uint32_t>(expected)) << text;
        ASSERT_EQ(Bits(PaddedValuesOf(text)), Bits(got)) << text;
    }
}

TEST(LineScanner, NumbersNearlyHalfwayBetweenTwoFloatsRoundAsTheGeneralConversionDoes)
{
    // Long digit strings close to the midpoint of two neighbouring floats are
    // where a conversion through a double can round the wrong way.
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> exponent(-14, 20);
    char text[64];
    for (int i = 0; i < 20000; ++i) {
        const auto below = static_cast<float>(std::pow(10.0, exponent(rng)));
        const float above = std::nextafter(below, std::numeric_limits<float>::infinity());
        const double halfway = (double(below) + double(above)) / 2;
        for (int digits = 9; digits <= 17; ++digits) {
            for (const char* format : {"%.*e", "%.*g"}) {
                std::snprintf(text, sizeof text, format, digits - 1, halfway);
                float expected = 0;
                std::from_chars(text, text + std::strlen(text), expected);
                const std::vector<float> got = ValuesOf(text);
                ASSERT_EQ(got.size(), 1u) << text;
                ASSERT_EQ(std::bit_cast<std::uint32_t>(got[0]), std::bit_cast<std::uint32_t>(expected)) << text;
                ASSERT_EQ(Bits(PaddedValuesOf(text)), Bits(got)) << text;
            }
        }
    }
}

TEST(LineScanner, NeverReadsPastTheEndOfTheView)
{
    // The bytes after the view would continue the number or start a new value.
    const std::string text = "1 2.5e1 77";
    const std::vector<float> got = ValuesOf(std::string_view(text).substr(0, 6));
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[1], 2.5f);   // "2.5e" without its digit
    const std::string cut = "12";
    EXPECT_EQ(ValuesOf(std::string_view(cut).substr(0, 1)), std::vector<float>{1});
    EXPECT_EQ(PaddedValuesOf("1 2.5e"), (std::vector<float>{1, 2.5f}));
    EXPECT_EQ(PaddedValuesOf("-12.5"), std::vector<float>{-12.5f});
}

TEST(LineScanner, APaddedLineReadsAsThePlainLine)
{
    // Lines of number characters in every order, with padding of digits,
    // points, signs or separators: the values, where each reading stops
    // and where reading ends must all be those of the plain reading.
    std::mt19937 rng(11);
    const std::string alphabet = "0123456789012345678901234567890123456789..--++eE  \t,\x01\x80x";
    for (int round = 0; round < 300000; ++round) {
        std::string line;
        for (auto n = rng() % 40; n > 0; --n)
            line += alphabet[rng() % alphabet.size()];
        const PaddedCopy copy(line, "7.-, "[rng() % 5]);
        LineScanner plain(line);
        LineScanner padded(copy.Line(), PaddedLine{});
        for (int value = 0;; ++value) {
            float a = 0;
            float b = 0;
            const bool readA = plain.Next(a);
            const bool readB = padded.Next(b);
            ASSERT_EQ(readB, readA) << '"' << line << "\" value " << value;
            ASSERT_EQ(std::bit_cast<std::uint32_t>(b), std::bit_cast<std::uint32_t>(a)) << '"' << line << '"';
            ASSERT_EQ(padded.Position() - copy.Line().data(), plain.Position() - line.data()) << '"' << line << '"';
            if (!readA)
                break;
        }
    }
}

}   // namespace
