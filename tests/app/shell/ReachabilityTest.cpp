// Every command that a response table of the program handles can be given by a user: it stands
// on the main window's menu bar, on a menu that a view hands over or pops up, on a gadget of a
// bar, or behind an accelerator key. Each view, frame and editor with a table of its own adds a
// row to kOwners below: how the running program brings it up, the menus it brings, and the
// commands it only sends to itself (with the reason).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <sstream>

#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/RwMainWindow.h"
#include "app/ReportCommands.h"
#include "app/TMyControlBar.h"
#include "app/vynwApp.h"
#include "app/vynwMDI.h"
#include "platform/gui/GadgetWindow.h"
#include "platform/gui/Menu.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"
#include "report_designer/AttrGlobals.h"
#include "report_designer/AttrEditor.h"
#include "report_designer/DesignerDialogs.h"
#include "report_designer/QRepView.h"
#include "report_designer/RPListDialogs.h"
#include "views/QLView.h"
#include "views/QNView.h"
#include "views/QPView.h"
#include "views/QSView.h"

using namespace vyn;

namespace {

struct TableOwner {
    const char* name;
    // Brings the owner up as a user would and answers the window whose table is checked;
    // nullptr checks the application's own table.
    std::function<TWindow*(ShellFixture&)> open;
    // Menu resources the owner hands to the main window or pops up while it is active.
    std::vector<int> menus;
    // Commands the program sends itself, never the user.
    std::set<unsigned> internal;
};

[[maybe_unused]] TWindow* OpenDemo(ShellFixture& s) { return s.app->OpenPlate(s.env.data + "/Demo.plt") ? dynamic_cast<TWindow*>(gActiveView) : nullptr; }

[[maybe_unused]] TWindow* ShowOf(ShellFixture& s, unsigned command)
{
    if (!OpenDemo(s)) return nullptr;
    if (!ChooseMenuItem(*s.app->GetMainFrame(), command)) return nullptr;
    TTestHook::ProcessEvents();
    return dynamic_cast<TWindow*>(gActiveView);
}

// A new report from the report list manager, open in the designer and active.
TWindow* OpenDesigner(ShellFixture& s)
{
    TTestHook::Get().AnswerDialog(kDlgRepManager, 104);  // "&New  >"
    TTestHook::Get().AnswerDialog(idRPSecDlg, IDOK);
    if (!ChooseMenuItem(*s.app->GetMainFrame(), CM_REPORTS)) return nullptr;
    TTestHook::ProcessEvents();
    return ActiveReportView(*s.app);
}

TWindow* DesignerFrame(ShellFixture& s) { return OpenDesigner(s) ? s.app->GetMDIClient()->GetActiveMDIChild() : nullptr; }

// The designer's attribute window, opened with its gadget; the rows' pane holds the table.
TWindow* AttributeWindow(ShellFixture& s)
{
    if (!OpenDesigner(s) || !ClickGadget(*gToolPalette, 7118)) return nullptr;
    TTestHook::ProcessEvents();
    return QRAttrGlobals::gAttrDlg;
}

const TableOwner kOwners[] = {
    {"Application", [](ShellFixture&) -> TWindow* { return nullptr; }, {}, {}},
    {"MainWindow", [](ShellFixture& s) -> TWindow* { return s.app->GetMainFrame(); }, {},
     {CM_HANDOVERREADY, CM_OPENPENDINGFILES}},
    // The designer's menu 140 stands on the bar while it is active, its gadgets on both bars.
    {"ReportDesigner", OpenDesigner, {}, {}},
    {"ReportDesignerFrame", DesignerFrame, {}, {}},
    {"AttributeWindow", AttributeWindow, {}, {}},
    // A view or editor whose commands are registered in its table adds a row here, e.g.
    // {"PlateView", OpenDemo, {111, 116, 117}, {}}; ShowOf opens a view through the View menu.
};

void PrintTo(const TableOwner& o, std::ostream* os) { *os << o.name; }

class Reachability : public ::testing::TestWithParam<TableOwner> {};

void AddBar(std::set<unsigned>& ids, const TGadgetWindow* bar)
{
    if (!bar) return;
    for (const TGadget* g : bar->Gadgets())
        if (g->GetId() > 0) ids.insert(static_cast<unsigned>(g->GetId()));
}

}  // namespace

TEST_P(Reachability, EveryHandledCommandHasAWayIn)
{
    TTestHook hook;
    ShellFixture s;
    s.app->ShowMainWindow();
    const TableOwner& owner = GetParam();
    TWindow* w = owner.open(s);
    std::vector<unsigned> handled;
    if (std::string(owner.name) == "Application") {
        handled = s.app->HandledCommands();
    } else {
        ASSERT_NE(w, nullptr) << owner.name << " did not come up";
        handled = w->HandledCommands();
    }

    std::set<unsigned> reachable;
    for (const TMenuBarItem& item : MenuBarItems(*s.app->GetMainFrame())) reachable.insert(item.id);
    for (int menu : owner.menus)
        for (const TMenuItemInfo& item : MenuItems(menu)) reachable.insert(static_cast<unsigned>(item.id));
    AddBar(reachable, gToolBar);
    AddBar(reachable, gToolPalette);

    std::ostringstream missing;
    for (unsigned id : handled)
        if (!reachable.count(id) && !owner.internal.count(id)) missing << ' ' << id;
    EXPECT_EQ(missing.str(), "") << owner.name << " handles commands that no menu, gadget or key gives";
}

