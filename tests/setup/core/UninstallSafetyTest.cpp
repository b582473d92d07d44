// The uninstall against records it did not write: hand-edited or planted records and links
// planted in the installation must never make it remove anything it did not install, nor
// hang. And an installation over an installation, then an uninstall, leaves the disk as it was.
#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <future>
#include <map>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "SetupTree.h"
#include "setup/core/InstallSteps.h"
#include "setup/core/SetupJob.h"
#include "setup/core/SetupRegistry.h"

using namespace vyn;
using namespace vyn::test;
namespace fs = std::filesystem;

namespace {

int Install(SetupTree& tree)
{
    SetupContext ctx;
    ScriptedUi ui;
    tree.PrepareInstall(ctx, ui);
    ctx.log.Open();
    int rc = RunInstall(ctx);
    ctx.log.Close();
    return rc;
}

// What a path is: its kind and, for a file, its bytes; for a link, where it points.
std::string Snapshot(const std::string& path)
{
    struct stat st{};
    if (::lstat(path.c_str(), &st) != 0) return "missing";
    if (S_ISREG(st.st_mode)) return "file:" + ReadFile(path);
    if (S_ISDIR(st.st_mode)) return "folder";
    if (S_ISLNK(st.st_mode)) return "link:" + fs::read_symlink(path).string();
    if (S_ISFIFO(st.st_mode)) return "fifo";
    if (S_ISCHR(st.st_mode)) return "device";
    return "other";
}

// Every path below the tree with its snapshot, leaving out the registry store and the log.
std::map<std::string, std::string> TreeSnapshot(const SetupTree& tree)
{
    std::map<std::string, std::string> all;
    for (auto it = fs::recursive_directory_iterator(tree.root); it != fs::recursive_directory_iterator(); ++it) {
        std::string rel = it->path().string().substr(tree.root.size());
        if (rel == "config" || rel == "tmp") {
            it.disable_recursion_pending();
            continue;
        }
        all[rel] = Snapshot(it->path().string());
    }
    return all;
}

// Runs the installed uninstaller, answering Yes to every question, in bounded time. When it
// does not end, a reader blocked on a pipe below the tree is let go so the test can report.
int UninstallInTime(SetupTree& tree, ScriptedUi& ui, const std::string& fifo = {})
{
    ui.answers.assign(50, kAnswerYes);
    auto run = std::async(std::launch::async, [&] {
        SetupContext ctx;
        tree.Start(ctx, tree.destination + "vynsetup", {"-U"}, ui);
        return RunSetupJob(ctx, [](SetupContext&) { return 0; });
    });
    if (run.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        ADD_FAILURE() << "the uninstall did not end";
        if (!fifo.empty()) ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
    }
    return run.get();
}

UninstallList SavedRecords(const SetupTree& tree)
{
    UninstallList list;
    EXPECT_EQ(list.Load(tree.destination + "zzzzzzzz.zzz"), 0);
    return list;
}

void SaveRecords(const SetupTree& tree, const UninstallList& list)
{
    ASSERT_EQ(list.Save(tree.destination + "zzzzzzzz.zzz"), 0);
}

}  // namespace

