#pragma once
// TRwPreview: the print preview. A frame over the main window that shows one page of a
// printout at a time, laid out against a context of the real printer so that line breaks,
// pagination and text widths are those of paper. Its client is the desk (TRwPreviewDesk),
// which holds the page window (TPgWin); the margins on the page can be dragged, after which the
// printout is paginated anew. It runs in a modal loop that its close command ends.
#include <memory>
#include <string>

#include "platform/gui/DecoratedFrame.h"

namespace vyn {

class APrintOut;
class TControlBar;
class TDC;
class TPgWin;
class TPrinter;
class TRwPreviewDesk;

// Commands of the preview's bar (each button's picture has the id of its command).
inline constexpr unsigned CM_PREVIEWCOUNTER = 23709;  // the page counter gadget
inline constexpr unsigned CM_PREVIEWCLOSE = 23710;
inline constexpr unsigned CM_PREVIEWPREV = 23711;
inline constexpr unsigned CM_PREVIEWNEXT = 23712;
inline constexpr unsigned CM_PREVIEWPRINT = 23713;
inline constexpr unsigned CM_PREVIEWZOOMIN = 23715;
inline constexpr unsigned CM_PREVIEWZOOMOUT = 23716;
inline constexpr unsigned CM_PREVIEWREPAGINATE = 23717;  // posted by the page window after a margin drag
inline constexpr unsigned CM_PREVIEWMARGINS = 23718;

// Whether the page shows its margin lines; kept for the rest of the run, not saved.
extern int gShowMargins;

class TRwPreview : public TDecoratedFrame {
public:
    static constexpr int kMaxZoom = 3;
    // The result with which the close command ends the modal loop.
    static constexpr int kCloseResult = 2;

    // printout may be null: the preview then shows no page.
    TRwPreview(TWindow* owner, TPrinter* printer, APrintOut* printout);
    ~TRwPreview() override;

    bool Create() override;
    void Destroy(int retVal = 0) override;

    // Runs the modal loop; answers the result of the close command.
    int Execute();

    void SetCounterText(const std::string& text);
    void UpdateCounter();
    std::string GetCounterText() const;
    // Lays the desk out again and places the page window.
    void Relayout();
    // Brings the bar's buttons in line with the commands' enablers.
    void UpdateBar();
    // Whether a command of the preview can act now.
    bool IsCommandEnabled(unsigned id) const;

    TControlBar& GetControlBar() const { return *controlBar; }
    TRwPreviewDesk& GetDesk() const { return *desk; }
    TPgWin& GetPageWindow() const { return *pageWindow; }

    // --- the state the desk and the page window read ---
    int firstActivation = 1;
    TControlBar* controlBar = nullptr;
    TRwPreviewDesk* desk = nullptr;
    TPgWin* pageWindow = nullptr;
    TPrinter* printer;
    APrintOut* printout;
    std::unique_ptr<TDC> printDC;
    TRect pageWindowRect{-12, -12, 10, 10};
    int zoom = 0;
    TSize pageSize;
    int pageCount = 0;
    int currentPage = 0;

protected:
    void EvClose() override;
    void EvGetMinMaxInfo(TMinMaxInfo& info) override;
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;

private:
    void BeginPreview();
    void EndPreview();
    void MakePrintDC();
    void RepaintPage();

    void CmClose();
    void CmPrev();
    void CmNext();
    void CmPrint();
    void CmZoomIn();
    void CmZoomOut();
    void CmRepaginate();
    void CmMargins();

    TWindow* owner_;
    TRect ownerRect_;
    bool ownerHidden_ = false;
    bool inLayout_ = false;
    bool running_ = false;
    bool begun_ = false;
};

// The preview of a printout over the parent window, run modally until the user closes it.
// printer null: the program's printer object (SetPreviewPrinter), else the system's default.
void RunPrintPreview(TWindow* parent, APrintOut& printout, TPrinter* printer = nullptr);
// The printer object the preview and the page setup use when their callers name none.
void SetPreviewPrinter(TPrinter* printer);
TPrinter* GetPreviewPrinter();

}  // namespace vyn
