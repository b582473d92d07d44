// Reports as a user reaches them in the running program: report files opened and saved through
// the File menu, the report list manager on "&Reports ...", a library report printed and
// previewed over the demo plate, and the designer's print, preview and "Save in report list".
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "../../reports/ReportFixtures.h"
#include "ScreenChecks.h"
#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/FileHandOver.h"
#include "app/ReportCommands.h"
#include "app/RwMainWindow.h"
#include "app/TMyControlBar.h"
#include "app/vynwApp.h"
#include "app/vynwMDI.h"
#include "document/QDoc.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/DocManager.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlListBox.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/HandOverChannel.h"
#include "platform/gui/ModalLoop.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"
#include "printing/RWPrinter.h"
#include "printing/TRwPreview.h"
#include "report_designer/DesignerDialogs.h"
#include "report_designer/QRPMDIChild.h"
#include "report_designer/QRepView.h"
#include "report_designer/RPListDialogs.h"
#include "reports/ByteIO.h"
#include "reports/CRepList.h"
#include "reports/QRepDoc.h"
#include "reports/RPSection.h"

using namespace vyn;

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Shell : ShellFixture {
    using ShellFixture::ShellFixture;
    ~Shell() { SetFileDialogAnswer(nullptr); }
    // A menu item chosen from the menu bar.
    bool Choose(const std::string& popup, const std::string& item)
    {
        const bool chosen = TTestHook::ChooseMenuItem(*app->GetMainFrame(), popup, item);
        TTestHook::ProcessEvents();
        return chosen;
    }
    // The command's item picked from the main window's menu bar, which shows the active
    // child's menu.
    void Command(unsigned id)
    {
        RwMainWindow& main = *app->GetMainFrame();
        if (!main.IsWindowVisible()) main.ShowWindow(SW_SHOW);
        EXPECT_TRUE(ChooseMenuItem(main, id)) << "command " << id << " on the menu bar and enabled";
        TTestHook::ProcessEvents();
    }
    // The command's item on the menu bar as its popup shows it: absent, greyed or enabled.
    enum ItemState { Absent, Greyed, Enabled };
    ItemState Item(unsigned id, std::string* path = nullptr)
    {
        for (const TMenuBarItem& i : MenuBarItems(*app->GetMainFrame()))
            if (i.id == id) {
                if (path) *path = i.path;
                return i.enabled ? Enabled : Greyed;
            }
        return Absent;
    }
    bool MenuEnabled(unsigned id) { return Item(id) == Enabled; }
    // Opens a file through "Open..." as the user picks it in the file dialog.
    void OpenThroughMenu(const std::string& path)
    {
        SetFileDialogAnswer([path](bool, const std::string&) { return path; });
        EXPECT_TRUE(Choose("File", "Open..."));
    }
    int Documents() const { return static_cast<int>(app->GetDocManager().GetDocuments().size()); }
};

using test::ReadAll;
using test::WriteAll;

// Ends the modal loop of the print preview when its posted command arrives.
class PreviewCloser : public TWindow {
public:
    static constexpr unsigned kClose = 31002;
    int closed = 0;
    TResult EvCommand(unsigned id, TWindow* control, unsigned code) override
    {
        if (id != kClose) return TWindow::EvCommand(id, control, code);
        if (InModalLoop()) {
            ++closed;
            EndModal(TRwPreview::kCloseResult);
        }
        return 0;
    }
};

void Click(TDialog& d, int id)
{
    TWindow* w = d.GetDlgItem(id);
    ASSERT_NE(w, nullptr) << id;
    EXPECT_TRUE(ClickReaches(*w));
}

TListBox& List(TDialog& d, int id = 101) { return *dynamic_cast<TListBox*>(d.GetDlgItem(id)); }

// Selects the row whose text starts with the name (the list keys rows by name).
void SelectRow(TDialog& d, const std::string& name, int id = 101)
{
    TListBox& l = List(d, id);
    for (int i = 0; i < l.GetCount(); ++i)
        if (l.GetString(i).rfind(name, 0) == 0) {
            l.UserSelect(i);
            return;
        }
    ADD_FAILURE() << "no row " << name;
}

// The report printed over the demo plate: its name on every page, one line per sample with its
// number and concentration, and the calibration on an automatic log axis in the report footer.
void BuildDemoReport(RPReport& r)
{
    r.SetName("Demo report");
    r.SetDescription("Samples and their concentrations");
    r.Band(bandPageHeader).StoreHeight(500);
    r.Band(bandReportHeader).SetEnabled(false);
    r.Detail().StoreHeight(300);
    r.Band(bandReportFooter).StoreHeight(4000);
    r.Band(bandPageFooter).SetEnabled(false);
    test::Add<RPObjectTextBox>(r, bandPageHeader, 0, 0, 5000, 400)->StoreContents("=report");
    test::Add<RPObjectTextBox>(r, bandDetail, 0, 0, 1800, 280)->StoreContents("=smplseq");
    auto* conc = test::Add<RPObjectTextBox>(r, bandDetail, 2000, 0, 1800, 280);
    conc->StoreContents("=conc");
    RPNumFormat f;
    f.Set(2, 1, 0);
    conc->SetFormat(f);
    auto* g = test::Add<RPObjectGraph>(r, bandReportFooter, 0, 200, 6000, 3600);
    g->SetDrawGrid(1);
    RPAxisSpec logX;
    logX.Set(0, 1, 1, NoValue, NoValue, NoValue);
    g->SetAxisX(logX);
}

