#pragma once
// The fonts behind TFont: the original system's faces are mapped explicitly onto the fonts
// we ship (Liberation and DejaVu), loaded from their files, so that text measures the same
// on every machine whatever fontconfig would have picked.
#include <QFont>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/gui/Gdi.h"

class QPaintDevice;

namespace vyn {

// Registers the shipped font files with Qt (once); false when none could be loaded, in which
// case Qt's own choice for the family names is used.
bool LoadShippedFonts();

// The family that stands in for a face of the original system: "Arial" and the sans serif
// faces become "Liberation Sans", "Times New Roman" "Liberation Serif", "Courier New" and the
// fixed faces "Liberation Mono". Unknown faces follow the pitch and family bits.
std::string MapFontFace(const std::string& face, int pitchAndFamily);

// A font made for one device at one size, with its metrics in device pixels.
class TRealizedFont {
public:
    // deviceHeight is the record's height already scaled to device pixels (its sign kept);
    // deviceWidth likewise. device nullptr means a 96-dpi image.
    TRealizedFont(const TLogFont& lf, int deviceHeight, int deviceWidth, QPaintDevice* device);

    const QFont& Font() const { return font_; }
    const TTextMetric& Metrics() const { return tm_; }  // device pixels
    int CharWidth(char32_t c) const;                    // device pixels
    int TextWidth(const std::u32string& text) const;    // sum of the character widths

private:
    QFont font_;
    TTextMetric tm_;
    QPaintDevice* device_ = nullptr;
    int narrow_[256] = {};
    mutable std::unordered_map<char32_t, int> wide_;
};

// Realized fonts are kept, keyed by the record, the size and the device.
std::shared_ptr<const TRealizedFont> RealizeFont(const TLogFont& lf, int deviceHeight, int deviceWidth,
                                                 QPaintDevice* device);

// UTF-8 to code points; bytes that are not valid UTF-8 are read as Windows-1252.
std::u32string DecodeText(std::string_view text);

}  // namespace vyn
