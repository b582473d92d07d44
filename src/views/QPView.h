#pragma once
// QPView: the plate matrix view of a plate document. It shows the plate as a grid of cells,
// one per well, with up to five stacked text lines per cell (the layers), takes typed values
// through its entry box, edits the layout of controls, standards and samples with the mouse
// and the keyboard, and prints itself as a plate printout.
//
// The view is split by concern over several files: construction, layers and modes
// (QPView.cpp), commands and notifications (QPViewCommands.cpp), mouse and keyboard
// (QPViewInput.cpp), painting (QPViewPaint.cpp), the cell cursor and scrolling
// (QPViewCursor.cpp), hit testing and the drag feedback (QPViewDrag.cpp).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Document.h"
#include "platform/gui/Gdi.h"
#include "platform/gui/Window.h"
#include "printing/APrintOutPlate.h"
#include "views/ViewBars.h"
#include "views/ViewCommands.h"

namespace vyn {

class QDoc;
class QPlate;
class QSample;
class QDesc;
class QGEdit;
class QGCombo;
class TDC;

// QPViewLayer: one text line per shown layer, stacked in bit order.
enum QPViewLayer : unsigned {
    plLayout = 1,
    plIdent = 2,
    plData = 4,
    plMeasured = 8,
    plResult = 16,
};

// QPViewMode: the work mode word.
enum QPViewMode : unsigned {
    pmDisplay = 0x1,
    pmDataEntry = 0x2,
    pmLayout = 0x10,
    pmControls = 0x20,
    pmStandards = 0x40,
    pmQualitative = 0x80,
    pmQuantitative = 0x100,
    pmRepeat = 0x200,
    pmEdit = 0x400,
    pmRenumber = 0x800,
    pmPatternPending = 0x8000,
    pmInsertMask = 0x1E0,
    pmPickMask = 0xE00,
    pmLayoutMask = 0x7FF0,
};

// What the view asks of the application shell. Each hook may be empty (tests, tools): the
// view then does without it as told at each.
struct QPViewShell {
    // The view's frame became active (the shell's current document and active view) or not.
    std::function<void(class QPView&, bool active)> activated;
    // The bars changed; the shell shows QPView::Bars().
    std::function<void(class QPView&)> barsChanged;
    // The status bar's mode text: 1 "LAYOUT EDIT", 2 "DATA ENTRY".
    std::function<void(int)> setModeText;
    std::function<void(int helpId)> help;
    // "Data Type Selection": 0 when cancelled, 4 the data values, 8 the measured values.
    // Without it the data values are chosen.
    std::function<int(int helpId)> askDataType;
    // Resizes the view's frame around the client size (bounded by the MDI client area);
    // false when the frame is minimised or maximised and keeps its size.
    std::function<bool(class QPView&, const TSize& client)> fitFrame;
    // The setting "auto_blank_blank": the blank descriptor whose wells the blanking follows;
    // empty: no tracking.
    std::function<std::string()> autoBlankName;
    // The blank expression's class: 0 blanks only, 1 the name, 2 its average, 3 other; and
    // the ready-made expression of the name (averaged or not).
    std::function<int(const std::string& text, const std::string& name)> classifyBlank;
    std::function<std::string(bool averaged, const std::string& name)> blankText;
    // The document's dialogs; without them the commands do nothing.
    std::function<int(QDoc&, int kind)> editSampleNames;
    std::function<int(QDoc&, bool measured)> importData;
    std::function<int(QDoc&, bool measured)> exportData;
    std::function<int(QDoc&)> subtractData;
    std::function<int(QDoc&)> calculateBlanking;
    std::function<void(const std::string&)> setClipboardText;
    std::function<int(QDoc&, const std::string& text, bool measured)> pastePlate;
    std::function<std::string()> clipboardText;
};

class QPView : public TWindow, public TView, public APrintOutPlate {
public:
    // Shared by every plate view: the drag in progress (one at a time).
    enum DragState {
        dsNone = 0,
        dsRectangle = 1,
        dsMove = 2,
        dsInsertFrame = 3,
        dsCtrlEmpty = 4,
        dsPicked = 5,
        dsCtrlAdded = 6,
        dsPressSelected = 7,
        dsCtrlPressSelected = 8,
        dsCtrlAddedReleased = 10,
        dsCtrlPressReleased = 11,
    };

