// The report designer in the running program: a new report from the report list manager takes
// the sections chosen last, the designer's gadgets stand on the shell's bars while its frame is
// active, and every command the view handles is on its menu, a gadget, a key or its context menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "../../app/shell/ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/QPictButtGadget.h"
#include "app/TMyControlBar.h"
#include "app/vynwMDI.h"
#include "platform/core/DocManager.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/Menu.h"
#include "platform/gui/testing/UserInput.h"
#include "report_designer/DesignerDialogs.h"
#include "report_designer/QRPMDIChild.h"
#include "report_designer/QRepView.h"
#include "report_designer/RPListDialogs.h"
#include "reports/QRepDoc.h"
#include "reports/RPReport.h"
#include "reports/RPSection.h"

using namespace vyn;

namespace {

struct DesignerShell : ShellFixture {
    DesignerShell()
    {
        // Shown, as a user sees it: the mouse and the menu reach only a visible window.
        app->GetMainFrame()->MoveWindow(0, 0, 1100, 800);
        app->GetMainFrame()->ShowWindow(SW_SHOW);
        TTestHook::ProcessEvents();
    }
    void Command(unsigned id)
    {
        app->GetMainFrame()->CommandStart()->SendCommand(id);
        TTestHook::ProcessEvents();
    }
    std::vector<QRepDoc*> Reports() const
    {
        std::vector<QRepDoc*> out;
        for (TDocument* d : app->GetDocManager().GetDocuments())
            if (auto* r = dynamic_cast<QRepDoc*>(d)) out.push_back(r);
        return out;
    }
    // "&Reports ...", then "&New  >" in the report list manager.
    void NewReport()
    {
        TTestHook::Get().AnswerDialog(kDlgRepManager, 104);
        Command(CM_REPORTS);
    }
    // The view of the designer frame that is active now.
    QRepView* Designer() const
    {
        auto* frame = dynamic_cast<QRPMDIChild*>(app->GetMDIClient()->GetActiveMDIChild());
        return frame ? &frame->Pane().View() : nullptr;
    }
    // A new report in the designer, its frame active and the view with the keyboard.
    QRepView& OpenDesigner()
    {
        TTestHook::Get().AnswerDialog(idRPSecDlg, IDOK);
        NewReport();
        QRepView* v = Designer();
        EXPECT_NE(v, nullptr);
        v->SetFocus();
        TTestHook::ProcessEvents();
        return *v;
    }
    std::map<unsigned, TMenuBarItem> MenuBar() const
    {
        std::map<unsigned, TMenuBarItem> items;
        for (const TMenuBarItem& i : MenuBarItems(*app->GetMainFrame())) items.emplace(i.id, i);
        return items;
    }
    static bool OnBar(TMyControlBar* bar, unsigned id)
    {
        if (!bar) return false;
        for (TGadget* g : bar->Gadgets())
            if (g->GetId() == static_cast<int>(id)) return true;
        return false;
    }
};

TEST(DesignerInShell, NewReportStartsWithTheLastSectionsAndCancelDiscardsIt)
{
    TTestHook hook;
    DesignerShell s;
    std::snprintf(gSectionFlags, sizeof gSectionFlags, "%s", "10111");
    std::string offered;
    hook.AnswerDialog(idRPSecDlg, IDCANCEL, [&offered](TDialog& d) {
        for (int id = 101; id <= 105; ++id)
            offered += dynamic_cast<TCheckBox*>(d.GetDlgItem(id))->GetCheck() == TCheckBox::BF_CHECKED ? '1' : '0';
    });
    s.NewReport();
    EXPECT_EQ(offered, "10111");
    EXPECT_TRUE(s.Reports().empty()) << "a cancelled new report is discarded";

    hook.AnswerDialog(idRPSecDlg, IDOK, [](TDialog& d) { dynamic_cast<TCheckBox*>(d.GetDlgItem(105))->Click(); });
    s.NewReport();
    ASSERT_EQ(s.Reports().size(), 1u);
    RPReport& r = s.Reports()[0]->Report();
    std::string bands;
    for (int i = 0; i < 5; ++i) bands += r.Band(i).Enabled() ? '1' : '0';
    EXPECT_EQ(bands, "10110");
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

TEST(DesignerInShell, DesignerGadgetsStandOnTheBarsWhileItsFrameIsActive)
{
    TTestHook hook;
    DesignerShell s;
    hook.AnswerDialog(idRPSecDlg, IDOK);
    s.NewReport();
    ASSERT_EQ(s.Reports().size(), 1u);
    for (unsigned id : {24333u, 24322u, 7119u, 2604u, 2603u}) EXPECT_TRUE(s.OnBar(gToolBar, id)) << id;
    for (unsigned id : {7109u, 7110u, 7111u, 7112u, 7113u, 7114u, 7115u, 7118u}) EXPECT_TRUE(s.OnBar(gToolPalette, id)) << id;
    ASSERT_NE(gModeButton, nullptr);
    EXPECT_EQ(gModeButton->GetCommandId(), 7108) << "the shared button cancels the tools";

    // A plate view taking over puts its own gadgets up; closing it brings the designer's back.
    TDocument* plate = s.app->OpenPlate(s.env.data + "/Demo.plt");
    ASSERT_NE(plate, nullptr);
    TTestHook::ProcessEvents();
    EXPECT_FALSE(s.OnBar(gToolPalette, 7109));
    EXPECT_NE(gModeButton->GetCommandId(), 7108);
    s.app->GetDocManager().CloseDoc(*plate);
    TTestHook::ProcessEvents();
    for (TMDIChild* c : s.app->GetMDIClient()->Children())
        if (dynamic_cast<QRPMDIChild*>(c)) s.app->GetMDIClient()->ActivateChild(*c);
    TTestHook::ProcessEvents();
    EXPECT_TRUE(s.OnBar(gToolPalette, 7109));

    // The designer closed: nothing of it stays.
    s.Reports()[0]->SetDirty(false);
    s.app->GetDocManager().CloseDoc(*s.Reports()[0]);
    TTestHook::ProcessEvents();
    EXPECT_FALSE(s.OnBar(gToolPalette, 7109));
    EXPECT_FALSE(s.OnBar(gToolBar, 7119));
    EXPECT_EQ(gModeButton->GetCommandId(), CM_MODEBUTTON);
}

TEST(DesignerInShell, EveryHandledCommandCanBeReached)
{
    // The view's response table, and the ways besides menu 140: the bars, the keys (Esc for the
    // pointer, F1 for help) and the right click that opens the expression wizard.
    const std::vector<unsigned> handled = {24322, 24323, 24324, 24325, 7119, 7101, 7107, 7102, 7108, 7109, 7110,
                                           7111,  7112,  7113,  7114,  7115, 7116, 7117, 7118, 24336, 2603, 2604,
                                           7301,  2005};
    std::set<unsigned> found = {7108, 2005};
    for (const TMenuItemInfo& item : MenuItems(140)) found.insert(static_cast<unsigned>(item.id));
    const QRepViewBars bars = QRepView::Bars();
    found.insert(bars.mainBar.begin(), bars.mainBar.end());
    found.insert(bars.toolBar.begin(), bars.toolBar.end());
    for (unsigned id : handled) EXPECT_TRUE(found.count(id)) << "command " << id << " cannot be reached";
}

TEST(DesignerInShell, TheMenuBarIsTheDesignersWhileItIsActive)
{
    TTestHook hook;
    DesignerShell s;
    RwMainWindow& main = *s.app->GetMainFrame();
    const int own = main.GetShownMenuId();
    QRepView& view = s.OpenDesigner();
    EXPECT_EQ(main.GetShownMenuId(), 140);
    auto bar = s.MenuBar();
    EXPECT_EQ(bar.at(7109).path, "&Tools/&Text Box");
    EXPECT_EQ(bar.at(24325).key, "Del");
    // As the view's enablers say: nothing selected, so nothing to cut; the pointer is checked.
    EXPECT_FALSE(bar.at(24322).enabled);
    EXPECT_FALSE(bar.at(7119).enabled);
    EXPECT_TRUE(bar.at(7102).enabled);
    EXPECT_TRUE(bar.at(7118).enabled);

    // A tool chosen from the menu: the sections dialog waits for the pointer again.
    ASSERT_TRUE(ChooseMenuItem(main, 7110));
    EXPECT_EQ(view.Tool(), 2);
    EXPECT_FALSE(s.MenuBar().at(7102).enabled);
    ASSERT_TRUE(ChooseMenuItem(main, 7108));
    EXPECT_EQ(view.Tool(), 0);

    // The grid switch and the lock answer from the menu and show their state there.
    const bool grid = view.ShowGrid();
    ASSERT_TRUE(ChooseMenuItem(main, 7117));
    EXPECT_NE(view.ShowGrid(), grid);

    // Another frame active, or none: the menu goes back.
    TDocument* plate = s.app->OpenPlate(s.env.data + "/Demo.plt");
    ASSERT_NE(plate, nullptr);
    TTestHook::ProcessEvents();
    EXPECT_NE(main.GetShownMenuId(), 140);
    s.app->GetDocManager().CloseDoc(*plate);
    TTestHook::ProcessEvents();
    for (TMDIChild* c : s.app->GetMDIClient()->Children())
        if (dynamic_cast<QRPMDIChild*>(c)) s.app->GetMDIClient()->ActivateChild(*c);
    TTestHook::ProcessEvents();
    EXPECT_EQ(main.GetShownMenuId(), 140);
    s.Reports()[0]->SetDirty(false);
    s.app->GetDocManager().CloseDoc(*s.Reports()[0]);
    TTestHook::ProcessEvents();
    EXPECT_EQ(main.GetShownMenuId(), own);
}

TEST(DesignerInShell, ATextBoxGadgetPlacesAnObjectWithTheMouse)
{
    TTestHook hook;
    DesignerShell s;
    QRepView& view = s.OpenDesigner();
    RPSection& detail = view.Report().Band(bandDetail);
    ASSERT_TRUE(ClickGadget(*gToolPalette, 7110));
    EXPECT_EQ(view.Tool(), 2) << "the rectangle gadget chooses its tool";
    const int top = detail.BodyTop();
    DragMouse(view, 60, top + 10, 160, top + 50);
    ASSERT_EQ(detail.Objects().size(), 1u);
    const RPObject& placed = *detail.Objects()[0];
    EXPECT_EQ(placed.GetType(), otRectangle);
    EXPECT_GT(placed.GetWidth(), 1000);
    EXPECT_GT(placed.GetHeight(), 400);
    EXPECT_EQ(view.Tool(), 0) << "unlocked, the tool goes back to the pointer";
    EXPECT_TRUE(view.Doc().IsDirty());

    // Locked from its gadget, the tool stays for the next object.
    ASSERT_TRUE(ClickGadget(*gToolPalette, 7111));
    ASSERT_TRUE(ClickGadget(*gToolPalette, 7115));
    DragMouse(view, 200, top + 10, 300, top + 10);
    DragMouse(view, 200, top + 40, 300, top + 40);
    EXPECT_EQ(detail.Objects().size(), 3u);
    EXPECT_EQ(view.Tool(), 3);
    // Esc, as the menu says, is the pointer again.
    PressKey(view, VK_ESCAPE);
    EXPECT_EQ(view.Tool(), 0);
    EXPECT_FALSE(view.Locked());
    view.Doc().SetDirty(false);
}

TEST(DesignerInShell, TheKeysOfTheMenuReachTheView)
{
    TTestHook hook;
    DesignerShell s;
    QRepView& view = s.OpenDesigner();
    RPSection& detail = view.Report().Band(bandDetail);
    const int top = detail.BodyTop();
    ASSERT_TRUE(ClickGadget(*gToolPalette, 7110));
    DragMouse(view, 60, top + 10, 160, top + 50);
    ASSERT_EQ(view.Selection().size(), 1u) << "a placed object is selected";
    PressKey(view, 'C', MK_CONTROL);
    PressKey(view, 'V', MK_CONTROL);
    EXPECT_EQ(detail.Objects().size(), 2u);
    PressKey(view, VK_DELETE);
    EXPECT_EQ(detail.Objects().size(), 1u);
    PressKey(view, VK_INSERT, MK_SHIFT);
    EXPECT_EQ(detail.Objects().size(), 2u);
    PressKey(view, VK_DELETE, MK_SHIFT);
    EXPECT_EQ(detail.Objects().size(), 1u);
    view.Doc().SetDirty(false);
}

}  // namespace
