#pragma once
// MethodWizardDialogs: the plate document's dialogs with the method wizard answered too; the
// shell plugs it in where it would plug MethodEditorDialogs.
#include "method_editors/MethodEditorDialogs.h"

namespace vyn {

class MethodWizardDialogs : public MethodEditorDialogs {
public:
    using MethodEditorDialogs::MethodEditorDialogs;
    int RunMethodWizard(MethodWizardData& data) override;
};

// Runs the wizard over copies of the data; on OK the data takes the wizard's answers and 1 is
// returned (curveFit.changed says whether the curve-fit values are to be applied).
int RunMethodWizardDialog(TWindow* parent, const QPlate* plate, MethodWizardData& data);

}  // namespace vyn
