#pragma once
// The font common dialog. It starts from a font record whose height is in pixels of the
// device the font is meant for, and answers the chosen record (height again in that device's
// pixels) and the chosen size in tenths of a point. A test sets the answer function; then
// nothing is shown and its answer is taken.
#include <functional>

#include "platform/gui/Gdi.h"

namespace vyn {

class TDC;
class TWindow;

class TChooseFontDialog {
public:
    // device: the context whose resolution the heights are in (nullptr: the screen).
    TChooseFontDialog(TWindow* parent, const TLogFont& initial, const TDC* device);

    // IDOK when a font was chosen, IDCANCEL otherwise.
    int Execute();

    const TLogFont& GetLogFont() const { return lf_; }
    int GetPointSize() const { return pointSize_; }  // tenths of a point

    // The test's answer: gets the record offered (heights in device pixels) and the size in
    // tenths of a point, may change both, and answers false for Cancel. Empty: the real dialog.
    using TAnswer = std::function<bool(TLogFont& lf, int& pointSize)>;
    static void SetTestAnswer(TAnswer answer);

private:
    TWindow* parent_;
    TLogFont lf_;
    int dpiY_;
    int pointSize_ = 0;
};

}  // namespace vyn
