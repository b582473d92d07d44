#include "evaluator/TFuncPool.h"

namespace vyn {

bool TFuncPool::CallFunc(TStackVal* args, int count)
{
    return fNextFuncPool ? fNextFuncPool->CallFunc(args, count) : false;
}

bool TFuncPool::CallQualifiedFunc(TStackVal* args, int count)
{
    return fNextFuncPool ? fNextFuncPool->CallQualifiedFunc(args, count) : false;
}

}  // namespace vyn
