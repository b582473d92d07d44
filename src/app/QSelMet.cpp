#include "app/QSelMet.h"

#include <algorithm>

#include "app/QDlgNameInfo.h"
#include "document/LineReader.h"
#include "controls/TypedNumberEntry.h"
#include "platform/core/StringTable.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/ControlListBox.h"
#include "platform/gui/ControlScrollBar.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"
#include "platform/gui/MsgBox.h"

namespace vyn {

namespace {
// Name and comment as the edits of "Add to Methods" hand them on, in bytes.
constexpr std::size_t kMaxAddText = 1022;

const TColor kUnchangedMarker(0, 128, 0);
const TColor kEditedMarker(0, 0, 255);
const TColor kDeleteMarker(192, 0, 0);
const TColor kMarkedText(128, 128, 128);

// The methods drawn one per row, a quarter higher than text rows, each behind a marker: a
// thick cross for a method marked for deletion, otherwise a filled circle whose colour tells
// an edited method from an unchanged one.
class MethodList : public TListBox {
public:
    MethodList(TWindow* parent, int resId, const QMetod& library) : TListBox(parent, resId), library_(library) {}

    void MeasureItem(TMeasureItem& item) override
    {
        TListBox::MeasureItem(item);
        item.itemHeight = item.itemHeight * 5 / 4;
    }

