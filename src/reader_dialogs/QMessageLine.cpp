#include "reader_dialogs/QMessageLine.h"

#include <algorithm>

#include "platform/gui/Dc.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/DialogTemplate.h"
#include "platform/gui/Gdi.h"

namespace vyn {

namespace {

// Whether the template shows the control. Asking the control itself says nothing while the
// dialog is being set up: nothing of a dialog is visible before the dialog is shown.
bool TemplateShows(const TDialog& dlg, int id)
{
    const TDialogTemplate* t = dlg.GetTemplate();
    if (!t) return true;
    for (int i = 0; i < t->controlCount; ++i)
        if (t->controls[i].id == id) return (t->controls[i].style & dlgstyle::HIDDEN) == 0;
    return true;
}

}  // namespace

TRect TakeStaticPlace(TDialog& dlg, int id, TWindow& replacement)
{
    TRect r(0, 0, 0, 0);
    const bool visible = TemplateShows(dlg, id);
    if (TWindow* old = dlg.GetDlgItem(id)) {
        r = dlg.ChildRectInClient(*old);
        replacement.SetWindowText(old->GetWindowText());
        old->ShowWindow(SW_HIDE);
        old->SetId(0);
    }
    replacement.SetId(id);
    replacement.Create();
    replacement.MoveWindow(r);
    replacement.ShowWindow(visible ? SW_SHOW : SW_HIDE);
    return r;
}

QMessageLine::QMessageLine(TDialog& dlg, int id, TColor color) : TWindow(&dlg, id), color_(color)
{
    TakeStaticPlace(dlg, id, *this);
}

void QMessageLine::SetText(const std::string& text)
{
    SetWindowText(text);
    Invalidate(true);
}

void QMessageLine::SetColor(TColor color)
{
    color_ = color;
    Invalidate(true);
}

void QMessageLine::Paint(TDC& dc, bool, TRect&)
{
    TRect r = GetClientRect();
    dc.SelectObject(GetStockFont(DEFAULT_GUI_FONT));
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(color_);
    dc.DrawText(GetWindowText(), r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    dc.SetBkMode(oldMode);
    dc.RestoreFont();
}

QRunnerIcon::QRunnerIcon(TDialog& dlg, int id, Kind kind) : TWindow(&dlg, id), kind_(kind)
{
    TakeStaticPlace(dlg, id, *this);
}

void QRunnerIcon::Paint(TDC& dc, bool, TRect&)
{
    const TRect r = GetClientRect();
    const int d = std::min(r.Width(), r.Height()) - 2;
    if (d <= 4) return;
    const TRect c(r.left + 1, r.top + 1, r.left + 1 + d, r.top + 1 + d);
    if (kind_ == Busy) {
        // A dish with a sample in it, as the reader's carrier holds it.
        dc.SelectObject(TPen(TColor(0, 0, 128), 2));
        dc.SelectObject(TBrush(TColor(255, 255, 224)));
        dc.Ellipse(c);
        dc.SelectObject(TBrush(TColor(0, 128, 255)));
        const int m = d / 4;
        dc.Ellipse(c.left + m, c.top + m, c.right - m, c.bottom - m);
    } else {
        dc.SelectObject(TPen(TColor(255, 0, 0), 1));
        dc.SelectObject(TBrush(TColor(255, 0, 0)));
        dc.Ellipse(c);
        dc.SelectObject(TPen(TColor::White, std::max(2, d / 8)));
        const int x = (c.left + c.right) / 2;
        dc.MoveTo(x, c.top + d / 5);
        dc.LineTo(x, c.top + d * 3 / 5);
        dc.MoveTo(x, c.top + d * 3 / 4);
        dc.LineTo(x, c.top + d * 3 / 4 + 1);
    }
    dc.RestoreObjects();
}

}  // namespace vyn