void AppendToLibrary(const RPReport& r)
{
    CRepList list(ReportLibraryPath());
    list.Open(false);
    ASSERT_EQ(list.Append(r), 0);
}

// Three reports, the second marked deleted.
void MakeLibrary()
{
    for (const char* n : {"one", "two", "three"}) {
        RPReport r;
        r.SetName(n);
        r.SetDescription(std::string("about ") + n);
        AppendToLibrary(r);
    }
    CRepList list(ReportLibraryPath());
    ASSERT_EQ(list.Open(false), 0);
    list.ToggleMark(1);
    ASSERT_EQ(list.Commit(), 1);
}

bool IsPdf(const std::string& path)
{
    const Bytes b = ReadAll(path);
    return b.size() > 1000 && std::string(b.begin(), b.begin() + 4) == "%PDF";
}

}  // namespace

TEST(ReportCommands, OpenReadsEveryObjectAndSaveKeepsWhatWasNotEdited)
{
    TTestHook hook;
    Shell s;
    RPReport rich;
    test::BuildRichReport(rich);
    const Bytes stream = rich.WriteStream();
    const std::string path = s.env.data + "/rich.qrp";
    WriteAll(path, QRepDoc::FileBytes(rich));

    s.OpenThroughMenu(path);
    QRepView* view = ActiveReportView(*s.app);
    ASSERT_NE(view, nullptr) << "a report file opens in the designer";
    EXPECT_EQ(view->Doc().GetDocPath(), path);
    int kinds[6] = {};
    for (int b = 0; b < 5; ++b)
        for (const auto& o : view->Report().Band(b).Objects()) ++kinds[o->GetType()];
    for (int k = 0; k < 6; ++k) EXPECT_EQ(kinds[k], 1) << "object kind " << k;
    EXPECT_EQ(view->Report().WriteStream(), stream) << "read as it was written";

    // One edit, a rectangle drawn in the detail band, saved with "Save": the rest of the
    // report is kept byte for byte.
    s.app->ShowMainWindow();  // the mouse reaches only what is shown
    TTestHook::ProcessEvents();
    const std::size_t detailObjects = view->Report().Detail().Objects().size();
    const int top = view->Report().Detail().BodyTop();
    ASSERT_TRUE(ClickGadget(*gToolPalette, 7110));  // the rectangle
    DragMouse(*view, 200 - view->ScrollX(), top + 35, 300 - view->ScrollX(), top + 70);
    TTestHook::ProcessEvents();
    ASSERT_EQ(view->Report().Detail().Objects().size(), detailObjects + 1);
    ASSERT_TRUE(view->Doc().IsDirty());
    ASSERT_TRUE(s.Choose("File", "Save"));
    EXPECT_FALSE(view->Doc().IsDirty());
    QRepDoc again;
    again.SetDocPath(path);
    ASSERT_TRUE(again.ReadFile());
    RPSection& detail = again.Report().Detail();
    ASSERT_EQ(detail.Objects().size(), detailObjects + 1) << "the rectangle was saved";
    RPObject* drawn = nullptr;
    for (const auto& o : detail.Objects())
        if (o->GetType() == otRectangle) drawn = o.get();
    ASSERT_NE(drawn, nullptr);
    detail.RemoveObject(drawn);
    EXPECT_EQ(again.Report().WriteStream(), stream);

    // Opening it again only brings the open designer forward.
    const int docs = s.Documents();
    s.OpenThroughMenu(path);
    EXPECT_EQ(s.Documents(), docs);
    EXPECT_TRUE(hook.MessageTexts().empty());
}

TEST(ReportCommands, AFileThatCannotBeReadIsNotOpenedAndStaysAsItWas)
{
    TTestHook hook;
    Shell s;
    RPReport rich;
    test::BuildRichReport(rich);
    Bytes damaged = QRepDoc::FileBytes(rich);
    PutU32(damaged.data() + 64 + 196, 0xFFFF0000);  // a band record's size
    Bytes foreign = damaged;
    foreign[0] = 'X';
    struct Row {
        const char* name;
        const Bytes* bytes;
        const char* message;
    };
    const Row rows[] = {
        {"missing", nullptr, "CANNOT OPEN FILE"},
        {"damaged stream", &damaged, "CANNOT READ FILE"},
        {"other magic", &foreign, "NOT OUR FILE"},
    };
    for (const Row& row : rows) {
        const std::string path = s.env.data + "/bad.qrp";
        std::remove(path.c_str());
        if (row.bytes) WriteAll(path, *row.bytes);
        const int messages = static_cast<int>(hook.Messages().size());
        hook.AnswerMessageBox(IDOK);
        s.OpenThroughMenu(path);
        EXPECT_EQ(s.Documents(), 0) << row.name;
        ASSERT_EQ(static_cast<int>(hook.Messages().size()), messages + 1) << row.name;
        EXPECT_EQ(hook.Messages().back().text, row.message) << row.name;
        if (row.bytes) {
            EXPECT_EQ(ReadAll(path), *row.bytes) << row.name;
        }
    }
}

