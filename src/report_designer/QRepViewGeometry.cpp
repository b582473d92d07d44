// The report view's coordinates, outlines, moves and resizes, selection queries and tab order.
#include <algorithm>

#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"
#include "report_designer/DesignerMetrics.h"
#include "report_designer/QRepView.h"
#include "reports/RPObject.h"
#include "reports/RPReport.h"
#include "reports/RPSection.h"

namespace vyn {

namespace {

TRect PixelRect(const RPObject& o)
{
    const RPPixelGeometry& g = o.Pixels();
    return TRect(g.x, g.y, g.x + g.width, g.y + g.height);
}

TRect Normal(TRect r)
{
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

bool AllZero(const TRect& r) { return r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0; }

// The union used for outlines and selection extents: zero rectangles are skipped and the
// first other one is taken as it is.
void Unite(TRect& acc, const TRect& r)
{
    if (AllZero(r)) return;
    if (AllZero(acc)) {
        acc = r;
        return;
    }
    acc.left = std::min(acc.left, r.left);
    acc.top = std::min(acc.top, r.top);
    acc.right = std::max(acc.right, r.right);
    acc.bottom = std::max(acc.bottom, r.bottom);
}

}  // namespace

TPoint QRepView::ClientToBand(TPoint p) const
{
    TPoint r(p.x + scrollX_, p.y);
    if (hitBand_) r.y = p.y + scrollY_ - (hitBand_->BodyTop() + scrollY_);
    return r;
}

TPoint QRepView::BandToClient(TPoint p) const
{
    TPoint r(p.x - scrollX_, p.y);
    if (hitBand_) r.y = p.y + hitBand_->BodyTop();
    return r;
}

void QRepView::BandRectToClient(TRect& r) const
{
    const TPoint a = BandToClient(TPoint(r.left, r.top));
    const TPoint b = BandToClient(TPoint(r.right, r.bottom));
    r = TRect(a.x, a.y, b.x, b.y);
}

TPoint QRepView::BandOrigin() const
{
    return hitBand_ ? TPoint(-scrollX_, hitBand_->BodyTop()) : TPoint(-scrollX_, 0);
}

TPoint QRepView::PixelsToTwipsFrom(TPoint p, TPoint o) const
{
    return TPoint(report_.GridX().ToTwips(p.x) - o.x, report_.GridY().ToTwips(p.y) - o.y);
}

void QRepView::ClampPoint(TPoint& p) const
{
    if (p.x < lower_.x) p.x = lower_.x;
    else if (p.x > upper_.x) p.x = upper_.x;
    if (p.y < lower_.y) p.y = lower_.y;
    else if (p.y > upper_.y) p.y = upper_.y;
}

void QRepView::ClampSnapPoint(TPoint& p) const
{
    const TSize widest = Metrics().widestReport;
    p.x = std::max(0, std::min(p.x, widest.cx));
    p.y = std::max(0, std::min(p.y, widest.cy));
    if (!snap_) return;
    p.x = report_.GridX().SnapNearest(p.x);
    if (hitBand_) p.y = report_.GridY().SnapNearest(p.y);
}

TPoint QRepView::SnapPointDown(TPoint t) const
{
    TPoint p(report_.GridX().FromTwips(t.x), report_.GridY().FromTwips(t.y));
    if (snap_) p = TPoint(report_.GridX().SnapDown(p.x), report_.GridY().SnapDown(p.y));
    return p;
}

TPoint QRepView::SnapPointUp(TPoint t) const
{
    TPoint p(report_.GridX().FromTwips(t.x), report_.GridY().FromTwips(t.y));
    if (snap_) p = TPoint(report_.GridX().SnapUp(p.x), report_.GridY().SnapUp(p.y));
    return p;
}

// --- outlines ---

void QRepView::OutlineHitObject()
{
    outlines_.clear();
    if (hitObject_) outlines_.push_back(PixelRect(*hitObject_));
}

void QRepView::CollectSelectionRects()
{
    outlines_.clear();
    if (!hitBand_) return;
    for (RPObject* o : selection_) {
        TRect r = PixelRect(*o);
        if (o->Owner() && o->Owner() != hitBand_) r.Offset(0, o->Owner()->BodyTop() - hitBand_->BodyTop());
        outlines_.push_back(r);
    }
}

void QRepView::OffsetOutlines(int dx, int dy)
{
    for (TRect& r : outlines_) r.Offset(dx, dy);
}

void QRepView::GrowOutlines(int dx, int dy)
{
    for (TRect& r : outlines_) {
        r.right += dx;
        r.bottom += dy;
    }
}

void QRepView::FlipOutlines(bool flipX, bool flipY)
{
    for (TRect& r : outlines_) {
        if (flipX) std::swap(r.left, r.right);
        if (flipY) std::swap(r.top, r.bottom);
    }
}

TRect QRepView::OutlinesBounds() const
{
    TRect acc(0, 0, 0, 0);
    for (const TRect& r : outlines_) Unite(acc, Normal(r));
    return acc;
}

bool QRepView::DrawLines(TDC& dc, const TRect& r)
{
    dc.MoveTo(r.left, r.top);
    if (r.left == r.right || r.top == r.bottom) return dc.LineTo(r.right, r.bottom);
    dc.LineTo(r.right, r.top);
    dc.LineTo(r.right, r.bottom);
    dc.LineTo(r.left, r.bottom);
    return dc.LineTo(r.left, r.top);
}

void QRepView::DrawDragFrames(TDC& dc) const
{
    const TPoint o = BandOrigin();
    dc.SelectObject(TPen(TColor(0, 192, 255), 1));
    const int oldRop = dc.SetROP2(R2_XORPEN);
    for (TRect r : outlines_) {
        r.Offset(o.x, o.y);
        DrawLines(dc, r);
    }
    dc.SetROP2(oldRop);
    dc.RestorePen();
}

void QRepView::ToggleSelectionMarks()
{
    for (RPObject* o : selection_) o->ToggleSelect();
}

// --- applying moves and resizes ---

void QRepView::MoveObjectBy(RPObject& o, int dx, int dy)
{
    o.Invalidate();
    const int x = std::max(0, std::min(o.TwipsRect().left + dx, kMaxTwips));
    const int y = std::max(0, std::min(o.TwipsRect().top + dy, kMaxTwips));
    int w = o.TwipsRect().Width(), h = o.TwipsRect().Height();
    if (x + w > kMaxTwips) w = kMaxTwips - x;
    if (y + h > kMaxTwips) h = kMaxTwips - y;
    o.SetPos(TPoint(x, y));
    o.SetSize(TSize(w, h));
    o.Layout();
    o.Invalidate();
}

void QRepView::MoveSelectionBy(int dx, int dy)
{
    for (RPObject* o : selection_) MoveObjectBy(*o, dx, dy);
}

void QRepView::MoveObjectToBand(RPSection& band, RPObject& o, int dx, int dy)
{
    o.Invalidate();
    const int x = std::min(o.TwipsRect().left + dx, kMaxTwips);
    const int y = std::min(o.TwipsRect().top + dy, kMaxTwips);
    int w = o.TwipsRect().Width(), h = o.TwipsRect().Height();
    if (x + w > kMaxTwips) w = kMaxTwips - x;
    if (y + h > kMaxTwips) h = kMaxTwips - y;
    o.SetPos(TPoint(x, y));
    o.SetSize(TSize(w, h));
    o.Layout();
    o.MoveToSection(band);
    o.Invalidate();
}

void QRepView::ResizeObjectBy(RPObject& o, bool flipX, bool flipY, int dx, int dy)
{
    o.Invalidate();
    TRect r = o.TwipsRect();
    if (flipX) std::swap(r.left, r.right);
    if (flipY) std::swap(r.top, r.bottom);
    r.right += dx;
    r.bottom += dy;
    r = Normal(r);
    int w = r.Width(), h = r.Height();
    const int x = std::max(0, std::min(r.left, kMaxTwips));
    const int y = std::max(0, std::min(r.top, kMaxTwips));
    if (x + w > kMaxTwips) w = kMaxTwips - x;
    if (y + h > kMaxTwips) h = kMaxTwips - y;
    o.SetPos(TPoint(x, y));
    o.SetSize(TSize(w, h));
    o.Layout();
    o.Invalidate();
}

void QRepView::ResizeSelectionBy(bool flipX, bool flipY, int dx, int dy)
{
    for (RPObject* o : selection_) ResizeObjectBy(*o, flipX, flipY, dx, dy);
}

// --- selection queries ---

TRect QRepView::SelectionExtent() const
{
    TRect acc(0, 0, 0, 0);
    for (const RPObject* o : selection_) Unite(acc, o->TwipsRect());
    return acc;
}

TPoint QRepView::SelectionMaxEdges(bool useLeft, bool useTop) const
{
    TPoint m(0, 0);
    for (const RPObject* o : selection_) {
        const TRect r = o->TwipsRect();
        m.x = std::max(m.x, useLeft ? r.left : r.right);
        m.y = std::max(m.y, useTop ? r.top : r.bottom);
    }
    return m;
}

TPoint QRepView::SelectionMinEdges(bool useLeft, bool useTop) const
{
    TPoint m(kMaxTwips, kMaxTwips);
    for (const RPObject* o : selection_) {
        const TRect r = o->TwipsRect();
        m.x = std::min(m.x, useLeft ? r.left : r.right);
        m.y = std::min(m.y, useTop ? r.top : r.bottom);
    }
    return m;
}

bool QRepView::SelectionLeavesHitBand() const
{
    return std::any_of(selection_.begin(), selection_.end(), [this](const RPObject* o) { return o->Owner() != hitBand_; });
}

// --- tab order ---

bool QRepView::NextInTabOrder(bool backward, RPSection*& band, RPObject*& object) const
{
    band = nullptr;
    object = nullptr;
    const int n = static_cast<int>(bands_.size());
    if (n == 0) return false;
    auto at = [this, n](int i) { return bands_[static_cast<std::size_t>((i % n + n) % n)]; };
    if (selection_.empty()) {
        if (!activeBand_) {
            band = bands_.front();
            return true;
        }
        const int i = SectionIndex(activeBand_);
        if (i < 0) return false;
        if (!backward) {
            if (activeBand_->ObjectCount() > 0) object = activeBand_->ObjectAt(0);
            else band = at(i + 1);
        } else {
            RPSection* prev = at(i - 1);
            if (prev->ObjectCount() > 0) object = prev->ObjectAt(prev->ObjectCount() - 1);
            else band = prev;
        }
        return true;
    }
    if (!backward) {
        RPObject* last = selection_.back();
        RPSection* owner = last->Owner();
        int k = -1;
        for (int j = 0; owner && j < owner->ObjectCount(); ++j)
            if (owner->ObjectAt(j) == last) k = j;
        if (owner && k >= 0 && k + 1 < owner->ObjectCount()) {
            object = owner->ObjectAt(k + 1);
        } else {
            int i = SectionIndex(owner);
            if (i < 0) i = n - 1;
            band = at(i + 1);
        }
    } else {
        RPObject* first = selection_.front();
        RPSection* owner = first->Owner();
        int k = -1;
        for (int j = 0; owner && j < owner->ObjectCount(); ++j)
            if (owner->ObjectAt(j) == first) k = j;
        if (k > 0) object = owner->ObjectAt(k - 1);
        else band = owner;
    }
    return true;
}

TPoint QRepView::ScrollToShowPoint(int x, int y) const
{
    const DesignerMetrics& m = Metrics();
    TRect area = GetClientRect();
    area.right -= m.vRulerWidth;
    area.bottom -= m.hRulerHeight;
    if (area.right <= area.left) area.right = area.left + 1;
    if (area.bottom <= area.top) area.bottom = area.top + 1;
    int lo = 0, hiX = 0, hiY = 0;
    GetScrollRange(SB_HORZ, lo, hiX);
    GetScrollRange(SB_VERT, lo, hiY);
    TPoint d(0, 0);
    if (x < area.left) d.x = std::max(x - area.left, -scrollX_);
    else if (x > area.right) d.x = std::min(x - area.right, hiX - scrollX_);
    if (y < area.top) d.y = std::max(y - area.top, -scrollY_);
    else if (y > area.bottom) d.y = std::min(y - area.bottom, hiY - scrollY_);
    return d;
}

TPoint QRepView::ScrollToShowBand(const RPSection& band) const { return ScrollToShowPoint(0, band.HeaderTop()); }

TPoint QRepView::ScrollToShowObject(const RPObject& o) const
{
    const int top = o.Owner() ? o.Owner()->BodyTop() : 0;
    return ScrollToShowPoint(o.Pixels().x - scrollX_, o.Pixels().y + top);
}

}  // namespace vyn
