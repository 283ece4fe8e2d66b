// SPDX-License-Identifier: MIT
// tracely --export OUT.png|OUT.svg [--size WxH] [--x LO:HI] [--y1 LO:HI]
// [--y2 LO:HI] [--y3 LO:HI] [--stats] [--] FILE...: the large view of the
// files written without a window, at the given limits, with the statistics
// of what it shows on standard output as tab-separated text.
#pragma once

#include "CommandLine.h"

// Loads the files as a drop would (the last on top) with the settings of the
// global file and of the first file's directory, read only, and writes the
// large view. Needs no display and never talks to a running copy. Returns
// the exit status: 0 when written; otherwise the reasons are on standard
// error and nothing is written.
int RunExportCommand(const CommandLine& options, int& argc, char** argv);
