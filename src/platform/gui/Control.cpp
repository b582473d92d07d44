#include "platform/gui/Control.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QPixmap>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcutEvent>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QValidator>
#include <algorithm>
#include <vector>

#include "platform/gui/ControlButton.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/ControlList.h"
#include "platform/gui/ControlListBox.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"
#include "platform/gui/ControlScrollBar.h"
#include "platform/gui/WindowBridge.h"

namespace vyn {

namespace {
QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
std::string S(const QString& q) { return q.toUtf8().toStdString(); }

// A label whose marked letter is resolved when it is pressed: the control right after it may be
// hidden or disabled by then, and the focus goes on to the next one that can take it.
class TLabelWidget : public QLabel, public TWindowLink {
public:
    TLabelWidget(TStatic* label, QWidget* parent) : QLabel(parent), label_(label) {}
    void Detach() override { label_ = nullptr; }

protected:
    bool event(QEvent* e) override
    {
        // The label's only shortcut is its marked letter, grabbed while it has a buddy.
        if (e->type() == QEvent::Shortcut && label_ && buddy()) {
            label_->MnemonicPressed();
            return true;
        }
        return QLabel::event(e);
    }

private:
    TStatic* label_;
};

// A button whose marked letter acts at once, as a click does: the toolkit's own answer is a
// click shown pressed for a moment and made later, and a dialog closed by Enter meanwhile would
// read the button as it was. A check box or radio button takes the focus with its letter; a
// push button leaves the focus where it is. A letter that several controls share only moves
// the focus. A click anywhere on the button's area presses it.
template <class Button>
class TMnemonicButton : public Button {
public:
    TMnemonicButton(const QString& text, QWidget* parent) : Button(text, parent) {}

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::Shortcut) return Button::event(e);
        if (!this->isEnabled()) return true;
        const bool ambiguous = static_cast<QShortcutEvent*>(e)->isAmbiguous();
        if (ambiguous || !qobject_cast<QPushButton*>(this)) this->setFocus(Qt::ShortcutFocusReason);
        if (!ambiguous) this->click();
        return true;
    }
    // The whole area the dialog gives the button takes a click, as a push button's does. The
    // toolkit's check box and radio button take one only on their mark and caption, so a click
    // beside a short caption, still within the control, would do nothing at all.
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};
}  // namespace

// --- TControl ------------------------------------------------------------------------------------

TControl::TControl(TWindow* parent, int resourceId) : TWindow(parent, resourceId), bound_(true) {}

TControl::TControl(TWindow* parent, int id, const std::string& text, int x, int y, int w, int h, unsigned style)
    : TWindow(parent, id), style_(style), rect_(x, y, x + w, y + h), text_(text), bound_(false)
{
}

void TControl::ApplyTemplate(const TControlTemplate& t, const TRect& pixels)
{
    style_ |= t.style;
    rect_ = pixels;
    if (text_.empty()) text_ = t.text ? t.text : "";
}

namespace {
// An edit or list shows its text on its field (Text on Base); a label shows its text on the
// window's face (WindowText on Window), which it fills only when it is given its own colours.
void PaintFace(QWidget& w, TColor text, TColor back)
{
    const QColor fore(text.Red(), text.Green(), text.Blue()), face(back.Red(), back.Green(), back.Blue());
    QPalette pal = w.palette();
    pal.setColor(QPalette::Text, fore);
    pal.setColor(QPalette::Base, face);
    const bool label = qobject_cast<QLabel*>(&w) != nullptr;
    if (label) {
        pal.setColor(QPalette::WindowText, fore);
        pal.setColor(QPalette::Window, face);
    }
    w.setPalette(pal);
    if (label) w.setAutoFillBackground(true);
}
}  // namespace

QWidget* TControl::MakeWidget(QWidget* parentWidget)
{
    QWidget* w = MakeControl(parentWidget);
    w->setGeometry(rect_.left, rect_.top, rect_.Width(), rect_.Height());
    if (style_ & dlgstyle::HIDDEN) w->hide();
    if (style_ & dlgstyle::DISABLED) w->setEnabled(false);
    if (colored_) PaintFace(*w, textColor_, backColor_);
    return w;
}

