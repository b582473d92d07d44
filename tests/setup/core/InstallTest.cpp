// An installation into a temporary tree from the test INF, its uninstall with "-U", and the
// failures that must leave the disk as it was.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <vector>

#include "SetupTree.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/StringTable.h"
#include "setup/core/FileCopy.h"
#include "setup/core/InstallSteps.h"
#include "setup/core/SetupJob.h"
#include "setup/core/SetupRegistry.h"
#include "setup/core/SetupResIds.h"
#include "setup/core/Uninstall.h"

using namespace vyn;
using namespace vyn::test;

namespace {

const char* kSetupKey = "Software\\Talvorne\\Vyn\\Setup";

std::vector<unsigned char> RegBytes(RegRoot root, const std::string& key, const std::string& name)
{
    std::uint32_t type = 0;
    std::vector<unsigned char> data;
    RegQueryValue(root, key, name, &type, data);
    return data;
}

// Installs from the tree; the records stay in the returned context.
int Install(SetupTree& tree, SetupContext& ctx, ScriptedUi& ui)
{
    tree.PrepareInstall(ctx, ui);
    ctx.log.Open();
    int rc = RunInstall(ctx);
    ctx.log.Close();
    return rc;
}

int UninstallFrom(SetupTree& tree, ScriptedUi& ui)
{
    SetupContext ctx;
    tree.Start(ctx, tree.destination + "vynsetup", {"-U"}, ui);
    return RunSetupJob(ctx, [](SetupContext&) { return 0; });
}

}  // namespace

TEST(Install, CopiesFilesWritesRegistryShortcutsLogAndRecords)
{
    SetupTree tree;
    SetupContext ctx;
    ScriptedUi ui;
    ASSERT_EQ(Install(tree, ctx, ui), 0) << (ui.shown.empty() ? "" : ui.shown[0].text);
    EXPECT_TRUE(ui.shown.empty());
    const std::string& d = tree.destination;

    EXPECT_EQ(ReadFile(d + "vyn"), "#!/bin/sh\n# the program\n");
    EXPECT_EQ(ReadFile(d + "vynsetup"), "#!/bin/sh\n# the uninstaller copy\n");
    EXPECT_EQ(ReadFile(d + "demo/Demo.plt"), "PLAT;demo;\n");
    EXPECT_EQ(access((d + "vyn").c_str(), X_OK), 0) << "the program stays executable";

    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kSetupKey, "IniDataDir"), d + "demo");
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kSetupKey, "SysFilesDir"), d.substr(0, d.size() - 1));
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kSetupKey, "FileList"), "zzzzzzzz.zzz");
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, "Software\\Talvorne\\Vyn", "ProductName"), "Vyn Test Product");
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, "Software\\Talvorne\\Vyn", "Version"), "1.2.3.4");
    // Most significant word (1.2) first, each little-endian.
    EXPECT_EQ(RegBytes(HKEY_LOCAL_MACHINE, "Software\\Talvorne\\Vyn", "VersionBin"),
              (std::vector<unsigned char>{2, 0, 1, 0, 4, 0, 3, 0}));
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vyn Immunochemical Processing",
                            "UninstallString"),
              "\"" + d + "vynsetup\" -U");
    EXPECT_EQ(ReadRegString(HKEY_CLASSES_ROOT, ".plt", ""), "VynPlate");
    EXPECT_EQ(ReadRegString(HKEY_CLASSES_ROOT, "VynPlate\\shell\\open\\command", ""), "\"" + d + "vyn\" \"%1\"");

    std::string link = ReadFile(tree.menuFolder + "Vyn Test/Vyn.desktop");
    EXPECT_NE(link.find("Exec=\"" + d + "vyn\"\n"), std::string::npos) << link;
    EXPECT_NE(link.find("Path=" + d + "demo\n"), std::string::npos) << link;
    std::string folderLink = ReadFile(tree.desktop + "Vyn Demo Data.desktop");
    EXPECT_NE(folderLink.find("Type=Link\nURL=file://" + d + "demo\n"), std::string::npos) << folderLink;
    EXPECT_FALSE(Exists(tree.menuFolder + "Vyn Test/Broken Link.desktop"));

    std::string log = ReadFile(tree.root + "tmp/vst1.tmp");
    for (const char* part : {"Vyn setup logging information.\r\n", "File copy starts:\r\n", "demo/Demo.plt\r\n   OK\r\n",
                             "File copy ends:\r\n", "Create Shortcut: ", "   File target for nothing failed.\r\n",
                             " Add regs by SetupInstallFromInfSection(...) OK\r\n"})
        EXPECT_NE(log.find(part), std::string::npos) << part << "\n" << log;

    // The records as saved: folders the copy made, then the files in copy order, then the
    // menu folder and shortcuts, then the keys.
    UninstallList saved;
    ASSERT_EQ(saved.Load(d + "zzzzzzzz.zzz"), 0);
    std::vector<std::pair<std::uint32_t, std::string>> got;
    for (const UninstallRecord& r : saved.Records()) got.emplace_back(r.kind, r.path);
    std::vector<std::pair<std::uint32_t, std::string>> want = {
        {kRecCreatedFolder, tree.programFiles + "/Talvorne"},
        {kRecCreatedFolder, d.substr(0, d.size() - 1)},
        {kRecCreatedFolder, d + "demo"},
        {kRecCopiedFile, d + "vyn"},
        {kRecCopiedFile, d + "vyn.version"},
        {kRecCopiedFile, d + "vynsetup"},
        {kRecCopiedFile, d + "zzzzzzzz.zzz"},
        {kRecCopiedFile, d + "demo/Demo.plt"},
        {kRecCreatedFolder, tree.menuFolder + "Vyn Test"},
        {kRecShortcut, tree.menuFolder + "Vyn Test/Vyn.desktop"},
        {kRecShortcut, tree.desktop + "Vyn Demo Data.desktop"},
        {kRecRegistryKey | kRecKeyOnlyWhenEmpty, "Software\\Talvorne"},
        {kRecRegistryKey, "Software\\Talvorne\\Vyn"},
        {kRecRegistryKey, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\vyn"},
        {kRecRegistryKey, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vyn Immunochemical Processing"},
        {kRecRegistryKey, ".plt"},
        {kRecRegistryKey, "VynPlate"},
    };
    EXPECT_EQ(got, want);
}

TEST(Install, UninstallRemovesExactlyWhatWasInstalledAndLeavesForeignFiles)
{
    SetupTree tree;
    {
        SetupContext ctx;
        ScriptedUi ui;
        ASSERT_EQ(Install(tree, ctx, ui), 0);
    }
    const std::string& d = tree.destination;
    WriteFile(d + "demo/My plate.plt", "mine");
    RegCreateKey(HKEY_LOCAL_MACHINE, "Software\\Talvorne\\Other");

    ScriptedUi ui;
    ui.answers = {kAnswerYes};
    EXPECT_EQ(UninstallFrom(tree, ui), 1);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].text, "Do you really want to remove:\r\nVyn Test Product\r\nfrom your system ?");
    EXPECT_EQ(ui.shown[1].text, "Application was uninstalled.");

    for (const char* gone : {"vyn", "vyn.version", "vynsetup", "zzzzzzzz.zzz", "demo/Demo.plt"}) EXPECT_FALSE(Exists(d + gone)) << gone;
    EXPECT_EQ(ReadFile(d + "demo/My plate.plt"), "mine");
    EXPECT_FALSE(Exists(tree.menuFolder + "Vyn Test")) << "removed after the shortcut in it";
    EXPECT_FALSE(Exists(tree.desktop + "Vyn Demo Data.desktop"));
    EXPECT_TRUE(Exists(tree.desktop)) << "not ours";
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\Talvorne\\Vyn"));
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\Talvorne")) << "only when empty, and it is not";
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, ".plt"));
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, "VynPlate"));
}

