// A small plate with every kind of sample, run through every pass in the order of the
// document's recalculation.
#include <gtest/gtest.h>

#include <cmath>

#include "evaluator/NoValue.h"
#include "plate/QNSample.h"
#include "plate/QPlate.h"
#include "plate/QQSample.h"
#include "PlateTestUtil.h"

namespace vyn {
namespace {

using test::AddDesc;
using test::Lay;

// The passes in the recalculation's order, every error skipped.
void RunPasses(QPlate& p)
{
    if (p.measuredCount == 0 && p.dataCount == 0) return;
    if (p.dataMode != dmMeasured && p.dataCount == 0 && !p.currentBlank) {
        p.InvalidateAll();
        const bool ok = p.CalcBlanking() == 1;
        if (p.dataMode == dmGeneral)
            while (p.CalcTransformation(true) != 1) {}
        p.CommitPending(ok || p.dataMode == dmGeneral);
    } else if (p.dataMode != dmMeasured && !p.currentBlank) {
        p.EvalBlank();
    }
    if (p.calibr.state == csNotCalculated && p.stdInUse) {
        p.InvalidateCalculations();
        p.RecalcCalibration();
    }
    if (p.calculations.HasPending()) {
        p.InvalidateSampleResults();
        p.CalcCalculations();
    }
    for (int i = 0; i < p.sampleCount; ++i) {
        if (p.GetSample(i)->Calculate() != 0) ++p.samplesWithResults;
    }
    if (p.validations.HasPending()) {
        p.InvalidateValidation();
        p.CalcValidation();
    }
}

struct FixturePlate : ::testing::Test {
    QPlate p;
    QQSample* qual[3] = {};
    QNSample* quant[2] = {};

