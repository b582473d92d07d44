// Time of one full recalculation of a 96-well plate with a realistic method: general
// blanking with a transformation, ten chained calculations, a linear calibration from six
// standards in duplicate, twenty quantitative samples in duplicate, thirty-eight qualitative
// samples in three categories and three validations. The peer run is the blanking and
// transformation alone, so the ratio tells what the rest of the method costs on top.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "evaluator/NoValue.h"
#include "plate/QNSample.h"
#include "plate/QPlate.h"
#include "plate/QQSample.h"

namespace vyn {
namespace {

QDesc* AddDesc(QPlate& p, std::uint32_t kind, const char* name)
{
    p.descs.push_back(std::make_unique<QDesc>(kind, name, TColor(0, 0, 0), ""));
    return p.descs.back().get();
}

std::unique_ptr<QPlate> BuildPlate()
{
    auto plate = std::make_unique<QPlate>();
    QPlate& p = *plate;
    std::vector<double> m(96, NoValue);
    int well = 0;
    auto lay = [&](QSample& s, QDesc* d, int group, double value) {
        s.AddWellEntry(QSegm{group, well, d});
        m[static_cast<std::size_t>(well++)] = value + 0.05;
    };

    QDesc* blank = AddDesc(p, skGlobal, "Blank");
    QDesc* neg = AddDesc(p, skGlobal, "Neg");
    QDesc* pos = AddDesc(p, skGlobal, "Pos");
    for (int i = 0; i < 2; ++i) lay(p.globSample, blank, 0, 0.0);
    for (int i = 0; i < 2; ++i) lay(p.globSample, neg, 0, 0.1 + 0.01 * i);
    for (int i = 0; i < 2; ++i) lay(p.globSample, pos, 0, 1.5 + 0.02 * i);
    p.globSample.LinkWells();
    p.globInUse = &p.globSample;

    QDesc* stdDesc = AddDesc(p, skStandard, "S");
    const std::vector<double> conc = {0, 0.5, 1, 2, 4, 8};
    for (int g = 0; g < 6; ++g)
        for (int r = 0; r < 2; ++r) lay(p.stdSample, stdDesc, g, 0.1 + 0.25 * conc[static_cast<std::size_t>(g)] + 0.003 * r);
    p.stdSample.LinkWells();
    p.stdInUse = &p.stdSample;
    p.calibr.SetParams(cmLinear, 0, 0, conc, 0, 0, 1);

    QDesc* nd = AddDesc(p, skQuantitative, "N");
    for (int i = 0; i < 20; ++i) {
        auto n = std::make_unique<QNSample>(&p);
        const double signal = 0.2 + 0.09 * i;
        lay(*n, nd, 0, signal);
        lay(*n, nd, 0, signal * 1.02);
        n->LinkWells();
        n->SetOwnDefinition({});
        p.InsertSample(std::move(n), p.sampleCount, false);
    }
    QDesc* qd = AddDesc(p, skQualitative, "X");
    while (well < 96) {
        auto q = std::make_unique<QQSample>(&p);
        lay(*q, qd, 0, 0.05 * (well % 20));
        q->LinkWells();
        p.InsertSample(std::move(q), p.sampleCount, false);
    }
    p.globalQualDef = {
        {"ratio", "OD / cutoff"},
        {"cat", "ratio < 1 ? \"neg\" : ratio < 1.5 ? \"grey\" : \"pos\""},
        {"color", "cat = \"neg\" ? \"RGB(0,128,0)\" : cat = \"grey\" ? \"noc\" : \"RGB(255,0,0)\""},
        {"result", "cat"},
    };
    p.calculations.definitions = {
        {"nc", "avg(Neg)"},        {"pc", "avg(Pos)"},           {"span", "pc - nc"},
        {"cutoff", "nc + 0.1 * pc"}, {"grey", "cutoff * 1.5"},   {"ncsd", "std(Neg)"},
        {"pcsd", "std(Pos)"},      {"ratio", "pc / nc"},         {"low", "min(A1H12)"},
        {"high", "max(A1H12)"},
    };
    p.validations.definitions = {{"negok", "nc < 0.2"}, {"posok", "pc > grey"}, {"fit", "caxmax = 8"}};
    p.blankExpr = "avg(Blank)";
    p.transformExpr = "Cur - gblank";
    p.ClearDataValues(dmGeneral);
    p.SetMeasuredValues(m);
    return plate;
}

void Blanking(QPlate& p)
{
    p.InvalidateAll();
    p.CalcBlanking();
    while (p.CalcTransformation(true) != 1) {}
    p.CommitPending(true);
}

void AllPasses(QPlate& p)
{
    Blanking(p);
    p.RecalcCalibration();
    p.CalcCalculations();
    for (int i = 0; i < p.sampleCount; ++i)
        if (p.GetSample(i)->Calculate() != 0) ++p.samplesWithResults;
    p.CalcValidation();
}

void BM_PlateAllPasses(benchmark::State& state)
{
    auto plate = BuildPlate();
    AllPasses(*plate);
    if (plate->validity != pvValid || plate->calibr.state != csValid) {
        state.SkipWithError("the benchmark's method does not evaluate cleanly");
        return;
    }
    for (auto _ : state) {
        AllPasses(*plate);
        benchmark::DoNotOptimize(plate->validity);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("items = plates");
}
BENCHMARK(BM_PlateAllPasses)->Unit(benchmark::kMicrosecond);

void BM_PlateBlankingOnly(benchmark::State& state)
{
    auto plate = BuildPlate();
    for (auto _ : state) {
        Blanking(*plate);
        benchmark::DoNotOptimize(plate->dataCount);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("peer: blanking and transformation alone");
}
BENCHMARK(BM_PlateBlankingOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vyn

BENCHMARK_MAIN();
