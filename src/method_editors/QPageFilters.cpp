#include "method_editors/QPageFilters.h"

#include "controls/TypedNumberEntry.h"
#include "method_editors/QHintText.h"
#include "plate/FilterTable.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlList.h"
#include "readers/QFoto.h"

namespace vyn {

namespace {
constexpr int kHelpId = 3127;

}  // namespace

QPageFilters::QPageFilters(QAllPsh* sheet)
    : QMethodPage(sheet, kResId), meas_(new TComboBox(this, kMeas)), ref_(new TComboBox(this, kRef)),
      useRef_(new TCheckBox(this, kUseRef)), options_(new TButton(this, kOptions))
{
    new QHintText(this, kHint);
    OnCommand(kUseRef, [this] { UseRefClicked(); });
    OnCommand(kOptions, [this] { RunOptions(); });
}

void QPageFilters::SetupPage()
{
    const QAllPsh& s = Sheet();
    SetContextHelpId(kHelpId);
    for (int i = 0; i < GetFilterCount(); ++i) {
        const int nm = GetFilter(i);
        if (nm <= 0) continue;
        meas_->AddString(std::to_string(nm));
        ref_->AddString(std::to_string(nm));
    }
    if (s.measurementFilter > 0) meas_->SetWindowText(std::to_string(s.measurementFilter));
    if (s.referenceFilter > 0) ref_->SetWindowText(std::to_string(s.referenceFilter));
    useRef_->SetCheck(s.useReference ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
    ShowReference();
    const bool options = gReader && gReader->HasOptions();
    if (options) ShowOptionsText();
    const int show = options ? SW_SHOW : SW_HIDE;
    if (TWindow* w = GetDlgItem(kOptionsLabel)) w->ShowWindow(show);
    options_->ShowWindow(show);
}

void QPageFilters::ShowReference()
{
    const int show = useRef_->GetCheck() == TCheckBox::BF_CHECKED ? SW_SHOW : SW_HIDE;
    if (TWindow* w = GetDlgItem(kRefLabel)) w->ShowWindow(show);
    ref_->ShowWindow(show);
}

void QPageFilters::UseRefClicked()
{
    useRef_->SetFocus();
    ShowReference();
}

void QPageFilters::ShowOptionsText()
{
    char text[kOptionsTextSize] = {};
    gReader->GetOptionsText(text, kOptionsTextSize, Sheet().readerOptions);
    options_->SetWindowText(text);
}

void QPageFilters::RunOptions()
{
    if (!gReader) return;
    // The driver changes the sheet's copy: a Cancel of the sheet throws that away too.
    gReader->OptionsDialog(this, Sheet().readerOptions);
    ShowOptionsText();
}

bool QPageFilters::KillActive()
{
    QAllPsh& s = Sheet();
    int measurement = 0, reference = s.referenceFilter;
    if (!TakeWholeEdit(*this, kMeas, kFilterBoxField, measurement) ||
        !TakeWholeEdit(*this, kRef, kFilterBoxField, reference))
        return false;
    s.measurementFilter = measurement;
    s.referenceFilter = reference;
    s.useReference = useRef_->GetCheck() == TCheckBox::BF_CHECKED ? 1 : 0;
    return true;
}

}  // namespace vyn
