#pragma once

// The data records of one Gregorian year of the Chinese lunar calendar. They
// are filled by BuildLunarYear (calendar/lunar_year.h); all instants in them
// are Julian days in Beijing time (UTC+8).

#include <array>

#include "calendar/time_scales.h"

namespace cal {

// First and last Gregorian year the calendar handles.
inline constexpr int kFirstCalendarYear = 1901;
inline constexpr int kLastCalendarYear = 2100;

// One Gregorian day.
struct CalendarDay {
    int day = 0;          // 1..31
    int weekday = 0;      // 0 = Sunday .. 6
    int lunarDay = 0;     // 0-based day of the lunar month (0 = 初一, 29 = 三十)
    int lunarMonth = 0;   // index into LunarYear::lunarMonths
    int termIndex = -1;   // solar term on this day, 0..23 (0 = 春分), or -1
};

// One Gregorian month.
struct SolarMonth {
    int month = 0;         // 1..12
    int days = 0;          // 28..31
    int firstWeekday = 0;  // weekday of day 1, 0 = Sunday
    double term1 = 0.0;    // solar term falling on days 1..15 (Beijing Julian day)
    int term1Index = -1;   // its number 0..23, -1 when the month has none
    double term2 = 0.0;    // solar term falling on days 15..last
    int term2Index = -1;
    std::array<CalendarDay, 31> dayList{};  // the first `days` entries are used
};

// One lunar month, between two consecutive new moons.
struct LunarMonth {
    int index = 0;       // position 0..13 in LunarYear::lunarMonths
    int number = 0;      // 1..12 (1 = 正月, 11 = 冬月, 12 = 腊月)
    int days = 0;        // 29 or 30
    double start = 0.0;  // new moon that begins the month (Beijing Julian day)
    double end = 0.0;    // the next new moon
    int leap = 0;        // 1 for a leap month
};

// The calendar data of one Gregorian year.
struct LunarYear {
    bool valid = false;  // set at the end of a successful build
    int year = -1;       // Gregorian year, -1 when empty
    // Consecutive solar terms from the winter solstice of year - 1 (entry 0)
    // to the winter solstice of year (entry 24); entry i has the solar
    // longitude ((i + 18) mod 24) * 15 degrees.
    std::array<double, 25> terms{};
    // Consecutive new moons; entry 0 is the last one whose date is not after
    // the date of terms[0].
    std::array<double, 15> newMoons{};
    std::array<SolarMonth, 12> months{};       // January first
    std::array<LunarMonth, 14> lunarMonths{};  // from the month of terms[0] on
};

}  // namespace cal
