#include "evaluator/Builtins.h"
#include "evaluator/TEvaluator.h"

namespace vyn {

// The evaluator is the last pool of its chains: its built-ins answer only what no plate,
// sample, cell or report pool has claimed.
bool TEvaluator::GetVar(TStackVal& value)
{
    if (GetBuiltinVar(value)) return true;
    return TVarPool::GetVar(value);
}

bool TEvaluator::CallFunc(TStackVal* args, int count)
{
    if (BuiltinFunc func = FindBuiltin(args[0].Name())) {
        func(args, count);
        return true;
    }
    return TFuncPool::CallFunc(args, count);
}

}  // namespace vyn
