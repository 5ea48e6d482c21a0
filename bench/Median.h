// The median of a benchmark's own samples (the upper one of an even count).
#pragma once

#include <algorithm>
#include <vector>

inline double median(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
