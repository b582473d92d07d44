// Counting, statistics, range selection, the outlier screen and the step counts over the
// numbers of an argument list.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "evaluator/BuiltinArgs.h"
#include "evaluator/Builtins.h"
#include "evaluator/FpeHandler.h"
#include "evaluator/NoValue.h"
#include "evaluator/QExcErr.h"
#include "evaluator/ValueChecks.h"

namespace vyn {

namespace {
constexpr int kErrNonValue = 1502;  // "Non-value."

// The numbers of the arguments first..first+count-1 without NoValue, in order.
std::vector<double> CollectValues(const TStackVal* first, int count)
{
    std::vector<double> values;
    NumArgIterator it(first, count);
    for (double x; it.Next(x);)
        if (x != NoValue) values.push_back(x);
    return values;
}

TStackVal NumberVector(const std::vector<double>& values)
{
    TStackVal v;
    v.MakeNumberVector(static_cast<int>(values.size()));
    for (double x : values) v.AppendNumber(x);
    return v;
}

struct Moments {
    double mean = NoValue;
    double variance = NoValue;  // divisor n
};

// Mean and divisor-n variance. The variance is taken about the mean with the rounding error
// of the mean corrected, instead of as the mean of squares minus the squared mean: that
// difference cancels badly for values with a large common part and can even come out
// negative, which made the standard deviation of equal values a numerical error. A negative
// remainder of rounding is cut to 0.
Moments ComputeMoments(const std::vector<double>& values)
{
    Moments m;
    if (values.empty()) return m;
    const double n = static_cast<double>(values.size());
    double sum = 0.0;
    for (double x : values) sum = CheckArith(sum + x, sum, x);
    m.mean = sum / n;
    double dev = 0.0, sq = 0.0;
    for (double x : values) {
        const double d = CheckArith(x - m.mean, x, m.mean);
        dev += d;
        sq = CheckArith(sq + d * d, sq, d);
    }
    m.variance = std::max(0.0, (sq - dev * (dev / n)) / n);
    return m;
}

enum class RangeKind { Relative, Absolute };

// ran / xran / sel / xsel: the values inside (or outside) a range given by the last two
// arguments.
void SelectRange(TStackVal* args, int count, RangeKind kind, bool inside)
{
    RequireArgCount(args, count, 3, std::numeric_limits<int>::max());
    const TStackVal& aArg = args[count - 1];
    const TStackVal& bArg = args[count];
    RequireNumber(aArg);
    RequireNumber(bArg);
    const std::vector<double> values = CollectValues(args + 1, count - 2);
    const double a = aArg.Number(), b = bArg.Number();
    std::vector<double> picked;
    if (a != NoValue && b != NoValue) {
        double lo = a, hi = b;
        if (kind == RangeKind::Relative) {
            lo = CheckArith((1.0 - b) * a, a, b);
            hi = CheckArith((1.0 + b) * a, a, b);
            // A negative centre (a blanked value below the blank) or a negative width would
            // otherwise give an empty range that takes nothing, the centre itself included.
            if (lo > hi) std::swap(lo, hi);
        }
        for (double x : values)
            if ((lo <= x && x <= hi) == inside) picked.push_back(x);
    }
    SetResult(args, NumberVector(picked));
}

// ctlt / ctle: how many leading items of a vector pass before the first one that stops.
void CountLeading(TStackVal* args, int count, bool stopAtEqual)
{
    RequireArgCount(args, count, 2, 2);
    const TStackVal& v = args[1];
    RequireNumeric(v);
    RequireVector(v);
    RequireNumber(args[2]);
    const double x = args[2].Number();
    if (x == NoValue || v.Count() == 0) ThrowEvalError(kErrNonValue);
    int n = 0;
    for (; n < v.Count(); ++n) {
        const double item = v.NumberAt(n);
        if (item == NoValue) ThrowEvalError(kErrNonValue);
        if (stopAtEqual ? item >= x : item > x) break;
    }
    SetResult(args, TStackVal(static_cast<double>(n)));
}

// Factors for n = 3 .. 25 of the Grubbs screen: the one-sided 5 % critical values of Grubbs'
// test times sqrt(n / (n - 1)), which fits them to the divisor-n standard deviation.
constexpr double kGrubbs[] = {1.412, 1.689, 1.869, 1.996, 2.093, 2.172, 2.237, 2.294,
                              2.343, 2.387, 2.426, 2.461, 2.493, 2.523, 2.551, 2.577,
                              2.6,   2.623, 2.644, 2.664, 2.683, 2.701, 2.717};
}  // namespace

double GrubbsFactor(int n)
{
    if (n < 3) return NoValue;
    return kGrubbs[std::min(n, 25) - 3];
}

void BuiltinMin(TStackVal* args, int count)
{
    double r = NoValue;
    for (double x : CollectValues(args + 1, count))
        if (r == NoValue || x < r) r = x;
    SetResult(args, TStackVal(r));
}

void BuiltinMax(TStackVal* args, int count)
{
    double r = NoValue;
    for (double x : CollectValues(args + 1, count))
        if (r == NoValue || x > r) r = x;
    SetResult(args, TStackVal(r));
}

void BuiltinAvg(TStackVal* args, int count)
{
    SetResult(args, TStackVal(ComputeMoments(CollectValues(args + 1, count)).mean));
}

void BuiltinVar(TStackVal* args, int count)
{
    SetResult(args, TStackVal(ComputeMoments(CollectValues(args + 1, count)).variance));
}

void BuiltinStd(TStackVal* args, int count)
{
    const double var = ComputeMoments(CollectValues(args + 1, count)).variance;
    SetResult(args, TStackVal(var == NoValue ? NoValue : std::sqrt(var)));
}

void BuiltinCntv(TStackVal* args, int count)
{
    double n = 0;
    NumArgIterator it(args + 1, count);
    for (double x; it.Next(x);)
        if (x != NoValue) ++n;
    SetResult(args, TStackVal(n));
}

void BuiltinCntn(TStackVal* args, int count)
{
    double n = 0;
    NumArgIterator it(args + 1, count);
    for (double x; it.Next(x);)
        if (x == NoValue) ++n;
    SetResult(args, TStackVal(n));
}

void BuiltinCard(TStackVal* args, int count)
{
    double n = 0;
    for (int i = 1; i <= count; ++i) n += args[i].IsVector() ? args[i].Count() : 1;
    SetResult(args, TStackVal(n));
}

void BuiltinRan(TStackVal* args, int count) { SelectRange(args, count, RangeKind::Relative, true); }
void BuiltinXran(TStackVal* args, int count) { SelectRange(args, count, RangeKind::Relative, false); }
void BuiltinSel(TStackVal* args, int count) { SelectRange(args, count, RangeKind::Absolute, true); }
void BuiltinXsel(TStackVal* args, int count) { SelectRange(args, count, RangeKind::Absolute, false); }

void BuiltinGrb(TStackVal* args, int count)
{
    const std::vector<double> values = CollectValues(args + 1, count);
    const int n = static_cast<int>(values.size());
    if (n < 3) {
        SetResult(args, NumberVector(values));
        return;
    }
    const Moments m = ComputeMoments(values);
    const double s = std::sqrt(m.variance);
    // Without any spread no value stands out; screening against a zero-width band would drop
    // equal values whose mean rounding moved off them.
    if (s == 0.0) {
        SetResult(args, NumberVector(values));
        return;
    }
    const double g = GrubbsFactor(n);
    const double lo = CheckArith(m.mean - g * s, m.mean, s), hi = CheckArith(m.mean + g * s, m.mean, s);
    std::vector<double> kept;
    for (double x : values)
        if (lo <= x && x <= hi) kept.push_back(x);
    SetResult(args, NumberVector(kept));
}

void BuiltinCtlt(TStackVal* args, int count) { CountLeading(args, count, false); }
void BuiltinCtle(TStackVal* args, int count) { CountLeading(args, count, true); }

}  // namespace vyn
