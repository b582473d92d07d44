#include "readers/QFotoSlt.h"

#include <algorithm>
#include <array>

#include "evaluator/NoValue.h"
#include "platform/core/StringTable.h"
#include "readers/ReaderStrings.h"
#include "readers/ReaderText.h"
#include "readers/ReaderTiming.h"
#include "readers/TComm.h"

namespace vyn {

namespace {

constexpr char STX = 0x02, ETX = 0x03, CR = 0x0D;
constexpr int kInvalid = 8989;
constexpr const char* kWhere[2] = {"inside", "outside"};
constexpr const char* kHow[4] = {"heavy", "normal", "light", "wide"};

bool Starts(const std::string& s, char c) { return !s.empty() && s[0] == c; }

}  // namespace

// ---- options ------------------------------------------------------------------------------

SltOptions SltOptions::Parse(const std::string& text)
{
    SltOptions o;
    int v[2];
    if (ScanIntsAfter(text, "SHAKE", v, 2) == 2) {
        o.time = v[0] < 0 || v[0] > 255 ? 0 : v[0];
        const int code = v[1] < 1 || v[1] > 8 ? 1 : v[1];
        o.how = (code - 1) % 4;
        o.where = (code - 1) / 4;
    }
    return o;
}

std::string SltOptions::Format() const
{
    SltOptions o = *this;
    o.time = std::clamp(o.time, 0, 255);
    o.where = std::clamp(o.where, 0, 1);
    o.how = std::clamp(o.how, 0, 3);
    if (o.time == 0) return "";
    return "SHAKE " + std::to_string(o.time) + " " + std::to_string(o.Code());
}

std::string SltOptions::Describe() const
{
    if (time == 0) return "Without\r\nShaking";
    return "Shaking\r\ntime " + std::to_string(time) + " [s]\r\n" + kWhere[std::clamp(where, 0, 1)] + "/" +
           kHow[std::clamp(how, 0, 3)];
}

// ---- driver -------------------------------------------------------------------------------

QFotoSlt::QFotoSlt()
{
    switch (gReaderSubType) {
    case 1: gReaderName = "Rainbow"; break;
    case 2: gReaderName = "Sunrise"; break;
    default: gReaderName = "Spectra"; break;
    }
}

int QFotoSlt::OptionsDialog(TWindow* parent, std::string& opts)
{
    ReaderOptionsDialogFn dialog = GetReaderOptionsDialog();
    return dialog ? dialog(ReaderOptionsKind::Slt, parent, opts) : 0;
}

char* QFotoSlt::GetOptionsText(char* buffer, int size, const std::string& opts)
{
    CopyTextToBuffer(SltOptions::Parse(opts).Describe(), buffer, size);
    return buffer;
}

void QFotoSlt::ReadReply(bool shortForm)
{
    reply_.clear();
    QStopwatch watch;
    auto next = [&] {
        const unsigned char b = ReadByte(&watch);
        if (summing_) sum_ ^= b;
        return static_cast<char>(b);
    };
    // Whatever the reader sent before the reply's STX is skipped, but not without end.
    for (int skipped = 0;; ++skipped) {
        const bool wasSumming = summing_;
        summing_ = false;
        const char c = next();
        summing_ = wasSumming;
        if (c == STX) {
            if (summing_) sum_ ^= STX;
            break;
        }
        if (skipped >= 64) throw ESerExc(ESerExc::kBadData);
    }
    if (shortForm) {
        for (;;) {
            const char c = next();
            if (c == CR) return;
            if (reply_.size() >= kReplyMax - 1) throw ESerExc(ESerExc::kBadData);
            reply_ += c;
        }
    }
    for (;;) {
        const char c = next();
        if (c == ETX) break;
        if (reply_.size() >= kReplyMax) throw ESerExc(ESerExc::kBadData);
        reply_ += c;
    }
    const unsigned char check = static_cast<unsigned char>(next());
    if (check != (Checksum(reply_.data(), reply_.size()) ^ 0x01))
        throw ESerExc(ESerExc::kBadData);
    if (next() != CR) throw ESerExc(ESerExc::kBadData);
}

const std::string& QFotoSlt::Command(const std::string& text, bool show, bool shortForm)
{
    const bool useShort = shortForm || !framed_;
    std::string frame;
    frame += STX;
    frame += text;
    if (!useShort) {
        frame += ETX;
        frame += static_cast<char>(Checksum(frame.data(), frame.size()));
    }
    frame += CR;
    CheckLine();
    Pause(60);
    SendBytes(frame);
    ReadReply(useShort);
    if (show) PostString(reply_);
    return reply_;
}

void QFotoSlt::DetectDialect()
{
    ReaderWait(100);
    framed_ = false;
    framed_ = Command("!", true, true) != "SU";
}

void QFotoSlt::FailStop(const std::string& text)
{
    SetErrorText(text);
    // Telling the reader to stop is a courtesy: the failure already has its message.
    try {
        if (framed_) {
            Command("??");
            Command("ER");
        } else {
            Command("H");
            Command("E");
        }
    } catch (const ESerExc&) {
    }
    throw ESerExc(ESerExc::kComm);
}

void QFotoSlt::FailStopId(int id) { FailStop(GetResStringStd(id)); }

void QFotoSlt::WaitWhileBusy(long waitMs, bool showCount)
{
    const char* query = framed_ ? "??" : "?";
    int n = 0;
    do {
        ReaderWait(waitMs);
        if (showCount) PostCount(++n, 0);
        if (showCount) ReaderWait(waitMs);
        Command(query, true);
        if (Starts(reply_, 'E')) FailStop(reply_);
    } while (Starts(reply_, 'B'));
}

void QFotoSlt::WaitForData()
{
    const char* query = framed_ ? "??" : "?";
    int n = 0;
    for (;;) {
        ReaderWait(160);
        PostCount(++n, 0);
        ReaderWait(160);
        Command(query, true);
        if (Starts(reply_, 'D')) return;
        if (Starts(reply_, 'E')) FailStop(reply_);
    }
}

void QFotoSlt::ApplyFilterList(const std::string& list)
{
    int numbers[64];
    const int found = ExtractNumbers(list, numbers, 64);
    int taken[6];
    int n = 0;
    for (int i = 0; i < found && n < 6; ++i) {
        if (numbers[i] < 100 || numbers[i] > 999) break;
        taken[n++] = numbers[i];
    }
    SetFilters(taken, n);
}

QFotoStatus QFotoSlt::ReadFilters()
{
    try {
        DetectDialect();
        if (framed_) {
            Command("??", true);
            ApplyFilterList(Command("GW", true));
            Command("ER");
        } else {
            Command("?");
            Command("H");
            ApplyFilterList(Command("I", true));
            Command("E");
        }
        return fsDone;
    } catch (const ESerExc& e) {
        return StatusOf(e);
    }
}

QFotoStatus QFotoSlt::MovePlate(bool out)
{
    try {
        DetectDialect();
        if (framed_) {
            Command("??", true);
            Command(out ? "TR0" : "TR1", true);
            do {
                ReaderWait(330);
                Command("??", true);
            } while (Starts(reply_, 'B'));
            if (Starts(reply_, 'E')) {
                SetErrorText(reply_);
                Command("ER");
                throw ESerExc(ESerExc::kComm);
            }
            Command("ER");
        } else {
            Command("?");
            Command("H");
            Command(out ? "TR1" : "TR0");
            do {
                ReaderWait(200);
                Command("?", true);
            } while (Starts(reply_, 'B'));
            if (Starts(reply_, 'E')) {
                SetErrorText(reply_);
                Command("H");
                Command("E");
                throw ESerExc(ESerExc::kComm);
            }
            Command("E");
        }
        return fsDone;
    } catch (const ESerExc& e) {
        return StatusOf(e);
    }
}

QFotoStatus QFotoSlt::Measure()
{
    summing_ = false;
    try {
        DetectDialect();
        const SltOptions opts = SltOptions::Parse(options);
        return framed_ ? MeasureFramed(opts) : MeasureShort(opts);
    } catch (const ESerExc& e) {
        summing_ = false;
        return StatusOf(e);
    }
}

QFotoStatus QFotoSlt::MeasureShort(const SltOptions& opts)
{
    Command("?");
    Command("H");
    Command("I", true);
    Command("TR1");
    Command("?");
    if (Starts(reply_, 'E')) FailStop(reply_);
    if (Starts(reply_, 'B')) FailStopId(idsInsertPlate);

    std::string filter = "F" + std::to_string(wavelength);
    if (useReference) filter += " " + std::to_string(refWavelength);
    if (!Starts(Command(filter), '+')) FailStopId(idsFilterRejected);
    if (opts.time > 0) Command("Y " + std::to_string(opts.time) + " " + std::to_string(opts.Code()));
    if (!Starts(Command("S"), '+')) FailStopId(idsCommandRejected);

    PostText(idsStarted);
    ReaderWait(2500);
    WaitForData();

    // The plate's check sum covers every byte from the STX of the "D" reply on.
    sum_ = 0;
    summing_ = true;
    Command("D", true);
    int valid = 0;
    for (int c = 0; c < 12; ++c) {
        PostCount(c + 1, 12);
        ReadReply(true);
        if (reply_.size() < 40) throw ESerExc(ESerExc::kBadData);
        for (int r = 0; r < 8; ++r) {
            long v = 0;
            if (ParseIntField(std::string_view(reply_).substr(static_cast<std::size_t>(r) * 5, 5), v) &&
                v >= -3500 && v <= 3500) {
                StoreValue(r, c, static_cast<double>(v) * 0.001);
                ++valid;
            } else {
                StoreValue(r, c, NoValue);
            }
        }
    }
    const unsigned char before = sum_;
    ReadReply(true);
    summing_ = false;
    PostString(reply_);
    if (reply_.size() < 3 || reply_[0] != ':') throw ESerExc(ESerExc::kBadData);
    const unsigned char x = before ^ static_cast<unsigned char>(STX) ^ static_cast<unsigned char>(':');
    if (reply_[1] != '@' + (x >> 4) || reply_[2] != '@' + (x & 0x0F)) throw ESerExc(ESerExc::kBadData);

    PostText(idsSuccess);
    ReaderWait(260);
    Command("E");
    if (valid == 0) throw ESerExc(ESerExc::kBadData);
    return fsDone;
}

int QFotoSlt::ReadPlateFramed(int* readings)
{
    Command("DA");
    int valid = 0;
    std::size_t p = 0;
    for (int r = 0; r < 8; ++r) {
        // A row that is not all there is as broken as one without its CR.
        if (p >= reply_.size() || reply_[p] != CR || p + 1 + 60 > reply_.size()) throw ESerExc(ESerExc::kBadData);
        ++p;
        for (int c = 0; c < 12; ++c, p += 5) {
            long v = 0;
            const bool ok = ParseIntField(std::string_view(reply_).substr(p, 5), v) && v >= -100 && v <= 3500;
            readings[r * 12 + c] = ok ? static_cast<int>(v) : kInvalid;
            if (ok) ++valid;
        }
    }
    return valid;
}

QFotoStatus QFotoSlt::MeasureFramed(const SltOptions& opts)
{
    Command("??", true);
    Command("GW", true);
    Command("TR0");
    Command("??");
    if (Starts(reply_, 'E')) FailStop(reply_);
    if (Starts(reply_, 'B')) FailStopId(idsInsertPlate);

    if (opts.time > 0) {
        if (opts.where == 0) {
            Command("TR1");
            WaitWhileBusy(160, true);
        }
        Command("SH " + std::to_string(opts.how + 1) + " " + std::to_string(opts.time * 1000));
        WaitWhileBusy(160, true);
    }
    auto start = [&](int wl, long settleMs) {
        if (!Starts(Command("SW" + std::to_string(wl)), '+')) FailStopId(idsFilterRejected);
        if (!Starts(Command("SM"), '+')) FailStopId(idsCommandRejected);
        if (settleMs == 2200) PostText(idsStarted);
        ReaderWait(settleMs);
        WaitForData();
    };

    std::array<int, 96> plate{};
    start(wavelength, 2200);
    int valid = ReadPlateFramed(plate.data());
    if (useReference) {
        std::array<int, 96> ref{};
        start(refWavelength, 2500);
        ReadPlateFramed(ref.data());
        valid = 0;
        for (int i = 0; i < 96; ++i) {
            if (plate[i] == kInvalid || ref[i] == kInvalid) {
                plate[i] = kInvalid;
            } else {
                plate[i] -= ref[i];
                ++valid;
            }
        }
    }
    Command("TR0");
    Command("ER");
    if (valid == 0) throw ESerExc(ESerExc::kBadData);
    for (int i = 0; i < 96; ++i)
        StoreValue(i / 12, i % 12, plate[i] == kInvalid ? NoValue : plate[i] * 0.001);
    return fsDone;
}

}  // namespace vyn
