#include "report_designer/QRPMDIChild.h"

#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"
#include "report_designer/AttrEditor.h"
#include "report_designer/DesignerMetrics.h"
#include "report_designer/QRepView.h"
#include "report_designer/QRuler.h"
#include "views/ViewShell.h"

namespace vyn {

void QRPCornerBox::Paint(TDC& dc, bool, TRect& rect) { dc.FillRect(rect, TBrush(Metrics().cornerColour)); }

QRPDesignerPane::QRPDesignerPane(QRepView& view) : TWindow(nullptr), view_(view), viewKey_(&view)
{
    InitDesignerMetrics();
    view_.SetParent(this);
    corner_ = new QRPCornerBox(this);
    hRuler_ = new QHRuler(this, view_);
    vRuler_ = new QVRuler(this, view_);
    view_.SetRulers(hRuler_, vRuler_);
}

void QRPDesignerPane::SetupWindow()
{
    TWindow::SetupWindow();
    // F1 with the keyboard on the frame, a ruler or the corner is help on the designer too.
    SetContextHelpId(QRepView::kHelpContext);
    LayoutChildren();
}

void QRPDesignerPane::LayoutChildren()
{
    if (!IsWindow()) return;
    const DesignerMetrics& m = Metrics();
    const TRect c = GetClientRect();
    const int vw = m.vRulerWidth, hh = m.hRulerHeight;
    view_.MoveWindow(vw, hh, std::max(0, c.right - vw), std::max(0, c.bottom - hh));
    corner_->MoveWindow(0, 0, vw, hh);
    hRuler_->MoveWindow(vw, 0, std::max(0, c.right - 1 - vw), hh);
    vRuler_->MoveWindow(0, hh, vw, std::max(0, c.bottom - 1 - hh));
}

void QRPDesignerPane::EvSize(unsigned sizeType, const TSize& size)
{
    TWindow::EvSize(sizeType, size);
    LayoutChildren();
}

bool QRPDesignerPane::CanCloseWindow() { return view_.CanClose(); }

TResult QRPDesignerPane::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    // Menu commands start at the frame's client, this pane: the view answers them first and
    // passes on to its frame what it does not handle.
    if (!control) return view_.SendCommand(id, notifyCode);
    return TWindow::EvCommand(id, control, notifyCode);
}

void QRPDesignerPane::EvCommandEnable(TCommandEnabler& ce) { view_.RouteCommandEnable(ce); }

QRPMDIChild::QRPMDIChild(TMDIClient& parent, const std::string& title, QRepView& view)
    : TMDIChild(parent, title, new QRPDesignerPane(view)), pane_(static_cast<QRPDesignerPane*>(GetClientWindow()))
{
    view.SetCommandTarget(this);
    pane_->SetFrame(this);
}

TView* QRPMDIChild::GetView() const
{
    return GetClientWindow() && !ViewIsGone() ? &pane_->View() : nullptr;
}

void QRPMDIChild::ShowDocTitle()
{
    const TDocument& doc = pane_->View().GetDocument();
    SetWindowText(doc.HasDocPath() ? doc.GetDocPath() : doc.GetTitle());
    QRAttrDlg::DocTitleChanged(pane_->View());
}

void QRPMDIChild::EvFrameActivate(unsigned active, bool, TWindow* other)
{
    pane_->View().OnDeactivate(active != WA_INACTIVE, other != nullptr);
}

void QRPMDIChild::EvMDIActivate(bool active)
{
    // A report designer is nobody's plate view: the plate commands find no current document.
    SetActiveView(nullptr, nullptr);
    TMDIChild::EvMDIActivate(active);
    // A frame whose view is being destroyed loses the activation with nothing left to tell.
    if (ViewIsGone()) return;
    QRepView& view = pane_->View();
    view.SetActive(active);
    view.EvMDIActivate(active);
}

}  // namespace vyn
