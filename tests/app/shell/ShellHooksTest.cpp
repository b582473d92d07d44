// The finished subsystems as the running program reaches them: the plate commands open the
// method wizard, the method sheet and the calibration dialog through the document's dialog chain;
// "Measure..." reads the plate from an emulated reader through the measure and progress dialogs;
// the print preview and page setup work on the active view; a new report opens in its designer.
#include <gtest/gtest.h>

#include <algorithm>

#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/AppPaths.h"
#include "app/RwMainWindow.h"
#include "app/vynwApp.h"
#include "controls/QCalErrDlg.h"
#include "document/MethodPaths.h"
#include "document/QDoc.h"
#include "method_editors/QAllPsh.h"
#include "method_editors/QWizzAll.h"
#include "ReaderEmulator.h"
#include "ScreenChecks.h"
#include "platform/core/ProfileFile.h"
#include "platform/core/ProfileFile.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ModalLoop.h"
#include "printing/AStpPgDlg.h"
#include "printing/PageSettings.h"
#include "printing/TRwPreview.h"
#include "app/vynwMDI.h"
#include "report_designer/QRPMDIChild.h"
#include "report_designer/QRepView.h"
#include "views/QPView.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/TestHook.h"
#include "readers/QFoto.h"
#include "readers/ReaderTiming.h"
#include "readers/TComm.h"
#include "reader_dialogs/QMeaDlg.h"
#include "platform/gui/testing/UserInput.h"

using namespace vyn;
using vyn::test::WaitFor;

namespace {

struct HookedShell : ShellFixture {
    void Command(unsigned id)
    {
        app->GetMainFrame()->SendCommand(id);
        TTestHook::ProcessEvents();
    }
};

// Ends the modal loop that runs when its posted command arrives, noting that one was running:
// the print preview is a modal frame, not a dialog the hook could answer.
class PreviewCloser : public TWindow {
public:
    static constexpr unsigned kClose = 31001;
    bool sawModalLoop = false;
    TResult EvCommand(unsigned id, TWindow* control, unsigned code) override
    {
        if (id != kClose) return TWindow::EvCommand(id, control, code);
        sawModalLoop = InModalLoop();
        if (sawModalLoop) EndModal(TRwPreview::kCloseResult);
        return 0;
    }
};

bool Ran(const TTestHook& hook, int resId)
{
    return std::find(hook.DialogsRun().begin(), hook.DialogsRun().end(), resId) != hook.DialogsRun().end();
}

}  // namespace

TEST(ShellHooksTest, MethodCommandsOpenTheWizardAndTheSheetOfTheDemoPlate)
{
    TTestHook hook;
    HookedShell s;
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    ASSERT_NE(gCurrentDoc, nullptr);
    const std::string methodBefore = gCurrentDoc->GetPlate().methodName;

    struct Row {
        const char* name;
        unsigned command;
        int resId;
    };
    const Row rows[] = {
        {"Calculations... opens the method wizard", CM_CALCULATIONS, QWizzAll::kSheetResId},
        {"Advanced calculations... opens the method sheet", CM_ADVANCEDCALC, QAllPsh::kResId},
    };
    for (const Row& r : rows) {
        EXPECT_TRUE(s.Enabled(r.command)) << r.name;
        bool sawPlate = false;
        hook.AnswerDialog(r.resId, IDCANCEL, [&](TDialog&) { sawPlate = gCurrentDoc != nullptr; });
        s.Command(r.command);
        EXPECT_TRUE(Ran(hook, r.resId)) << r.name;
        EXPECT_TRUE(sawPlate) << r.name;
        EXPECT_EQ(hook.UnansweredDialogs(), 0) << r.name;
    }
    // Cancelled editors leave the plate as it was.
    EXPECT_EQ(gCurrentDoc->GetPlate().methodName, methodBefore);
    EXPECT_FALSE(gCurrentDoc->IsDirty());
}

TEST(ShellHooksTest, WithoutAPlateTheMethodCommandsAreGreyed)
{
    TTestHook hook;
    HookedShell s;
    for (unsigned id : {CM_CALCULATIONS, CM_ADVANCEDCALC, CM_CALIBRATION}) EXPECT_FALSE(s.Enabled(id)) << id;
}

