// Page settings in "VYN.INI" that no printout can use (margins below 0 or leaving nothing of the
// page, a calculations mode the program does not know) are replaced by the program's own when
// it starts, and the user is told once which entries were not used.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "ShownDemo.h"
#include "app/AppGlobals.h"
#include "platform/core/ProfileFile.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"
#include "printing/AStpPgDlg.h"
#include "printing/PageSettings.h"
#include "plate/Profile.h"

using namespace vyn;

namespace {

void WriteBadPages()
{
    ResetPrintSettings();
    std::ofstream(ProfileFile::ResolvePath(kProfileName))
        << "[Pages]\nList=900 10 10 10\nPlate=-50 50 20 70\nGraph=10 20 30 40\nLines=1 2 3\nReport=0 0 0 2000\n"
           "GlobalMode=7\n";
    // The message comes as soon as the main window stands.
    TTestHook::Get().AnswerMessageBox(IDOK);
}

TEST(PageSettingsFromFile, UnusableMarginsAndModeAreReplacedAndToldOnce)
{
    ShownDemo demo(WriteBadPages);
    TTestHook::ProcessEvents();
    const std::vector<std::string> messages = demo.hook.MessageTexts();
    ASSERT_EQ(messages.size(), 1u);
    const std::string& m = messages[0];
    for (const char* entry :
         {"[Pages] List=900 10 10 10", "[Pages] Plate=-50 50 20 70", "[Pages] Report=0 0 0 2000", "[Pages] GlobalMode=7"})
        EXPECT_NE(m.find(entry), std::string::npos) << entry << " in: " << m;
    EXPECT_NE(m.find(ProfileFile::ResolvePath(kProfileName)), std::string::npos) << "the file is named";
    EXPECT_EQ(m.find("Graph"), std::string::npos) << "usable margins are not named";
    EXPECT_EQ(m.find("Lines"), std::string::npos) << "a value of three numbers is no record and stays unread";

    // The page setup shows the program's own margins for the kinds not used, and the file's for
    // the one that could be used.
    std::vector<std::string> shown;
    demo.hook.AnswerDialog(AStpPgDlg::kResId, IDCANCEL, [&](TDialog& d) {
        EXPECT_TRUE(ClickReaches(*d.GetDlgItem(AStpPgDlg::IDC_UNIT_INCH)));
        for (int kind : {101 + 0, 101 + 1, 101 + 2}) {  // Plate, Results, Graph
            EXPECT_TRUE(ClickReaches(*d.GetDlgItem(kind)));
            TTestHook::ProcessEvents();
            std::string margins;
            for (int i = 0; i < 4; ++i) margins += (i ? " " : "") + d.GetDlgItemText(AStpPgDlg::IDC_LEFT + i);
            shown.push_back(margins);
        }
        auto* mode = dynamic_cast<TCheckBox*>(d.GetDlgItem(AStpPgDlg::IDC_MODE + 1));
        EXPECT_TRUE(mode && mode->GetCheck() == TCheckBox::BF_CHECKED) << "calculations shown but underscored";
    });
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), CM_PAGESETUP));
    EXPECT_EQ(shown, (std::vector<std::string>{"20 50 20 70", "100 100 100 100", "10 20 30 40"}));
    EXPECT_EQ(demo.hook.MessageTexts().size(), 1u) << "told once";
    ResetPrintSettings();
}

}  // namespace
