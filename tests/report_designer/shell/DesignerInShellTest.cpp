// The report designer in the running program: a new report from the report list manager takes
// the sections chosen last, the designer's gadgets stand on the shell's bars while its frame is
// active, and every command the view handles is on its menu, a gadget, a key or its context menu.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <map>
#include <tuple>
#include <set>

#include "../../app/shell/ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/AppPaths.h"
#include "app/QPictButtGadget.h"
#include "app/TMyControlBar.h"
#include "app/vynwMDI.h"
#include "printing/TRwPreview.h"
#include "platform/core/DocManager.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/Menu.h"
#include "platform/gui/HelpWindow.h"
#include "app/RwMainWindow.h"
#include "platform/gui/testing/ScrollInput.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/FontDialogInput.h"
#include "platform/gui/testing/HintInput.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"
#include "method_editors/CtxWzDlg.h"
#include "platform/gui/FileDialog.h"
#include "report_designer/AttrControls.h"
#include "report_designer/AttrDialogs.h"
#include "report_designer/AttrEditor.h"
#include "report_designer/AttrGlobals.h"
#include "report_designer/AttrRows.h"
#include "report_designer/DesignerDialogs.h"
#include "report_designer/DesignerMetrics.h"
#include "report_designer/QRInPlaceEdit.h"
#include "report_designer/QRPMDIChild.h"
#include "report_designer/QRepView.h"
#include "report_designer/RPListDialogs.h"
#include "reports/QRepDoc.h"
#include "reports/RPReport.h"
#include "reports/RPObjectTextBox.h"
#include "reports/RPSection.h"

using namespace vyn;

