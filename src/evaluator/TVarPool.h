#pragma once
// Variable pools: each answers the names it knows and hands the rest on down its chain.
#include "evaluator/TStackVal.h"

namespace vyn {

class TVarPool {
public:
    virtual ~TVarPool() = default;  // does not unlink the pool from any chain

    // value is an unresolved named reference (value.IsUnresolved()). A pool that knows the
    // name fills it (by operator= or the setters, which keep the name) and answers true; the
    // default asks the next pool and answers false at the end of the chain.
    virtual bool GetVar(TStackVal& value);
    // qualifier.member, two named references; a pool that knows the pair fills member.
    virtual bool GetQualifiedVar(TStackVal& qualifier, TStackVal& member);

    TVarPool* NextVarPool() const { return fNextVarPool; }
    void SetNextVarPool(TVarPool* next) { fNextVarPool = next; }

private:
    TVarPool* fNextVarPool = nullptr;
};

}  // namespace vyn
