#include "evaluator/BuiltinArgs.h"

#include "evaluator/EvalErrors.h"
#include "evaluator/QExcErr.h"
#include "evaluator/ValueChecks.h"

namespace vyn {

void RequireArgCount(const TStackVal* args, int count, int min, int max)
{
    if (count < min || count > max) ThrowEvalError(kErrWrongArgCount, args[0].Name());
}

void ThrowWrongArgument(const TStackVal* args) { ThrowEvalError(kErrWrongArgument, args[0].Name()); }

int TruncToInt32(double value, const TStackVal* args)
{
    // Written so that not-a-number fails both comparisons.
    if (!(value > -2147483649.0 && value < 2147483648.0)) ThrowWrongArgument(args);
    return static_cast<int>(value);
}

void SetResult(TStackVal* args, const TStackVal& result) { args[0] = result; }

bool NumArgIterator::Next(double& value)
{
    while (fLeft > 0) {
        const TStackVal& a = *fArg;
        if (a.IsVector() && a.Count() == 0) {
            ++fArg;
            --fLeft;
            continue;
        }
        RequireNumeric(a);
        if (!a.IsVector()) {
            value = a.Number();
            ++fArg;
            --fLeft;
            return true;
        }
        if (fItem < a.Count()) {
            value = a.NumberAt(fItem++);
            return true;
        }
        fItem = 0;
        ++fArg;
        --fLeft;
    }
    return false;
}

}  // namespace vyn
