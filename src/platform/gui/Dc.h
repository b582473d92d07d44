#pragma once
// The device context: GDI drawing semantics over Qt, for window images, memory bitmaps,
// preview pages and printers alike.
//
// On an image (a window's retained client image or a memory DC's bitmap) every pixel is
// computed here: lines leave out their end point, rectangles leave out their right and
// bottom edges, nothing is antialiased, and the raster operations (R2_XORPEN, PATINVERT,
// SRCINVERT, ...) act bit by bit on the stored colours, so that an outline drawn twice in
// exclusive-or leaves every pixel as it was. On a printer or PDF device the same calls go to
// a QPainter in device pixels; raster operations other than plain copies are not available
// there and draw as copies.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/Gdi.h"

class QImage;
class QPaintDevice;
class QPainter;

namespace vyn {

// Background modes.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Mix modes of pens and brushes (SetROP2).
inline constexpr int R2_BLACK = 1;
inline constexpr int R2_NOTMERGEPEN = 2;
inline constexpr int R2_MASKNOTPEN = 3;
inline constexpr int R2_NOTCOPYPEN = 4;
inline constexpr int R2_MASKPENNOT = 5;
inline constexpr int R2_NOT = 6;
inline constexpr int R2_XORPEN = 7;
inline constexpr int R2_NOTMASKPEN = 8;
inline constexpr int R2_MASKPEN = 9;
inline constexpr int R2_NOTXORPEN = 10;
inline constexpr int R2_NOP = 11;
inline constexpr int R2_MERGENOTPEN = 12;
inline constexpr int R2_COPYPEN = 13;
inline constexpr int R2_MERGEPENNOT = 14;
inline constexpr int R2_MERGEPEN = 15;
inline constexpr int R2_WHITE = 16;

// Raster operations of block transfers (PatBlt, BitBlt, StretchBlt). Any ternary raster
// operation code works; bits 16..23 hold its truth table over pattern, source and destination.
inline constexpr std::uint32_t SRCCOPY = 0x00CC0020;
inline constexpr std::uint32_t SRCPAINT = 0x00EE0086;
inline constexpr std::uint32_t SRCAND = 0x008800C6;
inline constexpr std::uint32_t SRCINVERT = 0x00660046;
inline constexpr std::uint32_t SRCERASE = 0x00440328;
inline constexpr std::uint32_t NOTSRCCOPY = 0x00330008;
inline constexpr std::uint32_t NOTSRCERASE = 0x001100A6;
inline constexpr std::uint32_t MERGECOPY = 0x00C000CA;
inline constexpr std::uint32_t MERGEPAINT = 0x00BB0226;
inline constexpr std::uint32_t PATCOPY = 0x00F00021;
inline constexpr std::uint32_t PATPAINT = 0x00FB0A09;
inline constexpr std::uint32_t PATINVERT = 0x005A0049;
inline constexpr std::uint32_t DSTINVERT = 0x00550009;
inline constexpr std::uint32_t BLACKNESS = 0x00000042;
inline constexpr std::uint32_t WHITENESS = 0x00FF0062;

// Text alignment (SetTextAlign).
inline constexpr unsigned TA_NOUPDATECP = 0;
inline constexpr unsigned TA_UPDATECP = 1;
inline constexpr unsigned TA_LEFT = 0;
inline constexpr unsigned TA_RIGHT = 2;
inline constexpr unsigned TA_CENTER = 6;
inline constexpr unsigned TA_TOP = 0;
inline constexpr unsigned TA_BOTTOM = 8;
inline constexpr unsigned TA_BASELINE = 24;

// ExtTextOut options.
inline constexpr unsigned ETO_OPAQUE = 0x0002;
inline constexpr unsigned ETO_CLIPPED = 0x0004;

// DrawText formats.
inline constexpr unsigned DT_TOP = 0x00000000;
inline constexpr unsigned DT_LEFT = 0x00000000;
inline constexpr unsigned DT_CENTER = 0x00000001;
inline constexpr unsigned DT_RIGHT = 0x00000002;
inline constexpr unsigned DT_VCENTER = 0x00000004;
inline constexpr unsigned DT_BOTTOM = 0x00000008;
inline constexpr unsigned DT_WORDBREAK = 0x00000010;
inline constexpr unsigned DT_SINGLELINE = 0x00000020;
inline constexpr unsigned DT_EXPANDTABS = 0x00000040;
inline constexpr unsigned DT_NOCLIP = 0x00000100;
inline constexpr unsigned DT_EXTERNALLEADING = 0x00000200;
inline constexpr unsigned DT_CALCRECT = 0x00000400;
inline constexpr unsigned DT_NOPREFIX = 0x00000800;
inline constexpr unsigned DT_END_ELLIPSIS = 0x00008000;

// Mapping modes.
inline constexpr int MM_TEXT = 1;
inline constexpr int MM_LOMETRIC = 2;
inline constexpr int MM_HIMETRIC = 3;
inline constexpr int MM_LOENGLISH = 4;
inline constexpr int MM_HIENGLISH = 5;
inline constexpr int MM_TWIPS = 6;
inline constexpr int MM_ISOTROPIC = 7;
inline constexpr int MM_ANISOTROPIC = 8;

// Polygon fill modes.
inline constexpr int ALTERNATE = 1;
inline constexpr int WINDING = 2;

// GetDeviceCaps indexes.
inline constexpr int TECHNOLOGY = 2;
inline constexpr int HORZSIZE = 4;
inline constexpr int VERTSIZE = 6;
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;
inline constexpr int BITSPIXEL = 12;
inline constexpr int PLANES = 14;
inline constexpr int NUMCOLORS = 24;
inline constexpr int RASTERCAPS = 38;
inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;
inline constexpr int PHYSICALWIDTH = 110;
inline constexpr int PHYSICALHEIGHT = 111;
inline constexpr int PHYSICALOFFSETX = 112;
inline constexpr int PHYSICALOFFSETY = 113;
// TECHNOLOGY answers
inline constexpr int DT_RASDISPLAY = 1;
inline constexpr int DT_RASPRINTER = 2;
// RASTERCAPS bits
inline constexpr int RC_BITBLT = 0x0001;
inline constexpr int RC_STRETCHBLT = 0x0800;

inline constexpr TColor CLR_INVALID{0xFFFFFFFFu};

class TDC {
public:
    // Drawing into an image we own (a window's client image): 96 dpi, the image's size is the
    // device size. The image is converted to Format_RGB32 when it has another format; it must
    // outlive the DC.
    explicit TDC(QImage& image);
    // Drawing on a printer or PDF writer; a painter is opened on it for the DC's life.
    explicit TDC(QPaintDevice* device);
    // Drawing through a painter that the printing code keeps open over several pages.
    explicit TDC(QPainter* painter);
    virtual ~TDC();
    TDC(const TDC&) = delete;
    TDC& operator=(const TDC&) = delete;

