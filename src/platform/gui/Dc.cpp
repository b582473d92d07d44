#include "platform/gui/Dc.h"

#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPageLayout>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <unordered_map>
#include <utility>

#include "platform/gui/DcTextRecord.h"
#include "platform/gui/Fonts.h"
#include "platform/gui/GdiImpl.h"
#include "platform/gui/Raster.h"

namespace vyn {

namespace {

struct TRecordedRuns {
    bool on = false;
    std::unordered_map<qint64, std::vector<TTextRun>> byImage;
};

TRecordedRuns& Recorded()
{
    static TRecordedRuns runs;
    return runs;
}

// The image's data, not the object: a window's image painted on keeps it, a copy gets its own.
qint64 ImageKey(const QImage& image) { return image.cacheKey() >> 32; }

// Device coordinates are kept well inside the int range so that no product overflows.
constexpr long long kDevLimit = 1LL << 27;

int ClampDev(long long v) { return static_cast<int>(std::clamp(v, -kDevLimit, kDevLimit)); }

// a * b / c rounded to nearest, halves away from zero (MulDiv).
long long MulDiv(long long a, long long b, long long c)
{
    if (c == 0) return 0;
    const long long n = a * b;
    const long long q = n / c, r = n % c;
    if (2 * std::llabs(r) >= std::llabs(c)) return q + (((n < 0) != (c < 0)) ? -1 : 1);
    return q;
}

// Dash lengths of the cosmetic pen styles, in device pixels.
std::vector<int> DashesOf(int style)
{
    switch (style) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    default: return {};
    }
}

// 8 x 8 hatch patterns, one byte a row, most significant bit leftmost.
const std::uint8_t kHatch[6][8] = {
    {0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},  // HS_HORIZONTAL
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // HS_FDIAGONAL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // HS_BDIAGONAL
    {0x08, 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08},  // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // HS_DIAGCROSS
};

}  // namespace

struct TDC::State {
    TPen pen = GetStockPen(BLACK_PEN);
    TBrush brush = GetStockBrush(WHITE_BRUSH);
    TFont font = GetStockFont(SYSTEM_FONT);
    TColor text = TColor::Black;
    TColor bk = TColor::White;
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    unsigned align = TA_LEFT | TA_TOP;
    int fillMode = ALTERNATE;
    TPoint brushOrg;
    int mapMode = MM_TEXT;
    TPoint wOrg, vOrg;
    TSize wExt{1, 1}, vExt{1, 1};
    std::optional<QRegion> clip;  // device coordinates
    TPoint cp;                    // logical
};

struct TDC::Impl {
    QImage* image = nullptr;
    bool mono = false;
    QPaintDevice* device = nullptr;
    std::unique_ptr<QPainter> ownPainter;
    QPainter* painter = nullptr;
    State st;
    std::vector<State> saved;
    TPen origPen = GetStockPen(BLACK_PEN);
    TBrush origBrush = GetStockBrush(WHITE_BRUSH);
    TFont origFont = GetStockFont(SYSTEM_FONT);
    // The part of the surface that may be drawn on at all (device); no clip region lifts it.
    std::optional<QRect> systemClip;

    // ---------------------------------------------------------------- mapping
    int DpiX() const { return image ? kScreenDpi : device ? device->logicalDpiX() : kScreenDpi; }
    int DpiY() const { return image ? kScreenDpi : device ? device->logicalDpiY() : kScreenDpi; }
    int DevX(long long x) const
    {
        if (st.mapMode == MM_TEXT) return ClampDev(x - st.wOrg.x + st.vOrg.x);
        return ClampDev(MulDiv(x - st.wOrg.x, st.vExt.cx, st.wExt.cx) + st.vOrg.x);
    }
    int DevY(long long y) const
    {
        if (st.mapMode == MM_TEXT) return ClampDev(y - st.wOrg.y + st.vOrg.y);
        return ClampDev(MulDiv(y - st.wOrg.y, st.vExt.cy, st.wExt.cy) + st.vOrg.y);
    }
    int LogX(long long x) const
    {
        if (st.mapMode == MM_TEXT) return ClampDev(x - st.vOrg.x + st.wOrg.x);
        return ClampDev(MulDiv(x - st.vOrg.x, st.wExt.cx, st.vExt.cx) + st.wOrg.x);
    }
    int LogY(long long y) const
    {
        if (st.mapMode == MM_TEXT) return ClampDev(y - st.vOrg.y + st.wOrg.y);
        return ClampDev(MulDiv(y - st.vOrg.y, st.wExt.cy, st.vExt.cy) + st.wOrg.y);
    }
    TPoint Dev(TPoint p) const { return {DevX(p.x), DevY(p.y)}; }
    // Lengths (no origin), magnitudes.
    int DevLenX(long long l) const { return static_cast<int>(std::llabs(MulDiv(l, st.vExt.cx, st.wExt.cx))); }
    int DevLenY(long long l) const { return static_cast<int>(std::llabs(MulDiv(l, st.vExt.cy, st.wExt.cy))); }
    int LogLenX(long long l) const { return static_cast<int>(std::llabs(MulDiv(l, st.wExt.cx, st.vExt.cx))); }
    int LogLenY(long long l) const { return static_cast<int>(std::llabs(MulDiv(l, st.wExt.cy, st.vExt.cy))); }
    // A logical rectangle on the device, right and bottom exclusive, normalised.
    QRect DevRect(int l, int t, int r, int b) const
    {
        const TRect d = TRect(DevX(l), DevY(t), DevX(r), DevY(b)).Normalized();
        return ToQRect(d);
    }

    void FixIsotropic()
    {
        if (st.mapMode != MM_ISOTROPIC || st.wExt.cx == 0 || st.wExt.cy == 0) return;
        // Equal units on both axes: the viewport extent that would make a unit larger is cut.
        const double sx = std::abs(static_cast<double>(st.vExt.cx) / st.wExt.cx) / DpiX();
        const double sy = std::abs(static_cast<double>(st.vExt.cy) / st.wExt.cy) / DpiY();
        if (sx > sy) {
            const long long v = MulDiv(MulDiv(std::llabs(st.wExt.cx), std::llabs(st.vExt.cy), std::llabs(st.wExt.cy)), DpiX(), DpiY());
            st.vExt.cx = static_cast<int>(st.vExt.cx < 0 ? -v : v);
        } else if (sy > sx) {
            const long long v = MulDiv(MulDiv(std::llabs(st.wExt.cy), std::llabs(st.vExt.cx), std::llabs(st.wExt.cx)), DpiY(), DpiX());
            st.vExt.cy = static_cast<int>(st.vExt.cy < 0 ? -v : v);
        }
        if (st.vExt.cx == 0) st.vExt.cx = 1;
        if (st.vExt.cy == 0) st.vExt.cy = 1;
    }

    // ---------------------------------------------------------------- surface and clip
    QRect Surface() const
    {
        if (image) return image->rect();
        if (device) return QRect(0, 0, device->width(), device->height());
        return {};
    }
    QRegion Clip() const
    {
        const QRect s = systemClip ? Surface() & *systemClip : Surface();
        return st.clip ? st.clip->intersected(s) : QRegion(s);
    }
    void SetPainterClip() const
    {
        if (!painter) return;
        painter->setWorldTransform(QTransform());
        if (st.clip && systemClip) painter->setClipRegion(st.clip->intersected(*systemClip));
        else if (st.clip) painter->setClipRegion(*st.clip);
        else if (systemClip) painter->setClipRect(*systemClip);
        else painter->setClipping(false);
    }

