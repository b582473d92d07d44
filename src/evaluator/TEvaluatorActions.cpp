// What each rule of the grammar does to the value stack when it is complete.
//
// Common rules: nothing runs in parse-only mode; operands are resolved before use; inside a
// branch that short-circuiting or the conditional skips (inactive), a binary action drops its
// right operand and keeps the left one as a placeholder, unary and list actions do nothing,
// no name is looked up and no error is raised. Results replace their operands.
#include <cmath>
#include <utility>

#include "evaluator/EvalErrors.h"
#include "evaluator/FpeHandler.h"
#include "evaluator/NoValue.h"
#include "evaluator/QExcErr.h"
#include "evaluator/TEvaluator.h"
#include "evaluator/TextCollate.h"
#include "evaluator/Tokens.h"
#include "evaluator/ValueChecks.h"

namespace vyn {

namespace {
// NoValue is not zero and counts as true; not-a-number counts as zero.
bool IsTrue(double v) { return v != 0.0 && !std::isnan(v); }

double Apply(int op, double a, double b)
{
    if (IsNoValue(a) || IsNoValue(b)) return NoValue;
    double r;
    switch (op) {
    case '+': r = a + b; break;
    case '-': r = a - b; break;
    case '*': r = a * b; break;
    default: r = a / b; break;
    }
    return CheckArith(r, a, b);
}

// A vector with a scalar: the item stays on the vector's side of the operator.
TStackVal ApplyToItems(int op, const TStackVal& vec, double scalar, bool vectorLeft)
{
    if (vec.Count() == 0) return TStackVal(vec);
    TStackVal res;
    res.MakeNumberVector(vec.Count());
    for (double item : vec.Numbers()) {
        if (IsNoValue(scalar)) res.AppendNumber(NoValue);
        else if (IsNoValue(item)) res.AppendNumber(NoValue);
        else res.AppendNumber(vectorLeft ? Apply(op, item, scalar) : Apply(op, scalar, item));
    }
    return res;
}
}  // namespace

void TEvaluator::Resolve(TStackVal& v) { ResolveValue(v, fVarHead); }

void TEvaluator::DropTop(int count)
{
    for (int i = 0; i < count; ++i) {
        if (fTop < 0) ThrowEvalError(kErrStackUnderflow);
        fStack[static_cast<std::size_t>(fTop)].Clear();
        --fTop;
    }
}

void TEvaluator::ReplaceTop(int operands, TStackVal result)
{
    DropTop(operands);
    Push(std::move(result));
}

int TEvaluator::CountListItems()
{
    // Walks the mark words down from the top to the list's first item, clearing them.
    int n = 0;
    for (int i = fTop;; --i) {
        if (i < 0) ThrowEvalError(kErrInternal);
        std::uint32_t& m = fMarks[static_cast<std::size_t>(i)];
        std::uint32_t was = m;
        m &= ~std::uint32_t(mkFirstItem | mkListItem);
        ++n;
        if (was & mkFirstItem) return n;
    }
}

bool TEvaluator::SkipsBinary()
{
    if (fParseOnly) return true;
    if (fActive) return false;
    DropTop(1);  // the left operand stays as the skipped branch's placeholder
    return true;
}

void TEvaluator::OnEmpty()
{
    if (!fParseOnly) ThrowEvalError(kErrEmptyExpression);
}

// ---------------------------------------------------------------- conditional

void TEvaluator::OnCondTest()
{
    if (fParseOnly || !fActive) return;
    PeekMark(0) |= mkCondTested;
    TStackVal& c = Peek(0);
    Resolve(c);
    RequireNumber(c);
    fActive = IsTrue(c.Number());
}

void TEvaluator::OnCondElse()
{
    if (fParseOnly) return;
    if (PeekMark(-1) & mkCondTested) fActive = !fActive;
}

void TEvaluator::OnCondEnd()
{
    if (fParseOnly) return;
    std::uint32_t& mark = PeekMark(-2);
    if (!(mark & mkCondTested)) {  // the whole conditional was skipped
        DropTop(2);
        return;
    }
    // Still active means the condition was false and the else-branch ran. The chosen value
    // keeps its name: it is resolved by whatever uses it.
    ReplaceTop(3, std::move(Peek(fActive ? 0 : -1)));
    mark &= ~std::uint32_t(mkCondTested);
    fActive = true;
}

// ---------------------------------------------------------------- or / and chains

// Or and and differ only in the operand value that settles the chain: true for or, false
// for and. A settled chain yields that value and skips the rest; an unsettled one yields the
// other.

void TEvaluator::OnChainLeft(bool settlesOn)
{
    if (fParseOnly || !fActive) return;
    std::uint32_t& mark = PeekMark(0);
    if (mark & mkOrAndChain) return;
    mark |= mkOrAndChain;
    TStackVal& left = Peek(0);
    Resolve(left);
    RequireNumber(left);
    if (IsTrue(left.Number()) == settlesOn) {
        ReplaceTop(1, TStackVal(settlesOn ? 1.0 : 0.0));
        fActive = false;
    }
}

void TEvaluator::OnChainRight(bool settlesOn)
{
    if (SkipsBinary()) return;
    TStackVal& right = Peek(0);
    Resolve(right);
    RequireNumber(right);
    bool on = IsTrue(right.Number());
    DropTop(1);
    if (on == settlesOn) {
        ReplaceTop(1, TStackVal(settlesOn ? 1.0 : 0.0));
        fActive = false;
    }
}

void TEvaluator::OnChainEnd(bool settlesOn)
{
    if (fParseOnly) return;
    std::uint32_t& mark = PeekMark(0);
    if (!(mark & mkOrAndChain)) return;
    if (fActive) ReplaceTop(1, TStackVal(settlesOn ? 0.0 : 1.0));
    fActive = true;
    mark &= ~std::uint32_t(mkOrAndChain);
}

// ---------------------------------------------------------------- comparisons

void TEvaluator::OnCompare(int token)
{
    if (SkipsBinary()) return;
    TStackVal& l = Peek(-1);
    TStackVal& r = Peek(0);
    Resolve(l);
    Resolve(r);
    RequireSimple(l);
    RequireSimple(r);
    RequireCompatible(l, r);
    bool result;
    if (l.HasTexts() || r.HasTexts()) {
        RequireText(l);
        RequireText(r);
        int c = CollateText(l.Text(), r.Text());
        switch (token) {
        case tkEq: result = c == 0; break;
        case tkNe: result = c != 0; break;
        case tkLt: result = c < 0; break;
        case tkGt: result = c > 0; break;
        case tkLe: result = c <= 0; break;
        default: result = c >= 0; break;
        }
    } else {
        RequireNumber(l);
        RequireNumber(r);
        double a = l.Number(), b = r.Number();
        if (IsNoValue(a) || IsNoValue(b)) {
            result = true;  // a comparison with a missing value holds, "!=" included
        } else {
            switch (token) {
            case tkEq: result = a == b; break;
            case tkNe: result = a != b; break;
            case tkLt: result = a < b; break;
            case tkGt: result = a > b; break;
            case tkLe: result = a <= b; break;
            default: result = a >= b; break;
            }
        }
    }
    ReplaceTop(2, TStackVal(result ? 1.0 : 0.0));
}

// ---------------------------------------------------------------- arithmetic

void TEvaluator::OnAdd()
{
    if (SkipsBinary()) return;
    TStackVal& l = Peek(-1);
    TStackVal& r = Peek(0);
    Resolve(l);
    Resolve(r);
    TStackVal res;
    if (l.IsSimple() && r.IsSimple()) {
        if (l.IsText() && r.IsText()) {
            res = l;
            res.ConcatText(r);
        } else if (l.IsNumber() && r.IsNumber()) {
            res.SetNumber(Apply('+', l.Number(), r.Number()));
        } else if ((l.IsText() && r.IsNumber()) || (l.IsNumber() && r.IsText())) {
            ThrowEvalError(kErrTextWithNumbers);
        } else {
            RequireNumeric(l);  // an operand that is nothing
            RequireNumeric(r);
        }
    } else if (l.IsVector() && r.IsVector()) {
        if (r.Count() == 0) {
            res = l;
        } else if (l.Count() == 0) {
            res = r;
        } else if (l.Kind() == r.Kind()) {
            res = l;
            res.AppendVector(r);
        } else {
            ThrowEvalError(kErrIncompatibleVectors);
        }
    } else {
        RequireNumeric(l);
        RequireNumeric(r);
        res = l.IsVector() ? ApplyToItems('+', l, r.Number(), true) : ApplyToItems('+', r, l.Number(), false);
    }
    ReplaceTop(2, std::move(res));
}

void TEvaluator::OnArith(int op)
{
    if (SkipsBinary()) return;
    TStackVal& l = Peek(-1);
    TStackVal& r = Peek(0);
    Resolve(l);
    Resolve(r);
    RequireNumeric(l);
    RequireNumeric(r);
    TStackVal res;
    if (l.IsVector() && r.IsVector()) ThrowEvalError(kErrInvalidOperation);
    if (l.IsVector()) res = ApplyToItems(op, l, r.Number(), true);
    else if (r.IsVector()) res = ApplyToItems(op, r, l.Number(), false);
    else res.SetNumber(Apply(op, l.Number(), r.Number()));
    ReplaceTop(2, std::move(res));
}

// ---------------------------------------------------------------- unary operators

void TEvaluator::OnUnaryPlus()
{
    if (fParseOnly || !fActive) return;
    TStackVal& v = Peek(0);
    Resolve(v);
    RequireNumeric(v);
}

// A unary operator works on a number or item by item on a number vector.
void TEvaluator::OnUnaryMap(double (*op)(double))
{
    if (fParseOnly || !fActive) return;
    TStackVal& v = Peek(0);
    Resolve(v);
    RequireNumeric(v);
    TStackVal res;
    if (!v.IsVector()) {
        res.SetNumber(op(v.Number()));
    } else if (v.Count() == 0) {
        res = v;
    } else {
        res.MakeNumberVector(v.Count());
        for (double x : v.Numbers()) res.AppendNumber(op(x));
    }
    ReplaceTop(1, std::move(res));
}

void TEvaluator::OnNegate()
{
    OnUnaryMap([](double x) { return IsNoValue(x) ? x : -x; });
}

void TEvaluator::OnNot()
{
    OnUnaryMap([](double x) { return x == 0.0 ? 1.0 : 0.0; });
}

void TEvaluator::OnParens()
{
    if (fParseOnly || !fActive) return;
    Resolve(Peek(0));
}

// ---------------------------------------------------------------- lists, vectors, indexing

void TEvaluator::OnListItem(bool first)
{
    if (fParseOnly) return;
    PeekMark(0) |= first ? (mkFirstItem | mkListItem) : mkListItem;
    if (fActive) Resolve(Peek(0));
}

void TEvaluator::OnVectorLiteral()
{
    if (fParseOnly) return;
    if (!fActive) {
        int n = CountListItems();
        DropTop(n - 1);
        return;
    }
    const bool texts = Peek(0).HasTexts();
    const int n = CountListItems();
    for (int i = fTop; i > fTop - n; --i) {
        const TStackVal& item = fStack[static_cast<std::size_t>(i)];
        RequireSimple(item);
        if (item.HasTexts() != texts) ThrowEvalError(kErrTextWithNumbers);
    }
    TStackVal res;
    if (texts) res.MakeTextVector(n);
    else res.MakeNumberVector(n);
    for (int i = fTop - n + 1; i <= fTop; ++i) {
        const TStackVal& item = fStack[static_cast<std::size_t>(i)];
        if (texts) res.AppendText(item.Text());
        else res.AppendNumber(item.Number());
    }
    ReplaceTop(n, std::move(res));
}

void TEvaluator::OnIndex()
{
    if (SkipsBinary()) return;
    TStackVal& v = Peek(-1);
    TStackVal& i = Peek(0);
    Resolve(v);
    Resolve(i);
    RequireVector(v);
    RequireNumber(i);
    // Truncated toward zero; NoValue counts as -1, not-a-number as no index at all.
    double t = IsNoValue(i.Number()) ? -1.0 : std::trunc(i.Number()) - fIndexBase;
    if (!(t >= 0.0 && t < static_cast<double>(v.Count()))) ThrowEvalError(kErrIndexOutOfRange);
    const int k = static_cast<int>(t);
    TStackVal res = v.IsTextVector() ? TStackVal::Text(v.TextAt(k)) : TStackVal(v.NumberAt(k));
    ReplaceTop(2, std::move(res));
}

// ---------------------------------------------------------------- names

void TEvaluator::OnCall(bool qualified, bool hasArgs)
{
    if (fParseOnly) return;
    const int n = hasArgs ? CountListItems() : 0;
    const int base = fTop - n - (qualified ? 1 : 0);  // element 0 of the argument array
    if (base < 0) ThrowEvalError(kErrInternal);
    if (!fActive) {
        DropTop(n + (qualified ? 1 : 0));
        return;
    }
    TStackVal* args = &fStack[static_cast<std::size_t>(base)];
    bool known = false;
    if (fFuncHead) known = qualified ? fFuncHead->CallQualifiedFunc(args, n) : fFuncHead->CallFunc(args, n);
    if (!known) ThrowEvalError(kErrFunctionNotFound, args[qualified ? 1 : 0].Name());
    DropTop(n);
    if (qualified) ReplaceTop(2, std::move(Peek(0)));
}

void TEvaluator::OnQualifiedVar()
{
    if (SkipsBinary()) return;
    TStackVal& qualifier = Peek(-1);
    TStackVal& member = Peek(0);
    if (!fVarHead || !fVarHead->GetQualifiedVar(qualifier, member)) ThrowEvalError(kErrVarNotFound, member.Name());
    ReplaceTop(2, std::move(member));
}

}  // namespace vyn
