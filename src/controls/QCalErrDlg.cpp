#include "controls/QCalErrDlg.h"

#include <limits>

#include "platform/gui/Control.h"
#include "platform/gui/ControlEdit.h"
#include "platform/core/StringTable.h"
#include "platform/gui/Gdi.h"

namespace vyn {

namespace {
// For the rest of the run: where the last Status dialog was closed, and the layout of the first.
TRect sLastWindowRect;
TRect sFirstClientRect;
TRect sControlRects[5];
TSize sMinTrackSize;
const int kControlIds[5] = {200, 101, 102, 103, 104};
}  // namespace

void QCalErrDlg::ForgetPlacement()
{
    sLastWindowRect = sFirstClientRect = TRect();
    for (auto& r : sControlRects) r = TRect();
    sMinTrackSize = TSize();
}

QCalErrDlg::QCalErrDlg(TWindow* parent, bool infoMode, int resId)
    : TDialog(parent, resId), text_(new TEdit(this, 101)), header_(new TStatic(this, 200)), infoMode_(infoMode)
{
    names_.reserve(9);
    texts_.reserve(9);
    details_.reserve(9);
    codes_.reserve(9);
}

void QCalErrDlg::Add(const std::string& name, const std::string& text, const std::string& detail, int code)
{
    names_.push_back(Indent > 0 ? std::string(static_cast<size_t>(Indent), ' ') + name : name);
    texts_.push_back(text);
    details_.push_back(detail);
    codes_.push_back(code);
}

std::string QCalErrDlg::BuildText()
{
    size_t width = 0;
    for (size_t i = 0; i < codes_.size(); ++i)
        if (codes_[i] != kMessage) width = std::max(width, names_[i].size());
    // A trailing separator line would only show as an empty last line.
    if (!codes_.empty() && codes_.back() == kMessage && names_.back().empty()) {
        names_.pop_back();
        texts_.pop_back();
        details_.pop_back();
        codes_.pop_back();
    }
    std::string out;
    for (size_t i = 0; i < codes_.size(); ++i) {
        out += names_[i];
        if (names_[i].size() < width) out.append(std::min<size_t>(width - names_[i].size(), 255), ' ');
        int code = codes_[i];
        if (code != kMessage) out += " = " + texts_[i];
        if (code == kErrorDetail) out += "\r\n   " + details_[i];
        if (code >= 0) {
            long n = static_cast<long>(code) + static_cast<long>(width) + 3;
            if (n < 0 || n > 254) n = 254;
            out += "\r\n" + std::string(static_cast<size_t>(n), '.') + "^\r\n   " + details_[i];
        }
        if (i + 1 < codes_.size()) out += "\r\n";
    }
    return out;
}

void QCalErrDlg::SetupWindow()
{
    std::string text = BuildText();
    TDialog::SetupWindow();
    SetContextHelpId(3220);
    TFont fixed = GetStockFont(ANSI_FIXED_FONT);
    text_->SetWindowFont(fixed, false);
    header_->SetWindowFont(fixed, false);
    header_->SetWindowText(title_);

    if (sLastWindowRect == TRect()) {
        sLastWindowRect = GetWindowRect();
        sMinTrackSize = sLastWindowRect.Size();
        sFirstClientRect = GetClientRect();
        for (int i = 0; i < 5; ++i)
            if (TWindow* c = ChildWithId(kControlIds[i])) sControlRects[i] = ChildRectInClient(*c);
    } else {
        SetWindowPos(nullptr, sLastWindowRect.left, sLastWindowRect.top, sLastWindowRect.Width(),
                     sLastWindowRect.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    Layout();

    if (infoMode_) {
        SetDlgItemText(102, CutUtf8(GetDlgItemText(302), 255));
        ChildWithId(103)->ShowWindow(SW_HIDE);
        ChildWithId(104)->ShowWindow(SW_HIDE);
    }
    text_->SetWindowText(text);
    FitScrollBars();
    // An error to decide on is the entry just added: the caret at the end keeps it in sight
    // however many earlier entries stand above it. A summary is read from its first line on.
    if (infoMode_) text_->SetSelection(0, 0);
    else text_->SetSelection(std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
    setUp_ = true;
}

void QCalErrDlg::CleanupWindow()
{
    setUp_ = false;
    sLastWindowRect = GetWindowRect();
    TDialog::CleanupWindow();
    title_.clear();
    Indent = 0;
    if (KeepEntries) return;
    names_.clear();
    texts_.clear();
    details_.clear();
    codes_.clear();
}

TResult QCalErrDlg::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    if (id == 102 || id == 103 || id == 104) {
        CloseWindow(static_cast<int>(id));
        return 0;
    }
    return TDialog::EvCommand(id, control, notifyCode);
}

void QCalErrDlg::Layout()
{
    TRect client = GetClientRect();
    int dx = client.Width() - sFirstClientRect.Width();
    int dy = client.Height() - sFirstClientRect.Height();
    auto place = [this](int id, TRect r) {
        if (TWindow* c = ChildWithId(id)) c->MoveWindow(r, false);
    };
    TRect header = sControlRects[0];
    header.right += dx;
    place(200, header);
    TRect edit = sControlRects[1];
    edit.right += dx;
    edit.bottom += dy;
    place(101, edit);
    int shift = dx / 2;  // toward zero, so the row stays centred
    if (infoMode_) {
        place(102, TRect(sControlRects[3]).Offset(shift, dy));
    } else {
        for (int i = 2; i < 5; ++i) place(kControlIds[i], TRect(sControlRects[i]).Offset(shift, dy));
    }
}

void QCalErrDlg::FitScrollBars()
{
    for (int bar : {SB_HORZ, SB_VERT, SB_HORZ}) {
        int lo = 0, hi = 0;
        text_->GetScrollRange(bar, lo, hi);
        if (hi - lo < text_->GetScrollPage(bar)) text_->ShowScrollBar(bar, false);
    }
}

void QCalErrDlg::EvSize(unsigned sizeType, const TSize& size)
{
    TDialog::EvSize(sizeType, size);
    if (!setUp_) return;
    text_->ShowScrollBar(SB_BOTH, true);
    Layout();
    FitScrollBars();
    Invalidate(true);
}

void QCalErrDlg::EvGetMinMaxInfo(TMinMaxInfo& info)
{
    TDialog::EvGetMinMaxInfo(info);
    if (!setUp_) return;
    info.minTrackSizeX = sMinTrackSize.cx;
    info.minTrackSizeY = sMinTrackSize.cy;
}

}  // namespace vyn
