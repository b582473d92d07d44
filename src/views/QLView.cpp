#include "views/QLView.h"

#include <algorithm>
#include <cstdio>

#include "controls/QGEdit.h"
#include "document/QDoc.h"
#include "plate/TextFieldCodec.h"
#include "plate/Utilities.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/Keyboard.h"
#include "platform/gui/MsgBox.h"
#include "printing/PageSettings.h"
#include "printing/QMethodSummaryPrintout.h"
#include "views/QSView.h"
#include "views/FieldText.h"
#include "views/ViewBitmaps.h"
#include "views/ViewShell.h"

namespace vyn {

int QLView::sRememberedWidth = 0;
int QLView::sCurrentWidth = 0;

namespace {

// The list has no scroll bar of its own drawing; this is the room the layout keeps for one.
constexpr int kScrollBarWidth = 16;
constexpr int kIdentStart = 88;  // quarter character widths
const TColor kGrey{128, 128, 128}, kLightGrey{192, 192, 192}, kCyan{0, 255, 255}, kRed{255, 0, 0},
    kBlue{0, 0, 255};

// An 8 x 8 pattern of rows alternating 0x11 and 0x44, 1 bits white.
TBitmap FixedPattern()
{
    std::vector<std::uint8_t> bits;
    for (int r = 0; r < 8; ++r) {
        bits.push_back(r % 2 ? 0x44 : 0x11);
        bits.push_back(0);
    }
    return TBitmap::FromMonoBits(8, 8, bits);
}

IDocDialogs* Dialogs(TWindow* w) { return GetViewShell().dialogs ? GetViewShell().dialogs(w) : nullptr; }

}  // namespace

QLView::QLView(QDoc& doc, TWindow* parent)
    : TWindow(parent), TView(doc), doc_(doc), plate_(doc.GetPlate()), font_(GetStockFont(ANSI_FIXED_FONT))
{
    TPrintout::SetTitle("Samples");
    // The identification edit stands on the shell's tool bar while identifications are typed;
    // without a shell it stands over the current row.
    TWindow* host = ViewControlHost();
    edit_ = new QGEdit(host ? host : this, this, cmIdEdit, 17);
    edit_->ShowWindow(SW_HIDE);
    Measure();

    OnCommand(cmDeleteSample, [this] {
        QSample* s = Current();
        if (!s) return;
        const int row = current_;
        doc_.RemoveSample(s);
        current_ = -1;
        SetSelIndex(std::min(row, rows_ - 1));
    });
    OnCommand(cmIdentifications, [this] {
        if (mode_ == mdIdEntry) {
            edit_->OpenFocused(nullptr);
        } else if (mode_ == mdDisplay) {
            if (current_ < 0 && rows_ > 0) SetSelIndex(0);
            if (OnBar()) {
                if (!edit_->IsWindow() && edit_->GetParent()->IsWindow()) edit_->Create();
                const TRect r = edit_->GetWindowRect();
                edit_->MoveWindow(0, 0, identWidth_, r.Height());
            }
            SetMode(mdIdEntry);
            FitEditIntoBar();
        }
    });
    OnCommand(cmConfirmEntry, [this] { edit_->ReturnFocus(); });
    OnCommand(cmCancelEntry, [this] { edit_->Commit(); });
    OnCommand(cmSampleDefinition, [this] {
        if (!Current()) return;
        if (IDocDialogs* ui = Dialogs(this)) doc_.EditSampleDefinition(*ui, current_, mdListModify);
    });
    OnCommand(cmStopListModify, [this] { if (mode_ == mdListModify) SetMode(mdDisplay); });
    OnCommand(cmListModify, [this] {
        if (mode_ != mdDisplay) return;
        if (current_ < 0 && rows_ > 0) SetSelIndex(0);
        SetMode(mdListModify);
    });
    OnCommand(cmStopIdEntry, [this] {
        if (mode_ != mdIdEntry) return;
        SetFocus();
        SetMode(mdDisplay);
    });
    OnCommand(cmFixSample, [this] {
        QSample* s = Current();
        if (!s || !s->IsSequential()) return;
        const int row = current_;
        if (!doc_.FixSample(row)) {
            MessageBeep(0);
            return;
        }
        SetSelIndex(row + 1 < rows_ ? row + 1 : row);
    });
    OnCommand(cmShowSampleGraph, [this] {
        QSample* s = Current();
        if (s && s->kind == skQuantitative && GetViewShell().showSampleView) GetViewShell().showSampleView(doc_, current_);
    });
    OnCommand(cmSampleStatus, [this] {
        if (!Current()) return;
        if (IDocDialogs* ui = Dialogs(this)) doc_.ShowSampleStatus(*ui, current_);
    });
    OnCommand(cmHelpContext, [this] {
        if (GetViewShell().help) GetViewShell().help(GetContextHelpId());
    });

    auto enable = [](bool on) { return [on](TCommandEnabler& ce) { ce.Enable(on); }; };
    for (unsigned id = 2001; id <= 2009; ++id) OnCommandEnable(id, enable(true));
    OnCommandEnable(cmShowPlate, [](TCommandEnabler& ce) { ce.Enable(true); ce.SetCheck(0); });
    OnCommandEnable(cmShowCurve, [](TCommandEnabler& ce) { ce.Enable(true); ce.SetCheck(0); });
    OnCommandEnable(cmShowList, [](TCommandEnabler& ce) { ce.Enable(true); ce.SetCheck(1); });
    OnCommandEnable(cmShowSampleGraph, [this](TCommandEnabler& ce) {
        ce.SetCheck(0);
        ce.Enable(Current() && Current()->kind == skQuantitative);
    });
    OnCommandEnable(cmSampleStatus, [this](TCommandEnabler& ce) { ce.Enable(current_ >= 0); });
    OnCommandEnable(cmDeleteSample, [this](TCommandEnabler& ce) { ce.Enable(mode_ == mdListModify && current_ >= 0); });
    OnCommandEnable(cmFixSample, [this](TCommandEnabler& ce) {
        ce.Enable(mode_ == mdListModify && Current() && Current()->IsSequential());
    });
    OnCommandEnable(cmSampleDefinition, [this](TCommandEnabler& ce) {
        ce.Enable((mode_ == mdListModify || mode_ == mdDisplay) && current_ >= 0);
    });
    OnCommandEnable(cmIdentifications, [this](TCommandEnabler& ce) {
        ce.Enable(mode_ != mdListModify);
        ce.SetCheck(mode_ == mdIdEntry ? 1 : 0);
    });
    OnCommandEnable(cmListModify, [this](TCommandEnabler& ce) { ce.Enable(mode_ == mdDisplay); });
    OnCommandEnable(cmStopListModify, [this](TCommandEnabler& ce) { ce.Enable(mode_ == mdListModify); });
    OnCommandEnable(cmStopIdEntry, [this](TCommandEnabler& ce) { ce.Enable(mode_ == mdIdEntry); });
    for (unsigned id : {cmConfirmEntry, cmCancelEntry})
        OnCommandEnable(id, [this](TCommandEnabler& ce) { ce.Enable(mode_ == mdIdEntry && current_ >= 0 && edit_->HasFocus()); });
}

QLView::~QLView()
{
    if (IsWindow()) Destroy();  // nothing may paint the list while it is taken down
    if (OnBar()) delete edit_;
    ForgetActiveView(this);
    sRememberedWidth = sCurrentWidth;
}

// --- metrics and columns ---------------------------------------------------------------------

void QLView::Measure()
{
    TMemoryDC dc;
    dc.SelectObject(font_);
    const TSize s = dc.GetTextExtent("0");
    cw_ = std::max(1, s.cx);
    ch_ = std::max(1, s.cy);
    rowHeight_ = (ch_ * 7 + 4) / 5;
    numberWidth_ = cw_ * 4 + 2;
    minIdentWidth_ = cw_ * 8;
    minResultsWidth_ = cw_ * 4;
    margin_ = cw_ / 2;
    identWidth_ = std::max(minIdentWidth_, kIdentStart * cw_ / 4);
    resultsWidth_ = plate_.resultFieldWidth;
    resultsPx_ = std::max(minResultsWidth_, 2 * margin_ + resultsWidth_ * cw_ / 4);
    minWidth_ = kScrollBarWidth + numberWidth_ + minIdentWidth_ + minResultsWidth_;
    minHeight_ = rowHeight_ * 5 / 2;
}

void QLView::SetupWindow()
{
    TWindow::SetupWindow();
    rows_ = plate_.sampleCount;
    const int preferred = kScrollBarWidth + numberWidth_ + identWidth_ + resultsPx_;
    int parentW = preferred, parentH = minHeight_ * 8;
    if (TWindow* p = GetParent(); p && p->IsWindow()) {
        parentW = p->GetClientRect().Width();
        parentH = p->GetClientRect().Height();
    }
    int w = sRememberedWidth * cw_ / 4;
    if (w < minWidth_ || w > parentW) w = (preferred >= minWidth_ && preferred <= parentW) ? preferred : parentW;
    w = std::max(w, minWidth_);
    const int h = std::max(parentH, minHeight_);
    MoveWindow(0, 0, w, h);
    SetContextHelpId(kHelpDisplay);
    FitColumns();
}

int QLView::WantedWidth() const
{
    const int preferred = kScrollBarWidth + numberWidth_ + identWidth_ + resultsPx_;
    return std::max(minWidth_, sRememberedWidth > 0 ? sRememberedWidth * cw_ / 4 : preferred);
}

void QLView::FitColumns()
{
    const int clientW = GetClientRect().Width() - kScrollBarWidth;
    identWidth_ = std::max(minIdentWidth_, clientW - resultsPx_ - numberWidth_);
    sCurrentWidth = (GetWindowRect().Width() * 4 + cw_ - 1) / cw_;
    PlaceEdit();
}

void QLView::SetResultsPixelWidth(int w)
{
    w = std::max(w, minResultsWidth_);
    const int clientW = GetClientRect().Width() - kScrollBarWidth;
    identWidth_ = std::max(minIdentWidth_, clientW - w - numberWidth_);
    // A window dragged below its least size must not turn the column inside out.
    resultsPx_ = std::max(minResultsWidth_, clientW - numberWidth_ - identWidth_);
    if (titles_) titles_->Repaint();
    PlaceEdit();
}

void QLView::TakeResultsWidthFromPlate()
{
    resultsWidth_ = plate_.resultFieldWidth;
    SetResultsPixelWidth(2 * margin_ + resultsWidth_ * cw_ / 4);
    Invalidate(false);
}

void QLView::StoreResultsWidth()
{
    const int q = ((resultsPx_ - 2 * margin_) * 4 + cw_ - 1) / cw_;
    resultsWidth_ = q;
    doc_.SetPresentationMode(q);
}

void QLView::EvSize(unsigned sizeType, const TSize& size)
{
    TWindow::EvSize(sizeType, size);
    UpdateScroll();
    FitColumns();
    if (titles_) titles_->Repaint();
    Invalidate(false);
}

void QLView::EvGetMinMaxInfo(TMinMaxInfo& info)
{
    info.minTrackSizeX = minWidth_;
    info.minTrackSizeY = minHeight_;
}

// --- rows ------------------------------------------------------------------------------------

QSample* QLView::Current() const
{
    return current_ >= 0 && current_ < plate_.sampleCount ? plate_.GetSample(current_) : nullptr;
}

int QLView::VisibleRows() const { return std::max(1, GetClientRect().Height() / rowHeight_); }

TRect QLView::RowRect(int index) const
{
    const int y = (index - top_) * rowHeight_;
    return TRect(0, y, GetClientRect().Width() - kScrollBarWidth, y + rowHeight_);
}

int QLView::RowAt(int y) const
{
    const int r = top_ + y / rowHeight_;
    return y >= 0 && r < rows_ ? r : -1;
}

void QLView::EnsureVisible()
{
    if (current_ >= 0) {
        if (current_ < top_) top_ = current_;
        else if (current_ >= top_ + VisibleRows()) top_ = current_ - VisibleRows() + 1;
    }
    UpdateScroll();
}

void QLView::UpdateScroll()
{
    const int last = std::max(0, rows_ - VisibleRows());
    top_ = std::clamp(top_, 0, last);
    if (!IsWindow()) return;
    SetScrollRange(SB_VERT, 0, last, false);
    SetScrollPos(SB_VERT, top_, true);
}

void QLView::EvVScroll(unsigned code, unsigned pos, TWindow*)
{
    const int old = top_;
    switch (code) {
    case SB_LINEUP: --top_; break;
    case SB_LINEDOWN: ++top_; break;
    case SB_PAGEUP: top_ -= VisibleRows(); break;
    case SB_PAGEDOWN: top_ += VisibleRows(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: top_ = static_cast<int>(pos); break;
    case SB_TOP: top_ = 0; break;
    case SB_BOTTOM: top_ = rows_; break;
    default: return;
    }
    UpdateScroll();
    if (top_ == old) return;
    PlaceEdit();
    Invalidate(false);
}

void QLView::SetSelIndex(int index)
{
    if (index < -1 || index >= rows_) index = -1;
    const int old = current_;
    current_ = index;
    EnsureVisible();
    Invalidate(false);
    SelectionChanged();
    // A deselection is news too: the other views drop the sample's selection.
    if (current_ != old) doc_.NotifySampleSelected(current_);
}

void QLView::SelectionChanged()
{
    PlaceEdit();
    if (mode_ == mdIdEntry && current_ >= 0) edit_->Open(nullptr);
}

bool QLView::OnBar() const { return edit_->GetParent() != this; }

void QLView::FitEditIntoBar()
{
    // What runs past the bar's right edge is taken off the edit, keeping at least two base units.
    TWindow* bar = edit_->GetParent();
    if (!OnBar() || !bar || !bar->IsWindow() || !edit_->IsWindow()) return;
    const TRect r = bar->ChildRectInClient(*edit_);
    const int over = r.right - bar->GetClientRect().right;
    if (over <= 0) return;
    const int b = 2 * TDialog::BaseUnitsOf("MS Sans Serif", 8).cx;
    edit_->MoveWindow(r.left, r.top, std::max(b, r.Width() - (b / 4 + over)), r.Height());
    UpdateBars();
}

void QLView::PlaceEdit()
{
    if (!edit_->IsWindow()) return;
    if (OnBar()) {
        // Its gadget shows it; typing needs a current row.
        edit_->EnableWindow(mode_ == mdIdEntry && current_ >= 0);
        return;
    }
    if (mode_ != mdIdEntry || current_ < 0) {
        edit_->ShowWindow(SW_HIDE);
        return;
    }
    const TRect r = RowRect(current_);
    edit_->MoveWindow(numberWidth_ + 1, r.top + 1, identWidth_ - 1, r.Height() - 2);
    edit_->ShowWindow(SW_SHOW);
}

bool QLView::VnNotify(int event, long item)
{
    switch (event) {
    case vnPlateChanged: Invalidate(false); break;
    case vnSampleRemoved:
        // The current row stays on its sample: rows below a removed one move up; the removed
        // row itself leaves no row current.
        if (item >= 0 && item < rows_) {
            --rows_;
            if (item < current_) --current_;
            else if (item == current_) current_ = -1;
        }
        UpdateScroll();
        PlaceEdit();
        Invalidate(true);
        break;
    case vnSampleAdded:
        ++rows_;
        if (current_ >= 0 && item <= current_) ++current_;
        UpdateScroll();
        Invalidate(true);
        break;
    case vnSampleFocused:
        // The list follows without telling the others again.
        current_ = item >= 0 && item < rows_ ? static_cast<int>(item) : -1;
        EnsureVisible();
        PlaceEdit();
        Invalidate(false);
        break;
    case vnPresentationChanged:
        if (item & 8) TakeResultsWidthFromPlate();
        Invalidate(true);
        break;
    default: break;
    }
    return true;
}

bool QLView::CanClose()
{
    if (doc_.CountDataViews() > 1) return true;
    if (!doc_.CanClose()) return false;
    doc_.CloseSampleGraphViews();
    return true;
}

// --- modes -----------------------------------------------------------------------------------

void QLView::UpdateBars()
{
    bars_ = QPViewBars{};
    bars_.toolsPopup = ToolsPopup();
    if (mode_ != mdInactive) {
        bars_.installed = true;
        bars_.palette = {cmIdentifications, gdSeparator, cmShowPlate, cmShowList, cmShowCurve, cmShowSampleGraph,
                         cmSampleStatus};
        switch (mode_) {
        case mdIdEntry:
            bars_.mainBar = {gdSeparator, cmCancelEntry, cmConfirmEntry, gdSeparator, cmIdEdit};
            bars_.modeButtonCommand = cmStopIdEntry;
            bars_.modeButtonPicture = 3;
            bars_.pressed = {cmIdentifications};
            break;
        case mdListModify:
            bars_.mainBar = {cmDeleteSample, gdSeparator, cmFixSample, cmSampleDefinition};
            bars_.modeButtonCommand = cmStopListModify;
            bars_.modeButtonPicture = 2;
            bars_.modeButtonPressed = true;
            break;
        default:
            bars_.mainBar = RestingMainBar();
            bars_.modeButtonCommand = cmListModify;
            bars_.modeButtonPicture = 1;
            break;
        }
    }
    if (GetViewShell().barsChanged) GetViewShell().barsChanged(*this, bars_);
}

void QLView::SetMode(int mode)
{
    const int prev = mode_;
    if (mode == prev) return;
    mode_ = mode;
    UpdateBars();
    if (mode == mdInactive) {
        edit_->ShowWindow(SW_HIDE);
        return;
    }
    SetContextHelpId(mode == mdIdEntry ? kHelpIdEntry : mode == mdListModify ? kHelpListModify : kHelpDisplay);
    if (mode == mdDisplay && prev == mdInactive) {
        // The other views take up the current row again.
        const int row = current_;
        current_ = -1;
        SetSelIndex(row);
        return;
    }
    PlaceEdit();
    if (mode == mdIdEntry) edit_->Open(nullptr);
    Invalidate(false);
}

void QLView::Activated(bool active)
{
    if (active) {
        if (mode_ == mdInactive) SetMode(mdDisplay);
        else UpdateBars();
        SetActiveView(&doc_, this);
    } else {
        SetMode(mdInactive);
    }
}

void QLView::EditNotify(unsigned code)
{
    if (current_ < 0) return;
    QSample* s = Current();
    if (code == QGEdit::kEnded) {
        if (s) edit_->Open(s->ident.c_str());
        return;
    }
    std::string text = edit_->GetWindowText();
    if (text.size() > 7999) text.resize(7999);
    doc_.SetSampleName(text, current_);
}

TResult QLView::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    if (id == cmIdEdit && (control == edit_ || !control)) {  // the edit tells its notify window without naming itself
        if (notifyCode == QGEdit::kEnded || notifyCode == QGEdit::kChanged) EditNotify(notifyCode);
        return 0;
    }
    return TWindow::EvCommand(id, control, notifyCode);
}

void QLView::EvCommandEnable(TCommandEnabler& ce)
{
    // Asked at every idle round while the list is the active view, so the mode gadget keeps
    // naming the work mode; the plain display leaves the gadget to the shell.
    if (GetViewShell().setModeText) {
        if (mode_ == mdListModify) GetViewShell().setModeText(3);
        else if (mode_ == mdIdEntry) GetViewShell().setModeText(4);
    }
    TWindow::EvCommandEnable(ce);
}

// --- painting --------------------------------------------------------------------------------

std::string QLView::NumberText(int index) const
{
    const QSample* s = plate_.GetSample(index);
    if (!s) return {};
    if (s->IsSequential()) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%2d", s->SeqNumber());
        return buf;
    }
    return IndexToLetters(index);
}