    // ---------------------------------------------------------------- colours
    QRgb Color(TColor c) const
    {
        QRgb p = ToPixel(c);
        return mono ? ToMonoPixel(p) : p;
    }
    // What a brush paints, with the DC's colours and brush origin. Hollow: nullopt.
    std::optional<TPaintSource> BrushSource(const TBrush& brush) const
    {
        TPaintSource s;
        switch (brush.GetStyle()) {
        case BS_SOLID: s.solid = Color(brush.GetColor()); return s;
        case BS_HATCHED: {
            const int h = std::clamp(brush.GetHatch(), 0, 5);
            s.pattern = true;
            for (int i = 0; i < 64; ++i) {
                const bool line = kHatch[h][i / 8] & (0x80 >> (i % 8));
                s.pat[i] = line ? Color(brush.GetColor()) : Color(st.bk);
                s.skip[i] = !line && st.bkMode == TRANSPARENT;
            }
            break;
        }
        case BS_PATTERN: {
            const TBitmap& bm = brush.GetPattern();
            s.pattern = true;
            for (int i = 0; i < 64; ++i) {
                const int x = bm.Width() ? (i % 8) % bm.Width() : 0;
                const int y = bm.Height() ? (i / 8) % bm.Height() : 0;
                const TColor c = bm.GetPixel(x, y);
                if (bm.IsMonochrome()) s.pat[i] = c == TColor::White ? Color(st.bk) : Color(st.text);
                else s.pat[i] = Color(c);
            }
            break;
        }
        default: return std::nullopt;
        }
        s.orgX = st.brushOrg.x;
        s.orgY = st.brushOrg.y;
        return s;
    }
    QBrush QtBrush(const TBrush& brush) const
    {
        auto src = BrushSource(brush);
        if (!src) return Qt::NoBrush;
        if (!src->pattern) return QBrush(QColor::fromRgb(src->solid));
        QImage tile(8, 8, QImage::Format_ARGB32);
        for (int i = 0; i < 64; ++i) tile.setPixel(i % 8, i / 8, src->skip[i] ? 0u : src->pat[i]);
        return QBrush(tile);
    }

    // ---------------------------------------------------------------- pens
    int PenWidth() const  // device pixels, at least 1
    {
        return std::max(1, DevLenX(st.pen.GetWidth()));
    }
    bool PenIsThin() const { return PenWidth() <= 1; }
    QPen QtPen() const
    {
        if (st.pen.IsNull()) return Qt::NoPen;
        QPen p(QColor::fromRgb(ToPixel(st.pen.GetColor())));
        const int w = PenWidth();
        p.setWidth(w <= 1 ? 0 : w);
        p.setCapStyle(Qt::RoundCap);
        p.setJoinStyle(Qt::RoundJoin);
        if (w <= 1) {
            switch (st.pen.GetStyle()) {
            case PS_DASH: p.setStyle(Qt::DashLine); break;
            case PS_DOT: p.setStyle(Qt::DotLine); break;
            case PS_DASHDOT: p.setStyle(Qt::DashDotLine); break;
            case PS_DASHDOTDOT: p.setStyle(Qt::DashDotDotLine); break;
            default: break;
            }
        }
        return p;
    }

    // Pen pixels of an open or closed run of device points (one-pixel pens rasterised here,
    // wider ones stroked by QPainter with round ends).
    void PenCoverage(TCoverage& cov, const std::vector<TPoint>& pts, bool closed) const
    {
        if (st.pen.IsNull() || pts.empty()) return;
        if (PenIsThin()) {
            const std::vector<int> dashes = DashesOf(st.pen.GetStyle());
            int phase = 0;
            for (std::size_t i = 0; i + 1 < pts.size(); ++i)
                RasterLine(cov, pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, dashes, phase);
            if (closed && pts.size() > 1)
                RasterLine(cov, pts.back().x, pts.back().y, pts.front().x, pts.front().y, dashes, phase);
            return;
        }
        const int w = PenWidth();
        cov.Render([&](QPainter& p) {
            QPen pen(Qt::white);
            pen.setWidth(w);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            p.setPen(pen);
            QPolygonF poly;
            for (const TPoint& pt : pts) poly << QPointF(pt.x + 0.5, pt.y + 0.5);
            if (closed) p.drawPolygon(poly);
            else p.drawPolyline(poly);
        });
    }
    // The box a shape with the current pen can reach, limited to what can be seen.
    QRect Reach(const QRect& shape) const
    {
        const int m = PenWidth();
        return shape.adjusted(-m, -m, m, m) & Clip().boundingRect();
    }
    // Pen pixels in the pen colour, dash gaps in the background colour when opaque.
    void ApplyPen(const TCoverage& cov) const
    {
        if (!image || st.pen.IsNull()) return;
        const QRegion clip = Clip();
        ApplyRop2(*image, mono, clip, cov, 1, TPaintSource::Solid(ToPixel(st.pen.GetColor())), st.rop2);
        if (st.bkMode == OPAQUE) ApplyRop2(*image, mono, clip, cov, 2, TPaintSource::Solid(ToPixel(st.bk)), st.rop2);
    }
    void ApplyBrush(const TCoverage& cov, const TBrush& brush, int rop2) const
    {
        if (!image) return;
        if (auto src = BrushSource(brush)) ApplyRop2(*image, mono, Clip(), cov, 1, *src, rop2);
    }

    // A filled and outlined shape: the fill is what `fill` renders, the outline what `outline`
    // gives; where both meet the outline wins, so no pixel is touched twice.
    void Shape(const QRect& box, const std::function<void(TCoverage&)>& fill,
               const std::function<void(TCoverage&)>& outline) const
    {
        const QRect reach = Reach(box);
        if (reach.isEmpty()) return;
        TCoverage pen(reach);
        if (!st.pen.IsNull()) outline(pen);
        if (!st.brush.IsNull()) {
            TCoverage in(reach);
            fill(in);
            in.Subtract(pen);
            ApplyBrush(in, st.brush, st.rop2);
        }
        ApplyPen(pen);
    }

