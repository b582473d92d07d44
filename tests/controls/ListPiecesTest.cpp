// The pieces a definition list is edited with: the variable list's rows and the keys and
// clicks it reports, the Confirm/Cancel pair, and the rename dialog's answers.
#include <gtest/gtest.h>

#include "controls/QGEdit.h"
#include "evaluator/NoValue.h"
#include "controls/QVarList.h"
#include "controls/QVarNameDlg.h"
#include "controls/TOkCancelGadgetWin.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/TestHook.h"

namespace vyn {
namespace {

const TControlTemplate kControls[] = {
    {101, TControlKind::LISTBOX, "", dlgstyle::BORDER | dlgstyle::TABSTOP, 40, 4, 150, 80},
    {102, TControlKind::EDIT, "", dlgstyle::BORDER | dlgstyle::TABSTOP, 40, 90, 150, 12},
};
const TDialogTemplate kHost{9901, "Host", 8, "MS Sans Serif", dlgstyle::POPUP | dlgstyle::CAPTION, 0, 0, 200, 110,
                            kControls, 2};

// A dialog with a list, an edit and a pair that records what reaches it.
struct Host : TDialog {
    std::vector<double> numbers;
    TwostrArray defs;
    QVarList* list;
    QGEdit* edit;
    TOkCancelGadgetWin* pair;
    std::vector<unsigned> codes;     // the list's notifications
    std::vector<unsigned> commands;  // commands without a control

    explicit Host(bool numbersMode, std::vector<double> n = {}, TwostrArray d = {})
        : TDialog(nullptr, kHost), numbers(std::move(n)), defs(std::move(d)),
          list(new QVarList(this, 101, TColor(0, 0, 255), numbersMode ? &numbers : nullptr, numbersMode ? nullptr : &defs)),
          edit(new QGEdit(this, list, this, 102, false)), pair(new TOkCancelGadgetWin(this))
    {
        Create();
        ShowWindow(SW_SHOW);
        edit->ShowWindow(SW_SHOW);
        TTestHook::ProcessEvents();
    }
    TResult EvCommand(unsigned id, TWindow* control, unsigned code) override
    {
        if (id == 101) codes.push_back(code);
        else if (!control && (id == IDOK || id == IDCANCEL)) commands.push_back(id);
        else return TDialog::EvCommand(id, control, code);
        return 0;
    }
    void Press(unsigned msg, TPoint p) { list->SendMessage(msg, 0, MAKELPARAM(p.x, p.y)); }
};

struct KeyCase {
    const char* name;
    unsigned key;
    unsigned mods;
    bool numbersMode;
    bool active;
    std::vector<unsigned> expected;
};

TEST(VarList, KeysReachTheParentOnlyFromAnActiveList)
{
    const KeyCase cases[] = {
        {"F2", VK_F2, 0, false, true, {QVarList::vlF2}},
        {"Ctrl+Enter on names", VK_RETURN, MK_CONTROL, false, true, {QVarList::vlCtrlEnter}},
        {"Insert", VK_INSERT, 0, false, true, {QVarList::vlInsert}},
        {"Delete", VK_DELETE, 0, true, true, {QVarList::vlDelete}},
        {"Ctrl+Enter on numbers", VK_RETURN, MK_CONTROL, true, true, {}},
        {"F2 inactive", VK_F2, 0, false, false, {}},
        {"Insert inactive", VK_INSERT, 0, true, false, {}},
        {"Delete inactive", VK_DELETE, 0, false, false, {}},
    };
    for (const KeyCase& c : cases) {
        TTestHook hook;
        Host host(c.numbersMode, {1.0}, {{"a", "1"}});
        host.list->Activate(c.active);
        host.list->SetFocus();
        TTestHook::Key(c.key, c.mods, host.list);
        EXPECT_EQ(host.codes, c.expected) << c.name;
        EXPECT_FALSE(host.HasEnded()) << c.name << ": the key never reached the dialog's buttons";
    }
}

TEST(VarList, RowsFollowTheArrayWithOneNewEntryRow)
{
    TTestHook hook;
    Host empty(true);
    EXPECT_EQ(empty.list->GetCount(), 1);
    EXPECT_EQ(empty.list->GetSelIndex(), 0);
    EXPECT_FALSE(empty.list->HasElementSelected());
    empty.list->DeleteRow();
    EXPECT_EQ(empty.list->GetCount(), 1) << "the new-entry row is never deleted";
    EXPECT_EQ(hook.Beeps(), 1);

    Host two(true, {1.0, 2.0});
    EXPECT_EQ(two.list->GetCount(), 3);
    two.list->SetSelIndex(1);
    two.numbers.insert(two.numbers.begin() + 1, NoValue);
    two.list->InsertRow();
    EXPECT_EQ(two.list->GetCount(), 4);
    EXPECT_EQ(two.list->GetSelIndex(), 1) << "the selection stays on the inserted element";
    two.numbers.erase(two.numbers.begin() + 1);
    two.list->DeleteRow();
    EXPECT_EQ(two.list->GetCount(), 3);
    EXPECT_EQ(two.list->GetSelIndex(), 1) << "the next row takes the place";
    two.list->SelectLast();
    EXPECT_EQ(two.list->GetSelIndex(), 2);
    EXPECT_EQ(hook.Beeps(), 1);
}

TEST(VarList, NameButtonClicksOnlyWhenReleasedInside)
{
    TTestHook hook;
    Host host(false, {}, {{"alpha", "1+2"}});
    host.list->Activate(true);
    host.list->SetFocus();
    const TPoint inside(6, host.list->RowHeight() / 2);
    const TPoint outside(400, host.list->RowHeight() / 2);

    host.Press(WM_LBUTTONDOWN, inside);
    EXPECT_EQ(host.list->GetState(), QVarList::stNameIn);
    host.Press(WM_MOUSEMOVE, outside);
    EXPECT_EQ(host.list->GetState(), QVarList::stNameOut);
    host.Press(WM_LBUTTONUP, outside);
    EXPECT_TRUE(host.codes.empty()) << "released outside the name: no rename";
    EXPECT_EQ(host.list->GetState(), QVarList::stIdle);

    host.Press(WM_LBUTTONDOWN, inside);
    host.Press(WM_MOUSEMOVE, outside);
    host.Press(WM_MOUSEMOVE, inside);
    host.Press(WM_LBUTTONUP, inside);
    EXPECT_EQ(host.codes, std::vector<unsigned>{QVarList::vlNameClick});

    host.codes.clear();
    host.Press(WM_RBUTTONDOWN, outside);
    host.Press(WM_RBUTTONUP, outside);
    EXPECT_EQ(host.codes, std::vector<unsigned>{QVarList::vlRightClick});

    host.codes.clear();
    host.list->Activate(false);
    host.Press(WM_LBUTTONDOWN, inside);
    host.Press(WM_LBUTTONUP, inside);
    host.Press(WM_RBUTTONDOWN, inside);
    host.Press(WM_RBUTTONUP, inside);
    EXPECT_TRUE(host.codes.empty()) << "an inactive list has no name button and no right click";
}

TEST(OkCancelPair, SizedByTheFirstPairAndEnabledWithTheEditsFocus)
{
    TTestHook hook;
    Host first(true, {1.0});
    const TSize size = gOkCancelSize;
    ASSERT_GT(size.cx, 0);
    EXPECT_GE(size.cx, 2 * (16 + 7)) << "two 16-pixel pictures with their button frames";
    for (TGadget* g : first.pair->Gadgets())
        EXPECT_LE(g->GetBounds().right, size.cx) << "no button is cut off";
    Host second(true);
    EXPECT_EQ(second.pair->GetClientRect().Width(), size.cx);
    EXPECT_EQ(second.pair->GetClientRect().Height(), size.cy);

    second.list->SetFocus();
    second.pair->PlaceBeside(*second.edit);
    EXPECT_FALSE(second.pair->GadgetsEnabled()) << "the edit has no focus";
    const TRect e = second.ChildRectInClient(*second.edit);
    const TRect p = second.ChildRectInClient(*second.pair);
    EXPECT_EQ(p.left, e.left - size.cx - size.cx / 8);
    EXPECT_EQ(p.top, e.top + (e.Height() - size.cy) / 2);

    second.edit->SetFocus();
    second.pair->PlaceBeside(*second.edit);
    EXPECT_TRUE(second.pair->GadgetsEnabled());
    auto click = [&](int index) {
        const TRect b = second.pair->Gadgets()[static_cast<std::size_t>(index)]->GetBounds();
        const TPoint c((b.left + b.right) / 2, (b.top + b.bottom) / 2);
        second.pair->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, c.y));
        second.pair->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(c.x, c.y));
    };
    click(0);
    click(1);
    EXPECT_EQ(second.commands, (std::vector<unsigned>{IDCANCEL, IDOK})) << "cancel left, confirm right, to the owner";
    second.pair->EnableGadgets(false);
    click(1);
    EXPECT_EQ(second.commands.size(), 2u) << "a disabled pair sends nothing";
}

