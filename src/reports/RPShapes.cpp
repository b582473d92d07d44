#include "reports/RPShapes.h"

#include <algorithm>
#include <cstring>

#include "platform/core/AtomicFile.h"
#include "reports/ByteIO.h"
#include "reports/IRepView.h"
#include "reports/RPDefaultAttrs.h"
#include "reports/RPRun.h"
#include "reports/RPSection.h"
#include "reports/RecordIO.h"

namespace vyn {

namespace {

bool InRect(const TRect& r, TPoint p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

TRect Box(const RPPixelGeometry& g) { return TRect(g.x, g.y, g.x + g.width + 1, g.y + g.height + 1); }

bool Misses(const TRect& box, const TRect& r)
{
    return r.right <= box.left || r.left >= box.right || r.bottom <= box.top || r.top >= box.bottom;
}

}  // namespace

// --- rectangle ---

RPObjectRectangle::RPObjectRectangle()
{
    const RPRectangleDefaAttr& d = RectangleDefaults();
    width_ = d.width;
    height_ = d.height;
    StoreStyles(d.borderStyle, d.borderWidth, d.borderLnStyle, d.backStyle);
    rgbBorder_ = d.rgbBorder;
    rgbBack_ = d.rgbBack;
}

std::unique_ptr<RPObjInst> RPObjectRectangle::CreateInstance(RPSecInst& owner)
{
    return std::make_unique<RPObjInstShape>(owner, *this);
}

int RPObjectRectangle::HandleHit(TPoint p, bool) const
{
    if (!selected_) return tcNone;
    const int code = HandleCode(p);
    if (code == tcInside) return backStyle_ == 1 ? tcMove : tcNone;
    return code;
}

int RPObjectRectangle::BodyHit(TPoint p) const
{
    if (selected_ || !InRect(px_.bodyHit, p)) return tcNone;
    return (backStyle_ == 1 || OnHandleFrame(p)) ? tcBody : tcNone;
}

bool RPObjectRectangle::Intersects(const TRect& r) const
{
    const TRect box = Box(px_);
    if (Misses(box, r)) return false;
    if (backStyle_ == 1) return true;
    const TRect interior(px_.colL1, px_.rowT1, px_.colR0, px_.rowB0);
    return !(r.left >= interior.left && r.right <= interior.right && r.top >= interior.top && r.bottom <= interior.bottom);
}

// --- line ---

RPObjectLine::RPObjectLine()
{
    const RPLineDefaAttr& d = LineDefaults();
    width_ = d.width;
    height_ = d.height;
    borderWidth_ = d.borderWidth;
    borderLnStyle_ = d.borderLnStyle;
    slant_ = d.slant;
    rgbBorder_ = d.rgbBorder;
}

std::unique_ptr<RPObjInst> RPObjectLine::CreateInstance(RPSecInst& owner)
{
    return std::make_unique<RPObjInstShape>(owner, *this);
}

bool RPObjectLine::HasAttr(int code) const
{
    return (code >= 0 && code <= 3) || (code >= 5 && code <= 7) || code == acSource || code == acCondition ||
           code == acLineSlant;
}

void RPObjectLine::SetLineSlant(int v)
{
    v = Bool01(v);
    if (v == slant_) return;
    slant_ = v;
    Relayout();
    MarkModified();
}

int RPObjectLine::Write(std::uint8_t* out) const
{
    const int common = WriteCommon(nullptr);
    if (!out) return common + 4;
    WriteCommon(out);
    PutU32(out + common, static_cast<std::uint32_t>(slant_));
    PutU32(out, static_cast<std::uint32_t>(common + 4));
    return common + 4;
}

int RPObjectLine::Read(RecordReader& r)
{
    if (RPObject::Read(r) < 0) return -1;
    slant_ = static_cast<int>(r.U32());
    return r.Ok() ? static_cast<int>(r.Pos()) : -1;
}

int RPObjectLine::Assign(const RPObject& other)
{
    if (RPObject::Assign(other) != 0) return 1;
    slant_ = static_cast<const RPObjectLine&>(other).slant_;
    return 0;
}

void RPObjectLine::Layout()
{
    RPObject::Layout();
    IRepView* view = View();
    if (!view) return;
    if (borderLnStyle_ == 0 && borderWidth_ != 0) {
        penWidth_ = std::max(2, view->RepUnitsToPixelsX(borderWidth_ * 20));
        const int g = (penWidth_ + 1) / 2;
        px_.outer = TRect(px_.outer.left - g, px_.outer.top - g, px_.outer.right + g + 1, px_.outer.bottom + g + 1);
    } else {
        penWidth_ = 0;
    }
    hasTerms_ = px_.width != 0 && px_.height != 0;
    if (!hasTerms_) return;
    const long long w = px_.width, h = px_.height;
    a_ = slant_ == 1 ? h : -h;
    b_ = w;
    // Through (x, y) and (x + w, y + h) for slant 0, (x, y + h) and (x + w, y) for slant 1.
    const long long x0 = px_.x, y0 = slant_ == 1 ? px_.y + h : px_.y;
    c_ = -(a_ * x0 + b_ * y0);
    norm_ = a_ * a_ + b_ * b_;
    shift_ = 0;
    while (norm_ >= 32768) {
        norm_ /= 4;
        ++shift_;
    }
    if (norm_ == 0) norm_ = 1;
    const long long t = (gRepMetrics.handleOut + gRepMetrics.handleIn + 1) / 2;
    tol2_ = t * t;
}

bool RPObjectLine::NearLine(TPoint p) const
{
    if (!hasTerms_) return true;
    const long long d = (a_ * p.x + b_ * p.y + c_) >> shift_;
    return d * d / norm_ <= tol2_;
}

int RPObjectLine::HandleHit(TPoint p, bool flag) const
{
    const int code = RPObject::HandleHit(p, flag);
    if (code == tcMove && hasTerms_ && !NearLine(p)) return tcNone;
    return code;
}

int RPObjectLine::BodyHit(TPoint p) const
{
    if (selected_ || !InRect(Box(px_), p)) return tcNone;
    return (px_.width == 0 || px_.height == 0 || NearLine(p)) ? tcBody : tcNone;
}

bool RPObjectLine::Intersects(const TRect& r) const
{
    if (Misses(Box(px_), r)) return false;
    if (px_.width == 0 || px_.height == 0) return true;
    auto side = [this](int x, int y) { return a_ * x + b_ * y + c_; };
    const long long s[4] = {side(r.left, r.top), side(r.right, r.top), side(r.left, r.bottom), side(r.right, r.bottom)};
    bool pos = false, neg = false;
    for (long long v : s) {
        if (v >= 0) pos = true;
        if (v <= 0) neg = true;
    }
    return pos && neg;
}

// --- picture ---

RPObjectPicture::RPObjectPicture()
{
    const RPPictureDefaAttr& d = PictureDefaults();
    width_ = d.width;
    height_ = d.height;
    StoreStyles(d.borderStyle, d.borderWidth, d.borderLnStyle, d.backStyle);
    rgbBorder_ = d.rgbBorder;
    rgbBack_ = d.rgbBack;
    sizeMode_ = d.sizeMode;
}

std::unique_ptr<RPObjInst> RPObjectPicture::CreateInstance(RPSecInst& owner)
{
    return std::make_unique<RPObjInstShape>(owner, *this);
}

bool RPObjectPicture::HasAttr(int code) const { return RPObject::HasAttr(code) || code == acSizeMode; }

void RPObjectPicture::SetSizeMode(int v)
{
    if (v < 0 || v > 2 || v == sizeMode_) return;
    sizeMode_ = v;
    Relayout();
    MarkModified();
}

void RPObjectPicture::SetPicture(std::vector<std::uint8_t> bits, int mapMode, int xExt, int yExt)
{
    bits_ = std::move(bits);
    mapMode_ = mapMode;
    xExt_ = xExt;
    yExt_ = yExt;
}

int RPObjectPicture::Write(std::uint8_t* out) const
{
    const int common = WriteCommon(nullptr);
    const int size = (common + static_cast<int>(bits_.size()) + 39) & ~3;
    if (!out) return size;
    WriteCommon(out);
    std::uint8_t* p = out + common;
    std::memset(p, 0, static_cast<std::size_t>(size - common));
    PutU16(p, 36);
    PutU32(p + 4, static_cast<std::uint32_t>(bits_.size()));
    PutU16(p + 8, static_cast<std::uint32_t>(sizeMode_));
    PutU16(p + 10, static_cast<std::uint32_t>(mapMode_));
    PutI32(p + 12, xExt_);
    PutI32(p + 16, yExt_);
    if (!bits_.empty()) std::memcpy(p + 36, bits_.data(), bits_.size());
    PutU32(out, static_cast<std::uint32_t>(size));
    return size;
}

int RPObjectPicture::Read(RecordReader& r)
{
    if (RPObject::Read(r) < 0) return -1;
    const std::size_t start = r.Pos();
    r.U16();
    r.U16();
    const std::uint32_t size = r.U32();
    sizeMode_ = static_cast<int>(r.U16());
    mapMode_ = static_cast<int>(r.U16());
    xExt_ = r.I32();
    yExt_ = r.I32();
    r.Seek(start + 36);
    const std::uint8_t* bits = r.Take(size);
    if (!bits) return -1;
    bits_.assign(bits, bits + size);
    // The record's own size, padding included.
    return static_cast<int>(r.Size());
}

int RPObjectPicture::Assign(const RPObject& other)
{
    if (RPObject::Assign(other) != 0) return 1;
    const auto& o = static_cast<const RPObjectPicture&>(other);
    sizeMode_ = o.sizeMode_;
    SetPicture(o.bits_, o.mapMode_, o.xExt_, o.yExt_);
    return 0;
}

int RPObjectPicture::LoadFromFileBytes(const std::vector<std::uint8_t>& file)
{
    if (file.size() < 22 + 18) return 1;
    const std::uint8_t* h = file.data();
    std::uint32_t sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= GetU16(h + 2 * i);
    if (sum != GetU16(h + 20)) return 1;
    const auto s16 = [h](int off) { return static_cast<int>(static_cast<std::int16_t>(GetU16(h + off))); };
    const int left = s16(6), top = s16(8), right = s16(10), bottom = s16(12);
    const int upi = static_cast<int>(GetU16(h + 14));
    if (upi == 0) return 1;
    // The metafile header's size field (offset 6 of it) counts 16-bit words.
    const std::uint64_t words = GetU32(h + 22 + 6);
    const std::uint64_t bytes = words * 2;
    if (bytes < 18 || bytes > file.size() - 22) return 1;
    const int xExt = static_cast<int>(static_cast<long long>(right - left) * 2540 / upi);
    const int yExt = static_cast<int>(static_cast<long long>(bottom - top) * 2540 / upi);
    if (xExt < 1 || yExt < 1) return 1;
    const int w = static_cast<int>(static_cast<long long>(xExt) * 1440 / 2540);
    const int ht = static_cast<int>(static_cast<long long>(yExt) * 1440 / 2540);
    if (w < 1 || ht < 1) return 1;
    SetPicture(std::vector<std::uint8_t>(file.begin() + 22, file.begin() + 22 + static_cast<std::ptrdiff_t>(bytes)), 8, xExt, yExt);
    width_ = w;
    height_ = ht;
    return 0;
}

std::unique_ptr<RPObject> RPObjectPicture::FromMetafileFile(const std::string& path)
{
    std::string content;
    if (!ReadWholeFile(path, content)) return nullptr;
    const std::vector<std::uint8_t> bytes(content.begin(), content.end());
    auto picture = std::make_unique<RPObjectPicture>();
    if (picture->LoadFromFileBytes(bytes) != 0) return nullptr;
    return picture;
}

// --- page break ---

RPObjectPgBreak::RPObjectPgBreak()
{
    left_ = 0;
    top_ = 360;
    width_ = 720;
    height_ = 0;
}

std::unique_ptr<RPObjInst> RPObjectPgBreak::CreateInstance(RPSecInst&) { return nullptr; }

void RPObjectPgBreak::SetPos(TPoint p)
{
    left_ = 0;
    top_ = p.y;
}

void RPObjectPgBreak::SetSize(TSize)
{
    width_ = 720;
    height_ = 0;
}

void RPObjectPgBreak::Layout()
{
    RPObject::Layout();
    if (!View()) return;
    px_.outer = TRect(0, px_.y - 1, px_.x + px_.width + 1, px_.y + 2);
}

int RPObjectPgBreak::HandleHit(TPoint p, bool flag) const { return RPObject::HandleHit(p, flag) != tcNone ? tcAnchor : tcNone; }

}  // namespace vyn
