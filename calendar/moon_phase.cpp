#include "calendar/moon_phase.h"

#include <cmath>

#include "calendar/time_scales.h"

namespace cal {

namespace {

// Epoch 1980 January 0.0 and the elements of the sun and the moon there.
constexpr double kEpoch = 2444238.5;
constexpr double kSunPerigee = 282.596403;  // ecliptic longitude of perigee, degrees
constexpr double kEccentricity = 0.016718;
constexpr double kSunSemiMajorAxisKm = 149598500.0;
constexpr double kSunAngularSizeDeg = 0.533128;  // at one astronomical unit
constexpr double kMoonMeanLongitudeAtEpoch = 64.975464;
constexpr double kMoonPerigeeAtEpoch = 349.383063;
constexpr double kMoonEccentricity = 0.0549;
constexpr double kMoonAngularSizeDeg = 0.5181;  // at distance kMoonSemiMajorAxisKm
constexpr double kMoonSemiMajorAxisKm = 384401.0;
constexpr double kSynodicMonthDays = 29.53058868;

constexpr int kMaxKeplerIterations = 50;

// x - 360 floor(x / 360): 0 <= result < 360.
double Fix360(double x)
{
    return x - 360.0 * std::floor(x / 360.0);
}

double Rad(double degrees)
{
    return degrees * (kPi / 180.0);
}

double Deg(double radians)
{
    return radians * (180.0 / kPi);
}

// Solves E - e sin E = m (radians) by Newton's method.
double SolveKepler(double m, double e)
{
    double ecc = m;
    for (int i = 0; i < kMaxKeplerIterations; ++i) {
        const double delta = ecc - e * std::sin(ecc) - m;
        ecc -= delta / (1.0 - e * std::cos(ecc));
        if (std::fabs(delta) <= 1e-6) {
            break;
        }
    }
    return ecc;
}

void Store(double* out, double value)
{
    if (out) {
        *out = value;
    }
}

}  // namespace

double MoonPhaseJulianDate(int year, int month, int day, int hour, int minute, int second)
{
    if (month <= 2) {
        year -= 1;
        month += 12;
    }
    int b = 0;
    const bool julianCalendar = year < 1582 || (year == 1582 && month < 10) ||
                                (year == 1582 && month == 10 && day < 5);
    if (!julianCalendar) {
        const int a = year / 100;
        b = 2 - a + a / 4;
    }
    return std::trunc(365.25 * (year + 4716)) + std::trunc(30.6001 * (month + 1)) + day + b - 1524.5 +
           (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

double MoonPhase(double julianDate, double* illuminated, double* ageDays, double* moonDistanceKm,
                 double* moonDiameterDeg, double* sunDistanceKm, double* sunDiameterDeg)
{
    const double d = julianDate - kEpoch;

    // The sun.
    const double n = Fix360(d * 0.9856473320990837);  // 360 / 365.2422 degrees a day
    // Mean anomaly: longitude at epoch minus longitude of perigee, 278.833540 - 282.596403.
    const double m = Rad(Fix360(n - 3.762863));
    const double e = SolveKepler(m, kEccentricity);
    const double ec = 2.0 * Deg(std::atan(1.0168601118216305 * std::tan(e / 2.0)));  // true anomaly
    const double sunLongitude = Fix360(ec + kSunPerigee);
    const double f = (1.0 + kEccentricity * std::cos(Rad(ec))) / 0.999720508476;

    // The moon.
    const double ml = Fix360(13.1763966 * d + kMoonMeanLongitudeAtEpoch);
    const double mm = Fix360(ml - 0.1114041 * d - kMoonPerigeeAtEpoch);
    const double evection = 1.2739 * std::sin(Rad(2.0 * (ml - sunLongitude) - mm));
    const double annualEquation = 0.1858 * std::sin(m);
    const double a3 = 0.37 * std::sin(m);
    const double mmp = mm + evection - annualEquation - a3;
    const double centre = 6.2886 * std::sin(Rad(mmp));
    const double a4 = 0.214 * std::sin(Rad(2.0 * mmp));
    const double lp = ml + evection + centre - annualEquation + a4;
    const double variation = 0.6583 * std::sin(Rad(2.0 * (lp - sunLongitude)));
    const double lpp = lp + variation;

    const double age = lpp - sunLongitude;  // degrees
    const double moonDistance =
        383242.41154199 / (1.0 + kMoonEccentricity * std::cos(Rad(mmp + centre)));
    const double p = Fix360(age) / 360.0;

    Store(illuminated, (1.0 - std::cos(Rad(age))) / 2.0);
    Store(ageDays, p * kSynodicMonthDays);
    Store(moonDistanceKm, moonDistance);
    Store(moonDiameterDeg, kMoonAngularSizeDeg / (moonDistance / kMoonSemiMajorAxisKm));
    Store(sunDistanceKm, kSunSemiMajorAxisKm / f);
    Store(sunDiameterDeg, kSunAngularSizeDeg * f);
    // Fix360 of a value just below 360 can round to 360 itself.
    return p < 1.0 ? p : 0.0;
}

double MoonPhaseForDate(int year, int month, int day, double* illuminated)
{
    // 00:00 in UTC+8 is 16:00 UT of the day before.
    const double jd = MoonPhaseJulianDate(year, month, day, 0, 0, 0) - 8.0 / 24.0;
    return MoonPhase(jd, illuminated);
}

}  // namespace cal
