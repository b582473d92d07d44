#include "views/ViewShell.h"

namespace vyn {

QDoc* gCurrentDoc = nullptr;
TView* gActiveView = nullptr;
int gPendingViewSample = 0;

ViewShell& GetViewShell()
{
    static ViewShell shell;
    return shell;
}

void SetActiveView(QDoc* doc, TView* view)
{
    gCurrentDoc = doc;
    gActiveView = view;
}

void ForgetActiveView(const TView* view)
{
    if (gActiveView != view) return;
    gActiveView = nullptr;
    gCurrentDoc = nullptr;
}

}  // namespace vyn
