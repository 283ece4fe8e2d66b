// SPDX-License-Identifier: MIT
// libFuzzer target for the data file line splitter and value scanner. The
// first input byte picks the read block size, the rest is the file. Checks
// that every line keeps the splitting rules (matching a plain byte-by-byte
// model of them), that value scanning stays inside its line, and that the
// padded reading of a line reads what the plain one does.
//
// Build and run from the repository root:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address -Iplot fuzz/fuzz_line_scanner.cpp plot/DataFileLines.cpp
//   plot/LineScanner.cpp -o /tmp/fuzz_line_scanner && /tmp/fuzz_line_scanner -max_total_time=30 -max_len=20000
#include "DataFileLines.h"
#include "LineScanner.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// The rules one byte at a time: drop CRs, stop at Ctrl-Z, cut lines after a
// LF or 4,095 bytes, examine each up to its first NUL.
std::vector<std::string> ModelLines(const std::uint8_t* data, std::size_t size)
{
    std::string text;
    for (std::size_t i = 0; i < size && data[i] != 0x1A; ++i)
        if (data[i] != '\r')
            text += static_cast<char>(data[i]);
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t len = 0;
        while (pos + len < text.size() && len < kLineLimit)
            if (text[pos + len++] == '\n')
                break;
        std::string line = text.substr(pos, len);
        pos += len;
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        lines.push_back(line.substr(0, line.find('\0')));
    }
    return lines;
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t block = data[0] < 200 ? std::size_t(data[0]) + 1 : kReadBlock;
    const std::uint8_t* file = data + 1;
    const std::size_t fileSize = size - 1;

    std::size_t offset = 0;
    DataFileLines lines(
        [&](char* into, std::size_t room) -> ssize_t {
            const std::size_t n = std::min(room, fileSize - offset);
            std::memcpy(into, file + offset, n);
            offset += n;
            return static_cast<ssize_t>(n);
        },
        block);

    const std::vector<std::string> expected = ModelLines(file, fileSize);
    std::size_t index = 0;
    std::string_view line;
    while (lines.Next(line)) {
        Check(index < expected.size() && line == expected[index]);
        ++index;
        Check(line.size() <= kLineLimit);
        Check(line.find_first_of(std::string_view("\r\n\0\x1A", 4)) == std::string_view::npos);

        const bool dataLine = IsDataLine(line);
        LineScanner scanner(line);
        // The splitter's lines are padded; read so, they must read the same.
        LineScanner padded(line, PaddedLine{});
        float value;
        int count = 0;
        for (;;) {
            float paddedValue = 0;
            const bool read = scanner.Next(value);
            Check(padded.Next(paddedValue) == read && padded.Position() == scanner.Position());
            if (!read)
                break;
            Check(std::memcmp(&value, &paddedValue, sizeof value) == 0);
            ++count;
            Check(!std::isnan(value));
            Check(scanner.Position() >= line.data() && scanner.Position() <= line.data() + line.size());
        }
        Check(count <= static_cast<int>(line.size() + 1) / 2);
        Check(count == CountLineValues(line));
        // A data line that starts with a digit after its blanks holds a value.
        const std::size_t first = line.find_first_not_of(" \t");
        if (dataLine && line[first] >= '0' && line[first] <= '9')
            Check(count >= 1);
    }
    Check(!lines.Failed());
    Check(index == expected.size());
    return 0;
}
