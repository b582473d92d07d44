#include "report_designer/QRepView.h"

#include <algorithm>
#include <cstdlib>

#include "platform/gui/Command.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Keyboard.h"
#include "report_designer/DesignerMetrics.h"
#include "report_designer/QRInPlaceEdit.h"
#include "report_designer/QRuler.h"
#include "reports/paint/RPDesignPainter.h"
#include "reports/QRepDoc.h"
#include "reports/RPObject.h"
#include "reports/RPReport.h"
#include "reports/RPSection.h"

namespace vyn {

namespace {

int gLiveViews = 0;
constexpr unsigned kTimerEndScroll = 1;

}  // namespace

QRepViewShell& GetRepViewShell()
{
    static QRepViewShell shell;
    return shell;
}

QRepViewBars QRepView::Bars()
{
    QRepViewBars b;
    b.mainBar = {cmRepSave, 0, cmRepCut, cmRepCopy, cmRepPaste, 0, cmRepUndo, 0, cmRepDuplicate, 0, cmRepPreview, cmRepPrint};
    b.toolBar = {0, cmRepTextBox, cmRepRectangle, cmRepLine, cmRepGraph, cmRepPicture, cmRepPageBreak, 0, cmRepLock, 0,
                 cmRepAttributes};
    return b;
}

int QRepView::LiveViews() { return gLiveViews; }

QRepView::QRepView(QRepDoc& doc, TWindow* parent) : TWindow(parent), TView(doc), doc_(doc), report_(doc.Report())
{
    ++gLiveViews;
    InitDesignerMetrics();
    textEditor_ = new QRInPlaceEdit(this, kTextEditorId);
    RegisterCommands();
}

QRepView::~QRepView()
{
    // The windows that paint from this view go first: the shell repaints its bars at once
    // while the view is taken down, and a ruler or the view painted then would read bands
    // that are already gone.
    // When the pane itself deletes its children, it has let this view go first (no parent)
    // and the rulers may be gone already; only rulers still in the pane are looked at.
    const TWindow* pane = GetParent();
    for (TWindow* ruler : {static_cast<TWindow*>(hRuler_), static_cast<TWindow*>(vRuler_)})
        if (pane && std::find(pane->Children().begin(), pane->Children().end(), ruler) != pane->Children().end() &&
            ruler->IsWindow())
            ruler->Destroy();
    if (IsWindow()) Destroy();
    if (report_.View() == this) report_.AttachView(nullptr);
    --gLiveViews;
}

bool QRepView::CanClose() { return TView::CanClose(); }

void QRepView::SetupWindow()
{
    TWindow::SetupWindow();
    SetContextHelpId(kHelpContext);
    SetScrollRange(SB_HORZ, 0, ::vyn::RepUnitsToPixelsX(kMaxTwips));
    SetScrollRange(SB_VERT, 0, ::vyn::RepUnitsToPixelsY(kTwipsPerInch));
    SetScrollPos(SB_HORZ, scrollX_);
    SetScrollPos(SB_VERT, scrollY_);
    report_.AttachView(this);
    LayoutSections();
    RebuildSelection();
    textEditor_->ShowWindow(SW_HIDE);
}

void QRepView::CleanupWindow()
{
    KillTimer(kTimerEndScroll);
    KillTimer(2);
    TWindow::CleanupWindow();
}

// --- IRepView ---

int QRepView::RepUnitsToPixelsX(int twips, int origin) const { return ::vyn::RepUnitsToPixelsX(twips, origin); }
int QRepView::RepUnitsToPixelsY(int twips, int origin) const { return ::vyn::RepUnitsToPixelsY(twips, origin); }
int QRepView::ScreenPpiX() const { return Metrics().screenPpi.cx; }
int QRepView::ScreenPpiY() const { return Metrics().screenPpi.cy; }
int QRepView::ClientWidth() const { return GetClientRect().Width(); }

void QRepView::SetModified() { doc_.SetDirty(true); }

void QRepView::InvalidateClient(const TRect& rect)
{
    if (IsWindow()) InvalidateRect(rect, false);
}

bool QRepView::SetReportWidth(int width)
{
    const int oldPixels = report_.PixelWidth();
    if (!report_.SetReportWidth(width)) return false;
    const int newPixels = report_.UpdatePixelWidth();
    if (newPixels != oldPixels && IsWindow()) {
        RPSectionDetail& detail = report_.Detail();
        if (detail.Enabled() && detail.GetNOfColumns() != 1) detail.InvalidateBody();
        TRect strip(std::min(oldPixels, newPixels) - scrollX_, 0, std::max(oldPixels, newPixels) - scrollX_ + 1,
                    GetClientRect().bottom);
        InvalidateRect(strip & GetClientRect(), false);
        if (hRuler_) hRuler_->Invalidate(false);
    }
    return true;
}

bool QRepView::RefreshSection(RPSection& band, int height)
{
    if (!band.SetBandHeight(height)) return false;
    LayoutSections();
    return true;
}

bool QRepView::RefreshAllSections()
{
    bool any = false;
    for (RPSection* b : bands_) any = b->SetBandHeight(-1) || any;
    if (any) LayoutSections();
    return any;
}

// --- bands ---

void QRepView::LayoutSections()
{
    report_.UpdatePixelWidth();
    bands_.clear();
    int y = 1;
    const int titleH = Metrics().bandTitleHeight;
    for (int i = 0; i < 5; ++i) {
        RPSection& b = report_.Band(i);
        if (!b.Enabled()) continue;
        b.Place(y);
        y += titleH + ::vyn::RepUnitsToPixelsY(b.StoredHeight()) + 1;
        bands_.push_back(&b);
    }
    if (IsWindow()) {
        SetScrollRange(SB_VERT, 0, TotalHeight());
        scrollX_ = GetScrollPos(SB_HORZ);
        scrollY_ = GetScrollPos(SB_VERT);
        Invalidate(false);
        if (vRuler_) vRuler_->Invalidate(false);
        if (hRuler_) hRuler_->Invalidate(false);
    }
}

int QRepView::TotalHeight() const
{
    const int last = bands_.empty() ? 0 : bands_.back()->BodyBottom() + scrollY_;
    return last + ::vyn::RepUnitsToPixelsY(kMaxTwips);
}

int QRepView::SectionIndex(const RPSection* band) const
{
    for (std::size_t i = 0; i < bands_.size(); ++i)
        if (bands_[i] == band) return static_cast<int>(i);
    return -1;
}

int QRepView::ActiveSectionIndex() const { return std::max(0, SectionIndex(hitBand_)); }

int QRepView::SectionLimitY(int n) const
{
    if (n < 0 || n >= static_cast<int>(bands_.size())) return 0;
    const int h = hitObject_ ? hitObject_->GetHeight() : 0;
    int limit = ::vyn::RepUnitsToPixelsY(kMaxTwips - h);
    if (n + 1 < static_cast<int>(bands_.size()))
        limit = std::min(limit, bands_[static_cast<std::size_t>(n) + 1]->BodyTop() - bands_[static_cast<std::size_t>(n)]->BodyTop() - 1);
    if (snap_) limit = report_.GridY().SnapDown(limit);
    return limit;
}

void QRepView::ToggleSection(int n)
{
    if (n < 0 || n > 4) return;
    RPSection& b = report_.Band(n);
    if (!b.Enabled()) {
        ClearSelection();
        ClearActiveSection();
    } else {
        ClearSelection(&b);
        if (activeBand_ == &b) ClearActiveSection();
    }
    b.SetEnabled(!b.Enabled());
    LayoutSections();
    SetReportWidth(-1);
    if (b.Enabled()) SetActiveSection(&b);
    AttrUpdated(AttrUpdate::Reload);
}

// --- selection ---

void QRepView::SelectObject(RPObject* obj)
{
    if (!obj || obj->Selected()) return;
    obj->ToggleSelect();
    selection_.push_back(obj);
}

void QRepView::DeselectObject(RPObject* obj)
{
    auto it = std::find(selection_.begin(), selection_.end(), obj);
    if (it == selection_.end()) return;
    if (obj->Selected()) obj->ToggleSelect();
    selection_.erase(it);
}

void QRepView::ClearSelection(RPSection* band)
{
    if (!band) {
        for (RPObject* o : selection_)
            if (o->Selected()) o->ToggleSelect();
        selection_.clear();
        return;
    }
    for (std::size_t i = selection_.size(); i-- > 0;) {
        RPObject* o = selection_[i];
        if (o->Owner() != band) continue;
        if (o->Selected()) o->ToggleSelect();
        selection_.erase(selection_.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void QRepView::RebuildSelection()
{
    selection_.clear();
    for (RPSection* b : bands_)
        for (const auto& o : b->Objects())
            if (o->Selected()) selection_.push_back(o.get());
}

void QRepView::SetActiveSection(RPSection* band)
{
    for (RPSection* b : bands_)
        if (b->Highlighted() != (b == band)) b->ToggleHighlight();
    activeBand_ = band;
}

void QRepView::ClearActiveSection()
{
    for (RPSection* b : bands_)
        if (b->Highlighted()) b->ToggleHighlight();
    activeBand_ = nullptr;
}

// --- the attribute editor ---

void QRepView::AttrUpdated(AttrUpdate how)
{
    if (auto& f = GetRepViewShell().attrUpdate) f(*this, how);
}

void QRepView::AttrHide(bool hide)
{
    if (!gAttrEditorShown) return;
    if (auto& f = GetRepViewShell().attrShowForView) f(*this, !hide);
}

void QRepView::DetachAttrEditor()
{
    if (!gAttrEditorShown) return;
    gAttrEditorShown = false;
    if (auto& f = GetRepViewShell().attrOpen) f(*this, false);
}

// --- activation ---

void QRepView::SetActive(bool active)
{
    active_ = active;
    if (!active) {
        CommitTextEdit(false);
        trackCode_ = 0;
    }
    if (gAttrEditorShown) AttrHide(!active);
}

void QRepView::OnDeactivate(bool active, bool ownWindow)
{
    if (active || textEditor_->wizardOpen) return;
    if (ownWindow) CommitTextEdit(false);
    else CancelTextEdit(false);
}

void QRepView::EvMDIActivate(bool active)
{
    if (auto& f = GetRepViewShell().barsChanged) f(*this, active);
}

// --- hit test ---

RPSection* QRepView::BandBodyAt(TPoint p) const
{
    if (p.x < 0 || p.x > report_.PixelWidth() - scrollX_) return nullptr;
    for (RPSection* b : bands_) {
        if (p.y < b->BodyTop()) return nullptr;
        if (p.y <= b->BodyBottom()) return b;
    }
    return nullptr;
}

RPSection* QRepView::BandBodyAtWide(TPoint p) const
{
    if (p.x < 0 || p.x > Metrics().widestReport.cx - scrollX_) return nullptr;
    for (RPSection* b : bands_) {
        if (p.y < b->BodyTop()) return nullptr;
        if (p.y <= b->BodyBottom()) return b;
    }
    return nullptr;
}

RPSection* QRepView::BandTitleAt(TPoint p) const
{
    for (RPSection* b : bands_) {
        if (p.y < b->HeaderTop()) return nullptr;
        if (p.y < b->BodyTop()) return b;
    }
    return nullptr;
}

RPSection* QRepView::BandBottomAt(TPoint p) const
{
    for (RPSection* b : bands_) {
        if (p.y < b->BodyBottom() - 2) return nullptr;
        if (p.y <= b->BodyBottom() + 2) return b;
    }
    return nullptr;
}

bool QRepView::AtReportEdge(TPoint p) const { return std::abs(p.x - (report_.PixelWidth() - scrollX_)) <= 2; }

int QRepView::HitTest(TPoint p)
{
    trackCode_ = 0;
    hitBand_ = nullptr;
    hitObject_ = nullptr;
    if (!active_ || !GetClientRect().Contains(p)) return trackCode_;
    trackCode_ = trOutside;
    RPSection* band = nullptr;
    if (tool_ == 0) {
        band = BandBodyAt(p);
        if (band) {
            int code = 0;
            RPObject* obj = band->ObjectAt(TPoint(p.x + scrollX_, p.y - band->BodyTop()), selection_.size() == 1, code);
            if (obj) {
                trackCode_ = code;
                hitObject_ = obj;
                hitBand_ = band;
                return trackCode_;
            }
        }
        if ((band = BandBottomAt(p)) != nullptr) {
            trackCode_ = AtReportEdge(p) ? trBorderCorner : trBandBorder;
        } else if ((band = BandTitleAt(p)) != nullptr) {
            trackCode_ = trBandTitle;
        } else if (AtReportEdge(p)) {
            trackCode_ = trReportEdge;
        } else {
            band = BandBodyAt(p);
            trackCode_ = band ? trBandBody : trOutside;
        }
    } else {
        band = BandBodyAtWide(p);
        trackCode_ = band ? trToolBand : trToolOutside;
    }
    hitBand_ = band;
    return trackCode_;
}

TCursorShape QRepView::CursorFor(int code) const
{
    switch (code) {
    case tcEdit: return TCursorShape::IBeam;
    case tcTop:
    case tcBottom:
    case trBandBorder: return TCursorShape::SizeNS;
    case tcLeft:
    case tcRight:
    case trReportEdge: return TCursorShape::SizeWE;
    case tcTopRight:
    case tcBottomRight:
    case tcBottomLeft:
    case trBorderCorner:
    case trToolBand: return TCursorShape::Cross;
    case tcAnchor:
    case tcMove:
    case tcBody: return TCursorShape::Hand;
    case trToolOutside: return TCursorShape::None;
    default: return TCursorShape::Arrow;
    }
}

// --- painting ---

void QRepView::Paint(TDC& dc, bool, TRect& rect) { PaintLayout(dc, rect); }

void QRepView::PaintLayout(TDC& dc, const TRect& rect)
{
    const TRect clip = rect & GetClientRect();
    if (!clip.IsEmpty()) ::vyn::PaintLayout(dc, report_, clip);
}

void QRepView::EvSize(unsigned sizeType, const TSize& size)
{
    TWindow::EvSize(sizeType, size);
    Invalidate(false);
}

// --- scrolling ---

void QRepView::ScrollTo(int bar, int pos)
{
    const int old = bar == SB_HORZ ? scrollX_ : scrollY_;
    SetScrollPos(bar, pos);
    const int now = GetScrollPos(bar);
    if (now == old) return;
    (bar == SB_HORZ ? scrollX_ : scrollY_) = now;
    EditorHideStep();
    ScrollContent(bar, now - old);
}

void QRepView::ScrollContent(int bar, int d)
{
    // The retained image is painted again from the model; moving its pixels would save
    // nothing worth the bookkeeping of pending updates.
    if (d == 0) return;
    Invalidate(false);
    if (bar == SB_HORZ && hRuler_) hRuler_->ScrollBy(d);
    if (bar == SB_VERT && vRuler_) vRuler_->ScrollBy(d);
}

void QRepView::EditorHideStep()
{
    if (editorHideState_ == 3) {
        KillTimer(kTimerEndScroll);
        editorHideState_ = 0;
    }
    if (editorHideState_ == 0) editorHideState_ = gAttrEditorShown ? 2 : 1;
}

void QRepView::ScrollBar(int bar, unsigned code, unsigned pos)
{
    if (Editing()) return;
    int cur = bar == SB_HORZ ? scrollX_ : scrollY_;
    const int page = bar == SB_HORZ ? ::vyn::RepUnitsToPixelsX(kTwipsPerInch) : ::vyn::RepUnitsToPixelsY(kTwipsPerInch);
    int lo = 0, hi = 0;
    GetScrollRange(bar, lo, hi);
    switch (code) {
    case SB_LINEUP: --cur; break;
    case SB_LINEDOWN: ++cur; break;
    case SB_PAGEUP: cur -= page; break;
    case SB_PAGEDOWN: cur += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: cur = static_cast<int>(pos); break;
    case SB_TOP: cur = lo; break;
    case SB_BOTTOM: cur = hi; break;
    default: break;
    }
    if (code != SB_ENDSCROLL) ScrollTo(bar, cur);
    if (code == SB_ENDSCROLL) {
        if (editorHideState_ == 2) {
            editorHideState_ = 3;
            SetTimer(kTimerEndScroll, 550);
        } else {
            editorHideState_ = 0;
        }
    }
}

void QRepView::EvHScroll(unsigned code, unsigned pos, TWindow*) { ScrollBar(SB_HORZ, code, pos); }
void QRepView::EvVScroll(unsigned code, unsigned pos, TWindow*) { ScrollBar(SB_VERT, code, pos); }

// --- keyboard ---

unsigned QRepView::EvGetDlgCode(const TMsg*) { return DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTARROWS; }

void QRepView::ApplyTabScroll(TPoint d)
{
    bool any = false;
    if (d.x) {
        SetScrollPos(SB_HORZ, scrollX_ + d.x);
        scrollX_ = GetScrollPos(SB_HORZ);
        if (hRuler_) hRuler_->Invalidate(false);
        any = true;
    }
    if (d.y) {
        SetScrollPos(SB_VERT, scrollY_ + d.y);
        scrollY_ = GetScrollPos(SB_VERT);
        if (vRuler_) vRuler_->Invalidate(false);
        any = true;
    }
    if (any) Invalidate(false);
}

unsigned QRepView::Accelerator(unsigned key)
{
    const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0, alt = GetKeyState(VK_MENU) < 0;
    if (key == VK_DELETE && !ctrl && !alt) return shift ? cmRepCut : cmRepDelete;
    if (key == VK_INSERT && ctrl && !shift) return cmRepCopy;
    if (key == VK_INSERT && shift && !ctrl) return cmRepPaste;
    if (ctrl && !shift && !alt) {
        if (key == 'X') return cmRepCut;
        if (key == 'C') return cmRepCopy;
        if (key == 'V') return cmRepPaste;
    }
    if (key == VK_BACK && alt) return cmRepUndo;
    return 0;
}

void QRepView::EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    if (const unsigned id = Accelerator(key)) {
        TCommandEnabler ce(id);
        EvCommandEnable(ce);
        if (ce.IsEnabled()) SendCommand(id);
        return;
    }
    // The Tools menu shows Esc beside Pointer: with a placing tool chosen, Esc gives the pointer back.
    if (key == VK_ESCAPE && dragState_ == 0 && tool_ != 0) {
        SendCommand(cmRepPointer);
        return;
    }
    if (dragState_ != 0 || tool_ != 0) {
        TWindow::EvKeyDown(key, repeatCount, flags);
        return;
    }
    if (key == VK_ESCAPE) {
        const bool any = activeBand_ || !selection_.empty();
        ClearActiveSection();
        ClearSelection();
        if (any) AttrUpdated(AttrUpdate::Reload);
        return;
    }
    if (key == VK_TAB) {
        RPSection* band = nullptr;
        RPObject* obj = nullptr;
        if (!NextInTabOrder(GetKeyState(VK_SHIFT) < 0, band, obj)) return;
        ClearActiveSection();
        ClearSelection();
        if (obj) {
            SelectObject(obj);
            ApplyTabScroll(ScrollToShowObject(*obj));
        } else if (band) {
            SetActiveSection(band);
            ApplyTabScroll(ScrollToShowBand(*band));
        }
        AttrUpdated(AttrUpdate::Reload);
        return;
    }
    TWindow::EvKeyDown(key, repeatCount, flags);
}

// --- paste point and grid step ---

void QRepView::ClampPastePoint(TPoint& p) const
{
    if (p.x < 0 || p.x > kMaxTwips) p.x = kMaxTwips;
    if (p.y < 0 || p.y > kMaxTwips) p.y = 0;
    if (snap_) {
        p.x = report_.GridX().StepsToTwips(report_.GridX().TwipsToSteps(p.x));
        p.y = report_.GridY().StepsToTwips(report_.GridY().TwipsToSteps(p.y));
    }
}

TPoint QRepView::GridStep(int nx, int ny) const
{
    if (!snap_) return TPoint(360, 360);
    return TPoint(report_.GridX().StepsToTwips(nx), report_.GridY().StepsToTwips(ny));
}

}  // namespace vyn
