// The month grid's model: cell layout for months starting on any weekday,
// colours, labels, the text lines, hit testing, the remembered day, and the
// cache that keeps repaints free of LunarYear builds.
#include <gtest/gtest.h>

#include <tuple>

#include "calendar/month_grid.h"

using namespace cal;

namespace {

// A box as a tuple, so that a failing comparison prints all four edges.
std::tuple<int, int, int, int> Box(const cal::GridBox& b)
{
    return {b.left, b.top, b.right, b.bottom};
}

const GridCell& CellOfDay(const MonthGrid& g, int day)
{
    for (const GridCell& c : g.cells) {
        if (c.inMonth && c.day == day) {
            return c;
        }
    }
    static GridCell none;
    ADD_FAILURE() << "no cell for day " << day;
    return none;
}

int CountInMonth(const MonthGrid& g)
{
    int n = 0;
    for (const GridCell& c : g.cells) {
        n += c.inMonth ? 1 : 0;
    }
    return n;
}

}  // namespace

TEST(MonthGridLayout, MonthStartingMidweekFillsLeadingCellsFromPreviousMonth)
{
    LunarYearCache cache;
    const MonthGrid g = BuildMonthGrid(cache, 2025, 1, 29);   // 1 January 2025: Wednesday
    EXPECT_EQ(g.firstWeekday, 3);
    EXPECT_EQ(g.days, 31);
    // Row 0: 29, 30, 31 December 2024 in grey, then 1 January.
    for (int i = 0; i < 3; ++i) {
        const GridCell& c = g.cells[static_cast<size_t>(i)];
        EXPECT_FALSE(c.inMonth);
        EXPECT_EQ(c.year, 2024);
        EXPECT_EQ(c.month, 12);
        EXPECT_EQ(c.day, 29 + i);
        EXPECT_EQ(c.numberColour, grid_colour::kAdjacent);
        EXPECT_EQ(c.labelColour, grid_colour::kAdjacent);
    }
    EXPECT_TRUE(g.cells[3].inMonth);
    EXPECT_EQ(g.cells[3].day, 1);
    EXPECT_EQ(g.cells[3].column, 3);
    EXPECT_EQ(g.cells[3].row, 0);
    // Next month fills the rest: 42 - 3 - 31 = 8 days of February.
    EXPECT_EQ(g.cells[41].month, 2);
    EXPECT_EQ(g.cells[41].day, 8);
    EXPECT_EQ(CountInMonth(g), 31);
}

TEST(MonthGridLayout, MonthStartingOnSundayShowsPreviousWeekInRowZero)
{
    LunarYearCache cache;
    const MonthGrid g = BuildMonthGrid(cache, 2026, 2, 1);   // 1 February 2026: Sunday, 28 days
    EXPECT_EQ(g.firstWeekday, 0);
    for (int i = 0; i < 7; ++i) {
        EXPECT_FALSE(g.cells[static_cast<size_t>(i)].inMonth);
        EXPECT_EQ(g.cells[static_cast<size_t>(i)].day, 25 + i);   // 25..31 January
    }
    EXPECT_EQ(g.cells[7].day, 1);
    EXPECT_EQ(g.cells[7].row, 1);
    EXPECT_EQ(g.cells[7].column, 0);
    // 35 - 28 = 7 days of March.
    int next = 0;
    for (const GridCell& c : g.cells) {
        next += (!c.inMonth && c.month == 3) ? 1 : 0;
    }
    EXPECT_EQ(next, 7);
}

TEST(MonthGridLayout, SaturdayStartWithThirtyOneDaysUsesAllSixRows)
{
    LunarYearCache cache;
    const MonthGrid g = BuildMonthGrid(cache, 2025, 3, 1);   // 1 March 2025: Saturday
    EXPECT_EQ(g.firstWeekday, 6);
    EXPECT_EQ(CellOfDay(g, 31).row, 5);
    EXPECT_EQ(CellOfDay(g, 31).column, 1);
}

