#include "platform/gui/ResBitmap.h"

#include <QImage>
#include <QPainter>
#include <string>

#include "platform/core/ResFiles.h"

namespace vyn {

TBitmap LoadResBitmap(int id)
{
    for (const char* ext : {".xpm", ".png"}) {
        const res::ResFileEntry* f = FindResFile("bitmaps/" + std::to_string(id) + ext);
        if (!f) continue;
        QImage img;
        if (!img.loadFromData(f->data, static_cast<int>(f->size), ext[1] == 'x' ? "XPM" : "PNG")) return {};
        TBitmap bmp(img.width(), img.height());
        QPainter p(bmp.Image());
        // Transparent parts of a picture show the button face they are drawn on.
        p.fillRect(img.rect(), QColor(192, 192, 192));
        p.drawImage(0, 0, img);
        return bmp;
    }
    return {};
}

}  // namespace vyn
