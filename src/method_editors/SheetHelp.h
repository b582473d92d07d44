#pragma once
// Help on a window of a method editor: the window that owns the editor opens the help at the
// context the page or control set, so the sheet passes such requests on to it unchanged. Other
// requests (no context, a menu item) take the usual route.
#include "platform/gui/Application.h"
#include "platform/gui/Window.h"
#include "platform/gui/WindowMessages.h"

namespace vyn {

inline void SendHelpToOwner(TWindow& sheet)
{
    sheet.OnMessage(WM_HELP, [&sheet](TParam1 p1, TParam2 p2) -> TResult {
        const auto* info = reinterpret_cast<const THelpInfo*>(p2);
        if (!info) return 0;
        const bool forOwner = info->contextType == HELPINFO_WINDOW && info->contextId != 0;
        if (TWindow* to = forOwner && sheet.GetParent() ? sheet.GetParent() : sheet.NextOnRoute())
            return to->SendMessage(WM_HELP, p1, p2);
        if (TApplication* app = TApplication::Current()) app->EvHelp(*info);
        return 1;
    });
}

}  // namespace vyn
