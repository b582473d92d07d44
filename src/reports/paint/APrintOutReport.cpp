#include "reports/paint/APrintOutReport.h"

#include "platform/gui/Dc.h"
#include "printing/PageSettings.h"
#include "reports/RPReport.h"
#include "reports/paint/RPPagePainter.h"

namespace vyn {

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
    report_.FreePages();
    APrintOut::EndPrinting();
}

}  // namespace vyn
