#include "app/vynwMDI.h"

#include "app/AppGlobals.h"
#include "app/QPictButtGadget.h"
#include "app/TMyControlBar.h"
#include "platform/core/DocManager.h"
#include "document/QDoc.h"

namespace vyn {

vynwMDIClient::vynwMDIClient() { SetBackground(TColor(0, 0, 0)); }

void vynwMDIClient::EvMDIActivate(TMDIChild* activated)
{
    TMDIClient::EvMDIActivate(activated);
    if (!activated) NeutralToolBars();
}

vynwMDIChild::vynwMDIChild(TMDIClient& parent, const std::string& title, TWindow* clientWnd)
    : TMDIChild(parent, title, clientWnd)
{
}

void vynwMDIChild::EvMDIActivate(bool active)
{
    gCurrentDoc = nullptr;
    gActiveView = nullptr;
    if (gToolBar) {
        gToolBar->RemoveFrom(gToolBarGadgets[0]);
        gToolBar->RemoveFrom(gToolBarGadgets[1]);
        gToolBar->RemoveFrom(gToolBarGadgets[2]);
    }
    if (!active) return;
    // The view that becomes active names the current document; the stand-in plate view has
    // no gadgets of its own, so the anchors go back at the end.
    if (auto* view = dynamic_cast<TView*>(GetClientWindow())) {
        gActiveView = view;
        gCurrentDoc = dynamic_cast<QDoc*>(&view->GetDocument());
        if (TDocManager* dm = view->GetDocument().GetDocManager()) dm->SetActiveView(view);
    }
    NeutralToolBars();
}

void NeutralToolBars()
{
    if (gModeButton) {
        gModeButton->SetPicture(0);
        gModeButton->SetCommandId(CM_MODEBUTTON);
    }
    if (gToolBar) {
        for (TGadget* g : gToolBarGadgets)
            if (g && !gToolBar->Contains(*g)) gToolBar->Insert(*g);
        gToolBar->LayoutSession();
    }
    if (gToolPalette) gToolPalette->LayoutSession();
}

}  // namespace vyn
