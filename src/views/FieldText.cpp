#include "views/FieldText.h"

#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"

namespace vyn {

namespace {
// Whether the byte starts a character of UTF-8 text (not a continuation byte).
bool StartsChar(char c) { return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u; }
}  // namespace

TFieldText FitToField(const TDC& dc, const std::string& text, int width, int markWidth)
{
    if (dc.GetTextExtent(text).cx <= width) return {text, false};
    const int room = width - markWidth;
    std::size_t keep = 0;
    for (std::size_t end = 1; end <= text.size(); ++end) {
        if (end < text.size() && !StartsChar(text[end])) continue;
        if (dc.GetTextExtent(std::string_view(text).substr(0, end)).cx > room) break;
        keep = end;
    }
    return {text.substr(0, keep), true};
}

bool DrawFieldText(TDC& dc, const std::string& text, const TRect& field, unsigned format, const TBitmap& mark)
{
    const int markWidth = mark.IsNull() ? 0 : mark.Width();
    const TFieldText f = FitToField(dc, text, field.Width(), markWidth);
    TRect r = field;
    if (!f.overflows) {
        dc.DrawText(f.shown, r, format);
        return false;
    }
    dc.DrawText(f.shown, r, (format & ~static_cast<unsigned>(DT_CENTER | DT_RIGHT)) | DT_LEFT);
    if (markWidth > 0) {
        TMemoryDC m(mark);
        dc.BitBlt(field.right - markWidth, field.top, markWidth, field.Height(), m, 0, 0, SRCCOPY);
    }
    return true;
}

}  // namespace vyn