    // --- objects; each setter returns what was selected before ---
    TPen SelectObject(const TPen& pen);
    TBrush SelectObject(const TBrush& brush);
    virtual TFont SelectObject(const TFont& font);
    void SelectStockObject(int id);
    // Put back the object the DC started with.
    void RestorePen();
    void RestoreBrush();
    virtual void RestoreFont();
    void RestoreObjects();
    const TPen& GetPen() const;
    const TBrush& GetBrush() const;
    const TFont& GetFont() const;

    TColor SetTextColor(TColor c);
    TColor GetTextColor() const;
    TColor SetBkColor(TColor c);
    TColor GetBkColor() const;
    int SetBkMode(int mode);
    int GetBkMode() const;
    int SetROP2(int mode);
    int GetROP2() const;
    unsigned SetTextAlign(unsigned align);
    unsigned GetTextAlign() const;
    int SetPolyFillMode(int mode);
    int GetPolyFillMode() const;
    // Brush origin, device coordinates: the pattern's pixel (0, 0) falls on it.
    TPoint SetBrushOrg(TPoint org);
    TPoint GetBrushOrg() const;

    // --- mapping: device = (logical - window org) * viewport ext / window ext + viewport org ---
    virtual int SetMapMode(int mode);
    int GetMapMode() const;
    virtual bool SetViewportOrg(const TPoint& org, TPoint* old = nullptr);
    virtual bool SetViewportExt(const TSize& ext, TSize* old = nullptr);
    virtual bool SetWindowOrg(const TPoint& org, TPoint* old = nullptr);
    virtual bool SetWindowExt(const TSize& ext, TSize* old = nullptr);
    // The viewport in this surface's own pixels, as LPtoDP gives them: a context that takes
    // the viewport calls in another device's units (a preview page) does not translate these.
    bool SetDeviceViewport(const TPoint& org, const TSize& ext);
    bool OffsetViewportOrg(const TPoint& delta, TPoint* old = nullptr);
    bool OffsetWindowOrg(const TPoint& delta, TPoint* old = nullptr);
    TPoint GetViewportOrg() const;
    TSize GetViewportExt() const;
    TPoint GetWindowOrg() const;
    TSize GetWindowExt() const;
    bool DPtoLP(TPoint* points, int count = 1) const;
    bool LPtoDP(TPoint* points, int count = 1) const;
    bool DPtoLP(TRect& rect) const;
    bool LPtoDP(TRect& rect) const;

