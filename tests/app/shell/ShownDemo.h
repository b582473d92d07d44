#pragma once
// The demo plate shown in the running program, as the journeys of typed values meet it: the main
// window on the screen, Demo.plt opened in it, and the menu's Save, Close and Open to see what the
// file kept. FileText reads a file's bytes as they were written.
#include <fstream>
#include <sstream>
#include <string>

#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/RwMainWindow.h"
#include "document/QDoc.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"

inline std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct ShownDemo {
    vyn::TTestHook hook;
    ShellFixture shell;
    vyn::QDoc* doc = nullptr;
    std::string path;

    // prepare runs before the program starts, for settings it reads on its way up.
    explicit ShownDemo(void (*prepare)() = nullptr) : shell(prepare)
    {
        shell.app->GetMainFrame()->MoveWindow(0, 0, 1100, 800);
        shell.app->GetMainFrame()->ShowWindow(vyn::SW_SHOW);
        vyn::TTestHook::ProcessEvents();
        path = shell.env.data + "/Demo.plt";
        doc = dynamic_cast<vyn::QDoc*>(shell.app->OpenPlate(path));
        vyn::TTestHook::ProcessEvents();
    }
    vyn::RwMainWindow& Main() { return *shell.app->GetMainFrame(); }
    // Save, close, and open the file again through the menu; the document opened, or none.
    vyn::QDoc* SaveCloseAndOpen()
    {
        if (!vyn::ChooseMenuItem(Main(), vyn::CM_FILESAVE) || !vyn::ChooseMenuItem(Main(), vyn::CM_FILECLOSE))
            return nullptr;
        vyn::TTestHook::ProcessEvents();
        vyn::SetFileDialogAnswer([this](bool, const std::string&) { return path; });
        const bool opened = vyn::ChooseMenuItem(Main(), vyn::CM_FILEOPEN);
        vyn::SetFileDialogAnswer(nullptr);
        vyn::TTestHook::ProcessEvents();
        return opened ? dynamic_cast<vyn::QDoc*>(vyn::gCurrentDoc) : nullptr;
    }
};
