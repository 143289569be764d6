// The four pillars and the calendar's text lines: the day information line,
// the month's moon phases and solar terms.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/lunar_year.h"
#include "calendar/plain_text.h"

namespace {

using cal::LunarYear;
using cal::StemBranch;

const LunarYear& Year(int year)
{
    static std::vector<LunarYear> years(cal::kLastCalendarYear - cal::kFirstCalendarYear + 1);
    LunarYear& ly = years.at(year - cal::kFirstCalendarYear);
    if (!ly.valid) {
        cal::BuildLunarYear(ly, year);
    }
    return ly;
}

// The sexagenary day by the astronomers' rule: (JD at noon + 49) mod 60, 0 = 甲子.
int ReferenceDayCycle(int year, int month, int day)
{
    const long long jd = static_cast<long long>(cal::JulianDay(year, month, day, 12, 0, 0.0));
    return static_cast<int>((jd + 49) % 60);
}

std::wstring Pillar(const StemBranch& sb)
{
    return std::wstring(cal::kHeavenlyStems[sb.stem]) + cal::kEarthlyBranches[sb.branch];
}

TEST(CalendarPillars, YearStemBranch)
{
    EXPECT_EQ(Pillar(cal::YearStemBranch(1984)), L"甲子");
    EXPECT_EQ(Pillar(cal::YearStemBranch(1949)), L"己丑");
    EXPECT_EQ(Pillar(cal::YearStemBranch(2000)), L"庚辰");
    EXPECT_EQ(Pillar(cal::YearStemBranch(2024)), L"甲辰");
    EXPECT_EQ(Pillar(cal::YearStemBranch(2025)), L"乙巳");
    EXPECT_EQ(Pillar(cal::YearStemBranch(1901)), L"辛丑");
    EXPECT_EQ(Pillar(cal::YearStemBranch(2100)), L"庚申");
    EXPECT_EQ(Pillar(cal::YearStemBranch(4)), L"甲子");    // far back: still in range
    EXPECT_EQ(Pillar(cal::YearStemBranch(-56)), L"甲子");
}

TEST(CalendarPillars, DayStemBranchPackingAndKnownDays)
{
    EXPECT_EQ(cal::DayStemBranch(1949, 10, 1), (1 << 8) | 1);  // 甲子
    EXPECT_EQ(Pillar(cal::UnpackStemBranch(cal::DayStemBranch(2000, 1, 1))), L"戊午");
    // Every day of the range against the astronomers' rule.
    for (int y = 1901; y <= 2100; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= cal::DaysInMonth(y, m); ++d) {
                const int n = ReferenceDayCycle(y, m, d);
                const StemBranch sb = cal::UnpackStemBranch(cal::DayStemBranch(y, m, d));
                ASSERT_EQ(sb.stem, n % 10) << y << "-" << m << "-" << d;
                ASSERT_EQ(sb.branch, n % 12) << y << "-" << m << "-" << d;
            }
        }
    }
}

TEST(CalendarPillars, HourStemsFollowTheDayStem)
{
    // The stem of the 子 hour: 甲己 -> 甲, 乙庚 -> 丙, 丙辛 -> 戊, 丁壬 -> 庚, 戊癸 -> 壬.
    for (int d = 1; d <= 60; ++d) {
        const StemBranch day = cal::UnpackStemBranch(cal::DayStemBranch(2024, 3, d));
        const int ziStem = (day.stem % 5) * 2;
        for (int h = 0; h < 12; ++h) {
            const StemBranch hour = cal::UnpackStemBranch(cal::HourStemBranch(2024, 3, d, h));
            ASSERT_EQ(hour.branch, h) << d << " " << h;
            ASSERT_EQ(hour.stem, (ziStem + h) % 10) << d << " " << h;
        }
        // Double-hour 12 is the next day's 子 hour.
        const StemBranch next = cal::UnpackStemBranch(cal::DayStemBranch(2024, 3, d + 1));
        const StemBranch late = cal::UnpackStemBranch(cal::HourStemBranch(2024, 3, d, 12));
        EXPECT_EQ(late.branch, 0);
        EXPECT_EQ(late.stem, (next.stem % 5) * 2);
    }
    EXPECT_EQ(cal::HourStemBranch(2019, 10, 14, 0), (1 << 8) | 1);  // 甲子
    EXPECT_EQ(cal::HourStemBranch(2024, 3, 1, 99), cal::HourStemBranch(2024, 3, 1, 0));
}

