// SPDX-License-Identifier: MIT
#include "Canvas.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;
constexpr std::uint32_t kInvertMask = 0x00FFFFFFu;

}   // namespace

RasterCanvas::RasterCanvas(PixelBuffer buffer, TextRenderer* text) : m_buffer(buffer), m_text(text)
{
}

std::uint32_t RasterCanvas::PixelOf(TColor color) const
{
    if (IsSystemColor(color))
        return SystemColor ? (SystemColor(color) | kOpaque) : kDefaultSystemPixel;
    // The flag byte (palette-relative or plain) does not change the colour.
    return kOpaque | (std::uint32_t(RedOf(color)) << 16) | (std::uint32_t(GreenOf(color)) << 8) | BlueOf(color);
}

int RasterCanvas::PenWidth() const
{
    return std::clamp(Pen.Width, 1, kMaxPenWidth);
}

void RasterCanvas::MoveTo(int x, int y)
{
    m_penX = x;
    m_penY = y;
}

void RasterCanvas::LineTo(int x, int y)
{
    PaintSegment(m_penX, m_penY, x, y);
    m_penX = x;
    m_penY = y;
}

void RasterCanvas::PaintSpan(std::int64_t row, std::int64_t from, std::int64_t to, std::uint32_t pixel, bool invert)
{
    if (row < 0 || row >= m_buffer.Height)
        return;
    from = std::max<std::int64_t>(from, 0);
    to = std::min<std::int64_t>(to, m_buffer.Width - 1);
    if (from > to)
        return;
    std::uint32_t* p = m_buffer.Pixels + row * m_buffer.Stride;
    if (invert) {
        for (std::int64_t x = from; x <= to; ++x)
            p[x] ^= kInvertMask;
    } else {
        std::fill(p + from, p + to + 1, pixel);
    }
}

void RasterCanvas::PaintBlock(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                              std::uint32_t pixel, bool invert)
{
    for (std::int64_t row = std::max<std::int64_t>(top, 0); row < std::min<std::int64_t>(bottom, m_buffer.Height);
         ++row)
        PaintSpan(row, left, right - 1, pixel, invert);
}

void RasterCanvas::PaintColumn(int x, int top, int bottom)
{
    if (const int width = PenWidth(); width > 1 && m_buffer.Usable()) {
        const auto [low, high] = std::minmax(top, bottom);
        PaintBlock(std::int64_t(x) - (width - 1) / 2, low, std::int64_t(x) + width / 2 + 1, std::int64_t(high) + 1,
                   PixelOf(Pen.Color), Pen.Mode == pmNot);
        return;
    }
    if (!m_buffer.Usable() || x < 0 || x >= m_buffer.Width)
        return;
    if (top > bottom)
        std::swap(top, bottom);
    top = std::max(top, 0);
    bottom = std::min(bottom, m_buffer.Height - 1);
    if (top > bottom)
        return;
    std::uint32_t* p = m_buffer.Pixels + std::int64_t(top) * m_buffer.Stride + x;
    const int stride = m_buffer.Stride;
    if (Pen.Mode == pmNot) {
        for (int y = top; y <= bottom; ++y, p += stride)
            *p ^= kInvertMask;
    } else {
        const std::uint32_t pixel = PixelOf(Pen.Color);
        for (int y = top; y <= bottom; ++y, p += stride)
            *p = pixel;
    }
}

void RasterCanvas::PaintRun(std::int64_t x, std::int64_t y, bool vertical, int width, std::uint32_t pixel, bool invert)
{
    if (width == 1) {
        if (x < 0 || y < 0 || x >= m_buffer.Width || y >= m_buffer.Height)
            return;
        std::uint32_t& p = m_buffer.Pixels[y * m_buffer.Stride + x];
        p = invert ? (p ^ kInvertMask) : pixel;
        return;
    }
    const std::int64_t before = (width - 1) / 2;
    const std::int64_t after = width / 2;
    if (!vertical) {
        PaintSpan(y, x - before, x + after, pixel, invert);
        return;
    }
    if (x < 0 || x >= m_buffer.Width)
        return;
    for (std::int64_t row = std::max<std::int64_t>(y - before, 0);
         row <= std::min<std::int64_t>(y + after, m_buffer.Height - 1); ++row) {
        std::uint32_t& p = m_buffer.Pixels[row * m_buffer.Stride + x];
        p = invert ? (p ^ kInvertMask) : pixel;
    }
}

