// What a user types into the Names dialog and pastes into one-line fields reaches the plate file
// as it is shown: a name the file cannot carry is refused at OK (not at the next Save), and a
// line break pasted into a one-line field becomes a blank that the saved plate keeps.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ShownDemo.h"
#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/QDlgDesc.h"
#include "app/QDlgNameInfo.h"
#include "app/RwMainWindow.h"
#include "document/PlateFile.h"
#include "document/QDoc.h"
#include "plate/QPlate.h"
#include "platform/core/StringTable.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"

using namespace vyn;

namespace names_and_one_line_fields {

void Press(TDialog& d, int id) { EXPECT_TRUE(ClickDlgItem(d, id)) << "control " << id; }

bool HasDescriptor(const QPlate& p, const std::string& name)
{
    for (const auto& d : p.descs)
        if (d->name == name) return true;
    return false;
}

TEST(NamesDialog, NameTheFileCannotCarryIsRefusedAtOk)
{
    ShownDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    std::vector<std::string> expected;
    demo.hook.AnswerDialog(QDlgDesc::kResId, 0, [&](TDialog& d) {
        TTestHook::ProcessEvents();
        // On the controls page, a new name typed on the list's empty last row, then each
        // refused name typed over it; Enter takes the name back to the list.
        Press(d, 201);
        PressKeys(VK_END);
        for (const char* name : {"9x", "x;y", "_ok"}) {
            SCOPED_TRACE(name);
            TypeText(name);
            PressKeys(VK_RETURN);
            PressKeys(VK_UP);  // back from the row Enter moved to
            TTestHook::ProcessEvents();
            if (std::string(name) == "_ok") break;
            demo.hook.AnswerMessageBox(IDOK);
            Press(d, IDOK);
            expected.push_back(FormatResString(kMsgNameNotStorable, name));
            ASSERT_TRUE(d.IsWindow() && d.IsWindowVisible()) << "the dialog stays open";
            // The refused name is selected and the list has the keyboard: typing replaces it.
        }
        Press(d, IDOK);
    });
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), CM_NAMES));
    EXPECT_EQ(demo.hook.MessageTexts(), expected);
    EXPECT_TRUE(HasDescriptor(demo.doc->GetPlate(), "_ok"));
    ASSERT_TRUE(demo.doc->IsDirty());

    QDoc* again = demo.SaveCloseAndOpen();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(HasDescriptor(again->GetPlate(), "_ok"));
    EXPECT_EQ(demo.hook.MessageTexts(), expected) << "no other message";
}

TEST(OneLineFields, PastedLineBreakBecomesABlankThatTheSavedPlateKeeps)
{
    ShownDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    std::string shown;
    demo.hook.AnswerDialog(QDlgNameInfo::kResId, 0, [&](TDialog& d) {
        TTestHook::ProcessEvents();
        ASSERT_TRUE(Clipboard::SetText("first line\r\nsecond\nthird"));
        Press(d, 112);
        PressKeys(VK_END);
        PressKeys('V', MK_CONTROL);
        TTestHook::ProcessEvents();
        shown = d.GetDlgItemText(112);
        Press(d, IDOK);
    });
    const std::string before = demo.doc->GetPlate().methodInfo;
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), CM_METHODINFO));
    const std::string want = before + "first line second third";
    EXPECT_EQ(shown, want);
    EXPECT_EQ(demo.doc->GetPlate().methodInfo, want);

    QDoc* again = demo.SaveCloseAndOpen();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetPlate().methodInfo, want) << FileText(demo.path).substr(0, 200);
    EXPECT_TRUE(demo.hook.MessageTexts().empty());
}

}  // namespace names_and_one_line_fields
