#pragma once
// QRepView: the report designer's view of a report document. It shows the report's present
// bands one below the other, each a title bar over a body with its objects, and lets the user
// place, select, move and resize objects, drag band heights and the report width, type a text
// box's contents in place and work with the clipboard.
//
// Split by concern: construction, layout, painting, scrolling, keyboard, hit test, selection
// and the model's callbacks (QRepView.cpp); commands (QRepViewCommands.cpp); the mouse
// (QRepViewMouse.cpp); coordinates, outlines, moves and resizes, tab order
// (QRepViewGeometry.cpp); in-place text editing (QRepViewTextEdit.cpp). The report paints
// itself (the report painter's PaintLayout); the view only hands it the update rectangle.
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Document.h"
#include "platform/gui/Window.h"
#include "report_designer/QRepViewShell.h"
#include "reports/IRepView.h"

namespace vyn {

class QRepDoc;
class RPReport;
class RPSection;
class RPObject;
class QHRuler;
class QVRuler;
class QRInPlaceEdit;
class TDC;

// The view's commands.
enum QRepViewCommand : unsigned {
    cmRepBringToTop = 7101,
    cmRepSections = 7102,
    cmRepSendToBottom = 7107,
    cmRepPointer = 7108,
    cmRepTextBox = 7109,
    cmRepRectangle = 7110,
    cmRepLine = 7111,
    cmRepGraph = 7112,
    cmRepPicture = 7113,
    cmRepPageBreak = 7114,
    cmRepLock = 7115,
    cmRepSnap = 7116,
    cmRepGrid = 7117,
    cmRepAttributes = 7118,
    cmRepDuplicate = 7119,
    cmRepSaveInList = 7301,
    cmRepReports = 7302,
    cmRepPrint = 2603,
    cmRepPreview = 2604,
    cmRepHelp = 2005,
    cmRepUndo = 24321,
    cmRepCut = 24322,
    cmRepCopy = 24323,
    cmRepPaste = 24324,
    cmRepDelete = 24325,
    cmRepSave = 24333,
    cmRepPageSetup = 24336,
};

// The in-place editor's control id and the commands it sends its parent.
inline constexpr int kTextEditorId = 11101;
inline constexpr unsigned cmEditApply = 11501, cmEditEsc = 11502, cmEditTab = 11503, cmEditBackTab = 11504,
                          cmEditEnter = 11505, cmEditUp = 11506;

// What lies under the pointer (the model's codes 0 to 11 and the view's own).
enum QRepTrack : int {
    trBorderCorner = 13,
    trReportEdge = 14,
    trBandBorder = 15,
    trBandTitle = 16,
    trBandBody = 17,
    trOutside = 18,
    trToolBand = 19,
    trToolOutside = 20,
};

// The view's gadgets on the shell's bars while its frame is active: command ids, 0 a
// separator 6 pixels wide.
struct QRepViewBars {
    std::vector<unsigned> mainBar;  // after the main bar's anchors
    std::vector<unsigned> toolBar;  // at the end of the second bar
    unsigned sharedButtonCommand = 7108;
    int sharedButtonPicture = 3;
};

class QRepView : public TWindow, public TView, public IRepView {
public:
    explicit QRepView(QRepDoc& doc, TWindow* parent = nullptr);
    ~QRepView() override;

    static QRepViewBars Bars();
    static int LiveViews();
    // The designer's accelerator table: the command of a key with the modifiers held now, 0 for
    // none. The view and the attribute window's value edit both use it.
    static unsigned Accelerator(unsigned key);
    // The help topic of the designer, for the view and the attribute window that serves it.
    static constexpr int kHelpContext = 3290;

    // --- framework ---
    const char* GetViewName() override { return "QRepView"; }
    bool CanClose() override;
    TWindow* GetWindow() { return this; }
    int GetViewMenu() const { return 140; }
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;
    void EvCommandEnable(TCommandEnabler& ce) override;

    // --- state ---
    QRepDoc& Doc() const { return doc_; }
    RPReport& Report() const { return report_; }
    int Tool() const { return tool_; }
    bool Locked() const { return locked_; }
    int GetTrackCode() const { return trackCode_; }
    int DragState() const { return dragState_; }
    bool Active() const { return active_; }
    const std::vector<RPSection*>& BandTable() const { return bands_; }
    RPSection* ActiveBand() const { return activeBand_; }
    RPSection* HitBand() const { return hitBand_; }
    RPObject* HitObject() const { return hitObject_; }
    TPoint PastePosition() const { return pastePos_; }
    QHRuler* HRuler() const { return hRuler_; }
    QVRuler* VRuler() const { return vRuler_; }
    void SetRulers(QHRuler* h, QVRuler* v) { hRuler_ = h; vRuler_ = v; }
    QRInPlaceEdit* TextEditor() const { return textEditor_; }
    RPObject* EditedObject() const { return editedObject_; }
    bool Editing() const { return editedObject_ != nullptr; }

