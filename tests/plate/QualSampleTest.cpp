#include <gtest/gtest.h>

#include "evaluator/NoValue.h"
#include "plate/QPlate.h"
#include "plate/QQSample.h"
#include "PlateTestUtil.h"

namespace vyn {
namespace {

// One qualitative sample on wells A1 (Pos) and A2, A3 (Neg) with data 0.8, 0.1, 0.3.
struct QualPlate : ::testing::Test {
    QPlate p;
    QQSample* s = nullptr;
    void SetUp() override
    {
        p.SetMeasuredValues({0.8, 0.1, 0.3});
        QDesc* pos = test::AddDesc(p, skQualitative, "Pos");
        QDesc* neg = test::AddDesc(p, skQualitative, "Neg");
        auto q = std::make_unique<QQSample>(&p);
        test::Lay(*q, pos, {{0, 0}});
        test::Lay(*q, neg, {{1, 0}, {2, 0}});
        q->LinkWells();
        s = q.get();
        p.InsertSample(std::move(q), 0, true);
        p.GetSample(0)->SetIdent("Q1");
    }
    int Run(TwostrArray def)
    {
        s->ClearResults();
        s->SetOwnDefinition(def);
        return s->Calculate();
    }
    std::string LastError() const { return s->errorTexts.back(); }
};

TEST_F(QualPlate, SampleVariables)
{
    const struct {
        const char* expr;
        TStackVal expected;
    } rows[] = {
        {"Pos", TStackVal(0.8)},
        {"smplid", TStackVal::Text("Q1")},
        {"smpltype", TStackVal(3.0)},
        {"smplseq", TStackVal::Text("A")},
        {"loc", TStackVal::Text("A01 A02 A03")},
        {"location", TStackVal::Text("A01 A02 A03")},
    };
    for (const auto& r : rows) {
        ASSERT_EQ(Run({{"x", r.expr}}), rsCalculated) << r.expr << ": " << LastError();
        EXPECT_EQ(s->results.back().Format(), r.expected.Format()) << r.expr;
    }
    ASSERT_EQ(Run({{"x", "OD"}}), rsError) << "a vector result entry";
    EXPECT_EQ(s->results.back().Count(), 3);
    ASSERT_EQ(Run({{"x", "Neg"}, {"y", "x[1] + M_Neg[0]"}}), rsCalculated) << LastError();
    EXPECT_DOUBLE_EQ(s->results.back().Number(), 0.3 + 0.1);
}

TEST_F(QualPlate, ResultEntriesAndTheirChecks)
{
    const struct {
        const char* name;
        TwostrArray def;
        int state;
        const char* error;   // of the last result
    } rows[] = {
        {"category", {{"c", "Pos > 0.5 ? \"pos\" : \"neg\""}}, rsCalculated, ""},
        {"empty last", {{"x", ""}}, rsError, "Non-value."},
        {"empty text", {{"x", "\"\""}}, rsError, "Empty value."},
        {"vector", {{"x", "{1,2}"}}, rsError, "Value is not simple."},
        {"failure", {{"x", "nothere"}}, rsError, "Variable \"nothere\" not found."},
        {"failure before the entry", {{"a", "nothere"}, {"x", "1"}}, rsCalculated, ""},
        {"use of a failed result", {{"a", "nothere"}, {"x", "a"}}, rsError, "Variable \"a\" not found."},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(Run(r.def), r.state) << r.name;
        EXPECT_EQ(LastError(), r.error) << r.name;
    }
}

TEST_F(QualPlate, NoDefinitions)
{
    EXPECT_EQ(Run({}), rsError);
    ASSERT_EQ(s->ResultCount(), 1);
    EXPECT_EQ(s->results[0].Name(), "res1");
    EXPECT_TRUE(s->results[0].IsError());
    EXPECT_EQ(s->errorTexts[0], "Calculation definition is missing");
    test::PlateEval ev(p);
    EXPECT_EQ(ev.Run("Q1.res()"), 0);
    EXPECT_EQ(ev.result.Number(), NoValue);
}

TEST_F(QualPlate, ShortAndExportResults)
{
    EXPECT_EQ(Run({{"ShortResult", "\"P\""}, {"ExportResult", "2"}, {"x", "res() + 1"}}), rsCalculated);
    EXPECT_TRUE(s->shortSelected);
    EXPECT_EQ(s->shortIndex, 0);
    EXPECT_TRUE(s->exportSelected);
    EXPECT_EQ(s->exportIndex, 1);
    EXPECT_EQ(s->results.back().Number(), 3.0) << "res answers the latest result";
    bool isText;
    EXPECT_EQ(p.WellResultText(*s, isText), "P");
    EXPECT_EQ(p.SampleResultText(*s, isText), "3");

    // A failing short result is a result entry too.
    EXPECT_EQ(Run({{"ShortResult", "nothere"}, {"x", "1"}}), rsError);
    EXPECT_EQ(Run({{"x", "1"}, {"y", "res(1)"}}), rsError);
    EXPECT_EQ(LastError(), "Wrong number of arguments in \"res\".");
}

TEST_F(QualPlate, Colours)
{
    const struct {
        const char* expr;
        bool set;
        std::uint32_t colour;
    } rows[] = {
        {"\"RGB(255,0,0)\"", true, 0x0000FF},
        {"\"RGB( 1,2,3)\"", true, 0x030201},
        {"\"RGB(1 ,2,3)\"", false, kNoSampleColour},
        {"\"rgb(255,0,0)\"", false, kNoSampleColour},
        {"\"blue\"", true, 0xFF0000},
        {"\"Yellow\"", true, 0x00FFFF},
        {"\"noc\"", false, kNoSampleColour},
        {"{0, 0, 255}", true, 0xFF0000},
        {"{300, -5, 0}", true, 255 + 256 * 255},
        {"{1, 2}", false, kNoSampleColour},
        {"65280", true, 0x00FF00},
        {"A12", false, kNoSampleColour},
        {"nothere", false, kNoSampleColour},
    };
    for (const auto& r : rows) {
        Run({{"color", r.expr}, {"x", "1"}});
        EXPECT_EQ(s->colourSet, r.set) << r.expr;
        EXPECT_EQ(s->colour, r.colour) << r.expr;
    }
}

TEST_F(QualPlate, CategoriesWithTheWizardsColourDefinition)
{
    // Three categories by thresholds, each with the colour text the method wizard writes.
    const TwostrArray def = {
        {"ratio", "Pos / (Neg[0] + Neg[1])"},
        {"cat", "ratio < 1 ? \"neg\" : ratio < 1.5 ? \"grey\" : \"pos\""},
        {"color", "cat = \"neg\" ? \"RGB(0,128,0)\" : cat = \"grey\" ? \"noc\" : \"RGB(255,0,0)\""},
        {"result", "cat"},
    };
    const struct {
        double pos;
        const char* category;
        bool coloured;
        std::uint32_t colour;
    } rows[] = {{0.3, "neg", true, 0x008000}, {0.5, "grey", false, kNoSampleColour}, {0.8, "pos", true, 0x0000FF}};
    for (const auto& r : rows) {
        p.SetMeasuredValue(0, r.pos);
        EXPECT_EQ(Run(def), rsCalculated) << r.category << ": " << LastError();
        EXPECT_EQ(s->results.back().Text(), r.category);
        EXPECT_EQ(s->colourSet, r.coloured) << r.category;
        EXPECT_EQ(s->colour, r.colour) << r.category;
    }
}

TEST_F(QualPlate, DefinitionsAreSharedOrOwned)
{
    p.globalQualDef = {{"g", "1"}};
    QQSample a(&p);
    EXPECT_TRUE(a.UsesGlobalDefinition());
    EXPECT_EQ(a.ResultSource(0), "1");
    EXPECT_EQ(a.ResultSource(1), "");
    EXPECT_EQ(a.ResultSource(-1), "");
    a.SetOwnDefinition({{"own", "2"}});
    QQSample b(&p, a);
    EXPECT_TRUE(b.HasOwnDefinition());
    b.SetOwnDefinition({{"changed", "3"}});
    EXPECT_EQ(a.QualDefinition().front().name, "own") << "the copy is separate";
    a.SetOwnDefinition(a.QualDefinition());
    EXPECT_EQ(a.QualDefinition().size(), 1u) << "assigning its own definition keeps it";
    a.UseGlobalDefinition();
    EXPECT_EQ(a.QualDefinition().front().name, "g");
    EXPECT_EQ(p.globalQualDef.size(), 1u);
}

TEST_F(QualPlate, CalculateActsOnlyOnce)
{
    ASSERT_EQ(Run({{"x", "Pos"}}), rsCalculated);
    p.SetMeasuredValue(0, 0.9);
    EXPECT_EQ(s->Calculate(), 0) << "results stay until invalidated";
    EXPECT_DOUBLE_EQ(s->results.back().Number(), 0.8);
}

}  // namespace
}  // namespace vyn
