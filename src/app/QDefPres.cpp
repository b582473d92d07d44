#include "app/QDefPres.h"

#include <algorithm>

#include "controls/TypedNumberEntry.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Fonts.h"
#include "views/FieldText.h"
#include "views/ViewBitmaps.h"

namespace vyn {

namespace {

constexpr double kMinusPi = -3.141592653589793;
constexpr WholeField kPresFormatField{0, 15};
constexpr WholeField kPresWidthField{10, 240};

}  // namespace

int QDefPres::setupCount_ = 0;

QDefPres::QDefPres(TWindow* parent, int resId)
    : TDialog(parent, resId),
      mode_{new TRadioButton(this, 101), new TRadioButton(this, 102), new TRadioButton(this, 103)},
      decimals_(new TEdit(this, 104, 3)),
      digits_(new TEdit(this, 107, 3)),
      width_(new TEdit(this, 110, 4)),
      units_(new TEdit(this, 113, 64)),
      sample_(new TStatic(this, 109, 64)),
      mark_(new TStatic(this, 121))
{
    for (unsigned id : {101u, 102u, 103u}) OnCommand(id, [this] { ModeClicked(); });
    OnNotify(104, EN_CHANGE, [this] { if (setupCount_ <= 0) Refresh(); });
    OnNotify(107, EN_CHANGE, [this] { if (setupCount_ <= 0) Refresh(); });
    OnNotify(110, EN_CHANGE, [this] { if (setupCount_ <= 0) ApplyFieldWidth(); });
}

void QDefPres::SetupWindow()
{
    TDialog::SetupWindow();
    SetContextHelpId(ResultsMode ? 3151 : 3150);
    {
        // The sample shows digits: their width converts dialog units of the field to pixels.
        TBitmap scratch(8, 8);
        TMemoryDC dc(scratch);
        dc.SelectObject(GetDialogFont());
        CharWidth = std::max(1, dc.GetTextExtent("0").cx);
    }
    ++setupCount_;
    shown_ = Format;
    const int mode = std::clamp(Format.mode, 0, 2);
    for (int i = 0; i < 3; ++i) mode_[i]->SetCheck(i == mode ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
    decimals_->SetWindowText(std::to_string(Format.decimals));
    digits_->SetWindowText(std::to_string(Format.digits));
    width_->SetWindowText(std::to_string(FieldWidth));
    units_->SetWindowText(Units);
    if (!ResultsMode) {
        units_->ShowWindow(SW_HIDE);
        if (TWindow* l = GetDlgItem(112)) l->ShowWindow(SW_HIDE);
    } else {
        std::string caption = GetDlgItemText(114);
        if (caption.size() > 128) caption.resize(128);
        SetWindowText(caption);
        units_->ShowWindow(SW_SHOW);
        if (TWindow* l = GetDlgItem(112)) l->ShowWindow(SW_SHOW);
    }
    ApplyFieldWidth();
    Refresh();
    --setupCount_;
}

int QDefPres::CheckedMode() const
{
    for (int i = 0; i < 3; ++i)
        if (mode_[i]->GetCheck() == TCheckBox::BF_CHECKED) return i;
    return nmGeneral;
}

void QDefPres::ModeClicked()
{
    if (CheckedMode() == shown_.mode) return;
    Refresh();
}

void QDefPres::Refresh()
{
    shown_.SetMode(CheckedMode());
    // A text that is no whole number of the field's range leaves the sample's format as it was:
    // OK refuses it, or keeps the decimals when "General" hides them.
    int count = 0;
    if (ReadTypedWhole(decimals_->GetWindowText().c_str(), kPresFormatField.low, kPresFormatField.high, count) == tnNumber)
        shown_.SetDecimals(count);
    if (ReadTypedWhole(digits_->GetWindowText().c_str(), kPresFormatField.low, kPresFormatField.high, count) == tnNumber)
        shown_.SetDigits(count);
    ShowSample();
    const int show = shown_.mode == nmGeneral ? SW_HIDE : SW_SHOW;
    for (int id : {104, 105, 106})
        if (TWindow* w = GetDlgItem(id)) w->ShowWindow(show);
}

void QDefPres::ApplyFieldWidth()
{
    int width = 0;
    if (ReadTypedWhole(width_->GetWindowText().c_str(), kPresWidthField.low, kPresWidthField.high, width) == tnNumber)
        FieldWidth = width;
    TWindow* frame = GetDlgItem(120);
    if (!frame || !sample_->IsWindow()) return;
    const TRect fr = ChildRectInClient(*frame);
    if (!fieldSet_) field_ = ChildRectInClient(*sample_);
    fieldSet_ = true;
    int w = FieldWidth * CharWidth / 4;
    if (fr.Width() < 2 * CharWidth + w) w = fr.Width() - 2 * CharWidth;
    field_.right = fr.right - CharWidth;
    field_.left = field_.right - w;
    ShowSample();
}

// -pi in the format, in the field: whole, or its first characters and the plate view's
// overflow mark, as a value that wide shows in the plate view; never its tail without its sign.
void QDefPres::ShowSample()
{
    const std::string text = FormatDouble(kMinusPi, shown_);
    if (!fieldSet_ || !sample_->IsWindow()) {
        sample_->SetText(text);
        return;
    }
    TBitmap scratch(8, 8);
    TMemoryDC dc(scratch);
    dc.SelectObject(GetDialogFont());
    const int markW = std::max(1, dc.GetTextExtent("M").cx / 2);
    const TFieldText f = FitToField(dc, text, field_.Width(), markW);
    const int textW = f.overflows ? field_.Width() - markW : field_.Width();
    sample_->MoveWindow(field_.left, field_.top, std::max(0, textW), field_.Height(), true);
    sample_->SetText(f.shown);
    if (f.overflows) {
        const int h = std::min(field_.Height(), dc.GetTextExtent("0").cy);
        mark_->SetPicture(ViewBitmaps::OverflowMark(markW, h));
        mark_->MoveWindow(field_.right - markW, field_.top, markW, h, true);
    }
    mark_->ShowWindow(f.overflows ? SW_SHOW : SW_HIDE);
}

void QDefPres::Spin(TEdit& edit, unsigned code, int minValue, int maxValue)
{
    if (code != SB_LINEUP && code != SB_LINEDOWN) return;
    // A text that is no whole number is not stepped: it stays for OK to refuse.
    int shown = 0;
    if (!ShownWhole(edit.GetWindowText(), shown)) return;
    const int v = std::clamp(shown + (code == SB_LINEUP ? 1 : -1), minValue, maxValue);
    edit.SetWindowText(std::to_string(v));
    edit.SetFocus();
    edit.SetSelection(0, 32767);
}

void QDefPres::EvVScroll(unsigned code, unsigned pos, TWindow* control)
{
    const int id = control ? control->GetId() : 0;
    if (id == 106) Spin(*decimals_, code, kPresFormatField.low, kPresFormatField.high);
    else if (id == 108) Spin(*digits_, code, kPresFormatField.low, kPresFormatField.high);
    else if (id == 111) Spin(*width_, code, kPresWidthField.low, kPresWidthField.high);
    else TDialog::EvVScroll(code, pos, control);
}

void QDefPres::CmOk()
{
    // The sample follows the fields as they are typed; what is kept must be what they say. Hidden
    // decimals keep the value the dialog opened with.
    int decimals = Format.decimals, digits = 0, width = 0;
    if (decimals_->IsWindowVisible() && !TakeWholeEdit(*this, 104, kPresFormatField, decimals)) return;
    if (!TakeWholeEdit(*this, 107, kPresFormatField, digits)) return;
    if (!TakeWholeEdit(*this, 110, kPresWidthField, width)) return;
    Format.SetMode(CheckedMode());
    Format.SetDecimals(decimals);
    Format.SetDigits(digits);
    FieldWidth = width;
    Units = units_->GetWindowText();
    if (Units.size() > 64) Units.resize(64);
    CloseWindow(IDOK);
}

}  // namespace vyn