TEST(MonthGridColours, WeekendDigitsSelectionAndSpecialLabels)
{
    LunarYearCache cache;
    const MonthGrid g = BuildMonthGrid(cache, 2025, 1, 15);
    EXPECT_EQ(CellOfDay(g, 5).numberColour, grid_colour::kSunday);    // Sunday 5 January
    EXPECT_EQ(CellOfDay(g, 4).numberColour, grid_colour::kSaturday);  // Saturday 4 January
    EXPECT_EQ(CellOfDay(g, 6).numberColour, grid_colour::kText);
    const GridCell& sel = CellOfDay(g, 15);
    EXPECT_TRUE(sel.selected);
    EXPECT_EQ(sel.numberColour, grid_colour::kSelectionText);
    // The plain lunar day on the selected cell: black inverted to white.
    EXPECT_EQ(sel.labelColour, GridRgb(255, 255, 255));
    // 元旦, 小寒 (5 January) and 春节 (29 January) are special; 2 January is not.
    EXPECT_EQ(CellOfDay(g, 1).label, L"元旦");
    EXPECT_EQ(CellOfDay(g, 1).labelColour, grid_colour::kSpecialLabel);
    EXPECT_EQ(CellOfDay(g, 5).label, L"小寒");
    EXPECT_EQ(CellOfDay(g, 5).labelColour, grid_colour::kSpecialLabel);
    EXPECT_EQ(CellOfDay(g, 29).label, L"春节");
    EXPECT_EQ(CellOfDay(g, 29).labelColour, grid_colour::kSpecialLabel);
    EXPECT_EQ(CellOfDay(g, 2).labelColour, grid_colour::kText);
    int selected = 0;
    for (const GridCell& c : g.cells) {
        selected += c.selected ? 1 : 0;
    }
    EXPECT_EQ(selected, 1);
}

TEST(MonthGridColours, SelectedSpecialDayShowsComplementOfMagenta)
{
    LunarYearCache cache;
    const MonthGrid g = BuildMonthGrid(cache, 2025, 1, 29);
    EXPECT_EQ(CellOfDay(g, 29).labelColour, GridRgb(0, 255, 0));
}

TEST(MonthGridLabels, ThreeCharacterFestivalShowsFirstTwo)
{
    LunarYearCache cache;
    const MonthGrid g = BuildMonthGrid(cache, 2025, 10, 2);
    EXPECT_EQ(CellOfDay(g, 1).label, L"国庆");
    EXPECT_EQ(CellOfDay(g, 1).labelColour, grid_colour::kSpecialLabel);
    // Nine-day periods, dog days and plum rains count as special too.
    const MonthGrid dec = BuildMonthGrid(cache, 2024, 12, 1);
    EXPECT_EQ(CellOfDay(dec, 21).label, L"冬至");
    const MonthGrid jan = BuildMonthGrid(cache, 2025, 1, 1);
    bool sawNine = false;
    for (const GridCell& c : jan.cells) {
        if (c.inMonth && c.label.size() == 2 && c.label[1] == L'九' && c.label[0] != L'初' &&
            c.label[0] != L'十' && c.label[0] != L'廿') {
            sawNine = true;
            EXPECT_EQ(c.labelColour, grid_colour::kSpecialLabel) << c.day;
        }
    }
    EXPECT_TRUE(sawNine);
}

TEST(MonthGridLabels, EveryLabelIsAtMostTwoCharactersAcrossTheRange)
{
    LunarYearCache cache;
    for (int year : {1901, 1950, 2000, 2033, 2100}) {
        for (int month = 1; month <= 12; ++month) {
            const MonthGrid g = BuildMonthGrid(cache, year, month, 1);
            for (const GridCell& c : g.cells) {
                EXPECT_LE(c.label.size(), 2u);
                const bool outside = (year == 1901 && month == 1 && !c.inMonth && c.month == 12) ||
                                     (year == 2100 && month == 12 && !c.inMonth && c.month == 1);
                EXPECT_EQ(c.label.empty(), outside) << year << "-" << month << " cell " << c.day;
            }
        }
    }
}

TEST(MonthGridText, TermAndMoonLinesOfTheMonth)
{
    LunarYearCache cache;
    const MonthGrid g = BuildMonthGrid(cache, 2025, 1, 1);
    EXPECT_EQ(g.termLine, L"05日10:32 小寒　20日03:59 大寒");
    EXPECT_NE(g.moonLine.find(L"29日20:35 朔●"), std::wstring::npos) << std::string(g.moonLine.begin(), g.moonLine.end());
}

