#include "printing/APrintOutPlate.h"

#include <algorithm>
#include <string>

#include "platform/gui/Dc.h"
#include "printing/PageSettings.h"

namespace vyn {

namespace {

int CeilDiv(int a, int b) { return b <= 0 ? 0 : (a + b - 1) / b; }

}  // namespace

void APrintOutPlate::LoadMargins() { LoadKindMargins(pkPlate); }
void APrintOutPlate::StoreMargins() { StoreKindMargins(pkPlate); }
void APrintOutPlate::LoadFont() { LoadKindFont(pkPlate); }

TSize APrintOutPlate::PageArea(int page) const
{
    const int used = headerHeight + footerHeight + (page == 1 ? infoHeight : 0);
    return {pageRect.Width(), pageRect.Height() - used};
}

TSize APrintOutPlate::GridSize(int cols, int rows) const
{
    return {cols * cellWidth + rowHeadWidth, rows * cellHeight + colHeadHeight};
}

void APrintOutPlate::Paginate()
{
    colHeadHeight = PrintYUnits(10);
    rowHeadWidth = PrintXUnits(10);
    padTop = PrintYUnits(1);
    padRight = PrintXUnits(1);
    padLeft = PrintXUnits(1);
    padBottom = 0;
    // charsPerCell counts quarter characters, as the view's cell scale does; a cell narrower
    // than two and a half digits would hold no readable number.
    charsPerCell = std::max(charsPerCell, 10);
    linesPerCell = std::max(linesPerCell, 1);
    cellHeight = std::max(1, linesPerCell * lineHeight + padTop + padBottom);
    cellWidth = std::max(1, PrintXUnits(charsPerCell) + padLeft + padRight);

    const TSize A = PageArea(1), B = PageArea(2), P = GridSize(kPlateCols, kPlateRows);
    splitMode = (A.cx < P.cx ? 1 : 0) | (A.cy < P.cy ? 2 : 0);
    colsPerPage = std::clamp((A.cx - rowHeadWidth) / cellWidth, 1, kPlateCols);
    rowsFirst = std::clamp((A.cy - colHeadHeight) / cellHeight, 1, kPlateRows);
    rowsLater = std::clamp((B.cy - colHeadHeight) / cellHeight, 1, kPlateRows);
    stripsFirst = stripsLater = stripsAcross = 1;

    const int c = colsPerPage;
    switch (splitMode) {
    case 0: pageCount = 1; break;
    case 1:
        stripsFirst = std::max(1, A.cy / P.cy);
        stripsLater = std::max(1, B.cy / P.cy);
        pageCount = c * stripsFirst >= kPlateCols ? 1 : 1 + CeilDiv(kPlateCols - c * stripsFirst, c * stripsLater);
        break;
    case 2: {
        stripsAcross = std::max(1, A.cx / P.cx);
        const int s = stripsAcross;
        pageCount = rowsFirst * s >= kPlateRows ? 1 : 1 + CeilDiv(kPlateRows - s * rowsFirst, s * rowsLater);
        break;
    }
    default:
        pageCount = CeilDiv(kPlateCols, c) * (1 + CeilDiv(kPlateRows - rowsFirst, rowsLater));
        break;
    }
}

bool APrintOutPlate::StartPage(int n)
{
    strip = 0;
    gridX = pageRect.left + rowHeadWidth;
    gridY = pageRect.top + headerHeight + (n == 1 ? infoHeight : 0) + colHeadHeight;
    const int c = colsPerPage;
    firstCol = firstRow = 0;
    blockCols = kPlateCols;
    blockRows = kPlateRows;
    switch (splitMode) {
    case 0: break;
    case 1:
        firstCol = n == 1 ? 0 : c * stripsFirst + (n - 2) * c * stripsLater;
        blockCols = c;
        break;
    case 2:
        firstRow = n == 1 ? 0 : stripsAcross * rowsFirst + (n - 2) * stripsAcross * rowsLater;
        blockRows = n == 1 ? rowsFirst : rowsLater;
        break;
    default: {
        const int k = CeilDiv(kPlateCols, c);
        if (n <= k) {
            firstCol = (n - 1) * c;
            blockRows = rowsFirst;
        } else {
            firstRow = rowsFirst + ((n - 1) / k - 1) * rowsLater;
            firstCol = ((n - 1) % k) * c;
            blockRows = rowsLater;
        }
        blockCols = c;
        break;
    }
    }
    blockCols = std::min(blockCols, kPlateCols - firstCol);
    blockRows = std::min(blockRows, kPlateRows - firstRow);
    return blockCols > 0 && blockRows > 0;
}

bool APrintOutPlate::NextBlock(int page)
{
    if (splitMode == 1) {
        if (++strip >= (page == 1 ? stripsFirst : stripsLater)) return false;
        gridY += GridSize(kPlateCols, kPlateRows).cy;
        firstCol += blockCols;
        blockCols = std::min(colsPerPage, kPlateCols - firstCol);
        return blockCols > 0;
    }
    if (splitMode == 2) {
        if (++strip >= stripsAcross) return false;
        gridX += GridSize(kPlateCols, kPlateRows).cx;
        firstRow += blockRows;
        blockRows = std::min(page == 1 ? rowsFirst : rowsLater, kPlateRows - firstRow);
        return blockRows > 0;
    }
    return false;
}

void APrintOutPlate::PrintPage(int page, TRect&, unsigned)
{
    if (!outDC || !DC) return;
    SelectPrintFont();
    PrintHeader(pageRect, *outDC, *DC, dateText.c_str(), pageCount, page);
    if (page == 1) PrintInfoBlock(pageRect, headerHeight, *outDC, *DC, PageClip(), header);
    if (StartPage(page)) {
        do PrintBlock();
        while (NextBlock(page));
    }
    PrintFooter(pageRect, *outDC, *DC, pageCount, page);
    DeselectPrintFont();
    outDC = DC;
}

void APrintOutPlate::PrintBlock()
{
    TDC& out = *outDC;
    for (int row = firstRow; row < firstRow + blockRows; ++row) {
        for (int col = firstCol; col < firstCol + blockCols; ++col) {
            const int left = gridX + (col - firstCol) * cellWidth;
            const int top = gridY + (row - firstRow) * cellHeight;
            TRect lineRect(left + padLeft, top + padTop, left + cellWidth - padRight, top + padTop + lineHeight);
            for (int line = 0; line < linesPerCell; ++line) {
                PrintCell(out, lineRect, col, row, line);
                lineRect.Offset(0, lineHeight);
            }
        }
    }

    const int right = gridX + blockCols * cellWidth;
    const int bottom = gridY + blockRows * cellHeight;
    const unsigned oldAlign = out.SetTextAlign(TA_LEFT | TA_TOP);
    const int oldMode = out.SetBkMode(TRANSPARENT);
    const TPen oldPen = out.SelectObject(TPen(TColor::Black, 0, PS_DOT));
    for (int i = 0; i <= blockCols; ++i) {
        const int x = gridX + i * cellWidth;
        out.MoveTo(x, gridY);
        out.LineTo(x, bottom);
        if (i == blockCols) break;
        const std::string label = std::to_string(firstCol + i + 1);
        const TSize size = DC->GetTextExtent(label);
        out.TextOut(x + (cellWidth - size.cx) / 2, gridY - size.cy - PrintYUnits(1), label);
    }
    for (int j = 0; j <= blockRows; ++j) {
        const int y = gridY + j * cellHeight;
        out.MoveTo(gridX, y);
        out.LineTo(right, y);
        if (j == blockRows) break;
        const std::string label(1, static_cast<char>('A' + firstRow + j));
        const TSize size = DC->GetTextExtent(label);
        out.TextOut(gridX - PrintXUnits(2) - size.cx, y + (cellHeight - size.cy) / 2, label);
    }

    // The plate's own edges are solid where the block reaches them, so that a cut plate shows
    // which side goes on on another page.
    out.SelectObject(ThinPen(*DC, 1));
    if (firstCol == 0) {
        out.MoveTo(gridX, gridY);
        out.LineTo(gridX, bottom);
    }
    if (firstRow == 0) {
        out.MoveTo(gridX, gridY);
        out.LineTo(right, gridY);
    }
    if (firstCol + blockCols == kPlateCols) {
        out.MoveTo(right, gridY);
        out.LineTo(right, bottom);
    }
    if (firstRow + blockRows == kPlateRows) {
        out.MoveTo(gridX, bottom);
        out.LineTo(right, bottom);
    }
    out.SelectObject(oldPen);
    out.SetBkMode(oldMode);
    out.SetTextAlign(oldAlign);
}

}  // namespace vyn