TEST(ReportCommands, ReportListManagerMarksRenamesAndOpensEntries)
{
    TTestHook hook;
    Shell s;
    MakeLibrary();
    ASSERT_TRUE(s.MenuEnabled(CM_REPORTS));
    const Bytes before = ReadAll(ReportLibraryPath());

    // Delete twice leaves nothing pending; a rename reset from the file does too; Cancel writes
    // nothing.
    hook.AnswerDialog(kDlgRepName, IDOK, [](TDialog& d) {
        TTestHook::Type("x", d.GetDlgItem(121));
    });
    hook.AnswerDialog(kDlgRepName, 0, [](TDialog& d) {
        EXPECT_TRUE(d.GetDlgItem(103)->IsWindowVisible()) << "Reset offered for a renamed entry";
        Click(d, 103);
    });
    hook.AnswerDialog(kDlgRepManager, IDCANCEL, [](TDialog& d) {
        EXPECT_EQ(d.GetDlgItemText(201), "2 [1]");
        TWindow& rows = List(d);
        EXPECT_TRUE(test::WaitFor(
            [&rows] {
                const QImage* img = rows.ClientImage();
                return img && QColor(img->pixel(img->width() / 2, img->height() - 3)) == QColor(192, 192, 192);
            },
            2000))
            << "the list is light grey below its rows";
        EXPECT_FALSE(d.GetDlgItem(107)->IsWindowEnabled()) << "nothing selected";
        SelectRow(d, "three");
        EXPECT_EQ(d.GetDlgItemText(102), "about three");
        Click(d, 107);
        EXPECT_EQ(d.GetDlgItemText(103), "&Confirm");
        Click(d, 107);
        EXPECT_EQ(d.GetDlgItemText(103), "&Close");
        Click(d, 106);
        EXPECT_EQ(d.GetDlgItemText(103), "&Confirm") << "renamed";
        Click(d, 106);
        EXPECT_EQ(d.GetDlgItemText(103), "&Close") << "reset";
        Click(d, 107);
    });
    s.Command(CM_REPORTS);
    EXPECT_EQ(ReadAll(ReportLibraryPath()), before);

    // Confirm writes the mark; Edit opens the chosen entry in the designer.
    hook.AnswerDialog(kDlgRepManager, 103, [](TDialog& d) {
        SelectRow(d, "one");
        Click(d, 107);
    });
    s.Command(CM_REPORTS);
    CRepList list(ReportLibraryPath());
    list.Open(true);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.GetDescr(0).deleted, 1);
    list.Close();

    hook.AnswerDialog(kDlgRepManager, 0, [](TDialog& d) {
        EXPECT_EQ(d.GetDlgItemText(201), "1 [2]");
        SelectRow(d, "three");
        Click(d, 105);
    });
    s.Command(CM_REPORTS);
    QRepView* view = ActiveReportView(*s.app);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Report().Name(), "three");
    EXPECT_NE(view->Doc().libraryEntry, 0u) << "the entry it came from, for \"Save in report list\"";

    // "Show all reports" and "Consolidate" in the details dialog.
    hook.AnswerDialog(kDlgRepDetails, 102, [](TDialog& d) {
        EXPECT_EQ(d.GetDlgItemText(302), "File contains 2 hidden reports.");
        EXPECT_TRUE(d.GetDlgItem(102)->IsWindowEnabled());
    });
    hook.AnswerDialog(kDlgRepManager, IDCANCEL, [](TDialog& d) {
        Click(d, 108);
        EXPECT_EQ(d.GetDlgItemText(201), "1");
    });
    s.Command(CM_REPORTS);
    list.Open(true);
    EXPECT_EQ(list.Count(), 1) << "deleted entries removed";
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

TEST(ReportCommands, ReportListManagerWriteFailuresLoseNothing)
{
    int failAt = 0;
    TTestHook hook;
    Shell s;
    MakeLibrary();
    const Bytes before = ReadAll(ReportLibraryPath());
    int failures = 0;
    for (failAt = 1; failAt < 20; ++failAt) {
        hook.AnswerDialog(kDlgRepManager, 103, [](TDialog& d) {
            SelectRow(d, "one");
            Click(d, 107);
        });
        const std::size_t shown = hook.Messages().size();
        hook.AnswerMessageBox(IDOK);  // for the failure, when this write fails
        {
            FileFault fault(FileStep::None, failAt);
            s.Command(CM_REPORTS);
        }
        if (hook.Messages().size() == shown) {
            hook.ForgetBoxAnswers();  // every write went through: no failure to report
            break;
        }
        ++failures;
        EXPECT_EQ(hook.Messages().back().text, "Error writing report list file.");
        EXPECT_EQ(ReadAll(ReportLibraryPath()), before) << "failing at write " << failAt;
    }
    EXPECT_GE(failures, 1);
    EXPECT_NE(ReadAll(ReportLibraryPath()), before) << "finally written";
}