TEST(Install, UninstallAsksAboutChangedFilesAndCancelStopsTheWalk)
{
    SetupTree tree;
    {
        SetupContext ctx;
        ScriptedUi ui;
        ASSERT_EQ(Install(tree, ctx, ui), 0);
    }
    const std::string& d = tree.destination;
    WriteFile(d + "demo/Demo.plt", "changed by the user, and longer");
    WriteFile(d + "vyn.version", "9.9.9.9 and more\n");

    ScriptedUi ui;
    ui.answers = {kAnswerYes, kAnswerNo, kAnswerCancel};
    EXPECT_EQ(UninstallFrom(tree, ui), 0);
    ASSERT_EQ(ui.shown.size(), 3u) << "no message after a cancel";
    EXPECT_NE(ui.shown[1].text.find(d + "demo/Demo.plt"), std::string::npos);
    EXPECT_EQ(ui.shown[1].flags, kBoxYesNoCancel | kIconQuestion);
    EXPECT_NE(ui.shown[2].text.find(d + "vyn.version"), std::string::npos);
    EXPECT_TRUE(Exists(d + "demo/Demo.plt")) << "No skips it";
    EXPECT_FALSE(Exists(d + "zzzzzzzz.zzz")) << "walked before the cancel";
    EXPECT_FALSE(Exists(d + "vynsetup"));
    EXPECT_TRUE(Exists(d + "vyn.version")) << "cancelled here";
    EXPECT_TRUE(Exists(d + "vyn")) << "not reached";
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, ".plt"));
}