TEST(UninstallSafety, HostileRecordsAndPlantedLinksRemoveNothingForeign)
{
    struct Row {
        const char* name;
        // Plants what the row needs and adds its records; keep receives the paths that must
        // come through the uninstall unchanged.
        std::function<void(SetupTree&, UninstallList&, std::vector<std::string>& keep)> plant;
    };
    const Row rows[] = {
        {"a file in another folder",
         [](SetupTree& t, UninstallList& l, std::vector<std::string>& keep) {
             keep.push_back(t.root + "outside/precious.txt");
             WriteFile(keep.back(), "precious");
             l.RecordCopiedFile(keep.back(), 0);
         }},
        {"a path with ..",
         [](SetupTree& t, UninstallList& l, std::vector<std::string>& keep) {
             keep.push_back(t.root + "outside/precious.txt");
             WriteFile(keep.back(), "precious");
             UninstallRecord r = *l.FindRecordByPath(t.destination + "vyn");
             r.path = t.destination + "demo/../../../../outside/precious.txt";
             ReadFileStamp(keep.back(), r.creationTime, r.lastWriteTime, r.size);
             l.Append(r);
         }},
        {"a file through a symlinked folder planted in the installation",
         [](SetupTree& t, UninstallList& l, std::vector<std::string>& keep) {
             keep = {t.root + "outside/precious.txt", t.destination + "link"};
             WriteFile(keep[0], "precious");
             fs::create_directory_symlink(t.root + "outside", keep[1]);
             UninstallRecord r = *l.FindRecordByPath(t.destination + "vyn");
             r.path = t.destination + "link/precious.txt";
             ReadFileStamp(keep[0], r.creationTime, r.lastWriteTime, r.size);
             l.Append(r);
         }},
        {"the data folder replaced by a link to another folder with the same copies",
         [](SetupTree& t, UninstallList&, std::vector<std::string>& keep) {
             fs::rename(t.destination + "demo", t.root + "other");
             fs::create_directory_symlink(t.root + "other", t.destination + "demo");
             keep = {t.root + "other/Demo.plt", t.root + "other", t.destination + "demo"};
         }},
        {"a device node",
         [](SetupTree& t, UninstallList& l, std::vector<std::string>& keep) {
             keep.push_back(t.destination + "null");
             if (::mknod(keep.back().c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
                 keep.clear();  // not permitted here: the FIFO row covers what is no file
                 return;
             }
             l.RecordCopiedFile(keep.back(), 0);
         }},
        {"a FIFO",
         [](SetupTree& t, UninstallList& l, std::vector<std::string>& keep) {
             keep.push_back(t.destination + "pipe");
             ASSERT_EQ(::mkfifo(keep.back().c_str(), 0600), 0);
             l.RecordCopiedFile(keep.back(), 0);
         }},
        {"an empty folder outside, and one the installation found already there",
         [](SetupTree& t, UninstallList& l, std::vector<std::string>& keep) {
             keep = {t.root + "outside/empty", t.menuFolder + "Lab"};
             fs::create_directories(keep[0]);
             fs::create_directories(keep[1]);
             l.RecordCreatedFolder(keep[0], 0);
             l.RecordCreatedFolder(keep[1], 17 /* EEXIST */);
         }},
        {"a shortcut that is a link to a file elsewhere",
         [](SetupTree& t, UninstallList& l, std::vector<std::string>& keep) {
             keep = {t.root + "outside/precious.txt", t.desktop + "evil.desktop"};
             WriteFile(keep[0], "precious");
             fs::create_symlink(keep[0], keep[1]);
             l.RecordShortcut(keep[1], 0);
         }},
        {"registry keys of other vendors",
         [](SetupTree&, UninstallList& l, std::vector<std::string>&) {
             RegCreateKey(HKEY_LOCAL_MACHINE, "Software\\Other Vendor\\App");
             CreateRegString(HKEY_CLASSES_ROOT, ".txt", "", "txtfile");
             CreateRegString(HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command", "", "\"/usr/bin/editor\" \"%1\"");
             l.RecordRegistryKey(HKEY_LOCAL_MACHINE, "Software", false);
             l.RecordRegistryKey(HKEY_LOCAL_MACHINE, "\\SOFTWARE\\\\", false);
             l.RecordRegistryKey(HKEY_LOCAL_MACHINE, "Software\\Talvorne", false);
             l.RecordRegistryKey(HKEY_CLASSES_ROOT, ".txt", false);
             l.RecordRegistryKey(HKEY_CLASSES_ROOT, "txtfile", false);
             l.RecordRegistryKey(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", false);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetupTree tree;
        ASSERT_EQ(Install(tree), 0);
        WriteFile(tree.destination + "demo/My plate.plt", "mine");
        UninstallList records = SavedRecords(tree);
        std::vector<std::string> keep;
        row.plant(tree, records, keep);
        SaveRecords(tree, records);
        std::map<std::string, std::string> before;
        for (const std::string& p : keep) before[p] = Snapshot(p);
        std::string fifo = Snapshot(tree.destination + "pipe") == "fifo" ? tree.destination + "pipe" : "";

        ScriptedUi ui;
        EXPECT_EQ(UninstallInTime(tree, ui, fifo), 1);
        for (const std::string& p : keep) EXPECT_EQ(Snapshot(p), before[p]) << p;
        for (const auto& shown : ui.shown)
            EXPECT_EQ(shown.text.find("File has changed"), std::string::npos) << "no question about a foreign file: " << shown.text;
        std::string log = ReadFile(tree.root + "tmp/vst1.tmp");
        if (!keep.empty()) {
            EXPECT_NE(log.find("Left in place: "), std::string::npos) << log;
        }

        // What the installation made is gone all the same; what the user made stays.
        EXPECT_FALSE(Exists(tree.destination + "vyn"));
        EXPECT_FALSE(Exists(tree.menuFolder + "Vyn Test"));
        EXPECT_EQ(ReadFile(tree.destination + "demo/My plate.plt"), "mine");
        EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, "Software"));
        EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\Talvorne"));
        EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, ".plt"));
        if (std::string(row.name) == "registry keys of other vendors") {
            EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\Other Vendor\\App"));
            EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
            EXPECT_EQ(ReadRegString(HKEY_CLASSES_ROOT, ".txt", ""), "txtfile");
            EXPECT_TRUE(RegKeyExists(HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command"));
            EXPECT_NE(log.find("Left in place: Software\r\n"), std::string::npos) << log;
        }
    }
}

TEST(UninstallSafety, ARecordFileThatIsAPipeEndsWithTheMessage)
{
    SetupTree tree;
    ASSERT_EQ(Install(tree), 0);
    std::string pipe = tree.root + "records.pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    WriteRegString(HKEY_LOCAL_MACHINE, "Software\\Talvorne\\Vyn\\Setup", "FileList", pipe);
    ::unlink((tree.destination + "zzzzzzzz.zzz").c_str());
    ScriptedUi ui;
    EXPECT_EQ(UninstallInTime(tree, ui, pipe), 0);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].text.find("Cannot find information in the file:"), 0u) << ui.shown[1].text;
    EXPECT_TRUE(Exists(tree.destination + "vyn")) << "nothing removed";
}

