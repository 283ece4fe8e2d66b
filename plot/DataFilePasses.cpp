// SPDX-License-Identifier: MIT
#include "DataFilePasses.h"

#include "LineScanner.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Bit i set where byte i of the 64 at `p` is a line feed; `stops` gets
// those of the CR, NUL and Ctrl-Z bytes.
std::uint64_t LineFeedsIn64(const char* p, std::uint64_t& stops)
{
    std::uint64_t feeds = 0;
    stops = 0;
#if defined(__SSE2__)
    for (int part = 0; part < 4; ++part) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
        const __m128i stop = _mm_or_si128(
            _mm_cmpeq_epi8(v, _mm_set1_epi8('\r')),
            _mm_or_si128(_mm_cmpeq_epi8(v, _mm_setzero_si128()), _mm_cmpeq_epi8(v, _mm_set1_epi8(kCtrlZ))));
        const int shift = 16 * part;
        feeds |= std::uint64_t(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n')))))
            << shift;
        stops |= std::uint64_t(static_cast<unsigned>(_mm_movemask_epi8(stop))) << shift;
    }
#else
    for (int i = 0; i < 64; ++i) {
        feeds |= std::uint64_t(p[i] == '\n' ? 1 : 0) << i;
        stops |= std::uint64_t(p[i] == '\r' || p[i] == '\0' || p[i] == kCtrlZ ? 1 : 0) << i;
    }
#endif
    return feeds;
}

// What the first byte of a line tells: a data line (a digit or a sign), no
// data line, or look further (a blank).
enum class LineStart : unsigned char {
    NoData,
    Data,
    Blank
};
constexpr std::array<LineStart, 256> MakeLineStarts()
{
    std::array<LineStart, 256> table{};
    for (char c = '0'; c <= '9'; ++c)
        table[static_cast<unsigned char>(c)] = LineStart::Data;
    table['+'] = table['-'] = LineStart::Data;
    table[' '] = table['\t'] = LineStart::Blank;
    return table;
}
constexpr std::array<LineStart, 256> kLineStarts = MakeLineStarts();

// Counts the data lines among the whole lines at the start of `buffered`,
// 64 bytes at a time: the lines that end in a line feed before any CR, NUL
// or Ctrl-Z, up to the first that is not shorter than the length limit.
// Returns the bytes those lines take; the rest is left to Next.
std::size_t CountWholeLines(std::string_view buffered, std::size_t& dataLines)
{
    const char* const begin = buffered.data();
    const char* const end = begin + buffered.size();
    const char* open = begin;   // the line not yet ended
    std::size_t data = 0;
    for (const char* p = begin; end - p >= 64; p += 64) {
        std::uint64_t stops = 0;
        std::uint64_t feeds = LineFeedsIn64(p, stops);
        // Lines from the first stop byte on are Next's.
        const bool stopped = stops != 0;
        if (stopped)
            feeds &= (std::uint64_t(1) << std::countr_zero(stops)) - 1;
        if (feeds == 0) {
            if (stopped)
                break;
            continue;
        }
        if (p + std::countr_zero(feeds) - open >= static_cast<std::ptrdiff_t>(kLineLimit))
            break;
        // The open line ends at the first feed, each line after a feed but
        // the last at the next one.
        const char* line = open;
        for (std::uint64_t rest = feeds; rest != 0; rest &= rest - 1) {
            const char* const feed = p + std::countr_zero(rest);
            switch (kLineStarts[static_cast<unsigned char>(*line)]) {
            case LineStart::Data: ++data; break;
            case LineStart::Blank:
                data += IsDataLine(std::string_view(line, static_cast<std::size_t>(feed - line))) ? 1 : 0;
                break;
            case LineStart::NoData: break;
            }
            line = feed + 1;
        }
        open = line;
        if (stopped)
            break;
    }
    dataLines = data;
    return static_cast<std::size_t>(open - begin);
}

}   // namespace

bool CountLinesOf(DataFileLines& lines, DataLineCount& count)
{
    count = DataLineCount{};
    std::string_view line;
    for (;;) {
        // Once the first data line has given the column count, plain lines
        // are counted in bulk; whatever else (and the reading) one at a time.
        if (count.Lines != 0) {
            std::size_t data = 0;
            if (const std::size_t bytes = CountWholeLines(lines.Buffered(), data); bytes != 0) {
                lines.Skip(bytes);
                count.Lines += data;
                continue;
            }
        }
        if (!lines.Next(line))
            break;
        if (!IsDataLine(line))
            continue;
        if (count.Lines == 0)
            count.Columns = CountLineValues(line);
        ++count.Lines;
    }
    count.CtrlZ = lines.EndedAtCtrlZ();
    return !lines.Failed();
}

