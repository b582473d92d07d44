#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace vyn {

// Line parameters of a serial port.
struct SerialParams {
    int baud = 9600;
    int dataBits = 7;   // 7 or 8
    int stopBits = 2;   // 1 or 2
    int parity = 2;     // 0 none, 1 odd, 2 even
};

// Line-error bits as the reader drivers know them (read and cleared by TakeLineErrors).
enum SerialLineError : unsigned {
    kSerialRxOver = 0x01,    // receive queue overflow
    kSerialOverrun = 0x02,   // the UART lost a character
    kSerialParity = 0x04,
    kSerialFrame = 0x08,
    kSerialBreak = 0x10,
    kSerialTxFull = 0x20,
};

// One serial device on POSIX termios, opened exclusively: its lock file (LCK..name with our
// pid, which other serial programs honour), flock and exclusive tty mode. Reads return as soon as some bytes
// are there and wait at most the given time for the first one, like the comm time-outs the
// readers were written for. Not thread-safe: one thread uses an open port at a time.
class SerialPort {
public:
    enum class OpenResult { Ok, NotFound, InUse, SystemError };

    SerialPort() = default;
    ~SerialPort() { Close(); }
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens the device without becoming its controlling process, locks it against other
    // users and applies the parameters; errorCode receives errno on failure.
    OpenResult Open(const std::string& devicePath, const SerialParams& params, int& errorCode);
    // Drops DTR and RTS, then closes. Closing a closed port does nothing.
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    // How the last successful Open came by the device's lock file: held as usual, taken over
    // from a program that has ended (or from a file that names no program), or not taken at
    // all (the lock folder cannot be written): other serial programs then do not see that
    // the device is in use.
    enum class LockState { Held, TakenOver, NotTaken };
    LockState GetLockState() const { return lockState_; }
    // The process the taken-over lock named; 0 when it named none.
    int LockPreviousOwner() const { return lockPrevOwner_; }
    // The lock file this port holds; empty when it holds none.
    const std::string& LockFile() const { return lockPath_; }

    // Reads up to count bytes; waits at most timeoutMs for the first byte and takes whatever
    // has arrived with it. False with errorCode on a device failure (a vanished device, a
    // hang-up); a time-out is no failure.
    bool Read(void* buffer, std::size_t count, std::size_t& got, unsigned timeoutMs, int& errorCode);
    // Writes all bytes, waiting at most timeoutMs for room in the output queue; bytes that
    // do not fit in time are dropped, as the line would lose them too.
    bool Write(const void* bytes, std::size_t count, unsigned timeoutMs, int& errorCode);
    // Throws away everything queued in both directions.
    void Purge();
    // The line errors seen since the last call (SerialLineError bits); 0 where the device
    // keeps no counters (pseudo-terminals, USB adapters without them).
    unsigned TakeLineErrors();
    void SetDtrRts(bool on);

    // The device of "COM1".."COM9" (index 0..8): the key of that name in the "ports" section
    // of the settings file, else /dev/ttyS<index>.
    static std::string DevicePath(int portIndex);
    // The system's message for an errno value.
    static std::string SystemErrorText(int errorCode);
    // Where the devices' lock files are kept: the key "lock_folder" of the "ports" section of
    // the settings file, else /var/lock.
    static constexpr const char* kDefaultLockDirectory = "/var/lock";
    static std::string LockDirectory();
    static std::string LockFileOf(const std::string& devicePath);

private:
    void ReleaseLockFile();

    bool Apply(const SerialParams& params, int& errorCode);

    int fd_ = -1;
    std::string lockPath_;  // the lock file this port took, if any
    LockState lockState_ = LockState::Held;
    int lockPrevOwner_ = 0;
    // Counters of the last TakeLineErrors, to report only what is new.
    std::uint32_t lastOverrun_ = 0, lastBufOverrun_ = 0, lastParity_ = 0, lastFrame_ = 0, lastBrk_ = 0;
};

}  // namespace vyn
