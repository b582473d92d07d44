#pragma once
// The main window's MDI client (black background) and the frame of one view, which keeps the
// shared tool bars in step with the active view.
#include "platform/gui/LayoutWindow.h"
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

protected:
    // The view's minimum size for its client area, made a size of the whole frame.
    void EvGetMinMaxInfo(TMinMaxInfo& info) override;
};

class QLView;
class QLViewTitles;

// The frame of the sample list: the column titles in a strip along the top at full width, the
// list below it. The list hides its left border at x = -1 and overlaps the strip by one pixel.
class listMDIChild : public vynwMDIChild, public TLayoutWindow {
public:
    listMDIChild(TMDIClient& parent, const std::string& title, QLView* list);

    QLViewTitles* Titles() const { return titles_; }

protected:
    void SetupWindow() override;
    void EvSize(unsigned sizeType, const TSize& size) override;
    void RemoveChild(TWindow* child) override;

private:
    QLViewTitles* titles_;
};

// Puts the tool bars into their state without a view: the anchors at the end of the tool
// bar, the side button on picture 0 bound to its own command.
void NeutralToolBars();

}  // namespace vyn
