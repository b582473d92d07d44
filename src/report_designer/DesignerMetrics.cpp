#include "report_designer/DesignerMetrics.h"

#include <algorithm>

#include "platform/gui/Dc.h"
#include "reports/IRepView.h"
#include "reports/RPFont.h"

namespace vyn {

bool gAttrEditorShown = false;

DesignerMetrics& Metrics()
{
    static DesignerMetrics m;
    return m;
}

int RepUnitsToPixelsX(int twips, int origin) { return Metrics().screenX.FromTwips(twips, origin); }
int RepUnitsToPixelsY(int twips, int origin) { return Metrics().screenY.FromTwips(twips, origin); }

std::array<int, 16> RulerTickPattern(int thickness)
{
    static const int base[5] = {13, 10, 7, 5, 2};
    int len[5];
    for (int i = 0; i < 5; ++i) len[i] = std::max(2, base[i] * thickness / 16);
    std::array<int, 16> p{};
    for (int n = 0; n < 16; ++n) {
        if (n == 0) p[static_cast<std::size_t>(n)] = len[0];
        else if (n == 8) p[static_cast<std::size_t>(n)] = len[1];
        else if (n % 4 == 0) p[static_cast<std::size_t>(n)] = len[2];
        else if (n % 2 == 0) p[static_cast<std::size_t>(n)] = len[3];
        else p[static_cast<std::size_t>(n)] = len[4];
    }
    return p;
}

void InitDesignerMetrics()
{
    DesignerMetrics& m = Metrics();
    if (m.ready) return;
    m.ready = true;

    TBitmap probe(8, 8);
    TMemoryDC dc(probe);
    m.screenPpi = TSize(dc.GetDeviceCaps(LOGPIXELSX), dc.GetDeviceCaps(LOGPIXELSY));
    if (m.screenPpi.cx <= 0) m.screenPpi.cx = kScreenDpi;
    if (m.screenPpi.cy <= 0) m.screenPpi.cy = kScreenDpi;
    m.screenX.Set(m.screenPpi.cx, 72);
    m.screenY.Set(m.screenPpi.cy, 72);
    gScreenPpiY = m.screenPpi.cy;

    const TSize screen88 = dc.GetTextExtent("88");
    m.bandTitleHeight = screen88.cy;
    m.hLabelReach = screen88.cx;
    m.vLabelReach = screen88.cy;
    gRepMetrics.titleHeight = m.bandTitleHeight;

    // An 8-point face of the interface font.
    const std::string face = TFont().GetObject().lfFaceName;
    m.rulerFont = TFont(face, -(8 * m.screenPpi.cy + 36) / 72);
    dc.SelectObject(m.rulerFont);
    const TSize ruler88 = dc.GetTextExtent("88");
    dc.RestoreFont();
    m.vRulerWidth = ruler88.cx * 11 / 8;
    m.hRulerHeight = ruler88.cy * 11 / 8;
    m.rulerLabelGap = std::max(2, ruler88.cx / 5);
    // Both rulers get the same physical thickness, the larger of the two.
    const int widthForHeight = m.hRulerHeight * m.screenPpi.cx / m.screenPpi.cy;
    if (m.vRulerWidth < widthForHeight) m.vRulerWidth = widthForHeight;
    else m.hRulerHeight = m.vRulerWidth * m.screenPpi.cy / m.screenPpi.cx;
    m.hTicks = RulerTickPattern(m.hRulerHeight);
    m.vTicks = RulerTickPattern(m.vRulerWidth);

    m.pageArea = kDesignerGrey;
    m.cornerColour = kDesignerGrey;
    m.autoScrollMin = TSize(RepUnitsToPixelsX(180), RepUnitsToPixelsY(180));
    m.autoScrollMax = TSize(RepUnitsToPixelsX(2160), RepUnitsToPixelsY(2160));
    m.widestReport = TSize(RepUnitsToPixelsX(kMaxTwips), RepUnitsToPixelsY(kMaxTwips));

    // The selection-handle sizes the model's hit tests and painting use.
    gRepMetrics.handleOut = 3;
    gRepMetrics.handleIn = 2;
    gRepMetrics.handleCentre = 7;
    gRepMetrics.anchorOut = 5;
    gRepMetrics.anchorIn = 3;
}

}  // namespace vyn
