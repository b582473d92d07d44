#include "app/ShellViews.h"

#include "document/QDoc.h"
#include "platform/core/DocManager.h"
#include "views/QLView.h"

namespace vyn {

void AddSampleListTemplate(TDocManager& manager, long flags)
{
    manager.AddTemplate(std::make_unique<TDocViewTemplate<QDoc, QLView>>("Samples", "*.plt", "plt", flags));
}

bool ActivateSampleList(TWindow* client, bool active)
{
    auto* list = dynamic_cast<QLView*>(client);
    if (!list) return false;
    list->Activated(active);
    return true;
}

}  // namespace vyn
