// The File menu on what a new user may well give it: "Empty" in "Select a method" before any
// method was chosen in the run, "Close" while a report designer is active, a pipe or a device
// typed as the name of a plate, and the file dialogs listing a folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <mutex>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/QSelMet.h"
#include "app/ReportCommands.h"
#include "app/RwMainWindow.h"
#include "app/vynwApp.h"
#include "app/vynwMDI.h"
#include "document/NewPlate.h"
#include "document/PlateFile.h"
#include "document/QDoc.h"
#include "platform/core/StringTable.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/FileDialogInput.h"
#include "platform/gui/testing/UserInput.h"
#include "report_designer/RPListDialogs.h"
#include "views/QPView.h"

using namespace vyn;

namespace {

struct Shell : ShellFixture {
    Shell() { app->ShowMainWindow(); }
    ~Shell() { SetFileDialogAnswer(nullptr); }
    std::size_t Documents() { return app->GetDocManager().GetDocuments().size(); }
};

// Were the program to wait on what it opened, this lets it go on after a while, and says so.
class Unblocker {
public:
    explicit Unblocker(std::function<void()> release)
        : thread_([this, release = std::move(release)] {
              std::unique_lock<std::mutex> lock(mutex_);
              if (!done_.wait_for(lock, std::chrono::seconds(10), [this] { return finished_; })) {
                  fired_ = true;
                  release();
              }
          })
    {
    }
    ~Unblocker() { Finish(); }
    // True when the program had to be let go.
    bool Finish()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        done_.notify_all();
        if (thread_.joinable()) thread_.join();
        return fired_;
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    bool fired_ = false;
    std::thread thread_;
};

}  // namespace

TEST(FileCommandsOddCases, EmptyBeforeAnyMethodWasChosenMakesAnEmptyPlate)
{
    TTestHook hook;
    Shell s;
    // As at the program's start: the plate reader was never opened.
    gPlateLineReader.Open("");
    ASSERT_TRUE(gPlateLineReader.IsError());
    hook.AnswerDialog(QSelMet::kSelectId, 109);  // "Empty"
    ASSERT_TRUE(s.Choose(CM_FILENEW));
    EXPECT_TRUE(hook.MessageTexts().empty()) << hook.MessageTexts().front();
    auto* view = dynamic_cast<QPView*>(gActiveView);
    ASSERT_NE(view, nullptr) << "an empty plate is shown";
    ASSERT_NE(gCurrentDoc, nullptr);
    EXPECT_EQ(gCurrentDoc->GetPlate().sampleCount, 0);
    EXPECT_EQ(s.Documents(), 1u);
}

TEST(FileCommandsOddCases, CloseTakesTheActiveReportDesignerDown)
{
    TTestHook hook;
    Shell s;
    hook.AnswerDialog(kDlgRepManager, 104);  // "&New  >"
    hook.AnswerDialog(7008, IDOK);          // the new report's sections
    ASSERT_TRUE(s.Choose(CM_REPORTS));
    ASSERT_NE(ActiveReportView(*s.app), nullptr);
    ASSERT_EQ(s.Documents(), 1u);
    EXPECT_TRUE(s.Choose(CM_FILECLOSE)) << "File > Close is offered for the designer";
    EXPECT_EQ(ActiveReportView(*s.app), nullptr);
    EXPECT_EQ(s.Documents(), 0u);
    EXPECT_TRUE(s.app->GetMDIClient()->Children().empty());
    EXPECT_EQ(hook.UnansweredBoxes(), 0);
}

