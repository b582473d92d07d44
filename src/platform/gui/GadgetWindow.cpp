#include "platform/gui/GadgetWindow.h"

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QToolTip>
#include <QWidget>
#include <algorithm>

#include "platform/core/StringTable.h"
#include "platform/gui/Dc.h"
#include "platform/gui/DecoratedFrame.h"
#include "platform/gui/WindowBridge.h"

namespace vyn {

TGadgetWindow::TGadgetWindow(TWindow* parent, TTileDirection direction, const TFont& font)
    : TWindow(parent), direction_(direction), font_(font)
{
}

TGadgetWindow::~TGadgetWindow()
{
    while (!gadgets_.empty()) {
        TGadget* g = gadgets_.back();
        gadgets_.pop_back();
        g->window_ = nullptr;
        delete g;
    }
}

void TGadgetWindow::Insert(TGadget& gadget, TPlacement placement, TGadget* sibling)
{
    if (gadget.window_) gadget.window_->Remove(gadget);
    auto it = sibling ? std::find(gadgets_.begin(), gadgets_.end(), sibling) : gadgets_.end();
    if (it == gadgets_.end()) it = placement == Before ? gadgets_.begin() : gadgets_.end();
    else if (placement == After) ++it;
    gadgets_.insert(it, &gadget);
    gadget.window_ = this;
    gadget.Inserted();
}

TGadget* TGadgetWindow::Remove(TGadget& gadget)
{
    auto it = std::find(gadgets_.begin(), gadgets_.end(), &gadget);
    if (it == gadgets_.end()) return nullptr;
    gadgets_.erase(it);
    if (captured_ == &gadget) captured_ = nullptr;
    if (under_ == &gadget) under_ = nullptr;
    gadget.Removed();
    gadget.window_ = nullptr;
    Invalidate();
    return &gadget;
}

TGadget* TGadgetWindow::NextGadget(const TGadget& g) const
{
    auto it = std::find(gadgets_.begin(), gadgets_.end(), &g);
    if (it == gadgets_.end() || ++it == gadgets_.end()) return nullptr;
    return *it;
}

TGadget* TGadgetWindow::GadgetWithId(int id) const
{
    for (TGadget* g : gadgets_)
        if (g->GetId() == id) return g;
    return nullptr;
}

TGadget* TGadgetWindow::GadgetFromPoint(const TPoint& p) const
{
    for (TGadget* g : gadgets_)
        if (g->GetBounds().Contains(p)) return g;
    return nullptr;
}

bool TGadgetWindow::Contains(const TGadget& g) const
{
    return std::find(gadgets_.begin(), gadgets_.end(), &g) != gadgets_.end();
}

TWindow* TGadgetWindow::GetCommandReceiver() const { return GetParent(); }

int TGadgetWindow::TextWidth(const std::string& text) const
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    TDC dc(scratch);
    dc.SelectObject(font_);
    return dc.GetTextExtent(text).cx;
}

int TGadgetWindow::GetThickness()
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    TDC dc(scratch);
    dc.SelectObject(font_);
    int t = 0;
    for (TGadget* g : gadgets_) {
        TSize s = g->GetDesiredSize(dc);
        t = std::max(t, direction_ == Horizontal ? s.cy : s.cx);
    }
    if (t == 0) t = dc.GetTextExtent("M").cy + 4;
    return t + 2 * Margin();
}

void TGadgetWindow::LayoutSession()
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    TDC dc(scratch);
    dc.SelectObject(font_);
    const int thick = GetThickness();
    TRect client = GetClientRect();
    const int length = direction_ == Horizontal ? client.Width() : client.Height();
    std::vector<TSize> sizes;
    int used = Margin();
    for (TGadget* g : gadgets_) {
        sizes.push_back(g->GetDesiredSize(dc));
        used += (direction_ == Horizontal ? sizes.back().cx : sizes.back().cy) + 1;
    }
    int spare = length - used - Margin();
    int pos = Margin();
    for (std::size_t i = 0; i < gadgets_.size(); ++i) {
        TGadget* g = gadgets_[i];
        int extent = direction_ == Horizontal ? sizes[i].cx : sizes[i].cy;
        if (g->WideAsPossible) {
            // It takes what the others leave, more or less than it asks for: a long text (the
            // status line's method name) is cut there rather than push the others off the bar.
            extent = std::max(0, extent + spare);
            spare = 0;
        }
        if (direction_ == Horizontal) g->SetBounds(TRect(pos, Margin(), pos + extent, thick - Margin()));
        else g->SetBounds(TRect(Margin(), pos, thick - Margin(), pos + extent));
        pos += extent + 1;
    }
    if (QWidget* w = Widget()) {
        if (direction_ == Horizontal) w->setFixedHeight(thick);
        else w->setFixedWidth(thick);
    }
    Invalidate();
}

void TGadgetWindow::GadgetInvalidated(const TGadget& g) { InvalidateRect(g.GetBounds(), false); }

bool TGadgetWindow::IdleAction(long)
{
    for (TGadget* g : std::vector<TGadget*>(gadgets_))
        if (Contains(*g)) g->CommandEnable();
    return false;
}

