// Closing several windows or documents at once, as a user does it: Windows > Close all,
// File > Close of a plate with several views, File > Exit and the main window's close box.
// Each changed document is asked about once; Yes writes it, No leaves its file as it was, and
// Cancel at any point keeps every window open. A changed report is saved as a report.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>
#include <string>
#include <vector>

#include "../../reports/ReportFixtures.h"
#include "PlateInput.h"
#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/AppPaths.h"
#include "app/QSelMet.h"
#include "app/ReportCommands.h"
#include "app/RwMainWindow.h"
#include "app/TMyControlBar.h"
#include "app/vynwApp.h"
#include "app/vynwMDI.h"
#include "document/NewPlate.h"
#include "document/QDoc.h"
#include "platform/core/DocManager.h"
#include "platform/core/StringTable.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/MDI.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/FileDialogInput.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"
#include "report_designer/AttrEditor.h"
#include "report_designer/AttrControls.h"
#include "report_designer/DesignerDialogs.h"
#include "report_designer/QRepView.h"
#include "report_designer/RPListDialogs.h"
#include "reports/CRepList.h"
#include "reports/QRepDoc.h"
#include "reports/RPReport.h"
#include "reports/RPSection.h"
#include "views/QPView.h"

using namespace vyn;

namespace {

using Bytes = std::vector<std::uint8_t>;
using test::ReadAll;

struct ClosingShell : ShellFixture {
    ClosingShell()
    {
        app->GetMainFrame()->MoveWindow(0, 0, 1100, 800);
        app->ShowMainWindow();
        TTestHook::ProcessEvents();
    }
    ~ClosingShell() { SetFileDialogAnswer(nullptr); }
    // A copy of the demo plate under the name, opened with File > Open.
    std::string OpenPlate(const std::string& name)
    {
        const std::string path = env.data + "/" + name;
        std::filesystem::copy_file(env.data + "/Demo.plt", path, std::filesystem::copy_options::overwrite_existing);
        SetFileDialogAnswer([path](bool, const std::string&) { return path; });
        EXPECT_TRUE(Choose(CM_FILEOPEN));
        SetFileDialogAnswer(nullptr);
        return path;
    }
    // 0.3 typed into well E5 of the active plate view.
    void TypeValueIntoE5()
    {
        auto* view = dynamic_cast<QPView*>(gActiveView);
        ASSERT_NE(view, nullptr);
        TypeIntoWell(*view, 4, 4, "0.3");
        ASSERT_TRUE(gCurrentDoc && gCurrentDoc->IsDirty()) << "the typed value changed the plate";
    }
    // File > New with "Empty" chosen for the method, and 0.3 typed into the new plate.
    void NewChangedPlate(TTestHook& hook)
    {
        gPlateLineReader.Open("");
        hook.AnswerDialog(QSelMet::kSelectId, 109);  // "Empty"
        ASSERT_TRUE(Choose(CM_FILENEW));
        TypeValueIntoE5();
    }
    std::size_t Frames() const { return app->GetMDIClient()->Children().size(); }
    std::size_t Documents() const { return app->GetDocManager().GetDocuments().size(); }
};

// Whether the plate file holds the value typed into E5.
bool HoldsTypedValue(const std::string& path)
{
    QDoc doc;
    doc.SetDocPath(path);
    if (!doc.InitDoc()) return false;
    const QWellRecord& e5 = doc.GetPlate().wells[4 * 12 + 4];
    return e5.data == 0.3 || e5.measured == 0.3;
}

// The paths the "save the changes?" questions named, in the order they came.
std::vector<std::string> AskedAbout(const TTestHook& hook, const std::vector<std::string>& paths)
{
    std::vector<std::string> asked;
    for (const TShownMessage& m : hook.Messages())
        for (const std::string& p : paths)
            if (m.text.find(p) != std::string::npos) asked.push_back(p);
    return asked;
}

}  // namespace