    // The block-move state of a drag that moves the selected wells.
    struct SMS {
        explicit SMS(int wells);
        int BoxLeft = 0, BoxTop = 0, BoxRight = 0, BoxBottom = 0;
        int GrabCol = 0, GrabRow = 0;
        int AtCol = 0, AtRow = 0;
        int MovedLeft = 0, MovedTop = 0, MovedRight = 0, MovedBottom = 0;
        int MinAtCol = 0, MaxAtCol = 0, MinAtRow = 0, MaxAtRow = 0;
        std::vector<TPoint> MarkPos;
        std::vector<unsigned char> MarkTaken;
        int MarkCount = 0;
    };

    explicit QPView(QDoc& doc, TWindow* parent = nullptr);
    ~QPView() override;

    static QPViewShell& Shell();
    // The window that holds the entry and name boxes: the shell's main tool bar. Set before
    // views are made; none: the view holds them itself.
    static void SetControlHost(TWindow* host);
    // The number of live plate views sharing the view menu descriptor.
    static int MenuUsers();

    // --- framework ---
    bool Create() override;
    void Destroy(int retVal = 0) override;
    const char* GetViewName() override { return "QPView"; }
    bool VnNotify(int event, long item) override;
    bool CanClose() override;
    TWindow* GetWindow() { return this; }
    int GetViewMenu() const { return 111; }
    // The frame's activation: display mode and the gadgets on the bars, or none of them.
    void EvMDIActivate(bool active);
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;
    void EvCommandEnable(TCommandEnabler& ce) override;

    // --- layers and modes ---
    void SetLayers(unsigned mask);
    void ToggleLayer(unsigned command);
    void ShowLayer(unsigned command);
    void HideLayer(unsigned command);
    void SetCellScale(int scale);
    // The client size that shows the whole plate with room for both scroll bars.
    TSize WantedClientSize() const;
    void SetMode(unsigned newMode, unsigned oldMode);
    void ApplyCellScale(int scale);
    void Layout();
    // Resizes the view's frame around the whole plate (a minimised or maximised frame keeps
    // its size and the cells are only laid out again): once the view is framed, and after
    // every relayout.
    void FitFrame();
    void ComputeScroll(int width, int height, int& firstCol, int& firstRow, int& maxCol, int& maxRow) const;

    // --- Part of the operations the commands run ---
    void StartDataEntry();
    void EditCell();
    void EntryNotify(unsigned code);
    void DeleteValue();
    void DeleteSelection();
    void BeginTool(QSample* sample, unsigned tool);
    void RestartRepeat();
    void StartRenumber();
    void RenumberNext();
    void EndRenumber();
    bool AcceptRenumber(const QSample& sample) const;
    void StepDilution(int step);
    void ToggleReplication();
    int SelectSampleWells(const QSample& sample);
    void CopyPlate();
    void PastePlate();
    void CurrentCellChanged(int col, int row);
    void ClearSelection();

    // --- painting ---
    TRect PaneRect(int code) const;
    TRect CellRect(int col, int row) const;
    TPoint CellOrigin(int col, int row) const;
    TRect ColumnHeaderRect(int col) const;
    TRect RowHeaderRect(int row) const;
    void BuildCellBitmaps();
    int GridRight() const;
    int GridBottom() const;
    int LastColShown(bool fully) const;
    int LastRowShown(bool fully) const;

    // --- cell cursor and scrolling ---
    void SetCursorKind(int kind);
    void HideCursor();
    void ShowCursor();
    void SetCursorFocus(bool hasFocus);
    bool IsCursorCellVisible(int col, int row) const;
    void PlaceCursor(int col, int row);
    void MoveCursorTo(int col, int row);
    bool MoveCursorVisible(int col, int row);
    bool ScrollToCursor();
    void ClampCursor();
    void EvScroll(int bar, unsigned code, int thumb);
    bool ScrollTo(int col, int row);
    // The caret's picture and place as the view keeps it; visible means drawn on the image.
    bool CaretExists() const { return caretExists_; }
    bool CaretVisible() const { return caretVisible_; }
    TPoint CaretPos() const { return caretPos_; }
    static TBitmap BuildEntryCaret(int width, int height);

