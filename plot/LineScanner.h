// SPDX-License-Identifier: MIT
// What a data line is and how its values are read. Works on the examined
// text of one line (no carriage returns, no line feed, nothing after a NUL;
// see DataFileLines.h); never copies, allocates or throws.
//
// Data line: the first character is not '#', and after leading spaces and
// tabs comes a decimal digit, '+' or '-'.
//
// Value: optional white space, an optional sign, digits with an optional
// decimal point (at least one digit), an optional exponent ('e' or 'E', an
// optional sign, digits). Nothing else: no "inf", "nan" or hexadecimal. The
// number is rounded to the nearest 32-bit float; beyond the float range it
// becomes an infinity of its sign, below it a zero of its sign.
//
// After a value, its text stretches to the first byte that is 32 or less, a
// comma or 128 or more ("12.5kg" is 12.5), and exactly one byte after that
// stretch is consumed as the separator. The next value may be preceded by
// white space but not by a second separator: "1,,2" and "1 ,2" are one value,
// "1, 2" is two. Reading stops at the first place no value starts.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace line_scanner_detail {

inline bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline bool IsScanSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline bool EndsValueText(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b <= 32 || c == ',' || b >= 128;
}

// The value of a well-formed number whose float conversion overflowed or
// underflowed.
float OutOfRangeValue(const char* begin, const char* end);

}   // namespace line_scanner_detail

inline bool IsDataLine(std::string_view line)
{
    if (line.empty() || line.front() == '#')
        return false;
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    if (i == line.size())
        return false;
    const char c = line[i];
    return line_scanner_detail::IsDigit(c) || c == '+' || c == '-';
}

// Reads the values of one line from left to right.
class LineScanner {
public:
    explicit LineScanner(std::string_view line) : m_pos(line.data()), m_end(line.data() + line.size()) { }

    // The next value, or false when none can be read (reading of the line ends).
    // Always inlined: the compiler otherwise keeps it a call of its own in the
    // second pass, and the value then goes through memory once per cell.
    [[gnu::always_inline]] bool Next(float& value)
    {
        using namespace line_scanner_detail;
        const char* p = m_pos;
        while (p < m_end && IsScanSpace(*p))
            ++p;
        const char* start = p;
        const bool negative = p < m_end && *p == '-';
        if (p < m_end && (*p == '-' || *p == '+'))
            ++p;
        const char* mantissa = p;
        // The digits as one integer while it stays exact in a float; the
        // common short number then needs no general conversion.
        std::uint64_t digitsValue = 0;
        int fractionDigits = 0;
        while (p < m_end && IsDigit(*p)) {
            digitsValue = Accumulate(digitsValue, *p);
            ++p;
        }
        bool digits = p != mantissa;
        if (p < m_end && *p == '.') {
            const char* fraction = ++p;
            while (p < m_end && IsDigit(*p)) {
                digitsValue = Accumulate(digitsValue, *p);
                ++p;
            }
            fractionDigits = static_cast<int>(p - fraction);
            digits = digits || p != fraction;
        }
        if (!digits) {
            m_pos = m_end;
            return false;
        }
        int exponent = 0;
        if (p < m_end && (*p == 'e' || *p == 'E')) {
            const char* q = p + 1;
            const bool negativeExponent = q < m_end && *q == '-';
            if (q < m_end && (*q == '+' || *q == '-'))
                ++q;
            if (q < m_end && IsDigit(*q)) {
                while (q < m_end && IsDigit(*q)) {
                    if (exponent < kExponentCap)
                        exponent = exponent * 10 + (*q - '0');
                    ++q;
                }
                if (negativeExponent)
                    exponent = -exponent;
                p = q;
            }
        }
        value = Convert(start, mantissa, p, negative, digitsValue, exponent - fractionDigits);

        while (p < m_end && !EndsValueText(*p))
            ++p;
        m_pos = p < m_end ? p + 1 : p;
        return true;
    }

    // Position of the next unread byte; for tests and the fuzzer.
    const char* Position() const { return m_pos; }

private:
    static constexpr std::uint64_t kExactLimit = std::uint64_t(1) << 24;
    static constexpr std::uint64_t kOverLimit = kExactLimit + 1;
    static constexpr int kExponentCap = 100000;

    static std::uint64_t Accumulate(std::uint64_t value, char digit)
    {
        const std::uint64_t next = value * 10 + static_cast<std::uint64_t>(digit - '0');
        return value >= kOverLimit || next > kExactLimit ? kOverLimit : next;
    }

    // Digits up to 2^24 times a power of ten up to 10^10 are both exact in a
    // float, so one float multiplication or division rounds correctly; any
    // other number goes through from_chars.
    static float Convert(const char* start, const char* mantissa, const char* end, bool negative,
                         std::uint64_t digitsValue, int exponent)
    {
        static constexpr float kPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
        if (digitsValue <= kExactLimit && exponent >= -10 && exponent <= 10) {
            const auto m = static_cast<float>(digitsValue);
            const float v = exponent < 0 ? m / kPowers[-exponent] : m * kPowers[exponent];
            return negative ? -v : v;
        }
        // from_chars takes a '-' but refuses a '+', so the sign is left to it
        // only when negative.
        float v = 0;
        const auto result = std::from_chars(negative ? start : mantissa, end, v, std::chars_format::general);
        return result.ec == std::errc() ? v : line_scanner_detail::OutOfRangeValue(start, end);
    }

    const char* m_pos;
    const char* m_end;
};

// Number of values that can be read from a line.
inline int CountLineValues(std::string_view line)
{
    LineScanner scanner(line);
    float v;
    int count = 0;
    while (scanner.Next(v))
        ++count;
    return count;
}
