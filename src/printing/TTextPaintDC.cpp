#include "printing/TTextPaintDC.h"

#include <algorithm>
#include <cstdlib>

#include "platform/gui/Fonts.h"
#include "printing/Utf8Text.h"

namespace vyn {

TTextPaintDC::TTextPaintDC(QImage& image, TDC* printerDC) : TDC(image), printerDC_(printerDC) { SetUpScreenFont(); }

TTextPaintDC::~TTextPaintDC()
{
    destroying_ = true;
    TDC::SelectObject(GetStockFont(SYSTEM_FONT));
}

void TTextPaintDC::SetUpScreenFont()
{
    if (!printerDC_) return;
    const TTextMetric tm = printerDC_->GetTextMetrics();
    TLogFont lf;
    // The character height without the internal leading: the screen font then has the
    // printer font's em size, whatever leading the screen's version of the face carries.
    lf.lfHeight = tm.tmHeight < 0 ? tm.tmHeight : -(tm.tmHeight - tm.tmInternalLeading);
    lf.lfWidth = 0;
    lf.lfWeight = tm.tmWeight;
    lf.lfItalic = tm.tmItalic;
    lf.lfUnderline = tm.tmUnderlined;
    lf.lfStrikeOut = 0;
    lf.lfCharSet = tm.tmCharSet;
    lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DRAFT_QUALITY;
    lf.lfPitchAndFamily = printerDC_->GetFont().GetObject().lfPitchAndFamily;
    lf.lfFaceName = printerDC_->GetTextFace().substr(0, 32);
    TDC::SelectObject(TFont(lf));
}

TFont TTextPaintDC::SelectObject(const TFont& font)
{
    if (!printerDC_) return TDC::SelectObject(font);
    TFont old = printerDC_->SelectObject(font);
    SetUpScreenFont();
    return old;
}

void TTextPaintDC::RestoreFont()
{
    if (destroying_) return;
    if (!printerDC_) {
        TDC::RestoreFont();
        return;
    }
    printerDC_->RestoreFont();
    SetUpScreenFont();
}

int TTextPaintDC::SetMapMode(int mode) { return TDC::SetMapMode(scaling_ ? MM_ANISOTROPIC : mode); }

bool TTextPaintDC::SetViewportOrg(const TPoint& org, TPoint* old)
{
    if (!scaling_) return TDC::SetViewportOrg(org, old);
    const TPoint p(static_cast<int>(static_cast<long long>(org.x) * viewportExt_.cx / windowExt_.cx),
                   static_cast<int>(static_cast<long long>(org.y) * viewportExt_.cy / windowExt_.cy));
    return TDC::SetViewportOrg(p, old);
}

bool TTextPaintDC::SetViewportExt(const TSize& ext, TSize* old)
{
    if (!scaling_) return TDC::SetViewportExt(ext, old);
    TSize s(static_cast<int>(static_cast<long long>(ext.cx) * viewportExt_.cx / windowExt_.cx),
            static_cast<int>(static_cast<long long>(ext.cy) * viewportExt_.cy / windowExt_.cy));
    if (s.cx == 0) s.cx = 1;
    if (s.cy == 0) s.cy = 1;
    return TDC::SetViewportExt(s, old);
}

void TTextPaintDC::BeginScaling(TSize viewportExt, TSize windowExt)
{
    viewportExt_ = TSize(std::max(1, viewportExt.cx), std::max(1, viewportExt.cy));
    windowExt_ = TSize(std::max(1, windowExt.cx), std::max(1, windowExt.cy));
    TDC::SetMapMode(MM_ANISOTROPIC);
    TDC::SetWindowExt(windowExt_);
    TDC::SetViewportExt(viewportExt_);
    scaling_ = true;
}

void TTextPaintDC::EndScaling()
{
    scaling_ = false;
    TDC::SetMapMode(MM_TEXT);
    TDC::SetViewportOrg(TPoint(0, 0));
    TDC::SetWindowOrg(TPoint(0, 0));
}

std::vector<int> TTextPaintDC::SpreadAdvances(std::vector<int> w, int printerWidth)
{
    const int count = static_cast<int>(w.size());
    long long sum = 0;
    for (int v : w) sum += v;
    const long long d = printerWidth - sum;
    const long long a = std::llabs(d);
    const int s = d >= 1 ? 1 : -1;
    const long long m = std::max<long long>(count, a);
    long long A = 0, B = 0;
    int k = 0;
    // Two running accumulators walk the run and the difference at the same pace (as a line is
    // drawn between them), so the extra units fall evenly and every one of them is placed.
    for (long long i = 0; i <= m && k < count; ++i) {
        A += count;
        B += a;
        if (B > m) {
            w[static_cast<std::size_t>(k)] += s;
            B -= m;
        }
        if (A > m) {
            ++k;
            A -= m;
        }
    }
    return w;
}

TSize TTextPaintDC::GetTextExtent(std::string_view text) const
{
    return printerDC_ ? printerDC_->GetTextExtent(text) : TDC::GetTextExtent(text);
}

bool TTextPaintDC::TextOut(int x, int y, std::string_view text)
{
    std::u32string chars = DecodeText(text);
    if (!printerDC_ || chars.size() < 2) return TDC::TextOut(x, y, text);
    if (chars.size() > static_cast<std::size_t>(kMaxRun)) chars.resize(kMaxRun);
    const std::string run = EncodeUtf8(chars);
    const int printerWidth = printerDC_->GetTextExtent(run).cx;
    std::vector<int> w(chars.size());
    for (std::size_t i = 0; i < chars.size(); ++i) {
        int cw = 0;
        GetCharWidth(static_cast<unsigned>(chars[i]), static_cast<unsigned>(chars[i]), &cw);
        w[i] = cw;
    }
    return ExtTextOut(x, y, 0, nullptr, run, SpreadAdvances(std::move(w), printerWidth));
}

}  // namespace vyn
