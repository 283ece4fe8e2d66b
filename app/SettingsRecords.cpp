// SPDX-License-Identifier: MIT
#include "SettingsRecords.h"

#include "SettingsKeys.h"

#include <cstddef>
#include <cstdint>

namespace {

std::size_t At(int index)
{
    return static_cast<std::size_t>(index);
}

CommonSettings ReadCommon(const ProfileFile& ini, const std::array<TColor, kColorCount>& colors)
{
    CommonSettings common;
    common.TopMost = ini.ReadBool(kStateSection, kTopMostKey, kDefaultToggle);
    common.DispName = ini.ReadBool(kStateSection, kDispNameKey, kDefaultToggle);
    common.Cursor = ini.ReadBool(kStateSection, kCursorKey, kDefaultToggle);
    for (int axis = 0; axis < kAxisCount; ++axis)
        common.ColumnTexts[At(axis)] = ini.ReadString(kStateSection, AxisColumnKey(axis), DefaultColumnText(axis));
    for (int entry = 0; entry < kColorCount; ++entry) {
        const auto current = static_cast<std::int32_t>(colors[At(entry)]);
        common.Colors[At(entry)] = static_cast<TColor>(ini.ReadInteger(kColorSection, ColorKey(entry), current));
    }
    return common;
}

// The toggles, the column boxes (each with the limit texts after it, as the
// Windows program wrote them) and the colours.
void WriteCommon(ProfileFile& ini, const CommonSettings& common, const std::array<std::string, kAxisCount>& upper,
                 const std::array<std::string, kAxisCount>& lower, bool limitsWritten)
{
    ini.WriteBool(kStateSection, kTopMostKey, common.TopMost);
    ini.WriteBool(kStateSection, kDispNameKey, common.DispName);
    ini.WriteBool(kStateSection, kCursorKey, common.Cursor);
    for (int axis = 0; axis < kAxisCount; ++axis) {
        ini.WriteString(kStateSection, AxisColumnKey(axis), common.ColumnTexts[At(axis)]);
        if (!limitsWritten) {
            ini.WriteString(kValueSection, AxisUpperKey(axis), upper[At(axis)]);
            ini.WriteString(kValueSection, AxisLowerKey(axis), lower[At(axis)]);
        }
    }
    for (int entry = 0; entry < kColorCount; ++entry)
        ini.WriteInteger(kColorSection, ColorKey(entry), static_cast<std::int32_t>(common.Colors[At(entry)]));
}

}   // namespace

GlobalSettings ReadGlobalSettings(const ProfileFile& ini, const std::string& builtInFilter,
                                  const std::array<TColor, kColorCount>& colors)
{
    GlobalSettings settings;
    settings.UnitWheel = ini.ReadInteger(kOptionSection, kUnitWheelKey, kDefaultUnitWheel);
    settings.Top = ini.ReadInteger(kForm1Section, kTopKey, kDefaultTop);
    settings.Left = ini.ReadInteger(kForm1Section, kLeftKey, kDefaultLeft);
    settings.FileDialog = ini.ReadString(kOptionSection, kFileDialogKey, builtInFilter);
    settings.Common = ReadCommon(ini, colors);
    return settings;
}

DirectorySettings ReadDirectorySettings(const ProfileFile& ini, const std::array<TColor, kColorCount>& colors)
{
    DirectorySettings settings;
    settings.YsItem = ini.ReadInteger(kStateSection, kYsKey, kDefaultYsItem);
    for (int axis = 0; axis < kAxisCount; ++axis) {
        settings.AxisAuto[At(axis)] = ini.ReadBool(kStateSection, AxisAutoKey(axis), kDefaultAxisAuto);
        settings.UpperTexts[At(axis)] = ini.ReadString(kValueSection, AxisUpperKey(axis), kDefaultLimitText);
        settings.LowerTexts[At(axis)] = ini.ReadString(kValueSection, AxisLowerKey(axis), kDefaultLimitText);
    }
    settings.Common = ReadCommon(ini, colors);
    return settings;
}

void WriteGlobalSettings(ProfileFile& ini, const GlobalSettings& settings)
{
    ini.WriteInteger(kForm1Section, kTopKey, settings.Top);
    ini.WriteInteger(kForm1Section, kLeftKey, settings.Left);
    ini.WriteInteger(kOptionSection, kUnitWheelKey, settings.UnitWheel);
    ini.WriteString(kOptionSection, kFileDialogKey, "\"" + settings.FileDialog + "\"");
    WriteCommon(ini, settings.Common, settings.UpperTexts, settings.LowerTexts, false);
}

void WriteDirectorySettings(ProfileFile& ini, const DirectorySettings& settings)
{
    ini.WriteInteger(kStateSection, kYsKey, settings.YsItem);
    for (int axis = 0; axis < kAxisCount; ++axis) {
        ini.WriteBool(kStateSection, AxisAutoKey(axis), settings.AxisAuto[At(axis)]);
        ini.WriteString(kValueSection, AxisUpperKey(axis), settings.UpperTexts[At(axis)]);
        ini.WriteString(kValueSection, AxisLowerKey(axis), settings.LowerTexts[At(axis)]);
    }
    WriteCommon(ini, settings.Common, settings.UpperTexts, settings.LowerTexts, true);
}
