#pragma once

// Time arithmetic under the calendar: Julian days, calendar dates, weekdays,
// month lengths, Delta T and the conversion between dynamical time (TD) and
// Beijing time. Beijing time is a fixed UTC+8 here; the host's time zone is
// never consulted. All functions are pure, never fail and never allocate.

namespace cal {

// Radians per degree (pi / 180) and seconds of arc per radian.
inline constexpr double kRadPerDeg = 0.017453292519943295;
inline constexpr double kArcsecPerRad = 206264.80624709636;
inline constexpr double kPi = 3.141592653589793;

// Julian day of J2000.0 (2000-01-01 12:00 TD).
inline constexpr double kJ2000 = 2451545.0;

// Offset of Beijing time from universal time, in days (8 hours).
inline constexpr double kBeijingOffsetDays = 8.0 / 24.0;

// A calendar date and time of day, as returned by CalendarDate.
struct DateTime {
    int year;       // astronomical year, except that year 0 is reported as -1
    int month;      // 1..12
    int day;        // 1..31
    int hour;       // 0..23
    int minute;     // 0..59
    double second;  // 0 <= second < 60, with fraction
};

// Julian day of a calendar date and time (Gregorian from 1582-10-15, Julian
// before). The day begins at noon: 2000-01-01 00:00 is 2451544.5. Fields are
// not range-checked; out-of-range values simply carry over arithmetically.
double JulianDay(int year, int month, int day, int hour, int minute, double second);

// Calendar date and time of a Julian day (inverse of JulianDay from
// 1582-10-15 on). The time of day is truncated, not rounded: add a small
// amount first to get the nearest minute. Non-finite or absurdly large
// arguments give 0000-00-00-like garbage but never undefined behaviour.
DateTime CalendarDate(double jd);

// Day number of an instant: trunc(jd + 0.5). Two instants fall on the same
// date of their time scale exactly when their day numbers are equal.
int DayNumber(double jd);

// Day of the week, 0 = Sunday .. 6 = Saturday (Gregorian rule for every year).
int DayOfWeek(int year, int month, int day);

// Length of a month, 28..31 (Gregorian leap rule for every year); 0 when
// month is outside 1..12.
int DaysInMonth(int year, int month);

// Delta T = TD - UT, in days, for a moment given in days from J2000.0.
// Valid (as a model) for any year; the table ends at 2005, then a line to
// 2014 and a parabola blended back to itself by 2114.
double DeltaT(double daysFromJ2000);

// Julian day in TD -> Julian day in Beijing time (UTC+8).
double ToBeijingTime(double jdTD);

// Julian day in Beijing time (UTC+8) -> Julian day in TD.
double ToDynamicalTime(double jdBeijing);

// An angle in degrees reduced to 0..360 inclusive (360 itself stays 360).
// Infinite or NaN input is returned unchanged.
double NormalizeDegrees(double degrees);

// Degrees to radians.
double DegToRad(double degrees);

}  // namespace cal
