#include "evaluator/FpeHandler.h"

#include <cfenv>
#include <cmath>

#include "evaluator/EvalErrors.h"
#include "evaluator/QExcErr.h"

namespace vyn {

namespace {
bool gFpeInstalled = false;
constexpr int kFaultFlags = FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID;

bool IsFault(double result, double a, double b)
{
    if (std::isnan(result)) return !std::isnan(a) && !std::isnan(b);
    if (std::isinf(result)) return std::isfinite(a) && std::isfinite(b);
    return false;
}
}  // namespace

void InstallFpeHandler()
{
    std::feclearexcept(FE_ALL_EXCEPT);
    gFpeInstalled = true;
}

void RemoveFpeHandler() { gFpeInstalled = false; }

bool IsFpeHandlerInstalled() { return gFpeInstalled; }

double CheckArith(double result, double a, double b)
{
    if (IsFault(result, a, b)) ThrowEvalError(kErrNumerical);
    return result;
}

double CheckMath(const char* function, double result, double a, double b)
{
    if (IsFault(result, a, b)) ThrowEvalError(kErrNumericalIn, function ? function : "");
    return result;
}

FpFaultScope::FpFaultScope() { std::feclearexcept(kFaultFlags); }

bool FpFaultScope::Faulted() const { return std::fetestexcept(kFaultFlags) != 0; }

void FpFaultScope::Check() const
{
    if (Faulted()) ThrowEvalError(kErrNumerical);
}

void FpFaultScope::CheckMath(const char* function) const
{
    if (Faulted()) ThrowEvalError(kErrNumericalIn, function ? function : "");
}

}  // namespace vyn
