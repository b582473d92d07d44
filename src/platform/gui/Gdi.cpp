#include "platform/gui/Gdi.h"

#include <QBuffer>
#include <QImageReader>

#include "platform/core/AtomicFile.h"
#include "platform/gui/Dc.h"
#include "platform/gui/GdiImpl.h"

namespace vyn {

// ---------------------------------------------------------------- TBitmap

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, bool monochrome)
{
    if (width <= 0 || height <= 0) return;
    auto impl = std::make_shared<Impl>();
    impl->image = QImage(width, height, QImage::Format_RGB32);
    if (impl->image.isNull()) return;  // too large to allocate: stays a null bitmap
    impl->image.fill(0xFF000000u);
    impl->monochrome = monochrome;
    impl_ = std::move(impl);
}

TBitmap TBitmap::FromMonoBits(int width, int height, const std::vector<std::uint8_t>& bits, int bytesPerRow)
{
    TBitmap bm(width, height, true);
    if (bm.IsNull()) return bm;
    if (bytesPerRow <= 0) bytesPerRow = ((width + 15) / 16) * 2;
    QImage& img = bm.impl_->image;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * bytesPerRow + x / 8;
            const bool one = at < bits.size() && (bits[at] & (0x80 >> (x % 8)));
            line[x] = one ? 0xFFFFFFFFu : 0xFF000000u;
        }
    }
    return bm;
}

TBitmap TBitmap::FromPixels(int width, int height, const std::vector<TColor>& pixels)
{
    TBitmap bm(width, height, false);
    if (bm.IsNull()) return bm;
    QImage& img = bm.impl_->image;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * width + x;
            line[x] = at < pixels.size() ? ToPixel(pixels[at]) : 0xFF000000u;
        }
    }
    return bm;
}

TBitmap TBitmap::FromFile(const std::string& path)
{
    QImageReader reader(QString::fromStdString(path));
    QImage img = reader.read();
    if (img.isNull()) return {};
    TBitmap bm;
    auto impl = std::make_shared<Impl>();
    impl->image = img.convertToFormat(QImage::Format_RGB32);
    impl->monochrome = false;
    bm.impl_ = std::move(impl);
    return bm;
}

int TBitmap::Width() const { return impl_ ? impl_->image.width() : 0; }
int TBitmap::Height() const { return impl_ ? impl_->image.height() : 0; }
bool TBitmap::IsMonochrome() const { return impl_ && impl_->monochrome; }

TColor TBitmap::GetPixel(int x, int y) const
{
    if (!impl_ || x < 0 || y < 0 || x >= impl_->image.width() || y >= impl_->image.height())
        return TColor(0xFFFFFFFFu);
    return FromPixel(reinterpret_cast<const QRgb*>(impl_->image.constScanLine(y))[x]);
}

void TBitmap::SetPixel(int x, int y, TColor c)
{
    if (!impl_ || x < 0 || y < 0 || x >= impl_->image.width() || y >= impl_->image.height()) return;
    QRgb p = ToPixel(c);
    if (impl_->monochrome) p = ToMonoPixel(p);
    reinterpret_cast<QRgb*>(impl_->image.scanLine(y))[x] = p;
}

TBitmap TBitmap::Clone() const
{
    TBitmap bm;
    if (!impl_) return bm;
    auto impl = std::make_shared<Impl>(*impl_);
    impl->image.detach();
    bm.impl_ = std::move(impl);
    return bm;
}

bool TBitmap::SavePng(const std::string& path) const
{
    return impl_ && SaveImagePng(impl_->image, path);
}

QImage* TBitmap::Image() const { return impl_ ? &impl_->image : nullptr; }

bool SaveImagePng(const QImage& image, const std::string& path)
{
    if (image.isNull()) return false;
    // Encoded whole first; the file is replaced only when every byte of it is written.
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    if (!image.save(&bytes, "PNG")) return false;
    return WriteFileAtomic(path, std::string_view(bytes.data().constData(), static_cast<std::size_t>(bytes.data().size())));
}

// ---------------------------------------------------------------- TBrush

TBrush::TBrush() = default;

TBrush::TBrush(TColor color) : style_(BS_SOLID), color_(color) {}

TBrush::TBrush(TColor color, int hatchStyle) : style_(BS_HATCHED), color_(color), hatch_(hatchStyle) {}

TBrush::TBrush(const TBitmap& pattern)
{
    if (pattern.IsNull()) return;  // no pattern: stays hollow
    style_ = BS_PATTERN;
    pattern_ = std::make_shared<TBitmap>(pattern.Clone());
}

const TBitmap& TBrush::GetPattern() const
{
    static const TBitmap none;
    return pattern_ ? *pattern_ : none;
}

bool TBrush::operator==(const TBrush& o) const
{
    return style_ == o.style_ && color_ == o.color_ && hatch_ == o.hatch_ && pattern_ == o.pattern_;
}

// ---------------------------------------------------------------- TFont

