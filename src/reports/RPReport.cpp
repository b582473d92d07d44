#include "reports/RPReport.h"

#include <algorithm>
#include <cstdio>

#include "reports/IRepView.h"
#include "reports/RPObjectTextBox.h"

namespace vyn {

RPRunShell& GetRPRunShell()
{
    static RPRunShell shell;
    return shell;
}

RPReport::RPReport()
{
    bands_[0] = std::make_unique<RPSectionPgHead>(*this);
    bands_[1] = std::make_unique<RPSectionRpHead>(*this);
    bands_[2] = std::make_unique<RPSectionDetail>(*this);
    bands_[3] = std::make_unique<RPSectionRpFoot>(*this);
    bands_[4] = std::make_unique<RPSectionPgFoot>(*this);
    for (auto& b : bands_) bandTable_[static_cast<std::size_t>(b->Index())] = b.get();
    gridX_.Set(kTwipsPerInch, 8);
    gridY_.Set(kTwipsPerInch, 8);
    gridX_.SetDivisions(16);
    gridY_.SetDivisions(16);
    printX_.Set(kTwipsPerInch, 8);
    printY_.Set(kTwipsPerInch, 8);
}

RPReport::~RPReport() { DeleteRunState(); }

bool RPReport::SetReportWidth(int w)
{
    if (w < 0) w = width_;
    w = std::clamp(w, 720, kMaxTwips);
    for (const auto& b : bands_)
        if (b->Enabled()) w = std::max(w, b->RightmostExtent());
    if (w == width_) return false;
    width_ = w;
    return true;
}

void RPReport::AttachView(IRepView* view)
{
    view_ = view;
    if (view) {
        gridX_.SetUnitsPerInch(view->ScreenPpiX());
        gridY_.SetUnitsPerInch(view->ScreenPpiY());
    }
}

int RPReport::UpdatePixelWidth()
{
    pixelWidth_ = view_ ? view_->RepUnitsToPixelsX(width_) : 0;
    return pixelWidth_;
}

void RPReport::SetWidth(int v)
{
    if (v == width_ || !view_) return;
    view_->SetModified();
    view_->SetReportWidth(v);
}

void RPReport::SetGranulX(int v)
{
    v = std::clamp(v, 1, 72);
    if (v == gridX_.Divisions()) return;
    gridX_.SetDivisions(v);
    if (view_) {
        view_->InvalidateClient(TRect(0, 0, 32767, 32767));
        view_->SetModified();
    }
}

void RPReport::SetGranulY(int v)
{
    v = std::clamp(v, 1, 72);
    if (v == gridY_.Divisions()) return;
    gridY_.SetDivisions(v);
    if (view_) {
        view_->InvalidateClient(TRect(0, 0, 32767, 32767));
        view_->SetModified();
    }
}

int RPReport::GetSelectionExtent(TRect& rect, bool& snap, int& mixed, int& cells, int& column, int& row) const
{
    rect = TRect(0, 0, 0, 0);
    snap = view_ && view_->SnapToGrid();
    mixed = 0;
    cells = 0;
    column = row = 0;
    if (!view_) return 0;
    int n = 0;
    const RPSection* band = nullptr;
    for (RPObject* o : view_->Selection()) {
        if (o->GetType() == otPageBreak) continue;
        const TRect r(o->GetLeft(), o->GetTop(), o->GetLeft() + o->GetWidth(), o->GetTop() + o->GetHeight());
        if (n == 0) rect = r;
        else rect = TRect(std::min(rect.left, r.left), std::min(rect.top, r.top), std::max(rect.right, r.right),
                          std::max(rect.bottom, r.bottom));
        if (band && band != o->Owner()) mixed = 1;
        band = o->Owner();
        if (o->GetSource().kind == srCell) {
            if (cells == 0) {
                column = o->GetSource().column;
                row = o->GetSource().row;
            } else {
                if (column != o->GetSource().column) column = -1;
                if (row != o->GetSource().row) row = -1;
            }
            ++cells;
        }
        ++n;
    }
    return n;
}

namespace {

// The text of a copy renumbered by its offset in the block; false when it cannot be.
bool RenumberText(const std::string& text, int c, int r, int columns, int rows, std::string& out)
{
    if (text.size() >= 19 || (columns >= 2 && rows >= 2)) return false;
    const int offset = columns < 2 ? r : c;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    const std::size_t lead = i;
    if (i == text.size()) return false;
    std::string middle;
    const char ch = text[i];
    if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z')) {
        const int shifted = ch + offset;
        if ((ch <= 'z' && ch >= 'a' && shifted > 'z') || (ch <= 'Z' && shifted > 'Z')) return false;
        middle = std::string(1, static_cast<char>(shifted));
        ++i;
    } else if (ch >= '0' && ch <= '9') {
        long long n = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') n = n * 10 + (text[i++] - '0');
        middle = std::to_string(n + offset);
    } else {
        return false;
    }
    const std::size_t trailStart = i;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i != text.size()) return false;
    out = std::string(lead, ' ') + middle + std::string(text.size() - trailStart, ' ');
    return true;
}

