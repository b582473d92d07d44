#include "method_editors/ColorDlg.h"

#include <array>
#include <charconv>

#include "platform/gui/ChooseColorDialog.h"
#include "platform/gui/ControlList.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"

namespace vyn {

int TColorSwatch::GetColour() const
{
    int v = -1;
    const std::string s = GetWindowText();
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() ? v : -1;
}

void TColorSwatch::SetColour(int colour) { SetWindowText(std::to_string(colour)); }

void TColorSwatch::DrawItem(TDrawItem& item)
{
    TDC& dc = item.dc;
    const TRect r = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    // A frame's top and left go up from the bottom-left corner and across to the top-right
    // one with the first pen; the right and bottom come back with the second.
    auto frame = [&](const TRect& f, TColor first, TColor second) {
        dc.SelectObject(TPen(first));
        dc.MoveTo(f.left, f.bottom - 1);
        dc.LineTo(f.left, f.top);
        dc.LineTo(f.right - 1, f.top);
        dc.SelectObject(TPen(second));
        dc.LineTo(f.right - 1, f.bottom - 1);
        dc.LineTo(f.left, f.bottom - 1);
    };
    const TColor edge = item.itemState & ODS_FOCUS ? TColor(0, 0, 0) : TColor(192, 192, 192);
    frame(r, edge, edge);
    const TColor light(255, 255, 255), dark(128, 128, 128);
    frame(TRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1), pressed ? dark : light, pressed ? light : dark);
    const TColor grey(192, 192, 192);
    frame(TRect(r.left + 2, r.top + 2, r.right - 2, r.bottom - 2), grey, grey);
    const TRect inner(r.left + 3, r.top + 3, r.right - 3, r.bottom - 3);
    const int colour = GetColour();
    if (colour < 0) {
        dc.FillRect(inner, TBrush(TColor(255, 255, 255)));
        dc.SelectObject(TPen(TColor(0, 0, 0)));
        dc.MoveTo(inner.left, inner.top);
        dc.LineTo(inner.right, inner.bottom);
        dc.MoveTo(inner.right - 1, inner.top);
        dc.LineTo(inner.left - 1, inner.bottom);
    } else {
        dc.FillRect(inner, TBrush(TColor(static_cast<std::uint32_t>(colour) & 0xFFFFFF)));
    }
}

MyColorDlg::MyColorDlg(TWindow* parent, TWindow* opener, int colour) : TDialog(parent, kResId), opener_(opener), chosen_(colour)
{
    SetContextHelpId(3322);
    for (int id = 101; id <= 118; ++id) {
        auto* swatch = new TColorSwatch(this, id);
        OnCommand(static_cast<unsigned>(id), [this, swatch] {
            chosen_ = swatch->GetColour();
            CloseWindow(IDOK);
        });
    }
    OnCommand(kMoreColours, [this] {
        // The custom colours of the chooser live as long as the program runs.
        static std::array<TColor, 16> custom{};
        TChooseColorDialog chooser(this, TColor(0, 0, 0), custom);
        if (chooser.Execute() != IDOK) return;
        chosen_ = static_cast<int>(chooser.GetColor().value & 0xFFFFFF);
        CloseWindow(IDOK);
    });
}

void MyColorDlg::SetupWindow()
{
    TDialog::SetupWindow();
    // The last swatch shows the colour the dialog was opened with.
    if (auto* last = dynamic_cast<TColorSwatch*>(GetDlgItem(117))) last->SetColour(chosen_);
    if (opener_ && opener_->IsWindow()) {
        const TRect r = opener_->GetWindowRect();
        SetWindowPos(nullptr, r.left + 6, r.top + 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}

}  // namespace vyn
