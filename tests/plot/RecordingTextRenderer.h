// SPDX-License-Identifier: MIT
// A TextRenderer that draws nothing and keeps every call, for tests that check
// which texts the painter writes where, in which font and colours.
#pragma once

#include "Canvas.h"

#include <string>
#include <vector>

struct RecordedText {
    int X;
    int Y;
    std::string Text;
    TFont Font;
    std::uint32_t TextPixel;
    std::uint32_t BackgroundPixel;
};

class RecordingTextRenderer : public TextRenderer {
public:
    std::vector<RecordedText> Calls;

    void DrawText(PixelBuffer&, int x, int y, const std::string& utf8, const TFont& font, std::uint32_t textPixel,
                  std::uint32_t backgroundPixel) override
    {
        Calls.push_back({x, y, utf8, font, textPixel, backgroundPixel});
    }

    const RecordedText* Find(const std::string& text) const
    {
        for (const RecordedText& call : Calls)
            if (call.Text == text)
                return &call;
        return nullptr;
    }
};
