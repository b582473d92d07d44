// The method and report libraries shared by two programs, as two workstations share a data
// folder on a laboratory drive: the program under test is driven as its user drives it, the
// other workstation's program is a second process working on the same files. Whatever the two
// do in whichever order, nothing either of them stored is lost, no choice lands on another
// method or report than the one chosen, and the user whose list went stale is told and shown
// the library as it is. Also "Save in report list" after the library was compacted.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "MethodLibraryShell.h"
#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/QDlgNameInfo.h"
#include "app/QSelMet.h"
#include "app/ReportCommands.h"
#include "app/RwMainWindow.h"
#include "app/vynwApp.h"
#include "document/MethodPaths.h"
#include "document/QDoc.h"
#include "document/QMetod.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/StringTable.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"
#include "report_designer/QRepView.h"
#include "report_designer/RPListDialogs.h"
#include "report_designer/DesignerDialogs.h"
#include "reports/CRepList.h"
#include "reports/QRepDoc.h"

using namespace vyn;

namespace {

struct Shell : MethodLibraryShell {
    // The command picked from the main window's menu bar.
    void Command(unsigned id)
    {
        RwMainWindow& main = *app->GetMainFrame();
        if (!main.IsWindowVisible()) main.ShowWindow(SW_SHOW);
        EXPECT_TRUE(ChooseMenuItem(main, id)) << "command " << id;
        TTestHook::ProcessEvents();
    }
};

// The other workstation's program: fn runs in a process of its own on the same files; its
// answer is the process's exit code.
pid_t StartOtherProgram(const std::function<int()>& fn)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        int rc = 99;
        try {
            rc = fn();
        } catch (...) {
        }
        ::_exit(rc);
    }
    return pid;
}

