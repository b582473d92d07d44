#include "reports/paint/WmfPlayer.h"

#include <string>
#include <variant>

#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"

namespace vyn {

namespace {

constexpr std::size_t kHeaderBytes = 18;
// A metafile names its object slots in the header; a damaged count must not make us allocate
// without bound.
constexpr std::size_t kMaxObjects = 4096;

struct Record {
    const std::uint8_t* p;
    std::size_t words;  // parameter words
    int S(std::size_t i) const { return static_cast<std::int16_t>(p[2 * i] | (p[2 * i + 1] << 8)); }
    unsigned U(std::size_t i) const { return static_cast<unsigned>(p[2 * i] | (p[2 * i + 1] << 8)); }
    TColor Colour(std::size_t i) const { return TColor(static_cast<std::uint32_t>(U(i) | (U(i + 1) << 16)) & 0xFFFFFF); }
};

using Object = std::variant<std::monostate, TPen, TBrush, TFont>;

std::uint32_t U32(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24); }

std::vector<TPoint> Points(const Record& r)
{
    std::vector<TPoint> pts;
    if (r.words < 1) return pts;
    const std::size_t n = r.U(0);
    if (1 + 2 * n > r.words) return pts;
    for (std::size_t i = 0; i < n; ++i) pts.emplace_back(r.S(1 + 2 * i), r.S(2 + 2 * i));
    return pts;
}

}  // namespace

