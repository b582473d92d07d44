// The commands that edit the method held in the plate: the method wizard and sheet, the
// sample definition, the calibration, the sample names and the method's name. The editors
// always work on copies; only OK brings back what differs, and only what that difference
// makes stale is thrown away. None of them recalculates, except that a changed calibration
// is fitted again when it can be.
#include "document/QDoc.h"
#include "plate/QNSample.h"
#include "plate/QQSample.h"
#include "plate/Utilities.h"

namespace vyn {

namespace {

CurveFitValues CurveFitOf(const QCalibr& c)
{
    CurveFitValues v;
    v.decreasing = c.decreasing;
    v.model = c.model;
    v.logX = c.logX;
    v.concentrations = c.concentrations;
    v.fixedK = c.fixedK;
    v.K0 = c.K0;
    v.K1 = c.K1;
    return v;
}

void LoadWizardData(const QPlate& p, MethodWizardData& data)
{
    data.calibration = &p.calibr;
    data.curveFit = CurveFitOf(p.calibr);
    data.calculations = p.calculations.definitions;
    data.evaluations = p.globalQualDef;
    data.validations = p.validations.definitions;
    data.useRefFilter = p.useRefFilter;
    data.measFilter = p.measFilter;
    data.refFilter = p.refFilter;
    data.readerOptions = p.readerOptions;
}

bool HasValues(const QPlate& p)
{
    return p.measuredCount != 0 || p.dataCount != 0;
}

// Deletes the validation results, marking the change, when there are any.
void DropValidationResults(QPlate& p)
{
    if (p.validations.ResultCount() > 0) {
        p.validations.ClearResults();
        p.rst.SetValidationChanged();
    }
}

}  // namespace

bool QDoc::ApplyCurveFit(const CurveFitValues& v)
{
    QPlate& p = fPlate;
    if (!v.changed) return false;
    if (!p.calibr.SetParams(v.model, v.decreasing, v.logX, v.concentrations, v.fixedK, v.K0, v.K1))
        return false;
    p.InvalidateResults();
    p.rst.SetCalibrationChanged();
    return true;
}

bool QDoc::ApplyMethodLists(const MethodWizardData& data)
{
    QPlate& p = fPlate;
    bool changed = false;
    if (!EqualTwostrArrays(p.calculations.definitions, data.calculations)) {
        if (p.calculations.ResultCount() > 0) p.calculations.ClearResults();
        p.rst.SetCalculationsChanged();
        p.calculations.definitions = data.calculations;
        p.InvalidateSampleResults();
        changed = true;
    }
    if (!EqualTwostrArrays(p.globalQualDef, data.evaluations)) {
        p.ClearSampleResults();
        p.validity = pvNotValidated;
        DropValidationResults(p);
        p.globalQualDef = data.evaluations;
        changed = true;
    }
    if (!EqualTwostrArrays(p.validations.definitions, data.validations)) {
        p.validity = pvNotValidated;
        DropValidationResults(p);
        p.rst.SetValidationChanged();
        p.validations.definitions = data.validations;
        p.InvalidateValidation();
        changed = true;
    }
    if (p.useRefFilter != data.useRefFilter || p.measFilter != data.measFilter ||
        p.refFilter != data.refFilter || p.readerOptions != data.readerOptions) {
        p.useRefFilter = data.useRefFilter;
        p.measFilter = data.measFilter;
        p.refFilter = data.refFilter;
        p.readerOptions = data.readerOptions;
        SetDirty();
    }
    return changed;
}

int QDoc::RunMethodWizard(IDocDialogs& ui)
{
    QPlate& p = fPlate;
    MethodWizardData data;
    LoadWizardData(p, data);
    if (ui.RunMethodWizard(data) != 1) return 0;
    p.rst.Reset(0);
    const bool calibration = ApplyCurveFit(data.curveFit);
    const bool lists = ApplyMethodLists(data);
    if (calibration || lists) {
        Notify(vnPlateChanged);
        SetDirty();
    }
    return 1;
}

bool QDoc::ApplyBlanking(int mode, const std::string& blankExpr, const std::string& transformExpr)
{
    QPlate& p = fPlate;
    const int oldMode = p.dataMode;
    bool blankingOff = false;
    if (oldMode == dmMeasured && mode != dmMeasured) {
        p.ClearDataValues(mode);
        p.InvalidateResults();
    } else if (oldMode != dmMeasured && mode == dmMeasured) {
        p.ResetDataToMeasured();
        p.InvalidateResults();
        blankingOff = true;
    } else if (oldMode != dmMeasured) {
        p.InvalidateAll();
    }
    p.dataMode = mode;
    p.blankExpr = blankExpr;
    p.transformExpr = transformExpr;
    return blankingOff;
}

bool QDoc::SetBlanking(int mode, const std::string& blankExpr)
{
    QPlate& p = fPlate;
    if (mode == p.dataMode && blankExpr == p.blankExpr) return false;
    p.rst.Reset(0);
    const bool blankingOff = ApplyBlanking(mode, blankExpr, p.transformExpr);
    Notify(vnPlateChanged);
    SetDirty();
    if (blankingOff) Notify(vnTransformChanged);
    return true;
}

int QDoc::RunMethodSheet(IDocDialogs& ui)
{
    QPlate& p = fPlate;
    MethodSheetData data;
    LoadWizardData(p, data);
    data.blankMode = p.dataMode;
    data.blankExpr = p.blankExpr;
    data.transformExpr = p.transformExpr;
    data.dilutions = p.globalQuantDef;
    if (ui.RunMethodSheet(data) != 1) return 0;
    const int result = data.printRequested ? 3 : 1;
    p.rst.Reset(0);

    bool changed = false;
    bool blankingOff = false;
    if (data.blankMode != p.dataMode || data.blankExpr != p.blankExpr || data.transformExpr != p.transformExpr) {
        blankingOff = ApplyBlanking(data.blankMode, data.blankExpr, data.transformExpr);
        changed = true;
    }
    if (ApplyCurveFit(data.curveFit)) changed = true;
    if (!EqualDoubleArrays(p.globalQuantDef, data.dilutions)) {
        p.ClearSampleResults();
        p.validity = pvNotValidated;
        DropValidationResults(p);
        p.globalQuantDef = data.dilutions;
        changed = true;
    }
    if (ApplyMethodLists(data)) changed = true;
    if (changed) {
        Notify(vnPlateChanged);
        SetDirty();
    }
    if (blankingOff) Notify(vnTransformChanged);
    return result;
}

bool QDoc::EditSampleDefinition(IDocDialogs& ui, int index, int option)
{
    QPlate& p = fPlate;
    auto* sample = dynamic_cast<QQSample*>(p.GetSample(index));
    if (!sample) return false;
    auto* quant = dynamic_cast<QNSample*>(sample);

    SampleDefinitionData data;
    data.plate = &p;
    data.index = index;
    data.option = option;
    data.quantitative = quant != nullptr;
    data.globalDefinition = sample->UsesGlobalDefinition() != 0;
    data.categories = sample->QualDefinition();
    if (quant) data.dilutions = quant->QuantDefinition();
    if (ui.RunSampleDefinition(data) != 1) return false;

    SetDirty();
    p.rst.Reset(0);
    p.ClearSampleResult(index);
    p.rst.MarkSample(index);
    sample->MarkWellsChanged();
    p.InvalidateSamplesAfter(index);
    if (data.globalDefinition) {
        sample->UseGlobalDefinition();
    } else {
        sample->SetOwnDefinition(data.categories);
        if (quant) sample->SetOwnQuantDefinition(data.dilutions);
    }
    Notify(vnPlateChanged);
    return true;
}

bool QDoc::EditCalibration(IDocDialogs& ui)
{
    QPlate& p = fPlate;
    CalibrationDialogData data;
    data.calibration = &p.calibr;
    data.curveFit = CurveFitOf(p.calibr);
    data.stored = p.calibr.stored != 0;
    if (ui.RunCalibration(data) != 1) return false;

    p.rst.Reset(0);
    bool changed = false;
    bool removeStandards = false;
    if (data.loadedFrom && data.loadedFrom != this) {
        const QPlate& other = data.loadedFrom->GetPlate();
        p.calibr.Assign(other.calibr);
        p.curveLogX = other.curveLogX;
        p.curveLogY = other.curveLogY;
        p.curveGrid = other.curveGrid;
        if (data.loadedDocOpenedForLoad) ui.CloseAndDeleteDoc(*data.loadedFrom);
        changed = true;
        removeStandards = true;
    } else if (p.calibr.stored && !data.stored) {
        p.calibr.Release();
        changed = true;
    } else if (!p.calibr.stored) {
        const CurveFitValues& v = data.curveFit;
        changed = p.calibr.SetParams(v.model, v.decreasing, v.logX, v.concentrations, v.fixedK, v.K0, v.K1) != 0;
    }
    if (!changed) return false;

    p.InvalidateResults();
    p.rst.SetCalibrationChanged();
    if (removeStandards) RemoveStandards();
    if (HasValues(p) && p.calibr.state == csNotCalculated && p.stdInUse) p.RecalcCalibration();
    Notify(vnPlateChanged);
    SetDirty();
    return true;
}

bool QDoc::RemoveStandards()
{
    QPlate& p = fPlate;
    QStdSample* standards = p.stdInUse;
    if (!standards) return false;
    p.rst.Reset(0);
    p.InvalidateAll();
    standards->MarkWellsChanged();
    standards->UnlinkWells();
    standards->wells.clear();
    p.stdInUse = nullptr;
    p.rst.SetCalibrationChanged();
    Notify(vnPlateChanged);
    SetDirty();
    return true;
}

bool QDoc::ResetCalibration()
{
    QPlate& p = fPlate;
    if (!p.calibr.stored) return false;
    p.calibr.Release();
    p.InvalidateResults();
    p.rst.SetCalibrationChanged();
    Notify(vnPlateChanged);
    SetDirty();
    return true;
}

bool QDoc::EditSampleNames(IDocDialogs& ui, int startKind)
{
    fPlate.MarkUsedDescriptors();
    if (ui.RunSampleNames(fPlate.descs, startKind) != 1) return false;
    SetDirty();
    return true;
}

bool QDoc::EditMethodName(IDocDialogs& ui)
{
    std::string name = fPlate.methodName;
    std::string comment = fPlate.methodInfo;
    if (ui.RunNameInfo(name, comment) != 1) return false;
    fPlate.methodName = name;
    fPlate.methodInfo = comment;
    SetDirty();
    return true;
}

}  // namespace vyn
