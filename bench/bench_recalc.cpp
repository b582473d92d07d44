// Whole-plate recalculation of the demo plate through the plate document: open the file,
// recalculate every pass, read the results; once per curve model. The peer in the same
// program is opening the plate alone, so the ratio shows what the recalculation adds.
#include <benchmark/benchmark.h>

#include <string>

#include "document/QDoc.h"

namespace {

const std::string kDemoPlate = std::string(VYN_SOURCE_DIR) + "/resources/demo/Demo.plt";

std::unique_ptr<vyn::QDoc> OpenDemo()
{
    auto doc = std::make_unique<vyn::QDoc>();
    doc->SetDocPath(kDemoPlate);
    if (!doc->InitDoc()) return nullptr;
    return doc;
}

void BM_OpenOnly(benchmark::State& state)
{
    for (auto _ : state) {
        auto doc = OpenDemo();
        if (!doc) {
            state.SkipWithError("cannot open the demo plate");
            return;
        }
        benchmark::DoNotOptimize(doc->GetPlate().measuredCount);
    }
}
BENCHMARK(BM_OpenOnly);

void BM_OpenRecalculate(benchmark::State& state)
{
    const int model = static_cast<int>(state.range(0));
    state.SetLabel(vyn::QCalibr::ModelName(model));
    for (auto _ : state) {
        auto doc = OpenDemo();
        if (!doc) {
            state.SkipWithError("cannot open the demo plate");
            return;
        }
        vyn::QPlate& p = doc->GetPlate();
        p.calibr.SetParams(model, p.calibr.decreasing, p.calibr.logX, p.calibr.concentrations, p.calibr.fixedK,
                           p.calibr.K0, p.calibr.K1);
        doc->CalculatePlate();
        double sum = 0.0;
        for (int i = 0; i < p.sampleCount; ++i) {
            const vyn::QSample* s = p.GetSample(i);
            if (!s->results.empty() && s->results[0].IsNumber()) sum += s->results[0].Number();
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_OpenRecalculate)->DenseRange(0, 5);

}  // namespace

BENCHMARK_MAIN();
