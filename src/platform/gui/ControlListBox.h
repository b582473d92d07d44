#pragma once
// TListBox: the single-selection list box. A selection the user makes reaches the parent as
// LBN_SELCHANGE, a double click as LBN_DBLCLK; selections made by program calls are silent.
// With the SORT style, added items take their place in case-insensitive order.
//
// With the OWNERDRAWFIXED style the owner draws every row through a TDC (DrawItem) in rows of
// one height (MeasureItem, asked once when the window is set up), and every item may carry a
// value of its own. Such a list also asks its parent about keys before it acts on them:
// WM_VKEYTOITEM for a key, WM_CHARTOITEM for a character (key or character in the low word,
// the selected row in the high word, the list as second parameter); the answer -1 lets the list
// handle it, -2 says the parent did, and a row index selects that row.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gui/Control.h"
#include "platform/gui/ControlList.h"

namespace vyn {

inline constexpr int LB_ERR = -1;

class TListBox : public TControl {
public:
    using TControl::TControl;

    bool IsOwnerDrawn() const { return (style_ & (dlgstyle::OWNERDRAWFIXED | dlgstyle::OWNERDRAW)) != 0; }

    int AddString(const std::string& text);  // the index it got
    // Inserts before the index (-1 or past the end: at the end); the index it got.
    int InsertString(const std::string& text, int index);
    // Removes the item; the count left, or LB_ERR for an index outside the list.
    int DeleteString(int index);
    int GetCount() const { return static_cast<int>(items_.size()); }
    void ClearList();
    std::string GetString(int index) const;
    std::uintptr_t GetItemData(int index) const;
    void SetItemData(int index, std::uintptr_t data);
    int GetSelIndex() const { return sel_; }
    int SetSelIndex(int index);  // outside the list: no selection, LB_ERR
    // The first item after start (-1: from the beginning) equal to the text without regard to case.
    int FindStringExact(const std::string& text, int start = -1) const;

    // Owner-drawn rows: their height, the first one shown and where a row is drawn.
    int GetItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height);
    int GetTopIndex() const { return top_; }
    TRect GetItemRect(int index) const;
    // Draws the row again (owner-drawn lists).
    void RedrawItem(int index);
    // The current row, which carries the focus mark while the list has the focus: the selected
    // row, or with none selected the row last selected (the first one at the start); -1 for an
    // empty list.
    int CaretRow() const;

    // As the user does it: selects the item and tells the parent; a double click follows.
    void UserSelect(int index);
    void UserDoubleClick(int index);

    // The owner's part of an owner-drawn list. The base draws the item's text.
    virtual void DrawItem(TDrawItem& item);
    virtual void MeasureItem(TMeasureItem& item);

protected:
    QWidget* MakeControl(QWidget* parentWidget) override;
    std::string WidgetText() const override;
    void SetWidgetText(const std::string&) override {}

    void SetupWindow() override;
    void Paint(TDC& dc, bool erase, TRect& rect) override;
    unsigned EvGetDlgCode(const TMsg* msg) override;
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;
    void EvChar(unsigned ch, unsigned repeatCount, unsigned flags) override;
    void EvSetFocus(TWindow* lost) override;
    void EvKillFocus(TWindow* gets) override;
    void EvLButtonDown(unsigned modKeys, const TPoint& p) override;
    void EvLButtonDblClk(unsigned modKeys, const TPoint& p) override;
    void EvVScroll(unsigned code, unsigned pos, TWindow* control) override;
    void EvSize(unsigned sizeType, const TSize& size) override;

private:
    void Refill();
    // Owner-drawn rows.
    int RowAt(const TPoint& p) const;
    int VisibleRows() const;
    void UpdateScroll();
    void EnsureVisible(int row);
    void InvalidateRow(int row);
    // Selects as the user does, from a key or the mouse: tells the parent when it changed.
    void SelectFromUser(int row);
    // Asks the parent about a key or character; true when the parent handled it.
    bool AskParent(unsigned msg, unsigned code);

    std::vector<std::string> items_;
    std::vector<std::uintptr_t> data_;
    int sel_ = -1;
    int caret_ = 0;
    int top_ = 0;
    int itemHeight_ = 0;  // 0 until measured
    bool programSelect_ = false;
};

}  // namespace vyn
