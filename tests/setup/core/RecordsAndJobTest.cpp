// The uninstall record file byte by byte, damaged record files, the setup log's limits, and the
// choice of job from the program's name, its command line and the INF files beside it.
#include <gtest/gtest.h>

#include "SetupTree.h"
#include "setup/core/SetupJob.h"
#include "setup/core/SetupLog.h"
#include "setup/core/Uninstall.h"
#include "setup/core/UninstallList.h"

using namespace vyn;
using namespace vyn::test;

TEST(UninstallRecords, FileLayoutIsFixed)
{
    UninstallList list;
    ASSERT_TRUE(list.RecordRegistryKey(HKEY_LOCAL_MACHINE, "Software\\Talvorne", true));
    ASSERT_TRUE(list.RecordCreatedFolder("/opt/Vyn", 17));
    std::string b = list.Serialize();
    ASSERT_EQ(b.size(), 2 * UninstallList::kRecordSize);
    EXPECT_EQ(b.substr(0, 8), std::string("\x08\x00\x01\x00\x02\x00\x00\x80", 8));
    EXPECT_EQ(b.substr(8, 18), std::string("Software\\Talvorne\0", 18));
    EXPECT_EQ(b.substr(304, 4), std::string("\x02\x00\x00\x00", 4));
    EXPECT_EQ(b.substr(304 + 288, 4), std::string("\x11\x00\x00\x00", 4));
    EXPECT_EQ(b.substr(304 + 292, 12), std::string(12, '\0'));

    UninstallList back;
    back.Deserialize(b + "x");  // a trailing part of a record is ignored
    ASSERT_EQ(back.RecordCount(), 2);
    EXPECT_EQ(back.Records(), list.Records());
}

TEST(UninstallRecords, DamagedRecordFilesActOnNothingTheyDoNotPlainlyName)
{
    UninstallList big;
    std::string bytes;
    for (int i = 0; i < 250; ++i) {
        UninstallList one;
        one.RecordShortcut("/l" + std::to_string(i), 0);
        bytes += one.Serialize();
    }
    big.Deserialize(bytes);
    EXPECT_EQ(big.RecordCount(), UninstallList::kMaxRecords) << "the first 200";

    std::string rec(UninstallList::kRecordSize, '\0');
    rec[0] = 1;
    std::string unterminated = rec;
    std::fill(unterminated.begin() + 8, unterminated.begin() + 268, 'a');
    std::string relative = rec;
    relative.replace(8, 6, "passwd");
    std::string badKind = rec;
    badKind[0] = 3;
    badKind.replace(8, 4, "/etc");
    std::string badRoot = rec;
    badRoot[0] = 8;
    badRoot.replace(8, 3, "Key");
    UninstallList list;
    list.Deserialize(unterminated + relative + badKind + badRoot);
    ASSERT_EQ(list.RecordCount(), 4);
    for (const UninstallRecord& r : list.Records()) EXPECT_FALSE(IsUsableRecord(r)) << r.kind << " " << r.path;
}

TEST(UninstallRecords, LoadRefreshesTheRecordFilesOwnStamp)
{
    SetupTree tree;
    std::string path = tree.root + "records.zzz";
    WriteFile(path, "");
    UninstallList list;
    ASSERT_TRUE(list.RecordCopiedFile(path, 0));
    list.MarkRecordCount();
    std::uint32_t sizeBefore = list.Records()[0].size;
    ASSERT_EQ(list.Save(path), 0);  // the file changes under its own record
    UninstallList back;
    ASSERT_EQ(back.Load(path), 0);
    ASSERT_EQ(back.RecordCount(), 1);
    EXPECT_EQ(sizeBefore, 0u);
    EXPECT_EQ(back.Records()[0].size, UninstallList::kRecordSize);
    EXPECT_EQ(back.Load(tree.root + "missing"), ENOENT);
    EXPECT_EQ(back.RecordCount(), 0);
}

TEST(SetupLog, DropsOverlongLinesWholeAndIsReplacedByTheNextRun)
{
    SetupTree tree;
    {
        SetupLog log;
        ASSERT_TRUE(log.Open());
        log.Print("first run\r\n");
    }
    SetupLog log;
    ASSERT_TRUE(log.Open());
    EXPECT_EQ(log.Path(), tree.root + "tmp/vst1.tmp");
    log.Print(std::string(SetupLog::kMaxLine + 1, 'x'));
    log.Print(std::string(SetupLog::kMaxLine - 2, 'y') + "\r\n");
    log.Close();
    std::string text = ReadFile(log.Path());
    EXPECT_EQ(text.find("first run"), std::string::npos);
    // Not a single 'x': the log's own "File:" line names a random temporary folder.
    EXPECT_EQ(text.find(std::string(16, 'x')), std::string::npos) << "the over-long line was written";
    EXPECT_NE(text.find(std::string(SetupLog::kMaxLine - 2, 'y')), std::string::npos);
    EXPECT_EQ(text.compare(0, 32, "Vyn setup logging information.\r\n"), 0);
}

TEST(SetupJob, ChoosesItsJobFromNameCommandLineAndInfFiles)
{
    struct Row {
        const char* name;
        const char* program;
        std::vector<std::string> args;
        std::vector<const char*> extraInf;
        bool removeInf;
        const char* text;  // the one message shown (empty: the wizard ran)
        const char* caption;
    };
    const Row rows[] = {
        {"installed copy without switch", "vynsetup", {}, {}, false, "Vyn Setup Application.\r\nThere is nothing to do.", "vynsetup"},
        {"blank before the switch", "vynsetup", {" -U"}, {}, false, "Vyn Setup Application.\r\nThere is nothing to do.", "vynsetup"},
        {"two INF files", "setup", {}, {"VYN2.INF"}, false, "Too many vyn*.inf files.\r\nRemove redundant files.", "Stop"},
        {"no INF file", "SETUP", {}, {}, true, "Cannot locate vyn*.inf file.\r\nInstallation terminated.", "Stop"},
        {"setup in any case", "Setup.exe", {}, {"vyn.txt"}, false, "", ""},
        {"switch followed by text uninstalls", "setup", {"-uninstall"}, {}, false,
         "Do you really want to remove:\r\n\r\nfrom your system ?", "UnInstall"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        SetupTree tree;
        for (const char* f : r.extraInf) WriteFile(tree.setupFolder + f, "[Version]\n");
        if (r.removeInf) std::remove((tree.setupFolder + "vyn.inf").c_str());
        WriteFile(tree.setupFolder + r.program, "");
        SetupContext ctx;
        ScriptedUi ui;
        ui.answers = {kAnswerNo};
        tree.Start(ctx, tree.setupFolder + r.program, r.args, ui);
        int wizardRuns = 0;
        RunSetupJob(ctx, [&](SetupContext& c) {
            ++wizardRuns;
            EXPECT_TRUE(c.inf.IsOpen());
            return 0;  // cancelled: nothing more happens
        });
        if (*r.text) {
            ASSERT_EQ(ui.shown.size(), 1u);
            EXPECT_EQ(ui.shown[0].text, r.text);
            EXPECT_EQ(ui.shown[0].caption, r.caption);
            EXPECT_EQ(wizardRuns, 0);
        } else {
            EXPECT_TRUE(ui.shown.empty());
            EXPECT_EQ(wizardRuns, 1);
        }
    }
}
