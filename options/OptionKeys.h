// SPDX-License-Identifier: MIT
// Section and keys of the option file that the options dialog reads and writes.
#pragma once

inline constexpr const char* kOptionSection = "Option";
inline constexpr const char* kFileDialogKey = "FileDialog";
inline constexpr const char* kUnitWheelKey = "UnitWheel";
inline constexpr const char* kAutoDetKey = "AutoDet";
inline constexpr const char* kNoMulExecKey = "NoMulExec";
