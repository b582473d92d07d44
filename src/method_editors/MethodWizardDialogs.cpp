#include "method_editors/MethodWizardDialogs.h"

#include "method_editors/QWizzAll.h"

namespace vyn {

int RunMethodWizardDialog(TWindow* parent, const QPlate* plate, MethodWizardData& data)
{
    QWizzAll wiz(parent, plate);
    wiz.calibration = data.calibration;
    QWizzState& s = wiz.st;
    const bool ok = ExecuteTransfer(wiz, [&](const TTransfer& t) {
        t(s.calculations, data.calculations);
        t(s.evaluations, data.evaluations);
        t(s.validations, data.validations);
        t(s.useReference, data.useRefFilter);
        t(s.measFilter, data.measFilter);
        t(s.refFilter, data.refFilter);
        t(s.readerOptions, data.readerOptions);
    });
    if (!ok) return 0;

    CurveFitValues& c = data.curveFit;
    c.changed = s.curveFitValid != 0;
    if (c.changed) {
        c.model = s.model;
        c.decreasing = s.decreasing;
        c.logX = s.logX;
        c.concentrations = s.concentrations;
        c.fixedK = s.fixedK;
        c.K0 = s.K0;
        c.K1 = s.K1;
    }
    return 1;
}

int MethodWizardDialogs::RunMethodWizard(MethodWizardData& data) { return RunMethodWizardDialog(Parent(), Plate(), data); }

}  // namespace vyn
