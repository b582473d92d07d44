#pragma once
// The method print-out of a plate on the line grid of the "Lines" printout kind: the header
// line and the method summary of the plate document. The document stays free of the window
// system; its print and preview commands hand its plate and path to this printout.
#include <string>

#include "document/LinePrinter.h"
#include "printing/APrintOutLines.h"

namespace vyn {

class QPlate;

// The line operations of a line printout, as the document writes through them.
class PrintOutLinePrinter : public ILinePrinter {
public:
    explicit PrintOutLinePrinter(APrintOutLines& printout) : p_(printout) {}
    void TabTo(int x, bool move) override { p_.TabTo(x, move ? 1 : 0); }
    void PrintF(const std::string& text) override { p_.PrintF(text); }
    void PrintText(const std::string& text) override { p_.PrintText(text); }
    void PrintWrapped(const std::string& text) override { p_.PrintWrapped(text); }
    void MarkLine() override { p_.MarkLine(); }
    void ClearMark() override { p_.ClearMark(); }

private:
    APrintOutLines& p_;
};

class QMethodSummaryPrintout : public APrintOutLines {
public:
    // The plate is not copied: it must outlive the printout.
    QMethodSummaryPrintout(const QPlate& plate, const std::string& docPath);

    void LoadMargins() override;
    void StoreMargins() override;
    void LoadFont() override;
    void PrepareHeader() override;
    void PrintBody() override;

    // The header record of every printout of a plate (the plate views' printouts use it too).
    // The texts are copied; the result lists are referenced and stay valid while the plate lives.
    static void FillReportHeader(const QPlate& plate, const std::string& docPath, PrintHeaderInfo& header);

private:
    const QPlate& plate_;
    std::string docPath_;
};

}  // namespace vyn
