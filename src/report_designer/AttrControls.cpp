#include "report_designer/AttrControls.h"

#include <algorithm>

#include "platform/gui/Clipboard.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Keyboard.h"
#include "report_designer/AttrEditor.h"
#include "report_designer/AttrRows.h"
#include "report_designer/QRepView.h"

namespace vyn {

namespace {

const TColor kBlack{0, 0, 0};
const TColor kGrey{128, 128, 128};
const TColor kWhite{255, 255, 255};

// Commands reach the editor through its queue, so that a key handler finishes before the
// row it belongs to hides or moves the control.
void PostToParent(TWindow& from, unsigned command, bool withWindow = true)
{
    if (TWindow* p = from.GetParent())
        p->PostMessage(WM_COMMAND, MAKEWPARAM(command, 0), withWindow ? reinterpret_cast<TParam2>(&from) : 0);
}

unsigned NavigationCommand(unsigned key)
{
    switch (key) {
    case VK_ESCAPE: return cmAttrEsc;
    case VK_TAB: return GetKeyState(VK_SHIFT) < 0 ? cmAttrBackTab : cmAttrTab;
    case VK_RETURN:
    case VK_DOWN: return cmAttrNext;
    case VK_UP: return cmAttrPrev;
    default: return 0;
    }
}

}  // namespace

void Frame3D(TDC& dc, const TRect& r, int d, const TPen& bottomRight, const TPen& topLeft)
{
    dc.SelectObject(bottomRight);
    dc.MoveTo(r.right + d - 1, r.top - d);
    dc.LineTo(r.right + d - 1, r.bottom + d - 1);
    dc.LineTo(r.left - d, r.bottom + d - 1);
    dc.RestorePen();
    dc.SelectObject(topLeft);
    dc.LineTo(r.left - d, r.top - d);
    dc.LineTo(r.right + d - 1, r.top - d);
    dc.RestorePen();
}

// --- value edit ---

QRAttrEdit::QRAttrEdit(TWindow* parent) : TEdit(parent, idAttrEdit, std::string(), 0, 0, 10, 10) {}

unsigned QRAttrEdit::EvGetDlgCode(const TMsg* msg) { return TEdit::EvGetDlgCode(msg) | DLGC_WANTALLKEYS | DLGC_WANTTAB; }

void QRAttrEdit::EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    if (const unsigned cmd = NavigationCommand(key)) {
        PostToParent(*this, cmd);
        return;
    }
    // The designer's accelerators: the clipboard keys go to the pane as commands (undo has
    // nothing to undo here). A choice row's text is not typed, so they do nothing there.
    if (const unsigned cmd = QRepView::Accelerator(key); cmd && cmd != cmRepUndo) {
        if (choiceMode == 0)
            if (TWindow* p = GetParent()) p->SendCommand(cmd);
        return;
    }
    if (choiceMode == 0) TEdit::EvKeyDown(key, repeatCount, flags);
}

void QRAttrEdit::EvChar(unsigned ch, unsigned repeatCount, unsigned flags)
{
    if (ch == 9 || ch == 13 || ch == 27) return;
    if (choiceMode == 0) {
        TEdit::EvChar(ch, repeatCount, flags);
        return;
    }
    if (ch >= 32 && repeatCount == 1) {
        lastChar = static_cast<int>(ch);
        PostToParent(*this, cmAttrEditChar, false);
    }
}

void QRAttrEdit::EvContextMenu(TWindow* window, int x, int y)
{
    if (HasFocus() && GetParent()) {
        GetParent()->SendMessage(WM_CONTEXTMENU, reinterpret_cast<TParam1>(window), MAKELPARAM(x, y));
        return;
    }
    TEdit::EvContextMenu(window, x, y);
}

