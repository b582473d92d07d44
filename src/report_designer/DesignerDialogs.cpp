#include "report_designer/DesignerDialogs.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "controls/TypedNumberEntry.h"
#include "platform/core/StringTable.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/ControlList.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/Gdi.h"
#include "platform/gui/MsgBox.h"
#include "report_designer/DesignerMetrics.h"
#include "report_designer/QRepView.h"
#include "report_designer/QRepViewShell.h"
#include "reports/RPReport.h"
#include "reports/RPScale.h"

namespace vyn {

namespace {

constexpr int kStrNothing = 7880, kStrCount = 7881, kStrConflict = 7882, kStrRow = 7883, kStrColumn = 7884,
              kStrCell = 7885, kStrWrongRows = 7886, kStrWrongColumns = 7887, kStrMaxRows = 7888,
              kStrMaxColumns = 7899;
constexpr int kPlateColumns = 12, kPlateRows = 8;
// More copies per axis than this cannot fit the report area at any sensible size; refusing
// them keeps the copy loops and the count products small.
constexpr int kMaxCopies = 100;

bool Checked(const TDialog& d, int id)
{
    auto* b = dynamic_cast<TCheckBox*>(d.GetDlgItem(id));
    return b && b->GetCheck() == TCheckBox::BF_CHECKED;
}

void SetChecked(TDialog& d, int id, bool on)
{
    if (auto* b = dynamic_cast<TCheckBox*>(d.GetDlgItem(id))) b->SetCheck(on ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
}

void Enable(TDialog& d, int id, bool on)
{
    if (TWindow* w = d.GetDlgItem(id)) w->EnableWindow(on);
}

void Show(TDialog& d, int id, bool on)
{
    if (TWindow* w = d.GetDlgItem(id)) w->ShowWindow(on ? SW_SHOW : SW_HIDE);
}

// Replaces the first occurrence of a conversion in a message text.
std::string Subst(std::string text, const char* token, const std::string& value)
{
    const auto at = text.find(token);
    if (at != std::string::npos) text.replace(at, 2, value);
    return text;
}

std::string DlgText(const TDialog& d, int id) { return d.GetDlgItemText(id).substr(0, 31); }

// A child's rectangle in its dialog's client coordinates.
TRect ChildRect(const TDialog& d, int id)
{
    TWindow* w = d.GetDlgItem(id);
    if (!w) return TRect();
    const TRect s = w->GetWindowRect();
    const TPoint tl = d.ScreenToClient(TPoint(s.left, s.top));
    return TRect(tl.x, tl.y, tl.x + s.Width(), tl.y + s.Height());
}

TRect PercentRect(const TRect& r, int left, int top, int right, int bottom)
{
    const int w = r.Width(), h = r.Height();
    return TRect(r.left + w * left / 100, r.top + h * top / 100, r.left + w * right / 100, r.top + h * bottom / 100);
}

void OutlineRect(TDC& dc, const TRect& r)
{
    dc.MoveTo(r.left, r.top);
    dc.LineTo(r.right, r.top);
    dc.LineTo(r.right, r.bottom);
    dc.LineTo(r.left, r.bottom);
    dc.LineTo(r.left, r.top);
}

void FillStrip(TDC& dc, const TRect& r, TColor colour)
{
    dc.FillRect(r, TBrush(colour));
    OutlineRect(dc, r);
}

}  // namespace

// --- sections ---

char gSectionFlags[6] = "11111";

void RPSecPictButton::DrawItem(TDrawItem& item)
{
    if (!(item.itemAction & ODA_DRAWENTIRE)) return;
    const std::string text = GetWindowText().substr(0, 5);
    bool flags[5];
    for (std::size_t i = 0; i < 5; ++i) flags[i] = i < text.size() && text[i] == '1';
    TDC& dc = item.dc;
    const TRect& r = item.rcItem;
    const TRect front = PercentRect(r, 20, 10, 60, 60);
    const TRect back = PercentRect(r, 40, 40, 80, 90);
    dc.FillRect(r, TBrush(RGB(192, 192, 192)));
    if (flags[2]) {
        bool following[5] = {flags[0], false, flags[2], flags[3], flags[4]};
        bool first[5] = {flags[0], flags[1], flags[2], false, flags[4]};
        DrawPage(dc, back, following);
        DrawPage(dc, front, first);
    } else {
        const bool none[5] = {false, false, false, false, false};
        DrawPage(dc, back, none);
        DrawPage(dc, front, flags);
    }
}

void RPSecPictButton::DrawPage(TDC& dc, const TRect& page, const bool flags[5])
{
    FillStrip(dc, page, RGB(255, 255, 255));
    const TRect in = PercentRect(page, 7, 7, 93, 95);
    const TRect pageHeader = PercentRect(in, 0, 0, 100, 15);
    const TRect pageFooter = PercentRect(in, 0, 85, 100, 100);
    TRect reportHeader = PercentRect(in, 0, 0, 100, 25);
    if (flags[0]) reportHeader.Offset(0, pageHeader.Height());
    TRect reportFooter;
    TRect row;
    int above = (flags[0] ? pageHeader.Height() : 0) + (flags[1] ? reportHeader.Height() : 0);
    if (!flags[2]) {
        reportFooter = PercentRect(in, 0, 0, 100, 25);
        reportFooter.Offset(0, above);
    } else {
        row = PercentRect(in, 0, 0, 100, 12);
        row.Offset(0, above);
        reportFooter = PercentRect(in, 0, 75, 100, 100);
        if (flags[4]) reportFooter.Offset(0, -pageFooter.Height());
    }
    if (flags[2] && row.Height() > 0) {
        for (int n = 0; n < 100 && row.bottom <= in.bottom; ++n) {
            FillStrip(dc, row, RGB(255, 0, 0));
            row.Offset(0, row.Height());
        }
    }
    if (flags[3]) FillStrip(dc, reportFooter, RGB(192, 192, 192));
    if (flags[1]) FillStrip(dc, reportHeader, RGB(128, 128, 128));
    if (flags[0]) FillStrip(dc, pageHeader, RGB(0, 255, 255));
    if (flags[4]) FillStrip(dc, pageFooter, RGB(0, 255, 255));
}

RPSecDlg::RPSecDlg(TWindow* parent, int resId)
    : TDialog(parent, resId), hintLine(new CHintStat(this, 301, 101, 109)), preview(new RPSecPictButton(this, 201))
{
    SetContextHelpId(3335);
    OnMessage(WM_SETCURSOR, [this](TParam1 p1, TParam2 p2) -> TResult {
        hintLine->OnFocus(reinterpret_cast<TWindow*>(p1), static_cast<int>(p2 & 0xFFFF));
        return 0;
    });
}

void RPSecDlg::SetupWindow()
{
    TDialog::SetupWindow();
    for (int i = 0; i < 5; ++i) SetChecked(*this, 101 + i, gSectionFlags[i] == '1');
    preview->SetWindowText(gSectionFlags);
}

TResult RPSecDlg::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    if (notifyCode == BN_CLICKED && id >= 101 && id <= 105) {
        auto* box = dynamic_cast<TCheckBox*>(GetDlgItem(static_cast<int>(id)));
        gSectionFlags[id - 101] = box && box->GetCheck() != TCheckBox::BF_UNCHECKED ? '1' : '0';
        preview->SetWindowText(gSectionFlags);
        preview->Invalidate(false);
        return 0;
    }
    return TDialog::EvCommand(id, control, notifyCode);
}

// --- duplicate objects ---

TPoint& QReplObj::KeptPosition()
{
    static TPoint p(32767, 32767);
    return p;
}

bool& QReplObj::KeptSmart()
{
    static bool smart = true;
    return smart;
}

QReplObj::QReplObj(TWindow* parent, int resId) : TDialog(parent, resId)
{
    SetContextHelpId(3336);
    new TStatic(this, 108);
    new TStatic(this, 109);
}

void QReplObj::SetupWindow()
{
    TDialog::SetupWindow();
    gridModeUsed = gridMode;
    if (KeptPosition().x != 32767 || KeptPosition().y != 32767)
        SetWindowPos(nullptr, KeptPosition().x, KeptPosition().y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const bool cells = cellCount != 0;
    const bool none = objectCount == 0;
    const bool rowsOff = none || (cells && commonRow == -1) || sectionsDiffer;
    const bool columnsOff = none || (cells && commonColumn == -1);
    const bool smartOff = none || (cells && commonColumn == -1 && commonRow == -1);
    for (int id : {101, 103}) Enable(*this, id, !rowsOff);
    for (int id : {102, 104}) Enable(*this, id, !columnsOff);
    for (int id : {105, 106, 107}) Enable(*this, id, !smartOff);

    SetDlgItemText(101, "1");
    SetDlgItemText(102, "1");
    const std::string zero = gridMode ? "0" : "0 in";
    SetDlgItemText(103, zero);
    SetDlgItemText(104, zero);
    if (gridMode) {
        // Counts of grid steps are as short as the counts of copies.
        for (auto [spacing, count] : {std::pair{103, 101}, std::pair{104, 102}}) {
            const TRect s = ChildRect(*this, spacing), c = ChildRect(*this, count);
            if (TWindow* w = GetDlgItem(spacing)) w->MoveWindow(s.left, s.top, c.Width(), c.Height());
        }
    }
    SetChecked(*this, 105, KeptSmart());
    Show(*this, 106, gridMode);
    Show(*this, 107, !gridMode);

    if (none) {
        Comment(GetResStringStd(kStrNothing), true);
    } else if (!cells) {
        Comment(Subst(GetResStringStd(kStrCount), "%d", std::to_string(objectCount)), false);
    } else if (commonColumn == -1 && commonRow == -1) {
        Comment(GetResStringStd(kStrConflict), true);
    } else {
        std::string cell;
        const std::string letter(1, static_cast<char>('A' + std::clamp(commonRow, 0, 25)));
        const std::string number = std::to_string(commonColumn + 1);
        if (commonColumn == -1) cell = Subst(GetResStringStd(kStrRow), "%c", letter);
        else if (commonRow == -1) cell = Subst(GetResStringStd(kStrColumn), "%d", number);
        else cell = Subst(Subst(GetResStringStd(kStrCell), "%c", letter), "%d", number);
        if (auto* label = dynamic_cast<TStatic*>(GetDlgItem(109))) {
            label->SetText(cell);
            label->SetColors(RGB(255, 255, 0), RGB(0, 0, 128));
            // The cell label is as wide as its text; the comment starts right of it.
            const TRect r = ChildRect(*this, 109);
            const TRect c = ChildRect(*this, 108);
            const int width = std::min(static_cast<int>(cell.size()) * GetBaseUnits().cx + 4, c.Width() / 2);
            label->MoveWindow(r.left, r.top, width, r.Height());
            label->ShowWindow(SW_SHOW);
            const int left = r.left + width + c.Height() / 2;
            if (TWindow* comment = GetDlgItem(108)) comment->MoveWindow(left, c.top, c.right - left, c.Height());
        }
        Comment(Subst(GetResStringStd(kStrCount), "%d", std::to_string(objectCount)), false);
    }
}

void QReplObj::Comment(const std::string& text, bool warning)
{
    warning_ = warning;
    auto* label = dynamic_cast<TStatic*>(GetDlgItem(108));
    if (!label) return;
    label->SetText(text);
    if (warning) label->SetColors(RGB(255, 255, 0), RGB(255, 0, 0));
    else label->ClearColors();
}

void QReplObj::Refuse(int stringId, int arg, int focusId)
{
    Comment(Subst(GetResStringStd(stringId), "%d", std::to_string(arg)), true);
    if (auto* edit = dynamic_cast<TEdit*>(GetDlgItem(focusId))) {
        edit->SetFocus();
        edit->SetSelection(0, -1);
    }
}

void QReplObj::Normalise(int id)
{
    std::string text = DlgText(*this, id);
    const bool spacing = id == 103 || id == 104;
    if (spacing && !gridModeUsed) {
        int twips = 0;
        if (ParseLengthTwips(text, twips) != 1) text = "0 in";
    } else {
        // A whole number is brought into the field's range; any other text stays as typed, for
        // OK to refuse and the user to mend.
        int v = 0;
        if (ReadTypedWhole(text.c_str(), INT_MIN, INT_MAX, v) != tnNumber) return;
        v = std::max(0, v);
        if (!spacing) v = std::max(v, 1);
        else v = std::min(v, kMaxTwips);
        text = std::to_string(v);
    }
    SetDlgItemText(id, text);
}

TResult QReplObj::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    if (id >= 101 && id <= 104 && notifyCode == EN_KILLFOCUS) {
        Normalise(static_cast<int>(id));
        return 0;
    }
    return TDialog::EvCommand(id, control, notifyCode);
}

bool QReplObj::ReadWhole(int id, int low, int high, int& value)
{
    // Any whole number passes here; the checks of OK judge a count's range with their own
    // messages in the comment line. The whole text counts, and is named as it stands.
    const std::string text = GetDlgItemText(id);
    if (ReadTypedWhole(text.c_str(), INT_MIN, INT_MAX, value) == tnNumber) return true;
    TellNotAWholeNumber(this, text, WholeField{low, high});
    if (auto* edit = dynamic_cast<TEdit*>(GetDlgItem(id))) {
        edit->SetFocus();
        edit->SetSelection(0, -1);
    }
    return false;
}

void QReplObj::CmOk()
{
    const bool cells = cellCount != 0;
    if (objectCount == 0 || (cells && commonColumn == -1 && commonRow == -1)) {
        CmCancel();
        return;
    }
    if (!ReadWhole(101, 1, kMaxCopies, rows) || !ReadWhole(102, 1, kMaxCopies, columns)) return;
    smart = Checked(*this, 105);
    rowSpacing = columnSpacing = 0;
    if (gridModeUsed) {
        if (!ReadWhole(103, 0, kMaxTwips, rowSpacing) || !ReadWhole(104, 0, kMaxTwips, columnSpacing)) return;
        rowSpacing = std::clamp(rowSpacing, 0, kMaxTwips);
        columnSpacing = std::clamp(columnSpacing, 0, kMaxTwips);
    } else {
        std::string text = DlgText(*this, 103);
        int twips = 0;
        if (ParseLengthTwips(text, twips) == 1) rowSpacing = twips;
        text = DlgText(*this, 104);
        twips = 0;
        if (ParseLengthTwips(text, twips) == 1) columnSpacing = twips;
    }
    if (rows < 1 || rows > kMaxCopies) return Refuse(kStrWrongRows, 0, 101);
    if (columns < 1 || columns > kMaxCopies) return Refuse(kStrWrongColumns, 0, 102);
    if (cells && commonColumn != -1 && columns + commonColumn > kPlateColumns)
        return Refuse(kStrMaxColumns, kPlateColumns - commonColumn, 102);
    if (cells && commonRow != -1 && rows + commonRow > kPlateRows) return Refuse(kStrMaxRows, kPlateRows - commonRow, 101);
    KeepState();
    TDialog::CmOk();
}

void QReplObj::CmCancel()
{
    KeepState();
    TDialog::CmCancel();
}

void QReplObj::KeepState()
{
    const TRect r = GetWindowRect();
    KeptPosition() = TPoint(r.left, r.top);
    KeptSmart() = Checked(*this, 105);
}

// --- insert picture ---

int& QRInsertPictDlg::KeptSource()
{
    static int v = 0;
    return v;
}

int& QRInsertPictDlg::KeptSize()
{
    static int v = 0;
    return v;
}

bool& QRInsertPictDlg::KeptHide()
{
    static bool v = false;
    return v;
}

QRInsertPictDlg::QRInsertPictDlg(TWindow* parent, int resId) : TDialog(parent, resId)
{
    SetContextHelpId(3337);
}

int QRInsertPictDlg::Execute()
{
    clipboardPicture_ = Clipboard::HasFormat(kPictureFormat);
    if (!clipboardPicture_ && sizeFixed && KeptHide()) {
        source = 1;
        size = 1;
        return IDOK;
    }
    return TDialog::Execute();
}

void QRInsertPictDlg::SetupWindow()
{
    TDialog::SetupWindow();
    source = clipboardPicture_ ? KeptSource() : 1;
    size = sizeFixed ? 1 : KeptSize();
    SetChecked(*this, 101, source == 0);
    SetChecked(*this, 102, source == 1);
    SetChecked(*this, 103, size == 0);
    SetChecked(*this, 104, size == 1);
    Enable(*this, 101, clipboardPicture_);
    Enable(*this, 103, !sizeFixed);
    SetChecked(*this, 105, KeptHide());
    if (TWindow* w = GetDlgItem(source == 0 ? 101 : 102)) w->SetFocus();
}

void QRInsertPictDlg::CmOk()
{
    source = Checked(*this, 102) ? 1 : 0;
    size = Checked(*this, 104) ? 1 : 0;
    KeptSource() = source;
    KeptSize() = size;
    KeptHide() = Checked(*this, 105);
    TDialog::CmOk();
}

void QRInsertPictDlg::CmCancel()
{
    KeptHide() = Checked(*this, 105);
    TDialog::CmCancel();
}

// --- sample simulation ---

QRFakeSmpls::QRFakeSmpls(TWindow* parent, int resId) : TDialog(parent, resId)
{
    SetContextHelpId(3338);
}

void QRFakeSmpls::SetupWindow()
{
    TDialog::SetupWindow();
    SetDlgItemText(101, std::to_string(fixedCount));
    SetDlgItemText(102, std::to_string(sequentialCount));
}

bool QRFakeSmpls::ReadBack()
{
    // Counts are whole numbers; an empty edit reads as none.
    constexpr WholeField kCount{0, kMaxSamples, true};
    int fixed = 0, sequential = 0;
    if (!TakeWholeEdit(*this, 101, kCount, fixed) || !TakeWholeEdit(*this, 102, kCount, sequential)) return false;
    fixedCount = fixed;
    sequentialCount = sequential;
    return true;
}

void QRFakeSmpls::CmOk()
{
    if (ReadBack()) TDialog::CmOk();
}

void QRFakeSmpls::CmCancel()
{
    // Closed without OK, a refused count is told and keeps the number the dialog opened with.
    ReadBack();
    TDialog::CmCancel();
}

// --- hooks ---

void InstallDesignerDialogs()
{
    QRepViewShell& s = GetRepViewShell();
    s.sectionsDialog = [](QRepView& view, std::string& flags) {
        for (std::size_t i = 0; i < 5; ++i) gSectionFlags[i] = i < flags.size() && flags[i] == '1' ? '1' : '0';
        RPSecDlg dlg(&view);
        const bool ok = dlg.Execute() == IDOK;
        flags.assign(gSectionFlags, 5);
        return ok;
    };
    s.duplicateDialog = [](QRepView& view, DuplicateRequest& req) {
        QReplObj dlg(&view);
        dlg.objectCount = req.objectCount;
        dlg.gridMode = req.grid;
        dlg.sectionsDiffer = req.sectionsDiffer;
        dlg.cellCount = req.cellCount;
        dlg.commonColumn = req.commonColumn;
        dlg.commonRow = req.commonRow;
        if (dlg.Execute() != IDOK) return false;
        req.grid = dlg.gridModeUsed;
        req.columns = dlg.columns;
        req.rows = dlg.rows;
        req.smart = dlg.smart;
        req.columnSpacing = dlg.columnSpacing;
        req.rowSpacing = dlg.rowSpacing;
        return true;
    };
    s.insertPictureDialog = [](QRepView& view, PictureRequest& req) {
        QRInsertPictDlg dlg(&view);
        dlg.sizeFixed = req.ownSize;
        if (dlg.Execute() != IDOK) return false;
        req.fromClipboard = dlg.source == 0;
        req.ownSize = dlg.size == 1;
        return true;
    };
    GetRPRunShell().fakeSamples = [](int& fixed, int& sequential) {
        QRFakeSmpls dlg(nullptr);
        dlg.fixedCount = fixed;
        dlg.sequentialCount = sequential;
        dlg.Execute();
        fixed = dlg.fixedCount;
        sequential = dlg.sequentialCount;
    };
}

}  // namespace vyn
