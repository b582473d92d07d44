#include "app/PlatePlaceholderView.h"

#include <algorithm>

#include "platform/gui/Dc.h"

namespace vyn {

PlatePlaceholderView::PlatePlaceholderView(QDoc& doc) : TWindow(nullptr), TView(doc) {}

bool PlatePlaceholderView::VnNotify(int, long)
{
    Invalidate();
    return true;
}

void PlatePlaceholderView::Paint(TDC& dc, bool, TRect&)
{
    const QPlate& plate = GetQDoc().GetPlate();
    TRect rc = GetClientRect();
    dc.FillRect(rc, TBrush(TColor(255, 255, 255)));
    dc.SelectObject(TFont("Arial", -13));
    dc.SetBkMode(1);
    dc.SetTextColor(TColor(0, 0, 0));
    dc.TextOut(8, 6, plate.methodName.empty() ? std::string("(no method)") : plate.methodName);
    const int cols = std::max(1, plate.columns), rows = std::max(1, plate.rows);
    const int top = 30, left = 30;
    const int cw = std::max(36, (rc.Width() - left - 8) / cols), ch = std::max(20, (rc.Height() - top - 8) / (rows + 1));
    dc.SelectObject(TPen(TColor(160, 160, 160)));
    for (int c = 0; c < plate.columns; ++c) {
        TRect head(left + c * cw, top, left + (c + 1) * cw, top + ch);
        dc.DrawText(std::to_string(c + 1), head, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
    for (int r = 0; r < plate.rows; ++r) {
        TRect head(0, top + (r + 1) * ch, left, top + (r + 2) * ch);
        dc.DrawText(std::string(1, static_cast<char>('A' + r)), head, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        for (int c = 0; c < plate.columns; ++c) {
            const int well = r * plate.columns + c;
            TRect cell(left + c * cw, top + (r + 1) * ch, left + (c + 1) * cw + 1, top + (r + 2) * ch + 1);
            dc.Rectangle(cell);
            TRect in(cell.left + 2, cell.top, cell.right - 3, cell.bottom);
            dc.DrawText(plate.FormatData(well), in, DT_SINGLELINE | DT_RIGHT | DT_VCENTER);
        }
    }
    dc.RestoreObjects();
}

}  // namespace vyn