TEST(MonthGridCache, RepaintsAndMonthChangesBuildNoLunarYear)
{
    LunarYearCache cache;
    const MonthGrid first = BuildMonthGrid(cache, 2025, 1, 1);   // 2025 and 2024
    EXPECT_EQ(cache.BuildCount(), 2);
    for (int month = 1; month <= 11; ++month) {
        BuildMonthGrid(cache, 2025, month, 1);
    }
    EXPECT_EQ(cache.BuildCount(), 2);
    BuildMonthGrid(cache, 2025, 12, 1);   // needs 2026 once
    BuildMonthGrid(cache, 2025, 12, 1);
    EXPECT_EQ(cache.BuildCount(), 3);
    // Same results as from a fresh cache.
    LunarYearCache fresh;
    const MonthGrid again = BuildMonthGrid(cache, 2025, 1, 1);
    const MonthGrid other = BuildMonthGrid(fresh, 2025, 1, 1);
    for (size_t i = 0; i < again.cells.size(); ++i) {
        EXPECT_EQ(again.cells[i].label, other.cells[i].label);
        EXPECT_EQ(again.cells[i].labelColour, other.cells[i].labelColour);
        EXPECT_EQ(again.cells[i].label, first.cells[i].label);
    }
    EXPECT_EQ(cache.Get(1900), nullptr);
    EXPECT_EQ(cache.Get(2101), nullptr);
}

TEST(MonthGridGeometry, FixedBoxes)
{
    const GridBox band = HeaderBand(418);
    EXPECT_EQ(band.left, 1);
    EXPECT_EQ(band.top, 1);
    EXPECT_EQ(band.right, 417);
    EXPECT_EQ(band.bottom, 41);
    EXPECT_EQ(WeekdayCaptionBox(0).left, 11);
    EXPECT_EQ(WeekdayCaptionBox(0).right, 68);
    EXPECT_EQ(WeekdayCaptionBox(6).left, 11 + 6 * 57);
    const GridBox cell = CellBox(2, 3);
    EXPECT_EQ(cell.left, 12 + 114);
    EXPECT_EQ(cell.top, 46 + 120);
    const GridBox label = LabelBox(cell);
    EXPECT_EQ(label.left - cell.left, 28);
    EXPECT_EQ(label.right - cell.left, 44);
    EXPECT_EQ(label.top - cell.top, 2);
    EXPECT_EQ(label.bottom - cell.top, 32);
    const GridBox sel = SelectionBox(cell);
    EXPECT_EQ(sel.left - cell.left, -3);
    EXPECT_EQ(sel.top - cell.top, -3);
    EXPECT_EQ(sel.right - cell.left, 48);
    EXPECT_EQ(sel.bottom - cell.top, 35);
    EXPECT_EQ(TermLineBox(418, 326).top, 284);
    EXPECT_EQ(TermLineBox(418, 326).left, 5);
    EXPECT_EQ(MoonLineBox(418, 326).top, 304);
}

TEST(MonthGridHitTest, CellsOfTheMonthOnly)
{
    // January 2025: first weekday 3, 31 days.
    EXPECT_EQ(DayAtPoint(12 + 3 * 57 + 5, 46 + 5, 3, 31), 1);
    EXPECT_EQ(DayAtPoint(12 + 2 * 57 + 5, 46 + 5, 3, 31), std::nullopt);   // 31 December
    EXPECT_EQ(DayAtPoint(12 + 5, 46 + 40 * 5 + 5, 3, 31), std::nullopt);    // row 5: February
    EXPECT_EQ(DayAtPoint(12 + 5 * 57 + 5, 46 + 40 * 4 + 5, 3, 31), 31);
    EXPECT_EQ(DayAtPoint(12 + 6 * 57 + 5, 46 + 40 * 4 + 5, 3, 31), std::nullopt);   // 1 February
    EXPECT_EQ(DayAtPoint(30, 20, 3, 31), std::nullopt);    // header
    EXPECT_EQ(DayAtPoint(5, 100, 3, 31), std::nullopt);    // left margin
    EXPECT_EQ(DayAtPoint(-3, -3, 3, 31), std::nullopt);
    // Right of the Saturday column is margin, not the next row's Sunday.
    EXPECT_EQ(DayAtPoint(12 + 7 * 57 + 1, 46 + 40 + 5, 3, 31), std::nullopt);
    EXPECT_EQ(DayAtPoint(12 + 5, 46 + 40 * 6 + 5, 6, 31), std::nullopt);    // below the grid
}

TEST(MonthGridHitTest, SundayStartIsOneRowLower)
{
    // February 2026 starts on Sunday: row 0 holds January.
    EXPECT_EQ(DayAtPoint(12 + 5, 46 + 5, 0, 28), std::nullopt);
    EXPECT_EQ(DayAtPoint(12 + 5, 46 + 40 + 5, 0, 28), 1);
    EXPECT_EQ(DayAtPoint(12 + 6 * 57 + 5, 46 + 40 * 4 + 5, 0, 28), 28);
    EXPECT_EQ(DayAtPoint(12 + 5, 46 + 40 * 5 + 5, 0, 28), std::nullopt);
}

