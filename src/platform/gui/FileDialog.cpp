#include "platform/gui/FileDialog.h"

#include <QDir>
#include <QApplication>
#include <QFileDialog>
#include <QPointer>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QStringList>
#include <sys/stat.h>

#include "platform/core/StringTable.h"
#include "platform/gui/MsgBox.h"
#include "platform/gui/Window.h"
#include "platform/gui/WindowBridge.h"

namespace vyn {

namespace {
std::function<std::string(bool, const std::string&)> gAnswer;
TWriteNameCheck gWriteNameCheck;

constexpr int kStrReplaceFile = 23858;  // "%s already exists.\nDo you want to replace it?"

// A file of that name is there to be replaced (a link counts by what it names).
bool FileStandsThere(const std::string& name)
{
    struct stat st;
    return ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

QString QtFilter(const std::string& filter)
{
    QStringList parts = QString::fromStdString(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        // The dialog reads the patterns from the parentheses; a text that already names them
        // ("Plates (*.plt)") is not given them a second time.
        const QString patterns = "(" + QString(parts[i + 1]).replace(';', ' ') + ")";
        out << (parts[i].trimmed().endsWith(patterns) ? parts[i] : parts[i] + " " + patterns);
    }
    return out.join(";;");
}

QWidget* Owner(TWindow* parent) { return parent ? parent->Widget() : nullptr; }

// Icons and type names from the names alone. Qt's own provider opens every listed file to
// guess its type from the content, and a file such as /proc/kmsg keeps that read waiting
// for ever, with the program's only thread inside it.
class NameOnlyIconProvider : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override
    {
        if (info.isRoot()) return icon(Drive);
        return icon(info.isDir() ? Folder : File);
    }
    QString type(const QFileInfo& info) const override
    {
        if (!info.isFile()) return QFileIconProvider::type(info);  // no content read for these
        const QMimeType mime = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
        // An ending the desktop does not know (a plate's, a report's) is named by itself.
        if (mime.isDefault()) return info.suffix().isEmpty() ? QStringLiteral("File") : info.suffix().toUpper() + " File";
        return mime.comment().isEmpty() ? mime.name() : mime.comment();
    }
};

// Our own widgets, so that the listing is ours too (a dialog of the desktop would guess types
// from contents again), listing by names from the start: even a file selected before the
// dialog shows is looked up in the list.
void ListByNames(QFileDialog& dlg, NameOnlyIconProvider& icons)
{
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setIconProvider(&icons);
    // The program's files come from systems that do not tell "TXT" from "txt": a filter
    // matches an ending in any case.
    dlg.setFilter(dlg.filter() & ~QDir::CaseSensitive);
}

// The save dialog: its own replace question is left out, for the program's check of the name
// must come first, and both come before the dialog takes the name.
class SaveDialog final : public QFileDialog {
public:
    SaveDialog(QWidget* owner, const QString& title, const QString& filter, const TDocument* saving)
        : QFileDialog(owner, title, QDir::currentPath(), filter), saving_(saving)
    {
        setOption(QFileDialog::DontConfirmOverwrite);
    }
    void accept() override
    {
        const QStringList files = selectedFiles();
        // A folder named is opened by the dialog, not taken.
        if (!files.isEmpty() && !QFileInfo(files.first()).isDir() &&
            !MayWriteChosenFile(nullptr, files.first().toStdString(), saving_, windowTitle().toStdString())) {
            // The name not taken is there to be typed over.
            if (auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
                name->setFocus();
                name->selectAll();
            }
            return;
        }
        QFileDialog::accept();
    }

private:
    const TDocument* saving_;
};

bool RunDialog(QFileDialog& dlg, std::string& path)
{
    const QPointer<QWidget> focusBefore = QApplication::focusWidget();
    const bool accepted = dlg.exec() == QDialog::Accepted;
    dlg.hide();
    TWindowBridge::GiveFocusBack(focusBefore);
    if (!accepted || dlg.selectedFiles().isEmpty()) return false;
    path = dlg.selectedFiles().first().toStdString();
    return true;
}
}  // namespace

void SetFileDialogAnswer(std::function<std::string(bool, const std::string&)> answer) { gAnswer = std::move(answer); }

void SetWriteNameCheck(TWriteNameCheck check) { gWriteNameCheck = std::move(check); }

bool MayWriteChosenFile(TWindow* parent, const std::string& path, const TDocument* saving, const std::string& caption)
{
    if (gWriteNameCheck && !gWriteNameCheck(path, saving)) return false;
    if (!FileStandsThere(path)) return true;
    const std::string question = FormatWithArg(GetResString(kStrReplaceFile), path.c_str());
    return MessageBox(parent, question, caption, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
}

bool GetOpenFileName(TWindow* parent, const std::string& title, const std::string& filter, std::string& path)
{
    if (gAnswer) {
        path = gAnswer(false, title);
        return !path.empty();
    }
    NameOnlyIconProvider icons;
    QFileDialog dlg(Owner(parent), QString::fromStdString(title), QDir::currentPath(), QtFilter(filter));
    ListByNames(dlg, icons);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    return RunDialog(dlg, path);
}

bool GetSaveFileName(TWindow* parent, const std::string& title, const std::string& filter,
                     const std::string& defaultExt, std::string& path, const TDocument* saving)
{
    if (gAnswer) {
        // The name as the user would have typed it into the dialog, which then asks as it
        // would; there is no dialog to stay in, so a name not taken is a cancel.
        path = gAnswer(true, title);
        return !path.empty() && MayWriteChosenFile(nullptr, path, saving, title);
    }
    NameOnlyIconProvider icons;
    SaveDialog dlg(Owner(parent), QString::fromStdString(title), QtFilter(filter), saving);
    ListByNames(dlg, icons);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(QString::fromStdString(defaultExt));
    if (!path.empty()) dlg.selectFile(QString::fromStdString(path));
    return RunDialog(dlg, path);
}

}  // namespace vyn
