// Field separators and widths of the text exports: a separator typed in the options dialog that
// is not one plain character, or one that the exported numbers can hold (a digit, a sign, an
// exponent letter), is refused where it is typed, and one from the settings file gives the
// default, as does a field width of none or less from there; so that an export never carries a
// stray byte and reads back as written. An export that would write no value says so.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "PlateInput.h"
#include "ShownDemo.h"
#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/AppSettings.h"
#include "app/QAppDlg.h"
#include "app/QChView.h"
#include "app/QSelMet.h"
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

void Press(TDialog& d, int id) { EXPECT_TRUE(ClickDlgItem(d, id)) << "control " << id; }

constexpr unsigned kImportData = 2205, kExportData = 2206;

TEST(Separators, OneThatCannotSeparateIsRefusedWhereItIsTyped)
{
    ExportDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    const AppSettings before = GetAppSettings();
    std::vector<std::string> expected;
    // Letters beyond ASCII, and the characters of numbers as the exports write them: with "0"
    // as the separator 0.0495 and 0.098 would read back as 495 and 98.
    const std::pair<const char*, int> refused[] = {
        {"\xC3\xA4", 21341}, {"\xC2\xA7", 21341},  // ä, §
        {"0", 21347}, {"7", 21347}, {"+", 21347}, {"-", 21347}, {"e", 21347}, {"E", 21347},
    };
    demo.hook.AnswerDialog(QAppDlg::kResId, 0, [&](TDialog& d) {
        TTestHook::ProcessEvents();
        // The results page, then the plate data page: each refuses them all.
        for (const auto& [pageButton, edit] : {std::pair{103, 403}, std::pair{104, 503}}) {
            for (const auto& [typed, message] : refused) {
                Press(d, pageButton);
                TypeSeparator(*d.GetDlgItem(edit), typed);
                ASSERT_EQ(d.GetDlgItemText(edit), typed);
                demo.hook.AnswerMessageBox(IDOK);
                Press(d, IDOK);
                expected.push_back(FormatWithArg(GetResString(message), typed));
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

void WriteNumberSeparators()
{
    ProfileWriteInt(kAppSection, "cell_separator", '0');
    ProfileWriteInt(kAppSection, "exp_separator", '-');
}

TEST(Separators, OneFromTheSettingsFileThatCannotSeparateGivesTheDefault)
{
    for (void (*prepare)() : {&WriteOddSeparators, &WriteNumberSeparators}) {
        ExportDemo demo(prepare);
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
}

void WriteNoWidths()
{
    ProfileWriteInt(kAppSection, "cell_fix_fields", 1);
    ProfileWriteInt(kAppSection, "cell_val_len", 0);
    ProfileWriteInt(kAppSection, "exp_fix_fields", 1);
    ProfileWriteInt(kAppSection, "exp_id_len", 0);
    ProfileWriteInt(kAppSection, "exp_res_len", -5);
}

TEST(FieldWidths, NoneOrLessFromTheSettingsFileGivesTheDefault)
{
    ExportDemo demo(&WriteNoWidths);
    ASSERT_NE(demo.doc, nullptr);
    std::vector<std::string> shown;
    demo.hook.AnswerDialog(QAppDlg::kResId, IDCANCEL, [&](TDialog& d) {
        for (int id : {406, 409, 506}) shown.push_back(d.GetDlgItemText(id));
    });
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), CM_APPLICATION));
    EXPECT_EQ(shown, (std::vector<std::string>{"36", "20", "7"}));

    // The plate data in fields of seven, read back as they were.
    const std::string path = demo.shell.env.data + "/values.txt";
    ASSERT_TRUE(demo.ChooseWithFile(kExportData, path));
    const std::string text = FileText(path);
    EXPECT_EQ(text.substr(0, text.find('\r')).size(), 12u * 7u) << text;
    const std::vector<QWellRecord> wells = demo.doc->GetPlate().wells;
    ASSERT_TRUE(demo.ChooseWithFile(kImportData, path));
    ExpectSameMeasured(demo.doc->GetPlate().wells, wells);
    EXPECT_TRUE(demo.hook.MessageTexts().empty());
}

TEST(Exports, OneThatWouldWriteNoValueSaysSoAndWritesNothing)
{
    ExportDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    const AppSettings before = GetAppSettings();
    // A new plate of the first method in the list: samples without identifications or results.
    demo.hook.AnswerDialog(QSelMet::kSelectId, 0, [](TDialog& d) {
        TWindow* list = d.GetDlgItem(101);
        ASSERT_NE(list, nullptr);
        ClickAt(ScreenPoint(*list, 20, 6));
        TTestHook::ProcessEvents();
        Press(d, 108);  // "Select"
    });
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), CM_FILENEW));
    TTestHook::ProcessEvents();
    ASSERT_NE(gCurrentDoc, demo.doc);
    ASSERT_GT(gCurrentDoc->GetPlate().sampleCount, 0);
    const std::string results = demo.shell.env.data + "/results.txt";
    demo.hook.AnswerMessageBox(IDOK);
    ASSERT_TRUE(demo.ChooseWithFile(CM_EXPORTRESULTS, results));
    EXPECT_FALSE(std::ifstream(results).good()) << "no file of empty lines: " << FileText(results);

    // One value typed, and the plate data in fixed fields of one character, too narrow for it.
    auto* view = dynamic_cast<QPView*>(gActiveView);
    ASSERT_NE(view, nullptr);
    TypeIntoWell(*view, 4, 4, "0.3");
    demo.hook.AnswerDialog(QAppDlg::kResId, 0, [&](TDialog& d) {
        TTestHook::ProcessEvents();
        Press(d, 104);  // "Plate data"
        Press(d, 502);  // "Width"
        ASSERT_TRUE(TypeIntoField(*d.GetDlgItem(506), "1"));
        Press(d, IDOK);
    });
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), CM_APPLICATION));
    ASSERT_EQ(GetAppSettings().cellValLen, 1);
    const std::string data = demo.shell.env.data + "/values.txt";
    demo.hook.AnswerMessageBox(IDOK);
    ASSERT_TRUE(demo.ChooseWithFile(kExportData, data));
    EXPECT_FALSE(std::ifstream(data).good()) << "no file of stars: " << FileText(data);
    EXPECT_EQ(demo.hook.MessageTexts(), (std::vector<std::string>{GetResStringStd(1662), GetResStringStd(1661)}));
    GetAppSettings() = before;
}

}  // namespace separators_journey
