#include "report_designer/AttrValues.h"

#include <array>
#include <sstream>

#include "platform/core/StringTable.h"
#include "platform/core/TypedNumbers.h"
#include "reports/RPScale.h"

namespace vyn {

std::string ColorText(int colour)
{
    if ((static_cast<unsigned>(colour) >> 24) != 0) return std::string();
    return std::to_string(colour & 0xFF) + " " + std::to_string((colour >> 8) & 0xFF) + " " +
           std::to_string((colour >> 16) & 0xFF);
}

int ParseColorText(const std::string& text)
{
    // Three words, each a whole number 0..255 as the typed-number reader takes it.
    std::istringstream words(text);
    std::string word;
    int c[3];
    for (int& v : c)
        if (!(words >> word) || ReadTypedWhole(word.c_str(), 0, 255, v) != tnNumber) return -1;
    if (words >> word) return -1;
    return c[0] + 256 * c[1] + 65536 * c[2];
}

int ParseLengthText(const std::string& typed, int& twips)
{
    std::string s = typed.substr(0, 15);
    return ParseLengthTwips(s, twips);
}

std::string FormatValueText(const RPNumFormat& f)
{
    static const char* const kNames[] = {"General", "Scientific", "Fixed"};
    if (f.kind < 0 || f.kind > 2) return std::string();
    std::string s = std::string(kNames[f.kind]) + " ";
    if (f.kind != 0 && f.decimals != 0) s += std::to_string(f.decimals) + " ";
    if (f.digits != 0) s += "(" + std::to_string(f.digits) + ")";
    return s;
}

std::string AxisValueText(const RPAxisSpec& a)
{
    if (a.kind < 0 || a.kind > 2) return std::string();
    const auto& w = ChoiceTexts(cgAxisWords);
    return w[a.kind == 1 ? 0 : 1] + w[a.scale == 1 ? 2 : 3];
}

std::string FontValueText(const RPLogFont* font)
{
    if (!font) return std::string();
    return std::to_string(font->height / 10) + " pt  " + font->Face();
}

const std::vector<std::string>& ChoiceTexts(int group)
{
    struct Group {
        int firstId;
        int count;
    };
    static const std::array<Group, cgGroupCount> kGroups{{
        {7700, 2}, {7710, 7}, {7720, 5}, {7730, 3}, {7740, 2}, {7750, 4}, {7760, 4},
        {7770, 2}, {7780, 2}, {7790, 3}, {7800, 2}, {7810, 2}, {7820, 4}, {0, 2},
    }};
    static const std::array<std::vector<std::string>, cgGroupCount> table = [] {
        std::array<std::vector<std::string>, cgGroupCount> t;
        for (int g = 0; g < cgGroupCount; ++g) {
            if (g == cgSlant) {
                t[g] = {"\\", "/"};
                continue;
            }
            const std::size_t cut = g == cgPresence ? 23 : 15;
            for (int k = 0; k < kGroups[g].count; ++k)
                t[g].push_back(std::string(GetResString(kGroups[g].firstId + k)).substr(0, cut));
        }
        return t;
    }();
    static const std::vector<std::string> none;
    return group >= 0 && group < cgGroupCount ? table[group] : none;
}

int GetIntAttr(const RPObjAttr& t, int code)
{
    switch (code) {
    case acLeft: return t.GetLeft();
    case acTop: return t.GetTop();
    case acWidth: return t.GetWidth();
    case acHeight: return t.GetHeight();
    case acBorderStyle: return t.GetBorderStyle();
    case acRGBBorder: return t.GetRGBBorder();
    case acBorderWidth: return t.GetBorderWidth();
    case acBorderLnStyle: return t.GetBorderLnStyle();
    case acBackStyle: return t.GetBackStyle();
    case acRGBBack: return t.GetRGBBack();
    case acRGBFore: return t.GetRGBFore();
    case acTextAlignH: return t.GetTextAlignH();
    case acTextAlignV: return t.GetTextAlignV();
    case acLineSlant: return t.GetLineSlant();
    case acRGBCurve: return t.GetRGBCurve();
    case acRGBPoint: return t.GetRGBPoint();
    case acCurveWidth: return t.GetCurveWidth();
    case acCurveRange: return t.GetCurveRange();
    case acDrawGrid: return t.GetDrawGrid();
    case acGridWidth: return t.GetGridWidth();
    case acDrawAxes: return t.GetDrawAxes();
    case acAxesWidth: return t.GetAxesWidth();
    case acDrawLabels: return t.GetDrawLabels();
    case acForceNewPage: return t.GetForceNewPage();
    case acHdFtPresent: return t.GetHdFtPresent();
    case acNOfColumns: return t.GetNOfColumns();
    case acColumnLayout: return t.GetColumnLayout();
    case acDetailSamples: return t.GetDetailSamples();
    case acGranulX: return t.GetGranulX();
    case acGranulY: return t.GetGranulY();
    case acSizeMode: return t.GetSizeMode();
    default: return kNoCommonValue;
    }
}

void SetIntAttr(RPObjAttr& t, int code, int v)
{
    switch (code) {
    case acLeft: t.SetLeft(v); break;
    case acTop: t.SetTop(v); break;
    case acWidth: t.SetWidth(v); break;
    case acHeight: t.SetHeight(v); break;
    case acBorderStyle: t.SetBorderStyle(v); break;
    case acRGBBorder: t.SetRGBBorder(v); break;
    case acBorderWidth: t.SetBorderWidth(v); break;
    case acBorderLnStyle: t.SetBorderLnStyle(v); break;
    case acBackStyle: t.SetBackStyle(v); break;
    case acRGBBack: t.SetRGBBack(v); break;
    case acRGBFore: t.SetRGBFore(v); break;
    case acTextAlignH: t.SetTextAlignH(v); break;
    case acTextAlignV: t.SetTextAlignV(v); break;
    case acLineSlant: t.SetLineSlant(v); break;
    case acRGBCurve: t.SetRGBCurve(v); break;
    case acRGBPoint: t.SetRGBPoint(v); break;
    case acCurveWidth: t.SetCurveWidth(v); break;
    case acCurveRange: t.SetCurveRange(v); break;
    case acDrawGrid: t.SetDrawGrid(v); break;
    case acGridWidth: t.SetGridWidth(v); break;
    case acDrawAxes: t.SetDrawAxes(v); break;
    case acAxesWidth: t.SetAxesWidth(v); break;
    case acDrawLabels: t.SetDrawLabels(v); break;
    case acForceNewPage: t.SetForceNewPage(v); break;
    case acHdFtPresent: t.SetHdFtPresent(v); break;
    case acNOfColumns: t.SetNOfColumns(v); break;
    case acColumnLayout: t.SetColumnLayout(v); break;
    case acDetailSamples: t.SetDetailSamples(v); break;
    case acGranulX: t.SetGranulX(v); break;
    case acGranulY: t.SetGranulY(v); break;
    case acSizeMode: t.SetSizeMode(v); break;
    default: break;
    }
}

}  // namespace vyn