void TControl::SetColors(TColor text, TColor back)
{
    colored_ = true;
    textColor_ = text;
    backColor_ = back;
    ApplyColors();
}

void TControl::ClearColors()
{
    colored_ = false;
    ApplyColors();
}

void TControl::ApplyColors()
{
    QWidget* w = Widget();
    if (!w) return;
    if (colored_) {
        PaintFace(*w, textColor_, backColor_);
        return;
    }
    w->setAutoFillBackground(false);
    w->setPalette(QPalette());
}

void TControl::ModifyStyle(unsigned remove, unsigned add)
{
    const unsigned before = style_;
    style_ = (style_ & ~remove) | add;
    if (Widget() && ((before ^ style_) & dlgstyle::TABSTOP))
        Widget()->setFocusPolicy(style_ & dlgstyle::TABSTOP ? Qt::StrongFocus : Qt::ClickFocus);
}

std::string TControl::GetWindowText() const { return Widget() ? WidgetText() : text_; }

void TControl::SetWindowText(const std::string& text)
{
    text_ = text;
    if (Widget()) SetWidgetText(text);
}

TControl* MakeTemplateControl(TWindow* parent, const TControlTemplate& t)
{
    switch (t.kind) {
    case TControlKind::STATIC: return new TStatic(parent, t.id);
    case TControlKind::EDIT: return new TEdit(parent, t.id);
    case TControlKind::BUTTON: return new TButton(parent, t.id);
    case TControlKind::CHECKBOX: return new TCheckBox(parent, t.id);
    case TControlKind::RADIOBUTTON: return new TRadioButton(parent, t.id);
    case TControlKind::GROUPBOX: return new TGroupBox(parent, t.id);
    case TControlKind::COMBOBOX: return new TComboBox(parent, t.id);
    case TControlKind::SCROLLBAR: return new TScrollBar(parent, t.id);
    case TControlKind::LISTBOX: return new TListBox(parent, t.id);
    }
    return new TStatic(parent, t.id);
}

// --- TStatic, TGroupBox ---------------------------------------------------------------------------

QWidget* TStatic::MakeControl(QWidget* parentWidget)
{
    auto* l = new TLabelWidget(this, parentWidget);
    l->setTextFormat(Qt::PlainText);
    Qt::Alignment a = Qt::AlignTop | Qt::AlignLeft;
    if (style_ & dlgstyle::CENTER) a = Qt::AlignTop | Qt::AlignHCenter;
    if (style_ & dlgstyle::RIGHT) a = Qt::AlignTop | Qt::AlignRight;
    l->setAlignment(a);
    if (style_ & dlgstyle::BORDER) l->setFrameShape(QFrame::Box);
    // A label made tall enough for two lines wraps its words, as the window system's statics
    // do; a one-line label (a hint line) keeps its one line and is clipped at its end.
    if (rect_.Height() >= 2 * l->fontMetrics().height()) l->setWordWrap(true);
    ShowText(l);
    return l;
}

namespace {
// The text as shown without a marked letter: "&&" is one '&', a single '&' goes.
std::string WithoutMnemonic(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        else if (text[i] == '&') continue;
        out += text[i];
    }
    return out;
}

bool HasMnemonic(const std::string& text)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') return true;
        ++i;
    }
    return false;
}
}  // namespace

void TStatic::SetMnemonicTarget(TWindow* target)
{
    mnemonicTarget_ = target;
    ShowText(static_cast<QLabel*>(Widget()));
}

void TStatic::MnemonicPressed()
{
    auto* dlg = dynamic_cast<TDialog*>(GetParent());
    if (!dlg || !mnemonicTarget_) return;
    TWindow* to = mnemonicTarget_;
    if (!to->IsWindowVisible() || !to->IsWindowEnabled() || !to->Widget() || !(to->Widget()->focusPolicy() & Qt::TabFocus))
        to = dlg->NextTabStop(this, true);
    if (to && to->Widget()) to->Widget()->setFocus(Qt::ShortcutFocusReason);
}

void TStatic::SetPicture(const TBitmap& picture)
{
    picture_ = picture;
    ShowText(static_cast<QLabel*>(Widget()));
}

