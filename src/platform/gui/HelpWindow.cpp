#include "platform/gui/HelpWindow.h"

#include <QPointer>
#include <QTextBrowser>

#include "platform/core/ResFiles.h"
#include "platform/gui/TestHook.h"

namespace vyn {

namespace {
QPointer<QTextBrowser> gHelp;
int gLastTopic = -1;

std::string Anchor(int contextId) { return contextId ? "ctx" + std::to_string(contextId) : std::string("contents"); }
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
    if (TTestHook::Active()) return true;
    if (!gHelp) {
        gHelp = new QTextBrowser;
        gHelp->setAttribute(Qt::WA_DeleteOnClose);
        gHelp->setWindowTitle(QStringLiteral("Vyn Help"));
        gHelp->resize(560, 640);
        gHelp->setHtml(QString::fromUtf8(html.data(), static_cast<int>(html.size())));
    }
    gHelp->scrollToAnchor(QString::fromStdString(Anchor(contextId)));
    gHelp->show();
    gHelp->raise();
    gHelp->activateWindow();
    return true;
}

void CloseHelpWindow()
{
    if (gHelp) gHelp->close();
}

int LastHelpTopic() { return gLastTopic; }
void ResetLastHelpTopic() { gLastTopic = -1; }

}  // namespace vyn
