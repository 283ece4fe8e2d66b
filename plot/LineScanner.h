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
#include <string_view>

namespace line_scanner_detail {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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

} // namespace line_scanner_detail

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
    explicit LineScanner(std::string_view line)
        : m_pos(line.data()), m_end(line.data() + line.size())
    {
    }

    // The next value, or false when none can be read (reading of the line ends).
    bool Next(float& value)
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
        while (p < m_end && IsDigit(*p))
            ++p;
        bool digits = p != mantissa;
        if (p < m_end && *p == '.') {
            const char* fraction = ++p;
            while (p < m_end && IsDigit(*p))
                ++p;
            digits = digits || p != fraction;
        }
        if (!digits) {
            m_pos = m_end;
            return false;
        }
        if (p < m_end && (*p == 'e' || *p == 'E')) {
            const char* q = p + 1;
            if (q < m_end && (*q == '+' || *q == '-'))
                ++q;
            if (q < m_end && IsDigit(*q)) {
                while (q < m_end && IsDigit(*q))
                    ++q;
                p = q;
            }
        }
        // from_chars takes a '-' but refuses a '+', so the sign is left to it
        // only when negative.
        const char* first = negative ? start : mantissa;
        float v = 0;
        const auto result = std::from_chars(first, p, v, std::chars_format::general);
        value = result.ec == std::errc() ? v : OutOfRangeValue(start, p);

        while (p < m_end && !EndsValueText(*p))
            ++p;
        m_pos = p < m_end ? p + 1 : p;
        return true;
    }

    // Position of the next unread byte; for tests and the fuzzer.
    const char* Position() const { return m_pos; }

private:
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
