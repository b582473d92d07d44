// Print, preview, page setup, saving into the report list and the context menu: what the view
// decides around the dialogs and windows the rest of the program supplies.
#include <gtest/gtest.h>

#include "DesignerFixture.h"
#include "plate/QPlate.h"
#include "report_designer/QRInPlaceEdit.h"
#include "reports/RPObjectTextBox.h"

namespace vyn::test {
namespace {

TEST(PrintCommands, WithoutPlateDocumentsTheDefinitionIsPrintedWithoutAsking)
{
    DesignerFixture f;
    int asked = 0, printed = 0, previewed = 0;
    QRepViewShell& shell = GetRepViewShell();
    shell.plateDocumentOpen = [] { return false; };
    shell.choosePrintSource = [&asked](QRepView&) { return ++asked, true; };
    shell.print = [&printed](QRepView&) { ++printed; };
    shell.preview = [&previewed](QRepView&) { ++previewed; };
    QPlate stale;
    f.report().SetRunSource(&stale, nullptr);  // from an earlier print; cleared
    f.view->SendCommand(cmRepPrint);
    f.view->SendCommand(cmRepPreview);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(printed, 1);
    EXPECT_EQ(previewed, 1);
    EXPECT_EQ(f.report().Plate(), nullptr);
}

TEST(PrintCommands, CancellingThePrintoutModeDialogPrintsNothingAndNoPrinterDoesNothing)
{
    DesignerFixture f;
    int printed = 0;
    QRepViewShell& shell = GetRepViewShell();
    shell.plateDocumentOpen = [] { return true; };
    shell.choosePrintSource = [](QRepView&) { return false; };
    shell.print = [&printed](QRepView&) { ++printed; };
    f.view->SendCommand(cmRepPrint);
    EXPECT_EQ(printed, 0);
    shell.print = nullptr;  // no printer
    f.view->SendCommand(cmRepPrint);
    EXPECT_TRUE(f.hook.Messages().empty());
}

TEST(PrintCommands, PageSetupWithoutTheApplicationSaysSo)
{
    DesignerFixture f;
    f.hook.AnswerMessageBox(IDOK);
    f.view->SendCommand(cmRepPageSetup);
    EXPECT_EQ(f.hook.MessageTexts(), std::vector<std::string>{"INTERNAL: MyApp missing in REPVIEW source."});
}

TEST(PrintCommands, SavingIntoTheReportList)
{
    struct Case {
        const char* name;
        int result;
        bool dirtyAfter;
        std::vector<std::string> messages;
    } cases[] = {
        {"stored", 1, false, {}},
        {"cancelled", 0, true, {}},
        {"library not written", -1, true, {"Cannot write report list file."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DesignerFixture f;
        f.doc.SetDirty(true);
        GetRepViewShell().saveInReportList = [&c](QRepView&) { return c.result; };
        f.hook.AnswerMessageBox(IDOK);
        f.view->SendCommand(cmRepSaveInList);
        EXPECT_EQ(f.doc.IsDirty(), c.dirtyAfter);
        EXPECT_EQ(f.hook.MessageTexts(), c.messages);
    }
}

TEST(PrintCommands, RightClickOpensTheWizardOnlyOverTheTextOfASingleSelectedTextBox)
{
    DesignerFixture f;
    auto* box = static_cast<RPObjectTextBox*>(f.Add(bandDetail, otTextBox, 1440, 360, 2880, 360));
    box->StoreContents("Result");
    int wizards = 0;
    GetRepViewShell().expressionWizard = [&wizards](QRepView& v, TEdit& edit) {
        ++wizards;
        EXPECT_TRUE(v.TextEditor()->wizardOpen);
        edit.SetWindowText("=conc");
        edit.SetModify(true);
    };
    const TPoint inside = f.At(bandDetail, box->Pixels().x + 30, box->Pixels().y + 10);
    auto rightClick = [&] {
        f.view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(inside.x, inside.y));
        // The request carries the point on the screen.
        const TPoint screen = f.view->ClientToScreen(inside);
        f.view->SendMessage(WM_CONTEXTMENU, reinterpret_cast<TParam1>(static_cast<TWindow*>(f.view)),
                            MAKELPARAM(screen.x, screen.y));
    };
    rightClick();
    EXPECT_EQ(wizards, 0) << "nothing selected";
    f.view->SelectObject(box);
    f.view->SendCommand(cmRepTextBox);
    f.view->SelectObject(box);
    rightClick();
    EXPECT_EQ(wizards, 0) << "a placing tool";
    f.view->SendCommand(cmRepPointer);
    f.view->SelectObject(box);
    f.view->SetFocus();
    rightClick();
    ASSERT_EQ(wizards, 1);
    ASSERT_TRUE(f.view->Editing());
    TTestHook::Key(VK_RETURN, 0, f.view->TextEditor());
    EXPECT_EQ(box->GetContents(), "=conc") << "the wizard's text replaced the selected contents";
}

}  // namespace
}  // namespace vyn::test
