#include "printing/PageSettings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/core/Clock.h"
#include "platform/core/ProfileFile.h"
#include "platform/gui/Dc.h"

namespace vyn {

namespace {

constexpr PageMargins kPlateMargins{20, 50, 20, 70};
constexpr int kFontBytes = 28;
constexpr int kFontDigits = 2 * kFontBytes;
constexpr int kProfileValueSize = 88;

const char* const kKindKeys[kPrintKindCount] = {"Plate", "List", "Graph", "Lines", "Report"};
// The order in which the kinds are read and written.
constexpr int kProfileOrder[kPrintKindCount] = {pkResults, pkPlate, pkGraph, pkMethod, pkReport};

const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

void PutLE(std::uint8_t* p, int v)
{
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(u >> (8 * i));
}

int GetLE(const std::uint8_t* p)
{
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    return static_cast<int>(u);
}

void FontToBytes(const TLogFont& lf, std::uint8_t* b)
{
    PutLE(b + 0, lf.lfHeight);
    PutLE(b + 4, lf.lfWidth);
    PutLE(b + 8, lf.lfEscapement);
    PutLE(b + 12, lf.lfOrientation);
    PutLE(b + 16, lf.lfWeight);
    b[20] = lf.lfItalic;
    b[21] = lf.lfUnderline;
    b[22] = lf.lfStrikeOut;
    b[23] = lf.lfCharSet;
    b[24] = lf.lfOutPrecision;
    b[25] = lf.lfClipPrecision;
    b[26] = lf.lfQuality;
    b[27] = lf.lfPitchAndFamily;
}

void BytesToFont(const std::uint8_t* b, TLogFont& lf)
{
    lf.lfHeight = GetLE(b + 0);
    lf.lfWidth = GetLE(b + 4);
    lf.lfEscapement = GetLE(b + 8);
    lf.lfOrientation = GetLE(b + 12);
    lf.lfWeight = GetLE(b + 16);
    lf.lfItalic = b[20];
    lf.lfUnderline = b[21];
    lf.lfStrikeOut = b[22];
    lf.lfCharSet = b[23];
    lf.lfOutPrecision = b[24];
    lf.lfClipPrecision = b[25];
    lf.lfQuality = b[26];
    lf.lfPitchAndFamily = b[27];
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One "%d" field as scanf reads it: blanks, an optional sign, digits.
bool ScanInt(const char*& p, int& out)
{
    while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
    bool neg = false;
    if (*p == '+' || *p == '-') neg = *p++ == '-';
    if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
    long long v = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        v = std::min<long long>(v * 10 + (*p++ - '0'), 1LL << 40);
    }
    v = neg ? -v : v;
    out = static_cast<int>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
    return true;
}

void Two(char* p, int v)
{
    p[0] = static_cast<char>('0' + (v / 10) % 10);
    p[1] = static_cast<char>('0' + v % 10);
}

// "hh:mm  Mon dd" and, with the year, ",yyyy" after it.
void FormatDate(const LocalTime& t, bool withYear, char* out)
{
    const char* month = (t.month >= 1 && t.month <= 12) ? kMonths[t.month - 1] : kMonths[0];
    std::string s;
    char hh[3] = {}, mm[3] = {}, dd[3] = {};
    Two(hh, std::clamp(t.hour, 0, 99));
    Two(mm, std::clamp(t.minute, 0, 99));
    Two(dd, std::clamp(t.day, 0, 99));
    s = std::string(hh) + ":" + mm + "  " + month + " " + dd;
    if (withYear) {
        std::string y = std::to_string(t.year);
        s += "," + std::string(y.size() < 4 ? 4 - y.size() : 0, ' ') + y;
    }
    std::snprintf(out, 22, "%s", s.c_str());
}

}  // namespace

PageMargins gPageMargins[kPrintKindCount] = {kPlateMargins, {}, {}, {}, {}};
TLogFont gPageFonts[kPrintKindCount] = {NoPageFont(), NoPageFont(), NoPageFont(), NoPageFont(), NoPageFont()};
PageMargins gCurPageMargins;
TLogFont gCurPageFont = NoPageFont();
int gGlobalMode = 1;
int gPrintCharWidth = 4;
int gPrintCharHeight = 8;

TLogFont NoPageFont()
{
    TLogFont lf;
    lf.lfWeight = 0;
    lf.lfCharSet = 0;
    lf.lfPitchAndFamily = 0;
    return lf;
}

const char* PrintKindKey(int kind) { return kind >= 0 && kind < kPrintKindCount ? kKindKeys[kind] : ""; }

void ResetPrintSettings()
{
    for (int k = 0; k < kPrintKindCount; ++k) {
        gPageMargins[k] = k == pkPlate ? kPlateMargins : PageMargins{};
        gPageFonts[k] = NoPageFont();
    }
    gCurPageMargins = PageMargins{};
    gCurPageFont = NoPageFont();
    gGlobalMode = 1;
    gPrintCharWidth = 4;
    gPrintCharHeight = 8;
}

std::string FormatMarginsText(const PageMargins& m)
{
    return std::to_string(m.left) + " " + std::to_string(m.top) + " " + std::to_string(m.right) + " " +
           std::to_string(m.bottom);
}

bool ParseMarginsText(const char* text, PageMargins& m)
{
    if (std::strlen(text) <= 6) return false;
    int v[4];
    const char* p = text;
    for (int& x : v)
        if (!ScanInt(p, x)) return false;
    m = {v[0], v[1], v[2], v[3]};
    return true;
}

std::string FormatFontText(const TLogFont& lf)
{
    std::uint8_t b[kFontBytes];
    FontToBytes(lf, b);
    static const char kHex[] = "0123456789abcdef";
    std::string s;
    for (std::uint8_t x : b) {
        s += kHex[x >> 4];
        s += kHex[x & 15];
    }
    // The record keeps at most 31 characters of the face name.
    return s + lf.lfFaceName.substr(0, LF_FACESIZE - 1);
}

bool ParseFontText(const char* text, TLogFont& lf)
{
    if (std::strlen(text) < static_cast<std::size_t>(kFontDigits)) return false;
    std::uint8_t b[kFontBytes];
    FontToBytes(lf, b);
    for (int i = 0; i < kFontBytes; ++i) {
        // A pair that is not hexadecimal leaves its byte as it was; a single digit counts, as
        // scanf's "%02x" takes it.
        const int h = HexValue(text[2 * i]), l = HexValue(text[2 * i + 1]);
        if (h >= 0 && l >= 0) b[i] = static_cast<std::uint8_t>(h * 16 + l);
        else if (h >= 0) b[i] = static_cast<std::uint8_t>(h);
    }
    BytesToFont(b, lf);
    lf.lfFaceName = std::string(text + kFontDigits).substr(0, LF_FACESIZE - 1);
    return true;
}

bool MarginsLeavePage(const PageMargins& m)
{
    // A4 across (8.27 in) and Letter down (11 in), in 0.01 inch.
    constexpr long long kPageAcross = 827, kPageDown = 1100;
    if (m.left < 0 || m.top < 0 || m.right < 0 || m.bottom < 0) return false;
    return static_cast<long long>(m.left) + m.right < kPageAcross && static_cast<long long>(m.top) + m.bottom < kPageDown;
}

std::vector<std::string> LoadPrintSettings(const char* iniPath)
{
    std::vector<std::string> notKept;
    char buf[kProfileValueSize];
    for (int k : kProfileOrder) {
        const std::string m = FormatMarginsText(gPageMargins[k]);
        GetPrivateProfileString("Pages", kKindKeys[k], m.c_str(), buf, sizeof buf, iniPath);
        PageMargins read = gPageMargins[k];
        if (ParseMarginsText(buf, read)) {
            if (MarginsLeavePage(read)) gPageMargins[k] = read;
            else notKept.push_back(std::string("[Pages] ") + kKindKeys[k] + "=" + buf);
        }
        const std::string f = FormatFontText(gPageFonts[k]);
        GetPrivateProfileString("Fonts", kKindKeys[k], f.c_str(), buf, sizeof buf, iniPath);
        ParseFontText(buf, gPageFonts[k]);
    }
    GetPrivateProfileString("Pages", "GlobalMode", "", buf, sizeof buf, iniPath);
    if (buf[0]) {
        int mode = -1;
        const char* p = buf;
        // The mode as the profile's integer reading takes it: leading digits, the rest ignored.
        if (ScanInt(p, mode) && mode >= 0 && mode <= 2) gGlobalMode = mode;
        else notKept.push_back(std::string("[Pages] GlobalMode=") + buf);
    }
    return notKept;
}

bool SavePrintSettings(const char* iniPath)
{
    bool ok = true;
    for (int k : kProfileOrder) {
        ok = WritePrivateProfileString("Pages", kKindKeys[k], FormatMarginsText(gPageMargins[k]).c_str(), iniPath) && ok;
        ok = WritePrivateProfileString("Fonts", kKindKeys[k], FormatFontText(gPageFonts[k]).c_str(), iniPath) && ok;
    }
    return WritePrivateProfileString("Pages", "GlobalMode", std::to_string(gGlobalMode).c_str(), iniPath) && ok;
}

void LoadKindMargins(int kind)
{
    if (kind >= 0 && kind < kPrintKindCount) gCurPageMargins = gPageMargins[kind];
}

void LoadKindFont(int kind)
{
    if (kind >= 0 && kind < kPrintKindCount) gCurPageFont = gPageFonts[kind];
}

void StoreKindMargins(int kind)
{
    if (kind >= 0 && kind < kPrintKindCount) gPageMargins[kind] = gCurPageMargins;
}

bool CreatePrintFont(int dpiY, TFont& font)
{
    if (gCurPageFont.lfHeight == 0) return false;
    TLogFont lf = gCurPageFont;
    lf.lfHeight = -MulDiv(gCurPageFont.lfHeight, dpiY, 720);
    if (lf.lfHeight == 0) lf.lfHeight = -1;
    font = TFont(lf);
    return true;
}

void MeasurePrintChar(const TDC& dc)
{
    const TSize s = dc.GetTextExtent("0");
    gPrintCharWidth = std::max(1, s.cx);
    gPrintCharHeight = std::max(1, s.cy);
}

int PrintXUnits(int q) { return static_cast<int>(static_cast<long long>(q) * gPrintCharWidth / 4); }
int PrintYUnits(int e) { return static_cast<int>(static_cast<long long>(e) * gPrintCharHeight / 8); }

const char* DateTimeText()
{
    static char buf[22];
    LocalTime t;
    LocalTimeFromMs(NowMs(), t);
    FormatDate(t, true, buf);
    return buf;
}

const char* TimeText()
{
    static char buf[22];
    LocalTime t;
    LocalTimeFromMs(NowMs(), t);
    FormatDate(t, false, buf);
    return buf;
}

const char* FileTimeText(std::int64_t ms)
{
    static char buf[22];
    LocalTime t;
    LocalTimeFromMs(ms, t);
    FormatDate(t, true, buf);
    return buf;
}

TPen ThinPen(const TDC& dc, int points)
{
    return TPen(TColor::Black, MulDiv(points, dc.GetDeviceCaps(LOGPIXELSX), 72), PS_SOLID);
}

TRect PageMarginRect(const TDC& dc)
{
    const int dpiX = dc.GetDeviceCaps(LOGPIXELSX), dpiY = dc.GetDeviceCaps(LOGPIXELSY);
    const int hres = dc.GetDeviceCaps(HORZRES), vres = dc.GetDeviceCaps(VERTRES);
    const PageMargins& m = gCurPageMargins;
    auto scale = [](int dpi, int v) { return static_cast<int>(static_cast<long long>(dpi) * v / 100); };
    TRect r(scale(dpiX, m.left), scale(dpiY, m.top), hres - scale(dpiX, m.right), vres - scale(dpiY, m.bottom));
    r.left = std::clamp(r.left, 0, std::max(0, hres));
    r.right = std::clamp(r.right, 0, std::max(0, hres));
    r.top = std::clamp(r.top, 0, std::max(0, vres));
    r.bottom = std::clamp(r.bottom, 0, std::max(0, vres));
    if (r.right < r.left) std::swap(r.left, r.right);
    if (r.bottom < r.top) std::swap(r.top, r.bottom);
    if (r.Width() < hres / 10) {
        r.right = r.left + hres / 10;
        if (r.right > hres) {
            r.left = hres - hres / 10;
            r.right = hres;
        }
    }
    if (r.Height() < vres / 10) {
        r.bottom = r.top + vres / 10;
        if (r.bottom > vres) {
            r.top = vres - vres / 10;
            r.bottom = vres;
        }
    }
    return r;
}

void StoreMarginRect(const TDC& dc, const TRect& r)
{
    const int dpiX = std::max(1, dc.GetDeviceCaps(LOGPIXELSX)), dpiY = std::max(1, dc.GetDeviceCaps(LOGPIXELSY));
    const int hres = dc.GetDeviceCaps(HORZRES), vres = dc.GetDeviceCaps(VERTRES);
    gCurPageMargins.left = (r.left * 100 + dpiX / 2) / dpiX;
    gCurPageMargins.right = ((hres - r.right) * 100 + dpiX / 2) / dpiX;
    gCurPageMargins.top = (r.top * 100 + dpiY / 2) / dpiY;
    gCurPageMargins.bottom = ((vres - r.bottom) * 100 + dpiY / 2) / dpiY;
}

int MulDiv(int a, int b, int c)
{
    if (c == 0) return -1;
    const long long p = static_cast<long long>(a) * b;
    long long q = (p >= 0) == (c > 0) ? (std::llabs(p) + std::llabs(c) / 2) / std::llabs(c)
                                      : -((std::llabs(p) + std::llabs(c) / 2) / std::llabs(c));
    return static_cast<int>(std::clamp<long long>(q, INT32_MIN, INT32_MAX));
}

}  // namespace vyn
