#pragma once
// Drawing objects of the window framework: pens, brushes, fonts, bitmaps and regions.
// Each object is a small handle: copies share the same object, as GDI handles do, so a
// bitmap selected into a memory DC and the copy kept by its owner see the same pixels.
// Nothing here needs a Qt header; the Qt side lives in the .cpp files.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Geometry.h"

class QImage;

namespace vyn {

// Windows draw at a fixed 96 dots per inch, whatever the X server says, so that the
// layouts measured in pixels come out the same on every machine.
inline constexpr int kScreenDpi = 96;

// Pen styles.
inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_DOT = 2;
inline constexpr int PS_DASHDOT = 3;
inline constexpr int PS_DASHDOTDOT = 4;
inline constexpr int PS_NULL = 5;
inline constexpr int PS_INSIDEFRAME = 6;

// Brush styles and hatches.
inline constexpr int BS_SOLID = 0;
inline constexpr int BS_NULL = 1;
inline constexpr int BS_HOLLOW = BS_NULL;
inline constexpr int BS_HATCHED = 2;
inline constexpr int BS_PATTERN = 3;
inline constexpr int HS_HORIZONTAL = 0;
inline constexpr int HS_VERTICAL = 1;
inline constexpr int HS_FDIAGONAL = 2;
inline constexpr int HS_BDIAGONAL = 3;
inline constexpr int HS_CROSS = 4;
inline constexpr int HS_DIAGCROSS = 5;

// Stock objects.
inline constexpr int WHITE_BRUSH = 0;
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int HOLLOW_BRUSH = NULL_BRUSH;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;
inline constexpr int OEM_FIXED_FONT = 10;
inline constexpr int ANSI_FIXED_FONT = 11;
inline constexpr int ANSI_VAR_FONT = 12;
inline constexpr int SYSTEM_FONT = 13;
inline constexpr int DEVICE_DEFAULT_FONT = 14;
inline constexpr int SYSTEM_FIXED_FONT = 16;
inline constexpr int DEFAULT_GUI_FONT = 17;

// Font record values.
inline constexpr int LF_FACESIZE = 32;  // face names keep at most LF_FACESIZE - 1 characters
inline constexpr int FW_DONTCARE = 0;
inline constexpr int FW_THIN = 100;
inline constexpr int FW_LIGHT = 300;
inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_MEDIUM = 500;
inline constexpr int FW_SEMIBOLD = 600;
inline constexpr int FW_BOLD = 700;
inline constexpr int FW_HEAVY = 900;
inline constexpr int ANSI_CHARSET = 0;
inline constexpr int DEFAULT_CHARSET = 1;
inline constexpr int SYMBOL_CHARSET = 2;
inline constexpr int OEM_CHARSET = 255;
inline constexpr int OUT_DEFAULT_PRECIS = 0;
inline constexpr int OUT_TT_ONLY_PRECIS = 7;
inline constexpr int CLIP_DEFAULT_PRECIS = 0;
inline constexpr int DEFAULT_QUALITY = 0;
inline constexpr int DRAFT_QUALITY = 1;
inline constexpr int PROOF_QUALITY = 2;
inline constexpr int DEFAULT_PITCH = 0;
inline constexpr int FIXED_PITCH = 1;
inline constexpr int VARIABLE_PITCH = 2;
inline constexpr int FF_DONTCARE = 0x00;
inline constexpr int FF_ROMAN = 0x10;
inline constexpr int FF_SWISS = 0x20;
inline constexpr int FF_MODERN = 0x30;
inline constexpr int FF_SCRIPT = 0x40;
inline constexpr int FF_DECORATIVE = 0x50;

// Region kinds and combine modes.
inline constexpr int RGN_ERROR = 0;
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
inline constexpr int COMPLEXREGION = 3;
inline constexpr int RGN_AND = 1;
inline constexpr int RGN_OR = 2;
inline constexpr int RGN_XOR = 3;
inline constexpr int RGN_DIFF = 4;
inline constexpr int RGN_COPY = 5;

// A logical font as the system stores it: lfHeight < 0 is the character (em) height,
// lfHeight > 0 the cell height (ascent + descent), 0 a default size; all in logical units
// of the DC the font is selected into.
struct TLogFont {
    int lfHeight = 0;
    int lfWidth = 0;
    int lfEscapement = 0;
    int lfOrientation = 0;
    int lfWeight = FW_NORMAL;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = ANSI_CHARSET;
    std::uint8_t lfOutPrecision = OUT_DEFAULT_PRECIS;
    std::uint8_t lfClipPrecision = CLIP_DEFAULT_PRECIS;
    std::uint8_t lfQuality = DEFAULT_QUALITY;
    std::uint8_t lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    std::string lfFaceName;
    bool operator==(const TLogFont&) const = default;
};

// Metrics of the font selected into a DC, in its logical units.
struct TTextMetric {
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
    int tmWeight = FW_NORMAL;
    int tmOverhang = 0;
    std::uint8_t tmItalic = 0;
    std::uint8_t tmUnderlined = 0;
    std::uint8_t tmStruckOut = 0;
    std::uint8_t tmPitchAndFamily = 0;
    std::uint8_t tmCharSet = ANSI_CHARSET;
};

// A pen; width is in logical units, 0 draws one device pixel whatever the mapping.
// Dashed styles apply to pens of at most one pixel; wider ones draw solid, as GDI does.
class TPen {
public:
    TPen() = default;  // black, one pixel, solid
    TPen(TColor color, int width = 1, int style = PS_SOLID) : color_(color), width_(width), style_(style) {}
    TColor GetColor() const { return color_; }
    int GetWidth() const { return width_; }
    int GetStyle() const { return style_; }
    bool IsNull() const { return style_ == PS_NULL; }
    bool operator==(const TPen&) const = default;

private:
    TColor color_ = TColor::Black;
    int width_ = 0;
    int style_ = PS_SOLID;
};

// A bitmap, colour (24 bit) or monochrome. A default-made bitmap is null.
class TBitmap {
public:
    struct Impl;
    TBitmap();
    // Colour bitmaps start black, monochrome ones all 0 bits (black).
    TBitmap(int width, int height, bool monochrome = false);
    // Monochrome bitmap from packed rows, most significant bit leftmost, 1 = white.
    // bytesPerRow 0 takes the usual 16-bit aligned row length. Missing bytes count as 0.
    static TBitmap FromMonoBits(int width, int height, const std::vector<std::uint8_t>& bits, int bytesPerRow = 0);
    // Colour bitmap from width * height colours, row by row (missing ones are black).
    static TBitmap FromPixels(int width, int height, const std::vector<TColor>& pixels);
    // Colour bitmap from a picture file (PNG or BMP); null when it cannot be read.
    static TBitmap FromFile(const std::string& path);

