// The glyph bitmap and the rules for borrowing the visual style's look.
#include <gtest/gtest.h>

#include <algorithm>

#include "tabstrip/tab_glyphs.h"
#include "tabstrip/visual_style_rules.h"

using namespace tabstrip;

namespace {

// Pixel (x, y) of the glyph strip: true for ink.
bool Ink(int x, int y)
{
    const uint8_t byte = GlyphBits()[size_t(y * kGlyphRowBytes + x / 8)];
    return (byte & (0x80 >> (x % 8))) == 0;
}

std::string CellRow(int cell, int y)
{
    std::string row;
    for (int x = 0; x < 8; ++x)
        row += Ink(cell * 8 + x, y) ? '#' : '.';
    return row;
}

constexpr uint32_t kMagenta = 0x00FF00FF;

}  // namespace

TEST(TabGlyphs, RowsAreSixBytesInkIsZero)
{
    EXPECT_EQ(GlyphBits().size(), 42u);
    // Row 1: ".#....#." ".....#.." "..#....." ".#....#." "##....##" "########"
    EXPECT_EQ(GlyphBits()[0], 0xBD);
    EXPECT_EQ(GlyphBits()[1], 0xFB);
    EXPECT_EQ(GlyphBits()[2], 0xDF);
    EXPECT_EQ(GlyphBits()[3], 0xBD);
    EXPECT_EQ(GlyphBits()[4], 0x3C);
    EXPECT_EQ(GlyphBits()[5], 0x00);
}

TEST(TabGlyphs, CellsShowTheirArrows)
{
    // First: a bar and a left-pointing arrow; last: the mirror image.
    EXPECT_EQ(CellRow(0, 3), ".#.###..");
    EXPECT_EQ(CellRow(1, 3), "..###...");
    EXPECT_EQ(CellRow(2, 3), "...###..");
    EXPECT_EQ(CellRow(3, 3), "..###.#.");
    EXPECT_EQ(CellRow(3, 0), ".#....#.");
    EXPECT_EQ(CellRow(2, 6), "..#.....");
    for (int y = 0; y < 7; ++y)
        EXPECT_EQ(CellRow(5, y), "########");
}

TEST(TabGlyphs, GlyphIsCentredInItsButton)
{
    // Button 17 x 17 at (18, 2): (17 - 8) / 2 = 4, (17 - 7) / 2 = 5.
    EXPECT_EQ(GlyphOrigin({18, 2, 35, 19}), (TabPoint{22, 7}));
}

TEST(TabVisualStyle, LibraryIsLoadedOnlyWhereThePackedVersionIsLarge)
{
    EXPECT_FALSE(ShouldLoadVisualStyles(5, 0));
    EXPECT_TRUE(ShouldLoadVisualStyles(5, 1));
    EXPECT_TRUE(ShouldLoadVisualStyles(5, 2));
    EXPECT_FALSE(ShouldLoadVisualStyles(6, 0));
    EXPECT_TRUE(ShouldLoadVisualStyles(6, 1));
    EXPECT_TRUE(ShouldLoadVisualStyles(6, 2));
    EXPECT_TRUE(ShouldLoadVisualStyles(6, 3));
    EXPECT_FALSE(ShouldLoadVisualStyles(10, 0));
}

TEST(TabVisualStyle, ImageFileNameBecomesAResourceName)
{
    EXPECT_EQ(StyleBitmapResourceName(u"folder\\name.bmp"), u"folder_name_bmp");
    EXPECT_EQ(StyleBitmapResourceName(u"Blue\\Spin.Left.BMP"), u"Blue_Spin_Left_BMP");
    EXPECT_EQ(StyleBitmapResourceName(u""), u"");
    EXPECT_EQ(StyleBitmapResourceName(u"plain"), u"plain");
}

