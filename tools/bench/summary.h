#pragma once
// The median, fastest and slowest of a series of measurements. The median is
// what the benchmark reports: one slow run (a page fault, the wine server
// busy elsewhere) moves it far less than it moves a mean.

#include <algorithm>
#include <cstddef>
#include <vector>

namespace bench {

struct Summary {
    std::size_t count = 0;
    double median = 0;
    double min = 0;
    double max = 0;
};

inline Summary Summarize(std::vector<double> values) {
    Summary s;
    s.count = values.size();
    if (values.empty()) return s;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    s.min = values.front();
    s.max = values.back();
    return s;
}

}  // namespace bench
