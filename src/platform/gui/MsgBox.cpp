#include "platform/gui/MsgBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <vector>

#include "platform/gui/TestHook.h"
#include "platform/gui/Window.h"
#include "platform/gui/WindowBridge.h"

namespace vyn {

namespace {
struct BoxButton {
    int id;
    QMessageBox::StandardButton qt;
};

std::vector<BoxButton> ButtonsOf(unsigned flags)
{
    switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, QMessageBox::Ok}, {IDCANCEL, QMessageBox::Cancel}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, QMessageBox::Abort}, {IDRETRY, QMessageBox::Retry}, {IDIGNORE, QMessageBox::Ignore}};
    case MB_YESNOCANCEL: return {{IDYES, QMessageBox::Yes}, {IDNO, QMessageBox::No}, {IDCANCEL, QMessageBox::Cancel}};
    case MB_YESNO: return {{IDYES, QMessageBox::Yes}, {IDNO, QMessageBox::No}};
    case MB_RETRYCANCEL: return {{IDRETRY, QMessageBox::Retry}, {IDCANCEL, QMessageBox::Cancel}};
    default: return {{IDOK, QMessageBox::Ok}};
    }
}
}  // namespace

int MessageBox(TWindow* parent, const std::string& text, const std::string& caption, unsigned flags)
{
    auto buttons = ButtonsOf(flags);
    size_t def = std::min<size_t>((flags & MB_DEFMASK) >> 8, buttons.size() - 1);
    if (TTestHook::Active()) return TTestHook::ShowMessage(text, caption, flags, buttons[def].id);

    QMessageBox box(parent ? parent->Widget() : QApplication::activeWindow());
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    switch (flags & MB_ICONMASK) {
    case MB_ICONSTOP: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    QMessageBox::StandardButtons all;
    for (const auto& b : buttons) all |= b.qt;
    box.setStandardButtons(all);
    box.setDefaultButton(buttons[def].qt);
    int escapeId = buttons.size() == 1 ? buttons[0].id : IDCANCEL;
    for (const auto& b : buttons)
        if (b.id == escapeId) box.setEscapeButton(b.qt);
    const QPointer<QWidget> focusBefore = QApplication::focusWidget();
    auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    box.hide();
    TWindowBridge::GiveFocusBack(focusBefore);
    for (const auto& b : buttons)
        if (b.qt == pressed) return b.id;
    return escapeId;
}

void MessageBeep(unsigned)
{
    if (TTestHook::Active()) {
        TTestHook::Get().CountBeep();
        return;
    }
    QApplication::beep();
}

}  // namespace vyn
