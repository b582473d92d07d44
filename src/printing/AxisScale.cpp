#include "printing/AxisScale.h"

#include <algorithm>
#include <cmath>

#include "printing/APrintOutGraph.h"

namespace vyn {

AxisNice AxisNiceScale(int minIntervals, double low, double high)
{
    if (low == high) {
        low -= 1.0;
        high += 1.0;
    }
    AxisNice a;
    const double p = std::pow(10.0, std::floor(std::log10(high - low)));
    for (double f : {2.0, 1.0, 0.5, 0.2, 0.1}) {
        a.step = f * p;
        a.first = std::floor(low / a.step) * a.step;
        a.last = std::ceil(high / a.step) * a.step;
        a.intervals = static_cast<int>(std::lround((a.last - a.first) / a.step));
        a.minor = f == 0.5 ? 4 : 1;
        if (a.intervals >= minIntervals) break;
    }
    const double big = std::max(std::fabs(a.first), std::fabs(a.last));
    a.digits = static_cast<int>(std::floor(std::log10(1.1 * big)) - std::floor(std::log10(1.1 * a.step))) + 1;
    return a;
}

void AxisDecade(int& firstExp, int& lastExp, double low, double high)
{
    if (high == low) high = 2.0 * low;
    firstExp = static_cast<int>(std::floor(std::log10(low)));
    lastExp = static_cast<int>(std::ceil(std::log10(high)));
}

std::string AxisValueLabel(double v) { return APrintOutGraph::ValueLabel(v); }

std::string AxisDecadeLabel(int e) { return APrintOutGraph::DecadeLabel(e); }

}  // namespace vyn
