#pragma once
// Gadgets: the pieces a gadget window (tool bar, status bar) lays out in a row or a column and
// paints itself: separators, text fields, picture buttons and controls.
#include <string>

#include "platform/core/Geometry.h"
#include "platform/gui/Gdi.h"

namespace vyn {

class TDC;
class TGadgetWindow;
class TWindow;

class TGadget {
public:
    enum TBorderStyle { None, Plain, Raised, Recessed, Embossed };

    explicit TGadget(int id = 0, TBorderStyle border = None);
    virtual ~TGadget();
    TGadget(const TGadget&) = delete;
    TGadget& operator=(const TGadget&) = delete;

    int GetId() const { return id_; }
    TGadgetWindow* GetGadgetWindow() const { return window_; }
    const TRect& GetBounds() const { return bounds_; }
    virtual void SetBounds(const TRect& r) { bounds_ = r; }
    TBorderStyle GetBorderStyle() const { return border_; }
    bool GetEnabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    // The size the gadget wants in its window, borders included.
    virtual TSize GetDesiredSize(TDC& dc);
    virtual void Paint(TDC& dc);
    // Asked at idle to bring its state in line with its command.
    virtual void CommandEnable() {}

    virtual void LButtonDown(const TPoint& p);
    virtual void LButtonUp(const TPoint& p);
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}

    // Repaints the gadget's part of its window.
    void Invalidate();
    void Update();

    // Takes the rest of the row (a status bar's text field).
    bool WideAsPossible = false;

protected:
    friend class TGadgetWindow;
    virtual void Inserted() {}
    virtual void Removed() {}
    void PaintBorder(TDC& dc) const;
    TRect InnerRect() const;
    int BorderWidth() const { return border_ == None ? 0 : (border_ == Plain ? 1 : 2); }

    int id_;
    TBorderStyle border_;
    TRect bounds_;
    bool enabled_ = true;
    TGadgetWindow* window_ = nullptr;
};

// Empty space between groups of gadgets.
class TSeparatorGadget : public TGadget {
public:
    explicit TSeparatorGadget(int size = 6);
    TSize GetDesiredSize(TDC& dc) override;
    void Paint(TDC&) override {}

private:
    int size_;
};

// A text field of a fixed number of characters (0: as wide as its text).
class TTextGadget : public TGadget {
public:
    enum TAlign { Left, Center, Right };
    TTextGadget(int id = 0, TBorderStyle border = Recessed, TAlign align = Left, int numChars = 10,
                const std::string& text = {});
    const std::string& GetText() const { return text_; }
    virtual void SetText(const std::string& text);
    TSize GetDesiredSize(TDC& dc) override;
    void Paint(TDC& dc) override;

protected:
    // Fills the inside before the text is drawn; the button face by default.
    virtual void PaintBackground(TDC& dc, const TRect& inner);

    std::string text_;
    TAlign align_;
    int numChars_;
};

// A button with a picture from the bitmap resources that sends its command when clicked.
class TButtonGadget : public TGadget {
public:
    enum TType { Command, Exclusive, NonExclusive };
    enum TState { Up, Down, Indeterminate };

    TButtonGadget(int bmpResId, int commandId, TType type = Command, bool enabled = false,
                  TState state = Up, bool repeat = false);

    int GetCommandId() const { return id_; }
    TState GetButtonState() const { return state_; }
    void SetButtonState(TState s);
    int GetResId() const { return resId_; }
    const TBitmap& GetGlyph() const { return glyph_; }

    TSize GetDesiredSize(TDC& dc) override;
    void Paint(TDC& dc) override;
    void CommandEnable() override;
    void LButtonDown(const TPoint& p) override;
    void LButtonUp(const TPoint& p) override;

protected:
    void SetResId(int resId);
    void SetId(int id) { id_ = id; }
    // Loads the picture of the current resource; derived buttons draw over it.
    virtual void BuildGlyph();
    void Inserted() override;

    int resId_;
    TType type_;
    TState state_;
    bool pressed_ = false;
    TBitmap glyph_;
};

// A child control (an edit, a combo box) placed in a gadget window.
class TControlGadget : public TGadget {
public:
    explicit TControlGadget(TWindow& control, TBorderStyle border = None);
    ~TControlGadget() override;
    TWindow& GetControl() const { return *control_; }
    TSize GetDesiredSize(TDC& dc) override;
    void SetBounds(const TRect& r) override;
    void Paint(TDC&) override {}

protected:
    void Inserted() override;
    void Removed() override;
    TWindow* control_;
};

}  // namespace vyn
