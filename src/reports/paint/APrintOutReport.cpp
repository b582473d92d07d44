#include "reports/paint/APrintOutReport.h"

#include <functional>
#include <optional>
#include <utility>

#include "platform/gui/Dc.h"
#include "printing/PageSettings.h"
#include "reports/RPReport.h"
#include "reports/RPRun.h"
#include "reports/paint/RPPagePainter.h"

namespace vyn {

namespace {

// Holds back the question for simulated samples while it lives: a run laid out again for
// other paper keeps the numbers the user already gave for this job.
class SampleQuestionHeld {
public:
    SampleQuestionHeld() : held_(std::move(GetRPRunShell().fakeSamples)) { GetRPRunShell().fakeSamples = nullptr; }
    ~SampleQuestionHeld() { GetRPRunShell().fakeSamples = std::move(held_); }
    SampleQuestionHeld(const SampleQuestionHeld&) = delete;
    SampleQuestionHeld& operator=(const SampleQuestionHeld&) = delete;

private:
    std::function<void(int&, int&)> held_;
};

}  // namespace

APrintOutReport::APrintOutReport(RPReport& report, bool preview) : report_(report), preview_(preview) {}

void APrintOutReport::LoadMargins() { LoadKindMargins(pkReport); }
void APrintOutReport::StoreMargins() { StoreKindMargins(pkReport); }
void APrintOutReport::LoadFont() { LoadKindFont(pkReport); }

void APrintOutReport::SetPrintParams(TDC* dc, TSize pageSize)
{
    APrintOut::SetPrintParams(dc, pageSize);
    if (pageSize.cx == kPreviewPageSize) return;
    RPPrintContext& p = report_.Print();
    p.pageRect = pageRect;
    p.dpiX = dpiX;
    p.dpiY = dpiY;
    if (preview_ || !DC) return;
    // A print job lays the run out on the printer's page before the print dialog, so that the
    // dialog offers the report's own pages, and prints that same layout. Only other paper (the
    // dialog may turn it) or another printer lays it out again, from the beginning.
    if (laidOut_ && layoutDpiX_ == dpiX && layoutDpiY_ == dpiY && layoutRect_ == pageRect) return;
    std::optional<SampleQuestionHeld> askedBefore;
    if (laidOut_) {
        askedBefore.emplace();
        report_.FreePages();
    }
    report_.Paginate();
    laidOut_ = true;
    layoutDpiX_ = dpiX;
    layoutDpiY_ = dpiY;
    layoutRect_ = pageRect;
    pageCount = p.pageCount;
}

APrintOutReport::~APrintOutReport()
{
    if (!laidOut_) return;
    report_.Print().keepLayout = false;
    report_.FreePages();
}

void APrintOutReport::BeginPrinting()
{
    APrintOut::BeginPrinting();
    // A print job has its layout from SetPrintParams; the preview lays out here.
    if (!preview_ && laidOut_) return;
    report_.Paginate();
    if (preview_) {
        laidOut_ = true;
        report_.Print().keepLayout = true;
    }
    pageCount = report_.Print().pageCount;
}

void APrintOutReport::PrintPage(int page, TRect&, unsigned)
{
    TDC* dc = outDC ? outDC : DC;
    if (dc) PaintReportPage(report_, page, *dc);
}

void APrintOutReport::EndPrinting()
{
    if (!preview_) laidOut_ = false;
    report_.FreePages();
    APrintOut::EndPrinting();
}

}  // namespace vyn
