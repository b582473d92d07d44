#pragma once
#include <string>
#include <utility>
#include <vector>

namespace vyn {

// A private profile file ("VYN.INI"): sections of key=value lines. Sections and keys
// compare without regard to case; values are read with surrounding blanks and one pair of
// enclosing quotes removed. Every change rereads the file and rewrites it whole through a
// temporary file under a lock, keeping the order and the comment lines of the file.
class ProfileFile {
public:
    // A bare name lives in the configuration folder; a name with a '/' is used as it is.
    explicit ProfileFile(const std::string& name);
    static std::string ResolvePath(const std::string& name);

    const std::string& Path() const { return path_; }
    // The file exists and its mode (or the system) does not let this program write it. Such a
    // file is never changed: every write answers false and leaves it as it is.
    bool ReadOnly() const;

    // False when the file, the section or the key is missing.
    bool Read(const std::string& section, const std::string& key, std::string& value) const;
    // Key names of the section in file order; empty when the section is missing.
    std::vector<std::string> Keys(const std::string& section) const;
    std::vector<std::string> Sections() const;

    // Each creates the file (and its folder) when needed; false when it could not be written.
    bool Write(const std::string& section, const std::string& key, const std::string& value);
    bool DeleteKey(const std::string& section, const std::string& key);
    bool DeleteSection(const std::string& section);
    // The section holds exactly these entries afterwards, in this order (none: it is removed),
    // written in one rewrite of the file: it is either wholly old or wholly new.
    bool ReplaceSection(const std::string& section, const std::vector<std::pair<std::string, std::string>>& entries);

private:
    std::string path_;
};

// ProfileFile::ReadOnly for a path as it stands.
bool IsReadOnlyProfile(const std::string& path);

// The profile calls the program was written against, on a ProfileFile.

// Copies the value, or the default with its trailing blanks removed, into buffer (cut to
// size - 1 characters, always terminated); answers the number of characters copied.
int GetPrivateProfileString(const char* section, const char* key, const char* defaultText, char* buffer,
                            int size, const char* fileName);
// The value as an integer: leading blanks, a sign, a 0x/0o/0b prefix and digits up to the
// first other character; 0 when there are no digits; the default only when the key is
// missing or empty.
int GetPrivateProfileInt(const char* section, const char* key, int defaultValue, const char* fileName);
// A null key deletes the section, a null value deletes the key.
bool WritePrivateProfileString(const char* section, const char* key, const char* value, const char* fileName);

}  // namespace vyn
