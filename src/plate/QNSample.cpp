#include "plate/QNSample.h"

#include <algorithm>
#include <cmath>

#include "calibration/CalNumeric.h"
#include "evaluator/EvalErrors.h"
#include "evaluator/NoValue.h"
#include "evaluator/QExcErr.h"
#include "platform/core/StringTable.h"
#include "plate/QPlate.h"
#include "plate/Utilities.h"

namespace vyn {

namespace {
constexpr int kErrReferenceLayout = 1606;
constexpr int kErrAbsorbancesMissing = 1607;
constexpr int kErrAllExcluded = 1608;
constexpr int kErrSequence = 1609;
constexpr int kErrDilutionBelowOne = 1611;
constexpr int kErrUnorderedDilutions = 1612;
constexpr int kErrRepeatingDilutions = 1613;
constexpr int kErrDilutionsLayout = 1614;
constexpr int kErrDilutionMissing = 1615;
constexpr int kErrNoCalibration = 1616;
constexpr int kErrTooHigh = 1617;
constexpr int kErrTooLow = 1618;
constexpr int kErrInvalidAbsorbance = 1619;
constexpr int kErrUnstable = 1633;
constexpr int kRegressionAnalysis = 3180;
}  // namespace

QNSample::QNSample(QPlate* plate_) : QQSample(plate_, skQuantitative) {}

QNSample::QNSample(QPlate* plate_, const QNSample& source) : QQSample(plate_, skQuantitative)
{
    if (source.HasOwnDefinition()) {
        SetOwnDefinition(source.QualDefinition());
        SetOwnQuantDefinition(source.QuantDefinition());
    }
}

const std::vector<double>& QNSample::QuantDefinition() const
{
    return fOwnQuantDef ? *fOwnQuantDef : plate->globalQuantDef;
}

std::string QNSample::ResultSource(int i) const
{
    if (i == 0) return GetResStringStd(kRegressionAnalysis);
    return QQSample::ResultSource(i - 1);
}

void QNSample::UseGlobalDefinition()
{
    QQSample::UseGlobalDefinition();
    fOwnQuantDef.reset();
}

void QNSample::SetOwnDefinition(const TwostrArray& definition)
{
    QQSample::SetOwnDefinition(definition);
}

void QNSample::SetOwnQuantDefinition(const std::vector<double>& definition)
{
    std::vector<double> copy = definition;
    if (!fOwnQuantDef) fOwnQuantDef = std::make_unique<std::vector<double>>();
    *fOwnQuantDef = std::move(copy);
}

int QNSample::ClearResults()
{
    if (resultState == rsNotCalculated) return 0;
    QSample::ClearResults();
    SizePointArrays(0);
    concStatus = 0;
    return 1;
}

bool QNSample::CallFunc(TStackVal* args, int count)
{
    if (EqualNoCase(args[0].Name(), "cstat")) {
        if (count != 0) ThrowEvalError(kErrWrongArgCount, args[0].Name());
        args[0].SetNumber(std::max(concStatus, 0));
        return true;
    }
    return QQSample::CallFunc(args, count);
}

void QNSample::SizePointArrays(int m)
{
    pointCount = 0;
    if (m <= 0) {
        signals.clear();
        wellConcs.clear();
        dilutions.clear();
        flags.clear();
        return;
    }
    const std::size_t n = static_cast<std::size_t>(m);
    if (signals.size() < n) {
        signals.resize(n);
        wellConcs.resize(n);
        dilutions.resize(n);
        flags.resize(n);
    }
}

void QNSample::Fail(int id)
{
    if (!errorTexts.empty()) errorTexts.front() = GetResStringStd(id);
}

int QNSample::Calculate()
{
    if (resultState != rsNotCalculated) return 0;
    ResetPresentation();
    SizePointArrays(WellCount());
    AppendResult("conc");
    results.front().SetNumber(NoValue);
    results.front().SetErrorFlag(true);
    concStatus = -1;

    if (CheckDilutions()) {
        resultState = rsError;
        return resultState;
    }
    if (CheckLayout()) {
        SizePointArrays(0);
        resultState = rsError;
        return resultState;
    }
    concStatus = CalcConcentrations(std::vector<int>(static_cast<std::size_t>(pointCount), 0));
    if (CategoriesEmpty()) {
        resultState = concStatus;
    } else {
        EvalQualResult();
    }
    return resultState;
}

int QNSample::Recalculate(const std::vector<int>& pointFlags)
{
    if (pointCount == 0) return resultState;
    // The points survive: only the results go.
    results.clear();
    errorTexts.clear();
    errorPositions.clear();
    resultState = rsNotCalculated;
    ResetPresentation();
    AppendResult("conc");
    results.front().SetNumber(NoValue);
    results.front().SetErrorFlag(true);
    concStatus = CalcConcentrations(pointFlags);
    if (CategoriesEmpty()) {
        resultState = concStatus;
    } else {
        EvalQualResult();
        resultState = results.back().IsError() ? rsError : rsCalculated;
    }
    return resultState;
}

int QNSample::CheckDilutions()
{
    if (wells.empty()) {
        // Nothing to evaluate: the layout never leaves a quantitative sample like this.
        Fail(kErrAbsorbancesMissing);
        return 1;
    }
    const std::vector<double>& def = QuantDefinition();
    const int groups = wells.back().group + 1;
    const int m = static_cast<int>(def.size());
    if (groups <= 0) {
        Fail(kErrSequence);
        return 1;
    }
    if (m < groups) {
        Fail(kErrDilutionMissing);
        return 1;
    }
    for (int k = groups; k < m; ++k) {
        if (def[static_cast<std::size_t>(k)] != NoValue) {
            Fail(kErrDilutionsLayout);
            return 1;
        }
    }
    bool rising = true;
    for (int k = 0; k < groups; ++k) {
        const double d = def[static_cast<std::size_t>(k)];
        if (d == NoValue) {
            Fail(kErrDilutionMissing);
            return 1;
        }
        if (!(d >= 1.0)) {
            Fail(kErrDilutionBelowOne);
            return 1;
        }
        if (k >= 1) {
            const double prev = def[static_cast<std::size_t>(k - 1)];
            if (k == 1) rising = prev <= d;
            if (prev == d) {
                Fail(kErrRepeatingDilutions);
                return 1;
            }
            if ((prev < d) != rising) {
                Fail(kErrUnorderedDilutions);
                return 1;
            }
        }
    }
    for (std::size_t i = 1; i < wells.size(); ++i) {
        const int prev = wells[i - 1].group;
        const int g = wells[i].group;
        if (g != prev && g != prev + 1) {
            Fail(kErrSequence);
            return 1;
        }
    }
    return 0;
}

int QNSample::CheckLayout()
{
    const std::vector<double>& def = QuantDefinition();
    int n = 0;
    bool patternFixed = false;
    bool patternHasReference = false;
    std::size_t i = 0;
    while (i < wells.size()) {
        const int group = wells[i].group;
        const int groupFirstPoint = n;
        int references = 0;
        int others = 0;
        int referenceValues = 0;
        double referenceSum = 0.0;
        for (; i < wells.size() && wells[i].group == group; ++i) {
            double v;
            int isReference;
            GetWellEntry(static_cast<int>(i), v, isReference);
            if (isReference) {
                ++references;
                if (v != NoValue) {
                    referenceSum += v;
                    ++referenceValues;
                }
            } else {
                ++others;
                if (v != NoValue) {
                    const std::size_t p = static_cast<std::size_t>(n);
                    signals[p] = v;
                    dilutions[p] = (group >= 0 && group < static_cast<int>(def.size()))
                                       ? def[static_cast<std::size_t>(group)]
                                       : NoValue;
                    ++n;
                }
            }
        }
        // The groups before the first point decide whether the layout uses reference wells.
        if (!patternFixed || groupFirstPoint == 0) {
            patternHasReference = references > 0;
            patternFixed = true;
        }
        if ((references > 0) != patternHasReference || others == 0) {
            Fail(kErrReferenceLayout);
            pointCount = 0;
            return 1;
        }
        if (patternHasReference) {
            if (referenceValues == 0) {
                n = groupFirstPoint;
            } else {
                const double mean = referenceSum / referenceValues;
                for (int p = groupFirstPoint; p < n; ++p) signals[static_cast<std::size_t>(p)] -= mean;
            }
        }
    }
    pointCount = n;
    if (n == 0) {
        Fail(kErrAbsorbancesMissing);
        return 1;
    }
    const double k = std::min(dilutions[0], dilutions[static_cast<std::size_t>(n - 1)]);
    for (int p = 0; p < n; ++p) {
        flags[static_cast<std::size_t>(p)] = pfUsed;
        wellConcs[static_cast<std::size_t>(p)] = k / dilutions[static_cast<std::size_t>(p)];
    }
    return 0;
}

void QNSample::MarkPointsOutOfRange()
{
    if (pointCount == 0) return;
    double k = std::min(dilutions[0], dilutions[static_cast<std::size_t>(pointCount - 1)]);
    const QCalibr& cal = plate->calibr;
    if (cal.state != csNotCalculated && cal.results.size() > crDrawHi && cal.results[crDrawHi] != NoValue)
        k *= cal.results[crDrawHi];
    for (int p = 0; p < pointCount; ++p) {
        const std::size_t ps = static_cast<std::size_t>(p);
        wellConcs[ps] = k / dilutions[ps];
        if ((flags[ps] & pfExcluded) == 0) flags[ps] |= pfOutOfRange;
    }
}

int QNSample::CalcConcentrations(const std::vector<int>& pointFlags)
{
    if (results.empty()) {
        AppendResult("conc");
        results.front().SetNumber(NoValue);
        results.front().SetErrorFlag(true);
    }
    for (int p = 0; p < pointCount; ++p) {
        const std::size_t ps = static_cast<std::size_t>(p);
        const int given = ps < pointFlags.size() ? pointFlags[ps] : 0;
        flags[ps] = (given & 1) ^ ((given >> 1) & 1);
    }
    const QCalibr& cal = plate->calibr;
    if (cal.state != csValid) {
        Fail(kErrNoCalibration);
        MarkPointsOutOfRange();
        return -1;
    }

    double numerator = 0.0;
    double denominator = 0.0;
    int good = 0, below = 0, above = 0;
    try {
        int p = 0;
        while (p < pointCount) {
            const double d = dilutions[static_cast<std::size_t>(p)];
            int end = p;
            int used = 0;
            double sum = 0.0;
            while (end < pointCount && dilutions[static_cast<std::size_t>(end)] == d) {
                if ((flags[static_cast<std::size_t>(end)] & pfExcluded) == 0) {
                    sum += signals[static_cast<std::size_t>(end)];
                    ++used;
                }
                ++end;
            }
            if (used > 0) {
                double x = sum / used;
                const int side = cal.XFromY(x);
                if (side == 0) {
                    const double s = cal.Slope(x);
                    numerator += used * s * x;
                    denominator += used * s / d;
                    ++good;
                } else {
                    for (int q = p; q < end; ++q) {
                        int& f = flags[static_cast<std::size_t>(q)];
                        if ((f & pfExcluded) == 0) f = pfOutOfRange;
                    }
                    if (side < 0) ++below;
                    else ++above;
                }
            }
            p = end;
        }
    } catch (const QExcErr&) {
        Fail(kErrUnstable);
        MarkPointsOutOfRange();
        return -1;
    } catch (const QNumericFault&) {
        Fail(kErrUnstable);
        MarkPointsOutOfRange();
        return -1;
    }

    if (good > 0) {
        // A zero weight sum (a flat curve at every good run) or a slope that is not a number
        // leaves no usable concentration: the same orderly failure as a fault in the curve.
        const double conc = numerator / denominator;
        if (!std::isfinite(conc) || !std::isfinite(numerator) || !std::isfinite(denominator) ||
            denominator == 0.0) {
            Fail(kErrUnstable);
            MarkPointsOutOfRange();
            return -1;
        }
        TStackVal& c = results.front();
        c.SetNumber(conc);
        c.SetErrorFlag(false);
        for (int q = 0; q < pointCount; ++q) {
            const std::size_t qs = static_cast<std::size_t>(q);
            wellConcs[qs] = conc / dilutions[qs];
        }
        return 1;
    }
    if (below > 0 && above > 0) {
        Fail(kErrInvalidAbsorbance);
        MarkPointsOutOfRange();
        return -1;
    }
    if (below > 0 || above > 0) {
        Fail(below > 0 ? kErrTooLow : kErrTooHigh);
        MarkPointsOutOfRange();
        results.front().SetErrorFlag(false);
        return below > 0 ? 2 : 3;
    }
    Fail(kErrAllExcluded);
    MarkPointsOutOfRange();
    return -1;
}

}  // namespace vyn
