#pragma once

// The name tables of the Chinese calendar and the text lines the calendar
// shows: the information line of one day (also the tray tip), and a month's
// new and full moons and solar terms. All text is UTF-16 on Windows (wchar_t).

#include <string>

#include "calendar/four_pillars.h"
#include "calendar/lunar_records.h"

namespace cal {

extern const wchar_t* const kLunarDayNames[30];    // 初一 .. 三十
extern const wchar_t* const kSolarTermNames[24];   // by solar-term number, 0 = 春分
extern const wchar_t* const kMonthNames[12];       // 正 .. 十, 冬, 腊
extern const wchar_t* const kHeavenlyStems[10];    // 甲 .. 癸
extern const wchar_t* const kEarthlyBranches[12];  // 子 .. 亥
extern const wchar_t* const kFiveElements[5];      // 木 火 土 金 水, one per pair of stems
extern const wchar_t* const kZodiacAnimals[12];    // 鼠 .. 猪, one per branch
extern const wchar_t* const kCountingDigits[9];    // 一 .. 九
extern const wchar_t* const kMoonPhaseMarks[5];    // 朔● 望○ 朔● 望○ 朔●

// Checked look-ups into the tables: an empty string for an index out of range.
const wchar_t* LunarDayName(int lunarDay);    // 0-based lunar day
const wchar_t* SolarTermName(int termIndex);  // 0..23
const wchar_t* MonthName(int number);         // month number 1..12

// The day's information line, e.g.
// "农历乙巳(木蛇)年正月（大）初一，春节，五九第4天，甲辰 丁丑 戊戌 壬子": lunar year, lunar
// month and day, festivals and seasonal days, and the four pillars at the
// double-hour 0..12 (others are treated as 0). A month outside 1..12 or a day
// outside the month is taken as 1.
std::wstring FormatDayInfo(const LunarYear& ly, int month, int day, int hourIndex);

// The four pillars alone, as at the end of FormatDayInfo: "乙巳 戊寅 戊戌 壬子".
std::wstring FormatFourPillars(const FourPillars& pillars);

// The new and full moons of a Gregorian month, to the nearest minute, e.g.
// "11日19:57 朔●　26日01:54 望○": empty when no lunar month begins in the
// month. Anchored on the month's first new-moon day: the full moon of the
// lunar month before it, then that month's new moon, full moon and end.
std::wstring FormatMoonPhases(const SolarMonth& sm, const LunarYear& ly);

// The month's two solar terms, truncated to the minute:
// "06日04:49 小寒　20日22:07 大寒". A term the month lacks is left out.
std::wstring FormatSolarTerms(const SolarMonth& sm);

}  // namespace cal
