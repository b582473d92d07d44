#pragma once
// QLView: the samples of one plate as a list, one row per sample in the plate's order (fixed
// samples first): number, identification and result. It serves plain display, entry of
// identifications in an in-place edit, and list modification (delete, fix, define), prints the
// same rows and copies identifications and results. Every change goes through the document.
#include <memory>
#include <string>

#include "platform/core/Document.h"
#include "platform/gui/ControlList.h"
#include "platform/gui/Gdi.h"
#include "platform/gui/Window.h"
#include "printing/APrintOutList.h"
#include "views/QLViewTitles.h"
#include "views/ViewBars.h"
#include "views/ViewCommands.h"

namespace vyn {

class QDoc;
class QGEdit;
class QLViewTitles;
class QPlate;
class QSample;

class QLView : public TWindow, public TView, public APrintOutList {
public:
    enum Mode { mdInactive = 0, mdDisplay = 1, mdIdEntry = 2, mdListModify = 3 };
    static constexpr int kHelpDisplay = 3250, kHelpIdEntry = 3251, kHelpListModify = 3252;

    explicit QLView(QDoc& doc, TWindow* parent = nullptr);
    ~QLView() override;

    const char* GetViewName() override { return "QLView"; }
    // The menu resource the view shows while it is active, and its Tools popup for the mode.
    int GetViewMenu() const { return 112; }
    int ToolsPopup() const { return mode_ == mdIdEntry ? 135 : mode_ == mdListModify ? 134 : 133; }
    bool VnNotify(int event, long item) override;
    bool CanClose() override;

    // --- list ---
    int GetCount() const { return rows_; }
    int GetSelIndex() const { return current_; }
    // The list's own selection, then the selection-change handling (the other views hear of a
    // change).
    void SetSelIndex(int index);
    int GetTopIndex() const { return top_; }
    int GetMode() const { return mode_; }
    void SetMode(int mode);
    // MDI activation of the view's frame.
    void Activated(bool active);

    // --- columns, pixels of the list font ---
    int CharWidth() const { return cw_; }
    int RowHeight() const { return rowHeight_; }
    int NumberWidth() const { return numberWidth_; }
    int IdentWidth() const { return identWidth_; }
    int ResultsPixelWidth() const { return resultsPx_; }
    int SeparatorX() const { return numberWidth_ + identWidth_; }
    int MinWindowWidth() const { return minWidth_; }
    // The width a new list takes: the width the last list was left at, or the width that
    // shows its columns whole when no list was open before; never below the least width.
    int WantedWidth() const;
    int MinWindowHeight() const { return minHeight_; }
    void SetResultsPixelWidth(int w);
    // The strip of column titles that the list's frame shows above it; the list repaints it
    // whenever its columns change.
    void SetTitles(QLViewTitles* titles) { titles_ = titles; }
    QLViewTitles* Titles() const { return titles_; }
    // Every row is one row height high.
    void MeasureItem(TMeasureItem& item) const { item.itemHeight = rowHeight_; }
    QGEdit* Edit() const { return edit_; }
    const QPViewBars& Bars() const { return bars_; }

    // Draws row `index` into rect (what painting shows).
    void DrawRow(TDC& dc, const TRect& rect, int index);
    void Draw(TDC& dc);
    // The texts of a row's three cells, as drawn.
    std::string NumberText(int index) const;
    std::string ResultText(int index, bool& isText) const;

    // --- printing ---
    void LoadMargins() override;
    void StoreMargins() override;
    void LoadFont() override;
    void PrepareHeader() override;
    void PrintRow(TDC& dc, const TRect& rowRect, int row) override;

    // The remembered width of a new list view (quarter character widths), shared by all.
    static int sRememberedWidth;
    static int sCurrentWidth;

protected:
    void SetupWindow() override;
    void Paint(TDC& dc, bool erase, TRect& rect) override;
    void EvSize(unsigned sizeType, const TSize& size) override;
    void EvGetMinMaxInfo(TMinMaxInfo& info) override;
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;
    void EvChar(unsigned ch, unsigned repeatCount, unsigned flags) override;
    void EvLButtonDown(unsigned modKeys, const TPoint& p) override;
    void EvLButtonDblClk(unsigned modKeys, const TPoint& p) override;
    void EvMouseMove(unsigned modKeys, const TPoint& p) override;
    void EvLButtonUp(unsigned modKeys, const TPoint& p) override;
    void EvRButtonDown(unsigned modKeys, const TPoint& p) override;
    void EvVScroll(unsigned code, unsigned pos, TWindow* control) override;
    unsigned EvGetDlgCode(const TMsg* msg) override;
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;
    void EvCommandEnable(TCommandEnabler& ce) override;

private:
    QSample* Current() const;
    void Measure();
    void FitColumns();
    void TakeResultsWidthFromPlate();
    void StoreResultsWidth();
    void SelectionChanged();
    void EnsureVisible();
    int RowAt(int y) const;
    TRect RowRect(int index) const;
    void PlaceEdit();
    // The edit stands on the shell's tool bar (not over the current row).
    bool OnBar() const;
    void FitEditIntoBar();
    void DrawDragLine();
    void Copy();
    void Paste();
    void EditNotify(unsigned code);
    int VisibleRows() const;
    void UpdateBars();
    // The scroll bar's range: the rows below the window; the first row shown within it.
    void UpdateScroll();

    QDoc& doc_;
    QPlate& plate_;
    int rows_ = 0;
    int top_ = 0;
    int current_ = -1;
    int mode_ = mdDisplay;
    QLViewTitles* titles_ = nullptr;
    QPViewBars bars_;
    QGEdit* edit_ = nullptr;
    bool dragging_ = false;
    int dragX_ = 0, dragOffset_ = 0;
    bool overSeparator_ = false;
    TFont font_;
    int cw_ = 8, ch_ = 16;
    int resultsWidth_ = 36;
    int rowHeight_ = 22, numberWidth_ = 34, minIdentWidth_ = 64, identWidth_ = 176, minResultsWidth_ = 32,
        resultsPx_ = 80, margin_ = 4, minWidth_ = 0, minHeight_ = 0;
};

}  // namespace vyn
