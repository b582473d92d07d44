#include "calibration/QCalibr.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <utility>

#include "calibration/CalNumeric.h"
#include "evaluator/NoValue.h"
#include "platform/core/StringTable.h"

namespace vyn {

namespace {

constexpr int kModelNameId = 1700;
constexpr int kModelFormulaId = 1710;
constexpr int kDamagedCalibrationId = 1636;

struct ModelTexts {
    std::string names[6];
    std::string formulas[6];
    ModelTexts()
    {
        for (int m = 0; m < 6; ++m) {
            names[m] = GetResStringStd(kModelNameId + m);
            formulas[m] = GetResStringStd(kModelFormulaId + m);
        }
    }
};

const ModelTexts& Texts()
{
    static const ModelTexts texts;
    return texts;
}

const std::string kEmpty;

}  // namespace

QCalibr::QCalibr() : results(8, NoValue), fittedLo_(NoValue), fittedHi_(NoValue)
{
    Texts();
}

const std::string& QCalibr::ModelName(int m)
{
    return (m >= 0 && m < 6) ? Texts().names[m] : kEmpty;
}

const std::string& QCalibr::ModelFormula(int m)
{
    return (m >= 0 && m < 6) ? Texts().formulas[m] : kEmpty;
}

void QCalibr::ResetWork(int nInts, int nResults)
{
    fitInts.assign(static_cast<std::size_t>(std::max(nInts, 0)), 0);
    results.assign(static_cast<std::size_t>(std::max(nResults, 8)), NoValue);
}

void QCalibr::Fail(int id)
{
    state = csFailed;
    message = GetResStringStd(id);
}

void QCalibr::ClearPoints()
{
    pointX.clear();
    pointY.clear();
    pointExcluded.clear();
}

double QCalibr::T(double x) const
{
    return logX ? std::log(x) : x;
}

double QCalibr::Conc(double t) const
{
    return logX ? std::exp(t) : t;
}

void QCalibr::AssignDefinition(int newModel, int newDecreasing, int newLogX,
                               const std::vector<double>& newConcentrations, int newFixedK,
                               double newK0, double newK1)
{
    model = newModel;
    decreasing = newDecreasing;
    logX = newLogX;
    concentrations = newConcentrations;
    fixedK = newFixedK;
    K0 = newK0;
    K1 = newK1;
}

int QCalibr::SetParams(int newModel, int newDecreasing, int newLogX,
                       const std::vector<double>& newConcentrations, int newFixedK, double newK0,
                       double newK1)
{
    if (stored) return 0;
    bool same = model == newModel && decreasing == newDecreasing && logX == newLogX &&
                fixedK == newFixedK && K0 == newK0 && K1 == newK1 &&
                concentrations.size() == newConcentrations.size();
    // A concentration that went through a file as 16-digit text counts as unchanged.
    for (std::size_t i = 0; same && i < concentrations.size(); ++i)
        same = RoundTrip16(concentrations[i]) == newConcentrations[i];
    if (same) return 0;
    AssignDefinition(newModel, newDecreasing, newLogX, newConcentrations, newFixedK, newK0, newK1);
    if (state == csNotCalculated) return 2;
    Invalidate();
    return 1;
}

bool QCalibr::LayoutFits() const
{
    if (results.size() < 8) return false;
    // A calibration that was never calculated is not read beyond its state.
    if (state == csNotCalculated) return true;
    // A failed fit is read only when it left a drawing range (CurveY).
    if (state == csFailed && results[crDrawLo] == NoValue) return true;
    const std::size_t nr = results.size();
    switch (model) {
    case cmLinear:
    case cmParabole:
    case cmCubicParabole:
        return !fitInts.empty() && fitInts[0] >= 1 && fitInts[0] <= 3 && nr >= 15;
    case cmPointToPoint:
    case cmSpline: {
        if (fitInts.size() < 3) return false;
        long long m = fitInts[0];
        long long s = fitInts[1], e = fitInts[2];
        long long need = (model == cmSpline ? 3 : 2) * m + 8;
        if (m < 2 || need > static_cast<long long>(nr)) return false;
        if (state == csValid && !(s >= 0 && s < e && e < m)) return false;
        return true;
    }
    case cmFourParameter:
        return nr >= 12;
    default:
        return false;
    }
}

bool QCalibr::Restore(int newStored, int newState, int newModel, int newDecreasing, int newLogX,
                      const std::vector<double>& newConcentrations, int newFixedK, double newK0,
                      double newK1, const std::string& newMemo, const std::string& newMessage,
                      const std::vector<double>& x, const std::vector<double>& y,
                      const std::vector<int>& excluded, const std::vector<int>& newFitInts,
                      const std::vector<double>& newResults)
{
    AssignDefinition(newModel, newDecreasing, newLogX, newConcentrations, newFixedK, newK0, newK1);
    memo = newMemo;
    stored = newStored;
    state = newState;
    message = newMessage;
    fitInts = newFitInts;
    results = newResults;
    fittedLo_ = fittedHi_ = NoValue;
    const std::size_t count = excluded.size();
    bool accepted = x.size() >= count && y.size() >= count && newState >= -1 && newState <= 1 &&
                    newModel >= 0 && newModel < ModelCount() && LayoutFits();
    if (accepted) {
        pointX.assign(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(count));
        pointY.assign(y.begin(), y.begin() + static_cast<std::ptrdiff_t>(count));
        pointExcluded = excluded;
        if (results.size() < 8) results.resize(8, NoValue);
        return true;
    }
    // Damaged data is never read: the curve is dropped, and since it is not kept as stored, the
    // next recalculation fits the plate's own standards again.
    stored = 0;
    ClearPoints();
    ResetWork(0, 8);
    Fail(newModel >= 0 && newModel < ModelCount() ? kDamagedCalibrationId : 1707);
    return false;
}

void QCalibr::Assign(const QCalibr& other)
{
    if (this != &other) *this = other;
    stored = 1;
}

int QCalibr::Remember()
{
    if (stored || state != csValid) return 0;
    stored = 1;
    return 1;
}

int QCalibr::Release()
{
    if (!stored) return 0;
    stored = 0;
    return Invalidate();
}

int QCalibr::Invalidate()
{
    if (stored || state == csNotCalculated) return 0;
    state = csNotCalculated;
    message.clear();
    ClearPoints();
    fitInts.clear();
    results.assign(8, NoValue);
    return 1;
}

int QCalibr::Recalc(const std::vector<QCalEntry>* standards)
{
    if (stored || state != csNotCalculated || !standards) return 0;
    if (BuildPoints(*standards) != 0) return state;
    Fit();
    return 1;
}

int QCalibr::BuildPoints(const std::vector<QCalEntry>& entries)
{
    auto fail = [this](int id) {
        ClearPoints();
        Fail(id);
        return -1;
    };
    if (entries.empty()) return fail(1600);
    const long long groups = static_cast<long long>(entries.back().group) + 1;
    if (groups <= 0) return fail(1600);
    for (std::size_t i = 1; i < entries.size(); ++i)
        if (entries[i].group < entries[i - 1].group) return fail(1600);
    const long long nConc = static_cast<long long>(concentrations.size());
    if (nConc < groups) return fail(1601);
    if (nConc > groups) return fail(1602);
    for (const QCalEntry& e : entries)
        if (e.group < 0 || e.group >= nConc) return fail(1600);

    bool rising = true;
    for (long long i = 0; i < groups; ++i) {
        double c = concentrations[static_cast<std::size_t>(i)];
        if (c == NoValue || std::isnan(c) || std::isinf(c)) return fail(1601);
        if (c < 0.0) return fail(1610);
        if (i == 0) continue;
        double prev = concentrations[static_cast<std::size_t>(i - 1)];
        if (i == 1) rising = prev < c;
        if (c == prev) return fail(1603);
        if ((prev < c) != rising) return fail(1604);
    }

    ClearPoints();
    pointX.reserve(entries.size());
    pointY.reserve(entries.size());
    int expectBlank = -1;  // -1: not yet set by a group
    std::size_t i = 0;
    while (i < entries.size()) {
        const int group = entries[i].group;
        const double conc = concentrations[static_cast<std::size_t>(group)];
        const bool setsExpectation = pointX.empty();
        const std::size_t groupFirstPoint = pointX.size();
        int nonBlank = 0, blanks = 0, blankValues = 0;
        double blankSum = 0.0;
        for (; i < entries.size() && entries[i].group == group; ++i) {
            const QCalEntry& e = entries[i];
            if (e.blank) {
                ++blanks;
                if (e.value != NoValue) {
                    blankSum += e.value;
                    ++blankValues;
                }
            } else {
                ++nonBlank;
                if (e.value != NoValue) {
                    pointX.push_back(conc);
                    pointY.push_back(e.value);
                }
            }
        }
        if (nonBlank == 0) return fail(1606);
        const int hasBlank = blanks > 0 ? 1 : 0;
        if (setsExpectation || expectBlank < 0)
            expectBlank = hasBlank;
        else if (hasBlank != expectBlank)
            return fail(1606);
        if (hasBlank) {
            if (blankValues == 0) {
                pointX.resize(groupFirstPoint);
                pointY.resize(groupFirstPoint);
            } else {
                double mean = blankSum / blankValues;
                for (std::size_t k = groupFirstPoint; k < pointY.size(); ++k) pointY[k] -= mean;
            }
        }
    }
    if (pointX.empty()) return fail(1607);

    // Replicates of one standard: signals ascending within the run of equal concentration.
    for (std::size_t a = 0; a < pointX.size();) {
        std::size_t b = a + 1;
        while (b < pointX.size() && pointX[b] == pointX[a]) ++b;
        std::sort(pointY.begin() + static_cast<std::ptrdiff_t>(a),
                  pointY.begin() + static_cast<std::ptrdiff_t>(b));
        a = b;
    }
    if (pointX.back() < pointX.front()) {
        std::reverse(pointX.begin(), pointX.end());
        std::reverse(pointY.begin(), pointY.end());
    }
    if (logX) {
        std::size_t zeros = 0;
        while (zeros < pointX.size() && pointX[zeros] == 0.0) ++zeros;
        if (zeros == pointX.size()) return fail(1607);
        pointX.erase(pointX.begin(), pointX.begin() + static_cast<std::ptrdiff_t>(zeros));
        pointY.erase(pointY.begin(), pointY.begin() + static_cast<std::ptrdiff_t>(zeros));
    }
    pointExcluded.assign(pointX.size(), 0);
    return 0;
}

void QCalibr::Fit()
{
    state = csNotCalculated;
    std::vector<double> x, y;
    x.reserve(pointX.size());
    y.reserve(pointX.size());
    int distinct = 0;
    for (std::size_t i = 0; i < pointX.size(); ++i) {
        if (i < pointExcluded.size() && pointExcluded[i]) continue;
        if (x.empty() || pointX[i] != x.back()) ++distinct;
        x.push_back(pointX[i]);
        y.push_back(pointY[i]);
    }
    if (x.empty()) {
        Fail(1608);
        return;
    }
    const int n = static_cast<int>(x.size());

    // Faults are found by the floating-point flags the fit leaves and by the routines' own
    // checks; the caller's flags are put back afterwards.
    std::fexcept_t saved;
    std::fegetexceptflag(&saved, FE_ALL_EXCEPT);
    std::feclearexcept(CalFaultFlags());
    bool fault = false;
    try {
        switch (model) {
        case cmLinear:
        case cmParabole:
        case cmCubicParabole: FitPolynomial(x, y, n, distinct); break;
        case cmPointToPoint: FitPointToPoint(x, y, n, distinct); break;
        case cmSpline: FitSpline(x, y, n, distinct); break;
        case cmFourParameter: FitFourParameter(x, y, n, distinct); break;
        default: Fail(1707); break;
        }
        fault = std::fetestexcept(CalFaultFlags()) != 0;
    } catch (...) {
        fault = true;
    }
    std::fesetexceptflag(&saved, FE_ALL_EXCEPT);
    if (fault) {
        fitInts.clear();
        results.assign(8, NoValue);
        Fail(1633);
    }
    fittedLo_ = results[crRangeLo];
    fittedHi_ = results[crRangeHi];
}

int QCalibr::ApplyPointFlags(const std::vector<int>& flags)
{
    if (stored || state == csNotCalculated || pointX.empty()) return 0;
    for (std::size_t i = 0; i < pointExcluded.size(); ++i) {
        int f = i < flags.size() ? flags[i] : 0;
        pointExcluded[i] = (f & 1) ^ ((f >> 1) & 1);
    }
    fitInts.clear();
    results.assign(8, NoValue);
    Fit();
    return state;
}

int QCalibr::SetRange(double lo, double hi)
{
    if (state != csValid || stored || lo == NoValue || hi == NoValue) return 0;
    if (hi < lo) std::swap(lo, hi);
    auto clamp = [this](double v) {
        if (v < results[crFullLo]) v = results[crFullLo];
        if (v > results[crFullHi]) v = results[crFullHi];
        return v;
    };
    lo = clamp(lo);
    hi = clamp(hi);
    results[crRangeLo] = lo;
    results[crRangeHi] = hi;
    results[crSignalLo] = CurveY(lo);
    results[crSignalHi] = CurveY(hi);
    if (results[crSignalHi] < results[crSignalLo])
        std::swap(results[crSignalLo], results[crSignalHi]);
    return 1;
}

bool QCalibr::RangeChanged() const
{
    return state == csValid &&
           (results[crRangeLo] != fittedLo_ || results[crRangeHi] != fittedHi_);
}

bool QCalibr::HasUserChanges() const
{
    if (stored || state != csValid) return false;
    return RangeChanged() || std::any_of(pointExcluded.begin(), pointExcluded.end(),
                                         [](int e) { return e != 0; });
}

std::string QCalibr::ParameterLines() const
{
    auto line = [](const std::string& name, double value) {
        return name + " = " + FormatGeneral(value) + "\r\n";
    };
    std::string lines;
    switch (model) {
    case cmLinear:
    case cmParabole:
    case cmCubicParabole: {
        const int d = fitInts.empty() ? 0 : fitInts[0];
        if (d < 1 || d > 3 || results.size() < crParams + 4) return {};
        for (int k = d; k >= 0; --k)
            lines += line("K[" + std::to_string(k) + "]", results[crParams + k]);
        return lines;
    }
    case cmFourParameter:
        if (results.size() < crParams + 4) return {};
        for (int k = 0; k < 4; ++k) lines += line(std::string(1, static_cast<char>('A' + k)), results[crParams + k]);
        return lines;
    default:
        return {};
    }
}

int QCalibr::TestY(double y) const
{
    if (state != csValid) return 0;
    if (results[crSignalLo] <= y && y <= results[crSignalHi]) return 1;
    if (y > results[crSignalHi]) return decreasing ? 2 : 3;
    return decreasing ? 3 : 2;
}

int QCalibr::XFromY(double& y) const
{
    if (state != csValid) return -1;
    if (results[crSignalLo] <= y && y <= results[crSignalHi]) {
        switch (model) {
        case cmLinear:
        case cmParabole:
        case cmCubicParabole: return PolyXFromY(y);
        case cmPointToPoint: return P2PXFromY(y);
        case cmSpline: return SplineXFromY(y);
        case cmFourParameter: return XFromYFourParameter(y);
        default: return -1;
        }
    }
    if (y > results[crSignalHi]) return decreasing ? -1 : 1;
    return decreasing ? 1 : -1;
}

double QCalibr::Slope(double x) const
{
    if (state != csValid) return 0.0;
    switch (model) {
    case cmLinear:
    case cmParabole:
    case cmCubicParabole: return PolySlope(x);
    case cmPointToPoint: return P2PSlope(x);
    case cmSpline: return SplineSlope(x);
    case cmFourParameter: return SlopeFourParameter(x);
    default: return -1.0;
    }
}

double QCalibr::CurveY(double x) const
{
    if (state == csNotCalculated || results[crDrawLo] == NoValue || x == NoValue) return NoValue;
    if (!(x >= results[crDrawLo] && x <= results[crDrawHi])) return NoValue;
    switch (model) {
    case cmLinear:
    case cmParabole:
    case cmCubicParabole: return PolyCurveY(x);
    case cmPointToPoint: return P2PCurveY(x);
    case cmSpline: return SplineCurveY(x);
    case cmFourParameter: return CurveYFourParameter(x);
    default: return NoValue;
    }
}

}  // namespace vyn
