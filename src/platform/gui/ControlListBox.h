#pragma once
// TListBox: the single-selection list box. A selection the user makes reaches the parent as
// LBN_SELCHANGE, a double click as LBN_DBLCLK; selections made by program calls are silent.
// With the SORT style, added items take their place in case-insensitive order.
#include <string>
#include <vector>

#include "platform/gui/Control.h"

namespace vyn {

inline constexpr int LB_ERR = -1;

class TListBox : public TControl {
public:
    using TControl::TControl;

    int AddString(const std::string& text);  // the index it got
    int GetCount() const { return static_cast<int>(items_.size()); }
    void ClearList();
    std::string GetString(int index) const;
    int GetSelIndex() const { return sel_; }
    int SetSelIndex(int index);  // outside the list: no selection, LB_ERR
    // The first item after start (-1: from the beginning) equal to the text without regard to case.
    int FindStringExact(const std::string& text, int start = -1) const;

    // As the user does it: selects the item and tells the parent; a double click follows.
    void UserSelect(int index);
    void UserDoubleClick(int index);

protected:
    QWidget* MakeControl(QWidget* parentWidget) override;
    std::string WidgetText() const override;
    void SetWidgetText(const std::string&) override {}

private:
    void Refill();
    std::vector<std::string> items_;
    int sel_ = -1;
    bool programSelect_ = false;
};

}  // namespace vyn
