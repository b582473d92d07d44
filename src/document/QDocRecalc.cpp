// Recalculation of the plate: the passes in their order, each only when its inputs are there
// and its results are missing, every error shown in the "Status" report, where the user
// skips it, skips all further errors or aborts the run.
#include <cstdio>

#include "document/QDoc.h"
#include "evaluator/FormatValueText.h"
#include "platform/core/StringTable.h"

namespace vyn {

namespace {

constexpr int kTitleBlanking = 1450;
constexpr int kTitleTransformation = 1451;
constexpr int kTitleCalculations = 1452;
constexpr int kTitleValidation = 1453;
constexpr int kTitleCalibration = 1454;
constexpr int kTitleSample = 1455;

// A result's display text is cut where the report's column ends.
constexpr std::size_t kResultTextLimit = 128;

void Call(const std::function<void()>& hook)
{
    if (hook) hook();
}

// The busy indicator for the length of one run, stopped on every way out.
class BusyScope {
public:
    BusyScope() { Call(GetDocShell().startBusy); }
    ~BusyScope() { Call(GetDocShell().stopBusy); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

void Tick()
{
    Call(GetDocShell().busyTick);
}

std::string ResultText(const TStackVal& value)
{
    return CutUtf8(FormatValueText(value), kResultTextLimit);
}

}  // namespace

void QDoc::NotifyChanges()
{
    if (!fPlate.rst.AnyChanged()) return;
    Notify(vnPlateChanged);
    fPlate.rst.Reset(0);
}

int QDoc::RunStatus(IStatusReport& report)
{
    NotifyChanges();
    Call(GetDocShell().suspendBusy);
    const int answer = report.Run();
    Call(GetDocShell().resumeBusy);
    return answer;
}

std::string QDoc::SampleTitle(const QSample& sample) const
{
    std::string title = GetResStringStd(kTitleSample);
    if (sample.IsFixed()) return title + sample.ident;
    char number[16];
    std::snprintf(number, sizeof number, "%d.", sample.SeqNumber());
    return title + number;
}

void QDoc::ReportDefinitions(IStatusReport& report, const QDefinitionList& list)
{
    for (int k = 0; k < list.ResultCount(); ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        const TStackVal& r = list.results[i];
        if (r.IsError()) {
            report.AddErrorDetail(r.Name(), list.definitions[i].text, list.errorTexts[i]);
            report.AddBlankLine();
        } else {
            report.AddEntry(r.Name(), ResultText(r));
        }
    }
}

int QDoc::CalculatePlate(IStatusReport* given)
{
    QPlate& p = fPlate;
    BusyScope busy;
    std::unique_ptr<IStatusReport> own;
    if (!given) own = MakeStatusReport();
    IStatusReport& report = given ? *given : *own;

    p.rst.Reset(0);
    SetDirty();
    bool ignoreAll = false;
    const auto hasValues = [&] { return p.measuredCount != 0 || p.dataCount != 0; };
    // The answer of a report: true ends the run.
    const auto aborted = [&](int answer) {
        if (answer == kStatusIgnoreAll) ignoreAll = true;
        return answer != kStatusIgnoreThis && answer != kStatusIgnoreAll;
    };
    const auto reportBlanking = [&] {
        report.SetTitle(GetResStringStd(kTitleBlanking));
        report.AddErrorDetail(p.blankValue.Name(), p.blankExpr, p.passErrorText);
        return aborted(RunStatus(report));
    };
    // An abort ends the run here, but the views still hear what the run has changed.
    const auto abortRun = [&] {
        NotifyChanges();
        return 1;
    };

    // Blanking and transformation.
    if (p.dataMode != dmMeasured && p.measuredCount != 0 && p.dataCount == 0 && !p.currentBlank) {
        p.InvalidateAll();
        const bool blanked = p.CalcBlanking() == 1;
        if (p.dataMode == dmSimple) {
            p.CommitPending(blanked);
            if (!blanked && reportBlanking()) return abortRun();
        } else {
            Tick();
            if (!blanked && reportBlanking()) {
                p.CommitPending(false);
                return abortRun();
            }
            while (p.CalcTransformation(ignoreAll) != 1) {
                report.SetTitle(GetResStringStd(kTitleTransformation));
                report.AddErrorDetail(p.FormatWellName(p.wellCursor - 1), p.transformExpr, p.passErrorText);
                if (aborted(RunStatus(report))) {
                    p.CommitPending(false);
                    return abortRun();
                }
            }
            p.CommitPending(true);
        }
    } else if (p.dataMode != dmMeasured && p.measuredCount != 0 && !p.currentBlank) {
        if (p.EvalBlank() != 0 && !ignoreAll && reportBlanking()) return abortRun();
    }
    Tick();

    // Calibration.
    if (hasValues() && p.calibr.state == csNotCalculated && p.stdInUse) {
        p.InvalidateCalculations();
        p.rst.SetCalibrationChanged();
        const int fitted = p.RecalcCalibration();
        if (fitted != 0 && p.calibr.state != csValid && !ignoreAll) {
            report.SetTitle(GetResStringStd(kTitleCalibration));
            report.AddMessage(p.calibr.message);
            if (aborted(RunStatus(report))) {
                if (p.calibr.state != csNotCalculated && !p.calibr.stored) {
                    p.calibr.Invalidate();
                    p.rst.SetCalibrationChanged();
                }
                return abortRun();
            }
        }
    }

    // Calculations.
    if (hasValues() && p.calculations.HasPending()) {
        Tick();
        p.InvalidateSampleResults();
        if (p.CalcCalculations() == -1 && !ignoreAll) {
            report.SetTitle(GetResStringStd(kTitleCalculations));
            ReportDefinitions(report, p.calculations);
            if (aborted(RunStatus(report))) {
                // Removed, so that the next run evaluates them again.
                if (p.calculations.ClearResults()) p.rst.SetCalculationsChanged();
                return abortRun();
            }
        }
    }

    // Samples, from the first one without results.
    Tick();
    if (hasValues() && p.samplesWithResults < p.sampleCount) {
        int first = -1;
        for (int i = 0; i < p.sampleCount; ++i) {
            const QSample* s = p.GetSample(i);
            if (s && s->resultState == rsNotCalculated) {
                first = i;
                break;
            }
        }
        if (first >= 0) {
            p.InvalidateSamplesAfter(first);
            for (int i = first; i < p.sampleCount; ++i) {
                Tick();
                QSample* s = p.GetSample(i);
                if (!s) continue;
                const int answer = s->Calculate();
                if (answer == 0) continue;
                p.rst.MarkSample(i);
                s->MarkWellsChanged();
                ++p.samplesWithResults;
                if (answer > 0 || ignoreAll) continue;
                report.SetTitle(SampleTitle(*s));
                for (int k = 0; k < s->ResultCount(); ++k) {
                    const std::size_t j = static_cast<std::size_t>(k);
                    const TStackVal& r = s->results[j];
                    if (r.IsError()) {
                        report.AddErrorDetail(r.Name(), s->ResultSource(k), s->errorTexts[j]);
                        report.AddBlankLine();
                    } else {
                        report.AddEntry(r.Name(), ResultText(r));
                    }
                }
                if (aborted(RunStatus(report))) {
                    p.ClearSampleResult(i);
                    return abortRun();
                }
            }
        }
    }

    // Validation.
    if (hasValues() && p.validations.HasPending()) {
        Tick();
        p.InvalidateValidation();
        if (p.CalcValidation() == -1 && !ignoreAll) {
            report.SetTitle(GetResStringStd(kTitleValidation));
            ReportDefinitions(report, p.validations);
            if (aborted(RunStatus(report))) {
                p.validity = pvNotValidated;
                if (p.validations.ClearResults()) p.rst.SetValidationChanged();
                return abortRun();
            }
        }
    }

    NotifyChanges();
    return 1;
}

int QDoc::CalculateBlanking(IStatusReport* given)
{
    QPlate& p = fPlate;
    // The data values are the measured values: there is nothing to blank, and subtracting a
    // blank here would break that.
    if (p.dataMode == dmMeasured) return 1;

    std::unique_ptr<IStatusReport> own;
    if (!given) own = MakeStatusReport();
    IStatusReport& report = given ? *given : *own;

    p.rst.Reset(0);
    p.InvalidateAll();
    const bool blanked = p.CalcBlanking() == 1;
    SetDirty();
    const auto reportBlanking = [&] {
        report.SetTitle(GetResStringStd(kTitleBlanking));
        report.AddErrorDetail(p.blankValue.Name(), p.blankExpr, p.passErrorText);
        return report.Run();
    };

    if (p.dataMode == dmSimple) {
        p.CommitPending(blanked);
        NotifyChanges();
        if (!blanked) reportBlanking();
        return 1;
    }

    bool ignoreAll = false;
    if (!blanked) {
        NotifyChanges();
        const int answer = reportBlanking();
        if (answer == kStatusIgnoreAll) ignoreAll = true;
        else if (answer != kStatusIgnoreThis) {
            p.CommitPending(false);
            return 1;
        }
    }
    while (p.CalcTransformation(ignoreAll) != 1) {
        NotifyChanges();
        report.SetTitle(GetResStringStd(kTitleTransformation));
        report.AddErrorDetail(p.FormatWellName(p.wellCursor - 1), p.transformExpr, p.passErrorText);
        const int answer = report.Run();
        if (answer == kStatusIgnoreAll) ignoreAll = true;
        else if (answer != kStatusIgnoreThis) {
            p.CommitPending(false);
            return 1;
        }
    }
    p.CommitPending(true);
    NotifyChanges();
    return 1;
}

}  // namespace vyn
