#include "platform/gui/Raster.h"

#include <algorithm>
#include <cstdlib>

#include "platform/gui/GdiImpl.h"

namespace vyn {

TCoverage::TCoverage(const QRect& box) : box_(box.isValid() ? box : QRect())
{
    bits_.assign(static_cast<std::size_t>(box_.width()) * std::max(0, box_.height()), 0);
}

void TCoverage::FillRect(const QRect& r, std::uint8_t v)
{
    const QRect a = r & box_;
    for (int y = a.top(); y <= a.bottom(); ++y)
        std::fill_n(bits_.begin() + Index(a.left(), y), a.width(), v);
}

void TCoverage::Subtract(const TCoverage& other)
{
    const QRect a = box_ & other.box_;
    for (int y = a.top(); y <= a.bottom(); ++y)
        for (int x = a.left(); x <= a.right(); ++x)
            if (other.bits_[other.Index(x, y)]) bits_[Index(x, y)] = 0;
}

void TCoverage::Render(const std::function<void(QPainter&)>& paint)
{
    if (box_.isEmpty()) return;
    QImage mask(box_.size(), QImage::Format_Alpha8);
    if (mask.isNull()) return;
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.translate(-box_.left(), -box_.top());
        paint(p);
    }
    for (int y = 0; y < mask.height(); ++y) {
        const uchar* line = mask.constScanLine(y);
        std::uint8_t* out = bits_.data() + static_cast<std::size_t>(y) * box_.width();
        for (int x = 0; x < mask.width(); ++x)
            if (line[x] >= 128) out[x] = 1;
    }
}

std::uint32_t Rop2(std::uint32_t p, std::uint32_t d, int rop2)
{
    // The mix mode minus one is a truth table indexed by (pen bit << 1) | destination bit.
    const unsigned t = static_cast<unsigned>(rop2 - 1) & 0x0F;
    switch (t) {
    case 12: return p;       // R2_COPYPEN
    case 6: return p ^ d;    // R2_XORPEN
    case 5: return ~d;       // R2_NOT
    case 9: return ~(p ^ d); // R2_NOTXORPEN
    case 10: return d;       // R2_NOP
    default: break;
    }
    std::uint32_t r = 0;
    if (t & 1) r |= ~p & ~d;
    if (t & 2) r |= ~p & d;
    if (t & 4) r |= p & ~d;
    if (t & 8) r |= p & d;
    return r;
}

std::uint32_t Rop3(std::uint32_t p, std::uint32_t s, std::uint32_t d, std::uint8_t t)
{
    switch (t) {
    case 0xCC: return s;
    case 0xF0: return p;
    case 0x66: return s ^ d;
    case 0x88: return s & d;
    case 0xEE: return s | d;
    case 0x5A: return p ^ d;
    case 0x55: return ~d;
    case 0x33: return ~s;
    case 0x00: return 0;
    case 0xFF: return 0xFFFFFFFFu;
    default: break;
    }
    // The table is indexed by (pattern << 2) | (source << 1) | destination.
    std::uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (!(t & (1 << i))) continue;
        r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r;
}

void ApplyRop2(QImage& image, bool mono, const QRegion& clip, const TCoverage& cov, std::uint8_t value,
               const TPaintSource& src, int rop2)
{
    const QRect limit = cov.Box() & image.rect();
    if (limit.isEmpty()) return;
    for (const QRect& cr : clip) {
        const QRect a = cr & limit;
        for (int y = a.top(); y <= a.bottom(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = a.left(); x <= a.right(); ++x) {
                if (cov.Get(x, y) != value) continue;
                QRgb p;
                if (!src.At(x, y, p)) continue;
                if (mono) p = ToMonoPixel(p);
                line[x] = (Rop2(p, line[x], rop2) & 0x00FFFFFFu) | 0xFF000000u;
            }
        }
    }
}

void RasterLine(TCoverage& cov, int x0, int y0, int x1, int y1, const std::vector<int>& dashes, int& phase)
{
    const long long dx = std::llabs(static_cast<long long>(x1) - x0);
    const long long dy = std::llabs(static_cast<long long>(y1) - y0);
    const int sx = x1 >= x0 ? 1 : -1;
    const int sy = y1 >= y0 ? 1 : -1;
    const long long n = std::max(dx, dy);
    long long total = 0;
    for (int d : dashes) total += d;
    const QRect box = cov.Box();
    if (box.isEmpty() || n == 0) return;
    // Only the steps whose major coordinate falls in the box are walked, so a line far
    // longer than the surface costs no more than one across it.
    long long first = 0, last = n - 1;
    {
        const long long lo = dx >= dy ? box.left() : box.top();
        const long long hi = dx >= dy ? box.right() : box.bottom();
        const long long start = dx >= dy ? x0 : y0;
        const int step = dx >= dy ? sx : sy;
        long long a = step > 0 ? lo - start : start - hi;
        long long b = step > 0 ? hi - start : start - lo;
        first = std::max(first, a);
        last = std::min(last, b);
        if (first > last) {
            if (total > 0) phase = static_cast<int>((phase + n % total) % total);
            return;
        }
    }
    if (total > 0) phase = static_cast<int>((phase + first % total) % total);
    for (long long i = first; i <= last; ++i) {
        // The minor coordinate is rounded to the nearest pixel, halves away from the start.
        long long x, y;
        if (dx >= dy) {
            x = x0 + sx * i;
            y = y0 + sy * ((2 * i * dy + dx) / (2 * dx));
        } else {
            y = y0 + sy * i;
            x = x0 + sx * ((2 * i * dx + dy) / (2 * dy));
        }
        std::uint8_t v = 1;
        if (total > 0) {
            long long at = phase % total;
            bool on = true;
            for (int d : dashes) {
                if (at < d) break;
                at -= d;
                on = !on;
            }
            v = on ? 1 : 2;
            phase = static_cast<int>((phase + 1) % total);
        }
        if (x >= box.left() && x <= box.right() && y >= box.top() && y <= box.bottom())
            cov.Set(static_cast<int>(x), static_cast<int>(y), v);
    }
    if (total > 0) phase = static_cast<int>((phase + (n - 1 - last) % total) % total);
}

}  // namespace vyn