int WaitForOtherProgram(pid_t pid)
{
    int status = 0;
    if (pid <= 0 || ::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int InOtherProgram(const std::function<int()>& fn) { return WaitForOtherProgram(StartOtherProgram(fn)); }

// The rows a library list paints, top to bottom.
std::vector<std::string> Rows(TDialog& d)
{
    std::vector<std::string> rows;
    for (const TShownText& t : ShownTexts(*d.GetDlgItem(101))) rows.push_back(t.text);
    return rows;
}

// A click on the row where the list paints the name.
bool ClickRow(TDialog& d, const std::string& name)
{
    TWindow& list = *d.GetDlgItem(101);
    for (const TShownText& t : ShownTexts(list))
        if (t.text == name) {
            ClickAt(ScreenPoint(list, t.rect.center().x(), t.rect.center().y()));
            TTestHook::ProcessEvents();
            return true;
        }
    ADD_FAILURE() << "no row " << name;
    return false;
}

bool Click(TDialog& d, int id)
{
    TWindow* w = d.GetDlgItem(id);
    if (!w) return false;
    const bool reached = ClickReaches(*w);
    TTestHook::ProcessEvents();
    return reached;
}

// The text a static control of the dialog paints.
std::string Shown(TDialog& d, int id)
{
    std::string s;
    for (const TShownText& t : ShownTexts(*d.GetDlgItem(id))) s += (s.empty() ? "" : " ") + t.text;
    return s;
}

std::vector<std::string> MethodNames() { return StoredMethodNames(); }

std::vector<std::string> Without(std::vector<std::string> names, const std::vector<std::string>& gone)
{
    for (const std::string& g : gone) std::erase(names, g);
    return names;
}

// Live reports of the library with their comments, "name (comment)", in file order; the
// deleted ones after a "|".
std::string ReportEntries()
{
    CRepList list(ReportLibraryPath());
    list.Open(true);
    std::string live, deleted;
    for (int i = 0; i < list.Count(); ++i) {
        const SRepDescr& d = list.GetDescr(i);
        std::string& to = d.deleted ? deleted : live;
        to += (to.empty() ? "" : ", ") + d.name + " (" + d.description + ")";
    }
    return live + " | " + deleted;
}

void AddReport(const std::string& name, const std::string& comment)
{
    CRepList list(ReportLibraryPath());
    list.Open(false);
    RPReport r;
    r.SetName(name);
    r.SetDescription(comment);
    ASSERT_EQ(list.Append(r), 0);
}

std::string Changed(int id) { return GetResStringStd(id); }

}  // namespace

// A deletes a method in its list while B stores one: A is told at OK, sees B's method in its
// list read again with its own mark kept, and confirms; the library keeps B's method.
TEST(LibraryWriters, DeletingMethodsKeepsAMethodAnotherProgramStoredMeanwhile)
{
    TTestHook hook;
    Shell s;
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    const std::vector<std::string> demo = MethodNames();
    ASSERT_GE(demo.size(), 3u);
    const std::string doomed = demo[1];

    std::vector<std::string> rowsAfter;
    std::string okAfter;
    hook.AnswerDialog(QSelMet::kUpdateId, 0, [&](TDialog& d) {
        ASSERT_TRUE(ClickRow(d, doomed));
        ASSERT_TRUE(Click(d, 106));  // Delete
        QPlate& plate = gCurrentDoc->GetPlate();
        ASSERT_EQ(InOtherProgram([&plate] {
                      QMetod b;
                      b.List();
                      return b.AddMethod(plate, "From B2", "stored by the other workstation");
                  }),
                  0);
        ASSERT_TRUE(Click(d, IDOK));
        ASSERT_FALSE(d.HasEnded()) << "told, and shown the library as it is now";
        rowsAfter = Rows(d);
        okAfter = ButtonFaceText(*d.GetDlgItem(IDOK));
        ASSERT_TRUE(Click(d, IDOK));
    });
    hook.AnswerMessageBox(IDOK);
    s.Command(CM_METHODS);
    ASSERT_EQ(hook.Messages().size(), 1u);
    EXPECT_EQ(hook.Messages()[0].text, Changed(kMsgLibraryChanged));
    std::vector<std::string> both = demo;
    both.push_back("From B2");
    EXPECT_EQ(rowsAfter, both);
    EXPECT_EQ(okAfter, "OK") << "the mark on " << doomed << " is kept";
    EXPECT_EQ(MethodNames(), Without(both, {doomed}));
}

// B's "Change" with a list read before A deleted a method: the remembered place now holds
// another method ("From C"), which must not be hidden. B is told, its choice kept on the
// method it chose, and the second Change replaces that method.
TEST(LibraryWriters, ChangeWithAStaleListReplacesOnlyTheChosenMethod)
{
    TTestHook hook;
    Shell s;
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    std::remove(GetMtwFilePath().c_str());
    {
        QMetod lib;
        lib.List();
        // Three methods of one length: deleting the first moves the third to the second's place.
        for (const char* n : {"From A", "From B", "From C"})
            ASSERT_EQ(lib.AddMethod(gCurrentDoc->GetPlate(), n, std::string("comment ") + n[5]), 0);
    }
    ASSERT_EQ(MethodNames(), (std::vector<std::string>{"From A", "From B", "From C"}));

    std::vector<std::string> rowsAfter;
    std::string commentAfter;
    hook.AnswerDialog(QSelMet::kAddId, 0, [&](TDialog& d) {
        ASSERT_TRUE(ClickRow(d, "From B"));
        ASSERT_TRUE(TypeIntoField(*d.GetDlgItem(113), "From B v2"));
        ASSERT_EQ(InOtherProgram([] {
                      QMetod a;
                      a.List();
                      a.ToggleMark(0);
                      return a.Rewrite(-1);
                  }),
                  0);
        ASSERT_TRUE(Click(d, 115));  // Change
        ASSERT_FALSE(d.HasEnded());
        rowsAfter = Rows(d);
        commentAfter = Shown(d, 102);
        ASSERT_TRUE(Click(d, 115));
    });
    hook.AnswerMessageBox(IDOK);
    s.Command(CM_SAVEASMETHOD);
    ASSERT_EQ(hook.Messages().size(), 1u);
    EXPECT_EQ(hook.Messages()[0].text, Changed(kMsgLibraryChanged));
    EXPECT_EQ(rowsAfter, (std::vector<std::string>{"From B", "From C"}));
    EXPECT_EQ(commentAfter, "comment B") << "the chosen method is still the one chosen";
    EXPECT_EQ(MethodNames(), (std::vector<std::string>{"From C", "From B v2"}));
}

namespace {
// The second rewrite, started while the first one is about to put its file in place.
int gGo[2] = {-1, -1};
pid_t gMain = 0, gOther = 0;
bool gSent = false, gOtherEnded = false;
int gOtherStatus = 0;

int LetTheOtherRewriteGo(FileStep step)
{
    if (step != FileStep::Rename || ::getpid() != gMain || gSent) return 0;
    gSent = true;
    if (::write(gGo[1], "g", 1) != 1) return 0;
    // The other program gets as far as it can before this rewrite goes on: to its end where
    // nothing keeps it out, else to the lock it waits for.
    for (int i = 0; i < 50 && !gOtherEnded; ++i) {
        gOtherEnded = ::waitpid(gOther, &gOtherStatus, WNOHANG) == gOther;
        if (!gOtherEnded) ::usleep(10000);
    }
    return 0;
}
}  // namespace

// Two maintenance rewrites at once: each program's temporary file is its own, the later one
// waits for the earlier and finds the library changed, and both changes end in the library.
TEST(LibraryWriters, TwoRewritesAtOnceBothTakeEffect)
{
    TTestHook hook;
    Shell s;
    const std::vector<std::string> demo = MethodNames();
    ASSERT_GE(demo.size(), 3u);
    const std::string mine = demo[0], theirs = demo[2];
    int listed[2];
    ASSERT_EQ(::pipe(listed), 0);
    ASSERT_EQ(::pipe(gGo), 0);
    gMain = ::getpid();
    gSent = gOtherEnded = false;

    hook.AnswerDialog(QSelMet::kUpdateId, 0, [&](TDialog& d) {
        ASSERT_TRUE(ClickRow(d, mine));
        ASSERT_TRUE(Click(d, 106));
        gOther = StartOtherProgram([&] {
            QMetod b;
            b.List();
            for (int i = 0; i < b.EntryCount(); ++i)
                if (b.Entries()[i].name == theirs) b.ToggleMark(i);
            char c = 0;
            if (::write(listed[1], "l", 1) != 1 || ::read(gGo[0], &c, 1) != 1) return 98;
            int r = b.Rewrite(-1);
            // Its user, told the list changed, confirms the list read again.
            if (r == kMsgLibraryChanged && b.MarkedCount() == 1) r = b.Rewrite(-1);
            return r;
        });
        char c = 0;
        ASSERT_EQ(::read(listed[0], &c, 1), 1) << "the other program has listed the library";
        SetFileFaultHook(LetTheOtherRewriteGo);
        ASSERT_TRUE(Click(d, IDOK));
        SetFileFaultHook(nullptr);
        EXPECT_TRUE(d.HasEnded()) << "this program's rewrite went through";
        if (!d.HasEnded()) Click(d, IDCANCEL);
    });
    s.Command(CM_METHODS);
    if (!gOtherEnded) gOtherEnded = ::waitpid(gOther, &gOtherStatus, 0) == gOther;
    const int other = gOtherEnded && WIFEXITED(gOtherStatus) ? WEXITSTATUS(gOtherStatus) : -1;
    for (int fd : {listed[0], listed[1], gGo[0], gGo[1]}) ::close(fd);
    EXPECT_EQ(other, 0) << "the other program's rewrite went through";
    EXPECT_EQ(MethodNames(), Without(demo, {mine, theirs}));
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(GetMtwFilePath()).parent_path()))
        if (e.path().filename().string().find(".tmp-") != std::string::npos) left.push_back(e.path().filename());
    EXPECT_TRUE(left.empty()) << left.front();
}

