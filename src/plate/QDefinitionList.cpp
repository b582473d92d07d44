#include "plate/QDefinitionList.h"

#include "plate/Utilities.h"

namespace vyn {

int QDefinitionList::AppendResult()
{
    const std::size_t k = results.size();
    results.emplace_back();
    if (k < definitions.size()) results.back().SetName(definitions[k].name);
    errorTexts.emplace_back();
    errorPositions.push_back(-1);
    return static_cast<int>(k);
}

bool QDefinitionList::ClearResults()
{
    const bool any = !results.empty() || !errorTexts.empty() || !errorPositions.empty();
    results.clear();
    errorTexts.clear();
    errorPositions.clear();
    return any;
}

const TStackVal* QDefinitionList::FindResult(std::string_view name) const
{
    for (auto it = results.rbegin(); it != results.rend(); ++it) {
        if (EqualNoCase(it->Name(), name)) return &*it;
    }
    return nullptr;
}

}  // namespace vyn
