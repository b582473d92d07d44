#pragma once
// Report fonts: a 60-byte font description (the stored form of a font record, height in
// tenths of a point) and a process-wide cache in which each distinct description exists once
// with a reference count; RPFont is a holder of one cache entry.
#include <array>
#include <cstdint>
#include <string>

#include "platform/core/Geometry.h"

namespace vyn {

// The largest font height and width a report keeps, in the units of RPLogFont::height.
inline constexpr int kMaxFontSize = 32767;

struct RPLogFont {
    std::int32_t height = 0;  // tenths of a point
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::array<char, 32> faceName{};

    static constexpr int kSize = 60;
    void Store(std::uint8_t* out) const;
    static RPLogFont Load(const std::uint8_t* in);
    std::string Face() const;  // up to the first zero, at most 32 characters
    void SetFace(const std::string& face);
    bool operator==(const RPLogFont&) const = default;
};

// "Arial", 10 points.
const RPLogFont& DefaultReportFont();

// 0 for the same font (first 24 bytes and the face over 32 characters), 1 otherwise or when
// either is missing.
int SameLogFont(const RPLogFont* a, const RPLogFont* b);

// The screen's vertical pixels per inch used for screen fonts (96 until the designer says).
extern int gScreenPpiY;

struct RPFontHndAndLog {
    RPLogFont screen;  // the working copy: height in screen pixels, normalised quality bytes
    RPLogFont key;     // the requested description with the four normalised bytes
    int refCount = 0;
};

class RPFont {
public:
    explicit RPFont(const RPLogFont* desc = nullptr);
    ~RPFont();
    RPFont(const RPFont& other);
    RPFont& operator=(const RPFont& other);

    // 0 when it already refers to the same font, else 1 after switching entries.
    int Set(const RPLogFont& desc);
    const RPLogFont& Get() const { return entry_->key; }
    const RPFontHndAndLog& Entry() const { return *entry_; }

    // The cache, for tests and for the painter.
    static int CacheSize();
    static const RPFontHndAndLog* Find(const RPLogFont& desc);

private:
    RPFontHndAndLog* entry_ = nullptr;
};

// Measures a text in the screen font of a cache entry (its working copy, height in screen
// pixels). The drawing layer installs the real measurer; until then an estimate from the
// font height stands in, so that layouts made without a screen still come out usable.
using RPTextMeasurer = TSize (*)(const RPLogFont& screenFont, const std::string& text);
void SetScreenTextMeasurer(RPTextMeasurer measurer);
TSize MeasureScreenText(const RPFont& font, const std::string& text);

}  // namespace vyn