std::string QLView::ResultText(int index, bool& isText) const
{
    isText = true;
    const QSample* s = plate_.GetSample(index);
    return s ? plate_.SampleResultText(*s, isText) : std::string();
}

void QLView::Paint(TDC& dc, bool, TRect&) { Draw(dc); }

void QLView::Draw(TDC& dc)
{
    const TRect rc = GetClientRect();
    dc.FillRect(rc, TBrush(TColor::White));
    for (int i = top_; i < rows_; ++i) {
        const TRect r = RowRect(i);
        if (r.top >= rc.bottom) break;
        DrawRow(dc, r, i);
    }
}

void QLView::DrawRow(TDC& dc, const TRect& rect, int index)
{
    const QSample* s = plate_.GetSample(index);
    if (index < 0 || !s) return;
    dc.SelectObject(font_);
    const bool fixed = s->IsFixed();
    const bool selected = index == current_;
    const TColor oldText = dc.GetTextColor(), oldBk = dc.GetBkColor();
    if (selected && mode_ == mdIdEntry) {
        if (fixed) {
            dc.SetTextColor(TColor::Gray);
            dc.SetBkColor(TColor::White);
            dc.FillRect(rect, TBrush(FixedPattern()));
        } else {
            dc.FillRect(rect, TBrush(TColor::White));
        }
    } else if (fixed) {
        dc.SetTextColor(kGrey);
        dc.SetBkColor(kLightGrey);
        dc.FillRect(rect, TBrush(FixedPattern()));
    } else {
        dc.FillRect(rect, TBrush(kLightGrey));
    }
    dc.SetTextColor(oldText);
    dc.SetBkColor(oldBk);

    dc.SelectObject(TPen(kGrey, 0));
    for (int x : {rect.left + numberWidth_, rect.left + numberWidth_ + identWidth_}) {
        dc.MoveTo(x, rect.top + 1);
        dc.LineTo(x, rect.bottom - 2);
    }
    auto bottomLine = [&](TColor c) {
        dc.SelectObject(TPen(c, 0));
        dc.MoveTo(rect.left, rect.bottom - 1);
        dc.LineTo(rect.right, rect.bottom - 1);
    };
    bottomLine(kGrey);
    if (index == plate_.fixedCount - 1) bottomLine(kCyan);
    if (index == rows_ - 1) bottomLine(TColor::Black);

    TRect in = rect;
    in.Inflate(-1, -1);
    TRect num(in.left + 2, in.top, in.left + numberWidth_ - 2, in.bottom);
    TRect id(in.left + numberWidth_ + margin_, in.top, in.left + numberWidth_ + identWidth_ - margin_, in.bottom);
    TRect res(in.left + numberWidth_ + identWidth_ + margin_, in.top, in.right - margin_, in.bottom);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(s->kind == skQualitative ? kBlue : kRed);
    dc.DrawText(NumberText(index), num, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc.SetTextColor(TColor::Black);
    dc.DrawText(s->ident, id, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    bool isText = true;
    const std::string result = ResultText(index, isText);
    // Aligned to the right, a number too wide would lose its first digits and read as another
    // number: it shows from its start, and the plate view's mark says it goes on.
    const int markW = std::max(1, dc.GetTextExtent("M").cx / 2);
    DrawFieldText(dc, result, res, (isText ? DT_LEFT : DT_RIGHT) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX,
                  ViewBitmaps::OverflowMark(markW, res.Height()));
    dc.SetTextColor(oldText);
    dc.SetBkMode(oldMode);

    // The glyphs: a small mark for an own definition, a triangle for the selected row.
    if (s->HasOwnDefinition()) dc.FillRect(TRect(rect.left + 1, rect.top + 1, rect.left + 4, rect.top + 4), TBrush(kBlue));
    if (selected) {
        dc.SelectObject(TPen(TColor::Black, 0));
        dc.SelectObject(TBrush(TColor::Black));
        const int h = std::max(2, rowHeight_ / 4), y = (rect.top + rect.bottom) / 2;
        TPoint tri[3] = {{rect.left + 1, y - h}, {rect.left + 1 + h, y}, {rect.left + 1, y + h}};
        dc.Polygon(tri, 3);
        if (mode_ == mdIdEntry) dc.FrameRect(TRect(rect.left, rect.top, rect.right - 1, rect.bottom - 2), TBrush(kCyan));
    }
    if (s->colourSet) {
        const TColor c(s->colour & 0xFFFFFF);
        const TRect patch(res.right - 1 - cw_, res.top + 2, res.right - 1, res.top + 2 + ch_ / 3 + 1);
        dc.FillRect(patch, TBrush(c));
        dc.SelectObject(TPen(TColor::White, 0));
        dc.MoveTo(patch.left, patch.bottom - 1);
        dc.LineTo(patch.left, patch.top);
        dc.LineTo(patch.right, patch.top);
        dc.SelectObject(TPen(kGrey, 0));
        dc.MoveTo(patch.right - 1, patch.top + 1);
        dc.LineTo(patch.right - 1, patch.bottom - 1);
        dc.LineTo(patch.left, patch.bottom - 1);
    }
    dc.RestorePen();
    dc.RestoreBrush();
    dc.RestoreFont();
}

// --- mouse -----------------------------------------------------------------------------------

void QLView::DrawDragLine()
{
    const int h = GetClientRect().Height();
    DrawNow([this, h](TDC& dc) {
        dc.SetROP2(R2_NOT);
        dc.MoveTo(dragX_, 0);
        dc.LineTo(dragX_, h);
        dc.SetROP2(R2_COPYPEN);
    });
}

void QLView::EvLButtonDown(unsigned, const TPoint& p)
{
    const int sep = SeparatorX();
    overSeparator_ = p.x > sep - margin_ && p.x < sep + margin_;
    SetFocus();
    if (overSeparator_) {
        SetCapture();
        dragging_ = true;
        dragX_ = sep;
        dragOffset_ = sep - p.x;
        DrawDragLine();
        return;
    }
    const int row = RowAt(p.y);
    if (row >= 0) SetSelIndex(row);
}

void QLView::EvMouseMove(unsigned, const TPoint& p)
{
    const int sep = SeparatorX();
    SetCursorShape(dragging_ || (p.x > sep - margin_ && p.x < sep + margin_) ? TCursorShape::SizeWE : TCursorShape::Arrow);
    if (!dragging_) return;
    const int x = std::clamp(p.x + dragOffset_, 0, GetClientRect().right - 1);
    if (x == dragX_) return;
    DrawDragLine();
    dragX_ = x;
    DrawDragLine();
}

void QLView::EvLButtonUp(unsigned, const TPoint& p)
{
    if (!dragging_) return;
    EvMouseMove(0, p);
    DrawDragLine();
    dragging_ = false;
    ReleaseCapture();
    SetResultsPixelWidth(GetClientRect().right - kScrollBarWidth - dragX_);
    StoreResultsWidth();
    Invalidate(true);
}

void QLView::EvLButtonDblClk(unsigned, const TPoint& p)
{
    if (dragging_) return;
    const int row = RowAt(p.y);
    if (row >= 0 && row != current_) SetSelIndex(row);
    QSample* s = Current();
    if (!s) return;
    if (mode_ == mdDisplay) SendCommand(s->kind == skQuantitative ? cmShowSampleGraph : cmSampleStatus);
    else if (mode_ == mdIdEntry) edit_->OpenSelected(s->ident.c_str());
    else if (mode_ == mdListModify) SendCommand(cmSampleDefinition);
}

void QLView::EvRButtonDown(unsigned, const TPoint&) {}

unsigned QLView::EvGetDlgCode(const TMsg*) { return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS; }

// --- keys ------------------------------------------------------------------------------------

void QLView::EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    if (dragging_) {
        if (key == VK_ESCAPE) {
            DrawDragLine();
            dragging_ = false;
            ReleaseCapture();
        } else {
            MessageBeep(0);
        }
        return;
    }
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    const bool repeat = (flags & KF_REPEAT) != 0;
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
        if (mode_ == mdIdEntry) break;
        SetResultsPixelWidth(resultsPx_ + (key == VK_LEFT ? margin_ : -margin_));
        StoreResultsWidth();
        Invalidate(true);
        return;
    case VK_F2:
        if (mode_ == mdIdEntry) {
            edit_->OpenFocused(nullptr);
            return;
        }
        break;
    case VK_ESCAPE:
        if (mode_ == mdIdEntry || mode_ == mdListModify) SetMode(mdDisplay);
        else if (current_ >= 0) SetSelIndex(-1);
        return;
    case 'C':
    case 'V':
        if (ctrl && !repeat && (mode_ == mdDisplay || mode_ == mdIdEntry)) {
            key == 'C' ? Copy() : Paste();
            return;
        }
        break;
    case VK_INSERT:
    case VK_DELETE:
        if ((ctrl || shift) && !repeat && (mode_ == mdDisplay || mode_ == mdIdEntry)) {
            if (ctrl && key == VK_INSERT) Copy();
            else if (shift && key == VK_INSERT) Paste();
            return;
        }
        if (!ctrl && !shift && mode_ == mdIdEntry && current_ >= 0) {
            const int done = key == VK_INSERT ? doc_.InsertSampleIdent(current_) : doc_.DeleteSampleIdent(current_);
            if (!done) MessageBeep(0);
            else edit_->Open(nullptr);
            return;
        }
        break;
    case VK_UP: SetSelIndex(std::max(0, current_ - 1)); return;
    case VK_DOWN: if (rows_ > 0) SetSelIndex(std::min(rows_ - 1, current_ + 1)); return;
    case VK_HOME: if (rows_ > 0) SetSelIndex(0); return;
    case VK_END: if (rows_ > 0) SetSelIndex(rows_ - 1); return;
    case VK_PRIOR: if (rows_ > 0) SetSelIndex(std::max(0, current_ - VisibleRows())); return;
    case VK_NEXT: if (rows_ > 0) SetSelIndex(std::min(rows_ - 1, current_ + VisibleRows())); return;
    default: break;
    }
    TWindow::EvKeyDown(key, repeatCount, flags);
}

