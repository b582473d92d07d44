#pragma once
// A value typed into a well of the plate matrix as a user types it: a double click on the
// well's cell opens the data entry there, the value is typed and Enter takes it, and Esc ends
// the data entry.
#include <string>

#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"
#include "views/QPView.h"

inline void TypeIntoWell(vyn::QPView& view, int col, int row, const std::string& text)
{
    const vyn::TRect r = view.CellRect(col, row);
    vyn::DoubleClickAt(vyn::ScreenPoint(view, (r.left + r.right) / 2, (r.top + r.bottom) / 2));
    vyn::TTestHook::ProcessEvents();
    vyn::TypeText(text);
    vyn::PressKeys(vyn::VK_RETURN);
    vyn::PressKeys(vyn::VK_ESCAPE);
    vyn::TTestHook::ProcessEvents();
}
