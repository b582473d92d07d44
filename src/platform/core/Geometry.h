#pragma once
// Points, sizes, rectangles and colours with the window framework's semantics: a rectangle's
// right and bottom edges are exclusive, coordinates are signed pixels (or logical units).
#include <algorithm>
#include <cstdint>

namespace vyn {

struct TPoint {
    int x = 0, y = 0;
    constexpr TPoint() = default;
    constexpr TPoint(int x_, int y_) : x(x_), y(y_) {}
    constexpr TPoint operator+(TPoint o) const { return {x + o.x, y + o.y}; }
    constexpr TPoint operator-(TPoint o) const { return {x - o.x, y - o.y}; }
    TPoint& operator+=(TPoint o) { x += o.x; y += o.y; return *this; }
    TPoint& operator-=(TPoint o) { x -= o.x; y -= o.y; return *this; }
    constexpr bool operator==(const TPoint&) const = default;
};

struct TSize {
    int cx = 0, cy = 0;
    constexpr TSize() = default;
    constexpr TSize(int cx_, int cy_) : cx(cx_), cy(cy_) {}
    constexpr bool operator==(const TSize&) const = default;
};

struct TRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    constexpr TRect() = default;
    constexpr TRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    constexpr TRect(TPoint tl, TSize s) : left(tl.x), top(tl.y), right(tl.x + s.cx), bottom(tl.y + s.cy) {}
    constexpr TRect(TPoint tl, TPoint br) : left(tl.x), top(tl.y), right(br.x), bottom(br.y) {}
    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr TSize Size() const { return {Width(), Height()}; }
    constexpr TPoint TopLeft() const { return {left, top}; }
    constexpr TPoint BottomRight() const { return {right, bottom}; }
    constexpr bool IsEmpty() const { return left >= right || top >= bottom; }
    constexpr bool Contains(TPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    TRect Normalized() const
    {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    }
    TRect& Offset(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; return *this; }
    TRect& Inflate(int dx, int dy) { left -= dx; right += dx; top -= dy; bottom += dy; return *this; }
    TRect operator&(const TRect& o) const  // intersection; empty when they do not meet
    {
        TRect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
        return r.IsEmpty() ? TRect{} : r;
    }
    TRect operator|(const TRect& o) const  // bounding union; an empty side is ignored
    {
        if (IsEmpty()) return o;
        if (o.IsEmpty()) return *this;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
    }
    constexpr bool operator==(const TRect&) const = default;
};

// A colour as the Windows COLORREF: 0x00BBGGRR.
struct TColor {
    std::uint32_t value = 0;
    constexpr TColor() = default;
    constexpr explicit TColor(std::uint32_t v) : value(v) {}
    constexpr TColor(int r, int g, int b)
        : value(static_cast<std::uint32_t>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16))) {}
    constexpr int Red() const { return value & 0xFF; }
    constexpr int Green() const { return (value >> 8) & 0xFF; }
    constexpr int Blue() const { return (value >> 16) & 0xFF; }
    constexpr bool operator==(const TColor&) const = default;
    static const TColor Black, White, LtGray, Gray, None;
};
inline constexpr TColor TColor::Black{0, 0, 0};
inline constexpr TColor TColor::White{255, 255, 255};
inline constexpr TColor TColor::LtGray{192, 192, 192};
inline constexpr TColor TColor::Gray{128, 128, 128};
inline constexpr TColor TColor::None{0xFF000000u};  // "no colour" marker

inline constexpr TColor RGB(int r, int g, int b) { return TColor(r, g, b); }

}  // namespace vyn
