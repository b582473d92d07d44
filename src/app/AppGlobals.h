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
    CM_ABOUT = 2009,
    CM_SHOWPLATE = 2224,
    CM_SHOWLIST = 2225,
    CM_SHOWCURVE = 2226,
    CM_MEASURE = 2210,
    CM_NAMES = 2240,
    CM_METHODINFO = 2245,
    CM_SHOWSTATUS = 2215,
    CM_CALCULATIONS = 2216,
    CM_ADVANCEDCALC = 2217,
    CM_CALIBRATION = 2218,
    CM_APPLICATION = 2242,
    CM_DATAPRESENTATION = 2243,
    CM_RESULTPRESENTATION = 2244,
    CM_EXPORTRESULTS = 2204,
    CM_IMPORTIDS = 2203,
    CM_CALIBRATE = 2213,
    CM_COMMUNICATION = 2221,
    CM_PHOTOMETER = 2220,
    CM_SAVEASMETHOD = 2202,
    CM_METHODS = 2201,
    CM_PAGESETUP = 24336,
    CM_PRINT = 24337,
    CM_PREVIEW = 24340,
    CM_REPORTS = 7302,
    CM_REPORTPRINT = 2601,
    CM_REPORTPREVIEW = 2602,
    CM_HANDOVERREADY = 21074,
    CM_OPENPENDINGFILES = 21076,
};

inline constexpr int kMainMenu = 110;
inline constexpr int kMainHelpContext = 3000;

}  // namespace vyn