    // --- IRepView ---
    int RepUnitsToPixelsX(int twips, int origin = 0) const override;
    int RepUnitsToPixelsY(int twips, int origin = 0) const override;
    int ScreenPpiX() const override;
    int ScreenPpiY() const override;
    void SetModified() override;
    bool SetReportWidth(int width) override;
    bool RefreshSection(RPSection& band, int height) override;
    bool RefreshAllSections() override;
    void MoveObjectBy(RPObject& object, int dx, int dy) override;
    void ResizeObjectBy(RPObject& object, bool flipX, bool flipY, int dw, int dh) override;
    void InvalidateClient(const TRect& rect) override;
    int ScrollX() const override { return scrollX_; }
    int ScrollY() const override { return scrollY_; }
    int ClientWidth() const override;
    bool SnapToGrid() const override { return snap_; }
    bool ShowGrid() const override { return showGrid_; }
    const std::vector<RPObject*>& Selection() const override { return selection_; }

    // --- bands ---
    void LayoutSections();
    int TotalHeight() const;
    void ToggleSection(int n);
    int SectionIndex(const RPSection* band) const;
    int ActiveSectionIndex() const;
    int SectionLimitY(int n) const;

    // --- selection ---
    void SelectObject(RPObject* obj);
    void DeselectObject(RPObject* obj);
    void ClearSelection(RPSection* band = nullptr);
    void RebuildSelection();
    void SetActiveSection(RPSection* band);
    void ClearActiveSection();

    // --- activation ---
    void SetActive(bool active);
    // The program's main window was activated or deactivated; ownWindow says whether the
    // window taking over belongs to this program.
    void OnDeactivate(bool active, bool ownWindow);
    void EvMDIActivate(bool active);
    void DetachAttrEditor();

    // --- hit test: what lies under a client point; sets the track code, hit band and object ---
    int HitTest(TPoint p);
    RPSection* BandBodyAt(TPoint p) const;
    RPSection* BandBodyAtWide(TPoint p) const;
    RPSection* BandTitleAt(TPoint p) const;
    RPSection* BandBottomAt(TPoint p) const;
    bool AtReportEdge(TPoint p) const;
    TCursorShape CursorFor(int code) const;

    // --- scrolling ---
    void ScrollTo(int bar, int pos);
    void ScrollContent(int bar, int d);

    // --- paste point and grid step ---
    void ClampPastePoint(TPoint& p) const;
    TPoint GridStep(int nx, int ny) const;

    // --- geometry (band pixels of the hit band, twips) ---
    TPoint ClientToBand(TPoint p) const;
    TPoint BandToClient(TPoint p) const;
    void BandRectToClient(TRect& r) const;
    TPoint BandOrigin() const;
    TPoint PixelsToTwipsFrom(TPoint p, TPoint o) const;
    void ClampPoint(TPoint& p) const;
    void ClampSnapPoint(TPoint& p) const;
    TPoint SnapPointDown(TPoint twips) const;
    TPoint SnapPointUp(TPoint twips) const;
    void OutlineHitObject();
    void CollectSelectionRects();
    void OffsetOutlines(int dx, int dy);
    void GrowOutlines(int dx, int dy);
    void FlipOutlines(bool flipX, bool flipY);
    TRect OutlinesBounds() const;
    void DrawDragFrames(TDC& dc) const;
    static bool DrawLines(TDC& dc, const TRect& r);
    void ToggleSelectionMarks();
    const std::vector<TRect>& Outlines() const { return outlines_; }
    void MoveSelectionBy(int dx, int dy);
    void MoveObjectToBand(RPSection& band, RPObject& object, int dx, int dy);
    void ResizeSelectionBy(bool flipX, bool flipY, int dx, int dy);
    TRect SelectionExtent() const;
    TPoint SelectionMaxEdges(bool useLeft, bool useTop) const;
    TPoint SelectionMinEdges(bool useLeft, bool useTop) const;
    bool SelectionLeavesHitBand() const;
    bool NextInTabOrder(bool backward, RPSection*& band, RPObject*& object) const;
    TPoint ScrollToShowPoint(int x, int y) const;
    TPoint ScrollToShowBand(const RPSection& band) const;
    TPoint ScrollToShowObject(const RPObject& object) const;

