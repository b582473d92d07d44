#pragma once
// A report designer pane (view, rulers, corner) on a new report, shown offscreen and active,
// with helpers that drive the view's mouse as the user does. Every band starts one inch high;
// the screen has 96 pixels per inch and the grid 16 steps per inch, so a grid step is 6 pixels
// or 90 twips.
#include <QImage>
#include <memory>

#include "platform/gui/TestHook.h"
#include "report_designer/DesignerMetrics.h"
#include "report_designer/QRPMDIChild.h"
#include "report_designer/QRepView.h"
#include "report_designer/QRuler.h"
#include "reports/QRepDoc.h"
#include "reports/RPReport.h"
#include "reports/RPSection.h"

namespace vyn::test {

struct DesignerFixture {
    TTestHook hook;
    QRepDoc doc;
    QRepView* view = new QRepView(doc);
    QRPDesignerPane pane{*view};

    explicit DesignerFixture(int width = 900, int height = 760)
    {
        pane.Create();
        pane.MoveWindow(0, 0, width, height);
        pane.ShowWindow(SW_SHOW);
        view->SetActive(true);
        view->SetFocus();
        TTestHook::ProcessEvents();
        view->UpdateWindow();
        doc.SetDirty(false);
    }
    ~DesignerFixture() { GetRepViewShell() = QRepViewShell(); }

    RPReport& report() { return doc.Report(); }
    RPSection& band(int i) { return report().Band(i); }
    // The client point of a band point (pixels from the report's left and the body's top).
    TPoint At(int bandIndex, int x, int y) { return TPoint(x - view->ScrollX(), band(bandIndex).BodyTop() + y); }

    void Press(TPoint p, unsigned keys = 0) { view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(p.x, p.y)); }
    void Move(TPoint p, unsigned keys = 0) { view->SendMessage(WM_MOUSEMOVE, MK_LBUTTON | keys, MAKELPARAM(p.x, p.y)); }
    void Release(TPoint p, unsigned keys = 0) { view->SendMessage(WM_LBUTTONUP, keys, MAKELPARAM(p.x, p.y)); }
    // Hover (the hit test), press, move in a few steps, release.
    void Drag(TPoint from, TPoint to, unsigned keys = 0)
    {
        view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(from.x, from.y));
        Press(from, keys);
        const TPoint mid((from.x + to.x) / 2, (from.y + to.y) / 2);
        if (mid != from && mid != to) Move(mid, keys);
        if (to != from) Move(to, keys);
        Release(to, keys);
        TTestHook::ProcessEvents();
    }
    void Click(TPoint p, unsigned keys = 0) { Drag(p, p, keys); }

    // An object of the type placed in the band at a twips rectangle, not selected.
    RPObject* Add(int bandIndex, int type, int left, int top, int width, int height)
    {
        auto o = RPObject::Create(type);
        o->SetPos(TPoint(left, top));
        o->SetSize(TSize(width, height));
        return band(bandIndex).AddObject(std::move(o));
    }
    QImage Image() const { return view->ClientImage() ? view->ClientImage()->copy() : QImage(); }
};

}  // namespace vyn::test
