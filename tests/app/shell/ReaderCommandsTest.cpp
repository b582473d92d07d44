// The reader commands as a user gives them in the running program: "Measure..." from the plate
// view's menu over an emulated reader on a pseudo-terminal, "Photometer" with the filter table,
// "Communication" with the port settings, and the port text kept across a restart.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "ReaderEmulator.h"
#include "ScreenChecks.h"
#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/AppSettings.h"
#include "document/QDoc.h"
#include "platform/core/ProfileFile.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlList.h"
#include "platform/gui/ControlListBox.h"
#include "plate/Profile.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/HelpWindow.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/core/SerialPort.h"
#include "app/TMyStatusBar.h"
#include "platform/gui/testing/UserInput.h"
#include "plate/FilterTable.h"
#include "readers/QCommSettings.h"
#include "readers/QFoto.h"
#include "readers/ReaderTiming.h"
#include "readers/TComm.h"
#include "reader_dialogs/QFltDlg.h"
#include "reader_dialogs/QMeaDlg.h"
#include "reader_dialogs/ReaderUiIds.h"

using namespace vyn;
using vyn::test::ShowsRedText;
using vyn::test::WaitFor;

namespace {

// Chooses the item with the mouse from whichever popup of the menu bar holds it, as a user
// looks for it; the main window is shown first, as the mouse reaches only a visible window.
bool Choose(TWindow& frame, const char* item)
{
    if (!frame.IsWindowVisible()) {
        frame.MoveWindow(0, 0, 1100, 800);
        frame.ShowWindow(SW_SHOW);
        TTestHook::ProcessEvents();
    }
    for (const char* popup : {"Action", "Plate", "Definition", "Options", "Reader", "File"})
        if (ClickMenuItem(frame, popup, item)) return true;
    return false;
}

// A click into the edit of the id, its text taken whole and the text typed over it.
void TypeInto(TDialog& d, int id, const std::string& text)
{
    TWindow* edit = d.GetDlgItem(id);
    ASSERT_NE(edit, nullptr) << id;
    EXPECT_TRUE(TypeIntoField(*edit, text)) << id;
}

// A click on the dialog's button of the id.
void Press(TDialog& d, int id) { EXPECT_TRUE(ClickDlgItem(d, id)) << "control " << id; }

// A fast reader: the instrument's waits shortened, and the settings back as they were after.
struct FastReader {
    FastReader()
    {
        SetReaderTimeScale(2);
        gComm.SetReadTimeout(150);
    }
    ~FastReader()
    {
        SetReaderTimeScale(100);
        gComm.SetReadTimeout(800);
        gCommSettings = QCommSettings();
        gReaderType = gReaderSubType = 0;
    }
};

void UseType1Reader()
{
    ProfileWriteString("application", "reader_type", "1");
}

TEST(ReaderCommands, MeasureFromTheMenuTwiceWithTheDefaultPortText)
{
    TTestHook hook;
    FastReader fast;
    emu::Script script;
    for (int i = 0; i < 96; ++i) script.plate[static_cast<std::size_t>(i)] = 100 + i * 10;
    emu::ReaderEmulator reader(script);
    ASSERT_TRUE(reader.Ok());
    reader.Start();
    ShellFixture s(UseType1Reader);
    EXPECT_EQ(gCommSettings.GetSettingsText(), "COM1:9600,E,7,2") << "the start-up text";
    ProfileFile("VYN.INI").Write("ports", "COM1", reader.SlavePath());
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    TWindow& frame = *s.app->GetMainFrame();
    for (int run = 1; run <= 2; ++run) {
        gCurrentDoc->GetPlate().measuredCount = 0;
        hook.AnswerDialog(1, 0, [](TDialog& d) {
            TypeInto(d, 102, "405");
            // Without processing: the plate keeps exactly what was measured.
            auto& autoBox = dynamic_cast<TCheckBox&>(*d.GetDlgItem(111));
            if (autoBox.GetCheck() == TCheckBox::BF_CHECKED) {
                EXPECT_TRUE(ClickReaches(autoBox, 6, autoBox.GetClientRect().Height() / 2)) << "on the box";
            }
            EXPECT_NE(autoBox.GetCheck(), TCheckBox::BF_CHECKED);
            Press(d, IDOK);
            EXPECT_TRUE(d.HasEnded()) << dynamic_cast<QMeaDlg&>(d).MessageText();
        });
        hook.AnswerDialog(4, 0, [](TDialog& d) { EXPECT_TRUE(WaitFor([&] { return d.HasEnded(); }, 8000)); });
        ASSERT_TRUE(Choose(frame, "Measure...")) << "run " << run;
        const QPlate& p = gCurrentDoc->GetPlate();
        EXPECT_EQ(p.measuredCount, 96) << "run " << run;
        for (int i = 0; i < 96; ++i)
            EXPECT_DOUBLE_EQ(p.wells[static_cast<std::size_t>(i)].measured, script.plate[static_cast<std::size_t>(i)] * 0.001)
                << "run " << run << ", well " << i;
    }
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

// The lock folder of the serial devices with names planted in it: every temporary lock name
// taken by a hard link to a file of the folder or by a symbolic link to a file elsewhere. The
// measurement tells the user that the port cannot be locked before it starts, measures, and
// leaves the linked files as they were; the next time a lock file that names nobody is in
// place of the lock, it is taken over and the status bar says so.
TEST(ReaderCommands, MeasureTellsOfALockItCouldNotTakeOrTookOver)
{
    TTestHook hook;
    FastReader fast;
    emu::Script script;
    for (int i = 0; i < 96; ++i) script.plate[static_cast<std::size_t>(i)] = 100 + i;
    emu::ReaderEmulator reader(script);
    ASSERT_TRUE(reader.Ok());
    reader.Start();
    ShellFixture s(UseType1Reader);
    const std::string locks = s.env.root + "/locks";
    ASSERT_TRUE(std::filesystem::create_directories(locks));
    ProfileFile("VYN.INI").Write("ports", "COM1", reader.SlavePath());
    ProfileFile("VYN.INI").Write("ports", "lock_folder", locks);
    const std::string precious = locks + "/precious", elsewhere = s.env.root + "/elsewhere";
    for (const std::string& f : {precious, elsewhere}) std::ofstream(f) << "kept\n";
    auto content = [](const std::string& f) {
        std::ifstream in(f);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string tmp = locks + "/LTMP." + std::to_string(::getpid());
    for (int i = 0; i < 8; ++i) {
        const std::string name = i == 0 ? tmp : tmp + "." + std::to_string(i);
        ASSERT_EQ(i % 2 == 0 ? ::link(precious.c_str(), name.c_str()) : ::symlink(elsewhere.c_str(), name.c_str()), 0);
    }
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    TWindow& frame = *s.app->GetMainFrame();
    auto measure = [&] {
        gCurrentDoc->GetPlate().measuredCount = 0;
        hook.AnswerDialog(1, 0, [](TDialog& d) {
            TypeInto(d, 102, "405");
            auto& autoBox = dynamic_cast<TCheckBox&>(*d.GetDlgItem(111));
            if (autoBox.GetCheck() == TCheckBox::BF_CHECKED) ClickReaches(autoBox, 6, autoBox.GetClientRect().Height() / 2);
            Press(d, IDOK);
        });
        hook.AnswerDialog(4, 0, [](TDialog& d) { EXPECT_TRUE(WaitFor([&] { return d.HasEnded(); }, 8000)); });
        ASSERT_TRUE(Choose(frame, "Measure..."));
    };

    hook.AnswerMessageBox(IDOK);
    measure();
    ASSERT_EQ(hook.Messages().size(), 1u) << "the user is told";
    EXPECT_EQ(hook.Messages()[0].text, "The serial port cannot be locked: no lock file can be made in " + locks +
                                           ". Other programs will not see that the reader is in use while it measures.");
    EXPECT_EQ(gCurrentDoc->GetPlate().measuredCount, 96) << "and the plate is measured";
    EXPECT_EQ(content(precious), "kept\n");
    EXPECT_EQ(content(elsewhere), "kept\n");

    for (int i = 0; i < 8; ++i) std::filesystem::remove(i == 0 ? tmp : tmp + "." + std::to_string(i));
    const std::string lock = SerialPort::LockFileOf(reader.SlavePath());
    std::ofstream(lock) << "garbage";
    measure();
    EXPECT_EQ(hook.Messages().size(), 1u) << "no box for a lock taken over";
    EXPECT_EQ(StatusLineText(*gStatusBar), "The serial port's lock file " + lock + " named no running program and was taken over.");
    EXPECT_EQ(gCurrentDoc->GetPlate().measuredCount, 96);
    EXPECT_FALSE(std::filesystem::exists(lock)) << "the lock went with the port";
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

void UseScanningReader()
{
    ProfileWriteString("application", "reader_type", "2");
    ProfileWriteString("application", "reader_subtype", "1");
}

// A scanning reader waits for the plate with its "Confirm" dialog over the progress window.
// F1 there opens the dialog's own topic, not the progress window's; Esc puts the help away
// again, and Confirm lets the measurement go on.
TEST(ReaderCommands, F1InTheScanningReadersConfirmOpensItsOwnTopicAndEscClosesTheHelp)
{
    TTestHook hook;
    FastReader fast;
    emu::Script script;
    script.family = emu::Family::Ostrel;
    script.subType = 1;
    script.model = "FSCH";
    for (int i = 0; i < 96; ++i) script.plate[static_cast<std::size_t>(i)] = 100 + i * 10;
    emu::ReaderEmulator reader(script);
    ASSERT_TRUE(reader.Ok());
    reader.Start();
    ShellFixture s(UseScanningReader);
    ProfileFile("VYN.INI").Write("ports", "COM1", reader.SlavePath());
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    gCurrentDoc->GetPlate().measuredCount = 0;
    hook.AnswerDialog(1, 0, [](TDialog& d) {
        TypeInto(d, 102, "405");
        Press(d, IDOK);
    });
    hook.AnswerDialog(4, 0, [](TDialog& d) { EXPECT_TRUE(WaitFor([&] { return d.HasEnded(); }, 8000)); });
    std::string heading, headingAfterEsc = "(not read)";
    int topic = -1;
    hook.AnswerDialog(idDlgConfirmPlate, IDOK, [&](TDialog& d) {
        ResetLastHelpTopic();
        PressKey(d, VK_F1);
        TTestHook::ProcessEvents();
        topic = LastHelpTopic();
        heading = ShownHelpHeading();
        // The user brings the help window up, reads, and presses Esc.
        ASSERT_TRUE(BringToFront(ShownHelpWindow()));
        PressKeys(VK_ESCAPE);
        TTestHook::ProcessEvents();
        headingAfterEsc = ShownHelpHeading();
    });
    ASSERT_TRUE(Choose(*s.app->GetMainFrame(), "Measure..."));
    EXPECT_EQ(topic, kHelpConfirmPlate);
    EXPECT_EQ(heading, "Confirm");
    EXPECT_EQ(headingAfterEsc, "") << "Esc did not close the help window";
    EXPECT_EQ(gCurrentDoc->GetPlate().measuredCount, 96) << "Confirm let the measurement go on";
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
    CloseHelpWindow();
}

TEST(ReaderCommands, SilentReaderShowsItsMessageInTheMeasureDialog)
{
    TTestHook hook;
    FastReader fast;
    emu::Script script;
    script.fault = emu::Fault::NoAnswer;
    emu::ReaderEmulator reader(script);
    ASSERT_TRUE(reader.Ok());
    reader.Start();
    ShellFixture s(UseType1Reader);
    ProfileFile("VYN.INI").Write("ports", "COM1", reader.SlavePath());
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    const int beeps = hook.Beeps();
    const int measured = gCurrentDoc->GetPlate().measuredCount;
    bool seen = false;
    hook.AnswerDialog(1, IDCANCEL, [&](TDialog& d) {
        TypeInto(d, 102, "405");
        Press(d, IDOK);
        EXPECT_FALSE(d.HasEnded());
        EXPECT_TRUE(ShowsText(d.GetDlgItem(106)->Widget(), "Device not responding."))
            << dynamic_cast<QMeaDlg&>(d).MessageText();
        seen = ShowsRedText(*d.GetDlgItem(106));
    });
    hook.AnswerDialog(4, 0, [](TDialog& d) { EXPECT_TRUE(WaitFor([&] { return d.HasEnded(); }, 8000)); });
    ASSERT_TRUE(Choose(*s.app->GetMainFrame(), "Measure..."));
    EXPECT_TRUE(seen) << "the message is on show in red";
    EXPECT_GT(hook.Beeps(), beeps);
    EXPECT_EQ(gCurrentDoc->GetPlate().measuredCount, measured) << "the plate is as it was";
}

TEST(ReaderCommands, SimulatedReaderOffersItsOptionsButton)
{
    TTestHook hook;
    ShellFixture s;
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    std::string face;
    hook.AnswerMessageBox(IDOK);
    hook.AnswerDialog(1, IDCANCEL, [&](TDialog& d) {
        face = ButtonFaceText(*d.GetDlgItem(105));
        Press(d, 105);  // the click lands on the button: it is there to press
    });
    ASSERT_TRUE(Choose(*s.app->GetMainFrame(), "Measure..."));
    EXPECT_EQ(face, "Reader Specific Options") << "the options button's face";
    ASSERT_EQ(hook.Messages().size(), 1u) << "a click on it shows the options box";
    EXPECT_EQ(hook.Messages()[0].caption, "Options");
    EXPECT_EQ(hook.UnansweredBoxes(), 0);
}

TEST(ReaderCommands, PhotometerEditsTheTableAndItIsKeptAtTheEnd)
{
    TTestHook hook;
    std::string saved;
    {
        ShellFixture s;
        ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
        hook.AnswerDialog(2, 0, [](TDialog& d) {
            auto& list = dynamic_cast<TListBox&>(*d.GetDlgItem(101));
            for (const char* value : {"405", "620"}) {
                // A click on the new-entry row, the last one.
                const TRect r = list.GetItemRect(list.GetCount() - 1);
                EXPECT_TRUE(ClickReaches(list, r.left + 6, (r.top + r.bottom) / 2));
                TypeText(value);
                PressKeys(VK_RETURN);
                TTestHook::ProcessEvents();
            }
            EXPECT_EQ(dynamic_cast<QFltDlg&>(d).Values(), (std::vector<int>{405, 620}));
            const std::vector<std::string> rows = ListRows(list);
            ASSERT_GE(rows.size(), 2u);
            EXPECT_NE(rows[0].find("405"), std::string::npos) << rows[0];
            EXPECT_NE(rows[1].find("620"), std::string::npos) << "as the list shows them: " << rows[1];
            EXPECT_EQ(ButtonFaceText(*d.GetDlgItem(IDOK)), "OK");
            Press(d, IDOK);
        });
        ASSERT_TRUE(Choose(*s.app->GetMainFrame(), "Photometer"));
        EXPECT_EQ(GetFilterCount(), 2);
        s.app.reset();
        ASSERT_TRUE(ProfileFile("VYN.INI").Read("filters", "F02", saved));
        EXPECT_EQ(saved, "620") << "the table is saved at the end";
    }
}

TEST(ReaderCommands, PortTextIsSavedAsTheSettingsHoldItAndReadBackWhole)
{
    TTestHook hook;
    gCommSettings = QCommSettings();
    {
        ShellFixture s([] { ProfileWriteString("application", "port", "COM2:4800"); });
        EXPECT_EQ(gCommSettings.GetSettingsText(), "COM2:4800,E,7,1") << "the short text is taken as it stands";
        hook.AnswerDialog(3, IDOK, [](TDialog& d) {
            // The port list opened with a click, the fourth port chosen with the keys.
            auto& ports = dynamic_cast<TComboBox&>(*d.GetDlgItem(102));
            EXPECT_TRUE(ClickReaches(ports));
            TTestHook::ProcessEvents();
            PressKeys(VK_HOME);
            for (int i = 0; i < 3; ++i) PressKeys(VK_DOWN);
            PressKeys(VK_RETURN);
            TTestHook::ProcessEvents();
            EXPECT_EQ(ports.GetSelIndex(), 3);
        });
        ASSERT_TRUE(Choose(*s.app->GetMainFrame(), "Communication"));
        gCommSettings.baud = 19200;  // as a driver's lock would leave it
        s.app.reset();
        std::string text;
        ASSERT_TRUE(ProfileFile("VYN.INI").Read("application", "port", text));
        EXPECT_EQ(text, "COM4:19200,E,7,1") << "the text of the settings at the end";
    }
    {
        ShellFixture s([] { ProfileWriteString("application", "port", "garbage"); });
        EXPECT_EQ(gCommSettings.GetSettingsText(), "COM1:9600,E,7,2") << "a rejected text gives the default";
    }
    gCommSettings = QCommSettings();
}

}  // namespace