    // ---------------------------------------------------------------- block transfers
    // Every pixel of dst (device) gets rop(pattern, source, destination); the source pixel of
    // a destination pixel comes from `source` (nullptr: none needed).
    void Blit(const QRect& dst, const std::function<bool(int, int, QRgb&)>* source, std::uint32_t rop) const
    {
        const std::uint8_t table = static_cast<std::uint8_t>(rop >> 16);
        const bool needP = ((table >> 4) & 0x0F) != (table & 0x0F);
        std::optional<TPaintSource> pat;
        if (needP) {
            pat = BrushSource(st.brush);
            if (!pat) pat = TPaintSource::Solid(0xFF000000u);  // a hollow brush acts as black
        }
        const QRegion clip = Clip();
        for (const QRect& cr : clip) {
            const QRect a = cr & dst;
            for (int y = a.top(); y <= a.bottom(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(image->scanLine(y));
                for (int x = a.left(); x <= a.right(); ++x) {
                    QRgb s = 0, p = 0;
                    if (source && !(*source)(x, y, s)) continue;
                    if (pat && !pat->At(x, y, p)) p = line[x];
                    if (mono) p = ToMonoPixel(p);
                    line[x] = (Rop3(p, s, line[x], table) & 0x00FFFFFFu) | 0xFF000000u;
                }
            }
        }
    }

    // ---------------------------------------------------------------- fonts
    std::shared_ptr<const TRealizedFont> Font() const
    {
        const TLogFont& lf = st.font.GetObject();
        const long long h = MulDiv(lf.lfHeight, std::llabs(st.vExt.cy), std::llabs(st.wExt.cy));
        const long long w = MulDiv(lf.lfWidth, std::llabs(st.vExt.cx), std::llabs(st.wExt.cx));
        int dh = static_cast<int>(std::clamp(h, -100000LL, 100000LL));
        if (lf.lfHeight != 0 && dh == 0) dh = lf.lfHeight < 0 ? -1 : 1;  // never the default size by rounding
        return RealizeFont(lf, dh, static_cast<int>(std::clamp(w, -100000LL, 100000LL)), device);
    }

    // Draws a run at a device position (top left of its cell) with device advances; the cell
    // background is filled first when the mode is opaque. clipRect (device) narrows the clip.
    void DrawRun(int left, int top, const std::u32string& text, const std::vector<int>& adv,
                 const TRealizedFont& font, const QRect* clipRect, bool opaque) const
    {
        const TTextMetric& tm = font.Metrics();
        int width = 0;
        for (int a : adv) width += a;
        QRegion clip = Clip();
        if (clipRect) clip &= *clipRect;
        if (Recorded().on && image) {
            const QRect run = (clip & QRect(QPoint(std::min(left, left + width), top), QSize(std::abs(width), tm.tmHeight)))
                                  .boundingRect();
            if (!run.isEmpty())
                Recorded().byImage[ImageKey(*image)].push_back(
                    {QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size())).toStdString(),
                     TRect(run.left(), run.top(), run.right() + 1, run.bottom() + 1)});
        }
        if (opaque && width > 0) {
            const QRect cell = QRect(QPoint(std::min(left, left + width), top), QSize(std::abs(width), tm.tmHeight));
            if (image) {
                TCoverage cov(cell & clip.boundingRect());
                cov.FillRect(cell);
                ApplyRop2(*image, mono, clip, cov, 1, TPaintSource::Solid(ToPixel(st.bk)), R2_COPYPEN);
            } else if (painter) {
                painter->save();
                painter->setClipRegion(clip);
                painter->fillRect(cell, QColor::fromRgb(ToPixel(st.bk)));
                painter->restore();
            }
        }
        QPainter local;
        QPainter* p = painter;
        if (image) {
            if (!local.begin(image)) return;
            p = &local;
        }
        if (!p) return;
        p->save();
        p->setWorldTransform(QTransform());
        p->setClipRegion(clip);
        p->setRenderHint(QPainter::TextAntialiasing, false);
        p->setRenderHint(QPainter::Antialiasing, false);
        p->setFont(font.Font());
        p->setPen(QColor::fromRgb(Color(st.text)));
        int x = left;
        const int baseline = top + tm.tmAscent;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char32_t c = text[i];
            if (c != U' ' && c != U'\t') p->drawText(QPoint(x, baseline), QString::fromUcs4(&c, 1));
            x += i < adv.size() ? adv[i] : 0;
        }
        if (font.Font().underline() || font.Font().strikeOut()) {
            // Drawn over the whole run, spaces included, as the font's own lines would be.
            const int thick = std::max(1, tm.tmHeight / 14);
            auto bar = [&](int y) { p->fillRect(QRect(std::min(left, x), y, std::abs(x - left), thick), p->pen().color()); };
            if (font.Font().underline()) bar(baseline + std::max(1, tm.tmDescent / 2));
            if (font.Font().strikeOut()) bar(baseline - tm.tmAscent / 3);
        }
        p->restore();
    }
};

// ==================================================================== construction

TDC::TDC() : impl_(std::make_unique<Impl>()) { LoadShippedFonts(); }

TDC::TDC(QImage& image) : TDC()
{
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    impl_->image = &image;
}

TDC::TDC(QPaintDevice* device) : TDC()
{
    impl_->device = device;
    if (device) {
        impl_->ownPainter = std::make_unique<QPainter>();
        if (impl_->ownPainter->begin(device)) impl_->painter = impl_->ownPainter.get();
        else impl_->ownPainter.reset();
    }
}

TDC::TDC(QPainter* painter) : TDC()
{
    impl_->painter = painter;
    impl_->device = painter ? painter->device() : nullptr;
}

void RecordTextRuns(bool on)
{
    Recorded().on = on;
    Recorded().byImage.clear();
}

std::vector<TTextRun> RecordedTextRuns(const QImage& image)
{
    const auto it = Recorded().byImage.find(ImageKey(image));
    return it == Recorded().byImage.end() ? std::vector<TTextRun>() : it->second;
}

TDC::~TDC()
{
    if (impl_->ownPainter) impl_->ownPainter->end();
}

void TDC::SetImage(QImage* image, bool monochrome)
{
    impl_->image = image;
    impl_->mono = monochrome;
}

// ==================================================================== objects and attributes

TPen TDC::SelectObject(const TPen& pen) { return std::exchange(impl_->st.pen, pen); }
TBrush TDC::SelectObject(const TBrush& brush) { return std::exchange(impl_->st.brush, brush); }
TFont TDC::SelectObject(const TFont& font) { return std::exchange(impl_->st.font, font); }

void TDC::SelectStockObject(int id)
{
    if (id >= WHITE_BRUSH && id <= NULL_BRUSH) SelectObject(GetStockBrush(id));
    else if (id >= WHITE_PEN && id <= NULL_PEN) SelectObject(GetStockPen(id));
    else SelectObject(GetStockFont(id));
}

void TDC::RestorePen() { impl_->st.pen = impl_->origPen; }
void TDC::RestoreBrush() { impl_->st.brush = impl_->origBrush; }
void TDC::RestoreFont() { impl_->st.font = impl_->origFont; }
void TDC::RestoreObjects()
{
    RestorePen();
    RestoreBrush();
    RestoreFont();
}
const TPen& TDC::GetPen() const { return impl_->st.pen; }
const TBrush& TDC::GetBrush() const { return impl_->st.brush; }
const TFont& TDC::GetFont() const { return impl_->st.font; }

TColor TDC::SetTextColor(TColor c) { return std::exchange(impl_->st.text, c); }
TColor TDC::GetTextColor() const { return impl_->st.text; }
TColor TDC::SetBkColor(TColor c) { return std::exchange(impl_->st.bk, c); }
TColor TDC::GetBkColor() const { return impl_->st.bk; }
int TDC::SetBkMode(int mode)
{
    if (mode != OPAQUE && mode != TRANSPARENT) return 0;
    return std::exchange(impl_->st.bkMode, mode);
}
int TDC::GetBkMode() const { return impl_->st.bkMode; }
int TDC::SetROP2(int mode)
{
    if (mode < R2_BLACK || mode > R2_WHITE) return 0;
    return std::exchange(impl_->st.rop2, mode);
}
int TDC::GetROP2() const { return impl_->st.rop2; }
unsigned TDC::SetTextAlign(unsigned align) { return std::exchange(impl_->st.align, align); }
unsigned TDC::GetTextAlign() const { return impl_->st.align; }
int TDC::SetPolyFillMode(int mode)
{
    if (mode != ALTERNATE && mode != WINDING) return 0;
    return std::exchange(impl_->st.fillMode, mode);
}
int TDC::GetPolyFillMode() const { return impl_->st.fillMode; }
TPoint TDC::SetBrushOrg(TPoint org) { return std::exchange(impl_->st.brushOrg, org); }
TPoint TDC::GetBrushOrg() const { return impl_->st.brushOrg; }

// ==================================================================== mapping

int TDC::SetMapMode(int mode)
{
    State& s = impl_->st;
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
    const int old = s.mapMode;
    s.mapMode = mode;
    int perInch = 0;
    switch (mode) {
    case MM_TEXT: s.wExt = {1, 1}; s.vExt = {1, 1}; break;
    case MM_LOMETRIC: perInch = 254; break;
    case MM_HIMETRIC: perInch = 2540; break;
    case MM_LOENGLISH: perInch = 100; break;
    case MM_HIENGLISH: perInch = 1000; break;
    case MM_TWIPS: perInch = 1440; break;
    case MM_ISOTROPIC: impl_->FixIsotropic(); break;
    default: break;  // anisotropic keeps the extents it finds
    }
    if (perInch) {
        // Fixed units, y growing upwards.
        s.wExt = {perInch, perInch};
        s.vExt = {impl_->DpiX(), -impl_->DpiY()};
    }
    return old;
}
int TDC::GetMapMode() const { return impl_->st.mapMode; }

