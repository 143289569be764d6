// Julian days, calendar dates, weekdays, month lengths, Delta T and the
// Beijing-time conversions. Reference values: Meeus, Astronomical Algorithms,
// chapter 7 (examples 7.a, 7.b and the table of Julian days), and the Delta T
// values the model is defined by.

#include <gtest/gtest.h>

#include <cmath>

#include "calendar/time_scales.h"

namespace {

using cal::CalendarDate;
using cal::DateTime;
using cal::DayOfWeek;
using cal::DaysInMonth;
using cal::DeltaT;
using cal::JulianDay;
using cal::NormalizeDegrees;

// Days from J2000.0 of the middle of a fractional year as DeltaT sees it.
double DaysFromJ2000OfYear(double y)
{
    return (y - 2000.0) * 365.2425;
}

double DeltaTSecondsAt(double y)
{
    return DeltaT(DaysFromJ2000OfYear(y)) * 86400.0;
}

TEST(CalendarJulianDay, MeeusChapter7Examples)
{
    // Example 7.a: 1957 October 4.81 (Sputnik 1).
    EXPECT_NEAR(JulianDay(1957, 10, 4, 19, 26, 24.0), 2436116.31, 1e-8);
    // Example 7.b: 333 January 27.5, Julian calendar.
    EXPECT_DOUBLE_EQ(JulianDay(333, 1, 27, 12, 0, 0.0), 1842713.0);
    // From the table that follows the examples.
    EXPECT_DOUBLE_EQ(JulianDay(2000, 1, 1, 12, 0, 0.0), 2451545.0);
    EXPECT_DOUBLE_EQ(JulianDay(1987, 1, 27, 0, 0, 0.0), 2446822.5);
    EXPECT_DOUBLE_EQ(JulianDay(1987, 6, 19, 12, 0, 0.0), 2446966.0);
    EXPECT_DOUBLE_EQ(JulianDay(1988, 1, 27, 0, 0, 0.0), 2447187.5);
    EXPECT_DOUBLE_EQ(JulianDay(1988, 6, 19, 12, 0, 0.0), 2447332.0);
    EXPECT_DOUBLE_EQ(JulianDay(1900, 1, 1, 0, 0, 0.0), 2415020.5);
    EXPECT_DOUBLE_EQ(JulianDay(1600, 1, 1, 0, 0, 0.0), 2305447.5);
    EXPECT_DOUBLE_EQ(JulianDay(1600, 12, 31, 0, 0, 0.0), 2305812.5);
    EXPECT_NEAR(JulianDay(837, 4, 10, 7, 12, 0.0), 2026871.8, 1e-8);
}

TEST(CalendarJulianDay, GregorianReformEdges)
{
    EXPECT_DOUBLE_EQ(JulianDay(2000, 1, 1, 0, 0, 0.0), 2451544.5);
    EXPECT_DOUBLE_EQ(JulianDay(1582, 10, 15, 0, 0, 0.0), 2299160.5);
    EXPECT_DOUBLE_EQ(JulianDay(1582, 10, 4, 0, 0, 0.0), 2299159.5);
}

TEST(CalendarDate, InvertsJulianDay)
{
    const DateTime reform = CalendarDate(2299160.5);
    EXPECT_EQ(reform.year, 1582);
    EXPECT_EQ(reform.month, 10);
    EXPECT_EQ(reform.day, 15);
    EXPECT_EQ(reform.hour, 0);
    EXPECT_EQ(reform.minute, 0);
    const DateTime before = CalendarDate(2299159.5);
    EXPECT_EQ(before.year, 1582);
    EXPECT_EQ(before.month, 10);
    EXPECT_EQ(before.day, 4);

    // Example 7.c of Meeus: JD 2436116.31 is 1957 October 4.81.
    const DateTime sputnik = CalendarDate(2436116.31);
    EXPECT_EQ(sputnik.year, 1957);
    EXPECT_EQ(sputnik.month, 10);
    EXPECT_EQ(sputnik.day, 4);
    EXPECT_EQ(sputnik.hour, 19);
    EXPECT_EQ(sputnik.minute, 26);
    EXPECT_NEAR(sputnik.second, 24.0, 1e-3);

    // Every day of the calendar's range and a little around it.
    int checked = 0;
    for (int year = 1582; year <= 2200; year += (year < 1890 ? 17 : 1)) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysInMonth(year, month); ++day) {
                if (year == 1582 && (month < 10 || (month == 10 && day < 15))) {
                    continue;
                }
                const DateTime t = CalendarDate(JulianDay(year, month, day, 0, 0, 0.0));
                ASSERT_EQ(t.year, year);
                ASSERT_EQ(t.month, month);
                ASSERT_EQ(t.day, day);
                ASSERT_EQ(t.hour, 0);
                ASSERT_EQ(t.minute, 0);
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 100000);
}

