#include <cmath>

#include "BuiltinsTestSupport.h"
#include "evaluator/Builtins.h"

namespace vyn::test {
namespace {

TEST(BuiltinsMath, SingleArgumentFunctionsAndPow)
{
    RunCallCases({
        {"log of 100", "log", {N(100)}, "2"},
        {"names ignore case", "LoG", {N(100)}, "2"},
        {"log of a missing value", "log", {N(NoValue)}, "NoValue"},
        {"pow10", "pow10", {N(3)}, "1000"},
        {"pow10 of a missing value", "pow10", {N(NoValue)}, "NoValue"},
        {"ln of e", "ln", {N(std::exp(1.0))}, "1"},
        {"exp of 0", "exp", {N(0)}, "1"},
        {"exp underflows to 0 quietly", "exp", {N(-1000)}, "0"},
        {"sqrt", "sqrt", {N(2.25)}, "1.5"},
        {"abs", "abs", {N(-2.5)}, "2.5"},
        {"abs of a missing value", "abs", {N(NoValue)}, "NoValue"},
        {"pow", "pow", {N(2), N(10)}, "1024"},
        {"pow with a missing base", "pow", {N(NoValue), N(2)}, "NoValue"},
        {"pow with a missing exponent", "pow", {N(2), N(NoValue)}, "NoValue"},
        {"a variable's number", "sqrt", {Var("x", N(9))}, "3"},
    });
}

TEST(BuiltinsMath, DomainAndRangeFaultsNameTheLibraryFunction)
{
    RunCallCases({
        {"sqrt of -1", "sqrt", {N(-1)}, "E1418(sqrt)"},
        {"log of 0", "log", {N(0)}, "E1418(log10)"},
        {"log of -1", "log", {N(-1)}, "E1418(log10)"},
        {"ln of 0", "ln", {N(0)}, "E1418(log)"},
        {"exp overflow", "exp", {N(1000)}, "E1418(exp)"},
        {"pow10 overflow", "pow10", {N(400)}, "E1418(pow)"},
        {"pow of a negative base to a fraction", "pow", {N(-8), N(1.0 / 3)}, "E1418(pow)"},
        {"pow of 0 to a negative power", "pow", {N(0), N(-1)}, "E1418(pow)"},
    });
}

TEST(BuiltinsMath, ArgumentCountsAndKinds)
{
    RunCallCases({
        {"no argument", "log", {}, "E1431(log)"},
        {"two arguments", "sqrt", {N(1), N(2)}, "E1431(sqrt)"},
        {"count error names the function as written", "ABS", {}, "E1431(ABS)"},
        {"pow with one argument", "pow", {N(1)}, "E1431(pow)"},
        {"a text", "exp", {T("1")}, "E1407"},
        {"a vector", "exp", {V({1})}, "E1407"},
        {"a variable holding a text names it", "ln", {Var("conc", T("a"))}, "E1406(conc)"},
        {"pow with a text exponent", "pow", {N(2), T("a")}, "E1407"},
    });
}

TEST(BuiltinsMath, ModAndDiv)
{
    RunCallCases({
        {"mod", "mod", {N(7), N(3)}, "1"},
        {"mod keeps the sign of x", "mod", {N(-7), N(3)}, "-1"},
        {"mod of a negative divisor", "mod", {N(7), N(-3)}, "1"},
        {"div truncates the arguments", "div", {N(7.9), N(2)}, "3"},
        {"div truncates toward zero", "div", {N(-7.9), N(2)}, "-3"},
        {"divisor truncating to 0", "div", {N(1), N(0.5)}, "E1415"},
        {"mod by 0", "mod", {N(1), N(0)}, "E1415"},
        {"mod of a missing x", "mod", {N(NoValue), N(3)}, "NoValue"},
        {"div by a missing y", "div", {N(3), N(NoValue)}, "NoValue"},
        {"largest integer", "mod", {N(2147483647.9), N(10)}, "7"},
        {"smallest integer by -1 has its true quotient", "div", {N(-2147483648.0), N(-1)}, "2147483648"},
        {"smallest integer mod -1", "mod", {N(-2147483648.0), N(-1)}, "0"},
        {"x beyond the integers", "mod", {N(3e9), N(2)}, "E1430(mod)"},
        {"y beyond the integers", "div", {N(1), N(-3e9)}, "E1430(div)"},
        {"not a number", "div", {N(std::nan("")), N(2)}, "E1430(div)"},
        {"one argument", "mod", {N(1)}, "E1431(mod)"},
        {"a text", "div", {N(1), T("2")}, "E1407"},
    });
}

TEST(BuiltinsMath, Nv)
{
    RunCallCases({
        {"nv() is the missing value", "nv", {}, "NoValue"},
        {"nv of a missing value", "nv", {N(NoValue)}, "1"},
        {"nv of a number", "nv", {N(3)}, "0"},
        {"nv of 0", "nv", {N(0)}, "0"},
        {"two arguments", "nv", {N(1), N(2)}, "E1431(nv)"},
        {"a text", "nv", {T("x")}, "E1407"},
    });
}

TEST(BuiltinsDispatch, UnknownNamesGoOnDownTheChain)
{
    EXPECT_EQ(Call("logg", {N(1)}), "unknown");
    EXPECT_EQ(Call("", {}), "unknown");
    EXPECT_EQ(FindBuiltin("CATEGORY"), FindBuiltin("category"));
    EXPECT_EQ(FindBuiltin("str "), nullptr);
}

}  // namespace
}  // namespace vyn::test