    // --- lines and shapes (logical coordinates) ---
    bool MoveTo(int x, int y, TPoint* old = nullptr);
    bool MoveTo(TPoint p) { return MoveTo(p.x, p.y); }
    TPoint GetCurrentPosition() const;
    bool LineTo(int x, int y);  // leaves out (x, y)
    bool LineTo(TPoint p) { return LineTo(p.x, p.y); }
    bool Polyline(const TPoint* points, int count);  // leaves out the last point
    bool Polyline(const std::vector<TPoint>& points) { return Polyline(points.data(), static_cast<int>(points.size())); }
    bool Polygon(const TPoint* points, int count);
    bool Polygon(const std::vector<TPoint>& points) { return Polygon(points.data(), static_cast<int>(points.size())); }
    // Outline with the pen, interior with the brush; right and bottom edges are outside.
    bool Rectangle(int l, int t, int r, int b);
    bool Rectangle(const TRect& r) { return Rectangle(r.left, r.top, r.right, r.bottom); }
    bool Ellipse(int l, int t, int r, int b);
    bool Ellipse(const TRect& r) { return Ellipse(r.left, r.top, r.right, r.bottom); }
    bool RoundRect(int l, int t, int r, int b, int cornerWidth, int cornerHeight);
    bool RoundRect(const TRect& r, const TPoint& corner) { return RoundRect(r.left, r.top, r.right, r.bottom, corner.x, corner.y); }
    bool FillRect(const TRect& r, const TBrush& brush);
    bool FrameRect(const TRect& r, const TBrush& brush);  // one pixel wide
    bool InvertRect(const TRect& r);
    bool DrawFocusRect(const TRect& r);  // dotted, inverting: drawn twice it is gone
    TColor SetPixel(int x, int y, TColor c);  // returns the colour set, CLR_INVALID when outside
    TColor SetPixel(TPoint p, TColor c) { return SetPixel(p.x, p.y, c); }
    TColor GetPixel(int x, int y) const;  // CLR_INVALID outside the surface (images only)
    TColor GetPixel(TPoint p) const { return GetPixel(p.x, p.y); }

    // --- block transfers ---
    bool PatBlt(int x, int y, int w, int h, std::uint32_t rop = PATCOPY);
    bool PatBlt(const TRect& r, std::uint32_t rop = PATCOPY) { return PatBlt(r.left, r.top, r.Width(), r.Height(), rop); }
    bool BitBlt(int x, int y, int w, int h, const TDC& src, int sx, int sy, std::uint32_t rop = SRCCOPY);
    bool BitBlt(const TRect& dst, const TDC& src, const TPoint& srcPos, std::uint32_t rop = SRCCOPY)
    {
        return BitBlt(dst.left, dst.top, dst.Width(), dst.Height(), src, srcPos.x, srcPos.y, rop);
    }
    bool StretchBlt(int x, int y, int w, int h, const TDC& src, int sx, int sy, int sw, int sh,
                    std::uint32_t rop = SRCCOPY);
    bool StretchBlt(const TRect& dst, const TDC& src, const TRect& srcRect, std::uint32_t rop = SRCCOPY)
    {
        return StretchBlt(dst.left, dst.top, dst.Width(), dst.Height(), src, srcRect.left, srcRect.top,
                          srcRect.Width(), srcRect.Height(), rop);
    }
    // Draw a bitmap at (x, y) without a second DC (a copy through an internal memory DC).
    bool DrawBitmap(int x, int y, const TBitmap& bitmap, std::uint32_t rop = SRCCOPY);

