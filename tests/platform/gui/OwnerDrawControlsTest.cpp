// Owner-drawn list boxes and buttons made from template styles: the owner's DrawItem gets every
// row with its state, keys reach the parent first, clicks by mouse and keyboard reach the parent.
#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlListBox.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/Gdi.h"
#include "platform/gui/TestHook.h"

using namespace vyn;

namespace {

constexpr unsigned kListStyle = dlgstyle::OWNERDRAWFIXED | dlgstyle::NOTIFY | dlgstyle::VSCROLL | dlgstyle::TABSTOP;
const TControlTemplate kControls[] = {
    {201, TControlKind::LISTBOX, "", kListStyle, 8, 8, 80, 40},
    {301, TControlKind::BUTTON, "", dlgstyle::OWNERDRAW | dlgstyle::TABSTOP, 100, 8, 16, 16},
    {IDOK, TControlKind::BUTTON, "OK", dlgstyle::DEFPUSHBUTTON | dlgstyle::TABSTOP, 8, 60, 40, 14},
    {IDCANCEL, TControlKind::BUTTON, "Cancel", dlgstyle::TABSTOP, 56, 60, 40, 14},
};
const TDialogTemplate kTemplate{9998, "Owner", 8, "MS Sans Serif", dlgstyle::POPUP | dlgstyle::CAPTION, 0, 0, 130, 80,
                                kControls, 4};

// Rows of the item data's colour; records what it was asked to draw.
class ColourList : public TListBox {
public:
    ColourList(TWindow* parent) : TListBox(parent, 201) {}
    struct Drawn {
        int item;
        unsigned state;
        TRect rect;
        int weight;
    };
    std::vector<Drawn> drawn;
    void DrawItem(TDrawItem& item) override
    {
        drawn.push_back({item.itemId, item.itemState, item.rcItem, item.dc.GetFont().GetObject().lfWeight});
        item.dc.FillRect(item.rcItem, TBrush(TColor(static_cast<std::uint32_t>(item.itemData))));
    }
    void MeasureItem(TMeasureItem& item) override { item.itemHeight = 10; }
};

class SwatchButton : public TButton {
public:
    explicit SwatchButton(TWindow* parent) : TButton(parent, 301) {}
    std::vector<unsigned> actions;
    void DrawItem(TDrawItem& item) override
    {
        actions.push_back(item.itemAction);
        item.dc.FillRect(item.rcItem, TBrush(TColor(255, 0, 0)));
    }

protected:
    // A choice rather than a push button: Enter on it is not a click of it.
    unsigned EvGetDlgCode(const TMsg*) override { return DLGC_BUTTON; }
};

class OwnerDialog : public TDialog {
public:
    OwnerDialog() : TDialog(nullptr, kTemplate), list(this), swatch(this)
    {
        OnNotify(201, LBN_SELCHANGE, [this] { ++selChanges; });
        OnCommand(301, [this] { ++swatchClicks; });
        OnMessage(WM_VKEYTOITEM, [this](TParam1 p1, TParam2) -> TResult {
            keys.push_back(LOWORD(p1));
            return LOWORD(p1) == VK_DELETE ? -2 : -1;
        });
        OnMessage(WM_CHARTOITEM, [this](TParam1 p1, TParam2) -> TResult {
            chars.push_back(LOWORD(p1));
            return LOWORD(p1) == 'z' ? 0 : -2;   // 'z' picks the first row
        });
    }
    ColourList list;
    SwatchButton swatch;
    int selChanges = 0, swatchClicks = 0;
    std::vector<unsigned> keys, chars;
};

}  // namespace

TEST(OwnerDrawnListBox, DrawsEveryRowWithItsDataAndState)
{
    TTestHook hook;
    hook.AnswerDialog(9998, IDCANCEL, [](TDialog& d) {
        auto& dlg = static_cast<OwnerDialog&>(d);
        EXPECT_EQ(dlg.list.GetItemHeight(), 10) << "measured once by the owner";
        dlg.list.AddString("");
        dlg.list.SetItemData(0, TColor(0, 0, 255).value);
        dlg.list.InsertString("", 0);
        dlg.list.SetItemData(0, TColor(0, 255, 0).value);
        EXPECT_EQ(dlg.list.GetItemData(1), TColor(0, 0, 255).value) << "inserting moves the data with its row";
        dlg.list.SetSelIndex(1);
        dlg.list.drawn.clear();
        dlg.ShowWindow(SW_SHOW);
        TTestHook::ProcessEvents();
        dlg.list.UpdateWindow();
        ASSERT_NE(dlg.list.ClientImage(), nullptr);
        const QImage& img = *dlg.list.ClientImage();
        EXPECT_EQ(QColor(img.pixel(3, 3)), QColor(0, 255, 0)) << "row 0 drawn by the owner";
        EXPECT_EQ(QColor(img.pixel(3, 13)), QColor(0, 0, 255)) << "row 1 ten pixels lower";
        bool sawSelected = false;
        for (const auto& r : dlg.list.drawn)
            if (r.item == 1) sawSelected = (r.state & ODS_SELECTED) != 0 && r.rect.top == 10;
        EXPECT_TRUE(sawSelected);
        for (const auto& r : dlg.list.drawn) EXPECT_EQ(r.weight, FW_NORMAL) << "rows drawn in the dialog's font";
        EXPECT_EQ(dlg.selChanges, 0) << "a selection by the program is silent";

        EXPECT_EQ(dlg.list.DeleteString(1), 1);
        EXPECT_EQ(dlg.list.GetSelIndex(), -1) << "the selected row went";
        EXPECT_EQ(dlg.list.DeleteString(5), LB_ERR);
    });
    OwnerDialog dlg;
    dlg.Execute();
}