bool TDC::SetViewportOrg(const TPoint& org, TPoint* old)
{
    if (old) *old = impl_->st.vOrg;
    impl_->st.vOrg = org;
    return true;
}
bool TDC::SetWindowOrg(const TPoint& org, TPoint* old)
{
    if (old) *old = impl_->st.wOrg;
    impl_->st.wOrg = org;
    return true;
}
bool TDC::SetViewportExt(const TSize& ext, TSize* old)
{
    State& s = impl_->st;
    if (old) *old = s.vExt;
    if (s.mapMode != MM_ISOTROPIC && s.mapMode != MM_ANISOTROPIC) return true;  // fixed modes keep theirs
    if (ext.cx == 0 || ext.cy == 0) return false;
    s.vExt = ext;
    impl_->FixIsotropic();
    return true;
}
bool TDC::SetWindowExt(const TSize& ext, TSize* old)
{
    State& s = impl_->st;
    if (old) *old = s.wExt;
    if (s.mapMode != MM_ISOTROPIC && s.mapMode != MM_ANISOTROPIC) return true;
    if (ext.cx == 0 || ext.cy == 0) return false;
    s.wExt = ext;
    impl_->FixIsotropic();
    return true;
}
bool TDC::SetDeviceViewport(const TPoint& org, const TSize& ext)
{
    TDC::SetViewportOrg(org);
    return TDC::SetViewportExt(ext);
}
bool TDC::OffsetViewportOrg(const TPoint& delta, TPoint* old)
{
    return SetViewportOrg(impl_->st.vOrg + delta, old);
}
bool TDC::OffsetWindowOrg(const TPoint& delta, TPoint* old) { return SetWindowOrg(impl_->st.wOrg + delta, old); }
TPoint TDC::GetViewportOrg() const { return impl_->st.vOrg; }
TSize TDC::GetViewportExt() const { return impl_->st.vExt; }
TPoint TDC::GetWindowOrg() const { return impl_->st.wOrg; }
TSize TDC::GetWindowExt() const { return impl_->st.wExt; }

bool TDC::DPtoLP(TPoint* points, int count) const
{
    if (!points || count < 0) return false;
    for (int i = 0; i < count; ++i) points[i] = {impl_->LogX(points[i].x), impl_->LogY(points[i].y)};
    return true;
}
bool TDC::LPtoDP(TPoint* points, int count) const
{
    if (!points || count < 0) return false;
    for (int i = 0; i < count; ++i) points[i] = impl_->Dev(points[i]);
    return true;
}
bool TDC::DPtoLP(TRect& r) const
{
    TPoint p[2] = {r.TopLeft(), r.BottomRight()};
    DPtoLP(p, 2);
    r = TRect(p[0], p[1]);
    return true;
}
bool TDC::LPtoDP(TRect& r) const
{
    TPoint p[2] = {r.TopLeft(), r.BottomRight()};
    LPtoDP(p, 2);
    r = TRect(p[0], p[1]);
    return true;
}

// ==================================================================== lines and shapes

bool TDC::MoveTo(int x, int y, TPoint* old)
{
    if (old) *old = impl_->st.cp;
    impl_->st.cp = {x, y};
    return true;
}
TPoint TDC::GetCurrentPosition() const { return impl_->st.cp; }

bool TDC::LineTo(int x, int y)
{
    const TPoint from = impl_->st.cp;
    impl_->st.cp = {x, y};
    const TPoint pts[2] = {from, {x, y}};
    return Polyline(pts, 2);
}

bool TDC::Polyline(const TPoint* points, int count)
{
    if (!points || count < 2) return count >= 0 && points;
    Impl& d = *impl_;
    std::vector<TPoint> dev(points, points + count);
    for (TPoint& p : dev) p = d.Dev(p);
    if (d.st.pen.IsNull()) return true;
    if (d.image) {
        QRect box;
        for (const TPoint& p : dev) box |= QRect(p.x, p.y, 1, 1);
        const QRect reach = d.Reach(box);
        if (reach.isEmpty()) return true;
        TCoverage cov(reach);
        d.PenCoverage(cov, dev, false);
        d.ApplyPen(cov);
    } else if (d.painter) {
        d.SetPainterClip();
        QPolygon poly;
        for (const TPoint& p : dev) poly << QPoint(p.x, p.y);
        d.painter->setPen(d.QtPen());
        d.painter->drawPolyline(poly);
    }
    return true;
}

bool TDC::Polygon(const TPoint* points, int count)
{
    if (!points || count < 2) return false;
    Impl& d = *impl_;
    std::vector<TPoint> dev(points, points + count);
    for (TPoint& p : dev) p = d.Dev(p);
    QPolygonF poly;
    QRect box;
    for (const TPoint& p : dev) {
        poly << QPointF(p.x, p.y);
        box |= QRect(p.x, p.y, 1, 1);
    }
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    path.setFillRule(d.st.fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    if (d.image) {
        d.Shape(
            box, [&](TCoverage& c) { c.Render([&](QPainter& p) { p.fillPath(path, Qt::white); }); },
            [&](TCoverage& c) { d.PenCoverage(c, dev, true); });
    } else if (d.painter) {
        d.SetPainterClip();
        d.painter->fillPath(path, d.QtBrush(d.st.brush));
        d.painter->strokePath(path, d.QtPen());
    }
    return true;
}

bool TDC::Rectangle(int l, int t, int r, int b)
{
    Impl& d = *impl_;
    const QRect box = d.DevRect(l, t, r, b);
    if (box.isEmpty()) return true;
    const int x0 = box.left(), y0 = box.top(), x1 = box.left() + box.width(), y1 = box.top() + box.height();
    if (d.image) {
        const bool nullPen = d.st.pen.IsNull();
        const int w = d.PenWidth();
        const bool inside = d.st.pen.GetStyle() == PS_INSIDEFRAME;
        d.Shape(
            box,
            [&](TCoverage& c) {
                // Without a pen the interior alone is one pixel smaller to the right and below:
                // code written for the original platform counts on it.
                if (nullPen) c.FillRect(QRect(QPoint(x0, y0), QPoint(x1 - 2, y1 - 2)));
                else c.FillRect(QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1)));
            },
            [&](TCoverage& c) {
                if (w <= 1) {
                    d.PenCoverage(c, {{x0, y0}, {x1 - 1, y0}, {x1 - 1, y1 - 1}, {x0, y1 - 1}}, true);
                    return;
                }
                // A wide pen is centred on the edge (inside it for PS_INSIDEFRAME), corners square.
                const QRect outer = inside ? QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1))
                                           : QRect(QPoint(x0 - w / 2, y0 - w / 2), QPoint(x1 - 1 + (w - 1) / 2, y1 - 1 + (w - 1) / 2));
                const QRect hole = outer.adjusted(w, w, -w, -w);
                c.FillRect(outer);
                if (hole.isValid()) c.FillRect(hole, 0);
            });
    } else if (d.painter) {
        d.SetPainterClip();
        const QRectF rf(x0 + 0.5, y0 + 0.5, box.width() - 1, box.height() - 1);
        d.painter->setPen(d.QtPen());
        d.painter->setBrush(d.QtBrush(d.st.brush));
        d.painter->drawRect(rf);
    }
    return true;
}