void TStatic::ShowText(QLabel* l)
{
    if (!l) return;
    if (!picture_.IsNull()) {
        l->setPixmap(QPixmap::fromImage(*picture_.Image()));
        l->setAlignment(Qt::AlignCenter);
        return;
    }
    const std::string& t = text_;
    const bool prefix = !(style_ & dlgstyle::NOPREFIX);
    // A label with a buddy underlines its marked letter and gives Alt+letter to the buddy.
    QWidget* buddy = prefix && mnemonicTarget_ && HasMnemonic(t) ? mnemonicTarget_->Widget() : nullptr;
    l->setBuddy(buddy);
    l->setText(Q(buddy || !prefix ? t : WithoutMnemonic(t)));
}

std::string TStatic::WidgetText() const { return text_; }
void TStatic::SetWidgetText(const std::string& text)
{
    text_ = textLimit_ > 0 && static_cast<int>(text.size()) >= textLimit_ ? text.substr(0, textLimit_ - 1) : text;
    ShowText(static_cast<QLabel*>(Widget()));
}
unsigned TStatic::EvGetDlgCode(const TMsg*) { return DLGC_STATIC; }

QWidget* TGroupBox::MakeControl(QWidget* parentWidget) { return new QGroupBox(Q(text_), parentWidget); }
std::string TGroupBox::WidgetText() const { return S(static_cast<QGroupBox*>(Widget())->title()); }
void TGroupBox::SetWidgetText(const std::string& text) { static_cast<QGroupBox*>(Widget())->setTitle(Q(text)); }

// --- buttons -------------------------------------------------------------------------------------

QWidget* TButton::MakeControl(QWidget* parentWidget)
{
    if (IsOwnerDrawn()) {
        QWidget* w = TWindow::MakeWidget(parentWidget);
        // The button takes the focus itself on a mouse press, after capturing the mouse.
        w->setFocusPolicy(Qt::TabFocus);
        return w;
    }
    auto* b = new TMnemonicButton<QPushButton>(Q(text_), parentWidget);
    // Enter is the dialog's business (see TDialog::DialogKey), not Qt's default-button logic.
    b->setAutoDefault(false);
    b->setDefault(IsDefault());
    QObject::connect(b, &QAbstractButton::clicked, b, [this] { NotifyParent(BN_CLICKED); });
    return b;
}

void TButton::SetDefault(bool on)
{
    style_ = on ? (style_ | dlgstyle::DEFPUSHBUTTON) : (style_ & ~dlgstyle::DEFPUSHBUTTON);
    if (auto* b = qobject_cast<QPushButton*>(Widget())) b->setDefault(on);
}

void TButton::Click()
{
    if (IsOwnerDrawn()) {
        if (!Widget() || !IsWindowEnabled()) return;
        const TRect rc = GetClientRect();
        const TPoint mid(rc.Width() / 2, rc.Height() / 2);
        EvLButtonDown(MK_LBUTTON, mid);
        EvLButtonUp(0, mid);
        return;
    }
    if (auto* b = qobject_cast<QAbstractButton*>(Widget())) b->click();
}

