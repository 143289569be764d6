#include "calendar/sun_moon.h"

#include <cmath>

#include "calendar/meeus_tables.h"
#include "calendar/time_scales.h"

namespace cal {

namespace {

thread_local testing::SearchStats t_stats;

void RecordSearch(int iterations, bool converged)
{
    ++t_stats.searches;
    t_stats.iterations += iterations;
    if (iterations > t_stats.maxIterations) {
        t_stats.maxIterations = iterations;
    }
    if (!converged) {
        ++t_stats.stoppedByCap;
    }
}

// Sum of A*cos(B + C*tau) over one VSOP87 series.
double SumVsopSeries(const meeus::VsopSeries& series, double tau)
{
    double sum = 0.0;
    for (int i = 0; i < series.count; ++i) {
        const meeus::VsopTerm& t = series.terms[i];
        sum += t.a * std::cos(t.b + t.c * tau);
    }
    return sum;
}

// Horner evaluation of sum(series[k] * tau^k), in units of 1e-8.
double EvaluateVsop(const meeus::VsopSeries* series, int count, double tau)
{
    double value = 0.0;
    for (int k = count - 1; k >= 0; --k) {
        value = SumVsopSeries(series[k], tau) + tau * value;
    }
    return value;
}

// Brings a difference of two longitudes back into -180..180, for derivatives
// taken across the 0/360 seam.
double UnwrapDifference(double d)
{
    if (d > 180.0) {
        return d - 360.0;
    }
    if (d < -180.0) {
        return d + 360.0;
    }
    return d;
}

double Elongation(double jdTD)
{
    return MoonApparentLongitude(jdTD) - SunApparentLongitude(jdTD);
}

// Half-width and full width of the central difference used for the Newton
// derivatives, days.
constexpr double kDerivativeStep = 5e-6;
constexpr double kDerivativeWidth = 1e-5;

}  // namespace

double NutationInLongitude(double millenniaFromJ2000)
{
    const double t = 10.0 * millenniaFromJ2000;  // Julian centuries
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double d = 297.85036 + 445267.11148 * t - 0.0019142 * t2 + t3 / 189474.0;
    const double m = 357.52772 + 35999.05034 * t - 0.0001603 * t2 - t3 / 300000.0;
    const double mp = 134.96298 + 477198.867398 * t + 0.0086972 * t2 + t3 / 56250.0;
    const double f = 93.27191 + 483202.017538 * t - 0.0036825 * t2 + t3 / 327270.0;
    const double omega = 125.04452 - 1934.136261 * t + 0.0020708 * t2 + t3 / 450000.0;

    double dpsi = 0.0;  // 0.0001 arc second
    for (const meeus::NutationTerm& row : meeus::kNutation) {
        const double arg = row.d * d + row.m * m + row.mp * mp + row.f * f + row.omega * omega;
        dpsi += (row.psiConst + row.psiT * t) * std::sin(arg * kRadPerDeg);
    }
    return dpsi * 0.0001 / 3600.0;
}

double SunApparentLongitude(double jdTD)
{
    const double tau = (jdTD - kJ2000) / 365250.0;
    const double l = EvaluateVsop(meeus::kEarthL, 6, tau) / 1e8;  // radians
    const double b = EvaluateVsop(meeus::kEarthB, 5, tau) / 1e8;  // radians
    const double r = EvaluateVsop(meeus::kEarthR, 5, tau) / 1e8;  // AU

    // Geometric geocentric longitude and latitude.
    const double lambda = NormalizeDegrees(NormalizeDegrees(l / kRadPerDeg) + 180.0);
    const double beta = -b;

    // Conversion to the FK5 system.
    const double t = 10.0 * tau;
    const double lambdaPrime = (lambda - 1.397 * t - 0.00031 * t * t) * kRadPerDeg;
    const double dLambda =
        -0.09033 + 0.03916 * (std::cos(lambdaPrime) + std::sin(lambdaPrime)) * std::tan(beta);  // arcsec

    const double aberration = 20.4898 / r / 3600.0;  // degrees
    return lambda + dLambda / 3600.0 + NutationInLongitude(tau) - aberration;
}

double MoonApparentLongitude(double jdTD)
{
    const double t = (jdTD - kJ2000) / 36525.0;
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double t4 = t3 * t;

    const double lp = NormalizeDegrees(218.3164591 + 481267.88134236 * t - 0.0013268 * t2 + t3 / 538841.0 -
                                       t4 / 65194000.0);
    const double d = NormalizeDegrees(297.8502042 + 445267.1115168 * t - 0.00163 * t2 + t3 / 545868.0 -
                                      t4 / 113065000.0);
    const double m = NormalizeDegrees(357.5291092 + 35999.0502909 * t - 0.0001536 * t2 + t3 / 24490000.0);
    const double mp = NormalizeDegrees(134.9634114 + 477198.8676313 * t + 0.008997 * t2 + t3 / 69699.0 -
                                       t4 / 14712000.0);
    const double f = NormalizeDegrees(93.2720993 + 483202.0175273 * t - 0.0034029 * t2 - t3 / 3526000.0 +
                                      t4 / 863310000.0);
    const double e = 1.0 - 0.002516 * t - 0.0000074 * t2;
    const double e2 = e * e;

    double sigmaL = 0.0;  // 1e-6 degree
    for (const meeus::MoonTerm& row : meeus::kMoonLongitude) {
        const double arg = row.d * d + row.m * m + row.mp * mp + row.f * f;
        double coefficient = row.sigmaL;
        if (row.m == 1 || row.m == -1) {
            coefficient *= e;
        } else if (row.m == 2 || row.m == -2) {
            coefficient *= e2;
        }
        sigmaL += coefficient * std::sin(arg * kRadPerDeg);
    }

    // Additive terms: Venus (A1), the flattening of the Earth (L' - F), Jupiter (A2).
    const double a1 = NormalizeDegrees(119.75 + 131.849 * t);
    const double a2 = NormalizeDegrees(53.09 + 479264.29 * t);
    sigmaL += 3958.0 * std::sin(a1 * kRadPerDeg) + 1962.0 * std::sin((lp - f) * kRadPerDeg) +
              318.0 * std::sin(a2 * kRadPerDeg);

    return NormalizeDegrees(lp + sigmaL / 1000000.0 + NutationInLongitude(t / 10.0));
}

// Newton's method for the instant at which an angle reaches its target.
// offset(x) is how far the angle at x (TD Julian day) lies from the target,
// in degrees; angle(x) gives the slope by a central difference. Stops when
// a step is at most toleranceDays, or after the iteration cap.
template <class Offset, class Angle>
double SolveForAngle(double x, double toleranceDays, Offset offset, Angle angle)
{
    for (int iteration = 1; iteration <= testing::kMaxNewtonIterations; ++iteration) {
        const double off = offset(x);
        // Degrees per day; the unwrap only matters if a longitude crosses
        // 360 within the step, which would otherwise make k nonsense.
        const double k = UnwrapDifference(angle(x + kDerivativeStep) - angle(x - kDerivativeStep)) /
                         kDerivativeWidth;
        const double next = x - off / k;
        const bool converged = std::fabs(next - x) <= toleranceDays;
        x = next;
        if (converged) {
            RecordSearch(iteration, true);
            return x;
        }
    }
    RecordSearch(testing::kMaxNewtonIterations, false);
    return x;
}

double MoonPhaseInstant(double startTD, int targetDegrees)
{
    const double target = targetDegrees;
    auto offset = [&](double x) {
        double moon = MoonApparentLongitude(x);
        double sun = SunApparentLongitude(x);
        if (moon > 330.0 && sun < 30.0) {
            sun += 360.0;
        }
        if (sun > 330.0 && moon < 30.0) {
            moon += 360.0;
        }
        double h = moon - sun;
        if (targetDegrees != 0) {
            h = NormalizeDegrees(h);
        } else {
            if (h >= 360.0) {
                h -= 360.0;
            }
            if (h < -360.0) {
                h += 360.0;
            }
        }
        return h - target;
    };
    return SolveForAngle(startTD, 1e-8, offset, Elongation);
}

double NewMoonInstant(double startTD)
{
    return MoonPhaseInstant(startTD, 0);
}

double SolarTermInstant(int year, int targetDegrees)
{
    const double target = targetDegrees;
    int month = (targetDegrees + 90 + 29) / 30;  // ceil((target + 90) / 30) for target >= -90
    if (month > 12) {
        month -= 12;
    }
    const bool minorTerm = targetDegrees % 30 != 0;  // 15, 45, ...: early in a month
    double x = JulianDay(year, month, minorTerm ? 6 : 20, 12, 0, 0.0);

    auto offset = [&](double x) {
        double s = SunApparentLongitude(x);
        if (targetDegrees == 0 && s > 345.0) {
            s -= 360.0;
        }
        return s - target;
    };
    return SolveForAngle(x, 1e-7, offset, SunApparentLongitude);
}

namespace testing {

SearchStats GetSearchStats()
{
    return t_stats;
}

void ResetSearchStats()
{
    t_stats = SearchStats{};
}

}  // namespace testing

}  // namespace cal
