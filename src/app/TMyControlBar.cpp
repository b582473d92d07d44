#include "app/TMyControlBar.h"

#include "app/AppHelp.h"

namespace vyn {

TMyControlBar::TMyControlBar(TWindow* parent, TTileDirection direction, const TFont& font)
    : TControlBar(parent, direction, font)
{
}

int TMyControlBar::RemoveFrom(TGadget* gadget)
{
    if (!gadget || !Contains(*gadget)) return 0;
    int n = RemoveAfter(gadget);
    Remove(*gadget);
    return n + 1;
}

int TMyControlBar::RemoveAfter(TGadget* gadget)
{
    if (!gadget || !Contains(*gadget)) return 0;
    int n = 0;
    while (TGadget* next = NextGadget(*gadget)) {
        TGadget* last = next;
        while (TGadget* after = NextGadget(*last)) last = after;
        Remove(*last);
        ++n;
    }
    return n;
}

int TMyControlBar::RemoveFromId(int id) { return RemoveFrom(GadgetWithId(id)); }
int TMyControlBar::RemoveAfterId(int id) { return RemoveAfter(GadgetWithId(id)); }

void TMyControlBar::EvContextMenu(TWindow*, int x, int y)
{
    TGadget* g = GadgetFromPoint(ScreenToClient(TPoint(x, y)));
    if (g && g->GetId() != 0 && g->GetId() < 0x8000) HelpContext(g->GetId());
}

// The platform reports a right click as the button press; the context menu follows it.
void TMyControlBar::EvRButtonDown(unsigned, const TPoint&) {}

}  // namespace vyn
