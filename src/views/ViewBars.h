#pragma once
// What a plate document's view puts on the shell's two bars while its frame is active.
#include <string>
#include <vector>

#include "views/ViewCommands.h"

namespace vyn {

// Place holders in the lists of a view's gadgets on the shell's bars.
enum QPViewGadget : int {
    gdSeparator = -1,
    gdEntryLabel = -2,
    gdToolText = -3,
};

// A view's picture of its gadgets and of the shell's mode button: what the shell's bars show
// while the view's frame is active. The shell applies it whenever it changes.
struct QPViewBars {
    bool installed = false;       // the view's gadgets are on the bars
    bool carrierAnchors = true;   // the shell's separator and carrier buttons stand before them
    std::vector<int> mainBar;     // after the shell's anchors: Save, a separator, then these
    std::vector<int> palette;     // after the mode button and the view's first separator
    int modeButtonCommand = cmModeButtonIdle;
    int modeButtonPicture = 0;
    bool modeButtonPressed = false;
    std::vector<int> pressed;     // tool buttons shown pressed
    int repeatPicture = 0;
    int renumberPicture = 0;
    std::string renumberText;
    std::string toolText;
    std::string entryLabel;
    std::string dilutionLetter = "a";
    int toolsPopup = 0;           // menu resource of the Tools popup; 0: the menu's own
    bool entryBoxShown = false;
    bool nameBoxShown = false;
};

// The main tool bar of a view at rest: measure with the carrier buttons, calculate, preview
// and print.
inline const std::vector<int>& RestingMainBar()
{
    static const std::vector<int> bar = {cmMeasure, cmInsertCarrier, cmEjectCarrier, gdSeparator, cmCalculate,
                                         gdSeparator, cmPreview, cmPrint};
    return bar;
}

// The bars of a graph view: the resting main bar, its own buttons on the palette, and the mode
// button bound to its action.
QPViewBars GraphViewBars(bool active, std::vector<int> palette, int action, int picture);

}  // namespace vyn
