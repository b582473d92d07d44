// What an edit or a list shows of a text is what the plate and the method library keep of it:
// the method name and comment edits take no more bytes of UTF-8 than are stored, whatever the
// characters, and an identification imported with control bytes shows and keeps the same text.
#include <gtest/gtest.h>

#include <fstream>

#include "ShownDemo.h"
#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/QDlgNameInfo.h"
#include "app/QSelMet.h"
#include "app/RwMainWindow.h"
#include "document/QDoc.h"
#include "document/QMetod.h"
#include "plate/QPlate.h"
#include "plate/QSample.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"
#include "views/QLView.h"

using namespace vyn;

namespace shown_is_stored {

std::string Repeat(const std::string& c, int n)
{
    std::string t;
    for (int i = 0; i < n; ++i) t += c;
    return t;
}

// Two, three and four bytes of UTF-8; the last one is two units of UTF-16.
const char* const kWide[] = {"\xC3\xA4", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80"};  // ä, 中, 😀

// A long run of the character pasted at the end of the edit, then one more typed: the edit
// keeps what fits. Answers what it shows.
std::string PasteAndTypeMore(TDialog& d, int id, const std::string& c, int count)
{
    TWindow* edit = d.GetDlgItem(id);
    EXPECT_NE(edit, nullptr) << id;
    if (!edit) return {};
    EXPECT_TRUE(ClickReaches(*edit));
    PressKeys(VK_END);
    EXPECT_TRUE(Clipboard::SetText(Repeat(c, count)));
    PressKeys('V', MK_CONTROL);
    TTestHook::ProcessEvents();
    const std::string pasted = d.GetDlgItemText(id);
    TypeText(c);
    TTestHook::ProcessEvents();
    EXPECT_EQ(d.GetDlgItemText(id), pasted) << "a full edit takes no more";
    return pasted;
}

void Press(TDialog& d, int id) { EXPECT_TRUE(ClickDlgItem(d, id)) << "control " << id; }

TEST(ShownIsStored, InfoEditsTakeWhatThePlateKeeps)
{
    ShownDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    for (const char* c : kWide) {
        SCOPED_TRACE(c);
        std::string name, comment;
        demo.hook.AnswerDialog(QDlgNameInfo::kResId, 0, [&](TDialog& d) {
            TTestHook::ProcessEvents();
            name = PasteAndTypeMore(d, 113, c, 300);
            comment = PasteAndTypeMore(d, 112, c, 300);
            Press(d, IDOK);
        });
        ASSERT_TRUE(ChooseMenuItem(demo.Main(), CM_METHODINFO));
        EXPECT_LE(name.size(), 255u);
        EXPECT_GT(name.size(), 255u - 4u) << "the edit is full";
        QDoc* again = demo.SaveCloseAndOpen();
        ASSERT_NE(again, nullptr);
        EXPECT_TRUE(again->GetPlate().methodName == name) << again->GetPlate().methodName.size() << " bytes kept, "
                                                           << name.size() << " shown";
        EXPECT_TRUE(again->GetPlate().methodInfo == comment);
    }
    EXPECT_TRUE(demo.hook.MessageTexts().empty());
}

TEST(ShownIsStored, SaveAsMethodEditsTakeWhatTheLibraryKeeps)
{
    ShownDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    for (const char* c : {kWide[1], kWide[2]}) {
        SCOPED_TRACE(c);
        std::string name, comment;
        demo.hook.AnswerDialog(QSelMet::kAddId, 0, [&](TDialog& d) {
            TTestHook::ProcessEvents();
            name = PasteAndTypeMore(d, 113, c, 1100);
            comment = PasteAndTypeMore(d, 112, c, 1100);
            Press(d, 114);  // "Add"
        });
        ASSERT_TRUE(ChooseMenuItem(demo.Main(), CM_SAVEASMETHOD));
        EXPECT_LE(name.size(), 1022u);
        EXPECT_GT(name.size(), 1022u - 4u) << "the edit is full";
        QMetod library;
        library.List();
        ASSERT_GT(library.EntryCount(), 0);
        EXPECT_TRUE(library.Entries().back().name == name) << library.Entries().back().name.size() << " bytes kept, "
                                                          << name.size() << " shown";
        EXPECT_TRUE(library.Entries().back().comment == comment);
        QDoc* again = demo.SaveCloseAndOpen();
        ASSERT_NE(again, nullptr);
        EXPECT_TRUE(again->GetPlate().methodName == name);
    }
    EXPECT_TRUE(demo.hook.MessageTexts().empty());
}

// The identification text of the first sequential sample as the sample list paints it.
std::string ShownIdentification(ShownDemo& demo, const std::string& begin)
{
    EXPECT_TRUE(ChooseMenuItem(demo.Main(), CM_SHOWLIST));
    TTestHook::ProcessEvents();
    auto* list = dynamic_cast<QLView*>(gActiveView);
    EXPECT_NE(list, nullptr);
    if (!list) return {};
    for (const std::string& row : ListRows(*list)) {
        const std::size_t at = row.find(begin);
        if (at != std::string::npos) return row.substr(at, row.find('\t', at) - at);
    }
    return {};
}

TEST(ShownIsStored, ImportedIdentificationShowsWhatThePlateKeeps)
{
    ShownDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    // A file from another program: a NUL and another control byte inside identifications.
    const std::string path = demo.shell.env.data + "/ids.txt";
    std::ofstream(path, std::ios::binary) << std::string("Serum\x01 12\r\nPool\0B\r\n", 19);
    SetFileDialogAnswer([path](bool, const std::string&) { return path; });
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), CM_IMPORTIDS));
    SetFileDialogAnswer(nullptr);
    TTestHook::ProcessEvents();

    const std::string shown = ShownIdentification(demo, "Serum");
    EXPECT_EQ(shown, "Serum 12") << "the control byte is dropped";
    EXPECT_EQ(ShownIdentification(demo, "Pool"), "PoolB");
    QDoc* again = demo.SaveCloseAndOpen();
    ASSERT_NE(again, nullptr);
    const QPlate& p = again->GetPlate();
    ASSERT_GT(p.sampleCount, p.fixedCount + 1);
    EXPECT_EQ(p.GetSample(p.fixedCount)->ident, shown);
    EXPECT_EQ(p.GetSample(p.fixedCount + 1)->ident, "PoolB");
    EXPECT_TRUE(demo.hook.MessageTexts().empty());
}

}  // namespace shown_is_stored
