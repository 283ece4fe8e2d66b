// SPDX-License-Identifier: MIT
#include "CommandLine.h"

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLine line;
    bool optionsEnded = false;
    bool haveFile = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && arg == "--event-log") {
            if (i + 1 >= args.size()) {
                line.Error = "--event-log needs a file name";
                return line;
            }
            line.EventLog = args[++i];
            continue;
        }
        if (!haveFile) {
            line.FileName = arg;
            haveFile = true;
        }
    }
    return line;
}
