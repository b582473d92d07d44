#pragma once
// What the painters of object instances share: colours, the instance's background and border
// as the run laid them out, and the boxed text that stands in for an object.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gui/Dc.h"

namespace vyn {

class RPObjInst;

// A report colour (0x00BBGGRR, already resolved) as a drawing colour.
inline TColor ReportColour(int rgb) { return TColor(static_cast<std::uint32_t>(rgb) & 0xFFFFFF); }

TRect IntersectRects(const TRect& a, const TRect& b);
inline bool IsEmptyRect(const TRect& r) { return r.right <= r.left || r.bottom <= r.top; }

void PaintInstBackground(TDC& dc, const RPObjInst& inst);
void PaintInstBorder(TDC& dc, const RPObjInst& inst);
// The text centred in the instance's object rectangle on an opaque background, in a font of its
// own (whatever font the DC holds may be a device's tiny default), the rectangle (grown to the
// text when it is smaller) outlined with the current pen.
void PaintInstMessageBox(TDC& dc, const RPObjInst& inst, const std::string& text);

// The size a picture of natural size cx x cy (hundredths of a millimetre) is played at in a
// box of the given size, on a device of ppiX x ppiY units per inch: 0 Zoom keeps its
// proportions at the largest size that fits, 2 Clip its natural size, otherwise the box.
TSize PictureDrawSize(int sizeMode, TSize box, int cx, int cy, int ppiX, int ppiY);

// Plays metafile bits with their window mapped onto the logical box (origin, size) of the DC's
// current mapping, clipped to clip (logical). The DC's state is as before afterwards.
bool PlayMetafileInBox(TDC& dc, const std::vector<std::uint8_t>& bits, const TRect& clip, TPoint origin, TSize size);

}  // namespace vyn
