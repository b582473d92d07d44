#pragma once
// The installer's registry routines over the shared registry store.
#include <string>

#include "platform/core/Registry.h"

namespace vyn {

// "HKCR", "HKCU", "HKLM", then "HKU", each matching as a case-sensitive prefix of the text.
bool RootKeyFromName(const std::string& text, RegRoot& root);

// Expands %NAME% from the environment; an unknown name stays as it is.
std::string ExpandEnvironmentStrings(const std::string& text);

// The value (the default value for an empty name) of any type as text, environment names
// expanded; empty on any failure, including a value longer than 260 bytes.
std::string ReadRegString(RegRoot root, const std::string& subKey, const std::string& name);
// Set a value of an existing key (a missing key is an error, never created); 0 or an error.
long WriteRegString(RegRoot root, const std::string& subKey, const std::string& name, const std::string& text);
long WriteRegBinary(RegRoot root, const std::string& subKey, const std::string& name, const void* data, std::size_t size);
// Creates the key when needed and sets a text value; 0 or the first error.
long CreateRegString(RegRoot root, const std::string& subKey, const std::string& name, const std::string& text);

// Deletes a key with its sub-keys, or, when onlyWhenEmpty, only a key that has neither
// sub-keys nor values (a key that has some stays, and that is no error).
long DeleteRegistryKey(RegRoot root, const std::string& subKey, bool onlyWhenEmpty);

}  // namespace vyn
