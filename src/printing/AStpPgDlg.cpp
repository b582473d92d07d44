#include "printing/AStpPgDlg.h"

#include <algorithm>
#include <cstdlib>

#include "controls/TypedNumberEntry.h"
#include "plate/Profile.h"
#include "platform/core/StringTable.h"
#include "platform/gui/ChooseFontDialog.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/Dc.h"
#include "platform/gui/MsgBox.h"
#include "platform/gui/Printer.h"
#include "platform/gui/ResBitmap.h"
#include "printing/TRwPreview.h"

namespace vyn {

int gPageSetupKind = 0;
int gPageSetupUnits = 0;

namespace {
constexpr int kFontSizeFormat = 23721;
constexpr int kErrorCaption = 23722;
constexpr int kDialogScreenDpi = 96;
constexpr int kMsgNoPrintableArea = 23723;
constexpr int kMarginEdits[4] = {AStpPgDlg::IDC_LEFT, AStpPgDlg::IDC_LEFT + 1, AStpPgDlg::IDC_LEFT + 2,
                                  AStpPgDlg::IDC_LEFT + 3};

int* MarginField(PageMargins& m, int i)
{
    switch (i) {
    case 0: return &m.left;
    case 1: return &m.top;
    case 2: return &m.right;
    default: return &m.bottom;
    }
}
}  // namespace

AStpPgDlg::AStpPgDlg(TWindow* parent, int kind, TPrinter* printer)
    : TDialog(parent, kResId), screenDpiY_(kDialogScreenDpi), printer_(printer)
{
    SetContextHelpId(3300);
    for (int k = 0; k < kPrintKindCount; ++k) {
        work_[k].margins = gPageMargins[k];
        work_[k].font = gPageFonts[k];
    }
    if (kind != -1) gPageSetupKind = kind;
    gPageSetupKind = std::clamp(gPageSetupKind, 0, kPrintKindCount - 1);
    gPageSetupUnits = gPageSetupUnits ? 1 : 0;

    for (int k = 0; k < kPrintKindCount; ++k) {
        new TRadioButton(this, IDC_KIND + k);
        // Each kind's picture, drawn from its bitmap; the template's word stays if there is none.
        (new TStatic(this, IDC_ICON + k))->SetPicture(LoadResBitmap(IDC_ICON + k));
    }
    new TRadioButton(this, IDC_UNIT_INCH);
    new TRadioButton(this, IDC_UNIT_MM);
    for (int id : kMarginEdits) new TEdit(this, id, 7);
    for (int k = 0; k < kPrintKindCount; ++k) {
        const int id = IDC_KIND + k;
        OnNotify(static_cast<unsigned>(id), BN_CLICKED, [this, k] { KindClicked(k); });
    }
    OnNotify(IDC_UNIT_INCH, BN_CLICKED, [this] { UnitClicked(0); });
    OnNotify(IDC_UNIT_MM, BN_CLICKED, [this] { UnitClicked(1); });
    OnCommand(IDC_FONT, &AStpPgDlg::CmFont);
    OnCommand(IDC_HASFONT, &AStpPgDlg::CmNoFont);
    OnCommand(IDC_APPLYALL, &AStpPgDlg::CmApplyAll);
}

bool AStpPgDlg::Checked(int id) const
{
    auto* b = dynamic_cast<TCheckBox*>(GetDlgItem(id));
    return b && b->GetCheck() == TCheckBox::BF_CHECKED;
}

void AStpPgDlg::Check(int id, bool on)
{
    if (auto* b = dynamic_cast<TCheckBox*>(GetDlgItem(id))) b->SetCheck(on ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
}

void AStpPgDlg::SetupWindow()
{
    TDialog::SetupWindow();
    const bool hasPrinter = printer_ != nullptr;
    if (TWindow* w = GetDlgItem(IDC_FONT)) w->EnableWindow(hasPrinter);
    if (TWindow* w = GetDlgItem(IDC_HASFONT)) w->EnableWindow(hasPrinter);
    units_ = gPageSetupUnits;
    Check(IDC_UNIT_INCH, units_ == 0);
    Check(IDC_UNIT_MM, units_ == 1);
    for (int m = 0; m < 3; ++m) Check(IDC_MODE + m, gGlobalMode == m);
    ShowKind(gPageSetupKind);
}

void AStpPgDlg::CleanupWindow()
{
    gPageSetupUnits = Checked(IDC_UNIT_MM) ? 1 : 0;
    TDialog::CleanupWindow();
}

void AStpPgDlg::WriteEdit(int id, int value) { SetDlgItemText(id, std::to_string(value)); }

bool AStpPgDlg::ReadMarginEdits(int (&values)[4])
{
    // Each margin is a whole number of the spin controls' range; an empty edit reads as 0.
    for (int i = 0; i < 4; ++i)
        if (!TakeWholeEdit(*this, kMarginEdits[i], WholeField{0, kMaxMargin, true}, values[i])) return false;
    return true;
}

bool AStpPgDlg::ReadMargins(int kind)
{
    int v[4];
    if (!ReadMarginEdits(v)) return false;
    for (int i = 0; i < 4; ++i) *MarginField(work_[kind].margins, i) = units_ == 1 ? MmToInch(v[i]) : v[i];
    return true;
}

void AStpPgDlg::ShowKind(int kind)
{
    const bool fonts = kind != pkReport;
    for (int id : {IDC_FONTSIZE, IDC_SAMPLE, IDC_FONT, IDC_HASFONT, IDC_APPLYALL})
        if (TWindow* w = GetDlgItem(id)) w->ShowWindow(fonts ? SW_SHOW : SW_HIDE);
    if (fonts) ShowFont(kind);
    for (int i = 0; i < 4; ++i) {
        int v = *MarginField(work_[kind].margins, i);
        if (units_ == 1) v = InchToMm(v);
        WriteEdit(kMarginEdits[i], v);
    }
    for (int k = 0; k < kPrintKindCount; ++k) {
        Check(IDC_KIND + k, k == kind);
        if (TWindow* w = GetDlgItem(IDC_ICON + k)) w->ShowWindow(k == kind ? SW_SHOW : SW_HIDE);
    }
}

void AStpPgDlg::ShowFont(int kind)
{
    const TLogFont& lf = work_[kind].font;
    TWindow* sample = GetDlgItem(IDC_SAMPLE);
    TWindow* check = GetDlgItem(IDC_HASFONT);
    if (lf.lfHeight == 0) {
        if (sample) {
            sample->SetWindowFont(GetDialogFont());
            sample->SetWindowText({});
        }
        SetDlgItemText(IDC_FONTSIZE, {});
        Check(IDC_HASFONT, false);
        if (check) check->ShowWindow(SW_HIDE);
        return;
    }
    TLogFont sampleFont = lf;
    sampleFont.lfHeight = -MulDiv(lf.lfHeight, screenDpiY_, 720);
    if (sample) {
        sample->SetWindowFont(TFont(sampleFont));
        sample->SetWindowText(lf.lfFaceName);
    }
    SetDlgItemText(IDC_FONTSIZE, FormatResString(kFontSizeFormat, std::to_string(lf.lfHeight / 10).c_str()));
    if (check) check->ShowWindow(SW_SHOW);
    Check(IDC_HASFONT, true);
}

void AStpPgDlg::KindClicked(int kind)
{
    if (kind == gPageSetupKind) return;
    if (!ReadMargins(gPageSetupKind)) {
        // The kind whose margin was refused stays shown.
        for (int k = 0; k < kPrintKindCount; ++k) Check(IDC_KIND + k, k == gPageSetupKind);
        return;
    }
    gPageSetupKind = kind;
    ShowKind(kind);
}

void AStpPgDlg::UnitClicked(int units)
{
    if (units == units_) return;
    int v[4];
    if (!ReadMarginEdits(v)) {
        Check(IDC_UNIT_INCH, units_ == 0);
        Check(IDC_UNIT_MM, units_ == 1);
        return;
    }
    for (int i = 0; i < 4; ++i) WriteEdit(kMarginEdits[i], units == 1 ? InchToMm(v[i]) : MmToInch(v[i]));
    units_ = units;
}

void AStpPgDlg::Step(TWindow* control, unsigned code)
{
    if (!control) return;
    const int spin = control->GetId();
    if (spin < IDC_SPIN || spin > IDC_SPIN + 3) return;
    int delta = 0;
    if (code == SB_LINEUP) delta = 1;
    else if (code == SB_LINEDOWN) delta = -1;
    else return;
    const int edit = IDC_LEFT + (spin - IDC_SPIN);
    // A text that is no whole number is not stepped: it stays for OK to refuse.
    int shown = 0;
    if (!ShownWhole(GetDlgItemText(edit), shown)) return;
    WriteEdit(edit, std::clamp(shown + delta, 0, kMaxMargin));
    if (auto* e = dynamic_cast<TEdit*>(GetDlgItem(edit))) {
        e->SetFocus();
        e->SetSelection(0, static_cast<int>(e->GetWindowText().size()));
    }
}

void AStpPgDlg::EvVScroll(unsigned code, unsigned, TWindow* control) { Step(control, code); }
void AStpPgDlg::EvHScroll(unsigned code, unsigned, TWindow* control) { Step(control, code); }

void AStpPgDlg::CmFont()
{
    if (!printer_) return;
    std::unique_ptr<TDC> dc = printer_->MakeInfoDC();
    if (!dc) {
        MessageBox(this, printer_->GetDevice(), GetResString(kErrorCaption), MB_OK | MB_ICONERROR);
        return;
    }
    const int kind = gPageSetupKind;
    TLogFont initial = work_[kind].font;
    initial.lfHeight = -MulDiv(initial.lfHeight, dc->GetDeviceCaps(LOGPIXELSY), 720);
    TChooseFontDialog dlg(this, initial, dc.get());
    if (dlg.Execute() != IDOK) return;
    TLogFont chosen = dlg.GetLogFont();
    chosen.lfHeight = dlg.GetPointSize();
    if (chosen.lfFaceName.size() > 31) chosen.lfFaceName.resize(31);
    work_[kind].font = chosen;
    ShowFont(kind);
}

void AStpPgDlg::CmNoFont()
{
    work_[gPageSetupKind].font = NoPageFont();
    ShowFont(gPageSetupKind);
    if (TWindow* w = GetDlgItem(IDC_FONT)) w->SetFocus();
}

void AStpPgDlg::CmApplyAll()
{
    const int kind = gPageSetupKind;
    if (!ReadMargins(kind)) return;
    for (int k = 0; k < kPrintKindCount; ++k)
        if (k != kind && k != pkReport) work_[k] = work_[kind];
}

void AStpPgDlg::CmOk()
{
    if (!ReadMargins(gPageSetupKind)) return;
    // Margins that leave nothing of the page to print on are refused on the kind they belong to.
    for (int k = 0; k < kPrintKindCount; ++k) {
        if (MarginsLeavePage(work_[k].margins)) continue;
        if (k != gPageSetupKind) {
            gPageSetupKind = k;
            ShowKind(k);
        }
        MessageBox(this, GetResStringStd(kMsgNoPrintableArea), GetWindowText(), MB_OK | MB_ICONEXCLAMATION);
        if (auto* e = dynamic_cast<TEdit*>(GetDlgItem(IDC_LEFT))) {
            e->SetFocus();
            e->SetSelection(0, 32767);
        }
        return;
    }
    for (int m = 0; m < 3; ++m)
        if (Checked(IDC_MODE + m)) gGlobalMode = m;
    for (int k = 0; k < kPrintKindCount; ++k) {
        gPageMargins[k] = work_[k].margins;
        gPageFonts[k] = work_[k].font;
    }
    TDialog::CmOk();
}

int RunPageSetup(TWindow* parent, int kind, TPrinter* printer)
{
    if (!printer) printer = GetPreviewPrinter();
    AStpPgDlg dlg(parent, kind, printer);
    const int r = dlg.Execute();
    if (r == IDOK && !SavePrintSettings(kProfileName))
        MessageBox(parent, SettingsNotKeptText(), GetResStringStd(kMsgSettingsCaption), MB_OK | MB_ICONEXCLAMATION);
    return r;
}

}  // namespace vyn
