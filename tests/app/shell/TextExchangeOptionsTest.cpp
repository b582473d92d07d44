// The options dialog refuses a decimal character that is also a separator of exported fields:
// such values would be read back as other numbers; its format samples show the decimal
// character chosen.
#include <gtest/gtest.h>

#include "ShellTestFixture.h"
#include <QWidget>
#include "app/AppGlobals.h"
#include "app/AppSettings.h"
#include "app/QAppDlg.h"
#include "app/vynwApp.h"
#include "app/RwMainWindow.h"
#include "evaluator/NumFormat.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"
#include "plate/Profile.h"

using namespace vyn;

TEST(TextExchangeOptions, CommaAsDecimalAndSeparatorIsRefusedWhereItIsSet)
{
    TTestHook hook;
    ShellFixture s;
    const char oldDecimal = gDecimalChar;
    const AppSettings before = GetAppSettings();
    hook.AnswerMessageBox(IDOK);
    bool stayed = false;
    hook.AnswerDialog(QAppDlg::kResId, IDOK, [&](TDialog& d) {
        EXPECT_TRUE(ClickReaches(*d.GetDlgItem(203)));  // comma
        d.SetDlgItemText(503, ",");
        d.SendCommand(IDOK);
        stayed = !d.HasEnded();
        d.SetDlgItemText(503, ";");
    });
    s.app->GetMainFrame()->SendCommand(CM_APPLICATION);
    EXPECT_TRUE(stayed);
    ASSERT_EQ(hook.MessageTexts().size(), 1u);
    EXPECT_EQ(hook.MessageTexts()[0].find("The decimal character is also the field separator"), 0u);
    EXPECT_EQ(gDecimalChar, ',');
    EXPECT_EQ(GetAppSettings().cellSeparator, ';');
    gDecimalChar = oldDecimal;
    GetAppSettings() = before;
    QAppDlg::ResetLastPage();
}

// With the decimal comma in use the export pages' samples show numbers with a comma, whole (not
// cut at the bottom into a dot), and with the dot once "Dot" is clicked; the program takes the
// dot on only when the dialog is saved.
TEST(TextExchangeOptions, FormatSamplesShowTheDecimalCharacterChosen)
{
    TTestHook hook;
    const char oldDecimal = gDecimalChar;
    {
        ShellFixture s([] { ProfileWriteInt(kAppSection, "comma", 1); });
        ASSERT_EQ(gDecimalChar, ',');
        std::string withComma, withDot;
        hook.AnswerDialog(QAppDlg::kResId, IDCANCEL, [&](TDialog& d) {
            // On the round box at the left, where a click on a radio button always lands.
            auto press = [&](int id) {
                TWindow& radio = *d.GetDlgItem(id);
                EXPECT_TRUE(ClickReaches(radio, 6, radio.GetClientRect().Height() / 2)) << id;
                TTestHook::ProcessEvents();
            };
            // The sample's text, each line whole within the field: a line cut at the field's
            // bottom shows a comma as a dot.
            auto sample = [&](int id) {
                std::string all;
                QWidget* field = d.GetDlgItem(id)->Widget();
                for (const TShownText& t : ShownTexts(field)) {
                    EXPECT_LE(t.rect.bottom(), field->contentsRect().bottom()) << id << ": \"" << t.text << "\" is cut";
                    all += t.text;
                }
                return all;
            };
            press(103);  // the "Results" page
            press(414);  // "Fixed": a number with decimals
            withComma = sample(421);
            press(101);
            press(202);  // "Dot"
            press(104);  // the "Plate data" page
            press(511);
            withDot = sample(518);
        });
        TWindow& main = *s.app->GetMainFrame();
        main.MoveWindow(0, 0, 1100, 800);
        main.ShowWindow(SW_SHOW);
        TTestHook::ProcessEvents();
        ASSERT_TRUE(ChooseMenuItem(main, CM_APPLICATION));
        EXPECT_NE(withComma.find("3,14"), std::string::npos) << withComma;
        EXPECT_NE(withDot.find("3.14"), std::string::npos) << withDot;
        EXPECT_EQ(gDecimalChar, ',') << "cancelled: the program keeps its comma";
    }
    gDecimalChar = oldDecimal;
    QAppDlg::ResetLastPage();
}