TEST(TabVisualStyle, GlyphColoursFromStackedStates)
{
    // 3 x 8: four 2-row strips; each strip's first non-magenta pixel in
    // row-by-row order.
    PixelImage img{3, 8, std::vector<uint32_t>(24, kMagenta)};
    img.pixels[1 * 3 + 2] = 0x000001;   // strip 0, row 1
    img.pixels[1 * 3 + 0] = 0x000009;   // earlier in the same row: wins
    img.pixels[2 * 3 + 1] = 0x000002;   // strip 1
    img.pixels[5 * 3 + 0] = 0x000003;   // strip 2, second row
    img.pixels[6 * 3 + 2] = 0x000004;   // strip 3
    const auto colours = FindGlyphColours(img, false, kMagenta);
    ASSERT_TRUE(colours);
    EXPECT_EQ(*colours, (std::array<uint32_t, 4>{0x09, 0x02, 0x03, 0x04}));
}

TEST(TabVisualStyle, GlyphColoursFromSideBySideStatesScanColumns)
{
    // 8 x 3: four 2-column strips scanned column by column.
    PixelImage img{8, 3, std::vector<uint32_t>(24, kMagenta)};
    img.pixels[0 * 8 + 1] = 0x11;   // strip 0, column 1, row 0
    img.pixels[2 * 8 + 0] = 0x10;   // strip 0, column 0, row 2: first column wins
    img.pixels[1 * 8 + 2] = 0x20;
    img.pixels[0 * 8 + 5] = 0x30;
    img.pixels[2 * 8 + 7] = 0x40;
    const auto colours = FindGlyphColours(img, true, kMagenta);
    ASSERT_TRUE(colours);
    EXPECT_EQ(*colours, (std::array<uint32_t, 4>{0x10, 0x20, 0x30, 0x40}));
}

TEST(TabVisualStyle, AnEmptyStripFails)
{
    PixelImage img{8, 4, std::vector<uint32_t>(32, kMagenta)};
    img.pixels[0] = 1;
    img.pixels[2] = 1;
    img.pixels[4] = 1;   // strip 3 (columns 6, 7) stays transparent
    EXPECT_FALSE(FindGlyphColours(img, true, kMagenta));
    EXPECT_FALSE(FindGlyphColours(PixelImage{}, true, kMagenta));
    EXPECT_FALSE(FindGlyphColours(PixelImage{3, 8, {}}, false, kMagenta));   // no pixels
}

TEST(TabVisualStyle, StateImageSources)
{
    EXPECT_EQ(StateImageSource(64, 16, true, 2), (TabRect{32, 0, 48, 16}));
    EXPECT_EQ(StateImageSource(16, 88, false, 3), (TabRect{0, 66, 16, 88}));
}

TEST(TabVisualStyle, NineGridKeepsCornersAndStretchesTheRest)
{
    const auto slices = NineGridSlices({0, 0, 10, 10}, {100, 50, 130, 70}, {2, 3, 1, 4});
    ASSERT_EQ(slices.size(), 9u);
    // Corners: same size in and out.
    EXPECT_EQ(slices[0].src, (TabRect{0, 0, 2, 1}));
    EXPECT_EQ(slices[0].dst, (TabRect{100, 50, 102, 51}));
    EXPECT_FALSE(slices[0].stretch);
    EXPECT_EQ(slices[8].src, (TabRect{7, 6, 10, 10}));
    EXPECT_EQ(slices[8].dst, (TabRect{127, 66, 130, 70}));
    EXPECT_FALSE(slices[8].stretch);
    // Top edge stretched along x only; centre both ways.
    EXPECT_EQ(slices[1].src, (TabRect{2, 0, 7, 1}));
    EXPECT_EQ(slices[1].dst, (TabRect{102, 50, 127, 51}));
    EXPECT_TRUE(slices[1].stretch);
    EXPECT_EQ(slices[4].src, (TabRect{2, 1, 7, 6}));
    EXPECT_EQ(slices[4].dst, (TabRect{102, 51, 127, 66}));
}

