#include "platform/gui/Gadget.h"

#include <QWidget>
#include <algorithm>

#include "platform/core/StringTable.h"
#include "platform/gui/Dc.h"
#include "platform/gui/GadgetWindow.h"
#include "platform/gui/ResBitmap.h"
#include "platform/gui/Window.h"

namespace vyn {

namespace {
const TColor kHighlight(255, 255, 255);
const TColor kShadow(128, 128, 128);
const TColor kDarkShadow(0, 0, 0);

void Frame3D(TDC& dc, const TRect& r, TColor topLeft, TColor bottomRight)
{
    dc.FillRect(TRect(r.left, r.top, r.right, r.top + 1), TBrush(topLeft));
    dc.FillRect(TRect(r.left, r.top, r.left + 1, r.bottom), TBrush(topLeft));
    dc.FillRect(TRect(r.left, r.bottom - 1, r.right, r.bottom), TBrush(bottomRight));
    dc.FillRect(TRect(r.right - 1, r.top, r.right, r.bottom), TBrush(bottomRight));
}
}  // namespace

TGadget::TGadget(int id, TBorderStyle border) : id_(id), border_(border) {}

TGadget::~TGadget()
{
    if (window_) window_->Remove(*this);
}

void TGadget::SetEnabled(bool enabled)
{
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Invalidate();
}

TSize TGadget::GetDesiredSize(TDC&) { return {2 * BorderWidth(), 2 * BorderWidth()}; }

void TGadget::PaintBorder(TDC& dc) const
{
    const TRect& r = bounds_;
    switch (border_) {
    case None: break;
    case Plain: Frame3D(dc, r, kDarkShadow, kDarkShadow); break;
    case Raised:
        Frame3D(dc, r, kHighlight, kDarkShadow);
        Frame3D(dc, TRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1), TGadgetWindow::FaceColor(), kShadow);
        break;
    case Recessed:
        Frame3D(dc, r, kShadow, kHighlight);
        Frame3D(dc, TRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1), kDarkShadow, TGadgetWindow::FaceColor());
        break;
    case Embossed:
        Frame3D(dc, r, kHighlight, kShadow);
        Frame3D(dc, TRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1), kShadow, kHighlight);
        break;
    }
}

TRect TGadget::InnerRect() const
{
    int b = BorderWidth();
    return TRect(bounds_.left + b, bounds_.top + b, std::max(bounds_.left + b, bounds_.right - b),
                 std::max(bounds_.top + b, bounds_.bottom - b));
}

void TGadget::Paint(TDC& dc) { PaintBorder(dc); }

void TGadget::LButtonDown(const TPoint&) {}
void TGadget::LButtonUp(const TPoint&) {}

void TGadget::Invalidate()
{
    if (window_) window_->GadgetInvalidated(*this);
}

void TGadget::Update()
{
    if (window_) window_->UpdateWindow();
}

// --- separator -----------------------------------------------------------------------------

TSeparatorGadget::TSeparatorGadget(int size) : TGadget(0, None), size_(size) {}

TSize TSeparatorGadget::GetDesiredSize(TDC&) { return {size_, size_}; }

// --- text ----------------------------------------------------------------------------------

TTextGadget::TTextGadget(int id, TBorderStyle border, TAlign align, int numChars, const std::string& text)
    : TGadget(id, border), text_(text), align_(align), numChars_(numChars)
{
}

void TTextGadget::SetText(const std::string& text)
{
    if (text == text_) return;
    text_ = text;
    Invalidate();
}

TSize TTextGadget::GetDesiredSize(TDC& dc)
{
    TSize ch = dc.GetTextExtent("M");
    TSize tx = dc.GetTextExtent(text_.empty() ? std::string("M") : text_);
    int avg = std::max(1, dc.GetTextExtent("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ").cx / 52);
    int w = numChars_ > 0 ? numChars_ * avg : tx.cx;
    return {w + 2 * BorderWidth() + 4, ch.cy + 2 * BorderWidth() + 2};
}

void TTextGadget::PaintBackground(TDC& dc, const TRect& inner) { dc.FillRect(inner, TBrush(TGadgetWindow::FaceColor())); }

void TTextGadget::Paint(TDC& dc)
{
    PaintBorder(dc);
    TRect inner = InnerRect();
    PaintBackground(dc, inner);
    dc.SetBkMode(1);  // transparent
    dc.SetTextColor(enabled_ ? TColor(0, 0, 0) : kShadow);
    TRect tr(inner.left + 2, inner.top, inner.right - 2, inner.bottom);
    unsigned fmt = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (align_ == Center) fmt |= DT_CENTER;
    if (align_ == Right) fmt |= DT_RIGHT;
    dc.DrawText(text_, tr, fmt);
}

// --- button --------------------------------------------------------------------------------

