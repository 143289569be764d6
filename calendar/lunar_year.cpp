#include "calendar/lunar_year.h"

#include "calendar/sun_moon.h"
#include "calendar/time_scales.h"

namespace cal {

namespace {

constexpr int kTermCount = 25;
constexpr int kNewMoonCount = 15;
constexpr int kLunarMonthCount = 14;

// Mean synodic month, days: the step between the start values of
// consecutive new-moon searches, and the step back to the previous new moon.
constexpr double kSynodicStep = 29.5306;
constexpr double kSynodicStepBack = 29.53;

// Solar-term number (0 = 春分) of entry i of LunarYear::terms.
int TermNumberOfEntry(int i)
{
    return (i + 18) % 24;
}

// Solar terms of one winter-solstice year: 25 terms from the winter solstice
// of year - 1 to that of year.
void ComputeTerms(int year, std::array<double, kTermCount>& terms)
{
    int angleIndex = 18;  // winter solstice, 270 degrees
    int searchYear = year - 1;
    for (int i = 0; i < kTermCount; ++i) {
        terms[i] = ToBeijingTime(SolarTermInstant(searchYear, 15 * angleIndex));
        searchYear = year;
        angleIndex = (angleIndex + 1) % 24;
    }
}

// Start values of the 15 new-moon searches of a winter-solstice year. Each
// search starts a mean month after the previous start value (not after the
// previous result), so an error in one cannot carry over.
std::array<double, kNewMoonCount> NewMoonSearchStarts(double winterSolstice)
{
    double first = ToBeijingTime(NewMoonInstant(ToDynamicalTime(winterSolstice)));
    if (DayNumber(first) > DayNumber(winterSolstice)) {
        first -= kSynodicStepBack;
    }
    std::array<double, kNewMoonCount> starts;
    double start = ToDynamicalTime(first);
    for (int i = 0; i < kNewMoonCount; ++i) {
        starts[i] = start;
        start += kSynodicStep;
    }
    return starts;
}

double NewMoonFrom(double startTD)
{
    return ToBeijingTime(NewMoonInstant(startTD));
}

// The 15 new moons from the one on or before the winter solstice's date.
void ComputeNewMoons(double winterSolstice, std::array<double, kNewMoonCount>& newMoons)
{
    const std::array<double, kNewMoonCount> starts = NewMoonSearchStarts(winterSolstice);
    for (int i = 0; i < kNewMoonCount; ++i) {
        newMoons[i] = NewMoonFrom(starts[i]);
    }
}

// For a winter-solstice year with 13 lunar months (the 13th new moon comes
// on or before the date of the next winter solstice), the index 1..12 of the
// first month that ends before its major term arrives: that is the leap
// month. 0 when the year has 12 months, -1 when it has 13 but no such month
// was found.
int LeapMonthPosition(const std::array<double, kTermCount>& terms,
                      const std::array<double, kNewMoonCount>& newMoons)
{
    if (DayNumber(newMoons[13]) > DayNumber(terms[24])) {
        return 0;
    }
    // Month 13 holds the next winter solstice (terms[24]) and is never the
    // leap month, so the search stops at 12; terms has no entry 2 * 13.
    for (int i = 1; i <= 12; ++i) {
        if (DayNumber(newMoons[i + 1]) <= DayNumber(terms[2 * i])) {
            return i;
        }
    }
    return -1;
}

// Historical month lengths. The published calendar of these years differs by
// one day from the astronomical computation at one new moon, which fell just
// after midnight of UTC+8 but before midnight on the Beijing meridian used by
// the calendars of the time: the month at `index` is one day shorter, the
// month after it one day longer.
struct MonthLengthCorrection {
    int year;
    int index;
};

constexpr MonthLengthCorrection kMonthLengthCorrections[] = {
    {1914, 11},  // 九月 29 days, 十月 begins 1914-11-17 (new moon 11-18 00:02)
    {1916, 1},   // 腊月 29 days, 正月 begins 1916-02-03 (new moon 02-04 00:05)
    {1920, 10},  // 九月 29 days, 十月 begins 1920-11-10 (new moon 11-11 00:05)
};

int MonthLengthCorrectionFor(int year, int index)
{
    if (year >= 1960) {
        return 0;
    }
    for (const MonthLengthCorrection& c : kMonthLengthCorrections) {
        if (c.year == year && c.index == index) {
            return -1;
        }
        if (c.year == year && c.index + 1 == index) {
            return +1;
        }
    }
    return 0;
}

void BuildLunarMonths(LunarYear& ly)
{
    for (int k = 0; k < kLunarMonthCount; ++k) {
        LunarMonth& lm = ly.lunarMonths[k];
        lm.index = k;
        lm.number = 11 + k > 12 ? 11 + k - 12 : 11 + k;
        lm.days = DayNumber(ly.newMoons[k + 1]) - DayNumber(ly.newMoons[k]) +
                  MonthLengthCorrectionFor(ly.year, k);
        lm.start = ly.newMoons[k];
        lm.end = ly.newMoons[k + 1];
        lm.leap = 0;
    }
}

// Whether the next winter-solstice year (from the winter solstice of
// ly.year) has its leap month right after its 11th month, which makes the
// last month of this year's list a leap 11th month.
//
// This is LeapMonthPosition(...) == 1 for the next year's 25 terms and 15 new
// moons, but only the four entries it looks at are computed, each by exactly
// the same calls as the full computation would make (so with the same
// result): the next year's terms[0] is this year's terms[24], and its new
// moons 2 and 13 come from their own search start values.
bool NextYearStartsWithLeapEleventh(const LunarYear& ly)
{
    const int nextYear = ly.year + 1;
    const std::array<double, kNewMoonCount> starts = NewMoonSearchStarts(ly.terms[24]);
    const double nextSolstice = ToBeijingTime(SolarTermInstant(nextYear, 270));  // its terms[24]
    if (DayNumber(NewMoonFrom(starts[13])) > DayNumber(nextSolstice)) {
        return false;  // 12 months: no leap month at all
    }
    const double majorCold = ToBeijingTime(SolarTermInstant(nextYear, 300));  // its terms[2], 大寒
    return DayNumber(NewMoonFrom(starts[2])) <= DayNumber(majorCold);
}

void NumberLeapMonth(LunarYear& ly)
{
    const int position = LeapMonthPosition(ly.terms, ly.newMoons);
    if (position > 0) {
        if (position == 1) {
            ly.lunarMonths[2].number = 13;
        }
        ly.lunarMonths[position].leap = 1;
        for (int k = position; k < kLunarMonthCount; ++k) {
            ly.lunarMonths[k].number -= 1;
        }
        // A leap month right after the 12th month takes its number.
        if (ly.lunarMonths[position].number == 0) {
            ly.lunarMonths[position].number = 12;
        }
    } else if (position == 0 && NextYearStartsWithLeapEleventh(ly)) {
        ly.lunarMonths[13].leap = 1;
        ly.lunarMonths[13].number -= 1;  // 12 -> 11: 闰十一月
    }
}

// Day numbers [first, last) of a lunar month's days, with a corrected length
// moving the start (longer month) or the end (shorter month) by one day.
struct DaySpan {
    int first;
    int last;
};

DaySpan SpanOf(const LunarMonth& lm)
{
    DaySpan span{DayNumber(lm.start), DayNumber(lm.end)};
    if (span.last - span.first < lm.days) {
        span.first -= 1;
    }
    if (span.last - span.first > lm.days) {
        span.last -= 1;
    }
    return span;
}

// Index of the lunar month holding a day number, or -1.
int LunarMonthIndexOfDay(const LunarYear& ly, int dayNumber)
{
    for (int k = 0; k < kLunarMonthCount; ++k) {
        const DaySpan span = SpanOf(ly.lunarMonths[k]);
        if (span.first <= dayNumber && dayNumber < span.last) {
            return k;
        }
    }
    return -1;
}

// Solar-term number of the term whose date is the given day number, or -1.
int TermOnDay(const LunarYear& ly, int dayNumber)
{
    for (int i = 0; i < kTermCount; ++i) {
        if (DayNumber(ly.terms[i]) == dayNumber) {
            return TermNumberOfEntry(i);
        }
    }
    return -1;
}

// The solar term shown on a day, with the historical overrides: the published
// calendars of 1928 put the summer solstice on 06-21 (computed: just after
// midnight of 06-22, UTC+8), and the winter solstice of 1951, computed at
// 00:00:08 on 12-23, is shown on 12-23 and not on 12-22.
int TermShownOnDay(const LunarYear& ly, int month, int day, int dayNumber)
{
    if (ly.year < 1960) {
        if (ly.year == 1928 && month == 6 && day == 21) {
            return TermOnDay(ly, dayNumber + 1);
        }
        if (ly.year == 1928 && month == 6 && day == 22) {
            return -1;
        }
        if (ly.year == 1951 && month == 12 && day == 22) {
            return -1;
        }
        if (ly.year == 1951 && month == 12 && day == 23) {
            return 18;  // 冬至
        }
    }
    return TermOnDay(ly, dayNumber);
}

// Fills one Gregorian month; false when some day lies in none of the lunar
// months (a broken build).
bool BuildSolarMonth(LunarYear& ly, int month)
{
    SolarMonth& sm = ly.months[month - 1];
    sm.month = month;
    sm.firstWeekday = DayOfWeek(ly.year, month, 1);
    sm.days = DaysInMonth(ly.year, month);

    const double j1 = JulianDay(ly.year, month, 1, 0, 0, 1.0);
    const double j15 = JulianDay(ly.year, month, 15, 0, 0, 1.0);
    const double jLast = JulianDay(ly.year, month, sm.days, 0, 0, 1.0);
    for (int i = 0; i < kTermCount; ++i) {
        const double t = ly.terms[i];
        if (sm.term1Index < 0 && j1 < t && t < j15) {
            sm.term1 = t;
            sm.term1Index = TermNumberOfEntry(i);
        } else if (sm.term2Index < 0 && j15 < t && t < jLast) {
            sm.term2 = t;
            sm.term2Index = TermNumberOfEntry(i);
        }
    }

    bool complete = true;
    for (int d = 1; d <= sm.days; ++d) {
        CalendarDay& cd = sm.dayList[d - 1];
        const int today = DayNumber(JulianDay(ly.year, month, d, 0, 0, 1.0));
        cd.day = d;
        cd.weekday = (d - 1 + sm.firstWeekday) % 7;
        int k = LunarMonthIndexOfDay(ly, today);
        if (k < 0) {
            complete = false;
            k = 0;
        }
        const LunarMonth& lm = ly.lunarMonths[k];
        cd.lunarMonth = k;
        const int computedSpan = DayNumber(lm.end) - DayNumber(lm.start);
        cd.lunarDay = today - DayNumber(lm.start) + (computedSpan < lm.days ? 1 : 0);
        cd.termIndex = TermShownOnDay(ly, month, d, today);
    }
    return complete;
}

}  // namespace

bool BuildLunarYear(LunarYear& ly, int year)
{
    ly = LunarYear{};
    if (year < kFirstCalendarYear || year > kLastCalendarYear) {
        return false;
    }
    ly.year = year;

    ComputeTerms(year, ly.terms);
    ComputeNewMoons(ly.terms[0], ly.newMoons);

    BuildLunarMonths(ly);
    NumberLeapMonth(ly);

    bool ok = true;
    for (int m = 1; m <= 12; ++m) {
        ok = BuildSolarMonth(ly, m) && ok;
    }
    ly.valid = ok;
    return ok;
}

const SolarMonth& GetSolarMonth(const LunarYear& ly, int month)
{
    if (month < 1 || month > 12) {
        month = 1;
    }
    return ly.months[month - 1];
}

const LunarMonth& GetLunarMonth(const LunarYear& ly, int index)
{
    if (index < 0 || index >= kLunarMonthCount) {
        index = 0;
    }
    return ly.lunarMonths[index];
}

const CalendarDay& GetCalendarDay(const SolarMonth& sm, int day)
{
    if (day < 1 || day > sm.days || day > static_cast<int>(sm.dayList.size())) {
        day = 1;
    }
    return sm.dayList[day - 1];
}

const LunarMonth& FindLunarMonth(const LunarYear& ly, double jdBeijing)
{
    const int k = LunarMonthIndexOfDay(ly, DayNumber(jdBeijing));
    return ly.lunarMonths[k < 0 ? 0 : k];
}

std::optional<MonthDay> SpringStartDate(const LunarYear& ly)
{
    if (!ly.valid) {
        return std::nullopt;
    }
    const DateTime t = CalendarDate(ly.terms[3]);
    return MonthDay{t.month, t.day};
}

int LunarYearNumber(const LunarYear& ly, int month, int day)
{
    // The Spring Festival: walking from 1 January, the first day in a (not
    // leap) first month.
    int walked = 0;
    for (const SolarMonth& sm : ly.months) {
        for (int d = 1; d <= sm.days && walked < 365; ++d, ++walked) {
            const LunarMonth& lm = GetLunarMonth(ly, GetCalendarDay(sm, d).lunarMonth);
            if (lm.number == 1 && lm.leap == 0) {
                const bool festivalAfterSelected = sm.month > month || (sm.month == month && d > day);
                return festivalAfterSelected ? ly.year - 1 : ly.year;
            }
        }
    }
    return ly.year;
}

}  // namespace cal
