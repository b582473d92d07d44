// The descriptor combo box: its size rules, program selection that stays silent, and user
// selection that reaches the owner.
#include <gtest/gtest.h>

#include <QImage>

#include "controls/QGCombo.h"
#include "plate/QDesc.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/TestHook.h"

namespace vyn {
namespace {

class Owner : public TWindow {
public:
    explicit Owner(TWindow* parent) : TWindow(parent) {}
    int commands = 0;
    unsigned lastId = 0;

protected:
    TResult EvCommand(unsigned id, TWindow*, unsigned) override
    {
        ++commands;
        lastId = id;
        return 0;
    }
};

TEST(DescriptorCombo, SizesClampTheirArguments)
{
    TSize bu = TDialog::BaseUnitsOf("MS Sans Serif", 8);
    struct Row {
        const char* name;
        int got, expected;
    } rows[] = {
        {"1 char is 2", QGCombo::ComboWidth(1), 4 * bu.cx + 17 + 2},
        {"40 chars are 16", QGCombo::ComboWidth(40), 18 * bu.cx + 17 + 2},
        {"1 item is 2", QGCombo::ListHeight(1), 3 + 2 * bu.cy + bu.cy},
        {"20 items are 6", QGCombo::ListHeight(20), 3 + 6 * bu.cy + bu.cy},
        {"narrow list", QGCombo::ListWidth(0), 2 * bu.cx + 17 + 2 * bu.cx + 2},
        {"wide list", QGCombo::ListWidth(5000), 16 * bu.cx + 17 + 2 * bu.cx + 2},
    };
    for (const auto& r : rows) EXPECT_EQ(r.got, r.expected) << r.name;
}

struct Fixture {
    TWindow bar;
    Owner* owner = new Owner(&bar);
    QGCombo* box = new QGCombo(&bar, owner, 77, 8, 4);
    QDesc a{1, "Ctrl", TColor(255, 0, 0), ""}, b{4, "Standard", TColor(0, 0, 255), ""}, c{8, "Q", TColor(0, 128, 0), ""};
    Fixture()
    {
        bar.MoveWindow(0, 0, 300, 40);
        bar.Create();
        owner->MoveWindow(200, 0, 50, 20);
        bar.ShowWindow(SW_SHOW);
        box->ShowWindow(SW_SHOW);
    }
};

TEST(DescriptorCombo, ProgramSelectionIsSilentUserSelectionReachesTheOwner)
{
    Fixture f;
    for (QDesc* d : {&f.a, &f.b, &f.c}) f.box->AddItem(d);
    EXPECT_EQ(f.box->GetSelData(), nullptr);
    f.box->SelectNext();
    EXPECT_EQ(f.box->GetSelData(), &f.a);
    f.box->SelectNext();
    f.box->SelectNext();
    EXPECT_EQ(f.box->GetSelData(), &f.c);
    f.box->SelectNext();
    EXPECT_EQ(f.box->GetSelData(), nullptr) << "past the last item nothing is selected";
    f.box->SelectPrev();
    EXPECT_EQ(f.box->GetSelData(), &f.a) << "from no selection back to the first";
    EXPECT_EQ(f.owner->commands, 0);

    f.box->SetFocus();
    TTestHook::Key(VK_DOWN);
    EXPECT_EQ(f.box->GetSelData(), &f.b);
    EXPECT_EQ(f.owner->commands, 1);
    EXPECT_EQ(f.owner->lastId, 77u);

    TTestHook::Key(VK_RETURN);
    EXPECT_TRUE(f.owner->HasFocus()) << "Enter gives the owner the focus";
}

TEST(DescriptorCombo, FitDropWidthLeavesAnEmptyBoxAlone)
{
    Fixture f;
    TRect before = f.box->GetDroppedControlRect();
    f.box->FitDropWidth();
    EXPECT_EQ(f.box->GetDroppedControlRect(), before);
    f.box->AddItem(&f.b);
    f.box->FitDropWidth();
    TRect after = f.box->GetDroppedControlRect();
    EXPECT_GE(after.Width(), QGCombo::ListWidth(0));
    EXPECT_EQ(after.Height(), f.box->GetItemHeight(-1) + 10 * f.box->GetItemHeight(0));
}

TEST(DescriptorCombo, DrawsNamesInTheirColourAndAnEmptyFieldBlack)
{
    Fixture f;
    f.box->AddItem(&f.a);
    QImage img(60, 16, QImage::Format_RGB32);
    f.box->PaintItem(img, -1, TRect(3, 3, 50, 14), ODS_COMBOBOXEDIT);
    EXPECT_EQ(img.pixel(10, 8) & 0xFFFFFF, 0x000000u) << "nothing selected: black field";
    f.box->PaintItem(img, 0, TRect(0, 0, 60, 16), 0);
    bool red = false;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 60; ++x) red = red || (img.pixel(x, y) & 0xFFFFFF) == 0xFF0000u;
    EXPECT_TRUE(red) << "the name is drawn in the descriptor's colour";
    EXPECT_EQ(img.pixel(1, 1) & 0xFFFFFF, 0xC0C0C0u) << "unselected background light grey";
}

}  // namespace
}  // namespace vyn
