#include "reader_dialogs/QFltDlg.h"

#include <algorithm>

#include "controls/QGEdit.h"
#include "controls/InPlaceEditColours.h"
#include "controls/TOkCancelGadgetWin.h"
#include "controls/TypedNumberEntry.h"
#include "plate/FilterTable.h"
#include "platform/core/StringTable.h"
#include "platform/gui/ControlListBox.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"
#include "readers/QFoto.h"
#include "readers/ReaderStrings.h"
#include "reader_dialogs/QMessageLine.h"
#include "reader_dialogs/ReaderRunner.h"
#include "reader_dialogs/ReaderUiIds.h"
#include "reader_dialogs/ReaderUiText.h"

namespace vyn {

namespace {
enum : int { idList = 101, idRead = 102, idCalibrate = 103, idMessage = 104, idEdit = 106 };
constexpr std::size_t kCaptionMax = 127;
constexpr int kTextBuffer = 128;
constexpr WholeField kWavelengthField{0, QFilterTable::kMaxWavelength};
const TColor kBlue(0, 0, 255), kGrey(192, 192, 192), kYellow(255, 255, 0), kRed(255, 0, 0);

std::string Printf(const char* format, int v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}
}  // namespace

// The rows of the table: " n: " in blue, the wavelength in black with its unit in blue, "o"
// for an empty entry; the last row, where a new entry is typed, stays blank.
class QFltList : public TListBox {
public:
    QFltList(TWindow* parent, const std::vector<int>& values) : TListBox(parent, idList), values_(values) {}

    // Below the last row the list shows the same light grey as its rows.
    void Paint(TDC& dc, bool erase, TRect& rect) override
    {
        dc.FillRect(GetClientRect(), TBrush(kGrey));
        TListBox::Paint(dc, erase, rect);
    }

    void DrawItem(TDrawItem& item) override
    {
        TDC& dc = item.dc;
        const TRect& r = item.rcItem;
        dc.FillRect(r, TBrush((item.itemState & ODS_SELECTED) ? TColor::White : kGrey));
        if (item.itemState & ODS_FOCUS) dc.FrameRect(r, TBrush(kYellow));
        if (item.itemId < 0 || item.itemId >= static_cast<int>(values_.size())) return;
        dc.SelectObject(GetStockFont(DEFAULT_GUI_FONT));
        dc.SetBkMode(TRANSPARENT);
        const int label = dc.GetTextExtent(" 12: ").cx;
        const int number = dc.GetTextExtent("8888").cx;
        const int unit = dc.GetTextExtent("88").cx;
        const int y = r.top + 1;
        dc.SetTextColor(kBlue);
        dc.TextOut(r.left, y, Printf(" %2d: ", item.itemId + 1));
        const int v = values_[static_cast<std::size_t>(item.itemId)];
        if (v <= 0) {
            dc.SetTextColor(TColor::Black);
            dc.TextOut(r.left + label + number - dc.GetTextExtent("o").cx, y, "o");
            return;
        }
        const std::string text = Printf("%4d", v);
        dc.SetTextColor(TColor::Black);
        dc.TextOut(r.left + label + number - dc.GetTextExtent(text).cx, y, text);
        dc.SetTextColor(kBlue);
        dc.TextOut(r.left + label + number + unit / 2, y, "[nm]");
    }

private:
    const std::vector<int>& values_;
};

QFltDlg::QFltDlg(TWindow* parent, QFoto* driver)
    : TDialog(parent, idDlgFilters), driver_(driver), list_(new QFltList(this, values_)),
      edit_(new QGEdit(this, list_, this, idEdit, false)), pair_(new TOkCancelGadgetWin(this))
{
    SetContextHelpId(3311);
    OnMessage(WM_VKEYTOITEM, [this](TParam1 p1, TParam2) { return KeyToItem(LOWORD(p1)); });
    OnMessage(WM_CHARTOITEM, [this](TParam1 p1, TParam2) { return CharToItem(LOWORD(p1)); });
}

QFoto& QFltDlg::Driver() const { return driver_ ? *driver_ : *gReader; }

std::string QFltDlg::MessageText() const { return line_ ? line_->GetText() : std::string(); }

void QFltDlg::ShowMessage(const std::string& text)
{
    if (line_) line_->SetText(text);
}

void QFltDlg::SetupWindow()
{
    TDialog::SetupWindow();
    if (!line_) line_ = new QMessageLine(*this, idMessage, kRed);
    const std::string caption = GetTemplate() && GetTemplate()->caption ? GetTemplate()->caption : "";
    SetCaption(CutUtf8(caption + gReaderName, kCaptionMax));
    GetDlgItem(idRead)->ShowWindow(Driver().CanReadFilters() ? SW_SHOW : SW_HIDE);
    GetDlgItem(idCalibrate)->ShowWindow(Driver().CanWriteFilters() ? SW_SHOW : SW_HIDE);
    LoadList();
    edit_->ShowWindow(SW_SHOW);
    ColourInPlaceEdit(*edit_);
    pair_->PlaceBeside(*edit_);
    ShowMessage({});
}

void QFltDlg::LoadList()
{
    values_.clear();
    for (int i = 0; i < GetFilterCount(); ++i) values_.push_back(GetFilter(i));
    list_->ClearList();
    for (std::size_t i = 0; i <= values_.size(); ++i) list_->AddString({});
    list_->SetSelIndex(0);
    edit_->Open("");
    SetUnchanged(true);
}

void QFltDlg::SetUnchanged(bool unchanged)
{
    unchanged_ = unchanged;
    SetDlgItemText(IDOK, GetResStringStd(unchanged ? idsFltClose : idsFltOk));
}

void QFltDlg::MarkChanged()
{
    if (unchanged_) SetUnchanged(false);
}

void QFltDlg::Store()
{
    // Entries the reader cannot hold at the end are dropped; inside the table they keep their
    // places, since a position may be empty.
    while (!values_.empty() && (values_.back() < 1 || values_.back() > 999)) values_.pop_back();
    SetFilters(values_.data(), static_cast<int>(values_.size()));
    LoadList();
}

TResult QFltDlg::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    switch (id) {
    case idList: ListNotify(notifyCode); return 0;
    case idEdit: EditNotify(notifyCode); return 0;
    case IDOK:
    case IDCANCEL:
        // While a value is being typed, OK and Cancel end the typing, not the dialog.
        if (edit_->HasFocus()) {
            if (id == IDCANCEL) edit_->Open(nullptr);
            list_->SetFocus();
            return 0;
        }
        if (id == IDOK) {
            Store();
            CloseWindow(IDOK);
            return 0;
        }
        break;
    case idRead: RunOperation(false); return 0;
    case idCalibrate: RunOperation(true); return 0;
    default: break;
    }
    return TDialog::EvCommand(id, control, notifyCode);
}

