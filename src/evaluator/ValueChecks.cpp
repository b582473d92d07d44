#include "evaluator/ValueChecks.h"

#include "evaluator/EvalErrors.h"
#include "evaluator/QExcErr.h"
#include "evaluator/TVarPool.h"

namespace vyn {

namespace {
[[noreturn]] void Fail(const TStackVal& v, int namedId, int valueId)
{
    if (v.IsNamed()) ThrowEvalError(namedId, v.Name());
    ThrowEvalError(valueId);
}
}  // namespace

void ResolveValue(TStackVal& value, TVarPool* head)
{
    if (!value.IsUnresolved()) return;
    if (!head || !head->GetVar(value)) ThrowEvalError(kErrVarNotFound, value.Name());
}

void RequireVector(const TStackVal& v)
{
    if (!v.IsVector()) Fail(v, kErrVarNotVector, kErrValueNotVector);
}

void RequireSimple(const TStackVal& v)
{
    if (v.IsVector()) Fail(v, kErrVarNotSimple, kErrValueNotSimple);
}

void RequireNumber(const TStackVal& v)
{
    if (!v.IsNumber()) Fail(v, kErrVarNotNumeric, kErrValueNotNumeric);
}

void RequireNumeric(const TStackVal& v)
{
    if (!v.HasNumbers()) Fail(v, kErrVarNotNumeric, kErrValueNotNumeric);
}

void RequireText(const TStackVal& v)
{
    if (!v.IsText()) Fail(v, kErrVarNotText, kErrValueNotText);
}

void RequireTextual(const TStackVal& v)
{
    if (!v.HasTexts()) Fail(v, kErrVarNotText, kErrValueNotText);
}

void RequireCompatible(const TStackVal& a, const TStackVal& b)
{
    if (a.IsVector() != b.IsVector()) ThrowEvalError(kErrSimpleWithVector);
    if (a.HasNumbers() != b.HasNumbers() && a.HasTexts() != b.HasTexts()) ThrowEvalError(kErrTextWithNumbers);
}

}  // namespace vyn
