#pragma once
// QDescLst: the owner-drawn list of the sample-name descriptors of one kind in "Sample Names".
// One row per descriptor and one empty last row that stands for a new descriptor. A row shows
// a square (filled when a well uses the descriptor), the sign of a standard or quantitative
// descriptor and the short name in the descriptor's colour.
#include <vector>

#include "platform/gui/ControlListBox.h"
#include "plate/QDesc.h"

namespace vyn {

class QDescLst : public TListBox {
public:
    // The list is not owned; the dialog keeps it and tells the list box of every change.
    QDescLst(TWindow* parent, int resourceId, std::vector<QDesc*>* descs);

    // The descriptor of the selected row, or none on the new-descriptor row or without a
    // selection; the row (-1 for none) goes to index when asked.
    QDesc* GetSelected(int* index = nullptr) const;

    void DrawItem(TDrawItem& item) override;

protected:
    void SetupWindow() override;
    void Paint(TDC& dc, bool erase, TRect& rect) override;

private:
    std::vector<QDesc*>* descs_;
    bool measure_ = true;  // the unit width is taken at the first drawing, in the list's font
    int unit_ = 0;
};

}  // namespace vyn
