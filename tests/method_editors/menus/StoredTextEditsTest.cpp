// The method wizard's text edits, and the expression wizard's insert text, take no more bytes of
// UTF-8 than the wizard keeps of them: a long run of wide characters pasted in shows what is kept.
#include <gtest/gtest.h>

#include <vector>

#include "../../app/shell/ShownDemo.h"
#include "app/AppGlobals.h"
#include "app/AppSettings.h"
#include "document/QDoc.h"
#include "method_editors/CtxWzDlg.h"
#include "method_editors/QWizzAll.h"
#include "platform/core/Utf8Text.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/PropertySheet.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/UserInput.h"

using namespace vyn;

namespace stored_text_edits {

using Sheet = TPropertySheet;

std::string Repeat(const std::string& c, int n)
{
    std::string t;
    for (int i = 0; i < n; ++i) t += c;
    return t;
}

// Pasted at the end of the edit that has the keyboard: what it shows then.
std::string PasteAtEnd(TDialog& d, int id, const std::string& text)
{
    PressKeys(VK_END);
    EXPECT_TRUE(Clipboard::SetText(text));
    PressKeys('V', MK_CONTROL);
    TTestHook::ProcessEvents();
    return d.GetDlgItemText(id);
}

// The edit full: its text as long as the limit lets whole characters of c be, and valid.
void ExpectFull(const std::string& shown, std::size_t bytes, const std::string& c, const std::string& what)
{
    EXPECT_LE(shown.size(), bytes) << what;
    EXPECT_GT(shown.size() + c.size(), bytes) << what << ": the edit is full";
    EXPECT_TRUE(IsValidUtf8(shown)) << what << ": no character cut in half";
}

void ClickNext(Sheet& sheet)
{
    TWindow* next = sheet.GetDlgItem(Sheet::ID_PSNEXT);
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(ClickReaches(*next));
    TTestHook::ProcessEvents();
}

// The box ticked by a click of the mouse at its middle, unless it is ticked already.
void CheckBox(TDialog& page, int id)
{
    auto* box = dynamic_cast<TCheckBox*>(page.GetDlgItem(id));
    ASSERT_NE(box, nullptr) << id;
    if (box->GetCheck() == TCheckBox::BF_CHECKED) return;
    EXPECT_TRUE(ClickReaches(*box)) << id;
    TTestHook::ProcessEvents();
    EXPECT_EQ(box->GetCheck(), TCheckBox::BF_CHECKED) << id;
}

TEST(StoredTextEdits, TheWizardsEditsTakeWhatTheyKeep)
{
    ShownDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    TTestHook& hook = demo.hook;

    const std::string wide = "\xC3\xA4", wider = "\xE4\xB8\xAD";  // ä, 中
    std::vector<int> filled;  // per range of ids
    // Each shown edit of the ids on the page, clicked and filled.
    // Names that the page refuses beyond 61 characters are typed over with a short one then.
    auto fill = [&](TDialog& page, int first, int last, const std::string& c, std::size_t bytes, bool name) {
        filled.push_back(0);
        for (int id = first; id <= last; ++id) {
            TWindow* edit = page.GetDlgItem(id);
            if (!edit || !edit->IsWindowVisible()) continue;
            EXPECT_TRUE(ClickReaches(*edit)) << id;
            ExpectFull(PasteAtEnd(page, id, Repeat(c, 400)), bytes, c, std::to_string(id));
            if (name) {
                EXPECT_TRUE(TypeIntoField(*edit, c));
            }
            ++filled.back();
        }
    };
    hook.AnswerDialog(QWizzAll::kSheetResId, IDCANCEL, [&](TDialog& d) {
        auto& sheet = dynamic_cast<Sheet&>(d);
        TTestHook::ProcessEvents();
        for (int i = 0; i < 4 && sheet.GetActiveIndex() != QWizzAll::kCategoriesPage; ++i) ClickNext(sheet);
        ASSERT_EQ(sheet.GetActiveIndex(), QWizzAll::kCategoriesPage);
        TDialog& categories = *sheet.GetActivePage();

        // The expression wizard's text to insert, opened over the value to compare.
        TWindow* compare = categories.GetDlgItem(102);
        ASSERT_NE(compare, nullptr);
        ASSERT_TRUE(ClickReaches(*compare));
        bool inserted = false;
        hook.AnswerDialog(CtxWzDlg::kResId, IDCANCEL, [&](TDialog& w) {
            w.GetDlgItem(107)->SetFocus();
            ExpectFull(PasteAtEnd(w, 107, Repeat(wider, 100)), CtxWzDlg::kMaxInsert, wider, "insert text");
            inserted = true;
        });
        EXPECT_TRUE(RightClickReaches(*compare));
        TTestHook::ProcessEvents();
        EXPECT_TRUE(inserted);

        fill(categories, 102, 102, wide, 255, false);
        fill(categories, 300, 304, wide, 255, false);
        fill(categories, 200, 206, wide, 255, true);
        ClickNext(sheet);
        ASSERT_EQ(sheet.GetActiveIndex(), QWizzAll::kPresentationPage);
        TDialog& presentation = *sheet.GetActivePage();
        for (int box : {110, 111}) CheckBox(presentation, box);  // "Matrix", "Export"
        fill(presentation, 400, 406, wide, 255, true);
        fill(presentation, 500, 506, wide, 255, true);
        ClickNext(sheet);
        ASSERT_EQ(sheet.GetActiveIndex(), QWizzAll::kCompositionPage);
        // The long result's separators show for the parts it is to hold.
        TDialog& composition = *sheet.GetActivePage();
        for (int box : {103, 104, 105}) CheckBox(composition, box);
        fill(composition, 130, 133, wider, 31, false);
    });
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), CM_CALCULATIONS));
    // Value to compare, thresholds, category names, matrix and export names, separators.
    EXPECT_EQ(filled.size(), 6u);
    for (std::size_t i = 0; i < filled.size(); ++i) EXPECT_GT(filled[i], 0) << "range " << i << " shown and filled";
    EXPECT_TRUE(hook.MessageTexts().empty());
}

}  // namespace stored_text_edits
