// Under Wine: what the month grid costs on the screen, a repaint of the
// same month and a change to the next month (layout and paint), drawn into
// an off-screen bitmap of the control's size as its paint handler does.
//
//   wine build/win32/bench/jot_grid_wine_bench.exe [repeats]

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "calendar/calendar_ctrl.h"

namespace {

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER freq;
    ::QueryPerformanceFrequency(&freq);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(freq.QuadPart);
}

}  // namespace

int main(int argc, char** argv)
{
    const int repeats = argc > 1 ? std::atoi(argv[1]) : 200;
    constexpr int kW = 418;
    constexpr int kH = 326;
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP canvas = ::CreateCompatibleBitmap(screen, kW, kH);
    HGDIOBJ old = ::SelectObject(mem, canvas);

    CCalendarCtrl grid;
    grid.SetDate(2025, 1, 15);
    grid.Draw(mem, kW, kH);   // fonts and the first layout

    LARGE_INTEGER t0, t1;
    const int buildsBefore = grid.LunarYearBuilds();
    ::QueryPerformanceCounter(&t0);
    for (int i = 0; i < repeats; ++i)
        grid.Draw(mem, kW, kH);
    ::QueryPerformanceCounter(&t1);
    std::printf("repaint of January 2025: %.3f ms (LunarYear builds: %d)\n", Milliseconds(t0, t1) / repeats,
                grid.LunarYearBuilds() - buildsBefore);

    // Month changes through two years the grid has seen once.
    for (int m = 1; m <= 12; ++m) {
        grid.SetDate(2025, m, 15);
        grid.Draw(mem, kW, kH);
    }
    grid.SetDate(2026, 1, 15);
    grid.Draw(mem, kW, kH);
    ::QueryPerformanceCounter(&t0);
    for (int i = 0; i < repeats; ++i) {
        grid.SetDate(2025, i % 12 + 1, 15);
        grid.Draw(mem, kW, kH);
    }
    ::QueryPerformanceCounter(&t1);
    std::printf("month change (layout and paint, known year): %.3f ms\n", Milliseconds(t0, t1) / repeats);

    ::QueryPerformanceCounter(&t0);
    const int years = repeats < 50 ? repeats : 50;
    for (int i = 0; i < years; ++i) {
        grid.SetDate(1950 + i, 6, 15);
        grid.Draw(mem, kW, kH);
    }
    ::QueryPerformanceCounter(&t1);
    std::printf("year change (one LunarYear build, layout and paint): %.3f ms\n", Milliseconds(t0, t1) / years);

    ::SelectObject(mem, old);
    ::DeleteObject(canvas);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    return 0;
}
