// The method sheet's curve-fit page keeps a fixed coefficient typed as "nan" or "1e999" out of
// the method: leaving the page says it is not a number and shows the kept value again.
#include <gtest/gtest.h>

#include "../../app/shell/ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/AppSettings.h"
#include "document/QDoc.h"
#include "method_editors/QAllPsh.h"
#include "method_editors/QPageCurveFit.h"
#include "plate/QPlate.h"
#include "platform/gui/PropertySheet.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/UserInput.h"

using namespace vyn;

namespace curve_fit_page_numbers {

TEST(CurveFitPage, FixedCoefficientThatIsNoNumberIsRefusedWhenThePageIsLeft)
{
    TTestHook hook;
    ShellFixture shell;
    shell.app->GetMainFrame()->MoveWindow(0, 0, 1100, 800);
    shell.app->GetMainFrame()->ShowWindow(SW_SHOW);
    TTestHook::ProcessEvents();
    auto* doc = dynamic_cast<QDoc*>(shell.app->OpenPlate(shell.env.data + "/Demo.plt"));
    ASSERT_NE(doc, nullptr);
    TTestHook::ProcessEvents();
    ASSERT_EQ(doc->GetPlate().calibr.model, 0) << "the demo curve is linear: K1 can be fixed";

    gMethodSheetPage = QAllPsh::pgCurveFit;
    std::vector<std::string> expected;
    hook.AnswerDialog(QAllPsh::kResId, 0, [&](TDialog& d) {
        auto& sheet = dynamic_cast<QAllPsh&>(d);
        TTestHook::ProcessEvents();
        TDialog& page = *sheet.GetActivePage();
        ASSERT_NE(dynamic_cast<QPageCurveFit*>(&page), nullptr);
        ASSERT_TRUE(ClickReaches(*page.GetDlgItem(QPageCurveFit::kFixK1)));
        TTestHook::ProcessEvents();
        for (const char* text : {"nan", "1e999"}) {
            SCOPED_TRACE(text);
            EXPECT_TRUE(TypeIntoField(*page.GetDlgItem(QPageCurveFit::kK1), text));
            hook.AnswerMessageBox(IDOK);
            EXPECT_TRUE(ClickReaches(*sheet.GetDlgItem(IDOK)));
            TTestHook::ProcessEvents();
            expected.push_back("\"" + std::string(text) + "\" is not a number.");
            ASSERT_TRUE(sheet.IsWindow() && sheet.IsWindowVisible()) << "the sheet stays open";
            EXPECT_EQ(page.GetDlgItemText(QPageCurveFit::kK1), "1") << "the kept value is shown again";
        }
        EXPECT_TRUE(TypeIntoField(*page.GetDlgItem(QPageCurveFit::kK1), "2"));
        EXPECT_TRUE(ClickReaches(*sheet.GetDlgItem(IDOK)));
        TTestHook::ProcessEvents();
    });
    ASSERT_TRUE(ClickMenuItem(*shell.app->GetMainFrame(), "Definition", "Advanced calculations..."));
    EXPECT_EQ(hook.MessageTexts(), expected);
    EXPECT_EQ(doc->GetPlate().calibr.fixedK, 2);
    EXPECT_EQ(doc->GetPlate().calibr.K1, 2.0);
    EXPECT_EQ(hook.UnansweredBoxes(), 0);
}

}  // namespace curve_fit_page_numbers
