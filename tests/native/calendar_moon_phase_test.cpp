// The moon-phase method of the moon picture against published phases.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calendar/moon_phase.h"

namespace {

// Distance of a phase from a target phase, in phase units, on the circle.
double PhaseDistance(double p, double target)
{
    double d = std::fabs(p - target);
    return d > 0.5 ? 1.0 - d : d;
}

struct PublishedPhase {
    int year, month, day, hour, minute;  // UTC
    double phase;                        // 0 new, 0.5 full
};

// New and full moons as published (UTC).
constexpr PublishedPhase kPhases[] = {
    {2000, 1, 6, 18, 14, 0.0}, {2000, 1, 21, 4, 40, 0.5}, {2024, 1, 11, 11, 57, 0.0},
    {2024, 1, 25, 17, 54, 0.5}, {2001, 1, 24, 13, 7, 0.0}, {1980, 2, 16, 8, 51, 0.0},
};

TEST(CalendarMoonPhase, PublishedNewAndFullMoons)
{
    // The method is good to a few hours: 0.01 of a cycle is about 7 hours.
    double worst = 0.0;
    for (const PublishedPhase& p : kPhases) {
        const double jd = cal::MoonPhaseJulianDate(p.year, p.month, p.day, p.hour, p.minute, 0);
        double illuminated = -1.0;
        const double phase = cal::MoonPhase(jd, &illuminated);
        const double error = PhaseDistance(phase, p.phase);
        worst = std::fmax(worst, error);
        EXPECT_LT(error, 0.01) << p.year << "-" << p.month << "-" << p.day;
        EXPECT_NEAR(illuminated, p.phase == 0.0 ? 0.0 : 1.0, 0.01);
    }
    RecordProperty("worst_error_hours", std::to_string(worst * 29.530588 * 24.0));
}

TEST(CalendarMoonPhase, OutputsAreSane)
{
    double illuminated, age, moonKm, moonDeg, sunKm, sunDeg;
    for (double jd = 2415020.5; jd < 2488434.5; jd += 3.7) {
        const double p = cal::MoonPhase(jd, &illuminated, &age, &moonKm, &moonDeg, &sunKm, &sunDeg);
        ASSERT_GE(p, 0.0);
        ASSERT_LT(p, 1.0);
        ASSERT_GE(illuminated, 0.0);
        ASSERT_LE(illuminated, 1.0);
        ASSERT_NEAR(age, p * 29.53058868, 1e-9);
        ASSERT_GT(moonKm, 356000.0);
        ASSERT_LT(moonKm, 407000.0);
        ASSERT_GT(moonDeg, 0.48);
        ASSERT_LT(moonDeg, 0.57);
        ASSERT_GT(sunKm, 147000000.0);
        ASSERT_LT(sunKm, 152200000.0);
        ASSERT_NEAR(sunDeg, 0.533, 0.01);
    }
    // Null outputs are allowed.
    EXPECT_NO_FATAL_FAILURE((void)cal::MoonPhase(2451545.0));
}

TEST(CalendarMoonPhase, JulianDate)
{
    EXPECT_DOUBLE_EQ(cal::MoonPhaseJulianDate(2000, 1, 1, 12, 0, 0), 2451545.0);
    EXPECT_DOUBLE_EQ(cal::MoonPhaseJulianDate(1957, 10, 4, 19, 26, 24), 2436116.31);
    EXPECT_DOUBLE_EQ(cal::MoonPhaseJulianDate(333, 1, 27, 12, 0, 0), 1842713.0);
    EXPECT_DOUBLE_EQ(cal::MoonPhaseJulianDate(1582, 10, 15, 0, 0, 0), 2299160.5);
    EXPECT_DOUBLE_EQ(cal::MoonPhaseJulianDate(1582, 10, 4, 0, 0, 0), 2299159.5);
}

TEST(CalendarMoonPhase, ForDateUsesMidnightBeijingTime)
{
    // 2000-01-06 00:00 UTC+8 is 2000-01-05 16:00 UTC, a day before new moon.
    double illuminated = -1.0;
    const double p = cal::MoonPhaseForDate(2000, 1, 6, &illuminated);
    EXPECT_EQ(p, cal::MoonPhase(cal::MoonPhaseJulianDate(2000, 1, 5, 16, 0, 0)));
    EXPECT_GT(p, 0.95);
    EXPECT_LT(illuminated, 0.02);
    EXPECT_NO_FATAL_FAILURE((void)cal::MoonPhaseForDate(2024, 1, 26, nullptr));
    // 2024-01-26 00:00 Beijing is 16:00 UTC on the 25th, two hours before full.
    EXPECT_LT(PhaseDistance(cal::MoonPhaseForDate(2024, 1, 26, nullptr), 0.5), 0.01);
}

}  // namespace
