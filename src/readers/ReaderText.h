#pragma once
#include <string>
#include <string_view>

namespace vyn {

// Small text scanners shared by the reader families' options and replies.

// Reads up to n integers after the first occurrence of word (blanks between them, each with
// an optional sign); answers how many were read. Absurdly long numbers saturate.
int ScanIntsAfter(std::string_view text, std::string_view word, int* out, int n);

// A fixed-width field that holds one integer: blanks, an optional sign, digits, blanks.
// False when it holds anything else or no digit.
bool ParseIntField(std::string_view field, long& value);

// The numbers of the runs of decimal digits in text, at most max of them.
int ExtractNumbers(std::string_view text, int* out, int max);

}  // namespace vyn
