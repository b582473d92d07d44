#pragma once
// The setup information file: sections of lines, each line an optional key before '=' and
// comma-separated fields. ';' starts a comment, a '\' at the end of a line continues it on the
// next, quotes keep blanks, commas and semicolons ("" is one quote), and %name% is replaced by
// the value of name in [Strings] (%% gives one '%'; %<number>% is a directory id, filled in when
// the text is used). Section names and keys compare without regard to case; sections of the
// same name are one section. Bytes that are not valid UTF-8 are read as Windows-1252.
//
// A damaged file is refused as a whole with the message of its first fault, naming the line.
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vyn {

struct InfLine {
    int lineNo = 0;         // of the line's first physical line
    bool hasKey = false;
    std::vector<std::string> fields;  // [0] is the key (empty without one), then the values
};

struct InfSection {
    std::string name;
    std::vector<InfLine> lines;
};

class InfFile {
public:
    // The longest logical line (after joining continued lines), and the largest file.
    static constexpr std::size_t kMaxLineLength = 4096;
    static constexpr std::size_t kMaxFileSize = 4 * 1024 * 1024;
    // The directory id that the chosen destination folder gets.
    static constexpr int kDestinationDirId = 66000;

    bool Open(const std::string& path);
    // Parses the bytes; name is used in messages.
    bool Parse(std::string_view bytes, const std::string& name);
    void Close();

    bool IsOpen() const { return open_; }
    const std::string& Path() const { return path_; }
    // The message of the fault that refused the file (empty when it is open).
    const std::string& ErrorText() const { return error_; }
    int ErrorId() const { return errorId_; }

    const InfSection* FindSection(std::string_view name) const;
    bool HasSection(std::string_view name) const { return FindSection(name) != nullptr; }
    // The first line of the section with this key.
    const InfLine* FindLine(std::string_view section, std::string_view key) const;

    // Number of fields after the key.
    static int FieldCount(const InfLine& line) { return static_cast<int>(line.fields.size()) - 1; }
    // Field i (0 = key) with strings and directory ids filled in; false when the line has no such field.
    bool GetField(const InfLine& line, int index, std::string& out) const;
    // The values of the line joined by commas, filled in.
    std::string LineText(const InfLine& line) const;

    // The directory that an id stands for; the destination id is set once it is chosen.
    void SetDirectoryId(int id, const std::string& path);
    // The folder that [DestinationDirs] gives the section (else its DefaultDestDir): a directory
    // id, optionally followed by a sub-folder. False when there is none or its id is unknown.
    bool GetTargetPath(std::string_view section, std::string& out) const;

    // Fills %name% and %id% into a raw text.
    std::string Substitute(const std::string& raw) const;

private:
    bool Fail(int id, const std::string& where);
    bool ParseLogicalLine(std::string_view text, int lineNo, InfSection*& current);
    bool CheckStrings();

    bool open_ = false;
    std::string path_;
    std::string name_;
    std::string error_;
    int errorId_ = 0;
    std::vector<InfSection> sections_;
    std::map<std::string, std::string> strings_;  // lower-case key -> value
    std::map<int, std::string> dirIds_;
};

// The whole value of a key's line, or the default (empty for null) when the file is not open or
// has no such line.
std::string GetInfString(const InfFile& inf, std::string_view section, std::string_view key, const char* defaultText);

}  // namespace vyn
