#pragma once
#include <array>
#include <string>

#include "readers/QFoto.h"

namespace vyn {

class QStopwatch;

// Plate shaking of the OSTREL readers, as kept in the method's reader options text
// "SHAKE <time> <speed> <step>"; an empty text means no shaking.
struct OstrelOptions {
    int time = 0;   // seconds 0..255, 0 = no shaking
    int speed = 0;  // 0 slow, 1 normal, 2 fast, 3 fastest
    int step = 0;   // 0 narrow, 1 normal, 2 wide, 3 widest

    static OstrelOptions Parse(const std::string& text);
    std::string Format() const;
    std::string Describe() const;
};

// Driver of reader type 2, the OSTREL readers: a framed, acknowledged protocol of short
// commands. Sub-type 0 is the older reader (inverted check bytes, its own data blocks);
// the others report their model and may be scanning readers.
class QFotoOstrel : public QFoto {
public:
    QFotoOstrel();

    bool CanMovePlate() override { return subType_ != 0; }
    bool HasOptions() override { return true; }
    int OptionsDialog(TWindow* parent, std::string& options) override;
    char* GetOptionsText(char* buffer, int size, const std::string& options) override;
    QFotoStatus Measure() override;
    void AfterMeasure() override;
    QFotoStatus WriteFilters() override;
    QFotoStatus ReadFilters() override;
    QFotoStatus MovePlate(bool out) override;

    // The bytes of a command frame for the given sub-type.
    static std::string Frame(const std::string& command, int subType);

    static constexpr int kInvalid = 8010;

private:
    void Select();
    void SendCommand(const std::string& command);
    void SendCommand(const std::string& command, const QStopwatch& watch);
    void ReadReply(const QStopwatch& watch);
    const std::string& Exchange(const std::string& command);
    void EndLink();
    // The status byte, or a failure for a pending reader error.
    int QueryStatus();
    void OpenLink(bool askModel);
    unsigned char LinkByte(const QStopwatch* watch);
    // Up to six wavelengths of the "Af" reply.
    int ReadFilterPositions(int* out);
    void WaitUntil(bool (*ready)(int status, int subType), long waitMs, const QStopwatch* limit, bool showCount);
    QFotoStatus Fail(const ESerExc& e);

    int subType_ = 0;
    bool scanning_ = false;
    bool shaker_ = false;
    std::string reply_;
    std::array<int, 96> readings_{};
};

}  // namespace vyn
