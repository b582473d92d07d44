// The evaluator object: pool chains, results, the pending error and its message, parse-only
// mode, reuse after errors, and numbers independent of the process locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "TestPool.h"
#include "evaluator/EvalErrors.h"
#include "evaluator/FpeHandler.h"
#include "evaluator/NoValue.h"
#include "evaluator/QExcErr.h"
#include "evaluator/TEvaluator.h"
#include "platform/core/StringTable.h"

namespace vyn::test {
namespace {

// A pool that knows one name with one value, to show which pool of a chain answers.
class OneName : public TVarPool, public TFuncPool {
public:
    OneName(std::string name, double value) : fName(std::move(name)), fValue(value) {}
    bool GetVar(TStackVal& v) override
    {
        if (v.Name() != fName) return TVarPool::GetVar(v);
        v.SetNumber(fValue);
        return true;
    }

private:
    std::string fName;
    double fValue;
};

TEST(EvaluatorPools, LaterPoolIsAskedFirst)
{
    TestPool base;  // x = 3, y = 4
    OneName later("x", 30);
    TEvaluator ev;
    ev.AddVarPool(&base);
    ev.AddVarPool(&later);
    ASSERT_EQ(ev.Evaluate("x + y"), 0);
    EXPECT_EQ(ev.Result().Number(), 34) << "x from the later pool, y handed on to the earlier one";
}

TEST(EvaluatorPools, DepthAndRestore)
{
    TestPool a;
    OneName b("b", 1), c("c", 2);
    TEvaluator ev;  // built after its pools: it unlinks them when it goes
    EXPECT_EQ(ev.PoolDepth(), 0x00010001u) << "the evaluator itself is in both chains";
    ev.AddVarPool(&a);
    ev.AddFuncPool(&a);
    const std::uint32_t saved = ev.PoolDepth();
    EXPECT_EQ(saved, 0x00020002u);
    ev.AddVarPool(&b);
    ev.AddVarPool(&c);
    EXPECT_EQ(ev.PoolDepth(), 0x00020004u);
    ev.RestorePoolDepth(saved);
    EXPECT_EQ(ev.PoolDepth(), saved);
    EXPECT_EQ(ev.VarPoolHead(), &a);
    EXPECT_EQ(c.NextVarPool(), nullptr);
    EXPECT_EQ(b.NextVarPool(), nullptr);
    EXPECT_EQ(ev.Evaluate("c"), -1) << "a removed pool is not asked";
}

TEST(EvaluatorPools, DestructorUnlinksButDoesNotDestroy)
{
    TestPool a;
    OneName b("b", 1);
    {
        TEvaluator ev;
        ev.AddVarPool(&a);
        ev.AddVarPool(&b);
        ev.AddFuncPool(&a);
        EXPECT_EQ(b.NextVarPool(), &a);
    }
    EXPECT_EQ(b.NextVarPool(), nullptr);
    EXPECT_EQ(a.NextVarPool(), nullptr);
    EXPECT_EQ(a.NextFuncPool(), nullptr);
    // The pools still work on their own.
    TStackVal req = TStackVal::Named("x");
    EXPECT_TRUE(a.GetVar(req));
}

TEST(EvaluatorPools, WithoutPoolsNamesAndFunctionsAreUnknown)
{
    TEvaluator ev;
    EXPECT_EQ(ev.Evaluate("a"), -1);
    EXPECT_EQ(PendingEvalErrorId(), kErrVarNotFound);
    EXPECT_EQ(ev.Evaluate("f(1)"), -1);
    EXPECT_EQ(PendingEvalErrorId(), kErrFunctionNotFound);
    EXPECT_EQ(ev.Evaluate("a.b"), -1);
    EXPECT_EQ(PendingEvalErrorId(), kErrVarNotFound);
    EXPECT_EQ(ev.Evaluate("a.f()"), -1);
    EXPECT_EQ(PendingEvalErrorId(), kErrFunctionNotFound);
}

TEST(EvaluatorPools, SkippedBranchesAskNoPool)
{
    TestPool pool;
    TEvaluator ev;
    ev.AddVarPool(&pool);
    ev.AddFuncPool(&pool);
    ASSERT_EQ(ev.Evaluate("1 | a & b | twice(c) | S1.x | {d}[0]"), 0);
    ASSERT_EQ(ev.Evaluate("0 ? a + S1.x : x"), 0);
    EXPECT_EQ(pool.asked, std::vector<std::string>{"x"});
}

TEST(EvaluatorResult, NamedResultComesBackResolvedWithItsName)
{
    TestPool pool;
    TEvaluator ev;
    ev.AddVarPool(&pool);
    ASSERT_EQ(ev.Evaluate("x"), 0);
    const TStackVal& r = ev.Result();
    EXPECT_EQ(r.Flags(), svNamed | svNumber);
    EXPECT_EQ(r.Name(), "x");
    EXPECT_EQ(r.Number(), 3);
    // The caller's own named value keeps its own name when it takes the result.
    TStackVal mine = TStackVal::Named("calc1");
    mine = r;
    EXPECT_EQ(mine.Name(), "calc1");
    EXPECT_EQ(mine.Number(), 3);
}

TEST(EvaluatorResult, FreshOrFailedEvaluatorGivesNoValue)
{
    TEvaluator ev;
    EXPECT_TRUE(ev.Result().IsNumber());
    EXPECT_TRUE(IsNoValue(ev.Result().Number()));
    ASSERT_EQ(ev.Evaluate("7"), 0);
    EXPECT_EQ(ev.Result().Number(), 7);
    ASSERT_EQ(ev.Evaluate("1/0"), -1);
    EXPECT_TRUE(IsNoValue(ev.Result().Number()));
    ASSERT_EQ(ev.Evaluate("1+1"), 0) << "reusable after an error";
    EXPECT_EQ(ev.Result().Number(), 2);
    EXPECT_EQ(ev.Top(), 0);
}

TEST(EvaluatorErrors, PendingErrorAndItsMessage)
{
    TEvaluator ev;
    EXPECT_EQ(ev.Evaluate(""), 1);
    EXPECT_EQ(PendingEvalErrorId(), kErrEmptyExpression);
    EXPECT_EQ(QExcErr().GetText(), "Empty expression.");

    EXPECT_EQ(ev.Evaluate("1 + Absorbance"), -1);
    QExcErr err;
    EXPECT_EQ(err.Id(), kErrVarNotFound);
    EXPECT_EQ(err.Context(), "Absorbance");
    EXPECT_EQ(err.GetText(), "Variable \"Absorbance\" not found.");
    EXPECT_STREQ(FormatResString(err), "Variable \"Absorbance\" not found.");

    EXPECT_STREQ(FormatResString(QExcErr(kErrNumericalIn, "log")), "Numerical error in log.");
    EXPECT_EQ(QExcErr(kErrIncompatibleVectors, "").GetText(), "Incomatible vektors.");
    // A message without %s ignores whatever context is pending.
    EXPECT_EQ(QExcErr(kErrSyntax, "leftover").GetText(), "Syntax error.");
    EXPECT_EQ(GetResStringStd(9999), "");
}

TEST(EvaluatorErrors, ContextIsCutTo63Bytes)
{
    SetEvalErrorContext(std::string(100, 'n'));
    EXPECT_EQ(PendingEvalErrorContext(), std::string(63, 'n'));
    SetEvalErrorContext(std::string(62, 'n') + "\xC3\xA9");  // the 63rd byte splits a character
    EXPECT_EQ(PendingEvalErrorContext(), std::string(62, 'n'));
    // A long context still gives a message cut to 255 bytes.
    QExcErr e(kErrVarNotFound, std::string(400, 'z'));
    EXPECT_EQ(e.GetText().size(), 255u);
}

TEST(EvaluatorErrors, ThrownErrorCarriesIdAndContext)
{
    try {
        ThrowEvalError(kErrWrongArgument, "tmstr");
        FAIL() << "no throw";
    } catch (const QExcErr& e) {
        EXPECT_EQ(e.Id(), kErrWrongArgument);
        EXPECT_EQ(e.GetText(), "Wrong argument of \"tmstr\".");
    }
    EXPECT_EQ(PendingEvalErrorId(), kErrWrongArgument);
}

TEST(EvaluatorErrors, CursorShowsWhereTheEvaluationStopped)
{
    TestPool pool;
    TEvaluator ev;
    ev.AddVarPool(&pool);
    struct Row {
        const char* expr;
        std::size_t pos;
    } rows[] = {
        {"1 + $ 2", 5},        // just after the bad character
        {"nosuch * 2 + 1000", 12},  // resolved by the product, once "+" has been read
        {"1/0", 3},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ev.Evaluate(r.expr), -1) << r.expr;
        EXPECT_EQ(ev.CursorOffset(), r.pos) << r.expr;
    }
}

TEST(EvaluatorModes, ParseOnlyChecksSyntaxAndLooksNothingUp)
{
    TestPool pool;
    TEvaluator ev;
    ev.AddVarPool(&pool);
    ev.AddFuncPool(&pool);
    EXPECT_EQ(ev.Evaluate("nosuch + nofunc(1) / 0", false), 0);
    EXPECT_TRUE(pool.asked.empty());
    EXPECT_EQ(ev.Top(), -1) << "no value is kept";
    EXPECT_EQ(ev.Evaluate("1 +", false), -1);
    EXPECT_EQ(PendingEvalErrorId(), kErrSyntax);
    EXPECT_EQ(ev.Evaluate("", false), 0) << "an empty text is no error when only parsing";
    EXPECT_EQ(ev.Evaluate(static_cast<const char*>(nullptr)), 1);
}

TEST(EvaluatorModes, ZeroByteEndsTheText)
{
    TEvaluator ev;
    const std::string text("1+2\0garbage", 11);
    ASSERT_EQ(ev.Evaluate(std::string_view(text)), 0);
    EXPECT_EQ(ev.Result().Number(), 3);
}

TEST(EvaluatorModes, NumbersIgnoreTheProcessLocale)
{
    const std::string old = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    TEvaluator ev;
    EXPECT_EQ(ev.Evaluate("1.5 * 2 + 0.25"), 0);
    EXPECT_EQ(ev.Result().Number(), 3.25);
    EXPECT_EQ(TStackVal(2.5).Format(), "2.5");
    EXPECT_EQ(ev.Evaluate("{0.5, 1e-5}"), 0);
    EXPECT_EQ(ev.Result().Format(), "{0.5,1e-05}");
    std::setlocale(LC_ALL, old.c_str());
}

TEST(EvaluatorModes, StackLimitAndAccess)
{
    TEvaluator ev;
    for (int i = 0; i < TEvaluator::kStackSize; ++i) ev.Push(TStackVal(double(i)));
    EXPECT_THROW(ev.Push(TStackVal(1.0)), QExcErr);
    EXPECT_EQ(PendingEvalErrorId(), kErrStackOverflow);
    EXPECT_EQ(ev.Top(), TEvaluator::kStackSize - 1) << "the top stays";
    EXPECT_EQ(ev.Peek(0).Number(), 99);
    EXPECT_EQ(ev.Peek(-99).Number(), 0);
    EXPECT_THROW(ev.Peek(-100), QExcErr);
    EXPECT_EQ(PendingEvalErrorId(), kErrInternal);
    EXPECT_THROW(ev.PeekMark(1), QExcErr);
    ev.Reset();
    EXPECT_THROW(ev.Pop(), QExcErr);
    EXPECT_EQ(PendingEvalErrorId(), kErrStackUnderflow);
}

TEST(NumericalChecks, FaultsBecomeEvaluationErrors)
{
    struct Row {
        const char* name;
        double result, a, b;
        bool fault;
    } rows[] = {
        {"finite", 2.0, 1.0, 1.0, false},
        {"overflow", HUGE_VAL, 1e308, 10.0, true},
        {"invalid", std::nan(""), 0.0, 0.0, true},
        {"missing operand flows", NoValue, NoValue, 1.0, false},
        {"not-a-number operand flows", std::nan(""), std::nan(""), 1.0, false},
        {"underflow", 0.0, 1e-300, 1e-300, false},
    };
    for (const Row& r : rows) {
        bool threw = false;
        try {
            CheckArith(r.result, r.a, r.b);
        } catch (const QExcErr& e) {
            threw = true;
            EXPECT_EQ(e.Id(), kErrNumerical) << r.name;
        }
        EXPECT_EQ(threw, r.fault) << r.name;
    }
    // Domain, pole and range faults of the mathematics name the function.
    volatile double minusOne = -1.0, zero = 0.0, big = 1000.0;
    try {
        CheckMath("sqrt", std::sqrt(minusOne), minusOne);
        FAIL() << "sqrt(-1)";
    } catch (const QExcErr& e) {
        EXPECT_EQ(e.GetText(), "Numerical error in sqrt.");
    }
    EXPECT_THROW(CheckMath("log", std::log(zero), zero), QExcErr);
    EXPECT_THROW(CheckMath("exp", std::exp(big), big), QExcErr);
    EXPECT_EQ(CheckMath("exp", std::exp(-big), -big), 0.0) << "underflow is no fault";
    EXPECT_EQ(CheckMath("exp", std::exp(NoValue), NoValue), NoValue);

    FpFaultScope scope;
    EXPECT_FALSE(scope.Faulted());
    volatile double q = 1.0 / zero;
    (void)q;
    EXPECT_TRUE(scope.Faulted());
    EXPECT_THROW(scope.Check(), QExcErr);
    EXPECT_EQ(PendingEvalErrorId(), kErrNumerical);
    FpFaultScope fresh;
    EXPECT_NO_THROW(fresh.Check());
    volatile double inf = NoValue;
    volatile double flows = inf + 1.0;
    (void)flows;
    EXPECT_NO_THROW(fresh.Check()) << "NoValue in arithmetic raises no flag";

    InstallFpeHandler();
    EXPECT_TRUE(IsFpeHandlerInstalled());
    RemoveFpeHandler();
    EXPECT_FALSE(IsFpeHandlerInstalled());
}

}  // namespace
}  // namespace vyn::test