TEST(ReportCommands, DesignerSavesIntoTheLibraryButNeverOverALibraryItCannotRead)
{
    TTestHook hook;
    Shell s;
    // A library of a newer version: Append is refused with the designer's message, and the
    // file stays as it was.
    MakeLibrary();
    Bytes newer = ReadAll(ReportLibraryPath());
    PutU32(newer.data() + 4, 0x20000);
    WriteAll(ReportLibraryPath(), newer);
    TDocTemplate* tpl = s.app->GetDocManager().FindTemplate("Report");
    ASSERT_NE(s.app->GetDocManager().CreateDoc(*tpl, "", dtNewDoc), nullptr);
    TTestHook::ProcessEvents();
    QRepView* view = ActiveReportView(*s.app);
    ASSERT_NE(view, nullptr);
    hook.AnswerDialog(kDlgRepAdd, 103, [](TDialog& d) {
        EXPECT_EQ(List(d).GetCount(), 0) << "nothing listed from a library that cannot be read";
        d.SetDlgItemText(121, "Kept");
    });
    hook.AnswerMessageBox(IDOK);
    s.Command(cmRepSaveInList);
    ASSERT_FALSE(hook.Messages().empty());
    EXPECT_EQ(hook.Messages().back().text, "Cannot write report list file.");
    EXPECT_EQ(ReadAll(ReportLibraryPath()), newer);
    ASSERT_EQ(ActiveReportView(*s.app), view) << "the designer stays open";

    // A missing library is created by the first report saved into it; the designer closes.
    std::remove(ReportLibraryPath().c_str());
    hook.AnswerDialog(kDlgRepAdd, 103, [](TDialog& d) { d.SetDlgItemText(121, "Kept"); });
    s.Command(cmRepSaveInList);
    TTestHook::ProcessEvents();
    EXPECT_EQ(ActiveReportView(*s.app), nullptr);
    CRepList list(ReportLibraryPath());
    list.Open(false);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.GetDescr(0).name, "Kept");
}

