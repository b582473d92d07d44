// Nothing the user names is written over a file another window holds, nor over the program's own
// files: every command that writes a file under a name typed or picked (Save as of plates and
// reports, the save from the "save the changes?" question, the exports, print to file from every
// printout and preview) refuses such a name with its message before anything asks whether to
// replace the file, and writes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

#include "ListRowInput.h"
#include "PlateInput.h"
#include "ShellTestFixture.h"
#include "ShownDemo.h"
#include "app/AppGlobals.h"
#include "app/AppPaths.h"
#include "app/QChView.h"
#include "app/QSelMet.h"
#include "app/ReportCommands.h"
#include "app/TMyControlBar.h"
#include "app/vynwMDI.h"
#include "document/MethodPaths.h"
#include "document/NewPlate.h"
#include "document/QDoc.h"
#include "method_editors/QAllPsh.h"
#include "plate/Profile.h"
#include "platform/core/ProfileFile.h"
#include "platform/core/StringTable.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/MDI.h"
#include "platform/gui/PrinterDialogs.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/FileDialogInput.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"
#include "printing/TRwPreview.h"
#include "report_designer/DesignerDialogs.h"
#include "report_designer/QRepView.h"
#include "report_designer/RPListDialogs.h"
#include "reports/CRepList.h"
#include "reports/QRepDoc.h"
#include "reports/RPReport.h"
#include "reports/RPSection.h"
#include "views/QLView.h"
#include "views/QNView.h"
#include "views/QPView.h"
#include "views/ViewCommands.h"

using namespace vyn;

