#pragma once
// Pixel work of the image DCs: shapes as coverage masks, colour sources for pens and brushes,
// and the binary and ternary raster operations applied bit by bit to Format_RGB32 pixels.
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <cstdint>
#include <functional>
#include <vector>

namespace vyn {

// Which pixels of a box a shape covers: 0 none, 1 the pen or brush, 2 a gap of a dashed pen.
class TCoverage {
public:
    explicit TCoverage(const QRect& box);
    const QRect& Box() const { return box_; }
    bool IsEmpty() const { return box_.isEmpty(); }
    void Set(int x, int y, std::uint8_t v = 1)
    {
        if (box_.contains(x, y)) {
            std::uint8_t& b = bits_[Index(x, y)];
            if (v == 1 || b == 0) b = v;  // a pen pixel wins over a gap
        }
    }
    std::uint8_t Get(int x, int y) const { return box_.contains(x, y) ? bits_[Index(x, y)] : 0; }
    void FillRect(const QRect& r, std::uint8_t v = 1);
    // Removes from this mask every pixel that other covers.
    void Subtract(const TCoverage& other);
    // Paints with QPainter (no antialiasing, white on nothing) into the box; what it marks is covered.
    void Render(const std::function<void(QPainter&)>& paint);

private:
    std::size_t Index(int x, int y) const
    {
        return static_cast<std::size_t>(y - box_.top()) * box_.width() + (x - box_.left());
    }
    QRect box_;
    std::vector<std::uint8_t> bits_;
};

// The colour a pen or brush puts on each device pixel.
struct TPaintSource {
    bool pattern = false;
    QRgb solid = 0xFF000000u;
    QRgb pat[64] = {};
    bool skip[64] = {};  // gaps of a hatch in transparent mode: left alone
    int orgX = 0, orgY = 0;

    static TPaintSource Solid(QRgb c)
    {
        TPaintSource s;
        s.solid = c;
        return s;
    }
    // Colour at (x, y); false when the pixel is not painted.
    bool At(int x, int y, QRgb& c) const
    {
        if (!pattern) {
            c = solid;
            return true;
        }
        const int i = (((y - orgY) % 8 + 8) % 8) * 8 + (((x - orgX) % 8 + 8) % 8);
        c = pat[i];
        return !skip[i];
    }
};

// Applies a binary raster operation (R2_*) to the covered pixels of value `value` within clip.
void ApplyRop2(QImage& image, bool mono, const QRegion& clip, const TCoverage& cov, std::uint8_t value,
               const TPaintSource& src, int rop2);

// The ternary raster operation of a block transfer on one pixel (24 significant bits).
std::uint32_t Rop3(std::uint32_t p, std::uint32_t s, std::uint32_t d, std::uint8_t table);
std::uint32_t Rop2(std::uint32_t p, std::uint32_t d, int rop2);

// Pixels of a one-pixel line from (x0, y0) towards (x1, y1), leaving out (x1, y1). dashes
// (device pixels, on/off alternating, may be empty for solid) continue from phase, which is
// advanced; pen pixels get 1, gap pixels 2.
void RasterLine(TCoverage& cov, int x0, int y0, int x1, int y1, const std::vector<int>& dashes, int& phase);

}  // namespace vyn
