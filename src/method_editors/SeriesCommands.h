#pragma once
// The commands that a page with a definition or number list passes to the series editing it:
// the list's and the edit's notifications, and Confirm and Cancel while the edit has the focus.
#include "platform/gui/WindowMessages.h"

namespace vyn {

// True when the series took the command.
template <class Series>
bool RouteToSeries(Series& series, int listId, int editId, unsigned id, unsigned notifyCode)
{
    if (id == static_cast<unsigned>(listId)) series.ListNotify(notifyCode);
    else if (id == static_cast<unsigned>(editId)) series.EditNotify(notifyCode);
    else return (id == IDOK || id == IDCANCEL) && series.ConfirmOrCancel(id);
    return true;
}

}  // namespace vyn