    // --- text (UTF-8; one character is one code point) ---
    virtual bool TextOut(int x, int y, std::string_view text);
    // dx, when given, holds one advance per character in logical units.
    virtual bool ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text,
                            const int* dx = nullptr);
    // The same with advances in a vector; characters beyond its end take their own widths.
    bool ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text,
                    const std::vector<int>& dx);
    // Returns the height of the text drawn (or measured); DT_CALCRECT changes only rect.
    int DrawText(std::string_view text, TRect& rect, unsigned format);
    virtual TSize GetTextExtent(std::string_view text) const;
    bool GetTextMetrics(TTextMetric& tm) const;
    TTextMetric GetTextMetrics() const;
    std::string GetTextFace() const;  // the face name of the selected font's record
    // Advance widths of the characters first..last (code points) in logical units.
    bool GetCharWidth(unsigned first, unsigned last, int* widths) const;

    // --- clipping ---
    // The region is in device coordinates and is copied; nullptr removes all clipping.
    int SelectClipRgn(const TRegion* region);
    int SelectClipRgn(const TRegion& region) { return SelectClipRgn(&region); }
    int IntersectClipRect(const TRect& r);  // logical
    int ExcludeClipRect(const TRect& r);    // logical
    int OffsetClipRgn(int dx, int dy);      // logical
    int GetClipBox(TRect& r) const;         // logical; kind of the clip region
    bool GetClipRgn(TRegion& region) const;  // device; false when nothing clips
    bool PtVisible(int x, int y) const;
    bool RectVisible(const TRect& r) const;
    // Limits all drawing to this device rectangle for the DC's life, under whatever clip region
    // is selected (SelectClipRgn(nullptr) does not lift it): a window's invalidated area while
    // it paints.
    void SetSystemClip(const TRect& deviceRect);

    // --- state ---
    int SaveDC();                      // returns the new level, 1 for the first save
    bool RestoreDC(int saved = -1);    // -1 the last save, a positive level that save (later ones dropped)
    int GetDeviceCaps(int index) const;

    // --- for the platform layer ---
    QImage* Image() const;      // the image drawn on, or nullptr on a printer
    QPainter* Painter() const;  // the painter of a printer DC, nullptr on images
    TSize DeviceSize() const;   // pixels
    bool SavePng(const std::string& path) const;  // image DCs only

protected:
    TDC();  // for TMemoryDC: no surface until a bitmap is selected
    // The surface of a memory DC; monochrome surfaces keep only black and white.
    void SetImage(QImage* image, bool monochrome);

private:
    struct State;
    struct Impl;
    friend struct TDCAccess;
    std::unique_ptr<Impl> impl_;
};

// A memory DC: draws into the bitmap selected into it. It starts with a 1 x 1 monochrome
// bitmap, as GDI's do; select a bitmap made with TBitmap or CreateCompatibleBitmap first.
class TMemoryDC : public TDC {
public:
    TMemoryDC();
    explicit TMemoryDC(const TDC& compatible);
    explicit TMemoryDC(const TBitmap& bitmap);
    ~TMemoryDC() override;

    using TDC::SelectObject;
    TBitmap SelectObject(const TBitmap& bitmap);  // returns the previous bitmap
    void RestoreBitmap();
    const TBitmap& GetBitmap() const;

private:
    TBitmap bitmap_;
    TBitmap original_;
};

// A bitmap that fits a DC: colour, unless the DC is a memory DC holding a monochrome bitmap.
TBitmap CreateCompatibleBitmap(const TDC& dc, int width, int height);

// Writes an image (a window's client image) to a PNG file through a temporary file.
bool SaveImagePng(const QImage& image, const std::string& path);

}  // namespace vyn
