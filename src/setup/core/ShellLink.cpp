#include "setup/core/ShellLink.h"

#include <cerrno>
#include <sys/stat.h>

#include "platform/core/AtomicFile.h"
#include "setup/core/SetupLog.h"

namespace vyn {

namespace {

// Values of a desktop entry are one line each; a line break in a name would start a new key.
std::string EntryValue(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\\') out += "\\\\";
        else out += c;
    }
    return out;
}

}  // namespace

std::string QuoteDesktopExec(const std::string& path)
{
    std::string out = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
        if (c == '%') out += '%';
        out += c;
    }
    out += '"';
    return EntryValue(out);
}

int CreateShellLink(const std::string& target, const std::string& linkPath, const std::string& workingFolder,
                    const std::string& name, SetupLog& log)
{
    struct stat st{};
    if (::stat(target.c_str(), &st) != 0) {
        int err = errno;
        log.Printf(" SetPath( %s ) failed.\r\n", target);
        return err;
    }
    std::string text = "[Desktop Entry]\n";
    if (S_ISDIR(st.st_mode)) {
        text += "Type=Link\n";
        text += "URL=file://" + EntryValue(target) + "\n";
    } else {
        text += "Type=Application\n";
        text += "Exec=" + QuoteDesktopExec(target) + "\n";
        if (!workingFolder.empty()) text += "Path=" + EntryValue(workingFolder) + "\n";
        text += "Terminal=false\n";
    }
    text += "Name=" + EntryValue(name) + "\n";
    text += "Comment=Vyn Setup\n";
    // A link planted where the entry goes is replaced, never written through.
    ReplaceOptions options;
    options.followLink = false;
    const int err = ReplaceFile(linkPath, text, options).error;
    const bool ok = err == 0;
    log.Print(std::string("   Save( ") + linkPath + " ) " + (ok ? "OK" : "failed") + "\r\n");
    return err;
}

}  // namespace vyn
