#pragma once
// QSheetTabs: the row of tabs at the top of the method property sheet. A click on a tab (or
// Left and Right while it has the focus) selects it and tells the parent with the code
// kSelChange; a selection made by the program is silent.
#include <string>
#include <vector>

#include "platform/gui/Control.h"

namespace vyn {

class QSheetTabs : public TControl {
public:
    static constexpr unsigned kSelChange = 1;

    QSheetTabs(TWindow* parent, int resourceId);

    void SetTabs(const std::vector<std::string>& titles);
    int GetCount() const { return static_cast<int>(titles_.size()); }
    int GetSel() const { return sel_; }
    void SetSel(int index);
    // As the user clicks the tab.
    void UserSelect(int index);
    TRect TabRect(int index) const;

protected:
    QWidget* MakeControl(QWidget* parentWidget) override;
    std::string WidgetText() const override { return {}; }
    void SetWidgetText(const std::string&) override {}
    void Paint(TDC& dc, bool erase, TRect& rect) override;
    void EvLButtonDown(unsigned modKeys, const TPoint& p) override;
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;
    void EvSetFocus(TWindow* lost) override;
    void EvKillFocus(TWindow* gets) override;

private:
    std::vector<std::string> titles_;
    std::vector<int> widths_;
    int sel_ = -1;
};

}  // namespace vyn