bool TDC::Ellipse(int l, int t, int r, int b) { return RoundRect(l, t, r, b, -1, -1); }

bool TDC::RoundRect(int l, int t, int r, int b, int cw, int ch)
{
    // cw < 0 asks for a whole ellipse.
    Impl& d = *impl_;
    const QRect box = d.DevRect(l, t, r, b);
    if (box.isEmpty()) return true;
    const bool ellipse = cw < 0;
    const double rx = ellipse ? 0 : d.DevLenX(cw) / 2.0, ry = ellipse ? 0 : d.DevLenY(ch) / 2.0;
    auto path = [&](QRectF rf) {
        QPainterPath pp;
        if (ellipse) pp.addEllipse(rf);
        else pp.addRoundedRect(rf, std::min(rx, rf.width() / 2), std::min(ry, rf.height() / 2));
        return pp;
    };
    // The outline runs through the centres of the border pixels of the box.
    const QRectF centre(box.left() + 0.5, box.top() + 0.5, box.width() - 1, box.height() - 1);
    if (d.image) {
        const bool nullPen = d.st.pen.IsNull();
        const int w = d.PenWidth();
        d.Shape(
            box,
            [&](TCoverage& c) {
                const QRectF area = nullPen ? QRectF(box.left(), box.top(), box.width() - 1, box.height() - 1) : centre;
                c.Render([&](QPainter& p) { p.fillPath(path(area), Qt::white); });
            },
            [&](TCoverage& c) {
                c.Render([&](QPainter& p) {
                    QPen pen(Qt::white);
                    pen.setWidth(w <= 1 ? 0 : w);
                    p.setPen(pen);
                    p.setBrush(Qt::NoBrush);
                    p.drawPath(path(centre));
                });
            });
    } else if (d.painter) {
        d.SetPainterClip();
        d.painter->setPen(d.QtPen());
        d.painter->setBrush(d.QtBrush(d.st.brush));
        d.painter->drawPath(path(centre));
    }
    return true;
}

bool TDC::FillRect(const TRect& r, const TBrush& brush)
{
    Impl& d = *impl_;
    const QRect box = d.DevRect(r.left, r.top, r.right, r.bottom);
    if (box.isEmpty()) return true;
    if (d.image) {
        TCoverage cov(box & d.Clip().boundingRect());
        cov.FillRect(box);
        d.ApplyBrush(cov, brush, R2_COPYPEN);
    } else if (d.painter) {
        d.SetPainterClip();
        d.painter->setBrushOrigin(d.st.brushOrg.x, d.st.brushOrg.y);
        d.painter->fillRect(box, d.QtBrush(brush));
    }
    return true;
}

bool TDC::FrameRect(const TRect& r, const TBrush& brush)
{
    Impl& d = *impl_;
    const QRect box = d.DevRect(r.left, r.top, r.right, r.bottom);
    if (box.isEmpty()) return true;
    const QRect strips[4] = {QRect(box.left(), box.top(), box.width(), 1),
                             QRect(box.left(), box.bottom(), box.width(), 1),
                             QRect(box.left(), box.top(), 1, box.height()),
                             QRect(box.right(), box.top(), 1, box.height())};
    if (d.image) {
        TCoverage cov(box & d.Clip().boundingRect());
        for (const QRect& s : strips) cov.FillRect(s);
        d.ApplyBrush(cov, brush, R2_COPYPEN);
    } else if (d.painter) {
        d.SetPainterClip();
        for (const QRect& s : strips) d.painter->fillRect(s, d.QtBrush(brush));
    }
    return true;
}

bool TDC::InvertRect(const TRect& r)
{
    Impl& d = *impl_;
    const QRect box = d.DevRect(r.left, r.top, r.right, r.bottom);
    if (!d.image || box.isEmpty()) return d.image != nullptr;
    d.Blit(box, nullptr, DSTINVERT);
    return true;
}

bool TDC::DrawFocusRect(const TRect& r)
{
    Impl& d = *impl_;
    const QRect box = d.DevRect(r.left, r.top, r.right, r.bottom);
    if (!d.image || box.isEmpty()) return d.image != nullptr;
    // Every other pixel of the border, inverted; the pixels are picked by position so that
    // a second call hits exactly the same ones.
    TCoverage cov(box & d.Clip().boundingRect());
    for (int x = box.left(); x <= box.right(); ++x)
        for (int y : {box.top(), box.bottom()})
            if (((x + y) & 1) == 0) cov.Set(x, y);
    for (int y = box.top() + 1; y < box.bottom(); ++y)
        for (int x : {box.left(), box.right()})
            if (((x + y) & 1) == 0) cov.Set(x, y);
    ApplyRop2(*d.image, d.mono, d.Clip(), cov, 1, TPaintSource::Solid(0xFF000000u), R2_NOT);
    return true;
}

TColor TDC::SetPixel(int x, int y, TColor c)
{
    Impl& d = *impl_;
    const TPoint p = d.Dev({x, y});
    if (!d.Clip().contains(QPoint(p.x, p.y))) return CLR_INVALID;
    const QRgb v = d.Color(c);
    if (d.image) {
        reinterpret_cast<QRgb*>(d.image->scanLine(p.y))[p.x] = v;
    } else if (d.painter) {
        d.SetPainterClip();
        d.painter->fillRect(QRect(p.x, p.y, 1, 1), QColor::fromRgb(v));
    }
    return FromPixel(v);
}

TColor TDC::GetPixel(int x, int y) const
{
    const Impl& d = *impl_;
    const TPoint p = d.Dev({x, y});
    if (!d.image || !d.Clip().contains(QPoint(p.x, p.y))) return CLR_INVALID;
    return FromPixel(reinterpret_cast<const QRgb*>(d.image->constScanLine(p.y))[p.x]);
}

// ==================================================================== block transfers

bool TDC::PatBlt(int x, int y, int w, int h, std::uint32_t rop)
{
    Impl& d = *impl_;
    const QRect box = d.DevRect(x, y, x + w, y + h);
    if (box.isEmpty()) return true;
    if (d.image) {
        d.Blit(box, nullptr, rop);
    } else if (d.painter) {
        d.SetPainterClip();
        const std::uint8_t t = static_cast<std::uint8_t>(rop >> 16);
        if (t == 0xF0) {
            d.painter->setBrushOrigin(d.st.brushOrg.x, d.st.brushOrg.y);
            d.painter->fillRect(box, d.QtBrush(d.st.brush));
        } else if (t == 0x00 || t == 0xFF) {
            d.painter->fillRect(box, t ? Qt::white : Qt::black);
        }
    }
    return true;
}

bool TDC::BitBlt(int x, int y, int w, int h, const TDC& src, int sx, int sy, std::uint32_t rop)
{
    // The source rectangle is the same logical size in the source's own mapping.
    return StretchBlt(x, y, w, h, src, sx, sy, w, h, rop);
}

