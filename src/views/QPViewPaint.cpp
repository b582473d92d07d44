// Painting of the plate view: the teal frame with the column numbers and row letters, and
// every well as a cell composed off screen from a prepared background and its layer texts.
#include <algorithm>
#include <string>

#include "document/QDoc.h"
#include "platform/gui/Dc.h"
#include "plate/QPlate.h"
#include "plate/Utilities.h"
#include "printing/PageSettings.h"
#include "printing/QMethodSummaryPrintout.h"
#include "views/QPView.h"
#include "views/FieldText.h"
#include "views/ViewBitmaps.h"

namespace vyn {

namespace {

constexpr TColor kTeal{0, 128, 128};
constexpr TColor kGrey{128, 128, 128};
constexpr TColor kMagenta{255, 0, 255};

constexpr unsigned kTextFlags = DT_SINGLELINE | DT_NOPREFIX;

void Line(TDC& dc, int x0, int y0, int x1, int y1)
{
    dc.MoveTo(x0, y0);
    dc.LineTo(x1, y1);
}

// An 8 x 8 checkerboard: 0 bits in the DC's text colour, 1 bits in its background colour.
TBrush Checkerboard()
{
    std::vector<std::uint8_t> bits;
    for (int r = 0; r < 8; ++r) {
        bits.push_back(r % 2 ? 0xAA : 0x55);
        bits.push_back(0);
    }
    return TBrush(TBitmap::FromMonoBits(8, 8, bits));
}

void FillChecker(TDC& dc, int w, int h, TColor zero, TColor one)
{
    dc.SetTextColor(zero);
    dc.SetBkColor(one);
    dc.FillRect(TRect(0, 0, w, h), Checkerboard());
}

// Copies the bitmap centred into the rectangle, cut to its size (the top-left part).
void DrawCentred(TDC& dc, const TBitmap& bmp, const TRect& r)
{
    if (bmp.IsNull() || r.IsEmpty()) return;
    const int w = std::min(bmp.Width(), r.Width()), h = std::min(bmp.Height(), r.Height());
    TMemoryDC src(bmp);
    dc.BitBlt(r.left + (r.Width() - w) / 2, r.top + (r.Height() - h) / 2, w, h, src, 0, 0, SRCCOPY);
}

}  // namespace

// --- geometry -------------------------------------------------------------------------------

int QPView::GridRight() const { return HeaderWidth + (Cols - FirstCol) * CellWidth; }
int QPView::GridBottom() const { return HeaderHeight + (Rows - FirstRow) * CellHeight; }

TPoint QPView::CellOrigin(int col, int row) const
{
    return {(col - FirstCol) * CellWidth + HeaderWidth, (row - FirstRow) * CellHeight + HeaderHeight};
}

TRect QPView::CellRect(int col, int row) const
{
    const TPoint o = CellOrigin(col, row);
    return TRect(o.x, o.y, o.x + CellWidth, o.y + CellHeight);
}

int QPView::LastColShown(bool fully) const
{
    const int span = std::max(0, ClientRect.right - HeaderWidth);
    int count = fully ? span / std::max(1, CellWidth) : (span + CellWidth - 1) / std::max(1, CellWidth);
    count = std::min(count, Cols);
    return std::min(FirstCol + count - 1, Cols - 1);
}

int QPView::LastRowShown(bool fully) const
{
    const int span = std::max(0, ClientRect.bottom - HeaderHeight);
    int count = fully ? span / std::max(1, CellHeight) : (span + CellHeight - 1) / std::max(1, CellHeight);
    count = std::min(count, Rows);
    return std::min(FirstRow + count - 1, Rows - 1);
}

TRect QPView::PaneRect(int code) const
{
    const int xs[4] = {0, HeaderWidth, GridRight(), ClientRect.right};
    const int ys[4] = {0, HeaderHeight, GridBottom(), ClientRect.bottom};
    const int band = code / 256, col = code % 256;
    if (band < 0 || band > 2 || col < 0 || col > 2) return {};
    const TRect r(xs[col], ys[band], xs[col + 1], ys[band + 1]);
    if (r.Width() <= 0 || r.Height() <= 0) return {};
    return r & ClientRect;
}

TRect QPView::ColumnHeaderRect(int col) const
{
    const int left = HeaderWidth + (col - FirstCol) * CellWidth;
    return TRect(left, 0, left + CellWidth, HeaderHeight - 3);
}

TRect QPView::RowHeaderRect(int row) const
{
    const int top = HeaderHeight + (row - FirstRow) * CellHeight;
    return TRect(0, top, HeaderWidth - 3, top + CellHeight);
}

// --- Paint ----------------------------------------------------------------------------------

void QPView::Paint(TDC& dc, bool, TRect& rect)
{
    paintDC_ = &dc;
    HideCursor();
    const TColor oldBk = dc.SetBkColor(kTeal);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const TPen face(FaceColor), highlight(HighlightColor), shadow(ShadowColor);
    for (int code : {0, 1, 2, 256, 258, 512, 513, 514}) {
        const TRect pane = PaneRect(code);
        if (pane.IsEmpty()) continue;
        if (rect.left < pane.right && pane.left < rect.right && rect.top < pane.bottom && pane.top < rect.bottom)
            PaintPane(dc, code, face, highlight, shadow);
    }
    dc.SetBkMode(oldMode);
    dc.SetBkColor(oldBk);

    int c0 = FirstCol, c1 = LastColShown(false), r0 = FirstRow, r1 = LastRowShown(false);
    if (rect.left >= HeaderWidth) c0 = std::max(c0, (rect.left - HeaderWidth) / CellWidth + FirstCol);
    if (rect.right - 1 < HeaderWidth) c1 = -1;
    else c1 = std::min(c1, (rect.right - 1 - HeaderWidth) / CellWidth + FirstCol);
    if (rect.top >= HeaderHeight) r0 = std::max(r0, (rect.top - HeaderHeight) / CellHeight + FirstRow);
    if (rect.bottom - 1 < HeaderHeight) r1 = -1;
    else r1 = std::min(r1, (rect.bottom - 1 - HeaderHeight) / CellHeight + FirstRow);
    if (c0 <= c1 && r0 <= r1) {
        TMemoryDC canvas(dc);
        canvas.SelectObject(CreateCompatibleBitmap(dc, CellWidth, CellHeight));
        canvas.SelectObject(GetStockFont(ANSI_VAR_FONT));
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                PaintCell(dc, canvas, c, r, (Selected[static_cast<std::size_t>(r * Cols + c)] & 1) != 0);
    }

    const TPen oldPen = dc.SelectObject(TPen(kGrey));
    if (MaxFirstRow != 0) Line(dc, ClientRect.right - 1, ClientRect.top, ClientRect.right - 1, ClientRect.bottom);
    if (MaxFirstCol != 0) Line(dc, ClientRect.left, ClientRect.bottom - 1, ClientRect.right, ClientRect.bottom - 1);
    dc.SelectObject(oldPen);
    ShowCursor();
    paintDC_ = nullptr;
}

void QPView::PaintPane(TDC& dc, int code, const TPen& face, const TPen& highlight, const TPen& shadow)
{
    const TRect p = PaneRect(code);
    const int l = p.left, t = p.top, r = p.right, b = p.bottom;
    const TBrush teal(kTeal), grey(kGrey);
    const TPen black;
    auto with = [&dc](const TPen& pen, auto draw) {
        const TPen old = dc.SelectObject(pen);
        draw();
        dc.SelectObject(old);
    };
    const TColor oldText = dc.GetTextColor();
    switch (code) {
    case 0: {
        dc.FillRect(p, teal);
        with(FirstRow && FirstCol ? shadow : highlight, [&] {
            Line(dc, r - 4, b - 1, r, b - 5);
            Line(dc, r - 3, b - 1, r, b - 4);
        });
        const int glyph = FirstRow && FirstCol ? 0 : FirstCol ? 1 : FirstRow ? 2 : -1;
        if (glyph >= 0) DrawCentred(dc, Glyphs[glyph], p);
        break;
    }
    case 1:
        dc.FillRect(p, teal);
        with(black, [&] { Line(dc, l, b - 1, r - 1, b - 1); });
        dc.SetPixel(r - 1, b - 1, FaceColor);
        if (FirstRow == 0) {
            with(black, [&] { Line(dc, l, b - 2, r, b - 2); });
            with(highlight, [&] {
                Line(dc, l, b - 3, r, b - 3);
                Line(dc, l, b - 4, r, b - 4);
            });
        } else {
            with(face, [&] { Line(dc, l, b - 2, r, b - 2); });
            with(shadow, [&] {
                Line(dc, l, b - 3, r, b - 3);
                Line(dc, l, b - 4, r, b - 4);
            });
        }
        dc.SetTextColor(TColor::White);
        for (int c = FirstCol; c <= LastColShown(false); ++c) {
            TRect tr = ColumnHeaderRect(c);
            dc.DrawText(std::to_string(c + 1), tr, DT_CENTER | DT_VCENTER | kTextFlags);
        }
        break;
    case 2:
        if (p.Width() > HeaderWidth) {
            dc.FillRect(TRect(l, t, l + HeaderWidth, b), teal);
            dc.FillRect(TRect(l + HeaderWidth, t, r, b), grey);
        } else {
            dc.FillRect(p, teal);
        }
        dc.SetPixel(l, b - 2, ShadowColor);
        dc.SetPixel(l, b - 1, ShadowColor);
        dc.SetPixel(l + 1, b - 1, ShadowColor);
        break;
    case 256:
        dc.FillRect(p, teal);
        with(black, [&] { Line(dc, r - 1, t, r - 1, b - 1); });
        dc.SetPixel(r - 1, b - 1, FaceColor);
        if (FirstCol == 0) {
            with(black, [&] { Line(dc, r - 2, t, r - 2, b); });
            with(highlight, [&] {
                Line(dc, r - 3, t, r - 3, b);
                Line(dc, r - 4, t, r - 4, b);
            });
        } else {
            with(face, [&] { Line(dc, r - 2, t, r - 2, b); });
            with(shadow, [&] {
                Line(dc, r - 3, t, r - 3, b);
                Line(dc, r - 4, t, r - 4, b);
            });
        }
        dc.SetTextColor(TColor::White);
        for (int w = FirstRow; w <= LastRowShown(false); ++w) {
            TRect tr = RowHeaderRect(w);
            dc.DrawText(IndexToLetters(w), tr, DT_CENTER | DT_VCENTER | kTextFlags);
        }
        break;
    case 258:
        dc.FillRect(TRect(l, t, std::min(r, l + HeaderWidth), b), teal);
        if (p.Width() > HeaderWidth) dc.FillRect(TRect(l + HeaderWidth, t, r, b), grey);
        with(shadow, [&] {
            Line(dc, l, t, l, b);
            Line(dc, l + 1, t, l + 1, b);
        });
        break;
    case 512:
        dc.FillRect(TRect(l, t, r, std::min(b, t + HeaderHeight)), teal);
        if (p.Height() > HeaderHeight) dc.FillRect(TRect(l, t + HeaderHeight, r, b), grey);
        dc.SetPixel(r - 1, t, ShadowColor);
        dc.SetPixel(r - 1, t + 1, ShadowColor);
        dc.SetPixel(r - 2, t, ShadowColor);
        break;
    case 513:
        dc.FillRect(TRect(l, t, r, std::min(b, t + HeaderHeight)), teal);
        if (p.Height() > HeaderHeight) dc.FillRect(TRect(l, t + HeaderHeight, r, b), grey);
        with(shadow, [&] {
            Line(dc, l, t, r, t);
            Line(dc, l, t + 1, r, t + 1);
        });
        break;
    case 514:
        dc.FillRect(p, grey);
        dc.FillRect(TRect(l, t, std::min(r, l + HeaderWidth), std::min(b, t + HeaderHeight)), teal);
        dc.SetPixel(l, t, ShadowColor);
        break;
    default: break;
    }
    dc.SetTextColor(oldText);
}

void QPView::PaintCell(TDC& dc, TDC& canvas, int col, int row, bool selected)
{
    HideCursor();
    const int i = row * Cols + col;
    const QWellRecord& well = Plate->wells[static_cast<std::size_t>(i)];
    const QSample* sample = well.sample;
    const QSegm* entry = sample && well.position >= 0 && well.position < sample->WellCount()
                             ? &sample->wells[static_cast<std::size_t>(well.position)]
                             : nullptr;

    canvas.DrawBitmap(0, 0, sample ? (selected ? UsedSelected : UsedPlain) : (selected ? EmptySelected : EmptyPlain));
    const int oldMode = canvas.SetBkMode(TRANSPARENT);
    const TColor oldText = canvas.GetTextColor();

    TRect rect(MarginX, MarginY, MarginX + CellTextWidth, MarginY + LineHeight);
    auto text = [&canvas](const std::string& s, TRect r, TColor colour, unsigned align) {
        canvas.SetTextColor(colour);
        canvas.DrawText(s, r, align | kTextFlags);
    };
    for (unsigned layer : {plLayout, plIdent, plData, plMeasured, plResult}) {
        if ((Layers & layer) == 0) continue;
        if (layer == plLayout && entry && entry->desc) {
            const std::string& name = entry->desc->name;
            text(name, rect, entry->desc->colour, DT_LEFT);
            if (sample->kind == skStandard || sample->kind == skQuantitative) {
                const std::string letter(1, static_cast<char>('a' + std::clamp(entry->group, 0, 25)));
                const int nameW = canvas.GetTextExtent(name).cx, letterW = canvas.GetTextExtent(letter).cx;
                const int left = nameW + letterW < rect.Width() ? rect.left + nameW : rect.right - letterW;
                text(letter, TRect(left + 1, rect.top - 3, left + 1 + letterW, rect.bottom - 3), TColor::White, DT_LEFT);
            }
        } else if (layer == plIdent && sample && (sample->kind == skQualitative || sample->kind == skQuantitative)) {
            TRect r = rect;
            if (!sample->IsFixed()) {
                const std::string prefix = std::to_string(sample->SeqNumber()) + ":";
                text(prefix, r, TColor::White, DT_LEFT);
                r.left += canvas.GetTextExtent(prefix).cx;
            }
            text(sample->ident, r, TColor::Black, DT_LEFT);
        } else if (layer == plData || layer == plMeasured) {
            // Too wide: the start of the number shows, and a mark says that more follows.
            canvas.SetTextColor(layer == plData ? TColor::Black : kMagenta);
            DrawFieldText(canvas, layer == plData ? Plate->FormatData(i) : Plate->FormatMeasured(i), rect,
                          DT_RIGHT | kTextFlags, OverflowMark);
        } else if (layer == plResult && sample && well.position == 0) {
            // A result too wide for its line as well: cut on the left it would read as another number.
            bool isText = false;
            const std::string s = Plate->WellResultText(*sample, isText);
            canvas.SetTextColor(TColor::Black);
            DrawFieldText(canvas, s, rect, (isText ? DT_LEFT : DT_RIGHT) | kTextFlags, OverflowMark);
        }
        if (layer <= plMeasured) rect.Offset(0, LineHeight);
    }

    if (sample && sample->colourSet && sample->colour != kNoSampleColour) {
        const int right = CellWidth - WidthDigit / 2 - 2, left = right - WidthDigit;
        const int top = 2, bottom = top + LineHeight / 3 + 1;
        canvas.FillRect(TRect(left, top, right, bottom), TBrush(TColor(sample->colour & 0xFFFFFFu)));
        const TPen oldPen = canvas.SelectObject(TPen(TColor::White));
        canvas.MoveTo(right, top - 1);
        canvas.LineTo(left - 1, top - 1);
        canvas.LineTo(left - 1, bottom);
        canvas.SelectObject(TPen(kGrey));
        canvas.MoveTo(right, top - 1);
        canvas.LineTo(right, bottom);
        canvas.LineTo(left - 1, bottom);
        canvas.SelectObject(oldPen);
    }

    const TRect cell = CellRect(col, row);
    dc.BitBlt(cell.left, cell.top, CellWidth, CellHeight, canvas, 0, 0, SRCCOPY);
    canvas.SetTextColor(oldText);
    canvas.SetBkMode(oldMode);
    ShowCursor();
}

// --- prepared bitmaps -----------------------------------------------------------------------

void QPView::BuildCellBitmaps()
{
    const int W = std::max(1, CellWidth), H = std::max(1, CellHeight);
    auto make = [&](TBitmap& bmp, auto draw) {
        bmp = TBitmap(W, H);
        TMemoryDC dc(bmp);
        draw(dc);
    };
    auto blackEdges = [&](TDC& dc) {
        dc.SelectObject(TPen());
        Line(dc, W - 1, 0, W - 1, H - 1);
        Line(dc, 0, H - 1, W - 1, H - 1);
    };
    const TPen highlight(HighlightColor), shadow(ShadowColor);
    make(UsedPlain, [&](TDC& dc) {
        dc.FillRect(TRect(0, 0, W, H), TBrush(FaceColor));
        blackEdges(dc);
        dc.SelectObject(highlight);
        Line(dc, 0, 0, 0, H - 2);
        Line(dc, 1, 0, W - 2, 0);
        dc.SelectObject(shadow);
        Line(dc, W - 2, 0, W - 2, H - 3);
        Line(dc, 1, H - 2, W - 1, H - 2);
    });
    make(UsedSelected, [&](TDC& dc) {
        FillChecker(dc, W, H, FaceColor, ShadowColor);
        blackEdges(dc);
        dc.SelectObject(shadow);
        Line(dc, 0, 0, 0, H - 1);
        Line(dc, 1, 0, W - 1, 0);
        dc.SelectObject(highlight);
        Line(dc, W - 2, 0, W - 2, H - 3);
        Line(dc, 1, H - 2, W - 1, H - 2);
    });
    make(EmptyPlain, [&](TDC& dc) {
        FillChecker(dc, W, H, FaceColor, HighlightColor);
        blackEdges(dc);
    });
    make(EmptySelected, [&](TDC& dc) {
        FillChecker(dc, W, H, ShadowColor, HighlightColor);
        blackEdges(dc);
    });
    OverflowMark = ViewBitmaps::OverflowMark(WidthM / 2, LineHeight);
    BuildMoveMarks();
}

void QPView::BuildMoveMarks()
{
    MarkWidth = CellWidth / 2 + 2;
    MarkHeight = CellHeight / 3 + 2;
    MarkOffsetX = (CellWidth - MarkWidth) / 2;
    MarkOffsetY = (CellHeight - MarkHeight) / 2;
    const TBrush stripes(ViewBitmaps::Load(13451));
    auto mark = [&](int inset) {
        TBitmap bmp(MarkWidth, MarkHeight);  // black: inverting leaves the cell as it is there
        TMemoryDC dc(bmp);
        dc.SelectObject(TPen(TColor(255, 0, 0)));
        dc.SelectObject(stripes);
        dc.Ellipse(inset, inset, MarkWidth - inset, MarkHeight - inset);
        return bmp;
    };
    MoveMarkFree = mark(0);
    MoveMarkTaken = mark(MarkHeight < 6 ? 0 : 2);
}

// --- printing -------------------------------------------------------------------------------

void QPView::PrepareHeader()
{
    QMethodSummaryPrintout::FillReportHeader(*Plate, Doc->GetDocPath(), header);
    dateText = DateTimeText();
    charsPerCell = CellScale;
    linesPerCell = std::max(1, LayerCount);
}

int NthSetBit(unsigned mask, int n)
{
    for (unsigned bit = 1; bit <= 0x8000u; bit <<= 1) {
        if ((mask & bit) == 0) continue;
        if (n-- == 0) return static_cast<int>(bit);
    }
    return 0;
}

void QPView::PrintCell(TDC& dc, const TRect& lineRect, int col, int row, int line)
{
    if (col < 0 || col >= Cols || row < 0 || row >= Rows) return;
    const unsigned layer = static_cast<unsigned>(NthSetBit(Layers & 0x1Fu, line));
    const int i = row * Cols + col;
    const QWellRecord& well = Plate->wells[static_cast<std::size_t>(i)];
    const QSample* sample = well.sample;
    const int x = lineRect.left, y = lineRect.top;
    // A text that does not fit starts at the cell's left edge, so that its leading digits
    // show and the clip cuts only its tail.
    auto fitted = [&](const std::string& s) {
        const int w = dc.GetTextExtent(s).cx;
        dc.TextOut(w <= lineRect.Width() ? lineRect.right - w : x, y, s);
    };

    const int saved = dc.SaveDC();
    dc.SetBkMode(TRANSPARENT);
    dc.IntersectClipRect(TRect(lineRect.left, lineRect.top - PrintYUnits(1), lineRect.right, lineRect.bottom));
    if (layer == plLayout && sample && well.position >= 0 && well.position < sample->WellCount()) {
        const QSegm& e = sample->wells[static_cast<std::size_t>(well.position)];
        const std::string name = e.desc ? e.desc->name : std::string();
        dc.TextOut(x, y, name);
        if (sample->kind == skStandard || sample->kind == skQuantitative) {
            const std::string letter(1, static_cast<char>('a' + std::clamp(e.group, 0, 25)));
            dc.TextOut(x + dc.GetTextExtent(name).cx + PrintXUnits(1), y - PrintYUnits(1), letter);
        }
    } else if (layer == plIdent && sample && (sample->kind == skQualitative || sample->kind == skQuantitative)) {
        char letters[8] = {};
        if (sample->IsFixed()) IndexToLettersLower(letters, sample->index);
        const std::string label = sample->IsFixed() ? std::string(letters) + ":" : std::to_string(sample->SeqNumber()) + ":";
        dc.TextOut(x, y, label);
        dc.TextOut(x + dc.GetTextExtent(label).cx + PrintXUnits(1), y, sample->ident);
    } else if (layer == plData || layer == plMeasured) {
        const std::string s = layer == plData ? Plate->FormatData(i) : Plate->FormatMeasured(i);
        if (!s.empty()) fitted(s);
    } else if (layer == plResult && sample && well.position == 0) {
        bool isText = false;
        const std::string s = Plate->WellResultText(*sample, isText);
        if (isText) dc.TextOut(x, y, s);
        else if (!s.empty()) fitted(s);
    }
    dc.RestoreDC(saved);
}

}  // namespace vyn
