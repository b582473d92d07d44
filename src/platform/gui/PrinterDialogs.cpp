#include "platform/gui/PrinterDialogs.h"

#include <algorithm>

#include "platform/core/StringTable.h"
#include "platform/core/TypedNumbers.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/ControlList.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/MsgBox.h"
#include "platform/gui/WholeEdit.h"

namespace vyn {

namespace {

// Puts each argument in place of the next "%s" or "%d" of a template text.
std::string FillFormat(std::string format, std::initializer_list<std::string> args)
{
    std::size_t from = 0;
    for (const std::string& a : args) {
        std::size_t s = format.find("%s", from), d = format.find("%d", from);
        std::size_t at = std::min(s, d);
        if (at == std::string::npos) break;
        format.replace(at, 2, a);
        from = at + a.size();
    }
    return format;
}

constexpr int kCaption = 23850;
// Copies the printer is asked for at most.
constexpr WholeField kCopiesField{1, 999};

}  // namespace

// ==================================================================== print dialog

TPrintDialog::TPrintDialog(TWindow* parent, TPrintDialogData& data, std::string& printer)
    : TDialog(parent, kResId), data_(data), printer_(printer)
{
    printerBox_ = new TComboBox(this, kPrinter);
    toFile_ = new TCheckBox(this, kToFile);
    fileName_ = new TEdit(this, kFileName, 1024);
    all_ = new TRadioButton(this, kAll);
    pages_ = new TRadioButton(this, kPages);
    from_ = new TEdit(this, kFrom, 5);
    to_ = new TEdit(this, kTo, 5);
    copies_ = new TEdit(this, kCopies, 3);
    portrait_ = new TRadioButton(this, kPortrait);
    landscape_ = new TRadioButton(this, kLandscape);
    OnNotify(kToFile, BN_CLICKED, [this] { UpdateFileState(); });
}

void TPrintDialog::SetupWindow()
{
    TDialog::SetupWindow();
    const std::vector<std::string> names = TPrinter::PrinterNames();
    for (const std::string& n : names) {
        int i = printerBox_->AddString(n);
        if (n == printer_) printerBox_->SetSelIndex(i);
    }
    if (printerBox_->GetSelIndex() < 0 && !names.empty()) printerBox_->SetSelIndex(0);
    // Without a printer the only way out is a file.
    toFile_->SetCheck(data_.printToFile || names.empty() ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
    fileName_->SetWindowText(data_.fileName);
    (data_.pageRange ? pages_ : all_)->Check();
    from_->SetWindowText(std::to_string(data_.fromPage));
    to_->SetWindowText(std::to_string(data_.toPage));
    copies_->SetWindowText(std::to_string(std::max(1, data_.copies)));
    (data_.landscape ? landscape_ : portrait_)->Check();
    UpdateFileState();
}

void TPrintDialog::UpdateFileState()
{
    const bool toFile = toFile_->GetCheck() == TCheckBox::BF_CHECKED;
    fileName_->EnableWindow(toFile);
    printerBox_->EnableWindow(!toFile && printerBox_->GetCount() > 0);
    // A file is written once; copies are the printer's business.
    copies_->EnableWindow(!toFile);
}

void TPrintDialog::CmOk()
{
    const bool toFile = toFile_->GetCheck() == TCheckBox::BF_CHECKED;
    std::string file = fileName_->GetWindowText();
    if (toFile && file.find_first_not_of(' ') == std::string::npos) {
        MessageBox(this, GetResString(23852), GetResString(kCaption), MB_OK | MB_ICONEXCLAMATION);
        fileName_->SetFocus();
        return;
    }
    const bool range = pages_->GetCheck() == TCheckBox::BF_CHECKED;
    int from = data_.minPage, to = data_.maxPage;
    if (range) {
        const WholeField pages{data_.minPage, data_.maxPage};
        if (!TakeWholeEdit(*this, kFrom, pages, from, GetResString(kCaption)) ||
            !TakeWholeEdit(*this, kTo, pages, to, GetResString(kCaption)))
            return;
        if (from > to) {
            MessageBox(this, FormatResString(23853, (std::to_string(data_.minPage) + "-" + std::to_string(data_.maxPage)).c_str()),
                       GetResString(kCaption), MB_OK | MB_ICONEXCLAMATION);
            from_->SetFocus();
            return;
        }
    }
    // Greyed while printing to a file, the copies count cannot be mended there: it keeps its value.
    int copies = std::clamp(data_.copies, kCopiesField.low, kCopiesField.high);
    if (copies_->IsWindowEnabled() && !TakeWholeEdit(*this, kCopies, kCopiesField, copies, GetResString(kCaption))) return;
    if (toFile && !MayWriteChosenFile(this, file, nullptr, GetResStringStd(23850))) {
        // The name refused (or not to be replaced) is selected, so the next one typed replaces it
        // rather than running on from it.
        fileName_->SetFocus();
        fileName_->SetSelection(0, -1);
        return;
    }
    data_.printToFile = toFile;
    data_.fileName = file;
    data_.pageRange = range;
    data_.fromPage = from;
    data_.toPage = to;
    data_.copies = copies;
    data_.landscape = landscape_->GetCheck() == TCheckBox::BF_CHECKED;
    if (int i = printerBox_->GetSelIndex(); i >= 0) printer_ = printerBox_->GetString(i);
    TDialog::CmOk();
}

// ==================================================================== abort dialog

TPrinterAbortDlg::TPrinterAbortDlg(TWindow* parent, int resId, TPrinter& printer, const std::string& title)
    : TDialog(parent, resId), printer_(printer), title_(title)
{
    page_ = new TStatic(this, kPage);
}

void TPrinterAbortDlg::SetupWindow()
{
    TDialog::SetupWindow();
    SetDlgItemText(kTitle, FillFormat(GetDlgItemText(kTitle), {title_}));
    SetDlgItemText(kDevice, FillFormat(GetDlgItemText(kDevice), {printer_.GetDevice(), printer_.GetPort()}));
    pageFormat_ = page_->GetText();
    page_->SetText({});
}

void TPrinterAbortDlg::SetPage(int page, int count)
{
    std::string text = FillFormat(pageFormat_, {std::to_string(page)});
    if (count > 0) text += " " + std::to_string(count);
    page_->SetText(text);
}

std::string TPrinterAbortDlg::PageText() const { return page_->GetText(); }

void TPrinterAbortDlg::CmCancel()
{
    printer_.Abort();
    // The dialog goes when the job ends; until then it says the job is stopping.
    if (TWindow* b = GetDlgItem(IDCANCEL)) b->EnableWindow(false);
}

}  // namespace vyn
