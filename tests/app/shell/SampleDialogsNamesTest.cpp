// "Sample Names" driven by control ids over a small descriptor list: adding, renaming and
// deleting on a page, the colour swatches and the sign, descriptors that wells use, the checks
// of duplicate and empty names at OK, and the copy-back only on a change.
#include <gtest/gtest.h>

#include "app/QClrBut.h"
#include "app/QDescLst.h"
#include "app/QDlgDesc.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"

using namespace vyn;

namespace {

constexpr std::uint32_t kUsed = QDlgDesc::kInUse;

// Control 1 (used by a well) and 2, a qualitative name, a used standard and a quantitative name.
QDescList Fixture()
{
    QDescList l;
    l.push_back(std::make_unique<QDesc>(1 | kUsed, "C1", TColor(0, 0, 0), "used control"));
    l.push_back(std::make_unique<QDesc>(1, "C2", TColor(0, 0, 255), "second"));
    l.push_back(std::make_unique<QDesc>(2, "LNeg", TColor(0, 0, 0), ""));
    l.push_back(std::make_unique<QDesc>(4 | kUsed, "S1", TColor(0, 0, 0), ""));
    l.push_back(std::make_unique<QDesc>(8, "Q1", TColor(0, 0, 0), ""));
    return l;
}

std::string Names(const QDescList& l)
{
    std::string out;
    for (const auto& d : l) out += (out.empty() ? "" : "|") + d->name;
    return out;
}

QDlgDesc& Dlg(TDialog& d) { return static_cast<QDlgDesc&>(d); }
TEdit& Edit(TDialog& d, int id) { return *dynamic_cast<TEdit*>(d.GetDlgItem(id)); }
bool Shown(TDialog& d, int id) { return d.GetDlgItem(id)->IsWindowVisible(); }
bool Enabled(TDialog& d, int id) { return d.GetDlgItem(id)->IsWindowEnabled(); }

// Shows the dialog so that focus and drawing are real.
void Show(TDialog& d)
{
    d.ShowWindow(SW_SHOW);
    TTestHook::ProcessEvents();
}

void Select(TDialog& d, int row) { Dlg(d).PageList(Dlg(d).CurrentPage())->UserSelect(row); }

// The focus off the lists and the name edit, so that OK checks and saves.
void FocusOk(TDialog& d) { d.GetDlgItem(IDOK)->SetFocus(); }

}  // namespace

TEST(SampleNamesDialog, AddRenameRecolourAndDeleteThenCopyBackKeepingUsedObjects)
{
    TTestHook hook;
    QDescList descs = Fixture();
    const QDesc* used = descs[0].get();
    hook.AnswerDialog(QDlgDesc::kResId, IDOK, [](TDialog& d) {
        Show(d);
        EXPECT_EQ(Dlg(d).CurrentPage(), 0);
        QDescLst* list = Dlg(d).PageList(0);
        EXPECT_EQ(list->GetCount(), 3) << "two controls and the new-descriptor row";
        Select(d, 2);
        EXPECT_TRUE(Shown(d, 701) && Enabled(d, 701));
        EXPECT_TRUE(Shown(d, 801));
        EXPECT_FALSE(Enabled(d, 801)) << "nothing to delete on the new row";
        Edit(d, 701).SetWindowText("C3");
        EXPECT_EQ(list->GetCount(), 4) << "typing on the new row made a descriptor";
        QDesc* made = list->GetSelected();
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->kind, 1u);
        EXPECT_EQ(made->colour, TColor(0, 0, 0));

        Select(d, 1);
        Edit(d, 701).SetWindowText("C2x");
        TTestHook::Click(*d.GetDlgItem(406));  // red
        EXPECT_EQ(list->GetSelected()->colour, TColor(255, 0, 0));
        EXPECT_TRUE(dynamic_cast<QClrBut*>(d.GetDlgItem(406))->IsSelected());
        EXPECT_TRUE(dynamic_cast<QClrBut*>(d.GetDlgItem(406))->GetStyle() & dlgstyle::TABSTOP);
        EXPECT_FALSE(dynamic_cast<QClrBut*>(d.GetDlgItem(402))->GetStyle() & dlgstyle::TABSTOP)
            << "only the chosen swatch is a tab stop";

        Select(d, 2);
        TTestHook::Click(*d.GetDlgItem(801));
        EXPECT_EQ(list->GetCount(), 3);

        EXPECT_TRUE(ClickReaches(*d.GetDlgItem(104)));
        EXPECT_EQ(Dlg(d).CurrentPage(), 3);
        Select(d, 0);
        EXPECT_TRUE(Shown(d, 501)) << "quantitative names have a sign";
        TTestHook::Click(*d.GetDlgItem(501));
        EXPECT_TRUE(Dlg(d).PageList(3)->GetSelected()->IsReference());
        FocusOk(d);
    });
    QDlgDesc dlg(nullptr, descs);
    EXPECT_EQ(dlg.Execute(), IDOK);
    EXPECT_EQ(Names(descs), "C1|C2x|LNeg|S1|Q1");
    EXPECT_EQ(descs[0].get(), used) << "a descriptor that wells point at keeps its object";
    EXPECT_EQ(descs[1]->colour, TColor(255, 0, 0));
    EXPECT_EQ(descs[4]->kind, 8u | QDesc::kReference);
}

