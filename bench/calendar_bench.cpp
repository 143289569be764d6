// Calendar engine: building one year of the lunar calendar, and the texts
// shown for a day and a month.

#include <benchmark/benchmark.h>

#include "calendar/lunar_year.h"

namespace {

// One Gregorian year, cycling through the whole range so that years with and
// without the look-ahead to the next winter-solstice year are both measured.
void BM_BuildLunarYear(benchmark::State& state)
{
    cal::LunarYear ly;
    int year = cal::kFirstCalendarYear;
    for (auto _ : state) {
        benchmark::DoNotOptimize(cal::BuildLunarYear(ly, year));
        benchmark::ClobberMemory();
        year = year == cal::kLastCalendarYear ? cal::kFirstCalendarYear : year + 1;
    }
}
BENCHMARK(BM_BuildLunarYear)->Unit(benchmark::kMillisecond);

// The same year every time (2033, which needs the look-ahead).
void BM_BuildLunarYear2033(benchmark::State& state)
{
    cal::LunarYear ly;
    for (auto _ : state) {
        benchmark::DoNotOptimize(cal::BuildLunarYear(ly, 2033));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BuildLunarYear2033)->Unit(benchmark::kMillisecond);

void BM_FormatDayInfo(benchmark::State& state)
{
    cal::LunarYear ly;
    cal::BuildLunarYear(ly, 2025);
    int day = 0;
    for (auto _ : state) {
        const int month = day / 28 + 1;
        benchmark::DoNotOptimize(cal::FormatDayInfo(ly, month, day % 28 + 1, day % 13));
        day = (day + 1) % (12 * 28);
    }
}
BENCHMARK(BM_FormatDayInfo)->Unit(benchmark::kMicrosecond);

void BM_FormatMoonPhases(benchmark::State& state)
{
    cal::LunarYear ly;
    cal::BuildLunarYear(ly, 2025);
    int month = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(cal::FormatMoonPhases(cal::GetSolarMonth(ly, month), ly));
        month = month % 12 + 1;
    }
}
BENCHMARK(BM_FormatMoonPhases)->Unit(benchmark::kMicrosecond);

}  // namespace
