#pragma once
// Function pools, the twin of TVarPool: each calls the functions it knows and hands the rest on.
#include "evaluator/TStackVal.h"

namespace vyn {

class TFuncPool {
public:
    virtual ~TFuncPool() = default;  // does not unlink the pool from any chain

    // args[0] is the named reference of the function's name, args[1..count] the arguments,
    // already resolved. A pool that knows the function fills args[0] with the result and
    // answers true; the default asks the next pool and answers false at the end of the chain.
    // A pool never keeps or frees the evaluator's values; it may raise evaluation errors.
    virtual bool CallFunc(TStackVal* args, int count);
    // args[0] the qualifier, args[1] the function's name (the result goes there),
    // args[2..count+1] the arguments.
    virtual bool CallQualifiedFunc(TStackVal* args, int count);

    TFuncPool* NextFuncPool() const { return fNextFuncPool; }
    void SetNextFuncPool(TFuncPool* next) { fNextFuncPool = next; }

private:
    TFuncPool* fNextFuncPool = nullptr;
};

}  // namespace vyn
