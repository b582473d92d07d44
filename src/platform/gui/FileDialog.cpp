#include "platform/gui/FileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

#include "platform/gui/Window.h"

namespace vyn {

namespace {
std::function<std::string(bool, const std::string&)> gAnswer;

QString QtFilter(const std::string& filter)
{
    QStringList parts = QString::fromStdString(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) out << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
    return out.join(";;");
}

QWidget* Owner(TWindow* parent) { return parent ? parent->Widget() : nullptr; }
}  // namespace

void SetFileDialogAnswer(std::function<std::string(bool, const std::string&)> answer) { gAnswer = std::move(answer); }

bool GetOpenFileName(TWindow* parent, const std::string& title, const std::string& filter, std::string& path)
{
    if (gAnswer) {
        path = gAnswer(false, title);
        return !path.empty();
    }
    QString p = QFileDialog::getOpenFileName(Owner(parent), QString::fromStdString(title), QDir::currentPath(),
                                             QtFilter(filter));
    if (p.isEmpty()) return false;
    path = p.toStdString();
    return true;
}

bool GetSaveFileName(TWindow* parent, const std::string& title, const std::string& filter,
                     const std::string& defaultExt, std::string& path)
{
    if (gAnswer) {
        path = gAnswer(true, title);
        return !path.empty();
    }
    QFileDialog dlg(Owner(parent), QString::fromStdString(title), QDir::currentPath(), QtFilter(filter));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(QString::fromStdString(defaultExt));
    if (!path.empty()) dlg.selectFile(QString::fromStdString(path));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    path = dlg.selectedFiles().first().toStdString();
    return true;
}

}  // namespace vyn