std::size_t ReadDataColumns(DataFileLines& lines, const ColumnChoice& choice, TraceSlot& slot)
{
    ValueRanges ranges;
    const std::size_t rows = ReadDataRows(lines, choice, *slot.Table, 0, slot.Table->Points(), ranges);
    StoreRanges(ranges, choice, slot);
    return rows;
}

std::size_t ReadDataRows(DataFileLines& lines, const ColumnChoice& choice, DataTable& table, std::size_t first,
                         std::size_t count, ValueRanges& ranges)
{
    // A cell no value reaches is NaN. It is written with the row rather than
    // beforehand, which would be one more pass over the whole table.
    constexpr float kNoValue = std::numeric_limits<float>::quiet_NaN();
    constexpr unsigned kAllAxes = (1u << kAxisCount) - 1;
    float* rows[kAxisCount];
    for (int axis = 0; axis < kAxisCount; ++axis)
        rows[axis] = table[axis] + first;

    // For each column up to the highest one read, the axes it feeds (bit j = axis j).
    const int highest = std::clamp(choice.HighestColumn, 0, kMaxColumn);
    std::array<unsigned char, kMaxColumn + 1> axesOfColumn{};
    for (int axis = 0; axis < kAxisCount; ++axis) {
        const int column = choice.Map[static_cast<std::size_t>(axis)];
        if (column >= 1 && column <= highest)
            axesOfColumn[static_cast<std::size_t>(column)] |= static_cast<unsigned char>(1u << axis);
    }
    const bool xIsIndex = choice.Map[0] == 0;
    // The ranges stay in locals: stores through `ranges` would have to be
    // redone after every value, since a float store may alias them.
    ValueRanges local = ranges;

    std::size_t row = 0;
    std::string_view line;
    while (row < count && lines.Next(line)) {
        if (!IsDataLine(line))
            continue;
        unsigned written = 0;
        if (xIsIndex) {
            rows[0][row] = static_cast<float>(first + row);
            written = 1;
        }
        LineScanner scanner(line, PaddedLine{});
        float value;
        auto take = [&](unsigned axis) {
            local.Max[axis] = local.Max[axis] > value ? local.Max[axis] : value;
            local.Min[axis] = local.Min[axis] < value ? local.Min[axis] : value;
            rows[axis][row] = value;
            local.Present[axis] = 1;
            written |= 1u << axis;
        };
        for (int column = 1; column <= highest && scanner.Next(value); ++column) {
            const unsigned axes = axesOfColumn[static_cast<std::size_t>(column)];
            // Mostly a column feeds one axis or none, without a loop.
            if ((axes & (axes - 1)) == 0) {
                if (axes != 0)
                    take(static_cast<unsigned>(std::countr_zero(axes)));
                continue;
            }
            for (unsigned rest = axes, axis = 0; rest != 0; rest >>= 1, ++axis)
                if ((rest & 1u) != 0)
                    take(axis);
        }
        for (unsigned missing = kAllAxes & ~written; missing != 0; missing &= missing - 1)
            rows[std::countr_zero(missing)][row] = kNoValue;
        ++row;
    }
    for (int axis = 0; axis < kAxisCount; ++axis)
        std::fill(rows[axis] + row, rows[axis] + count, kNoValue);
    ranges = local;
    return row;
}

void MergeLaterRanges(ValueRanges& earlier, const ValueRanges& later)
{
    // The same comparisons as the scan's, so ties resolve the same way.
    for (std::size_t axis = 0; axis < kAxisCount; ++axis) {
        earlier.Max[axis] = earlier.Max[axis] > later.Max[axis] ? earlier.Max[axis] : later.Max[axis];
        earlier.Min[axis] = earlier.Min[axis] < later.Min[axis] ? earlier.Min[axis] : later.Min[axis];
        earlier.Present[axis] |= later.Present[axis];
    }
}

void StoreRanges(const ValueRanges& ranges, const ColumnChoice& choice, TraceSlot& slot)
{
    slot.Present = ranges.Present;
    slot.Min = ranges.Min;
    slot.Max = ranges.Max;
    if (choice.Map[0] == 0) {
        slot.Min[0] = 0;
        slot.Max[0] = static_cast<float>(slot.Table->Points()) - 1;
    }
}
