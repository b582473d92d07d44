// The report designer in the running program: a new report from the report list manager takes
// the sections chosen last, the designer's gadgets stand on the shell's bars while its frame is
// active, and every command the view handles is on its menu, a gadget, a key or its context menu.
#include <gtest/gtest.h>

#include <algorithm>
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

}  // namespace
