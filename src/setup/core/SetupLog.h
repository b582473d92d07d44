#pragma once
// The setup log: a text file in the temporary folder, the same name at every run, so the log of
// the last run is the one there. Logging never stops the installation: when the file cannot be
// written, logging is simply off.
#include <string>

namespace vyn {

class SetupLog {
public:
    // A longer line is dropped whole, never written in part.
    static constexpr std::size_t kMaxLine = 2000;

    ~SetupLog() { Close(); }

    // $TMPDIR when set and not empty, else /tmp; always with a trailing '/'.
    static std::string TempFolder();
    // Opens "<temp folder>vst1.tmp" and writes the heading lines; false (and no log) on failure.
    bool Open();
    bool OpenAt(const std::string& path);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }

    // Writes the text as it is (it carries its own line ends) when it is 1 to kMaxLine bytes.
    void Print(const std::string& text);
    // Print of a pattern with its "%s" filled in.
    void Printf(const std::string& pattern, const std::string& arg);

private:
    bool WriteAll(const std::string& text);
    int fd_ = -1;
    std::string path_;
};

}  // namespace vyn
