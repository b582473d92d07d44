#pragma once
// Help over the program's help file: the main window starts it, commands and help buttons
// open it at a context id, the main window's clean-up closes it.
namespace vyn {

class TWindow;

void HelpInit(TWindow* window);
void HelpQuit();
// Nothing before HelpInit or for id 0.
void HelpContext(int contextId);
void HelpContents();
void HelpOnHelp();
bool HelpWasUsed();

}  // namespace vyn
