#pragma once
// TLayoutWindow: a window that places its children by edge constraints, in pixels, against its
// own client area, and does it again whenever it is asked (a size change). Each child has one
// set of metrics: its left and top edge, and either its width or its right edge, either its
// height or its bottom edge. An edge is absolute, the same as an edge of the parent (with an
// offset), or left as it is.
//
// It is a part mixed into a window class beside that window's own base (as TView is), since the
// window classes here do not share one TWindow: the window it lays out is given to it.
#include <vector>

#include "platform/gui/Window.h"

namespace vyn {

enum TEdge { lmLeft, lmTop, lmRight, lmBottom, lmWidth, lmHeight };
enum TRelationship { lmAsIs, lmSameAs, lmAbsolute };

// The window an edge is related to; only the parent (the layout window's client area) is known.
inline TWindow* const lmParent = nullptr;

struct TEdgeConstraint {
    TEdge MyEdge = lmLeft;
    TRelationship Relationship = lmAsIs;
    TWindow* RelWin = lmParent;
    TEdge OtherEdge = lmLeft;
    int Value = 0;  // the absolute value, or the offset from the other edge

    void Absolute(TEdge edge, int value)
    {
        MyEdge = edge;
        Relationship = lmAbsolute;
        Value = value;
    }
    void SameAs(TWindow* otherWin, TEdge edge, int offset = 0)
    {
        MyEdge = OtherEdge = edge;
        Relationship = lmSameAs;
        RelWin = otherWin;
        Value = offset;
    }
    void AsIs(TEdge edge)
    {
        MyEdge = edge;
        Relationship = lmAsIs;
    }
};

// X: the left edge, Y: the top edge, Width: lmWidth or lmRight, Height: lmHeight or lmBottom.
struct TLayoutMetrics {
    TEdgeConstraint X, Y, Width, Height;
    TLayoutMetrics()
    {
        X.AsIs(lmLeft);
        Y.AsIs(lmTop);
        Width.AsIs(lmWidth);
        Height.AsIs(lmHeight);
    }
};

class TLayoutWindow {
public:
    explicit TLayoutWindow(TWindow& self) : self_(self) {}
    virtual ~TLayoutWindow() = default;
    TLayoutWindow(const TLayoutWindow&) = delete;
    TLayoutWindow& operator=(const TLayoutWindow&) = delete;

    // Sets (or replaces) the child's metrics; a window already made is placed at once.
    void SetChildLayoutMetrics(TWindow& child, const TLayoutMetrics& metrics);
    bool GetChildLayoutMetrics(const TWindow& child, TLayoutMetrics& metrics) const;
    // The child goes out of the layout; false when it had no metrics.
    bool RemoveChildLayoutMetrics(const TWindow& child);
    // Places every child with metrics whose window exists.
    void Layout();
    // The rectangle the metrics give a child in a client area of the size, its current
    // rectangle standing for edges left as they are.
    static TRect Place(const TLayoutMetrics& metrics, const TSize& area, const TRect& current);

private:
    struct Entry {
        TWindow* child;
        TLayoutMetrics metrics;
    };
    TWindow& self_;
    std::vector<Entry> entries_;
};

}  // namespace vyn
