#include "app/QClrBut.h"

#include "platform/gui/ControlList.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"

namespace vyn {

QClrBut::QClrBut(TWindow* parent, int id, const std::string& text, int x, int y, int w, int h, bool isDefault)
    : TButton(parent, id, text, x, y, w, h, dlgstyle::OWNERDRAW | (isDefault ? dlgstyle::DEFPUSHBUTTON : 0u)),
      colour_(0, 0, 0)
{
    InstallMessages();
}

QClrBut::QClrBut(TWindow* parent, int resourceId, TColor colour) : TButton(parent, resourceId), colour_(colour)
{
    ModifyStyle(0, dlgstyle::OWNERDRAW);
    InstallMessages();
}

void QClrBut::InstallMessages()
{
    OnMessage(BM_SETCHECK, [this](TParam1 p1, TParam2) -> TResult {
        SetSelected(p1 != 0);
        return 0;
    });
    OnMessage(BM_GETCHECK, [this](TParam1, TParam2) -> TResult { return selected_ ? 1 : 0; });
    // The dialog would make a focused push button its default; the swatch hands that back to OK
    // and keeps its own style.
    OnMessage(BM_SETSTYLE, [this](TParam1 p1, TParam2) -> TResult {
        if (LOWORD(p1) == BS_DEFPUSHBUTTON && GetParent()) GetParent()->SendMessage(DM_SETDEFID, IDOK, 0);
        return 0;
    });
}

void QClrBut::SetSelected(bool selected)
{
    selected_ = selected;
    // Only the chosen colour of the row is reached by Tab; arrows move between the others.
    ModifyStyle(dlgstyle::TABSTOP, selected ? dlgstyle::TABSTOP : 0u);
    if (IsWindow()) Invalidate(true);
}

void QClrBut::DrawItem(TDrawItem& item)
{
    TDC& dc = item.dc;
    const TRect r = item.rcItem;
    dc.FillRect(r, TBrush(colour_));
    const auto frames = [&dc](TRect outer) {
        dc.FrameRect(outer, TBrush(TColor::Black));
        outer.Inflate(-1, -1);
        dc.FrameRect(outer, TBrush(TColor::White));
    };
    if (item.itemState & ODS_FOCUS) frames(r);
    if (selected_) {
        TRect inner = r;
        inner.Inflate(-2, -2);
        frames(inner);
    }
}

unsigned QClrBut::EvGetDlgCode(const TMsg*) { return DLGC_BUTTON; }

void QClrBut::EvSetFocus(TWindow* lost)
{
    TButton::EvSetFocus(lost);
    // A mouse click captures before it focuses; without the capture the focus came from the
    // keyboard, and moving onto a colour picks it.
    if (!selected_ && GetCapture() != this && GetParent())
        GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(GetId()), BN_CLICKED),
                                 reinterpret_cast<TParam2>(this));
}

}  // namespace vyn
