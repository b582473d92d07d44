#include "platform/gui/HelpWindow.h"

#include <QApplication>
#include <QPointer>
#include <QShortcut>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFrame>

#include "platform/core/ResFiles.h"
#include "platform/gui/TestHook.h"

namespace vyn {

namespace {
QPointer<QTextBrowser> gHelp;
int gLastTopic = -1;

std::string Anchor(int contextId) { return contextId ? "ctx" + std::to_string(contextId) : std::string("contents"); }

// Room below the last topic, so that every topic can stand at the top of the window.
constexpr int kRoomBelowLastTopic = 2000;

void DropHelpWindow() { delete gHelp.data(); }

// owner: the modal window that is open, or none. A window of its own would be blocked by the
// modal one, so the help opened from a dialog belongs to the dialog and goes with it.
QTextBrowser* MakeHelpWindow(const std::string& html, QWidget* owner)
{
    auto* browser = new QTextBrowser(owner);
    if (owner) browser->setWindowFlags(Qt::Window);
    browser->setAttribute(Qt::WA_DeleteOnClose);
    if (TTestHook::Active()) browser->setAttribute(Qt::WA_ShowWithoutActivating);
    browser->setWindowTitle(QStringLiteral("Vyn Help"));
    browser->resize(560, 640);
    // Read and done: Esc puts the help away, as it closes a dialog.
    auto* done = new QShortcut(QKeySequence(Qt::Key_Escape), browser);
    done->setContext(Qt::WindowShortcut);
    QObject::connect(done, &QShortcut::activated, browser, &QWidget::close);
    browser->setHtml(QString::fromUtf8(html.data(), static_cast<int>(html.size())));
    QTextFrame* root = browser->document()->rootFrame();
    QTextFrameFormat format = root->frameFormat();
    format.setBottomMargin(kRoomBelowLastTopic);
    root->setFrameFormat(format);
    static bool dropAtExit = false;
    if (!dropAtExit) {
        qAddPostRoutine(DropHelpWindow);
        dropAtExit = true;
    }
    return browser;
}
}  // namespace

bool HelpTopicExists(const std::string& helpFile, int contextId)
{
    std::string html;
    if (!ReadResFile(helpFile, html)) return false;
    return html.find("id=\"" + Anchor(contextId) + "\"") != std::string::npos ||
           html.find("name=\"" + Anchor(contextId) + "\"") != std::string::npos;
}

bool ShowHelpTopic(const std::string& helpFile, int contextId)
{
    std::string html;
    if (!ReadResFile(helpFile, html)) return false;
    if (contextId && !HelpTopicExists(helpFile, contextId)) contextId = 0;
    gLastTopic = contextId;
    QWidget* owner = QApplication::activeModalWidget();
    if (gHelp && gHelp->parentWidget() != owner) delete gHelp.data();
    if (!gHelp) gHelp = MakeHelpWindow(html, owner);
    QWidget* asking = QApplication::activeWindow();
    gHelp->show();
    gHelp->scrollToAnchor(QString::fromStdString(Anchor(contextId)));
    gHelp->raise();
    if (!TTestHook::Active()) gHelp->activateWindow();
    // A test run goes on with the keyboard where it was, whatever the window system does
    // with a window that appears.
    else if (asking && asking != gHelp) asking->activateWindow();
    return true;
}

std::string ShownHelpHeading()
{
    if (!gHelp || !gHelp->isVisible()) return {};
    // The topic is the first heading from the top of the window's text area down.
    for (QTextBlock block = gHelp->cursorForPosition(QPoint(2, 2)).block(); block.isValid(); block = block.next())
        if (block.blockFormat().headingLevel() > 0) return block.text().toStdString();
    return {};
}

std::string ShownHelpTopicText()
{
    if (!gHelp || !gHelp->isVisible()) return {};
    QTextBlock block = gHelp->cursorForPosition(QPoint(2, 2)).block();
    while (block.isValid() && block.blockFormat().headingLevel() == 0) block = block.next();
    std::string text;
    for (block = block.isValid() ? block.next() : block; block.isValid() && block.blockFormat().headingLevel() == 0;
         block = block.next()) {
        if (!text.empty()) text += ' ';
        text += block.text().toStdString();
    }
    return text;
}
QWidget* ShownHelpWindow() { return gHelp && gHelp->isVisible() ? gHelp.data() : nullptr; }

void CloseHelpWindow()
{
    if (gHelp) gHelp->close();
}

int LastHelpTopic() { return gLastTopic; }
void ResetLastHelpTopic() { gLastTopic = -1; }

}  // namespace vyn
