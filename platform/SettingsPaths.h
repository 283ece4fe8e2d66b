// SPDX-License-Identifier: MIT
// Where the settings files live. The global settings file and the option file
// are one file, "Tracely.ini": beside the executable when that directory is
// writable (portable and build-tree runs), else $XDG_CONFIG_HOME/tracely/.
// The directory settings file "_Tracely.ini" lies in the data directory.
#pragma once

#include <string>

inline constexpr const char* kGlobalSettingsName = "Tracely.ini";
inline constexpr const char* kDirectorySettingsName = "_Tracely.ini";

// Path of the global settings file (also the option file); its directory is
// created when it lies under the user's configuration directory.
std::string GlobalSettingsPath();
std::string OptionFilePath();

// dir ends in '/'. An existing file whose name matches "_Tracely.ini" without
// regard to case (from FAT media or Windows shares) is used under its own name.
std::string DirectorySettingsPath(const std::string& dir);