TEST(Install, UninstallFindsItsRecordsOrSaysWhereItLooked)
{
    SetupTree tree;
    ScriptedUi declined;
    declined.answers = {kAnswerNo};
    EXPECT_EQ(UninstallFrom(tree, declined), 0);
    EXPECT_EQ(declined.shown.size(), 1u) << "declining shows nothing more";

    ScriptedUi ui;
    ui.answers = {kAnswerYes};
    EXPECT_EQ(UninstallFrom(tree, ui), 0);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].text, "Cannot find information in the file:\r\n" + tree.destination +
                                    "zzzzzzzz.zzz\r\nUninstall will not complete.");

    // A FileList with a full path is used as it is.
    UninstallList list;
    list.RecordShortcut(tree.desktop + "x.desktop", 0);
    ASSERT_EQ(list.Save(tree.root + "records.bin"), 0);
    WriteFile(tree.desktop + "x.desktop", "");
    RegCreateKey(HKEY_LOCAL_MACHINE, kSetupKey);
    WriteRegString(HKEY_LOCAL_MACHINE, kSetupKey, "FileList", tree.root + "records.bin");
    ScriptedUi full;
    full.answers = {kAnswerYes};
    EXPECT_EQ(UninstallFrom(tree, full), 1);
    EXPECT_FALSE(Exists(tree.desktop + "x.desktop"));
}

TEST(Install, FailedCopyUndoesEverythingAndReports)
{
    struct Row {
        const char* name;
        void (*breakIt)(SetupTree&);
        FileStep failStep;  // the disk fails at the nth step of this kind
        int failAt;
        const char* failedPath;  // below the tree
    };
    const Row rows[] = {
        {"source missing", [](SetupTree& t) { std::remove((t.setupFolder + "bin/vyn.version").c_str()); },
         FileStep::None, 0, "medium/bin/vyn.version"},
        {"destination folder is a file", [](SetupTree& t) { WriteFile(t.destination + "demo", "in the way"); },
         FileStep::None, 0, "opt/Talvorne/Vyn/demo/Demo.plt"},
        {"the third file cannot be made", [](SetupTree&) {}, FileStep::Open, 3, "opt/Talvorne/Vyn/vynsetup"},
        {"the disk fills at the third file", [](SetupTree&) {}, FileStep::Write, 3, "opt/Talvorne/Vyn/vynsetup"},
        {"the second file cannot be put in place", [](SetupTree&) {}, FileStep::Rename, 2,
         "opt/Talvorne/Vyn/vyn.version"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        SetupTree tree;
        // An older installation's file must come back as it was.
        WriteFile(tree.destination + "vyn", "old program");
        SetMTime(tree.destination + "vyn", 946684800);
        r.breakIt(tree);
        SetupContext ctx;
        ScriptedUi ui;
        {
            FileFault fault(r.failStep, r.failAt, ENOSPC);
            EXPECT_EQ(Install(tree, ctx, ui), 1);
        }
        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_EQ(ui.shown[0].caption, "Problem");
        EXPECT_NE(ui.shown[0].text.find(tree.root + r.failedPath), std::string::npos) << ui.shown[0].text;
        EXPECT_NE(ui.shown[0].text.find("Nothing was installed"), std::string::npos);

        EXPECT_EQ(ReadFile(tree.destination + "vyn"), "old program");
        for (const char* gone : {"vyn.version", "vynsetup", "zzzzzzzz.zzz", "demo/Demo.plt"})
            EXPECT_FALSE(Exists(tree.destination + gone)) << gone;
        std::vector<std::string> left;
        for (auto& e : std::filesystem::directory_iterator(tree.destination)) left.push_back(e.path().filename().string());
        EXPECT_LE(left.size(), 2u) << "no temporary files stay";
        EXPECT_FALSE(Exists(tree.menuFolder + "Vyn Test"));
        EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\Talvorne"));
        EXPECT_EQ(ctx.records.RecordCount(), 0);
    }
}

TEST(Install, ReinstallKeepsNewerFilesAndAFullRecordListDropsTheRest)
{
    SetupTree tree;
    WriteFile(tree.destination + "demo/Demo.plt", "newer, edited after the medium was made");
    SetupContext ctx;
    ScriptedUi ui;
    ASSERT_EQ(Install(tree, ctx, ui), 0);
    EXPECT_EQ(ReadFile(tree.destination + "demo/Demo.plt"), "newer, edited after the medium was made");
    EXPECT_EQ(ctx.records.FindRecordByPath(tree.destination + "demo/Demo.plt"), nullptr) << "not ours to remove";

    UninstallList list;
    for (int i = 0; i < UninstallList::kMaxRecords; ++i) ASSERT_TRUE(list.RecordRegistryKey(HKEY_CURRENT_USER, "K" + std::to_string(i), false));
    EXPECT_FALSE(list.RecordShortcut("/x.desktop", 0));
    EXPECT_EQ(list.RecordCount(), UninstallList::kMaxRecords);
}
