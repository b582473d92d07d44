// One file is one document, however its name is spelled: a second start handing over an open
// plate under another spelling, File > Open through a linked folder, and Save as onto a file that
// another open document holds; and a document goes with its last window, also when a sample
// graph closed itself before.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

#include "ListRowInput.h"
#include "ShellTestFixture.h"
#include "ShownDemo.h"
#include "app/AppGlobals.h"
#include "app/FileHandOver.h"
#include "app/ReportCommands.h"
#include "app/vynwMDI.h"
#include "document/QDoc.h"
#include "platform/core/StringTable.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/HandOverChannel.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"
#include "report_designer/RPListDialogs.h"
#include "reports/QRepDoc.h"
#include "reports/RPReport.h"
#include "views/QLView.h"
#include "views/QNView.h"

using namespace vyn;

namespace {

// The folder of the running program's lock, made before the program and removed after it.
struct LockFolder {
    std::string dir;
    LockFolder()
    {
        char tmpl[] = "/tmp/vyn-onefile-XXXXXX";
        dir = ::mkdtemp(tmpl);
    }
    ~LockFolder() { std::filesystem::remove_all(dir); }
};

// The running program with its main window on the screen, and a later start's hand-over channel.
struct OneFileShell : LockFolder, ShellFixture {
    std::string channel;
    OneFileShell() : ShellFixture(nullptr, "", HandOverNameFor(LockFolder::dir + "/vyn.lock"))
    {
        channel = HandOverNameFor(LockFolder::dir + "/vyn.lock");
        app->ShowMainWindow();
        TTestHook::ProcessEvents();
    }
    ~OneFileShell() { SetFileDialogAnswer(nullptr); }
    // File > Save as with the name typed into the file dialog.
    bool SaveAsByMenu(const std::string& typed)
    {
        SetFileDialogAnswer([typed](bool save, const std::string&) { return save ? typed : std::string(); });
        const bool chosen = Choose(CM_FILESAVEAS);
        SetFileDialogAnswer(nullptr);
        return chosen;
    }
    // A later start in the folder startDir with the given arguments, as the program's entry
    // hands them over to this running one.
    bool SecondStart(const std::string& startDir, std::vector<std::string> args)
    {
        std::vector<char*> argv{const_cast<char*>("vyn")};
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const std::string line = JoinArguments(static_cast<int>(argv.size()) - 1, argv.data(), startDir);
        std::atomic<bool> sent{false}, done{false};
        std::thread sender([&] {
            sent = SendHandOver(channel, SecondStartRecords(line), 5000);
            done = true;
        });
        // The end record posts the opening; a little more time lets a wrongly opened file show.
        WaitUntil([&] { return done.load(); }, 6000);
        sender.join();
        WaitUntil([] { return false; }, 300);
        return sent;
    }
    // The captions of the windows in the main window's client area, in their order.
    std::vector<std::string> Captions()
    {
        std::vector<std::string> out;
        for (TMDIChild* c : app->GetMDIClient()->Children()) out.push_back(ShownCaption(*c));
        return out;
    }
    std::string ActiveCaption()
    {
        TMDIChild* c = app->GetMDIClient()->GetActiveMDIChild();
        return c ? ShownCaption(*c) : std::string();
    }
    std::size_t Documents() { return app->GetDocManager().GetDocuments().size(); }
};

}  // namespace

TEST(OneFileOneDocument, ASecondStartFindsTheOpenPlateUnderAnySpelling)
{
    TTestHook hook;
    OneFileShell s;
    const std::string a = s.env.data + "/Demo.plt", b = s.env.data + "/B.plt";
    std::filesystem::copy_file(a, b);
    std::filesystem::create_directories(s.env.root + "/elsewhere");
    std::filesystem::create_directory_symlink(s.env.data, s.env.root + "/linked");

    ASSERT_TRUE(s.SecondStart(s.env.data, {"Demo.plt"}));
    ASSERT_TRUE(s.OpenByMenu(b));
    ASSERT_EQ(s.Captions(), (std::vector<std::string>{a, b}));
    ASSERT_EQ(s.ActiveCaption(), b);

    struct Row {
        const char* name;
        std::string startDir;
        std::string arg;
    };
    const Row rows[] = {
        {"dot in front", s.env.data, "./Demo.plt"},
        {"up and down again", s.env.root + "/elsewhere", "../data/Demo.plt"},
        {"through a linked folder", s.env.root, "linked/Demo.plt"},
        {"dots inside a whole name", "/", s.env.data + "/./../data/Demo.plt"},
    };
    for (const Row& r : rows) {
        EXPECT_TRUE(s.SecondStart(r.startDir, {r.arg})) << r.name;
        // Neither opened again nor brought to the front.
        EXPECT_EQ(s.Captions(), (std::vector<std::string>{a, b})) << r.name;
        EXPECT_EQ(s.ActiveCaption(), b) << r.name;
    }
    EXPECT_EQ(s.Documents(), 2u);
    EXPECT_TRUE(hook.MessageTexts().empty());
}

