#pragma once
// The program's printer object and its abort dialog. While a job runs, gCurPrintout is the
// abort dialog's window: the report run owns its modal dialogs by it and hides it meanwhile.
#include "platform/gui/Printer.h"
#include "platform/gui/PrinterDialogs.h"

namespace vyn {

extern TWindow* gCurPrintout;

class RWPrinterAbortDlg : public TPrinterAbortDlg {
public:
    RWPrinterAbortDlg(TWindow* parent, TPrinter& printer, const std::string& title);

protected:
    void SetupWindow() override;
    void CleanupWindow() override;
};

class RWPrinter : public TPrinter {
public:
    RWPrinter();

protected:
    TWindow* CreateAbortWindow(TWindow* parent, TPrintout& printout) override;
};

}  // namespace vyn