TEST(CalendarPillars, MonthPillarFollowsTheMinorTerms)
{
    // 甲辰 year: 丙寅 from 立春 (2024-02-04), 丁卯 from 惊蛰 (03-05).
    const LunarYear& y2024 = Year(2024);
    EXPECT_EQ(Pillar(cal::ComputeFourPillars(y2024, 2, 3, 0).month), L"乙丑");
    EXPECT_EQ(Pillar(cal::ComputeFourPillars(y2024, 2, 4, 0).month), L"丙寅");
    EXPECT_EQ(Pillar(cal::ComputeFourPillars(y2024, 3, 4, 0).month), L"丙寅");
    EXPECT_EQ(Pillar(cal::ComputeFourPillars(y2024, 3, 5, 0).month), L"丁卯");
    EXPECT_EQ(Pillar(cal::ComputeFourPillars(y2024, 12, 5, 0).month), L"乙亥");
    EXPECT_EQ(Pillar(cal::ComputeFourPillars(y2024, 12, 6, 0).month), L"丙子");  // 大雪
    EXPECT_EQ(Pillar(cal::ComputeFourPillars(y2024, 12, 31, 0).month), L"丙子");
    // Before the start of spring: the previous year's pillar and a 子 or 丑 month.
    const LunarYear& y2025 = Year(2025);
    const cal::FourPillars jan4 = cal::ComputeFourPillars(y2025, 1, 4, 0);
    EXPECT_EQ(Pillar(jan4.year), L"甲辰");
    EXPECT_EQ(Pillar(jan4.month), L"丙子");
    const cal::FourPillars jan29 = cal::ComputeFourPillars(y2025, 1, 29, 0);
    EXPECT_EQ(Pillar(jan29.year), L"甲辰");
    EXPECT_EQ(Pillar(jan29.month), L"丁丑");
    const cal::FourPillars feb3 = cal::ComputeFourPillars(y2025, 2, 3, 0);
    EXPECT_EQ(Pillar(feb3.year), L"乙巳");
    EXPECT_EQ(Pillar(feb3.month), L"戊寅");
}

TEST(CalendarPillars, FirstMonthStemsOfAllYears)
{
    // 甲己 -> 丙寅, 乙庚 -> 戊寅, 丙辛 -> 庚寅, 丁壬 -> 壬寅, 戊癸 -> 甲寅.
    for (int y = 1901; y <= 2100; ++y) {
        const auto spring = cal::SpringStartDate(Year(y));
        ASSERT_TRUE(spring.has_value());
        const cal::FourPillars p = cal::ComputeFourPillars(Year(y), spring->month, spring->day, 0);
        ASSERT_EQ(p.month.branch, 2) << y;
        ASSERT_EQ(p.month.stem, ((p.year.stem % 5) * 2 + 2) % 10) << y;
        ASSERT_EQ(p.year.stem, cal::YearStemBranch(y).stem) << y;
    }
}

TEST(CalendarPillars, DoubleHourTwelveUsesTheNextDay)
{
    const LunarYear& ly = Year(2024);
    const cal::FourPillars late = cal::ComputeFourPillars(ly, 12, 31, 12);
    const StemBranch nextDay = cal::UnpackStemBranch(cal::DayStemBranch(2025, 1, 1));
    EXPECT_EQ(late.day.stem, nextDay.stem);
    EXPECT_EQ(late.day.branch, nextDay.branch);
    EXPECT_EQ(late.hour.branch, 0);
    EXPECT_EQ(Pillar(late.year), L"甲辰");  // year and month stay with the selected day
}

