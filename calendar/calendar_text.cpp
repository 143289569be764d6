#include "calendar/calendar_text.h"

#include <string_view>

#include "calendar/festivals.h"
#include "calendar/lunar_year.h"
#include "calendar/sun_moon.h"
#include "calendar/time_scales.h"

namespace cal {

const wchar_t* const kLunarDayNames[30] = {
    L"初一", L"初二", L"初三", L"初四", L"初五", L"初六", L"初七", L"初八", L"初九", L"初十",
    L"十一", L"十二", L"十三", L"十四", L"十五", L"十六", L"十七", L"十八", L"十九", L"二十",
    L"廿一", L"廿二", L"廿三", L"廿四", L"廿五", L"廿六", L"廿七", L"廿八", L"廿九", L"三十",
};

const wchar_t* const kSolarTermNames[24] = {
    L"春分", L"清明", L"谷雨", L"立夏", L"小满", L"芒种", L"夏至", L"小暑", L"大暑", L"立秋", L"处暑", L"白露",
    L"秋分", L"寒露", L"霜降", L"立冬", L"小雪", L"大雪", L"冬至", L"小寒", L"大寒", L"立春", L"雨水", L"惊蛰",
};

const wchar_t* const kMonthNames[12] = {
    L"正", L"二", L"三", L"四", L"五", L"六", L"七", L"八", L"九", L"十", L"冬", L"腊",
};

const wchar_t* const kHeavenlyStems[10] = {
    L"甲", L"乙", L"丙", L"丁", L"戊", L"己", L"庚", L"辛", L"壬", L"癸",
};

const wchar_t* const kEarthlyBranches[12] = {
    L"子", L"丑", L"寅", L"卯", L"辰", L"巳", L"午", L"未", L"申", L"酉", L"戌", L"亥",
};

const wchar_t* const kFiveElements[5] = {L"木", L"火", L"土", L"金", L"水"};

const wchar_t* const kZodiacAnimals[12] = {
    L"鼠", L"牛", L"虎", L"兔", L"龙", L"蛇", L"马", L"羊", L"猴", L"鸡", L"狗", L"猪",
};

const wchar_t* const kCountingDigits[9] = {
    L"一", L"二", L"三", L"四", L"五", L"六", L"七", L"八", L"九",
};

const wchar_t* const kMoonPhaseMarks[5] = {L"朔●", L"望○", L"朔●", L"望○", L"朔●"};

namespace {

constexpr wchar_t kIdeographicSpace = L'\u3000';

// 15 seconds, added to new and full moons so that truncating to the minute
// rounds to the nearest one.
constexpr double kHalfMinuteRounding = 1.0 / 5760.0;

const wchar_t* Checked(const wchar_t* const* table, int size, int index)
{
    return index >= 0 && index < size ? table[index] : L"";
}

// printf's "%02d".
void AppendTwoDigits(std::wstring& out, int value)
{
    if (value >= 0 && value < 10) {
        out += L'0';
        out += static_cast<wchar_t>(L'0' + value);
    } else {
        out += std::to_wstring(value);
    }
}

// "DD日 HH:MM " followed by a name.
void AppendDayTimeEntry(std::wstring& out, const DateTime& t, const wchar_t* name)
{
    AppendTwoDigits(out, t.day);
    out += L"日";
    AppendTwoDigits(out, t.hour);
    out += L':';
    AppendTwoDigits(out, t.minute);
    out += L' ';
    out += name;
}

void AppendStemBranch(std::wstring& out, const StemBranch& sb)
{
    out += Checked(kHeavenlyStems, 10, sb.stem);
    out += Checked(kEarthlyBranches, 12, sb.branch);
}

// Month name as the information line writes it: 正 .. 十, then 十一, 十二.
const wchar_t* MonthNameInDayInfo(int number)
{
    if (number == 11 || number == 12) {
        return kLunarDayNames[number - 1];
    }
    return number >= 1 && number <= 10 ? kMonthNames[number - 1] : L"";
}

double FullMoonOf(const LunarMonth& lm)
{
    return ToBeijingTime(MoonPhaseInstant(ToDynamicalTime((lm.start + lm.end) / 2.0), 180));
}

}  // namespace

const wchar_t* LunarDayName(int lunarDay)
{
    return Checked(kLunarDayNames, 30, lunarDay);
}

const wchar_t* SolarTermName(int termIndex)
{
    return Checked(kSolarTermNames, 24, termIndex);
}

const wchar_t* MonthName(int number)
{
    return Checked(kMonthNames, 12, number - 1);
}

std::wstring FormatFourPillars(const FourPillars& pillars)
{
    std::wstring out;
    AppendStemBranch(out, pillars.year);
    out += L' ';
    AppendStemBranch(out, pillars.month);
    out += L' ';
    AppendStemBranch(out, pillars.day);
    out += L' ';
    AppendStemBranch(out, pillars.hour);
    return out;
}

std::wstring FormatDayInfo(const LunarYear& ly, int month, int day, int hourIndex)
{
    const SolarMonth& sm = GetSolarMonth(ly, month);
    month = sm.month >= 1 ? sm.month : 1;
    if (day < 1 || day > sm.days) {
        day = 1;
    }
    const CalendarDay& cd = GetCalendarDay(sm, day);
    const LunarMonth& lm = GetLunarMonth(ly, cd.lunarMonth);

    std::wstring out;
    out.reserve(64);

    // Lunar year: stem and branch, element and zodiac animal.
    const StemBranch year = YearStemBranch(LunarYearNumber(ly, month, day));
    out += L"农历";
    AppendStemBranch(out, year);
    out += L'(';
    out += kFiveElements[year.stem / 2];
    out += kZodiacAnimals[year.branch];
    out += L")年";

    // Lunar month and day.
    if (lm.leap) {
        out += L"闰";
    }
    out += MonthNameInDayInfo(lm.number);
    out += lm.days == 30 ? L"月（大）" : L"月（小）";
    out += LunarDayName(cd.lunarDay);
    out += L"，";

    // Festivals and seasonal days, each followed by a comma.
    std::wstring_view name;
    if (ShowsGregorianFestivals(ly.year, month) && GregorianFestival(month, day, &name)) {
        out += name;
        out += L"，";
    }
    if (LunarFestival(lm.number, cd.lunarDay + 1, &name)) {
        out += name;
        out += L"，";
    }
    if (cd.termIndex >= 0) {
        out += SolarTermName(cd.termIndex);
        out += L"，";
    }
    if (month <= 3 || month == 12) {
        const std::optional<NinePeriodDay> nine = NinePeriod(ly, month, day);
        // The first day of the first period is the winter solstice itself,
        // which is named as a solar term already.
        if (nine && !(nine->period == 1 && nine->day == 1)) {
            out += kCountingDigits[nine->period - 1];
            out += L"九";
            if (nine->day >= 2) {
                out += L"第";
                out += std::to_wstring(nine->day);
                out += L"天";
            }
            out += L"，";
        }
    }
    if (month >= 6 && month <= 9) {
        if (const int dog = DogDayStart(ly, month, day)) {
            out += DogDayName(dog);
            out += L"，";
        }
    }
    if (month == 6 || month == 7) {
        if (const int plum = PlumRain(ly, month, day)) {
            out += PlumRainName(plum);
            out += L"，";
        }
    }

    out += FormatFourPillars(ComputeFourPillars(ly, month, day, hourIndex));
    return out;
}

std::wstring FormatMoonPhases(const SolarMonth& sm, const LunarYear& ly)
{
    int g = 0;
    for (int d = 1; d <= sm.days; ++d) {
        if (GetCalendarDay(sm, d).lunarDay == 0) {
            g = d;
            break;
        }
    }
    if (g == 0) {
        return std::wstring();
    }

    struct Event {
        double instant;
        int position;  // index into kMoonPhaseMarks
    };
    Event events[5];
    int count = 0;
    if (g > 1) {
        const LunarMonth& before = GetLunarMonth(ly, GetCalendarDay(sm, g - 1).lunarMonth);
        events[count++] = {before.start, 0};
        events[count++] = {FullMoonOf(before), 1};
    }
    const LunarMonth& q = GetLunarMonth(ly, GetCalendarDay(sm, g).lunarMonth);
    events[count++] = {q.start, 2};
    events[count++] = {FullMoonOf(q), 3};
    events[count++] = {q.end, 4};

    std::wstring out;
    for (int i = 0; i < count; ++i) {
        const DateTime t = CalendarDate(events[i].instant + kHalfMinuteRounding);
        if (t.year != ly.year || t.month != sm.month) {
            continue;
        }
        if (!out.empty()) {
            out += kIdeographicSpace;
        }
        AppendDayTimeEntry(out, t, kMoonPhaseMarks[events[i].position]);
    }
    return out;
}

std::wstring FormatSolarTerms(const SolarMonth& sm)
{
    std::wstring out;
    if (sm.term1Index >= 0) {
        AppendDayTimeEntry(out, CalendarDate(sm.term1), SolarTermName(sm.term1Index));
    }
    if (sm.term2Index >= 0) {
        if (!out.empty()) {
            out += kIdeographicSpace;
        }
        AppendDayTimeEntry(out, CalendarDate(sm.term2), SolarTermName(sm.term2Index));
    }
    return out;
}

}  // namespace cal
