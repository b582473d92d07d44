#pragma once
// QRAttrDlg: the report designer's property grid. It shows one row per attribute that the
// current target has (the report, the active band, one object, the multiple selection or a
// tool's defaults), in a fixed order, and edits one row at a time in place. A row writes its
// value when its edit ends without being cancelled; the editor itself never writes.
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Window.h"
#include "report_designer/AttrGlobals.h"

namespace vyn {

class SCtrl;
class QRepView;
class RPObjAttr;

// The target of the attribute editor for a view, and the header's text: kind 0 a tool's
// defaults, 4 the active band, 2 several objects, 3 one object, 1 the report.
int AttrTargetKind(const QRepView& view);
RPObjAttr& GetAttrTarget(QRepView& view, std::string& description);

class QRAttrDlg : public TWindow, public QRAttrGlobals {
public:
    explicit QRAttrDlg(TWindow* parent);
    ~QRAttrDlg() override;

    // Builds the font, metrics and every attribute window once; later calls return the editor.
    static QRAttrDlg* CreateEditorWindows(TWindow* mainWindow = nullptr);
    static void CreateFrame();
    static void ShowFor(QRepView* view, int show);
    static void ShowForNoActivate(QRepView* view, int show);
    static TRect GetFrameRect();
    // The window's caption follows the title of the document it is attached to.
    static void DocTitleChanged(const QRepView& view);
    // Connects the report views' attribute hooks to the editor.
    static void InstallViewHooks();

    void Reload(int rowsToo);
    void SetRowsDirty() { rowsDirty_ = 1; }
    void SetValuesDirty() { valuesDirty_ = 1; }
    void BlankRows();
    void Update();

    void SetShown(int shown);
    void SetActive(int active);
    void Refresh() { LayoutRows(); }
    TWindow* BeginModal();
    void EndModal();

    // Geometry by a row's position in the shown rows, in client coordinates.
    int RowTop(int i) const { return (i - topRow_) * gAttrMetrics.rowHeight; }
    int TextTop(int i) const { return RowTop(i) + gAttrMetrics.rowPad; }
    TRect NameRect(int i) const;
    TRect ValueRect(int i) const;
    TRect ValueTextRect(int i) const;
    TRect ValueSwatchRect(int i) const;
    TRect DropListRect(int i, int n) const;
    TRect ButtonRect(int i) const;
    int RowAtPoint(TPoint p) const;
    void VisibleRowRange(const TRect& r, int& first, int& end) const;
    TRect EmptyAreaRect() const;
    void ComputeColumns(const TRect& client);

    // State, for the views and for tests.
    const std::vector<SCtrl*>& ShownRows() const { return shownRows_; }
    SCtrl* CurrentRow() const;
    int CurrentIndex() const { return currentRow_; }
    int TopRow() const { return topRow_; }
    bool Blank() const { return blank_ != 0; }
    int ModalDepth() const { return modalDepth_; }
    SCtrl* RowWithCode(int code) const;

protected:
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;
    void Paint(TDC& dc, bool erase, TRect& rect) override;
    void EvLButtonDown(unsigned modKeys, const TPoint& p) override;
    void EvVScroll(unsigned code, unsigned pos, TWindow* control) override;
    void EvSize(unsigned sizeType, const TSize& size) override;
    void EvContextMenu(TWindow* window, int x, int y) override;
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;

private:
    void RebuildRows();
    void ReloadValues();
    void LayoutRows();
    void EnsureCurrentVisible();
    void Navigate(unsigned id, TWindow* control);
    void ResumeEdit();

    int topRow_ = 0;
    std::vector<std::unique_ptr<SCtrl>> allRows_;
    std::vector<SCtrl*> shownRows_;
    int blank_ = 0;
    int rowsDirty_ = 1;
    int valuesDirty_ = 1;
    int currentRow_ = -1;
    int shown_ = 0;
    int active_ = 0;
    int modalDepth_ = 0;
    int nameWidth_ = 0, valueWidth_ = 0, valueLeft_ = 0, buttonLeft_ = 0;
    TWindow* modalFocus_ = nullptr;
    bool mainWasEnabled_ = false;
};

}  // namespace vyn
