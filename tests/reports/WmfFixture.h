#pragma once
// A small placeable metafile made here: a window of 1000 x 500 units (one inch wide at 1000
// units per inch) filled with a green rectangle that has a black outline.
#include <cstdint>
#include <vector>

namespace vyn::test {

inline std::vector<std::uint8_t> GreenRectangleWmf(bool goodChecksum = true)
{
    std::vector<std::uint16_t> rec;
    auto add = [&rec](std::uint16_t fn, std::vector<std::uint16_t> params) {
        const std::uint32_t size = 3 + static_cast<std::uint32_t>(params.size());
        rec.push_back(static_cast<std::uint16_t>(size & 0xFFFF));
        rec.push_back(static_cast<std::uint16_t>(size >> 16));
        rec.push_back(fn);
        rec.insert(rec.end(), params.begin(), params.end());
    };
    add(0x020B, {0, 0});             // window origin y, x
    add(0x020C, {500, 1000});        // window extent y, x
    add(0x02FC, {0, 0xFF00, 0, 0});  // solid brush, colour 0x0000FF00 (green)
    add(0x012D, {0});                // select it
    add(0x041B, {500, 1000, 0, 0});  // rectangle bottom, right, top, left
    add(0x0000, {});
    std::vector<std::uint16_t> words = {0x9AC6, 0xCDD7, 0, 0, 0, 1000, 500, 1000, 0, 0, 0};
    std::uint16_t sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= words[static_cast<std::size_t>(i)];
    words[10] = goodChecksum ? sum : static_cast<std::uint16_t>(sum ^ 1);
    const std::uint32_t total = 9 + static_cast<std::uint32_t>(rec.size());
    const std::vector<std::uint16_t> header = {1, 9, 0x0300, static_cast<std::uint16_t>(total & 0xFFFF),
                                               static_cast<std::uint16_t>(total >> 16), 1, 7, 0, 0};
    words.insert(words.end(), header.begin(), header.end());
    words.insert(words.end(), rec.begin(), rec.end());
    std::vector<std::uint8_t> bytes;
    for (std::uint16_t w : words) {
        bytes.push_back(static_cast<std::uint8_t>(w & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    return bytes;
}

}  // namespace vyn::test
