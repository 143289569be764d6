#pragma once

// What the month grid of the perpetual calendar shows, worked out without any
// drawing: the 42 cells of a Gregorian month with their day numbers, colours
// and two-character lunar labels, the two text lines under the grid, the
// pixel geometry of the control and its hit test. The Win32 control only
// paints what this model says.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "calendar/lunar_year.h"

namespace cal {

// A colour as Windows keeps it (0x00BBGGRR), so the painter passes it on as is.
using GridColour = std::uint32_t;
constexpr GridColour GridRgb(int r, int g, int b)
{
    return static_cast<GridColour>(r) | (static_cast<GridColour>(g) << 8) |
           (static_cast<GridColour>(b) << 16);
}

namespace grid_colour {
inline constexpr GridColour kBackground = GridRgb(255, 255, 255);
inline constexpr GridColour kText = GridRgb(0, 0, 0);
inline constexpr GridColour kAdjacent = GridRgb(168, 168, 168);
inline constexpr GridColour kSelectionBack = GridRgb(150, 150, 230);
inline constexpr GridColour kSelectionText = GridRgb(255, 255, 255);
inline constexpr GridColour kHeaderBack = GridRgb(190, 70, 70);
inline constexpr GridColour kHeaderText = GridRgb(255, 255, 0);
inline constexpr GridColour kSunday = GridRgb(255, 0, 0);
inline constexpr GridColour kSaturday = GridRgb(0, 184, 0);
inline constexpr GridColour kSpecialLabel = GridRgb(255, 0, 255);
}  // namespace grid_colour

// ---- Geometry (pixels from the client area's top-left corner) ---------------
//
// The numbers below are pixels of a 96-DPI screen; every function takes the
// DPI of the control's monitor and gives the same place scaled to it
// (exactly these numbers at 96 DPI).

struct GridBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

inline constexpr int kGridColumns = 7;
inline constexpr int kGridRows = 6;
inline constexpr int kGridCells = kGridColumns * kGridRows;
inline constexpr int kCellWidth = 57;
inline constexpr int kCellHeight = 40;
inline constexpr int kGridLeft = 12;
inline constexpr int kGridTop = 46;

// The weekday captions, Sunday first.
extern const wchar_t* const kWeekdayCaptions[7];

inline constexpr int kGridBaseDpi = 96;

// The header band for a client area `clientWidth` pixels wide.
GridBox HeaderBand(int clientWidth, int dpi = kGridBaseDpi);
// The caption box of weekday column 0..6.
GridBox WeekdayCaptionBox(int column, int dpi = kGridBaseDpi);
// Top-left corner of the cell at column 0..6, row 0..5 (where its number goes
// two pixels lower).
GridBox CellBox(int column, int row, int dpi = kGridBaseDpi);
// Where the number, the label and the selection box of a cell (a CellBox of
// the same DPI) go.
GridBox DayNumberBox(const GridBox& cell, int dpi = kGridBaseDpi);
GridBox LabelBox(const GridBox& cell, int dpi = kGridBaseDpi);
GridBox SelectionBox(const GridBox& cell, int dpi = kGridBaseDpi);
// The solar-term line and, 20 pixels lower, the moon-phase line.
GridBox TermLineBox(int clientWidth, int clientHeight, int dpi = kGridBaseDpi);
GridBox MoonLineBox(int clientWidth, int clientHeight, int dpi = kGridBaseDpi);

// Font heights (LOGFONT units) of the day numbers and captions ("Arial"),
// the labels and the two text lines ("simsun") at a DPI.
int NumberFontHeight(int dpi = kGridBaseDpi);
int LabelFontHeight(int dpi = kGridBaseDpi);
int LineFontHeight(int dpi = kGridBaseDpi);

// The day of the displayed month under a client point, if any. Points in the
// header, left of the grid, right of Saturday, on adjacent-month cells or
// below the last day give nothing.
std::optional<int> DayAtPoint(int x, int y, int firstWeekday, int daysInMonth, int dpi = kGridBaseDpi);

// ---- Cell contents ---------------------------------------------------------

struct GridCell {
    int year = 0;
    int month = 0;
    int day = 0;
    bool inMonth = false;    // false: a day of the previous or next month
    bool selected = false;   // the current day of the displayed month
    int column = 0;
    int row = 0;
    std::wstring number;     // "%2d"
    std::wstring label;      // at most two characters, drawn one above the other
    GridColour numberColour = grid_colour::kText;
    GridColour labelColour = grid_colour::kText;
};

struct MonthGrid {
    int year = 0;
    int month = 0;
    int day = 0;
    int firstWeekday = 0;
    int days = 0;
    std::array<GridCell, kGridCells> cells{};
    std::wstring termLine;   // FormatSolarTerms of the month
    std::wstring moonLine;   // FormatMoonPhases of the month
};

// Whether a cell label names a festival, a solar term, the start of a
// nine-day period, a dog-day or a plum-rain day (as opposed to the plain
// lunar day or month name).
bool IsSpecialLabel(const LunarYear& ly, int month, int day);

// Keeps the LunarYear of every year a grid has needed so far, so that no
// repaint and no month change within known years builds one again. Years
// outside 1901..2100 give null.
class LunarYearCache {
public:
    const LunarYear* Get(int year);
    // How many years were built (for tests and benchmarks).
    int BuildCount() const { return m_builds; }

private:
    std::map<int, std::unique_ptr<LunarYear>> m_years;
    int m_builds = 0;
};

// The grid of a month with `day` as the current day. The year must be
// 1901..2100 and the month 1..12 (callers validate first); adjacent months
// outside that range are drawn without labels.
MonthGrid BuildMonthGrid(LunarYearCache& cache, int year, int month, int day);

// ---- The date a grid shows --------------------------------------------------

// The current date of the grid with its remembered day: moving from 31
// January to February shows the 28th or 29th, and moving on to March shows
// the 31st again.
class GridDate {
public:
    GridDate(int year, int month, int day);

    // False, and nothing changes, for a year outside 1901..2100, a month
    // outside 1..12 or day 0.
    bool SetDate(int year, int month, int day);
    // A click on a day of the displayed month: forgets the remembered day.
    void SelectDay(int day);
    void ForgetDay() { m_remembered = 0; }

    int Year() const { return m_year; }
    int Month() const { return m_month; }
    int Day() const { return m_day; }
    int Remembered() const { return m_remembered; }

private:
    std::uint16_t m_year;
    std::uint16_t m_month;
    std::uint16_t m_day;
    int m_remembered = 0;
};

}  // namespace cal
