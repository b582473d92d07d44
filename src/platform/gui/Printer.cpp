#include "platform/gui/Printer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <climits>

#include "platform/core/AtomicFile.h"
#include "platform/core/StringTable.h"
#include "platform/gui/Dc.h"
#include "platform/gui/MsgBox.h"
#include "platform/gui/Printout.h"
#include "platform/gui/PrinterDialogs.h"

namespace vyn {

namespace {

constexpr int kFileDpi = 600;

QPageLayout PaperLayout(double wMm, double hMm, bool landscape)
{
    return QPageLayout(QPageSize(QSizeF(wMm, hMm), QPageSize::Millimeter),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter);
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A measuring context: a PDF writer into memory with the printer's resolution and page, so
// that fonts measure as they will on the job's device and nothing reaches a file.
struct InfoDevice {
    QBuffer buffer;
    QPdfWriter writer{&buffer};
    InfoDevice(int dpi, const QPageLayout& layout)
    {
        buffer.open(QIODevice::WriteOnly);
        writer.setResolution(dpi);
        writer.setPageLayout(layout);
    }
};

class TInfoDC : private InfoDevice, public TDC {
public:
    TInfoDC(int dpi, const QPageLayout& layout) : InfoDevice(dpi, layout), TDC(&writer) {}
};

}  // namespace

struct TPrinter::Device {
    // A print file's content stays in memory until the job has ended well, and then replaces
    // the file in one step.
    std::unique_ptr<AtomicFile> file;
    QBuffer pdfBytes;
    std::unique_ptr<QPagedPaintDevice> paged;
    QPrinter* printer = nullptr;  // paged, when it is a real printer
    std::unique_ptr<TDC> dc;
};

TPrinter::TPrinter()
{
    printerName_ = DefaultPrinterName();
    // Without a printer the jobs go to a file, which the print dialog asks for.
    if (printerName_.empty()) data_.printToFile = true;
}

TPrinter::~TPrinter() = default;

std::vector<std::string> TPrinter::PrinterNames()
{
    std::vector<std::string> names;
    for (const QString& n : QPrinterInfo::availablePrinterNames()) names.push_back(n.toStdString());
    return names;
}

std::string TPrinter::DefaultPrinterName() { return QPrinterInfo::defaultPrinterName().toStdString(); }

bool TPrinter::SelectPrinter(const std::string& name)
{
    if (QPrinterInfo::printerInfo(Q(name)).isNull()) return false;
    printerName_ = name;
    data_.printToFile = false;
    return true;
}

void TPrinter::SetOutputFile(const std::string& path)
{
    data_.fileName = path;
    data_.printToFile = !path.empty() || printerName_.empty();
}

std::string TPrinter::GetDevice() const { return data_.printToFile ? std::string("PDF") : printerName_; }
std::string TPrinter::GetDriver() const { return data_.printToFile ? std::string("pdf") : std::string("cups"); }
std::string TPrinter::GetPort() const { return data_.printToFile ? std::string("FILE:") : printerName_; }

int TPrinter::GetError() const
{
    // A missing printer is no error: the print dialog then prints to a file.
    return peNone;
}

int TPrinter::GetResolution() const
{
    if (resolution_ > 0) return resolution_;
    if (data_.printToFile) return kFileDpi;
    QPrinterInfo info = QPrinterInfo::printerInfo(Q(printerName_));
    if (info.isNull()) return kFileDpi;
    QPrinter p(info, QPrinter::HighResolution);
    return p.resolution() > 0 ? p.resolution() : kFileDpi;
}

void TPrinter::SetPaperSize(double widthMm, double heightMm)
{
    if (widthMm > 0 && heightMm > 0) {
        paperW_ = widthMm;
        paperH_ = heightMm;
    }
}

std::unique_ptr<TDC> TPrinter::MakeInfoDC() const
{
    QPageLayout layout = PaperLayout(paperW_, paperH_, data_.landscape);
    if (!data_.printToFile) {
        QPrinterInfo info = QPrinterInfo::printerInfo(Q(printerName_));
        if (!info.isNull()) {
            QPrinter p(info, QPrinter::HighResolution);
            p.setPageSize(layout.pageSize());
            p.setPageOrientation(layout.orientation());
            // The printer's own unprintable border stays: the page is what it can print.
            layout = p.pageLayout();
        }
    }
    return std::make_unique<TInfoDC>(GetResolution(), layout);
}

TSize TPrinter::PageSize() const
{
    auto dc = MakeInfoDC();
    return dc->DeviceSize();
}

std::unique_ptr<TPrinter::Device> TPrinter::OpenDevice() const
{
    auto dev = std::make_unique<Device>();
    const QPageLayout layout = PaperLayout(paperW_, paperH_, data_.landscape);
    if (data_.printToFile) {
        // A file that cannot be made is told before the first page is drawn.
        dev->file = std::make_unique<AtomicFile>(data_.fileName);
        if (!dev->file->Open()) return nullptr;
        dev->pdfBytes.open(QIODevice::WriteOnly);
        auto pdf = std::make_unique<QPdfWriter>(&dev->pdfBytes);
        pdf->setResolution(GetResolution());
        pdf->setPageLayout(layout);
        pdf->setCreator(QStringLiteral("Vyn32"));
        dev->paged = std::move(pdf);
    } else {
        QPrinterInfo info = QPrinterInfo::printerInfo(Q(printerName_));
        if (info.isNull()) return nullptr;
        auto p = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        if (resolution_ > 0) p->setResolution(resolution_);
        p->setPageSize(layout.pageSize());
        p->setPageOrientation(layout.orientation());
        p->setCopyCount(std::max(1, data_.copies));
        dev->printer = p.get();
        dev->paged = std::move(p);
    }
    dev->dc = std::make_unique<TDC>(dev->paged.get());
    if (!dev->dc->Painter()) {
        dev->dc.reset();
        dev->paged.reset();
        return nullptr;
    }
    return dev;
}

bool TPrinter::ExecPrintDialog(TWindow* parent)
{
    std::string name = printerName_;
    TPrintDialog dlg(parent, data_, name);
    dlg.SetContextHelpId(printDialogHelpId_);
    if (dlg.Execute() != IDOK) return false;
    if (!data_.printToFile && !name.empty()) printerName_ = name;
    return true;
}

TWindow* TPrinter::CreateAbortWindow(TWindow* parent, TPrintout& printout)
{
    auto* dlg = new TPrinterAbortDlg(parent, TPrinterAbortDlg::kResId, *this, printout.GetTitle());
    dlg->Create();
    return dlg;
}

void TPrinter::ReportError(TWindow* parent, int error)
{
    std::string text;
    switch (error) {
    case peNoPrinter: text = GetResString(23854); break;
    case peCannotOpen:
        text = data_.printToFile ? FormatWithArg(GetResString(23851), data_.fileName.c_str())
                                 : FormatWithArg(GetResString(23855), printerName_.c_str());
        break;
    case peWrite: text = FormatWithArg(GetResString(23851), data_.fileName.c_str()); break;
    case peNoPage:
        text = data_.printToFile ? FormatWithArg(GetResString(23857), data_.fileName.c_str()) : GetResString(23856);
        break;
    default: return;  // a cancelled job needs no message
    }
    MessageBox(parent, text, GetResString(23850), MB_OK | MB_ICONEXCLAMATION);
}

bool TPrinter::Print(TWindow* parent, TPrintout& printout, bool prompt)
{
    aborted_ = false;
    lastJobError_ = peNone;

    // The printout lays itself out on a measuring context first, so that the dialog knows
    // the pages; the context lives until the job is over because the printout keeps it.
    std::unique_ptr<TDC> info = MakeInfoDC();
    printout.SetPrintParams(info.get(), info->DeviceSize());
    int minPage = 1, maxPage = 1, selFrom = 0, selTo = 0;
    printout.GetDialogInfo(minPage, maxPage, selFrom, selTo);
    data_.minPage = minPage;
    data_.maxPage = std::max(minPage, maxPage);
    data_.pageRange = selFrom > 0;
    data_.fromPage = selFrom > 0 ? selFrom : data_.minPage;
    data_.toPage = selFrom > 0 ? std::max(selFrom, selTo) : data_.maxPage;
    if (prompt && !ExecPrintDialog(parent)) return false;

    if (data_.printToFile ? data_.fileName.empty() : printerName_.empty()) {
        lastJobError_ = peNoPrinter;
        ReportError(parent, lastJobError_);
        return false;
    }
    std::unique_ptr<Device> dev = OpenDevice();
    if (!dev) {
        lastJobError_ = peCannotOpen;
        ReportError(parent, lastJobError_);
        return false;
    }

    const TSize page = dev->dc->DeviceSize();
    printout.SetPrintParams(dev->dc.get(), page);
    TWindow* abortWin = CreateAbortWindow(parent, printout);
    auto* abortDlg = dynamic_cast<TPrinterAbortDlg*>(abortWin);
    printout.BeginPrinting();
    const int from = data_.pageRange ? data_.fromPage : data_.minPage;
    const int to = data_.pageRange ? data_.toPage : INT_MAX;
    printout.BeginDocument(from, to, 0);
    bool written = true;
    int printed = 0;
    for (int n = from; n <= to && printout.HasPage(n); ++n) {
        if (n > from && !dev->paged->newPage()) {
            written = false;
            break;
        }
        if (abortDlg) abortDlg->SetPage(n, data_.pageRange ? data_.toPage : 0);
        TRect rect(0, 0, page.cx, page.cy);
        printout.PrintPage(n, rect, 0);
        ++printed;
        QCoreApplication::processEvents();
        if (aborted_) break;
    }
    printout.EndDocument();
    printout.EndPrinting();
    if (abortWin) {
        abortWin->Destroy();
        delete abortWin;
    }

    // A range past the printout's last page draws nothing, yet the device would still put out
    // the blank page it began with: such a job is dropped like a cancelled one.
    const bool empty = printed == 0 && !aborted_;
    if ((aborted_ || empty) && dev->printer) dev->printer->abort();
    dev->dc.reset();  // ends the painter: the device finishes its output here
    dev->paged.reset();
    if (dev->file) {
        // An aborted, empty or failed job leaves the old file as it was (the service drops its copy).
        const QByteArray& bytes = dev->pdfBytes.data();
        written = !aborted_ && !empty && written && !bytes.isEmpty() &&
                  dev->file->Write(bytes.constData(), static_cast<std::size_t>(bytes.size())) && dev->file->Commit();
    }
    if (aborted_) lastJobError_ = peAborted;
    else if (empty) lastJobError_ = peNoPage;
    else if (!written) lastJobError_ = peWrite;
    ReportError(parent, lastJobError_);
    return lastJobError_ == peNone;
}

}  // namespace vyn
