// Single instance and the hand-over of a command line to the running instance.
#include <gtest/gtest.h>
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
        {"quoted path, the rest dropped", "\"/x/my plate.plt\" other.plt", {{kHandOverWholeName, true, "/x/my plate.plt"}}},
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
