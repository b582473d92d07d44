#pragma once
// The installer's state for one run, and the way it asks the user. The installation logic knows
// no windows: it shows messages through SetupUi, which the program implements with message
// boxes and tests with scripted answers.
#include <optional>
#include <string>
#include <vector>

#include "setup/core/InfFile.h"
#include "setup/core/SetupLog.h"
#include "setup/core/UninstallList.h"

namespace vyn {

// Buttons, icons and answers of a setup message, with the message box's own numbers.
inline constexpr unsigned kBoxOk = 0x0, kBoxOkCancel = 0x1, kBoxYesNoCancel = 0x3, kBoxYesNo = 0x4;
inline constexpr unsigned kIconError = 0x10, kIconQuestion = 0x20, kIconWarning = 0x30, kIconInformation = 0x40;
inline constexpr int kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7;

// The path with its longest existing leading folder resolved through every link; the part
// below that does not exist yet stays as written.
std::string ResolveExistingPart(const std::string& path);

class SetupUi {
public:
    virtual ~SetupUi() = default;
    // Shows the text and returns the answer (kAnswer...).
    virtual int Message(const std::string& text, const std::string& caption, unsigned flags) = 0;
};

struct SetupContext {
    SetupUi* ui = nullptr;

    std::vector<std::string> args;  // the command line after the program name
    std::string ownPath;            // full path of the running program
    std::string setupFolder;        // its folder, with a trailing '/'
    std::string ownFileName;
    bool uninstallMode = false;     // the command line begins with -U or -u
    bool setupMode = false;         // the program is called "setup" (or "setup.exe"), in any case
    std::string programFilesFolder; // $VYN_PROGRAM_FILES, else /opt
    std::string systemName;         // the operating system's name and release

    std::string infPath;
    InfFile inf;
    std::string destination;        // set by the wizard, with a trailing '/'
    std::string menuName;           // Start-menu folder name, set by the wizard

    SetupLog log;
    UninstallList records{&log};
    // The records of an earlier installation this one goes over, read from its record file
    // before the copy replaced it; saved together with the new ones.
    std::vector<UninstallRecord> earlierRecords;

    // Fills the fields above from the program path and its arguments and the environment.
    void StartUp(const std::string& programPath, const std::vector<std::string>& arguments);

    // The user's application-menu folder ($XDG_DATA_HOME/applications, else
    // ~/.local/share/applications), made when missing, with a trailing '/'; read once.
    const std::string& GetProgramsFolder();
    // The desktop folder ($XDG_DESKTOP_DIR, else ~/Desktop when it exists) with a trailing '/',
    // or nullptr when there is none; read once.
    const std::string* GetDesktopFolder();

    int Message(const std::string& text, const std::string& caption, unsigned flags);

private:
    std::optional<std::string> programs_;
    std::optional<std::string> desktop_;
    bool desktopRead_ = false;
};

}  // namespace vyn
