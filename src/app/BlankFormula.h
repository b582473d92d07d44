#pragma once
// The blank formula as the method editors offer it ready-made: the blank sample's name alone
// or its average.
#include <string>

namespace vyn {

// 0 only blanks, 1 the blank name alone, 2 "avg( name )", 3 anything else. Blanks are
// allowed around every part; the name is compared with case.
int ClassifyBlankFormula(const std::string& text, const std::string& blankName);
std::string BlankFormulaText(bool averaged, const std::string& blankName);

}  // namespace vyn
