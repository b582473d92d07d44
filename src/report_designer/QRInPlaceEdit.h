#pragma once
// The report view's in-place editor of a text box's contents. Its keys act as in the
// attribute editor's value edit: Enter and Down commit, Esc cancels, Tab, Shift+Tab and Up are
// sent to the parent as navigation commands (which the view ignores, so they neither move nor
// close the editor); a context-menu request goes to the parent, which opens the expression
// wizard over it. Each command is posted to the parent as WM_COMMAND with this control.
#include "platform/gui/ControlEdit.h"

namespace vyn {

class QRInPlaceEdit : public TEdit {
public:
    QRInPlaceEdit(TWindow* parent, int id);

    // The clipboard commands on the edited text: 24322 cut, 24323 copy, 24324 paste, 24325 delete.
    void EditCommand(unsigned id);

    bool wizardOpen = false;  // the expression wizard runs over the editor

protected:
    unsigned EvGetDlgCode(const TMsg* msg) override;
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;
    void EvChar(unsigned ch, unsigned repeatCount, unsigned flags) override;
    void EvContextMenu(TWindow* window, int x, int y) override;

private:
    void Send(unsigned command);
};

}  // namespace vyn
