#include "report_designer/RPPrintDialogs.h"

#include "document/QDoc.h"
#include "platform/core/DocManager.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlListBox.h"
#include "reports/QRepDoc.h"

namespace vyn {

std::vector<QRepDoc*> OpenReportDocs(TDocManager& docs)
{
    std::vector<QRepDoc*> v;
    for (TDocument* d : docs.GetDocuments())
        if (auto* r = dynamic_cast<QRepDoc*>(d)) v.push_back(r);
    return v;
}

std::vector<QDoc*> OpenPlateDocs(TDocManager& docs)
{
    std::vector<QDoc*> v;
    for (TDocument* d : docs.GetDocuments())
        if (auto* p = dynamic_cast<QDoc*>(d)) v.push_back(p);
    return v;
}

namespace {

TCheckBox* Box(const TDialog& d, int id) { return dynamic_cast<TCheckBox*>(d.GetDlgItem(id)); }

std::string DocTitle(const TDocument& d)
{
    return d.GetTitle().empty() ? d.GetDocPath() : d.GetTitle();
}

}  // namespace

// --- RPPrnPlate ---------------------------------------------------------------------------

RPPrnPlate::RPPrnPlate(TWindow* parent, int mode, TDocManager& docs, std::string libraryPath)
    : TDialog(parent, kDlgRepPlate),
      mode_(mode),
      docs_(docs),
      list_(std::move(libraryPath)),
      entries_(new CRepManList(this, list_, &extras_))
{
    SetContextHelpId(3343);
    AddHintLine(*this, 100, 200);
    new TCheckBox(this, 106);
    OnNotify(101, LBN_SELCHANGE, [this] { SelectionChanged(); });
    OnNotify(101, LBN_DBLCLK, [this] { PostCommand(IDOK); });
    OnCommand(106, [this] { BoxClicked(); });
    OnCommand(105, [this] { CmAssociate(); });
}

bool RPPrnPlate::LibraryEntrySelected() const
{
    const int e = entries_->SelectedEntry();
    return e >= 0 && !(static_cast<unsigned>(e) & kExtraEntryBit);
}

void RPPrnPlate::SetupWindow()
{
    TDialog::SetupWindow();
    std::string button = GetDlgItemText(mode_ == 1 ? 104 : 103);
    if (button.size() > 31) button.resize(31);
    SetDlgItemText(IDOK, button);
    extras_.clear();
    for (QRepDoc* d : OpenReportDocs(docs_)) extras_.push_back({DocTitle(*d), d->GetDocPath()});
    list_.Open(false);
    entries_->Fill();
    if (!AssociatedName.empty() && entries_->SelectByName(AssociatedName)) {
        if (LibraryEntrySelected()) {
            associated_ = entries_->SelectedEntry();
            if (TCheckBox* b = Box(*this, 106)) b->Check();
        }
    } else if (entries_->GetCount() > 0) {
        entries_->SetSelIndex(0);
    }
    Update();
}

void RPPrnPlate::Update()
{
    const int e = entries_->SelectedEntry();
    if (TWindow* b = GetDlgItem(106)) b->EnableWindow(LibraryEntrySelected());
    // Without a chosen report (an empty library and no open report) there is nothing to print.
    if (TWindow* go = GetDlgItem(IDOK)) go->EnableWindow(e >= 0);
    std::string detail;
    if (e >= 0 && (static_cast<unsigned>(e) & kExtraEntryBit)) {
        const std::size_t i = static_cast<unsigned>(e) & ~kExtraEntryBit;
        if (i < extras_.size()) detail = extras_[i].detail;
    } else if (e >= 0) {
        detail = list_.GetDescr(e).description;
    }
    SetDlgItemText(102, detail);
}

void RPPrnPlate::SelectionChanged()
{
    if (TCheckBox* b = Box(*this, 106)) b->SetCheck(entries_->SelectedEntry() == associated_ && associated_ >= 0);
    Update();
}

void RPPrnPlate::BoxClicked()
{
    TCheckBox* b = Box(*this, 106);
    if (b && b->GetCheck() != TCheckBox::BF_CHECKED && entries_->SelectedEntry() == associated_) associated_ = -1;
}

void RPPrnPlate::CmOk()
{
    TCheckBox* b = Box(*this, 106);
    useInFuture_ = b && b->GetCheck() == TCheckBox::BF_CHECKED;
    const int e = entries_->SelectedEntry();
    if (e < 0) {
        CloseWindow(IDCANCEL);
        return;
    }
    if (LibraryEntrySelected()) {
        const SRepDescr& d = list_.GetDescr(e);
        AssociatedName = d.name;
        chosenIndex_ = e;
        StreamOffset = d.offset + kEntryHeaderSize;
        LibraryFile = 0;  // the list stays open for ReadChosen
        CloseWindow(IDOK);
        return;
    }
    LibraryFile = -1;
    StreamOffset = 0;
    list_.Close();
    useInFuture_ = false;
    const std::size_t i = static_cast<unsigned>(e) & ~kExtraEntryBit;
    if (i < extras_.size()) AssociatedName = extras_[i].name;
    // The document is found again by its place among the open reports: it may have closed.
    const std::vector<QRepDoc*> open = OpenReportDocs(docs_);
    if (i >= open.size()) {
        CloseWindow(IDCANCEL);
        return;
    }
    ChosenReport = &open[i]->Report();
    CloseWindow(IDOK);
}

void RPPrnPlate::CmAssociate()
{
    TCheckBox* b = Box(*this, 106);
    useInFuture_ = b && b->GetCheck() == TCheckBox::BF_CHECKED;
    if (LibraryEntrySelected() && useInFuture_) {
        AssociatedName = list_.GetDescr(entries_->SelectedEntry()).name;
        CloseWindow(105);
        return;
    }
    CloseWindow(IDCANCEL);
}

int RPPrnPlate::ReadChosen(RPReport& report) const
{
    if (LibraryFile < 0 || chosenIndex_ < 0) return 1;
    return list_.ReadReport(chosenIndex_, report);
}

// --- RPDefPrnDlg --------------------------------------------------------------------------

RPDefPrnDlg::RPDefPrnDlg(TWindow* parent, TDocManager& docs)
    : TDialog(parent, kDlgRepPrintMode), docs_(docs), plates_(new TListBox(this, 103))
{
    SetContextHelpId(3344);
    AddHintLine(*this, 100, 200);
    new TRadioButton(this, 101);
    new TRadioButton(this, 102);
    OnNotify(103, LBN_SELCHANGE, [this] {
        Box(*this, 101)->SetCheck(plates_->GetSelIndex() < 0);
        Box(*this, 102)->SetCheck(plates_->GetSelIndex() >= 0);
    });
    OnNotify(103, LBN_DBLCLK, [this] { PostCommand(IDOK); });
    OnCommand(101, [this] { Radio(101); });
    OnCommand(102, [this] { Radio(102); });
}

void RPDefPrnDlg::SetupWindow()
{
    TDialog::SetupWindow();
    for (QDoc* d : OpenPlateDocs(docs_)) {
        const int at = plates_->AddString(DocTitle(*d));
        if (at >= 0) plates_->SetItemData(at, reinterpret_cast<std::uintptr_t>(&d->GetPlate()));
    }
    preselected_ = -1;
    if (Plate)
        for (int i = plates_->GetCount() - 1; i >= 0; --i)
            if (plates_->GetItemData(i) == reinterpret_cast<std::uintptr_t>(Plate)) {
                preselected_ = i;
                break;
            }
    Box(*this, 101)->SetCheck(preselected_ < 0);
    Box(*this, 102)->SetCheck(preselected_ >= 0);
    plates_->SetSelIndex(preselected_);
    if (TWindow* r = GetDlgItem(102)) r->EnableWindow(plates_->GetCount() > 0);
}

void RPDefPrnDlg::Radio(int id)
{
    if (id == 101) {
        plates_->SetSelIndex(-1);
    } else if (plates_->GetSelIndex() < 0) {
        plates_->SetSelIndex(preselected_ >= 0 ? preselected_ : 0);
    }
}

void RPDefPrnDlg::CmOk()
{
    Plate = nullptr;
    Document = nullptr;
    const int sel = plates_->GetSelIndex();
    if (sel >= 0) {
        auto* chosen = reinterpret_cast<QPlate*>(plates_->GetItemData(sel));
        // Only a plate that an open document still holds: its document may have closed.
        for (QDoc* d : OpenPlateDocs(docs_))
            if (&d->GetPlate() == chosen) {
                Plate = chosen;
                Document = d;
                break;
            }
    }
    CloseWindow(IDOK);
}

}  // namespace vyn
