#pragma once

// The moon's phase from a compact, self-contained method with a 1980 epoch
// (mean elements of sun and moon plus evection, the annual equation, the
// equation of the centre and the variation). Good to a few hours of the
// phase; used for the moon picture, not for the calendar's new moons.

namespace cal {

// Julian date of a UT calendar date and time (Julian calendar up to
// 1582-10-04). Fields are not range-checked.
double MoonPhaseJulianDate(int year, int month, int day, int hour, int minute, int second);

// Phase of the moon at a Julian date (UT): 0 = new, 0.25 = first quarter,
// 0.5 = full, 0.75 = last quarter; always in [0, 1). Each output pointer may
// be null: illuminated fraction of the disc 0..1, age of the moon in days,
// distance of the moon (km) and its angular diameter (degrees), distance of
// the sun (km) and its angular diameter (degrees).
double MoonPhase(double julianDate, double* illuminated = nullptr, double* ageDays = nullptr,
                 double* moonDistanceKm = nullptr, double* moonDiameterDeg = nullptr,
                 double* sunDistanceKm = nullptr, double* sunDiameterDeg = nullptr);

// Phase at 00:00 Beijing time (UTC+8) of a date, with the illuminated
// fraction through `illuminated` (may be null).
double MoonPhaseForDate(int year, int month, int day, double* illuminated);

}  // namespace cal
