// File > Save after a day's work on a new plate with reports: a new report designed and saved
// in the report list (its designer closes), the plate's report printed to a file, its samples'
// identifications imported and its results exported. Save, by its key and from the menu, still saves the plate: a new plate asks
// for its file's name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/QSelMet.h"
#include "app/ReportCommands.h"
#include "app/vynwMDI.h"
#include "document/NewPlate.h"
#include "document/QDoc.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlListBox.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/PrinterDialogs.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/FileDialogInput.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"
#include "report_designer/DesignerDialogs.h"
#include "report_designer/QRepView.h"
#include "report_designer/RPListDialogs.h"
#include "reports/CRepList.h"

using namespace vyn;

namespace {

struct DayShell : ShellFixture {
    DayShell()
    {
        app->GetMainFrame()->MoveWindow(0, 0, 1100, 800);
        app->ShowMainWindow();
        TTestHook::ProcessEvents();
    }
    ~DayShell() { SetFileDialogAnswer(nullptr); }
    std::string ActiveCaption()
    {
        TMDIChild* c = app->GetMDIClient()->GetActiveMDIChild();
        return c ? ShownCaption(*c) : std::string();
    }
};

// The asked-for save names, and the name the user types (empty: Cancel).
struct SaveDialogs {
    int asked = 0;
    std::string answer;
    void Install()
    {
        SetFileDialogAnswer([this](bool save, const std::string&) {
            if (save) ++asked;
            return save ? answer : std::string();
        });
    }
};

}  // namespace

TEST(SaveAfterReportJourney, SaveOfTheNewPlateAsksForItsNameAfterReportsWereSavedPrintedAndExported)
{
    TTestHook hook;
    DayShell s;

    // A new plate of the demo method, untitled.
    hook.AnswerDialog(QSelMet::kSelectId, 108, [](TDialog& d) {
        auto* list = dynamic_cast<TListBox*>(d.GetDlgItem(101));
        ASSERT_NE(list, nullptr);
        ASSERT_GT(list->GetCount(), 1);
        list->UserSelect(1);
    });
    ASSERT_TRUE(s.Choose(CM_FILENEW));
    ASSERT_NE(gCurrentDoc, nullptr);
    QDoc* plate = gCurrentDoc;
    ASSERT_FALSE(plate->HasDocPath());
    const std::string untitled = s.ActiveCaption();

    // Reports...: New, the sections as offered; the designer opens and is saved in the list,
    // which closes it.
    hook.AnswerDialog(kDlgRepManager, 104);
    hook.AnswerDialog(idRPSecDlg, IDOK);
    ASSERT_TRUE(s.Choose(CM_REPORTS));
    ASSERT_NE(ActiveReportView(*s.app), nullptr) << "the designer is open";
    hook.AnswerDialog(kDlgRepAdd, 103, [](TDialog& d) { EXPECT_TRUE(TypeIntoField(*d.GetDlgItem(121), "Day report")); });
    ASSERT_TRUE(s.Choose(cmRepSaveInList));
    ASSERT_EQ(ActiveReportView(*s.app), nullptr) << "the designer closed";
    EXPECT_EQ(s.ActiveCaption(), untitled);

    // Report print... of the plate with that report, printed to a file.
    const std::string pdf = s.env.root + "/day.pdf";
    hook.AnswerDialog(kDlgRepPlate, IDOK, [](TDialog& d) {
        auto& list = dynamic_cast<TListBox&>(*d.GetDlgItem(101));
        for (int i = 0; i < list.GetCount(); ++i)
            if (list.GetString(i).rfind("Day report", 0) == 0) list.UserSelect(i);
    });
    hook.AnswerDialog(TPrintDialog::kResId, IDOK, [&pdf](TDialog& d) {
        auto& toFile = dynamic_cast<TCheckBox&>(*d.GetDlgItem(TPrintDialog::kToFile));
        if (toFile.GetCheck() != TCheckBox::BF_CHECKED) ClickAt(ScreenPoint(toFile));
        EXPECT_TRUE(TypeIntoField(*d.GetDlgItem(TPrintDialog::kFileName), pdf));
    });
    ASSERT_TRUE(s.Choose(CM_REPORTPRINT));
    EXPECT_TRUE(std::filesystem::exists(pdf)) << "printed to the file";

    // Import identifications... for its samples, so that the export has something to write.
    const std::string ids = s.env.root + "/ids.txt";
    std::ofstream(ids, std::ios::binary) << "Serum 1\r\nSerum 2\r\n";
    SetFileDialogAnswer([ids](bool, const std::string&) { return ids; });
    ASSERT_TRUE(s.Choose(CM_IMPORTIDS));
    SetFileDialogAnswer(nullptr);

    // Export results... into a text file, its name typed into the file dialog.
    const std::string exported = s.env.root + "/results.txt";
    ASSERT_EQ(::chdir(s.env.root.c_str()), 0) << "the dialog opens on the folder of the export";
    WhenFileDialogRuns([] { AcceptFileName("results.txt"); });
    ASSERT_TRUE(s.Choose(CM_EXPORTRESULTS));
    EXPECT_TRUE(std::filesystem::exists(exported)) << "the results exported";
    for (const TShownMessage& m : hook.Messages()) ADD_FAILURE() << "unexpected box: " << m.text;

    // Ctrl+S, the next thing the user does, asks for the plate's name; Cancel there writes
    // nothing.
    SaveDialogs dialogs;
    dialogs.Install();
    PressShortcut("Ctrl+S");
    TTestHook::ProcessEvents();
    EXPECT_EQ(dialogs.asked, 1) << "Ctrl+S asked for the new plate's name";
    EXPECT_FALSE(plate->HasDocPath());

    // File > Save asks again, and the plate is written under the name given.
    dialogs.answer = s.env.data + "/day.plt";
    ASSERT_TRUE(s.Choose(CM_FILESAVE));
    EXPECT_EQ(dialogs.asked, 2) << "File > Save asked for the new plate's name";
    EXPECT_TRUE(std::filesystem::exists(dialogs.answer));
    EXPECT_EQ(s.ActiveCaption(), dialogs.answer);
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}
