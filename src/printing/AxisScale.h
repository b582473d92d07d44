#pragma once
// Axis scaling of the graph windows: "nice" linear ticks and the decades of a logarithmic axis.
#include <string>

namespace vyn {

struct AxisNice {
    double first = 0.0;
    double last = 0.0;
    double step = 1.0;
    int intervals = 0;
    int digits = 0;
    int minor = 1;
};

// Ticks at round multiples of 2, 1, 0.5, 0.2 or 0.1 times the range's decade, the coarsest one
// that gives at least minIntervals intervals. An empty range is widened by 1 on each side.
AxisNice AxisNiceScale(int minIntervals, double low, double high);

// The decade exponents that enclose low..high (both positive); an empty range becomes
// low..2*low first.
void AxisDecade(int& firstExp, int& lastExp, double low, double high);

// The tick labels: "%g" of a value, and "0.01" .. "100" or "1e<n>" for decade n.
std::string AxisValueLabel(double v);
std::string AxisDecadeLabel(int exponent);

}  // namespace vyn