TEST(SampleNamesDialog, UsedDescriptorIsShownButNeitherChangedNorDeleted)
{
    TTestHook hook;
    QDescList descs = Fixture();
    hook.AnswerDialog(QDlgDesc::kResId, IDOK, [](TDialog& d) {
        Show(d);
        Select(d, 0);
        EXPECT_FALSE(Enabled(d, 701)) << "name";
        EXPECT_FALSE(Enabled(d, 703)) << "long text";
        EXPECT_FALSE(Enabled(d, 801)) << "Delete";
        EXPECT_FALSE(Shown(d, 401)) << "no colours";
        EXPECT_EQ(Edit(d, 703).GetWindowText(), "used control");
        QDescLst* list = Dlg(d).PageList(0);
        list->SetFocus();
        TTestHook::Key(VK_DELETE, 0, list);
        EXPECT_EQ(list->GetCount(), 3);
        EXPECT_TRUE(ClickReaches(*d.GetDlgItem(103)));
        Select(d, 0);
        EXPECT_FALSE(Enabled(d, 501)) << "the sign of a used standard";
        FocusOk(d);
    });
    QDlgDesc dlg(nullptr, descs);
    EXPECT_EQ(dlg.Execute(), IDCANCEL) << "nothing changed: the document stays clean";
    ASSERT_EQ(hook.MessageTexts().size(), 1u);
    EXPECT_EQ(hook.MessageTexts()[0], "Descriptor cannot be deleted,\r\nbecause it is already used.");
    EXPECT_EQ(Names(descs), "C1|C2|LNeg|S1|Q1");
}

