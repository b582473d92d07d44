// Parsing and evaluating typical method expressions. The evaluator parses its text on every
// evaluation, so the arithmetic ones are set against muparser doing the same (a new expression
// text, then one evaluation) and, for scale, against muparser evaluating its compiled form.
// The table at the end gives the ratios.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "evaluator/NoValue.h"
#include "evaluator/TEvaluator.h"
#include "evaluator/ValueChecks.h"

namespace {

using namespace vyn;

// Well values by name, as a plate answers them, and a small "mean" of numbers and vectors.
class WellPool : public TVarPool, public TFuncPool {
public:
    std::map<std::string, double> wells{{"A1", 0.512}, {"A2", 0.498}, {"A3", 0.505}, {"A4", 0.530},
                                        {"B1", 0.051}, {"B2", 0.049}};

    bool GetVar(TStackVal& v) override
    {
        auto it = wells.find(v.Name());
        if (it == wells.end()) return TVarPool::GetVar(v);
        v.SetNumber(it->second);
        return true;
    }

    bool CallFunc(TStackVal* args, int count) override
    {
        if (args[0].Name() != "mean") return TFuncPool::CallFunc(args, count);
        double sum = 0;
        int n = 0;
        for (int i = 1; i <= count; ++i) {
            RequireNumeric(args[i]);
            if (args[i].IsVector()) {
                for (double d : args[i].Numbers())
                    if (!IsNoValue(d)) sum += d, ++n;
            } else if (!IsNoValue(args[i].Number())) {
                sum += args[i].Number(), ++n;
            }
        }
        args[0].SetNumber(n ? sum / n : NoValue);
        return true;
    }
};

struct Case {
    const char* label;
    const char* vyn;
    const char* muparser;  // nullptr: not purely arithmetic
};

const Case kCases[] = {
    {"well_average", "(A1+A2)/2-B1", "(A1+A2)/2-B1"},
    {"conditional", "A1 > 0.5 ? (A1-B1)*2 : 0", "A1 > 0.5 ? (A1-B1)*2 : 0"},
    {"blank_corrected_ratio", "(A1-(B1+B2)/2)/(A2-(B1+B2)/2)*100", "(A1-(B1+B2)/2)/(A2-(B1+B2)/2)*100"},
    {"vector_mean", "mean({A1,A2,A3,A4}-B1)", nullptr},
};

void BM_Vyn(benchmark::State& state, const Case& c)
{
    WellPool pool;
    TEvaluator ev;
    ev.AddVarPool(&pool);
    ev.AddFuncPool(&pool);
    double sink = 0;
    for (auto _ : state) {
        if (ev.Evaluate(c.vyn) != 0) {
            state.SkipWithError("evaluation failed");
            break;
        }
        sink += ev.Result().Number();
    }
    benchmark::DoNotOptimize(sink);
}

void BindWells(mu::Parser& p, std::map<std::string, double>& wells)
{
    for (auto& [name, value] : wells) p.DefineVar(name, &value);
}

void BM_MuParserParseEval(benchmark::State& state, const Case& c)
{
    WellPool pool;
    mu::Parser p;
    BindWells(p, pool.wells);
    double sink = 0;
    for (auto _ : state) {
        p.SetExpr(c.muparser);
        sink += p.Eval();
    }
    benchmark::DoNotOptimize(sink);
}

void BM_MuParserEval(benchmark::State& state, const Case& c)
{
    WellPool pool;
    mu::Parser p;
    BindWells(p, pool.wells);
    p.SetExpr(c.muparser);
    double sink = p.Eval();
    for (auto _ : state) sink += p.Eval();
    benchmark::DoNotOptimize(sink);
}

// Prints the usual table, then the evaluator's time against muparser's for each expression.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred) fTimes[r.benchmark_name()] = r.GetAdjustedRealTime();
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-24s %12s %14s %12s %16s %12s\n", "expression", "vyn ns", "muparser ns", "ratio",
                    "muparser eval ns", "ratio");
        for (const Case& c : kCases) {
            if (!c.muparser) continue;
            const double vyn = Time("vyn/", c), pe = Time("muparser_parse_eval/", c), e = Time("muparser_eval/", c);
            std::printf("%-24s %12.1f %14.1f %11.2fx %16.1f %11.1fx\n", c.label, vyn, pe, pe > 0 ? vyn / pe : 0.0, e,
                        e > 0 ? vyn / e : 0.0);
        }
        std::printf("(ratio: evaluator time / muparser time; muparser parse+eval sets a new expression text for "
                    "every evaluation, as the evaluator does)\n");
    }

private:
    double Time(const std::string& prefix, const Case& c) const
    {
        auto it = fTimes.find(prefix + c.label);
        return it == fTimes.end() ? 0.0 : it->second;
    }
    std::map<std::string, double> fTimes;
};

}  // namespace

int main(int argc, char** argv)
{
    for (const Case& c : kCases) {
        benchmark::RegisterBenchmark((std::string("vyn/") + c.label).c_str(), BM_Vyn, c);
        if (c.muparser) {
            benchmark::RegisterBenchmark((std::string("muparser_parse_eval/") + c.label).c_str(), BM_MuParserParseEval, c);
            benchmark::RegisterBenchmark((std::string("muparser_eval/") + c.label).c_str(), BM_MuParserEval, c);
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
