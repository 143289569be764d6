// The arrow glyphs of the scroll buttons: a monochrome strip of six 8 x 7
// cells (first, previous, next, last, close, solid), of which the strip
// uses the first four.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "framework/dpi_scale.h"

#include "tabstrip/tab_layout.h"

namespace tabstrip {

inline constexpr int kGlyphWidth = 8;
inline constexpr int kGlyphHeight = 7;
inline constexpr int kGlyphCells = 6;
inline constexpr int kGlyphRowBytes = kGlyphCells * kGlyphWidth / 8;   // 6, WORD aligned

// Bits of the 48 x 7 monochrome bitmap, row by row, leftmost pixel in the
// most significant bit: 0 is ink, 1 is background.
const std::array<uint8_t, kGlyphRowBytes * kGlyphHeight>& GlyphBits();

// The glyph cell a button shows.
inline constexpr int GlyphCellOf(ScrollButton b) { return static_cast<int>(b); }

// Top-left corner of the glyph centred in a button rectangle.
TabPoint GlyphOrigin(const TabRect& button);

// The glyph strip for a display scale: every cell enlarged pixel by pixel
// (each target pixel takes the source pixel under its centre), so the
// arrows stay sharp; at 100 % exactly GlyphBits(). Rows are WORD aligned,
// as CreateBitmap wants them.
struct GlyphStrip {
    int cellWidth = kGlyphWidth;
    int cellHeight = kGlyphHeight;
    int rowBytes = kGlyphRowBytes;
    std::vector<uint8_t> bits;
};
GlyphStrip GlyphStripAt(dpiscale::ImageScale scale);
// The glyph of a strip centred in a button rectangle.
TabPoint GlyphOrigin(const TabRect& button, const GlyphStrip& strip);

}  // namespace tabstrip
