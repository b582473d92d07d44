#include "platform/gui/PropertySheet.h"

#include <QDialog>
#include <QLabel>
#include <QWidget>

#include "platform/gui/ControlButton.h"

namespace vyn {

TPropertyPage::TPropertyPage(TPropertySheet* sheet, int resId) : TDialog(sheet, resId), sheet_(sheet) {}
TPropertyPage::TPropertyPage(TPropertySheet* sheet, const TDialogTemplate& tmpl) : TDialog(sheet, tmpl), sheet_(sheet) {}

std::string TPropertyPage::GetTitle() const
{
    if (!title_.empty()) return title_;
    return GetTemplate() && GetTemplate()->caption ? GetTemplate()->caption : "";
}

QWidget* TPropertyPage::MakeWidget(QWidget* parentWidget)
{
    QWidget* w = TDialog::MakeWidget(parentWidget);
    // A page is a part of the sheet, not a window of its own.
    if (w) w->setWindowFlags(Qt::Widget);
    return w;
}

void TPropertyPage::SetupWindow()
{
    TDialog::SetupWindow();
    // The pages' texts are paragraphs laid out for their width: they wrap at word ends.
    if (Widget())
        for (QLabel* l : Widget()->findChildren<QLabel*>()) l->setWordWrap(true);
}

// Enter on a page presses the sheet's default button: Next, or Finish on the last page.
void TPropertyPage::CmOk() { sheet_->DialogKey(VK_RETURN, nullptr); }
void TPropertyPage::CmCancel() { sheet_->PressButton(IDCANCEL); }

TPropertySheet::TPropertySheet(TWindow* parent, int resId, TPoint pageOrigin) : TDialog(parent, resId), origin_(pageOrigin)
{
    OnCommand(ID_PSBACK, [this] { PressButton(ID_PSBACK); });
    OnCommand(ID_PSNEXT, [this] { PressButton(ID_PSNEXT); });
    OnCommand(ID_PSFINISH, [this] { PressButton(ID_PSFINISH); });
}

TPropertySheet::TPropertySheet(TWindow* parent, const TDialogTemplate& tmpl, TPoint pageOrigin)
    : TDialog(parent, tmpl), origin_(pageOrigin)
{
    OnCommand(ID_PSBACK, [this] { PressButton(ID_PSBACK); });
    OnCommand(ID_PSNEXT, [this] { PressButton(ID_PSNEXT); });
    OnCommand(ID_PSFINISH, [this] { PressButton(ID_PSFINISH); });
}

void TPropertySheet::AddPage(TPropertyPage* page) { pages_.push_back(page); }

void TPropertySheet::SetupWindow()
{
    TDialog::SetupWindow();
    TRect at = MapDialogRect(TRect(origin_.x, origin_.y, origin_.x + 1, origin_.y + 1), GetBaseUnits());
    for (TPropertyPage* p : pages_)
        if (p->Widget()) {
            p->Widget()->move(at.left, at.top);
            p->Widget()->hide();
        }
    PagesBeforeButtons();
    active_ = -1;
    if (!pages_.empty()) SetActivePage(0);
}

void TPropertySheet::PagesBeforeButtons()
{
    QWidget* top = Widget();
    QWidget* lastPage = nullptr;
    for (TPropertyPage* p : pages_)
        if (p->Widget()) lastPage = p->Widget();
    if (!top || !lastPage) return;
    // The pages were made after the sheet's own controls; the buttons below them move behind
    // the last page, in their order.
    std::vector<QWidget*> buttons;
    bool fromFirstButton = false;
    for (QWidget* w = top->nextInFocusChain(); w && w != top; w = w->nextInFocusChain()) {
        if (w->parentWidget() != top) continue;
        TWindow* c = FromWidget(w);
        if (dynamic_cast<TPropertyPage*>(c)) continue;
        if (dynamic_cast<TButton*>(c)) fromFirstButton = true;
        if (fromFirstButton && w->focusPolicy() != Qt::NoFocus) buttons.push_back(w);
    }
    // The last page's controls follow it in the chain; the buttons go after the last of them.
    QWidget* last = lastPage;
    while (lastPage->isAncestorOf(last->nextInFocusChain())) last = last->nextInFocusChain();
    // Qt orders only widgets that take the focus (a label or a page does for this moment), and
    // puts none behind the very last of the window's chain: a stand-in closes the chain meanwhile.
    const Qt::FocusPolicy lastPolicy = last->focusPolicy();
    if (lastPolicy == Qt::NoFocus) last->setFocusPolicy(Qt::TabFocus);
    auto* end = new QWidget(top);
    end->setFocusPolicy(Qt::TabFocus);
    QWidget* prev = last;
    for (QWidget* b : buttons) {
        QWidget::setTabOrder(prev, b);
        prev = b;
    }
    delete end;
    last->setFocusPolicy(lastPolicy);
}

void TPropertySheet::SetActivePage(int index)
{
    if (index < 0 || index >= GetPageCount()) return;
    if (TPropertyPage* old = GetActivePage(); old && old->Widget()) old->Widget()->hide();
    active_ = index;
    TPropertyPage* p = GetActivePage();
    SetWindowText(p->GetTitle());
    if (p->Widget()) p->Widget()->show();
    p->SetActive();
}

void TPropertySheet::SetWizardButtons(unsigned flags)
{
    if (TWindow* b = GetDlgItem(ID_PSBACK)) b->EnableWindow((flags & PSWIZB_BACK) != 0);
    const bool finish = (flags & PSWIZB_FINISH) != 0;
    TWindow* next = GetDlgItem(ID_PSNEXT);
    TWindow* done = GetDlgItem(ID_PSFINISH);
    TWindow* shown = finish ? done : next;
    TWindow* hidden = finish ? next : done;
    // The button that goes away may hold the focus (the user pressed Next to get here): the
    // one that takes its place is shown first and takes the focus and the default over, so
    // that the focus does not fall to Cancel and Enter goes on.
    const bool hadFocus = hidden && hidden != shown && hidden->HasFocus();
    if (next) next->EnableWindow((flags & PSWIZB_NEXT) != 0);
    if (shown) shown->ShowWindow(SW_SHOW);
    SetDefaultId(finish ? ID_PSFINISH : ID_PSNEXT);
    if (auto* b = dynamic_cast<TButton*>(hidden)) b->SetDefault(false);
    if (auto* b = dynamic_cast<TButton*>(shown)) b->SetDefault(true);
    // Finish also takes the focus from the sheet's other buttons; a page's own field keeps it
    // (Enter there presses the default button all the same).
    TPropertyPage* page = GetActivePage();
    const bool inPage = page && page->HasFocus();
    if (shown && (hadFocus || (finish && !inPage)) && shown->IsWindowEnabled()) shown->SetFocus();
    if (hidden && hidden != shown) hidden->ShowWindow(SW_HIDE);
}

void TPropertySheet::FocusFirstField(TPropertyPage& page)
{
    QWidget* w = page.Widget();
    if (!w || !w->isVisible()) return;
    TWindow* first = page.NextTabStop(&page, true);
    if (first && first->Widget() && w->isAncestorOf(first->Widget())) FocusFromKeyboard(*first);
}

void TPropertySheet::PressButton(int id)
{
    TPropertyPage* p = GetActivePage();
    switch (id) {
    case ID_PSNEXT:
    case ID_PSBACK: {
        const bool next = id == ID_PSNEXT;
        if (!p || (next ? active_ + 1 >= GetPageCount() : active_ <= 0)) break;
        if ((next ? p->WizNext() : p->WizBack()) != 0) break;
        const bool keyboardInPage = p->HasFocus();
        SetActivePage(active_ + (next ? 1 : -1));
        // The keyboard that was in the page gone (a field, or a button's marked letter pressed
        // there) goes on at the first field of the page turned to, not wherever the toolkit
        // puts a focus whose window was hidden. On a button of the sheet it stays there.
        if (TPropertyPage* now = GetActivePage(); now && now != p && keyboardInPage) FocusFirstField(*now);
        break;
    }
    case ID_PSFINISH:
        if (!p || p->WizFinish()) CloseWindow(IDOK);
        break;
    case IDCANCEL: CloseWindow(IDCANCEL); break;
    default: break;
    }
}

}  // namespace vyn