    bool IsNull() const { return !impl_; }
    explicit operator bool() const { return !IsNull(); }
    int Width() const;
    int Height() const;
    TSize Size() const { return {Width(), Height()}; }
    bool IsMonochrome() const;
    TColor GetPixel(int x, int y) const;  // 0xFFFFFFFF outside
    void SetPixel(int x, int y, TColor c);
    // A new bitmap with its own copy of the pixels.
    TBitmap Clone() const;
    bool SavePng(const std::string& path) const;
    bool operator==(const TBitmap& o) const { return impl_ == o.impl_; }  // same object

    // For the platform layer: the pixels (Format_RGB32; a monochrome bitmap holds only black and white).
    QImage* Image() const;

private:
    std::shared_ptr<Impl> impl_;
};

// A brush: solid, hollow, hatched or an 8 x 8 pattern. A monochrome pattern takes the DC's
// text colour for its 0 bits and the background colour for its 1 bits when it is used; a
// colour pattern draws its own pixels. Patterns are aligned to the DC's brush origin.
class TBrush {
public:
    TBrush();                           // hollow
    explicit TBrush(TColor color);      // solid
    TBrush(TColor color, int hatchStyle);  // hatched: hatch lines in color, gaps in the background colour (opaque mode)
    explicit TBrush(const TBitmap& pattern);  // pattern; only the upper left 8 x 8 pixels count
    static TBrush Hollow() { return TBrush(); }

