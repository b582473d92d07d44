// MDI children whose deletion waits for the event loop: a client that goes first must take them
// with it, so that the waiting deletion never reaches a freed client (a program that closes a
// plate and its main window in one go, as a test run does, crashed or hung on the next event).
#include <gtest/gtest.h>

#include "platform/gui/MDI.h"
#include "platform/gui/TestHook.h"

namespace vyn {
namespace {

class CountedChild : public TMDIChild {
public:
    CountedChild(TMDIClient& client, int& deleted) : TMDIChild(client, "child", new TWindow), deleted_(deleted) {}
    ~CountedChild() override { ++deleted_; }

private:
    int& deleted_;
};

TEST(MdiLifetime, ClosedChildrenGoWithTheirClient)
{
    struct Row {
        const char* name;
        bool viaClientGone;
    };
    for (const Row& r : {Row{"closed by the user", false}, Row{"its view deleted elsewhere", true}}) {
        SCOPED_TRACE(r.name);
        TTestHook hook;
        int deleted = 0;
        auto* client = new TMDIClient;
        ASSERT_TRUE(client->Create());
        auto* closing = new CountedChild(*client, deleted);
        auto* open = new CountedChild(*client, deleted);
        ASSERT_TRUE(closing->Create());
        ASSERT_TRUE(open->Create());
        ASSERT_EQ(client->Children().size(), 2u);
        if (r.viaClientGone) {
            delete closing->GetClientWindow();
            closing->ClientGone();
        } else {
            ASSERT_TRUE(closing->CloseWindow());
        }
        EXPECT_EQ(client->Children().size(), 1u) << "a closed child leaves the list at once";
        EXPECT_EQ(deleted, 0) << "but is deleted only when the event loop runs";
        delete client;
        EXPECT_EQ(deleted, 2) << "the client takes the open and the waiting child with it";
        TTestHook::ProcessEvents();
        EXPECT_EQ(deleted, 2) << "the waiting deletion finds nothing left to do";
    }
}

TEST(MdiLifetime, WaitingDeletionStillRunsWhileTheClientLives)
{
    TTestHook hook;
    int deleted = 0;
    TMDIClient client;
    ASSERT_TRUE(client.Create());
    auto* child = new CountedChild(client, deleted);
    ASSERT_TRUE(child->Create());
    ASSERT_TRUE(child->CloseWindow());
    TTestHook::ProcessEvents();
    EXPECT_EQ(deleted, 1);
    EXPECT_TRUE(client.Children().empty());
}

}  // namespace
}  // namespace vyn
