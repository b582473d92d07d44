#include "printing/RWPrinter.h"

#include "platform/gui/Printout.h"

namespace vyn {

TWindow* gCurPrintout = nullptr;

RWPrinterAbortDlg::RWPrinterAbortDlg(TWindow* parent, TPrinter& printer, const std::string& title)
    : TPrinterAbortDlg(parent, kResId, printer, title)
{
    SetContextHelpId(3303);
}

void RWPrinterAbortDlg::SetupWindow()
{
    TPrinterAbortDlg::SetupWindow();
    gCurPrintout = this;
}

void RWPrinterAbortDlg::CleanupWindow()
{
    if (gCurPrintout == this) gCurPrintout = nullptr;
    TPrinterAbortDlg::CleanupWindow();
}

RWPrinter::RWPrinter() { SetPrintDialogHelpId(3304); }

TWindow* RWPrinter::CreateAbortWindow(TWindow* parent, TPrintout& printout)
{
    auto* dlg = new RWPrinterAbortDlg(parent, *this, printout.GetTitle());
    dlg->Create();
    return dlg;
}

}  // namespace vyn