void QLView::EvChar(unsigned ch, unsigned repeatCount, unsigned flags)
{
    if (mode_ != mdIdEntry || dragging_) return TWindow::EvChar(ch, repeatCount, flags);
    if (ch == VK_RETURN) return;
    if (ch < 32) return TWindow::EvChar(ch, repeatCount, flags);
    if (current_ >= 0) edit_->OpenWithChar(ch);
}

// --- clipboard -------------------------------------------------------------------------------

void QLView::Copy()
{
    const ViewShell& sh = GetViewShell();
    if (!sh.putClipboardText) return;
    const int from = sh.copyFixedSamples ? 0 : plate_.fixedCount;
    std::string text;
    for (int i = from; i < plate_.sampleCount; ++i)
        if (const QSample* s = plate_.GetSample(i)) text += FormatResultLine(*s, 8000) + "\r\n";
    if (text.empty()) return;
    sh.putClipboardText(text);
}

void QLView::Paste()
{
    const ViewShell& sh = GetViewShell();
    std::string text;
    if (sh.getClipboardText && sh.getClipboardText(text)) doc_.PasteSampleIds(text);
}

// --- printing --------------------------------------------------------------------------------

void QLView::LoadMargins() { LoadKindMargins(pkResults); }
void QLView::StoreMargins() { StoreKindMargins(pkResults); }
void QLView::LoadFont() { LoadKindFont(pkResults); }