TFont::TFont() : lf_(GetDialogFont().GetObject()) {}

TFont::TFont(const TLogFont& lf) : lf_(lf)
{
    if (lf_.lfFaceName.size() >= static_cast<std::size_t>(LF_FACESIZE)) lf_.lfFaceName.resize(LF_FACESIZE - 1);
}

TFont::TFont(const std::string& face, int height, int width, int escapement, int orientation, int weight,
             std::uint8_t pitchAndFamily, std::uint8_t italic, std::uint8_t underline, std::uint8_t strikeout,
             std::uint8_t charSet)
{
    TLogFont lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeout;
    lf.lfCharSet = charSet;
    lf.lfPitchAndFamily = pitchAndFamily;
    lf.lfFaceName = face;
    *this = TFont(lf);
}

// ---------------------------------------------------------------- TRegion

TRegion::TRegion() : impl_(std::make_unique<Impl>()) {}
TRegion::TRegion(const TRect& rect) : impl_(std::make_unique<Impl>())
{
    const TRect r = rect.Normalized();
    if (!r.IsEmpty()) impl_->region = QRegion(ToQRect(r));
}
TRegion::TRegion(const TRegion& o) : impl_(std::make_unique<Impl>(*o.impl_)) {}
TRegion& TRegion::operator=(const TRegion& o)
{
    if (this != &o) *impl_ = *o.impl_;
    return *this;
}
TRegion::TRegion(TRegion&& o) noexcept : impl_(std::make_unique<Impl>()) { impl_.swap(o.impl_); }
TRegion& TRegion::operator=(TRegion&& o) noexcept
{
    impl_.swap(o.impl_);
    return *this;
}
TRegion::~TRegion() = default;

bool TRegion::IsEmpty() const { return impl_->region.isEmpty(); }
bool TRegion::Contains(TPoint p) const { return impl_->region.contains(QPoint(p.x, p.y)); }
bool TRegion::Touches(const TRect& r) const
{
    const TRect n = r.Normalized();
    return !n.IsEmpty() && impl_->region.intersects(ToQRect(n));
}
TRect TRegion::GetBox() const { return IsEmpty() ? TRect() : FromQRect(impl_->region.boundingRect()); }

std::vector<TRect> TRegion::GetRects() const
{
    std::vector<TRect> out;
    for (const QRect& r : impl_->region) out.push_back(FromQRect(r));
    return out;
}

int TRegion::Kind() const
{
    const int n = impl_->region.rectCount();
    return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

TRegion& TRegion::Offset(int dx, int dy)
{
    impl_->region.translate(dx, dy);
    return *this;
}

int TRegion::Combine(const TRegion& other, int mode)
{
    QRegion& r = impl_->region;
    switch (mode) {
    case RGN_AND: r = r.intersected(other.impl_->region); break;
    case RGN_OR: r = r.united(other.impl_->region); break;
    case RGN_XOR: r = r.xored(other.impl_->region); break;
    case RGN_DIFF: r = r.subtracted(other.impl_->region); break;
    case RGN_COPY: r = other.impl_->region; break;
    default: return RGN_ERROR;
    }
    return Kind();
}

bool TRegion::operator==(const TRegion& o) const { return impl_->region == o.impl_->region; }

// ---------------------------------------------------------------- stock objects

TPen GetStockPen(int id)
{
    switch (id) {
    case WHITE_PEN: return TPen(TColor::White, 0);
    case NULL_PEN: return TPen(TColor::Black, 0, PS_NULL);
    default: return TPen(TColor::Black, 0);
    }
}

TBrush GetStockBrush(int id)
{
    switch (id) {
    case WHITE_BRUSH: return TBrush(TColor::White);
    case LTGRAY_BRUSH: return TBrush(TColor(192, 192, 192));
    case GRAY_BRUSH: return TBrush(TColor(128, 128, 128));
    case DKGRAY_BRUSH: return TBrush(TColor(64, 64, 64));
    case BLACK_BRUSH: return TBrush(TColor::Black);
    default: return TBrush();
    }
}

// The stock fonts keep the faces and sizes the system's layouts were made with; Fonts.cpp
// maps the faces onto the fonts we ship.
TFont GetStockFont(int id)
{
    switch (id) {
    case ANSI_VAR_FONT:
    case DEFAULT_GUI_FONT:
        return TFont("MS Sans Serif", -11, 0, 0, 0, FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
    case ANSI_FIXED_FONT:
    case OEM_FIXED_FONT:
    case SYSTEM_FIXED_FONT:
        return TFont("Courier", -13, 0, 0, 0, FW_NORMAL, FIXED_PITCH | FF_MODERN);
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    default:
        return TFont("System", 16, 0, 0, 0, FW_BOLD, VARIABLE_PITCH | FF_SWISS);
    }
}

TFont GetDialogFont()
{
    // 8 points at 96 dpi
    static const TFont font(std::string("MS Sans Serif"), -11, 0, 0, 0, FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
    return font;
}

}  // namespace vyn
