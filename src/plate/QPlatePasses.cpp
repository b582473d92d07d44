// The calculation passes of the plate and the invalidations that throw away what a change
// has made stale. No pass raises: every failure stays beside the result it concerns.
#include "evaluator/EvalErrors.h"
#include "evaluator/NoValue.h"
#include "evaluator/QExcErr.h"
#include "evaluator/TEvaluator.h"
#include "platform/core/StringTable.h"
#include "plate/QPlate.h"

namespace vyn {

namespace {

constexpr int kErrIsVector = 1440;
constexpr int kErrIsText = 1441;
constexpr int kErrNonValue = 1442;
constexpr int kErrDefinitionMissing = 1443;

// Sets the plate-level flag for exactly one evaluation, also when it ends in an exception.
class PlateLevelScope {
public:
    PlateLevelScope() { gPlateLevelEvaluation = true; }
    ~PlateLevelScope() { gPlateLevelEvaluation = false; }
    PlateLevelScope(const PlateLevelScope&) = delete;
    PlateLevelScope& operator=(const PlateLevelScope&) = delete;
};

int EvaluatePlateLevel(TEvaluator& ev, const std::string& text)
{
    PlateLevelScope scope;
    return ev.Evaluate(text);
}

}  // namespace

void QPlate::ForgetBlank()
{
    currentBlank = nullptr;
    blankValue.SetErrorFlag(false);
    rst.SetDataChanged();
}

int QPlate::CalcBlanking()
{
    InvalidateDataValues();
    passErrorPos = -1;
    fPending.assign(static_cast<std::size_t>(wellCount), NoValue);
    fHasPending = true;
    return RunBlank(true) == 0 ? 1 : 2;
}

int QPlate::EvalBlank()
{
    return RunBlank(false);
}

int QPlate::RunBlank(bool fill)
{
    TEvaluator ev;
    ev.AddVarPool(this);
    ev.AddFuncPool(this);
    wellCursor = -1;
    const int answer = EvaluatePlateLevel(ev, blankExpr);
    std::string errorText;
    int errorPos = 0;
    if (answer < 0) {
        errorText = QExcErr().GetText();
        errorPos = static_cast<int>(ev.CursorOffset());
    }
    blankValue = ev.Result();
    wellCursor = 0;
    currentBlank = &blankValue;
    blankValue.SetErrorFlag(false);
    passErrorPos = 0;
    if (fill) rst.SetDataChanged();

    if (answer == 0) {
        if (dataMode == dmGeneral) return 0;
        if (blankValue.IsNumber() && blankValue.Number() != NoValue) {
            if (fill) {
                const double blank = blankValue.Number();
                for (int i = 0; i < wellCount; ++i) {
                    const double m = wells[static_cast<std::size_t>(i)].measured;
                    if (m != NoValue) fPending[static_cast<std::size_t>(i)] = m - blank;
                }
            }
            return 0;
        }
        blankValue.SetErrorFlag(true);
        passErrorText = GetResStringStd(blankValue.IsVector() ? kErrIsVector
                                        : blankValue.IsText() ? kErrIsText
                                                              : kErrNonValue);
        return 1;
    }
    if (answer == 1) {
        if (dataMode == dmGeneral) return 0;
        blankValue.SetErrorFlag(true);
        passErrorText = GetResStringStd(kErrDefinitionMissing);
        return 1;
    }
    passErrorPos = errorPos;
    passErrorText = errorText;
    blankValue.SetErrorFlag(true);
    return 1;
}

int QPlate::CalcTransformation(bool skipErrors)
{
    if (!fHasPending) {
        fPending.assign(static_cast<std::size_t>(wellCount), NoValue);
        fHasPending = true;
    }
    TEvaluator ev;
    ev.AddVarPool(this);
    ev.AddFuncPool(this);
    passErrorPos = 0;
    if (wellCursor < 0) wellCursor = 0;
    for (;;) {
        ++wellCursor;
        if (wellCursor > wellCount) {
            wellCursor = 0;
            return 1;
        }
        const std::size_t well = static_cast<std::size_t>(wellCursor - 1);
        const int answer = EvaluatePlateLevel(ev, transformExpr);
        if (answer == 0) {
            const TStackVal& r = ev.Result();
            if (r.IsNumber()) {
                fPending[well] = r.Number();
            } else if (r.IsVector() || r.IsText()) {
                if (skipErrors) continue;
                passErrorText = GetResStringStd(r.IsVector() ? kErrIsVector : kErrIsText);
                return 2;
            }
        } else if (answer == 1) {
            if (skipErrors) continue;
            passErrorText = GetResStringStd(kErrDefinitionMissing);
            return 2;
        } else {
            if (skipErrors) continue;
            passErrorText = QExcErr().GetText();
            passErrorPos = static_cast<int>(ev.CursorOffset());
            return 2;
        }
    }
}

void QPlate::CommitPending(bool apply)
{
    if (fHasPending && apply) {
        const std::size_t n = std::min(fPending.size(), wells.size());
        for (std::size_t i = 0; i < n; ++i) {
            if (fPending[i] == NoValue) continue;
            QWellRecord& w = wells[i];
            if (w.data == NoValue) ++dataCount;
            w.data = fPending[i];
            rst.MarkWell(static_cast<int>(i));
        }
    }
    wellCursor = 0;
    fPending.clear();
    fPending.shrink_to_fit();
    fHasPending = false;
}

int QPlate::RecalcCalibration()
{
    if (!stdInUse) return calibr.Recalc(nullptr);
    const std::vector<QCalEntry> entries = stdInUse->CalibrationEntries();
    const int answer = calibr.Recalc(&entries);
    if (answer != 0) rst.SetCalibrationChanged();
    return answer;
}

int QPlate::CalcDefinitions(QDefinitionList& list, bool validation)
{
    if ((measuredCount == 0 && dataCount == 0) || !list.HasPending()) return 0;
    if (validation) rst.SetValidationChanged();
    else rst.SetCalculationsChanged();

    TEvaluator ev;
    ev.AddVarPool(this);
    ev.AddFuncPool(this);
    bool failed = false;
    bool allValid = true;
    while (list.HasPending()) {
        const std::size_t k = static_cast<std::size_t>(list.AppendResult());
        // A copy: the evaluation reads the list's earlier results, never this definition.
        const std::string text = list.definitions[k].text;
        const int answer = ev.Evaluate(text);
        TStackVal& r = list.results[k];
        if (answer == 0) {
            r = ev.Result();
            r.SetErrorFlag(false);
            if (validation) {
                if (r.IsNumber() && r.Number() != NoValue) {
                    if (r.Number() == 0.0) allValid = false;
                } else {
                    r.SetErrorFlag(true);
                    list.errorTexts[k] = GetResStringStd(kErrValueNotNumeric);
                    list.errorPositions[k] = 0;
                    failed = true;
                }
            }
        } else if (answer == 1) {
            r.SetErrorFlag(true);
            list.errorTexts[k] = GetResStringStd(kErrEmptyExpression);
            list.errorPositions[k] = 0;
            failed = true;
        } else {
            r.SetErrorFlag(true);
            list.errorTexts[k] = QExcErr().GetText();
            list.errorPositions[k] = static_cast<int>(ev.CursorOffset());
            failed = true;
        }
    }
    if (validation) validity = failed ? pvError : allValid ? pvValid : pvInvalid;
    return failed ? -1 : 1;
}

int QPlate::CalcCalculations()
{
    return CalcDefinitions(calculations, false);
}

int QPlate::CalcValidation()
{
    return CalcDefinitions(validations, true);
}

int QPlate::InvalidateDataValues()
{
    if (dataMode == dmMeasured) return 0;
    int changes = 0;
    if (currentBlank) {
        ForgetBlank();
        ++changes;
    }
    passErrorText.clear();
    if (dataCount != 0) {
        for (int i = 0; i < wellCount; ++i) {
            QWellRecord& w = wells[static_cast<std::size_t>(i)];
            if (w.data == NoValue) continue;
            w.data = NoValue;
            rst.MarkWell(i);
            ++changes;
        }
        dataCount = 0;
    }
    return changes;
}

int QPlate::InvalidateValidation()
{
    const bool had = validity != pvNotValidated || validations.ResultCount() > 0;
    validity = pvNotValidated;
    if (validations.ClearResults() || had) rst.SetValidationChanged();
    return had ? 1 : 0;
}

int QPlate::ClearSampleResults()
{
    int cleared = 0;
    for (int i = 0; i < sampleCount; ++i) {
        QSample* s = samples[static_cast<std::size_t>(i)].get();
        if (s && s->ClearResults()) {
            rst.MarkSample(i);
            s->MarkWellsChanged();
            ++cleared;
        }
    }
    samplesWithResults = 0;
    return cleared > 0 ? 1 : 0;
}

int QPlate::InvalidateSampleResults()
{
    const int a = ClearSampleResults();
    const int b = InvalidateValidation();
    return (a || b) ? 1 : 0;
}

int QPlate::InvalidateCalculations()
{
    int any = 0;
    if (calculations.ClearResults()) {
        rst.SetCalculationsChanged();
        any = 1;
    }
    return InvalidateSampleResults() || any;
}

int QPlate::InvalidateResults()
{
    int any = 0;
    if (calibr.Invalidate()) {
        rst.SetCalibrationChanged();
        any = 1;
    }
    return InvalidateCalculations() || any;
}

int QPlate::InvalidateAll()
{
    const int a = InvalidateDataValues();
    const int b = InvalidateResults();
    return (a || b) ? 1 : 0;
}

int QPlate::ClearSampleResult(int i)
{
    QSample* s = GetSample(i);
    if (!s || !s->ClearResults()) return 0;
    if (samplesWithResults > 0) --samplesWithResults;
    rst.MarkSample(i);
    s->MarkWellsChanged();
    return 1;
}

int QPlate::InvalidateSamplesAfter(int i)
{
    if (samplesWithResults == 0 || i < 0 || i >= fixedCount || i >= sampleCount) return 0;
    for (int j = i + 1; j < sampleCount; ++j) ClearSampleResult(j);
    InvalidateValidation();
    return 1;
}

}  // namespace vyn
