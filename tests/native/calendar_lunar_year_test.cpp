// The lunar calendar of 1901..2100 against the Chinese calendar as published
// (Spring Festival dates, leap months, the historical cases, well-known solar
// term days), the invariants that must hold over the whole range, and the
// fallbacks for bad input.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "calendar/lunar_year.h"
#include "calendar/sun_moon.h"

namespace {

using cal::CalendarDay;
using cal::LunarMonth;
using cal::LunarYear;

const LunarYear& Year(int year)
{
    static std::vector<LunarYear> years = [] {
        std::vector<LunarYear> v(cal::kLastCalendarYear - cal::kFirstCalendarYear + 1);
        for (int y = cal::kFirstCalendarYear; y <= cal::kLastCalendarYear; ++y) {
            cal::BuildLunarYear(v[y - cal::kFirstCalendarYear], y);
        }
        return v;
    }();
    return years.at(year - cal::kFirstCalendarYear);
}

// What a calendar shows for one Gregorian day.
struct LunarDate {
    int number;    // lunar month 1..12
    bool leap;
    int day;       // 1..30
    int term;      // solar-term number or -1
};

LunarDate On(int year, int month, int day)
{
    const LunarYear& ly = Year(year);
    const CalendarDay& cd = cal::GetCalendarDay(cal::GetSolarMonth(ly, month), day);
    const LunarMonth& lm = cal::GetLunarMonth(ly, cd.lunarMonth);
    return LunarDate{lm.number, lm.leap != 0, cd.lunarDay + 1, cd.termIndex};
}

std::string Iso(int y, int m, int d)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
    return buf;
}

// ---------------------------------------------------------------------------
// Published facts.

// The Spring Festival (正月初一) as published, 1901..2094.
constexpr const char* kSpringFestivals[] = {
    "1901-02-19", "1902-02-08", "1903-01-29", "1904-02-16", "1905-02-04", "1906-01-25", "1907-02-13",
    "1908-02-02", "1909-01-22", "1910-02-10", "1911-01-30", "1912-02-18", "1913-02-06", "1914-01-26",
    "1915-02-14", "1916-02-03", "1917-01-23", "1918-02-11", "1919-02-01", "1920-02-20", "1921-02-08",
    "1922-01-28", "1923-02-16", "1924-02-05", "1925-01-24", "1926-02-13", "1927-02-02", "1928-01-23",
    "1929-02-10", "1930-01-30", "1931-02-17", "1932-02-06", "1933-01-26", "1934-02-14", "1935-02-04",
    "1936-01-24", "1937-02-11", "1938-01-31", "1939-02-19", "1940-02-08", "1941-01-27", "1942-02-15",
    "1943-02-05", "1944-01-25", "1945-02-13", "1946-02-02", "1947-01-22", "1948-02-10", "1949-01-29",
    "1950-02-17", "1951-02-06", "1952-01-27", "1953-02-14", "1954-02-03", "1955-01-24", "1956-02-12",
    "1957-01-31", "1958-02-18", "1959-02-08", "1960-01-28", "1961-02-15", "1962-02-05", "1963-01-25",
    "1964-02-13", "1965-02-02", "1966-01-21", "1967-02-09", "1968-01-30", "1969-02-17", "1970-02-06",
    "1971-01-27", "1972-02-15", "1973-02-03", "1974-01-23", "1975-02-11", "1976-01-31", "1977-02-18",
    "1978-02-07", "1979-01-28", "1980-02-16", "1981-02-05", "1982-01-25", "1983-02-13", "1984-02-02",
    "1985-02-20", "1986-02-09", "1987-01-29", "1988-02-17", "1989-02-06", "1990-01-27", "1991-02-15",
    "1992-02-04", "1993-01-23", "1994-02-10", "1995-01-31", "1996-02-19", "1997-02-07", "1998-01-28",
    "1999-02-16", "2000-02-05", "2001-01-24", "2002-02-12", "2003-02-01", "2004-01-22", "2005-02-09",
    "2006-01-29", "2007-02-18", "2008-02-07", "2009-01-26", "2010-02-14", "2011-02-03", "2012-01-23",
    "2013-02-10", "2014-01-31", "2015-02-19", "2016-02-08", "2017-01-28", "2018-02-16", "2019-02-05",
    "2020-01-25", "2021-02-12", "2022-02-01", "2023-01-22", "2024-02-10", "2025-01-29", "2026-02-17",
    "2027-02-06", "2028-01-26", "2029-02-13", "2030-02-03", "2031-01-23", "2032-02-11", "2033-01-31",
    "2034-02-19", "2035-02-08", "2036-01-28", "2037-02-15", "2038-02-04", "2039-01-24", "2040-02-12",
    "2041-02-01", "2042-01-22", "2043-02-10", "2044-01-30", "2045-02-17", "2046-02-06", "2047-01-26",
    "2048-02-14", "2049-02-02", "2050-01-23", "2051-02-11", "2052-02-01", "2053-02-19", "2054-02-08",
    "2055-01-28", "2056-02-15", "2057-02-04", "2058-01-24", "2059-02-12", "2060-02-02", "2061-01-21",
    "2062-02-09", "2063-01-29", "2064-02-17", "2065-02-05", "2066-01-26", "2067-02-14", "2068-02-03",
    "2069-01-23", "2070-02-11", "2071-01-31", "2072-02-19", "2073-02-07", "2074-01-27", "2075-02-15",
    "2076-02-05", "2077-01-24", "2078-02-12", "2079-02-02", "2080-01-22", "2081-02-09", "2082-01-29",
    "2083-02-17", "2084-02-06", "2085-01-26", "2086-02-14", "2087-02-03", "2088-01-24", "2089-02-10",
    "2090-01-30", "2091-02-18", "2092-02-07", "2093-01-27", "2094-02-15",
};