INSTANTIATE_TEST_SUITE_P(EachTable, Reachability, ::testing::ValuesIn(kOwners),
                         [](const auto& info) { return std::string(info.param.name); });

// The main menu as a user meets it before any plate is open: every application command is on
// it, the ones that need a plate or whose dialog is not there yet are greyed, and the keys
// stand beside their items.
TEST(MainMenu, ItemsEnablersAndKeysWithoutAPlate)
{
    TTestHook hook;
    ShellFixture s;
    std::map<unsigned, TMenuBarItem> bar;
    for (const TMenuBarItem& item : MenuBarItems(*s.app->GetMainFrame())) bar.emplace(item.id, item);
    struct Row {
        unsigned id;
        const char* path;
        bool enabled;
        const char* key;
    };
    const Row rows[] = {
        {CM_FILENEW, "&File/&New plate", true, "Ctrl+N"},
        {CM_FILEOPEN, "&File/&Open...", true, "Ctrl+O"},
        {CM_FILESAVE, "&File/&Save", false, "Ctrl+S"},
        {CM_SAVEASMETHOD, "&File/Save as &method...", false, ""},
        {CM_PAGESETUP, "&File/Pa&ge setup...", true, ""},
        {CM_PREVIEW, "&File/Previ&ew...", false, ""},
        {CM_PRINT, "&File/&Print...", false, ""},
        {CM_REPORTPRINT, "&File/&Report print...", false, ""},
        {CM_REPORTPREVIEW, "&File/Report pre&view...", false, ""},
        {CM_EXIT, "&File/E&xit", true, "Alt+F4"},
        {CM_MEASURE, "&Plate/&Measure...", false, ""},
        {CM_CALCULATE, "&Plate/&Calculate", false, "F9"},
        {CM_CALIBRATE, "&Plate/Cali&brate", false, ""},
        {CM_SHOWSTATUS, "&Plate/Show &status", false, ""},
        {CM_EXPORTRESULTS, "&Plate/&Export results...", false, ""},
        {CM_IMPORTIDS, "&Plate/&Import identifications...", false, ""},
        {CM_NAMES, "&Definition/&Names...", false, ""},
        {CM_METHODINFO, "&Definition/&Info...", false, ""},
        {CM_CALCULATIONS, "&Definition/&Calculations...", false, ""},
        {CM_ADVANCEDCALC, "&Definition/Ad&vanced calculations...", false, ""},
        {CM_CALIBRATION, "&Definition/Cali&bration...", false, ""},
        {CM_METHODS, "&Definition/&Methods...", true, ""},
        {CM_REPORTS, "&Definition/&Reports ...", true, ""},
        {CM_SHOWPLATE, "&View/Plate matrix", false, ""},
        {CM_SHOWLIST, "&View/Sample list", false, ""},
        {CM_SHOWCURVE, "&View/Calibration curve", false, ""},
        {CM_APPLICATION, "&Options/&Application", true, ""},
        {CM_DATAPRESENTATION, "&Options/&Plate presentation...", false, ""},
        {CM_RESULTPRESENTATION, "&Options/&Results presentation...", false, ""},
        {CM_COMMUNICATION, "&Reader/&Communication", true, ""},
        {CM_PHOTOMETER, "&Reader/&Photometer", true, ""},
        {CM_HELPCONTENTS, "&Help/&Contents", true, ""},
        {CM_HELPCONTEXT, "&Help/Cu&rrent context", true, "F1"},
        {CM_HELPUSING, "&Help/&Using help", true, ""},
        {CM_ABOUT, "&Help/&About...", true, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        auto it = bar.find(r.id);
        ASSERT_NE(it, bar.end()) << "not on the menu bar";
        EXPECT_EQ(it->second.path, r.path);
        EXPECT_EQ(it->second.enabled, r.enabled);
        EXPECT_EQ(it->second.key, r.key);
    }
    // Mnemonics are unique within each popup, so a key picks one item.
    std::map<std::string, std::set<char>> seen;
    for (const auto& [id, item] : bar) {
        const std::size_t slash = item.path.rfind('/');
        const std::string popup = item.path.substr(0, slash), text = item.path.substr(slash + 1);
        const std::size_t amp = text.find('&');
        if (amp == std::string::npos || amp + 1 >= text.size()) continue;
        const char m = static_cast<char>(std::tolower(static_cast<unsigned char>(text[amp + 1])));
        EXPECT_TRUE(seen[popup].insert(m).second) << "'" << m << "' twice in " << popup;
    }
}
