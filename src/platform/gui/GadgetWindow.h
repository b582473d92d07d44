#pragma once
// Gadget windows: a window that lays its gadgets out in a row (horizontal) or a column
// (vertical), paints them, gives them the mouse, and asks their command enablers at idle.
// Tool bars (TControlBar) and the status bar (TStatusBar) are gadget windows. A gadget window
// owns the gadgets it holds when it is destroyed; Remove hands a gadget back to its owner.
#include <string>
#include <vector>

#include "platform/gui/Gadget.h"
#include "platform/gui/Gdi.h"
#include "platform/gui/Window.h"

namespace vyn {

class TGadgetWindow : public TWindow {
public:
    enum TTileDirection { Horizontal, Vertical };
    enum TPlacement { Before, After };

    TGadgetWindow(TWindow* parent, TTileDirection direction, const TFont& font);
    ~TGadgetWindow() override;

    TTileDirection GetDirection() const { return direction_; }
    const TFont& GetFont() const { return font_; }

    // Puts the gadget before or after the sibling (none: at the start or the end).
    void Insert(TGadget& gadget, TPlacement placement = After, TGadget* sibling = nullptr);
    // Takes the gadget out without deleting it; nullptr when it is not here.
    TGadget* Remove(TGadget& gadget);
    const std::vector<TGadget*>& Gadgets() const { return gadgets_; }
    int GadgetCount() const { return static_cast<int>(gadgets_.size()); }
    TGadget* FirstGadget() const { return gadgets_.empty() ? nullptr : gadgets_.front(); }
    TGadget* NextGadget(const TGadget& g) const;
    TGadget* GadgetWithId(int id) const;
    TGadget* GadgetFromPoint(const TPoint& p) const;
    bool Contains(const TGadget& g) const;

    // Lays the gadgets out again after gadgets were added, removed or resized.
    virtual void LayoutSession();
    // The width (vertical) or height (horizontal) the window takes in its frame.
    int GetThickness();
    // The width of a text in the window's font.
    int TextWidth(const std::string& text) const;

    // Where button commands and enablers go (RouteCommand, RouteCommandEnable): the frame that
    // holds the bar, which gives them to the focus window and the active view first.
    TWindow* GetCommandReceiver() const;
    void GadgetInvalidated(const TGadget& g);
    // Asks every gadget's enabler; called by the frame at idle.
    virtual bool IdleAction(long idleCount);
    // The tool tip of the gadget at the point: its command's string-table text (none for ids
    // 0 and 32767 and above).
    std::string ToolTipAt(const TPoint& p) const;
    // The mouse left the window: no gadget is under it any more.
    void MouseLeft();
    // Button face, text colour: what gadgets paint with.
    static TColor FaceColor() { return TColor(192, 192, 192); }

protected:
    void SetupWindow() override;
    void Paint(TDC& dc, bool erase, TRect& rect) override;
    void EvSize(unsigned sizeType, const TSize& size) override;
    void EvLButtonDown(unsigned modKeys, const TPoint& p) override;
    void EvLButtonUp(unsigned modKeys, const TPoint& p) override;
    void EvMouseMove(unsigned modKeys, const TPoint& p) override;
    // Paints the gadgets (the status bar's busy strip replaces this).
    virtual void PaintGadgets(TDC& dc);
    int Margin() const { return 2; }

private:
    void SetUnder(TGadget* g);
    TTileDirection direction_;
    TFont font_;
    std::vector<TGadget*> gadgets_;
    TGadget* captured_ = nullptr;
    TGadget* under_ = nullptr;
};

// A tool bar docked at an edge of a decorated frame.
class TControlBar : public TGadgetWindow {
public:
    explicit TControlBar(TWindow* parent, TTileDirection direction = Horizontal, const TFont& font = TFont());
};

// The status bar: a text field as wide as possible, then the mode indicators, then any
// gadgets inserted later.
class TStatusBar : public TGadgetWindow {
public:
    enum TModeIndicator { CapsLock = 1, NumLock = 2 };
    TStatusBar(TWindow* parent, TGadget::TBorderStyle border, unsigned modeIndicators, const TFont& font);

    void SetText(const std::string& text);
    std::string GetText() const;

protected:
    TTextGadget* textGadget_;
};

}  // namespace vyn