// Leap months as published: lunar year and the number of the leap month.
// Every other lunar year from 1901 to 2099 has none.
struct PublishedLeap {
    int year;
    int number;
};

constexpr PublishedLeap kLeapMonths[] = {
    {1903, 5},  {1906, 4},  {1909, 2},  {1911, 6},  {1914, 5},  {1917, 2},  {1919, 7},  {1922, 5},
    {1925, 4},  {1928, 2},  {1930, 6},  {1933, 5},  {1936, 3},  {1938, 7},  {1941, 6},  {1944, 4},
    {1947, 2},  {1949, 7},  {1952, 5},  {1955, 3},  {1957, 8},  {1960, 6},  {1963, 4},  {1966, 3},
    {1968, 7},  {1971, 5},  {1974, 4},  {1976, 8},  {1979, 6},  {1982, 4},  {1984, 10}, {1987, 6},
    {1990, 5},  {1993, 3},  {1995, 8},  {1998, 5},  {2001, 4},  {2004, 2},  {2006, 7},  {2009, 5},
    {2012, 4},  {2014, 9},  {2017, 6},  {2020, 4},  {2023, 2},  {2025, 6},  {2028, 5},  {2031, 3},
    {2033, 11}, {2036, 6},  {2039, 5},  {2042, 2},  {2044, 7},  {2047, 5},  {2050, 3},  {2052, 8},
    {2055, 6},  {2058, 4},  {2061, 3},  {2063, 7},  {2066, 5},  {2069, 4},  {2071, 8},  {2074, 6},
    {2077, 4},  {2080, 3},  {2082, 7},  {2085, 5},  {2088, 4},  {2090, 8},  {2093, 6},  {2096, 4},
    {2099, 2},
};

// The first day of a not-leap first month within a Gregorian year, "" if none.
std::string SpringFestivalOf(int year)
{
    for (int m = 1; m <= 3; ++m) {
        for (int d = 1; d <= cal::DaysInMonth(year, m); ++d) {
            const LunarDate ld = On(year, m, d);
            if (ld.number == 1 && !ld.leap && ld.day == 1) {
                return Iso(year, m, d);
            }
        }
    }
    return "";
}

TEST(CalendarPublished, SpringFestivalDates)
{
    int mismatches = 0;
    for (const char* date : kSpringFestivals) {
        const int year = std::stoi(std::string(date, 4));
        const std::string found = SpringFestivalOf(year);
        EXPECT_EQ(found, date);
        mismatches += found != date;
    }
    RecordProperty("years_checked", static_cast<int>(std::size(kSpringFestivals)));
    RecordProperty("mismatches", mismatches);
}

