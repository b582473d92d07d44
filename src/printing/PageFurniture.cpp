#include "printing/PageFurniture.h"

#include <algorithm>

#include "evaluator/FormatValueText.h"
#include "evaluator/TStackVal.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Fonts.h"
#include "printing/PageSettings.h"
#include "printing/Utf8Text.h"

namespace vyn {

namespace {

constexpr std::size_t kShortPathLength = 16;
constexpr std::size_t kKeptPathLength = 127;
constexpr int kValueTextSize = 129;  // 128 characters and the terminator

int Width(const TDC& dc, const std::string& s) { return dc.GetTextExtent(s).cx; }

int ShownCount(const std::vector<TStackVal>* values)
{
    if (!values) return 0;
    return static_cast<int>(std::count_if(values->begin(), values->end(), ShowsValue));
}

bool ListsCalculations(const std::vector<TStackVal>* calc) { return calc && gGlobalMode != 0; }
bool ListsValidations(const std::vector<TStackVal>* valid) { return valid && valid->size() > 1 && gGlobalMode != 0; }

void RuleAcross(const TRect& pageRect, TDC& outDC, const TDC& dc, int y)
{
    const TPen old = outDC.SelectObject(ThinPen(dc, 1));
    outDC.MoveTo(pageRect.left, y);
    outDC.LineTo(pageRect.right, y);
    outDC.SelectObject(old);
}

}  // namespace

int HeaderHeight(const TDC& dc)
{
    const TTextMetric tm = dc.GetTextMetrics();
    return tm.tmHeight * 5 / 3 + tm.tmExternalLeading;
}

int FooterHeight(const TDC& dc)
{
    const TTextMetric tm = dc.GetTextMetrics();
    return tm.tmHeight * 6 / 5 + tm.tmExternalLeading;
}

bool ShowsValue(const TStackVal& v)
{
    if (gGlobalMode == 2) return true;
    return gGlobalMode == 1 && (v.Name().empty() || v.Name()[0] != '_');
}

int InfoBlockHeight(const TDC& dc, int hasValidations, const std::vector<TStackVal>* calcValues,
                    const std::vector<TStackVal>* validationValues)
{
    const TTextMetric tm = dc.GetTextMetrics();
    const int L = tm.tmHeight + tm.tmExternalLeading;
    int h = tm.tmHeight * 5 / 3 + (hasValidations ? 6 : 5) * L;
    if (ListsCalculations(calcValues)) h += tm.tmHeight / 2 + ShownCount(calcValues) * L;
    if (ListsValidations(validationValues)) h += tm.tmHeight / 2 + ShownCount(validationValues) * L;
    return h;
}

const char* FooterText(int pageCount, int page) { return page == pageCount ? "the end" : "continue ..."; }

const char* ValidityText(int validity)
{
    switch (validity) {
    case -1: return "error in expression";
    case 0: return "not calculated";
    case 1: return "O.K.";
    case 2: return "invalid";
    default: return "???";
    }
}

void PrintHeader(const TRect& pageRect, TDC& outDC, const TDC& dc, const char* dateText, int pageCount, int page)
{
    const TTextMetric tm = dc.GetTextMetrics();
    outDC.TextOut(pageRect.left, pageRect.top, "Vyn32");
    outDC.TextOut(pageRect.left + Width(dc, "Vyn32  "), pageRect.top, dateText ? dateText : "");
    const unsigned align = outDC.SetTextAlign(TA_RIGHT | TA_TOP);
    outDC.TextOut(pageRect.right, pageRect.top, "page " + std::to_string(page) + "/" + std::to_string(pageCount));
    outDC.SetTextAlign(align);
    RuleAcross(pageRect, outDC, dc, pageRect.top + tm.tmHeight);
}

void PrintFooter(const TRect& pageRect, TDC& outDC, const TDC& dc, int pageCount, int page)
{
    const TTextMetric tm = dc.GetTextMetrics();
    const unsigned align = outDC.SetTextAlign(TA_RIGHT | TA_BOTTOM);
    outDC.TextOut(pageRect.right, pageRect.bottom, FooterText(pageCount, page));
    outDC.SetTextAlign(align);
    RuleAcross(pageRect, outDC, dc, pageRect.bottom - tm.tmHeight - tm.tmExternalLeading);
}

void PrintSeparator(const TRect& pageRect, TDC& outDC, const TDC& dc, int y)
{
    const TTextMetric tm = dc.GetTextMetrics();
    const int at = y + tm.tmHeight / 2 + tm.tmExternalLeading;
    const TPen old = outDC.SelectObject(TPen(TColor::Black, 0, PS_DOT));
    outDC.MoveTo(pageRect.left, at);
    outDC.LineTo(pageRect.right, at);
    outDC.SelectObject(old);
}

std::string ShortenPath(const std::string& path, const TDC& dc, int maxWidth)
{
    std::u32string s = DecodeText(path);
    if (s.size() <= kShortPathLength || Width(dc, path) <= maxWidth) return path;
    if (s.size() > kKeptPathLength) s.erase(0, s.size() - kKeptPathLength);
    std::size_t half = (s.size() - kShortPathLength) / 2;
    std::size_t dots = half;
    s.replace(dots, 4, U"....");
    while (s.size() > kShortPathLength && Width(dc, EncodeUtf8(s)) > maxWidth) {
        const std::size_t h = (s.size() - kShortPathLength) / 2;
        if (h < half && dots > 0) {
            s.erase(dots - 1, 1);
            --dots;
        } else if (dots + 4 < s.size()) {
            s.erase(dots + 4, 1);
        } else if (dots > 0) {
            s.erase(dots - 1, 1);
            --dots;
        } else {
            break;
        }
        half = h;
    }
    return EncodeUtf8(s);
}

void PrintInfoBlock(const TRect& pageRect, int yOffset, TDC& outDC, const TDC& dc, const TRegion* clip,
                    const PrintHeaderInfo& info)
{
    const TTextMetric tm = dc.GetTextMetrics();
    const int L = tm.tmHeight + tm.tmExternalLeading;
    const bool listCalc = ListsCalculations(info.calcValues);
    const bool listValid = ListsValidations(info.validationValues);

    int labelWidth = 0;
    for (const char* label : {"Method", "Comment", "Plate", "Measured", "Validity", "Filter", "Filters"})
        labelWidth = std::max(labelWidth, Width(dc, label));
    for (auto [values, listed] : {std::pair{info.calcValues, listCalc}, std::pair{info.validationValues, listValid}}) {
        if (!listed) continue;
        for (const TStackVal& v : *values)
            if (ShowsValue(v)) labelWidth = std::max(labelWidth, Width(dc, v.Name()));
    }
    const int colonX = pageRect.left + labelWidth + tm.tmAveCharWidth;
    const int valueX = colonX + Width(dc, ":") + tm.tmAveCharWidth * 3 / 2;

    // A little air below the header rule before the first row.
    int y = pageRect.top + yOffset + tm.tmHeight / 2;
    std::vector<const char*> labels = {"Method", "Comment", "Plate", "Measured", info.useReference ? "Filters" : "Filter"};
    if (info.hasValidations) labels.push_back("Validity");
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const int rowY = y + static_cast<int>(i) * L;
        outDC.TextOut(pageRect.left, rowY, labels[i]);
        outDC.TextOut(colonX, rowY, ":");
    }

