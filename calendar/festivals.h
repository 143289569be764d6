#pragma once

// Special days of the calendar: fixed Gregorian and lunar festivals, and the
// seasonal days counted from solar terms and sexagenary day names: the nine
// nine-day periods after the winter solstice (数九), the starts of the dog
// days (三伏) and the plum rains (入梅, 出梅). Dates are days of ly.year; the
// functions accept any month and day and simply find nothing for dates that
// do not exist or belong to no such day.

#include <optional>
#include <string>
#include <string_view>

#include "calendar/lunar_records.h"

namespace cal {

// Whether Gregorian festivals are shown in a month: from October 1949 on.
bool ShowsGregorianFestivals(int year, int month);

// The Gregorian festival on a month/day, if any; its name goes to *name when
// name is not null. The year rule (ShowsGregorianFestivals) is the caller's.
bool GregorianFestival(int month, int day, std::wstring_view* name = nullptr);

// The lunar festival on a lunar month number 1..12 and 1-based lunar day, if
// any. 除夕 is only the 30th of the 12th month.
bool LunarFestival(int lunarMonthNumber, int lunarDay, std::wstring_view* name = nullptr);

struct NinePeriodDay {
    int period;  // 1..9
    int day;     // 1..9
};

// The nine-day period after the winter solstice holding a day (asked for
// months 1..3 and 12): counted from terms[0] before July, from terms[24]
// after. Nothing outside the 81 days or for an invalid year.
std::optional<NinePeriodDay> NinePeriod(const LunarYear& ly, int month, int day);

// 1 when the day starts 初伏 (the third 庚 day from the summer solstice), 2
// for 中伏 (the fourth), 3 for 末伏 (the first 庚 day from the start of
// autumn), else 0. Asked for months 6..9.
int DogDayStart(const LunarYear& ly, int month, int day);

// 1 for 入梅 (the first 丙 day from 芒种), 2 for 出梅 (the first 未 day from
// 小暑), else 0. Asked for months 6 and 7.
int PlumRain(const LunarYear& ly, int month, int day);

// Names of DogDayStart and PlumRain results: "初伏" "中伏" "末伏", "入梅"
// "出梅"; an empty string for 0 or anything else.
const wchar_t* DogDayName(int dogDay);
const wchar_t* PlumRainName(int plumRain);

// The short label of a calendar cell: festival, solar term, seasonal day, or
// the lunar day name (the month name on the first day of a lunar month). A
// month outside 1..12 or a day outside the month is taken as 1.
std::wstring DayLabel(const LunarYear& ly, int month, int day);

}  // namespace cal
