#include "calibration_dialogs/CalibrationDialogs.h"

#include "calibration_dialogs/ICalibrationSource.h"
#include "calibration_dialogs/QCalDlg.h"
#include "platform/gui/WindowMessages.h"

namespace vyn {

CalibrationDialogs::CalibrationDialogs(TWindow* parent, const QPlate* plate, ICalibrationSource* source,
                                       IDocDialogs* next)
    : MethodEditorDialogs(parent, plate, next), plain_(std::make_unique<FileCalibrationSource>()),
      source_(source ? source : plain_.get())
{
}

CalibrationDialogs::~CalibrationDialogs() = default;

int CalibrationDialogs::RunCalibration(CalibrationDialogData& data)
{
    QCalDlg dlg(Parent());
    dlg.cal = data.calibration;
    dlg.source = source_;
    if (dlg.Execute() != IDOK) return IDCANCEL;
    if (dlg.sourceDoc) {
        data.loadedFrom = dlg.sourceDoc;
        data.loadedDocOpenedForLoad = dlg.openedDoc != nullptr;
        return IDOK;
    }
    data.stored = dlg.stored != 0;
    CurveFitValues& v = data.curveFit;
    v.decreasing = dlg.decreasing;
    v.model = dlg.model;
    v.logX = dlg.logX;
    v.concentrations = dlg.concentrations;
    v.fixedK = dlg.fixedK;
    v.K0 = dlg.K0;
    v.K1 = dlg.K1;
    v.changed = true;
    return IDOK;
}

void CalibrationDialogs::CloseAndDeleteDoc(QDoc& doc) { source_->CloseAndDeleteDoc(doc); }

}  // namespace vyn
