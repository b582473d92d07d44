#include <gtest/gtest.h>

#include <cmath>

#include "evaluator/NoValue.h"
#include "plate/QNSample.h"
#include "plate/QPlate.h"
#include "PlateTestUtil.h"

namespace vyn {
namespace {

// Standards 0, 1, 2, 4 in duplicate in rows A-B, columns 1-4, on the line 0.1 + 0.5 c, so
// concentration = (signal - 0.1) / 2 * 4 ... checked by hand in each test. The sample under
// test lies in row D.
struct QuantPlate : ::testing::Test {
    QPlate p;
    QDesc* sample = nullptr;
    QDesc* reference = nullptr;
    QNSample* s = nullptr;
    std::vector<double> values = std::vector<double>(96, NoValue);

    void SetUp() override
    {
        QDesc* std = test::AddDesc(p, skStandard, "S");
        sample = test::AddDesc(p, skQuantitative, "Q");
        reference = test::AddDesc(p, skQuantitative | 0x10, "QRef");
        const double conc[] = {0, 1, 2, 4};
        for (int g = 0; g < 4; ++g) {
            test::Lay(p.stdSample, std, {{g, g}, {12 + g, g}});
            values[static_cast<std::size_t>(g)] = values[static_cast<std::size_t>(12 + g)] = 0.1 + 0.5 * conc[g];
        }
        p.stdSample.LinkWells();
        p.stdInUse = &p.stdSample;
        p.calibr.SetParams(cmLinear, 0, 0, {0, 1, 2, 4}, 0, 0, 1);
        auto q = std::make_unique<QNSample>(&p);
        s = q.get();
        p.InsertSample(std::move(q), 0, false);
    }
    // Lays entries (well in row D, group, reference?) with their data values and fits.
    void Layout(std::initializer_list<std::tuple<int, int, bool, double>> entries, std::vector<double> dilutions)
    {
        for (auto [column, group, isRef, v] : entries) {
            s->AddWellEntry(QSegm{group, 36 + column, isRef ? reference : sample});
            values[static_cast<std::size_t>(36 + column)] = v;
        }
        s->LinkWells();
        s->SetOwnQuantDefinition(dilutions);
        p.SetMeasuredValues(values);
        p.calibr.Invalidate();
        ASSERT_EQ(p.RecalcCalibration(), 1);
        ASSERT_EQ(p.calibr.state, csValid) << p.calibr.message;
    }
    std::string ConcError() const { return s->errorTexts.empty() ? "" : s->errorTexts[0]; }
    double Conc() const { return s->results.empty() ? std::nan("") : s->results[0].Number(); }
};

TEST_F(QuantPlate, OneDilutionGivesTheCurvesConcentration)
{
    Layout({{0, 0, false, 1.0}, {1, 0, false, 1.2}}, {1});
    EXPECT_EQ(s->Calculate(), 1) << ConcError();
    // mean signal 1.1 -> (1.1 - 0.1) / 0.5 = 2
    EXPECT_NEAR(Conc(), 2.0, 1e-12);
    EXPECT_FALSE(s->results[0].IsError());
    EXPECT_EQ(s->concStatus, 1);
    EXPECT_EQ(s->PointCount(), 2);
    EXPECT_NEAR(s->wellConcs[0], 2.0, 1e-12);
    EXPECT_EQ(s->ResultSource(0), "regression analysis");
}

TEST_F(QuantPlate, TwoDilutionsAreWeightedBySlopeAndDilution)
{
    // Dilution 1: signals 1.1, 1.1 -> x1 = 2; dilution 4: 0.6, 0.7 -> x2 = 1.1.
    // Slope s = 0.5 everywhere, c = 2 points each:
    // conc = (2*0.5*2 + 2*0.5*1.1) / (2*0.5/1 + 2*0.5/4) = 3.1 / 1.25 = 2.48.
    Layout({{0, 0, false, 1.1}, {1, 0, false, 1.1}, {2, 1, false, 0.6}, {3, 1, false, 0.7}}, {1, 4});
    EXPECT_EQ(s->Calculate(), 1) << ConcError();
    EXPECT_NEAR(Conc(), 2.48, 1e-12);
    EXPECT_NEAR(s->wellConcs[2], 2.48 / 4, 1e-12);
    EXPECT_NEAR(s->dilutions[3], 4.0, 0.0);
}

TEST_F(QuantPlate, ReferenceWellsAreSubtractedPerGroup)
{
    // Group 0: 1.3 - ref 0.2 = 1.1 -> 2; group 1: 0.75, 0.85 - ref mean 0.15 -> 0.65 -> 1.1.
    Layout({{0, 0, true, 0.2},
            {1, 0, false, 1.3},
            {2, 1, false, 0.75},
            {3, 1, true, 0.1},
            {4, 1, true, 0.2},
            {5, 1, false, 0.85}},
           {1, 4});
    EXPECT_EQ(s->Calculate(), 1) << ConcError();
    EXPECT_NEAR(s->signals[0], 1.1, 1e-12);
    EXPECT_NEAR(s->signals[2], 0.7, 1e-12);
    // conc = (1*0.5*2 + 2*0.5*1.1) / (1*0.5/1 + 2*0.5/4) = 2.1 / 0.75 = 2.8
    EXPECT_NEAR(Conc(), 2.8, 1e-12);
}

TEST_F(QuantPlate, DilutionAndLayoutChecks)
{
    const struct {
        const char* name;
        std::vector<int> groups;
        std::vector<double> dilutions;
        const char* error;
    } rows[] = {
        {"three rising", {0, 1, 2}, {1, 2, 4}, ""},
        {"three falling", {0, 1, 2}, {4, 2, 1}, ""},
        {"repeating", {0, 1, 2}, {1, 2, 2}, "Repeating dilutions."},
        {"unordered", {0, 1, 2}, {1, 4, 2}, "Unordered dilutions."},
        {"below one", {0, 1}, {0.5, 1}, "Dilution must be grater (equal) to 1.0."},
        {"missing tail is fine", {0, 1}, {1, 2, NoValue}, ""},
        {"extra dilution", {0, 1}, {1, 2, 8}, "Dilutions do not agree with layout."},
        {"too few", {0, 1}, {1}, "Dilution missing."},
        {"missing item", {0, 1}, {1, NoValue}, "Dilution missing."},
    };
    for (const auto& r : rows) {
        QNSample n(&p);
        for (std::size_t i = 0; i < r.groups.size(); ++i)
            n.AddWellEntry(QSegm{r.groups[i], 48 + static_cast<int>(i), sample});
        n.SetOwnQuantDefinition(r.dilutions);
        n.AddWellEntry(QSegm{});  // CheckDilutions reads the last group: keep it the same
        n.wells.back() = n.wells[n.wells.size() - 2];
        n.AppendResult("conc");
        EXPECT_EQ(n.CheckDilutions(), r.error[0] ? 1 : 0) << r.name;
        EXPECT_EQ(n.errorTexts[0], r.error) << r.name;
    }
    // Group numbers that jump.
    QNSample n(&p);
    for (int g : {0, 0, 2}) n.AddWellEntry(QSegm{g, 50, sample});
    n.SetOwnQuantDefinition({1, 2, 4});
    n.AppendResult("conc");
    EXPECT_EQ(n.CheckDilutions(), 1);
    EXPECT_EQ(n.errorTexts[0], "Internal error of sequnce.");
}

TEST_F(QuantPlate, ReferenceLayoutErrors)
{
    const struct {
        const char* name;
        std::initializer_list<std::tuple<int, int, bool, double>> entries;
        const char* error;
    } rows[] = {
        {"reference group among plain ones", {{0, 0, false, 1.0}, {1, 1, true, 0.1}, {2, 1, false, 1.0}},
         "Reference layout error."},
        {"group of references only", {{0, 0, true, 0.1}, {1, 0, true, 0.1}}, "Reference layout error."},
        {"no reference values anywhere", {{0, 0, true, NoValue}, {1, 0, false, 1.0}}, "Absorbances missing."},
        {"no values", {{0, 0, false, NoValue}}, "Absorbances missing."},
    };
    for (const auto& r : rows) {
        s->wells.clear();
        s->ClearResults();
        std::vector<double> dil;
        int groups = 0;
        for (auto& e : r.entries) groups = std::max(groups, std::get<1>(e) + 1);
        for (int g = 0; g < groups; ++g) dil.push_back(1 << g);
        Layout(r.entries, dil);
        EXPECT_EQ(s->Calculate(), rsError) << r.name;
        EXPECT_EQ(ConcError(), r.error) << r.name;
        EXPECT_EQ(s->PointCount(), 0) << r.name;
    }
}

TEST_F(QuantPlate, GroupWithoutReferenceValuesContributesNoPoint)
{
    Layout({{0, 0, true, NoValue}, {1, 0, false, 9.0}, {2, 1, true, 0.1}, {3, 1, false, 0.65}}, {1, 2});
    EXPECT_EQ(s->Calculate(), 1) << ConcError();
    EXPECT_EQ(s->PointCount(), 1);
    // (0.65 - 0.1 reference - 0.1) / 0.5 = 0.9 at dilution 2
    EXPECT_NEAR(Conc(), 1.8, 1e-12);
}

TEST_F(QuantPlate, OutOfRangeRuns)
{
    const struct {
        const char* name;
        double a, b;   // signals of dilution 1 and 2
        int status;
        const char* error;
    } rows[] = {
        {"both above", 3.0, 2.5, rsOver, "Concentration too high."},
        {"both below", 0.0, 0.05, rsUnder, "Concentration too low."},
        {"one each side", 3.0, 0.0, rsError, "Invalide absorbace."},
        {"one good one above", 1.1, 2.5, rsCalculated, ""},
    };
    for (const auto& r : rows) {
        s->wells.clear();
        s->ClearResults();
        Layout({{0, 0, false, r.a}, {1, 1, false, r.b}}, {1, 2});
        EXPECT_EQ(s->Calculate(), r.status) << r.name;
        EXPECT_EQ(ConcError(), r.error) << r.name;
        test::PlateEval ev(p);
        s->SetIdent("N");
        p.fixedCount = 1;  // reach it by name
        EXPECT_EQ(ev.Number("N.cstat()"), std::max(r.status, 0)) << r.name;
        p.fixedCount = 0;
        if (r.status == rsCalculated) {
            EXPECT_NEAR(Conc(), 2.0, 1e-12) << r.name << ": the good run alone";
            EXPECT_EQ(s->flags[1], pfOutOfRange) << r.name;
        } else {
            EXPECT_EQ(Conc(), NoValue) << r.name;
            EXPECT_EQ(s->results[0].IsError(), r.status == rsError) << r.name;
            EXPECT_EQ(s->flags[0] & pfOutOfRange, pfOutOfRange) << r.name;
        }
    }
}

TEST_F(QuantPlate, ExcludingPointsAndRecalculating)
{
    Layout({{0, 0, false, 1.0}, {1, 0, false, 1.2}}, {1});
    ASSERT_EQ(s->Calculate(), 1);
    EXPECT_EQ(s->Recalculate({1, 0}), 1);
    EXPECT_NEAR(Conc(), 2.2, 1e-12) << "only 1.2 left: (1.2 - 0.1) / 0.5";
    EXPECT_EQ(s->flags[0], pfExcluded);
    EXPECT_EQ(s->Recalculate({1, 1}), rsError);
    EXPECT_EQ(ConcError(), "All points excluded.");
    EXPECT_EQ(s->concStatus, -1);
    EXPECT_EQ(s->PointCount(), 2) << "the points stay";
    EXPECT_EQ(s->Recalculate({3, 2}), 1) << "bit 1 toggles bit 0";
    EXPECT_NEAR(Conc(), 1.8, 1e-12) << "only 1.0 left";
    EXPECT_EQ(s->ClearResults(), 1);
    EXPECT_EQ(s->PointCount(), 0);
    EXPECT_EQ(s->concStatus, 0);
}

TEST_F(QuantPlate, WithoutAValidCalibration)
{
    Layout({{0, 0, false, 1.0}}, {1});
    p.calibr.Invalidate();
    EXPECT_EQ(s->Calculate(), rsError);
    EXPECT_EQ(ConcError(), "Calibration not available.");
    EXPECT_EQ(s->flags[0], pfOutOfRange);
}

// A flat curve at the run's concentration leaves a zero weight sum; a slope that is not a
// number poisons it. Either ends the sample in an orderly error instead of a quotient of
// nothing.
TEST_F(QuantPlate, ZeroOrBrokenWeightsEndInAnError)
{
    Layout({{0, 0, false, 1.0}, {1, 0, false, 1.2}}, {1});
    for (double slope : {0.0, std::nan("")}) {
        p.calibr.results[crParams + 4] = slope;
        s->ClearResults();
        EXPECT_EQ(s->Calculate(), rsError) << slope;
        EXPECT_EQ(ConcError(), "Numerically unstable condition.") << slope;
        EXPECT_EQ(s->concStatus, -1);
        EXPECT_TRUE(s->results[0].IsError());
        EXPECT_EQ(s->flags[0], pfOutOfRange);
    }
}

TEST_F(QuantPlate, QualitativeEvaluationOnTop)
{
    Layout({{0, 0, false, 1.0}, {1, 0, false, 1.2}}, {1});
    s->SetOwnDefinition({{"first", "res()"}, {"cat", "conc > 1.5 & cstat() = 1 ? \"high\" : \"low\""}});
    EXPECT_EQ(s->Calculate(), rsCalculated) << s->errorTexts.back();
    ASSERT_EQ(s->ResultCount(), 3);
    EXPECT_NEAR(s->results[1].Number(), 2.0, 1e-12) << "res in the first definition is conc";
    EXPECT_EQ(s->results[2].Text(), "high");
    EXPECT_EQ(s->ResultSource(2), s->QualDefinition()[1].text);
    EXPECT_EQ(s->ResultSource(3), "");

    // A failed concentration fails the definitions that use it.
    s->ClearResults();
    p.calibr.Invalidate();
    EXPECT_EQ(s->Calculate(), rsError);
    EXPECT_EQ(s->results[1].Number(), NoValue) << "res() of a failed concentration";
    EXPECT_EQ(s->errorTexts[2], "Variable \"conc\" not found.");
}

TEST_F(QuantPlate, CopiesTakeOwnDefinitionsAlong)
{
    s->SetOwnDefinition({{"x", "1"}});
    s->SetOwnQuantDefinition({1, 2});
    QNSample copy(&p, *s);
    EXPECT_EQ(copy.QuantDefinition(), (std::vector<double>{1, 2}));
    copy.UseGlobalDefinition();
    EXPECT_EQ(copy.QuantDefinition(), p.globalQuantDef);
    EXPECT_TRUE(copy.QualDefinition().empty());
    EXPECT_EQ(s->QuantDefinition().size(), 2u);
}

TEST_F(QuantPlate, SampleWithoutWellsDoesNotReadOutsideItsList)
{
    EXPECT_EQ(s->Calculate(), rsError);
    EXPECT_EQ(ConcError(), "Absorbances missing.");
}

}  // namespace
}  // namespace vyn
