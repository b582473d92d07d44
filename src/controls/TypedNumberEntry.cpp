#include "controls/TypedNumberEntry.h"

#include "platform/core/StringTable.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/MsgBox.h"

namespace vyn {

namespace {
constexpr int kMsgNotANumber = 21340;
constexpr int kAppCaption = 21090;
constexpr int kMsgNotAWholeNumber = 21343;
}  // namespace

std::string NotANumberText(const std::string& typed)
{
    const std::string pattern = GetResStringStd(kMsgNotANumber);
    return FormatWithArg(pattern.c_str(), CutUtf8(typed, 40).c_str());
}

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

std::string NotAWholeNumberText(const std::string& typed, const WholeField& field)
{
    std::string text = FormatWithArg(GetResStringStd(kMsgNotAWholeNumber).c_str(), CutUtf8(typed, 40).c_str());
    for (int bound : {field.low, field.high})
        if (const auto at = text.find("%d"); at != std::string::npos) text.replace(at, 2, std::to_string(bound));
    return text;
}

bool TakeTypedWhole(TWindow* owner, const std::string& text, const WholeField& field, int& value)
{
    int v = 0;
    switch (ReadTypedWhole(text.c_str(), field.low, field.high, v)) {
    case tnNumber: value = v; return true;
    case tnMissing:
        if (field.emptyIsZero) {
            value = 0;
            return true;
        }
        break;
    case tnNotANumber: break;
    }
    TellNotAWholeNumber(owner, text, field);
    return false;
}

void TellNotAWholeNumber(TWindow* owner, const std::string& text, const WholeField& field)
{
    MessageBox(owner, NotAWholeNumberText(text, field), GetResStringStd(kAppCaption), MB_OK | MB_ICONEXCLAMATION);
}

bool TakeWholeEdit(TDialog& dialog, int editId, const WholeField& field, int& value)
{
    TWindow* edit = dialog.GetDlgItem(editId);
    if (!edit) return true;
    if (TakeTypedWhole(&dialog, edit->GetWindowText(), field, value)) return true;
    if (edit->IsWindowVisible()) {
        edit->SetFocus();
        if (auto* e = dynamic_cast<TEdit*>(edit)) e->SetSelection(0, 32767);
    }
    return false;
}

}  // namespace vyn
