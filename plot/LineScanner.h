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

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Bytes on either side of a padded line that the scanner may read, whatever
// they hold; it never lets them change what it reads. PaddedLine marks a
// line that has them.
inline constexpr std::size_t kScanPadding = 16;
struct PaddedLine { };

// Reads the values of one line from left to right.
class LineScanner {
public:
    explicit LineScanner(std::string_view line) : m_pos(line.data()), m_end(line.data() + line.size()) { }
    // For a line with kScanPadding readable bytes on either side: most
    // numbers are then read sixteen bytes at a time.
    LineScanner(std::string_view line, PaddedLine) : LineScanner(line) { m_padded = true; }

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
        ShortNumber number;
        if (m_padded && ReadShortNumber(p, number)) {
            p += number.Length;
            // The byte after the digits ends the value's text: no exponent,
            // nothing to pass over, and that byte is the separator.
            if (number.Separated) {
                value = Convert(start, start + number.Signs, p, number.Negative, number.Digits, -number.FractionDigits);
                m_pos = p + 1;
                return true;
            }
        } else {
            number.Negative = p < m_end && *p == '-';
            if (p < m_end && (*p == '-' || *p == '+'))
                ++p;
            const char* mantissa = p;
            number.Signs = static_cast<int>(p - start);
            // All digits as one integer. Past 19 digits it may wrap; their
            // count then sends the number to the general conversion.
            number.Digits = 0;
            p = ReadDigits(p, number.Digits);
            number.DigitCount = static_cast<int>(p - mantissa);
            number.FractionDigits = 0;
            if (p < m_end && *p == '.') {
                const char* fraction = ++p;
                p = ReadDigits(p, number.Digits);
                number.FractionDigits = static_cast<int>(p - fraction);
                number.DigitCount += number.FractionDigits;
            }
            if (number.DigitCount == 0) {
                m_pos = m_end;
                return false;
            }
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
        const std::uint64_t exactDigits = number.DigitCount <= kMaxExactDigits ? number.Digits : kNotExact;
        value = Convert(start, start + number.Signs, p, number.Negative, exactDigits, exponent - number.FractionDigits);

        while (p < m_end && !EndsValueText(*p))
            ++p;
        m_pos = p < m_end ? p + 1 : p;
        return true;
    }

    // Position of the next unread byte; for tests and the fuzzer.
    const char* Position() const { return m_pos; }

private:
    // A number's sign, digits and point.
    struct ShortNumber {
        std::uint64_t Digits = 0;   // all of them as one integer
        int DigitCount = 0;
        int FractionDigits = 0;
        int Signs = 0;    // 1 with a sign, else 0
        int Length = 0;   // bytes up to and with the last digit
        bool Negative = false;
        bool Separated = false;   // the byte after the last digit ends the value's text
    };

    // Reads the sign, digits and point of a number at `p` that ends within
    // the sixteen bytes from there with vectors, the same as byte by byte.
    // False for any other number, and for no number, which are left to the
    // reading byte by byte. Reads the sixteen bytes before `p` and after it
    // whatever they hold, and ignores those outside the line.
    [[gnu::always_inline]] bool ReadShortNumber(const char* p, ShortNumber& number) const
    {
#if defined(__SSE2__)
        const std::ptrdiff_t left = m_end - p;
        if (left <= 0)
            return false;
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i fromZero = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
        auto digits = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(fromZero, _mm_set1_epi8(9)), fromZero)));
        auto points = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('.'))));
        // As signed bytes, those of 128 and more are below 33 too.
        auto enders = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmplt_epi8(bytes, _mm_set1_epi8(33)), _mm_cmpeq_epi8(bytes, _mm_set1_epi8(',')))));
        if (left < 16) {
            const unsigned inLine = (1u << left) - 1;
            digits &= inLine;
            points &= inLine;
            enders &= inLine;
        }
        const int signs = *p == '-' || *p == '+' ? 1 : 0;
        const int whole = std::countr_one(digits >> signs);
        const int point = signs + whole;
        int fraction = 0;
        int end = point;
        if (((points >> point) & 1u) != 0) {
            fraction = std::countr_one(digits >> (point + 1));
            end = point + 1 + fraction;
        }
        // A run of digits up to the last of the sixteen bytes may go on.
        if (end >= 16 || whole + fraction == 0)
            return false;

        // The sixteen bytes that end with the last digit, the digits before
        // the point moved up one place over it and all before the first
        // digit cleared: a sixteen-digit decimal with leading zeros.
        const int shift = 16 - end;
        __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + end - 16));
        int first = signs + shift;
        if (end != point) {
            const __m128i upToPoint = FirstBytes(point + shift + 1);
            tail = _mm_or_si128(_mm_and_si128(upToPoint, _mm_slli_si128(tail, 1)), _mm_andnot_si128(upToPoint, tail));
            ++first;
        }
        const __m128i values = _mm_andnot_si128(FirstBytes(first), _mm_sub_epi8(tail, _mm_set1_epi8('0')));
        // Pairs of digits, then fours, then eights, each time the first
        // times its place plus the second.
        const __m128i pairs =
            _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(values, _mm_set1_epi16(0xFF)), _mm_set1_epi16(10)),
                          _mm_srli_epi16(values, 8));
        const __m128i fours = _mm_madd_epi16(pairs, _mm_set1_epi32(0x00010064));
        const __m128i eights = _mm_madd_epi16(_mm_packs_epi32(fours, fours), _mm_set1_epi32(0x00012710));
        const auto both = static_cast<std::uint64_t>(_mm_cvtsi128_si64(eights));

        number.Digits = (both & 0xFFFFFFFFu) * 100000000u + (both >> 32);
        number.DigitCount = whole + fraction;
        number.FractionDigits = fraction;
        number.Signs = signs;
        number.Length = end;
        number.Negative = *p == '-';
        number.Separated = ((enders >> end) & 1u) != 0;
        return true;
#else
        (void)p;
        (void)number;
        return false;
#endif
    }

#if defined(__SSE2__)
    // All ones in the first `n` bytes (0 to 16), zeros in the rest.
    static __m128i FirstBytes(int n)
    {
        alignas(16) static constexpr signed char kRamp[32] = {-1, -1, -1, -1, -1, -1, -1, -1,
                                                              -1, -1, -1, -1, -1, -1, -1, -1};
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(kRamp + 16 - n));
    }
#endif

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
    bool m_padded = false;
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
