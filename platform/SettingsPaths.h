// SPDX-License-Identifier: MIT
// Where the settings files live. The global settings file and the option file
// are one file, "Tracely.ini": beside the executable when that directory is
// writable (portable and build-tree runs), else $XDG_CONFIG_HOME/tracely/.
// The directory settings file "_Tracely.ini" lies in the data directory.
#pragma once

#include <string>

inline constexpr const char* kGlobalSettingsName = "Tracely.ini";
inline constexpr const char* kDirectorySettingsName = "_Tracely.ini";

// Path of the global settings file, which also holds the options (there is
// no separate option file); its directory is created when it lies under the
// user's configuration directory.
std::string GlobalSettingsPath();

// The decision behind GlobalSettingsPath with its inputs passed in. exeDir
// (no trailing '/') is used when it is writable and not an installed layout
// (no "../share/tracely" and no "../share/applications/<app id>.desktop"
// beside it: root may write /usr/bin, but the program must not), or when a
// writable Tracely.ini is already there. Otherwise configHome + "/tracely",
// created on demand.
std::string GlobalSettingsPathFor(const std::string& exeDir, const std::string& configHome);

// The executable's directory without a trailing '/': the application's
// directory when a QCoreApplication exists, else the target of
// /proc/self/exe; empty when neither is known.
std::string ExecutableDirectory();

// dir ends in '/' (one is added when missing). An existing file whose name
// matches "_Tracely.ini" without regard to case (from FAT media or Windows
// shares) is used under its own name; of several such files the first in
// byte order is taken.
std::string DirectorySettingsPath(const std::string& dir);