TEST(MonthGridGeometry, EveryBoxScalesWithTheDisplay)
{
    // 150 % and 200 %: every edge of the 96-DPI layout, rounded to the pixel.
    EXPECT_EQ(Box(CellBox(0, 0, 144)), Box(GridBox{18, 69, 104, 129}));
    EXPECT_EQ(Box(CellBox(6, 5, 192)), Box(GridBox{2 * (12 + 6 * 57), 2 * (46 + 200), 2 * (12 + 7 * 57), 2 * (46 + 240)}));
    EXPECT_EQ(Box(HeaderBand(600, 192)), Box(GridBox{2, 2, 598, 82}));
    EXPECT_EQ(Box(WeekdayCaptionBox(1, 144)), Box(GridBox{102, 2, 188, 62}));
    const GridBox cell = CellBox(2, 3, 192);
    EXPECT_EQ(Box(SelectionBox(cell, 192)), Box(GridBox{cell.left - 6, cell.top - 6, cell.left + 96, cell.top + 70}));
    EXPECT_EQ(Box(LabelBox(cell, 192)), Box(GridBox{cell.left + 56, cell.top + 4, cell.left + 88, cell.top + 64}));
    EXPECT_EQ(Box(DayNumberBox(cell, 192)), Box(GridBox{cell.left, cell.top + 4, cell.left + 56, cell.top + 64}));
    EXPECT_EQ(Box(TermLineBox(600, 700, 144)), Box(GridBox{8, 426, 592, 700}));
    EXPECT_EQ(Box(MoonLineBox(600, 700, 144)), Box(GridBox{8, 456, 592, 700}));
    EXPECT_EQ(NumberFontHeight(), 26);
    EXPECT_EQ(LabelFontHeight(), -14);
    EXPECT_EQ(LineFontHeight(), -17);
    EXPECT_EQ(NumberFontHeight(144), 39);
    EXPECT_EQ(LabelFontHeight(192), -28);
    EXPECT_EQ(LineFontHeight(144), -26);
}

TEST(MonthGridHitTest, ScaledCellsAnswerForTheirOwnDays)
{
    // January 2025 starts on a Wednesday (column 3).
    for (int dpi : {96, 120, 144, 192, 240}) {
        for (int day = 1; day <= 31; ++day) {
            const int index = 3 + day - 1;
            const GridBox cell = CellBox(index % 7, index / 7, dpi);
            EXPECT_EQ(DayAtPoint((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2, 3, 31, dpi), day)
                << dpi << " DPI, day " << day;
        }
        EXPECT_EQ(DayAtPoint(5, 5, 3, 31, dpi), std::nullopt);
    }
}

TEST(GridDateSetDate, RefusesOutOfRangeAndKeepsTheDate)
{
    GridDate d(2025, 5, 10);
    EXPECT_FALSE(d.SetDate(1900, 12, 1));
    EXPECT_FALSE(d.SetDate(2101, 1, 1));
    EXPECT_FALSE(d.SetDate(2025, 0, 1));
    EXPECT_FALSE(d.SetDate(2025, 13, 1));
    EXPECT_FALSE(d.SetDate(2025, 6, 0));
    EXPECT_EQ(d.Year(), 2025);
    EXPECT_EQ(d.Month(), 5);
    EXPECT_EQ(d.Day(), 10);
    EXPECT_TRUE(d.SetDate(1901, 1, 1));
    EXPECT_TRUE(d.SetDate(2100, 12, 31));
}

TEST(GridDateSetDate, RemembersTheDayAcrossShortMonths)
{
    GridDate d(2024, 1, 31);
    ASSERT_TRUE(d.SetDate(2024, 2, 31));
    EXPECT_EQ(d.Day(), 29);
    EXPECT_EQ(d.Remembered(), 31);
    ASSERT_TRUE(d.SetDate(2024, 3, d.Day()));
    EXPECT_EQ(d.Day(), 31);
    ASSERT_TRUE(d.SetDate(2024, 4, d.Day()));
    EXPECT_EQ(d.Day(), 30);
    ASSERT_TRUE(d.SetDate(2025, 2, d.Day()));
    EXPECT_EQ(d.Day(), 28);
    d.SelectDay(14);
    EXPECT_EQ(d.Remembered(), 0);
    ASSERT_TRUE(d.SetDate(2025, 3, d.Day()));
    EXPECT_EQ(d.Day(), 14);
}
