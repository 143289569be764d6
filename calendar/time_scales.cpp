#include "calendar/time_scales.h"

#include <cmath>

namespace cal {

namespace {

// Converts a double that is integral already (or nearly so) to int without
// undefined behaviour for NaN or values beyond the int range.
int ToIntSaturated(double x)
{
    if (!(x == x)) {
        return 0;
    }
    if (x >= 2147483647.0) {
        return 2147483647;
    }
    if (x <= -2147483648.0) {
        return -2147483647 - 1;
    }
    return static_cast<int>(x);
}

constexpr int kMonthLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool IsGregorianLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Delta T polynomial segments before 2005: start year, c0..c3 in seconds.
// A segment runs to the start year of the next row; the last row only closes
// the segment before it.
struct DeltaTSegment {
    int startYear;
    double c0;
    double c1;
    double c2;
    double c3;
};

constexpr DeltaTSegment kDeltaTTable[] = {
    {-4000, 108371.7, -13036.8, 392.0, 0.0},
    {-500, 17201.0, -627.82, 16.17, -0.3413},
    {-150, 12200.6, -346.41, 5.403, -0.1593},
    {150, 9113.8, -328.13, -1.647, 0.0377},
    {500, 5707.5, -391.41, 0.915, 0.3145},
    {900, 2203.4, -283.45, 13.034, -0.1778},
    {1300, 490.1, -57.35, 2.085, -0.0072},
    {1600, 120.0, -9.81, -1.532, 0.1403},
    {1700, 10.2, -0.91, 0.51, -0.037},
    {1800, 13.4, -0.72, 0.202, -0.0193},
    {1830, 7.8, -1.81, 0.416, -0.0247},
    {1860, 8.3, -0.13, -0.406, 0.0292},
    {1880, -5.4, 0.32, -0.183, 0.0173},
    {1900, -2.3, 2.06, 0.169, -0.0135},
    {1920, 21.2, 1.69, -0.304, 0.0167},
    {1940, 24.2, 1.22, -0.064, 0.0031},
    {1960, 33.2, 0.51, 0.231, -0.0109},
    {1980, 51.0, 1.29, -0.026, 0.0032},
    {2000, 63.87, 0.1, 0.0, 0.0},
    {2005, 0.0, 0.0, 0.0, 0.0},  // end of table
};
constexpr int kDeltaTRows = sizeof(kDeltaTTable) / sizeof(kDeltaTTable[0]);

constexpr double kSecondsPerDay = 86400.0;

}  // namespace

double JulianDay(int year, int month, int day, int hour, int minute, double second)
{
    if (month <= 2) {
        month += 12;
        year -= 1;
    }
    const bool julianCalendar = year < 1582 || (year == 1582 && month < 10) ||
                                (year == 1582 && month == 10 && day < 15);
    const int b = julianCalendar ? -2 : year / 400 - year / 100;
    return std::trunc(365.25 * year) + std::trunc(30.6001 * (month + 1)) + b + day + 1720996.5 +
           hour / 24.0 + minute / 1440.0 + second / 86400.0;
}

DateTime CalendarDate(double jd)
{
    // Meeus, Astronomical Algorithms, ch. 7, carried out in doubles so that no
    // intermediate can overflow an int.
    const double z = std::trunc(jd + 0.5);
    const double f = (jd + 0.5) - z;
    double a = z;
    if (z >= 2299161.0) {
        const double alpha = std::trunc((z - 1867216.25) / 36524.25);
        a = z + 1.0 + alpha - std::trunc(alpha / 4.0);
    }
    const double b = a + 1524.0;
    const double c = std::trunc((b - 122.1) / 365.25);
    const double d = std::trunc(365.25 * c);
    const double e = std::trunc((b - d) / 30.6001);

    DateTime t{};
    t.day = ToIntSaturated(b - d - std::trunc(30.6001 * e));
    t.month = ToIntSaturated(e - 1.0 <= 12.0 ? e - 1.0 : e - 13.0);
    t.year = ToIntSaturated(t.month > 2 ? c - 4716.0 : c - 4715.0);
    if (t.year <= 0) {
        t.year -= 1;  // there is no year 0
    }
    const double hours = 24.0 * f;
    t.hour = ToIntSaturated(std::trunc(hours));
    const double minutes = 60.0 * (hours - t.hour);
    t.minute = ToIntSaturated(std::trunc(minutes));
    t.second = 60.0 * (minutes - t.minute);
    return t;
}

int DayNumber(double jd)
{
    return ToIntSaturated(std::trunc(jd + 0.5));
}

int DayOfWeek(int year, int month, int day)
{
    const int a = month < 3 ? year - 1 : year;
    const int m = month < 3 ? month + 12 : month;
    int w = (day + (13 * m + 13) / 5 + a % 100 + (a % 100) / 4 + a / 400 - 2 * (a / 100) - 1) % 7;
    if (w < 0) {
        w += 7;
    }
    return w;
}

int DaysInMonth(int year, int month)
{
    if (month < 1 || month > 12) {
        return 0;
    }
    if (month == 2 && IsGregorianLeapYear(year)) {
        return 29;
    }
    return kMonthLength[month - 1];
}

double DeltaT(double daysFromJ2000)
{
    const double y = daysFromJ2000 / 365.2425 + 2000.0;
    double seconds;
    if (y < 2005.0) {
        int row = 0;
        while (row < kDeltaTRows - 2 && !(kDeltaTTable[row + 1].startYear > y)) {
            ++row;
        }
        const DeltaTSegment& s = kDeltaTTable[row];
        const double y0 = s.startYear;
        const double y1 = kDeltaTTable[row + 1].startYear;
        const double u = 10.0 * (y - y0) / (y1 - y0);
        seconds = s.c0 + s.c1 * u + s.c2 * u * u + s.c3 * u * u * u;
    } else if (y <= 2014.0) {
        seconds = 64.7 + 0.4 * (y - 2005.0);
    } else {
        const double u = (y - 1820.0) / 100.0;
        seconds = 31.0 * u * u - 20.0;
        if (y < 2114.0) {
            // Blend: 28.3716 s is the gap at 2014 between the parabola
            // (96.6716 s) and the end of the line (68.3 s).
            seconds -= 28.3716 * (2114.0 - y) / 100.0;
        }
    }
    return seconds / kSecondsPerDay;
}

double ToBeijingTime(double jdTD)
{
    return jdTD - DeltaT(jdTD - kJ2000) + kBeijingOffsetDays;
}

double ToDynamicalTime(double jdBeijing)
{
    const double ut = jdBeijing - kBeijingOffsetDays;
    return ut + DeltaT(ut - kJ2000);
}

double NormalizeDegrees(double degrees)
{
    if (!std::isfinite(degrees)) {
        return degrees;
    }
    // fmod is exact, and so is each step of adding or subtracting 360 until
    // the angle lies in range, so this equals the plain loop bit for bit;
    // the only difference to undo is that the loop leaves 360 (and positive
    // multiples of it) at 360 where fmod gives 0.
    double r = std::fmod(degrees, 360.0);
    if (r < 0.0) {
        r += 360.0;
    } else if (r == 0.0 && degrees > 360.0) {
        r = 360.0;
    } else if (degrees <= 360.0 && degrees >= 0.0) {
        r = degrees;  // already in range, including 360 itself
    }
    return r + 0.0;  // no negative zero
}

double DegToRad(double degrees)
{
    return degrees * 3.141592653589793 / 180.0;
}

}  // namespace cal
