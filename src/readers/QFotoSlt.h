#pragma once
#include <string>

#include "platform/core/Clock.h"
#include "readers/QFoto.h"

namespace vyn {

// Shaking of the type-1 readers, as kept in the method's reader options text
// "SHAKE <time> <code>" with code = where * 4 + how + 1; an empty text means no shaking.
struct SltOptions {
    int time = 0;   // seconds, 0 = no shaking
    int where = 0;  // 0 inside, 1 outside
    int how = 0;    // 0 heavy, 1 normal, 2 light, 3 wide

    static SltOptions Parse(const std::string& text);
    int Code() const { return where * 4 + how + 1; }
    // The options text the dialog writes: time clamped to 0..255, where 0..1, how 0..3.
    std::string Format() const;
    // The description shown beside the method ("Without\r\nShaking" or time, where, how).
    std::string Describe() const;
};

// Driver of reader type 1 (models "Rainbow", "Sunrise", "Spectra"). The reader speaks one of
// two dialects, found anew before every operation: a short one of bare lines between STX
// and CR, and a framed one whose lines carry ETX and a check byte.
class QFotoSlt : public QFoto {
public:
    QFotoSlt();

    bool CanWriteFilters() override { return false; }
    bool HasOptions() override { return true; }
    int OptionsDialog(TWindow* parent, std::string& options) override;
    char* GetOptionsText(char* buffer, int size, const std::string& options) override;
    QFotoStatus Measure() override;
    QFotoStatus ReadFilters() override;
    QFotoStatus MovePlate(bool out) override;

    bool IsFramed() const { return framed_; }

private:
    static constexpr std::size_t kReplyMax = 511;

    void DetectDialect();
    // Sends one command in the dialect's form (the dialect probe always in the short form)
    // and reads its reply.
    const std::string& Command(const std::string& text, bool show = false, bool shortForm = false);
    void ReadReply(bool shortForm);
    // Repeats reader waits and status queries while the reader is busy; an 'E' status
    // fails with the reply as the message. With showCount the queries are counted on the
    // progress dialog, without a total: how long the reader works is not known.
    void WaitWhileBusy(long waitMs, bool showCount);
    // Waits for 'D' (data ready), counting the queries; 'E' fails with the reply as the message.
    void WaitForData();
    // Sets the error text and leaves the operation as a communication failure, after
    // telling the reader to stop.
    [[noreturn]] void FailStop(const std::string& text);
    [[noreturn]] void FailStopId(int id);
    void ApplyFilterList(const std::string& list);

    QFotoStatus MeasureShort(const SltOptions& opts);
    QFotoStatus MeasureFramed(const SltOptions& opts);
    // Reads "DA": 8 rows of 12 fields into readings; answers the number of valid ones.
    int ReadPlateFramed(int* readings);

    std::string reply_;
    bool framed_ = false;
    // Exclusive-or of every byte received while summing is on (the short dialect's plate).
    bool summing_ = false;
    unsigned char sum_ = 0;
};

}  // namespace vyn
