#pragma once
#include <string>

#include "readers/QFoto.h"

namespace vyn {

// Shaking and step-wise measurement of the Multiscan readers, as kept in the method's reader
// options text: "SHAKE <time> <mode> " when shaking, then "STPW" when step-wise.
struct MulOptions {
    int time = 0;   // seconds 0..99, 0 = no shaking
    int mode = 0;   // 0 heavy, 1 normal, 2 light
    bool stepWise = false;

    static MulOptions Parse(const std::string& text);
    // The options text the dialog writes; time clamped to 0..99, mode to 0..2.
    std::string Format() const;
    std::string Describe() const;
};

// Driver of reader type 5 (models "Multiscan EX", "Multiscan MS", "Multiscan RC"): a line
// protocol in remote mode that measures a plate and nothing else.
class QFotoMul : public QFoto {
public:
    QFotoMul();

    bool CanReadFilters() override { return false; }
    bool CanWriteFilters() override { return false; }
    bool CanMovePlate() override { return false; }
    bool HasOptions() override { return true; }
    int OptionsDialog(TWindow* parent, std::string& options) override;
    char* GetOptionsText(char* buffer, int size, const std::string& options) override;
    QFotoStatus Measure() override;

    static constexpr int kInvalid = 8989;
    // A plate field: a number of optical density, in thousandths; kInvalid when there is
    // none or it lies outside -0.2 .. 4.2.
    static int ParseField(std::string_view field);

private:
    static constexpr std::size_t kLineMax = 127;

    // Sends one command line, shows it, waits, reads and shows the reply line; the first
    // reply character must come within firstMs.
    const std::string& Exchange(const std::string& command, long firstMs = 6000);
    void ReadLine(long firstMs);
    // Exchanges a command that must be answered "OK".
    void ExpectOk(const std::string& command);
    [[noreturn]] void Reject(const std::string& command);
    // Ends remote mode before a failure; the failure keeps its own reason.
    void Quit();
    int FilterPosition(int wavelength);
    // "F", "A", "I", "P" and the eight rows; answers the number of valid readings.
    int ReadPlate(int position, int* readings);

    std::string line_;
};

}  // namespace vyn
