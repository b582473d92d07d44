#include "printing/TRwPreview.h"

#include <algorithm>

#include "platform/core/StringTable.h"
#include "platform/gui/Dc.h"
#include "platform/gui/GadgetWindow.h"
#include "platform/gui/ModalLoop.h"
#include "platform/gui/Printer.h"
#include "printing/APrintOut.h"
#include "printing/PageSettings.h"
#include "printing/RWPrinter.h"
#include "printing/TPgWin.h"
#include "printing/TRwPreviewDesk.h"

namespace vyn {

int gShowMargins = 1;

namespace {
constexpr int kCaptionId = 23720;
// A printout that claims every page would keep the count running for ever.
constexpr int kMaxPages = 32767;
TPrinter* gPreviewPrinter = nullptr;

TFont BarFont() { return TFont("Arial", -MulDiv(10, TRwPreviewDesk::kScreenDpi, 72)); }
}  // namespace

void SetPreviewPrinter(TPrinter* printer) { gPreviewPrinter = printer; }
TPrinter* GetPreviewPrinter() { return gPreviewPrinter; }

TRwPreview::TRwPreview(TWindow* owner, TPrinter* printer_, APrintOut* printout_)
    : TDecoratedFrame(owner, GetResString(kCaptionId), new TRwPreviewDesk(*this)),
      printer(printer_),
      printout(printout_),
      owner_(owner)
{
    SetContextHelpId(3301);
    desk = static_cast<TRwPreviewDesk*>(GetClientWindow());
    pageWindow = new TPgWin(desk, *this);
    desk->MakeBars();
    controlBar = new TControlBar(this, TGadgetWindow::Horizontal, BarFont());
    controlBar->Insert(*new TButtonGadget(CM_PREVIEWCLOSE, CM_PREVIEWCLOSE, TButtonGadget::Command, true));
    controlBar->Insert(*new TSeparatorGadget(6));
    controlBar->Insert(*new TTextGadget(CM_PREVIEWCOUNTER, TGadget::Recessed, TTextGadget::Left, 5, {}));
    controlBar->Insert(*new TSeparatorGadget(6));
    controlBar->Insert(*new TButtonGadget(CM_PREVIEWPREV, CM_PREVIEWPREV, TButtonGadget::Command, true));
    controlBar->Insert(*new TButtonGadget(CM_PREVIEWNEXT, CM_PREVIEWNEXT, TButtonGadget::Command, true));
    controlBar->Insert(*new TSeparatorGadget(3));
    controlBar->Insert(*new TButtonGadget(CM_PREVIEWZOOMIN, CM_PREVIEWZOOMIN, TButtonGadget::Command, true));
    controlBar->Insert(*new TButtonGadget(CM_PREVIEWZOOMOUT, CM_PREVIEWZOOMOUT, TButtonGadget::Command, true));
    controlBar->Insert(*new TSeparatorGadget(3));
    controlBar->Insert(*new TButtonGadget(CM_PREVIEWMARGINS, CM_PREVIEWMARGINS, TButtonGadget::NonExclusive, false,
                                          gShowMargins ? TButtonGadget::Down : TButtonGadget::Up));
    controlBar->Insert(*new TSeparatorGadget(3));
    controlBar->Insert(*new TButtonGadget(CM_PREVIEWPRINT, CM_PREVIEWPRINT, TButtonGadget::Command, true));
    Insert(*controlBar, Top);

    OnCommand(CM_PREVIEWCLOSE, &TRwPreview::CmClose);
    OnCommand(CM_PREVIEWPREV, &TRwPreview::CmPrev);
    OnCommand(CM_PREVIEWNEXT, &TRwPreview::CmNext);
    OnCommand(CM_PREVIEWPRINT, &TRwPreview::CmPrint);
    OnCommand(CM_PREVIEWZOOMIN, &TRwPreview::CmZoomIn);
    OnCommand(CM_PREVIEWZOOMOUT, &TRwPreview::CmZoomOut);
    OnCommand(CM_PREVIEWREPAGINATE, &TRwPreview::CmRepaginate);
    OnCommand(CM_PREVIEWMARGINS, &TRwPreview::CmMargins);
    for (unsigned id : {CM_PREVIEWCLOSE, CM_PREVIEWPREV, CM_PREVIEWNEXT, CM_PREVIEWPRINT, CM_PREVIEWZOOMIN,
                        CM_PREVIEWZOOMOUT, CM_PREVIEWREPAGINATE, CM_PREVIEWMARGINS})
        OnCommandEnable(id, [this](TCommandEnabler& ce) {
            ce.Enable(IsCommandEnabled(ce.GetId()));
            if (ce.GetId() == CM_PREVIEWMARGINS) ce.SetCheck(gShowMargins ? TCommandEnabler::Checked : TCommandEnabler::Unchecked);
        });
}

TRwPreview::~TRwPreview()
{
    if (IsWindow()) Destroy();
}

bool TRwPreview::IsCommandEnabled(unsigned id) const
{
    const bool dc = printDC != nullptr;
    switch (id) {
    case CM_PREVIEWCLOSE:
    case CM_PREVIEWMARGINS: return true;
    case CM_PREVIEWPREV: return dc && currentPage >= 2;
    case CM_PREVIEWNEXT: return dc && currentPage < pageCount;
    // A printout without pages has nothing to print.
    case CM_PREVIEWPRINT: return dc && printout && pageCount > 0;
    case CM_PREVIEWZOOMIN: return dc && zoom < kMaxZoom;
    case CM_PREVIEWZOOMOUT: return dc && zoom >= 1;
    case CM_PREVIEWREPAGINATE: return dc;
    default: return false;
    }
}

bool TRwPreview::Create()
{
    if (IsWindow()) return true;
    if (owner_ && owner_->IsWindow()) {
        const TRect r = owner_->GetWindowRect();
        TMinMaxInfo info;
        EvGetMinMaxInfo(info);
        ownerRect_ = TRect(r.left, r.top, r.left + std::max(r.Width(), info.minTrackSizeX),
                           r.top + std::max(r.Height(), info.minTrackSizeY));
    }
    if (!TDecoratedFrame::Create()) return false;
    if (!ownerRect_.IsEmpty()) MoveWindow(ownerRect_);
    const auto* ownerFrame = dynamic_cast<const TDecoratedFrame*>(owner_);
    ShowWindow(ownerFrame && ownerFrame->IsZoomed() ? SW_SHOWMAXIMIZED : SW_SHOW);
    MakePrintDC();
    desk->Layout();
    UpdateWindow();
    BeginPreview();
    UpdateCounter();
    Relayout();
    UpdateBar();
    // The preview stands in for the main window while it is open.
    if (firstActivation) {
        firstActivation = 0;
        if (owner_ && owner_->IsWindow() && owner_->IsWindowVisible()) {
            ownerHidden_ = true;
            owner_->ShowWindow(SW_HIDE);
        }
    }
    return true;
}

void TRwPreview::Destroy(int retVal)
{
    EndPreview();
    printDC.reset();
    if (ownerHidden_ && owner_ && owner_->IsWindow()) owner_->ShowWindow(SW_SHOW);
    ownerHidden_ = false;
    TDecoratedFrame::Destroy(retVal);
}

int TRwPreview::Execute()
{
    if (!IsWindow() && !Create()) return -1;
    running_ = true;
    const int r = BeginModal(*this);
    running_ = false;
    return r;
}

void TRwPreview::MakePrintDC()
{
    printDC.reset();
    if (!printer) return;
    printDC = printer->MakeInfoDC();
    if (printDC) pageSize = TSize(printDC->GetDeviceCaps(HORZRES), printDC->GetDeviceCaps(VERTRES));
}

void TRwPreview::BeginPreview()
{
    pageCount = currentPage = 0;
    if (!printDC || !printout) return;
    int minPage = 1, maxPage = 1, selFrom = 0, selTo = 0;
    printout->GetDialogInfo(minPage, maxPage, selFrom, selTo);
    printout->SetPrintParams(printDC.get(), pageSize);
    printout->BeginPrinting();
    printout->BeginDocument(1, 999, 0);
    begun_ = true;
    while (pageCount < kMaxPages && printout->HasPage(pageCount + 1)) ++pageCount;
    currentPage = pageCount > 0 ? 1 : 0;
    pageWindow->RecalcMargins();
}

void TRwPreview::EndPreview()
{
    pageCount = currentPage = 0;
    if (!begun_) return;
    begun_ = false;
    if (printDC && printout) {
        printout->EndDocument();
        // Writes the margins back to the printout's kind, dragged ones included.
        printout->EndPrinting();
    }
}

void TRwPreview::Relayout()
{
    if (!IsWindow() || inLayout_) return;
    inLayout_ = true;
    desk->Layout();
    if (!printDC) {
        pageWindow->ShowWindow(SW_HIDE);
    } else {
        const TRect& r = pageWindowRect;
        pageWindow->SetWindowPos(nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        pageWindow->ShowWindow(SW_SHOW);
    }
    desk->Invalidate();
    pageWindow->Invalidate();
    inLayout_ = false;
}

void TRwPreview::RepaintPage()
{
    if (pageWindow->IsWindow()) pageWindow->Invalidate();
}

void TRwPreview::SetCounterText(const std::string& text)
{
    if (auto* g = dynamic_cast<TTextGadget*>(controlBar->GadgetWithId(CM_PREVIEWCOUNTER))) g->SetText(text);
}

std::string TRwPreview::GetCounterText() const
{
    auto* g = dynamic_cast<TTextGadget*>(controlBar->GadgetWithId(CM_PREVIEWCOUNTER));
    return g ? g->GetText() : std::string();
}

void TRwPreview::UpdateCounter()
{
    if (!printDC || pageCount == 0) SetCounterText({});
    else if (pageCount == 1) SetCounterText(std::to_string(currentPage));
    else SetCounterText(std::to_string(currentPage) + "/" + std::to_string(pageCount));
}

void TRwPreview::UpdateBar()
{
    if (controlBar->IsWindow()) controlBar->IdleAction(0);
}

TResult TRwPreview::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    // A command that is disabled does nothing, even when it comes from the keyboard.
    if (id >= CM_PREVIEWCOUNTER && id <= CM_PREVIEWMARGINS && !IsCommandEnabled(id)) return 0;
    const TResult r = TDecoratedFrame::EvCommand(id, control, notifyCode);
    UpdateBar();
    return r;
}

void TRwPreview::EvClose() { PostCommand(CM_PREVIEWCLOSE); }

void TRwPreview::EvGetMinMaxInfo(TMinMaxInfo& info)
{
    info.minTrackSizeX = 4 * TRwPreviewDesk::kFrameWidth + 6 * TRwPreviewDesk::kScrollBarWidth;
    info.minTrackSizeY = 4 * TRwPreviewDesk::kFrameWidth + 6 * TRwPreviewDesk::kCaptionHeight + 30;
}

void TRwPreview::CmClose()
{
    if (ownerHidden_ && owner_ && owner_->IsWindow()) owner_->ShowWindow(SW_SHOW);
    ownerHidden_ = false;
    if (running_) EndModal(kCloseResult);
}

void TRwPreview::CmPrev()
{
    --currentPage;
    RepaintPage();
    UpdateCounter();
}

void TRwPreview::CmNext()
{
    ++currentPage;
    RepaintPage();
    UpdateCounter();
}

void TRwPreview::CmPrint()
{
    EndPreview();
    printDC.reset();
    Relayout();
    UpdateCounter();
    printer->Print(this, *printout, true);
    MakePrintDC();
    BeginPreview();
    Relayout();
    UpdateCounter();
}

void TRwPreview::CmZoomIn()
{
    ++zoom;
    Relayout();
}

void TRwPreview::CmZoomOut()
{
    --zoom;
    Relayout();
}

void TRwPreview::CmRepaginate()
{
    const int keep = currentPage;
    EndPreview();
    MakePrintDC();
    BeginPreview();
    currentPage = std::min(keep, pageCount);
    RepaintPage();
    UpdateCounter();
}

void TRwPreview::CmMargins()
{
    gShowMargins = !gShowMargins;
    RepaintPage();
}

void RunPrintPreview(TWindow* parent, APrintOut& printout, TPrinter* printer)
{
    std::unique_ptr<RWPrinter> own;
    if (!printer) printer = gPreviewPrinter;
    if (!printer) {
        own = std::make_unique<RWPrinter>();
        printer = own.get();
    }
    TRwPreview preview(parent, printer, &printout);
    if (!preview.Create()) return;
    preview.Execute();
    if (parent && parent->IsWindow()) parent->Invalidate();
    preview.Destroy(0);
}

}  // namespace vyn