TEST(OneFileOneDocument, FileOpenThroughALinkedFolderBringsTheOpenPlateToTheFront)
{
    TTestHook hook;
    OneFileShell s;
    const std::string a = s.env.data + "/Demo.plt", b = s.env.data + "/B.plt";
    std::filesystem::copy_file(a, b);
    std::filesystem::create_directory_symlink(s.env.data, s.env.root + "/linked");
    ASSERT_TRUE(s.OpenByMenu(a));
    ASSERT_TRUE(s.OpenByMenu(b));
    ASSERT_EQ(s.ActiveCaption(), b);

    ASSERT_TRUE(s.OpenByMenu(s.env.root + "/linked/Demo.plt"));
    EXPECT_EQ(s.Captions(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(s.ActiveCaption(), a) << "the open plate's window comes to the front";
    EXPECT_EQ(s.Documents(), 2u);
    EXPECT_TRUE(hook.MessageTexts().empty());
}

TEST(OneFileOneDocument, SaveAsOntoAFileAnotherWindowHoldsIsRefused)
{
    const std::string held = GetResStringStd(kMsgPathHeld);
    auto refusal = [&held](const std::string& path) { return FormatWithArg(held.c_str(), path.c_str()); };

    struct Row {
        const char* name;
        bool newReport;      // the saved document is a new report, else the plate B.plt
        const char* holder;  // the file of the other window, in the data folder
        const char* typed;   // the name typed in the save dialog, from the test's folder
    };
    const Row rows[] = {
        {"a plate onto the other plate's file", false, "Demo.plt", "linked/Demo.plt"},
        {"a report onto the plate's file", true, "Demo.plt", "linked/../data/Demo.plt"},
        {"a plate onto the open report's file", false, "held.qrp", "linked/./held.qrp"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TTestHook hook;
        OneFileShell s;
        const std::string a = s.env.data + "/Demo.plt", b = s.env.data + "/B.plt", report = s.env.data + "/held.qrp";
        std::filesystem::copy_file(a, b);
        {
            RPReport kept;
            kept.SetName("kept");
            const std::vector<std::uint8_t> bytes = QRepDoc::FileBytes(kept);
            std::ofstream(report, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                          static_cast<std::streamsize>(bytes.size()));
        }
        std::filesystem::create_directory_symlink(s.env.data, s.env.root + "/linked");
        const std::string holder = s.env.data + "/" + r.holder;
        const std::string before = FileText(holder);
        ASSERT_TRUE(s.OpenByMenu(a));
        ASSERT_TRUE(s.OpenByMenu(report));
        ASSERT_TRUE(s.OpenByMenu(b));
        if (r.newReport) {
            hook.AnswerDialog(kDlgRepManager, 104);  // "&New  >"
            hook.AnswerDialog(7008, IDOK);          // its sections as they are
            ASSERT_TRUE(s.Choose(CM_REPORTS));
            ASSERT_NE(ActiveReportView(*s.app), nullptr);
        }
        const std::vector<std::string> windows = s.Captions();
        const std::string active = s.ActiveCaption();
        const std::size_t documents = s.Documents();

        hook.AnswerMessageBox(IDOK);
        ASSERT_TRUE(s.SaveAsByMenu(s.env.root + "/" + r.typed));
        EXPECT_EQ(hook.MessageTexts(), std::vector<std::string>{refusal(holder)});
        EXPECT_EQ(FileText(holder), before) << "the other window's file is untouched";
        EXPECT_EQ(s.Captions(), windows);
        EXPECT_EQ(s.ActiveCaption(), active) << "the saved document keeps its own name";
        EXPECT_EQ(s.Documents(), documents);

        // Under a name of its own the same document is saved.
        const std::string own = s.env.data + (r.newReport ? "/own.qrp" : "/own.plt");
        ASSERT_TRUE(s.SaveAsByMenu(own));
        EXPECT_TRUE(std::filesystem::exists(own));
        EXPECT_EQ(hook.MessageTexts().size(), 1u);
    }
}

TEST(OneFileOneDocument, APlateOpensAgainAfterItsSampleGraphClosedItself)
{
    TTestHook hook;
    OneFileShell s;
    const std::string a = s.env.data + "/Demo.plt";
    ASSERT_TRUE(s.OpenByMenu(a));
    auto* doc = dynamic_cast<QDoc*>(gCurrentDoc);
    ASSERT_NE(doc, nullptr);
    const int samples = doc->GetPlate().sampleCount;

    int quant = -1;
    for (int i = 0; i < samples && quant < 0; ++i)
        if (doc->GetPlate().GetSample(i)->kind == skQuantitative) quant = i;
    ASSERT_GE(quant, 0);

    ASSERT_TRUE(s.Choose(2225));  // Windows > Sample list
    auto* list = dynamic_cast<QLView*>(gActiveView);
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(ClickListRow(*list, quant));
    ASSERT_TRUE(s.Choose(2227));  // Windows > Sample graph
    ASSERT_NE(dynamic_cast<QNView*>(gActiveView), nullptr);
    ASSERT_EQ(s.Captions().size(), 3u);

    // Back in the list, the graph's sample deleted: the graph closes.
    ASSERT_TRUE(s.Choose(2225));  // Windows > Sample list
    ASSERT_EQ(gActiveView, list);
    ASSERT_EQ(list->GetSelIndex(), quant);
    ASSERT_TRUE(s.Choose(2502));  // Tools > List modifications
    ASSERT_TRUE(s.Choose(2490));  // Tools > Delete
    EXPECT_EQ(s.Captions().size(), 2u) << "the sample graph closed with its sample";
    // Saved, so that closing asks nothing.
    ASSERT_TRUE(s.Choose(CM_FILESAVE));

    ASSERT_TRUE(s.Choose(24365));  // Windows > Close all
    EXPECT_TRUE(s.Captions().empty());
    EXPECT_EQ(s.Documents(), 0u) << "the document went with its last window";

    ASSERT_TRUE(s.OpenByMenu(a));
    EXPECT_EQ(s.Captions(), std::vector<std::string>{a}) << "the plate opens again";
    ASSERT_TRUE(s.Choose(2225));  // Windows > Sample list
    auto* listAgain = dynamic_cast<QLView*>(gActiveView);
    ASSERT_NE(listAgain, nullptr);
    EXPECT_EQ(ListRows(*listAgain).size(), static_cast<std::size_t>(samples - 1)) << "as it was saved";
    EXPECT_TRUE(hook.MessageTexts().empty());
}

// Names with blanks, quotes and backslashes, alone or among others, from a later start and on
// the program's own command line: each arrives whole and opens; a name that cannot be opened is
// said by name, and the names beside it open all the same.
TEST(OneFileOneDocument, EveryHandedOverNameArrivesWholeAndOneNotOpenedIsNamed)
{
    const std::string odd = "sp ace 'q\"uote.plt";
    const std::vector<std::string> batch = {"one.plt", "two  blanks.plt", "back\\slash \"x\".plt", "gone \"z\".plt",
                                            "five.plt"};
    LockFolder files;  // outlives both runs of the program
    const std::string names = files.dir + "/names";
    std::vector<std::string> opened;
    {
        TTestHook hook;
        OneFileShell s;
        std::filesystem::create_directories(names);
        for (const std::string& n : {odd, batch[0], batch[1], batch[2], batch[4]})
            std::filesystem::copy_file(s.env.data + "/Demo.plt", names + "/" + n);

        ASSERT_TRUE(s.SecondStart(names, {odd}));
        EXPECT_EQ(s.Captions(), (std::vector<std::string>{names + "/" + odd}));

        hook.AnswerMessageBox(IDOK);
        ASSERT_TRUE(s.SecondStart(names, batch));
        opened = {names + "/" + odd};
        for (const std::string& n : batch)
            if (n.rfind("gone", 0) != 0) opened.push_back(names + "/" + n);
        EXPECT_EQ(s.Captions(), opened) << "the four names that can be opened, in their order";
        const std::string missing = names + "/" + batch[3];
        EXPECT_EQ(hook.MessageTexts(), (std::vector<std::string>{"The file " + missing + " was not opened.\n\nCannot open file."}));
        EXPECT_EQ(s.Documents(), 5u);

        // A name of neither kind is said too, and a later name still opens.
        std::filesystem::remove(names + "/one.plt");
        hook.AnswerMessageBox(IDOK);
        std::ofstream(names + "/notes \"a\".txt") << "x";
        std::filesystem::copy_file(s.env.data + "/Demo.plt", names + "/late.plt");
        ASSERT_TRUE(s.SecondStart(names, {"notes \"a\".txt", "late.plt"}));
        ASSERT_EQ(hook.MessageTexts().size(), 2u);
        EXPECT_EQ(hook.MessageTexts()[1], "The file " + names + "/notes \"a\".txt" +
                                              " was not opened: only plates (*.plt) and reports (*.qrp) are opened.");
        EXPECT_EQ(s.ActiveCaption(), names + "/late.plt");
    }
    {
        // The first start's own names go the same way.
        TTestHook hook;
        LockFolder lock;
        std::vector<std::string> args = {odd, batch[2]};
        std::vector<char*> argv{const_cast<char*>("vyn")};
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ShellFixture s(nullptr, JoinArguments(static_cast<int>(argv.size()) - 1, argv.data(), names),
                       HandOverNameFor(lock.dir + "/vyn.lock"));
        WaitUntil([&] { return s.app->GetDocManager().GetDocuments().size() >= 2; }, 3000);
        s.app->ShowMainWindow();
        TTestHook::ProcessEvents();
        std::vector<std::string> captions;
        for (TMDIChild* c : s.app->GetMDIClient()->Children()) captions.push_back(ShownCaption(*c));
        EXPECT_EQ(captions, (std::vector<std::string>{names + "/" + odd, names + "/" + batch[2]}));
        EXPECT_TRUE(hook.MessageTexts().empty());
    }
}
