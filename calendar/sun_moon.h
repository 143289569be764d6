#pragma once

// Apparent geocentric longitudes of the sun and the moon from truncated
// analytical theories (VSOP87 for the Earth, the ELP-2000/82 main terms for the
// moon, IAU 1980 nutation; coefficients in calendar/meeus_tables.cpp), and the
// Newton searches for solar terms and moon phases built on them.
//
// All Julian days here are in dynamical time (TD); convert with
// ToBeijingTime / ToDynamicalTime (calendar/time_scales.h).

namespace cal {

// Apparent geocentric ecliptic longitude of the sun, degrees, at a Julian day
// (TD). Not reduced after the final corrections, so it may lie a little below
// 0 or above 360. Accurate to about 1 arc second over 1900..2100.
double SunApparentLongitude(double jdTD);

// Apparent geocentric ecliptic longitude of the moon, degrees 0..360, at a
// Julian day (TD). Accurate to about 10 arc seconds.
double MoonApparentLongitude(double jdTD);

// Nutation in longitude, degrees, for Julian millennia from J2000.0 (TD).
double NutationInLongitude(double millenniaFromJ2000);

// Julian day (TD) at which moon longitude - sun longitude equals the target
// elongation (whole degrees: 0 = new moon, 180 = full moon), found by Newton's
// method from the start value. Converges to a nearby phase, usually the
// nearest; the target is not checked.
double MoonPhaseInstant(double startTD, int targetDegrees);

// Julian day (TD) of the new moon reached from the start value by Newton's
// method (MoonPhaseInstant with target 0).
double NewMoonInstant(double startTD);

// Julian day (TD) at which the sun's apparent longitude equals the target
// (whole degrees, a multiple of 15), searched from a start value in the
// Gregorian year given where that term falls.
double SolarTermInstant(int year, int targetDegrees);

// Hooks for the tests: the Newton searches above are capped at
// kMaxNewtonIterations steps; the counters show how many steps the searches
// took since the last reset on this thread and whether the cap ever stopped
// one.
namespace testing {

inline constexpr int kMaxNewtonIterations = 50;

struct SearchStats {
    long long searches = 0;       // number of searches run
    long long iterations = 0;     // Newton steps taken in total
    int maxIterations = 0;        // most steps a single search needed
    long long stoppedByCap = 0;   // searches ended by the cap, not by convergence
};

SearchStats GetSearchStats();
void ResetSearchStats();

}  // namespace testing

}  // namespace cal
