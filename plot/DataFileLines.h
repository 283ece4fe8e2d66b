// SPDX-License-Identifier: MIT
// Splits a data file into the lines the reader examines, reading large blocks
// and handing out views into its own buffer (a line is copied only when it
// holds a stray carriage return, a NUL or a Ctrl-Z).
//
// The rules are those of a text-mode stream read line by line into a
// 4,096-byte buffer:
// - every CR byte is dropped before anything else looks at the line, so CR LF
//   ends a line like LF, and CR-only line ends leave one long line;
// - a line holds at most 4,095 bytes counting its LF; a longer physical line
//   goes on as the next line;
// - byte 0x1A ends the file;
// - a NUL ends what is examined of its line, though the line itself still
//   runs to its LF (or to the 4,095-byte limit).
// The view handed out holds the examined text without the LF.
#pragma once

#include <bit>
#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>
#include <sys/types.h>

inline constexpr std::size_t kLineLimit = 4095;
inline constexpr std::size_t kReadBlock = std::size_t(1) << 20;

class DataFileLines {
public:
    // Fills up to `size` bytes; returns the count, 0 at the end, -1 on an error.
    using ReadFunction = std::function<ssize_t(char* into, std::size_t size)>;

    explicit DataFileLines(ReadFunction read, std::size_t blockSize = kReadBlock);

    DataFileLines(const DataFileLines&) = delete;
    DataFileLines& operator=(const DataFileLines&) = delete;

    // The next line, valid until the following call; false at the end of the
    // file or on a read error.
    bool Next(std::string_view& line);

    // Counts, at once, the plain lines the buffer holds from here on: lines
    // that end in a line feed within the length limit and hold no CR, NUL or
    // Ctrl-Z, which Next would hand out as they are. `count(line)` is called
    // for each. Returns how many were taken; 0 when the next line is not
    // plain or not all read yet, and Next is then the way on.
    template <typename Count> std::size_t TakePlainLines(const Count& count);

    // True when reading stopped on an error rather than at the end.
    bool Failed() const { return m_failed; }

    // True when a Ctrl-Z ended the lines: whatever follows it is not part of
    // the file, which matters to a reader that looks at a later stretch of
    // the same file on its own.
    bool EndedAtCtrlZ() const { return m_ctrlZ; }

private:
    // The first CR, NUL or Ctrl-Z in [begin, end), or end.
    static const char* FindSpecialByte(const char* begin, const char* end);
    // The line feeds among the 16 bytes at `block` that lie before `end`,
    // as bits.
    static unsigned LineFeedsIn(const char* block, const char* end);

    bool Refill();
    bool NextSlow(std::string_view& line);

    ReadFunction m_read;
    std::size_t m_blockSize;
    std::size_t m_capacity;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_atEnd = false;     // nothing more to read
    bool m_stopped = false;   // Ctrl-Z seen or end reached: no more lines
    bool m_failed = false;
    bool m_ctrlZ = false;
    char m_line[kLineLimit + 1];
};

template <typename Count> std::size_t DataFileLines::TakePlainLines(const Count& count)
{
    if (m_stopped)
        return 0;
    const char* const start = m_buffer.get() + m_begin;
    const char* const plainEnd = FindSpecialByte(start, m_buffer.get() + m_end);
    const char* line = start;
    std::size_t taken = 0;
    // Sixteen bytes at a time, each line feed a bit. A line that runs to the
    // length limit ends the stretch: Next cuts it into pieces.
    for (const char* block = start; block < plainEnd; block += 16) {
        for (unsigned feeds = LineFeedsIn(block, plainEnd); feeds != 0; feeds &= feeds - 1) {
            const char* feed = block + std::countr_zero(feeds);
            const auto length = static_cast<std::size_t>(feed - line);
            if (length >= kLineLimit)
                break;
            count(std::string_view(line, length));
            line = feed + 1;
            ++taken;
        }
        if (static_cast<std::size_t>(block + 16 - line) > kLineLimit)
            break;
    }
    m_begin += static_cast<std::size_t>(line - start);
    return taken;
}
