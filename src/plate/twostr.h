#pragma once
#include <string>
#include <vector>

namespace vyn {

// A named expression of the method: a calculation, a sample evaluation or a validation.
struct twostr {
    std::string name;
    std::string text;

    bool operator==(const twostr&) const = default;
};

using TwostrArray = std::vector<twostr>;

}  // namespace vyn
