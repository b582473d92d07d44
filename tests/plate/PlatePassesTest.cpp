#include <gtest/gtest.h>

#include "evaluator/NoValue.h"
#include "plate/QPlate.h"
#include "PlateTestUtil.h"

namespace vyn {
namespace {

// Measured values 0.1 .. in wells 0..9; wells 10.. are empty.
struct PassPlate : ::testing::Test {
    QPlate p;
    void SetUp() override
    {
        std::vector<double> values(96, NoValue);
        for (int i = 0; i < 10; ++i) values[static_cast<std::size_t>(i)] = 0.1 * (i + 1);
        p.SetMeasuredValues(values);
        p.rst.Reset(0);
    }
    double Data(int i) const { return p.wells[static_cast<std::size_t>(i)].data; }
};

TEST_F(PassPlate, SimpleBlankingSubtractsTheBlankFromEveryMeasuredWell)
{
    p.ClearDataValues(dmSimple);
    p.blankExpr = "A1 / 2";  // measured 0.1 while blanking
    ASSERT_EQ(p.CalcBlanking(), 1) << p.passErrorText;
    p.CommitPending(true);
    EXPECT_DOUBLE_EQ(p.blankValue.Number(), 0.05);
    EXPECT_EQ(p.currentBlank, &p.blankValue);
    EXPECT_DOUBLE_EQ(Data(0), 0.1 - 0.05);
    EXPECT_DOUBLE_EQ(Data(9), 1.0 - 0.05);
    EXPECT_EQ(Data(10), NoValue);
    EXPECT_EQ(p.dataCount, 10);
    EXPECT_EQ(p.wellCursor, 0);
    EXPECT_TRUE(p.rst.DataChanged());
    EXPECT_TRUE(p.rst.WellChanged(9));
}

TEST_F(PassPlate, BlankingFailuresKeepTheirMessageAndCommitNothing)
{
    const struct {
        const char* name;
        const char* expr;
        const char* message;
        int position;
    } rows[] = {
        {"empty", "", "Definition is missing.", 0},
        {"vector", "A1A2", "Expression evaluates as a vector.", 0},
        {"text", "\"x\"", "Expression evaluates as a text.", 0},
        {"no value", "A12", "Expression yields non-value", 0},
        {"unknown name", "1 + nothere", "Variable \"nothere\" not found.", 11},
    };
    for (const auto& r : rows) {
        p.ClearDataValues(dmSimple);
        p.blankExpr = r.expr;
        EXPECT_EQ(p.CalcBlanking(), 2) << r.name;
        EXPECT_EQ(p.passErrorText, r.message) << r.name;
        EXPECT_EQ(p.passErrorPos, r.position) << r.name;
        EXPECT_TRUE(p.blankValue.IsError()) << r.name;
        p.CommitPending(false);
        EXPECT_EQ(p.dataCount, 0) << r.name;
        EXPECT_EQ(Data(0), NoValue) << r.name;
        EXPECT_EQ(test::PlateEval(p).Run("gblank"), -1) << r.name << ": a failed blank is not usable";
    }
}

TEST_F(PassPlate, GeneralBlankingLeavesTheDataToTheTransformation)
{
    p.ClearDataValues(dmGeneral);
    p.blankExpr = "";
    ASSERT_EQ(p.CalcBlanking(), 1) << "an empty blanking is allowed with a transformation";
    p.transformExpr = "Cur * 10 + col()";
    ASSERT_EQ(p.CalcTransformation(false), 1) << p.passErrorText;
    p.CommitPending(true);
    EXPECT_DOUBLE_EQ(Data(0), 1.0);
    EXPECT_DOUBLE_EQ(Data(3), 4.0 + 3);
    EXPECT_EQ(Data(10), NoValue) << "NoValue stays missing";
    EXPECT_EQ(p.dataCount, 10);
}

TEST_F(PassPlate, TransformationStopsAtAFailingWellAndResumes)
{
    p.ClearDataValues(dmGeneral);
    p.blankExpr = "0.1";
    ASSERT_EQ(p.CalcBlanking(), 1);
    // The fifth well (index 4) yields a text.
    p.transformExpr = "(row() * 12 + col() = 4) ? \"t\" : Cur - gblank";
    ASSERT_EQ(p.CalcTransformation(false), 2);
    EXPECT_EQ(p.wellCursor, 5) << "the failing well is cursor - 1";
    EXPECT_EQ(p.passErrorText, "Expression evaluates as a text.");
    ASSERT_EQ(p.CalcTransformation(false), 1) << "resumes with the sixth well";
    p.CommitPending(true);
    EXPECT_DOUBLE_EQ(Data(3), 0.4 - 0.1);
    EXPECT_EQ(Data(4), NoValue);
    EXPECT_DOUBLE_EQ(Data(5), 0.6 - 0.1);
    EXPECT_EQ(p.wellCursor, 0);

    // With errors skipped the pass runs through and the well stays missing.
    p.InvalidateAll();
    ASSERT_EQ(p.CalcBlanking(), 1);
    EXPECT_EQ(p.CalcTransformation(true), 1);
    p.CommitPending(true);
    EXPECT_EQ(Data(4), NoValue);
    EXPECT_EQ(p.dataCount, 9);
}

TEST_F(PassPlate, TransformationErrorKeepsItsPosition)
{
    p.ClearDataValues(dmGeneral);
    p.CalcBlanking();
    p.transformExpr = "Cur + nothere";
    ASSERT_EQ(p.CalcTransformation(false), 2);
    EXPECT_EQ(p.wellCursor, 1);
    EXPECT_EQ(p.passErrorText, "Variable \"nothere\" not found.");
    EXPECT_EQ(p.passErrorPos, 13);
    EXPECT_FALSE(gPlateLevelEvaluation) << "the flag never outlives an evaluation";
    p.CommitPending(false);
    EXPECT_EQ(p.dataCount, 0);
}

TEST_F(PassPlate, EvalBlankRefreshesOnlyTheBlank)
{
    p.ClearDataValues(dmSimple);
    p.blankExpr = "0.05";
    p.CalcBlanking();
    p.CommitPending(true);
    p.currentBlank = nullptr;  // as after reading a plate file with its data values
    p.rst.Reset(0);
    p.blankExpr = "0.07";
    EXPECT_EQ(p.EvalBlank(), 0);
    EXPECT_DOUBLE_EQ(p.blankValue.Number(), 0.07);
    EXPECT_DOUBLE_EQ(Data(0), 0.1 - 0.05) << "data values stay";
    EXPECT_FALSE(p.rst.AnyChanged());
    p.blankExpr = "";
    EXPECT_EQ(p.EvalBlank(), 1);
}

TEST_F(PassPlate, CalculationsBuildOnEarlierOnes)
{
    p.calculations.definitions = {{"x", "1"}, {"y", "x + 1"}, {"z", "y * A1"}, {"e", ""}};
    EXPECT_EQ(p.CalcCalculations(), -1);
    ASSERT_EQ(p.calculations.ResultCount(), 4);
    EXPECT_EQ(p.calculations.results[1].Number(), 2.0);
    EXPECT_DOUBLE_EQ(p.calculations.results[2].Number(), 0.2);
    EXPECT_EQ(p.calculations.results[1].Name(), "y");
    EXPECT_EQ(p.calculations.errorPositions[1], -1);
    EXPECT_TRUE(p.calculations.results[3].IsError());
    EXPECT_EQ(p.calculations.errorTexts[3], "Empty expression.");
    EXPECT_TRUE(p.rst.CalculationsChanged());

    p.rst.Reset(0);
    EXPECT_EQ(p.CalcCalculations(), 0) << "nothing pending";
    EXPECT_FALSE(p.rst.AnyChanged());

    // A pending definition added later is evaluated alone.
    p.calculations.definitions.push_back({"w", "z * 10"});
    EXPECT_EQ(p.CalcCalculations(), 1);
    EXPECT_DOUBLE_EQ(p.calculations.results[4].Number(), 2.0);
}

TEST_F(PassPlate, AFailedCalculationIsNotFoundByLaterOnes)
{
    p.calculations.definitions = {{"x", "nothere"}, {"y", "x + 1"}};
    EXPECT_EQ(p.CalcCalculations(), -1);
    EXPECT_EQ(p.calculations.errorTexts[0], "Variable \"nothere\" not found.");
    EXPECT_EQ(p.calculations.errorTexts[1], "Variable \"x\" not found.");
    EXPECT_EQ(p.calculations.errorPositions[1], 5) << "where the evaluator stopped";
}

TEST_F(PassPlate, NothingToCalculateWithoutValues)
{
    QPlate empty;
    empty.calculations.definitions = {{"x", "1"}};
    empty.validations.definitions = {{"v", "1"}};
    EXPECT_EQ(empty.CalcCalculations(), 0);
    EXPECT_EQ(empty.CalcValidation(), 0);
    EXPECT_EQ(empty.calculations.ResultCount(), 0);
}

TEST_F(PassPlate, ValidationVerdicts)
{
    const struct {
        const char* name;
        TwostrArray defs;
        int answer;
        int validity;
    } rows[] = {
        {"all non-zero", {{"a", "1"}, {"b", "A1 > 0"}}, 1, pvValid},
        {"one zero", {{"a", "1"}, {"b", "0"}}, 1, pvInvalid},
        {"a text", {{"a", "1"}, {"b", "\"yes\""}}, -1, pvError},
        {"no value", {{"a", "A12"}}, -1, pvError},
        {"a vector", {{"a", "A1A2"}}, -1, pvError},
        {"a failure", {{"a", "1/0"}}, -1, pvError},
    };
    for (const auto& r : rows) {
        p.InvalidateValidation();
        p.validations.definitions = r.defs;
        EXPECT_EQ(p.CalcValidation(), r.answer) << r.name;
        EXPECT_EQ(p.validity, r.validity) << r.name;
    }
    p.InvalidateValidation();
    p.validations.definitions = {{"a", "\"yes\""}};
    p.CalcValidation();
    EXPECT_EQ(p.validations.errorTexts[0], "Value must be numeric.");
    EXPECT_EQ(p.validations.errorPositions[0], 0);
}

// What each kind of change throws away.
TEST_F(PassPlate, InvalidationCascade)
{
    QDesc* d = test::AddDesc(p, skQualitative, "S");
    auto s = std::make_unique<QQSample>(&p);
    test::Lay(*s, d, {{0, 0}});
    s->LinkWells();
    QSample* sample = s.get();
    p.InsertSample(std::move(s), 0, false);
    p.globalQualDef = {{"r", "OD * 2"}};
    p.calculations.definitions = {{"c", "1"}};
    p.validations.definitions = {{"v", "1"}};

    auto runAll = [&] {
        p.CalcCalculations();
        if (sample->Calculate()) ++p.samplesWithResults;
        p.CalcValidation();
    };
    struct State {
        bool calc, sample, valid;
    };
    auto state = [&] {
        return State{p.calculations.ResultCount() > 0, sample->resultState != rsNotCalculated,
                     p.validity != pvNotValidated};
    };
    const struct {
        const char* name;
        int (QPlate::*op)();
        State after;
    } rows[] = {
        {"validation", &QPlate::InvalidateValidation, {true, true, false}},
        {"sample results", &QPlate::InvalidateSampleResults, {true, false, false}},
        {"calculations", &QPlate::InvalidateCalculations, {false, false, false}},
        {"results", &QPlate::InvalidateResults, {false, false, false}},
    };
    for (const auto& r : rows) {
        runAll();
        ASSERT_EQ(p.validity, pvValid) << r.name;
        p.rst.Reset(0);
        EXPECT_EQ((p.*r.op)(), 1) << r.name;
        const State st = state();
        EXPECT_EQ(st.calc, r.after.calc) << r.name;
        EXPECT_EQ(st.sample, r.after.sample) << r.name;
        EXPECT_EQ(st.valid, r.after.valid) << r.name;
        EXPECT_TRUE(p.rst.ValidationChanged()) << r.name;
        EXPECT_EQ(p.rst.SampleChanged(0), !r.after.sample) << r.name;
        EXPECT_EQ((p.*r.op)(), 0) << r.name << ": nothing left to clear";
    }
    EXPECT_EQ(p.samplesWithResults, 0);

    // A calculation that the next pass evaluates again sees the current values.
    runAll();
    p.InvalidateCalculations();
    p.calculations.definitions[0].text = "5";
    p.CalcCalculations();
    EXPECT_EQ(p.calculations.results[0].Number(), 5.0);
}

TEST_F(PassPlate, DataInvalidationDropsBlankAndDataValuesOnly)
{
    EXPECT_EQ(p.InvalidateDataValues(), 0) << "data mode 0 keeps the data values";
    p.ClearDataValues(dmSimple);
    p.blankExpr = "0.05";
    p.CalcBlanking();
    p.CommitPending(true);
    p.calculations.definitions = {{"c", "1"}};
    p.CalcCalculations();
    p.rst.Reset(0);
    EXPECT_GT(p.InvalidateDataValues(), 0);
    EXPECT_EQ(p.currentBlank, nullptr);
    EXPECT_EQ(p.dataCount, 0);
    EXPECT_EQ(Data(0), NoValue);
    EXPECT_TRUE(p.rst.WellChanged(0));
    EXPECT_EQ(p.calculations.ResultCount(), 1) << "results go through InvalidateAll";
    p.InvalidateAll();
    EXPECT_EQ(p.calculations.ResultCount(), 0);
}

TEST_F(PassPlate, SamplesAfterAFixedOneLoseTheirResults)
{
    QDesc* d = test::AddDesc(p, skQualitative, "S");
    p.globalQualDef = {{"r", "1"}};
    QSample* s[3];
    for (int i = 0; i < 3; ++i) {
        auto q = std::make_unique<QQSample>(&p);
        test::Lay(*q, d, {{i, 0}});
        q->LinkWells();
        s[i] = q.get();
        p.InsertSample(std::move(q), i, i < 2);
    }
    for (QSample* q : s)
        if (q->Calculate()) ++p.samplesWithResults;
    EXPECT_EQ(p.InvalidateSamplesAfter(2), 0) << "only after a fixed sample";
    EXPECT_EQ(p.InvalidateSamplesAfter(0), 1);
    EXPECT_EQ(s[0]->resultState, rsCalculated);
    EXPECT_EQ(s[1]->resultState, rsNotCalculated);
    EXPECT_EQ(s[2]->resultState, rsNotCalculated);
    EXPECT_EQ(p.samplesWithResults, 1);
    EXPECT_EQ(p.ClearSampleResult(0), 1);
    EXPECT_EQ(p.ClearSampleResult(0), 0);
    EXPECT_EQ(p.ClearSampleResult(7), 0);
    EXPECT_EQ(p.samplesWithResults, 0);
}

}  // namespace
}  // namespace vyn
