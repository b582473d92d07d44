// Help for every context the program sends: each command of every menu, each button on the bars
// as every view and mode puts them there, every view in each of its modes and the dialogs that
// the menus open have a topic of their own, and F1 pressed in a view or a dialog opens the help
// window at that window's topic, never at the contents.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/AppPaths.h"
#include "app/QAppDlg.h"
#include "app/QDefPres.h"
#include "app/QDlgDesc.h"
#include "app/QDlgNameInfo.h"
#include "app/ReportCommands.h"
#include "app/RwMainWindow.h"
#include "app/TMyControlBar.h"
#include "app/vynwAboutDlg.h"
#include "app/vynwApp.h"
#include "app/vynwMDI.h"
#include "calibration_dialogs/QCalDlg.h"
#include "controls/QCalErrDlg.h"
#include "controls/QVarNameDlg.h"
#include "method_editors/ColorDlg.h"
#include "method_editors/CtxWzDlg.h"
#include "method_editors/NumFormatDlg.h"
#include "method_editors/QWizzSettings.h"
#include "reader_dialogs/QCalSel.h"
#include "reader_dialogs/QComSetupDlg.h"
#include "reader_dialogs/QFltDlg.h"
#include "reader_dialogs/QMeaDlg.h"
#include "reader_dialogs/ReaderOptionsDlgs.h"
#include "reader_dialogs/ReaderRunner.h"
#include "readers/QCommSettings.h"
#include "readers/QFoto.h"
#include "report_designer/AttrDialogs.h"
#include "report_designer/RPPrintDialogs.h"
#include "reports/CRepList.h"
#include "method_editors/QAllPsh.h"
#include "platform/core/ResFiles.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/GadgetWindow.h"
#include "platform/gui/HelpWindow.h"
#include "platform/gui/MenuTemplate.h"
#include "platform/gui/PrinterDialogs.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"
#include "printing/AStpPgDlg.h"
#include "printing/RWPrinter.h"
#include "printing/TRwPreview.h"
#include "report_designer/DesignerDialogs.h"
#include "report_designer/QRepView.h"
#include "report_designer/RPListDialogs.h"
#include "views/QLView.h"
#include "views/QPView.h"
#include "views/QSView.h"

using namespace vyn;

namespace {

bool HasTopic(unsigned id) { return HelpTopicExists(GetHelpFilePath(), static_cast<int>(id)); }

std::string Missing(const std::set<unsigned>& ids)
{
    std::ostringstream out;
    for (unsigned id : ids)
        if (!HasTopic(id)) out << ' ' << id;
    return out.str();
}

// What F1 in the window shows: the topic's id and the heading at the top of the help window.
struct Shown {
    int topic;
    std::string heading;
};

Shown PressF1(TWindow& w)
{
    ResetLastHelpTopic();
    PressKey(w, VK_F1);
    TTestHook::ProcessEvents();
    const Shown shown{LastHelpTopic(), ShownHelpHeading()};
    // Read, the help window is closed again, so that it lies over no window the user works in.
    CloseHelpWindow();
    TTestHook::ProcessEvents();
    return shown;
}

TWindow* ActiveViewWindow() { return dynamic_cast<TWindow*>(gActiveView); }

void AddButtonsOf(std::set<unsigned>& ids, const TGadgetWindow* bar)
{
    if (!bar) return;
    // A right click opens help at a button's id when it is below 0x8000.
    for (const TGadget* g : bar->Gadgets())
        if (g->GetId() > 0 && g->GetId() < 0x8000) ids.insert(static_cast<unsigned>(g->GetId()));
}

struct HelpShell : ShellFixture {
    HelpShell()
    {
        app->GetMainFrame()->MoveWindow(0, 0, 1100, 800);
        app->ShowMainWindow();
        TTestHook::ProcessEvents();
        BringToFront(*app->GetMainFrame());
    }
    bool OpenDemo()
    {
        app->OpenPlate(env.data + "/Demo.plt");
        TTestHook::ProcessEvents();
        return dynamic_cast<QPView*>(gActiveView) != nullptr;
    }
};

}  // namespace