// Walks the line from its canonical end so that both directions give the same
// pixels; the pixel at (x1, y1) is left out. The minor coordinate of step i is
// round-half-up(i * minor / major), kept as a quotient and remainder so that
// clipping can start the walk at the first step inside the buffer.
void RasterCanvas::PaintSegment(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1)
{
    if (!m_buffer.Usable())
        return;
    const std::int64_t dx = x1 - x0;
    const std::int64_t dy = y1 - y0;
    if (dx == 0 && dy == 0)
        return;

    const bool flat = std::llabs(dx) >= std::llabs(dy);
    const bool reversed = flat ? dx < 0 : dy < 0;
    const std::int64_t startX = reversed ? x1 : x0;
    const std::int64_t startY = reversed ? y1 : y0;
    const std::int64_t majorStart = flat ? startX : startY;
    const std::int64_t minorStart = flat ? startY : startX;
    const std::int64_t major = flat ? std::llabs(dx) : std::llabs(dy);
    const std::int64_t minorSigned = flat ? (reversed ? -dy : dy) : (reversed ? -dx : dx);
    const std::int64_t minorStep = minorSigned < 0 ? -1 : 1;
    const std::int64_t minor = std::llabs(minorSigned);
    const std::int64_t leftOut = reversed ? 0 : major;

    const std::int64_t majorLimit = flat ? m_buffer.Width : m_buffer.Height;
    const std::int64_t first = std::max<std::int64_t>(0, -majorStart);
    const std::int64_t last = std::min<std::int64_t>(major, majorLimit - 1 - majorStart);
    if (first > last)
        return;

    const std::int64_t twoMajor = 2 * major;
    std::int64_t quotient = 0;
    std::int64_t remainder = major;
    if (first > 0) {
        // Only a clipped start needs the wide division.
        const __int128 numerator = static_cast<__int128>(2) * first * minor + major;
        quotient = static_cast<std::int64_t>(numerator / twoMajor);
        remainder = static_cast<std::int64_t>(numerator % twoMajor);
    }

    const int width = PenWidth();
    const bool invert = Pen.Mode == pmNot;
    const std::uint32_t pixel = PixelOf(Pen.Color);
    const std::int64_t minorLimit = flat ? m_buffer.Height : m_buffer.Width;
    const std::int64_t minorEnd = minorStart + minorStep * minor;
    if (width == 1 && !invert && first == 0 && last == major && minorStart >= 0 && minorStart < minorLimit &&
        minorEnd >= 0 && minorEnd < minorLimit) {
        // Wholly inside the buffer, as a trace's segments are: the same
        // pixels stepped to by pointer, the minor coordinate moving at most
        // one pixel a step.
        const std::int64_t stride = m_buffer.Stride;
        const std::int64_t alongMajor = flat ? 1 : stride;
        const std::int64_t alongMinor = minorStep * (flat ? stride : 1);
        std::uint32_t* p =
            m_buffer.Pixels + (flat ? minorStart * stride + majorStart : majorStart * stride + minorStart);
        auto step = [&] {
            p += alongMajor;
            remainder += 2 * minor;
            if (remainder >= twoMajor) {
                remainder -= twoMajor;
                p += alongMinor;
            }
        };
        if (leftOut == 0)
            step();
        for (std::int64_t i = leftOut == 0 ? 1 : 0; i < (leftOut == 0 ? major + 1 : major); ++i) {
            *p = pixel;
            step();
        }
        return;
    }
    if (width == 1) {
        // The pixels PaintRun would paint, without a call per pixel: the
        // major coordinate is inside the buffer already, the minor one is
        // checked here.
        std::uint32_t* const pixels = m_buffer.Pixels;
        const std::int64_t stride = m_buffer.Stride;
        for (std::int64_t i = first; i <= last; ++i) {
            const std::int64_t n = minorStart + minorStep * quotient;
            if (i != leftOut && n >= 0 && n < minorLimit) {
                const std::int64_t m = majorStart + i;
                std::uint32_t& p = flat ? pixels[n * stride + m] : pixels[m * stride + n];
                p = invert ? (p ^ kInvertMask) : pixel;
            }
            remainder += 2 * minor;
            if (remainder >= twoMajor) {
                remainder -= twoMajor;
                ++quotient;
            }
        }
        return;
    }
    for (std::int64_t i = first; i <= last; ++i) {
        if (i != leftOut) {
            const std::int64_t m = majorStart + i;
            const std::int64_t n = minorStart + minorStep * quotient;
            if (flat)
                PaintRun(m, n, true, width, pixel, invert);
            else
                PaintRun(n, m, false, width, pixel, invert);
        }
        remainder += 2 * minor;
        if (remainder >= twoMajor) {
            remainder -= twoMajor;
            ++quotient;
        }
    }
}

