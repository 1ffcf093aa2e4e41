// The middle of a benchmark's repeated timings: one slow run on a busy machine does not move it.
#pragma once

#include <algorithm>
#include <vector>

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
