#include "report_designer/AttrDialogs.h"

#include <charconv>

#include "controls/EditTextLimit.h"
#include "controls/TypedNumberEntry.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/MsgBox.h"
#include "report_designer/AttrGlobals.h"
#include "report_designer/AttrValues.h"

namespace vyn {

namespace {

bool Checked(const TDialog& d, int id)
{
    auto* b = dynamic_cast<TCheckBox*>(d.GetDlgItem(id));
    return b && b->GetCheck() == TCheckBox::BF_CHECKED;
}

void SetChecked(TDialog& d, int id, bool on)
{
    if (auto* b = dynamic_cast<TCheckBox*>(d.GetDlgItem(id))) b->SetCheck(on ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
}

void ShowItem(TDialog& d, int id, bool show)
{
    if (TWindow* w = d.GetDlgItem(id)) w->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

int FirstChecked(const TDialog& d, int firstId, int count)
{
    for (int k = 0; k < count; ++k)
        if (Checked(d, firstId + k)) return k;
    return -1;
}

std::string DoubleText(double v)
{
    if (v == NoValue) return std::string();
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 12);
    return std::string(buf, r.ptr);
}

}  // namespace

// --- number format ---

QRFmtDlg::QRFmtDlg(TWindow* parent) : TDialog(parent, idQRFmtDlg)
{
    SetContextHelpId(3330);
}

void QRFmtDlg::SetupWindow()
{
    TDialog::SetupWindow();
    SetDlgItemText(105, std::to_string(format.decimals));
    SetDlgItemText(106, std::to_string(format.digits));
    for (int k = 0; k < 3; ++k) SetChecked(*this, 101 + k, format.kind == k);
    ShowDecimals();
}

void QRFmtDlg::ShowDecimals()
{
    const bool show = Checked(*this, 102) || Checked(*this, 103);
    ShowItem(*this, 104, show);
    ShowItem(*this, 105, show);
}

TResult QRFmtDlg::EvCommand(unsigned id, TWindow* control, unsigned code)
{
    if (id >= 101 && id <= 103 && code == BN_CLICKED) {
        if (TWindow* w = GetDlgItem(static_cast<int>(id))) w->SetFocus();
        ShowDecimals();
        return 0;
    }
    if ((id == 105 || id == 106) && (code == EN_SETFOCUS || code == EN_KILLFOCUS)) {
        ShowItem(*this, id == 105 ? 205 : 206, code == EN_SETFOCUS);
        return 0;
    }
    return TDialog::EvCommand(id, control, code);
}

void QRFmtDlg::CmOk()
{
    // Decimals hidden under "General" count for nothing; the user could not mend them.
    constexpr WholeField kFormatField{0, 15};
    int decimals = format.decimals, digits = 0;
    const bool hasDecimals = Checked(*this, 102) || Checked(*this, 103);
    if (hasDecimals && !TakeWholeEdit(*this, 105, kFormatField, decimals)) return;
    if (!TakeWholeEdit(*this, 106, kFormatField, digits)) return;
    format.Set(FirstChecked(*this, 101, 3), decimals, digits);
    TDialog::CmOk();
}

// --- axis scaling ---

namespace {
// Sub-ticks between two ticks; an empty edit is none.
constexpr WholeField kSubticks{0, 128, true};
// The High, Low and Increment edits, each read from its first 63 characters; an empty one is
// a value not given.
constexpr int kRealEdits[] = {105, 106, 107};
constexpr std::size_t kRealChars = 63;

double& SpecValue(RPAxisSpec& spec, int edit)
{
    return edit == 105 ? spec.high : edit == 106 ? spec.low : spec.increment;
}
}  // namespace

QRAxisDlg::QRAxisDlg(TWindow* parent) : TDialog(parent, idQRAxisDlg)
{
    SetContextHelpId(3331);
}

void QRAxisDlg::SetupWindow()
{
    TDialog::SetupWindow();
    ShowItem(*this, 201, axisIndex == 0);
    ShowItem(*this, 202, axisIndex != 0);
    WriteControls();
}

void QRAxisDlg::WriteControls()
{
    SetChecked(*this, 103, spec.kind == 0);
    SetChecked(*this, 104, spec.kind == 1);
    SetChecked(*this, 101, spec.scale == 0);
    SetChecked(*this, 102, spec.scale == 1);
    const bool fixed = Checked(*this, 104);
    const bool log = Checked(*this, 102);
    const bool shown[] = {fixed, fixed, fixed && !log};
    // A text that is no number stays as typed in a shown edit, for OK to refuse and the user to
    // mend; a hidden edit cannot be mended where it stands and shows the value kept.
    for (int k = 0; k < 3; ++k) {
        const int id = kRealEdits[k];
        double typed = 0;
        if (!shown[k] || ReadNumberField(LimitChars(GetDlgItemText(id), kRealChars), typed) != tnNotANumber)
            SetDlgItemText(id, DoubleText(SpecValue(spec, id)));
    }
    int typed = 0;
    if (!(fixed && !log) || ReadTypedWhole(GetDlgItemText(108).c_str(), kSubticks.low, kSubticks.high, typed) != tnNotANumber)
        SetDlgItemText(108, std::to_string(spec.subticks));
    for (int k = 0; k < 3; ++k) ShowItem(*this, kRealEdits[k], shown[k]);
    ShowItem(*this, 108, fixed && !log);
    ShowItem(*this, 203, spec.RangeError() != 0);
}

void QRAxisDlg::ReadControls()
{
    int subticks = spec.subticks;
    if (ReadTypedWhole(GetDlgItemText(108).c_str(), kSubticks.low, kSubticks.high, subticks) == tnMissing) subticks = 0;
    // A text that is no number leaves the value as it was.
    double values[3];
    for (int k = 0; k < 3; ++k) {
        values[k] = SpecValue(spec, kRealEdits[k]);
        ReadNumberField(LimitChars(GetDlgItemText(kRealEdits[k]), kRealChars), values[k]);
    }
    // A range neither automatic nor fixed counts as automatic.
    spec.Set(Checked(*this, 104) ? 1 : 0, Checked(*this, 102) ? 1 : 0, subticks, values[1], values[0], values[2]);
}

TResult QRAxisDlg::EvCommand(unsigned id, TWindow* control, unsigned code)
{
    if (id >= 101 && id <= 104 && code == BN_CLICKED) {
        if (TWindow* w = GetDlgItem(static_cast<int>(id))) w->SetFocus();
        ReadControls();
        WriteControls();
        return 0;
    }
    if (id >= 105 && id <= 108 && code == EN_KILLFOCUS) {
        ReadControls();
        WriteControls();
        return 0;
    }
    return TDialog::EvCommand(id, control, code);
}

void QRAxisDlg::CmOk()
{
    for (int id : kRealEdits) {
        double value = 0;
        if (GetDlgItem(id)->IsWindowVisible() && !TakeNumberEdit(*this, id, kRealChars, value)) return;
    }
    int subticks = 0;
    if (!TakeWholeEdit(*this, 108, kSubticks, subticks)) return;
    ReadControls();
    WriteControls();
    if (spec.RangeError() == 0) {
        TDialog::CmOk();
        return;
    }
    MessageBeep(0);
}

// --- evaluation context ---

QRSrcDlg::QRSrcDlg(TWindow* parent) : TDialog(parent, idQRSrcDlg)
{
    SetContextHelpId(3332);
}

void QRSrcDlg::SetupWindow()
{
    TDialog::SetupWindow();
    SetDlgItemText(105, cellText);
    SetDlgItemText(106, sampleText);
    for (int k = 0; k < 4; ++k) SetChecked(*this, 101 + k, kind == k);
    ShowFields();
    if (kind >= 0 && kind <= 3)
        if (TWindow* w = GetDlgItem(101 + kind)) w->SetFocus();
}

void QRSrcDlg::ShowFields()
{
    const bool cell = Checked(*this, 102), sample = Checked(*this, 103);
    ShowItem(*this, 501, cell);
    ShowItem(*this, 105, cell);
    ShowItem(*this, 502, sample);
    ShowItem(*this, 106, sample);
    ShowItem(*this, 107, sample);
}

TResult QRSrcDlg::EvCommand(unsigned id, TWindow* control, unsigned code)
{
    if (id >= 101 && id <= 104 && code == BN_CLICKED) {
        ShowFields();
        return 0;
    }
    if (id == 107) return 0;
    return TDialog::EvCommand(id, control, code);
}

void QRSrcDlg::CmOk()
{
    kind = FirstChecked(*this, 101, 4);
    cellText = GetDlgItemText(105).substr(0, 47);
    sampleText = GetDlgItemText(106).substr(0, 47);
    TDialog::CmOk();
}

// --- long text ---

QREdZDlg::QREdZDlg(TWindow* parent) : TDialog(parent, idQREdZDlg)
{
    SetContextHelpId(3333);
}

void QREdZDlg::SetupWindow()
{
    TDialog::SetupWindow();
    if (QRAttrGlobals::gAttrFont) {
        if (TWindow* w = GetDlgItem(103)) w->SetWindowFont(*QRAttrGlobals::gAttrFont, true);
        if (TWindow* w = GetDlgItem(101)) w->SetWindowFont(*QRAttrGlobals::gAttrFont, true);
    }
    SetDlgItemText(101, text);
}

TResult QREdZDlg::EvCommand(unsigned id, TWindow* control, unsigned code)
{
    if (id == 102 && code == BN_CLICKED) {
        FSeleDlg(this).Execute();
        return 0;
    }
    return TDialog::EvCommand(id, control, code);
}

void QREdZDlg::CmOk()
{
    // The value is one line: line breaks and other control characters become blanks.
    text = GetDlgItemText(101);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    TDialog::CmOk();
}

}  // namespace vyn
