// The decisions behind borrowing the visual style's spin-button look, kept
// apart from the library calls: when to load the library, how a style image
// file name becomes a resource name, which colours the glyph image holds,
// and how a state image is cut into nine pieces for stretching.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tabstrip/tab_geometry.h"

namespace tabstrip {

// Whether the visual-style library is worth loading on this Windows version:
// minor * 65536 + major > 65540. True for 5.1, 5.2, 6.1, 6.2, 6.3; false for
// 5.0, and also for 6.0 and 10.0, whose packed values are small.
bool ShouldLoadVisualStyles(unsigned major, unsigned minor);

// Resource name of a style image file inside the style module: every
// backslash and full stop becomes an underscore ("a\\b.bmp" -> "a_b_bmp").
std::u16string StyleBitmapResourceName(std::u16string_view fileName);

// A bitmap as COLORREF values (0x00BBGGRR), row by row from the top.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// The four glyph colours (normal, hot, pressed, disabled) of a glyph image
// holding four state images: side by side (strips across the width, each
// scanned column by column) or stacked (strips across the height, scanned
// row by row). Each colour is the strip's first pixel that is not the
// transparent colour; nullopt when a strip has none.
std::optional<std::array<uint32_t, 4>> FindGlyphColours(const PixelImage& image, bool sideBySide,
                                                        uint32_t transparent);

// The part of a four-state image that shows state s (0 ... 3).
TabRect StateImageSource(int imageWidth, int imageHeight, bool sideBySide, int s);

// Widths of the borders that must not be stretched.
struct Margins {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

struct GridSlice {
    TabRect src;
    TabRect dst;
    bool stretch = false;   // sizes differ: StretchBlt, else BitBlt
};

// Nine-grid copy of src into dst: corners unscaled, edges stretched along
// their length, centre both ways. Empty pieces are left out; negative
// margins count as 0.
std::vector<GridSlice> NineGridSlices(const TabRect& src, const TabRect& dst, Margins margins);

}  // namespace tabstrip
