// What the buttons of the bars show, read from the painted bar: every button its picture, and
// the plate view's picture buttons the state of their tool (the dilution letter, the renumber
// picture and number, the repeat picture).
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <set>
#include <sstream>

#include "BarWalk.h"
#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/TMyControlBar.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Gadget.h"
#include "platform/gui/GadgetWindow.h"
#include "platform/gui/ResBitmap.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"
#include "views/QPView.h"

using namespace vyn;

namespace {

QImage Painted(TGadgetWindow& bar)
{
    bar.UpdateWindow();
    return bar.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Whether the bar shows the picture at the button's face (centred, one pixel down and right
// while pressed).
bool FaceIs(const QImage& shown, const TButtonGadget& b, const TBitmap& picture)
{
    const TRect r = b.GetBounds();
    const int down = b.GetButtonState() == TButtonGadget::Down ? 1 : 0;
    const int x0 = r.left + (r.Width() - picture.Width()) / 2 + down;
    const int y0 = r.top + (r.Height() - picture.Height()) / 2 + down;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const TColor want = picture.GetPixel(x, y);
            const QRgb got = shown.pixel(x0 + x, y0 + y);
            if (qRed(got) != want.Red() || qGreen(got) != want.Green() || qBlue(got) != want.Blue()) return false;
        }
    return true;
}

// The picture with a text over it, as a picture button draws its text.
TBitmap WithText(int resId, const std::string& text, const TFont& font, TColor colour)
{
    TBitmap b = LoadResBitmap(resId).Clone();
    if (text.empty()) return b;
    TMemoryDC dc(b);
    dc.SetBkMode(TRANSPARENT);
    dc.SelectObject(font);
    dc.SetTextColor(colour);
    TRect r(0, 0, b.Width(), b.Height());
    dc.DrawText(text, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    dc.RestoreFont();
    dc.RestoreBitmap();
    return b;
}

struct Face {
    int picture = -1;  // which picture of the strip, -1: none of them
    std::string text;  // the text read over it ("" for none, "?" for none of the candidates)
};

// Reads a picture button's face from the painted bar: which picture of its strip is shown,
// and which of the candidate texts stands over it.
Face ReadFace(TGadgetWindow& bar, int id, int base, int pictures, const std::vector<std::string>& candidates,
              TColor colour = TColor(0, 0, 0))
{
    const QImage shown = Painted(bar);
    auto* b = dynamic_cast<TButtonGadget*>(bar.GadgetWithId(id));
    if (!b) return {};
    std::vector<std::string> texts = candidates;
    texts.insert(texts.begin(), "");
    for (int p = 0; p < pictures; ++p)
        for (const std::string& t : texts)
            if (FaceIs(shown, *b, WithText(base + p, t, bar.GetFont(), colour))) return {p, t};
    return {-1, "?"};
}

std::vector<std::string> Letters()
{
    std::vector<std::string> v;
    for (char c = 'a'; c <= 'z'; ++c) v.emplace_back(1, c);
    return v;
}

std::vector<std::string> Numbers()
{
    std::vector<std::string> v;
    for (int n = 1; n <= 96; ++n) v.push_back(std::to_string(n));
    for (char c = 'A'; c <= 'Z'; ++c) v.emplace_back(1, c);
    return v;
}

}  // namespace

// Each command button of each bar shows its picture, not a caption: pressed or not, in every
// view and mode; a greyed button is left out (it shows its picture embossed).
TEST(ButtonFaces, EveryEnabledButtonShowsItsPicture)
{
    TTestHook hook;
    ShellFixture s;
    s.app->ShowMainWindow();
    std::ostringstream faults;
    std::set<int> checked;
    WalkEveryBarState(s, hook, [&](const char* state) {
        for (TGadgetWindow* bar : {static_cast<TGadgetWindow*>(gToolBar), static_cast<TGadgetWindow*>(gToolPalette)}) {
            const QImage shown = Painted(*bar);
            for (TGadget* g : bar->Gadgets()) {
                auto* b = dynamic_cast<TButtonGadget*>(g);
                if (!b || !b->GetEnabled()) continue;
                const TBitmap picture = LoadResBitmap(b->GetResId());
                if (!picture) {
                    faults << ' ' << state << ": button " << b->GetId() << " has no picture;";
                    continue;
                }
                // A picture button with its text over the picture is read by the next test.
                if (FaceIs(shown, *b, picture) || b->GetId() == cmNextDilution || b->GetId() == cmRenumber) {
                    checked.insert(b->GetId());
                    continue;
                }
                faults << ' ' << state << ": button " << b->GetId() << " does not show picture " << b->GetResId() << ';';
            }
        }
    });
    EXPECT_EQ(faults.str(), "");
    for (int id : {24331, 24332, 1029, 2210, 24333, 24340, 24337, 2472, 2224, 2225, 2226, 2483, 2484, 2485, 2486, 2487,
                   2476, 2477, 2478, 2479, 2480, 2481, 2490, 2494, 2495, 2496, 2497, 2498, 2499, 1572, 2208, 2218,
                   7109, 7118, 2603, 2604})
        EXPECT_TRUE(checked.count(id)) << "button " << id << " was never seen enabled";
}

// At rest the renumber button shows what it does (numbers on a tag), not a blank square.
TEST(ButtonFaces, RenumberButtonAtRestShowsNumbers)
{
    TTestHook hook;
    ShellFixture s;
    s.app->ShowMainWindow();
    ASSERT_TRUE(s.app->OpenPlate(s.env.data + "/Demo.plt"));
    TTestHook::ProcessEvents();
    EXPECT_TRUE(ClickGadget(*gToolPalette, cmLayoutMode));
    TTestHook::ProcessEvents();
    const QImage shown = Painted(*gToolPalette);
    const TGadget* b = gToolPalette->GadgetWithId(cmRenumber);
    ASSERT_NE(b, nullptr);
    const TRect r = b->GetBounds();
    int ink = 0;  // pixels neither white, black, grey nor the face
    for (int y = r.top + 2; y < r.bottom - 2; ++y)
        for (int x = r.left + 2; x < r.right - 2; ++x) {
            const QColor c = shown.pixelColor(x, y);
            if (c.red() != c.green() || c.green() != c.blue()) ++ink;
        }
    EXPECT_GT(ink, 10) << "the tag carries its numbers";
}

// Layout editing of the demo plate as a user does it: the standards tool, free style, the
// dilution buttons; repeat with a sample picked; renumbering two steps.
TEST(ButtonFaces, PlateViewButtonsShowDilutionLetterRenumberAndRepeat)
{
    TTestHook hook;
    ShellFixture s;
    s.app->ShowMainWindow();
    RwMainWindow& main = *s.app->GetMainFrame();
    ASSERT_TRUE(s.app->OpenPlate(s.env.data + "/Demo.plt"));
    TTestHook::ProcessEvents();
    auto* view = dynamic_cast<QPView*>(gActiveView);
    ASSERT_NE(view, nullptr);
    auto palette = [&](int id) {
        EXPECT_TRUE(ClickGadget(*gToolPalette, id)) << id;
        TTestHook::ProcessEvents();
    };
    auto mainBar = [&](int id) {
        EXPECT_TRUE(ClickGadget(*gToolBar, id)) << id;
        TTestHook::ProcessEvents();
    };
    palette(cmLayoutMode);
    // The renumber and repeat buttons at rest: their first picture, no number.
    Face renumber = ReadFace(*gToolPalette, cmRenumber, 12487, 2, Numbers(), TColor(255, 0, 0));
    EXPECT_EQ(renumber.picture, 0);
    EXPECT_EQ(renumber.text, "");
    EXPECT_EQ(ReadFace(*gToolPalette, cmRepeat, 12480, 2, {}).picture, 0);

    // The demo's standards stand in dilutions a to f: the next one to place is g.
    palette(cmStandards);
    mainBar(2499);
    Face dilution = ReadFace(*gToolBar, cmNextDilution, 2493, 1, Letters());
    EXPECT_EQ(dilution.picture, 0);
    EXPECT_EQ(dilution.text, "g");
    mainBar(cmPrevDilution);
    mainBar(cmPrevDilution);
    EXPECT_EQ(ReadFace(*gToolBar, cmNextDilution, 2493, 1, Letters()).text, "e");
    mainBar(cmNextDilution);
    EXPECT_EQ(ReadFace(*gToolBar, cmNextDilution, 2493, 1, Letters()).text, "f");
    ASSERT_TRUE(ChooseMenuItem(main, cmPointer));
    TTestHook::ProcessEvents();

    // Repeat: "?" until a sample's well is clicked, then the picked picture.
    palette(cmRepeat);
    EXPECT_EQ(ReadFace(*gToolPalette, cmRepeat, 12480, 2, {}).picture, 0);
    const TRect c1 = view->CellRect(0, 2);  // C1, the first unknown
    ASSERT_TRUE(ClickReaches(*view, (c1.left + c1.right) / 2, (c1.top + c1.bottom) / 2));
    TTestHook::ProcessEvents();
    EXPECT_EQ(ReadFace(*gToolPalette, cmRepeat, 12480, 2, {}).picture, 1) << "a sample is picked";
    ASSERT_TRUE(ChooseMenuItem(main, cmPointer));
    TTestHook::ProcessEvents();
    EXPECT_EQ(ReadFace(*gToolPalette, cmRepeat, 12480, 2, {}).picture, 0);

    // Renumbering: the second picture with the next number in red; a sample clicked takes the
    // number and the next one shows.
    palette(cmRenumber);
    renumber = ReadFace(*gToolPalette, cmRenumber, 12487, 2, Numbers(), TColor(255, 0, 0));
    EXPECT_EQ(renumber.picture, 1);
    EXPECT_EQ(renumber.text, "1");
    ASSERT_TRUE(ClickReaches(*view, (c1.left + c1.right) / 2, (c1.top + c1.bottom) / 2));
    TTestHook::ProcessEvents();
    renumber = ReadFace(*gToolPalette, cmRenumber, 12487, 2, Numbers(), TColor(255, 0, 0));
    EXPECT_EQ(renumber.picture, 1);
    EXPECT_EQ(renumber.text, "2");
    ASSERT_TRUE(ChooseMenuItem(main, cmPointer));
    TTestHook::ProcessEvents();
    renumber = ReadFace(*gToolPalette, cmRenumber, 12487, 2, Numbers(), TColor(255, 0, 0));
    EXPECT_EQ(renumber.picture, 0);
    EXPECT_EQ(renumber.text, "");
}
