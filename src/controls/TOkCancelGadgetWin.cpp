#include "controls/TOkCancelGadgetWin.h"

#include "platform/gui/Gadget.h"
#include "platform/gui/WindowMessages.h"

namespace vyn {

TSize gOkCancelSize(0, 0);

TOkCancelGadgetWin::TOkCancelGadgetWin(TWindow* parent)
    : TGadgetWindow(parent, Horizontal, TFont()),
      cancel_(new TButtonGadget(IDCANCEL, IDCANCEL, TButtonGadget::Command, false)),
      confirm_(new TButtonGadget(IDOK, IDOK, TButtonGadget::Command, false))
{
    // Read left to right: cancel, then confirm.
    Insert(*cancel_, Before);
    Insert(*confirm_, After);
}

void TOkCancelGadgetWin::SetupWindow()
{
    TGadgetWindow::SetupWindow();
    SetWindowPos(nullptr, 0, 0, 10, 10, SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    LayoutSession();
    EnableGadgets(true);
    if (gOkCancelSize.cx == 0) {
        // The buttons with the bar's own margins around them, so that neither is cut off.
        const TRect& c = confirm_->GetBounds();
        const TRect& x = cancel_->GetBounds();
        gOkCancelSize = TSize(c.right + x.left, GetThickness());
    }
    SetWindowPos(nullptr, 0, 0, gOkCancelSize.cx, gOkCancelSize.cy, SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    LayoutSession();
    ShowWindow(SW_HIDE);
}

void TOkCancelGadgetWin::EnableGadgets(bool on)
{
    cancel_->SetEnabled(on);
    confirm_->SetEnabled(on);
}

bool TOkCancelGadgetWin::GadgetsEnabled() const { return cancel_->GetEnabled() && confirm_->GetEnabled(); }

void TOkCancelGadgetWin::PlaceBeside(const TWindow& edit)
{
    if (!GetParent()) return;
    const int w = gOkCancelSize.cx, h = gOkCancelSize.cy;
    const TRect r = GetParent()->ChildRectInClient(edit);
    SetWindowPos(nullptr, r.left - w - w / 8, r.top + (r.Height() - h) / 2, w, h,
                 SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    ShowWindow(SW_SHOWNA);
    EnableGadgets(edit.HasFocus());
}

}  // namespace vyn
