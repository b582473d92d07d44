#include "reports/RPSection.h"

#include <algorithm>
#include <cstring>

#include "platform/core/StringTable.h"
#include "reports/ByteIO.h"
#include "reports/IRepView.h"
#include "reports/RPReport.h"
#include "reports/RecordIO.h"
#include "reports/ReportStrings.h"

namespace vyn {

std::string SectionName(int index)
{
    if (index < 0 || index > 4) return {};
    std::string s = GetResString(kStrSectionName + index);
    if (s.size() > 23) s.resize(23);
    return s;
}

RPSection::~RPSection() = default;

IRepView* RPSection::View() const { return report_.View(); }

void RPSection::MarkModified() const
{
    if (IRepView* v = View()) v->SetModified();
}

RPObject* RPSection::AddObject(std::unique_ptr<RPObject> object)
{
    RPObject* o = object.get();
    o->SetOwner(this);
    objects_.push_back(std::move(object));
    if (View()) {
        o->Layout();
        o->Invalidate();
    }
    return o;
}

std::unique_ptr<RPObject> RPSection::Detach(RPObject* object)
{
    auto it = std::find_if(objects_.begin(), objects_.end(), [object](const auto& p) { return p.get() == object; });
    if (it == objects_.end()) return nullptr;
    auto owned = std::move(*it);
    objects_.erase(it);
    owned->SetOwner(nullptr);
    return owned;
}

void RPSection::RemoveObject(RPObject* object)
{
    if (!object) return;
    object->Invalidate();
    Detach(object);
}

bool RPSection::SetBandHeight(int h)
{
    if (h < 0) h = height_;
    h = std::max(std::min(h, kMaxTwips), LowestExtent());
    if (h == height_) return false;
    height_ = h;
    return true;
}

int RPSection::RightmostExtent() const
{
    int m = 0;
    for (const auto& o : objects_) m = std::max(m, o->TwipsRect().right);
    return m;
}

int RPSection::LowestExtent() const
{
    int m = 0;
    for (const auto& o : objects_) m = std::max(m, o->TwipsRect().bottom);
    return m;
}

RPObject* RPSection::ObjectAt(TPoint p, bool flag, int& code) const
{
    RPObject* moved = nullptr;
    for (auto it = objects_.rbegin(); it != objects_.rend(); ++it) {
        const int c = (*it)->HandleHit(p, flag);
        if (c != tcNone && c != tcMove) {
            code = c;
            return it->get();
        }
        if (c == tcMove && !moved) moved = it->get();
    }
    if (moved) {
        code = tcMove;
        return moved;
    }
    for (auto it = objects_.rbegin(); it != objects_.rend(); ++it) {
        if ((*it)->BodyHit(p) == tcBody) {
            code = tcBody;
            return it->get();
        }
    }
    code = tcNone;
    return nullptr;
}

void RPSection::BringSelectionToTop()
{
    const int n = ObjectCount();
    for (int top = n - 1; top >= 1; --top) {
        int i = top;
        while (i >= 0 && !objects_[static_cast<std::size_t>(i)]->Selected()) --i;
        if (i < 0) return;
        if (i < top) {
            objects_[static_cast<std::size_t>(i)]->Invalidate();
            std::rotate(objects_.begin() + i, objects_.begin() + i + 1, objects_.begin() + top + 1);
        }
    }
}

void RPSection::SendSelectionToBottom()
{
    const int n = ObjectCount();
    for (int bottom = 0; bottom <= n - 2; ++bottom) {
        int i = bottom;
        while (i < n && !objects_[static_cast<std::size_t>(i)]->Selected()) ++i;
        if (i >= n) return;
        if (i > bottom) {
            objects_[static_cast<std::size_t>(i)]->Invalidate();
            std::rotate(objects_.begin() + bottom, objects_.begin() + i, objects_.begin() + i + 1);
        }
    }
}

// --- designer placement ---

void RPSection::Place(int y)
{
    IRepView* view = View();
    headerTop_ = y;
    bodyTop_ = y + gRepMetrics.titleHeight;
    bodyBottom_ = bodyTop_ + (view ? view->RepUnitsToPixelsY(height_) : 0);
    for (auto& o : objects_) o->Layout();
}

int RPSection::HeaderTop() const { return headerTop_ - (View() ? View()->ScrollY() : 0); }
int RPSection::BodyTop() const { return bodyTop_ - (View() ? View()->ScrollY() : 0); }
int RPSection::BodyBottom() const { return bodyBottom_ - (View() ? View()->ScrollY() : 0); }

TPoint RPSection::BandToClient(TPoint p) const
{
    IRepView* v = View();
    if (!v) return p;
    return TPoint(p.x - v->ScrollX(), p.y + bodyTop_ - v->ScrollY());
}

TPoint RPSection::ClientToBand(TPoint p) const
{
    IRepView* v = View();
    if (!v) return p;
    return TPoint(p.x + v->ScrollX(), p.y + v->ScrollY() - bodyTop_);
}

TRect RPSection::BandToClient(const TRect& r) const
{
    const TPoint a = BandToClient(TPoint(r.left, r.top));
    const TPoint b = BandToClient(TPoint(r.right, r.bottom));
    return TRect(a.x, a.y, b.x, b.y);
}

void RPSection::InvalidateBandRect(const TRect& r) const
{
    if (IRepView* v = View()) v->InvalidateClient(BandToClient(r));
}

void RPSection::InvalidateBody() const
{
    IRepView* v = View();
    if (!v || BodyBottom() <= BodyTop() + 1) return;
    v->InvalidateClient(TRect(0, BodyTop() + 1, v->ClientWidth(), BodyBottom()));
}

void RPSection::ToggleHighlight()
{
    highlighted_ = !highlighted_;
    if (IRepView* v = View()) v->InvalidateClient(TRect(0, HeaderTop(), v->ClientWidth(), BodyTop()));
}

// --- attributes ---

void RPSection::SetHeight(int v)
{
    if (v == height_) return;
    IRepView* view = View();
    if (!view) return;
    view->SetModified();
    view->RefreshSection(*this, v);
}

void RPSection::SetRGBBack(int v)
{
    IRepView* view = View();
    if (!view || v == GetRGBBack()) return;
    rgbBack_ = v;
    InvalidateBody();
    view->SetModified();
}

void RPSection::SetForceNewPage(int v)
{
    if (v < 0 || v > 3) v = 0;
    const bool changed = v != forceNewPage_;
    forceNewPage_ = v;
    if (changed) MarkModified();
}

void RPSection::SetHdFtPresent(int v)
{
    if (v < 0 || v > 3) v = 0;
    const bool changed = v != hdFtPresent_;
    hdFtPresent_ = v;
    if (changed) MarkModified();
}

bool RPSectionDetail::HasAttr(int code) const
{
    return RPSection::HasAttr(code) || code == acForceNewPage || code == acNOfColumns || code == acColumnLayout ||
           code == acDetailSamples;
}

void RPSectionDetail::SetNOfColumns(int v)
{
    v = std::clamp(v, 1, 24);
    if (v == nOfColumns_) return;
    nOfColumns_ = v;
    InvalidateBody();
    MarkModified();
}

void RPSectionDetail::SetColumnLayout(int v)
{
    v = Bool01(v);
    if (v == columnLayout_) return;
    columnLayout_ = v;
    MarkModified();
}

void RPSectionDetail::SetDetailSamples(int v)
{
    v = Bool01(v);
    if (v == detailSamples_) return;
    detailSamples_ = v;
    MarkModified();
}

// --- stream ---

int RPSection::Write(std::uint8_t* out) const
{
    if (!out) return kBandRecordSize;
    std::memset(out, 0, kBandRecordSize);
    PutU32(out, kBandRecordSize);
    PutU32(out + 4, static_cast<std::uint32_t>(Index()) | kBandRecordFlag);
    PutU32(out + 8, static_cast<std::uint32_t>(height_));
    PutU32(out + 12, static_cast<std::uint32_t>(GetRGBBack()));
    PutU16(out + 16, static_cast<std::uint32_t>(enabled_));
    PutU16(out + 18, static_cast<std::uint32_t>(forceNewPage_));
    PutU16(out + 20, static_cast<std::uint32_t>(hdFtPresent_));
    return kBandRecordSize;
}

int RPSection::Read(RecordReader& r)
{
    if (!r.Need(kBandRecordSize)) return -1;
    r.Seek(8);
    // Values as the band's own set operations allow them.
    height_ = std::min(static_cast<int>(r.U32() & 0xFFFF), kMaxTwips);
    rgbBack_ = r.I32();
    enabled_ = static_cast<int>(r.U16());
    const int force = static_cast<int>(r.U16());
    const int hdFt = static_cast<int>(r.U16());
    forceNewPage_ = force > 3 ? 0 : force;
    hdFtPresent_ = hdFt > 3 ? 0 : hdFt;
    r.Seek(kBandRecordSize);
    return kBandRecordSize;
}

int RPSectionDetail::Write(std::uint8_t* out) const
{
    if (!out) return kDetailRecordSize;
    std::memset(out, 0, kDetailRecordSize);
    RPSection::Write(out);
    PutU32(out, kDetailRecordSize);
    PutU16(out + 56, static_cast<std::uint32_t>(nOfColumns_));
    PutU16(out + 58, static_cast<std::uint32_t>(columnLayout_));
    PutU16(out + 60, static_cast<std::uint32_t>(detailSamples_));
    return kDetailRecordSize;
}

int RPSectionDetail::Read(RecordReader& r)
{
    if (!r.Need(kDetailRecordSize)) return -1;
    RPSection::Read(r);
    nOfColumns_ = std::clamp(static_cast<int>(r.U16()), 1, 24);
    columnLayout_ = Bool01(static_cast<int>(r.U16()));
    detailSamples_ = Bool01(static_cast<int>(r.U16()));
    r.Seek(kDetailRecordSize);
    return kDetailRecordSize;
}

}  // namespace vyn