namespace {

// The noted runs of the copied part of the source, where the copy puts them in the destination.
// A plain copy paints over what the destination showed there: the runs it covers are gone (a
// cell composed in one canvas after another, each started with its background).
void CarryRuns(const QImage& from, const QRect& part, const QImage& to, const QRect& landed, int dx0, int dy0, int dw,
               int dh, int sx0, int sy0, int sW, int sH, bool replaces)
{
    if (landed.isEmpty()) return;
    const auto it = Recorded().byImage.find(ImageKey(from));
    // Source and destination may be one image.
    const std::vector<TTextRun> runs = it == Recorded().byImage.end() ? std::vector<TTextRun>() : it->second;
    if (replaces) {
        if (const auto there = Recorded().byImage.find(ImageKey(to)); there != Recorded().byImage.end())
            std::erase_if(there->second, [&](const TTextRun& r) { return landed.contains(ToQRect(r.rect)); });
    }
    if (runs.empty()) return;
    auto mapX = [&](long long x) { return static_cast<int>(dx0 + (x - sx0) * dw / sW); };
    auto mapY = [&](long long y) { return static_cast<int>(dy0 + (y - sy0) * dh / sH); };
    std::vector<TTextRun>& out = Recorded().byImage[ImageKey(to)];
    for (const TTextRun& r : runs) {
        const QRect in = ToQRect(r.rect) & part;
        if (in.isEmpty()) continue;
        const QRect at = ToQRect(TRect(mapX(in.left()), mapY(in.top()), mapX(in.right() + 1), mapY(in.bottom() + 1)).Normalized()) & landed;
        if (!at.isEmpty()) out.push_back({r.text, TRect(at.left(), at.top(), at.right() + 1, at.bottom() + 1)});
    }
}

}  // namespace

bool TDC::StretchBlt(int x, int y, int w, int h, const TDC& src, int sx, int sy, int sw, int sh, std::uint32_t rop)
{
    Impl& d = *impl_;
    const Impl& s = *src.impl_;
    if (!s.image) return false;
    // Device rectangles, kept with their direction: a negative extent mirrors.
    const int dx0 = d.DevX(x), dy0 = d.DevY(y), dx1 = d.DevX(static_cast<long long>(x) + w), dy1 = d.DevY(static_cast<long long>(y) + h);
    const int sx0 = s.DevX(sx), sy0 = s.DevY(sy), sx1 = s.DevX(static_cast<long long>(sx) + sw), sy1 = s.DevY(static_cast<long long>(sy) + sh);
    const int dw = dx1 - dx0, dh = dy1 - dy0, sW = sx1 - sx0, sH = sy1 - sy0;
    if (dw == 0 || dh == 0 || sW == 0 || sH == 0) return true;
    const QRect dst = ToQRect(TRect(dx0, dy0, dx1, dy1).Normalized());

    // The source pixels are copied first: source and destination may be the same image.
    const QImage& simg = *s.image;
    const QRect sRect = ToQRect(TRect(sx0, sy0, sx1, sy1).Normalized()) & simg.rect();
    if (sRect.isEmpty()) return true;
    const QImage copy = simg.copy(sRect);
    const bool srcMono = s.mono;

    // Colours crossing between monochrome and colour surfaces, as GDI converts them.
    const QRgb fg = ToPixel(d.st.text), bg = ToPixel(d.st.bk);
    const QRgb srcBk = ToPixel(s.st.bk) & 0x00FFFFFFu;
    auto convert = [&](QRgb p) -> QRgb {
        if (srcMono && !d.mono) return (p & 0x00FFFFFFu) == 0x00FFFFFFu ? bg : fg;
        if (!srcMono && d.mono) return (p & 0x00FFFFFFu) == srcBk ? 0xFFFFFFFFu : 0xFF000000u;
        return p;
    };
    const long long adw = std::abs(dw), adh = std::abs(dh), asw = std::abs(sW), ash = std::abs(sH);
    auto sample = [&](int px, int py, QRgb& out) -> bool {
        // The destination pixel's centre, carried into the source (nearest pixel).
        long long ix = dw > 0 ? px - dx0 : dx0 - 1 - px;
        long long iy = dh > 0 ? py - dy0 : dy0 - 1 - py;
        long long u = (2 * ix + 1) * asw / (2 * adw);
        long long v = (2 * iy + 1) * ash / (2 * adh);
        const long long fx = sW > 0 ? sx0 + u : sx0 - 1 - u;
        const long long fy = sH > 0 ? sy0 + v : sy0 - 1 - v;
        if (fx < sRect.left() || fx > sRect.right() || fy < sRect.top() || fy > sRect.bottom()) return false;
        out = convert(reinterpret_cast<const QRgb*>(copy.constScanLine(static_cast<int>(fy - sRect.top())))[fx - sRect.left()]);
        return true;
    };
    if (d.image) {
        const std::function<bool(int, int, QRgb&)> fn = sample;
        d.Blit(dst, &fn, rop);
        if (Recorded().on)
            CarryRuns(simg, sRect, *d.image, dst & d.Clip().boundingRect(), dx0, dy0, dw, dh, sx0, sy0, sW, sH, rop == SRCCOPY);
    } else if (d.painter) {
        // Printers take plain copies.
        QImage piece(dst.size(), QImage::Format_ARGB32);
        piece.fill(0);
        for (int py = 0; py < dst.height(); ++py)
            for (int px = 0; px < dst.width(); ++px) {
                QRgb c;
                if (sample(dst.left() + px, dst.top() + py, c)) piece.setPixel(px, py, c | 0xFF000000u);
            }
        d.SetPainterClip();
        d.painter->drawImage(dst.topLeft(), piece);
    }
    return true;
}

bool TDC::DrawBitmap(int x, int y, const TBitmap& bitmap, std::uint32_t rop)
{
    if (bitmap.IsNull()) return false;
    TMemoryDC mem(bitmap);
    return BitBlt(x, y, impl_->LogLenX(bitmap.Width()), impl_->LogLenY(bitmap.Height()), mem, 0, 0, rop);
}

// ==================================================================== text

TSize TDC::GetTextExtent(std::string_view text) const
{
    const auto font = impl_->Font();
    const int w = font->TextWidth(DecodeText(text));
    return {impl_->LogLenX(w), impl_->LogLenY(font->Metrics().tmHeight)};
}

bool TDC::GetTextMetrics(TTextMetric& tm) const
{
    const Impl& d = *impl_;
    tm = d.Font()->Metrics();
    tm.tmHeight = d.LogLenY(tm.tmHeight);
    tm.tmAscent = d.LogLenY(tm.tmAscent);
    tm.tmDescent = d.LogLenY(tm.tmDescent);
    tm.tmInternalLeading = d.LogLenY(tm.tmInternalLeading);
    tm.tmExternalLeading = d.LogLenY(tm.tmExternalLeading);
    tm.tmAveCharWidth = d.LogLenX(tm.tmAveCharWidth);
    tm.tmMaxCharWidth = d.LogLenX(tm.tmMaxCharWidth);
    return true;
}

TTextMetric TDC::GetTextMetrics() const
{
    TTextMetric tm;
    GetTextMetrics(tm);
    return tm;
}

std::string TDC::GetTextFace() const { return impl_->st.font.GetObject().lfFaceName; }

bool TDC::GetCharWidth(unsigned first, unsigned last, int* widths) const
{
    if (!widths || last < first || last > 0x10FFFF) return false;
    const auto font = impl_->Font();
    for (unsigned c = first; c <= last; ++c) widths[c - first] = impl_->LogLenX(font->CharWidth(c));
    return true;
}

bool TDC::TextOut(int x, int y, std::string_view text) { return ExtTextOut(x, y, 0, nullptr, text, nullptr); }

