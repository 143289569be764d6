// The perpetual calendar dialog's rules: spins across year boundaries and
// the range ends, double-hours, and the moon line of the read-out.
#include <gtest/gtest.h>

#include "calendar/calendar_navigation.h"
#include "calendar/moon_phase.h"

using namespace cal;

TEST(CalendarSpins, MonthSpinWrapsAcrossYears)
{
    EXPECT_EQ(AfterMonthSpin(13, {2025, 12}), (YearMonth{2026, 1}));
    EXPECT_EQ(AfterMonthSpin(0, {2025, 1}), (YearMonth{2024, 12}));
    EXPECT_EQ(AfterMonthSpin(7, {2025, 6}), (YearMonth{2025, 7}));
    EXPECT_EQ(AfterMonthSpin(1, {2025, 2}), (YearMonth{2025, 1}));
}

TEST(CalendarSpins, MonthSpinStopsAtTheRangeEnds)
{
    EXPECT_EQ(AfterMonthSpin(13, {2100, 12}), (YearMonth{2100, 12}));
    EXPECT_EQ(AfterMonthSpin(0, {1901, 1}), (YearMonth{1901, 1}));
    EXPECT_EQ(AfterMonthSpin(14, {2000, 5}), (YearMonth{2000, 5}));
    EXPECT_EQ(AfterMonthSpin(-1, {2000, 5}), (YearMonth{2000, 5}));
}

TEST(CalendarSpins, YearSpinKeepsToTheRange)
{
    EXPECT_EQ(AfterYearSpin(2026, {2025, 3}), (YearMonth{2026, 3}));
    EXPECT_EQ(AfterYearSpin(1901, {1902, 3}), (YearMonth{1901, 3}));
    EXPECT_EQ(AfterYearSpin(1900, {1901, 3}), (YearMonth{1901, 3}));
    EXPECT_EQ(AfterYearSpin(2101, {2100, 3}), (YearMonth{2100, 3}));
    EXPECT_EQ(AfterYearSpin(0, {2000, 3}), (YearMonth{2000, 3}));
}

TEST(CalendarDoubleHour, IndexOfTimeOfDay)
{
    EXPECT_EQ(DoubleHourIndex(0), 0);
    EXPECT_EQ(DoubleHourIndex(3599), 0);
    EXPECT_EQ(DoubleHourIndex(3600), 1);      // 01:00
    EXPECT_EQ(DoubleHourIndex(3 * 3600 - 1), 1);
    EXPECT_EQ(DoubleHourIndex(3 * 3600), 2);
    EXPECT_EQ(DoubleHourIndex(12 * 3600), 6);  // 12:00 in 11:00～12:59
    EXPECT_EQ(DoubleHourIndex(23 * 3600 - 1), 11);
    EXPECT_EQ(DoubleHourIndex(23 * 3600), 12);
    EXPECT_EQ(DoubleHourIndex(86399), 12);
    EXPECT_EQ(DoubleHourIndex(86400), 0);
    EXPECT_EQ(DoubleHourIndex(-1), 12);
}

TEST(CalendarMoonLine, ArrowAndRounding)
{
    EXPECT_EQ(MoonLine(0.25, 0.1234), L"凌晨零时月面可见12.4%↑");
    EXPECT_EQ(MoonLine(0.5, 1.0), L"凌晨零时月面可见100.0%");
    EXPECT_EQ(MoonLine(0.5001, 0.99999), L"凌晨零时月面可见100.0%");
    EXPECT_EQ(MoonLine(0.7, 0.3456), L"凌晨零时月面可见34.6%↓");
    EXPECT_EQ(MoonLine(0.0, 0.0), L"凌晨零时月面可见0.1%↑");
}

TEST(CalendarMoonLine, ForADateFromTheMoonPhase)
{
    // The full moon fell on 14 January 2025, 06:27 Beijing time: on the 15th the
    // moon wanes, nearly full.
    double k = 0.0;
    const double p = MoonPhaseForDate(2025, 1, 15, &k);
    const std::wstring line = MoonLine(p, k);
    EXPECT_NE(line.find(L"↓"), std::wstring::npos);
    EXPECT_GT(k, 0.95);
}
