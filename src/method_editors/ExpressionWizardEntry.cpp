#include "method_editors/ExpressionWizardEntry.h"

#include "app/controls/QGEdit.h"
#include "platform/gui/MsgBox.h"

namespace vyn {

namespace {
ExpressionWizardFn sWizard = nullptr;
}  // namespace

void SetExpressionWizard(ExpressionWizardFn fn) { sWizard = fn; }
ExpressionWizardFn GetExpressionWizard() { return sWizard; }

void RunExpressionWizardFor(QGEdit& edit, int context, const QPlate* plate, const TwostrArray* calculations,
                            const TwostrArray* validations, const TwostrArray* evaluations)
{
    if (!sWizard) {
        MessageBeep(0);
        return;
    }
    edit.WizardRunning = true;
    sWizard(edit, context, plate, calculations, validations, evaluations);
    edit.WizardRunning = false;
}

}  // namespace vyn