bool TDC::ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text, const int* dx)
{
    Impl& d = *impl_;
    State& s = d.st;
    const bool useCp = (s.align & TA_UPDATECP) != 0;
    if (useCp) {
        x = s.cp.x;
        y = s.cp.y;
    }
    std::optional<QRect> devRect;
    if (rect) devRect = d.DevRect(rect->left, rect->top, rect->right, rect->bottom);
    if (devRect && (options & ETO_OPAQUE)) {
        if (d.image) {
            TCoverage cov(*devRect & d.Clip().boundingRect());
            cov.FillRect(*devRect);
            ApplyRop2(*d.image, d.mono, d.Clip(), cov, 1, TPaintSource::Solid(ToPixel(s.bk)), R2_COPYPEN);
        } else if (d.painter) {
            d.SetPainterClip();
            d.painter->fillRect(*devRect, QColor::fromRgb(ToPixel(s.bk)));
        }
    }
    const std::u32string chars = DecodeText(text);
    const auto font = d.Font();
    // Advances in device pixels; given ones are logical and converted as running sums so that
    // rounding does not pile up along the run.
    std::vector<int> adv(chars.size());
    long long logicalWidth = 0;
    if (dx) {
        long long sum = 0;
        int prev = d.DevX(x);
        for (std::size_t i = 0; i < chars.size(); ++i) {
            sum += dx[i];
            const int next = d.DevX(x + sum);
            adv[i] = next - prev;
            prev = next;
        }
        logicalWidth = sum;
    } else {
        for (std::size_t i = 0; i < chars.size(); ++i) adv[i] = font->CharWidth(chars[i]);
    }
    int devWidth = 0;
    for (int a : adv) devWidth += a;
    if (!dx) logicalWidth = d.LogLenX(devWidth);

    const TTextMetric& tm = font->Metrics();
    int left = d.DevX(x), top = d.DevY(y);
    switch (s.align & TA_CENTER) {
    case TA_RIGHT: left -= devWidth; break;
    case TA_CENTER: left -= devWidth / 2; break;
    default: break;
    }
    switch (s.align & TA_BASELINE) {
    case TA_BOTTOM: top -= tm.tmHeight; break;
    case TA_BASELINE: top -= tm.tmAscent; break;
    default: break;
    }
    const QRect* clipRect = devRect && (options & ETO_CLIPPED) ? &*devRect : nullptr;
    if (!chars.empty()) d.DrawRun(left, top, chars, adv, *font, clipRect, s.bkMode == OPAQUE);
    if (useCp) {
        switch (s.align & TA_CENTER) {
        case TA_RIGHT: s.cp.x = static_cast<int>(x - logicalWidth); break;
        case TA_CENTER: break;
        default: s.cp.x = static_cast<int>(x + logicalWidth); break;
        }
    }
    return true;
}

bool TDC::ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text,
                     const std::vector<int>& dx)
{
    const std::u32string chars = DecodeText(text);
    if (dx.size() >= chars.size()) return ExtTextOut(x, y, options, rect, text, dx.data());
    std::vector<int> all(dx);
    const auto font = impl_->Font();
    for (std::size_t i = dx.size(); i < chars.size(); ++i) all.push_back(impl_->LogLenX(font->CharWidth(chars[i])));
    return ExtTextOut(x, y, options, rect, text, all.data());
}

int TDC::DrawText(std::string_view text, TRect& rect, unsigned format)
{
    Impl& d = *impl_;
    const std::u32string all = DecodeText(text);
    const auto font = d.Font();
    const TTextMetric tm = GetTextMetrics();
    const int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    const bool single = (format & DT_SINGLELINE) != 0;
    const bool prefix = (format & DT_NOPREFIX) == 0;
    const int tabWidth = 8 * std::max(1, tm.tmAveCharWidth);

    struct Line {
        std::u32string text;
        long long mnemonic = -1;  // index of the character to underline
    };
    // Width of a line in logical units, with tabs at every eighth average character width.
    auto widthOf = [&](const std::u32string& s) {
        long long w = 0;
        for (char32_t c : s) {
            if (c == U'\t' && (format & DT_EXPANDTABS)) w = (w / tabWidth + 1) * tabWidth;
            else w += d.LogLenX(font->CharWidth(c));
        }
        return static_cast<int>(w);
    };

    // Paragraphs, with prefix characters resolved.
    std::vector<Line> paras(1);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const char32_t c = all[i];
        if (!single && (c == U'\n' || c == U'\r')) {
            if (c == U'\r' && i + 1 < all.size() && all[i + 1] == U'\n') ++i;
            paras.emplace_back();
            continue;
        }
        if (single && (c == U'\n' || c == U'\r')) continue;
        if (prefix && c == U'&') {
            if (i + 1 < all.size() && all[i + 1] == U'&') {
                paras.back().text.push_back(U'&');
                ++i;
            } else if (i + 1 < all.size()) {
                paras.back().mnemonic = static_cast<long long>(paras.back().text.size());
            }
            continue;
        }
        paras.back().text.push_back(c);
    }
    const int boxWidth = rect.right - rect.left;

    // Word wrap: break at blanks; a word wider than the box stands alone on its line.
    std::vector<Line> lines;
    for (Line& p : paras) {
        if (!(format & DT_WORDBREAK) || single || widthOf(p.text) <= boxWidth) {
            lines.push_back(std::move(p));
            continue;
        }
        std::size_t start = 0;
        const std::u32string& s = p.text;
        while (start < s.size()) {
            std::size_t end = start, lastFit = std::u32string::npos;
            while (end < s.size()) {
                std::size_t wordEnd = end;
                while (wordEnd < s.size() && s[wordEnd] != U' ') ++wordEnd;
                if (widthOf(s.substr(start, wordEnd - start)) > boxWidth && lastFit != std::u32string::npos) break;
                lastFit = wordEnd;
                end = wordEnd;
                if (end < s.size()) ++end;  // the blank after the word
                if (widthOf(s.substr(start, lastFit - start)) > boxWidth) break;
            }
            Line l;
            l.text = s.substr(start, lastFit - start);
            if (p.mnemonic >= static_cast<long long>(start) && p.mnemonic < static_cast<long long>(lastFit))
                l.mnemonic = p.mnemonic - static_cast<long long>(start);
            lines.push_back(std::move(l));
            start = lastFit;
            while (start < s.size() && s[start] == U' ') ++start;
        }
    }
    if (all.empty()) lines.clear();

    if (format & DT_END_ELLIPSIS) {
        for (Line& l : lines) {
            if (widthOf(l.text) <= boxWidth) continue;
            const std::u32string dots = U"...";
            while (!l.text.empty() && widthOf(l.text + dots) > boxWidth) l.text.pop_back();
            l.text += dots;
            if (l.mnemonic >= static_cast<long long>(l.text.size()) - 3) l.mnemonic = -1;
        }
    }

    const int textHeight = static_cast<int>(lines.size()) * lineHeight;
    int maxWidth = 0;
    for (const Line& l : lines) maxWidth = std::max(maxWidth, widthOf(l.text));

    if (format & DT_CALCRECT) {
        rect.right = rect.left + maxWidth;
        rect.bottom = rect.top + textHeight;
        return textHeight;
    }

    int y = rect.top;
    if (single && (format & DT_VCENTER)) y = (rect.top + rect.bottom - textHeight) / 2;
    else if (single && (format & DT_BOTTOM)) y = rect.bottom - textHeight;

    SaveDC();
    const unsigned oldAlign = SetTextAlign(TA_LEFT | TA_TOP);
    if (!(format & DT_NOCLIP)) IntersectClipRect(rect.Normalized());
    for (const Line& l : lines) {
        const int w = widthOf(l.text);
        int x = rect.left;
        if (format & DT_CENTER) x = (rect.left + rect.right - w) / 2;
        else if (format & DT_RIGHT) x = rect.right - w;
        // Tabs become gaps up to the next stop; everything else goes out as one run.
        std::string run;
        std::vector<int> advances;
        long long pos = 0;
        for (std::size_t i = 0; i < l.text.size(); ++i) {
            const char32_t c = l.text[i];
            long long next;
            if (c == U'\t' && (format & DT_EXPANDTABS)) next = (pos / tabWidth + 1) * tabWidth;
            else next = pos + d.LogLenX(font->CharWidth(c));
            const char32_t out = c == U'\t' ? U' ' : c;
            const QByteArray utf8 = QString::fromUcs4(&out, 1).toUtf8();
            run.append(utf8.constData(), static_cast<std::size_t>(utf8.size()));
            advances.push_back(static_cast<int>(next - pos));
            pos = next;
        }
        if (!run.empty()) ExtTextOut(x, y, 0, nullptr, run, advances.data());
        if (l.mnemonic >= 0 && l.mnemonic < static_cast<long long>(advances.size())) {
            long long ux = x;
            for (long long i = 0; i < l.mnemonic; ++i) ux += advances[static_cast<std::size_t>(i)];
            const TPen old = SelectObject(TPen(d.st.text, 0));
            const int oldRop = SetROP2(R2_COPYPEN);
            const int uy = y + tm.tmAscent + 1;
            MoveTo(static_cast<int>(ux), uy);
            LineTo(static_cast<int>(ux + advances[static_cast<std::size_t>(l.mnemonic)]), uy);
            SetROP2(oldRop);
            SelectObject(old);
        }
        y += lineHeight;
    }
    SetTextAlign(oldAlign);
    RestoreDC();
    if (single && (format & (DT_VCENTER | DT_BOTTOM))) return y - rect.top;
    return textHeight;
}

