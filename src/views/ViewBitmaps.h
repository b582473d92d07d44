#pragma once
// The plate view's pictures: the keyboard cursor, the corner's scroll glyphs and the 8 x 8
// patterns of the drag feedback, by their resource ids.
#include "platform/gui/Gdi.h"

namespace vyn {

struct ViewBitmaps {
    // The bitmap resource with that id; the copy built into the view when the program's
    // resources do not hold it, so that the view always has its pictures.
    static TBitmap Load(int id);
    static TBitmap KeyCursor() { return Load(31); }
    static TBitmap Glyph(int id) { return Load(id); }
    // The mark at the right end of a number too wide for its field: a white box with a
    // triangle pointing right, saying that the number goes on beyond what is shown.
    static TBitmap OverflowMark(int width, int height);
};

}  // namespace vyn
