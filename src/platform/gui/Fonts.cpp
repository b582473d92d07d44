#include "platform/gui/Fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QString>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <mutex>
#include <tuple>

namespace vyn {

namespace {

const char* const kSans = "Liberation Sans";
const char* const kSerif = "Liberation Serif";
const char* const kMono = "Liberation Mono";

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// A 96-dpi surface to measure on, so that metrics do not follow the X server's resolution.
QPaintDevice* ScreenMeasureDevice()
{
    static QImage image = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        img.setDotsPerMeterX(static_cast<int>(std::lround(kScreenDpi / 0.0254)));
        img.setDotsPerMeterY(static_cast<int>(std::lround(kScreenDpi / 0.0254)));
        return img;
    }();
    return &image;
}

QFont BaseFont(const TLogFont& lf, int pixelSize)
{
    LoadShippedFonts();
    QFont f(QString::fromStdString(MapFontFace(lf.lfFaceName, lf.lfPitchAndFamily)));
    f.setPixelSize(std::max(1, pixelSize));
    int weight = lf.lfWeight <= 0 ? FW_NORMAL : std::clamp(lf.lfWeight, 100, 900);
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setItalic(lf.lfItalic != 0);
    f.setUnderline(lf.lfUnderline != 0);
    f.setStrikeOut(lf.lfStrikeOut != 0);
    // Whole-pixel advances without kerning: a run is as wide as the sum of its characters,
    // which the system's layouts (and GetCharWidth) rely on.
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

}  // namespace

bool LoadShippedFonts()
{
    // Fonts can be registered only once the application object exists; until then nothing
    // is remembered, so that a later call still loads them.
    if (!qGuiApp) return false;
    static const bool loaded = [] {
        static const char* const files[] = {
            "liberation2/LiberationSans-Regular.ttf",   "liberation2/LiberationSans-Bold.ttf",
            "liberation2/LiberationSans-Italic.ttf",    "liberation2/LiberationSans-BoldItalic.ttf",
            "liberation2/LiberationSerif-Regular.ttf",  "liberation2/LiberationSerif-Bold.ttf",
            "liberation2/LiberationSerif-Italic.ttf",   "liberation2/LiberationSerif-BoldItalic.ttf",
            "liberation2/LiberationMono-Regular.ttf",   "liberation2/LiberationMono-Bold.ttf",
            "liberation2/LiberationMono-Italic.ttf",    "liberation2/LiberationMono-BoldItalic.ttf",
            "dejavu/DejaVuSans.ttf",                    "dejavu/DejaVuSans-Bold.ttf",
            "dejavu/DejaVuSerif.ttf",                   "dejavu/DejaVuSansMono.ttf",
        };
        static const char* const roots[] = {"/usr/share/fonts/truetype/", "/usr/local/share/fonts/truetype/"};
        int count = 0;
        for (const char* file : files) {
            for (const char* root : roots) {
                if (QFontDatabase::addApplicationFont(QString(root) + file) >= 0) {
                    ++count;
                    break;
                }
            }
        }
        return count > 0;
    }();
    return loaded;
}

std::string MapFontFace(const std::string& face, int pitchAndFamily)
{
    static const std::map<std::string, const char*> table = {
        {"ms sans serif", kSans},    {"microsoft sans serif", kSans}, {"ms shell dlg", kSans},
        {"ms shell dlg 2", kSans},   {"system", kSans},               {"arial", kSans},
        {"helvetica", kSans},        {"helv", kSans},                 {"tahoma", kSans},
        {"verdana", kSans},          {"segoe ui", kSans},             {"small fonts", kSans},
        {"arial narrow", kSans},     {"univers", kSans},              {"swiss", kSans},
        {"times new roman", kSerif}, {"times", kSerif},               {"tms rmn", kSerif},
        {"ms serif", kSerif},        {"roman", kSerif},               {"georgia", kSerif},
        {"book antiqua", kSerif},    {"garamond", kSerif},
        {"courier new", kMono},      {"courier", kMono},              {"fixedsys", kMono},
        {"terminal", kMono},         {"lucida console", kMono},       {"consolas", kMono},
        {"modern", kMono},
    };
    const std::string key = Lower(face);
    if (auto it = table.find(key); it != table.end()) return it->second;
    // The shipped families themselves pass through.
    static const char* const own[] = {kSans, kSerif, kMono, "DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono"};
    for (const char* name : own)
        if (key == Lower(name)) return name;
    if ((pitchAndFamily & 0x03) == FIXED_PITCH || (pitchAndFamily & 0xF0) == FF_MODERN) return kMono;
    if ((pitchAndFamily & 0xF0) == FF_ROMAN) return kSerif;
    return kSans;
}

// Fonts are sized in pixels, so their metrics do not depend on the device's resolution; they
// are measured on one 96-dpi surface for every device (and no device pointer is kept).
TRealizedFont::TRealizedFont(const TLogFont& lf, int deviceHeight, int deviceWidth, QPaintDevice*)
    : device_(ScreenMeasureDevice())
{
    int em = 0;
    if (deviceHeight < 0) {
        em = -deviceHeight;
    } else {
        // A positive height asks for the cell height (ascent + descent); 0 for the default
        // cell of 16 pixels. Take the largest character size whose cell still fits.
        const int cell = deviceHeight == 0 ? 16 : deviceHeight;
        QFontMetricsF ref(BaseFont(lf, 1000), device_);
        const double ratio = (ref.ascent() + ref.descent()) / 1000.0;
        em = std::max(1, static_cast<int>(std::lround(cell / (ratio > 0 ? ratio : 1.0))));
        while (em > 1) {
            QFontMetrics m(BaseFont(lf, em), device_);
            if (m.ascent() + m.descent() <= cell) break;
            --em;
        }
    }
    font_ = BaseFont(lf, em);
    if (deviceWidth != 0) {
        // A width asks for an average character width: stretch the font to it.
        QFontMetrics natural(font_, device_);
        const int avg = std::max(1, natural.averageCharWidth());
        font_.setStretch(std::clamp(static_cast<int>(std::lround(100.0 * std::abs(deviceWidth) / avg)), 1, 4000));
    }
    QFontMetrics m(font_, device_);
    tm_.tmAscent = m.ascent();
    tm_.tmDescent = m.descent();
    tm_.tmHeight = tm_.tmAscent + tm_.tmDescent;
    tm_.tmInternalLeading = std::max(0, tm_.tmHeight - em);
    tm_.tmExternalLeading = std::max(0, m.leading());
    tm_.tmAveCharWidth = m.averageCharWidth();
    tm_.tmMaxCharWidth = m.maxWidth();
    tm_.tmWeight = lf.lfWeight <= 0 ? FW_NORMAL : lf.lfWeight;
    tm_.tmItalic = lf.lfItalic ? 1 : 0;
    tm_.tmUnderlined = lf.lfUnderline ? 1 : 0;
    tm_.tmStruckOut = lf.lfStrikeOut ? 1 : 0;
    tm_.tmCharSet = lf.lfCharSet;
    const bool fixed = QFontInfo(font_).fixedPitch();
    // As in GDI, the low bit set means a variable pitch.
    tm_.tmPitchAndFamily = static_cast<std::uint8_t>((lf.lfPitchAndFamily & 0xF0) | (fixed ? 0 : 1) | 0x04);
    for (int c = 0; c < 256; ++c) narrow_[c] = m.horizontalAdvance(QChar(c));
}

int TRealizedFont::CharWidth(char32_t c) const
{
    if (c < 256) return narrow_[c];
    if (auto it = wide_.find(c); it != wide_.end()) return it->second;
    QFontMetrics m(font_, device_);
    const int w = m.horizontalAdvance(QString::fromUcs4(&c, 1));
    wide_.emplace(c, w);
    return w;
}

int TRealizedFont::TextWidth(const std::u32string& text) const
{
    int w = 0;
    for (char32_t c : text) w += CharWidth(c);
    return w;
}

std::shared_ptr<const TRealizedFont> RealizeFont(const TLogFont& lf, int deviceHeight, int deviceWidth,
                                                 QPaintDevice* device)
{
    using Key = std::tuple<std::string, int, int, int, int, int, int>;
    static std::map<Key, std::shared_ptr<const TRealizedFont>> cache;
    static std::mutex mutex;
    Key key{lf.lfFaceName, lf.lfPitchAndFamily, lf.lfWeight, lf.lfItalic,
            lf.lfUnderline * 2 + lf.lfStrikeOut, deviceHeight, deviceWidth};
    std::lock_guard<std::mutex> lock(mutex);
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    auto font = std::make_shared<const TRealizedFont>(lf, deviceHeight, deviceWidth, device);
    // Scaled previews make many sizes; do not let them pile up.
    if (cache.size() > 512) cache.clear();
    cache.emplace(key, font);
    return font;
}

std::u32string DecodeText(std::string_view text)
{
    static const char16_t cp1252[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::u32string out;
    out.reserve(text.size());
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            out.push_back(c);
            ++i;
            continue;
        }
        int len = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c <= 0xDF ? 2 : 0;
        if (c > 0xF4) len = 0;
        char32_t cp = len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        bool ok = len > 0 && i + len <= n;
        for (int k = 1; ok && k < len; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) ok = false;
            else cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if (ok) {
            // overlong forms, surrogates and values past Unicode are not UTF-8
            if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
                (cp >= 0xD800 && cp <= 0xDFFF))
                ok = false;
        }
        if (ok) {
            out.push_back(cp);
            i += len;
        } else {
            out.push_back(c < 0xA0 ? cp1252[c - 0x80] : c);
            ++i;
        }
    }
    return out;
}

}  // namespace vyn