// Number of the leap month of lunar year Y (from its Spring Festival to the
// next), 0 when there is none; -1 when it has more than one.
int LeapMonthOfLunarYear(int lunarYear)
{
    int found = 0;
    bool inYear = false;
    for (int y = lunarYear; y <= lunarYear + 1 && y <= cal::kLastCalendarYear; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= cal::DaysInMonth(y, m); ++d) {
                const LunarDate ld = On(y, m, d);
                if (ld.number == 1 && !ld.leap && ld.day == 1) {
                    if (inYear) {
                        return found;
                    }
                    inYear = true;
                }
                if (inYear && ld.leap && ld.day == 1) {
                    found = found == 0 ? ld.number : -1;
                }
            }
        }
    }
    return found;
}

TEST(CalendarPublished, LeapMonths)
{
    for (int year = 1901; year <= 2099; ++year) {
        int expected = 0;
        for (const PublishedLeap& p : kLeapMonths) {
            if (p.year == year) {
                expected = p.number;
            }
        }
        EXPECT_EQ(LeapMonthOfLunarYear(year), expected) << "lunar year " << year;
    }
}

TEST(CalendarPublished, LeapEleventhMonthOf2033)
{
    // The famous hard case: 闰十一月 from 2033-12-22, 冬月 from 2033-11-22,
    // and the Spring Festival of 2034 on 02-19.
    const LunarDate winterMonth = On(2033, 11, 22);
    EXPECT_EQ(winterMonth.number, 11);
    EXPECT_FALSE(winterMonth.leap);
    EXPECT_EQ(winterMonth.day, 1);
    const LunarDate leap = On(2033, 12, 22);
    EXPECT_EQ(leap.number, 11);
    EXPECT_TRUE(leap.leap);
    EXPECT_EQ(leap.day, 1);
    EXPECT_EQ(SpringFestivalOf(2034), "2034-02-19");
    // The two years agree on it: the last record of 2033 and the second of 2034.
    EXPECT_EQ(Year(2033).lunarMonths[13].leap, 1);
    EXPECT_EQ(Year(2033).lunarMonths[13].number, 11);
    EXPECT_EQ(Year(2034).lunarMonths[1].leap, 1);
    EXPECT_EQ(Year(2034).lunarMonths[1].number, 11);
    EXPECT_EQ(Year(2034).lunarMonths[2].number, 12);
    EXPECT_EQ(Year(2034).lunarMonths[3].number, 1);
}

TEST(CalendarPublished, Year1914TenthMonthBeginsOn17November)
{
    // New moon at 00:01:48 on 11-18 (UTC+8); calendars of the time used the
    // Beijing meridian, on which it fell on 11-17.
    const LunarDate first = On(1914, 11, 17);
    EXPECT_EQ(first.number, 10);
    EXPECT_EQ(first.day, 1);
    EXPECT_EQ(On(1914, 11, 16).number, 9);
    EXPECT_EQ(On(1914, 11, 16).day, 29);  // the ninth month has 29 days
    EXPECT_EQ(On(1914, 10, 19).number, 9);
    EXPECT_EQ(On(1914, 10, 19).day, 1);
    EXPECT_EQ(On(1914, 12, 16).day, 30);  // the tenth month has 30
    EXPECT_EQ(On(1914, 12, 17).day, 1);
}

TEST(CalendarPublished, Years1916And1920Corrections)
{
    // 1916: the Spring Festival on 02-03 (new moon 02-04 00:05 UTC+8).
    EXPECT_EQ(SpringFestivalOf(1916), "1916-02-03");
    EXPECT_EQ(On(1916, 2, 2).number, 12);
    EXPECT_EQ(On(1916, 2, 2).day, 29);
    // 1920: the tenth month from 11-10 (new moon 11-11 00:05 UTC+8).
    EXPECT_EQ(On(1920, 11, 10).number, 10);
    EXPECT_EQ(On(1920, 11, 10).day, 1);
    EXPECT_EQ(On(1920, 11, 9).number, 9);
    EXPECT_EQ(On(1920, 11, 9).day, 29);
    EXPECT_EQ(On(1920, 12, 9).day, 30);

    // The corrected months differ by one day from the computed spans.
    for (auto [year, index, delta] : {std::tuple{1916, 1, -1}, {1916, 2, +1}, {1920, 10, -1}, {1920, 11, +1},
                                      {1914, 11, -1}, {1914, 12, +1}}) {
        const LunarMonth& lm = Year(year).lunarMonths[index];
        const int span = cal::DayNumber(lm.end) - cal::DayNumber(lm.start);
        EXPECT_EQ(lm.days - span, delta) << year << " " << index;
    }
}

