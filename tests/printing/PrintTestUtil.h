#pragma once
// A page DC with fixed metrics for the printing tests: a 96-dpi image with a fixed-pitch font
// selected, so that every character is one known width and positions read as columns; it
// records every text drawn on it.
#include <QImage>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/gui/Dc.h"
#include "printing/APrintOutLines.h"
#include "printing/PageSettings.h"

namespace vyn::test {

struct DrawnText {
    int x, y;
    std::string text;
};

class RecordingDC : public TDC {
public:
    explicit RecordingDC(QImage& image) : TDC(image) {}
    bool TextOut(int x, int y, std::string_view text) override
    {
        if (GetTextAlign() == (TA_LEFT | TA_TOP)) texts.push_back({x, y, std::string(text)});
        return TDC::TextOut(x, y, text);
    }
    std::vector<DrawnText> texts;
};

// A letter-size page at 96 dpi with a 10-pixel fixed-pitch font and one-inch margins.
struct FixedPage {
    FixedPage() : image(816, 1056, QImage::Format_RGB32), dc(image)
    {
        image.fill(Qt::white);
        dc.SelectObject(TFont("Courier New", -16, 0, 0, 0, FW_NORMAL, FIXED_PITCH | FF_MODERN));
        charWidth = dc.GetTextExtent("0").cx;
    }
    QImage image;
    RecordingDC dc;
    int charWidth = 0;
};

// A line printout whose body is a callback; its kind uses the margins given.
class TestLines : public APrintOutLines {
public:
    std::function<void(TestLines&)> body;
    PageMargins margins{100, 100, 100, 100};
    void LoadMargins() override { gCurPageMargins = margins; }
    void StoreMargins() override { margins = gCurPageMargins; }
    void LoadFont() override { gCurPageFont = NoPageFont(); }
    void PrintBody() override
    {
        if (body) body(*this);
    }
};

// The texts drawn between top and bottom, one string per text row with each piece put at its
// character column (relative to left).
inline std::vector<std::string> TextRows(const std::vector<DrawnText>& texts, int left, int top, int bottom,
                                         int charWidth)
{
    std::map<int, std::string> rows;
    for (const DrawnText& t : texts) {
        if (t.y < top || t.y >= bottom) continue;
        std::string& row = rows[t.y];
        const std::size_t col = static_cast<std::size_t>((t.x - left) / charWidth);
        if (row.size() < col) row.resize(col, ' ');
        row.replace(col, t.text.size(), t.text);
    }
    std::vector<std::string> out;
    for (auto& [y, row] : rows) out.push_back(row);
    return out;
}

}  // namespace vyn::test
