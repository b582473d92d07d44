// The main window offscreen: bars, the demo plate in a child frame, the idle refresh of the
// status gadgets, the busy strip, and the question before a changed plate closes.
#include <gtest/gtest.h>

#include <filesystem>

#include "PlateInput.h"
#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/AppPaths.h"
#include "app/QPictButtGadget.h"
#include "app/RwMainWindow.h"
#include "app/TMyControlBar.h"
#include "app/TMyStatusBar.h"
#include "app/TMySwitchTG.h"
#include "app/vynwApp.h"
#include "app/vynwMDI.h"
#include "document/MethodPaths.h"
#include "document/QDoc.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"
#include "plate/Profile.h"
#include "printing/PageSettings.h"
#include "printing/RWPrinter.h"
#include "app/AppSettings.h"

using namespace vyn;

namespace {
using Shell = ShellFixture;
}  // namespace

TEST(MainWindowTest, BuildsWithBarsAndOpensTheDemoPlate)
{
    TTestHook hook;
    Shell s;
    ASSERT_TRUE(s.app->GetMainFrame()->IsWindow());
    ASSERT_EQ(gToolBar->GadgetCount(), 5);  // new, open, separator, insert and eject carrier
    EXPECT_EQ(gToolBar->Gadgets()[2], gToolBarGadgets[0]);
    EXPECT_EQ(gToolPalette->FirstGadget(), gModeButton);
    s.app->IdleAction(0);
    EXPECT_EQ(gStateGadget->GetSelected(), 4) << "no plate: the empty state";
    EXPECT_EQ(gStatusBar->GetText(), "");

    TDocument* doc = s.app->OpenPlate(s.env.data + "/Demo.plt");
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(s.app->GetMDIClient()->Children().size(), 1u);
    EXPECT_EQ(gCurrentDoc, doc);
    EXPECT_FALSE(doc->IsDirty()) << "the automatic calculation after loading is no change";
    s.app->IdleAction(0);
    EXPECT_EQ(gStatusBar->GetText(), gCurrentDoc->GetPlate().methodName);
    const int validity = gCurrentDoc->GetPlate().validity;
    if (gCurrentDoc->GetPlate().validations.DefinitionCount() > 0) {
        EXPECT_EQ(gStateGadget->GetText(), validity == 1 ? "VALID" : (validity == 2 ? "INVALID" : (validity == -1 ? "ERROR" : "?")));
    }
    // The mode gadget shows the plate's measurement time whole: 10 December 2026, 10:00.
    const std::int64_t measured = (13'441'334'400LL + 10 * 3600) * 1000;
    gCurrentDoc->GetPlate().measureTime = static_cast<std::uint64_t>(measured);
    s.app->IdleAction(0);
    EXPECT_EQ(gModeGadget->GetText(), FileTimeText(measured));
    gStatusBar->LayoutSession();
    const int inside = gModeGadget->GetBounds().Width() - 2 * 2;  // within its recessed border
    EXPECT_GE(inside, gStatusBar->TextWidth(gModeGadget->GetText())) << "the date is cut";
    EXPECT_EQ(s.app->OpenPlate(s.env.data + "/Demo.plt"), doc) << "an open plate is not opened twice";
    EXPECT_EQ(s.app->GetMDIClient()->Children().size(), 1u);
}

TEST(MainWindowTest, ClosingAChangedPlateAsksAndCancelKeepsIt)
{
    TTestHook hook;
    Shell s;
    s.app->ShowMainWindow();
    TDocument* doc = s.app->OpenPlate(s.env.data + "/Demo.plt");
    ASSERT_NE(doc, nullptr);
    TTestHook::ProcessEvents();
    auto* view = dynamic_cast<QPView*>(gActiveView);
    ASSERT_NE(view, nullptr);
    TypeIntoWell(*view, 4, 4, "0.3");
    ASSERT_TRUE(doc->IsDirty());
    hook.AnswerMessageBox(IDCANCEL);
    EXPECT_TRUE(ChooseMenuItem(*s.app->GetMainFrame(), CM_FILECLOSE));
    ASSERT_EQ(hook.Messages().size(), 1u);
    EXPECT_NE(hook.Messages()[0].text.find("Demo.plt"), std::string::npos);
    EXPECT_EQ(s.app->GetDocManager().GetDocuments().size(), 1u);
    hook.AnswerMessageBox(IDNO);
    EXPECT_TRUE(ChooseMenuItem(*s.app->GetMainFrame(), CM_FILECLOSE));
    TTestHook::ProcessEvents();
    EXPECT_TRUE(s.app->GetDocManager().GetDocuments().empty());
    EXPECT_TRUE(s.app->GetMDIClient()->Children().empty());
    EXPECT_EQ(gCurrentDoc, nullptr);
    EXPECT_EQ(gToolBar->GadgetCount(), 5) << "the neutral tool bar is back";
    EXPECT_EQ(gModeButton->GetCommandId(), static_cast<int>(CM_MODEBUTTON));
}

TEST(MainWindowTest, BusyStripStepsAndWraps)
{
    TTestHook hook;
    Shell s;
    std::uint64_t now = 1000;
    TMyStatusBar::SetTickSource([&now] { return now; });
    gStatusBar->SetMetricsForTest(TRect(0, 0, 200, 20), 5);
    gStatusBar->StartBusy();
    EXPECT_EQ(gStatusBar->BlockWidth(), 60);
    EXPECT_EQ(gStatusBar->Step(), 20);
    std::vector<int> positions;
    for (int i = 0; i < 11; ++i) {
        gStatusBar->Advance();
        gStatusBar->Advance();  // within 50 ms: no step
        positions.push_back(gStatusBar->BlockPosition());
        now += 50;
    }
    EXPECT_EQ(positions, (std::vector<int>{20, 40, 60, 80, 100, 120, 140, 160, 180, 0, 20}));
    gStatusBar->SuspendBusy();
    gStatusBar->SuspendBusy();
    gStatusBar->ResumeBusy();
    EXPECT_FALSE(gStatusBar->ShowsWaitCursor()) << "the outer suspension still holds";
    gStatusBar->ResumeBusy();
    EXPECT_TRUE(gStatusBar->ShowsWaitCursor());
    gStatusBar->SuspendBusy();
    gStatusBar->StopBusy();
    EXPECT_EQ(gStatusBar->BusyLevel(), 0);
    EXPECT_FALSE(gStatusBar->ShowsWaitCursor());
    TMyStatusBar::SetTickSource(nullptr);
}

TEST(MainWindowTest, SwitchGadgetAndPictureButton)
{
    TMySwitchTG g(0, 7);
    for (int i = 0; i < 9; ++i) g.AddText("t" + std::to_string(i));
    EXPECT_EQ(g.EntryCount(), 8) << "a ninth entry is ignored";
    QPictButtGadget b(1029, 7, 1029);
    const int builds = b.GlyphBuilds();
    b.SetPicture(0);
    b.SetText("");
    EXPECT_EQ(b.GlyphBuilds(), builds) << "no change, no rebuild";
    b.SetPicture(7);
    EXPECT_EQ(b.GetPicture(), 0);
    b.SetPicture(3);
    b.SetPicture(-1);
    EXPECT_EQ(b.GetPicture(), 0);
    b.SetLetter('a');
    EXPECT_EQ(b.GetText(), "a");
    b.SetLetter(0);
    EXPECT_EQ(b.GetText(), "");
    b.SetNumber(12);
    EXPECT_EQ(b.GetText(), "12");
}

// Each status gadget, in each of its states, paints its text whole: no state word ("INVALID",
// "DEFINITION") is cut at the gadget's edge.
TEST(MainWindowTest, StatusGadgetsShowEachOfTheirTextsWhole)
{
    TTestHook hook;
    Shell s;
    TWindow& main = *s.app->GetMainFrame();
    main.MoveWindow(0, 0, 1100, 800);
    main.ShowWindow(SW_SHOW);
    TTestHook::ProcessEvents();
    for (TMySwitchTG* g : {gModeGadget, gStateGadget}) {
        for (int i = 0; i < g->EntryCount(); ++i) {
            const std::string text = g->EntryText(i);
            if (text.empty()) continue;
            g->Select(i);  // the state the program's idle refresh would put it in
            g->ClearTouched();
            TTestHook::ProcessEvents();
            bool found = false;
            for (const TShownText& run : ShownTexts(gStatusBar->Widget())) {
                if (run.text != text) continue;
                found = true;
                EXPECT_GE(run.rect.width(), gStatusBar->TextWidth(text)) << "\"" << text << "\" is cut";
            }
            EXPECT_TRUE(found) << text;
        }
    }
}

// The main window comes up as the last run left it, and the end of a run records how it was.
TEST(MainWindowTest, ShowStateIsRestoredAndSaved)
{
    struct Row {
        const char* name;
        void (*prepare)();
        bool startsMaximised;
        bool endsMaximised;
        int written;
    };
    const Row rows[] = {
        {"ended maximised", [] { ProfileWriteInt(kAppSection, "iniMaxShow", 1); }, true, true, 1},
        {"a stored 2 is no maximised start", [] { ProfileWriteInt(kAppSection, "iniMaxShow", 2); }, false, true, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TTestHook hook;
        auto s = std::make_unique<Shell>(r.prepare);
        RwMainWindow& main = *s->app->GetMainFrame();
        s->app->ShowMainWindow();
        TTestHook::ProcessEvents();
        EXPECT_EQ(main.IsZoomed(), r.startsMaximised);
        main.ShowWindow(r.endsMaximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        TTestHook::ProcessEvents();
        RequestClose(main);
        TTestHook::ProcessEvents();
        EXPECT_TRUE(TakeQuitRequest());
        s->app.reset();
        EXPECT_EQ(ProfileGetInt(kAppSection, "iniMaxShow", -1), r.written);
        s.reset();
    }
}

TEST(MainWindowTest, FirstDocThatVisitsTheOpenDocumentsOfItsKindInOrder)
{
    TTestHook hook;
    Shell s;
    auto count = [](auto&, void* n) -> std::int32_t {
        ++*static_cast<int*>(n);
        return 0;
    };
    auto takeTitle = [](QDoc& doc, void* title) -> std::int32_t {
        *static_cast<std::string*>(title) = doc.GetTitle();
        return 7;
    };
    int n = 0;
    EXPECT_EQ(s.app->FirstDocThat(count, &n), 0);
    EXPECT_EQ(n, 0) << "no plate open";

    std::filesystem::copy_file(s.env.data + "/Demo.plt", s.env.data + "/B.plt");
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/B.plt"), nullptr);
    TDocTemplate* report = s.app->GetDocManager().FindTemplate("Report");
    ASSERT_NE(report, nullptr);
    ASSERT_NE(s.app->GetDocManager().CreateDoc(*report, {}, dtNewDoc | dtNoAutoView), nullptr);

    n = 0;
    EXPECT_EQ(s.app->FirstDocThat(count, &n), 0);
    EXPECT_EQ(n, 2) << "the report is no plate";
    std::string first;
    EXPECT_EQ(s.app->FirstDocThat(takeTitle, &first), 7);
    EXPECT_EQ(first, s.app->GetDocManager().GetDocuments().front()->GetTitle()) << "the first one opened";
    n = 0;
    EXPECT_EQ(s.app->FirstRepDocThat(count, &n), 0);
    EXPECT_EQ(n, 1);
}

TEST(MainWindowTest, PrinterChangeReplacesThePrinterOnlyForItsSection)
{
    TTestHook hook;
    Shell s;
    RWPrinter* before = s.app->GetPrinter();
    ASSERT_NE(before, nullptr);
    s.app->EvWinIniChange("intl");
    s.app->IdleAction(0);
    EXPECT_EQ(s.app->GetPrinter(), before) << "another section leaves the printer";
    if (!TPrinter::DefaultPrinterName().empty()) GTEST_SKIP() << "this machine has a default printer";
    s.app->EvWinIniChange("windows");
    EXPECT_EQ(s.app->GetPrinter(), before) << "not while a command may hold it";
    s.app->IdleAction(0);
    EXPECT_NE(s.app->GetPrinter(), before) << "no default printer: the printer object is made anew";
    EXPECT_NE(s.app->GetPrinter(), nullptr);
}
