#include "printing/APrintOutLines.h"

#include <algorithm>

namespace vyn {

void APrintOutLines::Paginate()
{
    Rewind();
    SetPageLines(0, -1);
    pages.clear();
    keepMark = -1;
    textTop = pageRect.top + headerHeight;
    linesPerPage = std::max(1, (pageRect.Height() - (footerHeight + headerHeight)) / std::max(1, lineHeight));
    PrintBody();
    if (firstLine < line || lineHasText) pages.push_back({firstLine, firstLine + linesPerPage});
    pageCount = static_cast<int>(pages.size());
}

void APrintOutLines::NewLine()
{
    APrintOut::NewLine();
    if (lastLine >= 0 || line < firstLine + linesPerPage) return;
    // A mark at or before the page's first line would move nothing: the page ends here.
    const int breakAt = (keepMark < 0 || keepMark <= firstLine) ? line : keepMark;
    pages.push_back({firstLine, breakAt});
    SetPageLines(breakAt, -1);
    keepMark = -1;
}

void APrintOutLines::PrintPage(int page, TRect&, unsigned)
{
    if (page < 1 || page > static_cast<int>(pages.size()) || !outDC || !DC) return;
    SelectPrintFont();
    PrintHeader(pageRect, *outDC, *DC, dateText.c_str(), pageCount, page);
    Rewind();
    SetPageLines(pages[page - 1].first, pages[page - 1].last);
    PrintBody();
    PrintFooter(pageRect, *outDC, *DC, pageCount, page);
    DeselectPrintFont();
    outDC = DC;
}

}  // namespace vyn
