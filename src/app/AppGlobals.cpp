#include "app/AppGlobals.h"

namespace vyn {

// gCurrentDoc and gActiveView belong to the views, which set them when they become active.
TMyControlBar* gToolBar = nullptr;
TMyControlBar* gToolPalette = nullptr;
QPictButtGadget* gModeButton = nullptr;
TMyStatusBar* gStatusBar = nullptr;
TMySwitchTG* gModeGadget = nullptr;
TMySwitchTG* gStateGadget = nullptr;
TGadget* gToolBarGadgets[3] = {nullptr, nullptr, nullptr};

}  // namespace vyn