// The report list's Confirm after another workstation changed the library: a program that
// takes the lock is kept out while the list is open; one whose lock does not reach this one (a
// shared drive that does not pass locks on) replaces the file, and Confirm then tells the
// user, shows the list read again and keeps the mark; confirmed again, both changes stand.
TEST(LibraryWriters, ReportListConfirmKeepsWhatAnotherProgramStored)
{
    TTestHook hook;
    Shell s;
    for (const char* n : {"one", "two", "three"}) AddReport(n, std::string("about ") + n);
    const std::string lib = ReportLibraryPath();

    std::vector<std::string> rowsAfter;
    std::string buttonAfter;
    hook.AnswerDialog(kDlgRepManager, 0, [&](TDialog& d) {
        ASSERT_TRUE(ClickRow(d, "one"));
        ASSERT_TRUE(Click(d, 107));  // Delete
        // A program that takes the lock cannot store while the list is open here.
        EXPECT_EQ(InOtherProgram([&lib] {
                      CRepList b(lib);
                      const int opened = b.Open(false);
                      RPReport r;
                      r.SetName("kept out");
                      return opened == -1 && b.status == lsShared && b.Append(r) == -1 ? 0 : 1;
                  }),
                  0);
        // One whose lock does not reach here stores a report and puts its file in place.
        ASSERT_EQ(InOtherProgram([&lib] {
                      const std::string copy = lib + ".b";
                      std::error_code ec;
                      std::filesystem::copy_file(lib, copy, ec);
                      CRepList b(copy);
                      b.Open(false);
                      RPReport r;
                      r.SetName("From B");
                      r.SetDescription("about B");
                      if (b.Append(r) != 0) return 1;
                      return std::rename(copy.c_str(), lib.c_str()) == 0 ? 0 : 2;
                  }),
                  0);
        ASSERT_TRUE(Click(d, 103));  // Confirm
        ASSERT_FALSE(d.HasEnded());
        rowsAfter = Rows(d);
        buttonAfter = ButtonFaceText(*d.GetDlgItem(103));
        ASSERT_TRUE(Click(d, 103));
    });
    hook.AnswerMessageBox(IDOK);
    s.Command(CM_REPORTS);
    ASSERT_EQ(hook.Messages().size(), 1u);
    EXPECT_EQ(hook.Messages()[0].text, Changed(7929));
    EXPECT_EQ(rowsAfter, (std::vector<std::string>{"From B", "one", "three", "two"}));
    EXPECT_EQ(buttonAfter, "Confirm") << "the mark on \"one\" is kept";
    EXPECT_EQ(ReportEntries(), "two (about two), three (about three), From B (about B) | one (about one)");
}