TEST(CalendarPublished, Year1928SummerSolsticeOn21June)
{
    EXPECT_EQ(On(1928, 6, 21).term, 6);
    EXPECT_EQ(On(1928, 6, 22).term, -1);
}

TEST(CalendarPublished, Year1951WinterSolsticeOn23December)
{
    EXPECT_EQ(On(1951, 12, 23).term, 18);
    EXPECT_EQ(On(1951, 12, 22).term, -1);
    int solstices = 0;
    for (int d = 1; d <= 31; ++d) {
        solstices += On(1951, 12, d).term == 18;
    }
    EXPECT_EQ(solstices, 1);
}

struct PublishedTermDay {
    int year;
    int month;
    int day;
    int term;
};

// Well-known solar-term days (Beijing dates).
constexpr PublishedTermDay kTermDays[] = {
    // 清明, a public holiday
    {2016, 4, 4, 1}, {2017, 4, 4, 1}, {2018, 4, 5, 1}, {2019, 4, 5, 1}, {2020, 4, 4, 1}, {2021, 4, 4, 1},
    {2022, 4, 5, 1}, {2023, 4, 5, 1}, {2024, 4, 4, 1}, {2025, 4, 4, 1},
    // 立春
    {2016, 2, 4, 21}, {2017, 2, 3, 21}, {2018, 2, 4, 21}, {2019, 2, 4, 21}, {2020, 2, 4, 21}, {2021, 2, 3, 21},
    {2022, 2, 4, 21}, {2023, 2, 4, 21}, {2024, 2, 4, 21}, {2025, 2, 3, 21},
    // 冬至
    {2000, 12, 21, 18}, {2016, 12, 21, 18}, {2017, 12, 22, 18}, {2018, 12, 22, 18}, {2019, 12, 22, 18},
    {2020, 12, 21, 18}, {2021, 12, 21, 18}, {2022, 12, 22, 18}, {2023, 12, 22, 18}, {2024, 12, 21, 18},
    // 夏至 and 春分
    {2019, 6, 21, 6}, {2024, 6, 21, 6}, {2022, 3, 20, 0}, {2023, 3, 21, 0}, {2024, 3, 20, 0},
};

TEST(CalendarPublished, SolarTermDays)
{
    for (const PublishedTermDay& p : kTermDays) {
        EXPECT_EQ(On(p.year, p.month, p.day).term, p.term) << Iso(p.year, p.month, p.day);
    }
}

TEST(CalendarPublished, NewMoonOfJanuary2001)
{
    // The Spring Festival of 2001 is the new moon of 2001-01-24.
    const LunarDate ld = On(2001, 1, 24);
    EXPECT_EQ(ld.number, 1);
    EXPECT_EQ(ld.day, 1);
}

// ---------------------------------------------------------------------------
// Invariants over the whole range.

TEST(CalendarWholeRange, EveryYearBuildsWithSoundMonths)
{
    for (int year = cal::kFirstCalendarYear; year <= cal::kLastCalendarYear; ++year) {
        const LunarYear& ly = Year(year);
        ASSERT_TRUE(ly.valid) << year;
        EXPECT_EQ(ly.year, year);
        int leaps = 0;
        for (int k = 0; k < 14; ++k) {
            const LunarMonth& lm = ly.lunarMonths[k];
            EXPECT_EQ(lm.index, k);
            EXPECT_TRUE(lm.days == 29 || lm.days == 30) << year << " month " << k << ": " << lm.days;
            EXPECT_GE(lm.number, 1);
            EXPECT_LE(lm.number, 12);
            EXPECT_EQ(lm.start, ly.newMoons[k]);
            EXPECT_EQ(lm.end, ly.newMoons[k + 1]);
            leaps += lm.leap;
        }
        EXPECT_LE(leaps, 1) << year;
        // The winter solstice lies in month 11 (entry 0 and the month holding entry 24).
        EXPECT_EQ(ly.lunarMonths[0].number, 11) << year;
        EXPECT_LE(cal::DayNumber(ly.newMoons[0]), cal::DayNumber(ly.terms[0])) << year;
        EXPECT_GT(cal::DayNumber(ly.newMoons[1]), cal::DayNumber(ly.terms[0])) << year;
        const LunarMonth& holdingSolstice = cal::FindLunarMonth(ly, ly.terms[24]);
        EXPECT_EQ(holdingSolstice.number, 11) << year;
        EXPECT_EQ(holdingSolstice.leap, 0) << year;
        // Consecutive terms and new moons.
        for (int i = 1; i < 25; ++i) {
            const double gap = ly.terms[i] - ly.terms[i - 1];
            EXPECT_GT(gap, 14.0) << year;
            EXPECT_LT(gap, 16.0) << year;
        }
        for (int i = 1; i < 15; ++i) {
            const double gap = ly.newMoons[i] - ly.newMoons[i - 1];
            EXPECT_GT(gap, 29.2) << year;
            EXPECT_LT(gap, 29.9) << year;
        }
    }
}

