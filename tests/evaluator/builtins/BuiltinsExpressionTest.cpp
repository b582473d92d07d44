// The built-ins as expressions reach them: through the parser, the call action and the pool
// chain, behind the pools a plate or a report registers.
#include <string>

#include "BuiltinsTestSupport.h"
#include "platform/core/Clock.h"
#include "platform/core/TimeLocale.h"

namespace vyn::test {
namespace {

// A pool as a plate might be: a missing value x, a text id, and its own "card" and "today"
// that hide the built-ins of the same name.
class PlateLikePool : public TVarPool, public TFuncPool {
public:
    bool GetVar(TStackVal& v) override
    {
        if (v.Name() == "x") v.SetNumber(NoValue);
        else if (v.Name() == "id") v.SetText("S12");
        else if (v.Name() == "today") v.SetText("plate day");
        else return TVarPool::GetVar(v);
        return true;
    }
    bool CallFunc(TStackVal* args, int count) override
    {
        if (args[0].Name() != "card") return TFuncPool::CallFunc(args, count);
        args[0].SetNumber(42);
        return true;
    }
};

std::string Eval(const std::string& text)
{
    PlateLikePool pool;
    TEvaluator ev;
    ev.AddVarPool(&pool);
    ev.AddFuncPool(&pool);
    if (ev.Evaluate(text) != 0) return ShowError(QExcErr());
    return Show(ev.Result());
}

using BuiltinsExpression = FixedClockTest<EnglishTimeLocale>;

TEST_F(BuiltinsExpression, Table)
{
    struct Row {
        const char* text;
        const char* expected;
    };
    const Row rows[] = {
        {"log(100)", "2"},
        {"LOG(100)", "2"},
        {"ln(exp(1))", "1"},
        {"pow10(nv())", "NoValue"},
        {"sqrt(-1)", "E1418(sqrt)"},
        {"nv(nv())", "1"},
        {"nv(1, 2)", "E1431(nv)"},
        {"mod(-7, 3)", "-1"},
        {"div(1, 0.5)", "E1415"},
        {"mod(x, 3)", "NoValue"},
        {"avg({1, 2, 3}, 4)", "2.5"},
        {"var(1, 3) + std(5)", "1"},
        {"min()", "NoValue"},
        {"sel(1, 5, 9, 2, 6)", "{5}"},
        {"xsel(1, 5, 9, 2, 6)", "{1,9}"},
        {"ran(90, 100, 111, 100, 0.1)", "{90,100}"},
        {"sel(1, 2, x, 5)", "{}"},
        {"grb({1, 1.1, 0.9, 1.05, 5})", "{1,1.1,0.9,1.05}"},
        {"grb(x)", "{}"},
        {"ctlt({1, 2, 3}, 2) * 10 + ctle({1, 2, 3}, 2)", "21"},
        {"ctlt({}, 2)", "E1502"},
        {"category(\"low\", 10, \"mid\", 20, \"high\", 15)", "'mid'"},
        {"category(\"a\", 1, \"b\")", "E1431(category)"},
        {"cntv(1, x, {2, x}) * 10 + cntn(1, x, {2, x})", "22"},
        {"str(2, 4, \"f\", 8, 1)", "'     2.0'"},
        {"str(\"abcde\", 8, \"r\")", "'   abcde'"},
        {"str(id, 5) + \"|\"", "'S12  |'"},
        {"sqrt(id)", "E1406(id)"},
        {"tmstr(now, \"dd.MM.yyyy HH:mm\")", "'14.03.2024 15:09'"},
        {"tmstr(0, \"dd\")", "''"},
        {"tmstr(now, \"'at' HH\")", "'at 15'"},
        {"time", "'15:09'"},
        {"card(grb(9.9, 10, 10.1, 30), 1) + 1", "43"},
        {"today", "'plate day'"},
        {"abs(card(1, 2)) > 40 ? str(max(grb(1, 2, 3))) : \"no\"", "'3'"},
    };
    for (const Row& r : rows) EXPECT_EQ(Eval(r.text), r.expected) << "expression: " << r.text;
}

}  // namespace
}  // namespace vyn::test
