// The wizard driven offscreen through the test hook, from the Welcome page to an installed
// program, and refused when its INF could not be read.
#include <gtest/gtest.h>

#include "../core/SetupTree.h"
#include "platform/gui/ControlListBox.h"
#include "platform/gui/PropertySheet.h"
#include "platform/gui/ResBitmap.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"
#include "setup/core/SetupJob.h"
#include "setup/wizard/GuiSetupUi.h"
#include "setup/wizard/SetupWizard.h"

using namespace vyn;
using namespace vyn::test;

namespace {

void Press(TPropertySheet& sheet, int button)
{
    TWindow* b = sheet.GetDlgItem(button);
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(b->IsWindowVisible() && b->IsWindowEnabled()) << button;
    TTestHook::Click(*b);
    TTestHook::ProcessEvents();
}

}  // namespace

TEST(SetupWizard, RunsFromWelcomeToAnInstalledProgram)
{
    SetupTree tree;
    WriteFile(tree.menuFolder + "Lab Apps/keep", "");
    WriteFile(tree.menuFolder + ".hidden/keep", "");
    SetupContext ctx;
    GuiSetupUi ui;
    tree.Start(ctx, tree.setupFolder + "setup", {}, ui);

    TTestHook hook;
    hook.AnswerMessageBox(IDCANCEL);  // the destination is no full path: stay
    hook.AnswerMessageBox(IDOK);      // the menu folder starts with a dot
    hook.AnswerMessageBox(IDOK);      // installed
    const std::string chosen = tree.root + "chosen";
    hook.AnswerDialog(kIddFolderChooser, IDOK, [&](TDialog& c) {
        // The relative destination left by the cancelled warning has no existing folder:
        // the chooser opens at the program-files folder.
        EXPECT_EQ(c.GetDlgItemText(1088), tree.programFiles + "/");
        EXPECT_EQ(c.GetDlgItemText(101), "relative/path/");
        c.SetDlgItemText(101, chosen + "  ");
    });
    hook.AnswerDialog(kIddWizardSheet, 0, [&](TDialog& d) {
        auto& sheet = dynamic_cast<TPropertySheet&>(d);
        TTestHook::ProcessEvents();
        EXPECT_EQ(sheet.GetWindowText(), "Setup for " + ctx.systemName);
        EXPECT_FALSE(sheet.GetDlgItem(TPropertySheet::ID_PSBACK)->IsWindowEnabled());
        Press(sheet, TPropertySheet::ID_PSNEXT);

        ASSERT_EQ(sheet.GetActiveIndex(), 1);
        EXPECT_EQ(sheet.GetWindowText(), "Choose Destination");
        TPropertyPage* dest = sheet.GetActivePage();
        EXPECT_EQ(dest->GetDlgItemText(301), tree.programFiles + "/Talvorne/Vyn");
        dest->SetDlgItemText(301, "relative/path");
        Press(sheet, TPropertySheet::ID_PSNEXT);
        EXPECT_EQ(sheet.GetActiveIndex(), 1) << "the warning was cancelled";
        TTestHook::Click(*dest->GetDlgItem(302));
        EXPECT_EQ(dest->GetDlgItemText(301), chosen + "  ");
        Press(sheet, TPropertySheet::ID_PSNEXT);
        EXPECT_EQ(dest->GetDlgItemText(301), chosen + "/") << "trimmed, with a trailing slash";

        ASSERT_EQ(sheet.GetActiveIndex(), 2);
        TPropertyPage* menu = sheet.GetActivePage();
        EXPECT_EQ(menu->GetDlgItemText(401), "Vyn Test");
        auto* list = dynamic_cast<TListBox*>(menu->GetDlgItem(402));
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->GetCount(), 1) << "hidden folders are not listed";
        menu->SetDlgItemText(401, "  .Vyn ");
        Press(sheet, TPropertySheet::ID_PSNEXT);
        EXPECT_EQ(sheet.GetActiveIndex(), 2);
        EXPECT_EQ(menu->GetDlgItemText(401), ".Vyn");
        list->UserSelect(0);
        EXPECT_EQ(menu->GetDlgItemText(401), "Lab Apps");
        Press(sheet, TPropertySheet::ID_PSNEXT);

        ASSERT_EQ(sheet.GetActiveIndex(), 3);
        TPropertyPage* confirm = sheet.GetActivePage();
        EXPECT_EQ(confirm->GetDlgItemText(501), chosen + "/");
        EXPECT_EQ(confirm->GetDlgItemText(502), "Lab Apps");
        EXPECT_FALSE(sheet.GetDlgItem(TPropertySheet::ID_PSNEXT)->IsWindowVisible());
        Press(sheet, TPropertySheet::ID_PSBACK);
        EXPECT_EQ(sheet.GetActiveIndex(), 2);
        Press(sheet, TPropertySheet::ID_PSNEXT);
        Press(sheet, TPropertySheet::ID_PSFINISH);
    });

    EXPECT_EQ(RunSetupJob(ctx, [](SetupContext& c) { return RunWizard(c); }), 2);
    std::vector<std::string> texts = hook.MessageTexts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1], "Menu folder must not start with a dot.");
    EXPECT_EQ(texts[2], "Application was successfuly installed.");
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
    EXPECT_EQ(ReadFile(chosen + "/vyn"), "#!/bin/sh\n# the program\n");
    EXPECT_TRUE(Exists(tree.menuFolder + "Lab Apps/Vyn.desktop"));
    EXPECT_TRUE(Exists(tree.menuFolder + "Lab Apps/keep"));
}

