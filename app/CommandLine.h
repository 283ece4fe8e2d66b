// SPDX-License-Identifier: MIT
// The program's arguments. Only the options named here are options, and "--"
// ends them; every other argument is a file name as the user gave it, so a
// file called "-reverse" or "--help" still opens (after "--" in the latter
// case only when it is a known option's name). The first file name is the
// file to open.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct CommandLine {
    std::string FileName;                 // the first file; empty when none was given
    std::vector<std::string> FileNames;   // every file, in order
    bool View = false;                    // --view: open the large view at start
    bool Follow = false;                  // --follow: switch follow mode on at start
    // --export OUT.png|OUT.svg [--size WxH]: write the large view of the files
    // without a window and end.
    std::string ExportTo;
    int ExportWidth = 1200;
    int ExportHeight = 800;
    // --x, --y1, --y2, --y3 LO:HI: limits of the exported view's axes (0 = X),
    // in place of the ones the files' settings give.
    std::array<std::optional<std::pair<double, double>>, 4> ExportLimits;
    // --stats: the statistics table of the exported view on standard output.
    bool ExportStats = false;
    // --event-log FILE: one line per hand-over event, for the process tests
    // that watch what copies of the program do.
    std::string EventLog;
    std::string Error;   // an option without its value, a size or range that is none, or
                         // an export option without --export
};

CommandLine ParseCommandLine(const std::vector<std::string>& args);
