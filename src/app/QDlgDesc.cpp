#include "app/QDlgDesc.h"

#include <algorithm>

#include "app/QClrBut.h"
#include "app/QDescLst.h"
#include "document/PlateFile.h"
#include "platform/core/StringTable.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/MsgBox.h"

namespace vyn {

namespace {

constexpr int kRadio = 101, kList = 201, kColourLabel = 301, kColour = 401, kSign = 501, kName = 701,
              kInfoLabel = 702, kInfo = 703, kDelete = 801;
constexpr std::size_t kNameMax = 62;
constexpr int kHelpId = 3140;
constexpr int kMsgInUse = 18000, kMsgDuplicate = 18001, kMsgNoName = 18002;

const TColor kPalette[8] = {TColor(0, 0, 0),     TColor(0, 0, 255),   TColor(0, 255, 255), TColor(0, 255, 0),
                            TColor(255, 0, 255), TColor(255, 0, 0),   TColor(255, 255, 0), TColor(255, 255, 255)};

bool InUse(const QDesc* d) { return d && (d->kind & QDlgDesc::kInUse); }

int PageOfKind(std::uint32_t kind)
{
    for (int p = 0; p < 4; ++p)
        if (kind & (1u << p)) return p;
    return -1;
}

std::string Trimmed(const std::string& s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

QDlgDesc::QDlgDesc(TWindow* parent, QDescList& descs, int resId) : TDialog(parent, resId), docDescs_(descs)
{
    for (int i = 0; i < 8; ++i) colours_[static_cast<std::size_t>(i)] = new QClrBut(this, kColour + i, kPalette[i]);
    name_ = new TEdit(this, kName, static_cast<int>(kNameMax) + 1);
    info_ = new TEdit(this, kInfo);
    infoLabel_ = new TStatic(this, kInfoLabel);

    // The working list: copies of what may change, the plate's own objects of what wells use.
    for (const auto& d : docDescs_) {
        QDesc* w = d.get();
        if (!InUse(w)) {
            copies_.push_back(std::make_unique<QDesc>(*w));
            w = copies_.back().get();
        }
        working_.push_back(w);
        const int page = PageOfKind(w->kind);
        if (page >= 0) kinds_[static_cast<std::size_t>(page)].push_back(w);
    }
    for (int p = 0; p < 4; ++p) lists_[static_cast<std::size_t>(p)] = new QDescLst(this, kList + p, &kinds_[static_cast<std::size_t>(p)]);

    for (int p = 0; p < 4; ++p) {
        OnCommand(static_cast<unsigned>(kRadio + p), [this, p] { ShowPage(p); });
        OnNotify(static_cast<unsigned>(kList + p), LBN_SELCHANGE, [this] { Refresh(); });
        OnNotify(static_cast<unsigned>(kList + p), LBN_SETFOCUS, [this] { SendMessage(DM_SETDEFID, IDOK, 0); });
    }
    for (int i = 0; i < 8; ++i) OnCommand(static_cast<unsigned>(kColour + i), [this, i] { ColourClicked(i); });
    OnCommand(kSign, [this] { SignClicked(); });
    OnCommand(kDelete, [this] { DeleteCurrent(true); });
    OnNotify(kName, EN_CHANGE, [this] { NameChanged(); });
    OnNotify(kName, EN_SETFOCUS, [this] { SendMessage(DM_SETDEFID, IDOK, 0); });
    OnNotify(kInfo, EN_CHANGE, [this] {
        if (update_ == 0 && current_ && !InUse(current_)) current_->info = info_->GetWindowText();
    });
    OnMessage(WM_VKEYTOITEM, [this](TParam1 p1, TParam2) { return VKeyToItem(LOWORD(p1)); });
    OnMessage(WM_CHARTOITEM, [this](TParam1 p1, TParam2) { return CharToItem(LOWORD(p1)); });
}

// The copies go with the dialog; the plate's list is untouched unless OK replaced it.
QDlgDesc::~QDlgDesc() = default;

void QDlgDesc::SetStartKind(int kind)
{
    switch (kind & 0x0F) {
    case 1: startPage_ = 0; break;
    case 2: startPage_ = 1; break;
    case 4: startPage_ = 2; break;
    case 8: startPage_ = 3; break;
    default: startPage_ = -1; break;
    }
}

void QDlgDesc::SetupWindow()
{
    TDialog::SetupWindow();
    SetContextHelpId(kHelpId);
    for (QDescLst* l : lists_) l->SetSelIndex(0);
    const int page = startPage_ < 0 ? 0 : startPage_;
    ShowPage(page);
    for (int p = 0; p < 4; ++p) {
        if (auto* r = dynamic_cast<TRadioButton*>(GetDlgItem(kRadio + p))) {
            r->SetCheck(p == page ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
            if (startPage_ >= 0 && p != page) r->EnableWindow(false);
        }
    }
}

void QDlgDesc::ShowPage(int page)
{
    if (page == page_ || page < 0 || page > 3) return;
    if (page_ >= 0) lists_[static_cast<std::size_t>(page_)]->ShowWindow(SW_HIDE);
    page_ = page;
    lists_[static_cast<std::size_t>(page)]->ShowWindow(SW_SHOW);
    Refresh();
}

void QDlgDesc::Refresh(bool keepName)
{
    if (page_ < 0) return;
    current_ = lists_[static_cast<std::size_t>(page_)]->GetSelected(&row_);
    const bool inUse = InUse(current_);
    const bool editable = current_ && !inUse;

    for (QClrBut* b : colours_) {
        b->ShowWindow(editable ? SW_SHOW : SW_HIDE);
        b->SetSelected(editable && b->GetColour() == current_->colour);
    }
    if (TWindow* w = GetDlgItem(kColourLabel)) w->ShowWindow(editable ? SW_SHOW : SW_HIDE);

    TWindow* del = GetDlgItem(kDelete);
    TWindow* sign = GetDlgItem(kSign);
    const auto show = [](TWindow* w, bool on) {
        if (w) w->ShowWindow(on ? SW_SHOW : SW_HIDE);
    };
    const auto enable = [](TWindow* w, bool on) {
        if (w) w->EnableWindow(on);
    };
    if (row_ < 0) {
        show(info_, false);
        show(infoLabel_, false);
        show(del, false);
        show(sign, false);
    } else if (!current_) {
        show(info_, false);
        show(infoLabel_, false);
        show(del, true);
        enable(del, false);
        show(sign, false);
    } else {
        ++update_;
        info_->SetWindowText(current_->info);
        --update_;
        show(info_, true);
        enable(info_, !inUse);
        show(infoLabel_, true);
        show(del, true);
        enable(del, !inUse);
        const bool signed_ = current_->SampleKind() == 4 || current_->SampleKind() == 8;
        show(sign, signed_);
        enable(sign, signed_ && !inUse);
    }

    if (keepName) return;
    ++update_;
    if (row_ < 0) {
        show(name_, false);
    } else {
        name_->SetWindowText(current_ ? current_->name : std::string());
        show(name_, true);
        enable(name_, !inUse);
    }
    --update_;
}

void QDlgDesc::ColourClicked(int index)
{
    QClrBut* b = colours_[static_cast<std::size_t>(index)];
    for (QClrBut* c : colours_) c->SetSelected(c == b);
    if (!current_ || InUse(current_)) return;
    current_->colour = b->GetColour();
    lists_[static_cast<std::size_t>(page_)]->RedrawItem(row_);
    b->SetFocus();
}

void QDlgDesc::SignClicked()
{
    if (!current_ || InUse(current_)) return;
    if (current_->SampleKind() != 4 && current_->SampleKind() != 8) return;
    current_->kind ^= QDesc::kReference;
    lists_[static_cast<std::size_t>(page_)]->RedrawItem(row_);
}

bool QDlgDesc::IsOwnCopy(const QDesc* d) const
{
    return std::any_of(copies_.begin(), copies_.end(), [d](const auto& c) { return c.get() == d; });
}

void QDlgDesc::RemoveFromWorking(QDesc* d)
{
    working_.erase(std::remove(working_.begin(), working_.end(), d), working_.end());
    copies_.erase(std::remove_if(copies_.begin(), copies_.end(), [d](const auto& c) { return c.get() == d; }), copies_.end());
}

void QDlgDesc::NameChanged()
{
    if (update_ > 0 || row_ < 0 || page_ < 0) return;
    std::string text = name_->GetWindowText();
    if (text.size() > kNameMax) text.resize(kNameMax);
    QDescLst* list = lists_[static_cast<std::size_t>(page_)];
    auto& kind = kinds_[static_cast<std::size_t>(page_)];
    if (!current_) {
        if (text.empty()) {
            MessageBeep(0);
            return;
        }
        copies_.push_back(std::make_unique<QDesc>(1u << page_, text, TColor(0, 0, 0), std::string()));
        QDesc* d = copies_.back().get();
        working_.push_back(d);
        kind.push_back(d);
        list->AddString("");
        list->SetSelIndex(row_);
        Refresh(true);
        return;
    }
    if (InUse(current_)) return;
    current_->name = text;
    list->RedrawItem(row_);
    if (text.empty() && row_ == static_cast<int>(kind.size()) - 1) DeleteCurrent(false);
}

void QDlgDesc::DeleteCurrent(bool fromUser)
{
    if (!current_ || page_ < 0) return;
    if (InUse(current_)) {
        MessageBox(this, GetResString(kMsgInUse), "", MB_OK);
        return;
    }
    QDescLst* list = lists_[static_cast<std::size_t>(page_)];
    auto& kind = kinds_[static_cast<std::size_t>(page_)];
    const int row = row_;
    kind.erase(kind.begin() + row);
    list->DeleteString(row);
    RemoveFromWorking(current_);
    current_ = nullptr;
    list->SetSelIndex(row);
    Refresh();
    if (fromUser && (!current_ || InUse(current_))) list->SetFocus();
}

void QDlgDesc::InsertKey()
{
    if (row_ < 0 || page_ < 0) return;
    QDescLst* list = lists_[static_cast<std::size_t>(page_)];
    if (current_) {
        auto& kind = kinds_[static_cast<std::size_t>(page_)];
        copies_.push_back(std::make_unique<QDesc>(1u << page_, std::string(), TColor(0, 0, 0), std::string()));
        QDesc* d = copies_.back().get();
        working_.insert(std::find(working_.begin(), working_.end(), current_), d);
        kind.insert(kind.begin() + row_, d);
        list->InsertString("", row_);
    }
    list->SetSelIndex(row_);
    Refresh();
    name_->SetFocus();
}

TResult QDlgDesc::VKeyToItem(unsigned key)
{
    if (key == VK_DELETE) {
        DeleteCurrent(true);
        return -2;
    }
    if (key == VK_INSERT) {
        InsertKey();
        return -2;
    }
    return -1;
}

TResult QDlgDesc::CharToItem(unsigned ch)
{
    if (row_ >= 0 && !InUse(current_) && ch >= 32) {
        // Typing on a row starts or replaces its name in the edit.
        name_->SetFocus();
        name_->SetWindowText(std::string(1, static_cast<char>(ch)));
        name_->SetSelection(1, 1);
    } else {
        MessageBeep(0);
    }
    return -2;
}

bool QDlgDesc::CheckPages()
{
    for (int p = 0; p < 4; ++p) {
        auto& kind = kinds_[static_cast<std::size_t>(p)];
        int duplicate = -1;
        for (std::size_t j = 1; j < kind.size() && duplicate < 0; ++j)
            for (std::size_t i = 0; i < j; ++i)
                if (kind[j]->HasName(kind[i]->name)) {
                    duplicate = static_cast<int>(j);
                    break;
                }
        int empty = -1;
        for (std::size_t i = 0; i < kind.size(); ++i) {
            // The plate's own descriptors stay as they are; only the copies are tidied.
            if (!InUse(kind[i])) kind[i]->name = Trimmed(kind[i]->name);
            if (kind[i]->name.empty()) {
                empty = static_cast<int>(i);
                break;
            }
        }
        if (empty < 0 && duplicate < 0) continue;
        QDescLst* list = lists_[static_cast<std::size_t>(p)];
        SelectFinding(p, empty >= 0 ? empty : duplicate);
        const int answer = MessageBox(this, GetResString(empty >= 0 ? kMsgNoName : kMsgDuplicate), "",
                                      MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
        if (answer == IDIGNORE) return true;
        if (answer == IDABORT) {
            CloseWindow(IDCANCEL);
            return false;
        }
        list->SetFocus();
        return false;
    }
    return true;
}

void QDlgDesc::SelectFinding(int page, int row)
{
    if (page != page_) {
        for (int r = 0; r < 4; ++r)
            if (auto* b = dynamic_cast<TRadioButton*>(GetDlgItem(kRadio + r)))
                b->SetCheck(r == page ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
        ShowPage(page);
    }
    QDescLst* list = lists_[static_cast<std::size_t>(page)];
    list->SetSelIndex(row);
    list->Invalidate(true);
    Refresh();
}

bool QDlgDesc::CheckStorableNames()
{
    for (int p = 0; p < 4; ++p) {
        const auto& kind = kinds_[static_cast<std::size_t>(p)];
        for (std::size_t i = 0; i < kind.size(); ++i) {
            // An empty name was already asked about above; the user chose to keep it.
            const std::string& name = kind[i]->name;
            if (name.empty() || IsStorableName(name)) continue;
            SelectFinding(p, static_cast<int>(i));
            MessageBox(this, FormatResString(kMsgNameNotStorable, CutUtf8(name, 40).c_str()), "",
                       MB_OK | MB_ICONEXCLAMATION);
            lists_[static_cast<std::size_t>(p)]->SetFocus();
            return false;
        }
    }
    return true;
}

void QDlgDesc::CmOk()
{
    QDescLst* list = page_ >= 0 ? lists_[static_cast<std::size_t>(page_)] : nullptr;
    // Enter walks between the list and the name edit while the user types names.
    if (list && list->HasFocus()) {
        if (InUse(current_)) list->PostMessage(WM_KEYDOWN, VK_DOWN, 0);
        else name_->SetFocus();
        return;
    }
    if (list && name_->HasFocus()) {
        list->SetFocus();
        if (current_) list->PostMessage(WM_KEYDOWN, VK_DOWN, 0);
        return;
    }
    if (!CheckPages() || !CheckStorableNames()) return;

    bool same = working_.size() == docDescs_.size();
    for (std::size_t i = 0; same && i < working_.size(); ++i) same = working_[i]->IsIdentical(*docDescs_[i]);
    if (same) {
        CloseWindow(IDCANCEL);
        return;
    }
    QDescList result;
    result.reserve(working_.size());
    for (QDesc* d : working_) {
        if (IsOwnCopy(d)) {
            auto it = std::find_if(copies_.begin(), copies_.end(), [d](const auto& c) { return c.get() == d; });
            result.push_back(std::move(*it));
            copies_.erase(it);
        } else {
            auto it = std::find_if(docDescs_.begin(), docDescs_.end(), [d](const auto& c) { return c.get() == d; });
            if (it != docDescs_.end()) result.push_back(std::move(*it));
        }
    }
    working_.clear();
    for (auto& k : kinds_) k.clear();
    docDescs_ = std::move(result);
    CloseWindow(IDOK);
}

}  // namespace vyn
