#pragma once

// Plain-text forms of the calendar for the command-line tool and its checks:
// tab-separated day records, instants as "YYYY-MM-DD HH:MM:SS", and UTF-8.

#include <string>
#include <string_view>

#include "calendar/lunar_records.h"

namespace cal {

// One day of ly.year, tab-separated: the date "YYYY-MM-DD", the lunar month
// number 1..12, the leap flag 0/1, the lunar day 1..30, the solar-term number
// 0..23 or -1, DayLabel, and FormatDayInfo for double-hour 0. No line end.
std::wstring FormatDayRecord(const LunarYear& ly, int month, int day);

// "YYYY-MM-DD" of a Gregorian date.
std::wstring FormatDate(int year, int month, int day);

// "YYYY-MM-DD HH:MM:SS" of a Julian day, truncated to the second.
std::wstring FormatInstant(double jd);

// UTF-8 bytes of a wide string (UTF-16 where wchar_t has 16 bits, UTF-32
// otherwise). Unpaired surrogates and invalid code points become U+FFFD.
std::string ToUtf8(std::wstring_view text);

}  // namespace cal
