#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "plate/twostr.h"

namespace vyn {

// --- labels of rows, columns and groups ---------------------------------------------------

// A..Z for 0..25, then two letters (26 AA, 51 AZ, 52 BA) up to 701 (ZZ). Writes at most two
// letters and a zero into buffer (room for 3); answers the length, 0 (empty text) for an
// index outside 0..701.
int IndexToLetters(char* buffer, int index);
int IndexToLettersLower(char* buffer, int index);
std::string IndexToLetters(int index);
// The decimal text of index + 1; buffer has room for 12.
int IndexToNumberText(char* buffer, int index);
// The same into a small static buffer each, valid until the next call (main thread only).
const char* IndexToLettersStatic(int index);
const char* IndexToNumberTextStatic(int index);

// --- definition names ---------------------------------------------------------------------

// Keeps the identifier characters of name (letters, '_', digits except first, at most 31);
// when nothing or only the prefix with digits is left, the name becomes prefix and i + 1.
// Answers whether the name changed.
bool NormalizeDefinitionName(const std::string& prefix, int i, std::string& name);
bool NormalizeDefinitionNames(const std::string& prefix, TwostrArray& list);

// --- arrays of the method definition ------------------------------------------------------

inline bool EqualDoubleArrays(const std::vector<double>& a, const std::vector<double>& b) { return a == b; }
inline bool EqualStringArrays(const std::vector<std::string>& a, const std::vector<std::string>& b) { return a == b; }
inline bool EqualTwostrArrays(const TwostrArray& a, const TwostrArray& b) { return a == b; }
inline void AssignDoubleArray(std::vector<double>& dst, const std::vector<double>& src) { dst = src; }
inline void AssignStringArray(std::vector<std::string>& dst, const std::vector<std::string>& src) { dst = src; }
inline void AssignTwostrArray(TwostrArray& dst, const TwostrArray& src) { dst = src; }

// --- value lists --------------------------------------------------------------------------

// The smallest (largest) of start and the n values, skipping NoValue; NoValue only when
// start and every value are NoValue.
double MinOfValues(double start, const double* values, int n);
double MaxOfValues(double start, const double* values, int n);

// --- doubles as text ----------------------------------------------------------------------

// "%0.16g" of the value in the "C" locale; the empty text for NoValue.
std::string DoubleToText(double value);
// Reads one number ('.' as the decimal point); NoValue when there is none.
double TextToDouble(const std::string& text);
// True when the value does not survive DoubleToText and TextToDouble unchanged.
bool ChangesAsText(double value);

// Converts a double to a 32-bit integer, truncating toward zero; NaN gives 0 and values
// beyond the range give the nearest end, where a plain cast would be undefined.
std::int32_t DoubleToInt32(double value);

// --- text and bytes -----------------------------------------------------------------------

// Texts equal without regard to case (ASCII letters and the Latin-1 letters in UTF-8).
bool EqualNoCase(std::string_view a, std::string_view b);
// Removes trailing blanks in place.
void TrimRight(char* text);
void TrimTrailingBlanks(std::string& text);
// Exclusive or of the n bytes (0 for n <= 0), the check byte of several readers' records.
unsigned char XorBytes(const unsigned char* bytes, int n);
// first * 16 or'ed with the low four bits of second, as one byte.
unsigned char CombineNibbles(char first, char second);

}  // namespace vyn
