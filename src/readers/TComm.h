#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/core/SerialPort.h"
#include "readers/QCommSettings.h"

namespace vyn {

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
    void Close();
    bool IsOpen() const { return port_.IsOpen(); }

    // count 0: up to the terminating zero byte.
    int Write(const char* bytes, std::size_t count = 0);
    int Write(const std::string& bytes) { return Write(bytes.data(), bytes.size()); }
    // A time-out is no failure: got tells what came.
    int Read(void* buffer, std::size_t count, std::size_t& got);
    int CheckLineError();
    void SetReadTimeout(unsigned ms) { readTimeout_ = ms; }
    unsigned ReadTimeout() const { return readTimeout_; }
    void Purge() { port_.Purge(); }

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
    ErrorKind errorKind_ = kStringId;
    std::uint32_t errorCode_ = 0;
    unsigned readTimeout_ = 800;
};

extern TComm gComm;

}  // namespace vyn