TEST(SampleNamesDialog, OkChecksEachPageForDuplicateAndEmptyNames)
{
    struct Case {
        const char* name;
        int page, row;
        const char* typed;
        int boxAnswer;          // 0: no message expected
        const char* message;
        int result;
        const char* names;      // the list afterwards
        int shownPage, selected;
    };
    const char* kDup = "Duplicite descriptors found.\r\nRename a descriptor.\r\nChoose RETRY to see the error page.";
    const char* kEmpty = "A descriptor without name found.\r\nRename a descriptor.\r\nChoose RETRY to see the error page.";
    const Case cases[] = {
        {"names differing in case are duplicates", 0, 1, "c1", IDABORT, kDup, IDCANCEL, "C1|C2|LNeg|S1|Q1", 0, 1},
        {"ignore saves the duplicate", 0, 1, "c1", IDIGNORE, kDup, IDOK, "C1|c1|LNeg|S1|Q1", 0, 1},
        {"equal names on other pages are fine", 1, 0, "C1", 0, "", IDOK, "C1|C2|C1|S1|Q1", 1, 0},
        {"two blanks are an empty name", 0, 1, "  ", IDABORT, kEmpty, IDCANCEL, "C1|C2|LNeg|S1|Q1", 0, 1},
        {"blanks around a name are cut", 3, 0, "  Q9 ", 0, "", IDOK, "C1|C2|LNeg|S1|Q9", 3, 0},
        {"the error page is shown", 3, 0, "  ", IDABORT, kEmpty, IDCANCEL, "C1|C2|LNeg|S1|Q1", 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTestHook hook;
        if (c.boxAnswer) hook.AnswerMessageBox(c.boxAnswer);
        QDescList descs = Fixture();
        int shownPage = -1, selected = -2;
        hook.AnswerDialog(QDlgDesc::kResId, 0, [&](TDialog& d) {
            Show(d);
            EXPECT_TRUE(ClickReaches(*d.GetDlgItem(101 + c.page)));
            Select(d, c.row);
            Edit(d, 701).SetWindowText(c.typed);
            if (c.page != 0) { EXPECT_TRUE(ClickReaches(*d.GetDlgItem(101))); }
            FocusOk(d);
            TTestHook::Click(*d.GetDlgItem(IDOK));
            shownPage = Dlg(d).CurrentPage();
            Dlg(d).PageList(shownPage)->GetSelected(&selected);
        });
        QDlgDesc dlg(nullptr, descs);
        EXPECT_EQ(dlg.Execute(), c.result);
        EXPECT_EQ(Names(descs), c.names);
        if (c.boxAnswer) {
            ASSERT_EQ(hook.Messages().size(), 1u);
            EXPECT_EQ(hook.Messages()[0].text, c.message);
            EXPECT_EQ(hook.Messages()[0].flags, MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
            EXPECT_EQ(shownPage, c.shownPage);
            EXPECT_EQ(selected, c.selected);
        } else {
            EXPECT_TRUE(hook.Messages().empty());
        }
    }
}

TEST(SampleNamesDialog, ErasingTheLastNameDeletesItButNotAnEarlierOne)
{
    TTestHook hook;
    QDescList descs = Fixture();
    hook.AnswerDialog(QDlgDesc::kResId, IDCANCEL, [](TDialog& d) {
        Show(d);
        QDescLst* list = Dlg(d).PageList(0);
        Select(d, 2);
        Edit(d, 701).SetWindowText("N");
        Edit(d, 701).SetWindowText("");
        EXPECT_EQ(list->GetCount(), 3) << "the new descriptor went again";
        EXPECT_EQ(list->GetSelected(), nullptr);
        // C2 is now last of the page: erasing it deletes it; with a name after it, it stays.
        Select(d, 2);
        Edit(d, 701).SetWindowText("N");
        Select(d, 1);
        Edit(d, 701).SetWindowText("");
        EXPECT_EQ(list->GetCount(), 4);
        EXPECT_EQ(list->GetSelected()->name, "");
    });
    QDlgDesc dlg(nullptr, descs);
    EXPECT_EQ(dlg.Execute(), IDCANCEL);
    EXPECT_EQ(Names(descs), "C1|C2|LNeg|S1|Q1") << "Cancel leaves the plate's list alone";
}

TEST(SampleNamesDialog, StartKindLocksThePage)
{
    TTestHook hook;
    QDescList descs = Fixture();
    hook.AnswerDialog(QDlgDesc::kResId, IDCANCEL, [](TDialog& d) {
        EXPECT_EQ(Dlg(d).CurrentPage(), 1);
        EXPECT_TRUE(Shown(d, 202) || !d.IsWindowVisible());
        EXPECT_TRUE(Enabled(d, 102));
        EXPECT_FALSE(Enabled(d, 101));
        EXPECT_FALSE(Enabled(d, 103));
        EXPECT_FALSE(Enabled(d, 104));
        EXPECT_EQ(d.GetContextHelpId(), 3140);
    });
    QDlgDesc dlg(nullptr, descs);
    dlg.SetStartKind(2);
    dlg.Execute();
}

TEST(SampleNamesDialog, KeyboardOntoASwatchPicksItAndEnterIsOk)
{
    TTestHook hook;
    QDescList descs = Fixture();
    hook.AnswerDialog(QDlgDesc::kResId, 0, [](TDialog& d) {
        Show(d);
        Select(d, 1);
        d.GetDlgItem(403)->SetFocus();  // as Tab or an arrow would move it
        EXPECT_EQ(Dlg(d).PageList(0)->GetSelected()->colour, TColor(0, 255, 255));
        TTestHook::Key(VK_RETURN, 0, d.GetDlgItem(403));
    });
    QDlgDesc dlg(nullptr, descs);
    EXPECT_EQ(dlg.Execute(), IDOK) << "Enter on a swatch is OK, and the colour changed";
    EXPECT_EQ(descs[1]->colour, TColor(0, 255, 255));
}

TEST(SampleNamesDialog, EnterWalksBetweenListAndNameEditBeforeItEndsTheDialog)
{
    TTestHook hook;
    QDescList descs = Fixture();
    hook.AnswerDialog(QDlgDesc::kResId, IDCANCEL, [](TDialog& d) {
        Show(d);
        QDescLst* list = Dlg(d).PageList(0);
        Select(d, 1);
        list->SetFocus();
        TTestHook::Key(VK_RETURN, 0, list);
        EXPECT_FALSE(d.HasEnded());
        EXPECT_TRUE(d.GetDlgItem(701)->HasFocus()) << "Enter on a free name goes to its edit";
        TTestHook::Key(VK_RETURN, 0, d.GetDlgItem(701));
        TTestHook::ProcessEvents();
        EXPECT_FALSE(d.HasEnded());
        EXPECT_TRUE(list->HasFocus());
        EXPECT_EQ(list->GetSelIndex(), 2) << "and back to the list, one row down";
    });
    QDlgDesc dlg(nullptr, descs);
    EXPECT_EQ(dlg.Execute(), IDCANCEL);
}
