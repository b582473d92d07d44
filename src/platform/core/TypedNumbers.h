#pragma once
// The one reader of numbers a user types into a field, for the computing core and the platform's
// own dialogs alike, with the texts that tell the user a typed text was refused. Plain standard
// C++: strtod's rules in the "C" locale, whatever the process locale says.
#include <string>

namespace vyn {

// Reads a number the way strtod does in the "C" locale, also taking the first decimalChar of the
// text as the decimal point. false, with value untouched and *end = text, when nothing converts;
// numbers past the double range read as infinities, as strtod gives them.
bool ScanNumber(const char* text, char decimalChar, double& value, const char** end = nullptr);

// strtod also reads "nan", "inf" and numbers past the double range; none of these is a number
// the program can compute with or write to a file, so they are told apart from a text that
// simply holds no number.
enum TypedNumber { tnMissing, tnNumber, tnNotANumber };

// A number the user typed, read as ScanNumber reads it. tnMissing: no number at all (value
// becomes +infinity, the program's marker of a missing value); tnNumber: a finite value;
// tnNotANumber: value untouched. *end receives the first character not read.
TypedNumber ReadTypedNumber(const char* text, char decimalChar, double& value, const char** end = nullptr);

// A whole number the user typed for a field that holds one from low to high: blanks, an
// optional sign, decimal digits, blanks, and nothing else. tnMissing: the text is empty or
// blanks only; tnNumber: value set; tnNotANumber for every other text ("8.9", "1e3", "inf",
// letters, digits past the int range) and for a whole number outside low..high. value is
// changed only for tnNumber.
TypedNumber ReadTypedWhole(const char* text, int low, int high, int& value);

// A field that holds a whole number from low to high (a width, a count, a margin, a
// wavelength). Where the field has always read an empty text as 0, emptyIsZero keeps that.
struct WholeField {
    int low;
    int high;
    bool emptyIsZero = false;
};

// The messages for a text a field refuses: "… is not a number." and "… is not a whole number
// from low to high.", with the typed text cut to 40 bytes.
std::string NotANumberText(const std::string& typed);
std::string NotAWholeNumberText(const std::string& typed, const WholeField& field);

}  // namespace vyn
