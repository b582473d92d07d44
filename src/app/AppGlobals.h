#pragma once
// The shell's shared state: the current plate document and view (set by the views when they
// become active), the bars and gadgets of the main window.
namespace vyn {

class QDoc;
class TView;
class TMyControlBar;
class TMyStatusBar;
class TMySwitchTG;
class QPictButtGadget;
class TGadget;

extern QDoc* gCurrentDoc;
extern TView* gActiveView;
extern TMyControlBar* gToolBar;
extern TMyControlBar* gToolPalette;
extern QPictButtGadget* gModeButton;
extern TMyStatusBar* gStatusBar;
extern TMySwitchTG* gModeGadget;
extern TMySwitchTG* gStateGadget;
// The three anchors of the tool bar after which views insert their gadgets: a separator and
// the "Insert carrier" and "Eject carrier" buttons.
extern TGadget* gToolBarGadgets[3];

// Command ids of the shell.
enum : unsigned {
    CM_EXIT = 24310,
    CM_FILENEW = 24331,
    CM_FILEOPEN = 24332,
    CM_FILESAVE = 24333,
    CM_FILESAVEAS = 24334,
    CM_FILECLOSE = 24339,
    CM_INSERTCARRIER = 2230,
    CM_EJECTCARRIER = 2231,
    CM_CALCULATE = 2211,
    CM_HELPCONTENTS = 2001,
    CM_HELPUSING = 2002,
    CM_HELPCONTEXT = 2005,
    CM_MODEBUTTON = 1029,
    CM_HANDOVERREADY = 21074,
    CM_OPENPENDINGFILES = 21076,
};

inline constexpr int kMainMenu = 110;
inline constexpr int kMainHelpContext = 3000;

}  // namespace vyn
