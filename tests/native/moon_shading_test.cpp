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