TEST(CalendarDayInfo, SpringFestival2025)
{
    EXPECT_EQ(cal::FormatDayInfo(Year(2025), 1, 29, 0),
              L"农历乙巳(木蛇)年正月（大）初一，春节，五九第4天，甲辰 丁丑 戊戌 壬子");
    // The day before, still the 甲辰 lunar year, a 29-day twelfth month: no 除夕.
    EXPECT_EQ(cal::FormatDayInfo(Year(2025), 1, 28, 0),
              L"农历甲辰(木龙)年十二月（小）廿九，五九第3天，甲辰 丁丑 丁酉 庚子");
}

TEST(CalendarDayInfo, FestivalsSolarTermsAndSeasonalDaysInOrder)
{
    // 2024-02-09: 除夕 of a 30-day twelfth month.
    EXPECT_EQ(cal::FormatDayInfo(Year(2024), 2, 9, 6),
              L"农历癸卯(水兔)年十二月（大）三十，除夕，六九第5天，甲辰 丙寅 癸卯 戊午");
    // 2024-12-21: the winter solstice, no nine-period entry on the day itself.
    const std::wstring solstice = cal::FormatDayInfo(Year(2024), 12, 21, 0);
    EXPECT_NE(solstice.find(L"冬至，"), std::wstring::npos);
    EXPECT_EQ(solstice.find(L"一九"), std::wstring::npos);
    EXPECT_NE(cal::FormatDayInfo(Year(2024), 12, 22, 0).find(L"，一九第2天，"), std::wstring::npos);
    EXPECT_NE(cal::FormatDayInfo(Year(2024), 12, 30, 0).find(L"，二九，"), std::wstring::npos);
    // 2024-10-01: Gregorian festival first; months 11 and 12 are written 十一, 十二.
    const std::wstring national = cal::FormatDayInfo(Year(2024), 10, 1, 0);
    EXPECT_EQ(national.find(L"农历甲辰(木龙)年八月"), 0u);
    EXPECT_NE(national.find(L"，国庆节，"), std::wstring::npos);
    EXPECT_NE(cal::FormatDayInfo(Year(2024), 12, 1, 0).find(L"年十一月"), std::wstring::npos);
    // 2023-03-23: 闰二月初二 lists 龙头节 in the line.
    const std::wstring leap = cal::FormatDayInfo(Year(2023), 3, 23, 0);
    EXPECT_NE(leap.find(L"年闰二月"), std::wstring::npos);
    EXPECT_NE(leap.find(L"初二，龙头节，"), std::wstring::npos);
}

TEST(CalendarDayInfo, BadArgumentsFallBack)
{
    const LunarYear& ly = Year(2024);
    EXPECT_EQ(cal::FormatDayInfo(ly, 13, 5, 0), cal::FormatDayInfo(ly, 1, 5, 0));
    EXPECT_EQ(cal::FormatDayInfo(ly, -1, 40, 0), cal::FormatDayInfo(ly, 1, 1, 0));
    EXPECT_EQ(cal::FormatDayInfo(ly, 2, 30, 0), cal::FormatDayInfo(ly, 2, 1, 0));
    EXPECT_EQ(cal::FormatDayInfo(ly, 2, 3, -1), cal::FormatDayInfo(ly, 2, 3, 0));
    EXPECT_EQ(cal::FormatDayInfo(ly, 2, 3, 13), cal::FormatDayInfo(ly, 2, 3, 0));
}

TEST(CalendarDayInfo, AlwaysEndsWithFourPillars)
{
    for (int y : {1901, 1949, 2000, 2100}) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= cal::DaysInMonth(y, m); ++d) {
                const std::wstring line = cal::FormatDayInfo(Year(y), m, d, 5);
                const std::wstring pillars =
                    cal::FormatFourPillars(cal::ComputeFourPillars(Year(y), m, d, 5));
                ASSERT_EQ(line.find(L"农历"), 0u);
                ASSERT_EQ(line.substr(line.size() - pillars.size()), pillars);
                ASSERT_EQ(line.substr(line.size() - pillars.size() - 1, 1), L"，");
            }
        }
    }
}

TEST(CalendarMoonPhases, January2024)
{
    // Published: new moon 2024-01-11 11:57 UTC, full moon 2024-01-25 17:54 UTC.
    EXPECT_EQ(cal::FormatMoonPhases(cal::GetSolarMonth(Year(2024), 1), Year(2024)),
              L"11日19:57 朔●\u300026日01:54 望○");
}