    void DrawItem(TDrawItem& item) override
    {
        TDC& dc = item.dc;
        const bool selected = (item.itemState & ODS_SELECTED) != 0;
        const TColor back = selected ? TColor(0, 0, 128) : TColor::White;
        dc.FillRect(item.rcItem, TBrush(back));
        if (item.itemId < 0 || item.itemId >= library_.EntryCount()) return;
        const QMethodEntry& e = library_.Entries()[static_cast<std::size_t>(item.itemId)];
        const TRect& r = item.rcItem;
        const int h = r.Height();
        const int side = h / 2;
        const TRect square(r.left + h / 2 - side / 2, r.top + (h - side) / 2, r.left + h / 2 - side / 2 + side,
                           r.top + (h - side) / 2 + side);
        if (e.marked) {
            const TPen old = dc.SelectObject(TPen(kDeleteMarker, std::max(2, side / 4)));
            dc.MoveTo(square.left, square.top);
            dc.LineTo(square.right, square.bottom);
            dc.MoveTo(square.right - 1, square.top);
            dc.LineTo(square.left - 1, square.bottom);
            dc.SelectObject(old);
        } else {
            const TColor c = e.edited ? kEditedMarker : kUnchangedMarker;
            const TPen oldPen = dc.SelectObject(TPen(c));
            const TBrush oldBrush = dc.SelectObject(TBrush(c));
            dc.Ellipse(square);
            dc.SelectObject(oldBrush);
            dc.SelectObject(oldPen);
        }
        TRect text(r.left + h * 3 / 2, r.top, r.right, r.bottom);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(selected ? TColor::White : e.marked ? kMarkedText : TColor::Black);
        dc.DrawText(e.name, text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (item.itemState & ODS_FOCUS) dc.DrawFocusRect(r);
    }

private:
    const QMetod& library_;
};
}  // namespace

QSelMet::QSelMet(TWindow* parent, int resId) : QSelMet(parent, resId, QMetod()) {}

QSelMet::QSelMet(TWindow* parent, int resId, QMetod library)
    : TDialog(parent, resId),
      library_(std::move(library)),
      list_(new MethodList(this, 101, library_)),
      count_(new TEdit(this, 104, 8))
{
    if (resId == kSelectId) spin_ = new TScrollBar(this, 110);
    if (resId == kAddId) {
        name_ = new TEdit(this, 113, static_cast<int>(kMaxAddText) + 1);
        comment_ = new TEdit(this, 112, static_cast<int>(kMaxAddText) + 1);
    }
    OnNotify(101, LBN_SELCHANGE, [this] { Refresh(); });
    OnNotify(101, LBN_DBLCLK, [this] {
        if (GetResId() == kSelectId) CmSelect();
    });
    OnCommand(108, [this] { CmSelect(); });
    OnCommand(109, [this] { CmEmpty(); });
    OnCommand(114, [this] { CmStore(false); });
    OnCommand(115, [this] { CmStore(true); });
    OnCommand(111, [this] { CmCopy(); });
    OnCommand(105, [this] { CmRename(); });
    OnCommand(106, [this] { CmToggleMark(); });
    OnCommand(120, [this] { CmSysFile(); });
    // The Delete key in the maintenance list marks or restores the method, as button 106 does.
    OnMessage(WM_VKEYTOITEM, [this](TParam1 p1, TParam2) -> TResult {
        if (GetResId() != kUpdateId || LOWORD(p1) != VK_DELETE) return -1;
        CmToggleMark();
        return -2;
    });
}

QSelMet::~QSelMet() = default;

int QSelMet::Current() const
{
    // Rows are the library's entries in order.
    const int sel = list_->GetSelIndex();
    return sel < library_.EntryCount() ? sel : -1;
}

void QSelMet::SetupWindow()
{
    TDialog::SetupWindow();
    SetContextHelpId(GetResId() + 1714);
    library_.List();
    if (name_) {
        name_->SetWindowText(Name);
        comment_->SetWindowText(Comment);
    }
    FillList(library_.PreselectedEntry());
}

void QSelMet::FillList(int select)
{
    list_->ClearList();
    for (const QMethodEntry& e : library_.Entries()) list_->AddString(e.name);
    list_->SetSelIndex(select);
    Refresh();
}

void QSelMet::Refresh()
{
    const int cur = Current();
    const QMethodEntry* e = cur >= 0 ? &library_.Entries()[cur] : nullptr;
    if (library_.GetListState() != mlRead) SetDlgItemText(102, library_.ListStateText());
    else SetDlgItemText(102, e ? e->comment : std::string());
    count_->SetWindowText(e ? std::to_string(e->seqCount) : std::string());
    const int show = e ? SW_SHOW : SW_HIDE;
    count_->ShowWindow(show);
    if (TWindow* label = GetDlgItem(103)) label->ShowWindow(show);
    if (spin_) spin_->ShowWindow(show);
    auto enable = [this](int id, bool on) {
        if (TWindow* w = GetDlgItem(id)) w->EnableWindow(on);
    };
    switch (GetResId()) {
    case kUpdateId:
        enable(105, e && !e->marked);
        enable(106, e != nullptr);
        SetDlgItemText(106, GetResString(e && e->marked ? 974 : 973));
        SetDlgItemText(107, library_.MarkText());
        SetDlgItemText(IDOK, GetResString(library_.HasChanges() ? 971 : 972));
        break;
    case kSelectId:
        enable(108, e != nullptr);
        SetDefaultId(e ? 108 : 109);
        break;
    case kAddId:
        enable(111, e != nullptr);
        enable(115, e != nullptr);
        break;
    default:
        break;
    }
}

void QSelMet::CmOk()
{
    // Enter acts through the default button in the selection and add forms.
    if (GetResId() != kUpdateId) return;
    const int cur = Current();
    if (cur >= 0) gLastMethodOffset = library_.Entries()[cur].offset;
    if (!library_.HasChanges()) {
        CloseWindow(IDCANCEL);
        return;
    }
    SetCursorShape(TCursorShape::Wait);
    const int r = library_.Rewrite(cur);
    SetCursorShape(TCursorShape::Arrow);
    if (r != 0) {
        Complain(library_.LastMessage());
        FillList(r == kMsgLibraryChanged ? library_.ChosenAfterRelist() : cur);
        return;
    }
    CloseWindow(IDOK);
}

void QSelMet::CmSelect()
{
    const int cur = Current();
    if (cur < 0 || !Reader) return;
    // The number of sequential samples to take: a whole number up to the method's own count.
    int typed = 0;
    if (!TakeWholeEdit(*this, 104, WholeField{0, library_.Entries()[cur].seqCount}, typed)) return;
    if (!library_.SelectMethod(cur, typed, *Reader, &Limit)) {
        if (library_.LastMessageId() == kMsgLibraryChanged) {
            Complain(library_.LastMessage());
            FillList(library_.ChosenAfterRelist());
            return;
        }
        Complain(GetResString(3101));
        return;
    }
    CloseWindow(IDOK);
}

void QSelMet::CmEmpty()
{
    static LineReader unused;
    QMetod::SelectEmpty(Reader ? *Reader : unused, &Limit);
    CloseWindow(IDOK);
}

void QSelMet::EvVScroll(unsigned code, unsigned pos, TWindow* control)
{
    if (!spin_ || control != spin_ || (code != SB_LINEUP && code != SB_LINEDOWN)) {
        TDialog::EvVScroll(code, pos, control);
        return;
    }
    const int cur = Current();
    if (cur < 0) return;
    const int step = code == SB_LINEUP ? 1 : -1;
    count_->SetWindowText(std::to_string(QMetod::StepLimit(count_->GetWindowText(), step, library_.Entries()[cur].seqCount)));
    count_->SetFocus();
    count_->SetSelection(0, -1);
}

void QSelMet::CmStore(bool change)
{
    if (!Plate) return;
    const int cur = Current();
    if (change && cur < 0) return;
    // Cut whole characters: half a character would come back from the file as other text.
    Name = CutUtf8(name_->GetWindowText(), kMaxAddText);
    Comment = CutUtf8(comment_->GetWindowText(), kMaxAddText);
    if (const int r = library_.AddMethod(*Plate, Name, Comment, change ? cur : -1)) {
        Complain(library_.LastMessage());
        // The list read again shows what the library holds now; the edits keep what was typed.
        if (r == kMsgLibraryChanged) FillList(library_.ChosenAfterRelist());
        return;
    }
    CloseWindow(IDOK);
}

void QSelMet::CmCopy()
{
    const int cur = Current();
    if (cur < 0 || !name_) return;
    name_->SetWindowText(library_.Entries()[cur].name);
    comment_->SetWindowText(library_.Entries()[cur].comment);
}

void QSelMet::CmRename()
{
    const int cur = Current();
    if (cur < 0 || library_.Entries()[cur].marked) return;
    QDlgNameInfo dlg(this, library_.Entries()[cur].name, library_.Entries()[cur].comment);
    if (dlg.Execute() != IDOK) return;
    library_.Rename(cur, dlg.Name, dlg.Comment);
    FillList(cur);
}

void QSelMet::CmToggleMark()
{
    const int cur = Current();
    if (cur < 0) return;
    library_.ToggleMark(cur);
    FillList(cur);
}

void QSelMet::CmSysFile()
{
    MessageBox(this, library_.LibraryPath(), GetResString(kMsgLibraryCaption), MB_OK | MB_ICONINFORMATION);
}

void QSelMet::Complain(const std::string& text)
{
    MessageBox(this, text, GetWindowText(), MB_OK | MB_ICONEXCLAMATION);
}

// --- the commands' operations ------------------------------------------------------------------

int QSelMet::Select(TWindow* parent, LineReader& reader, int* limit)
{
    QSelMet dlg(parent, kSelectId);
    dlg.Reader = &reader;
    if (dlg.Execute() != IDOK) return 0;
    if (limit) *limit = dlg.Limit;
    return dlg.Limit < 0 ? 2 : 1;
}

bool QSelMet::Add(TWindow* parent, QPlate& plate, std::string& name, std::string& comment)
{
    QSelMet dlg(parent, kAddId);
    dlg.Plate = &plate;
    dlg.Name = name;
    dlg.Comment = comment;
    if (dlg.Execute() != IDOK) return false;
    name = dlg.Name;
    comment = dlg.Comment;
    return true;
}

void QSelMet::Update(TWindow* parent)
{
    QSelMet dlg(parent, kUpdateId);
    dlg.Execute();
}

}  // namespace vyn
