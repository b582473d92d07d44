#pragma once
// The screen side of the report font cache: each cache entry's working copy (height in screen
// pixels, draft quality) becomes a drawing font, and the cache measures its texts with it.
#include "platform/gui/Gdi.h"
#include "reports/RPFont.h"

namespace vyn {

// A drawing font from a font record whose height is already in device units.
TLogFont ToLogFont(const RPLogFont& f, int height);
// The screen font of a held report font (the cache entry's working copy).
TFont ScreenFont(const RPFont& font);
// Makes the font cache measure texts on a 96-dpi screen image; idempotent. The designer calls
// it before it lays anything out; the design painters call it too.
void InstallReportScreenFonts();

}  // namespace vyn
