// SPDX-License-Identifier: MIT
// The program's 32-bit colour values: bytes from high to low are a flag, blue,
// green and red. Flag 0x02 marks the palette-relative form of the start colours,
// 0x00 a plain RGB value; a value with the top bit set is a system colour whose
// low byte names the platform colour (as clActiveBorder does).
#pragma once

#include <cstdint>

using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSystemColor = 0xFF000000;
inline constexpr TColor clActiveBorder = clSystemColor | 10;

constexpr bool IsSystemColor(TColor c)
{
    return (c & 0x80000000u) != 0;
}
constexpr std::uint8_t RedOf(TColor c)
{
    return c & 0xFF;
}
constexpr std::uint8_t GreenOf(TColor c)
{
    return (c >> 8) & 0xFF;
}
constexpr std::uint8_t BlueOf(TColor c)
{
    return (c >> 16) & 0xFF;
}