void QLView::PrepareHeader()
{
    QMethodSummaryPrintout::FillReportHeader(plate_, doc_.GetDocPath(), header);
    dateText = DateTimeText();
    rowCount = plate_.sampleCount;
    separatorAt = plate_.fixedCount;
}

void QLView::PrintRow(TDC& dc, const TRect& r, int row)
{
    const QSample* s = plate_.GetSample(row);
    if (!s) return;
    const TDC& m = DC ? *DC : dc;
    const int y = r.top + (r.Height() - m.GetTextExtent("H").cy) / 2;
    const int numW = PrintXUnits(12), gap = PrintXUnits(2);
    const bool withUnits = !plate_.units.empty();
    const int unitsW = withUnits ? m.GetTextExtent(plate_.units).cx : 0;
    const int resW = PrintXUnits(plate_.resultFieldWidth) + (withUnits ? 3 * gap + unitsW : 0);
    const int identW = std::max(PrintXUnits(16), r.Width() - numW - resW);
    std::string num = s->IsSequential() ? std::to_string(s->SeqNumber()) : [&] {
        char b[8] = {};
        IndexToLettersLower(b, row);
        return std::string(b);
    }();
    num += ":";
    const unsigned oldAlign = dc.SetTextAlign(TA_RIGHT | TA_TOP);
    dc.TextOut(r.left + numW, y, num);
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    const int identX = r.left + numW + gap;
    TRect identClip(identX, r.top, r.left + numW + identW - gap, r.bottom);
    dc.ExtTextOut(identX, y, ETO_CLIPPED, &identClip, s->ident);
    const int resLeft = r.left + numW + identW;
    TRect resClip(resLeft, r.top, r.right, r.bottom);
    const int start = resLeft + gap;
    bool isText = true;
    const std::string result = plate_.SampleResultText(*s, isText);
    const int w = m.GetTextExtent(result).cx;
    if (s->resultState == rsCalculated && s->CategoriesEmpty() && withUnits) {
        if (r.right - unitsW - 3 * gap - w >= start) {
            dc.ExtTextOut(r.right - unitsW - 3 * gap - w, y, ETO_CLIPPED, &resClip, result);
            dc.ExtTextOut(r.right - unitsW, y, ETO_CLIPPED, &resClip, plate_.units);
        } else {
            dc.ExtTextOut(start, y, ETO_CLIPPED, &resClip, result);
            dc.ExtTextOut(start + w + 3 * gap, y, ETO_CLIPPED, &resClip, plate_.units);
        }
    } else if (!isText && r.right - w >= start) {
        dc.ExtTextOut(r.right - w, y, ETO_CLIPPED, &resClip, result);
    } else {
        dc.ExtTextOut(start, y, ETO_CLIPPED, &resClip, result);
    }
    dc.SetTextAlign(oldAlign);
}

}  // namespace vyn