// "Save in report list" for a report opened from the library, after the library was compacted
// under it: the dialog offers the report's own entry wherever compacting moved it, and none
// when that entry is gone or renamed, never another report at the remembered place (the
// fixture's reports differ only in their names) or of the same name.
TEST(LibraryWriters, SaveInReportListFindsTheReportsOwnEntryAfterConsolidate)
{
    struct Row {
        const char* name;
        std::vector<std::pair<std::string, std::string>> renames;  // in Reports..., before
        std::vector<std::string> deletes;
        std::string offered;  // comment of the entry offered, "" none
        std::string after;
    };
    const std::vector<Row> rows = {
        {"another report deleted", {}, {"RepA"}, "about RepC",
         "RepB (about RepB), RepD (about RepD), RepC (about RepC) | RepC (about RepC)"},
        {"the open report deleted", {}, {"RepC"}, "",
         "RepA (about RepA), RepB (about RepB), RepD (about RepD), RepC (about RepC) | "},
        // A renamed report is another report now; so is one given the report's name.
        {"renamed, another given its name", {{"RepC", "RepX"}, {"RepD", "RepC"}}, {"RepA"}, "",
         "RepB (about RepB), RepX (about RepC), RepC (about RepD), RepC (about RepC) | "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TTestHook hook;
        Shell s;
        std::remove(ReportLibraryPath().c_str());
        for (const char* n : {"RepA", "RepB", "RepC", "RepD"}) AddReport(n, std::string("about ") + n);

        // RepC opened from Definition > Reports...
        hook.AnswerDialog(kDlgRepManager, 0, [](TDialog& d) {
            ASSERT_TRUE(ClickRow(d, "RepC"));
            ASSERT_TRUE(Click(d, 105));  // Edit
        });
        s.Command(CM_REPORTS);
        QRepView* view = ActiveReportView(*s.app);
        ASSERT_NE(view, nullptr);

        // In Reports...: renames, deletions, More... > Consolidate, Close.
        for (const auto& [from, to] : row.renames) {
            (void)from;
            hook.AnswerDialog(kDlgRepName, 0, [to](TDialog& d) {
                ASSERT_TRUE(TypeIntoField(*d.GetDlgItem(121), to));
                ASSERT_TRUE(Click(d, IDOK));
            });
        }
        hook.AnswerDialog(kDlgRepDetails, 0, [](TDialog& d) { ASSERT_TRUE(Click(d, 102)); });
        hook.AnswerDialog(kDlgRepManager, 0, [&row](TDialog& d) {
            for (const auto& [from, to] : row.renames) {
                ASSERT_TRUE(ClickRow(d, from));
                ASSERT_TRUE(Click(d, 106));  // Name...
            }
            for (const std::string& n : row.deletes) {
                ASSERT_TRUE(ClickRow(d, n));
                ASSERT_TRUE(Click(d, 107));
            }
            ASSERT_TRUE(Click(d, 108));  // More... > Consolidate
            ASSERT_TRUE(Click(d, 103));  // Close
        });
        s.Command(CM_REPORTS);
        ASSERT_EQ(ActiveReportView(*s.app), view);

        // In the designer: File > Save in report list.
        std::string name, offered;
        bool replaceOffered = false;
        hook.AnswerDialog(kDlgRepAdd, 0, [&](TDialog& d) {
            name = Shown(d, 121);
            offered = Shown(d, 102);
            replaceOffered = d.GetDlgItem(104)->IsWindowEnabled();
            ASSERT_TRUE(Click(d, 104));  // Replace: nothing without an entry offered
            if (!d.HasEnded()) {
                ASSERT_TRUE(Click(d, 103));  // Append
            }
        });
        s.Command(cmRepSaveInList);
        TTestHook::ProcessEvents();
        EXPECT_EQ(name, "RepC");
        EXPECT_EQ(offered, row.offered);
        EXPECT_EQ(replaceOffered, !row.offered.empty());
        EXPECT_EQ(ReportEntries(), row.after);
        EXPECT_EQ(hook.UnansweredDialogs(), 0);
    }
}
