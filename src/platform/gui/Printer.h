#pragma once
// TPrinter: the printer object of the window framework. It stands for the default printer of
// the system (CUPS through Qt) or, when there is none or the user asks for it, for a PDF file.
// Print() runs a printout as a job: print dialog (when asked), abort dialog, the printout's
// calls in the framework's order, one device page per printout page. A PDF file is written
// beside its final name and renamed over it only when the job ends well, so a failed or
// cancelled job never leaves half a file.
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Geometry.h"

namespace vyn {

class TDC;
class TPrintout;
class TWindow;

// What the print dialog shows and returns.
struct TPrintDialogData {
    int minPage = 1;
    int maxPage = 1;
    int fromPage = 1;
    int toPage = 1;
    bool pageRange = false;  // false: all pages
    int copies = 1;          // for the printer; a file is written once
    bool landscape = false;  // paper turned: the printouts lay out on the wide page
    bool printToFile = false;
    std::string fileName;    // the PDF file when printing to a file
};

// Errors of the printer object and of the last job.
enum TPrinterError : int {
    peNone = 0,
    peNoPrinter = 1,   // no printer and no file to print to
    peCannotOpen = 2,  // the device or the file could not be opened
    peWrite = 3,       // the file could not be completed
    peAborted = 4,     // cancelled by the user
    peNoPage = 5,      // the printout had no page in the range: nothing was printed or written
};

class TPrinter {
public:
    // The system's default printer; without one the printer prints to a PDF file.
    TPrinter();
    virtual ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // Names of the printers the system offers, and the default one (empty when none).
    static std::vector<std::string> PrinterNames();
    static std::string DefaultPrinterName();

    // Chooses a printer by name; false (nothing changed) when the system has no such printer.
    bool SelectPrinter(const std::string& name);
    // Print to this PDF file instead of the printer; an empty name goes back to the printer.
    void SetOutputFile(const std::string& path);
    bool PrintsToFile() const { return data_.printToFile; }

    // Device (the printer's name, or "PDF"), driver and port ("FILE:" for a file), as the
    // abort dialog and the settings show them.
    std::string GetDevice() const;
    std::string GetDriver() const;
    std::string GetPort() const;
    // peNone while the printer object can print (a printer, or a file named to print to).
    int GetError() const;
    // The error of the last job; peNone when it printed every page.
    int GetLastJobError() const { return lastJobError_; }

    // Resolution in dots per inch of the jobs and of the measuring context; 600 for files,
    // the printer's own unless set.
    void SetResolution(int dpi) { resolution_ = dpi; }
    int GetResolution() const;
    // Paper in millimetres as it stands upright; A4 unless set. The print dialog's orientation
    // (GetData().landscape) turns it for the measuring context and the jobs alike.
    void SetPaperSize(double widthMm, double heightMm);

    // A context with the printer's resolution and page for measuring and laying out (the
    // preview's printer context); nothing drawn on it reaches paper or file.
    std::unique_ptr<TDC> MakeInfoDC() const;
    // The printable page of the printer in device pixels (HORZRES, VERTRES).
    TSize PageSize() const;

    // Prints the printout; with prompt the print dialog comes first. False when the user
    // cancelled or the job failed (the reason is in GetLastJobError and was shown).
    bool Print(TWindow* parent, TPrintout& printout, bool prompt);
    // The print dialog alone (page range, copies, file); false on Cancel.
    bool ExecPrintDialog(TWindow* parent);
    // The help context that F1 in the print dialog asks for (0: that of the window behind it).
    void SetPrintDialogHelpId(int id) { printDialogHelpId_ = id; }

    // The abort flag of the job in progress; the abort dialog's Cancel sets it.
    void Abort() { aborted_ = true; }
    bool Aborted() const { return aborted_; }

    TPrintDialogData& GetData() { return data_; }
    const TPrintDialogData& GetData() const { return data_; }

protected:
    // The modeless window shown while a job runs; the printer destroys it when the job ends.
    virtual TWindow* CreateAbortWindow(TWindow* parent, TPrintout& printout);
    // Reports a failed job; the default shows the message box.
    virtual void ReportError(TWindow* parent, int error);

private:
    struct Device;
    std::unique_ptr<Device> OpenDevice() const;

    std::string printerName_;
    TPrintDialogData data_;
    int resolution_ = 0;
    double paperW_ = 210.0, paperH_ = 297.0;
    bool aborted_ = false;
    int printDialogHelpId_ = 0;
    int lastJobError_ = peNone;
};

}  // namespace vyn
