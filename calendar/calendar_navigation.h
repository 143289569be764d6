#pragma once

// The rules of the perpetual calendar dialog that need no window: which
// year and month the lists show after a spin arrow was pressed, the
// double-hour of a time of day, and the moon line of the read-out.

#include <string>

namespace cal {

struct YearMonth {
    int year = 0;    // 1901..2100
    int month = 0;   // 1..12
    bool operator==(const YearMonth&) const = default;
};

// The lists' year and month after the year spin reached position `pos`:
// positions 1901..2100 choose that year, anything else leaves the lists.
YearMonth AfterYearSpin(int pos, YearMonth lists);

// The lists' year and month after the month spin reached position `pos`
// (range 0..13): 1..12 choose the month; 0 goes to December of the year
// before and 13 to January of the year after, except before 1901 and after
// 2100, where nothing changes.
YearMonth AfterMonthSpin(int pos, YearMonth lists);

// Index 0..12 of the double-hour (the list's "00:00～00:59" ..
// "23:00～23:59") holding a time given in seconds since midnight; values
// outside 0..86399 are brought into it.
int DoubleHourIndex(int secondsOfDay);

// The read-out's moon line for a phase fraction 0..1 (0 new, 0.5 full) and
// an illuminated fraction 0..1: "凌晨零时月面可见43.2%↑", the arrow up while
// the moon waxes, down while it wanes, none at the full moon itself.
std::wstring MoonLine(double phase, double illuminated);

}  // namespace cal
