#pragma once
// QOperWin: the expression wizard's row of operator characters. It behaves like a strip of
// push buttons: pressing a cell and releasing the mouse on a cell sends that cell's character
// to the parent as command 106 with the notification code 0xAB00 | character.
#include <string>

#include "platform/gui/Control.h"

namespace vyn {

class QOperWin : public TControl {
public:
    static constexpr unsigned kCharCode = 0xAB00;
    static constexpr std::size_t kMaxChars = 31;

    // Takes the place of the dialog's template control resourceId; keeps at most 31 characters.
    QOperWin(TWindow* parent, int resourceId, const std::string& characters);

    int Count() const { return static_cast<int>(chars_.size()); }
    const std::string& Characters() const { return chars_; }
    int HotCell() const { return hot_; }
    bool IsPressed() const { return pressed_; }
    // The cell under a client point, -1 for none.
    int CellAt(TPoint p) const;
    TRect CellRect(int cell) const;
    // The hot cell follows the point while on; off clears it.
    void TrackMouse(bool on, const TPoint& p);

protected:
    QWidget* MakeControl(QWidget* parentWidget) override;
    std::string WidgetText() const override { return text_; }
    void SetWidgetText(const std::string& text) override { text_ = text; }
    void Paint(TDC& dc, bool erase, TRect& rect) override;
    void EvSize(unsigned sizeType, const TSize& size) override;
    void EvLButtonDown(unsigned modKeys, const TPoint& p) override;
    void EvLButtonUp(unsigned modKeys, const TPoint& p) override;
    void EvMouseMove(unsigned modKeys, const TPoint& p) override;

private:
    void TakeSize() const;

    std::string chars_;
    mutable int width_ = 0, height_ = 0;
    int hot_ = -1;
    bool pressed_ = false;
};

}  // namespace vyn
