// Single instance and the hand-over of a command line to the running instance.
#include <gtest/gtest.h>
#include <filesystem>
#include <sys/stat.h>
#include <thread>

#include "ShellEnv.h"
#include "app/FileHandOver.h"
#include "platform/core/InstanceLock.h"
#include "platform/gui/HandOverChannel.h"
#include "platform/gui/TestHook.h"

using namespace vyn;

TEST(HandOverTest, CommandLineRecords)
{
    using R = THandOverRecord;
    struct Row { const char* name; std::string line; std::vector<R> names; };
    const Row rows[] = {
        {"two names, two blanks between", "a.plt  b.plt",
         {{kHandOverTokenName, true, "a.plt"}, {kHandOverTokenName, true, "b.plt"}}},
        {"quoted path and a name after it", "\"/x/my plate.plt\" other.plt",
         {{kHandOverWholeName, true, "/x/my plate.plt"}, {kHandOverTokenName, true, "other.plt"}}},
        {"escaped quote and backslash in a quoted name", "\"/x/sp ace 'q\\\"uote\\\\.plt\" b.plt",
         {{kHandOverWholeName, true, "/x/sp ace 'q\"uote\\.plt"}, {kHandOverTokenName, true, "b.plt"}}},
        {"a backslash outside quotes is a character", "a\\b.plt", {{kHandOverTokenName, true, "a\\b.plt"}}},
        {"unclosed quote runs to the end", "\"/x/open end", {{kHandOverWholeName, true, "/x/open end"}}},
        {"a tab does not separate", "a\tb", {{kHandOverTokenName, true, "a\tb"}}},
    };
    for (const Row& r : rows) {
        std::vector<R> expected{{kHandOverBegin, true, r.line}};
        expected.insert(expected.end(), r.names.begin(), r.names.end());
        expected.push_back({kHandOverEnd, false, {}});
        EXPECT_EQ(CommandLineRecords(r.line), expected) << r.name;
    }
    EXPECT_TRUE(CommandLineRecords("").empty());
}

TEST(HandOverTest, WireFormRejectsNonsense)
{
    std::string bytes = EncodeHandOver(CommandLineRecords("a b"));
    std::string partial = bytes.substr(0, bytes.size() - 3);
    std::vector<THandOverRecord> got;
    ASSERT_TRUE(DecodeHandOver(partial, got));
    EXPECT_EQ(got.size(), 3u) << "the incomplete end record waits for its bytes";
    std::string huge("\x45\xAB\x02\x00\xFF\xFF\xFF\x7F", 8);
    got.clear();
    EXPECT_FALSE(DecodeHandOver(huge, got));
    EXPECT_TRUE(got.empty());
}

TEST(HandOverTest, SecondInstanceFindsTheLockHeld)
{
    ShellEnv env;
    const std::string path = env.root + "/lock/vyn.lock";
    {
        TInstanceLock first(path);
        ASSERT_TRUE(first.Acquired());
        TInstanceLock second(path);
        EXPECT_FALSE(second.Acquired());
        EXPECT_TRUE(second.HeldElsewhere());
    }
    TInstanceLock again(path);
    EXPECT_TRUE(again.Acquired()) << "the lock goes with its holder, nothing stale stays";
}

TEST(HandOverTest, RecordsReachTheRunningInstance)
{
    ShellEnv env;
    const std::string name = HandOverNameFor(env.root + "/vyn.lock");
    std::vector<THandOverRecord> got;
    THandOverServer server(name, [&got](const THandOverRecord& r) { got.push_back(r); });
    ASSERT_TRUE(server.Listen());
    const auto records = CommandLineRecords("one.plt \"two words.plt\"");
    bool sent = false;
    std::thread sender([&] { sent = SendHandOver(name, records, 5000); });
    for (int i = 0; i < 500 && got.size() < records.size(); ++i) {
        TTestHook::ProcessEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    sender.join();
    EXPECT_TRUE(sent);
    EXPECT_EQ(got, records);
    EXPECT_FALSE(SendHandOver(HandOverNameFor(env.root + "/nobody"), records, 200)) << "nobody listening";
}

TEST(HandOverTest, NamesAreMadeWholeAndKeptWhole)
{
    // Relative names are taken against the folder the program was started in, since the
    // running instance and the program after its set-up work elsewhere.
    char a0[] = "vyn", a1[] = "B.plt", a2[] = "/abs/C.plt", a3[] = "sub/with blank.plt";
    char* argv[] = {a0, a1, a2, a3, nullptr};
    EXPECT_EQ(JoinArguments(4, argv, "/home/u/plates"), "/home/u/plates/B.plt /abs/C.plt \"/home/u/plates/sub/with blank.plt\"");
    EXPECT_EQ(JoinArguments(2, argv, "/"), "/B.plt");

    // Whatever a name holds, the line made of the names gives every one of them back whole,
    // in order.
    const std::vector<std::string> names = {"/d/sp ace 'q\"uote.plt", "/d/plain.plt", "/d/\"", "/d/back\\slash.plt",
                                            "/d/end in backslash\\", "/d/two  blanks \\\" mixed\"\".plt", "/d/tab\tname.plt"};
    std::vector<char*> args{a0};
    std::vector<std::string> kept = names;
    for (std::string& n : kept) args.push_back(n.data());
    args.push_back(nullptr);
    const std::string line = JoinArguments(static_cast<int>(args.size()) - 1, args.data(), "/d");
    std::vector<std::string> back;
    for (const THandOverRecord& r : CommandLineRecords(line))
        if (((r.data >> 16) & 0xF) == 2) back.push_back(r.payload);
    EXPECT_EQ(back, names) << line;

    // A path longer than the old platform's 259 characters is opened as it is, not cut.
    const std::string deep = "/" + std::string(300, 'd') + "/plate.plt";
    TFileDrop drop(true, deep);
    EXPECT_EQ(drop.GetName(), deep);

    // A second start with no names still reaches the running instance, which comes to the front.
    EXPECT_EQ(SecondStartRecords(""), (std::vector<THandOverRecord>{{kHandOverBegin, false, {}}}));
    EXPECT_EQ(SecondStartRecords("a.plt"), CommandLineRecords("a.plt"));
}

TEST(HandOverTest, TheSocketLiesInAFolderOnlyTheUserCanEnter)
{
    ShellEnv env;
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string keep = saved ? saved : "";
    struct Row {
        const char* name;
        int mode;
        bool used;
    };
    for (const Row& r : {Row{"private runtime folder", 0700, true}, Row{"runtime folder others may enter", 0777, false}}) {
        const std::string runtime = env.root + "/run-" + std::to_string(r.mode);
        std::filesystem::create_directories(runtime);
        ::chmod(runtime.c_str(), static_cast<mode_t>(r.mode));
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        const std::string name = HandOverNameFor(env.root + "/vyn.lock");
        ASSERT_FALSE(name.empty()) << r.name;
        EXPECT_EQ(name.rfind(runtime + "/", 0) == 0, r.used) << r.name << ": " << name;
        struct stat st {};
        const std::string dir = name.substr(0, name.rfind('/'));
        ASSERT_EQ(::stat(dir.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 077, 0u) << r.name << ": " << dir;
        EXPECT_EQ(st.st_uid, ::getuid());
        // The running instance listens there, and a second start finds it.
        THandOverServer server(name, [](const THandOverRecord&) {});
        EXPECT_TRUE(server.Listen()) << r.name;
    }
    if (saved) ::setenv("XDG_RUNTIME_DIR", keep.c_str(), 1);
    else ::unsetenv("XDG_RUNTIME_DIR");
}