namespace {
// The bar's tool tips (when the mouse rests on a gadget, or on a control placed in the bar) and
// the end of its status-bar hint when the mouse leaves the bar.
// The filter lives with the widget, which Qt may delete only after the bar has gone (events
// posted to it still arrive); the window layer detaches it when the bar lets the widget go.
class TBarTipFilter : public QObject, public TWindowLink {
public:
    TBarTipFilter(QObject* parent, TGadgetWindow* bar) : QObject(parent), bar_(bar) {}

    void Detach() override { bar_ = nullptr; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || !bar_ || !bar_->Widget()) return false;
        if (e->type() == QEvent::Leave && w == bar_->Widget()) {
            bar_->MouseLeft();
            return false;
        }
        if (e->type() == QEvent::Enter || e->type() == QEvent::MouseMove) {
            // The toolkit shows tips only in the active window; the bars' tips show while any
            // of the program's windows is active (the designer's attribute window, a tool
            // window), and not while another program is.
            if (QWidget* top = w->window())
                top->setAttribute(Qt::WA_AlwaysShowToolTips, QApplication::activeWindow() != nullptr);
            return false;
        }
        if (e->type() != QEvent::ToolTip) return false;
        auto* h = static_cast<QHelpEvent*>(e);
        const QPoint at = w->mapTo(bar_->Widget(), h->pos());
        const std::string tip = bar_->ToolTipAt(TPoint(at.x(), at.y()));
        if (tip.empty()) QToolTip::hideText();
        else QToolTip::showText(h->globalPos(), QString::fromStdString(tip), w);
        return true;
    }

private:
    TGadgetWindow* bar_;
};
}  // namespace

void TGadgetWindow::MouseLeft() { SetUnder(nullptr); }

void TGadgetWindow::SetupWindow()
{
    TWindow::SetupWindow();
    if (Widget()) {
        Widget()->installEventFilter(new TBarTipFilter(Widget(), this));
        // The gadget under a resting mouse shows its hint, so the bar follows the mouse.
        Widget()->setMouseTracking(true);
    }
    // A bar's buttons act on the window that has the keyboard; a click on them must not take
    // it away (an edit would end its entry before the button's command arrives).
    if (Widget()) Widget()->setFocusPolicy(Qt::NoFocus);
    for (TGadget* g : gadgets_) g->Inserted();
    LayoutSession();
}

void TGadgetWindow::EvSize(unsigned, const TSize&) { LayoutSession(); }

void TGadgetWindow::Paint(TDC& dc, bool, TRect&)
{
    TRect rc = GetClientRect();
    dc.FillRect(rc, TBrush(FaceColor()));
    PaintGadgets(dc);
}

void TGadgetWindow::PaintGadgets(TDC& dc)
{
    dc.SelectObject(font_);
    for (TGadget* g : gadgets_) g->Paint(dc);
    dc.RestoreFont();
}

void TGadgetWindow::EvLButtonDown(unsigned, const TPoint& p)
{
    captured_ = GadgetFromPoint(p);
    if (captured_) {
        SetCapture();
        captured_->LButtonDown(p);
    }
}

void TGadgetWindow::EvLButtonUp(unsigned, const TPoint& p)
{
    TGadget* g = captured_;
    captured_ = nullptr;
    if (GetCapture() == this) ReleaseCapture();
    if (g) g->LButtonUp(p);
}

void TGadgetWindow::EvMouseMove(unsigned, const TPoint& p) { SetUnder(GadgetFromPoint(p)); }

void TGadgetWindow::SetUnder(TGadget* g)
{
    if (g == under_) return;
    if (under_) under_->MouseLeave();
    under_ = g;
    if (under_) under_->MouseEnter();
    // The status bar explains the gadget under the mouse.
    if (auto* frame = TDecoratedFrame::FrameOf(*this)) frame->SetHintCommand(under_ ? under_->GetId() : 0);
}

std::string TGadgetWindow::ToolTipAt(const TPoint& p) const
{
    TGadget* g = GadgetFromPoint(p);
    if (!g || g->GetId() <= 0 || g->GetId() >= 0x7FFF) return {};
    const char* text = FindResString(g->GetId());
    return text ? CutUtf8(ToolTipPart(text), 127) : std::string();
}

// --- bars ----------------------------------------------------------------------------------

TControlBar::TControlBar(TWindow* parent, TTileDirection direction, const TFont& font)
    : TGadgetWindow(parent, direction, font)
{
}

TStatusBar::TStatusBar(TWindow* parent, TGadget::TBorderStyle border, unsigned modeIndicators, const TFont& font)
    : TGadgetWindow(parent, Horizontal, font)
{
    textGadget_ = new TTextGadget(0, border, TTextGadget::Left, 0);
    textGadget_->WideAsPossible = true;
    Insert(*textGadget_);
    if (modeIndicators & CapsLock) Insert(*new TTextGadget(0, border, TTextGadget::Center, 5, "CAPS"));
    if (modeIndicators & NumLock) Insert(*new TTextGadget(0, border, TTextGadget::Center, 5, "NUM"));
}

void TStatusBar::SetText(const std::string& text) { textGadget_->SetText(text); }

std::string TStatusBar::GetText() const { return textGadget_->GetText(); }

}  // namespace vyn
