#pragma once
// A row of the sample list picked as a user picks it: a click on the row where the list paints
// it, in its number column.
#include <algorithm>

#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"
#include "views/QLView.h"

// The click on the list's row; false when the row is scrolled out of view or the click did not
// make it the list's current row.
inline bool ClickListRow(vyn::QLView& list, int index)
{
    const int y = (index - list.GetTopIndex()) * list.RowHeight() + list.RowHeight() / 2;
    if (index < list.GetTopIndex() || y >= list.GetClientRect().bottom) return false;
    vyn::ClickAt(vyn::ScreenPoint(list, std::max(2, list.NumberWidth() / 2), y));
    vyn::TTestHook::ProcessEvents();
    return list.GetSelIndex() == index;
}
