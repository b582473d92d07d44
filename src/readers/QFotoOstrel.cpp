#include "readers/QFotoOstrel.h"

#include <algorithm>

#include "evaluator/NoValue.h"
#include "platform/core/Clock.h"
#include "platform/core/StringTable.h"
#include "readers/ReaderStrings.h"
#include "readers/ReaderText.h"
#include "readers/ReaderTiming.h"
#include "readers/TComm.h"

namespace vyn {

namespace {

constexpr char STX = 0x02, ETX = 0x03, EOT = 0x04, ENQ = 0x05, ACK = 0x06, NAK = 0x15;
constexpr std::size_t kReplyMax = 254;
constexpr long kPlateWaitMs = 28000;
constexpr const char* kSpeeds[4] = {"slow", "normal", "fast", "fastest"};
constexpr const char* kSteps[4] = {"narrow", "normal", "wide", "widest"};

unsigned char FrameCheck(const std::string& text, int subType)
{
    unsigned char x = static_cast<unsigned char>(Checksum(text.data(), text.size()) ^ ETX);
    return subType == 0 ? static_cast<unsigned char>(~x) : x;
}

bool NotBusy(int s, int) { return (s & 0x02) == 0; }
bool MeasureDone(int s, int subType) { return subType == 0 ? (s & 0x06) == 0 : (s & 0x04) && !(s & 0x02); }
bool CalibrateDone(int s, int subType) { return subType == 0 ? (s & 0x06) == 0 : (s & 0x02) == 0; }

}  // namespace

// ---- options ------------------------------------------------------------------------------

OstrelOptions OstrelOptions::Parse(const std::string& text)
{
    OstrelOptions o;
    int v[3];
    if (ScanIntsAfter(text, "SHAKE", v, 3) == 3) {
        o.time = v[0] < 0 || v[0] > 255 ? 0 : v[0];
        o.speed = v[1] < 0 || v[1] > 3 ? 0 : v[1];
        o.step = v[2] < 0 || v[2] > 3 ? 0 : v[2];
    }
    return o;
}

std::string OstrelOptions::Format() const
{
    const int t = std::clamp(time, 0, 255);
    if (t == 0) return "";
    return "SHAKE " + std::to_string(t) + " " + std::to_string(std::clamp(speed, 0, 3)) + " " +
           std::to_string(std::clamp(step, 0, 3));
}

std::string OstrelOptions::Describe() const
{
    if (time == 0) return "Without\r\nShaking";
    return "Shaking\r\ntime " + std::to_string(time) + " [s]\r\n" + kSpeeds[std::clamp(speed, 0, 3)] + "/" +
           kSteps[std::clamp(step, 0, 3)];
}

// ---- driver -------------------------------------------------------------------------------

QFotoOstrel::QFotoOstrel() : subType_(gReaderSubType)
{
    gReaderName = subType_ == 1 ? "OSTREL Scan" : "OSTREL";
    gCommSettings.FixBaud(subType_ == 1 ? 19200 : 9600);
    gCommSettings.FixDataBits(0);
    gCommSettings.FixStopBits(1);
    gCommSettings.FixParity(2);
}

int QFotoOstrel::OptionsDialog(TWindow* parent, std::string& opts)
{
    ReaderOptionsDialogFn dialog = GetReaderOptionsDialog();
    return dialog ? dialog(ReaderOptionsKind::Ostrel, parent, opts) : 0;
}

char* QFotoOstrel::GetOptionsText(char* buffer, int size, const std::string& opts)
{
    CopyTextToBuffer(OstrelOptions::Parse(opts).Describe(), buffer, size);
    return buffer;
}

std::string QFotoOstrel::Frame(const std::string& command, int subType)
{
    std::string f;
    f += STX;
    f += command;
    f += ETX;
    f += static_cast<char>(FrameCheck(command, subType));
    return f;
}

unsigned char QFotoOstrel::LinkByte(const QStopwatch* watch)
{
    const unsigned char b = ReadByte(watch);
    CheckLine();
    return b;
}

void QFotoOstrel::Select()
{
    Pause(30);
    CheckLine();
    ThrowIfAborted();
    SendBytes(std::string{EOT, '2', '0', ENQ});
    for (int i = 0;; ++i) {
        if (i >= 5) throw ESerExc(ESerExc::kBadData);
        ThrowIfAborted();
        if (LinkByte(nullptr) == ACK) break;
    }
    Pause(30);
}

void QFotoOstrel::SendCommand(const std::string& command)
{
    QStopwatch watch;
    SendCommand(command, watch);
}

void QFotoOstrel::SendCommand(const std::string& command, const QStopwatch& watch)
{
    const std::string frame = Frame(command, subType_);
    for (int send = 1;; ++send) {
        Pause(30);
        SendBytes(frame);
        unsigned char b = 0;
        try {
            b = LinkByte(&watch);
        } catch (const ESerExc& e) {
            if (e.Code() != ESerExc::kTimeout || send >= 3) throw;
            Pause(400);
            continue;
        }
        if (b == ACK) {
            ThrowIfAborted();
            return;
        }
        if (b != NAK || send >= 3) throw ESerExc(ESerExc::kBadData);
        Pause(150);
    }
}

void QFotoOstrel::ReadReply(const QStopwatch& watch)
{
    for (int attempt = 1;; ++attempt) {
        reply_.clear();
        for (int skipped = 0;; ++skipped) {
            if (LinkByte(&watch) == STX) break;
            if (skipped >= 63) throw ESerExc(ESerExc::kBadData);
        }
        for (;;) {
            const char c = static_cast<char>(LinkByte(&watch));
            if (c == ETX) break;
            if (reply_.size() >= kReplyMax) throw ESerExc(ESerExc::kBadData);
            reply_ += c;
        }
        const unsigned char check = LinkByte(&watch);
        if ((check & 0x7F) == (FrameCheck(reply_, subType_) & 0x7F)) {
            SendBytes(std::string(1, ACK));
            ThrowIfAborted();
            return;
        }
        if (attempt >= 2) throw ESerExc(ESerExc::kBadData);
        SendBytes(std::string(1, NAK));
    }
}

const std::string& QFotoOstrel::Exchange(const std::string& command)
{
    QStopwatch watch;
    SendCommand(command, watch);
    ReadReply(watch);
    return reply_;
}

void QFotoOstrel::EndLink()
{
    Pause(30);
    CheckLine();
    SendBytes(std::string(1, EOT));
    Pause(30);
}

int QFotoOstrel::QueryStatus()
{
    Exchange("Q");
    // A status reply too short to hold the status byte is as broken as a garbled one.
    if (reply_.size() < 2) throw ESerExc(ESerExc::kBadData);
    const int status = static_cast<unsigned char>(reply_[1]);
    if ((status & 0x18) == 0) return status;
    Exchange("E");
    if ((status & 0x10) && reply_.size() >= 2) {
        SetErrorId(idsDeviceError0 + (reply_[1] & 0x0F));
        throw ESerExc(ESerExc::kComm);
    }
    throw ESerExc(ESerExc::kBadData);
}

void QFotoOstrel::OpenLink(bool askModel)
{
    PostText(idsConnecting);
    ReaderWait(100);
    Select();
    Exchange("E");
    Exchange("Q");
    if (askModel && subType_ != 0) {
        Exchange("F");
        shaker_ = reply_.rfind("FVisRd", 0) == 0;
        scanning_ = shaker_ || reply_.rfind("FSCH", 0) == 0;
    }
}

int QFotoOstrel::ReadFilterPositions(int* out)
{
    Exchange("Af");
    std::fill(out, out + 6, 0);
    return ExtractNumbers(reply_, out, 6);
}

void QFotoOstrel::WaitUntil(bool (*ready)(int, int), long waitMs, const QStopwatch* limit, bool showCount)
{
    int n = 0;
    for (;;) {
        if (showCount) PostCount(++n, 0);
        ReaderWait(waitMs);
        if (ready(QueryStatus(), subType_)) return;
        if (limit && limit->Passed(ScaledMs(kPlateWaitMs))) throw ESerExc(ESerExc::kBadData);
    }
}

QFotoStatus QFotoOstrel::Fail(const ESerExc& e)
{
    try {
        EndLink();
    } catch (const ESerExc&) {
    }
    return StatusOf(e);
}

QFotoStatus QFotoOstrel::Measure()
{
    scanning_ = shaker_ = false;
    try {
        OpenLink(true);
        Exchange("E");
        int filters[6];
        ReadFilterPositions(filters);
        auto position = [&](int wl) {
            for (int i = 0; i < 6; ++i)
                if (filters[i] != 0 && filters[i] == wl) return i + 1;
            SetErrorId(idsWavelengthNotInReader);
            throw ESerExc(ESerExc::kComm);
        };
        const int pos = position(wavelength);
        const int refPos = useReference ? position(refWavelength) : 0;

        std::string cmd = "Sf" + std::to_string(pos);
        if (useReference) cmd += "f" + std::to_string(refPos);
        if (scanning_) cmd += "i4";
        else if (subType_ != 0) cmd += "c0i1";
        cmd += "x3";
        if (!scanning_ || shaker_) {
            const OstrelOptions o = OstrelOptions::Parse(options);
            const bool shake = o.time != 0;
            cmd += "s" + std::to_string(shake ? o.speed : 1) + "w" + std::to_string(shake ? o.step : 1) + "d" +
                   std::to_string(shake ? o.time : 0);
        }
        cmd += "G";
        SendCommand(cmd);

        if (scanning_) {
            QStopwatch limit;
            int n = 0;
            for (;;) {
                PostCount(++n, 0);
                ReaderWait(300);
                if (QueryStatus() & 0x20) {
                    if (!Progress() || !Progress()->ConfirmPlate()) throw ESerExc(ESerExc::kAborted);
                    SendCommand("SgG");
                    break;
                }
                if (limit.Passed(ScaledMs(kPlateWaitMs))) throw ESerExc(ESerExc::kBadData);
            }
        }

        PostText(idsStarted);
        ReaderWait(3000);
        WaitUntil(MeasureDone, 400, nullptr, true);

        int blocks, length, fields, width, first, high;
        if (subType_ == 0) {
            blocks = 12, length = 43, fields = 8, width = 5, first = 3, high = 3600;
        } else if (!scanning_) {
            blocks = 6, length = 64, fields = 16, width = 4, first = 0, high = 4100;
        } else {
            blocks = 2, length = 240, fields = 48, width = 5, first = 0, high = 4100;
        }
        const long overRange = width == 4 ? 9998 : 99998;
        if (useReference) blocks *= 2;
        SendCommand(subType_ == 0 ? (useReference ? "Ad2" : "Ad1") : "Ax");
        const int half = blocks / 2;
        for (int b = 0; b < blocks; ++b) {
            PostCount(b + 1, blocks);
            QStopwatch watch;
            ReadReply(watch);
            if (reply_.size() != static_cast<std::size_t>(length)) throw ESerExc(ESerExc::kBadData);
            for (int i = 0; i < fields; ++i) {
                long v = 0;
                const std::string_view field =
                    std::string_view(reply_).substr(static_cast<std::size_t>(first + i * width), width);
                if (!ParseIntField(field, v)) throw ESerExc(ESerExc::kBadData);
                if (v == overRange && subType_ != 0) v = -1;
                const int reading = v < -100 || v > high ? kInvalid : static_cast<int>(v);
                int col, row;
                if (subType_ == 0) {
                    col = b % 12, row = i;
                } else if (!scanning_) {
                    col = (b % 6) * 2 + i / 8, row = i % 8;
                } else {
                    col = (b % 2) * 6 + i / 8, row = i % 8;
                }
                int& stored = readings_[static_cast<std::size_t>(row * 12 + col)];
                if (!useReference || b < half) {
                    stored = reading;
                } else if (stored != kInvalid) {
                    stored = reading == kInvalid ? kInvalid : stored - reading;
                }
            }
        }
        EndLink();
        return fsDone;
    } catch (const ESerExc& e) {
        return Fail(e);
    }
}

void QFotoOstrel::AfterMeasure()
{
    for (int i = 95; i >= 0; --i) {
        const int r = readings_[static_cast<std::size_t>(i)];
        StoreValue(i / 12, i % 12, r == kInvalid ? NoValue : r * 0.001);
    }
}

QFotoStatus QFotoOstrel::ReadFilters()
{
    try {
        OpenLink(false);
        PostText(idsCheckingFilters);
        int filters[6];
        int n = ReadFilterPositions(filters);
        while (n > 0 && filters[n - 1] == 0) --n;
        SetFilters(filters, n);
        EndLink();
        return fsDone;
    } catch (const ESerExc& e) {
        return Fail(e);
    }
}

QFotoStatus QFotoOstrel::WriteFilters()
{
    scanning_ = shaker_ = false;
    try {
        OpenLink(true);
        Exchange("E");
        PostText(idsStarted);
        for (int p = 1; p <= 6; ++p) {
            PostText(idsStarted);
            ReaderWait(100);
            PostCount(p, 6);
            const int wl = GetFilter(p - 1);
            Exchange("E");
            // The newer readers take the wavelength as three digits at least.
            std::string w = std::to_string(wl);
            if ((subType_ != 0 || scanning_) && wl >= 0 && w.size() < 3) w.insert(0, 3 - w.size(), '0');
            SendCommand("Jf" + std::to_string(p) + w + "G");
            PostCount(p, 6);
            ReaderWait(300);
            PostText(idsWaiting);
            WaitUntil(CalibrateDone, 800, nullptr, false);
            PostText(idsSuccess);
        }
        PostText(idsCheckingFilters);
        int filters[6];
        int n = ReadFilterPositions(filters);
        while (n > 0 && filters[n - 1] == 0) --n;
        SetFilters(filters, n);
        EndLink();
        return fsDone;
    } catch (const ESerExc& e) {
        return Fail(e);
    }
}

QFotoStatus QFotoOstrel::MovePlate(bool out)
{
    scanning_ = shaker_ = false;
    try {
        QStopwatch limit;
        OpenLink(true);
        PostText(idsStarted);
        if (shaker_) {
            SendCommand(out ? "Mm0G" : "Mm5000G");
        } else if (scanning_) {
            if (out) {
                SendCommand("Mx1jG");
                WaitUntil(NotBusy, 300, &limit, false);
                SendCommand("Mx0m3000G");
            } else {
                SendCommand("IG");
            }
        } else {
            SendCommand(out ? "IG" : "Mm2000G");
        }
        WaitUntil(NotBusy, 300, &limit, false);
        EndLink();
        return fsDone;
    } catch (const ESerExc& e) {
        return Fail(e);
    }
}

}  // namespace vyn
