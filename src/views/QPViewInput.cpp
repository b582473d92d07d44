// Mouse and keyboard of the plate view: the selection drag with its states, timers and
// auto-scrolling, the keyboard's cell cursor and space-bar drag, the column-width drag in the
// header row, and what each tool does with a finished drag.
#include <algorithm>

#include "controls/QGCombo.h"
#include "controls/QGEdit.h"
#include "document/QDoc.h"
#include "platform/core/AsciiText.h"
#include "evaluator/NumFormat.h"
#include "platform/core/StringTable.h"
#include "platform/gui/Dc.h"
#include "platform/gui/MsgBox.h"
#include "plate/QPlate.h"
#include "views/QPView.h"

#if __has_include("platform/gui/Keyboard.h")
#include "platform/gui/Keyboard.h"
#define VYN_HAVE_KEY_STATE 1
#endif

namespace vyn {

namespace {

// Shared by all plate views: only one drag can run at a time.
int sDragState = QPView::dsNone;
int sDragDirection = -1;
// The Ctrl key as the view last heard of it (mouse messages and Ctrl key messages).
bool sCtrlSeen = false;

constexpr unsigned kTimerTick = 1, kTimerFrame = 2;
constexpr int kMsgNoDescriptor = 1640;
constexpr unsigned kFirstTickMs = 650, kRepeatMs = 80;

bool IsMoveKey(unsigned key) { return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN || key == VK_HOME || key == VK_END; }

}  // namespace

int QPView::DragStateNow() { return sDragState; }
int QPView::DragDirection() { return sDragDirection; }

bool QPView::CtrlDown() const
{
#ifdef VYN_HAVE_KEY_STATE
    if (GetKeyState(VK_CONTROL) < 0) return true;
#endif
    return sCtrlSeen;
}

void QPView::ClearSelection()
{
    for (int i = 0; i < Wells; ++i) {
        if (Selected[static_cast<std::size_t>(i)] == 0) continue;
        Selected[static_cast<std::size_t>(i)] = 0;
        InvalidateWell(i);
    }
    SelectedCount = 0;
}

int QPView::SelectSampleWells(const QSample& sample)
{
    int changed = 0;
    for (const QSegm& e : sample.wells) {
        if (e.well < 0 || e.well >= Wells) continue;
        unsigned char& b = Selected[static_cast<std::size_t>(e.well)];
        if (b & 1) continue;
        b |= 1;
        ++SelectedCount;
        ++changed;
        InvalidateWell(e.well);
    }
    return changed;
}

// --- the selection drag ---------------------------------------------------------------------

void QPView::StartDragTimers()
{
    SetTimer(kTimerTick, kFirstTickMs);
    SetTimer(kTimerFrame, kRepeatMs);
}

bool QPView::BeginDrag(int col, int row, bool keyboard)
{
    UpdateWindow();
    sDragDirection = -1;
    sDragState = dsNone;
    AnchorCol = prevCol_ = col;
    AnchorRow = prevRow_ = row;
    const int i = row * Cols + col;
    const QSample* sample = Plate->wells[static_cast<std::size_t>(i)].sample;
    auto selectOnly = [&] {
        ClearSelection();
        Selected[static_cast<std::size_t>(i)] = 1;
        SelectedCount = 1;
        InvalidateWell(i);
    };
    int frameStyle = -1;
    switch (PickKind) {
    case 0:
    case 1:
        if (keyboard) return false;
        break;
    case 4:
        if (DragToggle) return false;
        sDragState = dsInsertFrame;
        frameStyle = 2;
        break;
    case 2: {
        const bool selected = (Selected[static_cast<std::size_t>(i)] & 1) != 0;
        if (!sample) {
            if (!DragToggle) ClearSelection();
            sDragState = DragToggle ? dsCtrlEmpty : dsRectangle;
        } else if (!selected) {
            if (DragToggle) {
                Selected[static_cast<std::size_t>(i)] = 1;
                ++SelectedCount;
                InvalidateWell(i);
                sDragState = dsCtrlAdded;
            } else {
                selectOnly();
                sDragState = dsPicked;
            }
        } else {
            sDragState = DragToggle ? dsCtrlPressSelected : dsPressSelected;
        }
        frameStyle = 0;
        break;
    }
    case 5:
        if (!sample) {
            MessageBeep(0);
            return false;
        }
        selectOnly();
        break;
    case 6:
        if (!sample || (sample->kind != skQualitative && sample->kind != skQuantitative) ||
            (Mode == pmRenumber && !AcceptRenumber(*sample))) {
            MessageBeep(0);
            return false;
        }
        selectOnly();
        break;
    default: return false;
    }
    UpdateWindow();
    if (frameStyle >= 0) DrawDragFrame(frameStyle, col, row, col, row);
    SetCapture();
    SetCursorShape(keyboard ? TCursorShape::None : TCursorShape::Cross);
    return true;
}

void QPView::ApplyRectangle(int col, int row)
{
    UpdateRubberBand(AnchorCol, AnchorRow, prevCol_, prevRow_, AnchorCol, AnchorRow, col, row);
}

void QPView::ExtendDrag(int col, int row, bool scrollFirst)
{
    if (col == AnchorCol && row == AnchorRow) sDragDirection = -1;
    else if (sDragDirection == -1) sDragDirection = col == AnchorCol ? 1 : 0;

    // Whatever the drag draws goes before any other drawing into the window.
    const bool frame = PickKind >= 2 && PickKind <= 4;
    if (frame) EraseDragFrame();
    if (scrollFirst && !IsCursorCellVisible(col, row)) {
        const int lastCol = LastColShown(true), lastRow = LastRowShown(true);
        int fc = FirstCol, fr = FirstRow;
        if (lastCol < FirstCol || col < FirstCol) fc = col;
        else if (col > lastCol) fc += col - lastCol;
        if (lastRow < FirstRow || row < FirstRow) fr = row;
        else if (row > lastRow) fr += row - lastRow;
        ScrollTo(fc, fr);
    }

    if (frame) {
        switch (sDragState) {
        case dsMove:
            MoveBlockTo(col, row);
            break;
        case dsInsertFrame: break;
        case dsCtrlEmpty:
        case dsCtrlAdded:
        case dsCtrlPressSelected:
            FreezeSelection();
            ApplyRectangle(col, row);
            sDragState = dsRectangle;
            break;
        case dsPicked:
        case dsCtrlAddedReleased:
            ApplyRectangle(col, row);
            sDragState = dsRectangle;
            break;
        case dsPressSelected:
        case dsCtrlPressReleased:
            ClearSelection();
            Selected[static_cast<std::size_t>(AnchorRow * Cols + AnchorCol)] = 1;
            SelectedCount = 1;
            InvalidateWell(AnchorRow * Cols + AnchorCol);
            ApplyRectangle(col, row);
            sDragState = dsRectangle;
            break;
        default: ApplyRectangle(col, row); break;
        }
        UpdateWindow();
        if (sDragState == dsMove)
            DrawDragFrame(1, Marks.MovedLeft, Marks.MovedTop, Marks.MovedRight, Marks.MovedBottom);
        else DrawDragFrame(sDragState == dsInsertFrame ? 2 : 0, AnchorCol, AnchorRow, col, row);
    } else if (PickKind == 5 || PickKind == 6) {
        const int a = AnchorRow * Cols + AnchorCol;
        const bool want = col == AnchorCol && row == AnchorRow;
        unsigned char& b = Selected[static_cast<std::size_t>(a)];
        if (((b & 1) != 0) != want) {
            b = want ? 1 : 0;
            SelectedCount += want ? 1 : -1;
            InvalidateWell(a);
            UpdateWindow();
        }
    }
    prevCol_ = col;
    prevRow_ = row;
    if (scrollFirst) UpdateWindow();
}

void QPView::EndDrag()
{
    if (sDragDirection == -1) sDragDirection = 0;
    if (PickKind >= 2 && PickKind <= 4) {
        EraseDragFrame();
        ClearSelectionMarks();
        if (sDragState == dsPressSelected) {
            ClearSelection();
            Selected[static_cast<std::size_t>(AnchorRow * Cols + AnchorCol)] = 1;
            SelectedCount = 1;
            InvalidateWell(AnchorRow * Cols + AnchorCol);
        }
    }
    ApplyViewCursor();
    ReleaseCapture();
    const int state = sDragState;
    const bool keyDrag = KeyDrag;
    Dragging = KeyDrag = false;
    KillTimer(kTimerTick);
    KillTimer(kTimerFrame);
    sDragState = dsNone;
    (void)keyDrag;
    if (Mode & pmInsertMask) PlaceByTool();
    else if (Mode == pmEdit) EditPicked();
    else if (Mode == pmRepeat) RepeatPicked();
    else if (Mode == pmRenumber) RenumberPicked();
    else if (Mode == pmLayout && state == dsMove) MoveSelection();
    UpdateWindow();
}

void QPView::AutoScrollStep()
{
    int col = 0, row = 0, sx = 0, sy = 0;
    TrackHit(col, row, sx, sy);
    const int tc = std::clamp(col + sx, 0, Cols - 1), tr = std::clamp(row + sy, 0, Rows - 1);
    if (sx != 0 || sy != 0) {
        ExtendDrag(tc, tr, true);
        PlaceCursor(tc, tr);
    }
    int c2 = 0, r2 = 0;
    if (TrackHit(c2, r2, sx, sy)) {
        AutoScroll = true;
        SetTimer(kTimerTick, kRepeatMs);
    }
}

void QPView::EvTimer(unsigned id)
{
    if (id == kTimerFrame) {
        if (Dragging) DrawFrameEdges(nullptr);
        return;
    }
    if (id != kTimerTick) return TWindow::EvTimer(id);
    KillTimer(kTimerTick);
    if (!Dragging) return;
    if (FirstTick) {
        FirstTick = false;
        const bool held = sDragState == dsPicked || sDragState == dsCtrlAdded || sDragState == dsPressSelected ||
                          sDragState == dsCtrlPressSelected || sDragState == dsCtrlAddedReleased ||
                          sDragState == dsCtrlPressReleased;
        // A press on a sample well held without moving picks the selection up.
        if (PickKind >= 2 && PickKind <= 4 && held) {
            EraseDragFrame();
            ClearSelectionMarks();
            BeginBlockMove();
            sDragState = dsMove;
            UpdateWindow();
            DrawDragFrame(1, Marks.MovedLeft, Marks.MovedTop, Marks.MovedRight, Marks.MovedBottom);
            if (!KeyDrag) ApplyViewCursor();
        }
        return;
    }
    if (AutoScroll) {
        AutoScroll = false;
        AutoScrollStep();
    }
}

// --- mouse ----------------------------------------------------------------------------------

void QPView::EvLButtonDown(unsigned modKeys, const TPoint& p)
{
    sCtrlSeen = (modKeys & MK_CONTROL) != 0;
    if (Dragging || ColumnDrag) return;
    HotColumn = HasFocus_ || HasFocus() ? ColumnBoundaryAt(p) : 0;
    if (HotColumn) {
        ColumnDrag = true;
        HideCursor();
        UpdateWindow();
        SetCapture();
        const int k = HotColumn - FirstCol;
        DragLeft = HeaderWidth - 1;
        DragX = k * CellWidth + DragLeft;
        DragOffset = DragX - p.x;
        DrawColumnLines();
        return;
    }
    LastMouse = p;
    int col = 0, row = 0;
    if (!HitCell(col, row)) return;
    DragToggle = (modKeys & MK_CONTROL) != 0;
    if (CursorShown) PlaceCursor(col, row);
    else {
        CurCol = col;
        CurRow = row;
    }
    AnchorCol = col;
    AnchorRow = row;
    if (!BeginDrag(col, row, false)) return;
    Dragging = true;
    KeyDrag = false;
    FirstTick = true;
    AutoScroll = false;
    StartDragTimers();
}

void QPView::DrawColumnLines()
{
    const int k = HotColumn - FirstCol;
    if (k <= 0 || !IsWindow()) return;
    DrawNow([&](TDC& dc) {
        const int oldRop = dc.SetROP2(R2_NOT);
        for (int i = 0; i <= k; ++i) {
            const int x = i == 0 ? DragLeft : DragLeft + ((DragX - DragLeft) * i + k / 2) / k;
            dc.MoveTo(x, ClientRect.top);
            dc.LineTo(x, ClientRect.bottom);
        }
        dc.SetROP2(oldRop);
    });
}

void QPView::EvMouseMove(unsigned modKeys, const TPoint& p)
{
    if (ColumnDrag) {
        const int x = std::max(p.x + DragOffset, DragLeft + WidthDigit);
        if (x != DragX) {
            DrawColumnLines();
            DragX = x;
            DrawColumnLines();
        }
        return;
    }
    if (!Dragging) {
        const int hot = HasFocus_ || HasFocus() ? ColumnBoundaryAt(p) : 0;
        if (hot != HotColumn) {
            HotColumn = hot;
            ApplyViewCursor();
        }
        return;
    }
    if (KeyDrag) return;
    (void)modKeys;
    LastMouse = p;
    int col = 0, row = 0, sx = 0, sy = 0;
    const bool scroll = TrackHit(col, row, sx, sy);
    if (col == CurCol && row == CurRow) {
        if (!scroll && AutoScroll) {
            AutoScroll = false;
            KillTimer(kTimerTick);
        } else if (scroll && !AutoScroll) {
            FirstTick = false;
            AutoScroll = true;
            SetTimer(kTimerTick, kRepeatMs);
        }
        return;
    }
    FirstTick = false;
    AutoScroll = false;
    KillTimer(kTimerTick);
    HideCursor();
    ExtendDrag(col, row, false);
    if (CursorShown) PlaceCursor(col, row);
    else {
        CurCol = col;
        CurRow = row;
    }
    ShowCursor();
    if (scroll) {
        AutoScroll = true;
        SetTimer(kTimerTick, kRepeatMs);
    }
}

void QPView::EvLButtonUp(unsigned modKeys, const TPoint& p)
{
    sCtrlSeen = (modKeys & MK_CONTROL) != 0;
    if (ColumnDrag) {
        ColumnDrag = false;
        DrawColumnLines();
        ReleaseCapture();
        const int k = HotColumn - FirstCol;
        if (k > 0 && CellTextWidth > 0) {
            const long long s = (static_cast<long long>(DragX - DragLeft - k * CellWidth + CellTextWidth * k) *
                                 Plate->cellWidth) / (static_cast<long long>(CellTextWidth) * k);
            const int scale = static_cast<int>(std::clamp<long long>(s, 10, 240));
            if (scale != Plate->cellWidth) {
                Plate->cellWidth = scale;
                ApplyCellScale(scale);
                Doc->SetDirty();
            }
        }
        HotColumn = ColumnBoundaryAt(p);
        ShowCursor();
        return;
    }
    if (Dragging && !KeyDrag) EndDrag();
}

void QPView::EvLButtonDblClk(unsigned, const TPoint&)
{
    if (Mode == pmDataEntry) {
        bars_.entryLabel = Plate->WellName(CurRow * Cols + CurCol);
        BarsChanged();
        EntryNotify(0);
        entryBox_->OpenSelected(nullptr);
    } else if (Mode == pmDisplay) {
        EvCommand(cmDataEntry, nullptr, 0);
    }
}

void QPView::EvRButtonDown(unsigned, const TPoint&) {}

// --- keyboard -------------------------------------------------------------------------------

unsigned QPView::EvGetDlgCode(const TMsg*) { return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS; }

bool QPView::CursorKeys(unsigned key, bool repeat)
{
    auto target = [&](int& col, int& row) {
        col = CurCol;
        row = CurRow;
        switch (key) {
        case VK_HOME: col = row = 0; break;
        case VK_END: col = Cols - 1; row = Rows - 1; break;
        case VK_LEFT: --col; break;
        case VK_RIGHT: ++col; break;
        case VK_UP: --row; break;
        case VK_DOWN: ++row; break;
        default: break;
        }
        col = std::clamp(col, 0, Cols - 1);
        row = std::clamp(row, 0, Rows - 1);
    };
    if (Dragging) {
        if (key == VK_SPACE || !KeyDrag) return true;
        if (!IsMoveKey(key)) return false;
        int col = 0, row = 0;
        target(col, row);
        if (col != CurCol || row != CurRow) {
            FirstTick = false;
            HideCursor();
            ExtendDrag(col, row, true);
            PlaceCursor(col, row);
            ShowCursor();
        }
        return true;
    }
    if (IsMoveKey(key)) {
        if (!CursorShown) {
            SetCursorKind(1);
            ShowCursor();
            return true;
        }
        int col = 0, row = 0;
        target(col, row);
        MoveCursorTo(col, row);
        return true;
    }
    if (key == VK_ESCAPE) {
        if (CursorShown == 1 && PickKind != 1) {
            SetCursorKind(0);
            return true;
        }
        return false;
    }
    if (key == VK_SPACE && !repeat && CursorShown) {
        DragToggle = CtrlDown();
        if (BeginDrag(CurCol, CurRow, true)) {
            Dragging = KeyDrag = true;
            FirstTick = true;
            AutoScroll = false;
            StartDragTimers();
        }
        return true;
    }
    return false;
}

void QPView::ViewKeys(unsigned key, bool repeat)
{
    const bool ctrl = CtrlDown();
    bool shift = false;
#ifdef VYN_HAVE_KEY_STATE
    shift = GetKeyState(VK_SHIFT) < 0;
#endif
    if (key == VK_ESCAPE && (Mode & pmInsertMask)) {
        if (Mode & pmPatternPending) {
            Mode &= ~static_cast<unsigned>(pmPatternPending);
            nameBox_->ShowWindow(SW_SHOW);
            bars_.nameBoxShown = true;
            BarsChanged();
        } else {
            SetMode(pmLayout, Mode);
        }
    } else if ((Mode == pmDisplay || Mode == pmDataEntry) && !repeat &&
               ((ctrl && (key == VK_INSERT || key == 'C')) || ((shift && key == VK_INSERT) || (ctrl && key == 'V')))) {
        if (ctrl && (key == VK_INSERT || key == 'C')) CopyPlate();
        else PastePlate();
    } else if (key == VK_ESCAPE && (Mode == pmRenumber || Mode == pmEdit)) {
        if (Mode == pmRenumber) EndRenumber();
        else SetMode(pmLayout, Mode);
    } else if (key == VK_ESCAPE && Mode == pmRepeat) {
        if (Pattern) {
            for (const QSegm& e : Pattern->wells) {
                if (e.well < 0 || e.well >= Wells || !(Selected[static_cast<std::size_t>(e.well)] & 1)) continue;
                Selected[static_cast<std::size_t>(e.well)] = 0;
                --SelectedCount;
                InvalidateWell(e.well);
            }
            RestartRepeat();
        } else {
            SetMode(pmLayout, Mode);
            Pattern = nullptr;
            ClearSelection();
        }
    } else if (key == VK_DELETE) {
        EvCommand(cmDelete, nullptr, 0);
    } else if (key == VK_F2 && Mode == pmDataEntry) {
        EditCell();
    } else if (key == VK_ESCAPE && Mode == pmLayout) {
        if (SelectedCount) {
            ClearSelection();
        } else {
            SetLayers(SavedLayers);
            SetMode(pmDisplay, pmLayout);
        }
    }
}

void QPView::EvKeyDown(unsigned key, unsigned, unsigned flags)
{
    if (key == VK_CONTROL) sCtrlSeen = true;
    if (ColumnDrag) return;
    const bool repeat = (flags & KF_REPEAT) != 0;
    if (CursorKeys(key, repeat)) return;
    ViewKeys(key, repeat);
}

void QPView::EvKeyUp(unsigned key, unsigned, unsigned)
{
    if (ColumnDrag) return;
    if (key == VK_CONTROL) {
        sCtrlSeen = false;
        if (Dragging && DragToggle) {
            // The drag turns from adding wells into replacing the selection.
            DragToggle = false;
            if (sDragState == dsCtrlEmpty) {
                ClearSelection();
                sDragState = dsRectangle;
            } else if (sDragState == dsCtrlAdded) {
                ClearSelection();
                Selected[static_cast<std::size_t>(AnchorRow * Cols + AnchorCol)] = 1;
                SelectedCount = 1;
                InvalidateWell(AnchorRow * Cols + AnchorCol);
                sDragState = dsCtrlAddedReleased;
            } else if (sDragState == dsCtrlPressSelected) {
                sDragState = dsCtrlPressReleased;
            }
        }
        return;
    }
    if (key == VK_SPACE && Dragging && KeyDrag) EndDrag();
}

void QPView::EvChar(unsigned ch, unsigned repeatCount, unsigned flags)
{
    if (ColumnDrag) return;
    if (Dragging || Mode != pmDataEntry) {
        TWindow::EvChar(ch, repeatCount, flags);
        return;
    }
    if ((ch >= '0' && ch <= '9') || ch == '+' || ch == '-' || ch == '.' || ch == static_cast<unsigned char>(gDecimalChar)) {
        bars_.entryLabel = Plate->WellName(CurRow * Cols + CurCol);
        BarsChanged();
        entryBox_->OpenWithChar(ch);
    } else if (ch == 27) {
        SetMode(pmDisplay, Mode);
    }
}

// --- what a finished drag does --------------------------------------------------------------

void QPView::PlaceByTool()
{
    const unsigned tool = Mode & pmInsertMask;
    QDesc* desc = SelectedName();
    if (!desc && !(Mode & pmPatternPending)) {
        MessageBeep(0);
        MessageBox(this, GetResString(kMsgNoDescriptor), "Vyn32", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const int from = AnchorRow * Cols + AnchorCol, to = CurRow * Cols + CurCol;
    const bool byColumns = sDragDirection == 1;
    const bool pending = (Mode & pmPatternPending) != 0;
    bool placed = false;
    if (tool == pmControls) {
        placed = Doc->PlaceSampleAt(Plate->globInUse, desc, 0, from, to, byColumns) >= 0;
        Pattern = Plate->globInUse;
    } else if (Arrangement != 3) {
        if (tool == pmStandards) placed = Doc->PlaceStandardAt(Plate->stdInUse, desc, from, to, byColumns, Arrangement) >= 0;
        else placed = Doc->PlaceNewSampleAt(desc, from, to, byColumns, Arrangement) > 0;
        if (tool == pmStandards) Pattern = Plate->stdInUse;
    } else if (pending && Pattern) {
        placed = Doc->RepeatDilutionAt(Pattern, from, to, byColumns);
    } else {
        // Free style builds one sample drag by drag: later drags add to the pattern.
        QSample* target = tool == pmStandards ? Plate->stdInUse : Pattern;
        const int index = Doc->PlaceSampleAt(target, desc, DilutionGroup, from, to, byColumns);
        placed = index >= 0;
        if (placed) Pattern = tool == pmStandards ? Plate->stdInUse : Plate->GetSample(index);
    }
    if (!placed) {
        MessageBeep(0);
        return;
    }
    if (desc && (desc->kind & 1) && !BlankName().empty() && EqualsNoCase(desc->name, BlankName())) TrackBlanks();
    if ((Arrangement == 3 || tool == pmControls) && Pattern) {
        ClearSelection();
        SelectSampleWells(*Pattern);
    }
    if (tool == pmStandards || tool == pmQuantitative) {
        if (pending || Arrangement != 3) DilutionGroup = Pattern ? LastDilutionGroup() + 1 : 0;
        UpdateDilutionLetter();
    }
    SetToolText(ToolLabel());
}

void QPView::EditPicked()
{
    ClearSelection();
    const bool onAnchor = CurCol == AnchorCol && CurRow == AnchorRow;
    QSample* s = Plate->wells[static_cast<std::size_t>(AnchorRow * Cols + AnchorCol)].sample;
    if (!onAnchor || !s) return;
    SetMode(pmLayout, Mode);
    if (s->kind != skGlobal) Arrangement = 3;
    const unsigned tool = s->kind == skGlobal ? pmControls : s->kind == skQualitative ? pmQualitative
                          : s->kind == skStandard ? pmStandards : pmQuantitative;
    BeginTool(s, tool);
}

void QPView::RepeatPicked()
{
    const bool onAnchor = CurCol == AnchorCol && CurRow == AnchorRow;
    if (!Pattern) {
        QSample* s = Plate->wells[static_cast<std::size_t>(AnchorRow * Cols + AnchorCol)].sample;
        if (onAnchor && s && (s->kind == skQualitative || s->kind == skQuantitative)) {
            Pattern = s;
            ClearSelection();
            SelectSampleWells(*s);
            PickKind = 4;
            bars_.repeatPicture = 1;
            SetToolText(ToolLabel());
        } else {
            ClearSelection();
        }
        return;
    }
    const int from = AnchorRow * Cols + AnchorCol, to = CurRow * Cols + CurCol;
    if (!Doc->RepeatSampleAt(Pattern, from, to, sDragDirection == 1)) MessageBeep(0);
}

void QPView::RenumberPicked()
{
    const bool onAnchor = CurCol == AnchorCol && CurRow == AnchorRow;
    QSample* s = Plate->wells[static_cast<std::size_t>(AnchorRow * Cols + AnchorCol)].sample;
    if (!onAnchor || !s || (s->kind != skQualitative && s->kind != skQuantitative) || !AcceptRenumber(*s)) {
        ClearSelection();
        return;
    }
    // A sample already in its place keeps it and is counted.
    const int position = RenumberFirst + RenumberNext_;
    if (s->index != position && !Doc->MoveSampleTo(s, position)) {
        MessageBeep(0);
        return;
    }
    ClearSelection();
    SelectSampleWells(*s);
    CountRenumbered();
}

void QPView::MoveSelection()
{
    const int rows = Marks.AtRow - Marks.GrabRow, cols = Marks.AtCol - Marks.GrabCol;
    if (rows == 0 && cols == 0) return;
    std::vector<unsigned char> before = Selected;
    if (!Doc->MoveSelectedWells(rows, cols, Selected)) {
        // Nothing moved: a target lies off the plate or in another sample's well.
        Selected = before;
        MessageBeep(0);
        return;
    }
    Selected.resize(static_cast<std::size_t>(Wells), 0);
    SelectedCount = 0;
    for (int i = 0; i < Wells; ++i) {
        SelectedCount += Selected[static_cast<std::size_t>(i)] & 1;
        if (Selected[static_cast<std::size_t>(i)] != before[static_cast<std::size_t>(i)]) InvalidateWell(i);
    }
}

}  // namespace vyn
