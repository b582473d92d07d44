#include <gtest/gtest.h>

#include <cmath>

#include "evaluator/NoValue.h"
#include "plate/QPlate.h"
#include "PlateTestUtil.h"

namespace vyn {
namespace {

using test::PlateEval;

// Measured value of well i is i/100 + 1; data value is i/100.
struct PoolPlate : ::testing::Test {
    QPlate p;
    PlateEval ev{p};
    void SetUp() override
    {
        for (int i = 0; i < p.wellCount; ++i) {
            p.wells[static_cast<std::size_t>(i)].measured = i / 100.0 + 1.0;
            p.wells[static_cast<std::size_t>(i)].data = i / 100.0;
        }
        p.measuredCount = p.dataCount = p.wellCount;
        p.dataMode = dmSimple;
    }
    std::vector<double> Vector(const std::string& text)
    {
        EXPECT_EQ(ev.Run(text), 0) << text << ": " << ev.error;
        return ev.result.IsNumberVector() ? ev.result.Numbers() : std::vector<double>{};
    }
};

TEST_F(PoolPlate, WellNamesReadDataOrMeasuredValues)
{
    const struct {
        const char* text;
        double expected;
    } rows[] = {
        {"A1", 0.0}, {"a1", 0.0}, {"M_a1", 1.0}, {"m_A1", 1.0}, {"B3", 0.14},
        {"H12", 0.95}, {"M_H12", 1.95}, {"A01", 0.0}, {"C1+1", 1.24},
    };
    for (const auto& r : rows) EXPECT_DOUBLE_EQ(ev.Number(r.text), r.expected) << r.text;

    gPlateLevelEvaluation = true;
    EXPECT_DOUBLE_EQ(ev.Number("A1"), 1.0) << "the blanking and transformation read measured values";
    gPlateLevelEvaluation = false;
}

TEST_F(PoolPlate, NamesThatAreNotWellsPassOn)
{
    // Outside the plate, malformed, too short or too long: "not found" from the end of the chain.
    for (const char* name : {"A13", "I1", "A0", "A", "AAA1", "A123", "A1B", "ABCDEFGH12", "M_A", "A1_"}) {
        EXPECT_EQ(ev.Run(name), -1) << name;
        EXPECT_NE(ev.error.find("not found"), std::string::npos) << name << ": " << ev.error;
    }
}

TEST_F(PoolPlate, RangesRunFromTheFirstCornerToTheSecond)
{
    EXPECT_EQ(Vector("A1A3"), (std::vector<double>{0.0, 0.01, 0.02}));
    EXPECT_EQ(Vector("B2A1"), (std::vector<double>{0.13, 0.12, 0.01, 0.0}));
    EXPECT_EQ(Vector("M_A2A1"), (std::vector<double>{1.01, 1.0}));
    EXPECT_EQ(Vector("A1H12").size(), 96u);
    EXPECT_EQ(Vector("H12A1").front(), 0.95);
    EXPECT_EQ(ev.Run("A1A13"), -1) << "a corner outside the plate";
    p.wells[1].data = NoValue;
    EXPECT_EQ(Vector("A1A2")[1], NoValue);
}

TEST_F(PoolPlate, BlankAndResultsHideInOrder)
{
    EXPECT_EQ(ev.Run("gblank"), -1) << "no blank before the blanking pass";
    p.blankValue.SetNumber(0.05);
    p.currentBlank = &p.blankValue;
    EXPECT_DOUBLE_EQ(ev.Number("GBLANK"), 0.05);
    p.blankValue.SetErrorFlag(true);
    EXPECT_EQ(ev.Run("gblank"), -1) << "an erroneous blank is not usable";

    p.calculations.definitions = {{"x", "1"}, {"x", "2"}, {"bad", "zzz"}};
    ASSERT_EQ(p.CalcCalculations(), -1);
    EXPECT_DOUBLE_EQ(ev.Number("x"), 2.0) << "the later calculation hides the earlier";
    EXPECT_EQ(ev.Run("bad"), -1);
    EXPECT_NE(ev.error.find("bad"), std::string::npos) << ev.error;

    p.validations.definitions = {{"x", "7"}};
    p.CalcValidation();
    EXPECT_DOUBLE_EQ(ev.Number("x"), 2.0) << "calculations come before validations";
}

TEST_F(PoolPlate, CalibrationNamesWithoutAValidFit)
{
    for (const char* name : {"caxmin", "caxmax", "caymin", "caymax", "catox(0.5)", "catoy(1)"})
        EXPECT_EQ(ev.Number(name), NoValue) << name;
    EXPECT_EQ(ev.Number("catest(0.5)"), 0.0);
    EXPECT_EQ(ev.Run("catox()"), -1);
    EXPECT_NE(ev.error.find("catox"), std::string::npos) << ev.error;
    EXPECT_EQ(ev.Run("catox(\"a\")"), -1) << "the argument must be a number";
}

TEST_F(PoolPlate, CalibrationNamesWithALinearFit)
{
    // Standards 0, 1, 2, 4 on signal = 0.1 + 0.5 * c.
    p.calibr.SetParams(cmLinear, 0, 0, {0, 1, 2, 4}, 0, 0, 1);
    std::vector<QCalEntry> entries;
    for (int g = 0; g < 4; ++g) {
        const double c = g == 3 ? 4.0 : g;
        entries.push_back({g, 0.1 + 0.5 * c, false});
        entries.push_back({g, 0.1 + 0.5 * c, false});
    }
    ASSERT_EQ(p.calibr.Recalc(&entries), 1);
    ASSERT_EQ(p.calibr.state, csValid) << p.calibr.message;
    EXPECT_NEAR(ev.Number("caxmin"), 0.0, 1e-12);
    EXPECT_NEAR(ev.Number("caxmax"), 4.0, 1e-12);
    EXPECT_NEAR(ev.Number("caymin"), 0.1, 1e-12);
    EXPECT_NEAR(ev.Number("caymax"), 2.1, 1e-12);
    EXPECT_NEAR(ev.Number("catox(1.1)"), 2.0, 1e-12);
    EXPECT_NEAR(ev.Number("catoy(3)"), 1.6, 1e-12);
    EXPECT_EQ(ev.Number("catest(1.1)"), 1.0);
    EXPECT_EQ(ev.Number("catest(0.0)"), 2.0);
    EXPECT_EQ(ev.Number("catest(5)"), 3.0);
    EXPECT_EQ(ev.Number("catox(5)"), NoValue);
    EXPECT_EQ(ev.Run("model"), 0);
    EXPECT_EQ(ev.result.Text(), "Linear");
    EXPECT_EQ(ev.Run("modelerror"), 0);
    EXPECT_EQ(ev.result.Text(), "");
}

TEST_F(PoolPlate, MethodAndMeasurementFacts)
{
    p.methodName = "HBs";
    p.units = "IU/ml";
    p.measFilter = 450;
    p.refFilter = 620;
    const auto text = [&](const char* name) {
        EXPECT_EQ(ev.Run(name), 0) << name;
        return ev.result.Text();
    };
    EXPECT_EQ(text("method"), "HBs");
    EXPECT_EQ(text("units"), "IU/ml");
    EXPECT_EQ(text("filters"), "450");
    EXPECT_EQ(text("fltref"), "");
    p.useRefFilter = 1;
    EXPECT_EQ(text("filters"), "450/620");
    EXPECT_EQ(text("fltref"), "620");
    EXPECT_EQ(text("meadate"), "") << "not measured";
    EXPECT_EQ(ev.Number("tmea"), 0.0);
    EXPECT_EQ(ev.Run("stdconc"), 0);
    EXPECT_TRUE(ev.result.IsNumberVector());
    EXPECT_EQ(ev.result.Count(), 0);
}

TEST_F(PoolPlate, CurrentWellAndItsPositionOnlyInsideTheTransformation)
{
    EXPECT_EQ(ev.Run("col()"), -1);
    EXPECT_NE(ev.error.find("col"), std::string::npos) << ev.error;
    EXPECT_EQ(ev.Run("Cur"), -1);
    p.wellCursor = 15;  // well 14 = B3
    EXPECT_DOUBLE_EQ(ev.Number("Cur"), 1.14);
    EXPECT_DOUBLE_EQ(ev.Number("M_Cur"), 1.14);
    EXPECT_EQ(ev.Number("col()"), 2.0);
    EXPECT_EQ(ev.Number("row()"), 1.0);
    EXPECT_EQ(ev.Run("col(1)"), -1);
    EXPECT_NE(ev.error.find("Wrong argument"), std::string::npos) << ev.error;
    p.wellCursor = 0;
}

TEST_F(PoolPlate, QualifiedNamesReachFixedSamples)
{
    QDesc* d = test::AddDesc(p, skQualitative, "Pos");
    auto fixed = std::make_unique<QQSample>(&p);
    fixed->SetIdent("Std 1");
    test::Lay(*fixed, d, {{0, 0}, {1, 0}});
    fixed->LinkWells();
    auto seq = std::make_unique<QQSample>(&p);
    seq->SetIdent("Seq");
    test::Lay(*seq, d, {{2, 0}});
    seq->LinkWells();
    p.InsertSample(std::move(fixed), 0, true);
    p.InsertSample(std::move(seq), 1, false);

    EXPECT_EQ(Vector("Std.Pos"), (std::vector<double>{0.0, 0.01}));
    EXPECT_EQ(ev.Run("Seq.Pos"), -1) << "a sequential sample is never reached by name";
    EXPECT_EQ(ev.Run("Std.res()"), 0);
    EXPECT_EQ(ev.result.Number(), NoValue);
}

TEST_F(PoolPlate, ControlsAnswerTheirWellVariables)
{
    QDesc* neg = test::AddDesc(p, skGlobal, "Neg");
    test::Lay(p.globSample, neg, {{5, 0}, {6, 0}});
    p.globSample.LinkWells();
    EXPECT_EQ(ev.Run("Neg"), -1) << "the controls answer only while in use";
    p.globInUse = &p.globSample;
    EXPECT_EQ(Vector("Neg"), (std::vector<double>{0.05, 0.06}));
    EXPECT_EQ(Vector("M_Neg"), (std::vector<double>{1.05, 1.06}));
}

}  // namespace
}  // namespace vyn
