#pragma once
// APrintOutLines: a body of text lines that the owner writes with the text writers, paginated
// by running the body once without drawing and recording where each page ends. A block between
// MarkLine and ClearMark is kept on one page: a page end that falls inside it moves to the
// block's first line.
#include <vector>

#include "printing/APrintOut.h"

namespace vyn {

struct PGDESC {
    int first;
    int last;  // exclusive
    bool operator==(const PGDESC&) const = default;
};

class APrintOutLines : public APrintOut {
public:
    void Paginate() override;
    void PrintPage(int page, TRect& rect, unsigned flags) override;
    void NewLine() override;
    // The owner's output of all its lines, from line 0.
    virtual void PrintBody() {}

    void MarkLine()
    {
        if (keepMark < 0) keepMark = line;
    }
    void ClearMark() { keepMark = -1; }

    std::vector<PGDESC> pages;
    int keepMark = -1;
    int linesPerPage = 1;
};

}  // namespace vyn
