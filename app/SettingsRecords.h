// SPDX-License-Identifier: MIT
// What the global and the directory settings files hold, as plain values, and
// their reading and writing. Nothing here touches a control: the window fills
// a record from its controls to save it, and applies a record it read in the
// documented order. Limit and column texts stay texts: the window converts
// them while applying, so a text that is no number stops the opening at the
// key where it stands.
#pragma once

#include "Color.h"
#include "PlotState.h"
#include "ProfileFile.h"

#include <array>
#include <string>

// The keys both files have, in the order they are applied and written.
struct CommonSettings {
    bool TopMost = false;
    bool DispName = false;
    bool Cursor = false;
    std::array<std::string, kAxisCount> ColumnTexts{"0", "1", "2", "3"};
    std::array<TColor, kColorCount> Colors = kDefaultColors;
};

struct GlobalSettings {
    int Top = 100;
    int Left = 100;
    int UnitWheel = 2;
    std::string FileDialog;   // without its enclosing quotes
    CommonSettings Common;
    // Written at close for the Windows program's sake; never read back.
    std::array<std::string, kAxisCount> UpperTexts, LowerTexts;
};

struct DirectorySettings {
    int YsItem = 0;
    std::array<bool, kAxisCount> AxisAuto{true, true, true, true};
    std::array<std::string, kAxisCount> UpperTexts, LowerTexts;
    CommonSettings Common;
};

// Read from a file under an open batch. Missing keys give the defaults of the
// files' layout; a missing colour keeps the entry of `colors`.
GlobalSettings ReadGlobalSettings(const ProfileFile& ini, const std::string& builtInFilter,
                                  const std::array<TColor, kColorCount>& colors);
DirectorySettings ReadDirectorySettings(const ProfileFile& ini, const std::array<TColor, kColorCount>& colors);

// Written under an open batch, each key once, in the order that makes the
// layout of a new file: Form1, Option, State, Value, Color for the global
// file; State, Value, Color for a directory's.
void WriteGlobalSettings(ProfileFile& ini, const GlobalSettings& settings);
void WriteDirectorySettings(ProfileFile& ini, const DirectorySettings& settings);
