#pragma once
// What the method editors' tests share: a definition list as text, and the wizard's buttons
// pressed as the user presses them.
#include <string>

#include "plate/twostr.h"
#include "platform/gui/PropertySheet.h"
#include "platform/gui/TestHook.h"

namespace vyn::test {

// "name=expression" lines, one a definition.
inline std::string Dump(const TwostrArray& list)
{
    std::string s;
    for (const auto& t : list) s += t.name + "=" + t.text + "\n";
    return s;
}

// A button of the sheet (Back, Next, Finish, ...) pressed, and what it queued handled.
inline void Press(TPropertySheet& sheet, int id)
{
    sheet.PressButton(id);
    TTestHook::ProcessEvents();
}

// Next until the page is shown (or eight presses did not reach it).
inline void NextTo(TPropertySheet& sheet, int page)
{
    for (int i = 0; i < 8 && sheet.GetActiveIndex() != page; ++i) Press(sheet, TPropertySheet::ID_PSNEXT);
}

}  // namespace vyn::test