// An owner-drawn button is a plain window: its text is kept here and drawn by its owner.
std::string TButton::WidgetText() const
{
    return IsOwnerDrawn() ? text_ : S(static_cast<QAbstractButton*>(Widget())->text());
}
void TButton::SetWidgetText(const std::string& text)
{
    if (IsOwnerDrawn()) Invalidate(false);
    else static_cast<QAbstractButton*>(Widget())->setText(Q(text));
}
unsigned TButton::EvGetDlgCode(const TMsg*)
{
    // An owner-drawn button is a choice of its own (a colour swatch), not a push button: Enter
    // on it presses the dialog's default button.
    if (IsOwnerDrawn()) return DLGC_BUTTON;
    return DLGC_BUTTON | (IsDefault() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

void TButton::DrawItem(TDrawItem& item)
{
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    item.dc.FillRect(item.rcItem, TBrush(pressed ? TColor(128, 128, 128) : TColor(192, 192, 192)));
    item.dc.FrameRect(item.rcItem, TBrush(TColor::Black));
    item.dc.SetBkMode(TRANSPARENT);
    item.dc.SetTextColor(item.itemState & ODS_DISABLED ? TColor(128, 128, 128) : TColor::Black);
    const TSize ext = item.dc.GetTextExtent(text_);
    item.dc.TextOut(item.rcItem.left + (item.rcItem.Width() - ext.cx) / 2, item.rcItem.top + (item.rcItem.Height() - ext.cy) / 2,
                    text_);
    if (item.itemState & ODS_FOCUS) {
        TRect f = item.rcItem;
        f.Inflate(-3, -3);
        item.dc.DrawFocusRect(f);
    }
}

void TButton::Paint(TDC& dc, bool erase, TRect& rect)
{
    if (!IsOwnerDrawn()) {
        TControl::Paint(dc, erase, rect);
        return;
    }
    unsigned state = 0;
    if (pressed_) state |= ODS_SELECTED;
    if (HasFocus()) state |= ODS_FOCUS;
    if (!IsWindowEnabled()) state |= ODS_DISABLED;
    TDrawItem item{static_cast<unsigned>(GetId()), 0, drawAction_, state, dc, GetClientRect(), 0};
    drawAction_ = ODA_DRAWENTIRE;
    dc.SelectObject(TFont());
    DrawItem(item);
    dc.RestoreObjects();
}

void TButton::Redraw(unsigned action)
{
    if (!IsWindow()) return;
    drawAction_ = action;
    Invalidate(true);
}

void TButton::EvSetFocus(TWindow* lost)
{
    TControl::EvSetFocus(lost);
    if (IsOwnerDrawn()) Redraw(ODA_FOCUS);
}

void TButton::EvKillFocus(TWindow* gets)
{
    TControl::EvKillFocus(gets);
    if (!IsOwnerDrawn()) return;
    if (pressed_ && GetCapture() != this) pressed_ = false;
    Redraw(ODA_FOCUS);
}

void TButton::EvLButtonDown(unsigned modKeys, const TPoint& p)
{
    if (!IsOwnerDrawn()) {
        TControl::EvLButtonDown(modKeys, p);
        return;
    }
    SetCapture();
    pressed_ = true;
    if (!HasFocus()) SetFocus();
    Redraw(ODA_SELECT);
}

void TButton::EvLButtonUp(unsigned modKeys, const TPoint& p)
{
    if (!IsOwnerDrawn()) {
        TControl::EvLButtonUp(modKeys, p);
        return;
    }
    const bool was = pressed_;
    pressed_ = false;
    if (GetCapture() == this) ReleaseCapture();
    Redraw(ODA_SELECT);
    if (was && GetClientRect().Contains(p)) NotifyParent(BN_CLICKED);
}

void TButton::EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    if (IsOwnerDrawn() && key == VK_SPACE) {
        if (!pressed_) {
            pressed_ = true;
            Redraw(ODA_SELECT);
        }
        return;
    }
    TControl::EvKeyDown(key, repeatCount, flags);
}

void TButton::EvKeyUp(unsigned key, unsigned repeatCount, unsigned flags)
{
    if (IsOwnerDrawn() && key == VK_SPACE && pressed_) {
        pressed_ = false;
        Redraw(ODA_SELECT);
        NotifyParent(BN_CLICKED);
        return;
    }
    TControl::EvKeyUp(key, repeatCount, flags);
}

QWidget* TCheckBox::MakeControl(QWidget* parentWidget)
{
    auto* b = new TMnemonicButton<QCheckBox>(Q(text_), parentWidget);
    b->setTristate(check_ == BF_GRAYED);
    b->setCheckState(check_ == BF_CHECKED ? Qt::Checked : check_ == BF_GRAYED ? Qt::PartiallyChecked : Qt::Unchecked);
    QObject::connect(b, &QAbstractButton::clicked, b, [this] { NotifyParent(BN_CLICKED); });
    return b;
}

int TCheckBox::GetCheck() const
{
    if (auto* c = qobject_cast<QCheckBox*>(Widget()))
        return c->checkState() == Qt::Checked ? BF_CHECKED : c->checkState() == Qt::PartiallyChecked ? BF_GRAYED : BF_UNCHECKED;
    if (auto* r = qobject_cast<QRadioButton*>(Widget())) return r->isChecked() ? BF_CHECKED : BF_UNCHECKED;
    return check_;
}

void TCheckBox::SetCheck(int state)
{
    check_ = state;
    if (auto* c = qobject_cast<QCheckBox*>(Widget())) {
        if (state == BF_GRAYED) c->setTristate(true);
        c->setCheckState(state == BF_CHECKED ? Qt::Checked : state == BF_GRAYED ? Qt::PartiallyChecked : Qt::Unchecked);
    } else if (auto* r = qobject_cast<QRadioButton*>(Widget())) {
        r->setChecked(state == BF_CHECKED);
    }
}

QWidget* TRadioButton::MakeControl(QWidget* parentWidget)
{
    auto* b = new TMnemonicButton<QRadioButton>(Q(text_), parentWidget);
    // Radio buttons of a dialog fall into groups as the template's GROUP styles divide them,
    // not all siblings into one: the exclusion is done here.
    const bool templated = IsBoundToTemplate() || dynamic_cast<const TDialog*>(GetParent()) != nullptr;
    b->setAutoExclusive(!templated);
    b->setChecked(check_ == BF_CHECKED);
    QObject::connect(b, &QAbstractButton::clicked, b, [this, templated] {
        if (templated) {
            const auto* dlg = dynamic_cast<const TDialog*>(GetParent());
            const std::vector<TWindow*> group = dlg ? dlg->ButtonGroupOf(this) : std::vector<TWindow*>();
            if (!group.empty()) {
                for (TWindow* w : group)
                    if (auto* r = dynamic_cast<TRadioButton*>(w)) r->SetCheck(r == this ? BF_CHECKED : BF_UNCHECKED);
            } else {
                SetCheck(BF_CHECKED);
            }
        }
        NotifyParent(BN_CLICKED);
    });
    return b;
}

// --- TEdit ---------------------------------------------------------------------------------------

namespace {
// What a one-line edit takes. With the upper-case style every letter typed, pasted or set
// becomes a capital. With a text limit the text holds at most so many bytes of UTF-8, which is
// what the program stores of it: a text typed or pasted beyond that loses what was inserted
// last, just before the caret, whole characters at a time, as the edit's own length limit
// would cut it. The length limit alone counts UTF-16 units, so "ä" counts one and stores two.
// The bytes a text takes where the program keeps it: UTF-8, a line end as CR LF.
qsizetype StoredBytes(QStringView text)
{
    return text.toUtf8().size() + text.count(QLatin1Char('\n'));
}

// Cuts text to maxBytes, taking whole characters from just before pos (what was inserted
// last), or from the end when nothing stands before it; pos follows. False when it fitted.
bool CutToBytes(QString& text, int& pos, int maxBytes)
{
    qsizetype bytes = StoredBytes(text);
    if (bytes <= maxBytes) return false;
    pos = std::clamp(pos, 0, static_cast<int>(text.size()));
    while (bytes > maxBytes) {
        const int at = pos > 0 ? pos : static_cast<int>(text.size());
        if (at == 0) break;
        const int n = (at >= 2 && text[at - 1].isLowSurrogate() && text[at - 2].isHighSurrogate()) ? 2 : 1;
        bytes -= StoredBytes(QStringView(text).mid(at - n, n));
        text.remove(at - n, n);
        if (pos > 0) pos -= n;
    }
    return true;
}

class TEditValidator : public QValidator {
public:
    TEditValidator(QObject* parent, bool upperCase, int maxBytes)
        : QValidator(parent), upperCase_(upperCase), maxBytes_(maxBytes)
    {
    }
    State validate(QString& input, int& pos) const override
    {
        if (upperCase_) input = input.toUpper();
        if (maxBytes_ >= 0) CutToBytes(input, pos, maxBytes_);
        return Acceptable;
    }

private:
    bool upperCase_;
    int maxBytes_;  // -1: no limit
};
}  // namespace

TEdit::TEdit(TWindow* parent, int resourceId, int textLimit) : TControl(parent, resourceId), textLimit_(textLimit) {}

TEdit::TEdit(TWindow* parent, int id, const std::string& text, int x, int y, int w, int h, int textLimit, bool multiline)
    : TControl(parent, id, text, x, y, w, h, multiline ? dlgstyle::MULTILINE : 0), textLimit_(textLimit)
{
}

QWidget* TEdit::MakeControl(QWidget* parentWidget)
{
    settingText_ = true;
    if (IsMultiLine()) {
        auto* e = new QPlainTextEdit(parentWidget);
        e->setReadOnly(style_ & dlgstyle::READONLY);
        e->setLineWrapMode(style_ & dlgstyle::AUTOHSCROLL ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
        e->setHorizontalScrollBarPolicy(style_ & dlgstyle::HSCROLL ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        e->setVerticalScrollBarPolicy(style_ & dlgstyle::VSCROLL ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        e->setPlainText(Q(text_));
        QObject::connect(e, &QPlainTextEdit::textChanged, e, [this, e] {
            // A multi-line edit has no validator: a text beyond the limit is cut here.
            if (textLimit_ > 0) {
                QString text = e->toPlainText();
                int pos = e->textCursor().position();
                if (CutToBytes(text, pos, textLimit_ - 1)) {
                    const QSignalBlocker quiet(e);
                    e->setPlainText(text);
                    QTextCursor c = e->textCursor();
                    c.setPosition(pos);
                    e->setTextCursor(c);
                }
            }
            if (!settingText_) modified_ = true;
            NotifyParent(EN_CHANGE);
        });
        settingText_ = false;
        return e;
    }
    auto* e = new QLineEdit(parentWidget);
    e->setReadOnly(style_ & dlgstyle::READONLY);
    if (style_ & dlgstyle::PASSWORD) e->setEchoMode(QLineEdit::Password);
    ApplyTextLimit(e);
    e->setText(Q(text_));
    QObject::connect(e, &QLineEdit::textEdited, e, [this, e](const QString& typed) {
        modified_ = true;
        // A line break pasted into a one-line field becomes a blank there and then: kept, it
        // would be dropped by whatever stores the text, and the value would change unseen.
        if (!typed.contains(QLatin1Char('\n')) && !typed.contains(QLatin1Char('\r'))) return;
        QString oneLine = typed;
        oneLine.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        oneLine.replace(QLatin1Char('\r'), QLatin1Char(' '));
        oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
        const int caret = e->cursorPosition() - static_cast<int>(typed.size() - oneLine.size());
        e->setText(oneLine);
        e->setCursorPosition(std::max(0, caret));
    });
    QObject::connect(e, &QLineEdit::textChanged, e, [this] { NotifyParent(EN_CHANGE); });
    settingText_ = false;
    modified_ = false;
    return e;
}

std::string TEdit::WidgetText() const
{
    if (auto* p = qobject_cast<QPlainTextEdit*>(Widget())) {
        // The framework's multi-line edits keep "\r\n" line ends.
        std::string s = S(p->toPlainText()), out;
        for (char c : s) {
            if (c == '\n') out += '\r';
            out += c;
        }
        return out;
    }
    return S(static_cast<QLineEdit*>(Widget())->text());
}

void TEdit::SetWidgetText(const std::string& text)
{
    settingText_ = true;
    if (auto* p = qobject_cast<QPlainTextEdit*>(Widget())) {
        std::string s;
        for (char c : text)
            if (c != '\r') s += c;
        p->setPlainText(Q(s));
    } else {
        static_cast<QLineEdit*>(Widget())->setText(Q(text));
    }
    settingText_ = false;
    modified_ = false;
}

void TEdit::SetSelection(int start, int end)
{
    if (auto* e = qobject_cast<QLineEdit*>(Widget())) {
        int len = static_cast<int>(e->text().size());
        if (start < 0) {
            e->deselect();
            return;
        }
        start = std::min(start, len);
        end = end < 0 ? len : std::min(end, len);
        if (start == end) e->setCursorPosition(end);
        else e->setSelection(start, end - start);
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(Widget())) {
        QTextCursor c = p->textCursor();
        int len = p->document()->characterCount() - 1;
        c.setPosition(std::clamp(start, 0, len));
        c.setPosition(end < 0 ? len : std::clamp(end, 0, len), QTextCursor::KeepAnchor);
        p->setTextCursor(c);
    }
}

void TEdit::GetSelection(int& start, int& end) const
{
    start = end = 0;
    if (auto* e = qobject_cast<QLineEdit*>(Widget())) {
        if (e->hasSelectedText()) {
            start = e->selectionStart();
            end = e->selectionEnd();
        } else {
            start = end = e->cursorPosition();
        }
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(Widget())) {
        start = p->textCursor().selectionStart();
        end = p->textCursor().selectionEnd();
    }
}

void TEdit::SetReadOnly(bool readOnly)
{
    style_ = readOnly ? (style_ | dlgstyle::READONLY) : (style_ & ~dlgstyle::READONLY);
    if (auto* e = qobject_cast<QLineEdit*>(Widget())) e->setReadOnly(readOnly);
    if (auto* p = qobject_cast<QPlainTextEdit*>(Widget())) p->setReadOnly(readOnly);
}

void TEdit::SetTextLimit(int limit)
{
    textLimit_ = limit;
    if (auto* e = qobject_cast<QLineEdit*>(Widget())) ApplyTextLimit(e);
}

void TEdit::ApplyTextLimit(QLineEdit* e)
{
    if (!e) return;
    // UTF-16 units never outnumber the bytes of UTF-8, so the length limit cuts nothing the
    // byte limit would keep.
    e->setMaxLength(textLimit_ > 0 ? textLimit_ - 1 : 32767);
    const bool upper = (style_ & dlgstyle::UPPERCASE) != 0;
    const QValidator* old = e->validator();
    e->setValidator(upper || textLimit_ > 0 ? new TEditValidator(e, upper, textLimit_ > 0 ? textLimit_ - 1 : -1) : nullptr);
    delete old;
}

unsigned TEdit::EvGetDlgCode(const TMsg*)
{
    unsigned code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (IsMultiLine() && (style_ & dlgstyle::WANTRETURN)) code |= DLGC_WANTALLKEYS;
    return code;
}

void TEdit::EvSetFocus(TWindow* lost)
{
    TControl::EvSetFocus(lost);
    NotifyParent(EN_SETFOCUS);
}

void TEdit::EvKillFocus(TWindow* gets)
{
    TControl::EvKillFocus(gets);
    NotifyParent(EN_KILLFOCUS);
}

// --- TScrollBar ----------------------------------------------------------------------------------

QWidget* TScrollBar::MakeControl(QWidget* parentWidget)
{
    auto* s = new QScrollBar(IsVertical() ? Qt::Vertical : Qt::Horizontal, parentWidget);
    s->setRange(min_, max_);
    s->setValue(pos_);
    QObject::connect(s, &QAbstractSlider::actionTriggered, s, [this](int action) {
        unsigned code;
        if (!ScrollCodeOf(action, code)) return;
        auto* bar = static_cast<QScrollBar*>(Widget());
        // A spin button keeps its position: the parent decides what a step means.
        int pos = bar->sliderPosition();
        bar->setSliderPosition(bar->value());
        if (GetParent())
            GetParent()->SendMessage(IsVertical() ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<unsigned>(pos)),
                                     reinterpret_cast<TParam2>(this));
    });
    return s;
}

void TScrollBar::SetRange(int minPos, int maxPos)
{
    min_ = minPos;
    max_ = maxPos;
    if (auto* s = qobject_cast<QScrollBar*>(Widget())) s->setRange(minPos, maxPos);
}

void TScrollBar::GetRange(int& minPos, int& maxPos) const
{
    minPos = min_;
    maxPos = max_;
}

void TScrollBar::SetPosition(int pos)
{
    pos_ = std::clamp(pos, min_, std::max(min_, max_));
    if (auto* s = qobject_cast<QScrollBar*>(Widget())) s->setValue(pos_);
}

int TScrollBar::GetPosition() const
{
    if (auto* s = qobject_cast<QScrollBar*>(Widget())) return s->value();
    return pos_;
}

}  // namespace vyn