TEST(CalendarWholeRange, DaysAdvanceAndMonthsFollowEachOther)
{
    LunarDate previous = On(1901, 1, 1);
    int monthLength = previous.day;  // days seen of the current lunar month
    bool firstMonth = true;
    int lunarYears = 0;
    int monthsInYear = -1;  // -1 until the first Spring Festival
    int leapsInYear = 0;
    int day = 0;
    for (int y = 1901; y <= 2100; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= cal::DaysInMonth(y, m); ++d) {
                if (++day == 1) {
                    continue;
                }
                const LunarDate now = On(y, m, d);
                const std::string where = Iso(y, m, d);
                if (now.day != 1) {
                    ASSERT_EQ(now.day, previous.day + 1) << where;
                    ASSERT_EQ(now.number, previous.number) << where;
                    ASSERT_EQ(now.leap, previous.leap) << where;
                    ++monthLength;
                    previous = now;
                    continue;
                }
                // A new month: the last one had 29 or 30 days (the first, seen
                // only in part, is not judged) ...
                if (!firstMonth) {
                    ASSERT_TRUE(monthLength == 29 || monthLength == 30) << where << ": " << monthLength;
                }
                ASSERT_TRUE(previous.day == 29 || previous.day == 30) << where;
                firstMonth = false;
                monthLength = 1;
                // ... and the new one is its successor or its leap month.
                if (now.leap) {
                    ASSERT_FALSE(previous.leap) << where;
                    ASSERT_EQ(now.number, previous.number) << where;
                } else {
                    ASSERT_EQ(now.number, previous.number % 12 + 1) << where;
                }
                // Lunar years: 12 months, or 13 with exactly one leap.
                if (now.number == 1 && !now.leap) {
                    if (monthsInYear >= 0) {
                        ASSERT_TRUE((monthsInYear == 12 && leapsInYear == 0) ||
                                    (monthsInYear == 13 && leapsInYear == 1))
                            << "lunar year ending " << where << ": " << monthsInYear << " months, "
                            << leapsInYear << " leap";
                        ++lunarYears;
                    }
                    monthsInYear = 0;
                    leapsInYear = 0;
                }
                if (monthsInYear >= 0) {
                    ++monthsInYear;
                    leapsInYear += now.leap;
                }
                previous = now;
            }
        }
    }
    EXPECT_EQ(lunarYears, 199);
}

TEST(CalendarWholeRange, LunarDayMatchesTheRecordsAndNewMoons)
{
    for (int y = 1901; y <= 2100; ++y) {
        const LunarYear& ly = Year(y);
        for (int m = 1; m <= 12; ++m) {
            const cal::SolarMonth& sm = ly.months[m - 1];
            ASSERT_EQ(sm.month, m);
            ASSERT_EQ(sm.days, cal::DaysInMonth(y, m));
            ASSERT_EQ(sm.firstWeekday, cal::DayOfWeek(y, m, 1));
            for (int d = 1; d <= sm.days; ++d) {
                const CalendarDay& cd = sm.dayList[d - 1];
                ASSERT_EQ(cd.day, d);
                ASSERT_EQ(cd.weekday, cal::DayOfWeek(y, m, d));
                ASSERT_GE(cd.lunarDay, 0);
                ASSERT_LT(cd.lunarDay, ly.lunarMonths[cd.lunarMonth].days) << Iso(y, m, d);
                // A lunar month begins on the date of its new moon, except
                // where a historical correction moved it.
                if (cd.lunarDay == 0 && y != 1914 && y != 1916 && y != 1920) {
                    const double nm = ly.lunarMonths[cd.lunarMonth].start;
                    ASSERT_EQ(cal::DayNumber(nm), cal::DayNumber(cal::JulianDay(y, m, d, 12, 0, 0.0)))
                        << Iso(y, m, d);
                }
            }
        }
    }
}