TEST(CalendarMoonPhases, AnchorsOnTheFirstNewMoonDay)
{
    // Every month: each entry is a new moon on a lunarDay-0 day or a full moon,
    // in time order; every month but a short February has a new moon.
    for (int y = 1901; y <= 2100; y += 7) {
        const LunarYear& ly = Year(y);
        for (int m = 1; m <= 12; ++m) {
            const cal::SolarMonth& sm = cal::GetSolarMonth(ly, m);
            const std::wstring line = cal::FormatMoonPhases(sm, ly);
            bool hasNewMoonDay = false;
            for (int d = 1; d <= sm.days; ++d) {
                hasNewMoonDay |= sm.dayList[d - 1].lunarDay == 0;
            }
            EXPECT_EQ(line.empty(), !hasNewMoonDay) << y << "-" << m;
            std::size_t pos = 0;
            int lastDay = 0;
            int entries = 0;
            while (pos < line.size()) {
                const int day = std::stoi(line.substr(pos, 2));
                EXPECT_GE(day, lastDay) << y << "-" << m;
                lastDay = day;
                const std::wstring mark = line.substr(pos + 9, 2);
                if (mark == L"朔●" && !(y == 1914 || y == 1916 || y == 1920)) {
                    EXPECT_EQ(sm.dayList[day - 1].lunarDay, 0) << y << "-" << m << "-" << day;
                } else {
                    EXPECT_TRUE(mark == L"朔●" || mark == L"望○");
                }
                ++entries;
                pos += 11;
                if (pos < line.size()) {
                    EXPECT_EQ(line[pos], L'\u3000');
                    ++pos;
                }
            }
            EXPECT_LE(entries, 4) << y << "-" << m;
            EXPECT_GE(entries, hasNewMoonDay ? 1 : 0) << y << "-" << m;
        }
    }
}

TEST(CalendarSolarTermsLine, January2024)
{
    // Published: 小寒 2024-01-06 04:49, 大寒 2024-01-20 22:07 (Beijing time).
    EXPECT_EQ(cal::FormatSolarTerms(cal::GetSolarMonth(Year(2024), 1)), L"06日04:49 小寒\u300020日22:07 大寒");
}

TEST(CalendarSolarTermsLine, TruncatesToTheMinute)
{
    // 2021's winter solstice, a minute before midnight, stays on 23:59 of the 21st.
    const std::wstring line = cal::FormatSolarTerms(cal::GetSolarMonth(Year(2021), 12));
    EXPECT_EQ(line.substr(line.size() - 12), L"\u300021日23:59 冬至");
}

TEST(CalendarNameTables, SizesAndCheckedLookups)
{
    EXPECT_STREQ(cal::LunarDayName(0), L"初一");
    EXPECT_STREQ(cal::LunarDayName(29), L"三十");
    EXPECT_STREQ(cal::LunarDayName(30), L"");
    EXPECT_STREQ(cal::SolarTermName(18), L"冬至");
    EXPECT_STREQ(cal::SolarTermName(-1), L"");
    EXPECT_STREQ(cal::MonthName(1), L"正");
    EXPECT_STREQ(cal::MonthName(11), L"冬");
    EXPECT_STREQ(cal::MonthName(12), L"腊");
    EXPECT_STREQ(cal::MonthName(0), L"");
    EXPECT_STREQ(cal::kFiveElements[4], L"水");
    EXPECT_STREQ(cal::kZodiacAnimals[4], L"龙");
    EXPECT_STREQ(cal::kMoonPhaseMarks[1], L"望○");
}

TEST(CalendarPlainText, Utf8AndInstants)
{
    EXPECT_EQ(cal::ToUtf8(L"农历A"), "\xE5\x86\x9C\xE5\x8E\x86" "A");
    EXPECT_EQ(cal::ToUtf8(L"\u3000"), "\xE3\x80\x80");
    EXPECT_EQ(cal::FormatInstant(cal::JulianDay(2000, 12, 21, 21, 37, 30.9)), L"2000-12-21 21:37:30");
    EXPECT_EQ(cal::FormatDate(1901, 2, 3), L"1901-02-03");
}

}  // namespace
