#include "platform/gui/testing/FontDialogInput.h"

#include <QApplication>
#include <QFontDialog>
#include <QLineEdit>
#include <QTimer>
#include <memory>

#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/UserInput.h"

namespace vyn {

namespace {

QFontDialog* OpenFontDialog() { return qobject_cast<QFontDialog*>(QApplication::activeModalWidget()); }

// The dialog's fields: the family and style fields only show the list's choice; the size
// field takes typing.
QLineEdit* FontDialogField(bool sizeField)
{
    QFontDialog* dlg = OpenFontDialog();
    if (!dlg) return nullptr;
    for (QLineEdit* e : dlg->findChildren<QLineEdit*>())
        if (e->isVisible() && e->isReadOnly() != sizeField) return e;
    return nullptr;
}

}  // namespace

void WhenFontDialogRuns(std::function<void()> act)
{
    // A zero timer fires inside the dialog's own loop; bounded, so that a dialog that never
    // comes cannot keep it alive.
    auto* timer = new QTimer(qApp);
    timer->setInterval(0);
    auto tries = std::make_shared<int>(100000);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, act = std::move(act)] {
        QFontDialog* dlg = OpenFontDialog();
        if ((!dlg || !dlg->isVisible()) && --*tries > 0) return;
        timer->stop();
        timer->deleteLater();
        if (dlg) act();
    });
    timer->start();
}

std::string FontDialogFamily()
{
    QLineEdit* family = FontDialogField(false);
    return family ? family->text().toStdString() : std::string();
}

bool TypeFontSize(const std::string& size)
{
    QLineEdit* field = FontDialogField(true);
    if (!field) return false;
    const bool reached = ClickAt(ScreenPoint(field)) == field;
    TypeOver(size);
    return reached;
}

void AcceptFontDialog()
{
    QFontDialog* dlg = OpenFontDialog();
    if (!dlg) return;
    PressQtKey(Qt::Key_Return);
    // A dialog the key did not reach must still end, or the test would wait for ever.
    if (OpenFontDialog() == dlg) dlg->reject();
}

}  // namespace vyn
