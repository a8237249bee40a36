// The clock and the statistics of the timed scenarios.
#pragma once
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

// The performance counter, in milliseconds.
inline double Milliseconds()
{
    static const double factor = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return 1000.0 / static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * factor;
}

inline double Seconds() { return Milliseconds() / 1000.0; }

// The middle value: a slow patch of a shared machine moves it less than it moves the mean.
inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The milliseconds of one call, over `calls` calls; GDI's queue is flushed inside the timing.
inline double TimePerCall(const std::function<void()>& work, int calls)
{
    const double t = Milliseconds();
    for (int c = 0; c < calls; ++c)
        work();
    GdiFlush();
    return (Milliseconds() - t) / calls;
}
