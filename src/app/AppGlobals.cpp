#include "app/AppGlobals.h"

namespace vyn {

QDoc* gCurrentDoc = nullptr;
TView* gActiveView = nullptr;
TMyControlBar* gToolBar = nullptr;
TMyControlBar* gToolPalette = nullptr;
QPictButtGadget* gModeButton = nullptr;
TMyStatusBar* gStatusBar = nullptr;
TMySwitchTG* gModeGadget = nullptr;
TMySwitchTG* gStateGadget = nullptr;
TGadget* gToolBarGadgets[3] = {nullptr, nullptr, nullptr};

}  // namespace vyn
