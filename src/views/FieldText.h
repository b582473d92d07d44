#pragma once
// A number or text in a field of fixed width (a plate cell's line, a sample list's result
// column, the presentation dialog's sample): whole when it fits; otherwise its leading
// characters, as many whole ones as leave room for the overflow mark at the field's right end.
// Never its tail alone and never a character cut in half: a value cut on the left, or with its
// first digit half hidden, reads as another number.
#include <string>

#include "platform/core/Geometry.h"

namespace vyn {

class TBitmap;
class TDC;

struct TFieldText {
    std::string shown;       // the whole text, or its leading characters
    bool overflows = false;  // the text is cut: the overflow mark goes after it
};

// Measured with the font selected into dc.
TFieldText FitToField(const TDC& dc, const std::string& text, int width, int markWidth);

// Draws the text in the field with the format's alignment when it fits; otherwise its leading
// characters from the field's left edge and the mark copied over the field's right end.
// Returns whether the text overflows.
bool DrawFieldText(TDC& dc, const std::string& text, const TRect& field, unsigned format, const TBitmap& mark);

}  // namespace vyn