    void SetUp() override
    {
        // Measured values; every well also carries the plate blank 0.06.
        std::vector<double> m(96, NoValue);
        auto set = [&](const char* well, double dataValue) {
            m[static_cast<std::size_t>(test::Well(p, well))] = dataValue + 0.06;
        };

        // Controls in row A: blanks (0.05, 0.07 measured), negatives, a positive.
        QDesc* blank = AddDesc(p, skGlobal, "Blank");
        QDesc* neg = AddDesc(p, skGlobal, "Neg");
        QDesc* pos = AddDesc(p, skGlobal, "Pos");
        Lay(p.globSample, blank, {{0, 0}, {1, 0}});
        Lay(p.globSample, neg, {{2, 0}, {3, 0}});
        Lay(p.globSample, pos, {{4, 0}});
        p.globSample.LinkWells();
        p.globInUse = &p.globSample;
        m[0] = 0.05;
        m[1] = 0.07;
        set("A3", 0.10);
        set("A4", 0.12);
        set("A5", 1.50);

        // Standards 0, 1, 2, 4 in row B and C: duplicates plus one reference well per group,
        // signal over the reference = 0.1 + 0.5 c.
        QDesc* stdDesc = AddDesc(p, skStandard, "S");
        QDesc* stdRef = AddDesc(p, skStandard | 0x10, "SRef");
        const double conc[] = {0, 1, 2, 4};
        for (int g = 0; g < 4; ++g) {
            const int first = 12 + 3 * g;
            Lay(p.stdSample, stdDesc, {{first, g}, {first + 1, g}});
            Lay(p.stdSample, stdRef, {{first + 2, g}});
            m[static_cast<std::size_t>(first)] = m[static_cast<std::size_t>(first + 1)] = 0.2 + 0.5 * conc[g] + 0.06;
            m[static_cast<std::size_t>(first + 2)] = 0.1 + 0.06;
        }
        p.stdSample.LinkWells();
        p.stdInUse = &p.stdSample;
        p.calibr.SetParams(cmLinear, 0, 0, {0, 1, 2, 4}, 0, 0, 1);

        // Qualitative samples in row D, judged against the cut-off of the calculations.
        QDesc* qd = AddDesc(p, skQualitative, "X");
        const double qualData[] = {0.13, 0.325, 0.52};
        for (int i = 0; i < 3; ++i) {
            auto q = std::make_unique<QQSample>(&p);
            Lay(*q, qd, {{36 + i, 0}});
            q->LinkWells();
            m[static_cast<std::size_t>(36 + i)] = qualData[i] + 0.06;
            qual[i] = q.get();
            p.InsertSample(std::move(q), i, false);
        }
        p.globalQualDef = {
            {"ratio", "OD / cutoff"},
            {"cat", "ratio < 1 ? \"neg\" : ratio < 1.5 ? \"grey\" : \"pos\""},
            {"color", "cat = \"neg\" ? \"RGB(0,128,0)\" : cat = \"grey\" ? \"noc\" : \"RGB(255,0,0)\""},
            {"result", "cat"},
        };

        // Quantitative samples in rows E and F, duplicates at dilutions 1 and 2.
        QDesc* nd = AddDesc(p, skQuantitative, "N");
        const double quantData[2][4] = {{1.1, 1.1, 0.6, 0.6}, {1.2, 1.4, 0.8, 0.8}};
        for (int i = 0; i < 2; ++i) {
            auto n = std::make_unique<QNSample>(&p);
            const int first = 48 + 12 * i;
            Lay(*n, nd, {{first, 0}, {first + 1, 0}, {first + 2, 1}, {first + 3, 1}});
            n->LinkWells();
            n->SetOwnDefinition({});
            n->SetOwnQuantDefinition({1, 2});
            for (int k = 0; k < 4; ++k) m[static_cast<std::size_t>(first + k)] = quantData[i][k] + 0.06;
            quant[i] = n.get();
            p.InsertSample(std::move(n), 3 + i, false);
        }

        p.calculations.definitions = {{"cutoff", "avg(Neg) + 0.1 * Pos"}, {"hi", "cutoff * 1.5"}};
        p.validations.definitions = {{"negok", "avg(Neg) < 0.2"}, {"posok", "Pos > hi"}, {"std", "caxmax = 4"}};
        p.blankExpr = "avg(Blank)";
        p.ClearDataValues(dmSimple);
        p.SetMeasuredValues(m);
    }
};

TEST_F(FixturePlate, SimpleBlankingThroughEveryPass)
{
    RunPasses(p);
    EXPECT_DOUBLE_EQ(p.blankValue.Number(), 0.06);
    EXPECT_NEAR(p.wells[2].data, 0.10, 1e-12);
    ASSERT_EQ(p.calibr.state, csValid) << p.calibr.message;

    // Chained calculations: cutoff = 0.11 + 0.15, hi = 1.5 cutoff.
    EXPECT_NEAR(p.calculations.results[0].Number(), 0.26, 1e-12);
    EXPECT_NEAR(p.calculations.results[1].Number(), 0.39, 1e-12);

    // Categories and colours from ratios 0.5, 1.25, 2.
    const char* cats[] = {"neg", "grey", "pos"};
    const std::uint32_t colours[] = {0x008000, kNoSampleColour, 0x0000FF};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(qual[i]->resultState, rsCalculated) << i << ": " << qual[i]->errorTexts.back();
        EXPECT_EQ(qual[i]->results.back().Text(), cats[i]) << i;
        EXPECT_EQ(qual[i]->colour, colours[i]) << i;
    }

    // Concentrations by hand on the line signal = 0.1 + 0.5 c, slope 0.5, two points a run:
    // sample 1: x = 2 at dilution 1, x = 1 at dilution 2: (2 + 1) / (1 + 0.5) = 2;
    // sample 2: x = 2.4 at 1, x = 1.4 at 2: (2.4 + 1.4) / (1 + 0.5) = 2.5333...
    const double expected[] = {2.0, 3.8 / 1.5};
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(quant[i]->resultState, 1) << i << ": " << quant[i]->errorTexts[0];
        EXPECT_NEAR(quant[i]->results[0].Number(), expected[i], 1e-12) << i;
        EXPECT_EQ(quant[i]->concStatus, 1);
        EXPECT_NEAR(quant[i]->wellConcs[2], expected[i] / 2, 1e-12) << i;
    }
    bool isText;
    EXPECT_EQ(p.SampleResultText(*quant[1], isText), "2.53");
    EXPECT_EQ(p.samplesWithResults, 5);

