#pragma once
// The Qt side of the drawing objects, shared by Gdi.cpp and Dc.cpp only.
#include <QImage>
#include <QRegion>

#include "platform/gui/Gdi.h"

namespace vyn {

struct TBitmap::Impl {
    QImage image;  // Format_RGB32
    bool monochrome = false;
};

struct TRegion::Impl {
    QRegion region;
};

// COLORREF to a pixel of a Format_RGB32 image and back. The high byte of a COLORREF
// (palette flags) does not change the colour on a true-colour surface.
inline QRgb ToPixel(TColor c) { return qRgb(c.Red(), c.Green(), c.Blue()); }
inline TColor FromPixel(QRgb p) { return TColor(qRed(p), qGreen(p), qBlue(p)); }

// What a colour becomes on a monochrome surface: white when it is at least half bright.
inline QRgb ToMonoPixel(QRgb p)
{
    const int lum = (qRed(p) * 30 + qGreen(p) * 59 + qBlue(p) * 11) / 100;
    return lum >= 128 ? 0xFFFFFFFFu : 0xFF000000u;
}

inline QRect ToQRect(const TRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }
inline TRect FromQRect(const QRect& r) { return TRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }

}  // namespace vyn
