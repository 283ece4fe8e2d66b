// SPDX-License-Identifier: MIT
#include "DataFileLines.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The bytes that end the quick scan of a line: the line feed, and CR, NUL
// and Ctrl-Z, which a line may not hold to be handed out as it is.
constexpr std::array<bool, 256> MakeStopTable()
{
    std::array<bool, 256> table{};
    table['\n'] = true;
    table['\r'] = true;
    table[0] = true;
    table[static_cast<unsigned char>(kCtrlZ)] = true;
    return table;
}
constexpr std::array<bool, 256> kStops = MakeStopTable();

// The first stop byte in [begin, end), or end. Sixteen bytes at a time where
// SSE2 is there: this scan runs over every byte of the file.
const char* FindStopByte(const char* begin, const char* end)
{
    const char* p = begin;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i nul = _mm_setzero_si128();
    const __m128i ctrlZ = _mm_set1_epi8(kCtrlZ);
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)),
                                         _mm_or_si128(_mm_cmpeq_epi8(v, nul), _mm_cmpeq_epi8(v, ctrlZ)));
        if (const int mask = _mm_movemask_epi8(hit); mask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    while (p < end && !kStops[static_cast<unsigned char>(*p)])
        ++p;
    return p;
}

}   // namespace

std::string_view DataFileLines::Buffered() const
{
    if (m_stopped)
        return {};
    return {Buffer() + m_begin, std::min(m_end - m_begin, kBufferedReach)};
}

DataFileLines::DataFileLines(ReadFunction read, std::size_t blockSize)
    : m_read(std::move(read)),
      m_blockSize(std::max<std::size_t>(blockSize, 1)),
      m_capacity(m_blockSize + kLineLimit + 1),
      m_storage(new char[kScanPadding + m_capacity + kScanPadding])
{
    std::memset(m_storage.get(), 0, kScanPadding);
    std::memset(Buffer() + m_capacity, 0, kScanPadding);
}

bool DataFileLines::Refill()
{
    // Only the unfinished start of one line (under kLineLimit bytes) is ever
    // carried over, so there is always room for a whole block behind it.
    const std::size_t tail = m_end - m_begin;
    if (m_begin > 0) {
        std::memmove(Buffer(), Buffer() + m_begin, tail);
        m_begin = 0;
        m_end = tail;
    }
    const ssize_t got = m_read(Buffer() + m_end, m_capacity - m_end);
    if (got < 0) {
        m_failed = true;
        m_stopped = true;
        return false;
    }
    if (got == 0)
        m_atEnd = true;
    m_end += static_cast<std::size_t>(got);
    return true;
}

bool DataFileLines::Next(std::string_view& line)
{
    while (!m_stopped) {
        const char* begin = Buffer() + m_begin;
        const std::size_t available = m_end - m_begin;
        const std::size_t scanLength = std::min(available, kLineLimit);
        const char* stop = FindStopByte(begin, begin + scanLength);
        const auto length = static_cast<std::size_t>(stop - begin);

        if (length == scanLength) {
            if (scanLength == kLineLimit) {
                line = std::string_view(begin, kLineLimit);
                m_begin += kLineLimit;
                return true;
            }
            if (!m_atEnd) {
                if (!Refill())
                    return false;
                continue;
            }
            m_stopped = true;
            if (available == 0)
                return false;
            line = std::string_view(begin, available);
            m_begin = m_end;
            return true;
        }

        if (*stop == '\n') {
            line = std::string_view(begin, length);
            m_begin += length + 1;
            return true;
        }
        if (*stop == '\r') {
            const bool lastBuffered = m_begin + length + 1 == m_end;
            if (lastBuffered && !m_atEnd) {
                if (!Refill())
                    return false;
                continue;
            }
            if (!lastBuffered && stop[1] == '\n') {
                line = std::string_view(begin, length);
                m_begin += length + 2;
                return true;
            }
        }
        return NextSlow(line);
    }
    return false;
}

// Byte by byte into the line buffer: for lines with a stray CR, a NUL or a
// Ctrl-Z, which the quick scan leaves alone.
bool DataFileLines::NextSlow(std::string_view& line)
{
    std::size_t length = 0;
    std::size_t examined = kLineLimit + 1;
    bool ended = false;
    while (!ended) {
        if (m_begin == m_end) {
            if (m_atEnd) {
                m_stopped = true;
                break;
            }
            if (!Refill())
                return false;
            continue;
        }
        const char c = Buffer()[m_begin++];
        if (c == '\r')
            continue;
        if (c == kCtrlZ) {
            m_stopped = true;
            m_ctrlZ = true;
            break;
        }
        if (c == '\0' && examined > length)
            examined = length;
        LineCopy()[length++] = c;
        if (c == '\n') {
            --length;
            ended = true;
        } else if (length == kLineLimit) {
            ended = true;
        }
    }
    if (length == 0 && !ended)
        return false;
    line = std::string_view(LineCopy(), std::min(length, examined));
    return true;
}
