#pragma once
// The printout of a report run: the printing framework's steps lay the run out, paint its
// pages and free it again, with the "Report" margins and font.
#include "printing/APrintOut.h"

namespace vyn {

class RPReport;

class APrintOutReport : public APrintOut {
public:
    // The report is not owned; it must outlive the printout. A preview's printout keeps the
    // layout it made first for as long as it lives: the preview begins again whenever its
    // margins change, and a run without a plate must not ask for its samples each time. A print
    // job lays out when it is given the printer's page, before the print dialog, which then
    // knows the pages; the job prints that layout unless the paper changed meanwhile.
    explicit APrintOutReport(RPReport& report, bool preview = false);
    ~APrintOutReport() override;

    void LoadMargins() override;
    void StoreMargins() override;
    void LoadFont() override;
    void SetPrintParams(TDC* dc, TSize pageSize) override;
    void BeginPrinting() override;
    void PrintPage(int page, TRect& rect, unsigned flags) override;
    void EndPrinting() override;

    RPReport& Report() { return report_; }

private:
    RPReport& report_;
    bool preview_;
    bool laidOut_ = false;
    // The page a print job's layout was made for.
    int layoutDpiX_ = 0;
    int layoutDpiY_ = 0;
    TRect layoutRect_;
};

}  // namespace vyn
