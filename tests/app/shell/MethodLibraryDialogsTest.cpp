// The method library's dialogs over the real shell: a new plate from the chosen method with a
// sample limit, "Empty" and Cancel, storing the current method and replacing it, and the
// maintenance dialog's delete, restore and rename written back to the library file.
#include <gtest/gtest.h>

#include <cstdio>

#include "MethodLibraryShell.h"
#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/AppPaths.h"
#include "app/QDlgNameInfo.h"
#include "app/QSelMet.h"
#include "app/RwMainWindow.h"
#include "app/vynwApp.h"
#include "document/MethodPaths.h"
#include "document/QDoc.h"
#include "document/QMetod.h"
#include "platform/gui/ControlListBox.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/StringTable.h"
#include "document/PlateFile.h"
#include "app/TMyStatusBar.h"

using namespace vyn;

namespace {

struct Shell : MethodLibraryShell {
    void Command(unsigned id) { app->GetMainFrame()->SendCommand(id); }
};

std::vector<std::string> StoredNames() { return StoredMethodNames(); }

// Selects the row of the named method as the user does; false when it is not listed.
bool Pick(TDialog& d, const std::string& name)
{
    auto* list = dynamic_cast<TListBox*>(d.GetDlgItem(101));
    if (!list) return false;
    auto& dlg = dynamic_cast<QSelMet&>(d);
    for (int i = 0; i < dlg.Library().EntryCount(); ++i)
        if (dlg.Library().Entries()[i].name == name) {
            list->UserSelect(i);
            return dlg.Current() == i;
        }
    return false;
}

}  // namespace

