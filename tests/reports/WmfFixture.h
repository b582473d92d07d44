#pragma once
// A small placeable metafile made here: a window of 1000 x 500 units (one inch wide at 1000
// units per inch) filled with a green rectangle that has a black outline.
#include <cstdint>
#include <vector>

#include "platform/gui/testing/PlaceableMetafile.h"

namespace vyn::test {

inline std::vector<std::uint8_t> GreenRectangleWmf(bool goodChecksum = true)
{
    TPlaceableMetafile wmf;
    wmf.Add(0x020B, {0, 0});             // window origin y, x
    wmf.Add(0x020C, {500, 1000});        // window extent y, x
    wmf.Add(0x02FC, {0, 0xFF00, 0, 0});  // solid brush, colour 0x0000FF00 (green)
    wmf.Add(0x012D, {0});                // select it
    wmf.Add(0x041B, {500, 1000, 0, 0});  // rectangle bottom, right, top, left
    wmf.Add(0x0000, {});
    return wmf.Bytes(1000, 500, 1000, 1, goodChecksum);
}

}  // namespace vyn::test
