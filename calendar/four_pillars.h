#pragma once

// The four pillars (四柱) of a day and double-hour: the sexagenary names
// (heavenly stem and earthly branch) of year, month, day and double-hour. The
// pillar year begins at the start of spring (立春) and its months at the
// minor terms (节); all instants are Beijing time.

#include "calendar/lunar_records.h"

namespace cal {

// A sexagenary name, 0-based: stem 0 = 甲 .. 9 = 癸, branch 0 = 子 .. 11 = 亥.
struct StemBranch {
    int stem = 0;
    int branch = 0;
};

// Stem (year - 1994) mod 10 and branch (year - 1996) mod 12, both 0-based.
// Any year is accepted.
StemBranch YearStemBranch(int year);

// Stem and branch of a day, 1-based (1 = 甲, 1 = 子), packed as stem in the
// high byte and branch in the low byte. Counted from 1949-10-01, a 甲子 day.
// The date is not range-checked (out-of-range days carry over).
unsigned short DayStemBranch(int year, int month, int day);

// Stem and branch of a double-hour, packed like DayStemBranch. hourIndex 0 is
// 00:00-00:59, 1..11 the two-hour periods from 01:00, 12 is 23:00-23:59
// (counted with the next day). Values outside 0..12 are treated as 0.
unsigned short HourStemBranch(int year, int month, int day, int hourIndex);

// Unpacks a DayStemBranch / HourStemBranch value into 0-based indices.
StemBranch UnpackStemBranch(unsigned short packed);

struct FourPillars {
    StemBranch year;
    StemBranch month;
    StemBranch day;
    StemBranch hour;
};

// The four pillars of day `day` of month `month` of ly.year at a double-hour
// 0..12 (others are treated as 0). For double-hour 12 the day and hour
// pillars are those of the next day's first double-hour. Needs a built year
// for the year and month pillars; an invalid one yields the Gregorian year's
// pillar and the 子 month.
FourPillars ComputeFourPillars(const LunarYear& ly, int month, int day, int hourIndex);

}  // namespace cal
