#pragma once
// QVarList: the list of a definition array that its owner edits through an in-place edit below
// it. In names mode every row shows a named expression as "name = expression" with the name
// drawn as a button that renames; in numbers mode a row shows a number after its row letter
// ("a.", "b.", ...). After the last element there is always one empty row for a new entry.
//
// The list never changes the array: it reports what the user did to its parent as command
// notifications (its id and one of the codes below); the parent changes the array and then
// tells the list which row it inserted, deleted or changed.
#include <string>
#include <vector>

#include "platform/core/Geometry.h"
#include "platform/gui/Control.h"
#include "plate/twostr.h"

namespace vyn {

// Asked of the parent for every character typed on the list: the character in the low word and
// the selected row in the high word, the list itself as second parameter. The answer -2 means
// the parent handled it, -1 the list's own handling.
inline constexpr unsigned kVarListCharToItem = 0x002F;

class QVarList : public TControl {
public:
    enum Notification : unsigned {
        vlSelChange = 1, vlDblClk = 2, vlRightClick = 101, vlNameClick = 102,
        vlF2 = 103, vlCtrlEnter = 104, vlInsert = 105, vlDelete = 106,
    };
    enum State { stInactive = 0, stIdle = 1, stRowPress = 2, stNameIn = 3, stNameOut = 4, stRightPress = 5 };

    // Numbers mode exactly when numbers is given.
    QVarList(TWindow* parent, int resourceId, TColor nameColor, std::vector<double>* numbers, TwostrArray* definitions);

    bool IsNumbersMode() const { return numbersMode_; }
    int GetState() const { return state_; }
    int ElementCount() const;
    int GetCount() const { return rows_; }
    int GetSelIndex() const { return sel_; }
    // As the program selects: silent. Outside the rows: no selection.
    int SetSelIndex(int index);
    // The selected row is an element, not the new-entry row.
    bool HasElementSelected() const { return sel_ >= 0 && sel_ < ElementCount(); }

    void Activate(bool on);
    void Refill();
    void InsertRow();
    void DeleteRow();
    // After the owner removed the selected element: the same as DeleteRow.
    void MoveDown() { DeleteRow(); }
    void RedrawSelected();
    void SelectLast();
    // Tells the parent again that the selection changed, so its edit reloads; beeps without one.
    void ReselectCurrent();

    int RowHeight() const { return rowHeight_; }
    int TopIndex() const { return top_; }
    TRect RowRect(int row) const;
    // The selected row's name button (names mode, an element selected), else empty.
    TRect NameCell() const { return nameCell_; }
    TRect NameHit() const { return nameHit_; }
    // The label of a row in numbers mode.
    static std::string RowLabel(int row);

protected:
    QWidget* MakeControl(QWidget* parentWidget) override;
    std::string WidgetText() const override { return {}; }
    void SetWidgetText(const std::string&) override {}
    void SetupWindow() override;
    void Paint(TDC& dc, bool erase, TRect& rect) override;
    void EvSize(unsigned sizeType, const TSize& size) override;
    unsigned EvGetDlgCode(const TMsg* msg) override;
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;
    void EvChar(unsigned ch, unsigned repeatCount, unsigned flags) override;
    void EvSetFocus(TWindow* lost) override;
    void EvKillFocus(TWindow* gets) override;
    void EvLButtonDown(unsigned modKeys, const TPoint& p) override;
    void EvLButtonUp(unsigned modKeys, const TPoint& p) override;
    void EvLButtonDblClk(unsigned modKeys, const TPoint& p) override;
    void EvRButtonDown(unsigned modKeys, const TPoint& p) override;
    void EvRButtonUp(unsigned modKeys, const TPoint& p) override;
    void EvMouseMove(unsigned modKeys, const TPoint& p) override;
    void EvVScroll(unsigned code, unsigned pos, TWindow* control) override;

private:
    void Send(unsigned code);
    int RowAt(const TPoint& p) const;
    // The list box's own selection by the user: scrolls it into view and tells the parent.
    void UserSelect(int row);
    void EnsureVisible(int row);
    int VisibleRows() const;
    void UpdateScroll();
    void InvalidateRow(int row);
    void FindNameCell();
    int NameCellWidth(TDC& dc, int row) const;
    void DrawRow(TDC& dc, int row, const TRect& r);

    bool numbersMode_;
    std::vector<double>* numbers_;
    TwostrArray* definitions_;
    TColor nameColor_;
    int state_ = stInactive;
    TRect nameCell_, nameHit_;
    int rows_ = 0;
    int sel_ = -1;
    int top_ = 0;
    int rowHeight_ = 17;
};

}  // namespace vyn
