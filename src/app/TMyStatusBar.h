#pragma once
// The main window's status bar with a busy mode for long calculations: while busy it shows a
// grey block stepping across a light-grey strip instead of its gadgets, and the wait cursor.
#include <cstdint>
#include <functional>

#include "platform/gui/GadgetWindow.h"

namespace vyn {

class TMyStatusBar : public TStatusBar {
public:
    TMyStatusBar(TWindow* parent, TGadget::TBorderStyle border, unsigned modeIndicators, const TFont& font);
    ~TMyStatusBar() override;

    void StartBusy();
    void StopBusy();
    void SuspendBusy();
    void ResumeBusy();
    void Advance();

    int BusyLevel() const { return busy_; }
    int BlockPosition() const { return blockPos_; }
    int BlockWidth() const { return blockWidth_; }
    int Step() const { return step_; }
    // Whether the wait cursor is shown now.
    bool ShowsWaitCursor() const { return waitShown_; }

    // The millisecond tick count the steps are timed by; tests set their own.
    static void SetTickSource(std::function<std::uint64_t()> ticks);
    // For tests: the strip and the character width a busy run measures.
    void SetMetricsForTest(const TRect& strip, int charWidth);

protected:
    void PaintGadgets(TDC& dc) override;

private:
    void ShowWait(bool wait);

    int busy_ = 0;
    TRect strip_;
    int blockPos_ = 0;
    int blockWidth_ = 12;
    int step_ = 4;
    TColor blockColor_{0, 0, 0};
    std::uint64_t lastStep_ = 0;
    bool waitShown_ = false;
    int testCharWidth_ = 0;
    TRect testStrip_;
};

// The form the plate document calls: Advance on gStatusBar.
void StatusBarTick();

}  // namespace vyn