TEST(UninstallSafety, ReinstallThenUninstallLeavesTheTreeAsItWas)
{
    SetupTree tree;
    fs::create_directories(tree.menuFolder);  // the user's menu folder is there already
    std::map<std::string, std::string> before = TreeSnapshot(tree);

    ASSERT_EQ(Install(tree), 0);
    WriteFile(tree.destination + "demo/My plate.plt", "mine");
    // A newer medium: its program changed.
    WriteFile(tree.setupFolder + "bin/vyn", "#!/bin/sh\n# the program, version 2\n");
    {
        SetupContext ctx;
        ScriptedUi ui;
        tree.PrepareInstall(ctx, ui);
        ctx.log.Open();
        EXPECT_EQ(RunInstall(ctx), 0);
        ctx.log.Close();
        EXPECT_TRUE(ui.shown.empty()) << ui.shown[0].text;
    }
    EXPECT_EQ(ReadFile(tree.destination + "vyn"), "#!/bin/sh\n# the program, version 2\n");
    UninstallList saved = SavedRecords(tree);
    EXPECT_NE(saved.FindRecordByPath(tree.programFiles + "/Talvorne"), nullptr) << "the first install's folders are kept";
    EXPECT_NE(saved.FindRecordByPath(tree.menuFolder + "Vyn Test"), nullptr);

    ScriptedUi ui;
    EXPECT_EQ(UninstallInTime(tree, ui), 1);
    ASSERT_EQ(ui.shown.size(), 2u) << "no question: every file is as installed";

    std::map<std::string, std::string> after = TreeSnapshot(tree);
    std::string mine = "opt/Talvorne/Vyn/demo/My plate.plt";
    EXPECT_EQ(after[mine], "file:mine");
    after.erase(mine);
    after.erase("opt/Talvorne/Vyn/demo");
    after.erase("opt/Talvorne/Vyn");
    after.erase("opt/Talvorne");
    // Apart from the user's file and the folders holding it, the tree is as it was.
    before.erase("medium/bin/vyn");
    after.erase("medium/bin/vyn");
    EXPECT_EQ(after, before);
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\Talvorne"));
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, ".plt"));

}
