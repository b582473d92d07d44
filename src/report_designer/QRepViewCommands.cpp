// The report view's commands: clipboard, duplication, stacking order, band layout, tools and
// switches, and the print, preview, page-setup, report-list and help commands.
#include <algorithm>
#include <cstring>

#include "platform/core/StringTable.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Command.h"
#include "platform/gui/MsgBox.h"
#include "report_designer/DesignerDialogs.h"
#include "report_designer/DesignerMetrics.h"
#include "report_designer/QRInPlaceEdit.h"
#include "report_designer/QRepView.h"
#include "reports/ByteIO.h"
#include "report_designer/QRPMDIChild.h"
#include "reports/QRepDoc.h"
#include "reports/RPObject.h"
#include "reports/RPObjectBlock.h"
#include "reports/RPObjectTextBox.h"
#include "reports/RPReport.h"
#include "reports/RPSection.h"
#include "reports/RPShapes.h"

namespace vyn {

namespace {

constexpr int kStrNoApplication = 7251;
constexpr int kStrCannotWriteList = 7252;
constexpr int kStrReportListFull = 7255;
constexpr int kStrReportListChanged = 7929;
constexpr int kStrCannotFit = 7253;
constexpr int kStrTextTooLong = 7254;
// A record stores a text with a 16-bit length; a longer one would come back cut.
constexpr std::size_t kMaxRecordText = 65000;

bool TextFitsRecord(const RPObject& o)
{
    if (o.GetCondition().size() > kMaxRecordText) return false;
    const auto* box = dynamic_cast<const RPObjectTextBox*>(&o);
    return !box || box->GetContents().size() <= kMaxRecordText;
}

}  // namespace

void QRepView::RegisterCommands()
{
    OnCommand(cmRepDuplicate, [this] { CmDuplicate(); });
    OnCommand(cmRepCut, [this] {
        // Only what reached the clipboard is taken away.
        const bool idle = tool_ == 0 && dragState_ == 0 && !Editing();
        if (idle && !selection_.empty() && CmCopy()) CmDelete();
    });
    OnCommand(cmRepCopy, [this] { CmCopy(); });
    OnCommand(cmRepPaste, [this] { CmPaste(); });
    OnCommand(cmRepDelete, [this] { CmDelete(); });
    for (unsigned id : {cmRepBringToTop, cmRepSendToBottom})
        OnCommand(id, [this, id] {
            if (selection_.empty()) return;
            for (RPSection* b : bands_) {
                if (id == cmRepBringToTop) b->BringSelectionToTop();
                else b->SendSelectionToBottom();
            }
            SetModified();
        });
    OnCommand(cmRepSections, [this] { CmSections(); });
    OnCommand(cmRepPointer, [this] {
        tool_ = 0;
        locked_ = false;
        AttrUpdated(AttrUpdate::Reload);
    });
    for (unsigned id : {cmRepTextBox, cmRepRectangle, cmRepLine, cmRepGraph, cmRepPicture, cmRepPageBreak})
        OnCommand(id, [this, id] { CmTool(static_cast<int>(id - cmRepPointer)); });
    OnCommand(cmRepLock, [this] { locked_ = !locked_; });
    OnCommand(cmRepSnap, [this] { snap_ = !snap_; });
    OnCommand(cmRepGrid, [this] {
        showGrid_ = !showGrid_;
        Invalidate(false);
    });
    OnCommand(cmRepAttributes, [this] {
        gAttrEditorShown = !gAttrEditorShown;
        if (auto& f = GetRepViewShell().attrOpen) f(*this, gAttrEditorShown);
    });
    OnCommand(cmRepPageSetup, [this] { CmPageSetup(); });
    OnCommand(cmRepPrint, [this] { CmReportPrint(); });
    OnCommand(cmRepPreview, [this] { CmReportPreview(); });
    OnCommand(cmRepSaveInList, [this] { CmSaveInReportList(); });
    OnCommand(cmRepHelp, [this] {
        if (auto& f = GetRepViewShell().help) f(GetContextHelpId());
    });
}

TResult QRepView::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    if (control && control == textEditor_) {
        TextEditorCommand(id, control);
        return 0;
    }
    // While the text editor has the keyboard the clipboard keys edit its text.
    if (textEditor_->IsWindow() && textEditor_->HasFocus() &&
        (id == cmRepDelete || id == cmRepCopy || id == cmRepCut || id == cmRepPaste)) {
        textEditor_->EditCommand(id);
        return 0;
    }
    return TWindow::EvCommand(id, control, notifyCode);
}

