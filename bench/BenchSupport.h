// Small pieces the widget benchmarks share: their own medians and the machine's load.
#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

// The median of a benchmark's own samples (the upper one of an even count).
inline double median(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Prints the machine's load averages, so that figures can be judged against them.
inline void printLoadAverage()
{
    std::FILE* load = std::fopen("/proc/loadavg", "r");
    char line[128] = {};
    if (load && std::fgets(line, sizeof line, load)) std::printf("load average: %s", line);
    if (load) std::fclose(load);
}
