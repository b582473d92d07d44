#pragma once
// The shell's tool bars: views put their own gadgets after the anchors and take them out
// again (without deleting them) when their frame loses the activation. A right click on a
// button opens help at its command.
#include "platform/gui/GadgetWindow.h"

namespace vyn {

class TMyControlBar : public TControlBar {
public:
    TMyControlBar(TWindow* parent, TTileDirection direction, const TFont& font);

    // Remove the gadget and all after it (last first), or only those after it; the number
    // removed (0 for no gadget).
    int RemoveFrom(TGadget* gadget);
    int RemoveAfter(TGadget* gadget);
    int RemoveFromId(int id);
    int RemoveAfterId(int id);

protected:
    void EvContextMenu(TWindow* window, int x, int y) override;
    void EvRButtonDown(unsigned modKeys, const TPoint& p) override;
};

}  // namespace vyn
