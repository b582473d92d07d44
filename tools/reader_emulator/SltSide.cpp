// The reader side of type 1: lines between STX and CR (short dialect) or framed with ETX
// and a check byte (framed dialect).
#include <cstdio>
#include <sstream>

#include "EmulatorLink.h"
#include "ReaderEmulator.h"

namespace vyn::emu {

namespace {

constexpr char STX = 0x02, ETX = 0x03, CR = 0x0D;

std::string Field(int v, int width)
{
    if (v == kNoReading) return std::string(static_cast<std::size_t>(width), '*');
    char buf[32];
    std::snprintf(buf, sizeof buf, "%*d", width, v);
    return buf;
}

std::string Noise(std::size_t n)
{
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('!' + (i * 7) % 90);
    return s;
}

bool InList(const std::vector<int>& list, int v)
{
    for (int x : list)
        if (x == v) return true;
    return false;
}

}  // namespace

void RunSlt(ReaderEmulator& emu, EmulatorLink& link)
{
    const Script& s = emu.GetScript();
    int polls = 0;        // busy answers left
    bool measuring = false;
    bool plateRequested = false;
    bool twoFilters = false;
    int pass = 0;

    for (;;) {
        int b;
        do {
            b = link.ReadByte();
            if (b < 0) return;
        } while (b != STX);
        std::string text;
        bool framedCmd = false;
        for (;;) {
            b = link.ReadByte();
            if (b < 0) return;
            if (b == CR) break;
            if (b == ETX) {
                framedCmd = true;
                if (link.ReadByte() < 0 || link.ReadByte() < 0) return;  // check byte, CR
                break;
            }
            text += static_cast<char>(b);
        }
        emu.Log(text);
        if (s.fault == Fault::NoAnswer) continue;

        unsigned char sum = 0;
        bool summing = false;
        auto send = [&](const std::string& bytes) {
            if (summing)
                for (char c : bytes) sum ^= static_cast<unsigned char>(c);
            link.Write(bytes);
        };
        auto reply = [&](const std::string& t) {
            if (s.fault == Fault::Garbage) {
                link.Write(Noise(100));
                return;
            }
            std::string f(1, STX);
            f += t;
            if (s.framed && (framedCmd || text == "!")) {
                f += ETX;
                unsigned char x = 0;
                for (char c : f) x ^= static_cast<unsigned char>(c);
                if (s.fault == Fault::BadChecksum && text == "DA") x ^= 0x5A;
                f += static_cast<char>(x);
            }
            f += CR;
            send(f);
        };
        auto status = [&]() -> std::string {
            if (measuring) {
                if (s.fault == Fault::DeviceError) return s.errorReply;
                if (polls > 0) {
                    --polls;
                    return "B";
                }
                return "D";
            }
            if (plateRequested && s.fault == Fault::NoPlate) return "B";
            if (polls > 0) {
                --polls;
                return "B";
            }
            return "R";
        };
        auto filterList = [&] {
            if (s.fault == Fault::LongLine) return std::string(600, '4');
            std::string list;
            for (int f : emu.Filters()) list += (list.empty() ? "" : " ") + std::to_string(f);
            return list;
        };
        auto wavelengthsKnown = [&](const std::string& args) {
            std::istringstream in(args);
            int wl, n = 0;
            while (in >> wl) {
                if (!InList(emu.Filters(), wl)) return false;
                ++n;
            }
            twoFilters = n == 2;
            return n > 0 && s.fault != Fault::Reject;
        };
        const std::vector<int> nothing;

        if (text == "!") {
            reply(s.framed ? "SPECTRA" : "SU");
        } else if (text == "?" || text == "??") {
            reply(status());
        } else if (text == "I" || text == "GW") {
            reply(filterList());
        } else if (text == "TR1" || text == "TR0") {
            plateRequested = true;
            polls = s.busyPolls;
            reply("+");
            // The carrier moves while the reader answers busy; a measurement waits for it.
            if (!s.framed && text == "TR1") polls = 0;
            if (s.framed && text == "TR0") polls = 0;
        } else if (text.rfind("SH ", 0) == 0) {
            polls = s.busyPolls;
            reply("+");
        } else if (text[0] == 'F' && !s.framed) {
            reply(wavelengthsKnown(text.substr(1)) ? "+" : "-");
        } else if (text.rfind("SW", 0) == 0) {
            const bool ok = wavelengthsKnown(text.substr(2));
            twoFilters = false;
            reply(ok ? "+" : "-");
        } else if (text == "S" || text == "SM") {
            measuring = true;
            polls = s.busyPolls;
            ++pass;
            reply("+");
        } else if (text == "D") {
            // The check sum runs from the STX of this reply through the final ':'.
            summing = true;
            reply("+");
            for (int c = 0; c < 12; ++c) {
                if (c == 5 && s.fault == Fault::CutMidPlate) link.Cut();
                if (c == 5 && s.fault == Fault::HangUp) {
                    link.HangUp();
                    return;
                }
                std::string line;
                for (int r = 0; r < 8; ++r) {
                    const int i = r * 12 + c;
                    int v = s.plate[static_cast<std::size_t>(i)];
                    if (twoFilters) {
                        const int ref = s.refPlate[static_cast<std::size_t>(i)];
                        v = v == kNoReading || ref == kNoReading ? kNoReading : v - ref;
                    }
                    line += Field(v, 5);
                }
                if (c == 3 && s.fault == Fault::BadLength) line.resize(30);
                reply(line);
            }
            send(std::string(1, STX) + ":");
            unsigned char x = sum;
            if (s.fault == Fault::BadChecksum) x ^= 0x21;
            summing = false;
            link.Write(std::string{static_cast<char>('@' + (x >> 4)), static_cast<char>('@' + (x & 0x0F)), CR});
            measuring = false;
        } else if (text == "DA") {
            const std::array<int, 96>& values = pass >= 2 ? s.refPlate : s.plate;
            std::string all;
            for (int r = 0; r < 8; ++r) {
                if (r == 7 && s.fault == Fault::BadLength) break;
                all += CR;
                for (int c = 0; c < 12; ++c) all += Field(values[static_cast<std::size_t>(r * 12 + c)], 5);
            }
            measuring = false;
            if (s.fault == Fault::CutMidPlate || s.fault == Fault::HangUp) {
                link.Write(std::string(1, STX) + all.substr(0, 200));
                if (s.fault == Fault::HangUp) {
                    link.HangUp();
                    return;
                }
                link.Cut();
                continue;
            }
            reply(all);
        } else {
            // H, E, ER, Y ...: accepted.
            if (text == "E" || text == "ER") measuring = false;
            reply("+");
        }
    }
}

}  // namespace vyn::emu
