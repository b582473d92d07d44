#include "app/AppHelp.h"

#include "app/AppPaths.h"
#include "platform/gui/HelpWindow.h"

namespace vyn {

namespace {
TWindow* gHelpWindow = nullptr;
bool gHelpUsed = false;
// The topic that explains the help window itself.
constexpr int kHelpOnHelpTopic = 3280;
}  // namespace

void HelpInit(TWindow* window) { gHelpWindow = window; }

void HelpQuit()
{
    if (gHelpWindow && gHelpUsed) CloseHelpWindow();
    gHelpWindow = nullptr;
    gHelpUsed = false;
}

void HelpContext(int contextId)
{
    if (!gHelpWindow || contextId == 0) return;
    gHelpUsed = ShowHelpTopic(GetHelpFilePath(), contextId);
}

void HelpContents()
{
    if (!gHelpWindow) return;
    gHelpUsed = ShowHelpTopic(GetHelpFilePath(), 0);
}

void HelpOnHelp()
{
    if (!gHelpWindow) return;
    gHelpUsed = ShowHelpTopic(GetHelpFilePath(), kHelpOnHelpTopic);
}

bool HelpWasUsed() { return gHelpUsed; }

}  // namespace vyn
