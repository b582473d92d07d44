// Edge constraints placing a layout window's children in its client area, and an MDI frame that
// holds a layout of its own: its children follow every size of the frame, and a child that goes
// leaves both the frame's client and the layout.
#include <gtest/gtest.h>

#include "platform/gui/LayoutWindow.h"
#include "platform/gui/MDI.h"
#include "platform/gui/TestHook.h"

namespace vyn {
namespace {

TEST(LayoutWindow, EdgesAreAbsoluteSameAsTheParentsOrLeftAsTheyAre)
{
    struct Row {
        const char* name;
        void (*set)(TLayoutMetrics&);
        TRect expected;
    };
    const TSize area(200, 100);
    const TRect current(5, 6, 25, 46);  // 20 x 40
    const Row rows[] = {
        {"nothing set keeps the rectangle", [](TLayoutMetrics&) {}, current},
        {"absolute left, top, width and height",
         [](TLayoutMetrics& m) {
             m.X.Absolute(lmLeft, -1);
             m.Y.Absolute(lmTop, 7);
             m.Width.Absolute(lmWidth, 30);
             m.Height.Absolute(lmHeight, 12);
         },
         TRect(-1, 7, 29, 19)},
        {"right and bottom edges the parent's",
         [](TLayoutMetrics& m) {
             m.X.Absolute(lmLeft, 0);
             m.Width.SameAs(lmParent, lmRight);
             m.Height.SameAs(lmParent, lmBottom);
         },
         TRect(0, 6, 200, 100)},
        {"parent's edges with offsets",
         [](TLayoutMetrics& m) {
             m.X.SameAs(lmParent, lmLeft, 4);
             m.Y.SameAs(lmParent, lmBottom, -30);
             m.Width.SameAs(lmParent, lmWidth, -8);
         },
         TRect(4, 70, 196, 110)},
        {"an edge before its opposite gives an empty rectangle",
         [](TLayoutMetrics& m) {
             m.X.Absolute(lmLeft, 250);
             m.Width.SameAs(lmParent, lmRight);
         },
         TRect(250, 6, 250, 46)},
    };
    for (const Row& r : rows) {
        TLayoutMetrics m;
        r.set(m);
        EXPECT_EQ(TLayoutWindow::Place(m, area, current), r.expected) << r.name;
    }
}

// A frame with a strip along its top and its client window below.
class StripFrame : public TMDIChild, public TLayoutWindow {
public:
    StripFrame(TMDIClient& client, TWindow* view) : TMDIChild(client, "frame", view), TLayoutWindow(static_cast<TWindow&>(*this))
    {
        SetOwnClientArea();
        strip = new TWindow(this);
        TLayoutMetrics s;
        s.X.Absolute(lmLeft, 0);
        s.Y.Absolute(lmTop, 0);
        s.Width.SameAs(lmParent, lmRight);
        s.Height.Absolute(lmHeight, 20);
        SetChildLayoutMetrics(*strip, s);
        TLayoutMetrics v;
        v.X.Absolute(lmLeft, 0);
        v.Y.Absolute(lmTop, 20);
        v.Width.SameAs(lmParent, lmRight);
        v.Height.SameAs(lmParent, lmBottom);
        SetChildLayoutMetrics(*view, v);
    }
    TWindow* strip;

protected:
    void EvSize(unsigned sizeType, const TSize& size) override
    {
        TMDIChild::EvSize(sizeType, size);
        Layout();
    }
    void RemoveChild(TWindow* child) override
    {
        TMDIChild::RemoveChild(child);
        RemoveChildLayoutMetrics(*child);
    }
};

TEST(LayoutWindow, FrameLaysOutItsChildrenOnEverySizeAndForgetsAChildThatGoes)
{
    TTestHook hook;
    TMDIClient client;
    ASSERT_TRUE(client.Create());
    client.MoveWindow(0, 0, 800, 600);
    client.ShowWindow(SW_SHOW);
    auto* view = new TWindow;
    auto* frame = new StripFrame(client, view);
    ASSERT_TRUE(frame->Create());
    EXPECT_EQ(view->GetParent(), frame) << "the client window is one of the frame's children";
    for (TSize size : {TSize(300, 200), TSize(450, 320)}) {
        frame->MoveWindow(0, 0, size.cx, size.cy);
        TTestHook::ProcessEvents();
        const TRect c = frame->GetClientRect();
        EXPECT_LT(c.Height(), size.cy) << "the client area lies inside the frame's caption and border";
        EXPECT_EQ(frame->ChildRectInClient(*frame->strip), TRect(0, 0, c.right, 20));
        EXPECT_EQ(frame->ChildRectInClient(*view), TRect(0, 20, c.right, c.bottom));
    }
    TLayoutMetrics m;
    EXPECT_TRUE(frame->GetChildLayoutMetrics(*view, m));
    // The view is deleted elsewhere (its document went).
    delete view;
    EXPECT_EQ(frame->GetClientWindow(), nullptr);
    EXPECT_FALSE(frame->GetChildLayoutMetrics(*view, m));
    frame->MoveWindow(0, 0, 500, 300);  // lays out what is left
    TTestHook::ProcessEvents();
    EXPECT_EQ(frame->ChildRectInClient(*frame->strip).Width(), frame->GetClientRect().Width());
    frame->ClientGone();
    TTestHook::ProcessEvents();
    EXPECT_TRUE(client.Children().empty());
}

}  // namespace
}  // namespace vyn
