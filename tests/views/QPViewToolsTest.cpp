// The plate view's commands over the layers, the value exchange and the layout tools: what the
// user is shown (tool labels, the missing-descriptor message), which values copy and export
// take, and the faults once seen: a measured line shown with no blanking, typed values on a
// hidden layer, the renumber label counting past the fixed samples.
#include <gtest/gtest.h>

#include "ViewTestUtil.h"
#include "evaluator/NoValue.h"
#include "plate/TextFieldCodec.h"

namespace vyn::test {
namespace {

// The view's shell hooks for one test, put back afterwards.
struct HookScope {
    QPViewShell saved = QPView::Shell();
    ~HookScope() { QPView::Shell() = saved; }
};

TEST(PlateViewLayers, MeasuredLineNeedsBlankingWhicheverWayItIsAsked)
{
    ViewFixture f;
    ASSERT_EQ(f.p.dataMode, dmMeasured);
    f.Command(2486);
    EXPECT_EQ(f.view->Layers, 5u) << "the command refuses what its button does not offer";
    f.view->ShowLayer(2486);
    EXPECT_EQ(f.view->Layers, 5u);
    f.p.dataMode = dmSimple;
    f.Command(2486);
    EXPECT_EQ(f.view->Layers, 13u);
    f.view->HideLayer(2483);
    f.view->HideLayer(2485);
    f.view->HideLayer(2486);
    EXPECT_EQ(f.view->Layers, 8u) << "the last layer stays";
}

TEST(PlateViewEntry, TheEnteredLayerIsShownAndTheBoxOpensOnTheCell)
{
    ViewFixture f;
    f.doc.SetPlateValue(0.75, 0, false);
    f.view->SetLayers(plLayout | plIdent);
    const int height = f.view->CellHeight;
    f.Command(2472);
    ASSERT_EQ(f.view->Mode, pmDataEntry);
    EXPECT_EQ(f.view->Layers, static_cast<unsigned>(plLayout | plIdent | plData));
    EXPECT_GT(f.view->CellHeight, height) << "one more line per cell";
    EXPECT_EQ(f.view->EntryBox()->GetWindowText(), "0.75");
    EXPECT_EQ(f.view->Bars().entryLabel, "A1");
}

TEST(PlateViewExchange, ValueKindFollowsTheLayersAndAsksOnlyWhenTheyDoNotDecide)
{
    struct Case {
        const char* name;
        int dataMode;
        unsigned layers;
        int answer;           // of the data type question; -1: it must not be asked
        int expected;         // 0 data values, 1 measured values, -1 nothing exported
    };
    const Case cases[] = {
        {"no blanking: the data values", dmMeasured, plLayout, -1, 0},
        {"only the measured layer", dmSimple, plLayout | plMeasured, -1, 1},
        {"only the transformed layer", dmSimple, plData, -1, 0},
        {"both: asked, measured", dmSimple, plData | plMeasured, 8, 1},
        {"neither: asked, cancelled", dmSimple, plLayout, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HookScope scope;
        ViewFixture f;
        f.p.dataMode = c.dataMode;
        f.p.measuredCount = 1;
        f.view->SetLayers(c.layers);
        int asked = 0, exported = -1;
        QPView::Shell().askDataType = [&](int help) {
            EXPECT_EQ(help, 3136);
            ++asked;
            return c.answer;
        };
        QPView::Shell().exportData = [&](QDoc&, bool measured) {
            exported = measured ? 1 : 0;
            return 1;
        };
        f.Command(2206);
        EXPECT_EQ(asked, c.answer < 0 ? 0 : 1);
        EXPECT_EQ(exported, c.expected);
    }
}

TEST(PlateViewExchange, CopyTakesTheEnteredLayerInTheCellSeparator)
{
    HookScope scope;
    ViewFixture f;
    std::string copied;
    QPView::Shell().setClipboardText = [&](const std::string& t) { copied = t; };
    const char oldSeparator = TextFields().cellSeparator;
    TextFields().cellSeparator = ';';
    f.p.dataMode = dmSimple;
    f.doc.SetPlateValue(1.5, 0, true);
    f.doc.SetPlateValue(0.25, 0, false);
    f.view->SetLayers(plMeasured);
    f.Command(2472);  // only the measured layer shown: measured values are typed
    ASSERT_EQ(f.view->EntryLayer, 8u);
    TTestHook::Key('C', MK_CONTROL, f.view);
    EXPECT_EQ(copied.substr(0, copied.find("\r\n")), FormatCellRow(f.p, 0, false));
    EXPECT_EQ(copied.substr(0, 4), "1.5;");
    EXPECT_EQ(std::count(copied.begin(), copied.end(), '\n'), 8);
    // Without a value layer shown there is nothing to copy.
    f.Command(2469);
    f.view->SetLayers(plLayout);
    copied.clear();
    TTestHook::Key('C', MK_CONTROL, f.view);
    EXPECT_TRUE(copied.empty());
    TextFields().cellSeparator = oldSeparator;
}

TEST(PlateViewTools, LabelsNameTheToolOrTheNextSample)
{
    ViewFixture f;
    f.Command(2473);
    f.Command(2476);
    EXPECT_EQ(f.view->Bars().toolText, "Controls");
    f.Command(2475);
    f.Command(2478);
    EXPECT_EQ(f.view->Bars().toolText, "Standards");
    f.Command(2475);
    f.Command(2477);
    EXPECT_EQ(f.view->Bars().toolText, "1:");
    f.Sweep({"C1"});
    EXPECT_EQ(f.view->Bars().toolText, "2:") << "each single sample is a new one";
    f.Command(2496 + 3);  // free style continues one sample
    f.Sweep({"D1"});
    EXPECT_EQ(f.view->Bars().toolText, "2:");
    EXPECT_EQ(f.p.sampleCount, 2);
}

TEST(PlateViewTools, WithoutNamesTheNamesDialogComesFirstAndAPlacementIsRefused)
{
    HookScope scope;
    ViewFixture f;
    std::erase_if(f.p.descs, [](const auto& d) { return d->kind == skQualitative; });
    int asked = 0;
    QPView::Shell().editSampleNames = [&](QDoc&, int kind) {
        EXPECT_EQ(kind, 2);
        ++asked;
        return 0;  // the user defines nothing
    };
    f.Command(2473);
    f.Command(2477);
    EXPECT_EQ(asked, 1);
    f.Sweep({"C1", "C2"});
    EXPECT_EQ(f.p.sampleCount, 0);
    ASSERT_EQ(f.hook.Messages().size(), 1u);
    EXPECT_EQ(f.hook.Messages()[0].text, "Descriptor spec. is missing.\r\nGo to Definition / Descriptors.");
}

TEST(PlateViewTools, DeleteWithoutASelectionStartsTheToolAfresh)
{
    ViewFixture f;
    f.Command(2473);
    f.Command(2477);
    f.Command(2496 + 3);
    f.Sweep({"C1", "C2"});
    ASSERT_EQ(f.view->Pattern, f.p.GetSample(0));
    f.Command(2490);  // the sample's wells are selected: they go
    EXPECT_EQ(f.p.sampleCount, 0);
    EXPECT_EQ(f.view->Mode, static_cast<unsigned>(pmQualitative));
    f.Sweep({"D1"});
    ASSERT_EQ(f.p.sampleCount, 1);
    f.view->ClearSelection();
    TTestHook::Key(VK_DELETE, 0, f.view);
    EXPECT_EQ(f.view->Mode, static_cast<unsigned>(pmQualitative));
    EXPECT_EQ(f.view->Pattern, nullptr) << "the next drag makes a new sample";
    EXPECT_EQ(f.p.sampleCount, 1);
    EXPECT_EQ(f.view->Bars().toolText, "2:");
}

TEST(PlateViewTools, RenumberingCountsEachPartFromItsStart)
{
    ViewFixture f;
    f.Command(2473);
    f.Command(2477);
    for (const char* w : {"C1", "C3", "C5"}) f.Sweep({w});
    ASSERT_EQ(f.p.sampleCount, 3);
    ASSERT_TRUE(f.doc.FixSample(0));
    ASSERT_EQ(f.p.fixedCount, 1);
    f.Command(2475);
    f.Command(2482);
    ASSERT_EQ(f.view->Mode, static_cast<unsigned>(pmRenumber));
    EXPECT_EQ(f.view->Bars().renumberText, "1") << "the first sequential sample, not the second sample";
    // The last sequential sample becomes number 1.
    QSample* last = f.p.GetSample(2);
    f.Sweep({"C5"});
    EXPECT_EQ(f.p.GetSample(1), last);
    EXPECT_EQ(f.view->Bars().renumberText, "2");
    f.Sweep({"C3"});
    EXPECT_EQ(f.view->Mode, static_cast<unsigned>(pmLayout)) << "every sequential sample is numbered";
    // Nothing numbered yet: the command turns to the fixed part, counted by letters.
    f.Command(2482);
    f.Command(2482);
    EXPECT_EQ(f.view->Bars().renumberText, "A");
}

// Without fixed samples the only part to number is the sequential one: it starts at 1 and a
// click numbers the sample (the start of 0 does not make it the fixed part).
TEST(PlateViewTools, RenumberWithoutFixedSamplesCountsTheSequentialPart)
{
    ViewFixture f;
    f.Command(2473);
    f.Command(2477);
    for (const char* w : {"C1", "C3"}) f.Sweep({w});
    ASSERT_EQ(f.p.sampleCount, 2);
    ASSERT_EQ(f.p.fixedCount, 0);
    f.Command(2475);
    f.Command(2482);
    ASSERT_EQ(f.view->Mode, static_cast<unsigned>(pmRenumber));
    EXPECT_EQ(f.view->Bars().renumberText, "1");
    QSample* second = f.p.GetSample(1);
    f.Sweep({"C3"});
    EXPECT_EQ(f.p.GetSample(0), second) << "the clicked sample is number 1 now";
    EXPECT_EQ(f.view->Bars().renumberText, "2");
}

}  // namespace
}  // namespace vyn::test
