#pragma once
// The side of the line printout that the plate document writes its method summary through.
// The printing layer implements it over a page; the document only writes lines.
#include <string>

namespace vyn {

class ILinePrinter {
public:
    virtual ~ILinePrinter() = default;
    // Tab at the left margin plus x quarter character widths; every new line starts there.
    virtual void TabTo(int x, bool move) = 0;
    // The text at the writing position; each line break in it ends the current line.
    virtual void PrintF(const std::string& text) = 0;
    // The text as one piece, on a new line when it does not fit on the current one.
    virtual void PrintText(const std::string& text) = 0;
    // The text wrapped to the remaining width; continuation lines start at the tab.
    virtual void PrintWrapped(const std::string& text) = 0;
    // Keep-together stretches: a page break inside one moves to its first line.
    virtual void MarkLine() = 0;
    virtual void ClearMark() = 0;
};

}  // namespace vyn
