#include "calendar/month_grid.h"

#include <cstdio>

#include "calendar/time_scales.h"
#include "framework/dpi_scale.h"

namespace cal {

const wchar_t* const kWeekdayCaptions[7] = {L"日", L"一", L"二", L"三", L"四", L"五", L"六"};

namespace {

constexpr int kHeaderTop = 1;
constexpr int kHeaderBottom = 41;
constexpr int kCaptionLeft = 11;
constexpr int kTermLineTop = 284;
constexpr int kTextLineLeft = 5;
constexpr int kMoonLineGap = 20;
// Hit testing measures from a little above and left of the first cell, so
// that the selection box's margin counts as part of its cell.
constexpr int kHitLeft = 10;
constexpr int kHitTop = 40;

int S(int length96, int dpi)
{
    return dpiscale::Scale(length96, dpi);
}

std::wstring TwoDigitNumber(int day)
{
    wchar_t buf[8];
    std::swprintf(buf, 8, L"%2d", day);
    return buf;
}

// Day labels show their first two characters only.
std::wstring ShortLabel(const LunarYear* ly, int month, int day)
{
    if (!ly) {
        return {};
    }
    std::wstring label = DayLabel(*ly, month, day);
    if (label.size() > 2) {
        label.resize(2);
    }
    return label;
}

GridColour WeekdayColour(int column)
{
    if (column == 0) {
        return grid_colour::kSunday;
    }
    if (column == 6) {
        return grid_colour::kSaturday;
    }
    return grid_colour::kText;
}

}  // namespace

GridBox HeaderBand(int clientWidth, int dpi)
{
    return {S(1, dpi), S(kHeaderTop, dpi), clientWidth - S(1, dpi), S(kHeaderBottom, dpi)};
}

GridBox WeekdayCaptionBox(int column, int dpi)
{
    const int left = kCaptionLeft + kCellWidth * column;
    return {S(left, dpi), S(kHeaderTop, dpi), S(left + kCellWidth, dpi), S(kHeaderBottom, dpi)};
}

GridBox CellBox(int column, int row, int dpi)
{
    const int x = kGridLeft + kCellWidth * column;
    const int y = kGridTop + kCellHeight * row;
    return {S(x, dpi), S(y, dpi), S(x + kCellWidth, dpi), S(y + kCellHeight, dpi)};
}

GridBox DayNumberBox(const GridBox& cell, int dpi)
{
    return {cell.left, cell.top + S(2, dpi), cell.left + S(28, dpi), cell.top + S(32, dpi)};
}

GridBox LabelBox(const GridBox& cell, int dpi)
{
    return {cell.left + S(28, dpi), cell.top + S(2, dpi), cell.left + S(44, dpi), cell.top + S(32, dpi)};
}

GridBox SelectionBox(const GridBox& cell, int dpi)
{
    return {cell.left - S(3, dpi), cell.top - S(3, dpi), cell.left + S(48, dpi), cell.top + S(35, dpi)};
}

GridBox TermLineBox(int clientWidth, int clientHeight, int dpi)
{
    return {S(kTextLineLeft, dpi), S(kTermLineTop, dpi), clientWidth - S(kTextLineLeft, dpi), clientHeight};
}

GridBox MoonLineBox(int clientWidth, int clientHeight, int dpi)
{
    return {S(kTextLineLeft, dpi), S(kTermLineTop + kMoonLineGap, dpi), clientWidth - S(kTextLineLeft, dpi),
            clientHeight};
}

int NumberFontHeight(int dpi)
{
    return dpiscale::ScaleFontHeight(26, dpi);
}

int LabelFontHeight(int dpi)
{
    return dpiscale::ScaleFontHeight(-14, dpi);
}

int LineFontHeight(int dpi)
{
    return dpiscale::ScaleFontHeight(-17, dpi);
}

std::optional<int> DayAtPoint(int x, int y, int firstWeekday, int daysInMonth, int dpi)
{
    // Hit testing works in the pixels of a 96-DPI screen.
    const int d = dpiscale::SaneDpi(dpi);
    x = x >= 0 ? x * kGridBaseDpi / d : -1;
    y = y >= 0 ? y * kGridBaseDpi / d : -1;
    if (x < kHitLeft || y < kHitTop) {
        return std::nullopt;
    }
    const int column = (x - kHitLeft) / kCellWidth;
    int row = (y - kHitTop) / kCellHeight;
    // A month that starts on a Sunday begins one row lower.
    if (firstWeekday == 0) {
        --row;
    }
    // Right of the Saturday column there is no cell, only the margin.
    if (row < 0 || column >= kGridColumns) {
        return std::nullopt;
    }
    const int day = column + kGridColumns * row - firstWeekday + 1;
    if (day < 1 || day > daysInMonth) {
        return std::nullopt;
    }
    return day;
}

bool IsSpecialLabel(const LunarYear& ly, int month, int day)
{
    // Every label that is not the plain lunar day (or month, on the first
    // day of a lunar month) names a special day.
    const SolarMonth& sm = GetSolarMonth(ly, month);
    if (day < 1 || day > sm.days) {
        day = 1;
    }
    const CalendarDay& cd = GetCalendarDay(sm, day);
    std::wstring plain;
    if (cd.lunarDay == 0) {
        const LunarMonth& lm = GetLunarMonth(ly, cd.lunarMonth);
        plain = lm.leap ? L"闰" : L"";
        plain += MonthName(lm.number);
        plain += L"月";
    } else {
        plain = LunarDayName(cd.lunarDay);
    }
    return DayLabel(ly, month, day) != plain;
}

const LunarYear* LunarYearCache::Get(int year)
{
    if (year < kFirstCalendarYear || year > kLastCalendarYear) {
        return nullptr;
    }
    auto it = m_years.find(year);
    if (it == m_years.end()) {
        auto ly = std::make_unique<LunarYear>();
        BuildLunarYear(*ly, year);
        ++m_builds;
        it = m_years.emplace(year, std::move(ly)).first;
    }
    return it->second.get();
}

MonthGrid BuildMonthGrid(LunarYearCache& cache, int year, int month, int day)
{
    MonthGrid grid;
    grid.year = year;
    grid.month = month;
    grid.day = day;
    const LunarYear* ly = cache.Get(year);
    grid.days = DaysInMonth(year, month);
    grid.firstWeekday = DayOfWeek(year, month, 1);
    if (ly) {
        const SolarMonth& sm = GetSolarMonth(*ly, month);
        grid.termLine = FormatSolarTerms(sm);
        grid.moonLine = FormatMoonPhases(sm, *ly);
    }

    const int prevYear = month == 1 ? year - 1 : year;
    const int prevMonth = month == 1 ? 12 : month - 1;
    const int nextYear = month == 12 ? year + 1 : year;
    const int nextMonth = month == 12 ? 1 : month + 1;
    const LunarYear* prevLy = prevYear == year ? ly : cache.Get(prevYear);
    const LunarYear* nextLy = nextYear == year ? ly : cache.Get(nextYear);
    const int prevDays = DaysInMonth(prevYear, prevMonth);
    // A month that starts on a Sunday shows the previous month's last week
    // in row 0.
    const int leading = grid.firstWeekday == 0 ? kGridColumns : grid.firstWeekday;

    for (int i = 0; i < kGridCells; ++i) {
        GridCell& cell = grid.cells[static_cast<size_t>(i)];
        cell.column = i % kGridColumns;
        cell.row = i / kGridColumns;
        if (i < leading) {
            cell.year = prevYear;
            cell.month = prevMonth;
            cell.day = prevDays - leading + 1 + i;
        } else if (i < leading + grid.days) {
            cell.year = year;
            cell.month = month;
            cell.day = i - leading + 1;
            cell.inMonth = true;
        } else {
            cell.year = nextYear;
            cell.month = nextMonth;
            cell.day = i - leading - grid.days + 1;
        }
        cell.number = TwoDigitNumber(cell.day);
        if (!cell.inMonth) {
            const LunarYear* cellLy = cell.year == prevYear && cell.month == prevMonth ? prevLy : nextLy;
            cell.label = ShortLabel(cellLy, cell.month, cell.day);
            cell.numberColour = grid_colour::kAdjacent;
            cell.labelColour = grid_colour::kAdjacent;
            continue;
        }
        cell.selected = cell.day == day;
        cell.label = ShortLabel(ly, month, cell.day);
        cell.numberColour = cell.selected ? grid_colour::kSelectionText : WeekdayColour(cell.column);
        GridColour label = ly && IsSpecialLabel(*ly, month, cell.day) ? grid_colour::kSpecialLabel
                                                                        : grid_colour::kText;
        // The selected day shows its label in the complementary colour.
        if (cell.selected) {
            label = ~label & 0x00FFFFFFu;
        }
        cell.labelColour = label;
    }
    return grid;
}

GridDate::GridDate(int year, int month, int day)
    : m_year(static_cast<std::uint16_t>(year)),
      m_month(static_cast<std::uint16_t>(month)),
      m_day(static_cast<std::uint16_t>(day))
{
}

bool GridDate::SetDate(int year, int month, int day)
{
    if (year < kFirstCalendarYear || year > kLastCalendarYear || month < 1 || month > 12 || day < 1) {
        return false;
    }
    const int days = DaysInMonth(year, month);
    if (day > days) {
        m_remembered = day;
        day = days;
    } else if (m_remembered != 0) {
        day = m_remembered < days ? m_remembered : days;
    }
    m_year = static_cast<std::uint16_t>(year);
    m_month = static_cast<std::uint16_t>(month);
    m_day = static_cast<std::uint16_t>(day);
    return true;
}

void GridDate::SelectDay(int day)
{
    m_remembered = 0;
    m_day = static_cast<std::uint16_t>(day);
}

}  // namespace cal
