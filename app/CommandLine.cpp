// SPDX-License-Identifier: MIT
#include "CommandLine.h"

#include <charconv>

namespace {

// "WxH" with both sides 1..16384.
bool ParseSize(const std::string& text, int& width, int& height)
{
    const std::size_t x = text.find('x');
    if (x == std::string::npos)
        return false;
    int w = 0;
    int h = 0;
    const char* end = text.data() + text.size();
    const auto [wEnd, wError] = std::from_chars(text.data(), text.data() + x, w);
    const auto [hEnd, hError] = std::from_chars(text.data() + x + 1, end, h);
    if (wError != std::errc() || hError != std::errc() || wEnd != text.data() + x || hEnd != end)
        return false;
    if (w < 1 || h < 1 || w > 16384 || h > 16384)
        return false;
    width = w;
    height = h;
    return true;
}

}   // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded) {
            if (arg == "--") {
                optionsEnded = true;
                continue;
            }
            if (arg == "--view") {
                line.View = true;
                continue;
            }
            if (arg == "--event-log" || arg == "--export" || arg == "--size") {
                if (i + 1 >= args.size()) {
                    line.Error = arg + " needs a value";
                    return line;
                }
                const std::string& value = args[++i];
                if (arg == "--event-log")
                    line.EventLog = value;
                else if (arg == "--export")
                    line.ExportTo = value;
                else if (!ParseSize(value, line.ExportWidth, line.ExportHeight)) {
                    line.Error = "--size wants WIDTHxHEIGHT, each 1 to 16384: " + value;
                    return line;
                }
                continue;
            }
        }
        if (line.FileNames.empty())
            line.FileName = arg;
        line.FileNames.push_back(arg);
    }
    return line;
}
