// A plain window's own scroll bars (shown while the range is not empty, telling the window what
// the mouse did with scroll codes, the wheel as line codes) and its painting, which reaches only
// the invalidated part of the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QStyle>

#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/Window.h"
#include "platform/gui/testing/ScrollInput.h"

namespace vyn {
namespace {

// Logs its scroll codes; moves its bar on line and thumb codes only when told to.
class ScrollWindow : public TWindow {
public:
    ScrollWindow() : TWindow(nullptr, 0, "scroll") {}
    std::vector<std::string> codes;
    bool follow = false;
    int sizes = 0;

protected:
    void EvVScroll(unsigned code, unsigned pos, TWindow*) override { Log("v", code, pos, SB_VERT); }
    void EvHScroll(unsigned code, unsigned pos, TWindow*) override { Log("h", code, pos, SB_HORZ); }
    void EvSize(unsigned, const TSize&) override { ++sizes; }

private:
    void Log(const char* bar, unsigned code, unsigned pos, int which)
    {
        static const char* const kNames[] = {"line-", "line+", "page-", "page+", "thumbpos", "thumbtrack", "top", "bottom", "end"};
        std::string s = std::string(bar) + " " + (code < 9 ? kNames[code] : "?");
        if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) s += " " + std::to_string(pos);
        codes.push_back(s);
        if (!follow) return;
        int p = GetScrollPos(which);
        if (code == SB_LINEDOWN) SetScrollPos(which, p + 1);
        if (code == SB_THUMBPOSITION) SetScrollPos(which, static_cast<int>(pos));
    }
};

QScrollBar* BarOf(TWindow& w, Qt::Orientation o)
{
    for (QScrollBar* b : w.Widget()->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly))
        if (b->orientation() == o) return b;
    return nullptr;
}

struct ScrollFixture {
    TTestHook hook;
    ScrollWindow w;
    ScrollFixture()
    {
        w.Create();
        w.MoveWindow(0, 0, 200, 150);
        w.ShowWindow(SW_SHOW);
    }
};

TEST(ScrollBars, ShownWhileTheRangeIsNotEmptyAndTakenFromTheClientArea)
{
    ScrollFixture f;
    const TRect full = f.w.GetClientRect();
    EXPECT_EQ(full.Width(), 200);
    EXPECT_EQ(BarOf(f.w, Qt::Vertical), nullptr) << "no bar before a range";

    f.w.sizes = 0;
    f.w.SetScrollRange(SB_VERT, 0, 50);
    QScrollBar* v = BarOf(f.w, Qt::Vertical);
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(v->isVisible());
    EXPECT_TRUE(f.w.IsScrollBarShown(SB_VERT));
    EXPECT_EQ(f.w.GetClientRect().Width(), 200 - v->width());
    EXPECT_EQ(f.w.GetClientRect().Height(), 150);
    EXPECT_EQ(v->geometry().left(), f.w.GetClientRect().right);
    EXPECT_GE(f.w.sizes, 1) << "the window hears of its smaller client area";

    f.w.SetScrollRange(SB_HORZ, 0, 10);
    EXPECT_TRUE(BarOf(f.w, Qt::Horizontal)->isVisible());
    EXPECT_EQ(f.w.GetClientRect().Height(), 150 - BarOf(f.w, Qt::Horizontal)->height());

    f.w.SetScrollRange(SB_VERT, 0, 0);
    EXPECT_FALSE(v->isVisible()) << "an empty range hides the bar";
    EXPECT_EQ(f.w.GetClientRect().Width(), 200);

    // Set before the window exists: shown once it is made.
    ScrollWindow early;
    early.SetScrollRange(SB_VERT, 0, 30);
    early.SetScrollPos(SB_VERT, 12);
    early.Create();
    early.ShowWindow(SW_SHOW);
    ASSERT_NE(BarOf(early, Qt::Vertical), nullptr);
    EXPECT_TRUE(BarOf(early, Qt::Vertical)->isVisible());
    EXPECT_EQ(BarOf(early, Qt::Vertical)->value(), 12);
}

TEST(ScrollBars, MouseOnTheBarSendsTheCodesAndTheWindowMovesIt)
{
    ScrollFixture f;
    f.w.SetScrollPage(SB_VERT, 10);
    f.w.SetScrollRange(SB_VERT, 0, 100);
    QScrollBar* v = BarOf(f.w, Qt::Vertical);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->maximum(), 91) << "the last page fills the window";

    ClickScrollBarPart(v, QStyle::SC_ScrollBarAddLine);
    EXPECT_EQ(f.w.codes, (std::vector<std::string>{"v line+", "v end"}));
    EXPECT_EQ(v->value(), 0) << "the bar waits for the window to move it";

    f.w.follow = true;
    f.w.codes.clear();
    ClickScrollBarPart(v, QStyle::SC_ScrollBarAddLine);
    EXPECT_EQ(v->value(), 1);
    EXPECT_EQ(f.w.GetScrollPos(SB_VERT), 1);

    f.w.codes.clear();
    ClickScrollBarPart(v, QStyle::SC_ScrollBarAddPage);
    EXPECT_EQ(f.w.codes, (std::vector<std::string>{"v page+", "v end"}));
    f.w.codes.clear();
    ClickScrollBarPart(v, QStyle::SC_ScrollBarSubLine);
    EXPECT_EQ(f.w.codes.front(), "v line-");

    // Dragging the thumb: its track positions while it moves, its position when let go.
    f.w.codes.clear();
    const QRect thumb = ScrollBarPart(v, QStyle::SC_ScrollBarSlider);
    const QRect groove = ScrollBarPart(v, QStyle::SC_ScrollBarGroove);
    LeftMouse(v, QEvent::MouseButtonPress, thumb.center());
    LeftMouse(v, QEvent::MouseMove, QPoint(thumb.center().x(), groove.bottom() + 20));
    LeftMouse(v, QEvent::MouseButtonRelease, QPoint(thumb.center().x(), groove.bottom() + 20));
    ASSERT_GE(f.w.codes.size(), 3u);
    EXPECT_EQ(f.w.codes[f.w.codes.size() - 3], "v thumbtrack 91");
    EXPECT_EQ(f.w.codes[f.w.codes.size() - 2], "v thumbpos 91");
    EXPECT_EQ(f.w.codes.back(), "v end");
    EXPECT_EQ(f.w.GetScrollPos(SB_VERT), 91);
    EXPECT_EQ(v->value(), 91);
}

