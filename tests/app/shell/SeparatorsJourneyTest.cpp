// Field separators of the text exports: one typed in the options dialog that is not one plain
// character is refused where it is typed, and one from the settings file that is no character
// gives the default, so that an export never carries a stray byte and reads back as written.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "ShownDemo.h"
#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/AppSettings.h"
#include "app/QAppDlg.h"
#include "app/QChView.h"
#include "app/RwMainWindow.h"
#include "document/QDoc.h"
#include "evaluator/NoValue.h"
#include "plate/Profile.h"
#include "plate/QPlate.h"
#include "platform/core/StringTable.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/UserInput.h"

using namespace vyn;

namespace separators_journey {

// The demo plate, with the options dialog's page forgotten afterwards; prepare runs before the
// program starts.
struct ExportDemo : ShownDemo {
    explicit ExportDemo(void (*prepare)() = nullptr) : ShownDemo(prepare) {}
    ~ExportDemo() { QAppDlg::ResetLastPage(); }
    // A command of the menu bar that asks for a file name, answered with file.
    bool ChooseWithFile(unsigned id, const std::string& file)
    {
        // A plate with blanking asks which values; the measured ones are the plate's own.
        hook.AnswerDialog(QChView::kResId, IDOK, [](TDialog& d) {
            if (TWindow* measured = d.GetDlgItem(QChView::IDC_MEASURED)) ClickReaches(*measured);
        });
        SetFileDialogAnswer([file](bool, const std::string&) { return file; });
        const bool chosen = ChooseMenuItem(Main(), id);
        SetFileDialogAnswer(nullptr);
        TTestHook::ProcessEvents();
        return chosen;
    }
};

// Read back as exported: with the export's four significant digits.
void ExpectSameMeasured(const std::vector<QWellRecord>& got, const std::vector<QWellRecord>& want)
{
    ASSERT_EQ(got.size(), want.size());
    int values = 0;
    for (std::size_t i = 0; i < want.size(); ++i) {
        if (want[i].measured == NoValue) {
            EXPECT_EQ(got[i].measured, NoValue) << i;
            continue;
        }
        ++values;
        EXPECT_NEAR(got[i].measured, want[i].measured, 5e-4 * std::abs(want[i].measured)) << i;
    }
    EXPECT_GT(values, 0);
}

// The separator edit holds one character and takes no Backspace: its text is selected with a
// double click, and the new one typed over it.
void TypeSeparator(TWindow& edit, const std::string& typed)
{
    EXPECT_NE(DoubleClickAt(ScreenPoint(edit, 4, edit.GetClientRect().Height() / 2)), nullptr);
    TTestHook::ProcessEvents();
    TypeText(typed);
    TTestHook::ProcessEvents();
}

void Press(TDialog& d, int id)
{
    TWindow* w = d.GetDlgItem(id);
    ASSERT_NE(w, nullptr) << id;
    EXPECT_TRUE(ClickReaches(*w)) << id;
    TTestHook::ProcessEvents();
}

constexpr unsigned kImportData = 2205, kExportData = 2206;

TEST(Separators, OneThatIsNotAPlainCharacterIsRefusedWhereItIsTyped)
{
    ExportDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    const AppSettings before = GetAppSettings();
    std::vector<std::string> expected;
    demo.hook.AnswerDialog(QAppDlg::kResId, 0, [&](TDialog& d) {
        TTestHook::ProcessEvents();
        // The results page, then the plate data page: each refuses a letter beyond ASCII.
        for (const auto& [pageButton, edit] : {std::pair{103, 403}, std::pair{104, 503}}) {
            for (const char* typed : {"\xC3\xA4", "\xC2\xA7"}) {  // ä, §
                Press(d, pageButton);
                TypeSeparator(*d.GetDlgItem(edit), typed);
                ASSERT_EQ(d.GetDlgItemText(edit), typed);
                demo.hook.AnswerMessageBox(IDOK);
                Press(d, IDOK);
                expected.push_back(FormatWithArg(GetResString(21341), typed));
                ASSERT_TRUE(d.IsWindow() && d.IsWindowVisible()) << typed << " closed the dialog";
            }
            TypeSeparator(*d.GetDlgItem(edit), "|");
        }
        Press(d, IDOK);
    });
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), CM_APPLICATION));
    EXPECT_EQ(demo.hook.MessageTexts(), expected);
    EXPECT_EQ(GetAppSettings().expSeparator, '|');
    EXPECT_EQ(GetAppSettings().cellSeparator, '|');

    // The plate data exported with it, and read back into the plate unchanged.
    const std::vector<QWellRecord> wells = demo.doc->GetPlate().wells;
    const std::string path = demo.shell.env.data + "/values.txt";
    ASSERT_TRUE(demo.ChooseWithFile(kExportData, path));
    const std::string text = FileText(path);
    ASSERT_NE(text.find('|'), std::string::npos) << text;
    for (char c : text) EXPECT_TRUE(c == '\r' || c == '\n' || (c >= 32 && c < 127)) << int(static_cast<unsigned char>(c));
    ASSERT_TRUE(demo.ChooseWithFile(kImportData, path));
    ExpectSameMeasured(demo.doc->GetPlate().wells, wells);
    EXPECT_EQ(demo.hook.MessageTexts(), expected) << "no other message";
    GetAppSettings() = before;
}

void WriteOddSeparators()
{
    ProfileWriteInt(kAppSection, "cell_separator", 0);
    ProfileWriteInt(kAppSection, "exp_separator", 195);  // the first byte of "ä" from an earlier run
}

TEST(Separators, OneFromTheSettingsFileThatIsNoCharacterGivesTheDefault)
{
    ExportDemo demo(&WriteOddSeparators);
    ASSERT_NE(demo.doc, nullptr);
    EXPECT_EQ(GetAppSettings().cellSeparator, '\t');
    EXPECT_EQ(GetAppSettings().expSeparator, '\t');
    std::string cellShown, expShown;
    demo.hook.AnswerDialog(QAppDlg::kResId, IDCANCEL, [&](TDialog& d) {
        cellShown = d.GetDlgItemText(503);
        expShown = d.GetDlgItemText(403);
    });
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), CM_APPLICATION));
    EXPECT_EQ(cellShown, "t");
    EXPECT_EQ(expShown, "t");

    const std::string path = demo.shell.env.data + "/values.txt";
    ASSERT_TRUE(demo.ChooseWithFile(kExportData, path));
    const std::string text = FileText(path);
    EXPECT_EQ(text.find('\0'), std::string::npos) << "no NUL between the fields";
    EXPECT_NE(text.find('\t'), std::string::npos);
    const std::vector<QWellRecord> wells = demo.doc->GetPlate().wells;
    ASSERT_TRUE(demo.ChooseWithFile(kImportData, path));
    ExpectSameMeasured(demo.doc->GetPlate().wells, wells);
    EXPECT_TRUE(demo.hook.MessageTexts().empty());
}

}  // namespace separators_journey
