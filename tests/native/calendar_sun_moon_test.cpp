// Sun and moon longitudes against Meeus's worked examples, and the Newton
// searches for solar terms and moon phases against published instants.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calendar/sun_moon.h"
#include "calendar/time_scales.h"

namespace {

using cal::CalendarDate;
using cal::DateTime;
using cal::JulianDay;

double Arcsec(double degrees)
{
    return degrees * 3600.0;
}

double Millennia(double jd)
{
    return (jd - 2451545.0) / 365250.0;
}

// Difference of two angles in degrees, -180..180.
double AngleDifference(double a, double b)
{
    double d = std::fmod(a - b, 360.0);
    if (d > 180.0) {
        d -= 360.0;
    }
    if (d < -180.0) {
        d += 360.0;
    }
    return d;
}

TEST(CalendarNutation, MeeusExample22a)
{
    // 1987 April 10, 0h TD: delta psi = -3.788".
    const double dpsi = Arcsec(cal::NutationInLongitude(Millennia(2446895.5)));
    RecordProperty("error_arcsec", std::to_string(dpsi + 3.788));
    EXPECT_NEAR(dpsi, -3.788, 0.0005);
}

TEST(CalendarSun, MeeusExample25b)
{
    // 1992 October 13.0 TD, with the full Appendix III series: apparent
    // longitude 199 deg 54' 21.818" (nutation +15.908", aberration -20.539").
    const double jd = 2448908.5;
    EXPECT_NEAR(Arcsec(cal::NutationInLongitude(Millennia(jd))), 15.908, 0.001);
    const double expected = 199.0 + 54.0 / 60.0 + 21.818 / 3600.0;
    const double error = Arcsec(AngleDifference(cal::SunApparentLongitude(jd), expected));
    RecordProperty("error_arcsec", std::to_string(error));
    EXPECT_NEAR(error, 0.0, 0.01);
}

TEST(CalendarSun, MeeusExample25aLowAccuracyAgrees)
{
    // The low-accuracy method of example 25.a gives 199.90895 deg apparent for
    // the same instant; the series must agree to its stated 0.01 deg.
    EXPECT_NEAR(cal::SunApparentLongitude(2448908.5), 199.90895, 0.01);
}

TEST(CalendarMoon, MeeusExample47a)
{
    // 1992 April 12, 0h TD: apparent longitude 133.167265 deg (geometric
    // 133.162655 plus nutation 0.004610). The book rounds its intermediate
    // values, hence the tolerance of 0.00001 deg.
    const double jd = 2448724.5;
    EXPECT_NEAR(cal::NutationInLongitude(Millennia(jd)), 0.004610, 0.0000005);
    const double error = AngleDifference(cal::MoonApparentLongitude(jd), 133.167265);
    RecordProperty("error_degrees", std::to_string(error));
    EXPECT_NEAR(error, 0.0, 0.00001);
}

TEST(CalendarMoon, LongitudeStaysInRange)
{
    for (double jd = 2415020.5; jd < 2488434.5; jd += 0.37) {
        const double lon = cal::MoonApparentLongitude(jd);
        ASSERT_GE(lon, 0.0);
        ASSERT_LE(lon, 360.0);
    }
}

TEST(CalendarNewMoon, MeeusExample49a)
{
    // The new moon of 1977 February: 1977 February 18, 3h37m42s TD by the
    // method of chapter 49 (itself good to well under a minute).
    const double expected = JulianDay(1977, 2, 18, 3, 37, 42.0);
    const double found = cal::NewMoonInstant(expected + 3.0);
    const double errorSeconds = (found - expected) * 86400.0;
    RecordProperty("error_seconds", std::to_string(errorSeconds));
    EXPECT_NEAR(errorSeconds, 0.0, 30.0);
}

TEST(CalendarNewMoon, SameInstantFromEitherSide)
{
    const double near = JulianDay(2001, 1, 24, 13, 0, 0.0);
    const double before = cal::NewMoonInstant(near - 1.5);
    const double after = cal::NewMoonInstant(near + 1.5);
    EXPECT_NEAR((before - after) * 86400.0, 0.0, 0.01);
    // A conjunction where the sun's longitude wraps: 2000 March (sun near 0).
    const double march = cal::NewMoonInstant(JulianDay(2000, 4, 4, 12, 0, 0.0));
    EXPECT_NEAR((cal::NewMoonInstant(march - 1.0) - cal::NewMoonInstant(march + 1.0)) * 86400.0, 0.0, 0.01);
}

TEST(CalendarNewMoon, January2001FallsOn24th)
{
    const DateTime t = CalendarDate(cal::ToBeijingTime(cal::NewMoonInstant(JulianDay(2001, 1, 24, 0, 0, 0.0))));
    EXPECT_EQ(t.year, 2001);
    EXPECT_EQ(t.month, 1);
    EXPECT_EQ(t.day, 24);
}

TEST(CalendarFullMoon, ElongationIs180)
{
    const double full = cal::MoonPhaseInstant(JulianDay(2024, 1, 25, 0, 0, 0.0), 180);
    const double elongation =
        cal::NormalizeDegrees(cal::MoonApparentLongitude(full) - cal::SunApparentLongitude(full));
    EXPECT_NEAR(elongation, 180.0, 1e-6);
    // Published: 2024-01-25 17:54 UTC, i.e. 2024-01-26 01:54 Beijing time.
    const DateTime t = CalendarDate(cal::ToBeijingTime(full));
    EXPECT_EQ(t.day, 26);
    EXPECT_EQ(t.hour, 1);
    EXPECT_NEAR(t.minute + t.second / 60.0, 54.0, 1.5);
}

TEST(CalendarSolarTerm, SpringEquinoxConvergesAcrossTheSeam)
{
    // The sun's longitude jumps from 360 to 0 at the root; the residual stays
    // continuous and the search lands on it.
    for (int year : {1901, 1950, 2000, 2024, 2100}) {
        const double x = cal::SolarTermInstant(year, 0);
        const double lon = cal::SunApparentLongitude(x);
        EXPECT_NEAR(AngleDifference(lon, 0.0), 0.0, 1e-6) << year;
        const DateTime t = CalendarDate(x);
        EXPECT_EQ(t.month, 3) << year;
        EXPECT_GE(t.day, 19) << year;
        EXPECT_LE(t.day, 21) << year;
    }
}

TEST(CalendarSolarTerm, EveryTermReachesItsLongitude)
{
    double worst = 0.0;
    for (int year : {1901, 1929, 1966, 2000, 2033, 2067, 2100}) {
        for (int n = 0; n < 24; ++n) {
            const double x = cal::SolarTermInstant(year, 15 * n);
            const double error = std::fabs(AngleDifference(cal::SunApparentLongitude(x), 15.0 * n));
            worst = std::fmax(worst, error);
            const DateTime t = CalendarDate(x);
            EXPECT_EQ(t.year, year) << year << " " << n;
        }
    }
    RecordProperty("worst_error_arcsec", std::to_string(Arcsec(worst)));
    EXPECT_LT(Arcsec(worst), 0.01);
}

TEST(CalendarSolarTerm, MeeusExample27a)
{
    // The June solstice of 1962: 1962 June 21, 21h25m08s TD by the
    // approximate method of chapter 27 (good to about a minute).
    const double expected = JulianDay(1962, 6, 21, 21, 25, 8.0);
    const double errorSeconds = (cal::SolarTermInstant(1962, 90) - expected) * 86400.0;
    RecordProperty("error_seconds", std::to_string(errorSeconds));
    EXPECT_NEAR(errorSeconds, 0.0, 60.0);
}

// Published Beijing times of solar terms, to the minute.
struct PublishedTerm {
    int year;
    int degrees;
    int month;
    int day;
    int hour;
    int minute;
};

constexpr PublishedTerm kPublishedTerms[] = {
    {2000, 270, 12, 21, 21, 37},  // 冬至
    {2019, 90, 6, 21, 23, 54},    // 夏至
    {2021, 270, 12, 21, 23, 59},  // 冬至, a minute before midnight
    {2022, 0, 3, 20, 23, 33},     // 春分
    {2023, 270, 12, 22, 11, 27},  // 冬至
    {2024, 315, 2, 4, 16, 27},    // 立春
    {2024, 0, 3, 20, 11, 6},      // 春分
    {2024, 90, 6, 21, 4, 51},     // 夏至
    {2024, 180, 9, 22, 20, 43},   // 秋分
    {2024, 270, 12, 21, 17, 20},  // 冬至
    {2025, 315, 2, 3, 22, 10},    // 立春
};

TEST(CalendarSolarTerm, PublishedInstants)
{
    double worst = 0.0;
    for (const PublishedTerm& p : kPublishedTerms) {
        const double found = cal::ToBeijingTime(cal::SolarTermInstant(p.year, p.degrees));
        const double expected = JulianDay(p.year, p.month, p.day, p.hour, p.minute, 30.0);
        const double errorSeconds = (found - expected) * 86400.0;
        worst = std::fmax(worst, std::fabs(errorSeconds));
        EXPECT_NEAR(errorSeconds, 0.0, 90.0) << p.year << " " << p.degrees;
        EXPECT_EQ(CalendarDate(found).day, p.day) << p.year << " " << p.degrees;
    }
    RecordProperty("worst_error_seconds", std::to_string(worst));
}

TEST(CalendarSolarTerm, WinterSolstice2000IsOn21December)
{
    const DateTime t = CalendarDate(cal::ToBeijingTime(cal::SolarTermInstant(2000, 270)));
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 21);
}

TEST(CalendarNewtonSearch, CountsItsSteps)
{
    cal::testing::ResetSearchStats();
    (void)cal::SolarTermInstant(2000, 270);
    (void)cal::NewMoonInstant(JulianDay(2001, 1, 20, 0, 0, 0.0));
    const cal::testing::SearchStats stats = cal::testing::GetSearchStats();
    EXPECT_EQ(stats.searches, 2);
    EXPECT_GE(stats.maxIterations, 2);
    EXPECT_LT(stats.maxIterations, cal::testing::kMaxNewtonIterations);
    EXPECT_EQ(stats.stoppedByCap, 0);
}

TEST(CalendarNewtonSearch, CapStopsAHopelessSearch)
{
    // A target the sun never reaches keeps Newton going; the cap ends it.
    cal::testing::ResetSearchStats();
    (void)cal::SolarTermInstant(2000, 7);  // not a multiple of 15: still a valid root
    (void)cal::MoonPhaseInstant(std::nan(""), 0);
    const cal::testing::SearchStats stats = cal::testing::GetSearchStats();
    EXPECT_EQ(stats.searches, 2);
    EXPECT_EQ(stats.stoppedByCap, 1);  // the NaN start never converges
}

}  // namespace
