#pragma once
#include <cmath>
#include <string>
#include <vector>

#include "calibration/QCalibr.h"

namespace vyn::test {

// A calibration fitted to the given points: each run of equal x is one standard, in the order given.
inline QCalibr FitPoints(int model, const std::vector<double>& x, const std::vector<double>& y,
                         int decreasing = 0, int logX = 0, int fixedK = 0, double K0 = 0.0,
                         double K1 = 1.0)
{
    std::vector<double> conc;
    std::vector<QCalEntry> entries;
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (conc.empty() || conc.back() != x[i]) conc.push_back(x[i]);
        entries.push_back({static_cast<int>(conc.size()) - 1, y[i], false});
    }
    QCalibr cal;
    cal.SetParams(model, decreasing, logX, conc, fixedK, K0, K1);
    cal.Recalc(&entries);
    return cal;
}

// Relative difference, guarded for a zero reference.
inline double RelDiff(double got, double want)
{
    return std::fabs(got - want) / std::max(std::fabs(want), 1e-300);
}

}  // namespace vyn::test