    int GetStyle() const { return style_; }
    TColor GetColor() const { return color_; }  // solid and hatched brushes
    int GetHatch() const { return hatch_; }
    bool IsNull() const { return style_ == BS_NULL; }
    // The pattern, 8 rows of 8 pixels (pattern brushes only).
    const TBitmap& GetPattern() const;
    bool operator==(const TBrush& o) const;

private:
    int style_ = BS_NULL;
    TColor color_;
    int hatch_ = 0;
    std::shared_ptr<TBitmap> pattern_;  // a private copy, as the pattern is copied when the brush is made
};

// A logical font. The face is mapped onto the fonts we ship with (see Fonts.h) when the font
// is used; the record itself keeps the face name it was made with.
class TFont {
public:
    TFont();  // the dialog font
    explicit TFont(const TLogFont& lf);
    TFont(const std::string& face, int height, int width = 0, int escapement = 0, int orientation = 0,
          int weight = FW_NORMAL, std::uint8_t pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE,
          std::uint8_t italic = 0, std::uint8_t underline = 0, std::uint8_t strikeout = 0,
          std::uint8_t charSet = ANSI_CHARSET);
    const TLogFont& GetObject() const { return lf_; }
    bool operator==(const TFont& o) const { return lf_ == o.lf_; }

private:
    TLogFont lf_;
};

// A region made of rectangles, in device coordinates when used for clipping.
class TRegion {
public:
    struct Impl;
    TRegion();  // empty
    explicit TRegion(const TRect& rect);
    TRegion(const TRegion& o);
    TRegion& operator=(const TRegion& o);
    TRegion(TRegion&&) noexcept;
    TRegion& operator=(TRegion&&) noexcept;
    ~TRegion();

    bool IsEmpty() const;
    bool Contains(TPoint p) const;
    bool Touches(const TRect& r) const;
    TRect GetBox() const;
    std::vector<TRect> GetRects() const;
    int Kind() const;  // NULLREGION, SIMPLEREGION or COMPLEXREGION
    TRegion& Offset(int dx, int dy);
    // Combines this region with another as CombineRgn does; returns the kind of the result.
    int Combine(const TRegion& other, int mode);
    TRegion& operator|=(const TRegion& o) { Combine(o, RGN_OR); return *this; }
    TRegion& operator&=(const TRegion& o) { Combine(o, RGN_AND); return *this; }
    TRegion& operator-=(const TRegion& o) { Combine(o, RGN_DIFF); return *this; }
    TRegion& operator^=(const TRegion& o) { Combine(o, RGN_XOR); return *this; }
    TRegion& operator|=(const TRect& r) { return *this |= TRegion(r); }
    TRegion& operator&=(const TRect& r) { return *this &= TRegion(r); }
    TRegion& operator-=(const TRect& r) { return *this -= TRegion(r); }
    bool operator==(const TRegion& o) const;

    const Impl& GetImpl() const { return *impl_; }  // for the platform layer

private:
    std::unique_ptr<Impl> impl_;
};

// Stock objects of the framework.
TPen GetStockPen(int id);      // WHITE_PEN, BLACK_PEN, NULL_PEN
TBrush GetStockBrush(int id);  // WHITE_BRUSH ... NULL_BRUSH
TFont GetStockFont(int id);    // the font ids above
TFont GetDialogFont();         // the font dialogs are laid out in (8 points, sans serif)

}  // namespace vyn
