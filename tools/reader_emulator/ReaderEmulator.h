#pragma once
#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vyn::emu {

class EmulatorLink;

enum class Family { Slt, Mul, Ostrel };

// What goes wrong on the reader's side.
enum class Fault {
    None,
    NoAnswer,     // reads the commands, never answers
    Garbage,      // answers the first command with noise that never forms a reply
    CutMidPlate,  // stops talking part-way through the plate data
    HangUp,       // closes the line part-way through the plate data
    BadChecksum,  // plate data with a wrong check byte or check sum
    BadLength,    // a plate line or block of the wrong length
    LongLine,     // a reply longer than any reply may be
    Reject,       // refuses the filter command
    DeviceError,  // reports an error of its own during the measurement
    NoPlate,      // reports busy where a plate should be in place
    NakAlways,    // refuses every command frame (framed, acknowledged protocols)
};

// Readings in thousandths of an optical density; kNoReading prints as a field with no number.
inline constexpr int kNoReading = 1000000;

struct Script {
    Family family = Family::Slt;
    int subType = 0;
    bool framed = false;              // type 1: the framed dialect
    std::string model = "FPHOTO";     // type 2, sub-types other than 0: reply to "F"
    std::array<int, 96> plate{};      // at the measurement filter, row after row
    std::array<int, 96> refPlate{};   // at the reference filter
    std::vector<int> filters{405, 450, 492, 620};
    Fault fault = Fault::None;
    int busyPolls = 2;                // status polls answered busy before done
    int byteDelayMs = 0;              // a slow reader: pause before every byte
    int deviceError = 9;              // type 2: error number reported with Fault::DeviceError
    std::string errorReply = "E12 Lamp failure";  // type 1: status reply with Fault::DeviceError
};

// Runs one reader on a pseudo-terminal in a thread of its own. Drivers open SlavePath().
class ReaderEmulator {
public:
    // Opens a new pseudo-terminal, or the given device when devicePath is not empty.
    explicit ReaderEmulator(Script script, const std::string& devicePath = "");
    ~ReaderEmulator();
    ReaderEmulator(const ReaderEmulator&) = delete;
    ReaderEmulator& operator=(const ReaderEmulator&) = delete;

    bool Ok() const { return fd_ >= 0; }
    const std::string& SlavePath() const { return slavePath_; }
    void Start();
    void Stop();

    // Every command the reader received, in order (text without framing).
    std::vector<std::string> Commands() const;
    bool Received(const std::string& command) const;
    // The filters as the reader holds them now (changed by calibration commands).
    std::vector<int> Filters() const;

    // For the family sides.
    void Log(const std::string& command);
    void SetFilters(const std::vector<int>& filters);
    const Script& GetScript() const { return script_; }

private:
    void Run();

    Script script_;
    int fd_ = -1;
    int slaveFd_ = -1;
    std::string slavePath_;
    std::atomic<bool> stop_{false};
    std::unique_ptr<EmulatorLink> link_;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<std::string> commands_;
    std::vector<int> filters_;
};

// The reader sides, each until the link stops.
void RunSlt(ReaderEmulator& emu, EmulatorLink& link);
void RunMul(ReaderEmulator& emu, EmulatorLink& link);
void RunOstrel(ReaderEmulator& emu, EmulatorLink& link);

}  // namespace vyn::emu
