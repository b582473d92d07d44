#include "setup/wizard/GuiSetupUi.h"

#include "platform/gui/MsgBox.h"

namespace vyn {

// The setup flags and answers are the message box's own numbers.
int GuiSetupUi::Message(const std::string& text, const std::string& caption, unsigned flags)
{
    return MessageBox(owner_, text, caption, flags);
}

}  // namespace vyn
