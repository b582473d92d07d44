#pragma once
// The attribute editor's value texts: how lengths, colours, whole numbers, number formats,
// axes and fonts are shown in a row and read back from what the user typed, the shared
// table of choice texts, and the whole-number attributes reached by their code.
#include <string>
#include <vector>

#include "reports/RPObjAttr.h"
#include "reports/RPScale.h"

namespace vyn {

inline constexpr int kNoCommonValue = 32767;


// "r g b"; a colour with a non-zero top byte (none or mixed) shows nothing.
std::string ColorText(int colour);
// Three whole numbers of 0..255 separated by blanks; -1 for anything else.
int ParseColorText(const std::string& text);
// A typed length in inches or with the unit "pt", "mm", "cm" or "he" (twips as they are):
// 1 with the twips, 0 when no number begins the text, -1 when negative or above 31680 twips.
int ParseLengthText(const std::string& text, int& twips);

std::string FormatValueText(const RPNumFormat& format);
std::string AxisValueText(const RPAxisSpec& axis);
std::string FontValueText(const RPLogFont* font);

// The choice lists, by group; each text cut to its buffer of 15 characters (23 for the
// presence group).
enum ChoiceGroup {
    cgVisibility, cgWidth, cgLineStyle, cgAlignH, cgAlignV, cgPageBreak, cgPresence, cgOrder,
    cgSampleSelection, cgSizeMode, cgCurveRange, cgShow, cgAxisWords, cgSlant, cgGroupCount
};
const std::vector<std::string>& ChoiceTexts(int group);

// The int32 and colour attributes by their code; other codes read 32767 and write nothing.
int GetIntAttr(const RPObjAttr& target, int code);
void SetIntAttr(RPObjAttr& target, int code, int value);

}  // namespace vyn
