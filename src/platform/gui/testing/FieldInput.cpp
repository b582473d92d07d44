#include "platform/gui/testing/FieldInput.h"

#include "platform/gui/WindowMessages.h"
#include "platform/gui/testing/UserInput.h"

namespace vyn {

void TypeOver(const std::string& text)
{
    PressKeys(VK_HOME);
    PressKeys(VK_END, MK_SHIFT);
    // Nothing typed over the whole text empties the field, as Delete does.
    if (text.empty()) PressKeys(VK_DELETE);
    TypeText(text);
    TTestHook::ProcessEvents();
}

bool TypeIntoField(TWindow& field, const std::string& text)
{
    const bool reached = ClickReaches(field);
    TypeOver(text);
    return reached;
}

}  // namespace vyn