TEST(ShellHooksTest, MeasureReadsTheDemoPlateFromTheReader)
{
    TTestHook hook;
    SetReaderTimeScale(2);
    gComm.SetReadTimeout(150);
    emu::Script script;
    for (int i = 0; i < 96; ++i) script.plate[static_cast<std::size_t>(i)] = 100 + i * 10;  // 0.100 .. 1.050
    emu::ReaderEmulator reader(script);
    ASSERT_TRUE(reader.Ok());
    reader.Start();
    {
        HookedShell s;
        EXPECT_TRUE(s.Enabled(CM_COMMUNICATION));
        EXPECT_FALSE(s.Enabled(CM_MEASURE)) << "nothing to measure into without a plate";
        ProfileFile("VYN.INI").Write("ports", "COM1", reader.SlavePath());
        ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
        ASSERT_NE(gCurrentDoc, nullptr);
        EXPECT_TRUE(s.Enabled(CM_MEASURE));
        const std::uint64_t before = gCurrentDoc->GetPlate().measureTime;

        hook.AnswerDialog(1, 0, [](TDialog& d) {
            d.SetDlgItemText(102, "405");  // the demo plate names no filter
            EXPECT_TRUE(dynamic_cast<TCheckBox&>(*d.GetDlgItem(111)).GetCheck() == TCheckBox::BF_CHECKED)
                << "automatic processing is ticked by default";
            TTestHook::Click(*d.GetDlgItem(IDOK));
            EXPECT_TRUE(d.HasEnded()) << dynamic_cast<QMeaDlg&>(d).MessageText() << " / " << d.GetDlgItemText(102);
        });
        bool progressEnded = false;
        hook.AnswerDialog(4, 0, [&](TDialog& d) { progressEnded = WaitFor([&] { return d.HasEnded(); }, 8000); });
        // The ramp is no sensible standard curve: the processing reports that in the status dialog.
        hook.AnswerDialog(QCalErrDlg::kResId, IDOK);
        s.Command(CM_MEASURE);

        EXPECT_TRUE(Ran(hook, 1));
        EXPECT_TRUE(progressEnded);
        EXPECT_TRUE(hook.Messages().empty()) << hook.Messages().front().text;
        const QPlate& p = gCurrentDoc->GetPlate();
        EXPECT_EQ(p.measuredCount, 96);
        EXPECT_NE(p.measureTime, before);
        EXPECT_EQ(p.measFilter, 405);
        EXPECT_TRUE(Ran(hook, QCalErrDlg::kResId)) << "the measured plate was processed";
        EXPECT_EQ(hook.UnansweredDialogs(), 0);
    }
    gComm.Close();
    SetReaderTimeScale(100);
    gComm.SetReadTimeout(800);
}

TEST(ShellHooksTest, PreviewOfThePlateViewOpensAndCloses)
{
    TTestHook hook;
    HookedShell s;
    EXPECT_FALSE(s.Enabled(CM_PREVIEW)) << "no view to preview";
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    ASSERT_NE(dynamic_cast<QPView*>(gActiveView), nullptr);
    ASSERT_TRUE(s.Enabled(CM_PREVIEW));
    PreviewCloser closer;
    ASSERT_TRUE(closer.Create());
    closer.PostCommand(PreviewCloser::kClose);
    s.Command(CM_PREVIEW);
    EXPECT_TRUE(closer.sawModalLoop) << "the preview ran until it was closed";
    EXPECT_FALSE(InModalLoop());
    EXPECT_TRUE(s.app->GetMainFrame()->IsWindow());
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

TEST(ShellHooksTest, PageSetupOfThePlateViewSavesOnOk)
{
    TTestHook hook;
    HookedShell s;
    ASSERT_TRUE(s.Enabled(CM_PAGESETUP)) << "page setup needs no document";
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    int shownKind = -1;
    hook.AnswerDialog(AStpPgDlg::kResId, IDOK, [&](TDialog& d) {
        for (int k = 0; k < 5; ++k)
            if (auto* b = dynamic_cast<TCheckBox*>(d.GetDlgItem(AStpPgDlg::IDC_KIND + k)))
                if (b->GetCheck() == TCheckBox::BF_CHECKED) shownKind = k;
        EXPECT_TRUE(ClickReaches(*d.GetDlgItem(AStpPgDlg::IDC_UNIT_INCH)));
        d.SetDlgItemText(AStpPgDlg::IDC_LEFT, "234");
    });
    s.Command(CM_PAGESETUP);
    EXPECT_TRUE(Ran(hook, AStpPgDlg::kResId));
    EXPECT_EQ(shownKind, 0) << "the plate view's page kind";
    EXPECT_EQ(gPageMargins[pkPlate].left, 234);
    std::string saved;
    ASSERT_TRUE(ProfileFile("VYN.INI").Read("Pages", "Plate", saved));
    EXPECT_NE(saved.find("234"), std::string::npos) << saved;
}

TEST(ShellHooksTest, NewReportOpensInTheDesignerFrame)
{
    TTestHook hook;
    HookedShell s;
    TDocTemplate* tpl = s.app->GetDocManager().FindTemplate("Report");
    ASSERT_NE(tpl, nullptr);
    EXPECT_NE(s.app->GetDocManager().MatchTemplate("letter.qrp"), nullptr) << "report files open by their extension";
    TDocument* doc = s.app->GetDocManager().CreateDoc(*tpl, "", dtNewDoc);
    ASSERT_NE(doc, nullptr);
    TTestHook::ProcessEvents();
    int designers = 0;
    for (TMDIChild* c : s.app->GetMDIClient()->Children())
        if (auto* frame = dynamic_cast<QRPMDIChild*>(c)) {
            ++designers;
            EXPECT_EQ(&frame->Pane().View().GetDocument(), doc);
        }
    EXPECT_EQ(designers, 1);
    EXPECT_EQ(doc->GetTitle(), "Report1") << "an unnamed new report is numbered";
    EXPECT_TRUE(s.Enabled(cmRepPreview));
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}
