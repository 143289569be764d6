// The moon picture's row shading for the phases that fix it, and the
// instants (UTC dates) the pictures are drawn for.
#include <gtest/gtest.h>

#include <cmath>

#include "clock/moon_shading.h"

using namespace moon;

namespace {

const ShadeRow& Row(const std::vector<ShadeRow>& rows, int row)
{
    for (const ShadeRow& r : rows) {
        if (r.row == row) {
            return r;
        }
    }
    static ShadeRow none;
    ADD_FAILURE() << "row " << row << " not shaded";
    return none;
}

}  // namespace

TEST(MoonShading, RowsTwoToFiftyFourEachOnce)
{
    const auto rows = ShadeRows(0.3);
    EXPECT_EQ(rows.size(), 53u);
    std::vector<int> seen(64, 0);
    for (const ShadeRow& r : rows) {
        ++seen[static_cast<size_t>(r.row)];
    }
    for (int y = 0; y < 64; ++y) {
        EXPECT_EQ(seen[static_cast<size_t>(y)], (y >= 2 && y <= 54) ? 1 : 0) << y;
    }
    EXPECT_EQ(rows[0].row, 28);
    EXPECT_EQ(rows[1].row, 29);
    EXPECT_EQ(rows[2].row, 27);
}

TEST(MoonShading, NewMoonIsAllDark)
{
    for (const ShadeRow& r : ShadeRows(0.0)) {
        EXPECT_EQ(r.left, r.right) << r.row;
    }
}

TEST(MoonShading, QuartersLightOneHalf)
{
    const auto first = ShadeRows(0.25);
    EXPECT_EQ(Row(first, 28).left, 32);
    EXPECT_EQ(Row(first, 28).right, 59);
    EXPECT_EQ(Row(first, 40).left, 32);
    const auto last = ShadeRows(0.75);
    EXPECT_EQ(Row(last, 28).left, 5);
    EXPECT_EQ(Row(last, 28).right, 32);
    EXPECT_EQ(Row(last, 10).right, 32);
}

TEST(MoonShading, FullMoonJustBeforeAndAtHalf)
{
    for (double p : {0.5 - 1e-9, 0.5}) {
        const auto rows = ShadeRows(p);
        EXPECT_EQ(Row(rows, 28).left, 5);
        EXPECT_EQ(Row(rows, 28).right, 59);
        // The top row of the disc (i = 26): half chord 27 cos(asin(26/27)) = 7.28.
        EXPECT_EQ(Row(rows, 2).left, 24);
        EXPECT_EQ(Row(rows, 2).right, 39);
    }
}

TEST(MoonShading, CrescentsGrowWithThePhase)
{
    int previousLit = -1;
    for (double p = 0.0; p < 0.5; p += 0.05) {
        const ShadeRow r = Row(ShadeRows(p), 28);
        EXPECT_GE(r.right - r.left, previousLit) << p;
        previousLit = r.right - r.left;
    }
}

TEST(MoonInstants, BeijingMidnightFallsOnTheDayBeforeInUtc)
{
    EXPECT_EQ(UtcDateOfBeijingMidnight(2000, 1, 6), (Date{2000, 1, 5}));
    EXPECT_EQ(UtcDateOfBeijingMidnight(2000, 1, 1), (Date{1999, 12, 31}));
    EXPECT_EQ(UtcDateOfBeijingMidnight(2024, 3, 1), (Date{2024, 2, 29}));
    EXPECT_EQ(UtcDateOfBeijingMidnight(2025, 3, 1), (Date{2025, 2, 28}));
}

TEST(MoonInstants, LandingDayPixelOn21JulyBeijing)
{
    EXPECT_TRUE(MarksLandingDay(UtcDateOfBeijingMidnight(1969, 7, 21)));
    EXPECT_FALSE(MarksLandingDay(UtcDateOfBeijingMidnight(1969, 7, 20)));
    EXPECT_TRUE(MarksLandingDay({2025, 7, 20}));
    EXPECT_FALSE(MarksLandingDay({2025, 6, 20}));
}

TEST(MoonImages, AtFullSizeThePictureAndItsShadingAreTheOriginal)
{
    const MoonImage m = MoonImageAt(dpiscale::ImageScale::x100);
    EXPECT_EQ(m.size, 64);
    EXPECT_EQ(m.shownSize, 58);
    EXPECT_EQ(std::wstring(m.colourName), L"COLOURMOON");
    for (double p : {0.0, 0.1, 0.25, 0.4999, 0.5, 0.7, 0.75, 0.99}) {
        const auto a = ShadeRows(p);
        const auto b = ShadeRows(p, m);
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].row, b[i].row);
            EXPECT_EQ(a[i].left, b[i].left);
            EXPECT_EQ(a[i].right, b[i].right);
        }
    }
}

TEST(MoonImages, LargerPicturesScaleEveryPlaceAndStayInsideTheBitmap)
{
    for (auto scale : {dpiscale::ImageScale::x150, dpiscale::ImageScale::x200}) {
        const MoonImage m = MoonImageAt(scale);
        const double s = static_cast<int>(scale) / 100.0;
        EXPECT_EQ(m.size, static_cast<int>(64 * s));
        EXPECT_NEAR(m.radius, 27 * s, 1e-9);
        EXPECT_EQ(m.centreX, static_cast<int>(32 * s));
        EXPECT_EQ(m.centreY, static_cast<int>(28 * s));
        EXPECT_EQ(m.shownSize, static_cast<int>(58 * s));
        EXPECT_EQ(m.shownHalf, static_cast<int>(28 * s));
        EXPECT_LE(m.shownLeft + m.shownSize, m.size);
        EXPECT_LE(m.shownTop + m.shownSize, m.size);
        EXPECT_EQ(m.landingX, static_cast<int>(41 * s));
        EXPECT_EQ(m.landingY, static_cast<int>(29 * s));
        // Full moon: each row lit across the disc's chord, nothing beyond the bitmap.
        const auto rows = ShadeRows(0.5, m);
        EXPECT_EQ(rows.size(), static_cast<size_t>(2 * std::ceil(m.radius) - 1));
        for (const ShadeRow& r : rows) {
            EXPECT_GE(r.row, 0);
            EXPECT_LT(r.row, m.size);
            EXPECT_GE(r.left, 0);
            EXPECT_LE(r.right, m.size);
        }
        EXPECT_EQ(Row(rows, m.centreY).right - Row(rows, m.centreY).left, static_cast<int>(2 * m.radius));
        // First quarter: the right half lit, from the centre column on.
        const auto quarter = ShadeRows(0.25, m);
        EXPECT_EQ(Row(quarter, m.centreY).left, m.centreX);
        // New moon: all dark.
        for (const ShadeRow& r : ShadeRows(0.0, m))
            EXPECT_EQ(r.left, r.right);
    }
}