namespace held_files_journey {

// The window a command is given in.
enum class From {
    Plate,      // Demo.plt's plate view
    NewPlate,   // a new plate, changed
    NewReport,  // a new report in the designer, changed
};

// The running program with Copy.plt (the held file) and then Demo.plt open, a report in the
// report library, and a folder linked to the data folder; the data folder is the current one.
struct HeldShell : ShellFixture {
    std::string demo, copy;
    HeldShell()
    {
        app->GetMainFrame()->MoveWindow(0, 0, 1100, 800);
        app->ShowMainWindow();
        TTestHook::ProcessEvents();
        demo = env.data + "/Demo.plt";
        copy = env.data + "/Copy.plt";
        std::filesystem::copy_file(demo, copy);
        std::filesystem::create_directory_symlink(env.data, env.root + "/linked");
        RPReport kept;
        kept.SetName("kept");
        CRepList list(ReportLibraryPath());
        list.Open(false);
        EXPECT_EQ(list.Append(kept), 0);
        // The settings file as the program keeps it.
        ProfileWriteString("application", "held", "1");
        EXPECT_EQ(::chdir(env.data.c_str()), 0);
        EXPECT_TRUE(OpenByMenu(copy));
        EXPECT_TRUE(OpenByMenu(demo));
    }
    ~HeldShell() { SetFileDialogAnswer(nullptr); }
    // The command chosen with the name typed into the save dialog it opens.
    bool ChooseNaming(unsigned id, const std::string& typed)
    {
        SetFileDialogAnswer([typed](bool save, const std::string&) { return save ? typed : std::string(); });
        const bool chosen = Choose(id);
        SetFileDialogAnswer(nullptr);
        return chosen;
    }
    // The window the command is given in, made as the user makes it.
    void Prepare(From from, TTestHook& hook)
    {
        if (from == From::NewPlate) {
            gPlateLineReader.Open("");
            hook.AnswerDialog(QSelMet::kSelectId, 109);  // "Empty"
            ASSERT_TRUE(Choose(CM_FILENEW));
            auto* view = dynamic_cast<QPView*>(gActiveView);
            ASSERT_NE(view, nullptr);
            TypeIntoWell(*view, 4, 4, "0.3");
            ASSERT_TRUE(gCurrentDoc && gCurrentDoc->IsDirty());
        } else if (from == From::NewReport) {
            hook.AnswerDialog(kDlgRepManager, 104);  // "&New  >"
            hook.AnswerDialog(idRPSecDlg, IDOK);
            ASSERT_TRUE(Choose(CM_REPORTS));
            QRepView* view = ActiveReportView(*app);
            ASSERT_NE(view, nullptr);
            const int top = view->Report().Band(bandDetail).BodyTop();
            ASSERT_TRUE(ClickGadget(*gToolPalette, 7110));  // the rectangle
            DragMouse(*view, 60, top + 10, 160, top + 50);
            TTestHook::ProcessEvents();
            ASSERT_TRUE(view->Doc().IsDirty());
        }
    }
    // The window of the document kept in the file.
    TMDIChild* FrameOf(const std::string& path)
    {
        for (TMDIChild* c : app->GetMDIClient()->Children())
            if (c->GetView() && c->GetView()->GetDocument().GetDocPath() == path) return c;
        return nullptr;
    }
};

// The print dialog of the next print, answered as the user does: "Print to file" ticked, the
// name typed, OK; when the dialog stays open on that, Cancel. stayed tells which it was.
void PrintToFileAs(TTestHook& hook, const std::string& typed, bool* stayed = nullptr)
{
    hook.AnswerDialog(TPrintDialog::kResId, 0, [typed, stayed](TDialog& d) {
        auto item = [&d](int id) -> TWindow& { return *d.GetDlgItem(id); };
        if (static_cast<TCheckBox&>(item(TPrintDialog::kToFile)).GetCheck() != TCheckBox::BF_CHECKED)
            ClickAt(ScreenPoint(item(TPrintDialog::kToFile)));
        ASSERT_TRUE(TypeIntoField(item(TPrintDialog::kFileName), typed));
        ClickAt(ScreenPoint(item(IDOK)));
        if (stayed) *stayed = !d.HasEnded();
        if (!d.HasEnded()) ClickAt(ScreenPoint(item(IDCANCEL)));
    });
}

// The preview of the next command: its Print button, then its Close button.
void PrintFromThePreview()
{
    WhenModalWindowRuns([](TWindow& w) {
        auto* preview = dynamic_cast<TRwPreview*>(&w);
        if (!preview) return;
        ClickGadget(preview->GetControlBar(), CM_PREVIEWPRINT);
        ClickGadget(preview->GetControlBar(), CM_PREVIEWCLOSE);
    });
}

struct Command {
    const char* name;
    From from;
    int questionsBefore;  // "save the changes?" questions answered Yes before the name is asked for
    // Gives the command as the user does and names the file typed where it asks for one.
    std::function<void(HeldShell&, TTestHook&, const std::string&)> run;
};

const std::vector<Command>& EveryCommandNamingAFile()
{
    static const std::vector<Command> commands = {
        {"plate: File > Save as", From::Plate, 0,
         [](HeldShell& s, TTestHook&, const std::string& typed) { ASSERT_TRUE(s.ChooseNaming(CM_FILESAVEAS, typed)); }},
        {"new plate: File > Save", From::NewPlate, 0,
         [](HeldShell& s, TTestHook&, const std::string& typed) { ASSERT_TRUE(s.ChooseNaming(CM_FILESAVE, typed)); }},
        {"new plate: Yes to \"save the changes?\" on File > Close", From::NewPlate, 1,
         [](HeldShell& s, TTestHook&, const std::string& typed) { ASSERT_TRUE(s.ChooseNaming(CM_FILECLOSE, typed)); }},
        {"report: File > Save as", From::NewReport, 0,
         [](HeldShell& s, TTestHook&, const std::string& typed) { ASSERT_TRUE(s.ChooseNaming(CM_FILESAVEAS, typed)); }},
        {"new report: File > Save", From::NewReport, 0,
         [](HeldShell& s, TTestHook&, const std::string& typed) { ASSERT_TRUE(s.ChooseNaming(CM_FILESAVE, typed)); }},
        {"new report: Yes to \"save the changes?\" on File > Close", From::NewReport, 1,
         [](HeldShell& s, TTestHook&, const std::string& typed) { ASSERT_TRUE(s.ChooseNaming(CM_FILECLOSE, typed)); }},
        {"plate: File > Export data", From::Plate, 0,
         [](HeldShell& s, TTestHook& hook, const std::string& typed) {
             // A plate with blanking asks which values; the measured ones.
             hook.AnswerDialog(QChView::kResId, IDOK, [](TDialog& d) {
                 if (TWindow* measured = d.GetDlgItem(QChView::IDC_MEASURED)) ClickReaches(*measured);
             });
             ASSERT_TRUE(s.ChooseNaming(cmExportData, typed));
         }},
        {"plate: File > Export results", From::Plate, 0,
         [](HeldShell& s, TTestHook&, const std::string& typed) { ASSERT_TRUE(s.ChooseNaming(CM_EXPORTRESULTS, typed)); }},
        {"plate matrix: File > Print", From::Plate, 0,
         [](HeldShell& s, TTestHook& hook, const std::string& typed) {
             PrintToFileAs(hook, typed);
             ASSERT_TRUE(s.Choose(CM_PRINT));
         }},
        {"sample list: File > Print", From::Plate, 0,
         [](HeldShell& s, TTestHook& hook, const std::string& typed) {
             ASSERT_TRUE(s.Choose(CM_SHOWLIST));
             PrintToFileAs(hook, typed);
             ASSERT_TRUE(s.Choose(CM_PRINT));
         }},
        {"calibration curve: File > Print", From::Plate, 0,
         [](HeldShell& s, TTestHook& hook, const std::string& typed) {
             ASSERT_TRUE(s.Choose(CM_SHOWCURVE));
             PrintToFileAs(hook, typed);
             ASSERT_TRUE(s.Choose(CM_PRINT));
         }},
        {"sample graph: File > Print", From::Plate, 0,
         [](HeldShell& s, TTestHook& hook, const std::string& typed) {
             auto* doc = dynamic_cast<QDoc*>(gCurrentDoc);
             ASSERT_NE(doc, nullptr);
             int quant = -1;
             for (int i = 0; i < doc->GetPlate().sampleCount && quant < 0; ++i)
                 if (doc->GetPlate().GetSample(i)->kind == skQuantitative) quant = i;
             ASSERT_GE(quant, 0);
             ASSERT_TRUE(s.Choose(CM_SHOWLIST));
             auto* list = dynamic_cast<QLView*>(gActiveView);
             ASSERT_NE(list, nullptr);
             ASSERT_TRUE(ClickListRow(*list, quant));
             ASSERT_TRUE(s.Choose(2227));  // Windows > Sample graph
             ASSERT_NE(dynamic_cast<QNView*>(gActiveView), nullptr);
             PrintToFileAs(hook, typed);
             ASSERT_TRUE(s.Choose(CM_PRINT));
         }},
        {"plate: File > Preview, Print", From::Plate, 0,
         [](HeldShell& s, TTestHook& hook, const std::string& typed) {
             PrintToFileAs(hook, typed);
             PrintFromThePreview();
             ASSERT_TRUE(s.Choose(CM_PREVIEW));
         }},
        {"method sheet: Print..., then Print in its preview", From::Plate, 0,
         [](HeldShell& s, TTestHook& hook, const std::string& typed) {
             hook.AnswerDialog(QAllPsh::kResId, QAllPsh::kPrintId);
             PrintToFileAs(hook, typed);
             PrintFromThePreview();
             ASSERT_TRUE(s.Choose(CM_ADVANCEDCALC));
         }},
        {"plate: Report print", From::Plate, 0,
         [](HeldShell& s, TTestHook& hook, const std::string& typed) {
             hook.AnswerDialog(kDlgRepPlate, IDOK);
             PrintToFileAs(hook, typed);
             ASSERT_TRUE(s.Choose(CM_REPORTPRINT));
         }},
        {"plate: Report preview, Print", From::Plate, 0,
         [](HeldShell& s, TTestHook& hook, const std::string& typed) {
             hook.AnswerDialog(kDlgRepPlate, IDOK);
             PrintToFileAs(hook, typed);
             PrintFromThePreview();
             ASSERT_TRUE(s.Choose(CM_REPORTPREVIEW));
         }},
        {"designer: File > Report print", From::NewReport, 0,
         [](HeldShell& s, TTestHook& hook, const std::string& typed) {
             // With a plate: a definition alone would first ask how many samples to simulate.
             hook.AnswerDialog(kDlgRepPrintMode, IDOK, [](TDialog& d) { ClickReaches(*d.GetDlgItem(102)); });
             PrintToFileAs(hook, typed);
             ASSERT_TRUE(s.Choose(cmRepPrint));
         }},
        {"designer: File > Report preview, Print", From::NewReport, 0,
         [](HeldShell& s, TTestHook& hook, const std::string& typed) {
             // With a plate: a definition alone would first ask how many samples to simulate.
             hook.AnswerDialog(kDlgRepPrintMode, IDOK, [](TDialog& d) { ClickReaches(*d.GetDlgItem(102)); });
             PrintToFileAs(hook, typed);
             PrintFromThePreview();
             ASSERT_TRUE(s.Choose(cmRepPreview));
         }},
    };
    return commands;
}

std::string Refusal(int id, const std::string& file) { return FormatWithArg(GetResString(id), file.c_str()); }


// Copy.plt's window, brought to the front from the Windows menu, shows its plate and closes with
// File > Close without a question: it still owns its file, unchanged.
void ExpectHeldWindowIntact(HeldShell& s, TTestHook& hook)
{
    // A designer in front has no Windows menu: it is closed first, its changes not kept.
    if (QRepView* designer = ActiveReportView(*s.app)) {
        if (designer->Doc().IsDirty()) hook.AnswerMessageBox(IDNO);
        ASSERT_TRUE(s.Choose(CM_FILECLOSE));
    }
    TMDIChild* held = s.FrameOf(s.copy);
    ASSERT_NE(held, nullptr);
    EXPECT_NE(dynamic_cast<QPView*>(held->GetView()), nullptr) << "it shows the plate";
    bool chosen = false;
    for (int n = 1; n <= 9 && !chosen; ++n) chosen = ClickMenuItem(s.Main(), "Windows", std::to_string(n) + " " + s.copy);
    TTestHook::ProcessEvents();
    ASSERT_TRUE(chosen) << "the Windows menu names it";
    ASSERT_EQ(s.app->GetMDIClient()->GetActiveMDIChild(), held);
    const std::size_t asked = hook.MessageTexts().size();
    ASSERT_TRUE(s.Choose(CM_FILECLOSE));
    EXPECT_EQ(s.FrameOf(s.copy), nullptr);
    EXPECT_EQ(hook.MessageTexts().size(), asked) << "closed without a question";
}

// One command naming Copy.plt as typed.
void NameTheHeldFile(const Command& c, const std::string& typed)
{
    TTestHook hook;
    HeldShell s;
    ASSERT_NO_FATAL_FAILURE(s.Prepare(c.from, hook));
    const std::string before = FileText(s.copy);
    const std::size_t frames = s.app->GetMDIClient()->Children().size();

    for (int i = 0; i < c.questionsBefore; ++i) hook.AnswerMessageBox(IDYES);
    hook.AnswerMessageBox(IDOK);
    ASSERT_NO_FATAL_FAILURE(c.run(s, hook, typed));
    std::vector<std::string> expected(static_cast<std::size_t>(c.questionsBefore), "");
    std::vector<std::string> shown = hook.MessageTexts();
    for (std::size_t i = 0; i < expected.size() && i < shown.size(); ++i) shown[i].clear();  // the question answered Yes
    expected.push_back(Refusal(kMsgPathHeld, s.copy));
    EXPECT_EQ(shown, expected) << "the refusal alone, with no replace question";
    EXPECT_EQ(FileText(s.copy), before) << "nothing written";
    EXPECT_GE(s.app->GetMDIClient()->Children().size(), frames) << "the window giving the command stays";
    ExpectHeldWindowIntact(s, hook);
    EXPECT_EQ(FileText(s.copy), before);
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

}  // namespace held_files_journey

using namespace held_files_journey;

// Copy.plt is open in its window while another window's command names it, by its plain name,
// through ".." and through a linked folder: refused with the message Save as gives, with no
// question whether to replace it; the file keeps its bytes and its window stays its owner.
TEST(HeldFilesJourney, EveryCommandNamingAFileRefusesOneAnotherWindowHolds)
{
    for (const Command& c : EveryCommandNamingAFile())
        for (const char* typed : {"Copy.plt", "../data/Copy.plt", "../linked/Copy.plt"}) {
            SCOPED_TRACE(std::string(c.name) + " named " + typed);
            NameTheHeldFile(c, typed);
        }
}

namespace held_files_journey {

struct ProgramFile {
    const char* name;
    int message;
    std::function<std::string()> path;
};

std::vector<std::string> Captions(HeldShell& s)
{
    std::vector<std::string> out;
    for (TMDIChild* f : s.app->GetMDIClient()->Children()) out.push_back(ShownCaption(*f));
    return out;
}

// One command naming one of the program's own files by its whole name.
void NameAProgramFile(const Command& c, const ProgramFile& t)
{
    TTestHook hook;
    HeldShell s;
    ASSERT_NO_FATAL_FAILURE(s.Prepare(c.from, hook));
    const std::string file = t.path();
    ASSERT_TRUE(std::filesystem::exists(file));
    const std::string before = FileText(file);
    const std::vector<std::string> captions = Captions(s);

    hook.AnswerMessageBox(IDOK);
    ASSERT_NO_FATAL_FAILURE(c.run(s, hook, file));
    EXPECT_EQ(hook.MessageTexts(), std::vector<std::string>{Refusal(t.message, file)}) << "no replace question";
    EXPECT_EQ(FileText(file), before) << "nothing written";
    EXPECT_EQ(Captions(s), captions) << "no window took the file's name";
}

}  // namespace held_files_journey

// The method library, the report library and the settings file are never written as a
// document's file, an export or a print: each named refuses with a message saying what the file is.
TEST(HeldFilesJourney, TheProgramsOwnFilesAreNoTargetOfSaveExportOrPrint)
{
    const ProgramFile files[] = {
        {"method library", kMsgMethodLibraryTarget, [] { return GetMtwFilePath(); }},
        {"report library", kMsgReportLibraryTarget, [] { return GetMrwFilePath(); }},
        {"settings file", kMsgSettingsTarget, [] { return ProfileFile::ResolvePath(kProfileName); }},
    };
    const std::vector<Command>& all = EveryCommandNamingAFile();
    for (const ProgramFile& t : files)
        for (const char* command : {"plate: File > Save as", "report: File > Save as", "plate: File > Export data",
                                    "plate matrix: File > Print"}) {
            const auto c = std::find_if(all.begin(), all.end(), [command](const Command& x) { return x.name == std::string(command); });
            ASSERT_NE(c, all.end());
            SCOPED_TRACE(std::string(command) + " named as the " + t.name);
            NameAProgramFile(*c, t);
        }
}

// In the save dialog itself: a name another window holds is refused first and the dialog stays
// open for another name; an existing file nobody holds is asked about before it is replaced.
TEST(HeldFilesJourney, TheSaveDialogRefusesBeforeItAsksToReplace)
{
    TTestHook hook;
    HeldShell s;
    const std::string other = s.env.data + "/Other.plt";
    std::filesystem::copy_file(s.demo, other);
    const std::string before = FileText(s.copy), otherBefore = FileText(other);

    std::vector<std::string> toolkitBoxes;
    bool stayedOpen = false, stayedAfterNo = false;
    WhenFileDialogRuns([&] {
        for (const std::string& b : AcceptFileName("../linked/Copy.plt")) toolkitBoxes.push_back(b);
        stayedOpen = FileDialogOpen();
        for (const std::string& b : AcceptFileName("Other.plt")) toolkitBoxes.push_back(b);
        stayedAfterNo = FileDialogOpen();
        CancelFileDialog();
    });
    hook.AnswerMessageBox(IDOK);  // the refusal
    hook.AnswerMessageBox(IDNO);  // do not replace Other.plt
    ASSERT_TRUE(s.Choose(CM_FILESAVEAS));
    EXPECT_TRUE(toolkitBoxes.empty()) << "the dialog asks nothing of its own";
    ASSERT_EQ(hook.MessageTexts().size(), 2u);
    EXPECT_EQ(hook.MessageTexts()[0], Refusal(kMsgPathHeld, s.copy)) << "the refusal, with no replace question before it";
    EXPECT_EQ(hook.MessageTexts()[1], FormatResString(23858, other.c_str())) << "the replace question after it";
    EXPECT_TRUE(stayedOpen) << "refused, the dialog waits for another name";
    EXPECT_TRUE(stayedAfterNo);
    EXPECT_EQ(FileText(s.copy), before);
    EXPECT_EQ(FileText(other), otherBefore);
    EXPECT_EQ(ShownCaption(*s.FrameOf(s.demo)), s.demo) << "the plate keeps its name";
}

// The method library reads as a plate: opened with File > Open, it is shown, but neither File >
// Save nor Yes to "save the changes?" writes the plate over it.
TEST(HeldFilesJourney, APlateOpenedFromTheMethodLibraryIsNotSavedOverIt)
{
    TTestHook hook;
    HeldShell s;
    const std::string library = GetMtwFilePath();
    const std::string before = FileText(library);
    ASSERT_TRUE(s.OpenByMenu(library));
    TMDIChild* frame = s.FrameOf(library);
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(s.app->GetMDIClient()->GetActiveMDIChild(), frame);
    const std::string refusal = Refusal(kMsgMethodLibraryTarget, library);

    hook.AnswerMessageBox(IDOK);
    ASSERT_TRUE(s.Choose(CM_FILESAVE));
    EXPECT_EQ(hook.MessageTexts(), std::vector<std::string>{refusal});

    auto* view = dynamic_cast<QPView*>(frame->GetView());
    ASSERT_NE(view, nullptr);
    TypeIntoWell(*view, 4, 4, "0.3");
    ASSERT_TRUE(view->GetDocument().IsDirty());
    hook.AnswerMessageBox(IDYES);  // save the changes
    hook.AnswerMessageBox(IDOK);   // refused
    ASSERT_TRUE(s.Choose(CM_FILECLOSE));
    ASSERT_EQ(hook.MessageTexts().size(), 3u);
    EXPECT_EQ(hook.MessageTexts()[2], refusal);
    EXPECT_EQ(s.FrameOf(library), frame) << "not saved, the window stays open";
    EXPECT_EQ(FileText(library), before) << "the library keeps its methods";

    hook.AnswerMessageBox(IDNO);  // the changes are not kept
    ASSERT_TRUE(s.Choose(CM_FILECLOSE));
    EXPECT_EQ(s.FrameOf(library), nullptr);
    EXPECT_EQ(FileText(library), before);
}

// The print dialog keeps the name it refused selected, as the save dialog does: the next name
// the user types replaces it, and the printout goes to that file, not to the two run together.
TEST(HeldFilesJourney, APrintToFileRefusedTakesTheNameTypedOverIt)
{
    TTestHook hook;
    HeldShell s;
    const std::string before = FileText(s.copy);
    const std::string fresh = s.env.data + "/Fresh.pdf";
    bool stayed = false, ended = false;
    hook.AnswerDialog(TPrintDialog::kResId, 0, [&](TDialog& d) {
        auto item = [&d](int id) -> TWindow& { return *d.GetDlgItem(id); };
        if (static_cast<TCheckBox&>(item(TPrintDialog::kToFile)).GetCheck() != TCheckBox::BF_CHECKED)
            ClickAt(ScreenPoint(item(TPrintDialog::kToFile)));
        ASSERT_TRUE(TypeIntoField(item(TPrintDialog::kFileName), "Copy.plt"));
        ClickAt(ScreenPoint(item(IDOK)));
        stayed = !d.HasEnded();
        if (!stayed) return;
        TypeText(fresh);
        PressKeys(VK_RETURN);
        ended = d.HasEnded();
        if (!ended) ClickAt(ScreenPoint(item(IDCANCEL)));
    });
    hook.AnswerMessageBox(IDOK);  // the refusal
    ASSERT_TRUE(s.Choose(CM_PRINT));
    EXPECT_EQ(hook.MessageTexts(), std::vector<std::string>{Refusal(kMsgPathHeld, s.copy)});
    EXPECT_TRUE(stayed) << "refused, the dialog waits for another name";
    EXPECT_TRUE(ended) << "the name typed next is taken";
    EXPECT_TRUE(std::filesystem::exists(fresh)) << "printed to the name typed";
    EXPECT_EQ(FileText(s.copy), before);
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}
