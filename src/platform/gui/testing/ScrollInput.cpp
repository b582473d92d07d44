#include "platform/gui/testing/ScrollInput.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QWheelEvent>

namespace vyn {

QRect ScrollBarPart(QScrollBar* bar, QStyle::SubControl part)
{
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.subControls = QStyle::SC_All;
    opt.orientation = bar->orientation();
    if (bar->orientation() == Qt::Horizontal) opt.state |= QStyle::State_Horizontal;
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, bar);
}

void LeftMouse(QWidget* w, QEvent::Type type, QPoint at)
{
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void ClickScrollBarPart(QScrollBar* bar, QStyle::SubControl part)
{
    const QPoint at = ScrollBarPart(bar, part).center();
    LeftMouse(bar, QEvent::MouseButtonPress, at);
    LeftMouse(bar, QEvent::MouseButtonRelease, at);
}

bool TurnWheel(QWidget* w, QPoint delta)
{
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), delta, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
    return e.isAccepted();
}

}  // namespace vyn