void QFltDlg::RunOperation(bool write)
{
    ShowMessage({});
    Store();
    const int failed = write ? RunWriteFilters(Driver(), this) : RunReadFilters(Driver(), this);
    LoadList();
    char buffer[kTextBuffer];
    ShowMessage(failed ? QFoto::GetErrorText(buffer, kTextBuffer) : GetResStringStd(idsSuccess));
}

void QFltDlg::ListNotify(unsigned code)
{
    if (code == LBN_SELCHANGE) edit_->Open(nullptr);
    if (code == LBN_DBLCLK) edit_->OpenSelected(nullptr);
}

void QFltDlg::EditNotify(unsigned code)
{
    const int sel = list_->GetSelIndex();
    const bool onEntry = sel >= 0 && sel < static_cast<int>(values_.size());
    switch (code) {
    case QGEdit::kEnded:
        edit_->Open(onEntry ? std::to_string(values_[static_cast<std::size_t>(sel)]).c_str() : "");
        break;
    case QGEdit::kChanged: {
        if (sel < 0) break;
        // A wavelength the reader takes, or 0 for an empty place; anything else is refused and
        // the entry keeps its value. The edit shows that value again before the message takes
        // the focus, so that leaving the edit does not hand the text over a second time.
        const std::string text = edit_->GetWindowText();
        int v = 0;
        if (ReadTypedWhole(text.c_str(), kWavelengthField.low, kWavelengthField.high, v) != tnNumber) {
            edit_->Open(nullptr);
            TellNotAWholeNumber(this, text, kWavelengthField);
            break;
        }
        if (onEntry) {
            values_[static_cast<std::size_t>(sel)] = v;
            list_->RedrawItem(sel);
        } else {
            values_.push_back(v);
            list_->AddString({});
            list_->SetSelIndex(sel);
        }
        MarkChanged();
        break;
    }
    case EN_SETFOCUS:
    case EN_KILLFOCUS:
        // White while a value is typed, the list's grey otherwise.
        pair_->EnableGadgets(code == EN_SETFOCUS);
        ColourInPlaceEdit(*edit_);
        break;
    default: break;
    }
}

TResult QFltDlg::KeyToItem(unsigned key)
{
    const int sel = list_->GetSelIndex();
    const int count = static_cast<int>(values_.size());
    switch (key) {
    case VK_F2:
        if (sel < 0) return -2;
        list_->SetSelIndex(sel);
        edit_->OpenFocused(nullptr);
        return -2;
    case VK_INSERT:
        if (sel < 0 || sel > count) return -2;
        values_.insert(values_.begin() + sel, 0);
        list_->AddString({});
        list_->SetSelIndex(sel);
        list_->Invalidate(true);
        edit_->OpenFocused("");
        MarkChanged();
        return -2;
    case VK_DELETE:
        if (sel < 0 || sel >= count) return -2;
        values_.erase(values_.begin() + sel);
        list_->DeleteString(sel);
        list_->SetSelIndex(sel);
        list_->Invalidate(true);
        edit_->Open(nullptr);
        MarkChanged();
        return -2;
    default: return -1;
    }
}

TResult QFltDlg::CharToItem(unsigned ch)
{
    if ((ch >= '0' && ch <= '9') || ch == ' ') {
        edit_->OpenWithChar(ch);
        return -2;
    }
    return -1;
}

}  // namespace vyn
