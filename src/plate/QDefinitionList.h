#pragma once
#include <string>
#include <vector>

#include "evaluator/TStackVal.h"
#include "plate/twostr.h"

namespace vyn {

// A list of named expressions of the method (the calculations or the validations) with the
// results of those already evaluated. The results always cover a prefix of the definitions;
// the definitions beyond are pending and evaluated by the next pass.
struct QDefinitionList {
    TwostrArray definitions;
    std::vector<TStackVal> results;       // result i is named after definition i
    std::vector<std::string> errorTexts;  // empty for a good result
    std::vector<int> errorPositions;      // -1 for a good result

    int DefinitionCount() const { return static_cast<int>(definitions.size()); }
    int ResultCount() const { return static_cast<int>(results.size()); }
    bool HasPending() const { return results.size() < definitions.size(); }

    // Appends the result of the next pending definition (named after it, good so far) and
    // answers its index.
    int AppendResult();
    // Deletes every result with its error text and position; answers whether any was there.
    bool ClearResults();
    // The last result named name (without regard to case), or null.
    const TStackVal* FindResult(std::string_view name) const;
};

}  // namespace vyn
