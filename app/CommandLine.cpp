// SPDX-License-Identifier: MIT
#include "CommandLine.h"

#include <algorithm>
#include <charconv>
#include <cmath>

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

// "LO:HI" with two finite numbers, LO below HI; otherwise why not.
std::optional<std::string> ParseRange(const std::string& text, std::optional<std::pair<double, double>>& range)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos)
        return std::string("wants LO:HI with a colon between the limits");
    auto number = [](const char* from, const char* to, double& value) {
        // from_chars takes no leading '+'; a limit typed with one is still a number.
        if (from != to && *from == '+' && to - from > 1 && from[1] != '-')
            ++from;
        const auto [end, error] = std::from_chars(from, to, value);
        return error == std::errc() && end == to && std::isfinite(value);
    };
    double lo = 0;
    double hi = 0;
    if (!number(text.data(), text.data() + colon, lo) ||
        !number(text.data() + colon + 1, text.data() + text.size(), hi))
        return std::string("wants two finite numbers LO:HI");
    if (!(lo < hi))
        return std::string("wants LO below HI");
    range = std::make_pair(lo, hi);
    return std::nullopt;
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
            if (arg == "--follow") {
                line.Follow = true;
                continue;
            }
            if (arg == "--stats") {
                line.ExportStats = true;
                continue;
            }
            const int axis = arg == "--x" ? 0 : arg == "--y1" ? 1 : arg == "--y2" ? 2 : arg == "--y3" ? 3 : -1;
            if (axis >= 0) {
                if (i + 1 >= args.size()) {
                    line.Error = arg + " needs a value LO:HI";
                    return line;
                }
                const std::string& value = args[++i];
                if (const auto why = ParseRange(value, line.ExportLimits[std::size_t(axis)])) {
                    line.Error = arg + ' ' + *why + ": " + value;
                    return line;
                }
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
    const bool exportOnly = line.ExportStats ||
        std::any_of(line.ExportLimits.begin(), line.ExportLimits.end(),
                    [](const auto& range) { return range.has_value(); });
    if (exportOnly && line.ExportTo.empty())
        line.Error = "--x, --y1, --y2, --y3 and --stats go with --export";
    return line;
}
