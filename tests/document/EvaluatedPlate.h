#pragma once
// A plate document measured and then evaluated in full, for the commands that must drop
// exactly what a change makes stale: controls A1 A2 at 0.05, standards B1..B4 for 10, 20, 40,
// 80 at 0.05 + 0.01 c (linear), quantitative samples on C1 (0.35) and C2 (0.55), a qualitative
// sample on D1 (0.30); simple blanking with the mean of the controls, one calculation, one
// evaluation, one validation, so that every number can be worked out by hand. After the run
// the samples read 30 and 50 and the plate is valid.
#include <gtest/gtest.h>

#include "QDocTestUtil.h"
#include "ScriptedDialogs.h"
#include "evaluator/NoValue.h"
#include "plate/QNSample.h"

namespace vyn::test {

inline constexpr Heard kPlateChanged{vnPlateChanged, 0};

// The layout, definitions and measured values above, nothing calculated yet.
struct MeasuredPlate : DocFixture {
    MeasuredPlate()
    {
        doc.PlaceSampleAt(nullptr, ctl, 0, W("A1"), W("A2"), false);
        doc.PlaceStandardAt(nullptr, standard, W("B1"), W("B4"), false, arSingle);
        doc.PlaceNewSampleAt(quant, W("C1"), W("C2"), false, arSingle);
        doc.PlaceNewSampleAt(qual, W("D1"), W("D1"), false, arSingle);
        p.calibr.SetParams(cmLinear, 0, 0, {10, 20, 40, 80}, 0, 0.0, 1.0);
        p.globalQualDef = {{"res1", "OD > 0.2"}};
        p.calculations.definitions = {{"fct1", "gblank * 2"}};
        p.validations.definitions = {{"cond1", "fct1 < 1"}};
        std::vector<double> v(96, NoValue);
        const std::pair<const char*, double> values[] = {
            {"A1", 0.05}, {"A2", 0.05}, {"B1", 0.15}, {"B2", 0.25}, {"B3", 0.45},
            {"B4", 0.85}, {"C1", 0.35}, {"C2", 0.55}, {"D1", 0.30},
        };
        for (auto [w, x] : values) v[static_cast<std::size_t>(W(w))] = x;
        p.ClearDataValues(dmSimple);
        p.blankExpr = "avg(BL)";
        p.SetMeasuredValues(v);
    }
};

struct EvaluatedPlate : MeasuredPlate {
    explicit EvaluatedPlate(bool evaluate = true)
    {
        if (evaluate) {
            ScriptedReport report;
            doc.CalculatePlate(&report);
            EXPECT_TRUE(report.shown.empty()) << report.shown.front().title;
            EXPECT_EQ(p.calibr.state, csValid) << p.calibr.message;
            EXPECT_EQ(p.samplesWithResults, 3);
            EXPECT_EQ(p.validity, pvValid);
        }
        p.rst.Reset(0);
        doc.SetDirty(false);
        Take();
    }

    // Which results are still there, as "cal calc s0 s1 s2 val", '-' for each one gone.
    std::string Kept() const
    {
        auto mark = [](bool kept, const char* name) { return kept ? std::string(name) : std::string("-"); };
        return mark(p.calibr.state == csValid, "cal") + " " +
               mark(p.calculations.ResultCount() > 0, "calc") + " " +
               mark(p.GetSample(0)->HasResults(), "s0") + " " +
               mark(p.GetSample(1)->HasResults(), "s1") + " " +
               mark(p.GetSample(2)->HasResults(), "s2") + " " +
               mark(p.validations.ResultCount() > 0 || p.validity != pvNotValidated, "val");
    }
    static constexpr const char* kAllKept = "cal calc s0 s1 s2 val";

    double Conc(int i) const { return p.GetSample(i)->results.front().Number(); }
};

}  // namespace vyn::test
