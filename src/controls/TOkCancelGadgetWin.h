#pragma once
// TOkCancelGadgetWin: the two small picture buttons "Cancel entry" and "Confirm entry" that sit
// just left of an in-place edit. They send the commands 2 and 1 to the window that owns them;
// the owner enables them only while its edit has the focus.
#include "platform/core/Geometry.h"
#include "platform/gui/GadgetWindow.h"

namespace vyn {

class TButtonGadget;

// The size of one pair in pixels, taken from the first pair set up and kept for the run, so
// that every owner places its pairs alike.
extern TSize gOkCancelSize;

class TOkCancelGadgetWin : public TGadgetWindow {
public:
    explicit TOkCancelGadgetWin(TWindow* parent);

    void EnableGadgets(bool on);
    bool GadgetsEnabled() const;

    // Places the pair left of the edit (a gap of one eighth of its width) and vertically centred
    // on it, shows it without activating it, and enables it only while the edit has the focus.
    void PlaceBeside(const TWindow& edit);
    // The owner decides when the buttons work, not the idle enablers of a tool bar.
    bool IdleAction(long) override { return false; }

protected:
    void SetupWindow() override;

private:
    TButtonGadget* cancel_;
    TButtonGadget* confirm_;
};

}  // namespace vyn
