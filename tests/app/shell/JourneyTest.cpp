// A new user's first session, given only through the menu bar, the tool bar and the title bar:
// open the demo plate, look at its sample list and calibration curve, open the options, page
// setup and presentation dialogs, preview the plate and close the preview, use a menu again,
// save the plate under a relative name and open that again, and end the program.
#include <gtest/gtest.h>

#include <filesystem>

#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/QAppDlg.h"
#include "app/QDefPres.h"
#include "app/RwMainWindow.h"
#include "app/TMyControlBar.h"
#include "app/vynwAboutDlg.h"
#include "app/vynwApp.h"
#include "app/vynwMDI.h"
#include "document/QDoc.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/GadgetWindow.h"
#include "platform/gui/ModalLoop.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"
#include "printing/AStpPgDlg.h"
#include "printing/TRwPreview.h"
#include "views/QLView.h"
#include "views/QPView.h"
#include "views/QSView.h"

using namespace vyn;

namespace {

std::vector<std::string> FrameTitles(vynwApp& app)
{
    std::vector<std::string> titles;
    // As each frame's title bar shows it.
    for (TMDIChild* c : app.GetMDIClient()->Children()) titles.push_back(ShownCaption(*c));
    return titles;
}

}  // namespace

TEST(Journey, FirstSessionThroughMenusAndToolBar)
{
    TTestHook hook;
    ShellFixture s;
    RwMainWindow& main = *s.app->GetMainFrame();
    s.app->ShowMainWindow();
    std::string answer;
    SetFileDialogAnswer([&answer](bool, const std::string&) { return answer; });

    // The tool bar's Open button, the demo plate chosen in the file dialog.
    answer = s.env.data + "/Demo.plt";
    ASSERT_TRUE(ClickGadget(*gToolBar, CM_FILEOPEN));
    TTestHook::ProcessEvents();
    ASSERT_NE(dynamic_cast<QPView*>(gActiveView), nullptr) << "the demo plate is shown";
    QDoc* doc = gCurrentDoc;

    ASSERT_TRUE(ChooseMenuItem(main, CM_SHOWLIST));
    TTestHook::ProcessEvents();
    EXPECT_NE(dynamic_cast<QLView*>(gActiveView), nullptr);
    ASSERT_TRUE(ChooseMenuItem(main, CM_SHOWCURVE));
    TTestHook::ProcessEvents();
    EXPECT_NE(dynamic_cast<QSView*>(gActiveView), nullptr);
    EXPECT_EQ(s.app->GetMDIClient()->Children().size(), 3u);

    // The options are on the plate view's menu (the curve view's menu has none): the plate first.
    ASSERT_TRUE(ChooseMenuItem(main, CM_SHOWPLATE));
    TTestHook::ProcessEvents();
    hook.AnswerDialog(QAppDlg::kResId, IDCANCEL);
    hook.AnswerDialog(AStpPgDlg::kResId, IDCANCEL);
    hook.AnswerDialog(QDefPres::kResId, IDCANCEL);
    hook.AnswerDialog(QDefPres::kResId, IDCANCEL);
    for (unsigned id : {CM_APPLICATION, CM_PAGESETUP, CM_DATAPRESENTATION, CM_RESULTPRESENTATION}) {
        EXPECT_TRUE(ChooseMenuItem(main, id)) << id;
        TTestHook::ProcessEvents();
    }
    EXPECT_EQ(hook.DialogsRun(), (std::vector<int>{QAppDlg::kResId, AStpPgDlg::kResId, QDefPres::kResId, QDefPres::kResId}));

    // Back to the plate, its preview, closed with the preview's own close button.
    ASSERT_TRUE(ChooseMenuItem(main, CM_SHOWPLATE));
    TTestHook::ProcessEvents();
    ASSERT_NE(dynamic_cast<QPView*>(gActiveView), nullptr);
    bool previewed = false;
    WhenModalWindowRuns([&](TWindow& w) {
        auto* preview = dynamic_cast<TRwPreview*>(&w);
        ASSERT_NE(preview, nullptr);
        previewed = preview->pageCount > 0;
        ClickGadget(preview->GetControlBar(), CM_PREVIEWCLOSE);
    });
    ASSERT_TRUE(ChooseMenuItem(main, CM_PREVIEW));
    TTestHook::ProcessEvents();
    EXPECT_TRUE(previewed) << "the plate's pages were shown";
    EXPECT_FALSE(InModalLoop());

    // A menu works after the preview.
    hook.AnswerDialog(vynwAboutDlg::kResId, IDOK);
    EXPECT_TRUE(ChooseMenuItem(main, CM_ABOUT));
    TTestHook::ProcessEvents();
    EXPECT_EQ(hook.DialogsRun().back(), vynwAboutDlg::kResId);

    // Save as under a relative name: it lands in the current folder and every frame of the
    // plate shows the new path.
    const std::string copy = s.env.data + "/Copy of demo.plt";
    answer = "Copy of demo.plt";
    ASSERT_TRUE(ChooseMenuItem(main, CM_FILESAVEAS));
    TTestHook::ProcessEvents();
    ASSERT_TRUE(std::filesystem::exists(copy));
    EXPECT_EQ(doc->GetDocPath(), copy);
    for (const std::string& title : FrameTitles(*s.app)) EXPECT_EQ(title, copy);

    ASSERT_TRUE(ChooseMenuItem(main, CM_FILECLOSE));
    TTestHook::ProcessEvents();
    EXPECT_TRUE(s.app->GetDocManager().GetDocuments().empty());
    ASSERT_TRUE(ChooseMenuItem(main, CM_FILEOPEN));
    TTestHook::ProcessEvents();
    ASSERT_NE(gCurrentDoc, nullptr);
    EXPECT_EQ(gCurrentDoc->GetDocPath(), copy);

    // The title bar's close button ends the program.
    RequestClose(main);
    TTestHook::ProcessEvents();
    EXPECT_FALSE(main.IsWindow());
    EXPECT_TRUE(TakeQuitRequest());
    EXPECT_EQ(hook.UnansweredBoxes(), 0);
    SetFileDialogAnswer(nullptr);
}
