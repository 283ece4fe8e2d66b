// SPDX-License-Identifier: MIT
// The parts of a file name, as the program has always called them. Names are
// bytes and '/' is the only separator; nothing here looks at the disk.
#pragma once

#include <string>

// The name without its directory: the text after the last '/'.
std::string ExtractFileName(const std::string& name);
// The directory part, up to and including the last '/'; empty without one.
std::string ExtractFilePath(const std::string& name);
// From the last '.' of the name without its directory on, dot included;
// empty without a dot.
std::string ExtractFileExt(const std::string& name);
