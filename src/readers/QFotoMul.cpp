#include "readers/QFotoMul.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "evaluator/NoValue.h"
#include "plate/FilterTable.h"
#include "platform/core/Clock.h"
#include "platform/core/StringTable.h"
#include "readers/ReaderStrings.h"
#include "readers/ReaderText.h"
#include "readers/ReaderTiming.h"
#include "readers/TComm.h"

namespace vyn {

namespace {
constexpr const char* kModes[3] = {"heavy", "normal", "light"};
}

// ---- options ------------------------------------------------------------------------------

MulOptions MulOptions::Parse(const std::string& text)
{
    MulOptions o;
    int v[2];
    if (ScanIntsAfter(text, "SHAKE", v, 2) == 2) {
        o.time = std::clamp(v[0], 0, 99);
        o.mode = std::clamp(v[1], 0, 2);
    }
    o.stepWise = text.find("STPW") != std::string::npos;
    return o;
}

std::string MulOptions::Format() const
{
    const int t = std::clamp(time, 0, 99);
    std::string s;
    if (t != 0) s = "SHAKE " + std::to_string(t) + " " + std::to_string(std::clamp(mode, 0, 2)) + " ";
    if (stepWise) s += "STPW";
    return s;
}

std::string MulOptions::Describe() const
{
    std::string s = time == 0 ? "Without\r\nShaking\r\n"
                              : "Shaking\r\ntime " + std::to_string(time) + " [s]\r\n" +
                                    kModes[std::clamp(mode, 0, 2)] + "\r\n";
    if (stepWise) s += "step-wise";
    return s;
}

// ---- driver -------------------------------------------------------------------------------

QFotoMul::QFotoMul()
{
    switch (gReaderSubType) {
    case 1: gReaderName = "Multiscan EX"; break;
    case 2: gReaderName = "Multiscan MS"; break;
    default: gReaderName = "Multiscan RC"; break;
    }
    gCommSettings.FixDataBits(1);
    gCommSettings.FixStopBits(0);
    gCommSettings.FixParity(0);
}

int QFotoMul::OptionsDialog(TWindow* parent, std::string& opts)
{
    ReaderOptionsDialogFn dialog = GetReaderOptionsDialog();
    return dialog ? dialog(ReaderOptionsKind::Mul, parent, opts) : 0;
}

char* QFotoMul::GetOptionsText(char* buffer, int size, const std::string& opts)
{
    CopyTextToBuffer(MulOptions::Parse(opts).Describe(), buffer, size);
    return buffer;
}

int QFotoMul::ParseField(std::string_view field)
{
    // Read like a C number scan: leading blanks, then the longest number there is.
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ') ++i;
    field.remove_prefix(i);
    if (!field.empty() && field[0] == '+') field.remove_prefix(1);
    double v = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
    if (ec != std::errc() || end == field.data()) return kInvalid;
    if (!(v >= -0.2 && v <= 4.2)) return kInvalid;
    // Rounded to the nearest thousandth on both sides of zero, so -0.050 stays -50.
    return static_cast<int>(std::lround(v * 1000.0));
}

void QFotoMul::ReadLine(long firstMs)
{
    line_.clear();
    QStopwatch watch;
    const long firstLimit = ScaledMs(firstMs);
    bool first = true;
    for (;;) {
        unsigned char b = 0;
        if (first) {
            // The first character may take the command's own time; the port's time-out is
            // shorter, so keep asking until that time is spent.
            for (;;) {
                try {
                    b = ReadByte(&watch);
                    break;
                } catch (const ESerExc& e) {
                    if (e.Code() != ESerExc::kTimeout || watch.Passed(firstLimit)) throw;
                }
            }
            first = false;
        } else {
            b = ReadByte(&watch);
        }
        if (b == '\n') return;
        if (b == '\r') continue;
        if (line_.size() >= kLineMax) throw ESerExc(ESerExc::kBadData);
        line_ += static_cast<char>(b);
    }
}

const std::string& QFotoMul::Exchange(const std::string& command, long firstMs)
{
    CheckLine();
    Pause(60);
    SendBytes(command + "\r\n");
    PostString(command);
    ReaderWait(100);
    ReadLine(firstMs);
    PostString(line_);
    return line_;
}

void QFotoMul::Quit()
{
    try {
        Exchange("Q");
    } catch (const ESerExc&) {
    }
}

void QFotoMul::Reject(const std::string& command)
{
    SetErrorText(GetResStringStd(idsRejected) + command + " : " + line_);
    Quit();
    throw ESerExc(ESerExc::kComm);
}

void QFotoMul::ExpectOk(const std::string& command)
{
    if (Exchange(command) != "OK") Reject(command);
}

int QFotoMul::FilterPosition(int wl)
{
    const int n = GetFilterCount();
    for (int i = 0; i < n; ++i)
        if (GetFilter(i) == wl) return i + 1;
    SetErrorId(idsWrongFilter);
    Quit();
    throw ESerExc(ESerExc::kComm);
}

int QFotoMul::ReadPlate(int position, int* readings)
{
    ExpectOk("F" + std::to_string(position));
    ExpectOk("A");
    ExpectOk("I");
    Exchange("P", 68000);
    int valid = 0;
    for (int r = 0; r < 8; ++r) {
        PostCount(r + 1, 8);
        if (line_.size() < 72) Reject("P");
        for (int c = 0; c < 12; ++c) {
            const int v = ParseField(std::string_view(line_).substr(static_cast<std::size_t>(c) * 6, 6));
            readings[r * 12 + c] = v;
            if (v != kInvalid) ++valid;
        }
        if (r < 7) {
            ReadLine(6000);
            PostString(line_);
        }
    }
    return valid;
}

QFotoStatus QFotoMul::Measure()
{
    try {
        const MulOptions opts = MulOptions::Parse(options);
        if (Exchange("R") == "OK") ReaderWait(300);
        ExpectOk(opts.stepWise ? "E1" : "E0");
        if (opts.time != 0) {
            ExpectOk("X" + std::to_string(opts.mode + 1));
            char z[16];
            const int t = opts.time;
            z[0] = 'Z';
            z[1] = static_cast<char>('0' + t / 10);
            z[2] = static_cast<char>('0' + t % 10);
            z[3] = '\0';
            ExpectOk(z);
        }
        std::array<int, 96> plate{};
        int valid = ReadPlate(FilterPosition(wavelength), plate.data());
        if (useReference) {
            std::array<int, 96> ref{};
            ReadPlate(FilterPosition(refWavelength), ref.data());
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
        if (valid == 0) {
            Quit();
            throw ESerExc(ESerExc::kBadData);
        }
        PostText(idsSuccess);
        ReaderWait(260);
        for (int i = 0; i < 96; ++i)
            StoreValue(i / 12, i % 12, plate[i] == kInvalid ? NoValue : plate[i] * 0.001);
        Exchange("Q");
        return fsDone;
    } catch (const ESerExc& e) {
        return StatusOf(e);
    }
}

}  // namespace vyn