TEST(CalendarDate, TruncatesTheTimeOfDay)
{
    const DateTime t = CalendarDate(JulianDay(2024, 2, 29, 23, 59, 59.9));
    EXPECT_EQ(t.day, 29);
    EXPECT_EQ(t.hour, 23);
    EXPECT_EQ(t.minute, 59);
    EXPECT_NEAR(t.second, 59.9, 1e-4);
}

TEST(CalendarDate, AstronomicalYearZeroIsReportedAsMinusOne)
{
    // JD 1721200 lies in astronomical year 0 (1 BC).
    EXPECT_EQ(CalendarDate(1721200.0).year, -1);
    EXPECT_EQ(CalendarDate(1721500.0).year, 1);
}

TEST(CalendarDate, SurvivesAbsurdInput)
{
    // No crash or undefined behaviour; the values do not matter.
    (void)CalendarDate(1e300);
    (void)CalendarDate(-1e300);
    (void)CalendarDate(std::nan(""));
    (void)CalendarDate(INFINITY);
    SUCCEED();
}

TEST(CalendarDayOfWeek, KnownDays)
{
    EXPECT_EQ(DayOfWeek(2000, 1, 1), 6);   // Saturday
    EXPECT_EQ(DayOfWeek(1949, 10, 1), 6);  // Saturday
    EXPECT_EQ(DayOfWeek(1901, 1, 1), 2);   // Tuesday
    EXPECT_EQ(DayOfWeek(2100, 12, 31), 5); // Friday
    EXPECT_EQ(DayOfWeek(2024, 2, 29), 4);  // Thursday
    EXPECT_EQ(DayOfWeek(1970, 1, 1), 4);   // Thursday
}

TEST(CalendarDayOfWeek, AdvancesByOneEveryDay)
{
    int expected = DayOfWeek(1901, 1, 1);
    for (int year = 1901; year <= 2100; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysInMonth(year, month); ++day) {
                ASSERT_EQ(DayOfWeek(year, month, day), expected) << year << "-" << month << "-" << day;
                expected = (expected + 1) % 7;
            }
        }
    }
}

TEST(CalendarDaysInMonth, LeapYearsAndBadMonths)
{
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2100, 2), 28);
    EXPECT_EQ(DaysInMonth(1500, 2), 28);  // Gregorian rule also before 1582
    EXPECT_EQ(DaysInMonth(2023, 1), 31);
    EXPECT_EQ(DaysInMonth(2023, 4), 30);
    EXPECT_EQ(DaysInMonth(2023, 13), 0);
    EXPECT_EQ(DaysInMonth(2023, 0), 0);
    EXPECT_EQ(DaysInMonth(2023, -5), 0);
}

TEST(CalendarDeltaT, ValuesOfTheModel)
{
    constexpr double kTolerance = 1e-6;  // seconds
    EXPECT_NEAR(DeltaTSecondsAt(2000.0), 63.87, kTolerance);
    EXPECT_NEAR(DeltaTSecondsAt(2005.0), 64.7, kTolerance);
    EXPECT_NEAR(DeltaTSecondsAt(2014.0), 68.3, kTolerance);
    EXPECT_NEAR(DeltaTSecondsAt(2010.0), 66.7, kTolerance);
    // From 2114 on the parabola alone: 31 u^2 - 20.
    const double u2114 = (2114.0 - 1820.0) / 100.0;
    EXPECT_NEAR(DeltaTSecondsAt(2114.0), 31.0 * u2114 * u2114 - 20.0, kTolerance);
    const double u2150 = (2150.0 - 1820.0) / 100.0;
    EXPECT_NEAR(DeltaTSecondsAt(2150.0), 31.0 * u2150 * u2150 - 20.0, kTolerance);
    // Start values of table rows: u = 0 gives c0.
    EXPECT_NEAR(DeltaTSecondsAt(1900.0), -2.3, kTolerance);
    EXPECT_NEAR(DeltaTSecondsAt(1950.0), 24.2 + 1.22 * 5 - 0.064 * 25 + 0.0031 * 125, kTolerance);
    EXPECT_NEAR(DeltaTSecondsAt(1980.0), 51.0, kTolerance);
    // Before -500 the first segment is extrapolated.
    const double u = 10.0 * (-5000.0 + 4000.0) / 3500.0;
    EXPECT_NEAR(DeltaTSecondsAt(-5000.0), 108371.7 - 13036.8 * u + 392.0 * u * u, 1e-4);
}

