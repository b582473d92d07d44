#include "method_editors/MethodEditorDialogs.h"

#include "method_editors/QAllPsh.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/WindowMessages.h"

namespace vyn {

MethodEditorDialogs::MethodEditorDialogs(TWindow* parent, const QPlate* plate, IDocDialogs* next)
    : parent_(parent), plate_(plate), next_(next)
{
}

int MethodEditorDialogs::RunMethodSheet(MethodSheetData& data)
{
    QAllPsh sheet(parent_, plate_);
    sheet.calibration = data.calibration;
    const bool ok = ExecuteTransfer(sheet, [&](const TTransfer& t) {
        t(sheet.blankMode, data.blankMode);
        t(sheet.gblankText, data.blankExpr);
        t(sheet.transformationText, data.transformExpr);
        t(sheet.dilutions, data.dilutions);
        t(sheet.calculations, data.calculations);
        t(sheet.evaluations, data.evaluations);
        t(sheet.validations, data.validations);
        t(sheet.useReference, data.useRefFilter);
        t(sheet.measurementFilter, data.measFilter);
        t(sheet.referenceFilter, data.refFilter);
        t(sheet.readerOptions, data.readerOptions);
    });
    if (!ok) return IDCANCEL;
    // The curve's definition counts only when its page was shown on a calibration that may
    // change; otherwise the plate's calibration is left alone.
    data.curveFit.changed = sheet.applyCurveFit == 1;
    if (data.curveFit.changed) {
        data.curveFit.decreasing = sheet.decreasing;
        data.curveFit.model = sheet.model;
        data.curveFit.logX = sheet.logX;
        data.curveFit.concentrations = sheet.concentrations;
        data.curveFit.fixedK = sheet.fixedParams;
        data.curveFit.K0 = sheet.k0;
        data.curveFit.K1 = sheet.k1;
    }
    data.printRequested = sheet.printRequested;
    return IDOK;
}

int MethodEditorDialogs::RunMethodWizard(MethodWizardData& data)
{
    return next_ ? next_->RunMethodWizard(data) : IDCANCEL;
}

int MethodEditorDialogs::RunSampleDefinition(SampleDefinitionData& data)
{
    return next_ ? next_->RunSampleDefinition(data) : IDCANCEL;
}

int MethodEditorDialogs::RunCalibration(CalibrationDialogData& data)
{
    return next_ ? next_->RunCalibration(data) : IDCANCEL;
}

int MethodEditorDialogs::RunSampleNames(QDescList& descs, int startKind)
{
    return next_ ? next_->RunSampleNames(descs, startKind) : IDCANCEL;
}

int MethodEditorDialogs::RunNameInfo(std::string& name, std::string& comment)
{
    return next_ ? next_->RunNameInfo(name, comment) : IDCANCEL;
}

int MethodEditorDialogs::RunPresentation(PresentationData& data)
{
    return next_ ? next_->RunPresentation(data) : IDCANCEL;
}

bool MethodEditorDialogs::RunFileDialog(FileDialogData& data) { return next_ && next_->RunFileDialog(data); }

std::unique_ptr<IStatusReport> MethodEditorDialogs::MakeInfoReport()
{
    return next_ ? next_->MakeInfoReport() : nullptr;
}

void MethodEditorDialogs::CloseAndDeleteDoc(QDoc& doc)
{
    if (next_) next_->CloseAndDeleteDoc(doc);
}

}  // namespace vyn