TEST(FileCommandsOddCases, APipeOrADeviceNamedAsAPlateIsRefusedAtOnce)
{
    char tmpl[] = "/tmp/vyn-special-XXXXXX";
    const std::string dir = ::mkdtemp(tmpl);
    const std::string fifo = dir + "/pipe.plt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A terminal's device: a read of it waits until someone types.
    int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string terminal = ::ptsname(master);

    struct Case {
        const char* name;
        std::string path;
        std::function<void()> release;  // what a waiting program needs to go on
    };
    const Case cases[] = {
        {"a named pipe", fifo,
         [&fifo] {
             const int w = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
             if (w >= 0) ::close(w);
         }},
        {"a terminal device", terminal,
         [&master] {
             ::close(master);
             master = -1;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTestHook hook;
        Shell s;
        hook.AnswerMessageBox(IDOK);
        SetFileDialogAnswer([&c](bool, const std::string&) { return c.path; });
        Unblocker unblocker(c.release);
        ASSERT_TRUE(s.Choose(CM_FILEOPEN));
        EXPECT_FALSE(unblocker.Finish()) << "the program waited on the file";
        EXPECT_EQ(hook.MessageTexts(), std::vector<std::string>{GetResStringStd(kMsgCannotOpenFile)});
        EXPECT_EQ(s.Documents(), 0u);
    }
    if (master >= 0) ::close(master);
    std::filesystem::remove_all(dir);
}

TEST(FileCommandsOddCases, FileDialogsListAFolderWithoutOpeningItsFiles)
{
    char tmpl[] = "/tmp/vyn-listed-XXXXXX";
    const std::string dir = ::mkdtemp(tmpl);
    // A plate, whose ending the desktop's type list does not know: guessing its type would mean
    // reading it.
    {
        const int fd = ::open((dir + "/Notes.plt").c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "PLAT;\n", 6), 6);
        ::close(fd);
    }
    ASSERT_EQ(::mkfifo((dir + "/pipe").c_str(), 0600), 0);
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, dir.c_str(), IN_OPEN), 0);
    auto openedFiles = [watch] {
        std::vector<std::string> names;
        alignas(inotify_event) char buf[4096];
        for (ssize_t n; (n = ::read(watch, buf, sizeof buf)) > 0;)
            for (char* p = buf; p < buf + n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(p);
                if (e->len > 0 && !(e->mask & IN_ISDIR)) names.push_back(e->name);
                p += sizeof(inotify_event) + e->len;
            }
        return names;
    };

    // The dialog opens on the folder the program is in; the user looks at it and cancels.
    auto look = [](unsigned command, const std::string& folder, const std::string& expected,
                   const std::function<void()>& then = {}) {
        std::vector<std::string> names;
        EXPECT_EQ(::chdir(folder.c_str()), 0);
        WhenFileDialogRuns([&] {
            names = FileDialogNames(expected);
            if (then) then();
            CancelFileDialog();
        });
        EXPECT_TRUE(ChooseMenuItem(*gApp->GetMainFrame(), command));
        TTestHook::ProcessEvents();
        EXPECT_FALSE(FileDialogOpen());
        EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << folder << " was listed";
    };
    for (unsigned command : {CM_FILEOPEN, CM_FILESAVEAS}) {
        SCOPED_TRACE(command);
        TTestHook hook;
        Shell s;
        // "Save As" opens on the plate's own folder.
        if (command == CM_FILESAVEAS) {
            std::filesystem::copy_file(s.env.data + "/Demo.plt", dir + "/Demo.plt", std::filesystem::copy_options::overwrite_existing);
            ASSERT_NE(s.app->OpenPlate(dir + "/Demo.plt"), nullptr);
        }
        TTestHook::ProcessEvents();
        openedFiles();  // the plate's own reading
        std::vector<std::string> opened;
        look(command, dir, "Notes.plt", [&] { opened = openedFiles(); });
        EXPECT_EQ(opened, std::vector<std::string>{}) << "no listed file was opened";
        // A folder of the kernel's, where reading /proc/kmsg waits for the next kernel
        // message; only looked at when the first folder showed no reading, since a dialog
        // that reads would keep this test waiting too. ("Save As" opens on the plate's folder.)
        if (opened.empty() && command == CM_FILEOPEN) look(command, "/proc", "self");
    }
    ::close(watch);
    std::filesystem::remove_all(dir);
}

// "*.TXT" finds text files whatever the case of their ending, as a user of the program's files
// expects: a file written elsewhere as "lower.txt" is listed beside "UPPER.TXT"; the type list
// names the pattern once.
TEST(FileCommandsOddCases, ImportListsTextFilesWhateverTheCaseOfTheirEnding)
{
    const std::string tmpl = (std::filesystem::temp_directory_path() / "vyn-import-XXXXXX").string();
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    const std::string dir = ::mkdtemp(name.data());
    for (const char* file : {"UPPER.TXT", "lower.txt", "Mixed.Txt", "other.dat"}) {
        const int fd = ::open((dir + "/" + file).c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    const std::filesystem::path before = std::filesystem::current_path();
    {
        TTestHook hook;
        Shell s;
        ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
        TTestHook::ProcessEvents();
        ASSERT_EQ(::chdir(dir.c_str()), 0);
        std::vector<std::string> names;
        std::string type;
        WhenFileDialogRuns([&] {
            names = FileDialogNames("UPPER.TXT");
            if (auto* types = QApplication::activeModalWidget()->findChild<QComboBox*>("fileTypeCombo"))
                type = types->currentText().toStdString();
            CancelFileDialog();
        });
        EXPECT_TRUE(ChooseMenuItem(*s.app->GetMainFrame(), 2203)) << "Import identifications...";
        TTestHook::ProcessEvents();
        auto listed = [&](const char* n) { return std::find(names.begin(), names.end(), n) != names.end(); };
        EXPECT_TRUE(listed("UPPER.TXT"));
        EXPECT_TRUE(listed("lower.txt"));
        EXPECT_TRUE(listed("Mixed.Txt"));
        EXPECT_FALSE(listed("other.dat")) << "the filter still filters";
        EXPECT_EQ(type, "Text (*.TXT)") << "the type shows its pattern once";
    }
    std::filesystem::current_path(before);
    std::filesystem::remove_all(dir);
}