bool PlayMetafile(TDC& dc, const std::vector<std::uint8_t>& bits)
{
    if (bits.size() < kHeaderBytes) return false;
    const std::size_t headerWords = static_cast<std::size_t>(bits[2] | (bits[3] << 8));
    const unsigned type = bits[0] | (bits[1] << 8);
    if ((type != 1 && type != 2) || headerWords < 9 || headerWords * 2 > bits.size()) return false;
    std::size_t slots = static_cast<std::size_t>(bits[10] | (bits[11] << 8));
    if (slots > kMaxObjects) slots = kMaxObjects;
    std::vector<Object> objects(slots);

    const TPen startPen = dc.GetPen();
    const TBrush startBrush = dc.GetBrush();
    const TFont startFont = dc.GetFont();
    const int saved = dc.SaveDC();
    std::size_t pos = headerWords * 2;
    bool ok = true;
    int ownSaves = 0;
    while (true) {
        if (pos + 6 > bits.size()) {
            ok = pos == bits.size();
            break;
        }
        const std::uint32_t size = U32(&bits[pos]);
        const unsigned fn = bits[pos + 4] | (bits[pos + 5] << 8);
        if (size < 3 || size > (bits.size() - pos) / 2) {
            ok = false;
            break;
        }
        const Record r{&bits[pos + 6], size - 3};
        pos += static_cast<std::size_t>(size) * 2;
        auto need = [&r](std::size_t w) { return r.words >= w; };
        switch (fn) {
        case wmfEOF: goto done;
        case wmfSaveDC:
            dc.SaveDC();
            ++ownSaves;
            break;
        case wmfRestoreDC:
            // Only the metafile's own saves, counted back from the last; never ours.
            if (need(1) && r.S(0) < 0 && -r.S(0) <= ownSaves) {
                dc.RestoreDC(r.S(0));
                ownSaves += r.S(0);
            }
            break;
        case wmfSetBkMode: if (need(1)) dc.SetBkMode(r.S(0) == OPAQUE ? OPAQUE : TRANSPARENT); break;
        case wmfSetMapMode: break;  // the caller fixed the mapping to the picture's box
        case wmfSetTextAlign: if (need(1)) dc.SetTextAlign(r.U(0)); break;
        case wmfSetBkColor: if (need(2)) dc.SetBkColor(r.Colour(0)); break;
        case wmfSetTextColor: if (need(2)) dc.SetTextColor(r.Colour(0)); break;
        case wmfSetWindowOrg: if (need(2)) dc.SetWindowOrg(TPoint(r.S(1), r.S(0))); break;
        case wmfSetWindowExt:
            if (need(2) && r.S(0) != 0 && r.S(1) != 0) dc.SetWindowExt(TSize(r.S(1), r.S(0)));
            break;
        case wmfMoveTo: if (need(2)) dc.MoveTo(r.S(1), r.S(0)); break;
        case wmfLineTo: if (need(2)) dc.LineTo(r.S(1), r.S(0)); break;
        case wmfRectangle: if (need(4)) dc.Rectangle(r.S(3), r.S(2), r.S(1), r.S(0)); break;
        case wmfEllipse: if (need(4)) dc.Ellipse(r.S(3), r.S(2), r.S(1), r.S(0)); break;
        case wmfPolygon: {
            const auto pts = Points(r);
            if (pts.size() >= 2) dc.Polygon(pts);
            break;
        }
        case wmfPolyline: {
            const auto pts = Points(r);
            if (pts.size() >= 2) dc.Polyline(pts);
            break;
        }
        case wmfTextOut: {
            if (!need(1)) break;
            const std::size_t n = r.U(0);
            const std::size_t textWords = (n + 1) / 2;
            if (1 + textWords + 2 > r.words) break;
            const std::string text(reinterpret_cast<const char*>(r.p + 2), n);
            dc.TextOut(r.S(2 + textWords), r.S(1 + textWords), text);
            break;
        }
        case wmfCreatePenIndirect:
        case wmfCreateBrushIndirect:
        case wmfCreateFontIndirect: {
            Object o;
            if (fn == wmfCreatePenIndirect && need(5)) {
                const int style = static_cast<int>(r.U(0) & 0xF);
                o = TPen(r.Colour(3), r.S(1), style <= PS_NULL ? style : PS_SOLID);
            } else if (fn == wmfCreateBrushIndirect && need(4)) {
                const unsigned style = r.U(0);
                if (style == BS_SOLID) o = TBrush(r.Colour(1));
                else if (style == BS_HATCHED) o = TBrush(r.Colour(1), static_cast<int>(r.U(3) % 6));
                else o = TBrush::Hollow();
            } else if (fn == wmfCreateFontIndirect && need(9)) {
                TLogFont lf;
                lf.lfHeight = r.S(0);
                lf.lfWidth = r.S(1);
                lf.lfEscapement = r.S(2);
                lf.lfOrientation = r.S(3);
                lf.lfWeight = r.S(4);
                lf.lfItalic = r.p[10];
                lf.lfUnderline = r.p[11];
                lf.lfStrikeOut = r.p[12];
                lf.lfCharSet = r.p[13];
                std::string face;
                for (std::size_t i = 18; i < r.words * 2 && i < 18 + 32 && r.p[i]; ++i) face += static_cast<char>(r.p[i]);
                lf.lfFaceName = face;
                o = TFont(lf);
            }
            // The object takes the lowest free slot, used or not, so later indexes stay right.
            for (auto& slot : objects) {
                if (std::holds_alternative<std::monostate>(slot)) {
                    slot = std::holds_alternative<std::monostate>(o) ? Object(TBrush::Hollow()) : o;
                    break;
                }
            }
            break;
        }
        case wmfSelectObject: {
            if (!need(1) || r.U(0) >= objects.size()) break;
            const Object& o = objects[r.U(0)];
            if (auto* pen = std::get_if<TPen>(&o)) dc.SelectObject(*pen);
            else if (auto* brush = std::get_if<TBrush>(&o)) dc.SelectObject(*brush);
            else if (auto* font = std::get_if<TFont>(&o)) dc.SelectObject(*font);
            break;
        }
        case wmfDeleteObject: if (need(1) && r.U(0) < objects.size()) objects[r.U(0)] = std::monostate{}; break;
        default: break;  // records this player does not draw
        }
    }
done:
    dc.RestoreDC(saved);
    dc.SelectObject(startPen);
    dc.SelectObject(startBrush);
    dc.SelectObject(startFont);
    return ok;
}

}  // namespace vyn
