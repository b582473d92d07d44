#pragma once
// Bitmap resources: pictures built into the program from resources/bitmaps, named by their
// resource id ("<id>.xpm" or "<id>.png").
#include "platform/gui/Gdi.h"

namespace vyn {

// The bitmap resource with that id; a null bitmap when there is none or it cannot be read.
TBitmap LoadResBitmap(int id);

}  // namespace vyn
