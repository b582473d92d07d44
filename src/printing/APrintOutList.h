#pragma once
// APrintOutList: the rows of a list, a fixed number per page (fewer on page 1, which carries
// the plate information block), with an optional separator row. The owner draws the rows.
#include "printing/APrintOut.h"

namespace vyn {

class APrintOutList : public APrintOut {
public:
    // RowAt's answer for the separator row.
    static constexpr int kSeparatorRow = 32767;

    void Paginate() override;
    void PrintPage(int page, TRect& rect, unsigned flags) override;
    // The owner lays its columns out between two x positions (device units).
    virtual void SetColumns(int /*left*/, int /*right*/) {}
    // The owner draws list row `row` inside rowRect.
    virtual void PrintRow(TDC& /*dc*/, const TRect& /*rowRect*/, int /*row*/) {}

    // The row at position i of a page: a list row, kSeparatorRow, or -1 past the last row.
    int RowAt(int page, int i) const;
    bool HasSeparator() const { return separatorAt > 0 && separatorAt < rowCount; }

    int rowsFirst = 0;
    int rowsLater = 1;
    int rowCount = 0;     // set by the owner in PrepareHeader
    int separatorAt = 0;  // 0 or rowCount: none
};

}  // namespace vyn
