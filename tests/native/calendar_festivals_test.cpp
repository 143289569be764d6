// Festivals, the nine periods after the winter solstice, the dog days, the
// plum rains and the cell labels.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "calendar/lunar_year.h"

namespace {

using cal::LunarYear;

const LunarYear& Year(int year)
{
    static std::vector<LunarYear> years(cal::kLastCalendarYear - cal::kFirstCalendarYear + 1);
    LunarYear& ly = years.at(year - cal::kFirstCalendarYear);
    if (!ly.valid) {
        cal::BuildLunarYear(ly, year);
    }
    return ly;
}

// Day stem (0 = 甲) and branch (0 = 子) by the astronomers' rule,
// (JD at noon + 49) mod 60.
int ReferenceCycle(int dayNumber)
{
    return static_cast<int>((static_cast<long long>(dayNumber) + 49) % 60);
}

int DayNumberOf(int y, int m, int d)
{
    return cal::DayNumber(cal::JulianDay(y, m, d, 12, 0, 0.0));
}

struct Date {
    int month;
    int day;
};

// The days of months first..last of a year whose value of f is `value`.
template <typename F>
std::vector<Date> DaysWhere(int year, int first, int last, F f, int value)
{
    std::vector<Date> found;
    for (int m = first; m <= last; ++m) {
        for (int d = 1; d <= cal::DaysInMonth(year, m); ++d) {
            if (f(Year(year), m, d) == value) {
                found.push_back({m, d});
            }
        }
    }
    return found;
}

TEST(CalendarFestivals, GregorianTable)
{
    std::wstring_view name;
    EXPECT_TRUE(cal::GregorianFestival(10, 1, &name));
    EXPECT_EQ(name, L"国庆节");
    EXPECT_TRUE(cal::GregorianFestival(12, 25, &name));
    EXPECT_EQ(name, L"圣诞节");
    EXPECT_TRUE(cal::GregorianFestival(9, 10, nullptr));
    EXPECT_FALSE(cal::GregorianFestival(10, 2, &name));
    EXPECT_FALSE(cal::GregorianFestival(0, 0, &name));
    EXPECT_FALSE(cal::ShowsGregorianFestivals(1949, 9));
    EXPECT_TRUE(cal::ShowsGregorianFestivals(1949, 10));
    EXPECT_TRUE(cal::ShowsGregorianFestivals(1950, 1));
    EXPECT_FALSE(cal::ShowsGregorianFestivals(1901, 12));
}

TEST(CalendarFestivals, LunarTable)
{
    std::wstring_view name;
    EXPECT_TRUE(cal::LunarFestival(7, 15, &name));
    EXPECT_EQ(name, L"中元节");
    EXPECT_TRUE(cal::LunarFestival(7, 7, &name));
    EXPECT_EQ(name, L"七夕节");
    EXPECT_TRUE(cal::LunarFestival(12, 30, &name));
    EXPECT_EQ(name, L"除夕");
    EXPECT_FALSE(cal::LunarFestival(12, 29, &name));
    EXPECT_FALSE(cal::LunarFestival(13, 1, &name));
}

TEST(CalendarDayLabel, GregorianFestivalsFromOctober1949)
{
    EXPECT_EQ(cal::DayLabel(Year(1949), 10, 1), L"国庆节");
    EXPECT_NE(cal::DayLabel(Year(1949), 1, 1), L"元旦");
    EXPECT_EQ(cal::FormatDayInfo(Year(1949), 1, 1, 0).find(L"元旦"), std::wstring::npos);
    EXPECT_EQ(cal::DayLabel(Year(1950), 1, 1), L"元旦");
    EXPECT_NE(cal::FormatDayInfo(Year(1949), 10, 1, 0).find(L"，国庆节，"), std::wstring::npos);
}

TEST(CalendarDayLabel, LunarFestivals2024)
{
    EXPECT_EQ(cal::DayLabel(Year(2024), 2, 10), L"春节");
    EXPECT_EQ(cal::DayLabel(Year(2024), 2, 24), L"元宵节");
    EXPECT_EQ(cal::DayLabel(Year(2024), 6, 10), L"端午节");
    EXPECT_EQ(cal::DayLabel(Year(2024), 8, 10), L"七夕节");
    EXPECT_EQ(cal::DayLabel(Year(2024), 8, 18), L"中元节");
    EXPECT_EQ(cal::DayLabel(Year(2024), 9, 17), L"中秋节");
    EXPECT_EQ(cal::DayLabel(Year(2024), 2, 9), L"除夕");
}

TEST(CalendarDayLabel, NoNewYearsEveInAShortTwelfthMonth)
{
    // 2025-01-28 is 腊月廿九, the last day of a 29-day month.
    EXPECT_EQ(cal::DayLabel(Year(2025), 1, 28), L"廿九");
    // Over the whole range 除夕 appears exactly on the 30th of 30-day twelfth months.
    for (int y = 1901; y <= 2100; ++y) {
        const LunarYear& ly = Year(y);
        for (int m = 1; m <= 2; ++m) {
            for (int d = 1; d <= cal::DaysInMonth(y, m); ++d) {
                const cal::CalendarDay& cd = cal::GetCalendarDay(cal::GetSolarMonth(ly, m), d);
                const cal::LunarMonth& lm = cal::GetLunarMonth(ly, cd.lunarMonth);
                const bool eve = lm.number == 12 && !lm.leap && cd.lunarDay == 29 &&
                                 !(cal::ShowsGregorianFestivals(y, m) && cal::GregorianFestival(m, d));
                ASSERT_EQ(cal::DayLabel(ly, m, d) == L"除夕", eve) << y << "-" << m << "-" << d;
            }
        }
    }
}

TEST(CalendarDayLabel, LeapMonthDaysShowTheirNameButTheLineKeepsTheFestival)
{
    // 2023-03-22 begins 闰二月; 03-23 is 闰二月初二 (二月初二 would be 龙头节).
    EXPECT_EQ(cal::DayLabel(Year(2023), 3, 22), L"闰二月");
    EXPECT_EQ(cal::DayLabel(Year(2023), 3, 23), L"初二");
    EXPECT_NE(cal::FormatDayInfo(Year(2023), 3, 23, 0).find(L"龙头节"), std::wstring::npos);
    EXPECT_EQ(cal::DayLabel(Year(2023), 2, 21), L"龙头节");  // the ordinary 二月初二
}

TEST(CalendarDayLabel, MonthNamesOnFirstDays)
{
    EXPECT_EQ(cal::DayLabel(Year(2024), 3, 10), L"二月");
    EXPECT_EQ(cal::DayLabel(Year(2024), 12, 1), L"冬月");
    EXPECT_EQ(cal::DayLabel(Year(2024), 12, 31), L"腊月");
    EXPECT_EQ(cal::DayLabel(Year(2033), 12, 22), L"闰冬月");
    EXPECT_EQ(cal::DayLabel(Year(2024), 3, 13), L"初四");
}

TEST(CalendarDayLabel, BadArgumentsFallBack)
{
    // A bad month is taken as January, a day the month lacks as day 1.
    EXPECT_EQ(cal::DayLabel(Year(2024), 0, 5), cal::DayLabel(Year(2024), 1, 5));
    EXPECT_EQ(cal::DayLabel(Year(2024), 13, 1), cal::DayLabel(Year(2024), 1, 1));
    EXPECT_EQ(cal::DayLabel(Year(2024), 4, 31), cal::DayLabel(Year(2024), 4, 1));
    EXPECT_EQ(cal::DayLabel(Year(2024), 4, -3), cal::DayLabel(Year(2024), 4, 1));
}

TEST(CalendarNinePeriods, CountedFromTheWinterSolstice)
{
    // 冬至 2024-12-21: 一九 begins that day, 二九 on 12-30, 三九 on 2025-01-08.
    EXPECT_EQ(cal::DayLabel(Year(2024), 12, 21), L"冬至");
    EXPECT_EQ(cal::DayLabel(Year(2024), 12, 30), L"二九");
    EXPECT_EQ(cal::DayLabel(Year(2025), 1, 8), L"三九");
    const auto first = cal::NinePeriod(Year(2024), 12, 21);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->period, 1);
    EXPECT_EQ(first->day, 1);
    const auto late = cal::NinePeriod(Year(2025), 3, 10);  // the 80th day: 九九 day 8
    ASSERT_TRUE(late.has_value());
    EXPECT_EQ(late->period, 9);
    EXPECT_EQ(late->day, 8);
    EXPECT_TRUE(cal::NinePeriod(Year(2025), 3, 11).has_value());
    EXPECT_FALSE(cal::NinePeriod(Year(2025), 3, 12).has_value());  // day 82
    EXPECT_FALSE(cal::NinePeriod(Year(2024), 12, 20).has_value());
    EXPECT_FALSE(cal::NinePeriod(LunarYear{}, 1, 1).has_value());
}

