#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vyn {

// The registry the program and its installer share: keys named by backslash paths under a
// few roots, each key holding typed values. Names compare without regard to case. Every root
// is one file "<config>/registry/<ROOT NAME>.reg"; a change rereads that file under a lock
// and replaces it whole, so two processes never lose each other's writes and a crash never
// leaves half a file.

enum class RegRoot : std::uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
    CurrentConfig = 0x80000005u,
};
inline constexpr RegRoot HKEY_CLASSES_ROOT = RegRoot::ClassesRoot;
inline constexpr RegRoot HKEY_CURRENT_USER = RegRoot::CurrentUser;
inline constexpr RegRoot HKEY_LOCAL_MACHINE = RegRoot::LocalMachine;
inline constexpr RegRoot HKEY_USERS = RegRoot::Users;
inline constexpr RegRoot HKEY_CURRENT_CONFIG = RegRoot::CurrentConfig;

// Value types; a text value's data carries its terminating zero.
inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;

// Results, with the numbers the system's code and its record files use.
inline constexpr long ERROR_SUCCESS = 0;
inline constexpr long ERROR_FILE_NOT_FOUND = 2;        // no such key or value
inline constexpr long ERROR_ACCESS_DENIED = 5;         // plain delete of a key with sub-keys
inline constexpr long ERROR_WRITE_FAULT = 29;          // the store could not be written
inline constexpr long ERROR_INVALID_PARAMETER = 87;
inline constexpr long ERROR_BADDB = 1009;              // the store file is damaged; it is left as it is
inline constexpr long ERROR_KEY_HAS_CHILDREN = 1020;   // delete-when-empty of a key that is not empty

// The file that holds a root.
std::string RegistryFilePath(RegRoot root);

// Creates the key and every missing parent; succeeds when it exists already.
long RegCreateKey(RegRoot root, const std::string& subKey);
bool RegKeyExists(RegRoot root, const std::string& subKey);
// Sets a value of an existing key (never creates the key); the empty name is the default value.
long RegSetValue(RegRoot root, const std::string& subKey, const std::string& name, std::uint32_t type,
                 const void* data, std::size_t size);
long RegQueryValue(RegRoot root, const std::string& subKey, const std::string& name, std::uint32_t* type,
                   std::vector<unsigned char>& data);
long RegDeleteValue(RegRoot root, const std::string& subKey, const std::string& name);
// Deletes a key with its values; refused (ERROR_ACCESS_DENIED) while it has sub-keys.
long RegDeleteKey(RegRoot root, const std::string& subKey);
// Deletes a key with all its sub-keys and values.
long RegDeleteTree(RegRoot root, const std::string& subKey);
// Deletes a key only when it has neither sub-keys nor values (ERROR_KEY_HAS_CHILDREN otherwise).
long RegDeleteEmptyKey(RegRoot root, const std::string& subKey);
// Names of the direct sub-keys and of the values, in the order they were made.
long RegEnumKeys(RegRoot root, const std::string& subKey, std::vector<std::string>& names);
long RegEnumValues(RegRoot root, const std::string& subKey, std::vector<std::string>& names);

}  // namespace vyn
