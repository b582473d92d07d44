#pragma once
// The state of the modifier keys while a key message is being handled, as GetKeyState tells
// it: negative when the key is down. Only VK_SHIFT, VK_CONTROL, VK_MENU and the left mouse
// button (VK_LBUTTON) are known.
namespace vyn {

short GetKeyState(int vk);

// Platform side: the modifiers (MK_SHIFT, MK_CONTROL, and 0x20 for Alt) of the key event
// being dispatched.
void SetKeyModifiers(unsigned modKeys);

}  // namespace vyn