TEST(MethodLibraryDialogs, NewPlateFromTheChosenMethodWithALimit)
{
    TTestHook hook;
    Shell s;
    ASSERT_GE(StoredNames().size(), 2u);
    ASSERT_EQ(StoredNames()[1], "Demo Parabole");

    // Cancel creates nothing.
    hook.AnswerDialog(QSelMet::kSelectId, IDCANCEL);
    s.Command(CM_FILENEW);
    EXPECT_EQ(gCurrentDoc, nullptr);

    std::string shownCount;
    hook.AnswerDialog(QSelMet::kSelectId, 108, [&](TDialog& d) {
        ASSERT_TRUE(Pick(d, "Demo Parabole"));
        shownCount = d.GetDlgItemText(104);
        EXPECT_EQ(d.GetDlgItemText(102), "Demo: parabola through the standards");
        EXPECT_EQ(d.GetDefaultId(), 108) << "Select is the default with a selection";
        d.SetDlgItemText(104, "2");
    });
    s.Command(CM_FILENEW);
    ASSERT_NE(gCurrentDoc, nullptr);
    EXPECT_EQ(shownCount, "4");
    const QPlate& p = gCurrentDoc->GetPlate();
    EXPECT_EQ(p.methodName, "Demo Parabole");
    EXPECT_EQ(p.sampleCount - p.fixedCount, 2) << "the limit cuts the sequential samples";

    // The next dialog preselects the method chosen last; "Empty" gives a plate without one.
    std::string preselected;
    hook.AnswerDialog(QSelMet::kSelectId, 109, [&](TDialog& d) {
        auto& dlg = dynamic_cast<QSelMet&>(d);
        if (dlg.Current() >= 0) preselected = dlg.Library().Entries()[dlg.Current()].name;
    });
    s.Command(CM_FILENEW);
    EXPECT_EQ(preselected, "Demo Parabole");
    ASSERT_NE(gCurrentDoc, nullptr);
    EXPECT_EQ(gCurrentDoc->GetPlate().methodName, "");
    EXPECT_EQ(gCurrentDoc->GetPlate().sampleCount, 0);
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

TEST(MethodLibraryDialogs, LimitSpinStaysWithinTheMethodsSamples)
{
    TTestHook hook;
    Shell s;
    std::vector<std::string> seen;
    hook.AnswerDialog(QSelMet::kSelectId, IDCANCEL, [&](TDialog& d) {
        ASSERT_TRUE(Pick(d, "Demo Linear"));
        TWindow* spin = d.GetDlgItem(110);
        ASSERT_NE(spin, nullptr);
        d.SendMessage(WM_VSCROLL, SB_LINEUP, reinterpret_cast<TParam2>(spin));
        seen.push_back(d.GetDlgItemText(104));
        for (int i = 0; i < 6; ++i) d.SendMessage(WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<TParam2>(spin));
        seen.push_back(d.GetDlgItemText(104));
        d.SetDlgItemText(104, "x");
        d.SendMessage(WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<TParam2>(spin));
        seen.push_back(d.GetDlgItemText(104));
    });
    s.Command(CM_FILENEW);
    EXPECT_EQ(seen, (std::vector<std::string>{"4", "0", "3"})) << "0 .. count; no number steps from the count";
}

TEST(MethodLibraryDialogs, AddChangeDeleteRestoreAndRename)
{
    TTestHook hook;
    Shell s;
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);

    // Store the current method under a new name.
    const std::vector<std::string> demo = StoredNames();
    auto plus = [&](std::vector<std::string> more) {
        std::vector<std::string> all = demo;
        all.insert(all.end(), more.begin(), more.end());
        return all;
    };
    const std::string plateMethod = gCurrentDoc->GetPlate().methodName;
    std::string offeredName;
    hook.AnswerDialog(QSelMet::kAddId, 114, [&](TDialog& d) {
        offeredName = d.GetDlgItemText(113);
        d.SetDlgItemText(113, "Mine");
        d.SetDlgItemText(112, "first version");
    });
    s.Command(CM_SAVEASMETHOD);
    EXPECT_EQ(offeredName, plateMethod) << "the plate's method name is offered";
    EXPECT_EQ(StoredNames(), plus({"Mine"}));

    // Change replaces it: the old version is no longer listed, the new one comes last.
    hook.AnswerDialog(QSelMet::kAddId, 115, [&](TDialog& d) {
        ASSERT_TRUE(Pick(d, "Mine"));
        d.SendCommand(111);  // Copy
        EXPECT_EQ(d.GetDlgItemText(112), "first version");
        d.SetDlgItemText(113, "Mine 2");
    });
    s.Command(CM_SAVEASMETHOD);
    EXPECT_EQ(StoredNames(), plus({"Mine 2"}));

    // Marking and unmarking again is no change: OK only closes.
    std::vector<std::string> okTexts, marks;
    hook.AnswerDialog(QSelMet::kUpdateId, IDOK, [&](TDialog& d) {
        okTexts.push_back(d.GetDlgItemText(IDOK));
        ASSERT_TRUE(Pick(d, "Demo Linear"));
        d.SendCommand(106);
        okTexts.push_back(d.GetDlgItemText(IDOK));
        marks.push_back(d.GetDlgItemText(107));
        EXPECT_EQ(d.GetDlgItemText(106), "Restore");
        EXPECT_FALSE(d.GetDlgItem(105)->IsWindowEnabled()) << "a marked method cannot be renamed";
        d.SendCommand(106);
        okTexts.push_back(d.GetDlgItemText(IDOK));
        marks.push_back(d.GetDlgItemText(107));
    });
    s.Command(CM_METHODS);
    EXPECT_EQ(okTexts, (std::vector<std::string>{"Close", "OK", "Close"}));
    EXPECT_EQ(marks, (std::vector<std::string>{"+", ""}));
    EXPECT_EQ(StoredNames(), plus({"Mine 2"}));

    // Delete one and rename another; the rewrite drops the replaced block too.
    hook.AnswerDialog(QDlgNameInfo::kResId, IDOK, [](TDialog& d) {
        EXPECT_EQ(d.GetDlgItemText(113), "Mine 2");
        d.SetDlgItemText(113, "");
        TTestHook::Type("Renamed", d.GetDlgItem(113));
    });
    hook.AnswerDialog(QSelMet::kUpdateId, IDOK, [&](TDialog& d) {
        ASSERT_TRUE(Pick(d, "Demo Parabole"));
        d.SendCommand(106);
        ASSERT_TRUE(Pick(d, "Mine 2"));
        d.SendCommand(105);
        EXPECT_EQ(d.GetDlgItemText(IDOK), "OK");
    });
    s.Command(CM_METHODS);
    std::vector<std::string> expected = plus({"Renamed"});
    expected.erase(expected.begin() + 1);
    EXPECT_EQ(StoredNames(), expected) << "Demo Parabole deleted, Mine 2 renamed";
    QMetod lib;
    lib.List();
    EXPECT_EQ(lib.Entries().back().comment, "first version");
    EXPECT_EQ(gLastMethodOffset, lib.Entries().back().offset) << "the selected method's new place";
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

TEST(MethodLibraryDialogs, NameDialogWithoutChangesCountsAsCancelled)
{
    TTestHook hook;
    Shell s;
    hook.AnswerDialog(QDlgNameInfo::kResId, IDOK);
    std::string okText;
    hook.AnswerDialog(QSelMet::kUpdateId, IDCANCEL, [&](TDialog& d) {
        ASSERT_TRUE(Pick(d, "Demo Linear"));
        d.SendCommand(105);
        okText = d.GetDlgItemText(IDOK);
    });
    s.Command(CM_METHODS);
    EXPECT_EQ(okText, "Close");
}

TEST(MethodLibraryDialogs, WithoutALibraryNothingIsListedAndAddCreatesIt)
{
    TTestHook hook;
    Shell s;
    ASSERT_EQ(std::remove(GetMtwFilePath().c_str()), 0);
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    std::string state;
    hook.AnswerDialog(QSelMet::kAddId, 114, [&](TDialog& d) {
        state = d.GetDlgItemText(102);
        d.SetDlgItemText(113, "First");
    });
    s.Command(CM_SAVEASMETHOD);
    EXPECT_EQ(state, "No method defined yet.");
    QMetod lib;
    lib.List();
    ASSERT_EQ(lib.EntryCount(), 1);
    EXPECT_EQ(lib.Entries()[0].offset, 0);
}

TEST(MethodLibraryDialogs, LongNamesAndCommentsAreCutAtWholeCharacters)
{
    TTestHook hook;
    Shell s;
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    auto repeat = [](const char* c, int n) {
        std::string t;
        for (int i = 0; i < n; ++i) t += c;
        return t;
    };
    const char* euro = "\xE2\x82\xAC";  // three bytes
    const char* eAcute = "\xC3\xA9";     // two bytes
    hook.AnswerDialog(QSelMet::kAddId, 114, [&](TDialog& d) {
        d.SetDlgItemText(113, repeat(euro, 400));
        d.SetDlgItemText(112, repeat(euro, 400));
    });
    s.Command(CM_SAVEASMETHOD);
    EXPECT_TRUE(gCurrentDoc->GetPlate().methodName == repeat(euro, 340)) << "1022 bytes hold 340 whole characters";
    EXPECT_TRUE(gCurrentDoc->GetPlate().methodInfo == repeat(euro, 340));
    QMetod lib;
    lib.List();
    ASSERT_GT(lib.EntryCount(), 0);
    EXPECT_TRUE(lib.Entries().back().name == repeat(euro, 340)) << "and so they are stored";

    // Renamed in the maintenance dialog and written back: the edit holds the 255 bytes stored,
    // 127 characters and the x typed after them.
    hook.AnswerDialog(QDlgNameInfo::kResId, IDOK, [&](TDialog& d) {
        d.SetDlgItemText(113, repeat(eAcute, 200));
        TTestHook::Type("x", d.GetDlgItem(113));
    });
    hook.AnswerDialog(QSelMet::kUpdateId, IDOK, [&](TDialog& d) {
        ASSERT_TRUE(Pick(d, repeat(euro, 340)));
        d.SendCommand(105);
    });
    s.Command(CM_METHODS);
    lib.List();
    ASSERT_GT(lib.EntryCount(), 0);
    EXPECT_TRUE(lib.Entries().back().name == repeat(eAcute, 127) + "x") << lib.Entries().back().name.size() << " bytes";
}

TEST(MethodLibraryDialogs, DeleteKeyInTheListMarksAndRestoresInOwnerDrawnRows)
{
    TTestHook hook;
    Shell s;
    std::vector<std::string> seen;
    hook.AnswerDialog(QSelMet::kUpdateId, IDCANCEL, [&](TDialog& d) {
        auto* list = dynamic_cast<TListBox*>(d.GetDlgItem(101));
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(list->IsOwnerDrawn());
        TMeasureItem standard{101, 0, 0, 0};
        list->TListBox::MeasureItem(standard);
        EXPECT_EQ(list->GetItemHeight(), standard.itemHeight * 5 / 4) << "rows a quarter higher than text";
        ASSERT_TRUE(Pick(d, "Demo Linear"));
        list->SetFocus();
        TTestHook::Key(VK_DELETE, 0, list);
        seen.push_back(d.GetDlgItemText(107) + "|" + d.GetDlgItemText(106) + "|" + d.GetDlgItemText(IDOK));
        TTestHook::Key(VK_DELETE, 0, list);
        seen.push_back(d.GetDlgItemText(107) + "|" + d.GetDlgItemText(106) + "|" + d.GetDlgItemText(IDOK));
    });
    s.Command(CM_METHODS);
    EXPECT_EQ(seen, (std::vector<std::string>{"+|Restore|OK", "|Delete|Close"}));
}

// With the data folder's disk full, "Add" stores nothing and changes nothing of the plate: its
// method keeps its name, the status line shows it, and the plate is not marked changed.
TEST(MethodLibraryDialogs, AFailedAddLeavesThePlatesMethodAsItWas)
{
    TTestHook hook;
    Shell s;
    RwMainWindow& main = *s.app->GetMainFrame();
    s.app->ShowMainWindow();
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    QDoc* doc = gCurrentDoc;
    ASSERT_NE(doc, nullptr);
    const std::string method = doc->GetPlate().methodName, comment = doc->GetPlate().methodInfo;
    ASSERT_FALSE(method.empty());
    // The program's idle time fills the status line.
    s.app->IdleAction(0);
    ASSERT_EQ(StatusLineText(*gStatusBar), method);
    std::string library;
    ASSERT_TRUE(ReadWholeFile(GetMtwFilePath(), library));

    bool stayedOpen = false;
    hook.AnswerDialog(QSelMet::kAddId, 0, [&](TDialog& d) {
        ASSERT_TRUE(TypeIntoField(*d.GetDlgItem(113), "NewMeth"));
        {
            FileFault full(FileStep::Write, 1, ENOSPC);
            ASSERT_TRUE(ClickReaches(*d.GetDlgItem(114)));  // "Add"
            TTestHook::ProcessEvents();
            EXPECT_TRUE(full.Fired());
        }
        stayedOpen = !d.HasEnded();
        ASSERT_TRUE(ClickReaches(*d.GetDlgItem(IDCANCEL)));
    });
    hook.AnswerMessageBox(IDOK);
    ASSERT_TRUE(ChooseMenuItem(main, CM_SAVEASMETHOD));
    TTestHook::ProcessEvents();

    EXPECT_EQ(hook.MessageTexts(), std::vector<std::string>{GetResStringStd(kMsgErrorWritingFile)});
    EXPECT_TRUE(stayedOpen) << "the dialog stays open on its failure";
    std::string after;
    ASSERT_TRUE(ReadWholeFile(GetMtwFilePath(), after));
    EXPECT_TRUE(after == library) << "the library is unchanged";
    EXPECT_EQ(doc->GetPlate().methodName, method);
    EXPECT_EQ(doc->GetPlate().methodInfo, comment);
    EXPECT_FALSE(doc->IsDirty());
    s.app->IdleAction(0);
    EXPECT_EQ(StatusLineText(*gStatusBar), method) << "the status line keeps the plate's method";
}
