// Writing and reading a full 96-well plate file, measured against the tokenizer alone on the
// same bytes: the ratio shows what the format's checks and the plate model add to lexing.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "document/ICrunch.h"
#include "document/LineReader.h"
#include "document/PlateFile.h"
#include "plate/QPlate.h"
#include "plate/QQSample.h"

namespace {

using namespace vyn;

// Controls, and 94 qualitative samples of one well each, every well measured.
void BuildFullPlate(QPlate& p)
{
    p.methodName = "Full plate";
    p.methodInfo = "every well measured";
    p.descs.push_back(std::make_unique<QDesc>(0x01, "Ctl", TColor(255, 0, 0), "control"));
    p.descs.push_back(std::make_unique<QDesc>(0x02, "Smp", TColor(0, 0, 255), "sample"));
    p.calculations.definitions = {{"ratio", "A1 / A2"}, {"cut", "0.5 * ratio"}};
    p.globalQualDef = {{"pos", "Smp > cut"}};
    p.globSample.AddWellEntry(QSegm{0, 0, p.descs[0].get()});
    p.globSample.AddWellEntry(QSegm{0, 1, p.descs[0].get()});
    p.globInUse = &p.globSample;
    p.globSample.LinkWells();
    for (int w = 2; w < 96; ++w) {
        auto s = std::make_unique<QQSample>(&p);
        s->ident = "Patient " + std::to_string(w);
        s->AddWellEntry(QSegm{0, w, p.descs[1].get()});
        QQSample* sp = s.get();
        p.InsertSample(std::move(s), p.sampleCount, false);
        sp->LinkWells();
    }
    for (int w = 0; w < 96; ++w) {
        p.wells[static_cast<std::size_t>(w)].measured = 0.1 + w * 0.0123456789;
        p.wells[static_cast<std::size_t>(w)].data = p.wells[static_cast<std::size_t>(w)].measured;
    }
    p.measuredCount = p.dataCount = 96;
    p.measureTime = 13350000012345ull;
}

std::string FullPlateBytes()
{
    QPlate p;
    BuildFullPlate(p);
    std::string block;
    RenderPlateBlock(p, pwPlate, block);
    return block;
}

void BM_WritePlateFile(benchmark::State& state)
{
    QPlate p;
    BuildFullPlate(p);
    std::string block;
    for (auto _ : state) {
        RenderPlateBlock(p, pwPlate, block);
        benchmark::DoNotOptimize(block.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(block.size()));
}
BENCHMARK(BM_WritePlateFile);

void BM_ReadPlateFile(benchmark::State& state)
{
    const std::string bytes = FullPlateBytes();
    for (auto _ : state) {
        QPlate p;
        LineReader reader;
        reader.OpenMemory(bytes);
        benchmark::DoNotOptimize(ReadPlateFile(p, reader, -1));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadPlateFile);

// The peer: the same bytes through the tokenizer only, records split and nothing kept.
void BM_TokenizeOnly(benchmark::State& state)
{
    const std::string bytes = FullPlateBytes();
    for (auto _ : state) {
        LineReader reader;
        reader.OpenMemory(bytes);
        ICrunch in(reader);
        int records = 0;
        while (in.GetTag() > 0) {
            ++records;
            in.NextLine();
        }
        benchmark::DoNotOptimize(records);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_TokenizeOnly);

}  // namespace

BENCHMARK_MAIN();