struct RenameCase {
    const char* name;
    std::string start;
    std::function<void(TEdit&)> typing;
    int result;
    std::string after;
};

TEST(VarNameDlg, AnswersOkOnlyForAChangedName)
{
    const std::string forty(40, 'q');
    const RenameCase cases[] = {
        {"untouched", "fct1", [](TEdit&) {}, IDCANCEL, "fct1"},
        {"typed and deleted", "fct1",
         [](TEdit& e) {
             TTestHook::Type("z", &e);
             TTestHook::Key(VK_BACK, 0, &e);
         },
         IDOK, "fct1"},
        {"forty characters", forty.substr(0, 39), [](TEdit& e) { TTestHook::Type("q", &e); }, IDOK, forty.substr(0, 33)},
    };
    for (const RenameCase& c : cases) {
        TTestHook hook;
        hook.AnswerDialog(QVarNameDlg::kResId, 0, [&](TDialog& d) {
            auto& edit = static_cast<TEdit&>(*d.GetDlgItem(102));
            edit.SetFocus();
            edit.SetSelection(1000, 1000);
            c.typing(edit);
            d.SendCommand(IDOK, BN_CLICKED, d.GetDlgItem(IDOK));
        });
        QVarNameDlg dlg(nullptr);
        dlg.name = c.start;
        EXPECT_EQ(dlg.Execute(), c.result) << c.name;
        EXPECT_EQ(dlg.name, c.after) << c.name;
    }
}

}  // namespace
}  // namespace vyn
