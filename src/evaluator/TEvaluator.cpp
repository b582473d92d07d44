#include "evaluator/TEvaluator.h"

#include <utility>

#include "evaluator/EvalErrors.h"
#include "evaluator/NoValue.h"
#include "evaluator/QExcErr.h"
#include "evaluator/ValueChecks.h"

namespace vyn {

TEvaluator::TEvaluator()
{
    // The evaluator is the first pool of both chains, so its built-ins answer last.
    fVarHead = this;
    fFuncHead = this;
}

TEvaluator::~TEvaluator()
{
    for (TVarPool* p = fVarHead; p;) {
        TVarPool* next = p->NextVarPool();
        p->SetNextVarPool(nullptr);
        p = next;
    }
    for (TFuncPool* p = fFuncHead; p;) {
        TFuncPool* next = p->NextFuncPool();
        p->SetNextFuncPool(nullptr);
        p = next;
    }
}

void TEvaluator::AddVarPool(TVarPool* pool)
{
    if (!pool) return;
    pool->SetNextVarPool(fVarHead);
    fVarHead = pool;
}

void TEvaluator::AddFuncPool(TFuncPool* pool)
{
    if (!pool) return;
    pool->SetNextFuncPool(fFuncHead);
    fFuncHead = pool;
}

void TEvaluator::RemoveVarPool()
{
    if (!fVarHead) return;
    TVarPool* old = fVarHead;
    fVarHead = old->NextVarPool();
    old->SetNextVarPool(nullptr);
}

void TEvaluator::RemoveFuncPool()
{
    if (!fFuncHead) return;
    TFuncPool* old = fFuncHead;
    fFuncHead = old->NextFuncPool();
    old->SetNextFuncPool(nullptr);
}

std::uint32_t TEvaluator::PoolDepth() const
{
    std::uint32_t vars = 0, funcs = 0;
    for (TVarPool* p = fVarHead; p; p = p->NextVarPool()) ++vars;
    for (TFuncPool* p = fFuncHead; p; p = p->NextFuncPool()) ++funcs;
    return (vars & 0xFFFFu) | ((funcs & 0xFFFFu) << 16);
}

void TEvaluator::RestorePoolDepth(std::uint32_t depth)
{
    const std::uint32_t wantVars = depth & 0xFFFFu, wantFuncs = depth >> 16;
    for (std::uint32_t have = PoolDepth() & 0xFFFFu; have > wantVars && fVarHead; --have) RemoveVarPool();
    for (std::uint32_t have = PoolDepth() >> 16; have > wantFuncs && fFuncHead; --have) RemoveFuncPool();
}

int TEvaluator::Evaluate(const char* text, bool evaluate)
{
    return Evaluate(text ? std::string_view(text) : std::string_view(), evaluate);
}

int TEvaluator::Evaluate(std::string_view text, bool evaluate)
{
    Reset();
    fParseOnly = !evaluate;
    fLookahead = -1;
    // A zero byte ends the text, as it always has.
    std::size_t end = text.find('\0');
    fText = end == std::string_view::npos ? text : text.substr(0, end);
    fCursor = 0;
    fDepth = 0;
    try {
        ParseInput();
        if (!fParseOnly && fTop >= 0) ResolveValue(fStack[0], fVarHead);
    } catch (const QExcErr& err) {
        Reset();
        fText = {};
        return err.Id() == kErrEmptyExpression ? 1 : -1;
    }
    fText = {};
    return 0;
}

const TStackVal& TEvaluator::Result() const
{
    static const TStackVal kNoResult(NoValue);
    return fTop >= 0 ? fStack[0] : kNoResult;
}

void TEvaluator::Reset()
{
    for (int i = 0; i <= fTop && i < kStackSize; ++i) fStack[static_cast<std::size_t>(i)].Clear();
    fMarks.fill(0);
    fTop = -1;
    fActive = true;
    fLookahead = 0;
    fTokenValue.Clear();
    fHasTokenValue = false;
}

void TEvaluator::Push(TStackVal value)
{
    if (fTop + 1 >= kStackSize) ThrowEvalError(kErrStackOverflow);
    ++fTop;
    fStack[static_cast<std::size_t>(fTop)].MoveFrom(std::move(value));
}

TStackVal TEvaluator::Pop()
{
    if (fTop < 0) ThrowEvalError(kErrStackUnderflow);
    TStackVal v(std::move(fStack[static_cast<std::size_t>(fTop)]));
    --fTop;
    return v;
}

TStackVal& TEvaluator::Peek(int offset)
{
    int at = fTop + offset;
    if (at < 0 || at >= kStackSize) ThrowEvalError(kErrInternal);
    return fStack[static_cast<std::size_t>(at)];
}

std::uint32_t& TEvaluator::PeekMark(int offset)
{
    int at = fTop + offset;
    if (at < 0 || at >= kStackSize) ThrowEvalError(kErrInternal);
    return fMarks[static_cast<std::size_t>(at)];
}

}  // namespace vyn
