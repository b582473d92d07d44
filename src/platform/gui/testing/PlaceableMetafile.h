#pragma once
// Small placeable metafiles made here, for tests and screenshots: the records are added one by
// one, and Bytes() puts the placeable header (with its checksum) and the metafile header before
// them. Only what those pictures need: 16-bit records, one inch of unitsPerInch units.
#include <cstdint>
#include <vector>

namespace vyn {

class TPlaceableMetafile {
public:
    void Add(std::uint16_t function, const std::vector<std::uint16_t>& params)
    {
        const std::uint32_t size = 3 + static_cast<std::uint32_t>(params.size());
        rec_.push_back(static_cast<std::uint16_t>(size & 0xFFFF));
        rec_.push_back(static_cast<std::uint16_t>(size >> 16));
        rec_.push_back(function);
        rec_.insert(rec_.end(), params.begin(), params.end());
    }

    // width x height: the picture's box in metafile units; objects: how many the records make.
    // A wrong checksum when asked, for the reader's refusal.
    std::vector<std::uint8_t> Bytes(std::uint16_t width, std::uint16_t height, std::uint16_t unitsPerInch,
                                    std::uint16_t objects, bool goodChecksum = true) const
    {
        std::vector<std::uint16_t> words = {0x9AC6, 0xCDD7, 0, 0, 0, width, height, unitsPerInch, 0, 0, 0};
        std::uint16_t sum = 0;
        for (int i = 0; i < 10; ++i) sum ^= words[static_cast<std::size_t>(i)];
        words[10] = goodChecksum ? sum : static_cast<std::uint16_t>(sum ^ 1);
        const std::uint32_t total = 9 + static_cast<std::uint32_t>(rec_.size());
        const std::vector<std::uint16_t> header = {1, 9, 0x0300, static_cast<std::uint16_t>(total & 0xFFFF),
                                                   static_cast<std::uint16_t>(total >> 16), objects, 7, 0, 0};
        words.insert(words.end(), header.begin(), header.end());
        words.insert(words.end(), rec_.begin(), rec_.end());
        std::vector<std::uint8_t> bytes;
        for (std::uint16_t w : words) {
            bytes.push_back(static_cast<std::uint8_t>(w & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(w >> 8));
        }
        return bytes;
    }

private:
    std::vector<std::uint16_t> rec_;
};

}  // namespace vyn
