// One four-parameter fit of 16 standards (8 concentrations in duplicate) by the calibration's
// quasi-Newton minimiser, and the same fit by cminpack's Levenberg-Marquardt for comparison.
// The counters carry each method's sum of squares; the figure that matters is the time ratio.
#include <benchmark/benchmark.h>
#include <cminpack.h>

#include <cmath>
#include <vector>

#include "calibration/QCalibr.h"

namespace {

const std::vector<double> kX = {0, 0, 0.5, 0.5, 1.5, 1.5, 4.5, 4.5,
                                13.5, 13.5, 40.5, 40.5, 121.5, 121.5, 364.5, 364.5};
const std::vector<double> kY = {0.061, 0.058, 0.112, 0.105, 0.198, 0.213, 0.452, 0.431,
                                0.988, 1.021, 1.702, 1.665, 2.212, 2.251, 2.468, 2.449};

double Logistic(const double* p, double x)
{
    return (p[0] - p[3]) / (1 + std::pow(x / p[2], p[1])) + p[3];
}

void BM_QCalibrFourParameter(benchmark::State& state)
{
    std::vector<double> conc;
    std::vector<vyn::QCalEntry> entries;
    for (std::size_t i = 0; i < kX.size(); ++i) {
        if (conc.empty() || conc.back() != kX[i]) conc.push_back(kX[i]);
        entries.push_back({static_cast<int>(conc.size()) - 1, kY[i], false});
    }
    double ss = 0;
    for (auto _ : state) {
        vyn::QCalibr cal;
        cal.SetParams(vyn::cmFourParameter, 0, 0, conc, 0, 0.0, 1.0);
        cal.Recalc(&entries);
        benchmark::DoNotOptimize(cal.results.data());
        ss = 0;
        for (std::size_t i = 0; i < kX.size(); ++i) {
            double r = cal.CurveYFourParameter(kX[i]) - kY[i];
            ss += r * r;
        }
    }
    state.counters["sum_of_squares"] = ss;
}
BENCHMARK(BM_QCalibrFourParameter);

int Residuals(void*, int m, int, const double* p, double* fvec, int)
{
    for (int i = 0; i < m; ++i) fvec[i] = Logistic(p, kX[static_cast<std::size_t>(i)]) - kY[static_cast<std::size_t>(i)];
    return 0;
}

void BM_CminpackLmdif1(benchmark::State& state)
{
    const int m = static_cast<int>(kX.size());
    std::vector<double> fvec(m), wa(m * 4 + 5 * 4 + m);
    int iwa[4];
    double ss = 0;
    for (auto _ : state) {
        // The same start values as the calibration's fit: A, D the extreme signals, B 1, C at the
        // steepest step.
        double p[4] = {0.058, 1.0, std::sqrt(4.5 * 13.5), 2.468};
        lmdif1(Residuals, nullptr, m, 4, p, fvec.data(), 1e-10, iwa, wa.data(), static_cast<int>(wa.size()));
        benchmark::DoNotOptimize(p);
        ss = 0;
        for (double r : fvec) ss += r * r;
    }
    state.counters["sum_of_squares"] = ss;
}
BENCHMARK(BM_CminpackLmdif1);

}  // namespace

BENCHMARK_MAIN();
