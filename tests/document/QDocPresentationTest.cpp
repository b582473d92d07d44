#include <gtest/gtest.h>

#include "EvaluatedPlate.h"

namespace vyn {
namespace {

using test::EvaluatedPlate;
using test::Heard;
using test::kPlateChanged;
using test::ScriptedDialogs;

Heard Presentation(long items)
{
    return {vnPresentationChanged, items};
}

TEST(PresentationOperations, DialogSendsTheBitsOfWhatChanged)
{
    struct Row {
        const char* name;
        bool resultMode;
        std::function<void(PresentationData&)> edit;
        long items;   // 0: nothing changed
    };
    const std::vector<Row> rows = {
        {"data, no change", false, [](PresentationData&) {}, 0},
        {"result, no change", true, [](PresentationData&) {}, 0},
        {"data format", false, [](PresentationData& d) { d.format.decimals = 1; }, 1},
        {"data format and cell width", false, [](PresentationData& d) { d.format.mode = nmGeneral; d.fieldWidth = 30; }, 5},
        {"result format and units", true, [](PresentationData& d) { d.format.digits = 6; d.units = "ng/ml"; }, 18},
        {"result width", true, [](PresentationData& d) { d.fieldWidth = 40; }, 8},
    };
    for (const Row& r : rows) {
        EvaluatedPlate f(false);
        ScriptedDialogs ui;
        ui.presentation = [&](PresentationData& d) {
            EXPECT_EQ(d.resultMode, r.resultMode) << r.name;
            EXPECT_EQ(d.fieldWidth, r.resultMode ? 36 : 22) << r.name;
            r.edit(d);
            return true;
        };
        const bool changed = r.resultMode ? f.doc.EditResultPresentation(ui) : f.doc.EditDataPresentation(ui);
        EXPECT_EQ(changed, r.items != 0) << r.name;
        EXPECT_EQ(f.Take(), r.items ? std::vector<Heard>{Presentation(r.items)} : std::vector<Heard>{}) << r.name;
        EXPECT_EQ(f.doc.IsDirty(), r.items != 0) << r.name;
    }

    EvaluatedPlate f;
    ScriptedDialogs ui;
    ui.presentation = [](PresentationData& d) {
        d.format = QNumFormat(nmScientific, 4, 5);
        d.units = "IU";
        d.fieldWidth = 12;
        return true;
    };
    ASSERT_TRUE(f.doc.EditResultPresentation(ui));
    EXPECT_EQ(f.p.resultsFormat, QNumFormat(nmScientific, 4, 5));
    EXPECT_EQ(f.p.units, "IU");
    EXPECT_EQ(f.p.resultFieldWidth, 12);
    EXPECT_EQ(f.Kept(), EvaluatedPlate::kAllKept) << "presentation never touches results";
}

TEST(PresentationOperations, SmallSettings)
{
    EvaluatedPlate f(false);
    EXPECT_FALSE(f.doc.SetPresentationMode(36));
    EXPECT_TRUE(f.doc.SetPresentationMode(50));
    EXPECT_EQ(f.Take(), (std::vector<Heard>{Presentation(8)}));
    EXPECT_TRUE(f.doc.IsDirty());

    f.doc.SetDirty(false);
    f.doc.SetDisplayOptions(0, 0, 0);
    EXPECT_FALSE(f.doc.IsDirty());
    f.doc.SetDisplayOptions(1, 0, 1);
    EXPECT_TRUE(f.doc.IsDirty());
    EXPECT_EQ(f.p.curveLogX, 1);
    EXPECT_EQ(f.p.curveGrid, 1);

    f.doc.SetDirty(false);
    EXPECT_FALSE(f.doc.SetReportDefinition(""));
    EXPECT_TRUE(f.doc.SetReportDefinition("RPRT;"));
    EXPECT_EQ(f.p.reportDef, "RPRT;");
    EXPECT_TRUE(f.doc.IsDirty());
    EXPECT_TRUE(f.Take().empty());
}

TEST(CalibrationOperations, ApplyCalibrationOnlyWhenThereIsSomethingToFit)
{
    {
        EvaluatedPlate f(false);
        EXPECT_FALSE(f.doc.ApplyCalibration()) << "before blanking the standards have no data values";
        EXPECT_EQ(f.p.calibr.state, csFailed);
        EXPECT_EQ(f.p.calibr.message, "Absorbances missing.") << "the failure stays for the status texts";
        EXPECT_TRUE(f.Take().empty());
        EXPECT_FALSE(f.doc.IsDirty());
    }
    {
        EvaluatedPlate f(false);
        f.doc.CalculateBlanking();
        f.Take();
        f.doc.SetDirty(false);
        EXPECT_TRUE(f.doc.ApplyCalibration());
        EXPECT_EQ(f.p.calibr.state, csValid);
        EXPECT_TRUE(f.p.rst.CalibrationChanged());
        EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged}));
        EXPECT_TRUE(f.doc.IsDirty());
        f.doc.SetDirty(false);
        EXPECT_FALSE(f.doc.ApplyCalibration()) << "already calculated";
        EXPECT_TRUE(f.Take().empty());
        EXPECT_FALSE(f.doc.IsDirty());
    }
    {
        test::DocFixture f;
        f.doc.PlaceStandardAt(nullptr, f.standard, test::W("B1"), test::W("B4"), false, arSingle);
        EXPECT_FALSE(f.doc.ApplyCalibration()) << "no values";
    }
    {
        EvaluatedPlate f;
        f.p.calibr.Remember();
        EXPECT_FALSE(f.doc.ApplyCalibration()) << "stored";
        EXPECT_FALSE(f.doc.SetPointFlags({1, 0, 0, 0})) << "excluding a point of a stored calibration";
        EXPECT_FALSE(f.doc.SetCurveRange(15, 60)) << "range of a stored calibration";
        EXPECT_EQ(f.Kept(), EvaluatedPlate::kAllKept);
        EXPECT_TRUE(f.Take().empty());
        EXPECT_FALSE(f.doc.IsDirty());
    }
}

