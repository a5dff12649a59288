#pragma once

#include <cstdint>
#include <string>

// A 5x7 bitmap font with one row below the baseline for descenders, so labels
// can be drawn into pictures without a font library. It knows A-Z, a-z, 0-9,
// space and . - : = x ( ) %; any other character is drawn as a hollow box.
namespace bitmapfont {

constexpr int glyphWidth = 5;
constexpr int glyphHeight = 8;
constexpr int advance = glyphWidth + 1;

int TextWidth(const std::string& text, int scale = 1);

// Draws `text` into top-row-first RGBA8 `pixels` of `width` x `height` with
// its top-left corner at (x, y); what falls outside is clipped.
void DrawText(std::uint8_t* pixels, int width, int height, int x, int y, const std::string& text,
              std::uint32_t rgba, int scale = 1);

}  // namespace bitmapfont