    // --- hit testing and the drag feedback ---
    bool TrackHit(int& col, int& row, int& scrollX, int& scrollY) const;
    bool HitCell(int& col, int& row) const;
    int ColumnBoundaryAt(const TPoint& p) const;
    void FreezeSelection();
    void ClearSelectionMarks();
    int UpdateRubberBand(int c0, int r0, int c1, int r1, int c2, int r2, int c3, int r3);
    void BeginBlockMove();
    bool MoveBlockTo(int col, int row);
    void DrawDragFrame(int style, int c0, int r0, int c1, int r1);
    void DrawFrameEdges(TDC* dc);
    void EraseDragFrame();
    bool FrameUp() const;

    // --- printing ---
    void PrepareHeader() override;
    void PrintCell(TDC& dc, const TRect& lineRect, int col, int row, int line) override;

    // --- state, read by the shell and the tests ---
    const QPViewBars& Bars() const { return bars_; }
    static int DragStateNow();
    static int DragDirection();
    QDesc* SelectedName() const;
    QGEdit* EntryBox() const { return entryBox_; }
    QGCombo* NameBox() const { return nameBox_; }
    const std::vector<unsigned char>& SelectedBytes() const { return Selected; }

    QDoc* Doc;
    QPlate* Plate;
    int Cols, Rows, Wells;
    SMS Marks;
    std::vector<unsigned char> Selected;
    int SelectedCount = 0;
    int PickKind = 0;
    bool Dragging = false;
    bool KeyDrag = false;
    bool DragToggle = false;
    bool FirstTick = false;
    bool AutoScroll = false;
    int AnchorCol = 0, AnchorRow = 0;
    int CurCol = 0, CurRow = 0;
    int CursorShown = 0;
    bool HasFocus_ = false;
    int CursorShowCount = 0;
    TPoint LastMouse;
    int FirstCol = 0, FirstRow = 0;
    int MaxFirstCol = 0, MaxFirstRow = 0;
    TRect ClientRect;
    TSize MinTrackSize;
    int CellScale = 22;
    int LineHeight = 0, WidthM = 0, WidthDigit = 0;
    int CellTextWidth = 0, CellGap = 3, MarginX = 2, MarginY = 2;
    int CellWidth = 0, CellHeight = 0;
    int HeaderWidth = 0, HeaderHeight = 0;
    bool ColumnDrag = false;
    int HotColumn = 0;
    int DragX = 0, DragLeft = 0, DragOffset = 0;
    TCursorShape ViewCursor = TCursorShape::Arrow;
    int SizeNesting = 0;
    unsigned Mode = pmDisplay;
    int Arrangement = 0;
    unsigned EntryLayer = plData;
    unsigned SavedLayers = 5;
    unsigned Layers = 5;
    int LayerCount = 2;
    QSample* Pattern = nullptr;
    int RenumberFirst = 0;
    int RenumberNext_ = 0;
    // Which part is being numbered: the start alone cannot tell when there are no fixed
    // samples (both parts start at 0).
    bool RenumberFixedPart = false;
    int DilutionGroup = 0;  // the group of the next dilution letter ("a" + it)

