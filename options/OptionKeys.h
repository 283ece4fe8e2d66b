// SPDX-License-Identifier: MIT
// Section and keys of the option file that the options dialog reads and writes.
#pragma once

inline constexpr const char* kOptionSection = "Option";
inline constexpr const char* kFileDialogKey = "FileDialog";
inline constexpr const char* kUnitWheelKey = "UnitWheel";
inline constexpr const char* kAutoDetKey = "AutoDet";
inline constexpr const char* kNoMulExecKey = "NoMulExec";

// Defaults next to their keys. NoMulExec reads as off when the program starts
// (two copies may run side by side until the user says otherwise) but as on
// when the options dialog opens, so confirming the dialog once turns the
// single copy on: both as the program has always done.
inline constexpr bool kNoMulExecAtStart = false;
inline constexpr bool kNoMulExecInDialog = true;
inline constexpr bool kDefaultAutoDet = true;
inline constexpr int kDefaultUnitWheel = 2;
