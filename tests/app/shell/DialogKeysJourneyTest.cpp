// The calibration dialog with the keys alone, from the menu of the demo plate: the arrows go
// round the data trend's two choices and never on into the model below them, so the model the
// plate keeps is the one the user left alone.
#include <gtest/gtest.h>

#include "ShownDemo.h"
#include "calibration_dialogs/QCalDlg.h"
#include "plate/QPlate.h"
#include "platform/gui/testing/UserInput.h"

using namespace vyn;

namespace dialog_keys_journey {

TEST(DialogKeysJourney, TheArrowsOnTheCalibrationsTrendNeverChangeItsModel)
{
    struct Row {
        const char* name;
        int downs;
        int decreasing;
    };
    for (const Row& r : {Row{"Down once: Decreasing", 1, 1}, Row{"Down twice: round to Increasing", 2, 0},
                         Row{"Down three times: Decreasing again", 3, 1}}) {
        SCOPED_TRACE(r.name);
        ShownDemo demo;
        ASSERT_NE(demo.doc, nullptr);
        const QCalibr& cal = demo.doc->GetPlate().calibr;
        ASSERT_EQ(cal.model, 0) << "the demo curve is linear";
        ASSERT_EQ(cal.decreasing, 0);
        std::vector<int> focused;
        demo.hook.AnswerDialog(QCalDlg::kResId, 0, [&](TDialog& d) {
            TTestHook::ProcessEvents();
            TWindow* increasing = d.GetDlgItem(QCalDlg::kIncreasing);
            for (int i = 0; i < 20 && TWindow::GetFocus() != increasing; ++i) PressKeys(VK_TAB);
            ASSERT_EQ(TWindow::GetFocus(), increasing) << "Tab comes to the checked trend";
            for (int i = 0; i < r.downs; ++i) {
                PressKeys(VK_DOWN);
                TWindow* at = TWindow::GetFocus();
                focused.push_back(at ? at->GetId() : 0);
            }
            PressKeys(VK_RETURN);
        });
        ASSERT_TRUE(ClickMenuItem(demo.Main(), "Definition", "Calibration..."));
        for (int id : focused) EXPECT_TRUE(id == QCalDlg::kIncreasing || id == QCalDlg::kDecreasing) << id;
        EXPECT_EQ(cal.model, 0) << "the model stays Linear";
        EXPECT_EQ(cal.decreasing, r.decreasing);
        EXPECT_EQ(demo.hook.UnansweredDialogs(), 0);
        EXPECT_TRUE(demo.hook.MessageTexts().empty());
    }
}

}  // namespace dialog_keys_journey
