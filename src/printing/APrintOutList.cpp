#include "printing/APrintOutList.h"

#include <algorithm>

#include "platform/gui/Dc.h"

namespace vyn {

void APrintOutList::Paginate()
{
    if (DC) lineHeight += DC->GetTextMetrics().tmHeight / 2;  // rows stand 1.5 characters apart
    const int L = std::max(1, lineHeight);
    rowsFirst = std::max(0, (pageRect.Height() - (headerHeight + footerHeight + infoHeight)) / L);
    rowsLater = std::max(1, (pageRect.Height() - (headerHeight + footerHeight)) / L);
    int remaining = rowCount + (HasSeparator() ? 1 : 0) - rowsFirst;
    pageCount = 1;
    while (remaining > 0) {
        ++pageCount;
        remaining -= rowsLater;
    }
    SetColumns(pageRect.left, pageRect.right);
}

int APrintOutList::RowAt(int page, int i) const
{
    if (page < 1 || i < 0) return -1;
    const long long index = page == 1 ? i : i + rowsFirst + static_cast<long long>(page - 2) * rowsLater;
    const int sep = HasSeparator() ? 1 : 0;
    if (index >= rowCount + sep) return -1;
    if (!sep || index < separatorAt) return static_cast<int>(index);
    return index == separatorAt ? kSeparatorRow : static_cast<int>(index - 1);
}

void APrintOutList::PrintPage(int page, TRect&, unsigned)
{
    if (!outDC || !DC) return;
    SelectPrintFont();
    PrintHeader(pageRect, *outDC, *DC, dateText.c_str(), pageCount, page);
    if (page == 1) PrintInfoBlock(pageRect, headerHeight, *outDC, *DC, PageClip(), header);
    int y = pageRect.top + headerHeight + (page == 1 ? infoHeight : 0);
    const int rows = page == 1 ? rowsFirst : rowsLater;
    for (int i = 0; i < rows; ++i) {
        const int row = RowAt(page, i);
        if (row < 0) break;
        if (row == kSeparatorRow) PrintSeparator(pageRect, *outDC, *DC, y);
        else PrintRow(*outDC, TRect(pageRect.left, y, pageRect.right, y + lineHeight), row);
        y += lineHeight;
    }
    PrintFooter(pageRect, *outDC, *DC, pageCount, page);
    DeselectPrintFont();
    outDC = DC;
}

}  // namespace vyn