void QRepView::EvCommandEnable(TCommandEnabler& ce)
{
    const unsigned id = ce.GetId();
    if (Editing()) {
        ce.Enable(false);
        return;
    }
    const bool idle = tool_ == 0 && dragState_ == 0;
    switch (id) {
    case cmRepCut: case cmRepCopy: case cmRepDelete: ce.Enable(idle && !selection_.empty()); break;
    case cmRepPaste: ce.Enable(idle && !bands_.empty() && ClipboardOffersObjects()); break;
    case cmRepDuplicate: ce.Enable(idle && !bands_.empty() && !selection_.empty()); break;
    case cmRepBringToTop: case cmRepSendToBottom: ce.Enable(!selection_.empty()); break;
    case cmRepSections: ce.Enable(tool_ == 0); break;
    case cmRepPointer:
        ce.Enable(true);
        ce.SetCheck(tool_ == 0 ? TCommandEnabler::Checked : TCommandEnabler::Unchecked);
        break;
    case cmRepTextBox: case cmRepRectangle: case cmRepLine: case cmRepGraph: case cmRepPicture: case cmRepPageBreak:
        ce.Enable(true);
        ce.SetCheck(tool_ == static_cast<int>(id - cmRepPointer) ? TCommandEnabler::Checked : TCommandEnabler::Unchecked);
        break;
    case cmRepLock: ce.Enable(true); ce.SetCheck(locked_ ? TCommandEnabler::Checked : TCommandEnabler::Unchecked); break;
    case cmRepSnap: ce.Enable(true); ce.SetCheck(snap_ ? TCommandEnabler::Checked : TCommandEnabler::Unchecked); break;
    case cmRepGrid: ce.Enable(true); ce.SetCheck(showGrid_ ? TCommandEnabler::Checked : TCommandEnabler::Unchecked); break;
    case cmRepAttributes:
        ce.Enable(true);
        ce.SetCheck(gAttrEditorShown ? TCommandEnabler::Checked : TCommandEnabler::Unchecked);
        break;
    case cmRepUndo: ce.Enable(false); break;
    default: TWindow::EvCommandEnable(ce);
    }
}

bool QRepView::ClipboardOffersObjects() const
{
    return Clipboard::HasFormat(kRepObjFormat) || Clipboard::HasFormat(kPictureFormat);
}

void QRepView::CmTool(int tool)
{
    tool_ = tool;
    ClearSelection();
    ClearActiveSection();
    AttrUpdated(AttrUpdate::Reload);
}

