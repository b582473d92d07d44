#include "controls/TypedNumberEntry.h"

#include <algorithm>
#include <climits>

#include "controls/EditTextLimit.h"
#include "evaluator/NoValue.h"
#include "platform/core/StringTable.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/MsgBox.h"
#include "platform/gui/WholeEdit.h"

namespace vyn {

namespace {
constexpr int kAppCaption = 21090;
}  // namespace

void TellNotANumber(TWindow* owner, const std::string& text)
{
    MessageBox(owner, NotANumberText(text), GetResStringStd(kAppCaption), MB_OK | MB_ICONEXCLAMATION);
}

TypedNumber TakeTypedNumber(TWindow* owner, const std::string& text, double& value)
{
    const TypedNumber kind = ReadTypedNumber(text.c_str(), value);
    if (kind == tnNotANumber) TellNotANumber(owner, text);
    return kind;
}

void TellNotAWholeNumber(TWindow* owner, const std::string& text, const WholeField& field)
{
    MessageBox(owner, NotAWholeNumberText(text, field), GetResStringStd(kAppCaption), MB_OK | MB_ICONEXCLAMATION);
}

bool TakeWholeEdit(TDialog& dialog, int editId, const WholeField& field, int& value)
{
    return TakeWholeEdit(dialog, editId, field, value, GetResStringStd(kAppCaption));
}

bool ShownWhole(const std::string& text, int& value)
{
    int v = 0;
    switch (ReadTypedWhole(text.c_str(), INT_MIN, INT_MAX, v)) {
    // Held well inside the int range, so that a step from it cannot overflow.
    case tnNumber: value = std::clamp(v, -1000000, 1000000); return true;
    case tnMissing: value = 0; return true;
    case tnNotANumber: break;
    }
    return false;
}

TypedNumber ReadNumberField(const std::string& text, double& value)
{
    if (text.find_first_not_of(" \t") == std::string::npos) {
        value = NoValue;
        return tnMissing;
    }
    double v = NoValue;
    if (ReadTypedNumber(text.c_str(), v) != tnNumber) return tnNotANumber;
    value = v;
    return tnNumber;
}

bool TakeNumberEdit(TDialog& dialog, int editId, std::size_t maxChars, double& value)
{
    auto* edit = dynamic_cast<TEdit*>(dialog.GetDlgItem(editId));
    if (!edit) return true;
    const std::string text = LimitChars(edit->GetWindowText(), maxChars);
    if (ReadNumberField(text, value) != tnNotANumber) return true;
    TellNotANumber(&dialog, text);
    edit->SetFocus();
    edit->SetSelection(0, 32767);
    return false;
}

}  // namespace vyn