TButtonGadget::TButtonGadget(int bmpResId, int commandId, TType type, bool enabled, TState state, bool)
    : TGadget(commandId, None), resId_(bmpResId), type_(type), state_(state)
{
    enabled_ = enabled;
    glyph_ = LoadResBitmap(resId_);
}

void TButtonGadget::SetButtonState(TState s)
{
    if (s == state_) return;
    state_ = s;
    Invalidate();
}

void TButtonGadget::SetResId(int resId)
{
    resId_ = resId;
    BuildGlyph();
}

void TButtonGadget::BuildGlyph() { glyph_ = LoadResBitmap(resId_); }

void TButtonGadget::Inserted() { BuildGlyph(); }

TSize TButtonGadget::GetDesiredSize(TDC&)
{
    int w = glyph_ ? glyph_.Width() : 16, h = glyph_ ? glyph_.Height() : 16;
    return {w + 7, h + 7};
}

void TButtonGadget::Paint(TDC& dc)
{
    const TRect& r = bounds_;
    dc.FillRect(r, TBrush(TGadgetWindow::FaceColor()));
    bool down = pressed_ || state_ == Down;
    if (down) {
        Frame3D(dc, r, kShadow, kHighlight);
    } else {
        Frame3D(dc, r, kHighlight, kDarkShadow);
        Frame3D(dc, TRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1), TGadgetWindow::FaceColor(), kShadow);
    }
    if (!glyph_) return;
    int x = r.left + (r.Width() - glyph_.Width()) / 2 + (down ? 1 : 0);
    int y = r.top + (r.Height() - glyph_.Height()) / 2 + (down ? 1 : 0);
    if (enabled_) {
        dc.DrawBitmap(x, y, glyph_);
        return;
    }
    // Disabled: the picture's dark parts embossed in grey, as the framework draws it.
    TBitmap grey = glyph_.Clone();
    for (int j = 0; j < grey.Height(); ++j)
        for (int i = 0; i < grey.Width(); ++i) {
            TColor c = glyph_.GetPixel(i, j);
            int lum = (c.Red() * 30 + c.Green() * 59 + c.Blue() * 11) / 100;
            grey.SetPixel(i, j, lum < 160 ? kShadow : TGadgetWindow::FaceColor());
        }
    dc.DrawBitmap(x, y, grey);
}

void TButtonGadget::CommandEnable()
{
    TWindow* receiver = window_ ? window_->GetCommandReceiver() : nullptr;
    if (!receiver) return;
    TCommandEnabler ce(static_cast<unsigned>(id_));
    receiver->RouteCommandEnable(ce);
    SetEnabled(ce.GetHandled() && ce.IsEnabled());
    if (type_ != Command && ce.GetHandled()) SetButtonState(ce.GetCheck() == TCommandEnabler::Checked ? Down : Up);
}

void TButtonGadget::LButtonDown(const TPoint&)
{
    if (!enabled_) return;
    pressed_ = true;
    Invalidate();
}

void TButtonGadget::LButtonUp(const TPoint& p)
{
    if (!pressed_) return;
    pressed_ = false;
    Invalidate();
    if (!enabled_ || !bounds_.Contains(p) || !window_) return;
    if (TWindow* receiver = window_->GetCommandReceiver()) receiver->RouteCommand(static_cast<unsigned>(id_));
}

// --- control -------------------------------------------------------------------------------

TControlGadget::TControlGadget(TWindow& control, TBorderStyle border) : TGadget(control.GetId(), border), control_(&control) {}

TControlGadget::~TControlGadget()
{
    if (window_) window_->Remove(*this);
}

TSize TControlGadget::GetDesiredSize(TDC&)
{
    QWidget* w = control_->Widget();
    TSize s = w ? TSize(w->width(), w->height()) : TSize(60, 20);
    return {s.cx + 2 * BorderWidth(), s.cy + 2 * BorderWidth()};
}

void TControlGadget::SetBounds(const TRect& r)
{
    TGadget::SetBounds(r);
    if (QWidget* w = control_->Widget()) {
        TRect in = InnerRect();
        w->setGeometry(in.left, in.top, in.Width(), in.Height());
    }
}

void TControlGadget::Inserted()
{
    if (!window_ || !window_->Widget()) return;
    if (!control_->Widget()) control_->Create();
    if (QWidget* w = control_->Widget()) {
        if (w->parentWidget() != window_->Widget()) w->setParent(window_->Widget());
        w->show();
        // Its tool tip is its id's string-table text.
        const int id = control_->GetId();
        const char* tip = id > 0 && id < 0x7FFF ? FindResString(id) : nullptr;
        w->setToolTip(tip ? QString::fromStdString(CutUtf8(ToolTipPart(tip), 127)) : QString());
    }
}

void TControlGadget::Removed()
{
    if (QWidget* w = control_->Widget()) w->hide();
}

}  // namespace vyn
