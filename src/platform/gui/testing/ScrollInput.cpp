#include "platform/gui/testing/ScrollInput.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWindow>

#include "platform/gui/testing/UserInput.h"

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
    QWindow* handle = w->window()->windowHandle();
    if (!handle) return;
    const QPoint local = handle->mapFromGlobal(w->mapToGlobal(at));
    // Through the window system's path: while the button is held the widget that took the press
    // gets the moves and the release, wherever they are.
    if (type == QEvent::MouseButtonPress) QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, local);
    else if (type == QEvent::MouseButtonRelease) QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, local);
    else QTest::mouseMove(handle, local);
}

void ClickScrollBarPart(QScrollBar* bar, QStyle::SubControl part)
{
    ClickAt(ScreenPoint(bar, ScrollBarPart(bar, part).center()));
}

bool TurnWheel(QWidget* w, QPoint delta) { return WheelAt(ScreenPoint(w), delta); }

}  // namespace vyn
