// The mathematics built-ins: logarithms, powers, roots, integer remainder and quotient, and
// the missing-value test.
#include <cmath>
#include <cstdint>

#include "evaluator/BuiltinArgs.h"
#include "evaluator/Builtins.h"
#include "evaluator/EvalErrors.h"
#include "evaluator/FpeHandler.h"
#include "evaluator/NoValue.h"
#include "evaluator/QExcErr.h"
#include "evaluator/ValueChecks.h"

namespace vyn {

namespace {
// One simple number in, one number out; a missing argument gives a missing result without
// asking the mathematics. libName is the function's name as the library reports a fault.
template <typename F>
void UnaryMath(TStackVal* args, int count, const char* libName, F f)
{
    RequireArgCount(args, count, 1, 1);
    RequireNumber(args[1]);
    const double x = args[1].Number();
    double r = NoValue;
    if (x != NoValue) r = libName ? CheckMath(libName, f(x), x) : f(x);
    SetResult(args, TStackVal(r));
}

// mod and div on the arguments truncated to 32-bit integers. The arithmetic runs in 64 bits so
// that the smallest integer divided by -1 has its true quotient instead of overflowing.
template <typename F>
void IntegerDivision(TStackVal* args, int count, F f)
{
    RequireArgCount(args, count, 2, 2);
    RequireNumber(args[1]);
    RequireNumber(args[2]);
    const double x = args[1].Number(), y = args[2].Number();
    if (x == NoValue || y == NoValue) {
        SetResult(args, TStackVal(NoValue));
        return;
    }
    const std::int64_t a = TruncToInt32(x, args), b = TruncToInt32(y, args);
    if (b == 0) ThrowEvalError(kErrNumerical);
    SetResult(args, TStackVal(static_cast<double>(f(a, b))));
}
}  // namespace

void BuiltinLog(TStackVal* args, int count)
{
    UnaryMath(args, count, "log10", [](double x) { return std::log10(x); });
}

void BuiltinPow10(TStackVal* args, int count)
{
    UnaryMath(args, count, "pow", [](double x) { return std::pow(10.0, x); });
}

void BuiltinLn(TStackVal* args, int count)
{
    UnaryMath(args, count, "log", [](double x) { return std::log(x); });
}

void BuiltinExp(TStackVal* args, int count)
{
    UnaryMath(args, count, "exp", [](double x) { return std::exp(x); });
}

void BuiltinSqrt(TStackVal* args, int count)
{
    UnaryMath(args, count, "sqrt", [](double x) { return std::sqrt(x); });
}

void BuiltinAbs(TStackVal* args, int count)
{
    UnaryMath(args, count, nullptr, [](double x) { return std::fabs(x); });
}

void BuiltinPow(TStackVal* args, int count)
{
    RequireArgCount(args, count, 2, 2);
    RequireNumber(args[1]);
    RequireNumber(args[2]);
    const double x = args[1].Number(), y = args[2].Number();
    double r = NoValue;
    if (x != NoValue && y != NoValue) r = CheckMath("pow", std::pow(x, y), x, y);
    SetResult(args, TStackVal(r));
}

void BuiltinMod(TStackVal* args, int count)
{
    IntegerDivision(args, count, [](std::int64_t a, std::int64_t b) { return a % b; });
}

void BuiltinDiv(TStackVal* args, int count)
{
    IntegerDivision(args, count, [](std::int64_t a, std::int64_t b) { return a / b; });
}

void BuiltinNv(TStackVal* args, int count)
{
    RequireArgCount(args, count, 0, 1);
    if (count == 0) {
        SetResult(args, TStackVal(NoValue));
        return;
    }
    RequireNumber(args[1]);
    SetResult(args, TStackVal(args[1].Number() == NoValue ? 1.0 : 0.0));
}

}  // namespace vyn