    // --- commands ---
    bool CmCopy();  // false when nothing reached the clipboard
    void CmDelete();
    void CmPaste();
    void CmDuplicate();
    bool CmSections();  // false when the dialog was cancelled
    void CmTool(int tool);
    void CmPageSetup();
    void CmReportPrint();
    void CmReportPreview();
    void CmSaveInReportList();
    bool ClipboardOffersObjects() const;

    // --- in-place text editing ---
    void BeginTextEdit(bool byMouse, TPoint press = TPoint(0, 0));
    int CommitTextEdit(bool restoreFocus);
    void CancelTextEdit(bool restoreFocus);
    int TextEditorCommand(unsigned id, TWindow* control);

    // --- mouse ---
    void TrackMouse(bool first);
    void EndTrack(bool moved);
    void CreateDroppedObject();
    void AutoScrollStep();
    // The last picture folder of the picture tool, shared by all views.
    static std::string& LastPictureFolder();

    // --- painting, for tests and the screenshot ---
    void PaintLayout(TDC& dc, const TRect& rect);

protected:
    void SetupWindow() override;
    void CleanupWindow() override;
    void Paint(TDC& dc, bool erase, TRect& rect) override;
    void EvSize(unsigned sizeType, const TSize& size) override;
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;
    unsigned EvGetDlgCode(const TMsg* msg) override;
    void EvLButtonDown(unsigned modKeys, const TPoint& p) override;
    void EvLButtonDblClk(unsigned modKeys, const TPoint& p) override;
    void EvLButtonUp(unsigned modKeys, const TPoint& p) override;
    void EvMouseMove(unsigned modKeys, const TPoint& p) override;
    void EvTimer(unsigned id) override;
    void EvHScroll(unsigned code, unsigned pos, TWindow* control) override;
    void EvVScroll(unsigned code, unsigned pos, TWindow* control) override;
    void EvContextMenu(TWindow* window, int x, int y) override;

private:
    // The commands of the view's own response table, each with its handler.
    void RegisterCommands();
    void AttrUpdated(AttrUpdate how);
    void AttrHide(bool hide);
    void ScrollBar(int bar, unsigned code, unsigned pos);
    void EditorHideStep();
    void ApplyTabScroll(TPoint d);
    void PressAction(int code, bool shift);
    TPoint PressOffset() const;
    void TrackResize(bool first, TPoint band);
    void TrackMove(bool first, TPoint band);
    void TrackBorder(bool first, TPoint band);
    void TrackRubber(bool first);
    void TrackPlace(bool first, TPoint band);
    void EraseFeedback();
    void DrawFeedback();
    void DrawGuides(TDC& dc, TPoint at, bool vertical, bool horizontal) const;
    void DrawRubber(TDC& dc, const TRect& r) const;
    TRect AutoScrollFree() const { return freeRect_; }
    void RulerMarks(bool first);

    QRepDoc& doc_;
    RPReport& report_;
    int tool_ = 0;
    bool locked_ = false;
    QRInPlaceEdit* textEditor_ = nullptr;
    RPObject* editedObject_ = nullptr;
    bool marksHiddenForEdit_ = false;
    int trackCode_ = 0;
    std::vector<RPObject*> selection_;
    RPSection* activeBand_ = nullptr;
    RPSection* pasteBand_ = nullptr;
    TPoint pastePos_{0, 0};
    RPObject* hitObject_ = nullptr;
    RPSection* hitBand_ = nullptr;
    std::vector<RPSection*> bands_;
    QHRuler* hRuler_ = nullptr;
    QVRuler* vRuler_ = nullptr;
    int scrollX_ = 0;
    int scrollY_ = 0;
    bool snap_ = true;
    bool showGrid_ = true;
    bool active_ = false;
    int editorHideState_ = 0;

    // Mouse tracking.
    int dragState_ = 0;
    TPoint pressPt_, prevPt_, curPt_;
    TRect trackRect_;
    TRect prevTrackRect_;
    int placement_ = 0;
    TPoint startPos_;      // twips
    TPoint placeOrigin_;   // band pixels
    TPoint tracked_;       // band pixels
    TPoint dragOffset_;
    TPoint lower_, upper_;  // drag limits, band pixels
    bool flipX_ = false, flipY_ = false;
    std::vector<TRect> outlines_;
    bool outlinesDrawn_ = false;
    TRect rubber_;
    bool rubberDrawn_ = false;
    TPoint guide_;
    bool guideDrawn_ = false;
    bool scrolled_ = false;
    bool autoScrolling_ = false;
    TRect freeRect_;
    TPoint lastPointer_;
    int moves_ = 0;
};

}  // namespace vyn
