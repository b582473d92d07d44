// Whole-number fields of the shell's dialogs, typed as a user types them: each takes a whole
// number of its range (and an empty text where that has always meant 0) and refuses every other
// text with a message naming the range, keeping its value; nothing out of range reaches the
// settings file or the plate.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "ShownDemo.h"
#include "app/AppGlobals.h"
#include "app/AppSettings.h"
#include "app/QAppDlg.h"
#include "app/QDefPres.h"
#include "app/QSelMet.h"
#include "method_editors/QAllPsh.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/PropertySheet.h"
#include "document/QDoc.h"
#include "plate/FilterTable.h"
#include "plate/Profile.h"
#include "plate/QPlate.h"
#include "platform/core/ProfileFile.h"
#include "platform/gui/ControlListBox.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/UserInput.h"
#include "printing/AStpPgDlg.h"
#include "printing/PageSettings.h"
#include "reader_dialogs/QFltDlg.h"
#include "readers/QFoto.h"

using namespace vyn;

namespace whole_numbers {

// What a user may type into a whole-number field; "%d" must come back in the message as typed,
// not as one of the range's bounds.
const std::string kNines(300, '9');
const std::vector<std::string> kTexts = {"", "-5", "0", "8.9", "1e999", "inf", kNines, "abc", "%d"};

// A field: how its dialog opens and the field is reached, its range, and where the program
// keeps what it took.
struct Field {
    std::string name;
    int low, high;
    bool emptyIsZero;
    // A 0 taken is then refused by the dialog's own check (no filter to measure with), so
    // nothing is kept.
    bool zeroIsNone;
    // Types text into the field and confirms it; refused: a message is expected, which is
    // answered. Leaves no dialog open. Answers the text the field held when confirmed (a field
    // may take fewer characters than were typed).
    std::function<std::string(ShownDemo&, const std::string& text, bool refused)> enter;
    // The value kept, as the settings file or the plate holds it.
    std::function<int(ShownDemo&)> kept;
};

void Press(TDialog& d, int id) { EXPECT_TRUE(ClickDlgItem(d, id)) << "control " << id; }

// A field of a dialog that a menu command opens; prep are the controls clicked first (a page,
// a format that shows the decimals). Refused, the dialog stays open and is cancelled.
Field DialogField(std::string name, unsigned command, int dialog, std::vector<int> prep, int edit, int low, int high,
                  bool emptyIsZero, std::function<int(ShownDemo&)> kept)
{
    auto enter = [=](ShownDemo& demo, const std::string& text, bool refused) {
        bool stayed = false;
        std::string held;
        demo.hook.AnswerDialog(dialog, 0, [&](TDialog& d) {
            TTestHook::ProcessEvents();
            for (int id : prep) Press(d, id);
            ASSERT_TRUE(TypeIntoField(*d.GetDlgItem(edit), text));
            held = d.GetDlgItemText(edit);
            if (refused) demo.hook.AnswerMessageBox(IDOK);
            Press(d, IDOK);
            stayed = d.IsWindow() && d.IsWindowVisible();
            if (stayed) {
                EXPECT_EQ(d.GetDlgItemText(edit), held) << "the field keeps what was typed for the user to mend";
                Press(d, IDCANCEL);
            }
        });
        EXPECT_TRUE(ChooseMenuItem(demo.Main(), command));
        EXPECT_EQ(stayed, refused) << "the dialog stays open exactly when the text is refused";
        return held;
    };
    return {std::move(name), low, high, emptyIsZero, false, enter, std::move(kept)};
}

int SettingsInt(const char* key) { return ProfileGetInt(kAppSection, key, -999); }

// One number of a "mode digits decimals" format key of the settings file.
int FormatPart(const char* key, int index)
{
    int v[3] = {-999, -999, -999};
    ProfileScanFormat(kAppSection, key, "%d %d %d", &v[0], &v[1], &v[2]);
    return v[index];
}

// The left, top, right or bottom margin of the plate printout in the settings file.
int PlateMargin(int index)
{
    int v[4] = {-999, -999, -999, -999};
    ProfileScanFormat("Pages", "Plate", "%d %d %d %d", &v[0], &v[1], &v[2], &v[3]);
    return v[index];
}

std::vector<Field> Fields()
{
    std::vector<Field> f;
    const QPlate* (*plate)(ShownDemo&) = [](ShownDemo& d) -> const QPlate* { return &d.doc->GetPlate(); };
    // Plate > Data Presentation: the decimals (shown for "Fixed"), the rounding, the field width.
    f.push_back(DialogField("presentation decimals", CM_DATAPRESENTATION, QDefPres::kResId, {103}, 104, 0, 15, false,
                            [plate](ShownDemo& d) { return plate(d)->dataFormat.decimals; }));
    f.push_back(DialogField("presentation rounding", CM_DATAPRESENTATION, QDefPres::kResId, {}, 107, 0, 15, false,
                            [plate](ShownDemo& d) { return plate(d)->dataFormat.digits; }));
    f.push_back(DialogField("presentation field width", CM_DATAPRESENTATION, QDefPres::kResId, {}, 110, 10, 240,
                            false, [plate](ShownDemo& d) { return plate(d)->cellWidth; }));
    // Application Options: the export pages' widths and formats.
    f.push_back(DialogField("results identification width", CM_APPLICATION, QAppDlg::kResId, {103, 402}, 406, 1, 128,
                            false, [](ShownDemo&) { return SettingsInt("exp_id_len"); }));
    f.push_back(DialogField("results value width", CM_APPLICATION, QAppDlg::kResId, {103, 402}, 409, 1, 128, false,
                            [](ShownDemo&) { return SettingsInt("exp_res_len"); }));
    f.push_back(DialogField("results decimals", CM_APPLICATION, QAppDlg::kResId, {103, 414}, 416, 0, 15, false,
                            [](ShownDemo&) { return FormatPart("exp_format", 2); }));
    f.push_back(DialogField("results rounding", CM_APPLICATION, QAppDlg::kResId, {103}, 419, 0, 15, false,
                            [](ShownDemo&) { return FormatPart("exp_format", 1); }));
    f.push_back(DialogField("plate data width", CM_APPLICATION, QAppDlg::kResId, {104, 502}, 506, 1, 128, false,
                            [](ShownDemo&) { return SettingsInt("cell_val_len"); }));
    f.push_back(DialogField("plate data decimals", CM_APPLICATION, QAppDlg::kResId, {104, 511}, 513, 0, 15, false,
                            [](ShownDemo&) { return FormatPart("cell_format", 2); }));
    f.push_back(DialogField("plate data rounding", CM_APPLICATION, QAppDlg::kResId, {104}, 516, 0, 15, false,
                            [](ShownDemo&) { return FormatPart("cell_format", 1); }));
    // Page setup: the plate printout's four margins; an empty margin reads as 0.
    for (int i = 0; i < 4; ++i)
        f.push_back(DialogField("page margin " + std::to_string(i), CM_PAGESETUP, AStpPgDlg::kResId, {101, 106},
                                AStpPgDlg::IDC_LEFT + i, 0, AStpPgDlg::kMaxMargin, true,
                                [i](ShownDemo&) { return PlateMargin(i); }));

    // Definition > Photometer: the first wavelength of the table, typed over in place.
    f.push_back({"filter wavelength", 0, QFilterTable::kMaxWavelength, false, false,
                 [](ShownDemo& demo, const std::string& text, bool refused) {
                     std::string held;
                     demo.hook.AnswerDialog(2, 0, [&](TDialog& d) {
                         TTestHook::ProcessEvents();
                         auto& list = dynamic_cast<TListBox&>(*d.GetDlgItem(101));
                         const TRect r = list.GetItemRect(0);
                         EXPECT_TRUE(ClickReaches(list, r.left + 6, (r.top + r.bottom) / 2));
                         PressKeys(VK_F2);
                         TypeOver(text);
                         held = d.GetDlgItemText(106);
                         if (refused) demo.hook.AnswerMessageBox(IDOK);
                         PressKeys(VK_RETURN);
                         TTestHook::ProcessEvents();
                         Press(d, IDOK);
                         if (d.IsWindow() && d.IsWindowVisible()) Press(d, IDOK);
                     });
                     EXPECT_TRUE(ChooseMenuItem(demo.Main(), 2220));
                     return held;
                 },
                 [](ShownDemo&) { return GetFilterCount() > 0 ? GetFilter(0) : -999; }});

    // File > New: the number of sequential samples to take from the method chosen; at most
    // the method's own count (4 in "Demo Parabole").
    f.push_back({"sequential samples", 0, 4, false, false,
                 [](ShownDemo& demo, const std::string& text, bool refused) {
                     bool stayed = false;
                     std::string held;
                     demo.hook.AnswerDialog(QSelMet::kSelectId, 0, [&](TDialog& d) {
                         TTestHook::ProcessEvents();
                         auto& dlg = dynamic_cast<QSelMet&>(d);
                         for (int i = 0; i < dlg.Library().EntryCount(); ++i)
                             if (dlg.Library().Entries()[i].name == "Demo Parabole")
                                 dynamic_cast<TListBox&>(*d.GetDlgItem(101)).UserSelect(i);
                         ASSERT_EQ(d.GetDlgItemText(104), "4");
                         ASSERT_TRUE(TypeIntoField(*d.GetDlgItem(104), text));
                         held = d.GetDlgItemText(104);
                         if (refused) demo.hook.AnswerMessageBox(IDOK);
                         Press(d, 108);
                         stayed = d.IsWindow() && d.IsWindowVisible();
                         if (stayed) Press(d, IDCANCEL);
                     });
                     QDoc* before = dynamic_cast<QDoc*>(gCurrentDoc);
                     EXPECT_TRUE(ChooseMenuItem(demo.Main(), CM_FILENEW));
                     EXPECT_EQ(stayed, refused);
                     EXPECT_EQ(gCurrentDoc != before, !refused) << "a plate is made only from a number taken";
                     return held;
                 },
                 [](ShownDemo& demo) {
                     // The sequential samples of the newest plate; -999 while the demo plate is current.
                     auto* doc = dynamic_cast<QDoc*>(gCurrentDoc);
                     if (!doc || doc == demo.doc) return -999;
                     return doc->GetPlate().sampleCount - doc->GetPlate().fixedCount;
                 }});
    // Plate > Measure: the primary and the reference filter (its box ticked first). An empty box
    // or 0 is no filter, which the dialog tells in its message line; nothing is measured.
    for (const int box : {102, 104}) {
        f.push_back({box == 102 ? "measure primary filter" : "measure reference filter", 0,
                     QFilterTable::kMaxWavelength, true, true,
                     [box](ShownDemo& demo, const std::string& text, bool refused) {
                         std::string held;
                         demo.hook.AnswerDialog(1, 0, [&](TDialog& d) {
                             TTestHook::ProcessEvents();
                             auto& useRef = dynamic_cast<TCheckBox&>(*d.GetDlgItem(103));
                             if (box == 104 && useRef.GetCheck() != TCheckBox::BF_CHECKED) Press(d, 103);
                             ASSERT_TRUE(TypeIntoField(*d.GetDlgItem(box), text));
                             held = d.GetDlgItemText(box);
                             if (refused) demo.hook.AnswerMessageBox(IDOK);
                             Press(d, IDOK);
                             EXPECT_TRUE(d.IsWindow() && d.IsWindowVisible()) << "nothing to measure with";
                             Press(d, IDCANCEL);
                         });
                         EXPECT_TRUE(ChooseMenuItem(demo.Main(), CM_MEASURE));
                         return held;
                     },
                     [box](ShownDemo& d) { return box == 102 ? d.doc->GetPlate().measFilter : d.doc->GetPlate().refFilter; }});
    }
    // Definition > the method sheet's Filters page, reached with Ctrl+Tab: the measurement and the
    // reference filter (shown once "Use reference filter" is ticked); an empty box is none.
    for (const int box : {802, 804}) {
        f.push_back({box == 802 ? "method measurement filter" : "method reference filter", 0,
                     QFilterTable::kMaxWavelength, true, false,
                     [box](ShownDemo& demo, const std::string& text, bool refused) {
                         std::string held;
                         bool stayed = false;
                         demo.hook.AnswerDialog(QAllPsh::kResId, 0, [&](TDialog& d) {
                             TTestHook::ProcessEvents();
                             auto& sheet = dynamic_cast<QAllPsh&>(d);
                             for (int i = 0; i < QAllPsh::pgCount && sheet.GetActiveIndex() != QAllPsh::pgFilters; ++i)
                                 PressKeys(VK_TAB, MK_CONTROL);
                             ASSERT_EQ(sheet.GetActiveIndex(), QAllPsh::pgFilters);
                             TDialog& page = *sheet.GetPage(QAllPsh::pgFilters);
                             auto& useRef = dynamic_cast<TCheckBox&>(*page.GetDlgItem(803));
                             if (box == 804 && useRef.GetCheck() != TCheckBox::BF_CHECKED) Press(page, 803);
                             ASSERT_TRUE(TypeIntoField(*page.GetDlgItem(box), text));
                             held = page.GetDlgItemText(box);
                             if (refused) demo.hook.AnswerMessageBox(IDOK);
                             Press(d, IDOK);
                             stayed = d.IsWindow() && d.IsWindowVisible();
                             if (stayed) Press(d, IDCANCEL);
                         });
                         EXPECT_TRUE(ChooseMenuItem(demo.Main(), CM_ADVANCEDCALC));
                         EXPECT_EQ(stayed, refused);
                         return held;
                     },
                     [box](ShownDemo& d) { return box == 802 ? d.doc->GetPlate().measFilter : d.doc->GetPlate().refFilter; }});
    }
    return f;
}

// Accepted are only the texts that are whole numbers of the field's range: "0" where 0 is in it,
// and the empty text where it reads as 0. No field here reaches down to -5.
bool Refused(const Field& f, const std::string& text)
{
    if (text.empty()) return !f.emptyIsZero;
    if (text == "0") return f.low > 0;
    return true;
}

TEST(WholeNumbers, EveryWholeNumberFieldTakesItsRangeAndRefusesEveryOtherText)
{
    ShownDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    // A table of two filters, the first of which is typed over.
    const int table[] = {405, 450};
    SetFilters(table, 2);
    const AppSettings settingsBefore = GetAppSettings();
    for (const Field& f : Fields()) {
        SCOPED_TRACE(f.name);
        for (const std::string& text : kTexts) {
            SCOPED_TRACE("typed \"" + text.substr(0, 12) + "\"");
            const int before = f.kept(demo);
            const std::size_t shown = demo.hook.MessageTexts().size();
            const bool refused = Refused(f, text);
            const std::string held = f.enter(demo, text, refused);
            EXPECT_EQ(held, text.substr(0, held.size())) << "the field took the start of the text";
            const std::vector<std::string> messages = demo.hook.MessageTexts();
            if (refused) {
                EXPECT_EQ(messages.size(), shown + 1) << "one message for a text refused";
                if (messages.size() == shown + 1) {
                    EXPECT_EQ(messages.back(), "\"" + held.substr(0, 40) + "\" is not a whole number from " +
                                                   std::to_string(f.low) + " to " + std::to_string(f.high) + ".");
                }
                EXPECT_EQ(f.kept(demo), before) << "the value is kept";
            } else {
                EXPECT_EQ(messages.size(), shown) << "no message for a text taken";
                EXPECT_EQ(f.kept(demo), f.zeroIsNone ? before : 0) << "the program keeps the number typed";
            }
            const int now = f.kept(demo);
            if (now != -999) {
                EXPECT_GE(now, f.low);
                EXPECT_LE(now, f.high);
            }
        }
    }
    EXPECT_EQ(demo.hook.UnansweredBoxes(), 0);
    GetAppSettings() = settingsBefore;
    QAppDlg::ResetLastPage();
    ResetPrintSettings();
}

// A decimals field hidden under "General" cannot be mended, so OK keeps its value. The samples
// that follow the fields as they are typed read them too: they took the leading digits of any
// text ("8.9" as 8, "1e999" as 1, "abc" as 0) into the format that OK then kept. Typed over 3
// and hidden, every text that is no whole number of the range leaves the 3.
TEST(WholeNumbers, ADecimalsFieldHiddenUnderGeneralKeepsItsValue)
{
    ShownDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    const AppSettings settingsBefore = GetAppSettings();
    struct Hidden {
        const char* name;
        unsigned command;
        int dialog;
        std::vector<int> prep;  // the page
        int fixed, general, edit;
        std::function<int(ShownDemo&)> kept;
    };
    const Hidden fields[] = {
        {"presentation decimals", CM_DATAPRESENTATION, QDefPres::kResId, {}, 103, 101, 104,
         [](ShownDemo& d) { return d.doc->GetPlate().dataFormat.decimals; }},
        {"results decimals", CM_APPLICATION, QAppDlg::kResId, {103}, 414, 412, 416,
         [](ShownDemo&) { return FormatPart("exp_format", 2); }},
        {"plate data decimals", CM_APPLICATION, QAppDlg::kResId, {104}, 511, 509, 513,
         [](ShownDemo&) { return FormatPart("cell_format", 2); }},
    };
    auto enter = [&demo](const Hidden& f, const std::string& text, bool hide) {
        bool stayed = true;
        demo.hook.AnswerDialog(f.dialog, 0, [&](TDialog& d) {
            TTestHook::ProcessEvents();
            for (int id : f.prep) Press(d, id);
            Press(d, f.fixed);
            ASSERT_TRUE(TypeIntoField(*d.GetDlgItem(f.edit), text));
            if (hide) Press(d, f.general);
            EXPECT_EQ(d.GetDlgItem(f.edit)->IsWindowVisible(), !hide);
            Press(d, IDOK);
            stayed = d.IsWindow() && d.IsWindowVisible();
            if (stayed) Press(d, IDCANCEL);
        });
        EXPECT_TRUE(ChooseMenuItem(demo.Main(), f.command));
        EXPECT_FALSE(stayed) << "OK closes the dialog";
    };
    for (const Hidden& f : fields) {
        SCOPED_TRACE(f.name);
        for (const std::string& text : {std::string(), std::string("-5"), std::string("8.9"), std::string("1e999"),
                                        std::string("inf"), kNines, std::string("abc")}) {
            SCOPED_TRACE("typed \"" + text.substr(0, 12) + "\"");
            enter(f, "3", false);
            ASSERT_EQ(f.kept(demo), 3);
            enter(f, text, true);
            EXPECT_EQ(f.kept(demo), 3) << "the hidden decimals keep their value";
        }
    }
    EXPECT_EQ(demo.hook.MessageTexts(), std::vector<std::string>{}) << "no message";
    EXPECT_EQ(demo.hook.UnansweredBoxes(), 0);
    GetAppSettings() = settingsBefore;
    QAppDlg::ResetLastPage();
}

// A reference filter box hidden again (its "Use reference filter" unticked after a text was typed
// into it) cannot be mended where it stands: OK takes the page without a word, a text that is no
// wavelength leaving the reference filter as it was.
TEST(WholeNumbers, AReferenceFilterHiddenAgainKeepsItsValue)
{
    ShownDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    const int table[] = {405, 450};
    SetFilters(table, 2);
    auto enter = [&](const std::string& text) {
        bool stayed = false;
        demo.hook.AnswerDialog(QAllPsh::kResId, 0, [&](TDialog& d) {
            TTestHook::ProcessEvents();
            auto& sheet = dynamic_cast<QAllPsh&>(d);
            for (int i = 0; i < QAllPsh::pgCount && sheet.GetActiveIndex() != QAllPsh::pgFilters; ++i)
                PressKeys(VK_TAB, MK_CONTROL);
            ASSERT_EQ(sheet.GetActiveIndex(), QAllPsh::pgFilters);
            TDialog& page = *sheet.GetPage(QAllPsh::pgFilters);
            auto& useRef = dynamic_cast<TCheckBox&>(*page.GetDlgItem(803));
            if (useRef.GetCheck() != TCheckBox::BF_CHECKED) Press(page, 803);
            ASSERT_TRUE(TypeIntoField(*page.GetDlgItem(804), text));
            Press(page, 803);
            EXPECT_FALSE(page.GetDlgItem(804)->IsWindowVisible()) << "unticked, the box is hidden";
            Press(d, IDOK);
            stayed = d.IsWindow() && d.IsWindowVisible();
            if (stayed) Press(d, IDCANCEL);
        });
        EXPECT_TRUE(ChooseMenuItem(demo.Main(), CM_ADVANCEDCALC));
        EXPECT_FALSE(stayed) << "OK closes the sheet";
    };
    enter("450");
    ASSERT_EQ(demo.doc->GetPlate().refFilter, 450);
    for (const std::string& text : {std::string("abc"), std::string("-5"), std::string("8.9"), std::string("1e999"), kNines}) {
        SCOPED_TRACE("typed \"" + text.substr(0, 12) + "\"");
        enter(text);
        EXPECT_EQ(demo.doc->GetPlate().refFilter, 450) << "the hidden reference filter keeps its value";
    }
    EXPECT_EQ(demo.hook.MessageTexts(), std::vector<std::string>{}) << "no message";
    EXPECT_EQ(demo.hook.UnansweredBoxes(), 0);
}

// A spin button beside a whole-number field steps the number the field shows. It read the
// leading digits of any text ("8.9" as 8, "abc" as 0) and put its step over what was typed; a
// text that is no whole number now stays as typed, for OK to refuse and the user to mend.
TEST(WholeNumbers, SpinButtonsLeaveTextsThatAreNoWholeNumbers)
{
    ShownDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    const AppSettings settingsBefore = GetAppSettings();
    struct Spun {
        const char* name;
        unsigned command;
        int dialog;
        std::vector<int> prep;
        int edit, spin;
    };
    const Spun fields[] = {
        {"presentation field width", CM_DATAPRESENTATION, QDefPres::kResId, {}, 110, 111},
        {"results value width", CM_APPLICATION, QAppDlg::kResId, {103, 402}, 409, 410},
        {"plate data rounding", CM_APPLICATION, QAppDlg::kResId, {104}, 516, 517},
        {"page margin", CM_PAGESETUP, AStpPgDlg::kResId, {101, 106}, AStpPgDlg::IDC_LEFT, AStpPgDlg::IDC_SPIN},
    };
    for (const Spun& f : fields) {
        SCOPED_TRACE(f.name);
        for (const std::string& text : {std::string("8.9"), std::string("1e999"), std::string("inf"), kNines, std::string("abc")}) {
            SCOPED_TRACE("typed \"" + text.substr(0, 12) + "\"");
            std::string held, after;
            demo.hook.AnswerDialog(f.dialog, IDCANCEL, [&](TDialog& d) {
                TTestHook::ProcessEvents();
                for (int id : f.prep) Press(d, id);
                ASSERT_TRUE(TypeIntoField(*d.GetDlgItem(f.edit), text));
                held = d.GetDlgItemText(f.edit);
                TWindow& spin = *d.GetDlgItem(f.spin);
                EXPECT_TRUE(ClickReaches(spin, spin.GetClientRect().Width() / 2, 2)) << "the upper arrow";
                TTestHook::ProcessEvents();
                after = d.GetDlgItemText(f.edit);
            });
            EXPECT_TRUE(ChooseMenuItem(demo.Main(), f.command));
            // The nines a short field takes are a whole number, past the range: stepped into it.
            // All 300 are past every whole number and stay.
            if (!held.empty() && held.size() < 10 && held.find_first_not_of("0123456789") == std::string::npos)
                EXPECT_LT(std::atol(after.c_str()), std::atol(held.c_str())) << after;
            else
                EXPECT_EQ(after, held);
        }
    }
    EXPECT_EQ(demo.hook.MessageTexts(), std::vector<std::string>{}) << "no message";
    EXPECT_EQ(demo.hook.UnansweredBoxes(), 0);
    GetAppSettings() = settingsBefore;
    QAppDlg::ResetLastPage();
    ResetPrintSettings();
}

}  // namespace whole_numbers
