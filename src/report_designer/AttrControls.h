#pragma once
// The attribute editor's small windows: the shared value edit and choice list that a row
// places over itself while it is edited, the drop and dialog buttons, the colour swatch, the
// header and status strips, and the floating attribute window that holds them all.
#include <string>

#include "platform/gui/ControlEdit.h"
#include "platform/gui/ControlListBox.h"
#include "platform/gui/Gdi.h"
#include "platform/gui/Window.h"
#include "report_designer/AttrGlobals.h"

namespace vyn {

class TDC;

// A frame of two lines in each pen: bottom and right in the first, top and left in the second;
// d = 0 on the rectangle's outermost pixels, 1 one pixel outside, -1 one inside.
void Frame3D(TDC& dc, const TRect& r, int d, const TPen& bottomRight, const TPen& topLeft);

// The value edit. In typing mode keys are the edit's own; in choice mode printable characters
// are not inserted but reported to the row (11110). The editing keys become the editor's
// navigation commands.
class QRAttrEdit : public TEdit, public QRAttrGlobals {
public:
    explicit QRAttrEdit(TWindow* parent);
    // The clipboard commands on the typed text, so the designer does not act on its objects.
    void EditCommand(unsigned id);

    bool wizardOpen = false;
    int choiceMode = 0;
    int lastChar = ' ';

protected:
    unsigned EvGetDlgCode(const TMsg* msg) override;
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;
    void EvChar(unsigned ch, unsigned repeatCount, unsigned flags) override;
    void EvContextMenu(TWindow* window, int x, int y) override;
};

// The choice list dropped below the edited row.
class QRAttrList : public TListBox, public QRAttrGlobals {
public:
    explicit QRAttrList(TWindow* parent);
    int lastChar = ' ';

protected:
    unsigned EvGetDlgCode(const TMsg* msg) override;
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;
    void EvChar(unsigned ch, unsigned repeatCount, unsigned flags) override;
    void EvLButtonUp(unsigned modKeys, const TPoint& p) override;
};

// The drop button (down arrow, 11103) and the dialog button (three dots, 11104).
class QRAttrButt : public TWindow, public QRAttrGlobals {
public:
    enum { glyphDots = 0, glyphArrow = 1 };
    QRAttrButt(TWindow* parent, int id);
    int glyph = glyphDots;
    // Draws the button into a rectangle, as the framework's owner draw would.
    void DrawItem(TDC& dc, const TRect& r, bool pressed, bool focused) const;

protected:
    void Paint(TDC& dc, bool erase, TRect& rect) override;
    unsigned EvGetDlgCode(const TMsg* msg) override;
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;
    void EvChar(unsigned ch, unsigned repeatCount, unsigned flags) override;
    void EvLButtonDown(unsigned modKeys, const TPoint& p) override;
    void EvLButtonUp(unsigned modKeys, const TPoint& p) override;
    void EvLButtonDblClk(unsigned modKeys, const TPoint& p) override;
    void EvSetFocus(TWindow* lost) override;
    void EvKillFocus(TWindow* gets) override;

private:
    bool pressed_ = false;
};

// The colour swatch: one colour, or a white field with a cross when there is none.
class QRAttrClr : public TWindow, public QRAttrGlobals {
public:
    explicit QRAttrClr(TWindow* parent);
    void SetColor(int colour);
    int GetColor() const { return color_; }
    int Repaints() const { return repaints_; }

protected:
    void Paint(TDC& dc, bool erase, TRect& rect) override;

private:
    int color_ = -1;
    int repaints_ = 0;
};

// The strip above the rows that names the attribute target.
class QRAttrHd : public TWindow, public QRAttrGlobals {
public:
    explicit QRAttrHd(TWindow* parent) : TWindow(parent) {}
    void SetTitle(const std::string& text);
    const std::string& Title() const { return title_; }

protected:
    void Paint(TDC& dc, bool erase, TRect& rect) override;

private:
    std::string title_;
};

// The strip below the rows with the hint of the edited row.
class QRattrStat : public TWindow, public QRAttrGlobals {
public:
    explicit QRattrStat(TWindow* parent) : TWindow(parent) {}
    void SetText(const std::string& text);
    void Clear() { SetText(std::string()); }
    const std::string& Text() const { return text_; }
    static TRect TextRect(const TRect& r);

protected:
    void Paint(TDC& dc, bool erase, TRect& rect) override;

private:
    std::string text_;
};

// The floating attribute window: header, rows and status one below the other.
class QRAttrFrame : public TWindow, public QRAttrGlobals {
public:
    explicit QRAttrFrame(TWindow* parent);
    ~QRAttrFrame() override;
    // Shows or hides the window; the row pane rebuilds when it is shown.
    void Show(bool show, bool activate);
    void Layout();
    static inline bool firstShow = true;

protected:
    void SetupWindow() override;
    void EvSize(unsigned sizeType, const TSize& size) override;
    void EvGetMinMaxInfo(TMinMaxInfo& info) override;
    void EvClose() override;
    // Activating the window starts editing the current row; leaving it drops what was typed.
    void EvActivate(unsigned active, bool minimized, TWindow* other) override;
};

}  // namespace vyn
