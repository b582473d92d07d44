#include "views/ViewShell.h"

namespace vyn {

QDoc* gCurrentDoc = nullptr;
TView* gActiveView = nullptr;
int gPendingViewSample = 0;

namespace {
TWindow* sControlHost = nullptr;
}

void SetViewControlHost(TWindow* host) { sControlHost = host; }
TWindow* ViewControlHost() { return sControlHost; }

ViewShell& GetViewShell()
{
    static ViewShell shell;
    return shell;
}

QPViewBars GraphViewBars(bool active, std::vector<int> palette, int action, int picture)
{
    QPViewBars bars;
    if (!active) return bars;
    bars.installed = true;
    bars.mainBar = RestingMainBar();
    bars.palette = std::move(palette);
    bars.modeButtonCommand = action;
    bars.modeButtonPicture = picture;
    return bars;
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
