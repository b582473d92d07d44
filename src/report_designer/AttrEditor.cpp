#include "report_designer/AttrEditor.h"

#include <algorithm>

#include "platform/core/StringTable.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Keyboard.h"
#include "report_designer/AttrControls.h"
#include "report_designer/AttrMulti.h"
#include "report_designer/AttrRows.h"
#include "report_designer/DesignerMetrics.h"
#include "report_designer/QRepView.h"
#include "reports/QRepDoc.h"
#include "reports/RPDefaultAttrs.h"
#include "reports/RPObject.h"
#include "reports/RPReport.h"
#include "reports/RPSection.h"

namespace vyn {

// --- the target ---

int AttrTargetKind(const QRepView& view)
{
    if (view.Tool() != 0) return 0;
    if (view.ActiveBand()) return 4;
    const std::size_t n = view.Selection().size();
    if (n >= 2) return 2;
    if (n == 1) return 3;
    return 1;
}

RPObjAttr& GetAttrTarget(QRepView& view, std::string& description)
{
    // The selection is read at each call, so one binding serves whichever view asks.
    static RPMultiAttr multi;
    static RPObjAttr noAttributes;
    switch (AttrTargetKind(view)) {
    case 0: {
        const int type = view.Tool() - 1;
        description = GetResStringStd(7915) + ObjectTypeName(type);
        switch (type) {
        case otTextBox: return TextBoxDefaults();
        case otRectangle: return RectangleDefaults();
        case otLine: return LineDefaults();
        case otGraph: return GraphDefaults();
        case otPicture: return PictureDefaults();
        default: return noAttributes;
        }
    }
    case 4: description = SectionName(view.SectionIndex(view.ActiveBand())); return *view.ActiveBand();
    case 2:
        multi.Bind(&view.Selection());
        description = GetResStringStd(7916) + " (" + std::to_string(view.Selection().size()) + ")";
        return multi;
    case 3: description = ObjectTypeName(view.Selection().front()->GetType()); return *view.Selection().front();
    default: description = GetResStringStd(7917); return view.Report();
    }
}

// --- construction ---

QRAttrDlg::QRAttrDlg(TWindow* parent) : TWindow(parent), allRows_(MakeAttrRows())
{
    // The designer's clipboard keys reach the pane: while a value is being typed they act on its
    // text, and the report's objects are never cut, copied, pasted or deleted from here.
    for (unsigned id : {cmRepCut, cmRepCopy, cmRepPaste, cmRepDelete})
        OnCommand(id, [id] {
            if (gAttrEdit && gAttrEdit->HasFocus()) gAttrEdit->EditCommand(id);
        });
}

QRAttrDlg::~QRAttrDlg()
{
    if (gAttrDlg == this) gAttrDlg = nullptr;
}

QRAttrDlg* QRAttrDlg::CreateEditorWindows(TWindow* mainWindow)
{
    if (gAttrDlg) return gAttrDlg;
    static TFont font("DejaVu Sans", -(9 * 96 / 72));
    gAttrFont = &font;
    {
        TMemoryDC dc;
        dc.SelectObject(font);
        const TSize m = dc.GetTextExtent("M");
        AttrMetrics& a = gAttrMetrics;
        a.cx = m.cx;
        a.cy = m.cy;
        a.rowPad = std::max(2, a.cy / 6);
        a.rowHeight = a.cy + a.rowPad;
        a.stripHeight = a.cy + 2 * a.rowPad;
        a.minNameWidth = dc.GetTextExtent("Border Line Style").cx;
        a.minValueWidth = dc.GetTextExtent("And Contents ").cx;
        a.swatchWidth = a.cx * 4 / 3;
        a.buttonWidth = 2 * a.cx;
        a.halfGap = a.cx / 2;
        // The sizing border, the scroll bar and the caption as the framework draws them.
        const int border = 4, scrollBar = 16, caption = 20;
        a.minFrameWidth = a.cx + a.minNameWidth + a.cx + a.minValueWidth + a.halfGap + a.buttonWidth + a.halfGap +
                          2 * border + scrollBar;
        a.minFrameHeight = 2 + 2 * a.stripHeight + 3 * a.rowHeight + 2 + 2 * border + caption;
        dc.RestoreFont();
    }
    if (!mainWindow)
        if (TApplication* app = TApplication::Current()) mainWindow = app->GetMainWindow();
    auto* frame = new QRAttrFrame(mainWindow);
    gAttrFrame = frame;
    gAttrHeader = new QRAttrHd(frame);
    gAttrDlg = new QRAttrDlg(frame);
    gAttrStatus = new QRattrStat(frame);
    gAttrEdit = new QRAttrEdit(gAttrDlg);
    gAttrList = new QRAttrList(gAttrDlg);
    gAttrDropButton = new QRAttrButt(gAttrDlg, idAttrDrop);
    gAttrDropButton->glyph = QRAttrButt::glyphArrow;
    gAttrColor = new QRAttrClr(gAttrDlg);
    gAttrMoreButton = new QRAttrButt(gAttrDlg, idAttrMore);
    gAttrMoreButton->glyph = QRAttrButt::glyphDots;
    return gAttrDlg;
}

void QRAttrDlg::CreateFrame()
{
    if (!gAttrFrame) CreateEditorWindows();
    if (!gAttrFrame->IsWindow()) {
        gAttrFrame->Create();
        // The first size shows five and a half rows more than the smallest window's three.
        const AttrMetrics& a = gAttrMetrics;
        gAttrFrame->MoveWindow(0, 0, a.minFrameWidth + 3 * a.cx, a.minFrameHeight + a.rowHeight * 11 / 2);
        for (TWindow* w : {static_cast<TWindow*>(gAttrEdit), static_cast<TWindow*>(gAttrList),
                           static_cast<TWindow*>(gAttrDropButton), static_cast<TWindow*>(gAttrColor),
                           static_cast<TWindow*>(gAttrMoreButton)})
            w->ShowWindow(SW_HIDE);
        gAttrFrame->ShowWindow(SW_HIDE);
        gAttrFrame->Layout();
    }
    gAttrEdit->SetWindowFont(*gAttrFont, false);
    gAttrList->SetWindowFont(*gAttrFont, false);
}

static void ShowForImpl(QRepView* view, int show, bool activate)
{
    QRAttrDlg::CreateFrame();
    if (show) {
        QRAttrGlobals::gAttrView = view;
        QRAttrGlobals::gAttrReport = view ? &view->Report() : nullptr;
        QRAttrGlobals::gAttrFrame->Show(true, activate);
        std::string title;
        if (view) title = view->Doc().GetTitle();
        QRAttrGlobals::gAttrFrame->SetWindowText(title);
    } else {
        QRAttrGlobals::gAttrFrame->Show(false, false);
        QRAttrGlobals::gAttrView = nullptr;
        QRAttrGlobals::gAttrReport = nullptr;
    }
}

void QRAttrDlg::ShowFor(QRepView* view, int show) { ShowForImpl(view, show, true); }
void QRAttrDlg::ShowForNoActivate(QRepView* view, int show) { ShowForImpl(view, show, false); }

TRect QRAttrDlg::GetFrameRect() { return gAttrFrame && gAttrFrame->IsWindow() ? gAttrFrame->GetWindowRect() : TRect(); }

void QRAttrDlg::InstallViewHooks()
{
    QRepViewShell& s = GetRepViewShell();
    s.attrOpen = [](QRepView& v, bool open) {
        CreateEditorWindows();
        ShowFor(&v, open ? 1 : 0);
    };
    s.attrShowForView = [](QRepView& v, bool visible) {
        CreateEditorWindows();
        ShowForNoActivate(&v, visible ? 1 : 0);
    };
    s.attrUpdate = [](QRepView& v, AttrUpdate how) {
        if (!gAttrDlg || gAttrView != &v) return;
        switch (how) {
        case AttrUpdate::Reload: gAttrDlg->Reload(1); break;
        case AttrUpdate::ReloadValues: gAttrDlg->Reload(0); break;
        case AttrUpdate::RebuildRows: gAttrDlg->SetRowsDirty(); break;
        case AttrUpdate::ApplyPending: gAttrDlg->Update(); break;
        }
    };
}

// --- rows ---

SCtrl* QRAttrDlg::CurrentRow() const
{
    return currentRow_ >= 0 && currentRow_ < static_cast<int>(shownRows_.size()) ? shownRows_[currentRow_] : nullptr;
}

SCtrl* QRAttrDlg::RowWithCode(int code) const
{
    for (SCtrl* r : shownRows_)
        if (r->code == code) return r;
    return nullptr;
}

void QRAttrDlg::RebuildRows()
{
    // A row being edited keeps the shared controls over it until its edit ends; the rows it
    // stands among are going, so they go with it, and nothing it holds is written.
    if (SCtrl* r = CurrentRow(); r && r->editing) r->EndEdit(1);
    currentRow_ = -1;
    rowsDirty_ = 0;
    valuesDirty_ = 0;
    topRow_ = 0;
    shownRows_.clear();
    if (!gAttrView) {
        gAttrTarget = nullptr;
        if (gAttrHeader) gAttrHeader->SetTitle(std::string());
        return;
    }
    valuesDirty_ = 1;
    std::string description;
    gAttrTarget = &GetAttrTarget(*gAttrView, description);
    for (auto& row : allRows_) {
        if (!gAttrTarget->HasAttr(row->code)) continue;
        row->SetIndex(static_cast<int>(shownRows_.size()));
        shownRows_.push_back(row.get());
    }
    if (!shownRows_.empty()) currentRow_ = 0;
    if (gAttrHeader) gAttrHeader->SetTitle(description);
}

void QRAttrDlg::ReloadValues()
{
    for (SCtrl* r : shownRows_) r->LoadValue();
    valuesDirty_ = 0;
    if (IsWindow()) Invalidate(false);
}

void QRAttrDlg::Reload(int rowsToo)
{
    rowsDirty_ |= rowsToo != 0 ? 1 : 0;
    valuesDirty_ = 1;
    if (!shown_) return;
    const bool rebuild = rowsDirty_ != 0;
    if (rebuild) RebuildRows();
    if (valuesDirty_) ReloadValues();
    if (rebuild) LayoutRows();
    Invalidate(false);
    if (rebuild) ResumeEdit();
}

void QRAttrDlg::BlankRows()
{
    if (!shown_) return;
    blank_ = 1;
    Invalidate(false);
}

void QRAttrDlg::Update()
{
    if (!shown_) return;
    const bool pending = rowsDirty_ || valuesDirty_ || blank_;
    const bool rebuild = rowsDirty_ != 0;
    if (rebuild) RebuildRows();
    if (valuesDirty_) ReloadValues();
    if (rebuild) LayoutRows();
    blank_ = 0;
    if (pending) Invalidate(false);
    if (rebuild) ResumeEdit();
}

void QRAttrDlg::DocTitleChanged(const QRepView& view)
{
    // The pane lives as long as its frame: without it there is no window to name.
    if (gAttrDlg && gAttrFrame && gAttrView == &view) gAttrFrame->SetWindowText(view.Doc().GetTitle());
}

void QRAttrDlg::SetShown(int shown)
{
    shown_ = shown;
    if (!shown) return;
    RebuildRows();
    ReloadValues();
    LayoutRows();
    std::string title;
    if (gAttrView) title = gAttrView->Doc().GetTitle();
    if (gAttrFrame) gAttrFrame->SetWindowText(title);
    ResumeEdit();
}

void QRAttrDlg::SetActive(int active)
{
    if (modalDepth_ > 0) return;
    active_ = active;
    if (active) ResumeEdit();
    else if (SCtrl* r = CurrentRow(); r && r->editing) r->EndEdit(1);
}

// New rows while the window is active (a designer command from the menu or a key, the window
// shown again after the preview) come with no activation of their own: the current row begins
// editing now, so that the keys reach it.
void QRAttrDlg::ResumeEdit()
{
    if (!active_ || !shown_ || modalDepth_ > 0) return;
    SCtrl* r = CurrentRow();
    if (!r || r->editing) return;
    EnsureCurrentVisible();
    r->BeginEdit(0);
}

TWindow* QRAttrDlg::BeginModal()
{
    modalFocus_ = TWindow::GetFocus();
    ++modalDepth_;
    TWindow* main = TApplication::Current() ? TApplication::Current()->GetMainWindow() : nullptr;
    mainWasEnabled_ = main && main->IsWindow() && main->IsWindowEnabled();
    if (mainWasEnabled_) main->EnableWindow(false);
    return gAttrFrame;
}

void QRAttrDlg::EndModal()
{
    TWindow* main = TApplication::Current() ? TApplication::Current()->GetMainWindow() : nullptr;
    if (mainWasEnabled_ && main) main->EnableWindow(true);
    --modalDepth_;
    if (modalFocus_ && modalFocus_->IsWindow()) modalFocus_->SetFocus();
    modalFocus_ = nullptr;
}

// --- geometry ---

void QRAttrDlg::ComputeColumns(const TRect& client)
{
    const AttrMetrics& m = gAttrMetrics;
    const int space = client.Width() - (m.cx + m.cx + m.halfGap + m.buttonWidth + m.halfGap);
    nameWidth_ = space * 2 / 5;
    valueWidth_ = space - nameWidth_;
    if (valueWidth_ < m.minValueWidth) {
        valueWidth_ = m.minValueWidth;
        nameWidth_ = space - m.minValueWidth;
    } else if (nameWidth_ < m.minNameWidth) {
        nameWidth_ = m.minNameWidth;
        valueWidth_ = space - m.minNameWidth;
    }
    valueLeft_ = m.cx + nameWidth_ + m.cx;
    buttonLeft_ = valueLeft_ + valueWidth_ + m.halfGap;
}

TRect QRAttrDlg::NameRect(int i) const
{
    const int t = TextTop(i);
    return TRect(gAttrMetrics.cx, t, gAttrMetrics.cx + nameWidth_, t + gAttrMetrics.cy);
}

TRect QRAttrDlg::ValueRect(int i) const
{
    const int t = TextTop(i);
    return TRect(valueLeft_, t, valueLeft_ + valueWidth_, t + gAttrMetrics.cy);
}

TRect QRAttrDlg::ValueTextRect(int i) const
{
    TRect r = ValueRect(i);
    r.right -= gAttrMetrics.swatchWidth;
    return r;
}

TRect QRAttrDlg::ValueSwatchRect(int i) const
{
    TRect r = ValueRect(i);
    r.left = r.right - gAttrMetrics.swatchWidth;
    return r;
}

TRect QRAttrDlg::DropListRect(int i, int n) const
{
    const TRect v = ValueRect(i);
    return TRect(v.left, v.bottom, v.right, v.bottom + gAttrMetrics.cy * std::max(n, 1) + 2);
}

TRect QRAttrDlg::ButtonRect(int i) const
{
    const int t = TextTop(i);
    return TRect(buttonLeft_, t, buttonLeft_ + gAttrMetrics.buttonWidth, t + gAttrMetrics.cy);
}

int QRAttrDlg::RowAtPoint(TPoint p) const
{
    if (p.y < 0) return -1;
    const int r = p.y / gAttrMetrics.rowHeight + topRow_;
    return r < static_cast<int>(shownRows_.size()) ? r : -1;
}

void QRAttrDlg::VisibleRowRange(const TRect& r, int& first, int& end) const
{
    const int h = gAttrMetrics.rowHeight;
    first = std::max(0, r.top / h + topRow_);
    end = std::min((r.bottom + h - 1) / h + topRow_, static_cast<int>(shownRows_.size()));
}

TRect QRAttrDlg::EmptyAreaRect() const
{
    const TRect c = GetClientRect();
    const int y = RowTop(static_cast<int>(shownRows_.size()));
    if (y <= c.top) return c;
    if (y >= c.bottom) return TRect();
    return TRect(c.left, y, c.right, c.bottom);
}

void QRAttrDlg::LayoutRows()
{
    if (!IsWindow()) {
        ComputeColumns(TRect(0, 0, 300, 200));
        return;
    }
    TRect c = GetClientRect();
    const int visible = c.Height() / gAttrMetrics.rowHeight;
    const int maxTop = std::max(0, static_cast<int>(shownRows_.size()) - visible);
    if (topRow_ > maxTop) topRow_ = maxTop;
    SetScrollRange(SB_VERT, 0, maxTop, false);
    ShowScrollBar(SB_VERT, maxTop > 0);
    SetScrollPos(SB_VERT, topRow_, true);
    c = GetClientRect();
    ComputeColumns(c);
    if (SCtrl* r = CurrentRow()) r->Reposition();
}

void QRAttrDlg::EvSize(unsigned sizeType, const TSize& size)
{
    TWindow::EvSize(sizeType, size);
    LayoutRows();
}

void QRAttrDlg::EnsureCurrentVisible()
{
    const int visible = std::max(1, GetClientRect().Height() / gAttrMetrics.rowHeight);
    if (currentRow_ < topRow_) topRow_ = currentRow_;
    else if (currentRow_ >= topRow_ + visible) topRow_ = currentRow_ - visible + 1;
    else return;
    SetScrollPos(SB_VERT, topRow_, true);
    Invalidate(false);
}

// --- painting ---

void QRAttrDlg::Paint(TDC& dc, bool, TRect& rect)
{
    const TColor old = dc.SetBkColor(gAttrFaceColor);
    auto fill = [&dc](const TRect& r) { dc.ExtTextOut(r.left, r.top, ETO_OPAQUE | ETO_CLIPPED, &r, std::string()); };
    if (blank_) {
        fill(GetClientRect());
    } else {
        int first = 0, end = 0;
        VisibleRowRange(rect, first, end);
        for (int i = first; i < end; ++i) shownRows_[i]->Paint(dc, rect);
        const TRect empty = EmptyAreaRect() & rect;
        if (!empty.IsEmpty()) fill(empty);
    }
    dc.SetBkColor(old);
}

// --- mouse, scrolling, commands ---

void QRAttrDlg::EvLButtonDown(unsigned, const TPoint& p)
{
    const int row = RowAtPoint(p);
    if (SCtrl* r = CurrentRow()) r->EndEdit(0);
    currentRow_ = row;
    if (SCtrl* r = CurrentRow()) {
        EnsureCurrentVisible();
        r->BeginEdit(1);
    }
}

void QRAttrDlg::EvContextMenu(TWindow* window, int x, int y)
{
    // A right click in the value edit of an expression row (contents, condition) offers the
    // expression wizard, which writes into the edit; the row writes it when its edit ends.
    auto* row = dynamic_cast<SCtrlText*>(CurrentRow());
    auto& wizard = GetRepViewShell().expressionWizard;
    if (window != gAttrEdit || !row || !row->editing || !row->hasZoomButton || !gAttrView || !wizard) {
        TWindow::EvContextMenu(window, x, y);
        return;
    }
    BeginModal();
    gAttrEdit->wizardOpen = true;
    wizard(*gAttrView, *gAttrEdit);
    gAttrEdit->wizardOpen = false;
    EndModal();
}

void QRAttrDlg::EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    // The pane has the keys when no row is being edited (none was current, or its edit went):
    // the keys that move between the rows start editing one.
    switch (key) {
    case VK_DOWN:
    case VK_RETURN: Navigate(cmAttrNext, nullptr); return;
    case VK_UP: Navigate(cmAttrPrev, nullptr); return;
    case VK_TAB: Navigate(GetKeyState(VK_SHIFT) < 0 ? cmAttrPrev : cmAttrNext, nullptr); return;
    default: TWindow::EvKeyDown(key, repeatCount, flags);
    }
}

