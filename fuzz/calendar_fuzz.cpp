// The calendar's public entry points with random dates and double-hours,
// valid or not. Properties: no crash, and results in their ranges: the
// information line is never empty for a valid year, lunar days 0..29,
// months 1..12 with 29 or 30 days, the lunar year number is the year or the
// one before, weekdays 0..6, a Julian day turns back into its date.
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>

#include "calendar/lunar_year.h"
#include "calendar/moon_phase.h"
#include "fuzz/fuzz_input.h"

namespace {

// Building a year runs the astronomical searches; each year is built once
// per run so that the fuzzer spends its time on the entry points.
const cal::LunarYear& YearFor(int year)
{
    static std::map<int, std::unique_ptr<cal::LunarYear>> cache;
    auto& slot = cache[year];
    if (!slot) {
        slot = std::make_unique<cal::LunarYear>();
        const bool built = cal::BuildLunarYear(*slot, year);
        FuzzCheck(built == (year >= cal::kFirstCalendarYear && year <= cal::kLastCalendarYear));
        FuzzCheck(slot->valid == built);
    }
    return *slot;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const int year = in.TakeInRange(1890, 2110);
    const int month = in.TakeInRange(-2, 14);
    const int day = in.TakeInRange(-2, 33);
    const int hourIndex = in.TakeInRange(-3, 15);

    const cal::LunarYear& ly = YearFor(year);
    // Every entry point takes every value; out-of-range ones are defined.
    const std::wstring info = cal::FormatDayInfo(ly, month, day, hourIndex);
    const std::wstring label = cal::DayLabel(ly, month, day);
    const cal::SolarMonth& sm = cal::GetSolarMonth(ly, month);
    cal::FormatMoonPhases(sm, ly);
    cal::FormatSolarTerms(sm);
    cal::NinePeriod(ly, month, day);
    cal::DogDayStart(ly, month, day);
    cal::PlumRain(ly, month, day);
    cal::ComputeFourPillars(ly, month, day, hourIndex);
    cal::GetLunarMonth(ly, in.TakeInRange(-3, 16));
    cal::LunarDayName(in.TakeInRange(-3, 33));
    cal::SolarTermName(in.TakeInRange(-3, 27));
    cal::MonthName(in.TakeInRange(-3, 15));

    if (ly.valid) {
        FuzzCheck(!info.empty());
        const int number = cal::LunarYearNumber(ly, month, day);
        FuzzCheck(number == year || number == year - 1);
        FuzzCheck(sm.month >= 1 && sm.month <= 12 && sm.days >= 28 && sm.days <= 31);
        const cal::CalendarDay& cd = cal::GetCalendarDay(sm, day);
        FuzzCheck(cd.day >= 1 && cd.day <= sm.days);
        FuzzCheck(cd.weekday >= 0 && cd.weekday <= 6);
        FuzzCheck(cd.lunarDay >= 0 && cd.lunarDay <= 29);
        FuzzCheck(cd.termIndex >= -1 && cd.termIndex <= 23);
        const cal::LunarMonth& lm = cal::GetLunarMonth(ly, cd.lunarMonth);
        FuzzCheck(lm.number >= 1 && lm.number <= 12);
        FuzzCheck(lm.days == 29 || lm.days == 30);
        FuzzCheck(cd.lunarDay < lm.days);
        FuzzCheck(cal::SpringStartDate(ly).has_value());
    }

    // Time scales for any date of the proleptic calendars.
    const int y = in.TakeInRange(-4000, 8000);
    const int m = in.TakeInRange(1, 12);
    const int d = in.TakeInRange(1, cal::DaysInMonth(y, m));
    const int hour = in.TakeInRange(0, 23);
    const int minute = in.TakeInRange(0, 59);
    const double jd = cal::JulianDay(y, m, d, hour, minute, 0.0);
    FuzzCheck(std::isfinite(jd));
    if (y >= 1583) {   // CalendarDate inverts JulianDay on the Gregorian calendar
        const cal::DateTime back = cal::CalendarDate(jd + 1e-7);
        FuzzCheck(back.year == y && back.month == m && back.day == d);
        FuzzCheck(back.hour == hour && back.minute == minute);
    }
    const int weekday = cal::DayOfWeek(y, m, d);
    FuzzCheck(weekday >= 0 && weekday <= 6);
    FuzzCheck(std::isfinite(cal::DeltaT(jd - 2451545.0)));
    const double degrees = cal::NormalizeDegrees(in.Take<int32_t>() / 7.0);
    FuzzCheck(degrees >= 0.0 && degrees <= 360.0);   // 360 itself stays 360

    double illuminated = -1;
    const double phase = cal::MoonPhaseForDate(in.TakeInRange(1900, 2100), m, d, &illuminated);
    FuzzCheck(std::isfinite(phase));
    FuzzCheck(illuminated >= -1e-9 && illuminated <= 1.0 + 1e-9);
    return 0;
}
