// The sample graph keeps to its sample while the list changes around it, and goes with it.
#include <gtest/gtest.h>

#include "DemoDocUtil.h"
#include "document/QDoc.h"
#include "platform/gui/TestHook.h"
#include "plate/QNSample.h"
#include "views/QNView.h"
#include "views/ViewShell.h"

namespace vyn {
namespace {

using test::OpenDemo;

TEST(SampleGraph, FollowsItsSampleAndGoesWithIt)
{
    auto doc = OpenDemo();
    ASSERT_TRUE(doc);
    QPlate& p = doc->GetPlate();
    ASSERT_GE(p.sampleCount, 3);
    auto* third = dynamic_cast<QNSample*>(p.GetSample(2));
    ASSERT_NE(third, nullptr);
    std::vector<TView*> closed;
    ViewShell saved = GetViewShell();
    GetViewShell().closeView = [&](TView& v) { closed.push_back(&v); };

    auto* graph = new QNView(*doc, 2, nullptr);
    graph->Create();
    EXPECT_EQ(graph->TitleText().substr(0, 4), "3.: ");

    ASSERT_TRUE(doc->RemoveSample(p.GetSample(0)));
    EXPECT_EQ(graph->Sample(), third) << "the same sample, now second in the list";
    EXPECT_EQ(graph->SampleIndex(), 1);
    EXPECT_EQ(graph->TitleText().substr(0, 4), "2.: ");
    EXPECT_TRUE(closed.empty());

    ASSERT_TRUE(doc->RemoveSample(third));
    EXPECT_EQ(graph->Sample(), nullptr);
    ASSERT_EQ(closed.size(), 1u) << "its sample gone, the view asks to be closed";
    EXPECT_EQ(closed[0], graph);
    graph->SendCommand(cmCalculateSample);  // a late command reaches nothing
    GetViewShell() = saved;
    delete graph;
}

}  // namespace
}  // namespace vyn
