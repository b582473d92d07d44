#include "reports/RPObject.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "platform/core/StringTable.h"
#include "reports/ByteIO.h"
#include "reports/IRepView.h"
#include "reports/RPObjectGraph.h"
#include "reports/RPObjectTextBox.h"
#include "reports/RPReport.h"
#include "reports/RPSection.h"
#include "reports/RPShapes.h"
#include "reports/RecordIO.h"
#include "reports/ReportStrings.h"

namespace vyn {

RPRepMetrics gRepMetrics;

std::string ObjectTypeName(int type)
{
    if (type < 0 || type > 5) return {};
    std::string s = GetResString(kStrObjectTypeName + type);
    if (s.size() > 23) s.resize(23);
    return s;
}

RPObject::RPObject() { source_.Clear(srDefault); }

RPObject::~RPObject() = default;

std::unique_ptr<RPObject> RPObject::Create(int type)
{
    switch (type) {
    case otTextBox: return std::make_unique<RPObjectTextBox>();
    case otRectangle: return std::make_unique<RPObjectRectangle>();
    case otLine: return std::make_unique<RPObjectLine>();
    case otGraph: return std::make_unique<RPObjectGraph>();
    case otPicture: return std::make_unique<RPObjectPicture>();
    case otPageBreak: return std::make_unique<RPObjectPgBreak>();
    default: return nullptr;
    }
}

std::unique_ptr<RPObject> RPObject::CreateFromRecord(const std::uint8_t* record, std::size_t size, int& bandIndex)
{
    bandIndex = -1;
    if (size < 8) return nullptr;
    auto object = Create(static_cast<int>(GetU32(record + 4) & 0xFFFF));
    if (!object) return nullptr;
    RecordReader r(record, size);
    if (object->Read(r) < 0) return nullptr;
    bandIndex = object->readBandIndex_;
    return object;
}

std::unique_ptr<RPObject> RPObject::Clone(const RPObject& source)
{
    auto copy = Create(source.GetType());
    if (!copy || copy->Assign(source) != 0) return nullptr;
    return copy;
}

int RPObject::Assign(const RPObject& o)
{
    if (o.GetType() != GetType()) return 1;
    condition_ = o.condition_;
    source_ = o.source_;
    left_ = o.left_;
    top_ = o.top_;
    width_ = o.width_;
    height_ = o.height_;
    borderStyle_ = o.borderStyle_;
    borderWidth_ = o.borderWidth_;
    borderLnStyle_ = o.borderLnStyle_;
    backStyle_ = o.backStyle_;
    rgbBorder_ = o.rgbBorder_;
    rgbBack_ = o.rgbBack_;
    rgbFore_ = o.rgbFore_;
    return 0;
}

void RPObject::PlaceTwips(int left, int top, int width, int height)
{
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void RPObject::StoreStyles(int borderStyle, int borderWidth, int lnStyle, int backStyle)
{
    borderStyle_ = borderStyle;
    borderWidth_ = borderWidth;
    borderLnStyle_ = lnStyle;
    backStyle_ = backStyle;
}

void RPObject::StoreColours(int border, int back, int fore)
{
    rgbBorder_ = border;
    rgbBack_ = back;
    rgbFore_ = fore;
}

// --- stream ---

int RPObject::CommonSize() const { return kObjectCommonSize + CountedStringSize(condition_) + SourceRecordSize(source_); }

int RPObject::Write(std::uint8_t* out) const { return WriteCommon(out); }

int RPObject::WriteCommon(std::uint8_t* out) const
{
    const int size = CommonSize();
    if (!out) return size;
    std::memset(out, 0, kObjectCommonSize);
    PutU32(out, static_cast<std::uint32_t>(size));
    PutU32(out + 4, static_cast<std::uint32_t>(GetType()) | kObjectRecordFlag);
    PutU32(out + 24, owner_ ? static_cast<std::uint32_t>(owner_->Index()) : 0u);
    PutI32(out + 28, left_);
    PutI32(out + 32, top_);
    PutI32(out + 36, width_);
    PutI32(out + 40, height_);
    out[44] = static_cast<std::uint8_t>(borderStyle_);
    out[45] = static_cast<std::uint8_t>(borderWidth_);
    out[46] = static_cast<std::uint8_t>(borderLnStyle_);
    out[47] = static_cast<std::uint8_t>(backStyle_);
    PutU32(out + 48, static_cast<std::uint32_t>(ResolveColour(rgbBorder_)));
    PutU32(out + 52, static_cast<std::uint32_t>(ResolveColour(rgbBack_)));
    PutU32(out + 56, static_cast<std::uint32_t>(ForeColour()));
    int pos = kObjectCommonSize;
    pos += WriteCountedString(out + pos, condition_);
    pos += WriteSourceRecord(out + pos, source_);
    return pos;
}

int RPObject::Read(RecordReader& r)
{
    if (!r.Need(kObjectCommonSize)) return -1;
    r.Seek(24);
    readBandIndex_ = static_cast<int>(r.U32());
    left_ = r.I32();
    top_ = r.I32();
    width_ = r.I32();
    height_ = r.I32();
    // Every length of a report lies within 0..31680 twips; a record beyond that is damaged or
    // hostile, and the sums and scales taken of it later must not overflow.
    for (int v : {left_, top_, width_, height_})
        if (v < 0 || v > kMaxTwips) return -1;
    borderStyle_ = static_cast<int>(r.U8());
    borderWidth_ = static_cast<int>(r.U8());
    borderLnStyle_ = static_cast<int>(r.U8());
    backStyle_ = static_cast<int>(r.U8());
    rgbBorder_ = r.I32();
    rgbBack_ = r.I32();
    rgbFore_ = r.I32();
    if (!ReadCountedString(r, condition_)) return -1;
    if (!ReadSourceRecord(r, source_)) return -1;
    return static_cast<int>(r.Pos());
}

// --- owner, view, modification ---

RPReport* RPObject::Report() const { return owner_ ? &owner_->Report() : nullptr; }

IRepView* RPObject::View() const { return owner_ ? owner_->View() : nullptr; }

void RPObject::MarkModified() const
{
    if (IRepView* v = View()) v->SetModified();
}

void RPObject::Invalidate() const
{
    if (!owner_ || !View()) return;
    // The marks reach beyond the object: the handles, and further still the grip at its
    // top-left corner, which would otherwise stay behind on the screen.
    TRect r = px_.outer;
    for (const TRect& h : {TRect(px_.colL0, px_.rowT0, px_.colR1, px_.rowB1), px_.anchor})
        r = TRect(std::min(r.left, h.left), std::min(r.top, h.top), std::max(r.right, h.right), std::max(r.bottom, h.bottom));
    owner_->InvalidateBandRect(r);
}

void RPObject::Relayout()
{
    Invalidate();
    Layout();
    Invalidate();
}

void RPObject::ToggleSelect()
{
    if (!owner_) return;
    selected_ = !selected_;
    Invalidate();
}

void RPObject::MoveToSection(RPSection& band)
{
    if (!owner_ || owner_ == &band) return;
    auto self = owner_->Detach(this);
    if (!self) return;
    band.AddObject(std::move(self));
}

// --- attributes ---

bool RPObject::HasAttr(int code) const { return (code >= 0 && code <= 9) || code == acSource || code == acCondition; }

void RPObject::SetLeft(int v)
{
    IRepView* view = View();
    if (!view || v == left_) return;
    view->MoveObjectBy(*this, v - left_, 0);
    view->SetModified();
    view->SetReportWidth(-1);
    view->RefreshSection(*owner_, -1);
}

void RPObject::SetTop(int v)
{
    IRepView* view = View();
    if (!view || v == top_) return;
    view->MoveObjectBy(*this, 0, v - top_);
    view->SetModified();
    view->SetReportWidth(-1);
    view->RefreshSection(*owner_, -1);
}

void RPObject::SetWidth(int v)
{
    IRepView* view = View();
    if (!view || v == width_) return;
    view->ResizeObjectBy(*this, false, false, v - width_, 0);
    view->SetModified();
    view->SetReportWidth(-1);
    view->RefreshSection(*owner_, -1);
}

void RPObject::SetHeight(int v)
{
    IRepView* view = View();
    if (!view || v == height_) return;
    view->ResizeObjectBy(*this, false, false, 0, v - height_);
    view->SetModified();
    view->SetReportWidth(-1);
    view->RefreshSection(*owner_, -1);
}

void RPObject::SetBorderStyle(int v)
{
    v = Bool01(v);
    if (v == borderStyle_) return;
    borderStyle_ = v;
    Relayout();
    MarkModified();
}

void RPObject::SetBorderWidth(int v)
{
    v = BorderWidthOrZero(v);
    if (v == borderWidth_) return;
    borderWidth_ = v;
    Relayout();
    MarkModified();
}

void RPObject::SetBorderLnStyle(int v)
{
    v = LnStyleOrZero(v);
    if (v == borderLnStyle_) return;
    borderLnStyle_ = v;
    Relayout();
    MarkModified();
}

void RPObject::SetBackStyle(int v)
{
    v = Bool01(v);
    if (v == backStyle_) return;
    backStyle_ = v;
    Invalidate();
    MarkModified();
}

void RPObject::SetRGBBorder(int v)
{
    v = ColourBits(v);
    if (v == rgbBorder_) return;
    rgbBorder_ = v;
    Invalidate();
    MarkModified();
}

void RPObject::SetRGBBack(int v)
{
    v = ColourBits(v);
    if (v == rgbBack_) return;
    rgbBack_ = v;
    Invalidate();
    MarkModified();
}

void RPObject::SetCondition(const std::string& v)
{
    if (v == condition_) return;
    condition_ = v;
    MarkModified();
}

void RPObject::SetSource(const QRSource& v)
{
    if (v == source_) return;
    source_ = v;
    MarkModified();
}

void RPObject::SetPos(TPoint p)
{
    left_ = p.x;
    top_ = p.y;
}

void RPObject::SetSize(TSize s)
{
    width_ = s.cx;
    height_ = s.cy;
}

// --- designer geometry ---

void RPObject::Layout()
{
    IRepView* view = View();
    if (!view) return;
    RPPixelGeometry& g = px_;
    g.x = view->RepUnitsToPixelsX(left_);
    g.y = view->RepUnitsToPixelsY(top_);
    g.width = view->RepUnitsToPixelsX(left_ + width_) - g.x;
    g.height = view->RepUnitsToPixelsY(top_ + height_) - g.y;
    const int x = g.x, y = g.y, w = g.width, h = g.height;
    if (borderStyle_ < 1 || borderLnStyle_ != 0 || borderWidth_ < 1) {
        g.outer = TRect(x, y, x + w + 1, y + h + 1);
        if (g.outer.Width() >= 3 && g.outer.Height() >= 3)
            g.inner = TRect(g.outer.left + 1, g.outer.top + 1, g.outer.right - 1, g.outer.bottom - 1);
        else
            g.inner = TRect(0, 0, 0, 0);
    } else {
        const int tx = std::max(2, view->RepUnitsToPixelsX(borderWidth_ * 20));
        const int ty = std::max(2, view->RepUnitsToPixelsY(borderWidth_ * 20));
        g.outer = TRect(x - (tx - 1) / 2, y - (ty - 1) / 2, x + w + tx / 2 + 1, y + h + ty / 2 + 1);
        g.inner = TRect(g.outer.left + tx, g.outer.top + ty, g.outer.right - tx, g.outer.bottom - ty);
        if (g.inner.Width() < 2 || g.inner.Height() < 2) g.inner = TRect(0, 0, 0, 0);
    }
    const RPRepMetrics& m = gRepMetrics;
    auto axis = [&m](int p, int len, int& a0, int& a1, int& c0, int& c1, int& b0, int& b1) {
        a0 = p - m.handleOut;
        a1 = p + m.handleIn + 1;
        b0 = p + len - m.handleIn;
        b1 = p + len + m.handleOut + 1;
        c0 = p + (len - m.handleCentre + 1) / 2;
        c1 = c0 + m.handleCentre;
        if (c0 < a1 || c1 > b0) c0 = c1 = b0;
    };
    axis(x, w, g.colL0, g.colL1, g.colC0, g.colC1, g.colR0, g.colR1);
    axis(y, h, g.rowT0, g.rowT1, g.rowM0, g.rowM1, g.rowB0, g.rowB1);
    g.anchor = TRect(x - m.anchorOut, y - m.anchorOut, std::min(x + m.anchorIn + 1, g.colR1), std::min(y + m.anchorIn + 1, g.rowB1));
    g.bodyHit = TRect(x - m.handleIn, y - m.handleIn, x + w + m.handleIn + 1, y + h + m.handleIn + 1);
}

static bool InRect(const TRect& r, TPoint p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

int RPObject::HandleCode(TPoint p) const
{
    const RPPixelGeometry& g = px_;
    if (p.x >= g.colR1 || p.y >= g.rowB1) return tcNone;
    if (p.x < g.colL0 || p.y < g.rowT0) return InRect(g.anchor, p) ? tcAnchor : tcNone;
    const bool inR = p.x >= g.colR0, inL = p.x < g.colL1;
    const bool inC = p.x >= g.colC0 && p.x < g.colC1;
    const bool inB = p.y >= g.rowB0, inT = p.y < g.rowT1;
    const bool inM = p.y >= g.rowM0 && p.y < g.rowM1;
    if (inR) return inB ? tcBottomRight : inT ? tcTopRight : inM ? tcRight : tcMove;
    if (inB) return inL ? tcBottomLeft : inC ? tcBottom : tcMove;
    if (inT) return inC ? tcTop : (p.x < g.anchor.right ? tcAnchor : tcMove);
    if (!inL) return InRect(g.anchor, p) ? tcAnchor : tcInside;
    return inM ? tcLeft : InRect(g.anchor, p) ? tcAnchor : tcMove;
}

bool RPObject::OnHandleFrame(TPoint p) const
{
    const RPPixelGeometry& g = px_;
    return p.x < g.colL1 || p.x >= g.colR0 || p.y < g.rowT1 || p.y >= g.rowB0;
}

int RPObject::HandleHit(TPoint p, bool) const
{
    if (!selected_) return tcNone;
    const int code = HandleCode(p);
    return code == tcInside ? tcMove : code;
}

int RPObject::BodyHit(TPoint p) const { return (!selected_ && InRect(px_.bodyHit, p)) ? tcBody : tcNone; }

bool RPObject::Intersects(const TRect& r) const
{
    const RPPixelGeometry& g = px_;
    return r.right > g.x && r.left < g.x + g.width + 1 && r.bottom > g.y && r.top < g.y + g.height;
}

}  // namespace vyn