// One plate shown in two or three windows, its value changed once: Close all asks once, and
// the answer decides for every window and for the file.
TEST(ClosingChangedDocuments, CloseAllAsksOnceForAPlateShownInSeveralWindows)
{
    struct Row {
        const char* name;
        std::vector<unsigned> moreViews;  // Windows menu items opening further views
        int answer;
    };
    const Row rows[] = {
        {"two views, Yes", {CM_SHOWLIST}, IDYES},
        {"two views, No", {CM_SHOWLIST}, IDNO},
        {"three views, Cancel", {CM_SHOWLIST, CM_SHOWCURVE}, IDCANCEL},
        {"three views, Yes", {CM_SHOWLIST, CM_SHOWCURVE}, IDYES},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TTestHook hook;
        ClosingShell s;
        const std::string path = s.OpenPlate("A.plt");
        const Bytes before = ReadAll(path);
        s.TypeValueIntoE5();
        for (unsigned id : r.moreViews) ASSERT_TRUE(s.Choose(id));
        ASSERT_EQ(s.Frames(), 1 + r.moreViews.size());

        hook.AnswerMessageBox(r.answer);
        ASSERT_TRUE(s.Choose(CM_CLOSECHILDREN));
        EXPECT_EQ(AskedAbout(hook, {path}), std::vector<std::string>{path}) << "one question for the plate";
        EXPECT_EQ(hook.UnansweredBoxes(), 0);
        if (r.answer == IDYES) {
            EXPECT_TRUE(HoldsTypedValue(path)) << "the typed value was written";
        } else {
            EXPECT_TRUE(ReadAll(path) == before) << "the file is as it was";
        }
        if (r.answer != IDCANCEL) {
            EXPECT_EQ(s.Frames(), 0u);
            EXPECT_EQ(s.Documents(), 0u);
            continue;
        }
        // Cancel: every window stays, the change with them, and the program goes on working.
        EXPECT_EQ(s.Frames(), 1 + r.moreViews.size());
        ASSERT_EQ(s.Documents(), 1u);
        EXPECT_TRUE(s.app->GetDocManager().GetDocuments()[0]->IsDirty());
        ASSERT_TRUE(s.Choose(CM_SHOWPLATE));
        s.TypeValueIntoE5();
        hook.AnswerMessageBox(IDNO);
        ASSERT_TRUE(s.Choose(CM_CLOSECHILDREN));
        EXPECT_EQ(AskedAbout(hook, {path}).size(), 2u);
        EXPECT_EQ(s.Frames(), 0u);
        EXPECT_TRUE(ReadAll(path) == before);
    }
}