    // Picture of the painting, built at every layout.
    TColor FaceColor{192, 192, 192}, HighlightColor{255, 255, 255}, ShadowColor{128, 128, 128};
    TBitmap UsedPlain, UsedSelected, EmptyPlain, EmptySelected, OverflowMark;
    TBitmap MoveMarkFree, MoveMarkTaken;
    int MarkWidth = 0, MarkHeight = 0, MarkOffsetX = 0, MarkOffsetY = 0;
    TBitmap Glyphs[3];
    TBitmap KeyCursorBitmap, EntryCursorBitmap;

protected:
    void SetupWindow() override;
    void CleanupWindow() override;
    void Paint(TDC& dc, bool erase, TRect& rect) override;
    void EvSize(unsigned sizeType, const TSize& size) override;
    void EvGetMinMaxInfo(TMinMaxInfo& info) override;
    void EvSetFocus(TWindow* lost) override;
    void EvKillFocus(TWindow* gets) override;
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;
    void EvKeyUp(unsigned key, unsigned repeatCount, unsigned flags) override;
    void EvChar(unsigned ch, unsigned repeatCount, unsigned flags) override;
    unsigned EvGetDlgCode(const TMsg* msg) override;
    void EvTimer(unsigned id) override;
    void EvHScroll(unsigned code, unsigned pos, TWindow* control) override;
    void EvVScroll(unsigned code, unsigned pos, TWindow* control) override;
    void EvLButtonDown(unsigned modKeys, const TPoint& p) override;
    void EvLButtonUp(unsigned modKeys, const TPoint& p) override;
    void EvLButtonDblClk(unsigned modKeys, const TPoint& p) override;
    void EvRButtonDown(unsigned modKeys, const TPoint& p) override;
    void EvMouseMove(unsigned modKeys, const TPoint& p) override;

private:
    // construction and modes
    void MeasureGeometry();
    void ResetToolButtons();
    void FillNameBox(unsigned kindBit);
    void SetToolText(const std::string& text);
    void BarsChanged();
    void UpdateDilutionLetter();
    int LastDilutionGroup() const;
    void SetViewCursor(TCursorShape shape);
    bool LayerAllowed(unsigned command) const;
    void TrackBlanks();
    // The layer that copy and paste exchange; false when the mode or the layers give none.
    bool ClipboardLayer(bool& measured) const;
    std::string ToolLabel() const;
    void SetRenumberLabel();
    bool RenumberDone() const;
    void CountRenumbered();
    std::string BlankName() const;
    void ApplyViewCursor();
    // commands
    void CmNames();
    void CmTransform();
    void CmHelp();
    void SwitchToLayout();
    bool NoPickTool() const { return (Mode & pmPickMask) == 0; }
    void TakeFocus();
    void ImportOrExport(bool import);
    void CmArrangement(int arrangement);
    void CmStandards();
    void RepaintChangedWells();
    void SampleSelected(long index);
    // input
    bool BeginDrag(int col, int row, bool keyboard);
    void ExtendDrag(int col, int row, bool scrollFirst);
    void EndDrag();
    void ApplyRectangle(int col, int row);
    void StartDragTimers();
    void AutoScrollStep();
    void MoveSelection();
    void PlaceByTool();
    void EditPicked();
    void RepeatPicked();
    void RenumberPicked();
    bool CursorKeys(unsigned key, bool repeat);
    void ViewKeys(unsigned key, bool repeat);
    void DrawColumnLines();
    void InvalidateWell(int well);
    bool CtrlDown() const;
    // painting
    void PaintCell(TDC& dc, TDC& canvas, int col, int row, bool selected);
    void PaintPane(TDC& dc, int code, const TPen& face, const TPen& highlight, const TPen& shadow);
    void BuildMoveMarks();
    // caret
    void CaretCreate();
    void CaretDestroy();
    void CaretShow();
    void CaretHide();
    void CaretMove(TPoint p);
    void CaretDraw();
    const TBitmap& CaretBitmap() const { return CursorShown == 2 ? EntryCursorBitmap : KeyCursorBitmap; }
    // drag frame
    void PrepareDragFrame(int style);
    void InvertInside(TDC& dc);
    void InvertMarks(TDC& dc);

    QGEdit* entryBox_ = nullptr;
    QGCombo* nameBox_ = nullptr;
    QPViewBars bars_;
    // The caret, drawn by inversion on the window's image.
    bool caretExists_ = false;
    bool caretVisible_ = false;
    TPoint caretPos_{-200, -200};
    TBitmap caretPicture_;
    TDC* paintDC_ = nullptr;  // the paint's context while Paint runs
    int moveAnchorCol_ = 0, moveAnchorRow_ = 0;  // the previous cell of the rectangle drag
    int prevCol_ = 0, prevRow_ = 0;
    int renumberLimit_ = 0;
};

// The value of the n-th set bit (from 0) among the mask's low 16 bits; 0 when there is none.
int NthSetBit(unsigned mask, int n);

// The view and its window for the "Plates" document template: the view is the window.
std::unique_ptr<QPView> MakePlateView(QDoc& doc, TWindow* parent = nullptr);

}  // namespace vyn
