#pragma once
// The colour common dialog: starts from a colour and a table of 16 custom colours, answers
// the chosen colour (the custom colours the user set are kept in the table). A test sets the
// answer function; then nothing is shown and its answer is taken.
#include <array>
#include <functional>

#include "platform/core/Geometry.h"

namespace vyn {

class TWindow;

class TChooseColorDialog {
public:
    TChooseColorDialog(TWindow* parent, TColor initial, std::array<TColor, 16>& customColours);

    // IDOK when a colour was chosen, IDCANCEL otherwise.
    int Execute();
    TColor GetColor() const { return colour_; }

    // The test's answer: gets the colour offered, may change it, answers false for Cancel.
    using TAnswer = std::function<bool(TColor& colour)>;
    static void SetTestAnswer(TAnswer answer);

private:
    TWindow* parent_;
    TColor colour_;
    std::array<TColor, 16>& custom_;
};

}  // namespace vyn