// Next block origin along one axis: false when a copy would leave the report.
bool Advance(int& pos, int size, int gap, bool grid, const RPScale& scale)
{
    if (!grid) {
        pos += gap;
        if (pos < 0 || pos > kMaxTwips) return false;
    } else {
        const int s = scale.TwipsToSteps(pos) + gap;
        if (s < 0 || s > scale.TwipsToSteps(kMaxTwips)) return false;
        pos = scale.StepsToTwips(s);
    }
    if (pos + size > kMaxTwips) return false;
    return true;
}

}  // namespace

int RPReport::DuplicateSelection(int left, int top, int right, int bottom, bool grid, int columns, int rows,
                                 bool renumber, int dx, int dy)
{
    if (columns * rows < 2) return 1;
    const int w = right - left, h = bottom - top;
    if (w < 1 && h < 1) return 0;
    if (!view_) return 0;
    std::vector<int> xs{left}, ys{top};
    int x = right;
    for (int c = 1; c < columns; ++c) {
        int origin = x;
        if (!Advance(origin, w, dx, grid, gridX_)) return 0;
        xs.push_back(origin);
        x = origin + w;
    }
    int y = bottom;
    for (int r = 1; r < rows; ++r) {
        int origin = y;
        if (!Advance(origin, h, dy, grid, gridY_)) return 0;
        ys.push_back(origin);
        y = origin + h;
    }
    const std::vector<RPObject*> selection = view_->Selection();
    int made = 0;
    bool failed = false;
    for (int r = 0; r < rows && !failed; ++r) {
        for (int c = 0; c < columns && !failed; ++c) {
            if (r == 0 && c == 0) continue;
            for (RPObject* o : selection) {
                if (o->GetType() == otPageBreak || !o->Owner()) continue;
                auto copy = RPObject::Clone(*o);
                if (!copy) {
                    failed = true;
                    break;
                }
                copy->SetPos(TPoint(xs[static_cast<std::size_t>(c)] + o->GetLeft() - left,
                                    ys[static_cast<std::size_t>(r)] + o->GetTop() - top));
                if (renumber && copy->GetType() == otTextBox) {
                    auto* box = static_cast<RPObjectTextBox*>(copy.get());
                    std::string text;
                    if (RenumberText(box->GetText(), c, r, columns, rows, text)) box->StoreContents(text);
                }
                if (copy->GetSource().kind == srCell) {
                    QRSource s = copy->GetSource();
                    s.column += c;
                    s.row += r;
                    copy->StoreSource(s);
                }
                o->Owner()->AddObject(std::move(copy));
                ++made;
            }
        }
    }
    if (made == 0) return 0;
    view_->RefreshAllSections();
    view_->SetReportWidth(-1);
    return 1;
}

}  // namespace vyn
