#include "reader_dialogs/ReaderOptionsDlgs.h"

#include <algorithm>

#include "controls/TypedNumberEntry.h"
#include "platform/core/StringTable.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/ControlList.h"
#include "platform/gui/ControlScrollBar.h"
#include "platform/gui/MsgBox.h"
#include "readers/QFotoMul.h"
#include "readers/QFotoOstrel.h"
#include "readers/QFotoSlt.h"
#include "readers/ReaderStrings.h"
#include "reader_dialogs/ReaderUiIds.h"
#include "reader_dialogs/ReaderUiText.h"

namespace vyn {

namespace {
enum : int { idSwitch = 101, idTime = 102, idSpin = 103, idFirst = 104, idSecond = 105 };
// The labels beside the shaking controls.
constexpr int kLabels[] = {201, 202, 203};
constexpr int kMaxShake = 255;
constexpr int kMaxMulShake = 99;

bool IsChecked(const TDialog& d, int id)
{
    auto* b = dynamic_cast<TCheckBox*>(d.GetDlgItem(id));
    return b && b->GetCheck() == TCheckBox::BF_CHECKED;
}

void FillNames(TDialog& d, int id, int firstName, int count, int selected)
{
    auto* list = static_cast<TComboBox*>(d.GetDlgItem(id));
    for (int i = 0; i < count; ++i) list->AddString(GetResStringStd(firstName + i));
    list->SetSelIndex(std::clamp(selected, 0, count - 1));
}
}  // namespace

// ---- shaking dialogs ---------------------------------------------------------------------------

QShakeOptDlg::QShakeOptDlg(TWindow* parent, int resId, std::string& options) : TDialog(parent, resId), options_(options)
{
    SetContextHelpId(3315);
    new TCheckBox(this, idSwitch);
    new TEdit(this, idTime, 4);
    new TScrollBar(this, idSpin);
    new TComboBox(this, idFirst);
    new TComboBox(this, idSecond);
    OnCommand(idSwitch, [this] { CmSwitch(); });
}

bool QShakeOptDlg::On() const { return IsChecked(*this, idSwitch); }

bool QShakeOptDlg::Time(int& seconds) const { return ShownWhole(GetDlgItemText(idTime), seconds); }

void QShakeOptDlg::SetupWindow()
{
    TDialog::SetupWindow();
    int time = 0, first = 0, second = 0;
    Load(time, first, second);
    FillNames(*this, idFirst, FirstNames(), FirstCount(), first);
    FillNames(*this, idSecond, SecondNames(), SecondCount(), second);
    static_cast<TCheckBox*>(GetDlgItem(idSwitch))->SetCheck(time ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
    SetDlgItemText(idTime, time ? std::to_string(time) : std::string());
    UpdateEnabling();
}

void QShakeOptDlg::UpdateEnabling()
{
    const bool on = On();
    for (int id : {idTime, idSpin, idFirst, idSecond}) GetDlgItem(id)->EnableWindow(on);
    for (int id : kLabels)
        if (TWindow* w = GetDlgItem(id)) w->EnableWindow(on);
}

void QShakeOptDlg::CmSwitch()
{
    GetDlgItem(idSwitch)->SetFocus();
    UpdateEnabling();
    // Switched on, an empty time (or 0) becomes a second; a text that is no whole number stays
    // for OK to refuse.
    int time = 0;
    if (On() && Time(time)) SetDlgItemText(idTime, std::to_string(std::clamp(time, 1, kMaxShake)));
}

void QShakeOptDlg::EvVScroll(unsigned code, unsigned pos, TWindow* control)
{
    if (!control || control->GetId() != idSpin) {
        TDialog::EvVScroll(code, pos, control);
        return;
    }
    // A text that is no whole number is not stepped: it stays for OK to refuse.
    int t = 0;
    if (!Time(t)) return;
    if (code == SB_LINEUP) ++t;
    else if (code == SB_LINEDOWN) --t;
    else return;
    SetDlgItemText(idTime, std::to_string(std::clamp(t, 1, kMaxShake)));
}

void QShakeOptDlg::CmOk()
{
    // Seconds of shaking, a whole number; an empty edit (as the dialog shows no shaking) is 0.
    int time = 0;
    if (On() && !TakeWholeEdit(*this, idTime, WholeField{0, kMaxShake, true}, time)) return;
    const int first = std::clamp(static_cast<TComboBox*>(GetDlgItem(idFirst))->GetSelIndex(), 0, FirstCount() - 1);
    const int second = std::clamp(static_cast<TComboBox*>(GetDlgItem(idSecond))->GetSelIndex(), 0, SecondCount() - 1);
    options_ = Store(time, first, second);
    CloseWindow(IDOK);
}

QSlOptDlg::QSlOptDlg(TWindow* parent, std::string& options) : QShakeOptDlg(parent, idDlgSltOptions, options) {}

void QSlOptDlg::Load(int& time, int& first, int& second) const
{
    const SltOptions o = SltOptions::Parse(options_);
    time = o.time;
    first = o.where;
    second = o.how;
}

std::string QSlOptDlg::Store(int time, int first, int second) const { return SltOptions{time, first, second}.Format(); }
int QSlOptDlg::FirstNames() const { return idsSltWhere0; }
int QSlOptDlg::SecondNames() const { return idsSltHow0; }

QOsOptDlg::QOsOptDlg(TWindow* parent, std::string& options) : QShakeOptDlg(parent, idDlgOstrelOptions, options)
{
    SetContextHelpId(3317);
}

void QOsOptDlg::Load(int& time, int& first, int& second) const
{
    const OstrelOptions o = OstrelOptions::Parse(options_);
    time = o.time;
    first = o.speed;
    second = o.step;
}

std::string QOsOptDlg::Store(int time, int first, int second) const { return OstrelOptions{time, first, second}.Format(); }
int QOsOptDlg::FirstNames() const { return idsOsSpeed0; }
int QOsOptDlg::SecondNames() const { return idsOsStep0; }

// ---- Multiscan ---------------------------------------------------------------------------------

namespace {
enum : int { idMulTime = 101, idMulMode = 102, idMulStep = 103 };
}

QMulOptDlg::QMulOptDlg(TWindow* parent, std::string& options) : TDialog(parent, idDlgMulOptions), options_(options)
{
    SetContextHelpId(3316);
    new TEdit(this, idMulTime, 3);
    new TComboBox(this, idMulMode);
    new TCheckBox(this, idMulStep);
}

void QMulOptDlg::SetupWindow()
{
    TDialog::SetupWindow();
    const MulOptions o = MulOptions::Parse(options_);
    SetDlgItemText(idMulTime, o.time ? std::to_string(o.time) : std::string());
    FillNames(*this, idMulMode, idsSltHow0, 3, o.mode);  // "heavy", "normal", "light"
    static_cast<TCheckBox*>(GetDlgItem(idMulStep))->SetCheck(o.stepWise ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
}

void QMulOptDlg::CmOk()
{
    MulOptions o;
    // Seconds of shaking, a whole number; an empty edit (as the dialog shows no shaking) is 0.
    if (!TakeWholeEdit(*this, idMulTime, WholeField{0, kMaxMulShake, true}, o.time)) return;
    o.mode = std::clamp(static_cast<TComboBox*>(GetDlgItem(idMulMode))->GetSelIndex(), 0, 2);
    o.stepWise = IsChecked(*this, idMulStep);
    options_ = o.Format();
    CloseWindow(IDOK);
}

// ---- the drivers' hook -------------------------------------------------------------------------

int RunReaderOptionsDialog(ReaderOptionsKind kind, TWindow* parent, std::string& options)
{
    switch (kind) {
    case ReaderOptionsKind::Slt: return QSlOptDlg(parent, options).Execute() == IDOK ? 1 : 0;
    case ReaderOptionsKind::Ostrel: return QOsOptDlg(parent, options).Execute() == IDOK ? 1 : 0;
    case ReaderOptionsKind::Mul: return QMulOptDlg(parent, options).Execute() == IDOK ? 1 : 0;
    case ReaderOptionsKind::Demo:
    default:
        MessageBox(parent, GetResStringStd(idsSimOptionsText), GetResStringStd(idsSimOptionsCaption), MB_OK);
        return 0;
    }
}

void InstallReaderOptionsDialogs() { SetReaderOptionsDialog(&RunReaderOptionsDialog); }

}  // namespace vyn