    outDC.IntersectClipRect(pageRect);
    if (!info.methodName.empty()) outDC.TextOut(valueX, y, info.methodName);
    if (!info.comment.empty()) outDC.TextOut(valueX, y + L, info.comment);
    if (!info.platePath.empty())
        outDC.TextOut(valueX, y + 2 * L, ShortenPath(info.platePath, dc, pageRect.right - valueX));
    if (info.measuredTime != 0) {
        outDC.TextOut(valueX, y + 3 * L, FileTimeText(info.measuredTime));
        std::string filters = std::to_string(info.filter) + " nm";
        if (info.useReference) filters += " / " + std::to_string(info.refFilter) + " nm";
        outDC.TextOut(valueX, y + 4 * L, filters);
    }
    if (info.hasValidations) outDC.TextOut(valueX, y + 5 * L, ValidityText(info.validity));
    y += static_cast<int>(labels.size()) * L;

    auto listValues = [&](const std::vector<TStackVal>& values, bool yesNo) {
        y += tm.tmHeight / 2;
        for (const TStackVal& v : values) {
            if (!ShowsValue(v)) continue;
            outDC.TextOut(pageRect.left, y, v.Name());
            outDC.TextOut(colonX, y, "=");
            std::string text;
            if (v.IsError()) {
                text = "*ERROR*";
            } else if (yesNo && v.IsNumber()) {
                text = v.Number() != 0 ? "yes" : "*NO*";
            } else {
                char buf[kValueTextSize];
                FormatValueText(v, buf, sizeof buf);
                text = buf;
            }
            outDC.TextOut(valueX, y, text);
            y += L;
        }
    };
    if (listCalc) listValues(*info.calcValues, false);
    if (listValid) listValues(*info.validationValues, true);

    y += tm.tmHeight / 2;
    outDC.SelectClipRgn(clip);
    RuleAcross(pageRect, outDC, dc, y);
}

}  // namespace vyn