// Two and three changed plates: one question each, in a single round; Cancel on any of them
// keeps every window open, also those of plates answered before it.
TEST(ClosingChangedDocuments, CloseAllAsksEachChangedPlateOnceAndCancelKeepsEveryWindow)
{
    struct Row {
        const char* name;
        std::vector<int> answers;  // one per plate, in the order they were opened
    };
    const Row rows[] = {
        {"two plates, No then Cancel", {IDNO, IDCANCEL}},
        {"three plates, Yes, No, Cancel", {IDYES, IDNO, IDCANCEL}},
        {"three plates, Yes, No, Yes", {IDYES, IDNO, IDYES}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TTestHook hook;
        ClosingShell s;
        std::vector<std::string> paths;
        std::vector<Bytes> before;
        for (std::size_t i = 0; i < r.answers.size(); ++i) {
            paths.push_back(s.OpenPlate(std::string(1, static_cast<char>('A' + i)) + ".plt"));
            before.push_back(ReadAll(paths.back()));
            s.TypeValueIntoE5();
        }
        for (int a : r.answers) hook.AnswerMessageBox(a);
        ASSERT_TRUE(s.Choose(CM_CLOSECHILDREN));
        EXPECT_EQ(AskedAbout(hook, paths), paths) << "each plate once, none twice";
        EXPECT_EQ(hook.UnansweredBoxes(), 0);
        const bool cancelled = r.answers.back() == IDCANCEL;
        EXPECT_EQ(s.Frames(), cancelled ? paths.size() : 0u);
        EXPECT_EQ(s.Documents(), cancelled ? paths.size() : 0u);
        for (std::size_t i = 0; i < paths.size(); ++i) {
            if (r.answers[i] == IDYES) {
                EXPECT_TRUE(HoldsTypedValue(paths[i])) << paths[i] << " written";
            } else {
                EXPECT_TRUE(ReadAll(paths[i]) == before[i]) << paths[i] << " as it was";
            }
        }
        if (!cancelled) continue;
        // The plates not saved are still changed: the next Close all asks about them alone.
        std::vector<std::string> unsaved;
        for (std::size_t i = 0; i < paths.size(); ++i)
            if (r.answers[i] != IDYES) unsaved.push_back(paths[i]);
        const std::size_t shown = hook.Messages().size();
        for (std::size_t i = 0; i < unsaved.size(); ++i) hook.AnswerMessageBox(IDNO);
        ASSERT_TRUE(s.Choose(CM_CLOSECHILDREN));
        EXPECT_EQ(hook.Messages().size(), shown + unsaved.size());
        EXPECT_EQ(s.Frames(), 0u);
        for (std::size_t i = 0; i < paths.size(); ++i)
            if (r.answers[i] != IDYES) {
                EXPECT_TRUE(ReadAll(paths[i]) == before[i]) << paths[i];
            }
    }
}

// File > Close of a plate shown in two windows: one question; Cancel keeps both windows.
TEST(ClosingChangedDocuments, FileCloseOfAPlateWithTwoViewsAsksOnce)
{
    TTestHook hook;
    ClosingShell s;
    const std::string path = s.OpenPlate("A.plt");
    const Bytes before = ReadAll(path);
    s.TypeValueIntoE5();
    ASSERT_TRUE(s.Choose(CM_SHOWLIST));
    hook.AnswerMessageBox(IDCANCEL);
    ASSERT_TRUE(s.Choose(CM_FILECLOSE));
    EXPECT_EQ(hook.Messages().size(), 1u);
    EXPECT_EQ(s.Frames(), 2u);
    hook.AnswerMessageBox(IDYES);
    ASSERT_TRUE(s.Choose(CM_FILECLOSE));
    EXPECT_EQ(AskedAbout(hook, {path}).size(), 2u);
    EXPECT_EQ(hook.Messages().size(), 2u);
    EXPECT_EQ(s.Frames(), 0u);
    EXPECT_TRUE(HoldsTypedValue(path));
}

// File > Exit and the main window's close box: one question per changed plate, with two views
// of one of them; Cancel keeps the program and every window, the next close asks again about
// what is still changed.
TEST(ClosingChangedDocuments, ExitAndTheCloseBoxAskOncePerChangedPlate)
{
    TTestHook hook;
    ClosingShell s;
    std::vector<std::string> paths;
    std::vector<Bytes> before;
    for (const char* name : {"A.plt", "B.plt", "C.plt"}) {
        paths.push_back(s.OpenPlate(name));
        before.push_back(ReadAll(paths.back()));
        s.TypeValueIntoE5();
    }
    ASSERT_TRUE(s.Choose(CM_SHOWLIST));  // a second view of C
    ASSERT_EQ(s.Frames(), 4u);

    for (int a : {IDYES, IDNO, IDCANCEL}) hook.AnswerMessageBox(a);
    ASSERT_TRUE(s.Choose(CM_EXIT));
    EXPECT_EQ(AskedAbout(hook, paths), paths);
    EXPECT_TRUE(s.Main().IsWindow());
    EXPECT_FALSE(TakeQuitRequest());
    EXPECT_EQ(s.Frames(), 4u);
    EXPECT_TRUE(HoldsTypedValue(paths[0]));
    EXPECT_TRUE(ReadAll(paths[1]) == before[1]);
    EXPECT_TRUE(ReadAll(paths[2]) == before[2]);

    for (int a : {IDNO, IDYES}) hook.AnswerMessageBox(a);
    RequestClose(s.Main());
    TTestHook::ProcessEvents();
    EXPECT_EQ(hook.Messages().size(), 5u) << "B and C once more; A was saved";
    EXPECT_TRUE(ReadAll(paths[1]) == before[1]);
    EXPECT_TRUE(HoldsTypedValue(paths[2]));
    EXPECT_FALSE(s.Main().IsWindow());
    EXPECT_TRUE(TakeQuitRequest());
    EXPECT_EQ(hook.UnansweredBoxes(), 0);
}

// A changed report closed with Yes to the question: the report's own "Save As" dialog, and the
// file written is a report that opens again, for a new report and for one from the library.
TEST(ClosingChangedDocuments, AChangedReportSavedFromTheQuestionIsAReportFile)
{
    struct Row {
        const char* name;
        bool fromLibrary;
        unsigned closeWith;
    };
    const Row rows[] = {
        {"new report, File > Close", false, CM_FILECLOSE},
        {"library report, Close all", true, CM_CLOSECHILDREN},
        {"new report, Exit", false, CM_EXIT},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TTestHook hook;
        ClosingShell s;
        if (r.fromLibrary) {
            RPReport kept;
            kept.SetName("kept");
            CRepList list(ReportLibraryPath());
            list.Open(false);
            ASSERT_EQ(list.Append(kept), 0);
            hook.AnswerDialog(kDlgRepManager, 0, [](TDialog& d) {
                EXPECT_TRUE(ClickReaches(*d.GetDlgItem(101), 20, 4)) << "the report's row";
                EXPECT_TRUE(ClickReaches(*d.GetDlgItem(105))) << "Edit";
            });
        } else {
            hook.AnswerDialog(kDlgRepManager, 104);
            hook.AnswerDialog(idRPSecDlg, IDOK);
        }
        ASSERT_TRUE(s.Choose(CM_REPORTS));
        QRepView* view = ActiveReportView(*s.app);
        ASSERT_NE(view, nullptr);
        const int top = view->Report().Band(bandDetail).BodyTop();
        ASSERT_TRUE(ClickGadget(*gToolPalette, 7110));  // the rectangle
        DragMouse(*view, 60, top + 10, 160, top + 50);
        TTestHook::ProcessEvents();

        // The designer's menu has no Windows popup: Close all is chosen with a plate in front.
        if (r.closeWith == CM_CLOSECHILDREN) s.OpenPlate("A.plt");
        const std::string stem = s.env.data + "/rep1";
        ASSERT_EQ(::chdir(s.env.data.c_str()), 0) << "the dialog opens on the data folder";
        std::string title, kind;
        WhenFileDialogRuns([&] {
            title = FileDialogTitle();
            kind = FileDialogFileKind();
            AcceptFileName("rep1");

        });
        hook.AnswerMessageBox(IDYES);
        ASSERT_TRUE(s.Choose(r.closeWith));
        EXPECT_EQ(hook.Messages().size(), 1u);
        EXPECT_EQ(title, GetResStringStd(7928));
        EXPECT_EQ(kind, "Reports (*.qrp)");
        EXPECT_FALSE(std::filesystem::exists(stem + ".plt"));
        ASSERT_TRUE(std::filesystem::exists(stem + ".qrp"));
        EXPECT_EQ(s.Frames(), 0u);

        QRepDoc again;
        again.SetDocPath(stem + ".qrp");
        ASSERT_TRUE(again.ReadFile());
        ASSERT_EQ(again.Report().Band(bandDetail).Objects().size(), 1u);
        EXPECT_EQ(again.Report().Band(bandDetail).Objects()[0]->GetType(), otRectangle);
        if (r.closeWith != CM_EXIT) {
            // And through File > Open, in the designer.
            SetFileDialogAnswer([&stem](bool, const std::string&) { return stem + ".qrp"; });
            ASSERT_TRUE(s.Choose(CM_FILEOPEN));
            SetFileDialogAnswer(nullptr);
            QRepView* opened = ActiveReportView(*s.app);
            ASSERT_NE(opened, nullptr);
            EXPECT_EQ(opened->Report().Band(bandDetail).Objects().size(), 1u);
        }
        EXPECT_EQ(hook.UnansweredBoxes(), 0) << "no message about the file";
        if (r.closeWith == CM_EXIT) {
            EXPECT_TRUE(TakeQuitRequest());
        }
    }
}

// A new report saved under a name from the question, and a later question of the same Close all
// cancelled: the report stays open and is known by its file from then on, in its title bar, in
// the Windows menu and in the attribute window, as after File > Save as.
TEST(ClosingChangedDocuments, ANewReportSavedBeforeACancelShowsItsFile)
{
    TTestHook hook;
    ClosingShell s;
    hook.AnswerDialog(kDlgRepManager, 104);
    hook.AnswerDialog(idRPSecDlg, IDOK);
    ASSERT_TRUE(s.Choose(CM_REPORTS));
    QRepView* view = ActiveReportView(*s.app);
    ASSERT_NE(view, nullptr);
    TMDIChild* reportFrame = s.app->GetMDIClient()->GetActiveMDIChild();
    ASSERT_NE(reportFrame, nullptr);
    const std::string untitled = ShownCaption(*reportFrame);
    const int top = view->Report().Band(bandDetail).BodyTop();
    ASSERT_TRUE(ClickGadget(*gToolPalette, 7110));  // the rectangle
    DragMouse(*view, 60, top + 10, 160, top + 50);
    TTestHook::ProcessEvents();
    ASSERT_TRUE(ClickGadget(*gToolPalette, 7118));  // the attribute window
    TTestHook::ProcessEvents();
    ASSERT_NE(QRAttrGlobals::gAttrFrame, nullptr);

    const std::string plate = s.OpenPlate("A.plt");
    const Bytes before = ReadAll(plate);
    s.TypeValueIntoE5();

    ASSERT_EQ(::chdir(s.env.data.c_str()), 0) << "the dialog opens on the data folder";
    const std::string saved = s.env.data + "/rep1.qrp";
    WhenFileDialogRuns([] { AcceptFileName("rep1"); });
    hook.AnswerMessageBox(IDYES);
    hook.AnswerMessageBox(IDCANCEL);
    ASSERT_TRUE(s.Choose(CM_CLOSECHILDREN));
    EXPECT_EQ(hook.Messages().size(), 2u);
    EXPECT_EQ(AskedAbout(hook, {plate}), std::vector<std::string>{plate}) << "the plate second";
    ASSERT_TRUE(std::filesystem::exists(saved));
    EXPECT_TRUE(ReadAll(plate) == before);
    ASSERT_EQ(s.Frames(), 2u) << "Cancel kept both windows";

    EXPECT_NE(ShownCaption(*reportFrame), untitled);
    EXPECT_EQ(ShownCaption(*reportFrame), saved);
    EXPECT_TRUE(ClickMenuItem(s.Main(), "Windows", "1 " + saved)) << "the Windows menu names the file";
    EXPECT_EQ(s.app->GetMDIClient()->GetActiveMDIChild(), reportFrame);
    ASSERT_TRUE(ClickGadget(*gToolPalette, 7118));
    TTestHook::ProcessEvents();
    EXPECT_EQ(ShownCaption(*QRAttrGlobals::gAttrFrame), "rep1.qrp");

    // Saved, the report closes without a question; the plate is asked about once more.
    ASSERT_TRUE(ClickMenuItem(s.Main(), "Windows", "2 " + plate));
    hook.AnswerMessageBox(IDNO);
    ASSERT_TRUE(s.Choose(CM_CLOSECHILDREN));
    EXPECT_EQ(hook.Messages().size(), 3u);
    EXPECT_EQ(s.Frames(), 0u);
    EXPECT_TRUE(ReadAll(plate) == before);
    EXPECT_EQ(hook.UnansweredBoxes(), 0);
}

// The same for a new plate: saved under a name from the question before a later Cancel, every
// window of it shows its file.
TEST(ClosingChangedDocuments, ANewPlateSavedBeforeACancelShowsItsFile)
{
    TTestHook hook;
    ClosingShell s;
    ASSERT_NO_FATAL_FAILURE(s.NewChangedPlate(hook));
    ASSERT_TRUE(s.Choose(CM_SHOWLIST));
    ASSERT_EQ(s.Frames(), 2u);
    const std::vector<TMDIChild*> newFrames = s.app->GetMDIClient()->Children();
    const std::string untitled = ShownCaption(*newFrames[0]);

    const std::string plate = s.OpenPlate("A.plt");
    const Bytes before = ReadAll(plate);
    s.TypeValueIntoE5();

    ASSERT_EQ(::chdir(s.env.data.c_str()), 0) << "the dialog opens on the data folder";
    const std::string saved = s.env.data + "/new1.plt";
    WhenFileDialogRuns([] { AcceptFileName("new1"); });
    hook.AnswerMessageBox(IDYES);
    hook.AnswerMessageBox(IDCANCEL);
    ASSERT_TRUE(s.Choose(CM_CLOSECHILDREN));
    EXPECT_EQ(hook.Messages().size(), 2u);
    EXPECT_TRUE(HoldsTypedValue(saved));
    EXPECT_TRUE(ReadAll(plate) == before);
    ASSERT_EQ(s.Frames(), 3u) << "Cancel kept every window";

    for (TMDIChild* f : newFrames) {
        EXPECT_NE(ShownCaption(*f), untitled);
        EXPECT_EQ(ShownCaption(*f), saved);
    }
    EXPECT_TRUE(ClickMenuItem(s.Main(), "Windows", "2 " + saved)) << "the Windows menu names the file";
    EXPECT_EQ(s.app->GetMDIClient()->GetActiveMDIChild(), newFrames[1]);

    // Saved, the new plate closes without a question; plate A is asked about once more.
    hook.AnswerMessageBox(IDNO);
    ASSERT_TRUE(s.Choose(CM_CLOSECHILDREN));
    EXPECT_EQ(AskedAbout(hook, {plate}).size(), 2u);
    EXPECT_EQ(hook.Messages().size(), 3u);
    EXPECT_EQ(s.Frames(), 0u);
    EXPECT_EQ(hook.UnansweredBoxes(), 0);
}

// A new plate whose file could not be written stays unnamed: the close stops, the caption is
// the untitled one, and the next save asks for a name again instead of trying that file.
TEST(ClosingChangedDocuments, ANewPlateThatCouldNotBeWrittenStaysUnnamed)
{
    TTestHook hook;
    ClosingShell s;
    ASSERT_NO_FATAL_FAILURE(s.NewChangedPlate(hook));
    TMDIChild* frame = s.app->GetMDIClient()->GetActiveMDIChild();
    ASSERT_NE(frame, nullptr);
    const std::string untitled = ShownCaption(*frame);

    const std::string nowhere = s.env.data + "/missing/new1.plt";
    int asked = 0;
    SetFileDialogAnswer([&](bool save, const std::string&) {
        ++asked;
        return save ? nowhere : std::string();
    });
    hook.AnswerMessageBox(IDYES);
    hook.AnswerMessageBox(IDOK);  // the failure to write
    ASSERT_TRUE(s.Choose(CM_CLOSECHILDREN));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(hook.Messages().size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(nowhere));
    ASSERT_EQ(s.Frames(), 1u) << "the plate stays open, its change with it";
    EXPECT_EQ(ShownCaption(*frame), untitled);

    const std::string saved = s.env.data + "/new1.plt";
    SetFileDialogAnswer([&](bool save, const std::string&) {
        ++asked;
        return save ? saved : std::string();
    });
    ASSERT_TRUE(s.Choose(CM_FILESAVE));
    EXPECT_EQ(asked, 2) << "File > Save asks for a name";
    EXPECT_TRUE(HoldsTypedValue(saved));
    EXPECT_EQ(ShownCaption(*frame), saved);
    ASSERT_TRUE(s.Choose(CM_CLOSECHILDREN));
    EXPECT_EQ(s.Frames(), 0u);
    EXPECT_EQ(hook.UnansweredBoxes(), 0);
}
