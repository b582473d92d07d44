#include "method_editors/NumFormatDlg.h"

#include <algorithm>

#include "controls/TypedNumberEntry.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"

namespace vyn {

namespace {
constexpr WholeField kFmtDlgField{0, 15};
// Scroll bar -> the edit it steps.
int BoundEdit(int scrollId) { return scrollId - 200; }
}  // namespace

MyFormatDlg::MyFormatDlg(TWindow* parent, QWizzFormat& format) : TDialog(parent, kResId), format_(format)
{
    SetContextHelpId(3323);
    for (int id = 101; id <= 103; ++id) {
        new TRadioButton(this, id);
        OnCommand(static_cast<unsigned>(id), [this] {
            ShowDecimals(ModeFromRadios());
            DrawExample();
        });
    }
    for (int id = 105; id <= 107; ++id) {
        new TEdit(this, id);
        OnNotify(static_cast<unsigned>(id), EN_CHANGE, [this] { DrawExample(); });
    }
}

int MyFormatDlg::ShownInt(int id, int kept) const
{
    int value = kept;
    ShownWhole(GetDlgItemText(id), value);
    return value;
}

int MyFormatDlg::ModeFromRadios() const
{
    auto checked = [this](int id) {
        auto* b = dynamic_cast<TCheckBox*>(GetDlgItem(id));
        return b && b->GetCheck() == TCheckBox::BF_CHECKED;
    };
    return checked(103) ? nmFixed : checked(102) ? nmScientific : nmGeneral;
}

void MyFormatDlg::SetupWindow()
{
    TDialog::SetupWindow();
    const int mode = std::clamp(format_.format.mode, 0, 2);
    dynamic_cast<TCheckBox&>(*GetDlgItem(101 + mode)).Check();
    SetDlgItemText(105, std::to_string(format_.format.decimals));
    SetDlgItemText(106, std::to_string(format_.format.digits));
    SetDlgItemText(107, std::to_string(format_.width));
    ShowDecimals(mode);
    DrawExample();
}

void MyFormatDlg::ShowDecimals(int mode)
{
    const int show = mode == nmGeneral ? SW_HIDE : SW_SHOW;
    // The decimals' spin arrows go with their field: alone they would step a number nobody sees.
    for (int id : {104, 105, 305})
        if (TWindow* w = GetDlgItem(id)) w->ShowWindow(show);
}

std::string MyFormatDlg::ExampleText() const
{
    // A field whose text is no whole number shows its value as it was.
    const int width = std::min(ShownInt(107, format_.width), kMaxWidth);
    std::string text = FormatDouble(3.14, ModeFromRadios(), ShownInt(105, format_.format.decimals),
                                    ShownInt(106, format_.format.digits), 0);
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return "|" + text + "|";
}

void MyFormatDlg::DrawExample()
{
    if (GetDlgItem(206)) SetDlgItemText(206, ExampleText());
}

void MyFormatDlg::EvVScroll(unsigned code, unsigned, TWindow* control)
{
    if (!control) return;
    const int edit = BoundEdit(control->GetId());
    if (edit < 105 || edit > 107) return;
    // A text that is no whole number is not stepped: it stays for OK to refuse.
    int v = 0;
    if (!ShownWhole(GetDlgItemText(edit), v)) return;
    if (code == SB_LINEUP) ++v;
    else if (code == SB_LINEDOWN) v = std::max(0, v) == 0 ? 0 : v - 1;
    else return;
    SetDlgItemText(edit, std::to_string(v));
}

void MyFormatDlg::CmOk()
{
    // The example follows the fields as typed; what is kept must be what they say.
    int decimals = format_.format.decimals, digits = 0, width = 0;
    const bool decimalsShown = GetDlgItem(105) && GetDlgItem(105)->IsWindowVisible();
    if (decimalsShown && !TakeWholeEdit(*this, 105, kFmtDlgField, decimals)) return;
    if (!TakeWholeEdit(*this, 106, kFmtDlgField, digits)) return;
    if (!TakeWholeEdit(*this, 107, WholeField{0, kMaxWidth}, width)) return;
    format_.format.SetMode(ModeFromRadios());
    format_.format.SetDigits(digits);
    format_.format.SetDecimals(decimals);
    format_.width = width;
    CloseWindow(IDOK);
}

}  // namespace vyn
