#include "calendar/calendar_navigation.h"

#include <cstdio>

#include "calendar/lunar_records.h"

namespace cal {

YearMonth AfterYearSpin(int pos, YearMonth lists)
{
    if (pos >= kFirstCalendarYear && pos <= kLastCalendarYear) {
        lists.year = pos;
    }
    return lists;
}

YearMonth AfterMonthSpin(int pos, YearMonth lists)
{
    if (pos >= 1 && pos <= 12) {
        lists.month = pos;
    } else if (pos == 0) {
        if (lists.year > kFirstCalendarYear) {
            lists.year -= 1;
            lists.month = 12;
        }
    } else if (pos == 13) {
        if (lists.year < kLastCalendarYear) {
            lists.year += 1;
            lists.month = 1;
        }
    }
    return lists;
}

int DoubleHourIndex(int secondsOfDay)
{
    constexpr int kDay = 86400;
    secondsOfDay %= kDay;
    if (secondsOfDay < 0) {
        secondsOfDay += kDay;
    }
    // The first double-hour (子时) straddles midnight: its first hour is
    // entry 0, its last hour (23:00) entry 12.
    if (secondsOfDay < 3600) {
        return 0;
    }
    return (secondsOfDay - 3600) / 7200 + 1;
}

std::wstring MoonLine(double phase, double illuminated)
{
    const wchar_t* arrow = L"";
    if (100.0 * phase < 49.99) {
        arrow = L"↑";
    } else if (100.0 * phase > 50.01) {
        arrow = L"↓";
    }
    wchar_t buf[64];
    std::swprintf(buf, 64, L"凌晨零时月面可见%.1f%%%ls", 100.0 * illuminated + 0.05, arrow);
    return buf;
}

}  // namespace cal