TEST(CalendarDogDays, Published2023To2025)
{
    // 初伏, 中伏, 末伏 as published.
    struct Expected {
        int year;
        Date chu, zhong, mo;
    };
    for (const Expected& e : {Expected{2023, {7, 11}, {7, 21}, {8, 10}}, Expected{2024, {7, 15}, {7, 25}, {8, 14}},
                              Expected{2025, {7, 20}, {7, 30}, {8, 9}}}) {
        EXPECT_EQ(cal::DogDayStart(Year(e.year), e.chu.month, e.chu.day), 1) << e.year;
        EXPECT_EQ(cal::DogDayStart(Year(e.year), e.zhong.month, e.zhong.day), 2) << e.year;
        EXPECT_EQ(cal::DogDayStart(Year(e.year), e.mo.month, e.mo.day), 3) << e.year;
        EXPECT_EQ(cal::DayLabel(Year(e.year), e.chu.month, e.chu.day), L"初伏") << e.year;
        EXPECT_EQ(cal::DayLabel(Year(e.year), e.mo.month, e.mo.day), L"末伏") << e.year;
    }
}

TEST(CalendarDogDays, GengDaysCountedFromTheTermsEveryYear)
{
    int solsticeOnGeng = 0;
    for (int y = 1901; y <= 2100; ++y) {
        const LunarYear& ly = Year(y);
        const int solstice = cal::DayNumber(cal::GetSolarMonth(ly, 6).term2);
        const int autumn = cal::DayNumber(cal::GetSolarMonth(ly, 8).term1);
        // The n-th 庚 day (stem 6) counting the solstice itself.
        int firstGeng = solstice;
        while (ReferenceCycle(firstGeng) % 10 != 6) {
            ++firstGeng;
        }
        solsticeOnGeng += firstGeng == solstice;
        int gengAfterAutumn = autumn;
        while (ReferenceCycle(gengAfterAutumn) % 10 != 6) {
            ++gengAfterAutumn;
        }
        const auto chu = DaysWhere(y, 6, 9, cal::DogDayStart, 1);
        const auto zhong = DaysWhere(y, 6, 9, cal::DogDayStart, 2);
        const auto mo = DaysWhere(y, 6, 9, cal::DogDayStart, 3);
        ASSERT_EQ(chu.size(), 1u) << y;
        ASSERT_EQ(zhong.size(), 1u) << y;
        ASSERT_EQ(mo.size(), 1u) << y;
        EXPECT_EQ(DayNumberOf(y, chu[0].month, chu[0].day), firstGeng + 20) << y;
        EXPECT_EQ(DayNumberOf(y, zhong[0].month, zhong[0].day), firstGeng + 30) << y;
        EXPECT_EQ(DayNumberOf(y, mo[0].month, mo[0].day), gengAfterAutumn) << y;
    }
    EXPECT_GT(solsticeOnGeng, 0);  // the case of a 庚 solstice does occur
}

