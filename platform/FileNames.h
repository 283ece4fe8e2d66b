// SPDX-License-Identifier: MIT
// File names as the program handles them: bytes, '/' between the parts,
// never converted. A name as the user gives it (typed, on the command line,
// handed over) holds at most kMaxGivenFileName bytes; completed against a
// directory it may grow to the system's own path limit.
#pragma once

#include "FileNameParts.h"

#include <cstddef>
#include <string>

inline constexpr std::size_t kMaxGivenFileName = 259;
inline constexpr std::size_t kMaxPathName = 4095;   // PATH_MAX less its NUL

bool IsAbsoluteFileName(const std::string& name);
// The process's working directory ending in '/'; empty when it cannot be had
// (removed, or deeper than the path limit).
std::string WorkingDirectory();
// An absolute name as it is; a relative one joined onto dir (which ends in
// '/'). Empty when the result would be longer than kMaxPathName, or when a
// relative name meets an empty dir.
std::string CompletedFileName(const std::string& name, const std::string& dir);

enum class FileKind {
    Regular,
    Missing,      // nothing under the name, or no way to open it
    NotRegular,   // a directory, a FIFO, a device, a socket
    Unusable,     // empty, holding a NUL byte, or over the path limit
};
// What the name leads to, decided on the object actually opened (without
// blocking, so a FIFO cannot hang the caller) rather than on an earlier look
// at the name. A symlink counts as what it points to.
FileKind KindOfFile(const std::string& path);
