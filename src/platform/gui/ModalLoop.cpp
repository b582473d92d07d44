#include "platform/gui/ModalLoop.h"

#include <QEventLoop>
#include <QWidget>
#include <vector>

#include "platform/gui/Window.h"

namespace vyn {

namespace {
std::vector<QEventLoop*> gLoops;
}

int BeginModal(TWindow& window)
{
    QWidget* w = window.Widget();
    if (!w) return -1;
    const Qt::WindowModality before = w->windowModality();
    const bool wasVisible = w->isVisible();
    // Modality only takes effect on a window that is shown after it is set.
    if (wasVisible) w->hide();
    w->setWindowModality(Qt::ApplicationModal);
    w->show();
    // The modal window takes the keyboard at once, as a window system gives it to a new
    // window in front: the other windows could not take a key anyway.
    w->activateWindow();
    QEventLoop loop;
    gLoops.push_back(&loop);
    const int result = loop.exec();
    gLoops.pop_back();
    // The window leaves the modal run hidden: Qt takes a window out of its modal list only
    // when it hides while still modal, and a window left in that list keeps every other
    // window of the program deaf to clicks and close requests after it is gone.
    if (window.Widget() == w) {
        w->hide();
        w->setWindowModality(before);
    }
    return result;
}

void EndModal(int result)
{
    if (!gLoops.empty()) gLoops.back()->exit(result);
}

bool InModalLoop() { return !gLoops.empty(); }

}  // namespace vyn
