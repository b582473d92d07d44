#include "app/TMyStatusBar.h"

#include <chrono>

#include "app/AppGlobals.h"
#include "platform/gui/Dc.h"
#include "platform/gui/DecoratedFrame.h"

namespace vyn {

namespace {
const TColor kStrip(192, 192, 192);

std::function<std::uint64_t()>& Ticks()
{
    static std::function<std::uint64_t()> ticks = [] {
        using namespace std::chrono;
        return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    };
    return ticks;
}
}  // namespace

void TMyStatusBar::SetTickSource(std::function<std::uint64_t()> ticks)
{
    if (ticks) Ticks() = std::move(ticks);
    else Ticks() = [] {
        using namespace std::chrono;
        return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    };
}

TMyStatusBar::TMyStatusBar(TWindow* parent, TGadget::TBorderStyle border, unsigned modeIndicators, const TFont& font)
    : TStatusBar(parent, border, modeIndicators, font)
{
}

TMyStatusBar::~TMyStatusBar()
{
    if (waitShown_) ShowWait(false);
}

void TMyStatusBar::SetMetricsForTest(const TRect& strip, int charWidth)
{
    testStrip_ = strip;
    testCharWidth_ = charWidth;
}

void TMyStatusBar::ShowWait(bool wait)
{
    if (wait == waitShown_) return;
    waitShown_ = wait;
    TDecoratedFrame::ShowWaitCursor(wait);
}

void TMyStatusBar::StartBusy()
{
    ShowWait(true);
    busy_ = 1;
    strip_ = testCharWidth_ > 0 ? testStrip_ : GetClientRect();
    blockPos_ = 0;
    int cw = testCharWidth_;
    if (cw <= 0) cw = TextWidth("D");
    if (cw < 1) cw = 1;
    blockWidth_ = 12 * cw;
    step_ = 4 * cw;
    blockColor_ = TColor(128, 128, 128);
    lastStep_ = 0;
    Invalidate(true);
    UpdateWindow();
}

void TMyStatusBar::StopBusy()
{
    busy_ = 0;
    Invalidate(true);
    ShowWait(false);
}

void TMyStatusBar::SuspendBusy()
{
    if (busy_ == 1) ShowWait(false);
    ++busy_;
}

void TMyStatusBar::ResumeBusy()
{
    if (busy_ > 0) --busy_;
    if (busy_ == 1) ShowWait(true);
}

void TMyStatusBar::Advance()
{
    if (busy_ == 0) return;
    const std::uint64_t now = Ticks()();
    if (lastStep_ != 0 && now - lastStep_ < 50) return;
    lastStep_ = now == 0 ? 1 : now;
    TRect clear;
    if (blockPos_ + blockWidth_ + step_ > strip_.right + 2 * step_) {
        clear = TRect(blockPos_, strip_.top, blockPos_ + blockWidth_, strip_.bottom);
        blockPos_ = 0;
    } else {
        clear = TRect(blockPos_, strip_.top, blockPos_ + step_, strip_.bottom);
        blockPos_ += step_;
    }
    const TRect block(blockPos_, strip_.top, blockPos_ + blockWidth_, strip_.bottom);
    // The calculation keeps the main thread busy, so the bar draws at once rather than
    // waiting for the message loop.
    DrawNow([&](TDC& dc) {
        dc.FillRect(clear, TBrush(kStrip));
        dc.FillRect(block, TBrush(blockColor_));
    });
    UpdateWindow();
}

void TMyStatusBar::PaintGadgets(TDC& dc)
{
    if (busy_ == 0) {
        TStatusBar::PaintGadgets(dc);
        return;
    }
    dc.FillRect(strip_, TBrush(kStrip));
    dc.FillRect(TRect(blockPos_, strip_.top, blockPos_ + blockWidth_, strip_.bottom), TBrush(blockColor_));
}

void StatusBarTick()
{
    if (gStatusBar) gStatusBar->Advance();
}

}  // namespace vyn
