// Clock and median of the benchmarks that run under Wine.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

namespace winebench {

// Milliseconds from the performance counter.
inline double Now()
{
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// The middle value (the upper one of two); -1 for no values.
inline double Median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace winebench
