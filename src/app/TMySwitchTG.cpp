#include "app/TMySwitchTG.h"

#include <algorithm>

#include "platform/gui/Dc.h"
#include "platform/gui/GadgetWindow.h"

namespace vyn {

TMySwitchTG::TMySwitchTG(int id, int numChars) : TTextGadget(id, Recessed, Left, numChars) {}

void TMySwitchTG::AddText(const std::string& text, TColor color)
{
    if (EntryCount() >= kMaxEntries) return;
    entries_.push_back({text, color});
}

void TMySwitchTG::Select(int i)
{
    touched_ = true;
    if (i < 0 || i >= EntryCount() || i == selected_) return;
    selected_ = i;
    TTextGadget::SetText(entries_[static_cast<std::size_t>(i)].text);
    Invalidate();
}

void TMySwitchTG::SetText(const std::string& text)
{
    touched_ = true;
    if (selected_ >= 0 && text != GetText()) entries_[static_cast<std::size_t>(selected_)].text = text;
    TTextGadget::SetText(text);
}

TColor TMySwitchTG::ShownColor() const
{
    if (selected_ < 0) return TGadgetWindow::FaceColor();
    TColor c = entries_[static_cast<std::size_t>(selected_)].color;
    return c == TColor::None ? TGadgetWindow::FaceColor() : c;
}

TSize TMySwitchTG::GetDesiredSize(TDC& dc)
{
    TSize size = TTextGadget::GetDesiredSize(dc);
    int widest = dc.GetTextExtent(GetText()).cx;
    for (const Entry& e : entries_) widest = std::max(widest, dc.GetTextExtent(e.text).cx);
    // The text stands 2 pixels inside the border on either side (TTextGadget::Paint).
    size.cx = std::max(size.cx, widest + 2 * BorderWidth() + 4);
    return size;
}

void TMySwitchTG::PaintBackground(TDC& dc, const TRect& inner) { dc.FillRect(inner, TBrush(ShownColor())); }

}  // namespace vyn