// ==================================================================== clipping

int TDC::SelectClipRgn(const TRegion* region)
{
    Impl& d = *impl_;
    if (!region) {
        d.st.clip.reset();
        return SIMPLEREGION;
    }
    d.st.clip = region->GetImpl().region;
    const QRegion eff = d.Clip();
    return eff.isEmpty() ? NULLREGION : eff.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int TDC::IntersectClipRect(const TRect& r)
{
    Impl& d = *impl_;
    const QRect box = d.DevRect(r.left, r.top, r.right, r.bottom);
    d.st.clip = d.st.clip ? d.st.clip->intersected(box) : QRegion(box);
    const QRegion eff = d.Clip();
    return eff.isEmpty() ? NULLREGION : eff.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int TDC::ExcludeClipRect(const TRect& r)
{
    Impl& d = *impl_;
    const QRect box = d.DevRect(r.left, r.top, r.right, r.bottom);
    d.st.clip = (d.st.clip ? *d.st.clip : QRegion(d.Surface())).subtracted(box);
    const QRegion eff = d.Clip();
    return eff.isEmpty() ? NULLREGION : eff.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int TDC::OffsetClipRgn(int dx, int dy)
{
    Impl& d = *impl_;
    if (d.st.clip) d.st.clip->translate(d.DevX(dx) - d.DevX(0), d.DevY(dy) - d.DevY(0));
    const QRegion eff = d.Clip();
    return eff.isEmpty() ? NULLREGION : eff.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int TDC::GetClipBox(TRect& r) const
{
    const Impl& d = *impl_;
    const QRegion eff = d.Clip();
    if (eff.isEmpty()) {
        r = TRect();
        return NULLREGION;
    }
    r = FromQRect(eff.boundingRect());
    DPtoLP(r);
    r = r.Normalized();
    return eff.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void TDC::SetSystemClip(const TRect& deviceRect) { impl_->systemClip = ToQRect(deviceRect.Normalized()); }

bool TDC::GetClipRgn(TRegion& region) const
{
    if (!impl_->st.clip) return false;
    region = TRegion();
    for (const QRect& r : *impl_->st.clip) region |= TRegion(FromQRect(r));
    return true;
}

bool TDC::PtVisible(int x, int y) const
{
    const TPoint p = impl_->Dev({x, y});
    return impl_->Clip().contains(QPoint(p.x, p.y));
}

bool TDC::RectVisible(const TRect& r) const
{
    return impl_->Clip().intersects(impl_->DevRect(r.left, r.top, r.right, r.bottom));
}

// ==================================================================== state

int TDC::SaveDC()
{
    impl_->saved.push_back(impl_->st);
    return static_cast<int>(impl_->saved.size());
}

bool TDC::RestoreDC(int saved)
{
    auto& stack = impl_->saved;
    if (stack.empty()) return false;
    std::size_t level;
    if (saved < 0) {
        if (static_cast<std::size_t>(-static_cast<long long>(saved)) > stack.size()) return false;
        level = stack.size() + 1 - static_cast<std::size_t>(-static_cast<long long>(saved));
    } else {
        if (saved == 0 || static_cast<std::size_t>(saved) > stack.size()) return false;
        level = static_cast<std::size_t>(saved);
    }
    impl_->st = stack[level - 1];
    stack.resize(level - 1);
    return true;
}

int TDC::GetDeviceCaps(int index) const
{
    const Impl& d = *impl_;
    const QRect s = d.Surface();
    auto* paged = dynamic_cast<QPagedPaintDevice*>(d.device);
    switch (index) {
    case TECHNOLOGY: return d.image ? DT_RASDISPLAY : DT_RASPRINTER;
    case HORZRES: return s.width();
    case VERTRES: return s.height();
    case LOGPIXELSX: return d.DpiX();
    case LOGPIXELSY: return d.DpiY();
    case HORZSIZE: return static_cast<int>(std::lround(s.width() * 25.4 / d.DpiX()));
    case VERTSIZE: return static_cast<int>(std::lround(s.height() * 25.4 / d.DpiY()));
    case BITSPIXEL: return d.mono ? 1 : 24;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return RC_BITBLT | RC_STRETCHBLT;
    case PHYSICALWIDTH:
    case PHYSICALHEIGHT:
    case PHYSICALOFFSETX:
    case PHYSICALOFFSETY: {
        if (!paged) return index == PHYSICALWIDTH ? s.width() : index == PHYSICALHEIGHT ? s.height() : 0;
        const QPageLayout layout = paged->pageLayout();
        const int res = d.DpiX();
        const QRect full = layout.fullRectPixels(res);
        const QRect paint = layout.paintRectPixels(res);
        if (index == PHYSICALWIDTH) return full.width();
        if (index == PHYSICALHEIGHT) return full.height();
        if (index == PHYSICALOFFSETX) return paint.left();
        return paint.top();
    }
    default: return 0;
    }
}

QImage* TDC::Image() const { return impl_->image; }
QPainter* TDC::Painter() const { return impl_->painter; }
TSize TDC::DeviceSize() const
{
    const QRect s = impl_->Surface();
    return {s.width(), s.height()};
}
bool TDC::SavePng(const std::string& path) const { return impl_->image && SaveImagePng(*impl_->image, path); }

// ==================================================================== memory DC

TMemoryDC::TMemoryDC() : TDC()
{
    // A memory DC starts with GDI's 1 x 1 monochrome bitmap.
    original_ = TBitmap(1, 1, true);
    bitmap_ = original_;
    SetImage(bitmap_.Image(), true);
}

TMemoryDC::TMemoryDC(const TDC&) : TMemoryDC() {}

TMemoryDC::TMemoryDC(const TBitmap& bitmap) : TMemoryDC() { SelectObject(bitmap); }

TMemoryDC::~TMemoryDC() = default;

TBitmap TMemoryDC::SelectObject(const TBitmap& bitmap)
{
    if (bitmap.IsNull()) return {};
    TBitmap old = std::exchange(bitmap_, bitmap);
    SetImage(bitmap_.Image(), bitmap_.IsMonochrome());
    return old;
}

void TMemoryDC::RestoreBitmap() { SelectObject(original_); }

const TBitmap& TMemoryDC::GetBitmap() const { return bitmap_; }

TBitmap CreateCompatibleBitmap(const TDC& dc, int width, int height)
{
    if (auto* mem = dynamic_cast<const TMemoryDC*>(&dc); mem && mem->GetBitmap().IsMonochrome())
        return TBitmap(width, height, true);
    return TBitmap(width, height, false);
}

}  // namespace vyn
