#include "evaluator/TEvaluator.h"

namespace vyn {

// The built-in variables ("now", "today", "time") answer here; until they exist every name
// goes on down the chain (normally nothing is behind the evaluator).
bool TEvaluator::GetVar(TStackVal& value) { return TVarPool::GetVar(value); }

// The built-in functions answer here; until they exist no function is known.
bool TEvaluator::CallFunc(TStackVal* args, int count) { return TFuncPool::CallFunc(args, count); }

}  // namespace vyn