TEST(OwnerDrawnListBox, KeysAndCharactersGoToTheParentFirst)
{
    TTestHook hook;
    hook.AnswerDialog(9998, IDCANCEL, [](TDialog& d) {
        auto& dlg = static_cast<OwnerDialog&>(d);
        for (int i = 0; i < 3; ++i) dlg.list.AddString("");
        dlg.list.SetSelIndex(0);
        dlg.list.SetFocus();
        TTestHook::Key(VK_DOWN, 0, &dlg.list);
        EXPECT_EQ(dlg.list.GetSelIndex(), 1) << "left to the list: Down moves the selection";
        EXPECT_EQ(dlg.selChanges, 1);
        TTestHook::Key(VK_DELETE, 0, &dlg.list);
        EXPECT_EQ(dlg.list.GetCount(), 3) << "the parent handled Delete";
        TTestHook::Type("a", &dlg.list);
        EXPECT_EQ(dlg.list.GetSelIndex(), 1);
        TTestHook::Type("z", &dlg.list);
        EXPECT_EQ(dlg.list.GetSelIndex(), 0) << "the parent's answer selects a row";
        EXPECT_EQ(dlg.selChanges, 2);
        EXPECT_EQ(dlg.keys, (std::vector<unsigned>{VK_DOWN, VK_DELETE, 'A', 'Z'})) << "letter keys are keys too";
        EXPECT_EQ(dlg.chars, (std::vector<unsigned>{'a', 'z'}));
    });
    OwnerDialog dlg;
    dlg.Execute();
}

TEST(OwnerDrawnButton, ClickedByMouseAndSpaceButEnterGoesToTheDefault)
{
    TTestHook hook;
    hook.AnswerDialog(9998, 0, [](TDialog& d) {
        auto& dlg = static_cast<OwnerDialog&>(d);
        dlg.ShowWindow(SW_SHOW);
        TTestHook::ProcessEvents();
        dlg.swatch.UpdateWindow();
        ASSERT_FALSE(dlg.swatch.actions.empty());
        EXPECT_EQ(QColor(dlg.swatch.ClientImage()->pixel(2, 2)), QColor(255, 0, 0)) << "the owner drew the face";
        TTestHook::Click(dlg.swatch);
        EXPECT_EQ(dlg.swatchClicks, 1);
        EXPECT_TRUE(dlg.swatch.HasFocus()) << "a click takes the focus";
        dlg.swatch.actions.clear();
        TTestHook::Key(VK_SPACE, 0, &dlg.swatch);
        EXPECT_EQ(dlg.swatchClicks, 2);
        dlg.swatch.UpdateWindow();
        EXPECT_FALSE(dlg.swatch.actions.empty());
        TTestHook::Key(VK_RETURN, 0, &dlg.swatch);
        EXPECT_EQ(dlg.swatchClicks, 2) << "Enter is the default button's";
    });
    OwnerDialog dlg;
    EXPECT_EQ(dlg.Execute(), IDOK);
}

TEST(DialogTemplateLabels, EveryLineWithIdMinusOneIsAControlOfItsOwn)
{
    const TControlTemplate controls[] = {
        {-1, TControlKind::STATIC, "First", dlgstyle::LEFT, 4, 4, 40, 8},
        {-1, TControlKind::STATIC, "Second", dlgstyle::LEFT, 4, 20, 40, 8},
        {-1, TControlKind::STATIC, "", dlgstyle::BORDER, 2, 2, 60, 30},
        {IDOK, TControlKind::BUTTON, "OK", dlgstyle::DEFPUSHBUTTON, 4, 40, 40, 14},
    };
    const TDialogTemplate tmpl{9997, "Labels", 8, "MS Sans Serif", dlgstyle::POPUP, 0, 0, 80, 60, controls, 4};
    TTestHook hook;
    std::vector<std::pair<std::string, int>> labels;
    hook.AnswerDialog(9997, IDOK, [&](TDialog& d) {
        for (TWindow* c : d.Children())
            if (c->GetId() == -1) labels.emplace_back(c->GetWindowText(), d.ChildRectInClient(*c).top);
    });
    TDialog dlg(nullptr, tmpl);
    dlg.Execute();
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[0].first, "First");
    EXPECT_EQ(labels[1].first, "Second");
    EXPECT_LT(labels[0].second, labels[1].second) << "each keeps its own place";
}
