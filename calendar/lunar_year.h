#pragma once

// The Chinese lunar calendar of one Gregorian year: solar terms, lunar months
// with their numbers, lengths and leap month, and for every day its lunar
// month and day and solar term. The lunar year begins at the Spring Festival
// and its months at new moons; all instants are Beijing time (UTC+8).
//
// This header is the calendar's front door: it also brings in the four
// pillars, the text lines and the festivals.

#include <optional>

#include "calendar/calendar_text.h"
#include "calendar/festivals.h"
#include "calendar/four_pillars.h"
#include "calendar/lunar_records.h"

namespace cal {

// Fills `ly` for Gregorian year `year` (1901..2100). Returns true when all
// twelve months were built; ly.valid is set to the same value. For any other
// year the object is left empty (valid false) and false is returned.
bool BuildLunarYear(LunarYear& ly, int year);

// The record of a Gregorian month 1..12; any other value yields January's.
const SolarMonth& GetSolarMonth(const LunarYear& ly, int month);

// The lunar month at an index 0..13; any other index yields lunarMonths[0].
const LunarMonth& GetLunarMonth(const LunarYear& ly, int index);

// The record of a day 1..days of a month; any other value yields day 1.
const CalendarDay& GetCalendarDay(const SolarMonth& sm, int day);

// The lunar month whose span holds the date of a Beijing Julian day (with the
// historical corrections applied to the month boundaries); lunarMonths[0]
// when none does.
const LunarMonth& FindLunarMonth(const LunarYear& ly, double jdBeijing);

struct MonthDay {
    int month;
    int day;
};

// Gregorian month and day of the start of spring (立春, terms[3]) of the
// year; nothing when the year is not valid.
std::optional<MonthDay> SpringStartDate(const LunarYear& ly);

// Number of the lunar year a day of ly.year belongs to: ly.year from the
// Spring Festival on, ly.year - 1 before it.
int LunarYearNumber(const LunarYear& ly, int month, int day);

}  // namespace cal
