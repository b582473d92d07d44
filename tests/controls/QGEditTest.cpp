// The grid edit: what the notify window hears for each way of ending an edit, the leave and
// forward keys, and the one-key edit.
#include <gtest/gtest.h>

#include "controls/QGEdit.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/TestHook.h"

namespace vyn {
namespace {

class Grid : public TWindow {
public:
    Grid(TWindow* parent) : TWindow(parent, 50) {}
    std::vector<std::string> heard;

protected:
    TResult EvCommand(unsigned id, TWindow*, unsigned code) override
    {
        heard.push_back(std::string(code == 1 ? "changed " : "ended ") + std::to_string(id));
        return 0;
    }
    void EvKeyDown(unsigned key, unsigned, unsigned) override { heard.push_back("key " + std::to_string(key)); }
};

const TControlTemplate kControls[] = {
    {7, TControlKind::EDIT, "", dlgstyle::TABSTOP, 8, 8, 60, 12},
    {IDOK, TControlKind::BUTTON, "OK", dlgstyle::DEFPUSHBUTTON | dlgstyle::TABSTOP, 8, 30, 40, 14},
};
const TDialogTemplate kTemplate{9998, "Grid", 8, "MS Sans Serif", dlgstyle::POPUP | dlgstyle::CAPTION, 0, 0, 120, 60,
                                kControls, 2};

struct Fixture {
    TDialog dlg{nullptr, kTemplate};
    Grid* grid = new Grid(&dlg);
    QGEdit* edit = new QGEdit(&dlg, grid, grid, 7, false);
    Fixture()
    {
        dlg.Create();
        grid->MoveWindow(0, 60, 100, 40);
        dlg.ShowWindow(SW_SHOW);
        edit->ShowWindow(SW_SHOW);
        grid->SetFocus();
    }
};

TEST(GridEdit, KeySequencesEndTheEditAsTheNotifyWindowExpects)
{
    using Steps = std::function<void(QGEdit&)>;
    struct Row {
        const char* name;
        Steps steps;
        std::vector<std::string> heard;
        std::string text;
    } rows[] = {
        {"Enter after typing: changed, then ended",
         [](QGEdit& e) {
             e.OpenFocused("12");
             TTestHook::Type("3");
             TTestHook::Key(VK_RETURN);
         },
         {"changed 7", "ended 7"}, "123"},
        {"Escape after typing: ended only",
         [](QGEdit& e) {
             e.OpenFocused("12");
             TTestHook::Type("3");
             TTestHook::Key(VK_ESCAPE);
         },
         {"ended 7"}, "123"},
        {"Enter without typing: ended only",
         [](QGEdit& e) {
             e.OpenSelected("12");
             TTestHook::Key(VK_RETURN);
         },
         {"ended 7"}, "12"},
        {"Down leaves and is forwarded to the owner",
         [](QGEdit& e) {
             e.OpenFocused("5");
             TTestHook::Key(VK_DOWN);
         },
         {"ended 7", "key 40"}, "5"},
        {"Left is not in the open masks: it moves the caret",
         [](QGEdit& e) {
             e.OpenFocused("5");
             TTestHook::Key(VK_LEFT);
             TTestHook::Type("4");
         },
         {}, "45"},
        {"a typed character opens modified with all six keys leaving",
         [](QGEdit& e) {
             e.OpenWithChar('7');
             TTestHook::Key(VK_LEFT);
         },
         {"changed 7", "ended 7", "key 37"}, "7"},
        {"opening with no text ends at once and keeps the text",
         [](QGEdit& e) {
             e.SetWindowText("old");
             e.Open(nullptr);
         },
         {"ended 7"}, "old"},
        {"Commit after typing hands the typed value over before ending",
         [](QGEdit& e) {
             e.OpenFocused("1");
             TTestHook::Type("2");
             e.Commit();
         },
         {"changed 7", "ended 7", "ended 7"}, "12"},
        {"Commit without the focus does nothing",
         [](QGEdit& e) {
             e.Open("1");
             e.Commit();
         },
         {}, "1"},
    };
    for (const auto& r : rows) {
        Fixture f;
        f.grid->heard.clear();
        r.steps(*f.edit);
        EXPECT_EQ(f.grid->heard, r.heard) << r.name;
        EXPECT_EQ(f.edit->GetWindowText(), r.text) << r.name;
    }
}

TEST(GridEdit, EnterAndEscapeStayOutOfTheDialogButtons)
{
    Fixture f;
    f.edit->OpenFocused("1");
    TTestHook::Key(VK_RETURN);
    EXPECT_FALSE(f.dlg.HasEnded()) << "Enter must not press OK";
    EXPECT_TRUE(f.grid->HasFocus());

    // Without a focus owner the edit is a plain edit: Enter presses the default button and
    // losing the focus tells nobody.
    f.edit->FocusOwner = nullptr;
    f.grid->heard.clear();
    f.edit->SetFocus();
    TTestHook::Key(VK_RETURN);
    EXPECT_TRUE(f.dlg.HasEnded());
    EXPECT_EQ(f.dlg.GetResult(), IDOK);
    EXPECT_TRUE(f.grid->heard.empty());
}

TEST(GridEdit, ToolBarFormIsSizedInDialogUnitsAndHidden)
{
    TWindow bar;
    Grid* owner = new Grid(&bar);
    QGEdit* e = new QGEdit(&bar, owner, 9, 10);
    ASSERT_TRUE(bar.Create());
    TSize bu = TDialog::BaseUnitsOf("MS Sans Serif", 8);
    EXPECT_EQ(e->GetClientRect().Size(), TSize(10 * bu.cx, 12 * bu.cy / 8));
    bar.ShowWindow(SW_SHOW);
    EXPECT_FALSE(e->IsWindowVisible());
    EXPECT_EQ(e->FocusOwner, owner);
    EXPECT_EQ(e->NotifyWnd, owner);
}

TEST(OneKeyEdit, TypedKeyReplacesTheTextOtherKeysDoNothing)
{
    TDialog dlg(nullptr, kTemplate);
    QScEdit* e = new QScEdit(&dlg, 7);
    ASSERT_TRUE(dlg.Create());
    dlg.ShowWindow(SW_SHOW);
    e->SetWindowText("a");
    e->SetFocus();
    TTestHook::Type("b");
    EXPECT_EQ(e->GetWindowText(), "b");
    for (unsigned key : {VK_BACK, VK_DELETE, VK_LEFT, VK_HOME}) {
        TTestHook::Key(key);
        EXPECT_EQ(e->GetWindowText(), "b") << "key " << key;
    }
    TTestHook::Type("X");
    EXPECT_EQ(e->GetWindowText(), "X");
}

}  // namespace
}  // namespace vyn
