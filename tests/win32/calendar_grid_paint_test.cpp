// The month grid's painting read back pixel by pixel: header band, weekend
// digits, the selection box, magenta labels, adjacent months in grey; and
// repaints that build no LunarYear.
#include <gtest/gtest.h>

#include <windows.h>

#include "calendar/calendar_ctrl.h"
#include "calendar/month_grid.h"
#include "tests/win32/dib_canvas.h"

namespace {

constexpr int kW = 418;
constexpr int kH = 326;

struct PaintedMonth {
    CCalendarCtrl grid;
    DibCanvas canvas{kW, kH};

    PaintedMonth(int year, int month, int day)
    {
        EXPECT_TRUE(grid.SetDate(year, month, day));
        grid.Draw(canvas.Dc(), kW, kH);
    }
    int CountInNumber(COLORREF c, int column, int row) const
    {
        const cal::GridBox cell = cal::CellBox(column, row);
        return canvas.Count(c, cell.left, cell.top + 2, cell.left + 28, cell.top + 34);
    }
    int CountInLabel(COLORREF c, int column, int row) const
    {
        const cal::GridBox label = cal::LabelBox(cal::CellBox(column, row));
        return canvas.Count(c, label.left, label.top, label.right, label.bottom);
    }
};

}  // namespace

TEST(CalendarGridPaint, HeaderBandAndCaptions)
{
    PaintedMonth m(2025, 1, 15);
    EXPECT_EQ(m.canvas.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(m.canvas.At(2, 2), RGB(190, 70, 70));
    EXPECT_EQ(m.canvas.At(kW - 2, 40), RGB(190, 70, 70));
    EXPECT_EQ(m.canvas.At(kW - 1, 20), RGB(255, 255, 255));
    EXPECT_EQ(m.canvas.At(5, 42), RGB(255, 255, 255));
    // Yellow captions in every column (smoothed edges allowed).
    for (int c = 0; c < 7; ++c) {
        const cal::GridBox box = cal::WeekdayCaptionBox(c);
        int yellow = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) {
                const COLORREF p = m.canvas.At(x, y);
                yellow += GetRValue(p) > 220 && GetGValue(p) > 200 && GetBValue(p) < 120 ? 1 : 0;
            }
        EXPECT_GT(yellow, 10) << c;
    }
}

TEST(CalendarGridPaint, WeekendDigitsAndAdjacentMonths)
{
    PaintedMonth m(2025, 1, 15);   // 1 January 2025 is a Wednesday
    EXPECT_GT(m.CountInNumber(RGB(255, 0, 0), 0, 1), 10);     // Sunday 5th
    EXPECT_GT(m.CountInNumber(RGB(0, 184, 0), 6, 0), 10);     // Saturday 4th
    EXPECT_EQ(m.CountInNumber(RGB(255, 0, 0), 1, 1), 0);      // Monday 6th is black
    EXPECT_GT(m.CountInNumber(RGB(0, 0, 0), 1, 1), 10);
    EXPECT_GT(m.CountInNumber(RGB(168, 168, 168), 0, 0), 10); // 29 December, grey
    EXPECT_EQ(m.CountInNumber(RGB(255, 0, 0), 0, 0), 0);     // even on a Sunday
    EXPECT_GT(m.CountInLabel(RGB(168, 168, 168), 0, 0), 5);
}

TEST(CalendarGridPaint, SelectionBoxAndInvertedLabel)
{
    PaintedMonth m(2025, 1, 15);   // the 15th: column 3, row 2
    const cal::GridBox cell = cal::CellBox(3, 2);
    EXPECT_EQ(m.canvas.At(cell.left - 2, cell.top - 2), RGB(150, 150, 230));
    EXPECT_EQ(m.canvas.At(cell.left + 47, cell.top + 34), RGB(150, 150, 230));
    EXPECT_EQ(m.canvas.At(cell.left + 48, cell.top + 35), RGB(255, 255, 255));
    EXPECT_GT(m.CountInNumber(RGB(255, 255, 255), 3, 2), 10);   // white digits
    EXPECT_GT(m.CountInLabel(RGB(255, 255, 255), 3, 2), 5);     // black label inverted
    // No other cell carries the selection colour.
    const cal::GridBox other = cal::CellBox(3, 3);
    EXPECT_EQ(m.canvas.Count(RGB(150, 150, 230), other.left, other.top, other.right, other.bottom - 5), 0);
}

TEST(CalendarGridPaint, FestivalsAndTermsInMagenta)
{
    PaintedMonth m(2025, 1, 15);
    EXPECT_GT(m.CountInLabel(RGB(255, 0, 255), 3, 0), 5);   // 元旦
    EXPECT_GT(m.CountInLabel(RGB(255, 0, 255), 0, 1), 5);   // 小寒 on the 5th
    EXPECT_EQ(m.CountInLabel(RGB(255, 0, 255), 4, 0), 0);   // 2nd: a plain lunar day
    PaintedMonth festival(2025, 1, 29);   // selected 春节: complement of magenta
    EXPECT_GT(festival.CountInLabel(RGB(0, 255, 0), 3, 4), 5);
}

TEST(CalendarGridPaint, TextLinesUnderTheGrid)
{
    PaintedMonth m(2025, 1, 15);
    EXPECT_GT(m.canvas.Count(RGB(0, 0, 0), 5, 284, kW - 5, 302), 30);
    EXPECT_GT(m.canvas.Count(RGB(0, 0, 0), 5, 304, kW - 5, 322), 30);
}

TEST(CalendarGridPaint, RepaintsBuildNoLunarYear)
{
    CCalendarCtrl grid;
    DibCanvas canvas(kW, kH);
    ASSERT_TRUE(grid.SetDate(2025, 12, 1));
    grid.Draw(canvas.Dc(), kW, kH);
    const int builds = grid.LunarYearBuilds();
    for (int i = 0; i < 5; ++i)
        grid.Draw(canvas.Dc(), kW, kH);
    EXPECT_EQ(grid.LunarYearBuilds(), builds);
    EXPECT_FALSE(grid.SetDate(1900, 12, 1));
    EXPECT_FALSE(grid.SetDate(2101, 1, 1));
    EXPECT_EQ(grid.Year(), 2025);
}

TEST(CalendarGridPaint, NoGdiObjectLeaksOverManyPaints)
{
    CCalendarCtrl grid;
    DibCanvas canvas(kW, kH);
    grid.Draw(canvas.Dc(), kW, kH);
    const unsigned before = GdiHandleHighWater();
    for (int i = 0; i < 100; ++i) {
        grid.SetDate(2024 + i % 3, i % 12 + 1, 15);
        grid.Draw(canvas.Dc(), kW, kH);
    }
    EXPECT_LE(GdiHandleHighWater(), before + 16);
}
