// The report view's mouse: presses, drags with exclusive-or feedback, releases that apply
// moves, resizes, border drags, rubber-band selection and object placement, and automatic
// scrolling while the pointer is outside the view during a drag.
#include <algorithm>
#include <cstdlib>

#include "platform/core/StringTable.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Dc.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/MsgBox.h"
#include "report_designer/DesignerMetrics.h"
#include "report_designer/QRInPlaceEdit.h"
#include "report_designer/QRepView.h"
#include "report_designer/QRuler.h"
#include "reports/RPObject.h"
#include "reports/RPReport.h"
#include "reports/RPSection.h"
#include "reports/RPShapes.h"

namespace vyn {

namespace {

constexpr unsigned kTimerAutoScroll = 2;
constexpr int kStrPictureFilter = 7911;
constexpr int kStrPictureTitle = 7912;
constexpr int kUnbounded = 1 << 28;

bool IsResize(int c) { return c >= tcTop && c <= tcBottomLeft; }
bool IsMove(int c) { return c >= tcAnchor && c <= tcBody; }
bool IsBorder(int c) { return c >= trBorderCorner && c <= trBandBorder; }
bool IsRubber(int c) { return c == trBandBody || c == trOutside; }

}  // namespace

std::string& QRepView::LastPictureFolder()
{
    static std::string folder;
    return folder;
}

// --- press ---

void QRepView::EvLButtonDblClk(unsigned modKeys, const TPoint& p) { EvLButtonDown(modKeys, p); }

void QRepView::EvLButtonDown(unsigned modKeys, const TPoint& p)
{
    if (dragState_ != 0) return;
    HitTest(p);  // what the pointer is over now, as the hit test before every press tells it
    CommitTextEdit(true);
    KillTimer(kTimerAutoScroll);
    autoScrolling_ = false;
    freeRect_ = GetClientRect();
    lastPointer_ = p;
    if (trackCode_ == 0) {
        dragState_ = 4;
    } else {
        if (!HasFocus() && trackCode_ != tcEdit) SetFocus();
        pressPt_ = prevPt_ = curPt_ = p;
        placement_ = 0;
        trackRect_ = TRect(p.x, p.y, p.x, p.y);
        dragState_ = 1;
        outlinesDrawn_ = rubberDrawn_ = guideDrawn_ = false;
        PressAction(trackCode_, (modKeys & MK_SHIFT) != 0);
        if (trackCode_ == tcEdit) return;
    }
    if (hitBand_) {
        pasteBand_ = hitBand_;
        pastePos_ = GridStep(1, 1);
    }
    SetCapture();
}

void QRepView::PressAction(int code, bool shift)
{
    switch (code) {
    case tcEdit:
        BeginTextEdit(true, pressPt_);
        dragState_ = 0;
        break;
    case tcTop: case tcBottom: case tcRight: case tcLeft: case tcTopRight: case tcBottomRight: case tcBottomLeft:
    case tcAnchor: case trReportEdge:
        break;
    case tcMove:
        if (shift) {
            DeselectObject(hitObject_);
            dragState_ = 4;
            if (selection_.empty()) SetActiveSection(hitBand_);
            AttrUpdated(AttrUpdate::Reload);
        }
        break;
    case tcBody:
        ClearActiveSection();
        if (!shift) ClearSelection();
        SelectObject(hitObject_);
        AttrUpdated(AttrUpdate::Reload);
        break;
    case trBorderCorner:
    case trBandBorder:
        ClearActiveSection();
        AttrUpdated(AttrUpdate::RebuildRows);
        break;
    case trBandTitle:
        ClearSelection();
        SetActiveSection(hitBand_);
        dragState_ = 4;
        AttrUpdated(AttrUpdate::Reload);
        break;
    case trBandBody:
    case trOutside:
        if (!shift) ClearSelection();
        ClearActiveSection();
        AttrUpdated(AttrUpdate::RebuildRows);
        break;
    case trToolBand: {
        TPoint b = ClientToBand(pressPt_);
        if (snap_) b = TPoint(report_.GridX().SnapNearest(b.x), report_.GridY().SnapNearest(b.y));
        placeOrigin_ = tracked_ = b;
        break;
    }
    default: dragState_ = 4; break;
    }
}

// --- movement ---

void QRepView::EvMouseMove(unsigned, const TPoint& p)
{
    lastPointer_ = p;
    if (dragState_ == 0) {
        HitTest(p);
        SetCursorShape(CursorFor(trackCode_));
        return;
    }
    if (p == curPt_) return;
    const DesignerMetrics& m = Metrics();
    if (placement_ == 0 &&
        (std::abs(p.x - pressPt_.x) > m.dragThreshold.cx || std::abs(p.y - pressPt_.y) > m.dragThreshold.cy))
        placement_ = 1;
    if (dragState_ == 4) return;
    curPt_ = p;
    const bool first = dragState_ == 1;
    TrackMouse(first);
    if (first) dragState_ = 2;
    RulerMarks(first);
    prevPt_ = curPt_;
    if (freeRect_.Contains(p)) {
        KillTimer(kTimerAutoScroll);
        autoScrolling_ = false;
    } else if (!autoScrolling_) {
        SetTimer(kTimerAutoScroll, 120);
        autoScrolling_ = true;
    }
}

void QRepView::RulerMarks(bool first)
{
    if (first) {
        if (hRuler_) hRuler_->ShowMark(trackRect_.left, trackRect_.right);
        if (vRuler_) vRuler_->ShowMark(trackRect_.top, trackRect_.bottom);
    } else {
        if (hRuler_) hRuler_->MoveMark(trackRect_.left, trackRect_.right);
        if (vRuler_) vRuler_->MoveMark(trackRect_.top, trackRect_.bottom);
    }
}

void QRepView::TrackMouse(bool first)
{
    const TPoint band = ClientToBand(curPt_);
    if (first) UpdateWindow();
    if (IsResize(trackCode_)) TrackResize(first, band);
    else if (IsMove(trackCode_)) TrackMove(first, band);
    else if (IsBorder(trackCode_)) TrackBorder(first, band);
    else if (IsRubber(trackCode_)) TrackRubber(first);
    else if (trackCode_ == trToolBand) TrackPlace(first, band);
}

// Outlines are kept in band pixels of the hit band; the tracking rectangle in client pixels.
void QRepView::DrawFeedback()
{
    if (IsResize(trackCode_) || IsMove(trackCode_) || (trackCode_ == trToolBand && placement_ == 2)) {
        if (outlinesDrawn_) return;
        DrawNow([this](TDC& dc) { DrawDragFrames(dc); });
        outlinesDrawn_ = true;
    } else if (IsBorder(trackCode_)) {
        if (guideDrawn_) return;
        DrawNow([this](TDC& dc) { DrawGuides(dc, guide_, trackCode_ != trBandBorder, trackCode_ != trReportEdge); });
        guideDrawn_ = true;
    } else if (IsRubber(trackCode_)) {
        if (rubberDrawn_) return;
        DrawNow([this](TDC& dc) { DrawRubber(dc, rubber_); });
        rubberDrawn_ = true;
    }
}

void QRepView::EraseFeedback()
{
    if (outlinesDrawn_) {
        DrawNow([this](TDC& dc) { DrawDragFrames(dc); });
        outlinesDrawn_ = false;
    }
    if (guideDrawn_) {
        DrawNow([this](TDC& dc) { DrawGuides(dc, guide_, trackCode_ != trBandBorder, trackCode_ != trReportEdge); });
        guideDrawn_ = false;
    }
    if (rubberDrawn_) {
        DrawNow([this](TDC& dc) { DrawRubber(dc, rubber_); });
        rubberDrawn_ = false;
    }
}

void QRepView::DrawGuides(TDC& dc, TPoint at, bool vertical, bool horizontal) const
{
    const int old = dc.SetROP2(R2_NOT);
    if (vertical) {
        dc.MoveTo(at.x, freeRect_.top);
        dc.LineTo(at.x, freeRect_.bottom);
    }
    if (horizontal) {
        dc.MoveTo(freeRect_.left, at.y);
        dc.LineTo(freeRect_.right, at.y);
    }
    dc.SetROP2(old);
}

void QRepView::DrawRubber(TDC& dc, const TRect& r) const
{
    const int old = dc.SetROP2(R2_NOT);
    DrawLines(dc, r);
    dc.SetROP2(old);
}

// The dragged corner, edge or border keeps the distance to the pointer it had at the press, so
// the first movement's pixels are not lost however far it went.
TPoint QRepView::PressOffset() const
{
    const TPoint press = ClientToBand(pressPt_);
    return TPoint(tracked_.x - press.x, tracked_.y - press.y);
}

void QRepView::TrackResize(bool first, TPoint band)
{
    const int code = trackCode_;
    if (first) {
        flipX_ = code == tcLeft || code == tcBottomLeft;
        flipY_ = code == tcTop || code == tcTopRight;
        CollectSelectionRects();
        FlipOutlines(flipX_, flipY_);
        const TRect t = hitObject_->TwipsRect();
        startPos_ = TPoint(flipX_ ? t.left : t.right, flipY_ ? t.top : t.bottom);
        const RPPixelGeometry& g = hitObject_->Pixels();
        tracked_ = TPoint(flipX_ ? g.x : g.x + g.width, flipY_ ? g.y : g.y + g.height);
        dragOffset_ = PressOffset();
        const TPoint maxEdge = SelectionMaxEdges(flipX_, flipY_);
        const TPoint minEdge = SelectionMinEdges(flipX_, flipY_);
        upper_ = SnapPointDown(TPoint(startPos_.x + kMaxTwips - maxEdge.x, startPos_.y + kMaxTwips - maxEdge.y));
        lower_ = SnapPointUp(TPoint(startPos_.x - minEdge.x, startPos_.y - minEdge.y));
        if (upper_.x < lower_.x || code == tcTop || code == tcBottom) lower_.x = upper_.x = tracked_.x;
        if (upper_.y < lower_.y || code == tcLeft || code == tcRight) lower_.y = upper_.y = tracked_.y;
        ToggleSelectionMarks();
        UpdateWindow();
    }
    TPoint np(band.x + dragOffset_.x, band.y + dragOffset_.y);
    ClampSnapPoint(np);
    ClampPoint(np);
    if (first || np != tracked_) {
        EraseFeedback();
        GrowOutlines(np.x - tracked_.x, np.y - tracked_.y);
        tracked_ = np;
        DrawFeedback();
    }
    trackRect_ = OutlinesBounds();
    const TPoint o = BandOrigin();
    trackRect_.Offset(o.x, o.y);
}

void QRepView::TrackMove(bool first, TPoint band)
{
    const int code = trackCode_;
    if (first) {
        if (code == tcAnchor) OutlineHitObject();
        else CollectSelectionRects();
        const TRect t = hitObject_->TwipsRect();
        startPos_ = TPoint(t.left, t.top);
        tracked_ = TPoint(hitObject_->Pixels().x, hitObject_->Pixels().y);
        dragOffset_ = PressOffset();
        if (code == tcAnchor) {
            lower_ = TPoint(0, 0);
            upper_ = SnapPointDown(TPoint(kMaxTwips - t.Width(), kMaxTwips - t.Height()));
        } else {
            const TRect b = SelectionExtent();
            lower_ = SnapPointUp(TPoint(t.left - b.left, t.top - b.top));
            upper_ = SnapPointDown(TPoint(kMaxTwips - b.right + t.left, kMaxTwips - b.bottom + t.top));
        }
        if (upper_.x < lower_.x) lower_.x = upper_.x = tracked_.x;
        if (upper_.y < lower_.y) lower_.y = upper_.y = tracked_.y;
        if (code != tcAnchor) {
            if (SelectionLeavesHitBand()) lower_.y = upper_.y = tracked_.y;
            if (selection_.size() == 1) upper_.y = SectionLimitY(ActiveSectionIndex());
        }
        ToggleSelectionMarks();
        UpdateWindow();
    }
    TPoint np(band.x + dragOffset_.x, band.y + dragOffset_.y);
    if (!first && code != tcAnchor && selection_.size() == 1) {
        const int idx = SectionIndex(hitBand_);
        RPSection* target = nullptr;
        int d = 0;
        if (np.y < 0 && idx > 0) {
            RPSection* above = bands_[static_cast<std::size_t>(idx) - 1];
            d = hitBand_->BodyTop() - above->BodyTop();
            if (np.y + d <= SectionLimitY(idx - 1)) target = above;
        } else if (np.y > upper_.y && idx >= 0 && idx + 1 < static_cast<int>(bands_.size())) {
            RPSection* below = bands_[static_cast<std::size_t>(idx) + 1];
            d = hitBand_->BodyTop() - below->BodyTop();
            target = below;
        }
        if (target) {
            // The outlines keep their place on the screen: in the new band's pixels they lie d lower.
            np.y += d;
            tracked_.y += d;
            OffsetOutlines(0, d);
            upper_.y = SectionLimitY(SectionIndex(target));
            hitBand_ = target;
        }
    }
    ClampSnapPoint(np);
    ClampPoint(np);
    if (first || np != tracked_) {
        EraseFeedback();
        OffsetOutlines(np.x - tracked_.x, np.y - tracked_.y);
        tracked_ = np;
        DrawFeedback();
    }
    trackRect_ = OutlinesBounds();
    const TPoint o = BandOrigin();
    trackRect_.Offset(o.x, o.y);
}

void QRepView::TrackBorder(bool first, TPoint band)
{
    const int code = trackCode_;
    if (first) {
        const int bandHeight = hitBand_ ? hitBand_->BodyBottom() - hitBand_->BodyTop() : 0;
        const int width = report_.PixelWidth();
        tracked_ = code == trBorderCorner ? TPoint(width, bandHeight) : code == trReportEdge ? TPoint(width, 0) : TPoint(0, bandHeight);
        dragOffset_ = PressOffset();
        if (code == trReportEdge) {
            lower_ = TPoint(0, 0);
            upper_ = TPoint(Metrics().widestReport.cx, 0);
        } else if (code == trBandBorder) {
            lower_ = TPoint(0, 0);
            upper_ = TPoint(0, report_.GridY().FromTwips(kMaxTwips));
        } else {
            lower_ = TPoint(-kUnbounded, -kUnbounded);
            upper_ = TPoint(kUnbounded, kUnbounded);
        }
    }
    TPoint np(band.x + dragOffset_.x, band.y + dragOffset_.y);
    if (code == trReportEdge) np.y = 0;
    ClampSnapPoint(np);
    if (code != trBorderCorner) ClampPoint(np);
    const TPoint client = BandToClient(np);
    const TPoint guide(client.x, code == trReportEdge ? 0 : client.y);
    if (first || guide != guide_) {
        EraseFeedback();
        guide_ = guide;
        DrawFeedback();
    }
    tracked_ = np;
    const TPoint o = BandOrigin();
    trackRect_ = TRect(o.x, o.y, code == trBandBorder ? o.x : client.x, code == trReportEdge ? o.y : client.y);
}

void QRepView::TrackRubber(bool)
{
    EraseFeedback();
    rubber_ = TRect(pressPt_.x, pressPt_.y, curPt_.x, curPt_.y);
    DrawFeedback();
    trackRect_ = rubber_.Normalized();
}

void QRepView::TrackPlace(bool, TPoint band)
{
    // The frame stays inside the report area: no negative coordinates when it is dragged out to
    // the left of or above the view.
    TPoint np = band;
    ClampSnapPoint(np);
    if (placement_ == 0) return;
    if (placement_ == 1) {
        placement_ = 2;
        outlines_.assign(1, TRect(placeOrigin_.x, placeOrigin_.y, np.x, np.y));
        tracked_ = np;
        DrawFeedback();
    } else if (np != tracked_) {
        EraseFeedback();
        outlines_[0].right = np.x;
        outlines_[0].bottom = np.y;
        tracked_ = np;
        DrawFeedback();
    }
    trackRect_ = outlines_[0].Normalized();
    const TPoint o = BandOrigin();
    trackRect_.Offset(o.x, o.y);
}

// --- release ---

void QRepView::EvLButtonUp(unsigned, const TPoint&)
{
    if (dragState_ == 0) return;
    if (dragState_ != 4) {
        EndTrack(dragState_ != 1);
        if (dragState_ == 2 || dragState_ == 3) {
            if (hRuler_) hRuler_->HideMark();
            if (vRuler_) vRuler_->HideMark();
        }
    }
    KillTimer(kTimerAutoScroll);
    autoScrolling_ = false;
    ReleaseCapture();
    if (dragState_ != 4) CreateDroppedObject();
    dragState_ = 0;
    AttrUpdated(AttrUpdate::ApplyPending);
}

void QRepView::EndTrack(bool moved)
{
    const int code = trackCode_;
    if (IsResize(code)) {
        if (!moved) return;
        EraseFeedback();
        ToggleSelectionMarks();
        const TPoint d = PixelsToTwipsFrom(tracked_, startPos_);
        ResizeSelectionBy(flipX_, flipY_, d.x, d.y);
        SetReportWidth(-1);
        RefreshAllSections();
        AttrUpdated(AttrUpdate::ReloadValues);
        SetModified();
    } else if (IsMove(code)) {
        if (!moved) return;
        EraseFeedback();
        ToggleSelectionMarks();
        const TPoint d = PixelsToTwipsFrom(tracked_, startPos_);
        if (code == tcAnchor) MoveObjectBy(*hitObject_, d.x, d.y);
        else if (hitObject_->Owner() == hitBand_) MoveSelectionBy(d.x, d.y);
        else MoveObjectToBand(*hitBand_, *hitObject_, d.x, d.y);
        SetReportWidth(-1);
        RefreshSection(*hitBand_, -1);
        AttrUpdated(AttrUpdate::ReloadValues);
        SetModified();
    } else if (code == trBorderCorner) {
        if (!moved) return;
        EraseFeedback();
        SetReportWidth(report_.GridX().ToTwips(tracked_.x));
        if (hitBand_) RefreshSection(*hitBand_, report_.GridY().ToTwips(tracked_.y));
        if (selection_.empty()) SetActiveSection(hitBand_);
        AttrUpdated(AttrUpdate::RebuildRows);
        SetModified();
    } else if (code == trReportEdge) {
        if (!moved) return;
        EraseFeedback();
        const bool changed = SetReportWidth(report_.GridX().ToTwips(tracked_.x));
        AttrUpdated(AttrUpdate::ReloadValues);
        if (changed) SetModified();
    } else if (code == trBandBorder) {
        if (moved) {
            EraseFeedback();
            if (hitBand_ && RefreshSection(*hitBand_, report_.GridY().ToTwips(tracked_.y))) SetModified();
        }
        if (selection_.empty()) SetActiveSection(hitBand_);
        AttrUpdated(AttrUpdate::RebuildRows);
    } else if (IsRubber(code)) {
        if (moved) {
            EraseFeedback();
            const TRect r = rubber_.Normalized();
            for (RPSection* b : bands_) {
                const TPoint a = b->ClientToBand(TPoint(r.left, r.top));
                const TPoint z = b->ClientToBand(TPoint(r.right, r.bottom));
                const TRect br(a.x, a.y, z.x, z.y);
                for (const auto& o : b->Objects()) {
                    if (o->Selected() || !o->Intersects(br)) continue;
                    o->ToggleSelect();
                    selection_.push_back(o.get());
                }
            }
        }
        if (selection_.empty() && code == trBandBody) SetActiveSection(hitBand_);
        AttrUpdated(AttrUpdate::RebuildRows);
    } else if (code == trToolBand) {
        EraseFeedback();
    }
}

// --- placement ---

void QRepView::CreateDroppedObject()
{
    if (trackCode_ != trToolBand || !hitBand_) return;
    const bool framed = placement_ == 2;
    if (framed && tracked_ == placeOrigin_) return;
    std::unique_ptr<RPObject> obj;
    bool useFrame = framed;
    if (tool_ == 5) {
        PictureRequest req;
        req.ownSize = !framed;
        auto& dialog = GetRepViewShell().insertPictureDialog;
        if (!dialog) {
            MessageBeep(MB_ICONEXCLAMATION);
            return;
        }
        if (!dialog(*this, req)) return;
        if (req.fromClipboard) {
            std::vector<std::uint8_t> bytes;
            if (!Clipboard::GetData(kPictureFormat, bytes)) return;
            auto pic = std::make_unique<RPObjectPicture>();
            if (pic->LoadFromFileBytes(bytes) != 0) return;
            obj = std::move(pic);
        } else {
            std::string path;
            const std::string folder = LastPictureFolder();
            if (!GetOpenFileName(this, GetResString(kStrPictureTitle), GetResString(kStrPictureFilter), path)) return;
            const std::size_t slash = path.find_last_of('/');
            const std::size_t titleLen = slash == std::string::npos ? path.size() : path.size() - slash - 1;
            const std::size_t folderLen = path.size() - titleLen;
            if (titleLen >= 1 && folderLen >= 1 && folderLen <= 259) LastPictureFolder() = path.substr(0, folderLen);
            else LastPictureFolder().clear();
            (void)folder;
            obj = RPObjectPicture::FromMetafileFile(path);
            if (!obj) return;
        }
        useFrame = framed && !req.ownSize;
    } else {
        obj = RPObject::Create(tool_ - 1);
        if (!obj) return;
    }
    int direction = 0;
    if (tracked_.x != placeOrigin_.x && tracked_.y != placeOrigin_.y)
        direction = ((tracked_.x > placeOrigin_.x) == (tracked_.y > placeOrigin_.y)) ? 1 : -1;
    TPoint a = placeOrigin_, b = tracked_;
    if (b.x < a.x) std::swap(a.x, b.x);
    if (b.y < a.y) std::swap(a.y, b.y);
    const int left = std::max(0, report_.GridX().ToTwips(a.x));
    const int top = std::max(0, report_.GridY().ToTwips(a.y));
    int width = obj->TwipsRect().Width();
    int height = obj->TwipsRect().Height();
    if (useFrame) {
        width = report_.GridX().ToTwips(b.x) - left;
        height = report_.GridY().ToTwips(b.y) - top;
    }
    if (left + width > kMaxTwips || left + width < 0) width = kMaxTwips - left;
    if (top + height > kMaxTwips || top + height < 0) height = kMaxTwips - top;
    obj->SetPos(TPoint(left, top));
    obj->SetSize(TSize(width, height));
    if (tool_ == 3 && direction != 0) {
        if (auto* line = dynamic_cast<RPObjectLine*>(obj.get())) line->StoreSlant(direction < 0 ? 1 : 0);
    }
    RPSection& band = *hitBand_;
    RPObject* placed = band.AddObject(std::move(obj));
    RefreshSection(band, -1);
    SetReportWidth(-1);
    ClearSelection();
    SelectObject(placed);
    if (!locked_) PostCommand(cmRepPointer);
    SetModified();
}

// --- automatic scrolling ---

void QRepView::EvTimer(unsigned id)
{
    if (id == 1) {
        KillTimer(1);
        if (editorHideState_ == 3) {
            editorHideState_ = 0;
            AttrHide(false);
        }
        return;
    }
    if (id != kTimerAutoScroll) return;
    if (dragState_ == 0) {
        KillTimer(kTimerAutoScroll);
        autoScrolling_ = false;
        return;
    }
    AutoScrollStep();
}

void QRepView::AutoScrollStep()
{
    const DesignerMetrics& m = Metrics();
    const TPoint p = lastPointer_;
    if (freeRect_.Contains(p)) return;
    auto step = [](int distance, int smallest, int largest) {
        return std::min(std::max(distance * 2 / 3, smallest), largest);
    };
    int loX = 0, hiX = 0, loY = 0, hiY = 0;
    GetScrollRange(SB_HORZ, loX, hiX);
    GetScrollRange(SB_VERT, loY, hiY);
    int dx = 0, dy = 0;
    if (p.x < freeRect_.left) dx = -std::min(step(freeRect_.left - p.x, m.autoScrollMin.cx, m.autoScrollMax.cx), scrollX_);
    else if (p.x >= freeRect_.right) dx = std::min(step(p.x - freeRect_.right + 1, m.autoScrollMin.cx, m.autoScrollMax.cx), hiX - scrollX_);
    if (p.y < freeRect_.top) dy = -std::min(step(freeRect_.top - p.y, m.autoScrollMin.cy, m.autoScrollMax.cy), scrollY_);
    else if (p.y >= freeRect_.bottom) dy = std::min(step(p.y - freeRect_.bottom + 1, m.autoScrollMin.cy, m.autoScrollMax.cy), hiY - scrollY_);
    if (dx == 0 && dy == 0) {
        SetTimer(kTimerAutoScroll, 120);
        return;
    }
    scrolled_ = false;
    const int code = trackCode_;
    if (IsResize(code) || IsMove(code) || IsBorder(code) || IsRubber(code) || code == trToolBand) {
        EraseFeedback();
        if (dx) {
            SetScrollPos(SB_HORZ, scrollX_ + dx);
            dx = GetScrollPos(SB_HORZ) - scrollX_;
            scrollX_ += dx;
        }
        if (dy) {
            SetScrollPos(SB_VERT, scrollY_ + dy);
            dy = GetScrollPos(SB_VERT) - scrollY_;
            scrollY_ += dy;
        }
        Invalidate(false);
        UpdateWindow();
        pressPt_.x -= dx;
        pressPt_.y -= dy;
        scrolled_ = true;
        curPt_ = p;
        TrackMouse(false);
        DrawFeedback();
    }
    if (!scrolled_) dx = dy = 0;
    if (dragState_ == 2) dragState_ = 3;
    if (dx && hRuler_) hRuler_->RepaintWithMark(trackRect_.left, trackRect_.right);
    if (dy && vRuler_) vRuler_->RepaintWithMark(trackRect_.top, trackRect_.bottom);
    KillTimer(kTimerAutoScroll);
    SetTimer(kTimerAutoScroll, 120);
}

}  // namespace vyn
