#pragma once
#include <string>

namespace vyn {

class TStackVal;

// One line of display text for an evaluator value: "#" for an error, "!" for nothing, a
// text as it is, a number with five significant digits ("#" for NoValue), a vector as
// "{ a; b}". The buffer form cuts at size - 1 bytes (then without the closing brace, never
// inside a UTF-8 character), always terminates and answers the length written.
int FormatValueText(const TStackVal& value, char* buffer, int size);
std::string FormatValueText(const TStackVal& value);

}  // namespace vyn