TEST(CalendarWholeRange, EachSolarTermOnceAYearInOrder)
{
    int expected = -1;
    for (int y = 1901; y <= 2100; ++y) {
        int count = 0;
        for (int m = 1; m <= 12; ++m) {
            const cal::SolarMonth& sm = Year(y).months[m - 1];
            // Minor terms early in the month, major terms late: both windows filled.
            ASSERT_GE(sm.term1Index, 0) << y << "-" << m;
            ASSERT_GE(sm.term2Index, 0) << y << "-" << m;
            ASSERT_EQ(sm.term1Index % 2, 1) << y << "-" << m;
            ASSERT_EQ(sm.term2Index % 2, 0) << y << "-" << m;
            for (int d = 1; d <= sm.days; ++d) {
                const int term = sm.dayList[d - 1].termIndex;
                if (term < 0) {
                    continue;
                }
                if (expected >= 0) {
                    ASSERT_EQ(term, expected) << Iso(y, m, d);
                }
                expected = (term + 1) % 24;
                ++count;
            }
        }
        ASSERT_EQ(count, 24) << y;
    }
}

TEST(CalendarWholeRange, NewtonCapIsNeverWhatStopsASearch)
{
    cal::testing::ResetSearchStats();
    LunarYear ly;
    for (int y = cal::kFirstCalendarYear; y <= cal::kLastCalendarYear; ++y) {
        ASSERT_TRUE(cal::BuildLunarYear(ly, y));
        for (int m = 1; m <= 12; ++m) {
            (void)cal::FormatMoonPhases(cal::GetSolarMonth(ly, m), ly);  // the full-moon searches
        }
    }
    const cal::testing::SearchStats stats = cal::testing::GetSearchStats();
    RecordProperty("searches", std::to_string(stats.searches));
    RecordProperty("max_iterations", stats.maxIterations);
    RecordProperty("mean_iterations", std::to_string(static_cast<double>(stats.iterations) / stats.searches));
    std::printf("Newton searches: %lld, most steps in one: %d (cap %d), mean %.2f\n", stats.searches,
                stats.maxIterations, cal::testing::kMaxNewtonIterations,
                static_cast<double>(stats.iterations) / stats.searches);
    EXPECT_GT(stats.searches, 200 * 40);
    EXPECT_EQ(stats.stoppedByCap, 0);
    EXPECT_LT(stats.maxIterations, cal::testing::kMaxNewtonIterations / 2);
}

// ---------------------------------------------------------------------------
// Edge cases of the month records.

TEST(CalendarLeapMonth, CarriesThePredecessorsNumber)
{
    // 2023 has 闰二月: records 11, 12, 1, 2, leap 2, 3, ...
    const LunarYear& ly = Year(2023);
    int leapIndex = -1;
    for (int k = 0; k < 14; ++k) {
        if (ly.lunarMonths[k].leap) {
            EXPECT_EQ(leapIndex, -1);
            leapIndex = k;
        }
    }
    ASSERT_EQ(leapIndex, 4);
    EXPECT_EQ(ly.lunarMonths[3].number, 2);
    EXPECT_EQ(ly.lunarMonths[4].number, 2);
    EXPECT_EQ(ly.lunarMonths[5].number, 3);
    EXPECT_EQ(ly.lunarMonths[13].number, 11);  // one lower than without the leap
}

TEST(CalendarLeapMonth, RightAfterTheWinterSolsticeMonth)
{
    const LunarYear& ly = Year(2034);
    const int expected[] = {11, 11, 12, 1, 2, 3};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(ly.lunarMonths[k].number, expected[k]) << k;
        EXPECT_EQ(ly.lunarMonths[k].leap, k == 1 ? 1 : 0) << k;
    }
}