TEST(HelpTopics, EveryMenuCommandHasATopic)
{
    std::set<unsigned> ids;
    for (int m = 0; m < res::kMenuCount; ++m)
        for (int i = 0; i < res::kMenuTable[m].count; ++i)
            if (res::kMenuTable[m].items[i].kind == miItem) ids.insert(static_cast<unsigned>(res::kMenuTable[m].items[i].id));
    ASSERT_GT(ids.size(), 100u);
    EXPECT_EQ(Missing(ids), "") << "menu commands without a help topic";
}

// Every link of the contents and of the topics leads to a topic, and no topic is there twice.
TEST(HelpTopics, LinksLeadToTopicsAndTopicsAreUnique)
{
    std::string html;
    ASSERT_TRUE(ReadResFile(GetHelpFilePath(), html));
    std::map<std::string, int> anchors;
    const std::regex id(R"re(id="([a-z0-9]+)")re"), href(R"re(href="#([a-z0-9]+)")re");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), id); it != std::sregex_iterator(); ++it)
        ++anchors[(*it)[1]];
    std::ostringstream broken, twice;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), href); it != std::sregex_iterator(); ++it)
        if (!anchors.count((*it)[1])) broken << ' ' << (*it)[1];
    for (const auto& [name, count] : anchors)
        if (count > 1) twice << ' ' << name;
    EXPECT_EQ(broken.str(), "");
    EXPECT_EQ(twice.str(), "");
}

// The plate matrix in each of its ten modes, the sample list in its three, the two curve
// windows and the report designer: F1 in the view opens its own topic, and every button the bars
// show meanwhile has one.
TEST(HelpTopics, EveryViewModeAndEveryButtonOfTheBars)
{
    TTestHook hook;
    HelpShell s;
    std::set<unsigned> buttons;
    AddButtonsOf(buttons, gToolBar);
    AddButtonsOf(buttons, gToolPalette);
    ASSERT_TRUE(s.OpenDemo());

    std::map<int, std::string> views;  // topic -> heading shown
    std::ostringstream wrong;
    auto visit = [&](const std::string& where) {
        AddButtonsOf(buttons, gToolBar);
        AddButtonsOf(buttons, gToolPalette);
        TWindow* view = ActiveReportView(*s.app) ? ActiveReportView(*s.app) : ActiveViewWindow();
        ASSERT_NE(view, nullptr) << where;
        const Shown shown = PressF1(*view);
        if (shown.topic <= 0 || shown.topic != view->GetContextHelpId() || shown.heading.empty() || shown.heading == "Vyn")
            wrong << where << ": topic " << shown.topic << " \"" << shown.heading << "\"\n";
        views[shown.topic] = shown.heading;
    };

    // The plate matrix: display, data entry (typing the data values), layout editing and its tools.
    visit("plate matrix");
    hook.AnswerDialog(10, IDOK);  // Data Type Selection, when the plate asks
    ASSERT_TRUE(s.Choose(cmDataEntry));
    visit("data entry");
    ASSERT_TRUE(s.Choose(cmStopEntry));
    ASSERT_TRUE(s.Choose(cmLayoutMode));
    visit("layout");
    for (unsigned tool : {cmControls, cmStandards, cmQualitative, cmQuantitative, cmRepeat, cmEditSample, cmRenumber}) {
        ASSERT_TRUE(s.Choose(tool)) << tool;
        visit("tool " + std::to_string(tool));
        if (tool == cmStandards || tool == cmQuantitative) {
            // The arrangements and the dilution buttons stand on the bar with these tools.
            ASSERT_TRUE(s.Choose(cmArrangeLast));
            AddButtonsOf(buttons, gToolBar);
        }
        ASSERT_TRUE(s.Choose(cmPointer)) << tool;
    }
    ASSERT_TRUE(s.Choose(cmNormalView));

    // The sample list: display, identification entry, list modifications.
    ASSERT_TRUE(s.Choose(cmSampleList));
    visit("sample list");
    ASSERT_TRUE(s.Choose(cmIdentifications));
    visit("identification entry");
    ASSERT_TRUE(s.Choose(cmStopIdEntry));
    ASSERT_TRUE(s.Choose(cmListModify));
    visit("list modifications");
    ASSERT_TRUE(s.Choose(cmStopListModify));
    // Down the list to a quantitative sample, whose graph can then be shown.
    auto graphOffered = [&] {
        for (const TMenuBarItem& item : MenuBarItems(s.Main()))
            if (item.id == cmSampleGraph) return item.enabled;
        return false;
    };
    for (int row = 0; row < 96 && !graphOffered(); ++row) {
        PressKey(*ActiveViewWindow(), VK_DOWN);
        TTestHook::ProcessEvents();
    }
    ASSERT_TRUE(s.Choose(cmSampleGraph));
    visit("sample graph");
    ASSERT_TRUE(s.Choose(cmCalibrationCurve));
    visit("calibration curve");

    // The report designer, a new report from the report list.
    hook.AnswerDialog(kDlgRepManager, 104);  // "&New  >"
    hook.AnswerDialog(idRPSecDlg, IDOK);
    ASSERT_TRUE(s.Choose(cmPlateMatrix));
    ASSERT_TRUE(s.Choose(CM_REPORTS));
    ASSERT_NE(ActiveReportView(*s.app), nullptr);
    visit("report designer");

    EXPECT_EQ(wrong.str(), "") << "F1 in these views did not open their own topic";
    EXPECT_EQ(views.size(), 16u) << "each view mode has a topic of its own";
    EXPECT_EQ(views.at(3242), "The plate matrix: layout editing");
    EXPECT_EQ(views.at(QRepView::kHelpContext), "The report designer");
    const std::set<unsigned> met = {cmNextDilution, cmPrevDilution, cmReplication, 2496u, cmRenumber,
                                    CM_FILENEW,     CM_INSERTCARRIER, CM_MODEBUTTON};
    for (unsigned id : met)
        EXPECT_TRUE(buttons.count(id)) << "the walk met button " << id;
    EXPECT_EQ(Missing(buttons), "") << "buttons without a help topic";
    CloseHelpWindow();
}

