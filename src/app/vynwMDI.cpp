#include "app/vynwMDI.h"

#include "app/AppGlobals.h"
#include "app/QPictButtGadget.h"
#include "app/TMyControlBar.h"
#include "platform/core/DocManager.h"
#include "document/QDoc.h"
#include "views/QLView.h"
#include "views/QNView.h"
#include "views/QPView.h"
#include "views/QSView.h"
#include "views/ViewShell.h"

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
    TWindow* client = GetClientWindow();
    // The plate matrix view puts its own gadgets up (through the shell's hooks); the other
    // views only name the current document, and the anchors go back at the end.
    if (auto* plate = dynamic_cast<QPView*>(client)) {
        plate->EvMDIActivate(active);
    } else if (auto* graph = dynamic_cast<QNView*>(client)) {
        graph->Activated(active);
    } else if (auto* list = dynamic_cast<QLView*>(client)) {
        list->Activated(active);
    } else if (auto* curve = dynamic_cast<QSView*>(client)) {
        curve->Activated(active);
    } else if (active) {
        if (auto* view = dynamic_cast<TView*>(client)) SetActiveView(dynamic_cast<QDoc*>(&view->GetDocument()), view);
    }
    if (!active) return;
    if (auto* view = dynamic_cast<TView*>(client))
        if (TDocManager* dm = view->GetDocument().GetDocManager()) dm->SetActiveView(view);
    // The plate document's views put their own gadgets up.
    if (!dynamic_cast<QPView*>(client) && !dynamic_cast<QLView*>(client) && !dynamic_cast<QSView*>(client) &&
        !dynamic_cast<QNView*>(client))
        NeutralToolBars();
}

bool vynwMDIChild::CanClose()
{
    if (auto* view = dynamic_cast<TView*>(GetClientWindow())) return view->CanClose();
    return TMDIChild::CanClose();
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
