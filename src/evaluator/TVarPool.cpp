#include "evaluator/TVarPool.h"

namespace vyn {

bool TVarPool::GetVar(TStackVal& value) { return fNextVarPool ? fNextVarPool->GetVar(value) : false; }

bool TVarPool::GetQualifiedVar(TStackVal& qualifier, TStackVal& member)
{
    return fNextVarPool ? fNextVarPool->GetQualifiedVar(qualifier, member) : false;
}

}  // namespace vyn
