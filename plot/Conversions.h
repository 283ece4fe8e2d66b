// SPDX-License-Identifier: MIT
// Text-to-number conversions of the user interface. A text that is not a
// number raises EConvertError with the message the user sees
// ("'abc' は整数ではありません"); the handler under way stops there.
#pragma once

#include <stdexcept>
#include <string>

class EConvertError : public std::runtime_error {
public:
    // What the text was meant to be; the window words its message from this
    // and the text, in the user's language.
    enum class Expected {
        Unknown,
        Integer,
        Float
    };

    using std::runtime_error::runtime_error;
    EConvertError(Expected expected, const std::string& text);

    Expected What() const { return m_expected; }
    const std::string& Text() const { return m_text; }

private:
    Expected m_expected = Expected::Unknown;
    std::string m_text;
};

// Decimal integer with optional blanks around it and an optional sign;
// "$1F" and "0x1F" are read as hexadecimal. A decimal text must fit 32 signed
// bits; a hexadecimal one may use all 32 bits ("$FFFFFFFF" is -1).
int StrToInt(const std::string& text);

// Decimal number with optional sign, decimal point and exponent; blanks around
// it are allowed. "inf", "nan", hexadecimal forms and values too large for a
// 32-bit float are not numbers here.
float StrToFloat(const std::string& text);