// A library that holds its 1024 entries takes no further report: the designer says that the
// list is full and how to make room, keeps the report open and leaves the file as it was.
TEST(ReportCommands, SavingIntoAFullLibrarySaysItIsFullAndHowToMakeRoom)
{
    TTestHook hook;
    Shell s;
    RPReport one;
    one.SetName("one of many");
    AppendToLibrary(one);
    // The one entry repeated up to the limit.
    Bytes b = ReadAll(ReportLibraryPath());
    const std::uint32_t first = GetU32(b.data() + 8), end = GetU32(b.data() + 16);
    const Bytes entry(b.begin() + first, b.begin() + end);
    Bytes full(b.begin(), b.begin() + first);
    for (std::uint32_t i = 0; i < kMaxLibraryEntries; ++i) full.insert(full.end(), entry.begin(), entry.end());
    full.insert(full.end(), kEntryHeaderSize, 0);
    PutU32(full.data() + 12, kMaxLibraryEntries);
    PutU32(full.data() + 16, static_cast<std::uint32_t>(first + kMaxLibraryEntries * entry.size()));
    WriteAll(ReportLibraryPath(), full);
    {
        CRepList list(ReportLibraryPath());
        ASSERT_EQ(list.Open(false), 0) << "a full library still opens";
        ASSERT_EQ(list.Count(), static_cast<int>(kMaxLibraryEntries));
    }

    hook.AnswerDialog(kDlgRepManager, 104);
    hook.AnswerDialog(idRPSecDlg, IDOK);
    s.Command(CM_REPORTS);
    QRepView* view = ActiveReportView(*s.app);
    ASSERT_NE(view, nullptr);
    for (int button : {103, 104}) {  // added as a new report, then over the first one
        hook.AnswerDialog(kDlgRepAdd, button, [button](TDialog& d) {
            d.SetDlgItemText(121, "One too many");
            if (button == 104) List(d).UserSelect(0);
        });
        const std::size_t shown = hook.Messages().size();
        hook.AnswerMessageBox(IDOK);
        s.Command(cmRepSaveInList);
        TTestHook::ProcessEvents();
        ASSERT_EQ(hook.Messages().size(), shown + 1) << "button " << button;
        EXPECT_EQ(hook.Messages().back().text,
                  "The report list is full: it holds 1024 reports. Deleting reports you no longer need and "
                  "consolidating the list (Reports ..., More ...) makes room.");
        EXPECT_EQ(ReadAll(ReportLibraryPath()), full) << "button " << button;
        ASSERT_EQ(ActiveReportView(*s.app), view) << "the designer stays open";
    }
    view->Doc().SetDirty(false);
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

// With an empty report library "Report a plate" has nothing to print: its "Print..." (or
// "Preview...") stands grey, a click on it does nothing, and the dialog closes with "Close".
TEST(ReportCommands, AnEmptyLibraryOffersNothingToPrint)
{
    TTestHook hook;
    Shell s;
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    TTestHook::ProcessEvents();
    for (unsigned command : {CM_REPORTPRINT, CM_REPORTPREVIEW}) {
        bool grey = false, stillOpen = false;
        hook.AnswerDialog(kDlgRepPlate, 0, [&](TDialog& d) {
            EXPECT_EQ(List(d).GetCount(), 0);
            TWindow& go = *d.GetDlgItem(IDOK);
            grey = !go.IsWindowEnabled();
            ClickReaches(go);
            TTestHook::ProcessEvents();
            stillOpen = d.IsWindow() && d.IsWindowVisible();
            Click(d, 105);
        });
        s.Command(command);
        EXPECT_TRUE(grey) << command;
        EXPECT_TRUE(stillOpen) << command << ": the grey button ends nothing";
    }
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
    EXPECT_TRUE(hook.MessageTexts().empty());
}

TEST(ReportCommands, ALibraryReportPrintsAndPreviewsOverTheDemoPlate)
{
    TTestHook hook;
    Shell s;
    EXPECT_FALSE(s.MenuEnabled(CM_REPORTPRINT)) << "no plate";
    RPReport demo;
    BuildDemoReport(demo);
    AppendToLibrary(demo);
    RPReport other;
    other.SetName("Another");
    AppendToLibrary(other);
    QDoc* doc = dynamic_cast<QDoc*>(s.app->OpenPlate(s.env.data + "/Demo.plt"));
    ASSERT_NE(doc, nullptr);
    doc->CalculatePlate();
    ASSERT_TRUE(s.MenuEnabled(CM_REPORTPRINT));
    ASSERT_TRUE(s.MenuEnabled(CM_REPORTPREVIEW));

    // "&Close" with the box checked binds the report to the plate without printing.
    hook.AnswerDialog(kDlgRepPlate, 0, [](TDialog& d) {
        EXPECT_EQ(d.GetDlgItemText(IDOK), "&Print...");
        SelectRow(d, "Demo report");
        Click(d, 106);
        Click(d, 105);
    });
    s.Command(CM_REPORTPRINT);
    EXPECT_EQ(doc->GetPlate().reportDef, "Demo report");

    const char* keep = std::getenv("VYN_REPORT_PDF");
    const std::string pdf = keep ? std::string(keep) : s.env.root + "/demo-report.pdf";
    s.app->GetPrinter()->SetOutputFile(pdf);
    hook.AnswerDialog(kDlgRepPlate, IDOK, [](TDialog& d) {
        auto* box = dynamic_cast<TCheckBox*>(d.GetDlgItem(106));
        EXPECT_EQ(box->GetCheck(), TCheckBox::BF_CHECKED) << "the plate's report preselected";
        EXPECT_EQ(d.GetDlgItemText(102), "Samples and their concentrations");
        SelectRow(d, "Another");
        EXPECT_EQ(box->GetCheck(), TCheckBox::BF_UNCHECKED);
        SelectRow(d, "Demo report");
    });
    hook.AnswerDialog(1538, IDOK);
    s.Command(CM_REPORTPRINT);
    EXPECT_TRUE(IsPdf(pdf));

    PreviewCloser closer;
    ASSERT_TRUE(closer.Create());
    hook.AnswerDialog(kDlgRepPlate, IDOK, [](TDialog& d) { EXPECT_EQ(d.GetDlgItemText(IDOK), "&Preview..."); });
    // Closed once it shows: the menu is chosen with the mouse, and events run meanwhile.
    WhenModalWindowRuns([&closer](TWindow&) { closer.PostCommand(PreviewCloser::kClose); });
    s.Command(CM_REPORTPREVIEW);
    EXPECT_EQ(closer.closed, 1) << "the preview ran until it was closed";

    // An open report document is offered too; it cannot be bound to the plate.
    const std::string file = s.env.data + "/open.qrp";
    WriteAll(file, QRepDoc::FileBytes(other));
    s.OpenThroughMenu(file);
    ASSERT_NE(ActiveReportView(*s.app), nullptr);
    EXPECT_FALSE(s.MenuEnabled(CM_REPORTPRINT)) << "no current plate while the designer is active";
    for (TMDIChild* c : s.app->GetMDIClient()->Children())
        if (!dynamic_cast<QRPMDIChild*>(c)) s.app->GetMDIClient()->ActivateChild(*c);
    TTestHook::ProcessEvents();
    ASSERT_TRUE(s.MenuEnabled(CM_REPORTPRINT));
    const std::string second = s.env.root + "/open-report.pdf";
    s.app->GetPrinter()->SetOutputFile(second);
    hook.AnswerDialog(kDlgRepPlate, IDOK, [&file](TDialog& d) {
        SelectRow(d, "open.qrp");  // listed by its title, the file's name
        EXPECT_FALSE(d.GetDlgItem(106)->IsWindowEnabled());
        EXPECT_EQ(d.GetDlgItemText(102), file);
    });
    hook.AnswerDialog(1538, IDOK);
    s.Command(CM_REPORTPRINT);
    EXPECT_TRUE(IsPdf(second));
    EXPECT_EQ(doc->GetPlate().reportDef, "Demo report") << "an open document is never bound";
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
    EXPECT_TRUE(hook.MessageTexts().empty()) << "the plate's samples, no simulation";
}

TEST(ReportCommands, DesignerPrintsWithAChosenPlateOrSaysWhatItSimulates)
{
    TTestHook hook;
    Shell s;
    TDocTemplate* tpl = s.app->GetDocManager().FindTemplate("Report");
    auto* rep = dynamic_cast<QRepDoc*>(s.app->GetDocManager().CreateDoc(*tpl, "", dtNewDoc));
    ASSERT_NE(rep, nullptr);
    BuildDemoReport(rep->Report());
    TTestHook::ProcessEvents();
    const std::string pdf = s.env.root + "/designer.pdf";
    s.app->GetPrinter()->SetOutputFile(pdf);

    // No plate open: the definition runs over simulated samples, whose numbers the user gives.
    PreviewCloser closer;
    ASSERT_TRUE(closer.Create());
    // Closed once it shows: the menu is chosen with the mouse, and events run meanwhile.
    WhenModalWindowRuns([&closer](TWindow&) { closer.PostCommand(PreviewCloser::kClose); });
    std::string offered;
    hook.AnswerDialog(7007, IDOK, [&offered](TDialog& d) { offered = d.GetDlgItemText(101) + "/" + d.GetDlgItemText(102); });
    s.Command(cmRepPreview);
    EXPECT_EQ(closer.closed, 1);
    EXPECT_EQ(offered, "3/45");
    EXPECT_EQ(std::count(hook.DialogsRun().begin(), hook.DialogsRun().end(), 7007), 1)
        << "asked once, though the preview lays out again";

    // With the demo plate open, the printout mode dialog picks it.
    QDoc* plate = dynamic_cast<QDoc*>(s.app->OpenPlate(s.env.data + "/Demo.plt"));
    ASSERT_NE(plate, nullptr);
    for (TMDIChild* c : s.app->GetMDIClient()->Children())
        if (dynamic_cast<QRPMDIChild*>(c)) s.app->GetMDIClient()->ActivateChild(*c);
    TTestHook::ProcessEvents();
    QRepView* view = ActiveReportView(*s.app);
    ASSERT_NE(view, nullptr);
    hook.AnswerDialog(kDlgRepPrintMode, IDOK, [](TDialog& d) {
        EXPECT_TRUE(d.GetDlgItem(102)->IsWindowEnabled());
        EXPECT_EQ(List(d, 103).GetCount(), 1);
        Click(d, 102);
    });
    hook.AnswerDialog(1538, IDOK);
    s.Command(cmRepPrint);
    EXPECT_EQ(view->Report().Plate(), &plate->GetPlate());
    EXPECT_TRUE(IsPdf(pdf));
    EXPECT_EQ(std::count(hook.DialogsRun().begin(), hook.DialogsRun().end(), 7007), 1) << "no simulation over a plate";
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

TEST(ReportCommands, ReportFilesNamedAtStartOrHandedOverOpenInTheDesigner)
{
    // The files lie outside the program's folders, which the fixture makes afresh.
    char tmpl[] = "/tmp/vyn-qrp-XXXXXX";
    const std::string dir = ::mkdtemp(tmpl);
    RPReport first, second;
    test::BuildRichReport(first);
    first.SetName("first");
    second.SetName("second");
    const std::string atStart = dir + "/at start.qrp", later = dir + "/later.qrp";
    WriteAll(atStart, QRepDoc::FileBytes(first));
    WriteAll(later, QRepDoc::FileBytes(second));

    TTestHook hook;
    {
        Shell s(nullptr, "\"" + atStart + "\"", HandOverNameFor(dir + "/vyn.lock"));
        TTestHook::ProcessEvents();
        QRepView* view = ActiveReportView(*s.app);
        ASSERT_NE(view, nullptr) << "a report file on the command line opens in the designer";
        EXPECT_EQ(view->Doc().GetDocPath(), atStart);
        EXPECT_EQ(view->Report().WriteStream(), first.WriteStream());

        // A second start hands its report over to this one.
        bool sent = false;
        std::thread sender([&] { sent = SendHandOver(HandOverNameFor(dir + "/vyn.lock"), SecondStartRecords(later), 5000); });
        for (int i = 0; i < 500 && s.Documents() < 2; ++i) {
            TTestHook::ProcessEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        sender.join();
        EXPECT_TRUE(sent);
        ASSERT_EQ(s.Documents(), 2);
        view = ActiveReportView(*s.app);
        ASSERT_NE(view, nullptr) << "a handed-over report file opens in the designer";
        EXPECT_EQ(view->Doc().GetDocPath(), later);
        EXPECT_EQ(view->Report().Name(), "second");
        for (TDocument* d : s.app->GetDocManager().GetDocuments()) EXPECT_NE(dynamic_cast<QRepDoc*>(d), nullptr) << "no plate";
        EXPECT_TRUE(hook.MessageTexts().empty());
    }
    std::filesystem::remove_all(dir);
}

TEST(ReportCommands, ReportCommandsOnTheMenuBarFollowTheActiveChild)
{
    TTestHook hook;
    Shell s;
    struct Row {
        unsigned id;
        const char* path;  // where the active child's menu shows it
    };
    // No document: the main window's own menu.
    for (const Row& r : {Row{CM_REPORTPRINT, "&File/&Report print..."}, Row{CM_REPORTPREVIEW, "&File/Report pre&view..."}}) {
        std::string path;
        EXPECT_EQ(s.Item(r.id, &path), Shell::Greyed) << r.path << ": no plate";
        EXPECT_EQ(path, r.path);
    }
    EXPECT_EQ(s.Item(CM_REPORTS), Shell::Enabled);

    // A plate view active: its menu, merged into the main window, offers all three.
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    TTestHook::ProcessEvents();
    for (const Row& r : {Row{CM_REPORTPRINT, "&File/&Report print..."}, Row{CM_REPORTPREVIEW, "&File/Report pre&view..."},
                         Row{CM_REPORTS, "&Definition/&Reports ..."}}) {
        std::string path;
        EXPECT_EQ(s.Item(r.id, &path), Shell::Enabled) << r.path;
        EXPECT_EQ(path, r.path);
    }
    hook.AnswerDialog(kDlgRepPlate, IDCANCEL, [](TDialog& d) { EXPECT_EQ(d.GetDlgItemText(IDOK), "&Print..."); });
    s.Command(CM_REPORTPRINT);
    hook.AnswerDialog(kDlgRepPlate, IDCANCEL, [](TDialog& d) { EXPECT_EQ(d.GetDlgItemText(IDOK), "&Preview..."); });
    s.Command(CM_REPORTPREVIEW);
    hook.AnswerDialog(kDlgRepManager, IDCANCEL);
    s.Command(CM_REPORTS);
    EXPECT_EQ(hook.DialogsRun(), (std::vector<int>{kDlgRepPlate, kDlgRepPlate, kDlgRepManager}));

    // The sample list of the plate offers the plate's reports too.
    s.Command(CM_SHOWLIST);
    EXPECT_EQ(s.Item(CM_REPORTPRINT), Shell::Enabled);
    EXPECT_EQ(s.Item(CM_REPORTPREVIEW), Shell::Enabled);

    // A report designer active: its own print, preview and "Save in report list", no plate's.
    TDocTemplate* tpl = s.app->GetDocManager().FindTemplate("Report");
    ASSERT_NE(s.app->GetDocManager().CreateDoc(*tpl, "", dtNewDoc), nullptr);
    TTestHook::ProcessEvents();
    ASSERT_NE(ActiveReportView(*s.app), nullptr);
    EXPECT_EQ(s.Item(CM_REPORTPRINT), Shell::Absent);
    EXPECT_EQ(s.Item(CM_REPORTPREVIEW), Shell::Absent);
    for (unsigned id : {unsigned(cmRepPrint), unsigned(cmRepPreview), unsigned(cmRepSaveInList), unsigned(CM_REPORTS)})
        EXPECT_EQ(s.Item(id), Shell::Enabled) << id;
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

TEST(ReportCommands, HintLinesOfTheLibraryAndPrintoutDialogsFollowTheMouse)
{
    TTestHook hook;
    Shell s;
    MakeLibrary();
    // Per dialog, the controls pointed at in turn and the hint line after each; 0 points at the
    // dialog's background.
    struct Step {
        int control;
        const char* hint;
    };
    using Steps = std::vector<Step>;
    std::map<int, std::vector<std::string>> seen;
    auto walk = [&seen](int dialogId, Steps steps) {
        return [&seen, dialogId, steps](TDialog& d) {
            for (const Step& step : steps) {
                if (step.control) MouseOver(*d.GetDlgItem(step.control));
                else MouseOver(d, 2, 2);
                seen[dialogId].push_back(d.GetDlgItemText(110));
            }
        };
    };
    const std::map<int, Steps> expected = {
        {kDlgRepManager,
         {{101, "Select a report to work with"}, {104, "Start a new (blank) report ..."},
          {108, "Restore deleted reports / consolidate list ..."}, {201, ""}, {103, "Confirm changes and close the dialog"},
          {0, ""}}},
        {kDlgRepName, {{121, "Enter a new name for the report ..."}, {1, "Confirm your changes and close the dialog"},
                       {2, "Abandon any changes and close the dialog"}, {0, ""}}},
        {kDlgRepDetails, {{102, "Remove deleted reports permanently."}, {101, "Show previously deleted reports"}, {2, ""}}},
        {kDlgRepAdd, {{104, "Replace old version with a new one"}, {122, "Enter any comment for the report ..."}, {0, ""}}},
        {kDlgRepPlate, {{106, "Report will be connected to the plate for the future"}, {105, "Associate selected report only"},
                        {101, "Select a report to work with ..."}, {IDOK, ""}}},
        {kDlgRepPrintMode, {{101, "Print fields as defined - no plate associated"}, {103, "Select a plate to print using this report"},
                            {102, "Associate a plate to print with this report"}, {IDCANCEL, ""}}},
    };

    // The list manager, its description and details dialogs.
    hook.AnswerDialog(kDlgRepName, IDCANCEL, walk(kDlgRepName, expected.at(kDlgRepName)));
    hook.AnswerDialog(kDlgRepDetails, IDCANCEL, walk(kDlgRepDetails, expected.at(kDlgRepDetails)));
    hook.AnswerDialog(kDlgRepManager, IDCANCEL, [&](TDialog& d) {
        walk(kDlgRepManager, expected.at(kDlgRepManager))(d);
        SelectRow(d, "one");
        Click(d, 106);
        Click(d, 108);
    });
    s.Command(CM_REPORTS);
    // The plate's report dialog.
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    TTestHook::ProcessEvents();
    hook.AnswerDialog(kDlgRepPlate, IDCANCEL, walk(kDlgRepPlate, expected.at(kDlgRepPlate)));
    s.Command(CM_REPORTPRINT);
    // The designer's "Save in report list" and printout mode dialogs.
    TDocTemplate* tpl = s.app->GetDocManager().FindTemplate("Report");
    ASSERT_NE(s.app->GetDocManager().CreateDoc(*tpl, "", dtNewDoc), nullptr);
    TTestHook::ProcessEvents();
    hook.AnswerDialog(kDlgRepAdd, IDCANCEL, walk(kDlgRepAdd, expected.at(kDlgRepAdd)));
    s.Command(cmRepSaveInList);
    hook.AnswerDialog(kDlgRepPrintMode, IDCANCEL, walk(kDlgRepPrintMode, expected.at(kDlgRepPrintMode)));
    s.Command(cmRepPrint);

    ASSERT_EQ(hook.UnansweredDialogs(), 0);
    for (const auto& [dialogId, steps] : expected) {
        std::vector<std::string> want;
        for (const Step& step : steps) want.push_back(step.hint);
        EXPECT_EQ(seen[dialogId], want) << "dialog " << dialogId;
    }
}

TEST(ReportCommands, PlateReportDialogBindsOnlyALibraryReportTheUserTicks)
{
    TTestHook hook;
    Shell s;
    RPReport demo, first;
    BuildDemoReport(demo);
    AppendToLibrary(demo);
    first.SetName("(first)");  // the row chosen when the plate names nothing that is listed
    AppendToLibrary(first);
    const std::string file = s.env.data + "/open.qrp";
    WriteAll(file, QRepDoc::FileBytes(demo));
    s.OpenThroughMenu(file);
    QDoc* doc = dynamic_cast<QDoc*>(s.app->OpenPlate(s.env.data + "/Demo.plt"));
    ASSERT_NE(doc, nullptr);
    TTestHook::ProcessEvents();

    // A plate bound to what is only an open report document (named by its title, the file's
    // name): that one is selected, but it cannot be bound, and "&Close" binds nothing.
    doc->GetPlate().reportDef = "open.qrp";
    hook.AnswerDialog(kDlgRepPlate, 0, [&file](TDialog& d) {
        EXPECT_EQ(d.GetDlgItemText(102), file) << "the open document selected";
        auto* box = dynamic_cast<TCheckBox*>(d.GetDlgItem(106));
        EXPECT_EQ(box->GetCheck(), TCheckBox::BF_UNCHECKED);
        EXPECT_FALSE(box->IsWindowEnabled());
        Click(d, 105);
    });
    s.Command(CM_REPORTPRINT);
    EXPECT_EQ(doc->GetPlate().reportDef, "open.qrp");

    // A library report picked but not ticked: "&Close" binds nothing either.
    doc->GetPlate().reportDef.clear();
    hook.AnswerDialog(kDlgRepPlate, 0, [](TDialog& d) {
        SelectRow(d, "Demo report");
        EXPECT_TRUE(d.GetDlgItem(106)->IsWindowEnabled());
        Click(d, 105);
    });
    s.Command(CM_REPORTPRINT);
    EXPECT_EQ(doc->GetPlate().reportDef, "");
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
    EXPECT_TRUE(hook.MessageTexts().empty());
}
