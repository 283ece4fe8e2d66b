// SPDX-License-Identifier: MIT
#include "LineScanner.h"

#include <limits>

namespace line_scanner_detail {

// The conversion failed only because the number lies outside the float
// range, so its decimal order of magnitude tells which side: positive means
// too large (an infinity, as the C conversion gives), otherwise too small.
float OutOfRangeValue(const char* begin, const char* end)
{
    const char* p = begin;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';

    long long order = 0;   // decimal exponent of the leading non-zero digit
    bool seenNonZero = false;
    long long integerDigits = 0;
    while (p < end && IsDigit(*p)) {
        if (*p != '0' || seenNonZero) {
            seenNonZero = true;
            ++integerDigits;
        }
        ++p;
    }
    if (seenNonZero) {
        order = integerDigits - 1;
    } else if (p < end && *p == '.') {
        long long leadingZeros = 0;
        for (const char* q = p + 1; q < end && IsDigit(*q); ++q) {
            if (*q != '0') {
                seenNonZero = true;
                break;
            }
            ++leadingZeros;
        }
        order = -(leadingZeros + 1);
    }
    while (p < end && *p != 'e' && *p != 'E')
        ++p;

    long long exponent = 0;
    if (p < end) {
        ++p;
        bool negativeExponent = false;
        if (p < end && (*p == '+' || *p == '-'))
            negativeExponent = *p++ == '-';
        constexpr long long kCap = 1'000'000'000;   // far past any float, no overflow here
        while (p < end && IsDigit(*p)) {
            if (exponent < kCap)
                exponent = exponent * 10 + (*p - '0');
            ++p;
        }
        if (negativeExponent)
            exponent = -exponent;
    }

    const float zero = negative ? -0.0f : 0.0f;
    if (!seenNonZero)
        return zero;
    if (order + exponent > 0)
        return negative ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    return zero;
}

}   // namespace line_scanner_detail
