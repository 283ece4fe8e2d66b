// SPDX-License-Identifier: MIT
#include "Conversions.h"

#include "AsciiText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string ConvertMessage(EConvertError::Expected expected, const std::string& text)
{
    return "'" + text +
        (expected == EConvertError::Expected::Float ? "' は浮動小数点数ではありません" : "' は整数ではありません");
}

[[noreturn]] void NotAnInteger(const std::string& text)
{
    throw EConvertError(EConvertError::Expected::Integer, text);
}

[[noreturn]] void NotAFloat(const std::string& text)
{
    throw EConvertError(EConvertError::Expected::Float, text);
}

}   // namespace

EConvertError::EConvertError(Expected expected, const std::string& text)
    : std::runtime_error(ConvertMessage(expected, text)), m_expected(expected), m_text(text)
{
}

namespace {

// Doubles from here on round to infinity when narrowed to float.
constexpr double kFloatOverflow = 3.4028235677973366e38;

}   // namespace

int StrToInt(const std::string& text)
{
    std::string_view s = TrimBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }

    bool hex = false;
    if (!s.empty() && s.front() == '$') {
        hex = true;
        s.remove_prefix(1);
    } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        hex = true;
        s.remove_prefix(2);
    }
    if (s.empty())
        NotAnInteger(text);

    std::uint64_t value = 0;
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    for (char c : s) {
        const int digit = hex ? HexDigitValue(c) : (IsDigit(c) ? c - '0' : -1);
        if (digit < 0)
            NotAnInteger(text);
        value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (value > limit)
            NotAnInteger(text);
    }
    // Hexadecimal texts name the 32 bits themselves, as colour values do.
    const std::uint32_t bits = static_cast<std::uint32_t>(value);
    const std::uint32_t result = negative ? 0u - bits : bits;
    return static_cast<int>(result);
}

float StrToFloat(const std::string& text)
{
    std::string_view s = TrimBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }

    // Validate the whole grammar here; from_chars alone would also take
    // "inf", "nan" and stop early on trailing characters.
    std::size_t i = 0;
    int integerDigits = 0;   // significant digits before the point
    int leadingZeros = 0;    // zeros after the point before the first significant digit
    bool anyDigit = false;
    bool significant = false;
    while (i < s.size() && IsDigit(s[i])) {
        anyDigit = true;
        significant = significant || s[i] != '0';
        integerDigits += significant ? 1 : 0;
        ++i;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            anyDigit = true;
            if (!significant && s[i] == '0')
                ++leadingZeros;
            significant = significant || s[i] != '0';
            ++i;
        }
    }
    if (!anyDigit)
        NotAFloat(text);

    long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            negativeExponent = s[i] == '-';
            ++i;
        }
        if (i >= s.size() || !IsDigit(s[i]))
            NotAFloat(text);
        while (i < s.size() && IsDigit(s[i])) {
            exponent = std::min(exponent * 10 + (s[i] - '0'), 100000L);
            ++i;
        }
        exponent = negativeExponent ? -exponent : exponent;
    }
    if (i != s.size())
        NotAFloat(text);

    double value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too small is zero; too large is not a value a limit can hold.
        const long magnitude = (integerDigits > 0 ? integerDigits : -leadingZeros) + exponent;
        if (magnitude > 0)
            NotAFloat(text);
        value = 0;
    } else if (error != std::errc() || end != s.data() + s.size()) {
        NotAFloat(text);
    }
    if (std::fabs(value) >= kFloatOverflow)
        NotAFloat(text);
    const float result = static_cast<float>(value);
    return negative ? -result : result;
}
