#include "tabstrip/tab_glyphs.h"

#include <algorithm>
#include <string_view>

namespace tabstrip {

namespace {

// '#' ink, '.' background; cells: |<  <  >  >|  x  solid.
constexpr std::string_view kRows[kGlyphHeight] = {
    ".#....#......#....#......#....#.##....##########",
    ".#...##.....##....##.....##...#..##..##.########",
    ".#..###....###....###....###..#...####..########",
    ".#.###....###......###....###.#....##...########",
    ".#..###....###....###....###..#...####..########",
    ".#...##.....##....##.....##...#..##..##.########",
    ".#....#......#....#......#....#.##....##########",
};

std::array<uint8_t, kGlyphRowBytes * kGlyphHeight> BuildBits()
{
    std::array<uint8_t, kGlyphRowBytes * kGlyphHeight> bits{};
    for (int y = 0; y < kGlyphHeight; ++y)
        for (int x = 0; x < kGlyphCells * kGlyphWidth; ++x)
            if (kRows[y][size_t(x)] == '.')
                bits[size_t(y * kGlyphRowBytes + x / 8)] |= uint8_t(0x80 >> (x % 8));
    return bits;
}

}  // namespace

const std::array<uint8_t, kGlyphRowBytes * kGlyphHeight>& GlyphBits()
{
    static const auto bits = BuildBits();
    return bits;
}

TabPoint GlyphOrigin(const TabRect& button)
{
    return {button.left + (button.right - button.left - kGlyphWidth) / 2,
            button.top + (button.bottom - button.top - kGlyphHeight) / 2};
}

GlyphStrip GlyphStripAt(dpiscale::ImageScale scale)
{
    GlyphStrip strip;
    strip.cellWidth = dpiscale::ImageLength(kGlyphWidth, scale);
    strip.cellHeight = dpiscale::ImageLength(kGlyphHeight, scale);
    const int width = kGlyphCells * strip.cellWidth;
    strip.rowBytes = (width + 15) / 16 * 2;
    strip.bits.assign(size_t(strip.rowBytes * strip.cellHeight), 0);
    const int percent = static_cast<int>(scale);
    for (int y = 0; y < strip.cellHeight; ++y) {
        // 7 rows at 150 % are 11: the last one repeats the bottom row.
        const int sy = std::min((2 * y + 1) * 100 / (2 * percent), kGlyphHeight - 1);
        for (int x = 0; x < width; ++x) {
            const int cell = x / strip.cellWidth;
            const int sx =
                cell * kGlyphWidth + std::min((2 * (x % strip.cellWidth) + 1) * 100 / (2 * percent), kGlyphWidth - 1);
            if (kRows[size_t(sy)][size_t(sx)] == '.')
                strip.bits[size_t(y * strip.rowBytes + x / 8)] |= uint8_t(0x80 >> (x % 8));
        }
    }
    return strip;
}

TabPoint GlyphOrigin(const TabRect& button, const GlyphStrip& strip)
{
    return {button.left + (button.right - button.left - strip.cellWidth) / 2,
            button.top + (button.bottom - button.top - strip.cellHeight) / 2};
}

}  // namespace tabstrip