namespace {

struct DesignerShell : ShellFixture {
    DesignerShell()
    {
        // A new run of the program: the attribute window is not wanted yet.
        gAttrEditorShown = false;
        // and it is placed beside the main window's right edge when it first shows.
        QRAttrFrame::firstShow = true;
        // Shown, as a user sees it: the mouse and the menu reach only a visible window.
        app->GetMainFrame()->MoveWindow(0, 0, 1100, 800);
        app->GetMainFrame()->ShowWindow(SW_SHOW);
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
        EXPECT_TRUE(ClickMenuItem(*app->GetMainFrame(), CM_REPORTS));
        TTestHook::ProcessEvents();
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
    // A text box dragged out in the detail band with its gadget; it is then the selection.
    RPObjectTextBox* PlaceTextBox(QRepView& view)
    {
        const int top = view.Report().Band(bandDetail).BodyTop();
        EXPECT_TRUE(ClickGadget(*gToolPalette, 7109));
        DragMouse(view, 60, top + 12, 260, top + 48);
        TTestHook::ProcessEvents();
        EXPECT_EQ(view.Tool(), 0);
        EXPECT_EQ(view.Selection().size(), 1u);
        return view.Selection().empty() ? nullptr : dynamic_cast<RPObjectTextBox*>(view.Selection()[0]);
    }
    // The attribute window, opened with its gadget on the tool palette.
    static bool OpenAttributeWindow()
    {
        const bool clicked = ClickGadget(*gToolPalette, 7118);
        TTestHook::ProcessEvents();
        return clicked;
    }
    // The attribute row with that caption clicked for editing, then its "..." button; the
    // row's dialog runs in the click.
    static bool OpenRowDialog(const std::string& caption)
    {
        QRAttrDlg& pane = *QRAttrGlobals::gAttrDlg;
        int row = -1;
        for (std::size_t i = 0; i < pane.ShownRows().size(); ++i)
            if (pane.ShownRows()[i]->caption == caption) row = static_cast<int>(i);
        if (row < 0) return false;
        // Rows below the window's lower edge come up with the wheel.
        for (int turns = 0; turns < 40 && pane.ValueRect(row).bottom > pane.GetClientRect().bottom; ++turns) {
            TurnWheel(pane.Widget(), QPoint(0, -120));
            TTestHook::ProcessEvents();
        }
        const TRect value = pane.ValueRect(row);
        if (!ClickReaches(pane, value.left + 4, (value.top + value.bottom) / 2)) return false;
        TTestHook::ProcessEvents();
        const bool clicked = ClickReaches(*QRAttrGlobals::gAttrMoreButton);
        TTestHook::ProcessEvents();
        return clicked;
    }
    // The window system makes the window the active one, as a click on its caption does.
    static void Activate(TWindow& w)
    {
        EXPECT_TRUE(BringToFront(w));
        TTestHook::ProcessEvents();
    }
    // The middle of the text box in the view's client coordinates.
    static TPoint Middle(QRepView& view, RPObjectTextBox& box)
    {
        const RPPixelGeometry& g = box.Pixels();
        return TPoint(g.x + g.width / 2 - view.ScrollX(), box.Owner()->BodyTop() + g.y + g.height / 2);
    }
    // A click on the text of the selected text box opens it in place.
    static void EditInPlace(QRepView& view, RPObjectTextBox& box)
    {
        const TPoint m = Middle(view, box);
        MouseOver(view, m.x, m.y);
        EXPECT_TRUE(ClickReaches(view, m.x, m.y));
        TTestHook::ProcessEvents();
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
    // The sections are asked for first: no designer frame stands behind the dialog.
    auto framesShown = [&s] {
        int shown = 0;
        for (TMDIChild* c : s.app->GetMDIClient()->Children()) shown += c->IsWindowVisible() ? 1 : 0;
        return shown;
    };
    int framesUnderDialog = -1;
    hook.AnswerDialog(idRPSecDlg, IDCANCEL, [&](TDialog& d) {
        framesUnderDialog = framesShown();
        for (int id = 101; id <= 105; ++id)
            offered += dynamic_cast<TCheckBox*>(d.GetDlgItem(id))->GetCheck() == TCheckBox::BF_CHECKED ? '1' : '0';
    });
    s.NewReport();
    EXPECT_EQ(offered, "10111");
    EXPECT_EQ(framesUnderDialog, 0);
    EXPECT_TRUE(s.Reports().empty()) << "a cancelled new report is discarded";

    framesUnderDialog = -1;
    hook.AnswerDialog(idRPSecDlg, IDOK, [&](TDialog& d) {
        framesUnderDialog = framesShown();
        auto& box = dynamic_cast<TCheckBox&>(*d.GetDlgItem(105));
        EXPECT_TRUE(ClickReaches(box, 24, box.GetClientRect().Height() / 2));
    });
    s.NewReport();
    EXPECT_EQ(framesUnderDialog, 0);
    ASSERT_EQ(s.Reports().size(), 1u);
    EXPECT_EQ(framesShown(), 1) << "the designer opens once the sections are chosen";
    RPReport& r = s.Reports()[0]->Report();
    std::string bands;
    for (int i = 0; i < 5; ++i) bands += r.Band(i).Enabled() ? '1' : '0';
    EXPECT_EQ(bands, "10110");
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

// The sections dialog as a user meets it: the pointer on a box's label shows the box's hint
// below, and a click there switches the box.
TEST(DesignerInShell, TheSectionsBoxesShowTheirHintsAndTakeClicksOnTheirLabels)
{
    TTestHook hook;
    DesignerShell s;
    std::snprintf(gSectionFlags, sizeof gSectionFlags, "%s", "11111");
    std::vector<std::string> hints;
    std::string shown;
    hook.AnswerDialog(idRPSecDlg, IDOK, [&](TDialog& d) {
        for (int id = 101; id <= 105; ++id) {
            auto& box = dynamic_cast<TCheckBox&>(*d.GetDlgItem(id));
            const TRect r = box.GetClientRect();
            MouseOver(box, 24, r.Height() / 2);
            hints.push_back(d.GetDlgItem(301)->GetWindowText());
            EXPECT_TRUE(ClickReaches(box, 24, r.Height() / 2));
            shown += box.GetCheck() == TCheckBox::BF_CHECKED ? '1' : '0';
        }
    });
    s.NewReport();
    EXPECT_EQ(shown, "00000") << "each click switched its box off";
    EXPECT_EQ(hints, (std::vector<std::string>{"Page header appears on every page ...",
                                               "Report header appears just once at the beginning ...",
                                               "Detail section repeats for every sample ...",
                                               "Report footer appears just once at the end ...",
                                               "Page footer appears on every page ..."}));
    ASSERT_EQ(s.Reports().size(), 1u);
    std::string bands;
    for (int i = 0; i < 5; ++i) bands += s.Reports()[0]->Report().Band(i).Enabled() ? '1' : '0';
    EXPECT_EQ(bands, "00000");
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
    // The choice stays for the rest of the run; the next new report takes every section again.
    std::snprintf(gSectionFlags, sizeof gSectionFlags, "%s", "11111");
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
    for (unsigned id : {2230u, 2231u}) EXPECT_FALSE(s.OnBar(gToolBar, id)) << "the carrier button " << id << " stays";
    ASSERT_NE(gModeButton, nullptr);
    EXPECT_EQ(gModeButton->GetCommandId(), 7108) << "the shared button cancels the tools";

    // A plate view taking over puts its own gadgets up; closing it brings the designer's back.
    TDocument* plate = s.app->OpenPlate(s.env.data + "/Demo.plt");
    ASSERT_NE(plate, nullptr);
    TTestHook::ProcessEvents();
    EXPECT_FALSE(s.OnBar(gToolPalette, 7109));
    EXPECT_NE(gModeButton->GetCommandId(), 7108);
    EXPECT_TRUE(s.OnBar(gToolBar, 2230)) << "the plate view has the carrier buttons";
    s.app->GetDocManager().CloseDoc(*plate);
    TTestHook::ProcessEvents();
    for (TMDIChild* c : s.app->GetMDIClient()->Children())
        if (dynamic_cast<QRPMDIChild*>(c)) s.app->GetMDIClient()->ActivateChild(*c);
    TTestHook::ProcessEvents();
    EXPECT_TRUE(s.OnBar(gToolPalette, 7109));
    EXPECT_FALSE(s.OnBar(gToolBar, 2230));

    // The designer closed: nothing of it stays.
    EXPECT_TRUE(ChooseMenuItem(*s.app->GetMainFrame(), CM_FILECLOSE));
    TTestHook::ProcessEvents();
    EXPECT_TRUE(s.Reports().empty());
    EXPECT_FALSE(s.OnBar(gToolPalette, 7109));
    EXPECT_FALSE(s.OnBar(gToolBar, 7119));
    EXPECT_EQ(gModeButton->GetCommandId(), CM_MODEBUTTON);
    for (unsigned id : {2230u, 2231u}) EXPECT_TRUE(s.OnBar(gToolBar, id)) << "the carrier button " << id << " is back";
}

TEST(DesignerInShell, EveryHandledCommandCanBeReached)
{
    // The view's response table, and the ways in: menu 140 (with the Help popup it keeps from
    // the main window) and the bars.
    const std::vector<unsigned> handled = {24322, 24323, 24324, 24325, 7119, 7101, 7107, 7102, 7108, 7109, 7110,
                                           7111,  7112,  7113,  7114,  7115, 7116, 7117, 7118, 24336, 2603, 2604,
                                           7301,  2005};
    std::set<unsigned> found;
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
    // Keys the view keeps for itself, or that Qt has no name for, are shown all the same.
    EXPECT_EQ(bar.at(7108).key, "Esc");
    EXPECT_EQ(bar.at(24321).key, "Alt+BkSp");
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
    EXPECT_TRUE(ChooseMenuItem(*s.app->GetMainFrame(), CM_FILECLOSE));
    TTestHook::ProcessEvents();
    EXPECT_TRUE(s.Reports().empty());
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
}

TEST(DesignerInShell, TheFrameShowsTheReportsTitleThenItsFile)
{
    TTestHook hook;
    DesignerShell s;
    QRepView& view = s.OpenDesigner();
    auto* frame = dynamic_cast<QRPMDIChild*>(s.app->GetMDIClient()->GetActiveMDIChild());
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(view.Doc().GetTitle().empty());
    EXPECT_EQ(ShownCaption(*frame), view.Doc().GetTitle()) << "as its title bar shows it";
    const std::string path = s.env.data + "/caption.qrp";
    SetFileDialogAnswer([&path](bool save, const std::string&) { return save ? path : std::string(); });
    EXPECT_TRUE(ChooseMenuItem(*s.app->GetMainFrame(), 24334));
    SetFileDialogAnswer({});
    TTestHook::ProcessEvents();
    EXPECT_EQ(ShownCaption(*frame), path);

    // The attribute window names the report by its title: after a second Save as, its new file.
    ASSERT_TRUE(s.OpenAttributeWindow());
    EXPECT_EQ(ShownCaption(*QRAttrGlobals::gAttrFrame), "caption.qrp");
    const std::string renamed = s.env.data + "/renamed.qrp";
    SetFileDialogAnswer([&renamed](bool save, const std::string&) { return save ? renamed : std::string(); });
    EXPECT_TRUE(ChooseMenuItem(*s.app->GetMainFrame(), 24334));
    SetFileDialogAnswer({});
    TTestHook::ProcessEvents();
    EXPECT_EQ(ShownCaption(*frame), renamed);
    EXPECT_EQ(ShownCaption(*QRAttrGlobals::gAttrFrame), "renamed.qrp");
}

// The dialogs behind the attribute rows keep what the user chose as the user sees it: the cell
// of an evaluation context stands in capitals as it is typed, and a font whose size alone was
// changed keeps its face.
TEST(DesignerInShell, TheRowDialogsShowWhatTheUserChose)
{
    TTestHook hook;
    DesignerShell s;
    QRepView& view = s.OpenDesigner();
    RPObjectTextBox* box = s.PlaceTextBox(view);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(s.OpenAttributeWindow());
    QRAttrDlg& pane = *QRAttrGlobals::gAttrDlg;

    std::string cellShown;
    hook.AnswerDialog(idQRSrcDlg, IDOK, [&cellShown](TDialog& d) {
        EXPECT_TRUE(ClickReaches(*d.GetDlgItem(102))) << "Cell";
        TTestHook::ProcessEvents();
        EXPECT_TRUE(TypeIntoField(*d.GetDlgItem(105), "b3"));
        for (const TShownText& t : ShownTexts(*d.GetDlgItem(105))) cellShown += t.text;
    });
    ASSERT_TRUE(DesignerShell::OpenRowDialog("Source"));
    EXPECT_EQ(cellShown, "B3");
    EXPECT_EQ(box->GetSource().kind, srCell);
    EXPECT_TRUE(ShowsText(pane.Widget(), "Cell:B3")) << "the row shows the cell chosen";

    ASSERT_EQ(box->GetFont()->Face(), "Arial");
    std::string familyOffered;
    bool sizeTyped = false;
    WhenFontDialogRuns([&] {
        familyOffered = FontDialogFamily();
        sizeTyped = TypeFontSize("14");
        AcceptFontDialog();
    });
    ASSERT_TRUE(DesignerShell::OpenRowDialog("Font"));
    EXPECT_TRUE(sizeTyped);
    EXPECT_FALSE(familyOffered.empty()) << "the dialog ran";
    EXPECT_EQ(box->GetFont()->height, 140);
    EXPECT_EQ(box->GetFont()->Face(), "Arial") << "offered as " << familyOffered;
    EXPECT_TRUE(ShowsText(pane.Widget(), "14 pt  Arial"));
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
    view.Doc().SetDirty(false);
}

// While the attribute window is the active window, the main window's buttons still show their
// tips under a resting mouse.
TEST(DesignerInShell, TheBarsShowTheirTipsWhileTheAttributeWindowIsActive)
{
    TTestHook hook;
    DesignerShell s;
    s.OpenDesigner();
    ASSERT_TRUE(s.OpenAttributeWindow());
    DesignerShell::Activate(*QRAttrGlobals::gAttrFrame);
    ASSERT_TRUE(QRAttrGlobals::gAttrFrame->Widget()->isActiveWindow());
    TGadget* save = gToolBar->GadgetWithId(24333);
    ASSERT_NE(save, nullptr);
    const TRect r = save->GetBounds();
    EXPECT_EQ(RestMouse(*gToolBar, (r.left + r.right) / 2, (r.top + r.bottom) / 2), "Save");
    EXPECT_TRUE(QRAttrGlobals::gAttrFrame->Widget()->isActiveWindow()) << "the rest did not activate the main window";
}

TEST(DesignerInShell, TypingInPlaceIsKeptWhenTheProgramKeepsTheActivationAndDroppedWhenItLosesIt)
{
    TTestHook hook;
    DesignerShell s;
    QRepView& view = s.OpenDesigner();
    RPObjectTextBox* box = s.PlaceTextBox(view);
    ASSERT_NE(box, nullptr);
    const std::string before = box->GetContents();

    // Another window of the program takes over (the attribute window): the text is written.
    ASSERT_TRUE(ClickGadget(*gToolPalette, 7118));
    DesignerShell::Activate(*s.app->GetMainFrame());
    DesignerShell::EditInPlace(view, *box);
    ASSERT_TRUE(view.Editing());
    TypeOver("kept");
    DesignerShell::Activate(*QRAttrGlobals::gAttrFrame);
    EXPECT_FALSE(view.Editing());
    EXPECT_EQ(box->GetContents(), "kept");

    // Another program takes over: what was typed is dropped.
    DesignerShell::Activate(*s.app->GetMainFrame());
    DesignerShell::EditInPlace(view, *box);
    ASSERT_TRUE(view.Editing());
    TypeOver("dropped");
    QApplication::setActiveWindow(nullptr);
    TTestHook::ProcessEvents();
    EXPECT_FALSE(view.Editing());
    EXPECT_EQ(box->GetContents(), "kept");
    EXPECT_NE(before, "kept");
}

TEST(DesignerInShell, TheAttributeWindowEditsWhileActiveAndDropsATypedValueWhenLeft)
{
    TTestHook hook;
    DesignerShell s;
    QRepView& view = s.OpenDesigner();
    RPObjectTextBox* box = s.PlaceTextBox(view);
    ASSERT_NE(box, nullptr);
    const std::string before = box->GetContents();
    ASSERT_TRUE(s.OpenAttributeWindow());
    QRAttrDlg& pane = *QRAttrGlobals::gAttrDlg;
    ASSERT_TRUE(QRAttrGlobals::gAttrFrame->IsWindowVisible());
    ASSERT_NE(pane.CurrentRow(), nullptr);
    EXPECT_EQ(pane.CurrentRow()->code, 15) << "the contents row comes first";
    EXPECT_TRUE(pane.CurrentRow()->editing) << "the window opened active, so its row is being edited";
    EXPECT_TRUE(QRAttrGlobals::gAttrEdit->IsWindowVisible());

    // Typed, then the user goes back to the report: the typed value is dropped.
    DesignerShell::Activate(*QRAttrGlobals::gAttrFrame);
    TypeOver("typed");
    DesignerShell::Activate(*s.app->GetMainFrame());
    EXPECT_FALSE(pane.CurrentRow()->editing);
    EXPECT_EQ(box->GetContents(), before);

    // Back in the attribute window the row edits again; Enter writes.
    DesignerShell::Activate(*QRAttrGlobals::gAttrFrame);
    ASSERT_TRUE(pane.CurrentRow()->editing);
    TypeOver("typed");
    PressKeys(VK_RETURN);
    TTestHook::ProcessEvents();
    EXPECT_EQ(box->GetContents(), "typed");
}

TEST(DesignerInShell, TheRightClickOffersTheExpressionWizardInTheViewAndInTheExpressionRows)
{
    TTestHook hook;
    DesignerShell s;
    QRepView& view = s.OpenDesigner();
    RPObjectTextBox* box = s.PlaceTextBox(view);
    ASSERT_NE(box, nullptr);
    // The wizard runs over the edit it writes into: the in-place editor or the row's value edit.
    std::vector<TWindow*> over;
    auto note = [&over](TDialog& d) {
        over.push_back(d.GetParent());
        d.SetDlgItemText(107, "page");
        d.SendCommand(IDOK);
    };

    // On the text of the selected text box: the text opens in place with the wizard over it.
    const RPPixelGeometry& g = box->Pixels();
    const TPoint middle(g.x + g.width / 2 - view.ScrollX(), box->Owner()->BodyTop() + g.y + g.height / 2);
    hook.AnswerDialog(CtxWzDlg::kResId, IDCANCEL, note);
    ASSERT_TRUE(RightClickReaches(view, middle.x, middle.y));
    TTestHook::ProcessEvents();
    ASSERT_EQ(over.size(), 1u);
    EXPECT_EQ(over[0], view.TextEditor());
    if (view.Editing()) PressKey(*view.TextEditor(), VK_ESCAPE);

    // In the attribute window's contents row.
    ASSERT_TRUE(s.OpenAttributeWindow());
    QRAttrDlg& pane = *QRAttrGlobals::gAttrDlg;
    ASSERT_TRUE(pane.CurrentRow() && pane.CurrentRow()->editing);
    hook.AnswerDialog(CtxWzDlg::kResId, IDCANCEL, note);
    ASSERT_TRUE(RightClickReaches(*QRAttrGlobals::gAttrEdit));
    TTestHook::ProcessEvents();
    ASSERT_EQ(over.size(), 2u);
    EXPECT_EQ(over[1], QRAttrGlobals::gAttrEdit);

    // A row that is no expression offers nothing.
    DesignerShell::Activate(*QRAttrGlobals::gAttrFrame);
    ASSERT_TRUE(pane.CurrentRow() && pane.CurrentRow()->editing);
    PressKey(*QRAttrGlobals::gAttrEdit, VK_DOWN);
    TTestHook::ProcessEvents();
    ASSERT_NE(pane.CurrentRow(), nullptr);
    EXPECT_EQ(dynamic_cast<SCtrlText*>(pane.CurrentRow()), nullptr);
    RightClickReaches(*QRAttrGlobals::gAttrEdit);
    TTestHook::ProcessEvents();
    EXPECT_EQ(over.size(), 2u);
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

// The pointer rests on a text box, a click selects it and a right click at once, without the
// mouse moving, opens its text with the Expression Wizard.
TEST(DesignerInShell, ARightClickStraightAfterTheClickThatSelectedATextBoxOffersTheWizard)
{
    TTestHook hook;
    DesignerShell s;
    QRepView& view = s.OpenDesigner();
    RPObjectTextBox* box = s.PlaceTextBox(view);
    ASSERT_NE(box, nullptr);
    const int top = view.Report().Band(bandDetail).BodyTop();
    MouseOver(view, 400, top + 30);
    ASSERT_TRUE(ClickReaches(view, 400, top + 30));
    ASSERT_TRUE(view.Selection().empty()) << "a click beside the box leaves nothing selected";
    const RPPixelGeometry& g = box->Pixels();
    const TPoint middle(g.x + g.width / 2 - view.ScrollX(), box->Owner()->BodyTop() + g.y + g.height / 2);
    MouseOver(view, middle.x, middle.y);
    ASSERT_TRUE(ClickReaches(view, middle.x, middle.y));
    ASSERT_EQ(view.Selection().size(), 1u);
    std::vector<std::string> opened;
    hook.AnswerDialog(CtxWzDlg::kResId, IDCANCEL, [&opened, &view](TDialog& d) {
        opened.push_back(d.Widget()->isVisible() ? d.Widget()->windowTitle().toStdString() : "(hidden)");
        if (d.GetParent() == view.TextEditor()) opened.back() += " over the text";
    });
    ASSERT_TRUE(RightClickReaches(view, middle.x, middle.y));
    TTestHook::ProcessEvents();
    EXPECT_EQ(opened, std::vector<std::string>{"Expression Wizard over the text"});
    if (view.Editing()) PressKey(*view.TextEditor(), VK_ESCAPE);
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

// A choice row's list, dropped with its arrow button: a click on a choice applies it and
// closes the list; Esc with the list open leaves neither the list nor the arrow drawn.
TEST(DesignerInShell, AChoiceListTakesAPickWithTheMouseAndGoesWithEsc)
{
    TTestHook hook;
    DesignerShell s;
    QRepView& view = s.OpenDesigner();
    RPObjectTextBox* box = s.PlaceTextBox(view);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(s.OpenAttributeWindow());
    QRAttrDlg& pane = *QRAttrGlobals::gAttrDlg;
    int row = -1;
    for (std::size_t i = 0; i < pane.ShownRows().size(); ++i)
        if (pane.ShownRows()[i]->caption == "Back Style") row = static_cast<int>(i);
    ASSERT_GE(row, 0);
    const TRect value = pane.ValueRect(row);
    ASSERT_TRUE(ClickReaches(pane, value.left + 4, (value.top + value.bottom) / 2));
    TTestHook::ProcessEvents();
    TWindow& arrow = *QRAttrGlobals::gAttrDropButton;
    TWindow& list = *QRAttrGlobals::gAttrList;
    TWindow& edit = *QRAttrGlobals::gAttrEdit;
    ASSERT_TRUE(arrow.IsWindowVisible()) << "the row being edited shows its arrow";
    EXPECT_EQ(edit.GetWindowText(), "Normal");

    // A pick with the mouse.
    ASSERT_TRUE(ClickReaches(arrow));
    TTestHook::ProcessEvents();
    ASSERT_TRUE(list.IsWindowVisible());
    const int itemHeight = QRAttrGlobals::gAttrMetrics.cy;
    ASSERT_TRUE(ClickReaches(list, 6, itemHeight / 2)) << "\"Clear\", the first choice";
    TTestHook::ProcessEvents();
    EXPECT_FALSE(list.IsWindowVisible()) << "the pick closes the list";
    EXPECT_EQ(edit.GetWindowText(), "Clear");
    EXPECT_EQ(box->GetBackStyle(), 0) << "and applies it";

    // Esc with the list open closes it and goes back to the value; Esc there ends the edit
    // without writing, and nothing of the list stays drawn over the rows.
    ASSERT_TRUE(ClickReaches(arrow));
    TTestHook::ProcessEvents();
    ASSERT_TRUE(list.IsWindowVisible());
    PressKey(list, VK_ESCAPE);
    TTestHook::ProcessEvents();
    EXPECT_FALSE(list.IsWindowVisible());
    EXPECT_TRUE(edit.HasFocus());
    PressKey(edit, VK_ESCAPE);
    TTestHook::ProcessEvents();
    EXPECT_FALSE(list.IsWindowVisible());
    EXPECT_EQ(arrow.IsWindowVisible(), edit.IsWindowVisible()) << "the arrow stands only beside a value being edited";
    EXPECT_EQ(box->GetBackStyle(), 0);
}

TEST(DesignerInShell, TheWheelAndTheScrollBarsScrollTheViewAndTheAttributeRows)
{
    TTestHook hook;
    DesignerShell s;
    QRepView& view = s.OpenDesigner();
    const int bodyTop = view.Report().Band(bandPageHeader).BodyTop();
    TurnWheel(view.Widget(), QPoint(0, -120));
    EXPECT_EQ(view.ScrollX(), 0);
    EXPECT_GT(view.ScrollY(), 0) << "the wheel turned toward the user scrolls down";
    EXPECT_EQ(view.Report().Band(bandPageHeader).BodyTop(), bodyTop - view.ScrollY()) << "the bands follow";
    TurnWheel(view.Widget(), QPoint(0, 120));
    EXPECT_EQ(view.ScrollY(), 0);
    TurnWheel(view.Widget(), QPoint(-120, 0));
    EXPECT_GT(view.ScrollX(), 0) << "sideways";

    // The bars lie outside the client area along its right and bottom edges; a click low in
    // the vertical bar, below its thumb, scrolls down.
    const TRect c = view.GetClientRect();
    ASSERT_TRUE(ClickReaches(view, c.right + 6, c.bottom - 24));
    TTestHook::ProcessEvents();
    EXPECT_GT(view.ScrollY(), 0);

    // The attribute rows of a text box do not fit the window: the wheel moves them.
    ASSERT_TRUE(ClickGadget(*gToolPalette, cmRepTextBox));
    ASSERT_TRUE(s.OpenAttributeWindow());
    QRAttrDlg& pane = *QRAttrGlobals::gAttrDlg;
    const int visible = pane.GetClientRect().Height() / QRAttrGlobals::gAttrMetrics.rowHeight;
    ASSERT_GT(static_cast<int>(pane.ShownRows().size()), visible);
    TurnWheel(pane.Widget(), QPoint(0, -120));
    EXPECT_EQ(pane.TopRow(), std::min(3, static_cast<int>(pane.ShownRows().size()) - visible));
    TurnWheel(pane.Widget(), QPoint(0, 120));
    EXPECT_EQ(pane.TopRow(), 0);
}

TEST(DesignerInShell, SelectingAndMovingAnObjectLeavesItsNeighboursDrawn)
{
    TTestHook hook;
    DesignerShell s;
    QRepView& view = s.OpenDesigner();
    RPSection& detail = view.Report().Band(bandDetail);
    const int top = detail.BodyTop();
    // Two overlapping rectangles and a text box beside them, placed with the mouse.
    for (auto [tool, x0, y0, x1, y1] : {std::tuple{7110u, 40, 10, 200, 70}, std::tuple{7110u, 120, 30, 300, 90},
                                        std::tuple{7109u, 320, 20, 460, 50}}) {
        ASSERT_TRUE(ClickGadget(*gToolPalette, static_cast<int>(tool)));
        DragMouse(view, x0, top + y0, x1, top + y1);
    }
    ASSERT_EQ(detail.Objects().size(), 3u);
    // Select the first, then move it down and right over the second.
    DragMouse(view, 60, top + 10, 60, top + 10);
    DragMouse(view, 60, top + 10, 90, top + 22);
    TTestHook::ProcessEvents();
    view.UpdateWindow();
    ASSERT_NE(view.ClientImage(), nullptr);
    const QImage afterMoves = view.ClientImage()->copy();
    // What the window shows must be what a full repaint draws.
    view.Invalidate(true);
    view.UpdateWindow();
    const QImage whole = view.ClientImage()->copy();
    EXPECT_TRUE(afterMoves == whole) << "a part of the view was left undrawn or drawn over";
}

// Help while the designer is active: "Current context" on the Help menu and F1, in the view and
// in the attribute window, open the designer's topic rather than the main window's.
TEST(DesignerInShell, HelpFromTheMenuAndF1OpensTheDesignersTopic)
{
    TTestHook hook;
    DesignerShell s;
    RwMainWindow& main = *s.app->GetMainFrame();
    QRepView& view = s.OpenDesigner();
    ASSERT_NE(s.PlaceTextBox(view), nullptr);
    ASSERT_TRUE(HelpTopicExists(GetHelpFilePath(), QRepView::kHelpContext)) << "the help file has no designer topic";
    const auto bar = s.MenuBar();
    ASSERT_TRUE(bar.count(CM_HELPCONTEXT)) << "no Help menu while the designer is active";
    EXPECT_EQ(bar.at(CM_HELPCONTEXT).path, "&Help/Cu&rrent context");
    EXPECT_EQ(bar.at(CM_HELPCONTEXT).key, "F1");

    auto shown = [](const std::function<void()>& ask) {
        ResetLastHelpTopic();
        ask();
        TTestHook::ProcessEvents();
        const int topic = LastHelpTopic();
        // Read, the help window is closed, so that it lies over no window the user works in.
        CloseHelpWindow();
        TTestHook::ProcessEvents();
        return topic;
    };
    EXPECT_EQ(shown([&] { ChooseMenuItem(main, CM_HELPCONTEXT); }), QRepView::kHelpContext) << "Help menu";
    DesignerShell::Activate(main);
    ASSERT_TRUE(ClickReaches(view, 400, view.Report().Band(bandDetail).BodyTop() + 60)) << "beside the box";
    EXPECT_EQ(shown([] { PressKeys(VK_F1); }), QRepView::kHelpContext) << "F1 in the view";

    ASSERT_TRUE(s.OpenAttributeWindow());
    ASSERT_TRUE(QRAttrGlobals::gAttrEdit->IsWindowVisible());
    DesignerShell::Activate(*QRAttrGlobals::gAttrFrame);
    ASSERT_TRUE(QRAttrGlobals::gAttrEdit->HasFocus());
    EXPECT_EQ(shown([] { PressKeys(VK_F1); }), QRepView::kHelpContext) << "F1 in the attribute window's value edit";
    PressKeys(VK_ESCAPE);
    TTestHook::ProcessEvents();
    DesignerShell::Activate(*QRAttrGlobals::gAttrFrame);
    ASSERT_TRUE(QRAttrGlobals::gAttrDlg->HasFocus()) << "Esc leaves the value for the rows";
    EXPECT_EQ(shown([] { PressKeys(VK_F1); }), QRepView::kHelpContext) << "F1 in the attribute rows";
    DesignerShell::Activate(main);
    EXPECT_EQ(shown([&] { ChooseMenuItem(main, CM_HELPCONTEXT); }), QRepView::kHelpContext)
        << "Help menu with the attribute window open";
    EXPECT_EQ(view.Selection().size(), 1u) << "asking for help changes nothing";
}

// The designer's clipboard keys in the attribute window's value edit act on the typed text; the
// selected object stays where it is and the report's objects are not on the clipboard.
TEST(DesignerInShell, TheClipboardKeysInTheAttributeWindowEditTheValueNotTheReport)
{
    TTestHook hook;
    DesignerShell s;
    QRepView& view = s.OpenDesigner();
    RPObjectTextBox* box = s.PlaceTextBox(view);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(s.OpenAttributeWindow());
    QRAttrEdit& edit = *QRAttrGlobals::gAttrEdit;
    ASSERT_TRUE(QRAttrGlobals::gAttrDlg->CurrentRow() && QRAttrGlobals::gAttrDlg->CurrentRow()->editing);
    DesignerShell::Activate(*QRAttrGlobals::gAttrFrame);
    ASSERT_TRUE(edit.HasFocus());
    TypeOver("abcd");
    ASSERT_EQ(edit.GetWindowText(), "abcd");
    const std::size_t objects = view.Report().Band(bandDetail).Objects().size();
    struct Step {
        const char* what;
        unsigned key, mods;
        int from, to;  // the selection before the key
        const char* text;
        const char* clipboard;
    };
    const Step steps[] = {
        {"Ctrl+C copies the selection", 'C', MK_CONTROL, 1, 3, "abcd", "bc"},
        {"Shift+Del cuts it", VK_DELETE, MK_SHIFT, 0, 1, "bcd", "a"},
        {"Del takes the character after the caret", VK_DELETE, 0, 1, 1, "bd", "a"},
        {"Ctrl+V pastes over the selection", 'V', MK_CONTROL, 0, 2, "a", "a"},
        {"Shift+Ins pastes at the caret", VK_INSERT, MK_SHIFT, 1, 1, "aa", "a"},
        {"Ctrl+X cuts", 'X', MK_CONTROL, 0, 1, "a", "a"},
    };
    for (const Step& st : steps) {
        SCOPED_TRACE(st.what);
        // The selection made with the keys, as a user makes it.
        PressKeys(VK_HOME);
        for (int i = 0; i < st.from; ++i) PressKeys(VK_RIGHT);
        for (int i = st.from; i < st.to; ++i) PressKeys(VK_RIGHT, MK_SHIFT);
        PressKeys(st.key, st.mods);
        TTestHook::ProcessEvents();
        EXPECT_EQ(edit.GetWindowText(), st.text);
        std::string clip;
        Clipboard::GetText(clip);
        EXPECT_EQ(clip, st.clipboard);
        EXPECT_EQ(view.Report().Band(bandDetail).Objects().size(), objects);
        EXPECT_EQ(view.Selection().size(), 1u);
    }
}

// With a plate open beside the designer: a row's "..." dialog in the attribute window, then
// the Duplicate button on the tool bar. The designer stays the active frame while Duplicate is
// up and after it, a maximised designer stays in front, and the attribute window goes when the
// plate window is chosen.
TEST(DesignerInShell, TheDesignerStaysActiveThroughItsDialogsAfterARowsDialog)
{
    TTestHook hook;
    DesignerShell s;
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    TTestHook::ProcessEvents();
    TMDIClient& client = *s.app->GetMDIClient();
    TMDIChild* plateFrame = client.GetActiveMDIChild();
    ASSERT_NE(plateFrame, nullptr);
    QRepView& view = s.OpenDesigner();
    TMDIChild* designerFrame = client.GetActiveMDIChild();
    ASSERT_NE(designerFrame, plateFrame);
    // Maximised with the button of its title bar, as a user does.
    auto* sub = qobject_cast<QMdiSubWindow*>(designerFrame->Widget());
    ASSERT_NE(sub, nullptr);
    QStyleOptionTitleBar bar;
    bar.initFrom(sub);
    bar.titleBarFlags = sub->windowFlags();
    bar.subControls = QStyle::SC_TitleBarMaxButton;
    bar.rect = QRect(0, 0, sub->width(), sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &bar, sub));
    const QRect maxButton = sub->style()->subControlRect(QStyle::CC_TitleBar, &bar, QStyle::SC_TitleBarMaxButton, sub);
    ClickAt(sub->mapToGlobal(maxButton.center()));
    TTestHook::ProcessEvents();
    ASSERT_TRUE(sub->isMaximized());
    ASSERT_NE(s.PlaceTextBox(view), nullptr);
    ASSERT_TRUE(s.OpenAttributeWindow());
    QRAttrDlg& pane = *QRAttrGlobals::gAttrDlg;

    // The number format row, clicked, and its "..." dialog cancelled.
    const int h = QRAttrGlobals::gAttrMetrics.rowHeight;
    for (int i = 0; i < 40 && !dynamic_cast<SCtrlFormat*>(pane.CurrentRow()); ++i) {
        if (pane.RowTop(i) + h > pane.GetClientRect().bottom) PressKey(*QRAttrGlobals::gAttrEdit, VK_DOWN);
        else ClickReaches(pane, pane.GetClientRect().Width() / 2, pane.RowTop(i) + h / 2);
        TTestHook::ProcessEvents();
    }
    ASSERT_NE(dynamic_cast<SCtrlFormat*>(pane.CurrentRow()), nullptr) << "no number format row";
    ASSERT_TRUE(QRAttrGlobals::gAttrMoreButton->IsWindowVisible());
    hook.AnswerDialog(idQRFmtDlg, IDCANCEL);
    ASSERT_TRUE(ClickReaches(*QRAttrGlobals::gAttrMoreButton));
    TTestHook::ProcessEvents();
    EXPECT_EQ(client.GetActiveMDIChild(), designerFrame) << "the row's dialog left another frame active";
    // The Duplicate button stands on the bar while the designer is active.
    ASSERT_NE(gToolBar->GadgetWithId(7119), nullptr);

    TMDIChild* activeDuring = nullptr;
    bool maximisedDuring = false;
    hook.AnswerDialog(idQReplObj, IDCANCEL, [&](TDialog&) {
        activeDuring = client.GetActiveMDIChild();
        maximisedDuring = sub->isMaximized() && client.Area()->activeSubWindow() == sub;
    });
    // The program's idle time lights the button, as a user waits for it.
    s.app->IdleAction(0);
    ASSERT_TRUE(gToolBar->GadgetWithId(7119)->GetEnabled());
    ASSERT_TRUE(ClickGadget(*gToolBar, 7119));
    TTestHook::ProcessEvents();
    EXPECT_EQ(hook.DialogsRun().back(), idQReplObj);
    EXPECT_EQ(activeDuring, designerFrame) << "the plate window became the active frame under Duplicate";
    EXPECT_TRUE(maximisedDuring) << "the maximised designer dropped behind";
    EXPECT_EQ(client.GetActiveMDIChild(), designerFrame);
    EXPECT_EQ(s.app->GetMainFrame()->GetShownMenuId(), 140);
    EXPECT_TRUE(QRAttrGlobals::gAttrFrame->IsWindowVisible()) << "the attribute window is back with its designer";

    // The plate window chosen: the attribute window goes with the designer's activation.
    PressShortcut("Ctrl+F6");
    TTestHook::ProcessEvents();
    EXPECT_EQ(client.GetActiveMDIChild(), plateFrame);
    EXPECT_FALSE(QRAttrGlobals::gAttrFrame->IsWindowVisible()) << "the attribute window stays over the plate view";
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

namespace {

// The texts the attribute window's header and status strips paint.
std::string StripText(TWindow& strip)
{
    std::string text;
    for (const TShownText& t : ShownTexts(strip)) text += (text.empty() ? "" : " ") + t.text;
    return text;
}

}  // namespace

// With the attribute window active, a designer command from the menu (Alt+T, T: the Text Box
// tool) changes the rows, and the preview hides the window and shows it again: each time a row
// is edited again at once, and the keys move between the rows.
TEST(DesignerInShell, TheAttributeWindowKeepsItsKeysAfterAMenuCommandAndAfterThePreview)
{
    TTestHook hook;
    DesignerShell s;
    QRepView& view = s.OpenDesigner();
    ASSERT_NE(s.PlaceTextBox(view), nullptr);
    ASSERT_TRUE(s.OpenAttributeWindow());
    DesignerShell::Activate(*QRAttrGlobals::gAttrFrame);
    TWindow& header = *QRAttrGlobals::gAttrHeader;
    TWindow& status = *QRAttrGlobals::gAttrStatus;
    ASSERT_EQ(StripText(header), "Text Box");
    const std::string first = StripText(status);
    ASSERT_FALSE(first.empty()) << "a row is edited in the active attribute window";
    // Down moves to the next row, Up back; what the status strip says follows the row.
    auto keysMove = [&](const char* when) {
        const std::string at = StripText(status);
        EXPECT_FALSE(at.empty()) << when << ": no row is edited";
        PressKeys(VK_DOWN);
        TTestHook::ProcessEvents();
        const std::string below = StripText(status);
        EXPECT_NE(below, at) << when << ": Down did not move";
        EXPECT_FALSE(below.empty()) << when << ": Down left no row edited";
        PressKeys(VK_UP);
        TTestHook::ProcessEvents();
        EXPECT_EQ(StripText(status), at) << when << ": Up did not come back";
    };
    keysMove("at first");

    // Alt+T, T in the attribute window: the Text Box tool, its defaults in the window.
    PressShortcut("Alt+T");
    TTestHook::ProcessEvents();
    PressKeys('T');
    TTestHook::ProcessEvents();
    EXPECT_EQ(view.Tool(), cmRepTextBox - cmRepPointer) << "the menu's Text Box tool";
    EXPECT_EQ(StripText(header), "Default Text Box");
    EXPECT_TRUE(QRAttrGlobals::gAttrFrame->Widget()->isActiveWindow());
    keysMove("after Alt+T, T");

    // The preview of the definition, Alt+F, V in the attribute window, closed with its Close
    // button; the attribute window comes back, and the user goes on in it.
    bool previewed = false;
    WhenModalWindowRuns([&](TWindow& modal) {
        if (auto* preview = dynamic_cast<TRwPreview*>(&modal)) {
            previewed = true;
            ClickGadget(preview->GetControlBar(), CM_PREVIEWCLOSE);
        }
    });
    PressShortcut("Alt+F");
    TTestHook::ProcessEvents();
    PressKeys('V');
    TTestHook::ProcessEvents();
    ASSERT_TRUE(previewed);
    ASSERT_TRUE(QRAttrGlobals::gAttrFrame->IsWindowVisible()) << "the attribute window is back";
    // The window system gives the activation back to the window that had it, or the user
    // clicks the attribute window.
    if (!QRAttrGlobals::gAttrFrame->Widget()->isActiveWindow()) DesignerShell::Activate(*QRAttrGlobals::gAttrFrame);
    keysMove("after the preview");

    // The page break's defaults have no rows. A click below the rows leaves no row edited;
    // Down, and then Tab, start editing again.
    ASSERT_TRUE(ChooseMenuItem(*s.app->GetMainFrame(), 7114));
    TTestHook::ProcessEvents();
    DesignerShell::Activate(*QRAttrGlobals::gAttrFrame);
    EXPECT_EQ(StripText(header), "Default Page Break");
    EXPECT_EQ(StripText(status), "");
    PressKeys(VK_DOWN);
    TTestHook::ProcessEvents();
    EXPECT_EQ(StripText(status), "") << "no row to edit";
    DesignerShell::Activate(*s.app->GetMainFrame());
    PressKey(view, VK_ESCAPE);  // the pointer tool: the text box's attributes again
    TTestHook::ProcessEvents();
    DesignerShell::Activate(*QRAttrGlobals::gAttrFrame);
    QRAttrDlg& pane = *QRAttrGlobals::gAttrDlg;
    const TRect empty = pane.EmptyAreaRect();
    ASSERT_FALSE(empty.IsEmpty()) << "the rows fill the window";
    ASSERT_TRUE(ClickReaches(pane, empty.left + 4, (empty.top + empty.bottom) / 2));
    TTestHook::ProcessEvents();
    EXPECT_EQ(StripText(status), "") << "a click below the rows edits none";
    PressKeys(VK_DOWN);
    TTestHook::ProcessEvents();
    EXPECT_NE(StripText(status), "") << "Down starts editing a row";
    keysMove("after a click below the rows");
    ASSERT_TRUE(ClickReaches(pane, empty.left + 4, (empty.top + empty.bottom) / 2));
    TTestHook::ProcessEvents();
    PressKeys(VK_TAB);
    TTestHook::ProcessEvents();
    EXPECT_NE(StripText(status), "") << "Tab starts editing a row";
}

}  // namespace
