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

#include "LineScanner.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>
#include <sys/types.h>

inline constexpr std::size_t kLineLimit = 4095;
inline constexpr char kCtrlZ = 0x1A;   // ends the file
inline constexpr std::size_t kReadBlock = std::size_t(1) << 20;
// How far Buffered reaches: far enough that its own cost vanishes, short
// enough that a file of lines past the length limit, which Next takes 4,095
// bytes at a time, is not searched through again at each of them.
inline constexpr std::size_t kBufferedReach = std::size_t(8) << 10;

class DataFileLines {
public:
    // Fills up to `size` bytes; returns the count, 0 at the end, -1 on an error.
    using ReadFunction = std::function<ssize_t(char* into, std::size_t size)>;

    explicit DataFileLines(ReadFunction read, std::size_t blockSize = kReadBlock);

    DataFileLines(const DataFileLines&) = delete;
    DataFileLines& operator=(const DataFileLines&) = delete;

    // The next line, valid until the following call; false at the end of the
    // file or on a read error. It is padded for LineScanner: kScanPadding
    // bytes on either side of it may be read.
    bool Next(std::string_view& line);

    // The bytes buffered from here on, at most kBufferedReach of them; empty
    // once the lines have stopped. Each line in them that ends in a line
    // feed before any CR, NUL or Ctrl-Z and is shorter than the length limit
    // is exactly what Next would hand out. For a reader that takes such
    // lines in bulk.
    std::string_view Buffered() const;
    // Goes past the first `bytes` of those, which end right after a line
    // feed.
    void Skip(std::size_t bytes) { m_begin += bytes; }

    // True when reading stopped on an error rather than at the end.
    bool Failed() const { return m_failed; }

    // True when a Ctrl-Z ended the lines: whatever follows it is not part of
    // the file, which matters to a reader that looks at a later stretch of
    // the same file on its own.
    bool EndedAtCtrlZ() const { return m_ctrlZ; }

private:
    bool Refill();
    bool NextSlow(std::string_view& line);

    ReadFunction m_read;
    std::size_t m_blockSize;
    std::size_t m_capacity;
    std::unique_ptr<char[]> m_storage;   // the buffer with the padding on either side
    char* Buffer() const { return m_storage.get() + kScanPadding; }
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_atEnd = false;     // nothing more to read
    bool m_stopped = false;   // Ctrl-Z seen or end reached: no more lines
    bool m_failed = false;
    bool m_ctrlZ = false;
    char m_lineStorage[kScanPadding + kLineLimit + 1 + kScanPadding] = {};
    char* LineCopy() { return m_lineStorage + kScanPadding; }
};
