#include "views/ViewBitmaps.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/gui/Dc.h"

#if __has_include("platform/gui/ResBitmap.h")
#include "platform/gui/ResBitmap.h"
#define VYN_HAVE_RES_BITMAPS 1
#endif

namespace vyn {

namespace {

// The same pictures as resources/bitmaps/<id>.xpm: one character per pixel, keyed to the
// colours in the order of the key string.
struct PixelArt {
    int id;
    int width;
    int height;
    std::string_view keys;
    std::initializer_list<unsigned> colours;  // 0xRRGGBB
    std::initializer_list<std::string_view> rows;
};

const PixelArt kArts[] = {
    {31, 12, 12, "kwg", {0x000000, 0xFFFFFF, 0x006400},
     {"kkkkwwwwkkkk",
      "kkwwwwwwwwkk",
      "kwwwwwwwwwwk",
      "kwwwggggwwwk",
      "wwwggggggwww",
      "wwwggggggwww",
      "wwwggggggwww",
      "wwwggggggwww",
      "kwwwggggwwwk",
      "kwwwwwwwwwwk",
      "kkwwwwwwwwkk",
      "kkkkwwwwkkkk"}},
    {32, 16, 16, "tw", {0x008080, 0xFFFFFF},
     {"tttttttttttttttt",
      "tttttttttttttttt",
      "tttttttttttttttt",
      "tttwwwwwwttttttt",
      "tttwwwwwwttttttt",
      "tttwwwwttttttttt",
      "tttwwwwwtttttttt",
      "tttwwtwwwttttttt",
      "tttwwttwwwtttttt",
      "ttttttttwwwttttt",
      "tttttttttwwwtttt",
      "ttttttttttwwwttt",
      "tttttttttttwwwtt",
      "ttttttttttttwttt",
      "tttttttttttttttt",
      "tttttttttttttttt"}},
    {33, 16, 16, "tw", {0x008080, 0xFFFFFF},
     {"tttttttttttttttt",
      "tttttttttttttttt",
      "ttttttttwttttttt",
      "tttttttwwttttttt",
      "ttttttwwwttttttt",
      "tttttwwwwttttttt",
      "ttttwwwwwttttttt",
      "tttwwwwwwwwwwttt",
      "tttwwwwwwwwwwttt",
      "ttttwwwwwttttttt",
      "tttttwwwwttttttt",
      "ttttttwwwttttttt",
      "tttttttwwttttttt",
      "ttttttttwttttttt",
      "tttttttttttttttt",
      "tttttttttttttttt"}},
    {34, 16, 16, "tw", {0x008080, 0xFFFFFF},
     {"tttttttttttttttt",
      "tttttttttttttttt",
      "tttttttttttttttt",
      "tttttttwwttttttt",
      "ttttttwwwwtttttt",
      "tttttwwwwwwttttt",
      "ttttwwwwwwwwtttt",
      "tttwwwwwwwwwwttt",
      "ttwwwwwwwwwwwwtt",
      "tttttttwwttttttt",
      "tttttttwwttttttt",
      "tttttttwwttttttt",
      "tttttttwwttttttt",
      "tttttttttttttttt",
      "tttttttttttttttt",
      "tttttttttttttttt"}},
    {13451, 8, 8, "krw", {0x000000, 0xFF0000, 0xFFFFFF},
     {"rkwkrkwk",
      "kwkrkwkr",
      "wkrkwkrk",
      "krkwkrkw",
      "rkwkrkwk",
      "kwkrkwkr",
      "wkrkwkrk",
      "krkwkrkw"}},
    {13452, 8, 8, "kd", {0x000000, 0x800000},
     {"dkdkdkdk",
      "kkkkkkkk",
      "dkdkdkdk",
      "kkkkkkkk",
      "dkdkdkdk",
      "kkkkkkkk",
      "dkdkdkdk",
      "kkkkkkkk"}},
    {13453, 8, 8, "ky", {0x000000, 0xFFFF00},
     {"ykykykyk",
      "kkkkkkkk",
      "ykykykyk",
      "kkkkkkkk",
      "ykykykyk",
      "kkkkkkkk",
      "ykykykyk",
      "kkkkkkkk"}},
    {13457, 8, 8, "dwc", {0x008080, 0xFFFFFF, 0x00FFFF},
     {"dddwwccc",
      "ddwwcccd",
      "dwwcccdd",
      "wwcccddd",
      "wcccdddw",
      "cccdddww",
      "ccdddwwc",
      "cdddwwcc"}},
    {13458, 8, 8, "gky", {0x808080, 0x000000, 0xFFFF00},
     {"gggkkyyy",
      "ggkkyyyg",
      "gkkyyygg",
      "kkyyyggg",
      "kyyygggk",
      "yyygggkk",
      "yygggkky",
      "ygggkkyy"}},
    {13459, 8, 8, "lwb", {0xC0C0C0, 0xFFFFFF, 0x0000FF},
     {"lllwwbbb",
      "llwwbbbl",
      "lwwbbbll",
      "wwbbblll",
      "wbbblllw",
      "bbblllww",
      "bblllwwb",
      "blllwwbb"}},
};

TBitmap FromArt(const PixelArt& art)
{
    TBitmap bmp(art.width, art.height);
    int y = 0;
    for (std::string_view row : art.rows) {
        for (int x = 0; x < art.width && x < static_cast<int>(row.size()); ++x) {
            const std::size_t k = art.keys.find(row[static_cast<std::size_t>(x)]);
            if (k == std::string_view::npos || k >= art.colours.size()) continue;
            const unsigned c = art.colours.begin()[k];
            bmp.SetPixel(x, y, TColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
        }
        ++y;
    }
    return bmp;
}

}  // namespace

TBitmap ViewBitmaps::Load(int id)
{
#ifdef VYN_HAVE_RES_BITMAPS
    TBitmap res = LoadResBitmap(id);
    if (!res.IsNull()) return res;
#endif
    for (const PixelArt& art : kArts)
        if (art.id == id) return FromArt(art);
    return {};
}

TBitmap ViewBitmaps::OverflowMark(int width, int height)
{
    const int w = std::max(1, width), h = std::max(1, height);
    TBitmap mark(w, h);
    TMemoryDC dc(mark);
    dc.FillRect(TRect(0, 0, w, h), TBrush(TColor::White));
    dc.SelectObject(TPen());
    const std::vector<TPoint> triangle = {{0, 0}, {w - 1, h / 2}, {0, h - 1}, {0, 0}};
    dc.Polyline(triangle);
    dc.SetPixel(0, 0, TColor::Black);
    return mark;
}

}  // namespace vyn
