#include "platform/gui/LayoutWindow.h"

#include <algorithm>

namespace vyn {

namespace {
int ParentEdge(TEdge edge, const TSize& area)
{
    switch (edge) {
    case lmRight:
    case lmWidth: return area.cx;
    case lmBottom:
    case lmHeight: return area.cy;
    default: return 0;
    }
}

// An edge's position; `asIs` stands for an edge left where it is.
int Resolve(const TEdgeConstraint& c, const TSize& area, int asIs)
{
    switch (c.Relationship) {
    case lmAbsolute: return c.Value;
    case lmSameAs: return ParentEdge(c.OtherEdge, area) + c.Value;
    default: return asIs;
    }
}
}  // namespace

TRect TLayoutWindow::Place(const TLayoutMetrics& m, const TSize& area, const TRect& current)
{
    const int left = Resolve(m.X, area, current.left);
    const int top = Resolve(m.Y, area, current.top);
    const int right = m.Width.MyEdge == lmRight ? Resolve(m.Width, area, left + current.Width())
                                                : left + Resolve(m.Width, area, current.Width());
    const int bottom = m.Height.MyEdge == lmBottom ? Resolve(m.Height, area, top + current.Height())
                                                   : top + Resolve(m.Height, area, current.Height());
    return TRect(left, top, std::max(left, right), std::max(top, bottom));
}

void TLayoutWindow::SetChildLayoutMetrics(TWindow& child, const TLayoutMetrics& metrics)
{
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.child == &child; });
    if (it != entries_.end()) it->metrics = metrics;
    else entries_.push_back({&child, metrics});
    if (self_.IsWindow()) Layout();
}

bool TLayoutWindow::GetChildLayoutMetrics(const TWindow& child, TLayoutMetrics& metrics) const
{
    for (const Entry& e : entries_)
        if (e.child == &child) {
            metrics = e.metrics;
            return true;
        }
    return false;
}

bool TLayoutWindow::RemoveChildLayoutMetrics(const TWindow& child)
{
    const auto before = entries_.size();
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.child == &child; }),
                   entries_.end());
    return entries_.size() != before;
}

void TLayoutWindow::Layout()
{
    if (!self_.IsWindow()) return;
    const TRect client = self_.GetClientRect();
    const TSize area(client.Width(), client.Height());
    for (const Entry& e : entries_) {
        if (!e.child->IsWindow()) continue;
        const TRect now = self_.ChildRectInClient(*e.child);
        const TRect r = Place(e.metrics, area, now);
        if (r == now) continue;
        e.child->SetWindowPos(nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER);
    }
}

}  // namespace vyn
