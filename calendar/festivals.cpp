#include "calendar/festivals.h"

#include "calendar/calendar_text.h"
#include "calendar/four_pillars.h"
#include "calendar/lunar_year.h"
#include "calendar/time_scales.h"

namespace cal {

namespace {

struct Festival {
    int month;
    int day;
    const wchar_t* name;
};

constexpr Festival kGregorianFestivals[] = {
    {1, 1, L"元旦"},   {2, 14, L"情人节"}, {3, 8, L"妇女节"},  {3, 12, L"植树节"}, {4, 1, L"愚人节"},
    {5, 1, L"劳动节"}, {5, 4, L"青年节"},  {6, 1, L"儿童节"},  {7, 1, L"建党节"},  {8, 1, L"建军节"},
    {9, 10, L"教师节"}, {10, 1, L"国庆节"}, {11, 1, L"万圣节"}, {12, 25, L"圣诞节"},
};

// Lunar month number / 1-based lunar day.
constexpr Festival kLunarFestivals[] = {
    {1, 1, L"春节"},    {1, 15, L"元宵节"}, {2, 2, L"龙头节"},  {3, 3, L"上巳节"}, {5, 5, L"端午节"},
    {6, 6, L"天贶节"},  {7, 7, L"七夕节"},  {7, 15, L"中元节"}, {8, 15, L"中秋节"}, {9, 9, L"重阳节"},
    {10, 1, L"寒衣节"}, {10, 15, L"下元节"}, {12, 8, L"腊八节"}, {12, 23, L"小年"},  {12, 30, L"除夕"},
};

template <std::size_t N>
bool FindFestival(const Festival (&table)[N], int month, int day, std::wstring_view* name)
{
    for (const Festival& f : table) {
        if (f.month == month && f.day == day) {
            if (name) {
                *name = f.name;
            }
            return true;
        }
    }
    return false;
}

// Day number (at 12:00) of a date of ly.year.
int DayNumberOf(const LunarYear& ly, int month, int day)
{
    return DayNumber(JulianDay(ly.year, month, day, 12, 0, 0.0));
}

// 1-based stem (1 = 甲) and branch (1 = 子) of the date of an instant.
int StemOfDate(double jdBeijing)
{
    const DateTime t = CalendarDate(jdBeijing);
    return DayStemBranch(t.year, t.month, t.day) >> 8;
}

int BranchOfDate(double jdBeijing)
{
    const DateTime t = CalendarDate(jdBeijing);
    return DayStemBranch(t.year, t.month, t.day) & 0xFF;
}

// Days from a day with 1-based stem s to the first day on or after it with
// stem `target` (1..10).
int DaysToStem(int s, int target)
{
    return s <= target ? target - s : target + 10 - s;
}

// Days from a day with 1-based branch b to the first day on or after it with
// branch `target` (1..12).
int DaysToBranch(int b, int target)
{
    return b <= target ? target - b : target + 12 - b;
}

constexpr int kStemGeng = 7;   // 庚
constexpr int kStemBing = 3;   // 丙
constexpr int kBranchWei = 8;  // 未

}  // namespace

bool ShowsGregorianFestivals(int year, int month)
{
    return year >= 1950 || (year == 1949 && month >= 10);
}

bool GregorianFestival(int month, int day, std::wstring_view* name)
{
    return FindFestival(kGregorianFestivals, month, day, name);
}

bool LunarFestival(int lunarMonthNumber, int lunarDay, std::wstring_view* name)
{
    return FindFestival(kLunarFestivals, lunarMonthNumber, lunarDay, name);
}

std::optional<NinePeriodDay> NinePeriod(const LunarYear& ly, int month, int day)
{
    if (!ly.valid) {
        return std::nullopt;
    }
    const double solstice = month < 7 ? ly.terms[0] : ly.terms[24];
    const int t = DayNumberOf(ly, month, day) - DayNumber(solstice);
    if (t >= 0 && t / 9 < 9) {
        return NinePeriodDay{t / 9 + 1, t % 9 + 1};
    }
    return std::nullopt;
}

int DogDayStart(const LunarYear& ly, int month, int day)
{
    const SolarMonth& june = GetSolarMonth(ly, 6);
    const SolarMonth& august = GetSolarMonth(ly, 8);
    if (!ly.valid || june.term2Index < 0 || august.term1Index < 0) {
        return 0;
    }
    const int selected = DayNumberOf(ly, month, day);

    const int solstice = DayNumber(june.term2);
    if (selected < solstice) {
        return 0;
    }
    const int firstGeng = solstice + DaysToStem(StemOfDate(june.term2), kStemGeng);
    if (selected == firstGeng + 20) {
        return 1;  // 初伏: the third 庚 day
    }
    if (selected == firstGeng + 30) {
        return 2;  // 中伏: the fourth 庚 day
    }

    const int autumn = DayNumber(august.term1);
    if (selected > autumn + 10) {
        return 0;
    }
    if (selected == autumn + DaysToStem(StemOfDate(august.term1), kStemGeng)) {
        return 3;  // 末伏: the first 庚 day from the start of autumn
    }
    return 0;
}

int PlumRain(const LunarYear& ly, int month, int day)
{
    const SolarMonth& june = GetSolarMonth(ly, 6);
    const SolarMonth& july = GetSolarMonth(ly, 7);
    if (!ly.valid || june.term1Index < 0 || july.term1Index < 0) {
        return 0;
    }
    const int selected = DayNumberOf(ly, month, day);

    const int grainInEar = DayNumber(june.term1);  // 芒种
    if (selected < grainInEar) {
        return 0;
    }
    if (selected == grainInEar + DaysToStem(StemOfDate(june.term1), kStemBing)) {
        return 1;  // 入梅
    }

    // The first 未 day can be up to 11 days after 小暑 (when 小暑 is a 申
    // day), so the window is 11 days, not the 10 of the stem-counted days.
    const int minorHeat = DayNumber(july.term1);  // 小暑
    if (selected > minorHeat + 11) {
        return 0;
    }
    if (selected == minorHeat + DaysToBranch(BranchOfDate(july.term1), kBranchWei)) {
        return 2;  // 出梅
    }
    return 0;
}

const wchar_t* DogDayName(int dogDay)
{
    static const wchar_t* const kNames[] = {L"", L"初伏", L"中伏", L"末伏"};
    return dogDay >= 0 && dogDay <= 3 ? kNames[dogDay] : L"";
}

const wchar_t* PlumRainName(int plumRain)
{
    static const wchar_t* const kNames[] = {L"", L"入梅", L"出梅"};
    return plumRain >= 0 && plumRain <= 2 ? kNames[plumRain] : L"";
}

std::wstring DayLabel(const LunarYear& ly, int month, int day)
{
    const SolarMonth& sm = GetSolarMonth(ly, month);
    month = sm.month >= 1 ? sm.month : 1;
    if (day < 1 || day > sm.days) {
        day = 1;
    }
    const CalendarDay& cd = GetCalendarDay(sm, day);
    const LunarMonth& lm = GetLunarMonth(ly, cd.lunarMonth);

    std::wstring_view name;
    if (ShowsGregorianFestivals(ly.year, month) && GregorianFestival(month, day, &name)) {
        return std::wstring(name);
    }
    if (!lm.leap && LunarFestival(lm.number, cd.lunarDay + 1, &name)) {
        return std::wstring(name);
    }
    if (cd.termIndex >= 0) {
        return SolarTermName(cd.termIndex);
    }
    if (month <= 3 || month == 12) {
        const std::optional<NinePeriodDay> nine = NinePeriod(ly, month, day);
        if (nine && nine->day == 1) {
            return std::wstring(kCountingDigits[nine->period - 1]) + L"九";
        }
    }
    if (month >= 6 && month <= 9) {
        if (const int dog = DogDayStart(ly, month, day)) {
            return DogDayName(dog);
        }
    }
    if (month == 6 || month == 7) {
        if (const int plum = PlumRain(ly, month, day)) {
            return PlumRainName(plum);
        }
    }
    if (cd.lunarDay == 0) {
        std::wstring label = lm.leap ? L"闰" : L"";
        label += MonthName(lm.number);
        label += L"月";
        return label;
    }
    return LunarDayName(cd.lunarDay);
}

}  // namespace cal
