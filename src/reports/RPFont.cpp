#include "reports/RPFont.h"

#include <algorithm>
#include <cstring>
#include <list>

#include "reports/ByteIO.h"

namespace vyn {

int gScreenPpiY = 96;

namespace {

// A list keeps every entry at its address while others come and go.
std::list<RPFontHndAndLog>& Cache()
{
    static std::list<RPFontHndAndLog> cache;
    return cache;
}

RPFontHndAndLog* Acquire(const RPLogFont& desc)
{
    for (auto& e : Cache()) {
        if (SameLogFont(&e.key, &desc) == 0) {
            ++e.refCount;
            return &e;
        }
    }
    RPFontHndAndLog e;
    e.key = desc;
    e.key.outPrecision = 0;
    e.key.clipPrecision = 0;
    e.key.quality = 1;  // draft
    e.key.pitchAndFamily = 0;
    e.screen = e.key;
    // Rounded like MulDiv, away from zero at the half.
    const long long num = static_cast<long long>(desc.height) * gScreenPpiY;
    const long long h = num >= 0 ? (num + 360) / 720 : -((-num + 360) / 720);
    e.screen.height = static_cast<std::int32_t>(-h);
    e.refCount = 1;
    Cache().push_back(e);
    return &Cache().back();
}

void Release(RPFontHndAndLog* entry)
{
    if (!entry) return;
    if (--entry->refCount > 0) return;
    auto& cache = Cache();
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        if (&*it == entry) {
            cache.erase(it);
            return;
        }
    }
}

}  // namespace

void RPLogFont::Store(std::uint8_t* out) const
{
    PutI32(out + 0, height);
    PutI32(out + 4, width);
    PutI32(out + 8, escapement);
    PutI32(out + 12, orientation);
    PutI32(out + 16, weight);
    out[20] = italic;
    out[21] = underline;
    out[22] = strikeOut;
    out[23] = charSet;
    out[24] = outPrecision;
    out[25] = clipPrecision;
    out[26] = quality;
    out[27] = pitchAndFamily;
    std::memcpy(out + 28, faceName.data(), 32);
}

RPLogFont RPLogFont::Load(const std::uint8_t* in)
{
    RPLogFont f;
    // Sizes are scaled to devices later; beyond these no font is drawn, and the scaling of a
    // hostile size must not overflow.
    f.height = std::clamp(GetI32(in + 0), -kMaxFontSize, kMaxFontSize);
    f.width = std::clamp(GetI32(in + 4), -kMaxFontSize, kMaxFontSize);
    f.escapement = GetI32(in + 8);
    f.orientation = GetI32(in + 12);
    f.weight = GetI32(in + 16);
    f.italic = in[20];
    f.underline = in[21];
    f.strikeOut = in[22];
    f.charSet = in[23];
    f.outPrecision = in[24];
    f.clipPrecision = in[25];
    f.quality = in[26];
    f.pitchAndFamily = in[27];
    std::memcpy(f.faceName.data(), in + 28, 32);
    return f;
}

std::string RPLogFont::Face() const
{
    std::size_t n = 0;
    while (n < faceName.size() && faceName[n] != 0) ++n;
    return std::string(faceName.data(), n);
}

void RPLogFont::SetFace(const std::string& face)
{
    faceName.fill(0);
    std::memcpy(faceName.data(), face.data(), std::min<std::size_t>(face.size(), 31));
}

const RPLogFont& DefaultReportFont()
{
    static const RPLogFont font = [] {
        RPLogFont f;
        f.height = 100;
        f.SetFace("Arial");
        return f;
    }();
    return font;
}

int SameLogFont(const RPLogFont* a, const RPLogFont* b)
{
    if (!a || !b) return 1;
    std::uint8_t ba[RPLogFont::kSize], bb[RPLogFont::kSize];
    a->Store(ba);
    b->Store(bb);
    if (std::memcmp(ba, bb, 24) != 0) return 1;
    return std::strncmp(reinterpret_cast<const char*>(ba + 28), reinterpret_cast<const char*>(bb + 28), 32) == 0 ? 0 : 1;
}

RPFont::RPFont(const RPLogFont* desc) : entry_(Acquire(desc ? *desc : DefaultReportFont())) {}

RPFont::~RPFont() { Release(entry_); }

RPFont::RPFont(const RPFont& other) : entry_(other.entry_) { ++entry_->refCount; }

RPFont& RPFont::operator=(const RPFont& other)
{
    if (entry_ != other.entry_) {
        ++other.entry_->refCount;
        Release(entry_);
        entry_ = other.entry_;
    }
    return *this;
}

int RPFont::Set(const RPLogFont& desc)
{
    if (SameLogFont(&entry_->key, &desc) == 0) return 0;
    RPFontHndAndLog* next = Acquire(desc);
    Release(entry_);
    entry_ = next;
    return 1;
}

namespace {
RPTextMeasurer gMeasurer = nullptr;
}

void SetScreenTextMeasurer(RPTextMeasurer measurer) { gMeasurer = measurer; }

TSize MeasureScreenText(const RPFont& font, const std::string& text)
{
    const RPLogFont& f = font.Entry().screen;
    if (gMeasurer) return gMeasurer(f, text);
    const int h = f.height < 0 ? -f.height : (f.height == 0 ? 13 : f.height);
    return TSize(static_cast<int>(text.size()) * h * 11 / 20, h * 23 / 20 + 1);
}

int RPFont::CacheSize() { return static_cast<int>(Cache().size()); }

const RPFontHndAndLog* RPFont::Find(const RPLogFont& desc)
{
    for (auto& e : Cache())
        if (SameLogFont(&e.key, &desc) == 0) return &e;
    return nullptr;
}

}  // namespace vyn
