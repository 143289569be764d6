#include "calendar/four_pillars.h"

#include <cmath>

#include "calendar/lunar_year.h"
#include "calendar/time_scales.h"

namespace cal {

namespace {

// Reduces a count into 0..59.
int Sexagenary(long long n)
{
    int r = static_cast<int>(n % 60);
    return r < 0 ? r + 60 : r;
}

unsigned short Pack(int n)
{
    const int stem = n % 10 + 1;
    const int branch = n % 12 + 1;
    return static_cast<unsigned short>((stem << 8) | branch);
}

StemBranch FromCycle(int n)
{
    return StemBranch{n % 10, n % 12};
}

int ClampHourIndex(int hourIndex)
{
    return hourIndex < 0 || hourIndex > 12 ? 0 : hourIndex;
}

// Day number at 12:00 of 1949-10-01, a 甲子 day.
int JiaziDayNumber()
{
    return DayNumber(JulianDay(1949, 10, 1, 12, 0, 0.0));
}

int DayCycle(int year, int month, int day)
{
    return Sexagenary(static_cast<long long>(DayNumber(JulianDay(year, month, day, 12, 0, 0.0))) -
                      JiaziDayNumber());
}

int HourCycle(int year, int month, int day, int hourIndex)
{
    // 2019-10-14 00:00 begins a 甲子 double-hour.
    const long long base = static_cast<long long>(std::trunc(24.0 * JulianDay(2019, 10, 14, 0, 0, 0.0) + 0.5));
    const double j = hourIndex < 12 ? JulianDay(year, month, day, 2 * hourIndex, 0, 0.0)
                                    : JulianDay(year, month, day + 1, 0, 0, 0.0);
    const long long t = static_cast<long long>(std::trunc(24.0 * j + 0.5));
    return Sexagenary((t - base) / 2);
}

}  // namespace

StemBranch YearStemBranch(int year)
{
    int stem = (year - 1994) % 10;
    int branch = (year - 1996) % 12;
    return StemBranch{stem < 0 ? stem + 10 : stem, branch < 0 ? branch + 12 : branch};
}

unsigned short DayStemBranch(int year, int month, int day)
{
    return Pack(DayCycle(year, month, day));
}

unsigned short HourStemBranch(int year, int month, int day, int hourIndex)
{
    return Pack(HourCycle(year, month, day, ClampHourIndex(hourIndex)));
}

StemBranch UnpackStemBranch(unsigned short packed)
{
    return StemBranch{(packed >> 8) - 1, (packed & 0xFF) - 1};
}

FourPillars ComputeFourPillars(const LunarYear& ly, int month, int day, int hourIndex)
{
    hourIndex = ClampHourIndex(hourIndex);
    const int selected = DayNumber(JulianDay(ly.year, month, day, 12, 0, 0.0));

    // Year: changes at the start of spring.
    int pillarYear = ly.year;
    if (const std::optional<MonthDay> spring = SpringStartDate(ly)) {
        if (selected < DayNumber(JulianDay(ly.year, spring->month, spring->day, 12, 0, 0.0))) {
            pillarYear = ly.year - 1;
        }
    }
    FourPillars p;
    p.year = YearStemBranch(pillarYear);

    // Month: changes at the minor terms terms[1], terms[3], ... (小寒 begins 丑).
    int offset = 0;  // branch of the month, 0 = 子
    if (ly.valid) {
        for (int j = 1; j < static_cast<int>(ly.terms.size()); j += 2) {
            if (DayNumber(ly.terms[j]) > selected) {
                offset = j / 2;
                break;
            }
        }
    }
    const int firstMonthStem = ((p.year.stem % 5) * 2 + 2) % 10;  // stem of the 寅 month
    const int monthsSinceFirst = offset < 2 ? offset + 10 : offset - 2;
    p.month = StemBranch{(firstMonthStem + monthsSinceFirst) % 10, offset};

    // Day and double-hour.
    p.day = FromCycle(hourIndex == 12 ? DayCycle(ly.year, month, day + 1) : DayCycle(ly.year, month, day));
    p.hour = FromCycle(HourCycle(ly.year, month, day, hourIndex));
    return p;
}

}  // namespace cal