TEST(CalendarDeltaT, ContinuousAtTheJoins)
{
    // 2014 and 2114 are continuous by construction; the table joins within
    // a second or so of each other (that is the model, kept as it is).
    constexpr double kEps = 1e-7;
    EXPECT_NEAR(DeltaTSecondsAt(2014.0 - kEps), DeltaTSecondsAt(2014.0 + kEps), 1e-3);
    EXPECT_NEAR(DeltaTSecondsAt(2114.0 - kEps), DeltaTSecondsAt(2114.0 + kEps), 1e-3);
    double worst = 0.0;
    for (int y : {1900, 1920, 1940, 1960, 1980, 2000, 2005}) {
        worst = std::fmax(worst, std::fabs(DeltaTSecondsAt(y - kEps) - DeltaTSecondsAt(y + kEps)));
    }
    RecordProperty("worst_join_gap_seconds", std::to_string(worst));
    EXPECT_LT(worst, 2.0);
}

TEST(CalendarBeijingTime, FixedEightHoursPlusDeltaT)
{
    const double jdTD = 2451545.0;
    const double bj = cal::ToBeijingTime(jdTD);
    EXPECT_NEAR((bj - jdTD) * 86400.0, 28800.0 - DeltaT(0.0) * 86400.0, 1e-4);
    // Round trip to well below a millisecond over the whole range.
    double worst = 0.0;
    for (double jd = 2415020.5; jd < 2488434.5; jd += 97.3) {
        worst = std::fmax(worst, std::fabs(cal::ToBeijingTime(cal::ToDynamicalTime(jd)) - jd));
    }
    RecordProperty("worst_round_trip_seconds", std::to_string(worst * 86400.0));
    EXPECT_LT(worst * 86400.0, 1e-3);
}

TEST(CalendarNormalizeDegrees, Examples)
{
    EXPECT_DOUBLE_EQ(NormalizeDegrees(-30.0), 330.0);
    EXPECT_DOUBLE_EQ(NormalizeDegrees(725.0), 5.0);
    EXPECT_DOUBLE_EQ(NormalizeDegrees(360.0), 360.0);
    EXPECT_DOUBLE_EQ(NormalizeDegrees(720.0), 360.0);
    EXPECT_DOUBLE_EQ(NormalizeDegrees(0.0), 0.0);
    EXPECT_DOUBLE_EQ(NormalizeDegrees(-360.0), 0.0);
    EXPECT_DOUBLE_EQ(NormalizeDegrees(481267.88134236), 481267.88134236 - 1336.0 * 360.0);
}

TEST(CalendarNormalizeDegrees, EqualsTheStepwiseReduction)
{
    // The reduction by fmod must give exactly what adding or subtracting 360
    // one step at a time gives.
    auto stepwise = [](double x) {
        while (x < 0.0) {
            x += 360.0;
        }
        while (x > 360.0) {
            x -= 360.0;
        }
        return x;
    };
    double x = -98765.4321;
    for (int i = 0; i < 20000; ++i) {
        x += 12.3456789012345;
        ASSERT_EQ(NormalizeDegrees(x), stepwise(x)) << x;
    }
    for (double y : {1e-20, -1e-20, 360.0 + 1e-13, -360.0 - 1e-13, 1080.0, -1080.0}) {
        ASSERT_EQ(NormalizeDegrees(y), stepwise(y) + 0.0) << y;
    }
}

TEST(CalendarDegToRad, Conversion)
{
    EXPECT_DOUBLE_EQ(cal::DegToRad(180.0), 3.141592653589793);
    EXPECT_DOUBLE_EQ(cal::DegToRad(90.0), 3.141592653589793 / 2.0);
}

}  // namespace
