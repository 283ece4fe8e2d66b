// SPDX-License-Identifier: MIT
// The directory of the program's global settings file, fixed once when the
// main window is made.
#pragma once

#include <string>

// given, or the directory of GlobalSettingsPath() when given is empty; made
// absolute against the working directory of the moment and ended with '/'.
// Opening a data file moves the working directory, so a relative place would
// send the settings written at close into whatever directory was open last.
std::string ProgramSettingsDirectory(const std::string& given);
