#include "platform/gui/Dialog.h"

#include <algorithm>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QKeyEvent>
#include <cmath>

#include "platform/gui/Control.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/Fonts.h"
#include "platform/gui/Keyboard.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/WindowBridge.h"

namespace vyn {

namespace {

int MulDiv(int a, int b, int c)
{
    long long p = static_cast<long long>(a) * b;
    long long q = (std::llabs(p) + c / 2) / c;
    return static_cast<int>(p < 0 ? -q : q);
}

TLogFont DialogLogFont(const std::string& face, int pointSize)
{
    TLogFont lf;
    lf.lfHeight = -MulDiv(pointSize, kScreenDpi, 72);
    lf.lfFaceName = face;
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    return lf;
}

class TDialogWidget : public QDialog {
public:
    TDialogWidget(TDialog* dlg, QWidget* parent) : QDialog(parent), dlg_(dlg) {}
    void Detach() { dlg_ = nullptr; }

protected:
    // Keys that reach the dialog itself (no control has the focus).
    void keyPressEvent(QKeyEvent* e) override
    {
        if (dlg_ && (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
            dlg_->DialogKey(e->key() == Qt::Key_Escape ? VK_ESCAPE : VK_RETURN, nullptr);
            return;
        }
        QDialog::keyPressEvent(e);
    }
    void reject() override
    {
        if (dlg_) dlg_->SendCommand(IDCANCEL);
    }

private:
    TDialog* dlg_;
};

}  // namespace

TDialog::TDialog(TWindow* parent, int resId) : TWindow(parent, 0), tmpl_(FindDialogTemplate(resId))
{
    OnCommand(IDOK, [this] { CmOk(); });
    OnCommand(IDCANCEL, [this] { CmCancel(); });
    // A Help button that the dialog does not handle itself asks for the dialog's help context.
    OnCommand(IDHELP, [this] { RequestHelp(); });
    OnMessage(DM_SETDEFID, [this](TParam1 p1, TParam2) -> TResult {
        SetDefaultId(static_cast<int>(LOWORD(p1)));
        return 1;
    });
}

TDialog::TDialog(TWindow* parent, const TDialogTemplate& tmpl) : TDialog(parent, 0) { tmpl_ = &tmpl; }

TDialog::~TDialog() = default;

TSize TDialog::BaseUnitsOf(const std::string& face, int pointSize)
{
    LoadShippedFonts();
    TLogFont lf = DialogLogFont(face, pointSize);
    auto f = RealizeFont(lf, lf.lfHeight, 0, nullptr);
    int w = f->TextWidth(U"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return TSize((w / 26 + 1) / 2, f->Metrics().tmHeight);
}

TFont TDialog::GetDialogFont() const { return tmpl_ ? TFont(DialogLogFont(tmpl_->fontFace, tmpl_->pointSize)) : TFont(); }

TRect TDialog::MapDialogRect(const TRect& r, TSize bu)
{
    return TRect(MulDiv(r.left, bu.cx, 4), MulDiv(r.top, bu.cy, 8), MulDiv(r.right, bu.cx, 4), MulDiv(r.bottom, bu.cy, 8));
}

void TDialog::MapDialogRect(TRect& r) const { r = MapDialogRect(r, baseUnits_); }

QWidget* TDialog::MakeWidget(QWidget* parentWidget)
{
    if (!tmpl_) return nullptr;
    auto* d = new TDialogWidget(this, parentWidget);
    Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint;
    if (tmpl_->style & dlgstyle::SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    d->setWindowFlags(flags);
    d->setWindowTitle(QString::fromUtf8(tmpl_->caption));
    d->setSizeGripEnabled(false);
    LoadShippedFonts();
    TLogFont lf = DialogLogFont(tmpl_->fontFace, tmpl_->pointSize);
    d->setFont(RealizeFont(lf, lf.lfHeight, 0, nullptr)->Font());
    baseUnits_ = BaseUnitsOf(tmpl_->fontFace, tmpl_->pointSize);
    TRect size = MapDialogRect(TRect(0, 0, tmpl_->cx, tmpl_->cy), baseUnits_);
    d->resize(size.Width(), size.Height());
    if (!(tmpl_->style & dlgstyle::THICKFRAME)) d->setFixedSize(size.Width(), size.Height());
    return d;
}

void TDialog::BuildControls()
{
    // Labels and frames share the id -1: each line gets a control of its own, never the one
    // made for an earlier line with the same id.
    std::vector<TControl*> made(static_cast<std::size_t>(tmpl_->controlCount), nullptr);
    for (int i = 0; i < tmpl_->controlCount; ++i) {
        const TControlTemplate& t = tmpl_->controls[i];
        auto* c = t.id == -1 ? nullptr : dynamic_cast<TControl*>(ChildWithId(t.id));
        if (!c || !c->IsBoundToTemplate()) c = MakeTemplateControl(this, t);
        c->ApplyTemplate(t, MapDialogRect(TRect(t.x, t.y, t.x + t.cx, t.y + t.cy), baseUnits_));
        if (t.style & dlgstyle::DEFPUSHBUTTON) defaultId_ = t.id;
        made[static_cast<std::size_t>(i)] = c;
    }
    // Creation in template order gives the tab order of the template.
    for (int i = 0; i < tmpl_->controlCount; ++i)
        if (TWindow* c = made[static_cast<std::size_t>(i)]) {
            c->Create();
            if (c->Widget()) {
                unsigned s = tmpl_->controls[i].style;
                c->Widget()->setFocusPolicy(s & dlgstyle::TABSTOP ? Qt::StrongFocus : Qt::ClickFocus);
                if (tmpl_->controls[i].kind == TControlKind::STATIC || tmpl_->controls[i].kind == TControlKind::GROUPBOX)
                    c->Widget()->setFocusPolicy(Qt::NoFocus);
            }
        }
    // A group box or a bare frame lies beneath the controls it frames, whichever line of the
    // template declares it, so that clicks within it reach them; frames keep their order among
    // themselves.
    for (int i = tmpl_->controlCount - 1; i >= 0; --i) {
        const TControlTemplate& t = tmpl_->controls[i];
        const bool frame = t.kind == TControlKind::GROUPBOX ||
                           (t.kind == TControlKind::STATIC && (t.style & dlgstyle::BORDER) && (!t.text || !*t.text));
        if (TWindow* c = made[static_cast<std::size_t>(i)]; frame && c && c->Widget()) c->Widget()->lower();
    }
    // A label's marked letter moves the focus to the next control in the tab order.
    for (int i = 0; i < tmpl_->controlCount; ++i) {
        auto* label = dynamic_cast<TStatic*>(made[static_cast<std::size_t>(i)]);
        if (!label) continue;
        TWindow* target = nullptr;
        for (int j = i + 1; j < tmpl_->controlCount && !target; ++j) {
            const TControlTemplate& t = tmpl_->controls[j];
            if ((t.style & dlgstyle::TABSTOP) && t.kind != TControlKind::STATIC && t.kind != TControlKind::GROUPBOX)
                target = made[static_cast<std::size_t>(j)];
        }
        label->SetMnemonicTarget(target);
    }
    lines_.assign(made.begin(), made.end());
}

int TDialog::LineOf(const TWindow* control) const
{
    if (!tmpl_ || !control) return -1;
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i] == control) return static_cast<int>(i);
    return -1;
}

namespace {
bool IsButtonKind(TControlKind k)
{
    return k == TControlKind::BUTTON || k == TControlKind::CHECKBOX || k == TControlKind::RADIOBUTTON;
}

const TDialog* DialogOfControl(const TWindow* control)
{
    return control ? dynamic_cast<const TDialog*>(control->GetParent()) : nullptr;
}

bool TakesKeyboard(const TWindow* w)
{
    return w && w->Widget() && w->IsWindowVisible() && w->IsWindowEnabled() && w->Widget()->focusPolicy() != Qt::NoFocus;
}
}  // namespace

bool TDialog::IsTemplateRadio(const TWindow* control) const
{
    const int at = LineOf(control);
    return at >= 0 && tmpl_->controls[at].kind == TControlKind::RADIOBUTTON;
}

std::vector<TWindow*> TDialog::ButtonGroupOf(const TWindow* control) const
{
    std::vector<TWindow*> group;
    const int at = LineOf(control);
    if (at < 0 || !IsButtonKind(tmpl_->controls[at].kind)) return group;
    const bool radio = tmpl_->controls[at].kind == TControlKind::RADIOBUTTON;
    int first = at;
    while (first > 0 && !(tmpl_->controls[first].style & dlgstyle::GROUP)) --first;
    int last = at + 1;
    while (last < tmpl_->controlCount && !(tmpl_->controls[last].style & dlgstyle::GROUP)) ++last;
    for (int i = first; i < last; ++i) {
        const TControlKind k = tmpl_->controls[i].kind;
        if (radio ? k == TControlKind::RADIOBUTTON : (k == TControlKind::BUTTON || k == TControlKind::CHECKBOX))
            group.push_back(lines_[static_cast<std::size_t>(i)]);
    }
    return group;
}

TWindow* TDialog::GroupEntry(TWindow* control)
{
    const TDialog* dlg = DialogOfControl(control);
    if (!dlg || !dlg->IsTemplateRadio(control)) return control;
    TWindow* first = nullptr;
    for (TWindow* r : dlg->ButtonGroupOf(control)) {
        if (!TakesKeyboard(r)) continue;
        if (auto* b = dynamic_cast<TCheckBox*>(r); b && b->GetCheck() == TCheckBox::BF_CHECKED) return r;
        if (!first) first = r;
    }
    return first ? first : control;
}

void TDialog::FocusFromKeyboard(TWindow& control)
{
    if (!control.Widget()) return;
    control.Widget()->setFocus(Qt::TabFocusReason);
    TMsg m{WM_KEYDOWN, VK_TAB, 1};
    if (control.SendMessage(WM_GETDLGCODE, VK_TAB, reinterpret_cast<TParam2>(&m)) & DLGC_HASSETSEL)
        if (auto* edit = dynamic_cast<TEdit*>(&control)) edit->SetSelection(0, -1);
}

bool TDialog::MoveInGroup(TWindow* focus, unsigned vk)
{
    const std::vector<TWindow*> group = ButtonGroupOf(focus);
    if (group.empty()) return false;
    TMsg m{WM_KEYDOWN, vk, 1};
    if (focus->SendMessage(WM_GETDLGCODE, vk, reinterpret_cast<TParam2>(&m)) & (DLGC_WANTARROWS | DLGC_WANTALLKEYS))
        return false;
    std::vector<TWindow*> ring;
    for (TWindow* w : group)
        if (w == focus || TakesKeyboard(w)) ring.push_back(w);
    const auto at = static_cast<std::size_t>(std::find(ring.begin(), ring.end(), focus) - ring.begin());
    const bool forward = vk == VK_RIGHT || vk == VK_DOWN;
    TWindow* to = ring[(at + (forward ? 1 : ring.size() - 1)) % ring.size()];
    // The key is the group's even when there is nowhere to go: it never leaves the group.
    if (to == focus) return true;
    FocusFromKeyboard(*to);
    // Landing on a radio button checks it, as a click does.
    if (auto* radio = dynamic_cast<TRadioButton*>(to); radio && radio->GetCheck() != TCheckBox::BF_CHECKED) radio->Click();
    return true;
}

bool TDialog::Create()
{
    if (Widget()) return true;
    if (!tmpl_) return false;
    if (GetParent() && !GetParent()->Widget()) return false;
    QWidget* w = MakeWidget(GetParent() ? GetParent()->Widget() : nullptr);
    if (!w) return false;
    AttachWidget(w);
    BuildControls();
    CreateChildren();
    result_ = 0;
    ended_ = false;
    SetupWindow();
    return true;
}

int TDialog::Execute()
{
    if (!tmpl_) return -1;
    modal_ = true;
    if (!Create()) {
        modal_ = false;
        return -1;
    }
    const QPointer<QWidget> focusBefore = QApplication::focusWidget();
    int r = TTestHook::Active() ? TTestHook::RunDialog(*this) : RunModal();
    if (!ended_) result_ = r;
    r = result_;
    if (Widget()) {
        QWidget* w = Widget();
        CleanupWindow();
        ReleaseWidget();
        if (auto* d = dynamic_cast<TDialogWidget*>(w)) d->Detach();
        w->hide();
        w->deleteLater();
    }
    modal_ = false;
    TWindowBridge::GiveFocusBack(focusBefore);
    return r;
}

int TDialog::RunModal()
{
    auto* d = static_cast<QDialog*>(Widget());
    d->setModal(true);
    if (ended_) return result_;
    return d->exec();
}

void TDialog::CloseWindow(int retVal)
{
    if (!Widget()) return;
    result_ = retVal;
    ended_ = true;
    if (modal_) {
        if (auto* d = dynamic_cast<QDialog*>(Widget()); d && d->isVisible()) d->done(retVal);
        return;
    }
    Destroy(retVal);
}

std::string TDialog::GetDlgItemText(int id) const
{
    TWindow* c = ChildWithId(id);
    return c ? c->GetWindowText() : std::string();
}

void TDialog::SetDlgItemText(int id, const std::string& text)
{
    if (TWindow* c = ChildWithId(id)) c->SetWindowText(text);
}

void TDialog::DialogKey(unsigned vk, TWindow* from)
{
    if (vk == VK_ESCAPE) {
        TWindow* cancel = ChildWithId(IDCANCEL);
        SendCommand(IDCANCEL, BN_CLICKED, cancel);
        return;
    }
    // Enter: a focused push button is pressed itself; otherwise the default button. A button
    // that does not call itself a push button (an owner-drawn choice) leaves Enter to the default.
    if (auto* b = dynamic_cast<TButton*>(from);
        b && !dynamic_cast<TCheckBox*>(b) && (static_cast<TWindow*>(b)->EvGetDlgCode(nullptr) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
        SendCommand(static_cast<unsigned>(b->GetId()), BN_CLICKED, b);
        return;
    }
    TWindow* def = ChildWithId(defaultId_);
    if (def && def->Widget() && (!def->IsWindowEnabled() || !def->IsWindowVisible())) return;
    SendCommand(static_cast<unsigned>(defaultId_), BN_CLICKED, def);
}

bool TDialog::PreProcessKey(unsigned vk, TWindow* focus)
{
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    if (vk == VK_LEFT || vk == VK_UP || vk == VK_RIGHT || vk == VK_DOWN) return focus && MoveInGroup(focus, vk);
    if (vk != VK_TAB) return false;
    if (focus) {
        TMsg m{WM_KEYDOWN, vk, 1};
        if (focus->SendMessage(WM_GETDLGCODE, vk, reinterpret_cast<TParam2>(&m)) & DLGC_WANTTAB) return false;
    }
    const bool forward = GetKeyState(VK_SHIFT) >= 0;
    if (TWindow* next = NextTabStop(focus, forward); next && next->Widget()) {
        next->Widget()->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        FocusFromKeyboard(*next);
    }
    // A lone tab stop keeps the focus; the key is the dialog's all the same.
    return true;
}

TWindow* TDialog::NextTabStop(TWindow* from, bool forward) const
{
    QWidget* start = from && from->Widget() ? from->Widget() : Widget();
    // The walk stays within the outermost dialog: a page's Tab goes on to its sheet's buttons,
    // a dialog placed in another window never hands the focus to that window's controls.
    const TDialog* outer = this;
    while (outer->Widget() && !outer->Widget()->isWindow()) {
        const TDialog* up = nullptr;
        for (TWindow* p = outer->GetParent(); p && !up; p = p->GetParent()) up = dynamic_cast<const TDialog*>(p);
        if (!up) break;
        outer = up;
    }
    QWidget* scope = outer->Widget();
    if (!start || !scope) return nullptr;
    // Qt's focus chain runs through every widget of the window in tab order, the inner parts
    // of a control (an edit's viewport, a combo box's field) right after it.
    QWidget* w = start;
    for (;;) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == start) return nullptr;
        if (!scope->isAncestorOf(w) || w->focusProxy()) continue;
        if ((w->focusPolicy() & Qt::TabFocus) != Qt::TabFocus || !w->isEnabled() || !w->isVisibleTo(scope)) continue;
        TWindow* win = FromWidget(w);
        if (!win || win == from) continue;
        // The other buttons of the group Tab comes from are passed over: the group is one stop.
        const TDialog* dlg = DialogOfControl(win);
        if (dlg && dlg->IsTemplateRadio(win) && DialogOfControl(from) == dlg) {
            const std::vector<TWindow*> group = dlg->ButtonGroupOf(win);
            if (std::find(group.begin(), group.end(), from) != group.end()) continue;
        }
        return GroupEntry(win);
    }
}

void TDialog::CmOk() { CloseWindow(IDOK); }
void TDialog::CmCancel() { CloseWindow(IDCANCEL); }

void TDialog::EvClose() { SendCommand(IDCANCEL); }

}  // namespace vyn
