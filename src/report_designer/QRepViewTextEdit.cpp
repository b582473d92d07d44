// Typing a text box's contents in place: the view's editor is laid exactly over the box, in
// the box's own screen font, and what is typed becomes the contents on commit.
#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"
#include "report_designer/QRInPlaceEdit.h"
#include "report_designer/QRepView.h"
#include "reports/RPFont.h"
#include "reports/RPObjectTextBox.h"
#include "reports/RPSection.h"

namespace vyn {

namespace {

TFont ScreenFont(const RPObjectTextBox& box)
{
    const RPLogFont& s = box.Font().Entry().screen;
    TLogFont lf;
    lf.lfHeight = s.height;
    lf.lfWidth = s.width;
    lf.lfWeight = s.weight;
    lf.lfItalic = s.italic;
    lf.lfUnderline = s.underline;
    lf.lfStrikeOut = s.strikeOut;
    lf.lfCharSet = s.charSet;
    lf.lfPitchAndFamily = s.pitchAndFamily;
    lf.lfFaceName = s.Face();
    return TFont(lf);
}

// The character position nearest to x pixels into the text.
int CaretAt(const std::string& text, const TFont& font, int x)
{
    TBitmap probe(4, 4);
    TMemoryDC dc(probe);
    dc.SelectObject(font);
    int chars = 0, prevWidth = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t next = i + 1;
        while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) ++next;
        const int w = dc.GetTextExtent(std::string_view(text).substr(0, next)).cx;
        if (x < (prevWidth + w + 1) / 2) break;
        prevWidth = w;
        ++chars;
        i = next;
    }
    return chars;
}

RPObjectTextBox* SingleTextBox(const std::vector<RPObject*>& selection)
{
    if (selection.size() != 1 || selection.front()->GetType() != otTextBox) return nullptr;
    return static_cast<RPObjectTextBox*>(selection.front());
}

}  // namespace

void QRepView::BeginTextEdit(bool byMouse, TPoint press)
{
    if (textEditor_->IsWindow()) {
        const bool hadFocus = textEditor_->HasFocus();
        textEditor_->ShowWindow(SW_HIDE);
        if (hadFocus) SetFocus();
    }
    editedObject_ = nullptr;
    RPObjectTextBox* box = SingleTextBox(selection_);
    if (!box || !textEditor_->IsWindow()) return;
    editedObject_ = box;
    marksHiddenForEdit_ = box->Selected();
    if (marksHiddenForEdit_) box->ToggleSelect();

    const TFont font = ScreenFont(*box);
    textEditor_->SetWindowText(box->GetContents());
    textEditor_->SetWindowFont(font, false);
    textEditor_->ClearModify();
    const TRect r = box->GetEditRect();
    textEditor_->MoveWindow(r);
    textEditor_->ShowWindow(SW_SHOWNA);
    textEditor_->SetFocus();
    if (!byMouse) {
        textEditor_->SetSelection(0, 0x7FFFFFFF);
    } else {
        const int caret = CaretAt(box->GetContents(), font, press.x - r.left);
        textEditor_->SetSelection(caret, caret);
    }
}

int QRepView::CommitTextEdit(bool restoreFocus)
{
    if (!editedObject_) return 0;
    const bool hadFocus = textEditor_->HasFocus();
    textEditor_->ShowWindow(SW_HIDE);
    RPObjectTextBox* box = SingleTextBox(selection_);
    if (box && box == editedObject_) {
        if (textEditor_->IsModified()) {
            const std::string text = textEditor_->GetWindowText();
            SetModified();
            box->StoreContents(text);
            box->Invalidate();
        }
        if (marksHiddenForEdit_ && !box->Selected()) box->ToggleSelect();
        AttrUpdated(AttrUpdate::ReloadValues);
    }
    marksHiddenForEdit_ = false;
    if (restoreFocus && hadFocus) SetFocus();
    editedObject_ = nullptr;
    return 0;
}

void QRepView::CancelTextEdit(bool restoreFocus)
{
    if (!editedObject_) return;
    const bool hadFocus = textEditor_->HasFocus();
    textEditor_->ShowWindow(SW_HIDE);
    if (restoreFocus && hadFocus) SetFocus();
    RPObjectTextBox* box = SingleTextBox(selection_);
    if (box && box == editedObject_ && marksHiddenForEdit_ && !box->Selected()) box->ToggleSelect();
    marksHiddenForEdit_ = false;
    editedObject_ = nullptr;
}

int QRepView::TextEditorCommand(unsigned id, TWindow* control)
{
    if (control != textEditor_) return 0;
    if (id == cmEditEsc) CancelTextEdit(true);
    else if (id == cmEditEnter) CommitTextEdit(true);
    return 1;
}

}  // namespace vyn
