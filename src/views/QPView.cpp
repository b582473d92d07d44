// The plate view's construction, its layers and its modes with their gadgets.
#include "views/QPView.h"

#include <algorithm>
#include <bit>

#include "controls/QGCombo.h"
#include "controls/QGEdit.h"
#include "document/QDoc.h"
#include "platform/gui/Dc.h"
#include "platform/gui/MsgBox.h"
#include "plate/QPlate.h"
#include "views/ViewBitmaps.h"
#include "views/ViewShell.h"

namespace vyn {

namespace {

// Shared by all plate views: the menu descriptor's users and the window that holds the
// entry and name boxes.
int sMenuUsers = 0;

// The system's scroll-bar thickness, which the smallest frame leaves room for.
constexpr int kScrollBarSize = 17;

// The layer buttons stand as the values come about: measured (2486) before transformed (2485).
const std::vector<int> kDisplayPalette = {cmDataEntry, gdSeparator, cmPlateMatrix, cmSampleList,
                                          cmCalibrationCurve, gdSeparator, 2483, 2484, 2486, 2485, 2487};
const std::vector<int> kToolPalette = {cmControls, cmQualitative, cmStandards, cmQuantitative,
                                       cmRepeat, cmEditSample, cmRenumber};

int HelpIdOf(unsigned mode)
{
    switch (mode & ~static_cast<unsigned>(pmPatternPending)) {
    case pmDataEntry: return 3241;
    case pmLayout: return 3242;
    case pmControls: return 3243;
    case pmStandards: return 3244;
    case pmQualitative: return 3245;
    case pmQuantitative: return 3246;
    case pmRepeat: return 3247;
    case pmEdit: return 3248;
    case pmRenumber: return 3249;
    default: return 3240;
    }
}

void Unpress(std::vector<int>& pressed, int id) { std::erase(pressed, id); }
void Press(std::vector<int>& pressed, int id)
{
    if (std::find(pressed.begin(), pressed.end(), id) == pressed.end()) pressed.push_back(id);
}

// Takes the button out of the palette list and puts it back after another one (at the end
// when that one is not there).
void MoveAfter(std::vector<int>& list, int id, int after)
{
    std::erase(list, id);
    auto it = std::find(list.begin(), list.end(), after);
    list.insert(it == list.end() ? list.end() : it + 1, id);
}

}  // namespace

QPView::SMS::SMS(int wells)
    : MarkPos(static_cast<std::size_t>(std::max(0, wells))), MarkTaken(static_cast<std::size_t>(std::max(0, wells)))
{
}

QPViewShell& QPView::Shell()
{
    static QPViewShell shell;
    return shell;
}

void QPView::SetControlHost(TWindow* host) { SetViewControlHost(host); }
int QPView::MenuUsers() { return sMenuUsers; }

QPView::QPView(QDoc& doc, TWindow* parent)
    : TWindow(parent, 0, {}),
      TView(doc),
      Doc(&doc),
      Plate(&doc.GetPlate()),
      Cols(Plate->columns),
      Rows(Plate->rows),
      Wells(Plate->wellCount),
      Marks(Plate->wellCount)
{
    ++sMenuUsers;
    Mode = pmDisplay;
    Arrangement = 0;
    TWindow* host = ViewControlHost() ? ViewControlHost() : this;
    nameBox_ = new QGCombo(host, this, cmNameBox, 12, 10);
    entryBox_ = new QGEdit(host, this, cmEntryBox, 18);
    Selected.assign(static_cast<std::size_t>(std::max(0, Wells)), 0);
    SelectedCount = 0;
    EntryLayer = plData;
    Layers = plLayout | plData;
    LayerCount = 2;
    CellScale = Plate->cellWidth;
    KeyCursorBitmap = ViewBitmaps::KeyCursor();
    MeasureGeometry();
}

QPView::~QPView()
{
    if (Dragging || ColumnDrag) TWindow::ReleaseCapture();
    if (FrameUp()) EraseDragFrame();
    // The window goes before the view's pictures: a repaint while the rest of the view is
    // taken down (the shell's bars repaint at once) must find no window left to paint.
    if (IsWindow()) Destroy();
    --sMenuUsers;
    // The boxes live in the shell's tool bar when it holds them; they go with the view.
    if (nameBox_->GetParent() != this) {
        delete nameBox_;
        delete entryBox_;
    }
}

std::unique_ptr<QPView> MakePlateView(QDoc& doc, TWindow* parent) { return std::make_unique<QPView>(doc, parent); }

bool QPView::Create()
{
    Glyphs[0] = ViewBitmaps::Glyph(32);
    Glyphs[1] = ViewBitmaps::Glyph(33);
    Glyphs[2] = ViewBitmaps::Glyph(34);
    MeasureGeometry();
    if (!TWindow::Create()) return false;
    if (TWindow* host = ViewControlHost(); host && host->IsWindow()) {
        nameBox_->Create();
        entryBox_->Create();
    }
    Layout();
    return true;
}

void QPView::SetupWindow()
{
    TWindow::SetupWindow();
    nameBox_->ShowWindow(SW_HIDE);
    entryBox_->ShowWindow(SW_HIDE);
    SetContextHelpId(HelpIdOf(Mode));
}

void QPView::Destroy(int retVal)
{
    SetCursorKind(0);
    TWindow::Destroy(retVal);
}

void QPView::CleanupWindow()
{
    KillTimer(1);
    KillTimer(2);
    TWindow::CleanupWindow();
}

bool QPView::CanClose()
{
    if (Doc->CountDataViews() > 1) return true;
    if (!Doc->CanClose()) return false;
    Doc->CloseSampleGraphViews();
    return true;
}

void QPView::EvMDIActivate(bool active)
{
    if (active) {
        SetMode(pmDisplay, 0);
        if (Shell().activated) Shell().activated(*this, true);
    } else {
        SetMode(0, Mode);
        if (Shell().activated) Shell().activated(*this, false);
    }
}

void QPView::EvGetMinMaxInfo(TMinMaxInfo& info)
{
    TWindow::EvGetMinMaxInfo(info);
    info.minTrackSizeX = MinTrackSize.cx;
    info.minTrackSizeY = MinTrackSize.cy;
}

// --- geometry -------------------------------------------------------------------------------

void QPView::MeasureGeometry()
{
    TBitmap scratch(8, 8);
    TMemoryDC dc(scratch);
    dc.SelectObject(GetStockFont(ANSI_VAR_FONT));
    const TSize twelve = dc.GetTextExtent("12");
    HeaderWidth = HeaderHeight = std::max(twelve.cx, 2 * twelve.cy);
    WidthM = dc.GetTextExtent("M").cx;
    const TSize zero = dc.GetTextExtent("0");
    WidthDigit = zero.cx;
    LineHeight = zero.cy;
    CellTextWidth = CellScale * WidthDigit / 4;
    MarginX = MarginY = 2;
    CellGap = std::max(3, WidthDigit / 3);
    CellWidth = CellTextWidth + CellGap + MarginX;
    CellHeight = LineHeight * LayerCount + MarginY + 2;
    // A narrow scale still leaves a cell two thirds as wide as it is high.
    if (CellWidth < CellHeight * 2 / 3) {
        const int grow = CellHeight * 2 / 3 - CellWidth;
        CellTextWidth += grow;
        CellWidth += grow;
    }
    MinTrackSize = TSize(HeaderWidth + kScrollBarSize + 3 * CellWidth / 2,
                         HeaderHeight + kScrollBarSize + 3 * CellHeight / 2);
    BuildCellBitmaps();
}

void QPView::ComputeScroll(int width, int height, int& firstCol, int& firstRow, int& maxCol, int& maxRow) const
{
    // width and height are the whole window's: a bar takes its room only where it is needed,
    // and a bar shown for the old size does not keep itself for the new one.
    // The cells to scroll away until the rest fits beside the title row or column: the titles
    // are as wide as they are, not one cell (a cell grown for many layers is wider than the
    // row titles, and a plate wholly shown would still get a step to scroll).
    auto range = [](int header, int cell, int cells, int avail) {
        cell = std::max(1, cell);
        return std::clamp((header + cell * cells + cell - 1 - avail) / cell, 0, std::max(0, cells - 1));
    };
    const int sb = kScrollBarSize;
    const int hw = HeaderWidth, hh = HeaderHeight;
    maxCol = maxRow = 0;
    if (range(hw, CellWidth, Cols, width) == 0 && range(hh, CellHeight, Rows, height) == 0) {
        // the whole plate fits: no bar
    } else if (range(hh, CellHeight, Rows, height - sb) > 0) {
        if (range(hw, CellWidth, Cols, width - sb) > 0) {
            maxCol = range(hw, CellWidth, Cols, width - sb);
            maxRow = range(hh, CellHeight, Rows, height - sb);
        } else {
            maxRow = range(hh, CellHeight, Rows, height);
        }
    } else {
        maxCol = range(hw, CellWidth, Cols, width);
    }
    firstCol = std::min(FirstCol, maxCol);
    firstRow = std::min(FirstRow, maxRow);
}

void QPView::Layout()
{
    MeasureGeometry();
    if (!IsWindow()) return;
    const TRect rc = GetClientRect();
    EvSize(SIZE_RESTORED, TSize(rc.Width(), rc.Height()));
    Invalidate(false);
}

void QPView::EvSize(unsigned sizeType, const TSize& size)
{
    TWindow::EvSize(sizeType, size);
    if (SizeNesting > 0 || (sizeType != SIZE_RESTORED && sizeType != SIZE_MAXIMIZED)) return;
    ++SizeNesting;
    int fc = 0, fr = 0, mc = 0, mr = 0;
    const TRect whole = GetWindowRect();
    ComputeScroll(std::max(size.cx, whole.Width()), std::max(size.cy, whole.Height()), fc, fr, mc, mr);
    MaxFirstCol = mc;
    MaxFirstRow = mr;
    FirstCol = fc;
    FirstRow = fr;
    SetScrollRange(SB_VERT, 0, mr, false);
    SetScrollRange(SB_HORZ, 0, mc, false);
    if (mr != 0) SetScrollPos(SB_VERT, fr, false);
    if (mc != 0) SetScrollPos(SB_HORZ, fc, false);
    ClientRect = IsWindow() ? GetClientRect() : TRect(0, 0, size.cx, size.cy);  // the bars as they stand now
    PlaceCursor(32767, 32767);
    Invalidate(false);
    --SizeNesting;
}

// --- layers ---------------------------------------------------------------------------------

void QPView::SetLayers(unsigned mask)
{
    if (mask == Layers) return;
    Layers = mask;
    LayerCount = std::popcount(mask & 0x1Fu);
    if (IsWindow()) {
        Layout();
        FitFrame();
    } else {
        MeasureGeometry();
    }
}

bool QPView::LayerAllowed(unsigned command) const
{
    // With data mode 0 the data values are the measured values: a measured line would only
    // repeat the transformed one.
    return command != 2486 || Plate->dataMode != dmMeasured;
}

void QPView::ToggleLayer(unsigned command)
{
    if (command < cmLayerFirst || command > cmLayerLast) return;
    const unsigned bit = 1u << (command - cmLayerFirst);
    if (!(Layers & bit) && !LayerAllowed(command)) return;
    const unsigned mask = Layers ^ bit;
    if ((mask & 0x1Fu) == 0) return;  // one layer always stays
    SetLayers(mask);
}

void QPView::ShowLayer(unsigned command)
{
    if (command < cmLayerFirst || command > cmLayerLast || !LayerAllowed(command)) return;
    SetLayers(Layers | (1u << (command - cmLayerFirst)));
}

void QPView::HideLayer(unsigned command)
{
    if (command < cmLayerFirst || command > cmLayerLast) return;
    const unsigned mask = Layers & ~(1u << (command - cmLayerFirst));
    if ((mask & 0x1Fu) == 0) return;
    SetLayers(mask);
}

void QPView::SetCellScale(int scale)
{
    if (scale == CellScale) return;
    CellScale = scale;
    if (IsWindow()) {
        Layout();
        FitFrame();
    } else {
        MeasureGeometry();
    }
}

void QPView::ApplyCellScale(int)
{
    SetCellScale(Plate->cellWidth);
}

TSize QPView::WantedClientSize() const
{
    const int w = HeaderWidth + Cols * CellWidth + kScrollBarSize + 1;
    const int h = HeaderHeight + Rows * CellHeight + kScrollBarSize + 1;
    return {std::max(w, MinTrackSize.cx), std::max(h, MinTrackSize.cy)};
}

void QPView::FitFrame()
{
    // A minimised or maximised frame keeps its size: the cells are only laid out again.
    if (!Shell().fitFrame || !Shell().fitFrame(*this, WantedClientSize())) Layout();
}

// --- modes ----------------------------------------------------------------------------------

void QPView::BarsChanged()
{
    if (Shell().barsChanged) Shell().barsChanged(*this);
}

void QPView::SetToolText(const std::string& text)
{
    bars_.toolText = text;
    BarsChanged();
}

void QPView::ResetToolButtons()
{
    for (int id = static_cast<int>(cmControls); id <= static_cast<int>(cmRenumber); ++id) Unpress(bars_.pressed, id);
    bars_.repeatPicture = 0;
    bars_.renumberPicture = 0;
    bars_.renumberText.clear();
}

void QPView::FillNameBox(unsigned kindBit)
{
    nameBox_->ClearList();
    for (const auto& d : Plate->descs)
        if (d && (d->kind & kindBit) != 0) nameBox_->AddItem(d.get());
    nameBox_->SetSelIndex(0);
    if (nameBox_->IsWindow()) nameBox_->FitDropWidth();
}

QDesc* QPView::SelectedName() const { return nameBox_->GetSelData(); }

void QPView::SetViewCursor(TCursorShape shape)
{
    ViewCursor = shape;
    ApplyViewCursor();
}

void QPView::ApplyViewCursor()
{
    if (IsWindow()) SetCursorShape(HotColumn ? TCursorShape::SizeWE : ViewCursor);
}

void QPView::SetMode(unsigned newMode, unsigned oldMode)
{
    if (newMode == oldMode) return;
    SetViewCursor(TCursorShape::Arrow);
    SetCursorKind(0);
    PickKind = 0;
    ClearSelection();

    auto setModeButton = [this](int command, int picture, bool pressed) {
        bars_.modeButtonCommand = command;
        bars_.modeButtonPicture = picture;
        bars_.modeButtonPressed = pressed;
    };
    auto refused = [] { MessageBeep(0); };
    const unsigned tool = newMode & pmInsertMask;

    if (oldMode == 0) {
        bars_.installed = true;
        bars_.palette = kDisplayPalette;
        bars_.mainBar = RestingMainBar();
        setModeButton(cmLayoutMode, 6, false);
        Unpress(bars_.pressed, cmDataEntry);
        bars_.toolsPopup = 116;
        Mode = newMode;
    } else if (newMode == 0) {
        entryBox_->ShowWindow(SW_HIDE);
        nameBox_->ShowWindow(SW_HIDE);
        bars_.entryBoxShown = bars_.nameBoxShown = false;
        bars_.installed = false;
        bars_.palette.clear();
        bars_.mainBar.clear();
        setModeButton(cmModeButtonIdle, 0, false);
        Mode = pmDisplay;
    } else if (newMode == pmDisplay) {
        if (oldMode != pmLayout && oldMode != pmDataEntry) return refused();
        if (oldMode == pmLayout) bars_.palette = kDisplayPalette;
        if (oldMode == pmDataEntry) {
            entryBox_->ShowWindow(SW_HIDE);
            bars_.entryBoxShown = false;
        }
        bars_.mainBar = RestingMainBar();
        setModeButton(cmLayoutMode, 6, false);
        Unpress(bars_.pressed, cmDataEntry);
        bars_.toolsPopup = 116;
        Mode = pmDisplay;
    } else if (newMode == pmDataEntry) {
        if (oldMode != pmDisplay) return refused();
        bars_.mainBar = {gdEntryLabel, gdSeparator, cmCancelEntry, cmConfirmEntry, gdSeparator,
                         cmEntryBox,   gdSeparator, cmDelete};
        entryBox_->ShowWindow(SW_SHOW);
        bars_.entryBoxShown = true;
        setModeButton(cmStopEntry, 3, false);
        Press(bars_.pressed, cmDataEntry);
        bars_.toolsPopup = 117;
        Mode = pmDataEntry;
        PickKind = 1;
        SetCursorKind(2);
        ShowCursor();
    } else if (newMode == pmLayout) {
        if (oldMode != pmDisplay && (oldMode & pmLayoutMask) == 0) return refused();
        if (oldMode == pmDisplay) {
            bars_.palette = kToolPalette;
        } else {
            nameBox_->ShowWindow(SW_HIDE);
            bars_.nameBoxShown = false;
            TakeFocus();
        }
        bars_.mainBar = {cmDelete};
        setModeButton(cmNormalView, 2, true);
        ResetToolButtons();
        bars_.toolsPopup = 118;
        ClearSelection();
        PickKind = 2;
        Mode = pmLayout;
    } else if (tool != 0) {
        if (oldMode != pmLayout) return refused();
        ResetToolButtons();
        bars_.mainBar = {cmDelete, gdSeparator, gdToolText, gdSeparator, cmNameBox};
        if (tool != pmControls) {
            for (int id : {static_cast<int>(gdSeparator), 2496, 2497, 2498, 2499}) bars_.mainBar.push_back(id);
        }
        if (tool == pmStandards || tool == pmQuantitative) {
            for (int id : {static_cast<int>(gdSeparator), 2493, 2494, 2495}) bars_.mainBar.push_back(id);
        }
        const unsigned kindBit = tool == pmControls ? 1 : tool == pmStandards ? 4 : tool == pmQualitative ? 2 : 8;
        FillNameBox(kindBit);
        nameBox_->ShowWindow(SW_SHOW);
        bars_.nameBoxShown = true;
        setModeButton(cmPointer, 3, false);
        bars_.toolText.clear();
        bars_.toolsPopup = tool == pmControls ? 119 : tool == pmStandards ? 121 : tool == pmQualitative ? 120 : 122;
        Mode = newMode;
        PickKind = 4;
        SetViewCursor(TCursorShape::Cross);
    } else if (newMode == pmRepeat || newMode == pmEdit) {
        bars_.mainBar = {gdToolText};
        ResetToolButtons();
        setModeButton(cmPointer, 3, false);
        if (newMode == pmRepeat) {
            Press(bars_.pressed, cmRepeat);
            MoveAfter(bars_.palette, cmRepeat, cmQuantitative);
            bars_.toolsPopup = 123;
        } else {
            MoveAfter(bars_.palette, cmEditSample, cmRepeat);
            bars_.toolsPopup = 124;
        }
        bars_.toolText = "?";
        PickKind = 5;
        ClearSelection();
        Mode = newMode;
    } else if (newMode == pmRenumber) {
        bars_.mainBar.clear();
        ResetToolButtons();
        setModeButton(cmPointer, 3, false);
        Press(bars_.pressed, cmRenumber);
        bars_.renumberPicture = 1;
        bars_.renumberText = "1";
        bars_.toolsPopup = 125;
        Mode = pmRenumber;
    } else {
        return refused();
    }
    SetContextHelpId(HelpIdOf(Mode));
    BarsChanged();
}

}  // namespace vyn
