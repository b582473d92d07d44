// vyn_reader_emulator: plays a plate reader on a pseudo-terminal (or a given serial device)
// so that the program can be tried without an instrument. Point "COMn" in the "ports"
// section of VYN.INI at the path it prints.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "ReaderEmulator.h"

namespace {

volatile std::sig_atomic_t gStop = 0;
void OnSignal(int) { gStop = 1; }

void Usage()
{
    std::fprintf(stderr,
                 "usage: vyn_reader_emulator --family slt|mul|ostrel [--subtype N] [--framed]\n"
                 "       [--model TEXT] [--fault NAME] [--busy N] [--slow MS] [--device PATH]\n"
                 "faults: none no-answer garbage cut hangup bad-checksum bad-length long-line\n"
                 "        reject device-error no-plate nak\n");
}

bool ParseFault(const char* name, vyn::emu::Fault& fault)
{
    using vyn::emu::Fault;
    static const struct {
        const char* name;
        Fault fault;
    } table[] = {{"none", Fault::None},           {"no-answer", Fault::NoAnswer},
                 {"garbage", Fault::Garbage},     {"cut", Fault::CutMidPlate},
                 {"hangup", Fault::HangUp},       {"bad-checksum", Fault::BadChecksum},
                 {"bad-length", Fault::BadLength}, {"long-line", Fault::LongLine},
                 {"reject", Fault::Reject},       {"device-error", Fault::DeviceError},
                 {"no-plate", Fault::NoPlate},    {"nak", Fault::NakAlways}};
    for (const auto& row : table) {
        if (std::strcmp(row.name, name) == 0) {
            fault = row.fault;
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace vyn::emu;
    Script script;
    std::string device;
    bool familyGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--framed") {
            script.framed = true;
            continue;
        }
        if (!value) {
            Usage();
            return 2;
        }
        ++i;
        if (arg == "--family") {
            familyGiven = true;
            if (std::strcmp(value, "slt") == 0) script.family = Family::Slt;
            else if (std::strcmp(value, "mul") == 0) script.family = Family::Mul;
            else if (std::strcmp(value, "ostrel") == 0) script.family = Family::Ostrel;
            else familyGiven = false;
        } else if (arg == "--subtype") {
            script.subType = std::atoi(value);
        } else if (arg == "--model") {
            script.model = value;
        } else if (arg == "--busy") {
            script.busyPolls = std::atoi(value);
        } else if (arg == "--slow") {
            script.byteDelayMs = std::atoi(value);
        } else if (arg == "--device") {
            device = value;
        } else if (arg != "--fault" || !ParseFault(value, script.fault)) {
            Usage();
            return 2;
        }
    }
    if (!familyGiven) {
        Usage();
        return 2;
    }
    // A plate that is easy to recognise: row r, column c reads r.c in optical density.
    for (int i = 0; i < 96; ++i) {
        script.plate[static_cast<std::size_t>(i)] = (i / 12) * 100 + (i % 12) * 10 + 50;
        script.refPlate[static_cast<std::size_t>(i)] = 40;
    }
    ReaderEmulator emu(script, device);
    if (!emu.Ok()) {
        std::fprintf(stderr, "vyn_reader_emulator: cannot open %s\n", device.empty() ? "a pseudo-terminal" : device.c_str());
        return 1;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::printf("%s\n", emu.SlavePath().c_str());
    std::fflush(stdout);
    emu.Start();
    std::size_t shown = 0;
    while (!gStop) {
        ::usleep(100000);
        const auto commands = emu.Commands();
        for (; shown < commands.size(); ++shown) std::fprintf(stderr, "< %s\n", commands[shown].c_str());
    }
    emu.Stop();
    return 0;
}
