// The reader side of type 2: select with EOT "20" ENQ, command frames acknowledged with
// ACK or NAK, reply frames acknowledged by the driver, EOT to end.
#include <cstdio>
#include <cstdlib>

#include "EmulatorLink.h"
#include "ReaderEmulator.h"

namespace vyn::emu {

namespace {

constexpr char STX = 0x02, ETX = 0x03, EOT = 0x04, ENQ = 0x05, ACK = 0x06, NAK = 0x15;

unsigned char Check(const std::string& text, int subType)
{
    unsigned char x = ETX;
    for (char c : text) x ^= static_cast<unsigned char>(c);
    return subType == 0 ? static_cast<unsigned char>(~x) : x;
}

std::string Field(int v, int width)
{
    if (v == kNoReading) v = width == 4 ? 9999 : 99999;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%*d", width, v);
    return buf;
}

}  // namespace

void RunOstrel(ReaderEmulator& emu, EmulatorLink& link)
{
    const Script& s = emu.GetScript();
    const bool scanning = s.subType != 0 && (s.model.rfind("FSCH", 0) == 0 || s.model.rfind("FVisRd", 0) == 0);
    int polls = 0;
    bool measuring = false, wantsPlate = false, withReference = false, errorPending = false;
    int errorNumber = 0;

    // Sends a reply frame and waits for the driver's ACK; a NAK gets it once more.
    auto sendFrame = [&](const std::string& text, bool corrupt) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            std::string f(1, STX);
            f += text;
            f += ETX;
            f += static_cast<char>(corrupt ? Check(text, s.subType) ^ 0x55 : Check(text, s.subType));
            link.Write(f);
            const int answer = link.ReadByte();
            if (answer != NAK) return answer >= 0;
        }
        return true;
    };

    for (;;) {
        const int b = link.ReadByte();
        if (b < 0) return;
        if (b == ENQ) {
            if (s.fault == Fault::NoAnswer) continue;
            link.Write(s.fault == Fault::Garbage ? std::string("zq#x!yz") : std::string(1, ACK));
            continue;
        }
        if (b != STX) continue;  // EOT, the select digits
        std::string text;
        int c;
        while ((c = link.ReadByte()) >= 0 && c != ETX) text += static_cast<char>(c);
        const int check = link.ReadByte();
        if (c < 0 || check < 0) return;
        if ((check & 0x7F) != (Check(text, s.subType) & 0x7F) || s.fault == Fault::NakAlways) {
            link.Write(std::string(1, NAK));
            continue;
        }
        link.Write(std::string(1, ACK));
        emu.Log(text);

        if (text == "E") {
            sendFrame(std::string("E") + static_cast<char>('0' + (errorPending ? errorNumber : 0)), false);
            errorPending = false;
        } else if (text == "Q") {
            int status = 0x40;
            if (wantsPlate) {
                status |= 0x20;
            } else if (measuring && s.fault == Fault::DeviceError) {
                status |= 0x18;
                errorPending = true;
                errorNumber = s.deviceError;
                measuring = false;
            } else if (polls > 0) {
                --polls;
                status |= 0x02;
            } else if (measuring && s.subType != 0) {
                status |= 0x04;
            }
            sendFrame(std::string("Q") + static_cast<char>(status), false);
        } else if (text == "F") {
            sendFrame(s.model, false);
        } else if (text == "Af") {
            std::vector<int> f = emu.Filters();
            f.resize(6, 0);
            std::string list = "A";
            for (int w : f) {
                char buf[16];
                std::snprintf(buf, sizeof buf, "%03d,", w);
                list += buf;
            }
            sendFrame(list, false);
        } else if (text.size() > 2 && text[0] == 'S' && text[1] == 'f') {
            // The measurement command: a second 'f' names the reference position.
            withReference = text.find('f', 2) != std::string::npos && text.find('f', 2) < text.find('x');
            measuring = true;
            polls = s.busyPolls;
            wantsPlate = scanning;
        } else if (text == "SgG") {
            wantsPlate = false;
        } else if (text == "Ad1" || text == "Ad2" || text == "Ax") {
            int blocks, fields, width;
            if (s.subType == 0) blocks = 12, fields = 8, width = 5;
            else if (!scanning) blocks = 6, fields = 16, width = 4;
            else blocks = 2, fields = 48, width = 5;
            if (withReference) blocks *= 2;
            for (int blk = 0; blk < blocks; ++blk) {
                if (blk == 1 && s.fault == Fault::CutMidPlate) link.Cut();
                if (blk == 1 && s.fault == Fault::HangUp) {
                    link.HangUp();
                    return;
                }
                const std::array<int, 96>& values = blk < blocks / (withReference ? 2 : 1) ? s.plate : s.refPlate;
                std::string block;
                if (s.subType == 0) {
                    char head[16];  // room for any int, though blocks stay below 100
                    std::snprintf(head, sizeof head, "D%02d", blk + 1);
                    block = head;
                }
                for (int i = 0; i < fields; ++i) {
                    int col, row;
                    if (s.subType == 0) col = blk % 12, row = i;
                    else if (!scanning) col = (blk % 6) * 2 + i / 8, row = i % 8;
                    else col = (blk % 2) * 6 + i / 8, row = i % 8;
                    block += Field(values[static_cast<std::size_t>(row * 12 + col)], width);
                }
                if (blk == 0 && s.fault == Fault::BadLength) block.pop_back();
                if (!sendFrame(block, blk == 0 && s.fault == Fault::BadChecksum)) return;
            }
            measuring = false;
        } else if (text.rfind("Jf", 0) == 0 && text.size() > 3) {
            // Calibrate position p with a wavelength: "Jf<p><nm>G".
            const int position = text[2] - '0';
            const int wavelength = std::atoi(text.substr(3).c_str());
            std::vector<int> f = emu.Filters();
            f.resize(6, 0);
            if (position >= 1 && position <= 6) f[static_cast<std::size_t>(position - 1)] = wavelength;
            emu.SetFilters(f);
            polls = s.busyPolls;
        } else {
            // Carrier movements: busy for a while.
            polls = s.busyPolls;
        }
    }
}

}  // namespace vyn::emu
