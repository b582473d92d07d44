#pragma once
// Small helpers of the drawing tests: a white image to draw on and pixel queries.
#include <QImage>
#include <cstdio>
#include <set>
#include <string>
#include <utility>

#include "platform/gui/Dc.h"

namespace vyn::test {

inline QImage WhiteImage(int w, int h, QRgb fill = 0xFFFFFFFFu)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

inline TColor At(const QImage& img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return TColor(qRed(p), qGreen(p), qBlue(p));
}

// The pixels that differ from `background`, as (x, y) pairs.
inline std::set<std::pair<int, int>> Marked(const QImage& img, TColor background = TColor::White)
{
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (At(img, x, y) != background) out.insert({x, y});
    return out;
}

inline std::string Hex(TColor c)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06X", static_cast<unsigned>(c.value & 0xFFFFFF));
    return buf;
}

// A bounding box of the marked pixels, right and bottom exclusive.
inline TRect BoxOf(const std::set<std::pair<int, int>>& px)
{
    if (px.empty()) return {};
    TRect r{px.begin()->first, px.begin()->second, px.begin()->first + 1, px.begin()->second + 1};
    for (auto [x, y] : px) r = r | TRect(x, y, x + 1, y + 1);
    return r;
}

}  // namespace vyn::test
