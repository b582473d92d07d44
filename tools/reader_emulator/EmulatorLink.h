#pragma once
#include <atomic>
#include <string>

namespace vyn::emu {

// The emulator's end of the line: a pseudo-terminal master or a serial device in raw mode.
class EmulatorLink {
public:
    EmulatorLink(int fd, const std::atomic<bool>& stop) : fd_(fd), stop_(stop) {}

    // The next byte; -1 once the emulator is told to stop or the line is gone.
    int ReadByte();
    // Sends the bytes, each after byteDelayMs when set; nothing once the line is cut.
    void Write(const std::string& bytes);
    // From now on the reader says nothing more (a cable pulled mid-transfer).
    void Cut() { cut_ = true; }
    // Closes the line altogether: the driver's port sees a hang-up.
    void HangUp();
    bool Gone() const { return fd_ < 0; }
    void SetByteDelay(int ms) { byteDelayMs_ = ms; }

private:
    int fd_;
    const std::atomic<bool>& stop_;
    bool cut_ = false;
    int byteDelayMs_ = 0;
};

}  // namespace vyn::emu
