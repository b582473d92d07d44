#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "RunnerFixture.h"
#include "document/QDoc.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlList.h"
#include "platform/gui/ControlListBox.h"
#include "plate/FilterTable.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/UserInput.h"
#include "readers/QCommSettings.h"
#include "reader_dialogs/MeasureCommand.h"
#include "reader_dialogs/QCalSel.h"
#include "reader_dialogs/QComSetupDlg.h"
#include "reader_dialogs/QFltDlg.h"
#include "reader_dialogs/QMeaDlg.h"
#include "reader_dialogs/ReaderOptionsDlgs.h"
#include "platform/gui/testing/UserInput.h"

namespace vyn::test {
namespace {

class MeasureDialog : public RunnerFixture {
protected:
    static TCheckBox& Box(TDialog& d, int id) { return dynamic_cast<TCheckBox&>(*d.GetDlgItem(id)); }
};

TEST_F(MeasureDialog, OpensFromTheRequest)
{
    QFoto* driver = SimulatedReader();
    const int table[] = {620, 405, 450};
    SetFilters(table, 3);
    QMeaDlg dlg(nullptr, driver);
    dlg.wavelength = 450;
    dlg.subtract = true;
    dlg.mayAutoProcess = true;
    dlg.autoProcess = true;
    hook.AnswerDialog(1, IDCANCEL, [](TDialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Measure - Demo Device");
        auto& primary = dynamic_cast<TComboBox&>(*d.GetDlgItem(102));
        ASSERT_EQ(primary.GetCount(), 3);
        EXPECT_EQ(primary.GetString(0), "405");
        EXPECT_EQ(primary.GetString(2), "620");
        EXPECT_EQ(d.GetDlgItemText(102), "450");
        EXPECT_FALSE(d.GetDlgItem(104)->IsWindowVisible()) << "no reference box without the reference";
        EXPECT_FALSE(d.GetDlgItem(110)->IsWindowEnabled()) << "the plate has no values to subtract";
        EXPECT_EQ(Box(d, 110).GetCheck(), TCheckBox::BF_CHECKED);
        EXPECT_TRUE(d.GetDlgItem(111)->IsWindowEnabled());
        EXPECT_EQ(d.GetDlgItemText(105), "Reader\nSpecific\nOptions") << "the simulated reader offers its options";
        EXPECT_TRUE(d.GetDlgItem(108)->IsWindowVisible());
        EXPECT_EQ(dynamic_cast<QMeaDlg&>(d).MessageText(), "");
    });
    EXPECT_EQ(dlg.Execute(), IDCANCEL);
}

TEST_F(MeasureDialog, WrongFiltersStayInTheDialog)
{
    struct Case {
        const char* name;
        const char* primary;
        bool useRef;
        const char* reference;
        int focus;
        const char* box;  // the message a text that is no wavelength gets; else "Wrong filter."
    };
    const Case cases[] = {
        {"empty primary", "", false, "", 102, nullptr},
        {"negative primary", "-405", false, "", 102, "\"-405\" is not a whole number from 0 to 9999."},
        {"reference ticked but empty", "405", true, "", 104, nullptr},
        {"reference unreadable", "405", true, "abc", 104, "\"abc\" is not a whole number from 0 to 9999."},
        {"primary past four places", "99999", false, "", 102, "\"99999\" is not a whole number from 0 to 9999."},
    };
    QFoto* driver = SimulatedReader();
    for (const Case& c : cases) {
        QMeaDlg dlg(nullptr, driver);
        const int beeps = hook.Beeps();
        hook.AnswerDialog(1, IDCANCEL, [&](TDialog& d) {
            d.SetDlgItemText(102, c.primary);
            d.SetDlgItemText(104, c.reference);
            if (c.useRef) { EXPECT_TRUE(ClickReaches(Box(d, 103))); }
            if (c.box) hook.AnswerMessageBox(IDOK);
            TTestHook::Click(*d.GetDlgItem(IDOK));
            EXPECT_FALSE(d.HasEnded()) << c.name;
            EXPECT_EQ(dynamic_cast<QMeaDlg&>(d).MessageText(), c.box ? "" : "Wrong filter.") << c.name;
            if (c.box) {
                EXPECT_EQ(hook.MessageTexts().back(), c.box) << c.name;
            }
            EXPECT_TRUE(d.GetDlgItem(c.focus)->HasFocus()) << c.name;
        });
        EXPECT_EQ(dlg.Execute(), IDCANCEL) << c.name;
        EXPECT_EQ(hook.Beeps(), beeps + (c.box ? 0 : 1)) << c.name;
        EXPECT_TRUE(hook.DialogsRun().back() == 1) << c.name << ": no measurement was started";
    }
}

TEST_F(MeasureDialog, StartMeasuresTypedFiltersAndReturnsTheRequest)
{
    QFoto* driver = SimulatedReader();  // an empty filter table: the filters are typed
    std::vector<double> values(96, -7.0);
    QMeaDlg dlg(nullptr, driver);
    dlg.values = values.data();
    hook.AnswerDialog(1, 0, [](TDialog& d) {
        d.SetDlgItemText(102, "405");
        EXPECT_TRUE(ClickReaches(Box(d, 103)));
        EXPECT_TRUE(d.GetDlgItem(104)->IsWindowVisible());
        d.SetDlgItemText(104, "620");
        TTestHook::Click(*d.GetDlgItem(IDOK));
    });
    AnswerProgress();
    EXPECT_EQ(dlg.Execute(), IDOK);
    EXPECT_EQ(dlg.wavelength, 405);
    EXPECT_EQ(dlg.refWavelength, 620);
    EXPECT_EQ(dlg.useReference, 1);
    EXPECT_EQ(values[95], 0.0);
    EXPECT_EQ(driver->refWavelength, 620);
}

TEST_F(MeasureDialog, ReaderFailureIsShownAndTheDialogStaysOpen)
{
    PointPortAt("/nonexistent/ttyVYN");
    QFoto* driver = MakeDriver(0);
    QMeaDlg dlg(nullptr, driver);
    hook.AnswerDialog(1, IDCANCEL, [&](TDialog& d) {
        d.SetDlgItemText(102, "405");
        TTestHook::Click(*d.GetDlgItem(IDOK));
        EXPECT_FALSE(d.HasEnded());
        EXPECT_EQ(dynamic_cast<QMeaDlg&>(d).MessageText(), "Serial port not found.");
        EXPECT_TRUE(ShowsRedText(*d.GetDlgItem(106))) << "the user sees the message";
    });
    AnswerProgress();
    EXPECT_EQ(dlg.Execute(), IDCANCEL);
}

TEST_F(MeasureDialog, ReaderWithoutCarrierOrOptionsHidesThoseButtons)
{
    QFoto* driver = MakeDriver(5);  // Multiscan: no carrier; its options stay
    QMeaDlg dlg(nullptr, driver);
    hook.AnswerDialog(1, IDCANCEL, [](TDialog& d) {
        EXPECT_FALSE(d.GetDlgItem(108)->IsWindowVisible());
        EXPECT_FALSE(d.GetDlgItem(109)->IsWindowVisible());
        EXPECT_TRUE(d.GetDlgItem(105)->IsWindowVisible());
    });
    dlg.Execute();
}

TEST_F(MeasureDialog, CommandWritesTheRequestAndTheValuesIntoThePlate)
{
    QFoto* driver = SimulatedReader();
    QDoc doc;
    doc.GetPlate().SetSize(12, 8);
    doc.GetPlate().readerOptions = "SHAKE 5 1 1";
    hook.AnswerDialog(1, 0, [](TDialog& d) {
        d.SetDlgItemText(102, "492");
        TTestHook::Click(*d.GetDlgItem(IDOK));
    });
    AnswerProgress();
    const MeasureOutcome out = RunMeasureCommand(nullptr, doc, true, driver);
    EXPECT_TRUE(out.measured);
    EXPECT_FALSE(out.autoProcess) << "an empty plate has nothing to process";
    EXPECT_EQ(doc.GetPlate().measFilter, 492);
    EXPECT_EQ(doc.GetPlate().readerOptions, "SHAKE 5 1 1");
    EXPECT_EQ(doc.GetPlate().measuredCount, 96);
    EXPECT_NE(doc.GetPlate().measureTime, 0u);
}

class ReaderDialogs : public RunnerFixture {};

// The shaking times are whole numbers of their range (an empty edit is no shaking); any other
// text is refused at OK with a message naming the range, and the options stay as they were.
TEST_F(ReaderDialogs, ShakingTimesThatAreNoWholeNumbersAreRefused)
{
    struct Dialog {
        ReaderOptionsKind kind;
        int resId, edit, high;
        const char* before;
    };
    const Dialog dialogs[] = {{ReaderOptionsKind::Slt, 6700, 102, 255, "SHAKE 20 6"},
                              {ReaderOptionsKind::Ostrel, 6666, 102, 255, "SHAKE 20 1 2"},
                              {ReaderOptionsKind::Mul, 6701, 101, 99, "SHAKE 10 1 "}};
    const std::string nines(300, '9');
    for (const Dialog& dlg : dialogs) {
        for (const std::string& text : {std::string(), std::string("-5"), std::string("0"), std::string("8.9"),
                                        std::string("1e999"), std::string("inf"), nines, std::string("abc")}) {
            SCOPED_TRACE(std::to_string(dlg.resId) + " \"" + text.substr(0, 10) + "\"");
            const std::size_t shown = hook.MessageTexts().size();
            std::string held;
            bool refused = true;
            hook.AnswerDialog(dlg.resId, 0, [&](TDialog& d) {
                ASSERT_TRUE(TypeIntoField(*d.GetDlgItem(dlg.edit), text));
                // The edit takes a few places only: 300 nines may stand there as a time in range.
                held = d.GetDlgItemText(dlg.edit);
                ASSERT_LE(held.size(), 4u);
                refused = held.find_first_not_of("0123456789") != std::string::npos ||
                          (!held.empty() && std::stoi(held) > dlg.high);
                // The spin button beside the time does not step a text that is no whole number.
                const bool whole = held.find_first_not_of("0123456789", held[0] == '-' ? 1 : 0) == std::string::npos;
                if (dlg.edit == 102 && !held.empty() && !whole) {
                    TWindow& spin = *d.GetDlgItem(103);
                    EXPECT_TRUE(ClickReaches(spin, spin.GetClientRect().Width() / 2, 2));
                    EXPECT_EQ(d.GetDlgItemText(dlg.edit), held) << "not stepped";
                }
                if (refused) hook.AnswerMessageBox(IDOK);
                TTestHook::Click(*d.GetDlgItem(IDOK));
                if (!d.HasEnded()) TTestHook::Click(*d.GetDlgItem(IDCANCEL));
            });
            std::string options = dlg.before;
            const int result = RunReaderOptionsDialog(dlg.kind, nullptr, options);
            EXPECT_EQ(result, refused ? 0 : 1);
            if (refused) {
                ASSERT_EQ(hook.MessageTexts().size(), shown + 1);
                EXPECT_EQ(hook.MessageTexts().back(),
                          "\"" + held.substr(0, 40) + "\" is not a whole number from 0 to " + std::to_string(dlg.high) + ".");
                EXPECT_EQ(options, dlg.before);
            } else {
                EXPECT_EQ(hook.MessageTexts().size(), shown);
                const int seconds = held.empty() ? 0 : std::stoi(held);
                if (seconds == 0) EXPECT_EQ(options.find("SHAKE"), std::string::npos) << "no shaking: " << options;
                else EXPECT_EQ(options.find("SHAKE " + held + " "), 0u) << options;
            }
        }
    }
}

TEST_F(ReaderDialogs, CalibrationSelectWithNoQualifyingPlateClosesAtOnce)
{
    QDoc current, failed, uncalculated;
    current.GetPlate().calibr.state = csValid;
    failed.GetPlate().calibr.state = -1;
    const std::vector<TDocument*> docs{&current, &failed, &uncalculated};
    QCalSel dlg(nullptr, docs, &current);
    hook.AnswerDialog(898, 0, [](TDialog& d) {
        EXPECT_FALSE(d.GetDlgItem(101)->IsWindowVisible());
        EXPECT_TRUE(d.GetDlgItem(102)->IsWindowVisible());
        EXPECT_TRUE(WaitFor([&] { return d.HasEnded(); }, 2000)) << "the dialog closes itself";
    });
    EXPECT_EQ(dlg.Execute(), IDOK);
    EXPECT_EQ(dlg.Chosen(), nullptr);
}

TEST_F(ReaderDialogs, CalibrationSelectListsTheValidOthers)
{
    QDoc current, a, b, bad;
    a.SetTitle("a.plt");
    b.SetTitle("b.plt");
    for (QDoc* d : {&current, &a, &b}) d->GetPlate().calibr.state = csValid;
    const std::vector<TDocument*> docs{&current, &a, &bad, &b};
    QCalSel dlg(nullptr, docs, &current);
    hook.AnswerDialog(898, IDOK, [](TDialog& d) {
        auto& list = dynamic_cast<TListBox&>(*d.GetDlgItem(101));
        ASSERT_EQ(list.GetCount(), 2);
        EXPECT_EQ(list.GetString(0), "a.plt");
        EXPECT_EQ(list.GetSelIndex(), 0);
        list.UserSelect(1);
    });
    EXPECT_EQ(dlg.Execute(), IDOK);
    EXPECT_EQ(dlg.Chosen(), &b);
}

TEST_F(ReaderDialogs, PortSetupShowsLocksAndTakesTheChoices)
{
    QCommSettings s;
    s.FixBaud(9600);
    s.FixParity(2);
    QComSetupDlg dlg(nullptr, s);
    hook.AnswerDialog(3, IDOK, [](TDialog& d) {
        auto& speed = dynamic_cast<TComboBox&>(*d.GetDlgItem(104));
        EXPECT_EQ(speed.GetCount(), 1);
        EXPECT_FALSE(speed.IsWindowEnabled());
        for (int id : {112, 113, 114}) EXPECT_FALSE(d.GetDlgItem(id)->IsWindowEnabled()) << id;
        EXPECT_EQ(dynamic_cast<TCheckBox&>(*d.GetDlgItem(114)).GetCheck(), TCheckBox::BF_CHECKED);
        EXPECT_TRUE(d.GetDlgItem(107)->IsWindowEnabled());
        dynamic_cast<TComboBox&>(*d.GetDlgItem(102)).SetSelIndex(2);
        EXPECT_TRUE(ClickReaches(*d.GetDlgItem(107)));
        EXPECT_TRUE(ClickReaches(*d.GetDlgItem(110)));
    });
    EXPECT_EQ(dlg.Execute(), IDOK);
    EXPECT_EQ(s.GetSettingsText(), "COM3:9600,E,8,2");
}

TEST_F(ReaderDialogs, OptionsDialogsWriteTheReadersTexts)
{
    struct Case {
        const char* name;
        ReaderOptionsKind kind;
        int resId;
        std::string before;
        std::function<void(TDialog&)> drive;
        std::string after;
    };
    auto select = [](TDialog& d, int id, int i) { dynamic_cast<TComboBox&>(*d.GetDlgItem(id)).SetSelIndex(i); };
    const Case cases[] = {
        {"type 1: switch on clamps the time to 1, spin up", ReaderOptionsKind::Slt, 6700, "",
         [&](TDialog& d) {
             EXPECT_TRUE(ClickReaches(*d.GetDlgItem(101)));
             EXPECT_EQ(d.GetDlgItemText(102), "1");
             d.SendMessage(WM_VSCROLL, SB_LINEUP, reinterpret_cast<TParam2>(d.GetDlgItem(103)));
             select(d, 104, 1);
             select(d, 105, 1);
         },
         "SHAKE 2 6"},
        {"type 1: switched off writes nothing", ReaderOptionsKind::Slt, 6700, "SHAKE 20 6",
         [](TDialog& d) {
             EXPECT_EQ(d.GetDlgItemText(102), "20");
             EXPECT_TRUE(ClickReaches(*d.GetDlgItem(101)));
         },
         ""},
        {"OSTREL: the longest time", ReaderOptionsKind::Ostrel, 6666, "SHAKE 20 1 2",
         [&](TDialog& d) {
             EXPECT_TRUE(d.GetDlgItem(104)->IsWindowEnabled());
             d.SetDlgItemText(102, "255");
             select(d, 105, 3);
         },
         "SHAKE 255 1 3"},
        {"Multiscan: time, mode and step-wise", ReaderOptionsKind::Mul, 6701, "",
         [&](TDialog& d) {
             d.SetDlgItemText(101, "10");
             select(d, 102, 1);
             EXPECT_TRUE(ClickReaches(*d.GetDlgItem(103)));
         },
         "SHAKE 10 1 STPW"},
    };
    for (const Case& c : cases) {
        std::string text = c.before;
        hook.AnswerDialog(c.resId, IDOK, c.drive);
        EXPECT_EQ(RunReaderOptionsDialog(c.kind, nullptr, text), 1) << c.name;
        EXPECT_EQ(text, c.after) << c.name;
    }
    std::string kept = "SHAKE 20 6";
    hook.AnswerDialog(6700, IDCANCEL);
    EXPECT_EQ(RunReaderOptionsDialog(ReaderOptionsKind::Slt, nullptr, kept), 0);
    EXPECT_EQ(kept, "SHAKE 20 6") << "Cancel changes nothing";
}

}  // namespace
}  // namespace vyn::test
namespace vyn::test {
namespace {

class FilterDialog : public RunnerFixture {
protected:
    static QFltDlg& Dlg(TDialog& d) { return dynamic_cast<QFltDlg&>(d); }
    static TListBox& List(TDialog& d) { return dynamic_cast<TListBox&>(*d.GetDlgItem(101)); }
    // Typing a value on the selected row and confirming it with Enter, as the user does.
    static void TypeOnRow(TDialog& d, int row, const std::string& text)
    {
        List(d).SetFocus();
        List(d).UserSelect(row);
        TTestHook::Type(text);
        TTestHook::Key(VK_RETURN);
    }
};

TEST_F(FilterDialog, EditsTheTableInPlaceAndStoresItOnOk)
{
    QFoto* driver = SimulatedReader();
    const int table[] = {405, 450, 0};
    SetFilters(table, 3);
    QFltDlg dlg(nullptr, driver);
    hook.AnswerDialog(2, 0, [](TDialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Setup - Demo Device");
        EXPECT_EQ(d.GetDlgItemText(IDOK), "Close") << "nothing changed yet";
        EXPECT_EQ(List(d).GetCount(), 4) << "one row more than the table";
        EXPECT_TRUE(d.GetDlgItem(102)->IsWindowVisible());
        EXPECT_TRUE(d.GetDlgItem(103)->IsWindowVisible());
        TypeOnRow(d, 3, "5");
        EXPECT_EQ(Dlg(d).Values(), (std::vector<int>{405, 450, 0, 5}));
        EXPECT_EQ(List(d).GetCount(), 5) << "a new empty row";
        EXPECT_EQ(d.GetDlgItemText(IDOK), "OK");
        TypeOnRow(d, 1, "1200");
        List(d).SetFocus();
        List(d).UserSelect(0);
        TTestHook::Key(VK_DELETE);
        EXPECT_EQ(Dlg(d).Values(), (std::vector<int>{1200, 0, 5}));
        List(d).UserSelect(2);
        TTestHook::Key(VK_INSERT);  // a new entry before the selected one, typed at once
        TTestHook::Type("1300");
        TTestHook::Key(VK_RETURN);
        EXPECT_EQ(Dlg(d).Values(), (std::vector<int>{1200, 0, 1300, 5}));
        TypeOnRow(d, 4, "1300");    // at the end: dropped when stored
        List(d).UserSelect(5);
        TTestHook::Key(VK_INSERT);  // a 0 at the end: dropped as well
        TTestHook::Key(VK_ESCAPE);
        EXPECT_FALSE(d.HasEnded()) << "Escape ends the typing, not the dialog";
        EXPECT_EQ(Dlg(d).Values(), (std::vector<int>{1200, 0, 1300, 5, 1300, 0}));
        TTestHook::Click(*d.GetDlgItem(IDOK));
    });
    EXPECT_EQ(dlg.Execute(), IDOK);
    const int stored[] = {1200, 0, 1300, 5};
    ASSERT_EQ(GetFilterCount(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(GetFilter(i), stored[i]) << i;
}

TEST_F(FilterDialog, CancelLeavesTheTableAndFamiliesShowWhatTheyCan)
{
    struct Case {
        const char* name;
        int type;
        bool read, calibrate;
    };
    const Case cases[] = {{"type 1 reads only", 1, true, false},
                          {"Multiscan neither", 5, false, false},
                          {"OSTREL both", 2, true, true}};
    for (const Case& c : cases) {
        QFoto* driver = MakeDriver(c.type);
        const int table[] = {405};
        SetFilters(table, 1);
        QFltDlg dlg(nullptr, driver);
        hook.AnswerDialog(2, IDCANCEL, [&](TDialog& d) {
            EXPECT_EQ(d.GetDlgItem(102)->IsWindowVisible(), c.read) << c.name;
            EXPECT_EQ(d.GetDlgItem(103)->IsWindowVisible(), c.calibrate) << c.name;
            TypeOnRow(d, 1, "620");
        });
        EXPECT_EQ(dlg.Execute(), IDCANCEL) << c.name;
        EXPECT_EQ(GetFilterCount(), 1) << c.name;
    }
}

TEST_F(FilterDialog, ReadsAndCalibratesOverTheEmulator)
{
    struct Case {
        const char* name;
        emu::Family family;
        int type;
        int button;
        std::vector<int> reader;  // the reader's filters before
        std::vector<int> table;   // the dialog's table after
    };
    const Case cases[] = {
        {"type 1 reads", emu::Family::Slt, 1, 102, {405, 450, 492, 620}, {405, 450, 492, 620}},
        {"OSTREL reads, trailing empty positions dropped", emu::Family::Ostrel, 2, 102, {405, 0, 492, 0, 0, 0},
         {405, 0, 492}},
        {"OSTREL calibrates with the table", emu::Family::Ostrel, 2, 103, {340, 0, 0, 0, 0, 0}, {405, 450, 620}},
    };
    for (const Case& c : cases) {
        emu::Script script;
        script.family = c.family;
        script.filters = c.reader;
        QFoto* driver = StartEmulator(script, c.type);
        const int table[] = {405, 450, 620};
        SetFilters(table, 3);
        QFltDlg dlg(nullptr, driver);
        bool seen = false;
        hook.AnswerDialog(2, IDCANCEL, [&](TDialog& d) {
            TTestHook::Click(*d.GetDlgItem(c.button));
            EXPECT_EQ(Dlg(d).MessageText(), "Success.") << c.name << ": " << QFoto::GetErrorText();
            EXPECT_EQ(Dlg(d).Values(), c.table) << c.name;
            seen = ShowsRedText(*d.GetDlgItem(104));
        });
        AnswerProgress({}, 15000);
        dlg.Execute();
        EXPECT_TRUE(seen) << c.name << ": the outcome is on show";
        EXPECT_EQ(GetFilterCount(), static_cast<int>(c.table.size())) << c.name;
        if (c.button == 103) {
            EXPECT_EQ(emu->Filters(), (std::vector<int>{405, 450, 620, 0, 0, 0})) << c.name;
        }
        emu.reset();
    }
}

TEST_F(FilterDialog, ReaderFailuresAreShownAndTheTableStays)
{
    struct Case {
        const char* name;
        emu::Fault fault;
        const char* message;
    };
    const Case cases[] = {{"silent reader", emu::Fault::NoAnswer, "Device not responding."},
                          {"noise", emu::Fault::Garbage, "Data garbled."}};
    for (const Case& c : cases) {
        emu::Script script;
        script.family = emu::Family::Ostrel;
        script.fault = c.fault;
        QFoto* driver = StartEmulator(script, 2);
        const int table[] = {405, 450};
        SetFilters(table, 2);
        QFltDlg dlg(nullptr, driver);
        hook.AnswerDialog(2, IDCANCEL, [&](TDialog& d) {
            TTestHook::Click(*d.GetDlgItem(102));
            EXPECT_EQ(Dlg(d).MessageText(), c.message) << c.name;
            EXPECT_EQ(Dlg(d).Values(), (std::vector<int>{405, 450})) << c.name;
        });
        AnswerProgress({}, 15000);
        dlg.Execute();
        emu.reset();
    }
}

// The user sees where a value is being typed: the edit below the list is white only while it
// has the focus, and the list, also below its last row, is light grey.
TEST_F(FilterDialog, TheEditTurnsWhileTypedIn)
{
    QFoto* driver = SimulatedReader();
    const int table[] = {405};
    SetFilters(table, 1);
    QFltDlg dlg(nullptr, driver);
    hook.AnswerDialog(2, IDCANCEL, [](TDialog& d) {
        const TColor white(255, 255, 255), grey(192, 192, 192);
        auto& edit = dynamic_cast<TControl&>(*d.GetDlgItem(106));
        List(d).SetFocus();
        EXPECT_EQ(edit.BackColor(), grey) << "not typed in";
        TTestHook::Type("6");
        EXPECT_TRUE(edit.HasFocus());
        EXPECT_EQ(edit.BackColor(), white) << "typed in";
        TTestHook::Key(VK_RETURN);
        EXPECT_FALSE(edit.HasFocus());
        EXPECT_EQ(edit.BackColor(), grey) << "back on the list";

        TWindow& list = List(d);
        auto greyBelowTheRows = [&list] {
            const QImage* img = list.ClientImage();
            return img && QColor(img->pixel(img->width() / 2, img->height() - 3)) == QColor(192, 192, 192);
        };
        EXPECT_TRUE(WaitFor(greyBelowTheRows, 2000));
    });
    dlg.Execute();
}

TEST_F(FilterDialog, HoldsAFullTableOfThirtyTwo)
{
    QFoto* driver = SimulatedReader();
    std::vector<int> table;
    for (int i = 0; i < 32; ++i) table.push_back(400 + i);
    SetFilters(table.data(), 32);
    QFltDlg dlg(nullptr, driver);
    hook.AnswerDialog(2, 0, [](TDialog& d) {
        EXPECT_EQ(List(d).GetCount(), 33);
        TypeOnRow(d, 32, "999");  // a 33rd entry is typed but not kept
        TTestHook::Click(*d.GetDlgItem(IDOK));
    });
    EXPECT_EQ(dlg.Execute(), IDOK);
    EXPECT_EQ(GetFilterCount(), 32);
    EXPECT_EQ(GetFilter(31), 431);
}

}  // namespace
}  // namespace vyn::test