TEST(ScrollBars, WheelSendsThreeLinesANotchToTheVerticalBar)
{
    ScrollFixture f;
    EXPECT_FALSE(TurnWheel(f.w.Widget(), QPoint(0, -120))) << "without a bar the wheel is not taken";
    EXPECT_TRUE(f.w.codes.empty());

    f.w.SetScrollRange(SB_VERT, 0, 100);
    EXPECT_TRUE(TurnWheel(f.w.Widget(), QPoint(0, -120)));
    EXPECT_EQ(f.w.codes, (std::vector<std::string>{"v line+", "v line+", "v line+", "v end"}));
    f.w.codes.clear();
    TurnWheel(f.w.Widget(), QPoint(0, 60));
    EXPECT_TRUE(f.w.codes.empty()) << "half a notch waits for the other half";
    TurnWheel(f.w.Widget(), QPoint(0, 60));
    EXPECT_EQ(f.w.codes, (std::vector<std::string>{"v line-", "v line-", "v line-", "v end"}));

    // Only a horizontal bar: the wheel scrolls sideways.
    f.w.SetScrollRange(SB_VERT, 0, 0);
    f.w.SetScrollRange(SB_HORZ, 0, 100);
    f.w.codes.clear();
    TurnWheel(f.w.Widget(), QPoint(0, -120));
    EXPECT_EQ(f.w.codes.front(), "h line+");
}

// Paints its whole client area in one colour, ignoring the rectangle it is given, as a window
// that paints its background does; the first paint also lifts any clip region.
class FloodWindow : public TWindow {
public:
    FloodWindow() : TWindow(nullptr, 0, "flood") {}
    TColor colour{0, 0, 255};
    std::vector<TRect> painted;

protected:
    void Paint(TDC& dc, bool, TRect& rect) override
    {
        painted.push_back(rect);
        dc.SelectClipRgn(nullptr);
        const TRect all = GetClientRect();
        dc.FillRect(all, TBrush(colour));
        dc.SelectObject(TPen(colour));
        dc.MoveTo(0, 0);
        dc.LineTo(all.right, all.bottom);
        dc.SetTextColor(colour);
        dc.SetBkColor(colour);
        dc.TextOut(0, 0, "paint everywhere");
    }
};

int CountColour(const QImage& img, QRgb c, const QRect& inside, bool in)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (inside.contains(x, y) == in && (img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF)) ++n;
    return n;
}

TEST(Painting, ReachesOnlyTheInvalidatedPart)
{
    TTestHook hook;
    FloodWindow w;
    w.Create();
    w.MoveWindow(0, 0, 120, 80);
    w.ShowWindow(SW_SHOW);
    TTestHook::ProcessEvents();
    w.UpdateWindow();
    ASSERT_NE(w.ClientImage(), nullptr);
    const QImage first = *w.ClientImage();
    ASSERT_EQ(CountColour(first, qRgb(0, 0, 255), first.rect(), true), 120 * 80);

    // Drawing outside Paint (exclusive-or feedback) stays where it was not repainted.
    w.DrawNow([](TDC& dc) {
        dc.SetROP2(R2_NOT);
        dc.MoveTo(100, 0);
        dc.LineTo(100, 80);
    });
    const QImage withXor = *w.ClientImage();

    w.colour = TColor(255, 0, 0);
    w.painted.clear();
    const QRect small(10, 20, 30, 15);
    w.InvalidateRect(TRect(10, 20, 40, 35), false);
    w.UpdateWindow();
    ASSERT_EQ(w.painted.size(), 1u);
    EXPECT_EQ(w.painted[0], TRect(10, 20, 40, 35));
    const QImage after = *w.ClientImage();
    EXPECT_EQ(CountColour(after, qRgb(255, 0, 0), small, true), 30 * 15) << "the invalidated part is painted";
    int changed = 0;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (!small.contains(x, y) && after.pixel(x, y) != withXor.pixel(x, y)) ++changed;
    EXPECT_EQ(changed, 0) << "no pixel outside it changed, the exclusive-or line included";
}

}  // namespace
}  // namespace vyn
