#pragma once
// Plays the bits of a Windows metafile (the form a placeable metafile file holds after its
// 22-byte header) on a device context: the drawing records a report picture needs (window
// origin and extent, pens, brushes, fonts, lines, rectangles, ellipses, polygons, text and
// the DC state). Records it does not know are skipped; damaged bits stop the play at the
// first record that does not fit, never reading past the end.
#include <cstdint>
#include <vector>

namespace vyn {

class TDC;

// false when the bits are not a metafile (nothing drawn) or a record was cut short (what came
// before it stays drawn).
bool PlayMetafile(TDC& dc, const std::vector<std::uint8_t>& bits);

// Metafile record functions that the player understands.
enum WmfRecord : std::uint16_t {
    wmfEOF = 0x0000,
    wmfSaveDC = 0x001E,
    wmfSetBkMode = 0x0102,
    wmfSetMapMode = 0x0103,
    wmfRestoreDC = 0x0127,
    wmfSelectObject = 0x012D,
    wmfSetTextAlign = 0x012E,
    wmfDeleteObject = 0x01F0,
    wmfSetBkColor = 0x0201,
    wmfSetTextColor = 0x0209,
    wmfSetWindowOrg = 0x020B,
    wmfSetWindowExt = 0x020C,
    wmfLineTo = 0x0213,
    wmfMoveTo = 0x0214,
    wmfCreatePenIndirect = 0x02FA,
    wmfCreateFontIndirect = 0x02FB,
    wmfCreateBrushIndirect = 0x02FC,
    wmfPolygon = 0x0324,
    wmfPolyline = 0x0325,
    wmfEllipse = 0x0418,
    wmfRectangle = 0x041B,
    wmfTextOut = 0x0521,
};

}  // namespace vyn
