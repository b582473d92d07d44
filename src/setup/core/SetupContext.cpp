#include "setup/core/SetupContext.h"

#include <cstdlib>
#include <sys/stat.h>
#include <sys/utsname.h>

#include "platform/core/ConfigDir.h"
#include "setup/core/SetupText.h"

namespace vyn {

namespace {

std::string HomeFolder()
{
    const char* h = std::getenv("HOME");
    return h && *h ? h : "";
}

bool IsFolder(const std::string& path)
{
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string ResolveExistingPart(const std::string& path)
{
    if (path.empty() || path.front() != '/') return path;
    std::vector<std::string> parts;
    for (std::size_t pos = 0; pos < path.size();) {
        std::size_t next = path.find('/', pos);
        if (next == std::string::npos) next = path.size();
        if (next > pos) parts.push_back(path.substr(pos, next - pos));
        pos = next + 1;
    }
    // The longest existing folder at the start goes through realpath; the rest, which the
    // install makes itself, stays as it is.
    for (std::size_t n = parts.size() + 1; n-- > 0;) {
        std::string head = "/";
        for (std::size_t i = 0; i < n; ++i) head += parts[i] + (i + 1 < n ? "/" : "");
        char* real = ::realpath(head.c_str(), nullptr);
        if (!real) continue;
        std::string out = real;
        std::free(real);
        for (std::size_t i = n; i < parts.size(); ++i) {
            if (out.back() != '/') out += '/';
            out += parts[i];
        }
        if (path.back() == '/' && out.back() != '/') out += '/';
        return out;
    }
    return path;
}

void SetupContext::StartUp(const std::string& programPath, const std::vector<std::string>& arguments)
{
    args = arguments;
    struct utsname u{};
    systemName = ::uname(&u) == 0 ? std::string(u.sysname) + " " + u.release : std::string();

    ownPath = programPath;
    if (char* real = ::realpath(programPath.c_str(), nullptr)) {
        ownPath = real;
        std::free(real);
    }
    setupFolder = FolderOf(ownPath);
    ownFileName = FileNameOf(ownPath);

    // Only the first argument's first two characters count.
    uninstallMode = !args.empty() && args[0].size() >= 2 && args[0][0] == '-' && (args[0][1] == 'U' || args[0][1] == 'u');
    setupMode = EqualsNoCase(ownFileName, "setup") || EqualsNoCase(ownFileName, "setup.exe");

    const char* pf = std::getenv("VYN_PROGRAM_FILES");
    programFilesFolder = pf ? pf : "/opt";
}

const std::string& SetupContext::GetProgramsFolder()
{
    if (!programs_) {
        const char* x = std::getenv("XDG_DATA_HOME");
        std::string dir = x && *x ? std::string(x) : HomeFolder() + "/.local/share";
        dir += "/applications";
        MakeDirectories(dir);
        // Resolved, so that the install records and the uninstall compares the same spelling.
        dir = ResolveExistingPart(dir);
        TrimAndAddSlash(dir);
        programs_ = dir;
    }
    return *programs_;
}

const std::string* SetupContext::GetDesktopFolder()
{
    if (!desktopRead_) {
        desktopRead_ = true;
        const char* d = std::getenv("XDG_DESKTOP_DIR");
        std::string dir = d ? std::string(d) : (HomeFolder().empty() ? std::string() : HomeFolder() + "/Desktop");
        if (!dir.empty() && IsFolder(dir)) {
            dir = ResolveExistingPart(dir);
            TrimAndAddSlash(dir);
            desktop_ = dir;
        }
    }
    return desktop_ ? &*desktop_ : nullptr;
}

int SetupContext::Message(const std::string& text, const std::string& caption, unsigned flags)
{
    if (ui) return ui->Message(text, caption, flags);
    // Without anyone to ask, a question is answered with its safe choice.
    unsigned buttons = flags & 0xF;
    return buttons == kBoxYesNo ? kAnswerNo : buttons == kBoxOk ? kAnswerOk : kAnswerCancel;
}

}  // namespace vyn