void QRAttrDlg::EvVScroll(unsigned code, unsigned thumb, TWindow*)
{
    const int h = gAttrMetrics.rowHeight;
    int minPos = 0, maxPos = 0;
    GetScrollRange(SB_VERT, minPos, maxPos);
    int pos = GetScrollPos(SB_VERT);
    const int page = ((GetClientRect().Height() - h) + 1) / h;
    switch (code) {
    case SB_LINEUP: --pos; break;
    case SB_LINEDOWN: ++pos; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = static_cast<int>(thumb); break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = maxPos; break;
    case SB_ENDSCROLL: break;
    default: return;
    }
    SetScrollPos(SB_VERT, std::clamp(pos, minPos, maxPos), true);
    // The rows move once, when the scroll ends, not for every step of the thumb.
    if (code != SB_ENDSCROLL) return;
    const int now = GetScrollPos(SB_VERT);
    if (now == topRow_) return;
    topRow_ = now;
    Invalidate(false);
    if (SCtrl* r = CurrentRow()) r->Reposition();
}

TResult QRAttrDlg::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    if (id == idAttrEdit && control == gAttrEdit) {
        if (notifyCode == EN_SETFOCUS) id = cmAttrEditFocus;
        else if (notifyCode == EN_CHANGE || notifyCode == EN_UPDATE) id = cmAttrEditChange;
        else return TWindow::EvCommand(id, control, notifyCode);
    } else if (id == idAttrList && control == gAttrList) {
        if (notifyCode == LBN_SELCHANGE) id = cmAttrListSel;
        else return TWindow::EvCommand(id, control, notifyCode);
    }
    switch (id) {
    case idAttrDrop:
    case idAttrMore:
    case cmAttrEditChar:
    case cmAttrEditFocus:
    case cmAttrEditChange:
    case cmAttrListSel:
    case cmAttrListChar:
    case cmAttrListLeave:
    case cmAttrListPick:
        if (SCtrl* r = CurrentRow()) r->Command(static_cast<int>(id));
        return 0;
    case cmAttrApply:
    case cmAttrEsc:
    case cmAttrTab:
    case cmAttrBackTab:
    case cmAttrNext:
    case cmAttrPrev: Navigate(id, control); return 0;
    default: return TWindow::EvCommand(id, control, notifyCode);
    }
}

