// The perpetual calendar's month grid: laying a month out when the user
// moves to another month, with and without the LunarYear builds its cache
// saves, against the old way of building the adjacent year on every paint.

#include <benchmark/benchmark.h>

#include "calendar/month_grid.h"

namespace {

// A month change within years the grid has already seen: the common case
// of stepping through months.
void BM_GridMonthChangeCached(benchmark::State& state)
{
    cal::LunarYearCache cache;
    int month = 1;
    cal::BuildMonthGrid(cache, 2025, 1, 1);
    cal::BuildMonthGrid(cache, 2025, 12, 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(cal::BuildMonthGrid(cache, 2025, month, 15));
        month = month == 12 ? 1 : month + 1;
    }
}
BENCHMARK(BM_GridMonthChangeCached)->Unit(benchmark::kMicrosecond);

// A change to a year not seen before: one LunarYear build (two for January
// and December, whose neighbour year is needed too).
void BM_GridYearChangeCold(benchmark::State& state)
{
    int year = 1950;
    for (auto _ : state) {
        cal::LunarYearCache cache;
        benchmark::DoNotOptimize(cal::BuildMonthGrid(cache, year, 6, 15));
        year = year == 2050 ? 1950 : year + 1;
    }
}
BENCHMARK(BM_GridYearChangeCold)->Unit(benchmark::kMillisecond);

// What a repaint of January cost before the cache: the month's own year is
// held, the previous year is built again on every paint.
void BM_GridJanuaryRepaintUncached(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        cal::LunarYearCache cache;
        cache.Get(2025);
        state.ResumeTiming();
        benchmark::DoNotOptimize(cal::BuildMonthGrid(cache, 2025, 1, 15));
    }
}
BENCHMARK(BM_GridJanuaryRepaintUncached)->Unit(benchmark::kMillisecond);

// A repaint now: the grid is kept, the model does no work; laying out the
// same month again from the cache is the upper bound.
void BM_GridJanuaryRepaintCached(benchmark::State& state)
{
    cal::LunarYearCache cache;
    cal::BuildMonthGrid(cache, 2025, 1, 15);
    for (auto _ : state)
        benchmark::DoNotOptimize(cal::BuildMonthGrid(cache, 2025, 1, 15));
}
BENCHMARK(BM_GridJanuaryRepaintCached)->Unit(benchmark::kMicrosecond);

}  // namespace