    EXPECT_EQ(p.validity, pvValid);

    // A second run finds nothing to do.
    p.rst.Reset(0);
    RunPasses(p);
    EXPECT_FALSE(p.rst.AnyChanged());
}

TEST_F(FixturePlate, EveryDataModeGivesTheSameResults)
{
    RunPasses(p);
    const double simple = quant[1]->results[0].Number();

    // General blanking: the transformation does what simple blanking did.
    p.InvalidateAll();
    p.ClearDataValues(dmGeneral);
    p.transformExpr = "Cur - gblank";
    RunPasses(p);
    EXPECT_NEAR(p.wells[2].data, 0.10, 1e-12);
    EXPECT_NEAR(quant[1]->results[0].Number(), simple, 1e-12);
    EXPECT_EQ(p.validity, pvValid);

    // No blanking: the data are the measured values, every signal 0.06 higher.
    p.InvalidateAll();
    p.ResetDataToMeasured();
    RunPasses(p);
    EXPECT_EQ(p.wells[2].data, p.wells[2].measured);
    EXPECT_EQ(p.currentBlank, nullptr);
    EXPECT_EQ(p.calibr.state, csValid);
    // Standards keep their reference subtraction, the samples have none: x up by 0.12.
    EXPECT_NEAR(quant[0]->results[0].Number(), (2.12 + 1.12) / 1.5, 1e-12);
}

TEST_F(FixturePlate, WhatEachChangeMakesStale)
{
    RunPasses(p);

    // A typed measured value drops the blanked data; the next run redoes everything and a
    // stronger positive control moves the cut-off and so the categories.
    p.SetMeasuredValue(test::Well(p, "A5"), 2.5 + 0.06);
    EXPECT_EQ(p.dataCount, 0);
    EXPECT_EQ(p.currentBlank, nullptr);
    RunPasses(p);
    EXPECT_NEAR(p.calculations.results[0].Number(), 0.36, 1e-12);
    EXPECT_EQ(qual[1]->results.back().Text(), "neg") << "0.325 / 0.36";

    // A changed calculation makes the samples and the validation stale, not the fit.
    p.calculations.definitions[0].text = "0.25";
    p.InvalidateCalculations();
    EXPECT_EQ(p.calibr.state, csValid);
    EXPECT_EQ(p.samplesWithResults, 0);
    EXPECT_EQ(p.validity, pvNotValidated);
    EXPECT_NE(p.dataCount, 0);
    RunPasses(p);
    EXPECT_EQ(qual[1]->results.back().Text(), "grey") << "0.325 / 0.25";
    EXPECT_EQ(p.validity, pvValid);

    // A changed standard concentration makes the fit stale and with it every result.
    p.calibr.SetParams(cmLinear, 0, 0, {0, 2, 4, 8}, 0, 0, 1);
    p.InvalidateResults();
    EXPECT_EQ(p.calibr.state, csNotCalculated);
    EXPECT_EQ(p.calculations.ResultCount(), 0);
    RunPasses(p);
    EXPECT_NEAR(quant[0]->results[0].Number(), 4.0, 1e-12) << "every concentration doubles";

    // A failing blank leaves the plate without data and says why.
    p.blankExpr = "avg(Nothing)";
    p.InvalidateAll();
    RunPasses(p);
    EXPECT_EQ(p.dataCount, 0);
    EXPECT_EQ(p.passErrorText, "Variable \"Nothing\" not found.");
    EXPECT_EQ(p.calibr.state, csFailed) << "standards without data values";
    EXPECT_EQ(quant[0]->errorTexts[0], "Absorbances missing.");
}

}  // namespace
}  // namespace vyn
