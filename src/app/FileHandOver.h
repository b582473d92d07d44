#pragma once
// The hand-over of file names between a second start and the running instance, and the
// pending-file list that the main thread opens once the main window is ready.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gui/HandOverChannel.h"

namespace vyn {

inline constexpr std::uint32_t kHandOverTag = 0xAB45;
inline constexpr std::uint32_t kHandOverBegin = 0x0001AB45;
inline constexpr std::uint32_t kHandOverWholeName = 0x0102AB45;
inline constexpr std::uint32_t kHandOverTokenName = 0x0002AB45;
inline constexpr std::uint32_t kHandOverEnd = 0x0004AB45;
inline constexpr int kHandOverTimeoutMs = 10000;

// The records of a command line: the begin record with the whole line, one name record per
// name on it, in order, then the end record. Names are separated by blanks (only the blank
// separates; runs of blanks give no empty names); a stretch in double quotes belongs to the name
// whole, blanks included, with \" and \\ standing for a quote and a backslash in it (an unclosed
// quote runs to the end). A name with a quoted stretch is a whole name, any other a token. An
// empty line gives no records.
std::vector<THandOverRecord> CommandLineRecords(const std::string& commandLine);
// What a second start sends: the records of its command line; with no names at all, the
// begin record alone, which brings the running instance's window to the front.
std::vector<THandOverRecord> SecondStartRecords(const std::string& commandLine);
// The records of dropped files: begin without text, one whole name per non-empty name, end.
std::vector<THandOverRecord> DropRecords(const std::vector<std::string>& names);
// A name as it stands on a command line: as it is, or, when it holds a blank or a quote, in
// quotes with its quotes and backslashes escaped, so that CommandLineRecords gives
// it back unchanged.
std::string QuoteArgument(const std::string& name);
// A command line from the program's arguments: relative names are made whole against the
// folder the program was started in, "." and ".." and links in them taken as the system takes
// them, and each argument is written with QuoteArgument.
std::string JoinArguments(int argc, char** argv, const std::string& startDir);

// One pending file: the whole-name flag and the name. Names are kept whole: a path the system
// accepts is never cut to a shorter one that names another file or nothing.
class TFileDrop {
public:
    TFileDrop(bool wholeName, const std::string& name);
    const std::string& GetName() const { return name_; }
    bool IsWholeName() const { return wholeName_; }
    // Follows a symbolic link (the desktop's shortcut) to the file it names.
    void ResolveDroppedName();

private:
    bool wholeName_;
    std::string name_;
};

// Replaces the name of a link by its target's path; true when it did.
bool ResolveShortcut(std::string& name);

}  // namespace vyn
