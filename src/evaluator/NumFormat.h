#pragma once
// One formatter and one parser for every number the program shows, prints, exports or
// stores, both honouring the program-wide decimal character and never the process locale.

#include "platform/core/TypedNumbers.h"

namespace vyn {

enum QNumMode { nmGeneral = 0, nmScientific = 1, nmFixed = 2 };

// A display format: significant digits (0 means 15), mode and digits after the decimal
// character (Scientific and Fixed only).
struct QNumFormat {
    int digits = 4;
    int mode = nmGeneral;
    int decimals = 2;

    QNumFormat() = default;
    // Stored unchecked, as the callers who build formats from stored text expect.
    QNumFormat(int mode_, int decimals_, int digits_) : digits(digits_), mode(mode_), decimals(decimals_) {}

    // Each answers 1 when the field changed, 0 when it already held the resulting value.
    int SetMode(int value);      // 0..2, anything else General
    int SetDigits(int value);    // 0..15, anything else 0 (= 15 digits)
    int SetDecimals(int value);  // clamped into 0..15

    bool operator==(const QNumFormat&) const = default;
};

// The decimal character of the whole program, '.' or ','.
extern char gDecimalChar;

// FormatDouble writes here; the text is valid until the next FormatDouble or
// RoundToSignificant call. gNumTextLen is the length of that text.
extern char gNumText[28];
extern int gNumTextLen;

// Formats value; NoValue gives "#" when missingFlag is non-zero, else "". Digits and
// decimals outside their field ranges are brought into them so the result always fits.
const char* FormatDouble(double value, int mode, int decimals, int digits, int missingFlag);
inline const char* FormatDouble(double value, const QNumFormat& f, int missingFlag = 0)
{
    return FormatDouble(value, f.mode, f.decimals, f.digits, missingFlag);
}

// Reads a number the way strtod does in the "C" locale, but also accepts the first
// gDecimalChar of the text as the decimal point. NoValue when nothing converts; *end
// receives the first character not read (the start of text in that case).
double ParseDouble(const char* text, const char** end = nullptr);

// A number the user typed, read as ParseDouble reads it (the platform core's reader with the
// program's decimal character); see platform/core/TypedNumbers.h for TypedNumber and for
// ReadTypedWhole. NoValue for tnMissing.
inline TypedNumber ReadTypedNumber(const char* text, double& value, const char** end = nullptr)
{
    return ReadTypedNumber(text, gDecimalChar, value, end);
}

// Reads a number with '.' as the only decimal point (strtod rules, "C" locale). Answers
// false, with value untouched and *end = text, when nothing converts.
bool ReadCDouble(const char* text, double& value, const char** end = nullptr);

// value rounded to n significant digits through the formatter's digit generation;
// n = 0 and NoValue give the value unchanged. Uses gNumText as scratch.
double RoundToSignificant(double value, int n);

// 1 when the plain text form of value does not read back as exactly value.
int DiffersFromText(double value);

}  // namespace vyn
