#include "reports/paint/RPScreenFont.h"

#include "platform/gui/Dc.h"

namespace vyn {

TLogFont ToLogFont(const RPLogFont& f, int height)
{
    TLogFont lf;
    lf.lfHeight = height;
    lf.lfWidth = f.width;
    lf.lfEscapement = f.escapement;
    lf.lfOrientation = f.orientation;
    lf.lfWeight = f.weight;
    lf.lfItalic = f.italic;
    lf.lfUnderline = f.underline;
    lf.lfStrikeOut = f.strikeOut;
    lf.lfCharSet = f.charSet;
    lf.lfOutPrecision = f.outPrecision;
    lf.lfClipPrecision = f.clipPrecision;
    lf.lfQuality = f.quality;
    lf.lfPitchAndFamily = f.pitchAndFamily;
    lf.lfFaceName = f.Face();
    return lf;
}

TFont ScreenFont(const RPFont& font)
{
    const RPLogFont& s = font.Entry().screen;
    return TFont(ToLogFont(s, s.height));
}

namespace {

TSize MeasureOnScreen(const RPLogFont& screen, const std::string& text)
{
    // A memory DC measures at the screen's resolution; the cache lives on the main thread.
    TMemoryDC dc;
    dc.SelectObject(TFont(ToLogFont(screen, screen.height)));
    return dc.GetTextExtent(text);
}

}  // namespace

void InstallReportScreenFonts() { SetScreenTextMeasurer(&MeasureOnScreen); }

}  // namespace vyn
