#pragma once
// TTextPaintDC: the context a preview page is painted with. The printout draws in printer
// pixels; this context maps them onto the page window, follows the font selected into the
// printer context (where the printout measures) with a screen font of the same face and
// character height, and spreads every text run to exactly the width it has on the printer,
// so that line ends, columns and right-aligned texts stand where they stand on paper.
#include <vector>

#include "platform/gui/Dc.h"

class QImage;

namespace vyn {

class TTextPaintDC : public TDC {
public:
    // The runs drawn longer than this are cut: the advance table holds no more.
    static constexpr int kMaxRun = 255;

    // image: the page window's client image. printerDC may be null: plain text then.
    TTextPaintDC(QImage& image, TDC* printerDC);
    ~TTextPaintDC() override;

    TFont SelectObject(const TFont& font) override;
    using TDC::SelectObject;
    void RestoreFont() override;
    int SetMapMode(int mode) override;
    bool SetViewportOrg(const TPoint& org, TPoint* old = nullptr) override;
    bool SetViewportExt(const TSize& ext, TSize* old = nullptr) override;
    bool TextOut(int x, int y, std::string_view text) override;
    // Measured where the printout measures: a layout that depends on a text's size (a graph's
    // label room, a message box) then comes out as on paper, not as the small screen font
    // rounds it.
    TSize GetTextExtent(std::string_view text) const override;

    // While scaling, the printout's own mapping calls are scaled from the page (windowExt,
    // printer pixels) into the page window (viewportExt).
    void BeginScaling(TSize viewportExt, TSize windowExt);
    void EndScaling();

    // The advances that spread characters of widths w over the width printerWidth: the
    // difference is handed out one unit at a time, evenly along the run.
    static std::vector<int> SpreadAdvances(std::vector<int> w, int printerWidth);

private:
    void SetUpScreenFont();

    bool destroying_ = false;
    bool scaling_ = false;
    TSize viewportExt_;
    TSize windowExt_;
    TDC* printerDC_;
};

}  // namespace vyn