void QRAttrEdit::EditCommand(unsigned id)
{
    std::string text = GetWindowText();
    int a = 0, b = 0;
    GetSelection(a, b);
    if (a > b) std::swap(a, b);
    // Positions count characters; texts are UTF-8.
    auto offset = [&text](int n) {
        std::size_t i = 0;
        for (int k = 0; k < n && i < text.size(); ++k) {
            ++i;
            while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
        }
        return i;
    };
    const std::size_t oa = offset(a), ob = offset(b);
    const std::string selected = text.substr(oa, ob - oa);
    std::string insert;
    switch (id) {
    case 24323:
        if (!selected.empty()) Clipboard::SetText(selected);
        return;
    case 24322:
        if (selected.empty()) return;
        Clipboard::SetText(selected);
        break;
    case 24324: Clipboard::GetText(insert); break;
    case 24325:
        if (selected.empty()) {
            if (ob >= text.size()) return;
            const std::size_t next = offset(b + 1);
            text.erase(ob, next - ob);
            SetWindowText(text);
            SetModify(true);
            SetSelection(a, a);
            return;
        }
        break;
    default: return;
    }
    text.replace(oa, ob - oa, insert);
    SetWindowText(text);
    SetModify(true);
    int n = 0;
    for (char c : insert)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    SetSelection(a + n, a + n);
}

// --- choice list ---

QRAttrList::QRAttrList(TWindow* parent) : TListBox(parent, idAttrList, std::string(), 0, 0, 10, 10) {}

unsigned QRAttrList::EvGetDlgCode(const TMsg* msg) { return TListBox::EvGetDlgCode(msg) | DLGC_WANTALLKEYS | DLGC_WANTTAB; }

void QRAttrList::EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    if (key == VK_TAB || key == VK_ESCAPE) {
        PostToParent(*this, cmAttrListLeave);
        return;
    }
    if (key == VK_RETURN) {
        PostToParent(*this, cmAttrListPick);
        return;
    }
    TListBox::EvKeyDown(key, repeatCount, flags);
}

void QRAttrList::EvChar(unsigned ch, unsigned repeatCount, unsigned /*flags*/)
{
    if (ch == 9 || ch == 13 || ch == 27 || ch == ' ') return;
    if (ch >= 32 && repeatCount == 1) {
        lastChar = static_cast<int>(ch);
        PostToParent(*this, cmAttrListChar, false);
    }
}

void QRAttrList::EvLButtonUp(unsigned modKeys, const TPoint& p)
{
    TListBox::EvLButtonUp(modKeys, p);
    PostToParent(*this, cmAttrListPick, false);
}

// --- buttons ---

QRAttrButt::QRAttrButt(TWindow* parent, int id) : TWindow(parent, id) {}

unsigned QRAttrButt::EvGetDlgCode(const TMsg*) { return DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTARROWS; }

void QRAttrButt::EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    if (const unsigned cmd = NavigationCommand(key)) {
        PostToParent(*this, cmd);
        return;
    }
    if (key == VK_SPACE) {
        NotifyParent(BN_CLICKED);
        return;
    }
    TWindow::EvKeyDown(key, repeatCount, flags);
}

void QRAttrButt::EvChar(unsigned ch, unsigned repeatCount, unsigned flags)
{
    if (ch == 9 || ch == 13 || ch == 27) return;
    TWindow::EvChar(ch, repeatCount, flags);
}

void QRAttrButt::EvLButtonDown(unsigned, const TPoint&)
{
    pressed_ = true;
    SetFocus();
    Invalidate(false);
}

void QRAttrButt::EvLButtonUp(unsigned, const TPoint& p)
{
    if (!pressed_) return;
    pressed_ = false;
    Invalidate(false);
    if (GetClientRect().Contains(p)) NotifyParent(BN_CLICKED);
}

void QRAttrButt::EvLButtonDblClk(unsigned modKeys, const TPoint& p)
{
    // A quick second click presses the button again.
    SendMessage(WM_LBUTTONDOWN, modKeys, MAKELPARAM(p.x, p.y));
}

void QRAttrButt::EvSetFocus(TWindow*) { Invalidate(false); }
void QRAttrButt::EvKillFocus(TWindow*) { Invalidate(false); }

void QRAttrButt::Paint(TDC& dc, bool, TRect&) { DrawItem(dc, GetClientRect(), pressed_, HasFocus()); }

