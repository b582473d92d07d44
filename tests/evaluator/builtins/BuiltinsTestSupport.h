#pragma once
// Calls built-ins the way the evaluator's call action does and shows the outcome as one
// comparable text, so that the tests can be tables of {case, call, expected}.
//
// Shown forms: a number with 15 significant digits ("2.5"), "NoValue", a text in quotes
// ("'abc'"), a number vector ("{1,2}"), a text vector ("{'a','b'}"), an error as "E1418(sqrt)"
// with its context when the message takes one, else "E1407".
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "../StackValMakers.h"
#include "evaluator/NoValue.h"
#include "evaluator/NumberText.h"
#include "evaluator/QExcErr.h"
#include "evaluator/TEvaluator.h"
#include "evaluator/TStackVal.h"
#include "platform/core/Clock.h"
#include "platform/core/StringTable.h"
#include "platform/core/TimeLocale.h"

namespace vyn::test {

inline TStackVal N(double x) { return TStackVal(x); }
inline TStackVal T(std::string_view s) { return TStackVal::Text(s); }
inline TStackVal V(std::initializer_list<double> items) { return Numbers(items); }
inline TStackVal TV(std::initializer_list<const char*> items) { return Texts(items); }
inline TStackVal EmptyLiteral()
{
    TStackVal v;
    v.SetEmptyVector();
    return v;
}
// An argument as the call receives it. Copying a TStackVal drops its name, so a variable's
// value keeps the name beside it until the call array is built.
struct Arg {
    Arg(TStackVal v) : value(std::move(v)) {}
    Arg(TStackVal v, std::string_view name) : value(std::move(v)), varName(name) {}
    TStackVal Make() const
    {
        if (varName.empty()) return value;
        TStackVal v = TStackVal::Named(varName);
        v = value;  // keeps the name and the named bit
        return v;
    }
    TStackVal value;
    std::string varName;
};

// A value as a variable gives it: it carries the variable's name, so kind errors name it.
inline Arg Var(std::string_view name, const TStackVal& content) { return Arg(content, name); }

inline std::string ShowNumber(double x) { return x == NoValue ? "NoValue" : FormatG(x, 15); }

inline std::string Show(const TStackVal& v)
{
    if (v.IsNumber()) return ShowNumber(v.Number());
    if (v.IsText()) return "'" + v.Text() + "'";
    if (v.IsVector()) {
        std::string s = "{";
        for (int i = 0; i < v.Count(); ++i) {
            if (i) s += ",";
            s += v.HasTexts() && !v.HasNumbers() ? "'" + v.TextAt(i) + "'" : ShowNumber(v.NumberAt(i));
        }
        return s + "}";
    }
    return "kind " + std::to_string(v.Flags());
}

inline std::string ShowError(const QExcErr& e)
{
    std::string s = "E" + std::to_string(e.Id());
    if (GetResStringStd(e.Id()).find("%s") != std::string::npos) s += "(" + e.Context() + ")";
    return s;
}

// Calls fn with args through TEvaluator::CallFunc on a fresh evaluator.
inline std::string Call(std::string_view fn, const std::vector<Arg>& args)
{
    std::vector<TStackVal> array;
    array.push_back(TStackVal::Named(fn));
    for (const Arg& a : args) array.push_back(a.Make());
    TEvaluator ev;
    try {
        if (!ev.CallFunc(array.data(), static_cast<int>(args.size()))) return "unknown";
    } catch (const QExcErr& e) {
        // A failed call leaves its result slot as it was.
        if (!array[0].IsUnresolved()) return ShowError(e) + " but the result was filled";
        return ShowError(e);
    }
    if (!array[0].IsNamed() || array[0].Name() != fn) return "result lost its name";
    return Show(array[0]);
}

// 2024-03-14 15:09:26 UTC, a Thursday, as milliseconds since 1601 (computed outside the
// project from the Unix time 1710428966).
inline constexpr std::int64_t kThursdayAfternoon = 13354902566000;

// For each test: the clock stands still at kThursdayAfternoon, local time is UTC and the
// names of days and months come from a Locale; all three are restored afterwards.
template <class Locale>
class FixedClockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetNowMsSource(Now);
        SetLocalTimeConverter(UtcTimeFromMs);
        SetTimeLocale(&fLocale);
    }
    void TearDown() override
    {
        SetNowMsSource(nullptr);
        SetLocalTimeConverter(nullptr);
        SetTimeLocale(nullptr);
    }
    static std::int64_t Now() { return kThursdayAfternoon; }
    Locale fLocale;
};

struct CallCase {
    const char* label;
    const char* fn;
    std::vector<Arg> args;
    std::string expected;
};

inline void RunCallCases(const std::vector<CallCase>& cases)
{
    for (const CallCase& c : cases) EXPECT_EQ(Call(c.fn, c.args), c.expected) << "case: " << c.label;
}

}  // namespace vyn::test
