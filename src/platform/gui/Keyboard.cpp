#include "platform/gui/Keyboard.h"

#include <QGuiApplication>

#include "platform/gui/WindowMessages.h"

namespace vyn {

namespace {
unsigned gKeyMods = 0;
bool gKeyModsKnown = false;
}  // namespace

void SetKeyModifiers(unsigned modKeys)
{
    gKeyMods = modKeys;
    gKeyModsKnown = true;
}

short GetKeyState(int vk)
{
    if (vk == VK_LBUTTON) return (QGuiApplication::mouseButtons() & Qt::LeftButton) ? static_cast<short>(-128) : 0;
    unsigned mods = gKeyMods;
    if (!gKeyModsKnown) {
        Qt::KeyboardModifiers q = QGuiApplication::keyboardModifiers();
        mods = (q & Qt::ShiftModifier ? MK_SHIFT : 0u) | (q & Qt::ControlModifier ? MK_CONTROL : 0u) |
               (q & Qt::AltModifier ? 0x20u : 0u);
    }
    unsigned bit = vk == VK_SHIFT ? MK_SHIFT : vk == VK_CONTROL ? MK_CONTROL : vk == VK_MENU ? 0x20u : 0u;
    return (mods & bit) ? static_cast<short>(-128) : 0;
}

}  // namespace vyn
