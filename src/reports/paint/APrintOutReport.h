#pragma once
// The printout of a report run: the printing framework's steps lay the run out, paint its
// pages and free it again, with the "Report" margins and font.
#include "printing/APrintOut.h"

namespace vyn {

class RPReport;

class APrintOutReport : public APrintOut {
public:
    // The report is not owned; it must outlive the printout.
    explicit APrintOutReport(RPReport& report);

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
};

}  // namespace vyn
