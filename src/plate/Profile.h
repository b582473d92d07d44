#pragma once
#include <string>

#include "platform/core/Registry.h"
#include "platform/core/StringTable.h"  // LoadResString

namespace vyn {

// The program's settings file; the profile layer finds it in the configuration folder.
inline constexpr const char* kProfileName = "VYN.INI";

// Scratch line for the formatted profile routines and the text exchange: at most 8000
// characters, valid until its next user.
extern char gIniText[8002];

// Settings in "VYN.INI". Numbers are stored as decimal text: integers as "%d", doubles in
// the plain form of FormatDouble (15 significant digits, gDecimalChar).
int ProfileGetInt(const char* section, const char* key, int defaultValue);
// Characters copied into buffer (cut to size - 1, always terminated); the default when missing.
int ProfileGetString(const char* section, const char* key, const char* defaultText, char* buffer, int size);
std::string ProfileGetString(const char* section, const char* key, const char* defaultText);
// The default itself when the key is missing or empty; NoValue when the text holds no number.
double ProfileGetDouble(const char* section, const char* key, double defaultValue);

// Each answers 1 when the file was written, 0 when not.
int ProfileWriteInt(const char* section, const char* key, int value);
int ProfileWriteString(const char* section, const char* key, const char* text);
int ProfileWriteDouble(const char* section, const char* key, double value);
// printf-style into gIniText, then written; numbers always in the "C" locale.
int ProfileWriteFormat(const char* section, const char* key, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// Reads the value into gIniText and scans it scanf-style ("C" locale); answers the number of
// fields converted, 0 (places untouched) for a missing or empty value.
int ProfileScanFormat(const char* section, const char* key, const char* format, ...)
    __attribute__((format(scanf, 3, 4)));

// What the user is told when settings could not be written to "VYN.INI": the file by its full
// path, and whether it was left alone because it is read-only; the box bears the program's name.
inline constexpr int kMsgSettingsNotWritten = 21086, kMsgSettingsReadOnly = 21087, kMsgSettingsCaption = 21090;
std::string SettingsNotKeptText();

// Reads a registry value into buffer (emptied first); answers the bytes stored, a text's
// terminating zero included, or 0 with an empty buffer when the key or value is missing, the
// value does not fit, or the store cannot be read.
int RegReadValue(RegRoot root, const char* subKey, const char* name, char* buffer, int size);
// Stores text as a REG_SZ value, creating the key and its parents when needed. Answers 0 on
// success, else the error of creating the key or of writing the value.
long RegWriteString(RegRoot root, const char* subKey, const char* name, const char* text);

}  // namespace vyn
