#pragma once
// The main frame: an MDI frame with the tool bar at the top, the tool palette at the left and
// the status bar at the bottom. It receives the file names of a second start and of drops and
// reports when it is ready to take them.
#include "platform/gui/DecoratedFrame.h"
#include "platform/gui/HandOverChannel.h"

namespace vyn {

class RwMainWindow : public TMDIFrame {
public:
    RwMainWindow(const std::string& title, int menuResId, TMDIClient& client);

    static const char* GetClassName() { return "VYN_Main_Wnd_Class"; }
    bool OpeningFiles() const { return openingFiles_; }
    void SetOpeningFiles(bool on) { openingFiles_ = on; }

    // A record of a hand-over (the data copy of a second start or a drop).
    void EvCopyData(const THandOverRecord& record);
    void EvDropFiles(const std::vector<std::string>& files);

    void Destroy(int retVal = 0) override;

protected:
    void SetupWindow() override;
    void CleanupWindow() override;
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;
    void EvClose() override;

private:
    bool openingFiles_ = false;
};

}  // namespace vyn
