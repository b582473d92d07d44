#include <gtest/gtest.h>

#include "evaluator/NoValue.h"
#include "evaluator/TEvaluator.h"
#include "plate/CellPool.h"
#include "plate/QNSample.h"
#include "plate/QPlate.h"
#include "PlateTestUtil.h"

namespace vyn {
namespace {

struct CellPlate : ::testing::Test {
    QPlate p;
    QNSample* quant = nullptr;
    void SetUp() override
    {
        p.SetMeasuredValues({0.5, 0.6, 0.7});
        QDesc* q = test::AddDesc(p, skQuantitative, "Q");
        QDesc* c = test::AddDesc(p, skGlobal, "Neg");
        auto n = std::make_unique<QNSample>(&p);
        test::Lay(*n, q, {{1, 0}, {2, 1}});
        n->LinkWells();
        quant = n.get();
        p.InsertSample(std::move(n), 0, false);
        test::Lay(p.globSample, c, {{5, 0}});
        p.globSample.LinkWells();
    }
    // Evaluates text for the cell at (column, row); answers the evaluation's code.
    int Eval(int column, int row, const std::string& text, TStackVal& out, std::string& error)
    {
        TCellPool cell(&p, column, row);
        test::PlateEval e(p);
        const int rc = e.Run(text, &cell);
        out = e.result;
        if (rc < 0) error = e.error;
        return rc;
    }
};

TEST_F(CellPlate, CellVariables)
{
    quant->resultState = rsCalculated;
    quant->AppendResult("cur");
    quant->results.back().SetNumber(42);
    quant->AppendResult("bad");
    quant->results.back().SetErrorFlag(true);
    const struct {
        int column;
        const char* text;
        std::string expected;
    } rows[] = {
        {1, "cur", "42"},   // a sample result hides the cell's own value
        {0, "cur", "0.5"},
        {1, "M_cur", "0.6"},
        {1, "bad", "inf"},
        {1, "smpltype", "4"},
        {0, "smpltype", "0"},
        {5, "smpltype", "1"},
        {1, "smplseq", "1"},
        {5, "smplseq", ""},
        {2, "seg", "Q"},
        {2, "seggrp", "b"},
        {2, "seggrpi", "1"},
        {5, "seggrpi", "inf"},
        {2, "segseqi", "1"},
        {0, "segseqi", "inf"},
        {2, "SEGSEQI", ""},      // the lower-case spelling only; unknown elsewhere
        {2, "unknownname", ""},
        {2, "res()", "inf"},     // the last result failed
        {0, "res()", "inf"},
    };
    for (const auto& r : rows) {
        TStackVal v;
        std::string error;
        ASSERT_EQ(Eval(r.column, 0, r.text, v, error), 0) << r.text << ": " << error;
        EXPECT_EQ(v.Format(), r.expected) << "column " << r.column << ": " << r.text;
    }
    quant->results.back().SetErrorFlag(false);
    quant->results.back().SetNumber(7);
    TStackVal v;
    std::string error;
    Eval(1, 0, "res()", v, error);
    EXPECT_EQ(v.Number(), 7.0);
    EXPECT_EQ(Eval(1, 0, "res(1)", v, error), -1);
    EXPECT_EQ(error, "Wrong number of arguments in \"res\".");
}

TEST_F(CellPlate, CellsOutsideThePlateRaise)
{
    TStackVal v;
    std::string error;
    for (auto [column, row] : {std::pair{12, 0}, {0, 8}, {-1, 0}}) {
        EXPECT_EQ(Eval(column, row, "cur", v, error), -1);
        EXPECT_EQ(error, "Cell location out of range.");
        error.clear();
        EXPECT_EQ(Eval(column, row, "res()", v, error), -1);
        EXPECT_EQ(error, "Cell location out of range.");
    }
}

}  // namespace
}  // namespace vyn
