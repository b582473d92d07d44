// Settings the program cannot keep: with "VYN.INI" a folder, or a file the user made read-only,
// the options dialog, page setup and the end of the program tell the user, naming the file, and
// a read-only file is left exactly as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>

#include "ShellTestFixture.h"
#include "ShownDemo.h"
#include "app/AppGlobals.h"
#include "app/AppSettings.h"
#include "app/QAppDlg.h"
#include "evaluator/NumFormat.h"
#include "plate/Profile.h"
#include "platform/core/ProfileFile.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/UserInput.h"
#include "printing/AStpPgDlg.h"
#include "printing/PageSettings.h"

using namespace vyn;

namespace {

const char kOldIni[] = "[application]\ncomma=0\n\n[Pages]\nPlate=20 50 20 70\n";

std::string IniPath() { return ProfileFile::ResolvePath(kProfileName); }

void IniIsAFolder() { std::filesystem::create_directories(IniPath()); }

void IniIsReadOnly()
{
    std::ofstream(IniPath()) << kOldIni;
    ::chmod(IniPath().c_str(), 0444);
}

struct Case {
    const char* name;
    void (*prepare)();
    int message;
};

}  // namespace

TEST(SettingsNotKept, OptionsPageSetupAndExitSayTheSettingsFileTookNothing)
{
    const Case cases[] = {
        {"settings file is a folder", IniIsAFolder, kMsgSettingsNotWritten},
        {"settings file is read-only", IniIsReadOnly, kMsgSettingsReadOnly},
    };
    const char oldDecimal = gDecimalChar;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTestHook hook;
        {
            ShellFixture s(c.prepare);
            RwMainWindow& main = *s.app->GetMainFrame();
            s.app->ShowMainWindow();
            const std::string expected = FormatResString(c.message, IniPath().c_str());
            for (int i = 0; i < 3; ++i) hook.AnswerMessageBox(IDOK);

            // Options: the decimal comma, chosen on the "Decimals" page with the mouse.
            hook.AnswerDialog(QAppDlg::kResId, IDOK, [](TDialog& d) {
                ClickAt(ScreenPoint(*d.GetDlgItem(101)));
                ClickAt(ScreenPoint(*d.GetDlgItem(203)));
            });
            ASSERT_TRUE(ChooseMenuItem(main, CM_APPLICATION));
            TTestHook::ProcessEvents();
            ASSERT_EQ(hook.MessageTexts().size(), 1u) << "the options dialog's OK";
            EXPECT_EQ(hook.MessageTexts()[0], expected);
            EXPECT_EQ(gDecimalChar, ',') << "the change holds for this run";

            // Page setup: a new left margin typed for the plate.
            hook.AnswerDialog(AStpPgDlg::kResId, IDOK, [](TDialog& d) {
                ClickAt(ScreenPoint(*d.GetDlgItem(AStpPgDlg::IDC_KIND + static_cast<int>(pkPlate))));
                TypeIntoField(*d.GetDlgItem(AStpPgDlg::IDC_LEFT), "150");
            });
            ASSERT_TRUE(ChooseMenuItem(main, CM_PAGESETUP));
            TTestHook::ProcessEvents();
            ASSERT_EQ(hook.MessageTexts().size(), 2u) << "page setup's OK";
            EXPECT_EQ(hook.MessageTexts()[1], expected);
            EXPECT_EQ(gPageMargins[pkPlate].left, 150);

            // The title bar's close button, and the program ends.
            RequestClose(main);
            TTestHook::ProcessEvents();
            EXPECT_TRUE(TakeQuitRequest());
            s.app.reset();
            ASSERT_EQ(hook.MessageTexts().size(), 3u) << "the end of the program";
            EXPECT_EQ(hook.MessageTexts()[2], expected);
            EXPECT_EQ(hook.UnansweredBoxes(), 0);

            if (c.message == kMsgSettingsReadOnly) {
                EXPECT_EQ(FileText(IniPath()), kOldIni) << "the read-only file is as the user left it";
                struct stat st;
                ASSERT_EQ(::stat(IniPath().c_str(), &st), 0);
                EXPECT_EQ(st.st_mode & 07777, 0444u);
            } else {
                EXPECT_TRUE(std::filesystem::is_directory(IniPath()));
            }
        }
        gDecimalChar = oldDecimal;
        ResetPrintSettings();
        QAppDlg::ResetLastPage();
    }
}
