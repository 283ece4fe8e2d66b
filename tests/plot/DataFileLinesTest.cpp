// SPDX-License-Identifier: MIT
#include "DataFileLines.h"
#include "DataFilePasses.h"
#include "LineScanner.h"
#include "ReaderEdgeCases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;

// Gives `bytes` as reading a file of them would.
DataFileLines::ReadFunction ReaderOf(const std::string& bytes)
{
    return [&bytes, offset = std::size_t(0)](char* into, std::size_t size) mutable -> ssize_t {
        const std::size_t n = std::min(size, bytes.size() - offset);
        std::memcpy(into, bytes.data() + offset, n);
        offset += n;
        return static_cast<ssize_t>(n);
    };
}

// Lines one at a time with Next, or (inBulk) the lines of Buffered that end
// in a line feed before any CR, NUL or Ctrl-Z and within the length limit
// in bulk and the rest with Next, as the line count reads them.
std::vector<std::string> SplitLines(const std::string& bytes, std::size_t blockSize = kReadBlock, bool inBulk = false)
{
    DataFileLines lines(ReaderOf(bytes), blockSize);
    std::vector<std::string> out;
    auto take = [&out](std::string_view line) { out.emplace_back(line); };
    std::string_view line;
    for (;;) {
        if (inBulk) {
            std::string_view plain = lines.Buffered();
            plain = plain.substr(0, plain.find_first_of("\r\0\x1A"sv));
            std::size_t used = 0;
            for (std::size_t feed;
                 (feed = plain.find('\n', used)) != std::string_view::npos && feed - used < kLineLimit; used = feed + 1)
                take(plain.substr(used, feed - used));
            if (used != 0) {
                lines.Skip(used);
                continue;
            }
        }
        if (!lines.Next(line))
            break;
        take(line);
    }
    EXPECT_FALSE(lines.Failed());
    return out;
}

// The line rules written out the slow, obvious way, as a text-mode stream
// read with a 4,096-byte line buffer would see them.
std::vector<std::string> ModelLines(const std::string& bytes)
{
    std::string text;
    for (char c : bytes) {
        if (c == 0x1A)
            break;
        if (c != '\r')
            text += c;
    }
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t len = 0;
        while (pos + len < text.size() && len < kLineLimit) {
            ++len;
            if (text[pos + len - 1] == '\n')
                break;
        }
        std::string line = text.substr(pos, len);
        pos += len;
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        out.push_back(line.substr(0, line.find('\0')));
    }
    return out;
}

using SplitCase = LineSplitCase;

class DataFileLinesSplit : public testing::TestWithParam<SplitCase> { };

TEST_P(DataFileLinesSplit, FollowsTheTextStreamRules)
{
    EXPECT_EQ(SplitLines(GetParam().Bytes), GetParam().Lines);
    EXPECT_EQ(SplitLines(GetParam().Bytes, 1), GetParam().Lines) << "with one-byte blocks";
    EXPECT_EQ(SplitLines(GetParam().Bytes, kReadBlock, true), GetParam().Lines) << "plain lines in bulk";
}

INSTANTIATE_TEST_SUITE_P(DataFileLines, DataFileLinesSplit, testing::ValuesIn(LineSplitCases()),
                         [](const auto& testInfo) { return std::string(testInfo.param.Name); });

TEST(DataFileLines, AnyBlockSizeGivesTheLinesOfTheRules)
{
    // Random files over a small alphabet rich in the bytes that matter, with
    // line lengths around the 4,095-byte limit; every block size must give
    // what the rules give.
    std::mt19937 rng(20240105);
    // Every third round mostly plain lines, now and then broken by the
    // bytes that are not, so that bulk reading meets all of its ends.
    const std::string alphabet = "1 ,\t-e.a\r\r\n\0"s;
    const std::string plain = "0123456789 .-e\n#"s;
    for (int round = 0; round < 90; ++round) {
        const bool longLines = round % 2 == 0;
        const bool mostlyPlain = round % 3 == 0;
        std::string bytes;
        const std::size_t size = std::uniform_int_distribution<std::size_t>(0, 20000)(rng);
        for (std::size_t i = 0; i < size; ++i) {
            char c = mostlyPlain && rng() % 500 != 0 ? plain[rng() % plain.size()] : alphabet[rng() % alphabet.size()];
            if (longLines && c == '\n' && rng() % 200 != 0)
                c = 'x';
            bytes += c;
        }
        if (round % 7 == 3)
            bytes.insert(bytes.size() / 2, 1, '\x1A');
        const std::vector<std::string> expected = ModelLines(bytes);
        for (std::size_t block : {std::size_t(1), std::size_t(3), std::size_t(4095), std::size_t(4097), kReadBlock}) {
            ASSERT_EQ(SplitLines(bytes, block), expected) << "round " << round << ", block " << block;
            ASSERT_EQ(SplitLines(bytes, block, true), expected) << "in bulk, round " << round << ", block " << block;
        }
    }
}

TEST(DataFileLines, TheLineCountTakesTheDataLinesNextGives)
{
    // The count takes plain lines 64 bytes at a time; whatever the block
    // size, it must count the data lines of the rules, and the first one's
    // values. Lines start with digits, signs, blanks, '#' or nothing, some
    // run past the length limit, and now and then a CR, NUL or Ctrl-Z
    // breaks the plain stretches.
    std::mt19937 rng(20261208);
    const std::string starts = "0123456789+-#. \tx\n"s;
    const std::string rest = "0123456789 .-e\t"s;
    for (int round = 0; round < 120; ++round) {
        std::string bytes;
        const int lineCount = std::uniform_int_distribution<int>(0, 600)(rng);
        for (int i = 0; i < lineCount; ++i) {
            const std::size_t length = rng() % 50 == 0 ? kLineLimit - 2 + rng() % 5 : rng() % 90;
            for (std::size_t k = 0; k < length; ++k)
                bytes += k < 3 ? starts[rng() % starts.size()] : rest[rng() % rest.size()];
            if (rng() % 40 == 0)
                bytes += "\r\0\x1A"s[rng() % 3];
            bytes += '\n';
        }
        if (round % 5 == 0 && !bytes.empty())
            bytes.pop_back();   // no line feed at the end
        std::size_t expectedLines = 0;
        int expectedColumns = 0;
        for (const std::string& line : ModelLines(bytes)) {
            if (!IsDataLine(line))
                continue;
            if (expectedLines++ == 0)
                expectedColumns = CountLineValues(line);
        }
        for (std::size_t block : {std::size_t(1), std::size_t(63), std::size_t(4097), kReadBlock}) {
            DataFileLines lines(ReaderOf(bytes), block);
            DataLineCount count;
            ASSERT_TRUE(CountLinesOf(lines, count));
            ASSERT_EQ(count.Lines, expectedLines) << "round " << round << ", block " << block;
            ASSERT_EQ(count.Columns, expectedColumns) << "round " << round << ", block " << block;
        }
    }
}

TEST(DataFileLines, ReadErrorEndsTheLinesAndIsReported)
{
    int calls = 0;
    DataFileLines lines(
        [&](char* into, std::size_t) -> ssize_t {
            if (calls++ > 0)
                return -1;
            std::memcpy(into, "1\n2", 3);
            return 3;
        },
        16);
    std::string_view line;
    ASSERT_TRUE(lines.Next(line));
    EXPECT_EQ(line, "1");
    EXPECT_FALSE(lines.Next(line));
    EXPECT_TRUE(lines.Failed());
    EXPECT_FALSE(lines.Next(line));
}

}   // namespace
