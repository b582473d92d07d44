#pragma once
// The main window's MDI client (black background) and the frame of one view, which keeps the
// shared tool bars in step with the active view.
#include "platform/gui/MDI.h"

namespace vyn {

class vynwMDIClient : public TMDIClient {
public:
    vynwMDIClient();

protected:
    void EvMDIActivate(TMDIChild* activated) override;
};

class vynwMDIChild : public TMDIChild {
public:
    vynwMDIChild(TMDIClient& parent, const std::string& title, TWindow* clientWnd);

    void EvMDIActivate(bool active) override;
    // A view decides itself whether it may go (the last view of a changed plate asks).
    bool CanClose() override;
};

// Puts the tool bars into their state without a view: the anchors at the end of the tool
// bar, the side button on picture 0 bound to its own command.
void NeutralToolBars();

}  // namespace vyn
