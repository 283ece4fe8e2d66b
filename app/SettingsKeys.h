// SPDX-License-Identifier: MIT
// Sections, keys and read defaults of the global settings file "Tracely.ini"
// and the directory settings file "_Tracely.ini". The [Option] names are the
// options dialog's (OptionKeys.h): the global file is also the option file, so
// both write the same keys.
#pragma once

#include "OptionKeys.h"

#include <cstdio>
#include <string>

inline constexpr const char* kForm1Section = "Form1";
inline constexpr const char* kStateSection = "State";
inline constexpr const char* kValueSection = "Value";
inline constexpr const char* kColorSection = "Color";
// The large view's place, after every section of the program's own layout.
inline constexpr const char* kLargeViewSection = "LargeView";
inline constexpr const char* kLargeViewOpenKey = "Open";
inline constexpr const char* kLargeViewWidthKey = "Width";
inline constexpr const char* kLargeViewHeightKey = "Height";
// Follow mode, on at the next start when it was on at the last close.
inline constexpr const char* kFollowSection = "Follow";
inline constexpr const char* kFollowOnKey = "On";
// The language picked in the context menu, taken at the next start.
inline constexpr const char* kLanguageSection = "Language";
inline constexpr const char* kLanguageChoiceKey = "Choice";

inline constexpr const char* kTopKey = "Top";
inline constexpr const char* kLeftKey = "Left";
inline constexpr const char* kYsKey = "Ys";
inline constexpr const char* kTopMostKey = "TopMost";
inline constexpr const char* kDispNameKey = "DispName";
inline constexpr const char* kCursorKey = "Cursor";

inline constexpr int kDefaultTop = 100;
inline constexpr int kDefaultLeft = 100;
inline constexpr int kDefaultYsItem = 0;
inline constexpr bool kDefaultAxisAuto = true;
inline constexpr bool kDefaultToggle = false;
inline constexpr const char* kDefaultLimitText = "0.0";

namespace settings_keys_detail {
inline std::string Format(const char* pattern, int number)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, pattern, number);
    return buffer;
}
}   // namespace settings_keys_detail

// Axis keys carry the axis number: 0 = X, 1..3 = Y1..Y3.
inline std::string AxisAutoKey(int axis)
{
    return settings_keys_detail::Format("A%dauto", axis);
}
inline std::string AxisUpperKey(int axis)
{
    return settings_keys_detail::Format("A%dupper", axis);
}
inline std::string AxisLowerKey(int axis)
{
    return settings_keys_detail::Format("A%dlower", axis);
}
inline std::string AxisColumnKey(int axis)
{
    return settings_keys_detail::Format("A%dcol", axis);
}
// The column a box shows when its key is missing: the axis's own number.
inline std::string DefaultColumnText(int axis)
{
    return std::to_string(axis);
}
// Colour entries "00" to "15".
inline std::string ColorKey(int entry)
{
    return settings_keys_detail::Format("%02d", entry);
}
