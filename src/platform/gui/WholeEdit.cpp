#include "platform/gui/WholeEdit.h"

#include "platform/gui/ControlEdit.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/MsgBox.h"

namespace vyn {

bool TakeWholeEdit(TDialog& dialog, int editId, const WholeField& field, int& value, const std::string& caption)
{
    TWindow* edit = dialog.GetDlgItem(editId);
    if (!edit) return true;
    const std::string text = edit->GetWindowText();
    int v = 0;
    const TypedNumber read = ReadTypedWhole(text.c_str(), field.low, field.high, v);
    const bool taken = read == tnNumber || (read == tnMissing && field.emptyIsZero);
    if (taken) {
        value = read == tnNumber ? v : 0;
        return true;
    }
    // Hidden in its dialog (a reference filter while no reference is used), the edit cannot be
    // mended: a refusal would keep the dialog from closing for a text the user cannot see.
    if (edit->IsHiddenIn(dialog)) return true;
    MessageBox(&dialog, NotAWholeNumberText(text, field), caption, MB_OK | MB_ICONEXCLAMATION);
    edit->SetFocus();
    if (auto* e = dynamic_cast<TEdit*>(edit)) e->SetSelection(0, 32767);
    return false;
}

}  // namespace vyn
