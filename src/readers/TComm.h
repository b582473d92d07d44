#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/core/SerialPort.h"
#include "readers/QCommSettings.h"

namespace vyn {

// What a TComm reads from and writes to in place of the serial device: a byte source in
// memory for tests and fuzz targets. The calls answer as SerialPort's do; a read that finds
// nothing more is a time-out (true with got 0), so the drivers' own time-outs end a reply
// that never ends.
class CommLink {
public:
    virtual ~CommLink() = default;
    virtual bool Read(void* buffer, std::size_t count, std::size_t& got, unsigned timeoutMs, int& errorCode) = 0;
    virtual bool Write(const void* bytes, std::size_t count, unsigned timeoutMs, int& errorCode) = 0;
    virtual void Purge() {}
    virtual unsigned TakeLineErrors() { return 0; }
};

// The one serial port of the reader operations. The runner opens it on the main thread
// before the worker starts and closes it afterwards; in between only the worker uses it.
// Every operation answers 0 for success and 1 for failure; a failed open, read or write
// leaves the port closed with the reason recorded, so later calls transfer nothing.
class TComm {
public:
    enum ErrorKind : std::uint8_t { kStringId = 0, kSystemCode = 1 };

    TComm() = default;
    ~TComm() { Close(); }
    TComm(const TComm&) = delete;
    TComm& operator=(const TComm&) = delete;

    int Open();
    // Opens the port on the link instead of the configured device; the link stays the
    // caller's and must outlive the port's use. Close lets it go.
    int Open(CommLink& link);
    void Close();
    bool IsOpen() const { return link_ || port_.IsOpen(); }

    // count 0: up to the terminating zero byte.
    int Write(const char* bytes, std::size_t count = 0);
    int Write(const std::string& bytes) { return Write(bytes.data(), bytes.size()); }
    // A time-out is no failure: got tells what came.
    int Read(void* buffer, std::size_t count, std::size_t& got);
    int CheckLineError();
    void SetReadTimeout(unsigned ms) { readTimeout_ = ms; }
    unsigned ReadTimeout() const { return readTimeout_; }
    void Purge();

    // How the last Open came by the device's lock file, and the text that tells the user:
    // empty when the lock is held as usual (or the port is a link in memory).
    SerialPort::LockState LockState() const { return link_ ? SerialPort::LockState::Held : port_.GetLockState(); }
    std::string LockText() const;

    ErrorKind LastErrorKind() const { return errorKind_; }
    std::uint32_t LastErrorCode() const { return errorCode_; }
    // The recorded error as text: a string-table entry or the system's message.
    std::string LastErrorText() const;

    // "COM1".."COM9" for index 0..8.
    static const char* PortName(int index);
    // The message id of the lowest line-error bit set.
    static int LineErrorMessageId(unsigned bits);

    int SetSettingsText(const char* text) { return gCommSettings.SetSettingsText(text); }
    std::string GetSettingsText() { return gCommSettings.GetSettingsText(); }

private:
    void RecordSystemError(int errnoValue);

    static constexpr unsigned kWriteTimeoutMs = 1200;

    SerialPort port_;
    CommLink* link_ = nullptr;
    ErrorKind errorKind_ = kStringId;
    std::uint32_t errorCode_ = 0;
    unsigned readTimeout_ = 800;
};

extern TComm gComm;

}  // namespace vyn
