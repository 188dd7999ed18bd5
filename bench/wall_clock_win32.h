#pragma once
// Milliseconds by the performance counter, and the median of a benchmark's rounds.

#include <windows.h>

#include <algorithm>
#include <vector>

namespace tavrel::bench {

inline double Now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * double(counter.QuadPart) / double(frequency.QuadPart);
}

inline double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace tavrel::bench