void QRAttrDlg::Navigate(unsigned id, TWindow* control)
{
    SetFocus();
    if (id == cmAttrTab || id == cmAttrBackTab) {
        TWindow* ring[] = {gAttrEdit, gAttrDropButton, gAttrMoreButton};
        int at = -1;
        for (int k = 0; k < 3; ++k)
            if (ring[k] == control) at = k;
        if (at >= 0) {
            const int step = id == cmAttrTab ? 1 : -1;
            for (int k = at + step; k >= 0 && k < 3; k += step)
                if (ring[k]->IsWindowVisible() && ring[k]->IsWindowEnabled()) {
                    ring[k]->SetFocus();
                    return;
                }
        }
        id = id == cmAttrTab ? cmAttrNext : cmAttrPrev;
    }
    if (SCtrl* r = CurrentRow()) r->EndEdit(id == cmAttrEsc ? 1 : 0);
    if (id == cmAttrNext) ++currentRow_;
    if (id == cmAttrPrev) --currentRow_;
    const int n = static_cast<int>(shownRows_.size());
    if (currentRow_ < 0) currentRow_ = 0;
    if (currentRow_ >= n) currentRow_ = n - 1;
    if (SCtrl* r = CurrentRow()) {
        EnsureCurrentVisible();
        r->BeginEdit(0);
    }
}

}  // namespace vyn
