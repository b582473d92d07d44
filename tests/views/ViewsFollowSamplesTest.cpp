// Views that show one sample keep to that sample while the list changes around it: the sample
// graph after a removal before it and when its own sample goes, the sample list's current row
// after a removal above it, and a deselection that the other views hear of.
#include <gtest/gtest.h>

#include "document/QDoc.h"
#include "platform/gui/TestHook.h"
#include "plate/QNSample.h"
#include "views/QLView.h"
#include "views/QNView.h"
#include "views/ViewShell.h"

namespace vyn {
namespace {

const std::string kDemoPlate = std::string(VYN_SOURCE_DIR) + "/resources/demo/Demo.plt";

class Spy : public TView {
public:
    explicit Spy(QDoc& d) : TView(d) {}
    const char* GetViewName() override { return "QPView"; }
    bool VnNotify(int event, long item) override
    {
        if (event == vnSampleSelected) selected.push_back(item);
        return true;
    }
    std::vector<long> selected;
};

std::unique_ptr<QDoc> OpenDemo()
{
    auto doc = std::make_unique<QDoc>();
    doc->SetDocPath(kDemoPlate);
    if (!doc->InitDoc()) return nullptr;
    doc->CalculatePlate();
    return doc;
}

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

struct ListFixture {
    std::unique_ptr<QDoc> doc = OpenDemo();
    std::unique_ptr<Spy> spy;
    TWindow frame{nullptr};
    QLView* list = nullptr;
    ListFixture()
    {
        if (!doc) return;
        spy = std::make_unique<Spy>(*doc);
        frame.MoveWindow(0, 0, 500, 300);
        list = new QLView(*doc, &frame);
        frame.Create();
        frame.ShowWindow(SW_SHOW);
        list->Activated(true);
    }
    ~ListFixture() { frame.Destroy(); }
};

TEST(SampleList, CurrentRowStaysOnItsSampleWhenOneAboveGoes)
{
    ListFixture f;
    ASSERT_TRUE(f.doc);
    QPlate& p = f.doc->GetPlate();
    f.list->SetSelIndex(2);
    QSample* current = p.GetSample(2);
    ASSERT_TRUE(f.doc->RemoveSample(p.GetSample(0)));
    EXPECT_EQ(f.list->GetSelIndex(), 1);
    EXPECT_EQ(p.GetSample(f.list->GetSelIndex()), current);
    // Removing the current sample itself leaves no row current.
    ASSERT_TRUE(f.doc->RemoveSample(current));
    EXPECT_EQ(f.list->GetSelIndex(), -1);
}

TEST(SampleList, EscapeDeselectsAndTheOtherViewsHearIt)
{
    ListFixture f;
    ASSERT_TRUE(f.doc);
    f.list->SetFocus();
    f.list->SetSelIndex(1);
    f.spy->selected.clear();
    TTestHook::Key(VK_ESCAPE, 0, f.list);
    EXPECT_EQ(f.list->GetSelIndex(), -1);
    EXPECT_EQ(f.spy->selected, std::vector<long>{-1});
}

TEST(SampleList, ScrollsItsRowsBelowTheTitles)
{
    ListFixture f;
    ASSERT_TRUE(f.doc);
    f.list->MoveWindow(0, 0, 400, f.list->TitlesHeight() + 2 * f.list->RowHeight());
    int lo = -1, hi = -1;
    f.list->GetScrollRange(SB_VERT, lo, hi);
    EXPECT_EQ(hi, f.list->GetCount() - 2) << "the rows that do not fit";
    f.list->SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(f.list->GetTopIndex(), 1);
    EXPECT_EQ(f.list->GetScrollPos(SB_VERT), 1);
    f.list->SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(f.list->GetTopIndex(), hi) << "not past the last row";
    f.list->SetSelIndex(0);
    EXPECT_EQ(f.list->GetTopIndex(), 0) << "the current row is brought into view";
}

}  // namespace
}  // namespace vyn
