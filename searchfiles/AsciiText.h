// SPDX-License-Identifier: MIT
// Case rules for names the program compares itself (extensions, settings
// sections and keys): only A-Z and a-z are folded, every other byte stands
// for itself, whatever the locale says.
#pragma once

#include <string_view>

inline char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
