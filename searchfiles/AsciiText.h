// SPDX-License-Identifier: MIT
// Character rules the program applies itself, whatever the locale says: for
// names it compares (extensions, settings sections and keys) only A-Z and a-z
// are folded, every other byte stands for itself; hex digits are 0-9, a-f
// and A-F.
#pragma once

#include <string_view>

inline char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// The value of a hex digit; -1 for any other byte.
inline int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