bool QRepView::CmCopy()
{
    if (tool_ != 0 || dragState_ != 0 || Editing() || selection_.empty()) return false;
    for (const RPObject* o : selection_)
        if (!TextFitsRecord(*o)) {
            MessageBox(this, GetResString(kStrTextTooLong), "", MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
    std::size_t size = 4;
    for (const RPObject* o : selection_) size += static_cast<std::size_t>(o->Write(nullptr));
    std::vector<std::uint8_t> block(size, 0);
    PutU32(block.data(), static_cast<std::uint32_t>(selection_.size()));
    std::size_t pos = 4;
    for (const RPObject* o : selection_) pos += static_cast<std::size_t>(o->Write(block.data() + pos));
    return Clipboard::SetData(kRepObjFormat, block);
}

void QRepView::CmDelete()
{
    if (tool_ != 0 || dragState_ != 0 || Editing() || selection_.empty()) return;
    while (!selection_.empty()) {
        RPObject* o = selection_.back();
        selection_.pop_back();
        if (RPSection* band = o->Owner()) band->RemoveObject(o);
    }
    AttrUpdated(AttrUpdate::Reload);
    SetModified();
}

void QRepView::CmPaste()
{
    if (tool_ != 0 || dragState_ != 0 || Editing() || bands_.empty()) return;
    RPSection* target = activeBand_;
    if (!target && pasteBand_ && SectionIndex(pasteBand_) >= 0) target = pasteBand_;
    if (!target) target = bands_.front();

    std::vector<std::unique_ptr<RPObject>> pasted;
    std::vector<std::uint8_t> block;
    if (Clipboard::GetData(kRepObjFormat, block)) {
        pasted = ReadObjectBlock(block);
    } else if (Clipboard::GetData(kPictureFormat, block)) {
        auto pic = std::make_unique<RPObjectPicture>();
        if (pic->LoadFromFileBytes(block) == 0) {
            KeepInsideReport(*pic);
            pasted.push_back(std::move(pic));
        }
    }
    if (pasted.empty()) return;

    ClearActiveSection();
    ClearSelection();
    TRect extent(0, 0, 0, 0);
    for (const auto& o : pasted) {
        const TRect r = o->TwipsRect();
        if (extent.left == 0 && extent.top == 0 && extent.right == 0 && extent.bottom == 0) extent = r;
        else extent = TRect(std::min(extent.left, r.left), std::min(extent.top, r.top), std::max(extent.right, r.right),
                            std::max(extent.bottom, r.bottom));
    }
    ClampPastePoint(pastePos_);
    // The block goes to the paste point, moved back as far as it must to end inside the report.
    const TPoint to(std::min(pastePos_.x, kMaxTwips - extent.Width()), std::min(pastePos_.y, kMaxTwips - extent.Height()));
    const TPoint offset(to.x - extent.left, to.y - extent.top);
    const int oldY = pastePos_.y;
    pastePos_.y += extent.Height();
    ClampPastePoint(pastePos_);
    if (pastePos_.y == oldY) pastePos_.y += GridStep(1, 1).y;

    std::vector<RPObject*> added;
    for (auto& o : pasted) {
        const TRect r = o->TwipsRect();
        o->SetPos(TPoint(r.left + offset.x, r.top + offset.y));
        added.push_back(target->AddObject(std::move(o)));
    }
    for (RPObject* o : added) SelectObject(o);
    RefreshSection(*target, -1);
    SetReportWidth(-1);
    AttrUpdated(AttrUpdate::Reload);
    SetModified();
}

void QRepView::CmDuplicate()
{
    auto& dialog = GetRepViewShell().duplicateDialog;
    if (!dialog) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    TRect extent;
    DuplicateRequest req;
    int mixed = 0;
    req.objectCount = report_.GetSelectionExtent(extent, req.grid, mixed, req.cellCount, req.commonColumn, req.commonRow);
    req.sectionsDiffer = mixed != 0;
    AttrHide(true);
    const bool ok = dialog(*this, req);
    AttrHide(false);
    if (!ok) return;
    const int done = report_.DuplicateSelection(extent.left, extent.top, extent.right, extent.bottom, req.grid, req.columns,
                                                req.rows, req.smart, req.columnSpacing, req.rowSpacing);
    if (done) {
        if (req.columns * req.rows > 1) SetModified();
    } else {
        MessageBox(this, GetResString(kStrCannotFit), "", MB_OK);
    }
}

bool QRepView::CmSections()
{
    std::string flags(5, '0');
    for (int i = 0; i < 5; ++i) flags[static_cast<std::size_t>(i)] = report_.Band(i).Enabled() ? '1' : '0';
    auto& dialog = GetRepViewShell().sectionsDialog;
    if (!dialog) {
        MessageBeep(MB_ICONEXCLAMATION);
        return true;
    }
    AttrHide(true);
    const bool ok = dialog(*this, flags);
    AttrHide(false);
    if (!ok || flags.size() < 5) return ok;
    for (int i = 0; i < 5; ++i) {
        if (report_.Band(i).Enabled() != (flags[static_cast<std::size_t>(i)] == '1')) {
            ToggleSection(i);
            SetModified();
        }
    }
    return true;
}

void QRepView::CmPageSetup()
{
    auto& f = GetRepViewShell().pageSetup;
    if (!f) {
        MessageBox(this, GetResString(kStrNoApplication), "", MB_OK);
        return;
    }
    AttrHide(true);
    f(*this);
    AttrHide(false);
}

namespace {

// The plate the report runs over: none (the definition) without plate documents, else what
// the printout mode dialog chose. False when the dialog was cancelled.
bool ChooseSource(QRepView& view)
{
    QRepViewShell& shell = GetRepViewShell();
    if (!shell.plateDocumentOpen || !shell.plateDocumentOpen()) {
        view.Report().SetRunSource(nullptr, nullptr);
        return true;
    }
    return shell.choosePrintSource ? shell.choosePrintSource(view) : false;
}

}  // namespace

void QRepView::CmReportPrint()
{
    auto& print = GetRepViewShell().print;
    if (!print) return;
    AttrHide(true);
    if (ChooseSource(*this)) print(*this);
    AttrHide(false);
}

void QRepView::CmReportPreview()
{
    auto& preview = GetRepViewShell().preview;
    if (!preview) return;
    AttrHide(true);
    if (ChooseSource(*this)) preview(*this);
    AttrHide(false);
}

void QRepView::CmSaveInReportList()
{
    auto& save = GetRepViewShell().saveInReportList;
    if (!save) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    const int result = save(*this);
    if (result > 0) {
        doc_.SetDirty(false);
        // In the program the view lies in the designer pane of its MDI frame.
        TWindow* frame = GetParent();
        if (auto* pane = dynamic_cast<QRPDesignerPane*>(frame)) frame = pane->Frame();
        if (frame) frame->PostMessage(WM_CLOSE);
    } else if (result < 0) {
        MessageBox(this,
                   GetResString(result == -2   ? kStrReportListFull
                                : result == -3 ? kStrReportListChanged
                                               : kStrCannotWriteList),
                   "", MB_OK);
    }
}

void QRepView::EvContextMenu(TWindow* window, int x, int y)
{
    if (window == this) {
        if (dragState_ != 0 || !HasFocus()) return;
        // What lies under the pointer is known from its last move; a click that has selected
        // the text box under a resting pointer since then changed it. A request from the
        // keyboard has no point of its own.
        HitTest(x == -1 && y == -1 ? lastPointer_ : ScreenToClient(TPoint(x, y)));
        if (trackCode_ != tcEdit) return;
        BeginTextEdit(false);
        if (!Editing()) return;
    } else if (window == textEditor_) {
        if (!Editing()) return;
    } else {
        TWindow::EvContextMenu(window, x, y);
        return;
    }
    auto& wizard = GetRepViewShell().expressionWizard;
    if (!wizard) return;
    AttrHide(true);
    textEditor_->wizardOpen = true;
    wizard(*this, *textEditor_);
    textEditor_->wizardOpen = false;
    AttrHide(false);
}

}  // namespace vyn
