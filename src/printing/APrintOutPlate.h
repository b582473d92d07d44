#pragma once
// APrintOutPlate: the plate matrix on paper. The plate is printed as a ruled grid of cells with
// the column numbers above and the row letters at the left; when the paper is too narrow or
// too low for the whole plate, it is cut into blocks of columns or rows, several whole plates
// (strips) standing on one page where they fit. The owner says how many characters and text
// lines a cell holds and draws each line of a cell.
#include "printing/APrintOut.h"

namespace vyn {

class APrintOutPlate : public APrintOut {
public:
    static constexpr int kPlateCols = 12;
    static constexpr int kPlateRows = 8;

    // The "Plate" kind's margins and font.
    void LoadMargins() override;
    void StoreMargins() override;
    void LoadFont() override;
    void Paginate() override;
    void PrintPage(int page, TRect& rect, unsigned flags) override;
    // Draws text line `line` of the cell at column col, row row inside lineRect.
    virtual void PrintCell(TDC& /*dc*/, const TRect& /*lineRect*/, int /*col*/, int /*row*/, int /*line*/) {}

    // Height of the page below the header, the footer and (page 1) the information block.
    TSize PageArea(int page) const;
    TSize GridSize(int cols, int rows) const;
    // Sets the current block to the first one of page n; false for a page without one.
    bool StartPage(int page);
    // The next block on the same page; false when the page is full or the plate done.
    bool NextBlock(int page);

    // --- layout, device units ---
    int colHeadHeight = 0;
    int rowHeadWidth = 0;
    int padTop = 0;
    int padRight = 0;
    int padLeft = 0;
    int padBottom = 0;
    int cellHeight = 0;
    int cellWidth = 0;
    // --- page split ---
    int colsPerPage = kPlateCols;
    int stripsFirst = 1;
    int stripsLater = 1;
    int stripsAcross = 1;
    int rowsFirst = kPlateRows;
    int rowsLater = kPlateRows;
    int splitMode = 0;  // 0 fits, 1 too wide, 2 too low, 3 both
    // --- the current block ---
    int gridX = 0;
    int gridY = 0;
    int blockCols = kPlateCols;
    int blockRows = kPlateRows;
    int firstCol = 0;
    int firstRow = 0;
    int strip = 0;
    // --- set by the owner in PrepareHeader ---
    int charsPerCell = 10;
    int linesPerCell = 1;

private:
    void PrintBlock();
};

}  // namespace vyn
