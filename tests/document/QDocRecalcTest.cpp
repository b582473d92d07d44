#include <gtest/gtest.h>

#include <cmath>

#include "EvaluatedPlate.h"
#include "QDocTestUtil.h"
#include "evaluator/NoValue.h"
#include "plate/QNSample.h"

namespace vyn {
namespace {

using test::Heard;
using test::ScriptedReport;
using test::W;

constexpr Heard kChanged = test::kPlateChanged;

// The measured plate, clean and with nothing heard yet, before any calculation.
struct RecalcPlate : test::MeasuredPlate {
    RecalcPlate()
    {
        doc.SetDirty(false);
        Take();
    }
    double Conc(int i) { return p.GetSample(i)->results.front().Number(); }
};

TEST(QDocRecalc, AFullRunComputesEveryPassAndNotifiesOnce)
{
    RecalcPlate f;
    ScriptedReport report;
    EXPECT_EQ(f.doc.CalculatePlate(&report), 1);
    EXPECT_TRUE(report.shown.empty()) << report.shown.front().title;
    EXPECT_EQ(f.Take(), (std::vector<Heard>{kChanged}));
    EXPECT_TRUE(f.doc.IsDirty());
    EXPECT_NEAR(f.p.blankValue.Number(), 0.05, 1e-15);
    EXPECT_NEAR(f.p.wells[static_cast<std::size_t>(W("C1"))].data, 0.30, 1e-12);
    EXPECT_EQ(f.p.calibr.state, csValid) << f.p.calibr.message;
    // On the exact line signal = 0.01 c the samples read 30 and 50.
    EXPECT_NEAR(f.Conc(0), 30.0, 1e-9);
    EXPECT_NEAR(f.Conc(1), 50.0, 1e-9);
    EXPECT_EQ(f.p.GetSample(2)->resultState, rsCalculated);
    EXPECT_EQ(f.p.samplesWithResults, 3);
    EXPECT_NEAR(f.p.calculations.results[0].Number(), 0.1, 1e-15);
    EXPECT_EQ(f.p.validity, pvValid);

    // Nothing is missing now: a second run evaluates nothing and has nothing to tell.
    f.doc.SetDirty(false);
    EXPECT_EQ(f.doc.CalculatePlate(&report), 1);
    EXPECT_TRUE(f.Take().empty());
    EXPECT_TRUE(report.shown.empty());
    EXPECT_TRUE(f.doc.IsDirty()) << "every run marks the document";
}

TEST(QDocRecalc, APlateWithoutValuesRunsNoPass)
{
    test::DocFixture f;
    f.p.calculations.definitions = {{"fct1", "nothere"}};
    f.p.rst.MarkWell(3);
    ScriptedReport report;
    EXPECT_EQ(f.doc.CalculatePlate(&report), 1);
    EXPECT_TRUE(report.shown.empty());
    EXPECT_TRUE(f.Take().empty()) << "the change set was reset at the start";
    EXPECT_EQ(f.p.calculations.ResultCount(), 0);
}

TEST(QDocRecalc, ASkippedErrorLetsTheRunGoOnAndAbortStopsIt)
{
    const struct {
        const char* name;
        std::deque<int> answers;
        int reports;           // how many reports the user saw
        int calcResults;       // calculation results left
        bool samplesDone;      // the samples were evaluated
        int validity;
    } rows[] = {
        {"skip every error", {kStatusIgnoreThis, kStatusIgnoreThis, kStatusIgnoreThis}, 3, 2, true, pvError},
        {"skip all at the first", {kStatusIgnoreAll}, 1, 2, true, pvError},
        {"abort at the calculations", {kStatusAbort}, 1, 0, false, pvNotValidated},
        {"closing the report aborts", {2}, 1, 0, false, pvNotValidated},
        {"abort at the sample", {kStatusIgnoreThis, kStatusAbort}, 2, 2, false, pvNotValidated},
    };
    for (const auto& r : rows) {
        RecalcPlate f;
        // A second calculation that fails; the sample on C2 fails (its own dilutions are
        // missing); the validation fails on the failed calculation.
        f.p.calculations.definitions.push_back({"fct2", "sqrt(-1)"});
        f.p.validations.definitions = {{"cond1", "fct2 > 0"}};
        auto* c2 = dynamic_cast<QNSample*>(f.p.GetSample(1));
        c2->SetOwnDefinition(TwostrArray{});
        c2->SetOwnQuantDefinition({});
        ScriptedReport report(r.answers);
        EXPECT_EQ(f.doc.CalculatePlate(&report), 1) << r.name;
        ASSERT_EQ(static_cast<int>(report.shown.size()), r.reports) << r.name;
        EXPECT_EQ(report.shown[0].title, "Calculations error : ") << r.name;
        EXPECT_EQ(report.shown[0].lines,
                  (std::vector<std::string>{"fct1 | 0.1", "fct2 | sqrt(-1) | Numerical error in sqrt.", ""}))
            << r.name;
        if (r.reports >= 2) {
            EXPECT_EQ(report.shown[1].title, "Sample error : 2.") << r.name;
            ASSERT_FALSE(report.shown[1].lines.empty()) << r.name;
            EXPECT_EQ(report.shown[1].lines[0].substr(0, 7), "conc | ") << r.name;
        }
        if (r.reports >= 3) {
            EXPECT_EQ(report.shown[2].title, "Validation error.") << r.name;
        }
        EXPECT_EQ(f.p.calculations.ResultCount(), r.calcResults) << r.name;
        EXPECT_EQ(f.p.GetSample(2)->HasResults(), r.samplesDone) << r.name;
        EXPECT_FALSE(f.p.GetSample(1)->HasResults() && !r.samplesDone)
            << r.name << ": an aborted sample keeps no results";
        EXPECT_EQ(f.p.validity, r.validity) << r.name;
        EXPECT_EQ(f.p.calibr.state, csValid) << r.name << ": the calculations' report came after the fit";
        // The views hear of the run before each report and of what is left at the end.
        EXPECT_FALSE(f.Take().empty()) << r.name;
        EXPECT_FALSE(f.p.rst.AnyChanged()) << r.name << ": everything changed was told";
    }
}

TEST(QDocRecalc, TransformationErrorsAreReportedPerWellUntilSkippedAll)
{
    const struct {
        const char* name;
        std::deque<int> answers;
        std::vector<std::string> wells;  // the failing wells the user was shown
        bool committed;
    } rows[] = {
        {"skip each", {kStatusIgnoreThis, kStatusIgnoreThis}, {"C1", "C2"}, true},
        {"skip all at the first", {kStatusIgnoreAll}, {"C1"}, true},
        {"abort at the second", {kStatusIgnoreThis, kStatusAbort}, {"C1", "C2"}, false},
    };
    for (const auto& r : rows) {
        RecalcPlate f;
        f.p.ClearDataValues(dmGeneral);
        f.p.blankExpr = "";
        // Below the blank the square root has no value: C1 and C2 fail, D1 is fine.
        f.p.transformExpr = "sqrt(Cur - 0.36) + 0 * D1";
        f.p.SetMeasuredValue(W("C1"), 0.35);
        f.p.SetMeasuredValue(W("C2"), 0.10);
        f.p.SetMeasuredValue(W("D1"), 0.40);
        for (int i = 0; i < 96; ++i) {
            if (i != W("C1") && i != W("C2") && i != W("D1")) f.p.SetMeasuredValue(i, NoValue);
        }
        f.p.calculations.definitions.clear();
        f.p.validations.definitions.clear();
        ScriptedReport report(r.answers);
        f.doc.CalculatePlate(&report);
        std::vector<std::string> shown;
        for (const auto& s : report.shown) {
            if (s.title != "Transformation error.") continue;  // the later passes' own reports
            ASSERT_EQ(s.lines.size(), 1u) << r.name;
            shown.push_back(s.lines[0].substr(0, s.lines[0].find(' ')));
            EXPECT_NE(s.lines[0].find("sqrt(Cur - 0.36) + 0 * D1 | "), std::string::npos) << r.name << s.lines[0];
        }
        EXPECT_EQ(shown, r.wells) << r.name;
        if (r.answers.front() == kStatusIgnoreAll) {
            EXPECT_EQ(report.shown.size(), 1u) << r.name << ": later errors of the run are skipped silently";
        }
        const double d1 = f.p.wells[static_cast<std::size_t>(W("D1"))].data;
        if (r.committed) {
            EXPECT_NEAR(d1, 0.2, 1e-12) << r.name;
            EXPECT_EQ(f.p.dataCount, 1) << r.name;
        } else {
            EXPECT_EQ(d1, NoValue) << r.name << ": an aborted transformation commits nothing";
            EXPECT_EQ(f.p.dataCount, 0) << r.name;
        }
    }
}

TEST(QDocRecalc, BlankingAndCalibrationErrorsGoToTheReport)
{
    RecalcPlate f;
    f.p.blankExpr = "nothere";
    f.p.calibr.SetParams(cmLinear, 0, 0, {10, 20, 40}, 0, 0.0, 1.0);  // four levels, three given
    ScriptedReport report({kStatusIgnoreThis, kStatusAbort});
    f.doc.CalculatePlate(&report);
    ASSERT_EQ(report.shown.size(), 2u);
    EXPECT_EQ(report.shown[0].title, "Blanking error.");
    EXPECT_EQ(report.shown[0].lines, (std::vector<std::string>{"gblank | nothere | Variable \"nothere\" not found."}));
    EXPECT_EQ(report.shown[1].title, "Calibration error.");
    ASSERT_EQ(report.shown[1].lines.size(), 1u);
    EXPECT_EQ(report.shown[1].lines[0], "Concentrations missing.");
    EXPECT_EQ(f.p.calibr.state, csNotCalculated) << "an aborted fit is thrown away";
    EXPECT_EQ(f.p.calculations.ResultCount(), 0);
    EXPECT_EQ(f.p.dataCount, 0) << "the failed blank gave no data values";
}

TEST(QDocRecalc, AStoredCalibrationIsNotRefitted)
{
    RecalcPlate f;
    f.doc.CalculatePlate();
    ASSERT_EQ(f.p.calibr.state, csValid);
    f.p.calibr.Remember();
    const std::vector<double> params = f.p.calibr.results;
    // New standards' values: a refit would change the line.
    f.doc.SetPlateValue(0.95, W("B4"), true);
    ScriptedReport report;
    f.doc.CalculatePlate(&report);
    EXPECT_TRUE(report.shown.empty());
    EXPECT_EQ(f.p.calibr.results, params);
    EXPECT_NEAR(f.Conc(0), 30.0, 1e-9);
}

TEST(QDocRecalc, BusyIndicatorRestsWhileAReportIsOpen)
{
    std::string trace;
    DocShell saved = GetDocShell();
    GetDocShell().startBusy = [&] { trace += "S"; };
    GetDocShell().stopBusy = [&] { trace += "E"; };
    GetDocShell().suspendBusy = [&] { trace += "("; };
    GetDocShell().resumeBusy = [&] { trace += ")"; };
    GetDocShell().busyTick = [&] { trace += "."; };
    ScriptedReport* made = nullptr;
    GetDocShell().makeStatusReport = [&] {
        auto r = std::make_unique<ScriptedReport>(std::deque<int>{kStatusAbort});
        made = r.get();
        return r;
    };
    RecalcPlate f;
    f.p.calculations.definitions = {{"fct1", "nothere"}};
    f.doc.CalculatePlate();
    GetDocShell() = saved;
    ASSERT_NE(made, nullptr) << "the shell's report was used";
    EXPECT_EQ(trace.front(), 'S');
    EXPECT_EQ(trace.back(), 'E');
    EXPECT_NE(trace.find("()E"), std::string::npos) << trace;
}

TEST(QDocRecalc, TheBlankingCommandBlanksAndLeavesMeasuredDataAlone)
{
    // Data mode 0: the data values are the measured values; nothing is subtracted, nothing
    // evaluated, nothing reported.
    RecalcPlate f;
    f.p.ResetDataToMeasured();
    f.p.blankExpr = "0.05";
    f.doc.SetDirty(false);
    f.Take();
    ScriptedReport report;
    EXPECT_EQ(f.doc.CalculateBlanking(&report), 1);
    EXPECT_DOUBLE_EQ(f.p.wells[static_cast<std::size_t>(W("C1"))].data, 0.35);
    EXPECT_EQ(f.p.dataCount, f.p.measuredCount);
    EXPECT_TRUE(report.shown.empty());
    EXPECT_TRUE(f.Take().empty());
    EXPECT_FALSE(f.doc.IsDirty());

    // Simple blanking: the blank is subtracted and the views told.
    RecalcPlate g;
    EXPECT_EQ(g.doc.CalculateBlanking(&report), 1);
    EXPECT_NEAR(g.p.wells[static_cast<std::size_t>(W("C1"))].data, 0.30, 1e-12);
    EXPECT_EQ(g.Take(), (std::vector<Heard>{kChanged}));
    EXPECT_TRUE(g.doc.IsDirty());
    EXPECT_TRUE(report.shown.empty());
}

}  // namespace
}  // namespace vyn
