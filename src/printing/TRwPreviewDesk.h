#pragma once
// TRwPreviewDesk: the client of the print preview, a blue desk on which the page lies fitted to
// the window (enlarged 2^zoom times), framed and shadowed, and scrolled with its two bars when
// it is larger than the desk. Keys on the desk are the preview's commands.
#include "platform/gui/Window.h"

namespace vyn {

class TRwPreview;
class TScrollBar;

class TRwPreviewDesk : public TWindow {
public:
    // Window metrics of the framework the desk's layout is measured in.
    static constexpr int kFrameWidth = 4;       // a sizing frame
    static constexpr int kScrollBarWidth = 16;  // a scroll bar
    static constexpr int kCaptionHeight = 19;   // a caption
    static constexpr int kScreenDpi = 96;
    static constexpr TColor kDeskColor{0, 0, 255};
    static constexpr TColor kShadowColor{128, 128, 128};

    explicit TRwPreviewDesk(TRwPreview& frame);

    void Layout();
    // The two scroll bars; called once the page window exists.
    void MakeBars();

    int lineStepX = 2, lineStepY = 2;
    int pageStepX = 10, pageStepY = 10;

    // The desk's own scroll bars (shown only while the page is larger than the desk).
    TScrollBar& HBar() const { return *hbar_; }
    TScrollBar& VBar() const { return *vbar_; }
    bool HasHBar() const { return hRange_ > 0; }
    bool HasVBar() const { return vRange_ > 0; }
    int GetHPos() const { return hPos_; }
    int GetVPos() const { return vPos_; }
    // A scroll step as the bar would send it (SB_LINEUP, SB_PAGEDOWN, SB_THUMBPOSITION ...).
    void Scroll(int bar, unsigned code, int thumb = 0);

protected:
    void SetupWindow() override;
    void Paint(TDC& dc, bool erase, TRect& rect) override;
    void EvSize(unsigned sizeType, const TSize& size) override;
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;
    void EvChar(unsigned ch, unsigned repeatCount, unsigned flags) override;
    unsigned EvGetDlgCode(const TMsg* msg) override;
    void EvHScroll(unsigned code, unsigned pos, TWindow* control) override;
    void EvVScroll(unsigned code, unsigned pos, TWindow* control) override;

private:
    void SetBars(int hRange, int vRange);
    void PlaceBars();
    TRect FrameArea(const TRect& page) const;

    TRwPreview& frame_;
    TScrollBar* hbar_ = nullptr;
    TScrollBar* vbar_ = nullptr;
    int hRange_ = 0, vRange_ = 0;
    int hPos_ = 0, vPos_ = 0;
};

}  // namespace vyn
