#include "app/RwMainWindow.h"

#include "app/AppGlobals.h"
#include "app/AppHelp.h"
#include "app/FileHandOver.h"
#include "app/vynwApp.h"
#include "platform/gui/MDI.h"

namespace vyn {

RwMainWindow::RwMainWindow(const std::string& title, int menuResId, TMDIClient& client)
    : TMDIFrame(title, menuResId, client)
{
}

void RwMainWindow::SetupWindow()
{
    TMDIFrame::SetupWindow();
    HelpInit(this);
    SetContextHelpId(kMainHelpContext);
    DragAcceptFiles([this](const std::vector<std::string>& files) { EvDropFiles(files); });
    PostCommand(CM_HANDOVERREADY);
}

void RwMainWindow::CleanupWindow()
{
    HelpQuit();
    TMDIFrame::CleanupWindow();
}

void RwMainWindow::Destroy(int retVal)
{
    if (IsWindow() && gApp) gApp->showState = IsZoomed() ? 3 : 1;
    TMDIFrame::Destroy(retVal);
}

void RwMainWindow::EvClose()
{
    if (gApp && !gApp->CanCloseAll()) return;
    Destroy();
    if (gApp) gApp->Quit(0);
}

TResult RwMainWindow::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    if (id == CM_HANDOVERREADY) {
        if (gApp) gApp->HandOverReady();
        return 0;
    }
    if (id == CM_OPENPENDINGFILES) {
        static bool busy = false;
        if (busy || !gApp) return 0;
        busy = true;
        bool saved = openingFiles_;
        openingFiles_ = true;
        gApp->OpenPendingFiles();
        openingFiles_ = saved;
        busy = false;
        return 0;
    }
    if (id == CM_FILEOPEN) {
        bool saved = openingFiles_;
        openingFiles_ = true;
        TResult r = TMDIFrame::EvCommand(id, control, notifyCode);
        openingFiles_ = saved;
        return r;
    }
    return TMDIFrame::EvCommand(id, control, notifyCode);
}

void RwMainWindow::EvCopyData(const THandOverRecord& record)
{
    if ((record.data & 0xFFFF) != kHandOverTag || !gApp) return;
    switch ((record.data >> 16) & 0xF) {
    case 2: gApp->AddFileDrop(((record.data >> 24) & 1) != 0, record.payload); break;
    case 4: PostCommand(CM_OPENPENDINGFILES); break;
    default: break;
    }
}

void RwMainWindow::EvDropFiles(const std::vector<std::string>& files)
{
    for (const auto& r : DropRecords(files)) EvCopyData(r);
}

}  // namespace vyn