void QRAttrButt::DrawItem(TDC& dc, const TRect& r, bool pressed, bool focused) const
{
    const TRect in(r.left + 2, r.top + 2, r.right - 2, r.bottom - 2);
    dc.FillRect(in, TBrush(gAttrFaceColor));
    const TPen black(kBlack), grey(kGrey), white(kWhite);
    Frame3D(dc, r, 0, black, black);
    if (pressed) Frame3D(dc, r, -1, white, grey);
    else Frame3D(dc, r, -1, grey, white);
    if (focused) {
        const int old = dc.SetROP2(R2_NOT);
        Frame3D(dc, in, -2, black, black);
        dc.SetROP2(old);
    }
    dc.SelectObject(black);
    if (glyph == glyphDots) {
        const int y = in.bottom - 5;
        const int x0 = (in.left + in.right - 9) / 2;
        for (int row = y; row <= y + 1; ++row)
            for (int k = 0; k < 3; ++k) {
                dc.MoveTo(x0 + 4 * k, row);
                dc.LineTo(x0 + 4 * k + 2, row);
            }
    } else {
        int w = std::max((in.right - in.left - 4) | 1, 5);
        int x = (in.left + in.right - w) / 2;
        int y = in.bottom - (2 * w / 3) - 2;
        while (w > 0) {
            dc.MoveTo(x, y);
            dc.LineTo(x + w, y);
            ++x;
            ++y;
            w -= 2;
        }
    }
    dc.RestorePen();
}

// --- colour swatch ---

QRAttrClr::QRAttrClr(TWindow* parent) : TWindow(parent) {}

void QRAttrClr::SetColor(int colour)
{
    if (colour == color_) return;
    color_ = colour;
    const TRect c = GetClientRect();
    InvalidateRect(TRect(c.left + 2, c.top + 2, c.right - 2, c.bottom - 2), false);
}

void QRAttrClr::Paint(TDC& dc, bool, TRect& rect)
{
    ++repaints_;
    const TRect w = GetClientRect();
    const TRect in(w.left + 2, w.top + 2, w.right - 2, w.bottom - 2);
    if (!(rect == in)) {
        Frame3D(dc, w, 0, TPen(gAttrFaceColor), TPen(gAttrFaceColor));
        Frame3D(dc, w, -1, TPen(kWhite), TPen(kWhite));
    }
    dc.FillRect(in, TBrush(color_ < 0 ? kWhite : TColor(color_ & 0xFF, (color_ >> 8) & 0xFF, (color_ >> 16) & 0xFF)));
    if (color_ < 0) {
        dc.MoveTo(in.left, in.top);
        dc.LineTo(in.right, in.bottom);
        dc.MoveTo(in.left, in.bottom - 1);
        dc.LineTo(in.right, in.top - 1);
    }
}

// --- strips ---

void QRAttrHd::SetTitle(const std::string& text)
{
    title_ = text;
    if (IsWindow()) Invalidate(false);
}

TRect QRattrStat::TextRect(const TRect& r)
{
    const AttrMetrics& m = gAttrMetrics;
    return TRect(r.left + m.cx, r.top + m.rowPad, r.right - m.cx, r.bottom - m.rowPad);
}

void QRAttrHd::Paint(TDC& dc, bool, TRect& rect)
{
    dc.FillRect(rect, TBrush(gAttrFaceColor));
    if (gAttrFont) dc.SelectObject(*gAttrFont);
    dc.SetBkMode(TRANSPARENT);
    const TRect t = QRattrStat::TextRect(GetClientRect());
    dc.ExtTextOut(t.left, t.top, ETO_CLIPPED, &t, title_);
    if (gAttrFont) dc.RestoreFont();
}

void QRattrStat::SetText(const std::string& text)
{
    text_ = text;
    if (IsWindow()) InvalidateRect(TextRect(GetClientRect()), false);
}

