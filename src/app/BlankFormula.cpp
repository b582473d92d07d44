#include "app/BlankFormula.h"

namespace vyn {

namespace {

void SkipBlanks(const std::string& t, std::size_t& i)
{
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
}

bool Take(const std::string& t, std::size_t& i, const std::string& word)
{
    if (t.compare(i, word.size(), word) != 0) return false;
    i += word.size();
    return true;
}

}  // namespace

int ClassifyBlankFormula(const std::string& text, const std::string& blankName)
{
    std::size_t i = 0;
    SkipBlanks(text, i);
    if (i == text.size()) return 0;
    const std::size_t start = i;
    if (text.compare(start, 3, "avg") == 0) {
        i = start + 3;
        SkipBlanks(text, i);
        if (!Take(text, i, "(")) return 3;
        SkipBlanks(text, i);
        if (blankName.empty() || !Take(text, i, blankName)) return 3;
        SkipBlanks(text, i);
        if (!Take(text, i, ")")) return 3;
        SkipBlanks(text, i);
        return i == text.size() ? 2 : 3;
    }
    i = start;
    if (blankName.empty() || !Take(text, i, blankName)) return 3;
    SkipBlanks(text, i);
    return i == text.size() ? 1 : 3;
}

std::string BlankFormulaText(bool averaged, const std::string& blankName)
{
    return averaged ? "avg( " + blankName + " )" : blankName;
}

}  // namespace vyn
