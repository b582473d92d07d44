// Typed values: the cell cursor picks the well, the entry box takes the text and the value
// reaches the document; a text that is not a number is refused and the well keeps its value.
#include <gtest/gtest.h>

#include "ViewTestUtil.h"
#include "evaluator/NoValue.h"

namespace vyn::test {
namespace {

TEST(PlateViewEntry, TypedValuesReachTheWellUnderTheCursor)
{
    ViewFixture f;
    f.Command(2472);
    ASSERT_EQ(f.view->Mode, pmDataEntry);
    ASSERT_EQ(f.view->EntryLayer, 4u);
    TTestHook::Key(VK_RIGHT, 0, f.view);
    TTestHook::Key(VK_DOWN, 0, f.view);
    EXPECT_EQ(f.view->CurCol, 1);
    EXPECT_EQ(f.view->CurRow, 1);
    EXPECT_EQ(f.view->Bars().entryLabel, "B2");
    f.listener->heard.clear();
    TTestHook::Type("1", f.view);  // a digit opens the box with it
    TTestHook::Type(".25");
    TTestHook::Key(VK_RETURN);
    EXPECT_DOUBLE_EQ(f.p.wells[static_cast<std::size_t>(W("B2"))].data, 1.25);
    EXPECT_FALSE(f.listener->heard.empty());
    EXPECT_EQ(f.listener->heard.front(), vnPlateChanged);
    EXPECT_EQ(f.view->EntryBox()->GetWindowText(), "1.25") << "the box shows the stored value again";

    // F2 edits the current cell with its value; Delete clears it.
    TTestHook::Key(VK_F2, 0, f.view);
    EXPECT_EQ(f.view->EntryBox()->GetWindowText(), "1.25");
    f.view->SetFocus();
    f.Command(2490);
    EXPECT_EQ(f.p.wells[static_cast<std::size_t>(W("B2"))].data, NoValue);
}

TEST(PlateViewEntry, MeasuredLayerAloneIsEnteredAsMeasuredValues)
{
    ViewFixture f;
    f.view->SetLayers(8);
    f.Command(2472);
    EXPECT_EQ(f.view->EntryLayer, 8u);
    TTestHook::Type("7", f.view);
    TTestHook::Key(VK_RETURN);
    EXPECT_DOUBLE_EQ(f.p.wells[0].measured, 7.0);
}

TEST(PlateViewEntry, ATextThatIsNotANumberLeavesTheValue)
{
    ViewFixture f;
    f.doc.SetPlateValue(0.5, 0, false);
    f.Command(2472);
    QGEdit& box = *f.view->EntryBox();
    box.SetWindowText("3x");
    box.SetModify(true);
    f.view->SendMessage(WM_COMMAND, MAKEWPARAM(2461, QGEdit::kChanged), 0);
    EXPECT_DOUBLE_EQ(f.p.wells[0].data, 0.5);
    ASSERT_EQ(f.hook.Messages().size(), 1u);
    EXPECT_EQ(f.hook.Messages()[0].text, "\"3x\" is not a number. The well keeps its value.");
    EXPECT_EQ(box.GetWindowText(), "0.5") << "the box shows the kept value";
    // An empty box clears the well on purpose.
    box.SetWindowText("");
    f.view->SendMessage(WM_COMMAND, MAKEWPARAM(2461, QGEdit::kChanged), 0);
    EXPECT_EQ(f.p.wells[0].data, NoValue);
}

}  // namespace
}  // namespace vyn::test
