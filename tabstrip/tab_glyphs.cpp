#include "tabstrip/tab_glyphs.h"

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

}  // namespace tabstrip