void RasterCanvas::Rectangle(int left, int top, int right, int bottom)
{
    if (!m_buffer.Usable())
        return;
    const std::int64_t l = std::min(left, right);
    const std::int64_t r = std::int64_t(std::max(left, right)) - 1;
    const std::int64_t t = std::min(top, bottom);
    const std::int64_t b = std::int64_t(std::max(top, bottom)) - 1;
    if (r < l || b < t)
        return;

    const int width = PenWidth();
    const std::int64_t outwards = (width - 1) / 2;
    const std::int64_t inwards = width / 2;
    const std::int64_t innerLeft = l + inwards + 1;
    const std::int64_t innerRight = r - inwards - 1;
    const std::int64_t innerTop = t + inwards + 1;
    const std::int64_t innerBottom = b - inwards - 1;

    const bool invert = Pen.Mode == pmNot;
    const std::uint32_t penPixel = PixelOf(Pen.Color);
    const std::uint32_t brushPixel = PixelOf(Brush.Color);
    const std::int64_t firstRow = std::max<std::int64_t>(t - outwards, 0);
    const std::int64_t lastRow = std::min<std::int64_t>(b + outwards, m_buffer.Height - 1);
    for (std::int64_t row = firstRow; row <= lastRow; ++row) {
        if (row >= innerTop && row <= innerBottom && innerLeft <= innerRight) {
            PaintSpan(row, l - outwards, innerLeft - 1, penPixel, invert);
            PaintSpan(row, innerLeft, innerRight, brushPixel, invert);
            PaintSpan(row, innerRight + 1, r + outwards, penPixel, invert);
        } else {
            PaintSpan(row, l - outwards, r + outwards, penPixel, invert);
        }
    }
}

void RasterCanvas::TextOut(int x, int y, const std::string& utf8)
{
    if (m_text && m_buffer.Usable())
        m_text->DrawText(m_buffer, x, y, utf8, Font, PixelOf(Font.Color), PixelOf(Brush.Color));
}

void RasterCanvas::LogicalLine(int x0, int y0, int x1, int y1)
{
    const DeviceGrid grid = Grid();
    if (grid.Identity()) {
        MoveTo(x0, y0);
        LineTo(x1, y1);
        return;
    }
    const int width = PenWidth();
    const bool invert = Pen.Mode == pmNot;
    const std::uint32_t pixel = PixelOf(Pen.Color);
    // The pixels LineTo covers along the line: from the start up to the end,
    // which is left out, whichever way the line runs.
    auto along = [&](int from, int to) {
        return from < to ? std::pair(grid.Edge(from), grid.Edge(to))
                         : std::pair(grid.Edge(to + 1), grid.Edge(from + 1));
    };
    if (y0 == y1 && x0 != x1) {
        const auto [first, end] = along(x0, x1);
        PaintBlock(first, grid.LineStart(y0, width), end, grid.LineEnd(y0, width), pixel, invert);
    } else if (x0 == x1 && y0 != y1) {
        const auto [first, end] = along(y0, y1);
        PaintBlock(grid.LineStart(x0, width), first, grid.LineEnd(x0, width), end, pixel, invert);
    } else if (x0 != x1) {
        const int device = grid.LineWidth(width);
        const int centre = (device - 1) / 2;   // the wide pen reaches this far before its pixel
        const int saved = Pen.Width;
        Pen.Width = device;
        PaintSegment(std::int64_t(grid.LineStart(x0, width)) + centre, std::int64_t(grid.LineStart(y0, width)) + centre,
                     std::int64_t(grid.LineStart(x1, width)) + centre,
                     std::int64_t(grid.LineStart(y1, width)) + centre);
        Pen.Width = saved;
    }
    m_penX = grid.Edge(x1);
    m_penY = grid.Edge(y1);
}

void RasterCanvas::LogicalRectangle(int left, int top, int right, int bottom)
{
    const DeviceGrid grid = Grid();
    if (grid.Identity()) {
        Rectangle(left, top, right, bottom);
        return;
    }
    if (!m_buffer.Usable() || left == right || top == bottom)
        return;
    // The outline's columns and rows, as Rectangle has them.
    const int l = std::min(left, right);
    const int r = std::max(left, right) - 1;
    const int t = std::min(top, bottom);
    const int b = std::max(top, bottom) - 1;
    const int width = PenWidth();
    const int outerLeft = grid.LineStart(l, width);
    const int innerLeft = grid.LineEnd(l, width);
    const int innerRight = grid.LineStart(r, width);
    const int outerRight = grid.LineEnd(r, width);
    const int outerTop = grid.LineStart(t, width);
    const int innerTop = grid.LineEnd(t, width);
    const int innerBottom = grid.LineStart(b, width);
    const int outerBottom = grid.LineEnd(b, width);

    const bool invert = Pen.Mode == pmNot;
    const std::uint32_t penPixel = PixelOf(Pen.Color);
    if (innerLeft >= innerRight || innerTop >= innerBottom) {
        // The bands meet: all outline, each pixel once.
        PaintBlock(outerLeft, outerTop, outerRight, outerBottom, penPixel, invert);
        return;
    }
    PaintBlock(outerLeft, outerTop, outerRight, innerTop, penPixel, invert);
    PaintBlock(outerLeft, innerTop, innerLeft, innerBottom, penPixel, invert);
    PaintBlock(innerLeft, innerTop, innerRight, innerBottom, PixelOf(Brush.Color), invert);
    PaintBlock(innerRight, innerTop, outerRight, innerBottom, penPixel, invert);
    PaintBlock(outerLeft, innerBottom, outerRight, outerBottom, penPixel, invert);
}

void RasterCanvas::LogicalTextOut(int x, int y, const std::string& utf8)
{
    const DeviceGrid grid = Grid();
    TextOut(grid.Edge(x), grid.Edge(y), utf8);
}
