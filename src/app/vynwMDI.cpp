#include "app/vynwMDI.h"

#include "app/AppGlobals.h"
#include "app/QPictButtGadget.h"
#include "app/TMyControlBar.h"
#include "platform/core/DocManager.h"
#include "document/QDoc.h"
#include "views/QLView.h"
#include "views/QLViewTitles.h"
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
    // The sample list's rows are as high as its own line height; anything else is the
    // framework's.
    OnMessage(WM_MEASUREITEM, [this](TParam1 ctlId, TParam2 p) -> TResult {
        auto* list = dynamic_cast<QLView*>(GetClientWindow());
        if (list && p && static_cast<int>(ctlId) == list->GetId()) {
            list->MeasureItem(*reinterpret_cast<TMeasureItem*>(p));
            return 1;
        }
        DefaultProcessing();
        return 0;
    });
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

void vynwMDIChild::EvGetMinMaxInfo(TMinMaxInfo& info)
{
    TMDIChild::EvGetMinMaxInfo(info);
    TWindow* client = GetClientWindow();
    if (!client || !client->IsWindow()) return;
    client->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<TParam2>(&info));
    const TRect outer = GetWindowRect(), inner = GetClientRect();
    int dx = outer.Width() - inner.Width(), dy = outer.Height() - inner.Height();
    // Before the frame has its borders, take what the style draws.
    if (dx <= 0 || dy <= 0) {
        dx = 2 * GetSystemMetrics(SM_CXSIZEFRAME);
        dy = 2 * GetSystemMetrics(SM_CYSIZEFRAME) + GetSystemMetrics(SM_CYCAPTION);
    }
    info.minTrackSizeX += dx;
    info.minTrackSizeY += dy;
}

bool vynwMDIChild::CanClose()
{
    if (auto* view = dynamic_cast<TView*>(GetClientWindow())) return view->CanClose();
    return TMDIChild::CanClose();
}

listMDIChild::listMDIChild(TMDIClient& parent, const std::string& title, QLView* list)
    : vynwMDIChild(parent, title, list), TLayoutWindow(static_cast<TWindow&>(*this))
{
    SetOwnClientArea();
    titles_ = new QLViewTitles(this, *list);
    list->SetTitles(titles_);
    const int h = titles_->Height();
    TLayoutMetrics titles;
    titles.X.Absolute(lmLeft, 0);
    titles.Y.Absolute(lmTop, 0);
    titles.Width.SameAs(lmParent, lmRight);
    titles.Height.Absolute(lmHeight, h);
    SetChildLayoutMetrics(*titles_, titles);
    TLayoutMetrics rows;
    rows.X.Absolute(lmLeft, -1);
    rows.Y.Absolute(lmTop, h - 1);
    rows.Width.SameAs(lmParent, lmRight);
    rows.Height.SameAs(lmParent, lmBottom);
    SetChildLayoutMetrics(*list, rows);
}

void listMDIChild::SetupWindow()
{
    vynwMDIChild::SetupWindow();
    Layout();
}

void listMDIChild::EvSize(unsigned sizeType, const TSize& size)
{
    vynwMDIChild::EvSize(sizeType, size);
    Layout();
}

void listMDIChild::RemoveChild(TWindow* child)
{
    if (child == titles_) {
        titles_ = nullptr;
        if (auto* list = dynamic_cast<QLView*>(GetClientWindow())) list->SetTitles(nullptr);
    }
    vynwMDIChild::RemoveChild(child);
    RemoveChildLayoutMetrics(*child);
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