TEST(TabVisualStyle, NineGridLeavesOutEmptyPieces)
{
    // No margins: just the centre.
    const auto plain = NineGridSlices({0, 0, 10, 10}, {0, 0, 20, 20}, {});
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_TRUE(plain[0].stretch);
    // A destination smaller than the margins: nothing of negative size.
    for (const GridSlice& s : NineGridSlices({0, 0, 10, 10}, {0, 0, 3, 3}, {4, 4, 4, 4})) {
        EXPECT_GT(s.dst.right, s.dst.left);
        EXPECT_GT(s.dst.bottom, s.dst.top);
    }
    for (const GridSlice& s : NineGridSlices({0, 0, 10, 10}, {0, 0, 20, 20}, {-3, 0, 0, 0}))
        EXPECT_GE(s.src.left, 0);
}

namespace {

bool StripInk(const GlyphStrip& s, int x, int y)
{
    const uint8_t byte = s.bits[size_t(y * s.rowBytes + x / 8)];
    return (byte & (0x80 >> (x % 8))) == 0;
}

}  // namespace

TEST(TabGlyphs, AtFullSizeTheStripIsTheGlyphBitmapItself)
{
    const GlyphStrip s = GlyphStripAt(dpiscale::ImageScale::x100);
    EXPECT_EQ(s.cellWidth, 8);
    EXPECT_EQ(s.cellHeight, 7);
    EXPECT_EQ(s.rowBytes, 6);
    EXPECT_TRUE(std::equal(s.bits.begin(), s.bits.end(), GlyphBits().begin(), GlyphBits().end()));
}

TEST(TabGlyphs, DoubleSizeDoublesEveryPixel)
{
    const GlyphStrip s = GlyphStripAt(dpiscale::ImageScale::x200);
    EXPECT_EQ(s.cellWidth, 16);
    EXPECT_EQ(s.cellHeight, 14);
    EXPECT_EQ(s.rowBytes, 12);
    ASSERT_EQ(s.bits.size(), 12u * 14u);
    int wrong = 0;
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 96; ++x)
            wrong += StripInk(s, x, y) != Ink(x / 2, y / 2);
    EXPECT_EQ(wrong, 0);
}

TEST(TabGlyphs, OneAndAHalfSizeKeepsTheArrowsWholeInWordAlignedRows)
{
    const GlyphStrip s = GlyphStripAt(dpiscale::ImageScale::x150);
    EXPECT_EQ(s.cellWidth, 12);
    EXPECT_EQ(s.cellHeight, 11);
    EXPECT_EQ(s.rowBytes, 10);   // 72 pixels, padded to a WORD
    // Every source pixel shows in at least one target pixel, and every
    // target pixel is its source's colour: nothing smeared, nothing lost.
    int lost = 0;
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 48; ++x) {
            bool seen = false;
            for (int ty = 0; ty < 11; ++ty)
                for (int tx = 0; tx < 72; ++tx)
                    if ((2 * ty + 1) / 3 == y && (tx / 12) * 8 + (2 * (tx % 12) + 1) / 3 == x)
                        seen = seen || StripInk(s, tx, ty) == Ink(x, y);
            lost += !seen;
        }
    EXPECT_EQ(lost, 0);
    // The bar of "first" stays one column wide: column 1 of the source.
    for (int y = 0; y < 11; ++y) {
        EXPECT_TRUE(StripInk(s, 1, y)) << y;
        EXPECT_FALSE(StripInk(s, 0, y)) << y;
    }
}

TEST(TabGlyphs, AScaledGlyphIsCentredInItsButton)
{
    const GlyphStrip s = GlyphStripAt(dpiscale::ImageScale::x200);
    // Button 26 x 26 at (27, 3): (26 - 16) / 2 = 5, (26 - 14) / 2 = 6.
    EXPECT_EQ(GlyphOrigin({27, 3, 53, 29}, s), (TabPoint{32, 9}));
}
