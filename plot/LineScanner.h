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

#include <bit>
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
        // All digits as one integer. Past 19 digits it may wrap; their count
        // then sends the number to the general conversion.
        std::uint64_t digitsValue = 0;
        p = ReadDigits(p, digitsValue);
        int digitCount = static_cast<int>(p - mantissa);
        int fractionDigits = 0;
        if (p < m_end && *p == '.') {
            const char* fraction = ++p;
            p = ReadDigits(p, digitsValue);
            fractionDigits = static_cast<int>(p - fraction);
            digitCount += fractionDigits;
        }
        if (digitCount == 0) {
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
        const std::uint64_t exactDigits = digitCount <= kMaxExactDigits ? digitsValue : kNotExact;
        value = Convert(start, mantissa, p, negative, exactDigits, exponent - fractionDigits);

        while (p < m_end && !EndsValueText(*p))
            ++p;
        m_pos = p < m_end ? p + 1 : p;
        return true;
    }

    // Position of the next unread byte; for tests and the fuzzer.
    const char* Position() const { return m_pos; }

private:
    // Nineteen decimal digits always fit in 64 bits.
    static constexpr int kMaxExactDigits = 19;
    // Integers up to 2^53 are exact in a double.
    static constexpr std::uint64_t kDoubleExactLimit = std::uint64_t(1) << 53;
    static constexpr std::uint64_t kNotExact = kDoubleExactLimit + 1;
    static constexpr int kExponentCap = 100000;
    static constexpr int kPowerRange = 22;
    // 10^-22 .. 10^22 as doubles: exact from 10^0 up, rounded below.
    static constexpr double kPowers[2 * kPowerRange + 1] = {
        1e-22, 1e-21, 1e-20, 1e-19, 1e-18, 1e-17, 1e-16, 1e-15, 1e-14, 1e-13, 1e-12, 1e-11, 1e-10, 1e-9, 1e-8,
        1e-7,  1e-6,  1e-5,  1e-4,  1e-3,  1e-2,  1e-1,  1e0,   1e1,   1e2,   1e3,   1e4,   1e5,   1e6,  1e7,
        1e8,   1e9,   1e10,  1e11,  1e12,  1e13,  1e14,  1e15,  1e16,  1e17,  1e18,  1e19,  1e20,  1e21, 1e22};

    // Appends the run of digits at `p` to `value` (wrapping past 19 digits);
    // returns the end of the run.
    [[gnu::always_inline]] const char* ReadDigits(const char* p, std::uint64_t& value) const
    {
        while (p < m_end && line_scanner_detail::IsDigit(*p)) {
            value = value * 10 + static_cast<std::uint64_t>(*p - '0');
            ++p;
        }
        return p;
    }

    // The digits (an integer up to 2^53, exact in a double) times a power of
    // ten from the table is one double multiplication, off from the exact
    // product by at most one and a half units of the double's last place:
    // half a unit for its own rounding, one for the rounded negative powers.
    // Rounding that double to float then gives the correctly rounded float
    // unless the double lies that close to halfway between two floats, so
    // any double within four units of halfway (the lowest 29 bits of its
    // significand, which a float drops, near 1 << 28) goes to from_chars, as
    // every number outside the table's range does. Within the range
    // (10^-22 up to 2^53 times 10^22) every result is a normal float.
    static float Convert(const char* start, const char* mantissa, const char* end, bool negative,
                         std::uint64_t digitsValue, int exponent)
    {
        if (digitsValue <= kDoubleExactLimit && exponent >= -kPowerRange && exponent <= kPowerRange) {
            const double product = static_cast<double>(digitsValue) * kPowers[exponent + kPowerRange];
            constexpr std::uint64_t kDropped = (std::uint64_t(1) << 29) - 1;
            constexpr std::uint64_t kHalfway = std::uint64_t(1) << 28;
            constexpr std::uint64_t kMargin = 4;
            const std::uint64_t low = std::bit_cast<std::uint64_t>(product) & kDropped;
            if (low - (kHalfway - kMargin) > 2 * kMargin) {
                const auto v = static_cast<float>(product);
                return negative ? -v : v;
            }
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