// The dialogs the menus open: F1 in each opens a topic of its own, none the contents or the
// topic of the view behind it.
TEST(HelpTopics, F1InEveryDialogOfTheMenusOpensItsOwnTopic)
{
    TTestHook hook;
    HelpShell s;
    ASSERT_TRUE(s.OpenDemo());
    const int viewTopic = ActiveViewWindow()->GetContextHelpId();

    struct Opened {
        unsigned command;
        int resId;
    };
    const Opened dialogs[] = {
        {CM_MEASURE, 1},
        {CM_PHOTOMETER, 2},
        {CM_COMMUNICATION, 3},
        {CM_CALIBRATION, QCalDlg::kResId},
        {CM_NAMES, QDlgDesc::kResId},
        {CM_METHODINFO, QDlgNameInfo::kResId},
        {CM_METHODS, 1456},
        {CM_SHOWSTATUS, QCalErrDlg::kResId},
        {CM_APPLICATION, QAppDlg::kResId},
        {CM_DATAPRESENTATION, QDefPres::kResId},
        {CM_RESULTPRESENTATION, QDefPres::kResId},
        {CM_PAGESETUP, AStpPgDlg::kResId},
        {CM_PRINT, TPrintDialog::kResId},
        {CM_ABOUT, vynwAboutDlg::kResId},
        {CM_ADVANCEDCALC, QAllPsh::kResId},
        {CM_REPORTS, kDlgRepManager},
    };
    std::map<int, std::string> topics;
    std::ostringstream wrong;
    for (const Opened& d : dialogs) {
        Shown shown{-1, {}};
        hook.AnswerDialog(d.resId, IDCANCEL, [&shown](TDialog& dlg) { shown = PressF1(dlg); });
        // Some commands show another view of the plate: each starts from the plate matrix.
        ASSERT_TRUE(s.Choose(CM_SHOWPLATE));
        EXPECT_TRUE(s.Choose(d.command)) << d.command;
        if (shown.topic <= 0 || shown.topic == viewTopic || shown.topic == kMainHelpContext || shown.heading.empty() ||
            shown.heading == "Vyn" || topics.count(shown.topic))
            wrong << "command " << d.command << ": topic " << shown.topic << " \"" << shown.heading << "\"\n";
        topics[shown.topic] = shown.heading;
    }
    // The print preview, a modal frame of its own.
    ASSERT_TRUE(s.Choose(CM_SHOWPLATE));
    Shown preview{-1, {}};
    WhenModalWindowRuns([&preview](TWindow& w) {
        preview = PressF1(w);
        if (auto* frame = dynamic_cast<TRwPreview*>(&w)) ClickGadget(frame->GetControlBar(), CM_PREVIEWCLOSE);
    });
    EXPECT_TRUE(s.Choose(CM_PREVIEW));
    EXPECT_EQ(preview.heading, "Print preview");
    EXPECT_EQ(wrong.str(), "");
    EXPECT_EQ(topics[3312], "Communication Port Setup") << "the reader's port dialog";
    EXPECT_EQ(topics[3310], "Measure");
    EXPECT_EQ(topics[3304], "Print");
    CloseHelpWindow();
}

