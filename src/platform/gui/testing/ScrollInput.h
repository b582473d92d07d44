#pragma once
// The mouse on scroll bars and the wheel, as a user gives them, for tests and picture tools.
#include <QEvent>
#include <QPoint>
#include <QRect>
#include <QStyle>

class QScrollBar;
class QWidget;

namespace vyn {

// Where the part (arrow, page area, thumb, groove) of the bar lies, in the bar's coordinates, as
// its style draws it.
QRect ScrollBarPart(QScrollBar* bar, QStyle::SubControl part);
// A left click in the middle of that part, at its point on the screen.
void ClickScrollBarPart(QScrollBar* bar, QStyle::SubControl part);
// A left-button press, move or release at a point of the widget, through the window system.
void LeftMouse(QWidget* w, QEvent::Type type, QPoint at);
// The wheel turned by delta (120 a notch, negative towards the user) over the widget's middle;
// true when a window took it.
bool TurnWheel(QWidget* w, QPoint delta);

}  // namespace vyn