void QRattrStat::Paint(TDC& dc, bool, TRect&)
{
    const TRect c = GetClientRect();
    dc.FillRect(TRect(c.left + 1, c.top + 1, c.right - 1, c.bottom - 1), TBrush(gAttrFaceColor));
    const TPen grey(kGrey), white(kWhite);
    Frame3D(dc, c, 0, grey, white);
    const TRect t = TextRect(c);
    Frame3D(dc, t, 1, white, grey);
    if (gAttrFont) dc.SelectObject(*gAttrFont);
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(gAttrFaceColor);
    dc.ExtTextOut(t.left, t.top, ETO_OPAQUE | ETO_CLIPPED, &t, text_);
    if (gAttrFont) dc.RestoreFont();
}

// --- the attribute window ---

QRAttrFrame::QRAttrFrame(TWindow* parent) : TWindow(parent) { SetOwnedPopup(true); }

// The frame goes with the main window that owns it; the editor is made anew for the next one,
// so nothing may go on pointing at this one.
QRAttrFrame::~QRAttrFrame()
{
    if (gAttrFrame == this) gAttrFrame = nullptr;
}

void QRAttrFrame::SetupWindow()
{
    TWindow::SetupWindow();
    // The window belongs to the designer: F1 in it asks for the designer's help, not the main
    // window's that owns it.
    SetContextHelpId(QRepView::kHelpContext);
    Layout();
}

void QRAttrFrame::Layout()
{
    if (!IsWindow()) return;
    const TRect c = GetClientRect();
    const int strip = gAttrMetrics.stripHeight;
    if (gAttrHeader) gAttrHeader->MoveWindow(0, 0, c.Width(), strip, true);
    if (gAttrDlg) gAttrDlg->MoveWindow(0, strip, c.Width(), std::max(0, c.Height() - 2 * strip), true);
    if (gAttrStatus) gAttrStatus->MoveWindow(0, std::max(0, c.Height() - strip), c.Width(), strip, true);
}

void QRAttrFrame::EvSize(unsigned sizeType, const TSize& size)
{
    TWindow::EvSize(sizeType, size);
    Layout();
    if (gAttrDlg) gAttrDlg->Refresh();
}

void QRAttrFrame::EvGetMinMaxInfo(TMinMaxInfo& info)
{
    TWindow::EvGetMinMaxInfo(info);
    info.minTrackSizeX = std::max(info.minTrackSizeX, gAttrMetrics.minFrameWidth);
    info.minTrackSizeY = std::max(info.minTrackSizeY, gAttrMetrics.minFrameHeight);
}

void QRAttrFrame::EvClose()
{
    // Closing only hides: the view forgets that it wanted the editor.
    if (gAttrView) gAttrView->DetachAttrEditor();
}

void QRAttrFrame::EvActivate(unsigned active, bool minimized, TWindow* other)
{
    TWindow::EvActivate(active, minimized, other);
    if (gAttrDlg) gAttrDlg->SetActive(active != WA_INACTIVE ? 1 : 0);
}

void QRAttrFrame::Show(bool show, bool activate)
{
    if (!IsWindow()) Create();
    if (show && firstShow) {
        if (TWindow* main = GetParent()) {
            const TRect m = main->GetWindowRect();
            const TRect me = GetWindowRect();
            MoveWindow(std::max(0, m.right - 16 - me.Width()), std::max(0, m.top + 40), me.Width(), me.Height());
        }
    }
    firstShow = false;
    // The rows are built before the window shows: its activation starts editing the current row.
    if (show && gAttrDlg) gAttrDlg->SetShown(1);
    ShowWindow(show ? (activate ? SW_SHOW : SW_SHOWNA) : SW_HIDE);
    if (show && activate) {
        bool inside = false;
        for (TWindow* w = GetFocus(); w && !inside; w = w->GetParent()) inside = w == this;
        if (!inside) SetFocus();
        // The activation may already have started the current row's edit; the keyboard then
        // belongs to its value, not to the frame around it.
        if (gAttrDlg && gAttrEdit && gAttrEdit->IsWindowVisible())
            if (SCtrl* row = gAttrDlg->CurrentRow(); row && row->editing) gAttrEdit->SetFocus();
    }
    if (!show && gAttrDlg) gAttrDlg->SetShown(0);
}

}  // namespace vyn