TEST(CalibrationOperations, RangeAndPointsKeepTheFitAndDropWhatFollows)
{
    EvaluatedPlate f;
    EXPECT_TRUE(f.doc.SetCurveRange(15, 60));
    EXPECT_EQ(f.p.calibr.results[crRangeLo], 15);
    EXPECT_EQ(f.Kept(), "cal - - - - -");
    EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged}));

    EXPECT_TRUE(f.doc.SetPointFlags({0, 0, 0, 1}));
    EXPECT_EQ(f.p.calibr.pointExcluded, (std::vector<int>{0, 0, 0, 1}));
    EXPECT_EQ(f.p.calibr.state, csValid);
    EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged}));
}

TEST(CalibrationOperations, CalculateOneSample)
{
    EvaluatedPlate f;
    EXPECT_FALSE(f.doc.CalculateSample(0)) << "already has results";
    EXPECT_FALSE(f.doc.CalculateSample(9)) << "no such sample";
    EXPECT_TRUE(f.Take().empty());

    ASSERT_TRUE(f.doc.FixSample(1));   // the second quantitative sample becomes fixed sample 0
    ASSERT_EQ(f.doc.CalculatePlate(), 1);
    ASSERT_EQ(f.p.fixedCount, 1);
    f.p.ClearSampleResult(0);
    f.Take();
    ASSERT_TRUE(f.doc.CalculateSample(0));
    EXPECT_NEAR(f.Conc(0), 50.0, 1e-9);
    EXPECT_EQ(f.Kept(), "cal calc s0 - - -") << "a fixed sample drops every later result";
    EXPECT_EQ(f.p.samplesWithResults, 1);
    EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged}));

    ASSERT_TRUE(f.doc.CalculateSample(2));
    EXPECT_EQ(f.Kept(), "cal calc s0 - s2 -") << "a sequential sample keeps the others";
    EXPECT_EQ(f.p.samplesWithResults, 2);
}

TEST(CalibrationOperations, SamplePointFlags)
{
    EvaluatedPlate f;
    EXPECT_FALSE(f.doc.SetSamplePointFlags(2, {1})) << "not quantitative";
    f.p.ClearSampleResult(1);
    EXPECT_FALSE(f.doc.SetSamplePointFlags(1, {1})) << "no results yet";
    EXPECT_TRUE(f.Take().empty());

    ASSERT_TRUE(f.doc.SetSamplePointFlags(0, {1}));
    auto* s = dynamic_cast<QNSample*>(f.p.GetSample(0));
    ASSERT_EQ(s->PointCount(), 1);
    EXPECT_EQ(s->flags[0] & pfExcluded, pfExcluded);
    EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged}));
    EXPECT_TRUE(f.doc.IsDirty());
}

}  // namespace
}  // namespace vyn
