#include <gtest/gtest.h>

#include "EvaluatedPlate.h"

namespace vyn {
namespace {

using test::EvaluatedPlate;
using test::ScriptedDialogs;
using test::ShownReport;

using Lines = std::vector<std::string>;

ShownReport Summary(QDoc& doc)
{
    ScriptedDialogs ui;
    doc.ShowPlateSummary(ui);
    EXPECT_EQ(ui.ran, (std::vector<std::string>{"report"}));
    return ui.reports.empty() ? ShownReport{} : ui.reports.front();
}

TEST(SummaryTexts, NewPlateShowsOnlyFileMethodAndEnd)
{
    test::DocFixture f;
    f.p.methodName = "HBs";
    f.p.methodInfo = "screening";
    const ShownReport r = Summary(f.doc);
    EXPECT_EQ(r.title, "Plate Evaluation Summary");
    EXPECT_EQ(r.lines, (Lines{"file        : *** NONAME ***", "method      : HBs", "              screening", "",
                              "  *** end of text ***  "}));
}

TEST(SummaryTexts, EvaluatedPlateLineByLine)
{
    EvaluatedPlate f;
    EXPECT_EQ(Summary(f.doc).lines, (Lines{
        "file        : *** NONAME ***",
        "method      : ",
        "              ",
        "",
        "blanking    : ",
        "gblank | 0.05",
        "",
        "calibration : Linear  O.K.",
        "",
        "calculation : ",
        "fct1 | 0.1",
        "",
        "validation  : valid test",
        "cond1 | Yes",
        "",
        "number of valid plate values =  9",
        "                    measured =  9",
        "",
        "total number of samples      =  3",
        "                  calculated =  3",
        "",
        "  *** end of text ***  ",
    }));
}

TEST(SummaryTexts, StatesOfEachPart)
{
    EvaluatedPlate f(false);
    f.p.calculations.definitions = {{"a", "1"}, {"b", "1"}, {"c", "1"}, {"d", "1"}, {"e", "1"}, {"f", "1"}};
    f.p.validations.definitions = {{"v0", "0"}, {"v1", "2"}, {"v2", "x"}};
    ASSERT_EQ(f.doc.CalculatePlate(), 1);
    // Four of six results: the calculation counts as not calculated and lists nothing.
    f.p.calculations.results.resize(4);
    f.p.calculations.errorTexts.resize(4);
    f.p.calculations.errorPositions.resize(4);
    f.p.calibr.Invalidate();
    f.p.blankValue.SetErrorFlag(true);
    const Lines lines = Summary(f.doc).lines;
    const Lines expect = {
        "blanking    : *ERROR*", "",
        "calibration : not calculated", "",
        "calculation : not calculated", "",
        "validation  : calculation error", "v0 | No", "v1 | Yes", "v2 | *ERROR*", "",
    };
    ASSERT_GE(lines.size(), 4 + expect.size());
    EXPECT_EQ(Lines(lines.begin() + 4, lines.begin() + 4 + static_cast<long>(expect.size())), expect);

    f.p.calibr.state = csFailed;
    f.p.calibr.message = "Not enough points.";
    f.p.validity = pvInvalid;
    f.p.currentBlank = nullptr;
    const Lines again = Summary(f.doc).lines;
    EXPECT_EQ(again[4], "blanking    : not calculated");
    EXPECT_EQ(again[6], "calibration : Not enough points.");
    EXPECT_EQ(again[10], "validation  : invalid test");
}

TEST(SummaryTexts, SampleStatus)
{
    EvaluatedPlate f;
    ASSERT_TRUE(f.doc.FixSample(0));
    ASSERT_TRUE(f.doc.FixSample(1));
    ASSERT_EQ(f.doc.CalculatePlate(), 1);
    f.p.GetSample(1)->SetIdent("Ctrl B");
    f.p.GetSample(2)->SetIdent("Patient 7");
    ScriptedDialogs ui;
    f.doc.ShowSampleStatus(ui, 2);
    f.doc.ShowSampleStatus(ui, 1);
    f.doc.ShowSampleStatus(ui, 3);
    ASSERT_EQ(ui.reports.size(), 2u) << "no report for an index without a sample";
    EXPECT_EQ(ui.reports[0].title, "Sample 1: Patient 7");
    EXPECT_EQ(ui.reports[1].title, "Sample B: Ctrl B");

    // The qualitative sample: its one result.
    EXPECT_EQ(ui.reports[0].lines, (Lines{"Evaluates to: 1", "res1 | 1"}));

    // States other than a result, and a local definition.
    auto* s = dynamic_cast<QQSample*>(f.p.GetSample(2));
    s->SetOwnDefinition({{"res1", "OD > 0.9"}});
    struct Row {
        int state;
        const char* first;
    };
    for (const Row& r : {Row{rsUnder, "Evaluates to: <std"}, Row{rsOver, "Evaluates to: >STD"},
                         Row{rsError, "Evaluates to: err"}, Row{rsNotCalculated, "not calculated"}}) {
        s->resultState = r.state;
        ScriptedDialogs one;
        f.doc.ShowSampleStatus(one, 2);
        ASSERT_EQ(one.reports.size(), 1u);
        ASSERT_GE(one.reports[0].lines.size(), 3u);
        EXPECT_EQ(one.reports[0].lines[0], "(Sample has local definition.)");
        EXPECT_EQ(one.reports[0].lines[1], "");
        EXPECT_EQ(one.reports[0].lines[2], r.first) << r.state;
    }
}

TEST(SummaryTexts, CalibrationStatus)
{
    EvaluatedPlate f;
    ScriptedDialogs ui;
    f.doc.ShowCalibrationStatus(ui);
    f.p.calibr.Invalidate();
    f.doc.ShowCalibrationStatus(ui);
    f.p.calibr.state = csFailed;
    f.p.calibr.message = "Not enough points.";
    f.doc.ShowCalibrationStatus(ui);
    ASSERT_EQ(ui.reports.size(), 3u);
    EXPECT_EQ(ui.reports[0].title, "Calibration : ");
    ASSERT_EQ(ui.reports[0].lines.size(), 4u);
    EXPECT_EQ(ui.reports[0].lines[0], "Model  : Linear");
    EXPECT_EQ(ui.reports[0].lines[1], "Status : O.K.");
    EXPECT_EQ(ui.reports[0].lines[2], "");
    EXPECT_EQ(ui.reports[1].lines, (Lines{"Model  : Linear", "not calculated"}));
    EXPECT_EQ(ui.reports[2].lines, (Lines{"Model  : Linear", "Not enough points."}));
}

}  // namespace
}  // namespace vyn
