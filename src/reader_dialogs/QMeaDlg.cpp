#include "reader_dialogs/QMeaDlg.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "controls/TypedNumberEntry.h"
#include "plate/FilterTable.h"
#include "platform/core/StringTable.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlList.h"
#include "platform/gui/MsgBox.h"
#include "readers/QFoto.h"
#include "readers/ReaderStrings.h"
#include "reader_dialogs/QMessageLine.h"
#include "reader_dialogs/ReaderRunner.h"
#include "reader_dialogs/ReaderUiIds.h"
#include "reader_dialogs/ReaderUiText.h"

namespace vyn {

namespace {
enum : int {
    idPrimary = 102,
    idUseRef = 103,
    idReference = 104,
    idOptions = 105,
    idMessage = 106,
    idIn = 108,
    idOut = 109,
    idSubtract = 110,
    idAuto = 111,
};
constexpr std::size_t kCaptionMax = 127;
constexpr int kTextBuffer = 128;
}  // namespace

QMeaDlg::QMeaDlg(TWindow* parent, QFoto* driver) : TDialog(parent, idDlgMeasure), driver_(driver)
{
    SetContextHelpId(3310);
    new TComboBox(this, idPrimary);
    new TCheckBox(this, idUseRef);
    new TComboBox(this, idReference);
    new TButton(this, idOptions);
    new TButton(this, idIn);
    new TButton(this, idOut);
    new TCheckBox(this, idSubtract);
    new TCheckBox(this, idAuto);
    OnCommand(IDOK, [this] { CmStart(); });
    OnCommand(idOptions, [this] { CmOptions(); });
    OnCommand(idIn, [this] { CmMove(false); });
    OnCommand(idOut, [this] { CmMove(true); });
    OnCommand(idUseRef, [this] { CmReference(); });
    OnCommand(idSubtract, [this] {
        subtract = static_cast<TCheckBox*>(GetDlgItem(idSubtract))->GetCheck() == TCheckBox::BF_CHECKED;
    });
    OnCommand(idAuto, [this] {
        autoProcess = static_cast<TCheckBox*>(GetDlgItem(idAuto))->GetCheck() == TCheckBox::BF_CHECKED;
    });
}

QFoto& QMeaDlg::Driver() const { return driver_ ? *driver_ : *gReader; }

std::string QMeaDlg::MessageText() const { return line_ ? line_->GetText() : std::string(); }

void QMeaDlg::ShowMessage(const std::string& text)
{
    if (line_) line_->SetText(text);
}

void QMeaDlg::SetupWindow()
{
    TDialog::SetupWindow();
    if (!line_) line_ = new QMessageLine(*this, idMessage, TColor(255, 0, 0));
    const std::string caption = GetTemplate() && GetTemplate()->caption ? GetTemplate()->caption : "";
    SetCaption(CutUtf8(caption + gReaderName, kCaptionMax));

    QFoto& driver = Driver();
    if (driver.HasOptions())
        ShowOptions();
    else
        GetDlgItem(idOptions)->ShowWindow(SW_HIDE);
    const bool canMove = driver.CanMovePlate();
    GetDlgItem(idIn)->ShowWindow(canMove ? SW_SHOW : SW_HIDE);
    GetDlgItem(idOut)->ShowWindow(canMove ? SW_SHOW : SW_HIDE);

    // The lists are sorted; "%3d" texts of wavelengths up to 999 sort as their numbers do.
    std::vector<std::string> filters;
    for (int i = 0; i < GetFilterCount(); ++i)
        if (GetFilter(i) > 0) filters.push_back(FormatFilter(GetFilter(i)));
    std::sort(filters.begin(), filters.end());
    auto* primary = static_cast<TComboBox*>(GetDlgItem(idPrimary));
    auto* reference = static_cast<TComboBox*>(GetDlgItem(idReference));
    for (const auto& f : filters) {
        primary->AddString(f);
        reference->AddString(f);
    }
    if (wavelength > 0) primary->SetWindowText(FormatFilter(wavelength));
    if (refWavelength > 0) reference->SetWindowText(FormatFilter(refWavelength));

    static_cast<TCheckBox*>(GetDlgItem(idUseRef))->SetCheck(useReference ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
    static_cast<TCheckBox*>(GetDlgItem(idSubtract))->SetCheck(subtract ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
    static_cast<TCheckBox*>(GetDlgItem(idAuto))->SetCheck(autoProcess ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
    GetDlgItem(idSubtract)->EnableWindow(hasValues);
    GetDlgItem(idAuto)->EnableWindow(mayAutoProcess);
    ShowMessage({});
    reference->ShowWindow(useReference ? SW_SHOW : SW_HIDE);
}

void QMeaDlg::ShowOptions()
{
    char buffer[kTextBuffer];
    Driver().GetOptionsText(buffer, kTextBuffer, options);
    GetDlgItem(idOptions)->SetWindowText(ButtonText(buffer));
}

void QMeaDlg::CmStart()
{
    ShowMessage({});
    // An empty box reads as no filter, which the check below tells as a wrong filter.
    int primary = 0, reference = refWavelength;
    if (!TakeWholeEdit(*this, idPrimary, kFilterBoxField, primary) ||
        !TakeWholeEdit(*this, idReference, kFilterBoxField, reference))
        return;
    wavelength = primary;
    refWavelength = reference;
    useReference = static_cast<TCheckBox*>(GetDlgItem(idUseRef))->GetCheck() == TCheckBox::BF_CHECKED ? 1 : 0;
    if (wavelength == 0 || (useReference && refWavelength == 0)) {
        ShowMessage(GetResStringStd(idsWrongFilter));
        GetDlgItem(wavelength == 0 ? idPrimary : idReference)->SetFocus();
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    if (RunMeasure(Driver(), this, values, rows, cols, wavelength, refWavelength, useReference, options) == 0) {
        CloseWindow(IDOK);
        return;
    }
    char buffer[kTextBuffer];
    ShowMessage(QFoto::GetErrorText(buffer, kTextBuffer));
    MessageBeep(MB_ICONEXCLAMATION);
}

void QMeaDlg::CmOptions()
{
    Driver().OptionsDialog(this, options);
    ShowOptions();
}

void QMeaDlg::CmMove(bool out)
{
    ShowMessage({});
    if (RunMovePlate(Driver(), this, out, false) == 0) {
        ShowMessage(GetResStringStd(idsSuccess));
        return;
    }
    char buffer[kTextBuffer];
    ShowMessage(QFoto::GetErrorText(buffer, kTextBuffer));
    MessageBeep(MB_ICONEXCLAMATION);
}

void QMeaDlg::CmReference()
{
    const bool on = static_cast<TCheckBox*>(GetDlgItem(idUseRef))->GetCheck() == TCheckBox::BF_CHECKED;
    GetDlgItem(idReference)->ShowWindow(on ? SW_SHOW : SW_HIDE);
}

}  // namespace vyn