// The dialogs that open from other dialogs, from the designer or from a reader operation, as they
// are made: each carries a help context of its own, and the help file has its topic.
TEST(HelpTopics, DialogsOpenedFromOtherWindowsHaveTopicsOfTheirOwn)
{
    TTestHook hook;
    HelpShell s;
    TWindow* main = &s.Main();
    QCommSettings port;
    std::string options;
    QWizzFormat format;
    CRepList reports(s.env.data + "/none.mrw");
    ASSERT_NE(gReader, nullptr);
    const std::vector<std::pair<std::string, std::function<std::unique_ptr<TDialog>()>>> dialogs = {
        {"measure", [&] { return std::make_unique<QMeaDlg>(main); }},
        {"filters", [&] { return std::make_unique<QFltDlg>(main); }},
        {"port", [&] { return std::make_unique<QComSetupDlg>(main, port); }},
        {"progress", [&] { return std::make_unique<QRunnerDlg>(main, *gReader); }},
        {"calibration choice", [&] { return std::make_unique<QCalSel>(main, std::vector<TDocument*>{}, nullptr); }},
        {"shaking options", [&] { return std::make_unique<QSlOptDlg>(main, options); }},
        {"shaker options", [&] { return std::make_unique<QOsOptDlg>(main, options); }},
        {"step options", [&] { return std::make_unique<QMulOptDlg>(main, options); }},
        {"expression wizard", [&] { return std::make_unique<CtxWzDlg>(main, true); }},
        {"variable name", [&] { return std::make_unique<QVarNameDlg>(main); }},
        {"colours", [&] { return std::make_unique<MyColorDlg>(main, main, 0); }},
        {"wizard number format", [&] { return std::make_unique<MyFormatDlg>(main, format); }},
        {"report number format", [&] { return std::make_unique<QRFmtDlg>(main); }},
        {"axis scaling", [&] { return std::make_unique<QRAxisDlg>(main); }},
        {"evaluation context", [&] { return std::make_unique<QRSrcDlg>(main); }},
        {"edit zoom", [&] { return std::make_unique<QREdZDlg>(main); }},
        {"functions", [&] { return std::make_unique<FSeleDlg>(main); }},
        {"sections", [&] { return std::make_unique<RPSecDlg>(main); }},
        {"duplicate", [&] { return std::make_unique<QReplObj>(main); }},
        {"picture", [&] { return std::make_unique<QRInsertPictDlg>(main); }},
        {"sample simulation", [&] { return std::make_unique<QRFakeSmpls>(main); }},
        {"report description", [&] { return std::make_unique<RPNameDlg>(main, "a", "b", true); }},
        {"save to report list", [&] { return std::make_unique<RPAddDlg>(main); }},
        {"report list details", [&] { return std::make_unique<RPManMoreDlg>(main, reports); }},
        {"report a plate", [&] { return std::make_unique<RPPrnPlate>(main, 0, s.app->GetDocManager()); }},
        {"report printout mode", [&] { return std::make_unique<RPDefPrnDlg>(main, s.app->GetDocManager()); }},
        {"printing", [&] { return std::make_unique<RWPrinterAbortDlg>(main, *s.app->GetPrinter(), "plate"); }},
    };
    std::map<int, std::string> owners;
    std::ostringstream wrong;
    for (const auto& [name, make] : dialogs) {
        const int id = make()->GetContextHelpId();
        if (id == 0 || !HasTopic(static_cast<unsigned>(id)) || owners.count(id))
            wrong << name << ": " << id << (owners.count(id) ? " also of " + owners[id] : std::string()) << "\n";
        owners.emplace(id, name);
    }
    EXPECT_EQ(wrong.str(), "");
}