TEST(CalendarPlumRain, BingAndWeiDaysEveryYear)
{
    for (int y = 1901; y <= 2100; ++y) {
        const LunarYear& ly = Year(y);
        int rainStart = cal::DayNumber(cal::GetSolarMonth(ly, 6).term1);  // 芒种
        while (ReferenceCycle(rainStart) % 10 != 2) {                       // 丙
            ++rainStart;
        }
        int rainEnd = cal::DayNumber(cal::GetSolarMonth(ly, 7).term1);  // 小暑
        while (ReferenceCycle(rainEnd) % 12 != 7) {                       // 未
            ++rainEnd;
        }
        const auto in = DaysWhere(y, 6, 7, cal::PlumRain, 1);
        const auto out = DaysWhere(y, 6, 7, cal::PlumRain, 2);
        ASSERT_EQ(in.size(), 1u) << y;
        ASSERT_EQ(out.size(), 1u) << y;
        EXPECT_EQ(DayNumberOf(y, in[0].month, in[0].day), rainStart) << y;
        EXPECT_EQ(DayNumberOf(y, out[0].month, out[0].day), rainEnd) << y;
    }
}

TEST(CalendarSeasonalDays, NothingOutsideTheirSeasons)
{
    const LunarYear& ly = Year(2024);
    for (int m : {1, 2, 3, 4, 5, 10, 11, 12}) {
        for (int d = 1; d <= cal::DaysInMonth(2024, m); ++d) {
            EXPECT_EQ(cal::DogDayStart(ly, m, d), 0) << m << "-" << d;
        }
    }
    for (int m : {1, 2, 3, 4, 5, 8, 9, 10, 11, 12}) {
        for (int d = 1; d <= cal::DaysInMonth(2024, m); ++d) {
            EXPECT_EQ(cal::PlumRain(ly, m, d), 0) << m << "-" << d;
        }
    }
    EXPECT_EQ(cal::DogDayStart(LunarYear{}, 7, 15), 0);
    EXPECT_EQ(cal::PlumRain(LunarYear{}, 6, 15), 0);
}

}  // namespace