// Each page shows its picture at its left, page after page as Next is clicked.
TEST(SetupWizard, EachPageShowsItsPicture)
{
    SetupTree tree;
    SetupContext ctx;
    GuiSetupUi ui;
    tree.Start(ctx, tree.setupFolder + "setup", {}, ui);
    TTestHook hook;
    std::vector<int> shown;
    hook.AnswerDialog(kIddWizardSheet, IDCANCEL, [&](TDialog& d) {
        auto& sheet = dynamic_cast<TPropertySheet&>(d);
        TTestHook::ProcessEvents();
        for (int picture : {604, 602, 603, 601}) {
            TWindow* frame = sheet.GetActivePage()->GetDlgItem(101);
            ASSERT_NE(frame, nullptr);
            if (ShowsPicture(*frame, LoadResBitmap(picture))) shown.push_back(picture);
            if (picture != 601) {
                EXPECT_TRUE(ClickReaches(*sheet.GetDlgItem(TPropertySheet::ID_PSNEXT)));
                TTestHook::ProcessEvents();
            }
        }
    });
    RunSetupJob(ctx, [](SetupContext& c) { return RunWizard(c); });
    EXPECT_EQ(shown, (std::vector<int>{604, 602, 603, 601}));
}

TEST(SetupWizard, AnUnreadableInfEndsTheWizardWithItsMessage)
{
    struct Row {
        const char* name;
        std::string inf;  // empty: the file cannot be opened
        const char* text;
    };
    const Row rows[] = {
        {"missing", "", "INF setup file missing."},
        {"damaged", "[MainVynSetup\n", "INF setup file missing.\nThe section name is not closed with ']' in vyn.inf, line 1."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        SetupTree tree;
        SetupContext ctx;
        GuiSetupUi ui;
        tree.Start(ctx, tree.setupFolder + "setup", {}, ui);
        if (r.inf.empty()) ctx.inf.Open(tree.setupFolder + "nothing.inf");
        else ctx.inf.Parse(r.inf, "vyn.inf");
        TTestHook hook;
        hook.AnswerMessageBox(IDOK);
        hook.AnswerDialog(kIddWizardSheet, 0, [&](TDialog& d) {
            auto& sheet = dynamic_cast<TPropertySheet&>(d);
            TTestHook::ProcessEvents();
            if (!sheet.HasEnded()) Press(sheet, TPropertySheet::ID_PSNEXT);
        });
        EXPECT_EQ(RunWizard(ctx), 0);
        EXPECT_EQ(hook.MessageTexts(), std::vector<std::string>{r.text});
    }
}

TEST(SetupWizard, DestinationsAndMenuNames)
{
    SetupTree tree;
    SetupContext ctx;
    GuiSetupUi ui;
    tree.Start(ctx, tree.setupFolder + "setup", {}, ui);
    struct Dest {
        const char* programFiles;
        const char* inf;
        const char* want;
    };
    for (const Dest& d : {Dest{"/opt", "Lab/Vyn", "/opt/Lab/Vyn"}, Dest{"/opt/", "/srv/Lab/Vyn", "/srv/Lab/Vyn"},
                          Dest{"", "Lab", "/Lab"}}) {
        ctx.programFilesFolder = d.programFiles;
        ASSERT_TRUE(ctx.inf.Parse(std::string("[MainVynSetup]\nDefaDestPath = ") + d.inf + "\n", "t.inf"));
        EXPECT_EQ(DefaultDestination(ctx), d.want) << d.programFiles << " + " << d.inf;
    }
    EXPECT_EQ(CheckMenuFolderName(""), 27133);
    EXPECT_EQ(CheckMenuFolderName(".Vyn"), 27134);
    EXPECT_EQ(CheckMenuFolderName("Lab/Vyn"), 27135);
    EXPECT_EQ(CheckMenuFolderName("Lab\\Vyn"), 27135);
    EXPECT_EQ(CheckMenuFolderName("Vyn 2.0"), 0);
    EXPECT_EQ(NearestExistingFolder(tree.root + "a/b/c/", "/fallback/"), tree.root);
}

// Disabled until the window layer's sheet hands the focus to Finish when it hides Next: the
// focus then falls to Cancel and Enter cancels the installation.
TEST(SetupWizard, EnterOnEveryPageInstallsWithTheProposedChoices)
{
    // Enter presses the default button: Next on the first three pages, Finish on the last,
    // which must also hold the focus once Next is hidden.
    for (unsigned key : {VK_RETURN, VK_SPACE}) {
        SCOPED_TRACE(key);
        SetupTree tree;
        SetupContext ctx;
        GuiSetupUi ui;
        tree.Start(ctx, tree.setupFolder + "setup", {}, ui);
        TTestHook hook;
        hook.AnswerMessageBox(IDOK);  // installed
        hook.AnswerDialog(kIddWizardSheet, 0, [&](TDialog& d) {
            auto& sheet = dynamic_cast<TPropertySheet&>(d);
            TTestHook::ProcessEvents();
            for (int page = 1; page <= 3; ++page) {
                TTestHook::Key(VK_RETURN);
                TTestHook::ProcessEvents();
                ASSERT_EQ(sheet.GetActiveIndex(), page);
            }
            TWindow* finish = sheet.GetDlgItem(TPropertySheet::ID_PSFINISH);
            ASSERT_TRUE(finish->IsWindowVisible());
            EXPECT_EQ(sheet.GetDefaultId(), TPropertySheet::ID_PSFINISH);
            TTestHook::Key(key);
            TTestHook::ProcessEvents();
            EXPECT_TRUE(sheet.HasEnded());
        });
        EXPECT_EQ(RunSetupJob(ctx, [](SetupContext& c) { return RunWizard(c); }), 2);
        EXPECT_EQ(hook.MessageTexts(), std::vector<std::string>{"Application was successfuly installed."});
        EXPECT_EQ(ReadFile(tree.destination + "vyn"), "#!/bin/sh\n# the program\n");
    }
}
