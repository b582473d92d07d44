#include "printing/APrintOut.h"

#include <algorithm>

#include "platform/gui/Dc.h"
#include "platform/gui/Fonts.h"
#include "printing/PageSettings.h"
#include "printing/Utf8Text.h"

namespace vyn {

namespace {

// A printer's own font stands in when the kind has none: a device context of a printer
// starts with a screen-sized font, which at printer resolutions would come out unreadably small.
constexpr int kDeviceFontPoints = 10;

bool IsBreakChar(char32_t c) { return c < 0x80 && APrintOut::kBreakChars.find(static_cast<char>(c)) != std::string_view::npos; }

// The text cut at n bytes (never inside a UTF-8 character); n < 0 keeps it whole.
std::string_view Cut(std::string_view text, int n)
{
    if (n < 0 || static_cast<std::size_t>(n) >= text.size()) return text;
    std::size_t end = static_cast<std::size_t>(n);
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

}  // namespace

APrintOut::APrintOut() : TPrintout("Vyn32 Print") {}

APrintOut::~APrintOut() = default;

void APrintOut::SetPrintParams(TDC* dc, TSize pageSize)
{
    if (pageSize.cx == kPreviewPageSize && pageSize.cy == kPreviewPageSize) {
        outDC = dc;
        return;
    }
    LoadMargins();
    LoadFont();
    PrepareHeader();
    TPrintout::SetPrintParams(dc, pageSize);
    if (!DC) return;
    dpiX = DC->GetDeviceCaps(LOGPIXELSX);
    dpiY = DC->GetDeviceCaps(LOGPIXELSY);
    font.reset();
    TFont f;
    if (CreatePrintFont(dpiY, f)) font = f;
    else if (DC->GetDeviceCaps(TECHNOLOGY) == DT_RASPRINTER)
        font = TFont("Courier New", -MulDiv(kDeviceFontPoints, dpiY, 72), 0, 0, 0, FW_NORMAL, FIXED_PITCH | FF_MODERN);
    if (font) DC->SelectObject(*font);
    MeasurePrintChar(*DC);
    outDC = DC;
    pageRect = PageMarginRect(*DC);
    const TTextMetric tm = DC->GetTextMetrics();
    lineHeight = std::max(1, tm.tmHeight + tm.tmExternalLeading);
    dateText = DateTimeText();
    headerHeight = HeaderHeight(*DC);
    infoHeight = InfoBlockHeight(*DC, header.hasValidations, header.calcValues, header.validationValues);
    footerHeight = FooterHeight(*DC);
    Paginate();
}

void APrintOut::BeginPrinting() { clipRegion = TRegion(TRect(0, 0, PageSize.cx, PageSize.cy)); }

bool APrintOut::HasPage(int page) { return page >= 1 && page <= pageCount; }

void APrintOut::GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage)
{
    TPrintout::GetDialogInfo(minPage, maxPage, selFromPage, selToPage);
    // The layout of SetPrintParams counted the pages, so the print dialog offers no page past
    // the last. A kind that lays out only when printing begins has no count yet.
    if (pageCount > 0) maxPage = pageCount;
}

void APrintOut::EndPrinting()
{
    clipRegion.reset();
    font.reset();
    StoreMargins();
}

void APrintOut::NewLine()
{
    ++line;
    x = tabX;
    lineHasText = 0;
}

void APrintOut::Rewind()
{
    line = 0;
    firstLine = 0;
    lastLine = kAllLines;
    lineHasText = 0;
    x = tabX = pageRect.left;
}

void APrintOut::SetPageLines(int first, int last)
{
    firstLine = first;
    lastLine = last;
    lineHasText = 0;
    x = tabX;
}

void APrintOut::TabTo(int q, int moveNow) { TabToDevice(PrintXUnits(q), moveNow); }

void APrintOut::TabToDevice(int dx, int moveNow)
{
    tabX = pageRect.left + dx;
    if (!lineHasText || (moveNow && x < tabX)) x = tabX;
}

int APrintOut::RemainingWidth() const { return x >= pageRect.right ? 0 : pageRect.right - x; }

void APrintOut::OutText(std::string_view text, int n)
{
    if (n <= 0 || !DC) return;
    const std::string_view s = Cut(text, n);
    const int w = DC->GetTextExtent(s).cx;
    if (line >= firstLine && line < lastLine && outDC) outDC->TextOut(x, (line - firstLine) * lineHeight + textTop, s);
    x += w;
    lineHasText = 1;
}

int APrintOut::Measure(const std::u32string& s) const { return DC ? DC->GetTextExtent(EncodeUtf8(s)).cx : 0; }

void APrintOut::Out(const std::u32string& s)
{
    const std::string u = EncodeUtf8(s);
    OutText(u, static_cast<int>(u.size()));
}

template <class F>
void APrintOut::ForEachLine(std::string_view text, int n, F&& perLine)
{
    const std::u32string all = DecodeText(Cut(text, n));
    // Drawing may reach half a character past the right margin, never further.
    if (outDC && lastLine >= 0)
        outDC->IntersectClipRect(TRect(pageRect.left, pageRect.top, pageRect.right + PrintXUnits(2), pageRect.bottom));
    std::size_t start = 0;
    while (start <= all.size()) {
        std::size_t end = start;
        while (end < all.size() && all[end] != U'\r' && all[end] != U'\n') ++end;
        const bool atEnd = end < all.size();
        perLine(all.substr(start, end - start), atEnd);
        if (!atEnd) break;
        start = end + ((all[end] == U'\r' && end + 1 < all.size() && all[end + 1] == U'\n') ? 2 : 1);
        if (start == all.size()) break;  // a final line break ends the text
    }
    if (outDC && lastLine >= 0) SelectClip(*outDC);
}

void APrintOut::PrintF(std::string_view text, int n)
{
    ForEachLine(text, n, [this](const std::u32string& piece, bool atEnd) {
        Out(piece);
        if (atEnd) NewLine();
    });
}

void APrintOut::PrintWrapped(std::string_view text, int n)
{
    ForEachLine(text, n, [this](const std::u32string& piece, bool atEnd) {
        std::size_t i = 0;
        while (i < piece.size()) {
            std::size_t j = i + 1;
            if (!IsBreakChar(piece[i]))
                while (j < piece.size() && !IsBreakChar(piece[j])) ++j;
            std::u32string token = piece.substr(i, j - i);
            i = j;
            if (token == U" " || Measure(token) <= RemainingWidth()) {
                Out(token);
                continue;
            }
            NewLine();
            for (bool first = true; !token.empty(); first = false) {
                if (!first) NewLine();
                // The longest prefix that fits, at least one character.
                std::size_t k = token.size();
                while (k > 1 && Measure(token.substr(0, k)) > RemainingWidth()) --k;
                Out(token.substr(0, k));
                token.erase(0, k);
            }
        }
        if (atEnd) NewLine();
    });
}

void APrintOut::PrintText(std::string_view text, int n)
{
    ForEachLine(text, n, [this](const std::u32string& piece, bool atEnd) {
        if (!piece.empty() && x != tabX && Measure(piece) > RemainingWidth()) NewLine();
        Out(piece);
        if (atEnd) OutText("  ");
    });
}

void APrintOut::SelectClip(TDC& dc)
{
    if (outDC == DC && clipRegion) dc.SelectClipRgn(&*clipRegion);
    else dc.SelectClipRgn(nullptr);
}

const TRegion* APrintOut::PageClip() const { return outDC == DC && clipRegion ? &*clipRegion : nullptr; }

void APrintOut::SelectPrintFont()
{
    outFontBefore_.reset();
    if (font && outDC) outFontBefore_ = outDC->SelectObject(*font);
}

void APrintOut::DeselectPrintFont()
{
    if (outFontBefore_ && outDC) outDC->SelectObject(*outFontBefore_);
    outFontBefore_.reset();
}

}  // namespace vyn
