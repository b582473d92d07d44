#include "readers/TComm.h"

#include <cerrno>
#include <cstring>

#include "platform/core/StringTable.h"
#include "readers/ReaderStrings.h"

namespace vyn {

TComm gComm;

int TComm::Open()
{
    Close();
    SerialParams params;
    params.baud = gCommSettings.baud;
    params.dataBits = gCommSettings.dataBits == 0 ? 7 : 8;
    params.stopBits = gCommSettings.stopBits == 0 ? 1 : 2;
    params.parity = gCommSettings.parity;
    int code = 0;
    switch (port_.Open(SerialPort::DevicePath(gCommSettings.portIndex), params, code)) {
    case SerialPort::OpenResult::Ok: return 0;
    case SerialPort::OpenResult::NotFound:
        errorKind_ = kStringId;
        errorCode_ = idsPortNotFound;
        break;
    case SerialPort::OpenResult::InUse:
        errorKind_ = kStringId;
        errorCode_ = idsPortInUse;
        break;
    case SerialPort::OpenResult::SystemError: RecordSystemError(code); break;
    }
    Close();
    return 1;
}

int TComm::Open(CommLink& link)
{
    Close();
    link_ = &link;
    return 0;
}

void TComm::Close()
{
    link_ = nullptr;
    port_.Close();
}

void TComm::Purge()
{
    if (link_) link_->Purge();
    else port_.Purge();
}

void TComm::RecordSystemError(int errnoValue)
{
    if (errnoValue == ENOENT || errnoValue == ENXIO || errnoValue == ENODEV) {
        errorKind_ = kStringId;
        errorCode_ = idsPortNotFound;
    } else if (errnoValue == EBUSY) {
        errorKind_ = kStringId;
        errorCode_ = idsPortInUse;
    } else {
        errorKind_ = kSystemCode;
        errorCode_ = static_cast<std::uint32_t>(errnoValue);
    }
}

int TComm::Write(const char* bytes, std::size_t count)
{
    if (!IsOpen() || !bytes) return 0;
    if (count == 0) count = std::strlen(bytes);
    int code = 0;
    if (link_ ? link_->Write(bytes, count, kWriteTimeoutMs, code) : port_.Write(bytes, count, kWriteTimeoutMs, code))
        return 0;
    RecordSystemError(code);
    Close();
    return 1;
}

int TComm::Read(void* buffer, std::size_t count, std::size_t& got)
{
    got = 0;
    if (!IsOpen()) return 0;
    int code = 0;
    if (link_ ? link_->Read(buffer, count, got, readTimeout_, code) : port_.Read(buffer, count, got, readTimeout_, code))
        return 0;
    got = 0;
    RecordSystemError(code);
    Close();
    return 1;
}

int TComm::CheckLineError()
{
    if (!IsOpen()) return 0;
    const unsigned bits = link_ ? link_->TakeLineErrors() : port_.TakeLineErrors();
    if (bits == 0) return 0;
    errorKind_ = kStringId;
    errorCode_ = static_cast<std::uint32_t>(LineErrorMessageId(bits));
    return 1;
}

int TComm::LineErrorMessageId(unsigned bits)
{
    static constexpr int ids[6] = {idsLineRxOver, idsLineOverrun, idsLineParity,
                                   idsLineFrame,  idsLineBreak,   idsLineTxFull};
    for (int i = 0; i < 6; ++i)
        if (bits & (1u << i)) return ids[i];
    return idsLineOther;
}

std::string TComm::LastErrorText() const
{
    if (errorKind_ == kSystemCode) return SerialPort::SystemErrorText(static_cast<int>(errorCode_));
    return GetResStringStd(static_cast<int>(errorCode_));
}

std::string TComm::LockText() const
{
    switch (LockState()) {
    case SerialPort::LockState::Held: return {};
    case SerialPort::LockState::NotTaken:
        return FormatWithArg(GetResStringStd(idsPortNotLocked).c_str(), SerialPort::LockDirectory().c_str());
    case SerialPort::LockState::TakenOver: break;
    }
    if (port_.LockPreviousOwner() > 0)
        return FormatWithArg(GetResStringStd(idsLockTakenFromEnded).c_str(), std::to_string(port_.LockPreviousOwner()).c_str());
    return FormatWithArg(GetResStringStd(idsLockTakenFromNobody).c_str(), port_.LockFile().c_str());
}

const char* TComm::PortName(int index)
{
    static char name[8] = "COM1";
    name[3] = static_cast<char>('1' + index);
    return name;
}

}  // namespace vyn
