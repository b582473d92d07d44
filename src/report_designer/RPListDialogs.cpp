#include "report_designer/RPListDialogs.h"

#include <algorithm>
#include <cstdio>

#include "document/MethodPaths.h"
#include "platform/core/StringTable.h"
#include "platform/gui/Control.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"
#include "platform/gui/MsgBox.h"
#include "platform/gui/WindowMessages.h"
#include "report_designer/DesignerDialogs.h"
#include "reports/RPReport.h"

namespace vyn {

namespace {

constexpr int kStrListWriteError = 7922;
constexpr int kStrListChanged = 7929;
constexpr int kStrListEmpty = 7923;
constexpr int kStrListError = 7924;
constexpr std::size_t kMaxAddText = 75;
constexpr std::size_t kMaxNameText = 79;

const TColor kLightGrey(192, 192, 192);

std::string Cut(std::string s, std::size_t max)
{
    if (s.size() > max) s.resize(max);
    return s;
}

void Enable(TDialog& d, int id, bool on)
{
    if (TWindow* w = d.GetDlgItem(id)) w->EnableWindow(on);
}

// The text of a hidden template static, cut as the dialogs read it.
std::string TemplateText(const TDialog& d, int id, std::size_t max)
{
    return Cut(d.GetDlgItemText(id), max);
}

}  // namespace

std::string ReportLibraryPath()
{
    const std::string& dir = GetSysFilesDir();
    return (dir.empty() ? std::string(".") : dir) + "/VYN.MRW";
}

CHintStat* AddHintLine(TDialog& dialog, int lowId, int highId)
{
    auto* hint = new CHintStat(&dialog, 110, lowId, highId);
    dialog.OnMessage(WM_SETCURSOR, [hint](TParam1 p1, TParam2 p2) -> TResult {
        hint->OnFocus(reinterpret_cast<TWindow*>(p1), static_cast<int>(p2 & 0xFFFF));
        return 0;
    });
    return hint;
}

// --- CRepManList --------------------------------------------------------------------------

CRepManList::CRepManList(TWindow* parent, CRepList& list, const std::vector<RepListExtra>* extras)
    : TListBox(parent, 101), list_(list), extras_(extras)
{
}

void CRepManList::Fill()
{
    ClearList();
    if (extras_)
        for (std::size_t i = 0; i < extras_->size(); ++i) {
            const int at = AddString((*extras_)[i].name + "A");
            if (at < 0) return;
            SetItemData(at, i | kExtraEntryBit);
        }
    for (int i = 0; i < list_.Count(); ++i) {
        const int at = AddString(list_.GetDescr(i).name + "B");
        if (at < 0) return;
        SetItemData(at, static_cast<std::uintptr_t>(i));
    }
}

int CRepManList::SelectedEntry() const
{
    const int sel = GetSelIndex();
    return sel < 0 ? -1 : static_cast<int>(GetItemData(sel));
}

bool CRepManList::SelectByName(const std::string& name)
{
    for (int row = 0; row < GetCount(); ++row) {
        const std::uintptr_t data = GetItemData(row);
        const bool extra = (data & kExtraEntryBit) != 0;
        const std::size_t i = data & ~kExtraEntryBit;
        const std::string& n = extra ? (extras_ && i < extras_->size() ? (*extras_)[i].name : std::string())
                                     : list_.GetDescr(static_cast<int>(i)).name;
        if (n == name) {
            SetSelIndex(row);
            return true;
        }
    }
    return false;
}

bool CRepManList::SelectByOffset(std::uint32_t offset)
{
    for (int row = 0; row < GetCount(); ++row) {
        const std::uintptr_t data = GetItemData(row);
        if (data & kExtraEntryBit) continue;
        if (list_.GetDescr(static_cast<int>(data)).offset == offset) {
            SetSelIndex(row);
            return true;
        }
    }
    return false;
}

bool CRepManList::SelectEntry(int index)
{
    for (int row = 0; row < GetCount(); ++row)
        if (GetItemData(row) == static_cast<std::uintptr_t>(index)) {
            SetSelIndex(row);
            return true;
        }
    return false;
}

void CRepManList::RedrawSelected()
{
    if (GetSelIndex() >= 0) RedrawItem(GetSelIndex());
}

void CRepManList::ReinsertSelected()
{
    const int sel = GetSelIndex();
    if (sel < 0) return;
    const std::uintptr_t data = GetItemData(sel);
    DeleteString(sel);
    const int at = AddString(list_.GetDescr(static_cast<int>(data)).name);
    if (at < 0) return;
    SetItemData(at, data);
    SetSelIndex(at);
}

void CRepManList::MeasureItem(TMeasureItem& item)
{
    TListBox::MeasureItem(item);
    item.itemHeight += 2;
}

void CRepManList::Paint(TDC& dc, bool erase, TRect& rect)
{
    dc.FillRect(GetClientRect(), TBrush(kLightGrey));
    TListBox::Paint(dc, erase, rect);
}

void CRepManList::DrawItem(TDrawItem& item)
{
    TDC& dc = item.dc;
    const TRect& r = item.rcItem;
    const bool real = item.itemId >= 0 && item.itemId < GetCount();
    dc.FillRect(r, TBrush(real && (item.itemState & ODS_SELECTED) ? TColor(255, 255, 255) : kLightGrey));
    if (real) {
        dc.SetBkMode(TRANSPARENT);
        const std::uintptr_t data = item.itemData;
        const int h = r.Height();
        const int x = r.left + h + 2, y = r.top + 2;
        if (data & kExtraEntryBit) {
            const std::size_t i = data & ~kExtraEntryBit;
            dc.SetTextColor(TColor(255, 0, 0));
            if (extras_ && i < extras_->size()) dc.TextOut(x, y, (*extras_)[i].name);
        } else {
            const SRepDescr& d = list_.GetDescr(static_cast<int>(data));
            const TRect mark(r.left + 1, r.top, r.left + 1 + h, r.bottom);
            if (!d.deleted) {
                const int in = h / 3;
                dc.SelectObject(TPen(TColor(0, 0, 255), 1));
                dc.SelectObject(TBrush(d.changed ? TColor(255, 0, 0) : TColor(0, 255, 255)));
                dc.Ellipse(mark.left + in, mark.top + in, mark.right - in, mark.bottom - in);
            } else {
                const int in = h / 4;
                dc.SelectObject(TPen(TColor(255, 0, 0), 3));
                dc.MoveTo(mark.left + in, mark.top + in);
                dc.LineTo(mark.right - in, mark.bottom - in);
                dc.MoveTo(mark.left + in, mark.bottom - in);
                dc.LineTo(mark.right - in, mark.top + in);
            }
            dc.SelectObject(TPen());
            dc.SetTextColor(d.deleted ? TColor(128, 128, 128) : TColor(0, 0, 0));
            dc.TextOut(x, y, d.name);
        }
    }
    if (item.itemState & ODS_FOCUS) dc.FrameRect(r, TBrush(TColor(0, 255, 255)));
}

// --- RPAddDlg -----------------------------------------------------------------------------

RPAddDlg::RPAddDlg(TWindow* parent, std::string libraryPath)
    : TDialog(parent, kDlgRepAdd), list_(std::move(libraryPath)), entries_(new CRepManList(this, list_))
{
    SetContextHelpId(3341);
    AddHintLine(*this, 101, 301);
    new TEdit(this, 121, static_cast<int>(kMaxAddText) + 1);
    new TEdit(this, 122, static_cast<int>(kMaxAddText) + 1);
    OnNotify(101, LBN_SELCHANGE, [this] { Update(); });
    OnCommand(103, [this] { Choose(false); });
    OnCommand(104, [this] { Choose(true); });
}

void RPAddDlg::SetupWindow()
{
    TDialog::SetupWindow();
    SetDlgItemText(121, Name);
    SetDlgItemText(122, Comment);
    list_.Open(false);
    entries_->Fill();
    // A report read from the library is stored back over its own entry only: compacting may
    // have moved it, and when it has gone nothing is offered, not even a report of its name.
    if (LibraryPosition != 0) entries_->SelectEntry(list_.FindEntry({LibraryPosition, LibraryStream}));
    else if (!Name.empty()) entries_->SelectByName(Name);
    Update();
    if (TWindow* edit = GetDlgItem(121)) edit->SetFocus();
}

void RPAddDlg::Update()
{
    const int entry = entries_->SelectedEntry();
    Enable(*this, 104, entry >= 0);
    SetDlgItemText(102, entry >= 0 ? list_.GetDescr(entry).description : std::string());
}

void RPAddDlg::Choose(bool replace)
{
    Name = Cut(GetDlgItemText(121), kMaxAddText);
    Comment = Cut(GetDlgItemText(122), kMaxAddText);
    if (!replace) {
        chosen_ = -1;
        CloseWindow(IDYES);
        return;
    }
    chosen_ = entries_->SelectedEntry();
    if (chosen_ >= 0) CloseWindow(IDYES);
}

int RPAddDlg::StoreReport(const RPReport& report)
{
    return chosen_ >= 0 ? list_.Replace(report, chosen_) : list_.Append(report);
}

// --- RPManDlg -----------------------------------------------------------------------------

RPManDlg::RPManDlg(TWindow* parent, std::string libraryPath)
    : TDialog(parent, kDlgRepManager), list_(std::move(libraryPath)), entries_(new CRepManList(this, list_))
{
    SetContextHelpId(3339);
    AddHintLine(*this, 101, 108);
    OnNotify(101, LBN_SELCHANGE, [this] { Update(); });
    OnNotify(101, LBN_DBLCLK, [this] { PostCommand(105); });
    OnCommand(103, [this] { Finish(103); });
    OnCommand(104, [this] { Finish(104); });
    OnCommand(105, [this] {
        const int entry = entries_->SelectedEntry();
        if (entry < 0) return;
        chosenIndex_ = entry;
        EntryOffset = list_.GetDescr(entry).offset;
        StreamOffset = EntryOffset + kEntryHeaderSize;
        LibraryFile = 0;  // the list keeps the file open for ReadChosen
        Finish(105);
    });
    OnCommand(106, [this] { CmName(); });
    OnCommand(107, [this] { CmDelete(); });
    OnCommand(108, [this] { CmMore(); });
}

void RPManDlg::SetupWindow()
{
    TDialog::SetupWindow();
    list_.Open(false);
    entries_->Fill();
    Update();
}

void RPManDlg::Update()
{
    const int entry = entries_->SelectedEntry();
    for (int id = 105; id <= 107; ++id) Enable(*this, id, entry >= 0);
    SetDlgItemText(102, entry >= 0 ? list_.GetDescr(entry).description : std::string());
    const int text = list_.pendingCount + list_.changedCount != 0 ? 402 : 401;
    if (text != buttonText_) {
        buttonText_ = text;
        SetDlgItemText(103, TemplateText(*this, text, 15));
    }
    std::string count;
    if (list_.status == lsMissing) {
        count = GetResStringStd(kStrListEmpty);
    } else if (list_.status == lsOpen) {
        char buf[48];
        if (list_.skippedCount > 0) std::snprintf(buf, sizeof buf, "%d [%d]", list_.Count(), list_.skippedCount);
        else std::snprintf(buf, sizeof buf, "%d", list_.Count());
        count = buf;
    } else {
        count = GetResStringStd(kStrListError);
    }
    SetDlgItemText(201, count);
}

int RPManDlg::WritePending()
{
    if (list_.pendingCount + list_.changedCount == 0) return 1;
    const int r = list_.Commit();
    if (r == CRepList::kListChanged) {
        ShowChangedLibrary();
        return -1;
    }
    if (r >= 0) return 1;
    MessageBox(this, GetResStringStd(kStrListWriteError), "", MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

void RPManDlg::ShowChangedLibrary()
{
    MessageBox(this, GetResStringStd(kStrListChanged), "", MB_OK | MB_ICONEXCLAMATION);
    entries_->Fill();
    Update();
}

void RPManDlg::Finish(int id)
{
    const int written = WritePending();
    // The user confirms again what the list now shows.
    if (written < 0) return;
    if (written == 0) {
        LibraryFile = -1;
        CloseWindow(IDCANCEL);
        return;
    }
    CloseWindow(id);
}

void RPManDlg::CmCancel()
{
    // Pending marks and names are dropped with the list.
    LibraryFile = -1;
    TDialog::CmCancel();
}

int RPManDlg::ReadChosen(RPReport& report) const
{
    if (LibraryFile < 0 || chosenIndex_ < 0) return 1;
    return list_.ReadReport(chosenIndex_, report);
}

void RPManDlg::CmName()
{
    const int entry = entries_->SelectedEntry();
    if (entry < 0) return;
    const SRepDescr& d = list_.GetDescr(entry);
    RPNameDlg dlg(this, d.name, d.description, d.changed == 0);
    const int r = dlg.Execute();
    bool changed = false;
    if (r == 101) changed = list_.SetStrings(entry, dlg.Name, dlg.Comment);
    else if (r == 102) changed = list_.RevertEntry(entry);
    if (changed) {
        entries_->ReinsertSelected();
        Update();
    }
}

void RPManDlg::CmDelete()
{
    const int entry = entries_->SelectedEntry();
    if (entry < 0) return;
    list_.ToggleMark(entry);
    entries_->RedrawSelected();
    Update();
}

void RPManDlg::CmMore()
{
    const int r = RPManMoreDlg(this, list_).Execute();
    if (r != 101 && r != 102) return;
    entries_->ClearList();
    const int written = WritePending();
    if (written < 0) return;
    if (written > 0 && r == 102) {
        const int c = list_.Consolidate();
        if (c == CRepList::kListChanged) {
            ShowChangedLibrary();
            return;
        }
        if (c != 0) MessageBox(this, GetResStringStd(kStrListWriteError), "", MB_OK | MB_ICONEXCLAMATION);
    }
    list_.Open(r == 101);
    entries_->Fill();
    Update();
}

// --- RPNameDlg ----------------------------------------------------------------------------

RPNameDlg::RPNameDlg(TWindow* parent, std::string name, std::string comment, bool entryUnchanged)
    : TDialog(parent, kDlgRepName), Name(std::move(name)), Comment(std::move(comment)), unchanged_(entryUnchanged)
{
    SetContextHelpId(3340);
    AddHintLine(*this, 1, 300);
    new TEdit(this, 121, static_cast<int>(kMaxNameText) + 1);
    new TEdit(this, 122, static_cast<int>(kMaxNameText) + 1);
    OnCommand(103, [this] { CloseWindow(102); });
}

void RPNameDlg::SetupWindow()
{
    TDialog::SetupWindow();
    for (int id : {121, 122}) {
        SetDlgItemText(id, id == 121 ? Name : Comment);
        if (auto* e = dynamic_cast<TEdit*>(GetDlgItem(id))) e->ClearModify();
    }
    if (TWindow* reset = GetDlgItem(103)) reset->ShowWindow(unchanged_ ? SW_HIDE : SW_SHOW);
}

void RPNameDlg::CmOk()
{
    bool modified = false;
    for (int id : {121, 122}) {
        auto* e = dynamic_cast<TEdit*>(GetDlgItem(id));
        if (!e || !e->IsModified()) continue;
        (id == 121 ? Name : Comment) = Cut(e->GetWindowText(), kMaxNameText);
        modified = true;
    }
    CloseWindow(modified ? 101 : IDCANCEL);
}

// --- RPManMoreDlg -------------------------------------------------------------------------

RPManMoreDlg::RPManMoreDlg(TWindow* parent, CRepList& list) : TDialog(parent, kDlgRepDetails), list_(list)
{
    SetContextHelpId(3342);
    AddHintLine(*this, 101, 102);
    OnCommand(101, [this] { CloseWindow(101); });
    OnCommand(102, [this] { CloseWindow(102); });
}

void RPManMoreDlg::SetupWindow()
{
    TDialog::SetupWindow();
    std::string state;
    switch (list_.status) {
    case lsMissing: state = TemplateText(*this, 401, 63); break;
    case lsOpen: {
        state = TemplateText(*this, 402, 55);
        const auto at = state.find("%d");
        if (at != std::string::npos) state.replace(at, 2, std::to_string(list_.skippedCount));
        break;
    }
    case lsShared: state = TemplateText(*this, 404, 63); break;
    case lsBadFile: state = TemplateText(*this, 405, 63); break;
    default: state = TemplateText(*this, 403, 63); break;
    }
    SetDlgItemText(302, state);
    SetDlgItemText(301, list_.GetFileName());
    Enable(*this, 101, list_.skippedCount > 0);
    Enable(*this, 102, list_.skippedCount + list_.deletedCount > 0);
}

}  // namespace vyn
