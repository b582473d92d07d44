#include "app/ShellViews.h"

#include "document/QDoc.h"
#include "platform/core/DocManager.h"
#include "views/QSView.h"

namespace vyn {

void AddCalibrationCurveTemplate(TDocManager& manager, long flags)
{
    manager.AddTemplate(std::make_unique<TDocViewTemplate<QDoc, QSView>>("Standard", "*.plt", "plt", flags));
}

bool ActivateCalibrationCurve(TWindow* client, bool active)
{
    auto* curve = dynamic_cast<QSView*>(client);
    if (!curve) return false;
    curve->Activated(active);
    return true;
}

}  // namespace vyn
