// A report laid out and evaluated over the full demo plate: a detail band per sample with
// text boxes of plate formulas and a graph. The peer in the same program lays out the same
// report over simulated samples without a plate, so the ratio shows what the evaluation costs.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "document/QDoc.h"
#include "reports/RPObjectGraph.h"
#include "reports/RPObjectTextBox.h"
#include "reports/RPReport.h"

namespace {

const std::string kDemoPlate = std::string(VYN_SOURCE_DIR) + "/resources/demo/Demo.plt";

void BuildReport(vyn::RPReport& r)
{
    r.Detail().StoreHeight(720);
    const char* contents[] = {"=page", "=conc", "=ident", "=1+2*3"};
    int left = 0;
    for (const char* c : contents) {
        auto t = std::make_unique<vyn::RPObjectTextBox>();
        t->PlaceTwips(left, 0, 1400, 300);
        t->StoreContents(c);
        r.Detail().AddObject(std::move(t));
        left += 1440;
    }
    auto g = std::make_unique<vyn::RPObjectGraph>();
    g->PlaceTwips(0, 300, 4320, 400);
    r.Detail().AddObject(std::move(g));
    r.Print().dpiX = r.Print().dpiY = 300;
    r.Print().pageRect = vyn::TRect(0, 0, 2400, 3300);
}

void BM_PaginateSimulated(benchmark::State& state)
{
    vyn::GetRPRunShell().fakeSamples = [](int& f, int& s) {
        f = 0;
        s = 96;
    };
    for (auto _ : state) {
        vyn::RPReport r;
        BuildReport(r);
        r.Paginate();
        benchmark::DoNotOptimize(r.Print().pageCount);
        r.FreePages();
    }
    vyn::GetRPRunShell().fakeSamples = nullptr;
}
BENCHMARK(BM_PaginateSimulated);

void BM_PaginateEvaluateDemoPlate(benchmark::State& state)
{
    auto doc = std::make_unique<vyn::QDoc>();
    doc->SetDocPath(kDemoPlate);
    if (!doc->InitDoc()) {
        state.SkipWithError("cannot open the demo plate");
        return;
    }
    doc->CalculatePlate();
    for (auto _ : state) {
        vyn::RPReport r;
        BuildReport(r);
        r.SetRunSource(&doc->GetPlate(), doc.get());
        r.Paginate();
        benchmark::DoNotOptimize(r.Print().pageCount);
        r.FreePages();
    }
}
BENCHMARK(BM_PaginateEvaluateDemoPlate);

}  // namespace

BENCHMARK_MAIN();