TEST(CalendarLookups, FallbacksForBadIndices)
{
    const LunarYear& ly = Year(2024);
    EXPECT_EQ(&cal::GetSolarMonth(ly, 0), &ly.months[0]);
    EXPECT_EQ(&cal::GetSolarMonth(ly, 13), &ly.months[0]);
    EXPECT_EQ(&cal::GetSolarMonth(ly, 12), &ly.months[11]);
    EXPECT_EQ(&cal::GetLunarMonth(ly, -1), &ly.lunarMonths[0]);
    EXPECT_EQ(&cal::GetLunarMonth(ly, 14), &ly.lunarMonths[0]);
    EXPECT_EQ(&cal::GetLunarMonth(ly, 13), &ly.lunarMonths[13]);
    const cal::SolarMonth& feb = cal::GetSolarMonth(ly, 2);
    EXPECT_EQ(&cal::GetCalendarDay(feb, 29), &feb.dayList[28]);
    EXPECT_EQ(&cal::GetCalendarDay(feb, 30), &feb.dayList[0]);
    EXPECT_EQ(&cal::GetCalendarDay(feb, 0), &feb.dayList[0]);
    EXPECT_EQ(&cal::FindLunarMonth(ly, 0.0), &ly.lunarMonths[0]);
    EXPECT_EQ(cal::FindLunarMonth(ly, cal::JulianDay(2024, 2, 10, 12, 0, 0.0)).number, 1);
}

TEST(CalendarLookups, SpringStartDate)
{
    const auto start = cal::SpringStartDate(Year(2025));
    ASSERT_TRUE(start.has_value());
    EXPECT_EQ(start->month, 2);
    EXPECT_EQ(start->day, 3);
    EXPECT_FALSE(cal::SpringStartDate(LunarYear{}).has_value());
}

TEST(CalendarLookups, LunarYearNumber)
{
    EXPECT_EQ(cal::LunarYearNumber(Year(2025), 1, 28), 2024);
    EXPECT_EQ(cal::LunarYearNumber(Year(2025), 1, 29), 2025);
    EXPECT_EQ(cal::LunarYearNumber(Year(2025), 12, 31), 2025);
}

TEST(CalendarBuild, YearsOutsideTheRangeAreRefused)
{
    for (int year : {1900, 2101, 0, -5, 100000}) {
        LunarYear ly;
        ly.year = 1234;
        EXPECT_FALSE(cal::BuildLunarYear(ly, year)) << year;
        EXPECT_FALSE(ly.valid);
        EXPECT_EQ(ly.year, -1);
        // Look-ups and texts on the empty object do not crash.
        (void)cal::GetCalendarDay(cal::GetSolarMonth(ly, 5), 5);
        (void)cal::FindLunarMonth(ly, 2451545.0);
        EXPECT_FALSE(cal::SpringStartDate(ly).has_value());
        (void)cal::FormatDayInfo(ly, 5, 5, 3);
        (void)cal::DayLabel(ly, 5, 5);
        (void)cal::FormatMoonPhases(cal::GetSolarMonth(ly, 5), ly);
        (void)cal::FormatSolarTerms(cal::GetSolarMonth(ly, 5));
    }
    LunarYear ly;
    EXPECT_TRUE(cal::BuildLunarYear(ly, 1901));
    EXPECT_TRUE(cal::BuildLunarYear(ly, 2100));
    EXPECT_TRUE(ly.valid);
}

TEST(CalendarBuild, RebuildingGivesTheSameYear)
{
    LunarYear a;
    LunarYear b;
    ASSERT_TRUE(cal::BuildLunarYear(a, 2033));
    ASSERT_TRUE(cal::BuildLunarYear(b, 1999));
    ASSERT_TRUE(cal::BuildLunarYear(b, 2033));  // reuse of a filled object
    EXPECT_EQ(a.terms, b.terms);
    EXPECT_EQ(a.newMoons, b.newMoons);
    for (int k = 0; k < 14; ++k) {
        EXPECT_EQ(a.lunarMonths[k].number, b.lunarMonths[k].number);
        EXPECT_EQ(a.lunarMonths[k].leap, b.lunarMonths[k].leap);
        EXPECT_EQ(a.lunarMonths[k].days, b.lunarMonths[k].days);
    }
}

}  // namespace
