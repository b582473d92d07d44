#include "platform/gui/testing/FileDialogInput.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

namespace vyn {

namespace {

QFileDialog* OpenDialog() { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); }

}  // namespace

bool FileDialogOpen() { return OpenDialog() != nullptr; }

void WhenFileDialogRuns(std::function<void()> act)
{
    // A zero timer fires inside the dialog's own loop; bounded, so that a dialog that never
    // comes cannot keep it alive.
    auto* timer = new QTimer(qApp);
    timer->setInterval(0);
    auto tries = std::make_shared<int>(100000);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, act = std::move(act)] {
        QFileDialog* dlg = OpenDialog();
        if ((!dlg || !dlg->isVisible()) && --*tries > 0) return;
        timer->stop();
        timer->deleteLater();
        if (dlg) act();
    });
    timer->start();
}

std::vector<std::string> FileDialogNames(const std::string& expected, int waitMs)
{
    std::vector<std::string> names;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        names.clear();
        QFileDialog* dlg = OpenDialog();
        auto* list = dlg ? dlg->findChild<QAbstractItemView*>("listView") : nullptr;
        if (!list || !list->model()) return names;
        const QModelIndex root = list->rootIndex();
        for (int r = 0; r < list->model()->rowCount(root); ++r)
            names.push_back(list->model()->index(r, 0, root).data().toString().toStdString());
        for (const std::string& n : names)
            if (n == expected) return names;
        if (clock.elapsed() > waitMs) return names;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

std::string FileDialogTitle()
{
    QFileDialog* dlg = OpenDialog();
    return dlg ? dlg->windowTitle().toStdString() : std::string();
}

std::string FileDialogFileKind()
{
    QFileDialog* dlg = OpenDialog();
    auto* kinds = dlg ? dlg->findChild<QComboBox*>("fileTypeCombo") : nullptr;
    return kinds ? kinds->currentText().toStdString() : std::string();
}

std::vector<std::string> AcceptFileName(const std::string& name)
{
    std::vector<std::string> boxes;
    QFileDialog* dlg = OpenDialog();
    if (!dlg) return boxes;
    auto* field = dlg->findChild<QLineEdit*>("fileNameEdit");
    if (!field) return boxes;
    // A box of the dialog's own runs a loop inside the click below: it is read and answered No
    // from there, so that the click comes back.
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&boxes] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        boxes.push_back(box->text().toStdString());
        QAbstractButton* no = box->button(QMessageBox::No);
        if (no) no->click();
        else box->reject();
    });
    watch.start();
    // The field keeps the keyboard as the user's would: typing over a name the dialog offered
    // takes that name's selection in the list away only while the field has the focus.
    dlg->activateWindow();
    QApplication::setActiveWindow(dlg);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, QString::fromStdString(name));
    // The name's completion list may hold Enter for itself; the dialog's own button does not.
    auto* buttons = dlg->findChild<QDialogButtonBox*>("buttonBox");
    QPushButton* accept = buttons ? qobject_cast<QPushButton*>(buttons->buttons().value(0)) : nullptr;
    for (QAbstractButton* b : buttons ? buttons->buttons() : QList<QAbstractButton*>())
        if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole) accept = qobject_cast<QPushButton*>(b);
    if (accept) QTest::mouseClick(accept, Qt::LeftButton);
    else QTest::keyClick(field, Qt::Key_Return);
    return boxes;
}

void CancelFileDialog()
{
    QFileDialog* dlg = OpenDialog();
    if (!dlg) return;
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dlg, Qt::Key_Escape);
    // A dialog the key did not reach must still end, or the test would wait for ever.
    if (OpenDialog() == dlg) dlg->reject();
}

}  // namespace vyn
