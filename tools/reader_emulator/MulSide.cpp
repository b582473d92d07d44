// The reader side of type 5: command and reply lines ended by CR LF.
#include <cstdio>

#include "EmulatorLink.h"
#include "ReaderEmulator.h"

namespace vyn::emu {

namespace {

std::string Field6(int v)
{
    if (v == kNoReading) return "  ****";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%6.3f", v / 1000.0);
    return buf;
}

}  // namespace

void RunMul(ReaderEmulator& emu, EmulatorLink& link)
{
    const Script& s = emu.GetScript();
    int pass = 0;
    for (;;) {
        std::string text;
        for (;;) {
            const int b = link.ReadByte();
            if (b < 0) return;
            if (b == '\n') break;
            if (b != '\r') text += static_cast<char>(b);
        }
        emu.Log(text);
        if (s.fault == Fault::NoAnswer) continue;
        auto reply = [&](const std::string& line) { link.Write(line + "\r\n"); };
        if (s.fault == Fault::Garbage) {
            std::string noise;
            for (int i = 0; i < 300; ++i) noise += static_cast<char>('!' + (i * 11) % 90);
            link.Write(noise);
            continue;
        }
        if (text.empty()) continue;
        // Remote mode begins every measurement: its first plate is at the measurement filter.
        if (text == "R") pass = 0;
        if (text[0] == 'F' && s.fault == Fault::Reject) {
            reply("ERR 3");
        } else if (text == "P") {
            const std::array<int, 96>& values = pass++ == 0 ? s.plate : s.refPlate;
            for (int r = 0; r < 8; ++r) {
                if (r == 3 && s.fault == Fault::CutMidPlate) link.Cut();
                if (r == 3 && s.fault == Fault::HangUp) {
                    link.HangUp();
                    return;
                }
                std::string line;
                for (int c = 0; c < 12; ++c) line += Field6(values[static_cast<std::size_t>(r * 12 + c)]);
                if (r == 2 && s.fault == Fault::BadLength) line.resize(71);
                if (r == 2 && s.fault == Fault::LongLine) line += std::string(100, ' ');
                reply(line);
            }
        } else {
            // R, E, X, Z, F, A, I, Q
            reply("OK");
        }
    }
}

}  // namespace vyn::emu
