#pragma once
// Readers of what the screen shows, for tests: texts as they are painted (by Qt's widgets and
// by our windows' own drawing), captions as the window system and the title bars show them,
// tool tips Qt shows, and pictures where only the picture tells. None of them asks the window
// object what it stores.
#include <QImage>
#include <QRect>
#include <string>
#include <vector>

class QWidget;

namespace vyn {

class TBitmap;
class TStatusBar;
class TWindow;

// One run of text as painted, in the coordinates of the widget that was read.
struct TShownText {
    std::string text;
    QRect rect;
};

// Every text the widget and its children paint now, in reading order (top to bottom, then left to right).
std::vector<TShownText> ShownTexts(QWidget* widget);
std::vector<TShownText> ShownTexts(TWindow& window);
// The painted texts grouped into lines (runs whose heights overlap), each line's runs joined by a tab.
std::vector<std::string> ShownLines(QWidget* widget);
// Whether some painted run of the widget is the text, or contains it when whole is false.
bool ShowsText(QWidget* widget, const std::string& text, bool whole = true);

// The caption shown for the window's frame: the window system's title of a top-level window, the
// text painted in the title bar of a child frame inside the main window's client area.
std::string ShownCaption(TWindow& frame);
// The texts a button (a push button, check box or radio button) paints on its face, joined by a blank.
std::string ButtonFaceText(TWindow& button);
// The picture of the window as it is on the screen now (a part of it when rect is given, client coordinates).
QImage GrabPicture(TWindow& window, QRect rect = QRect());
QImage GrabPicture(QWidget* widget, QRect rect = QRect());
// Whether the window shows the picture somewhere on it, pixel for pixel.
bool ShowsPicture(TWindow& window, const TBitmap& picture);
// The tool tip Qt shows now, or "" when none is visible.
std::string ShownToolTip();
// The text painted in the status line's text field (its first gadget).
std::string StatusLineText(TStatusBar& bar);
// The rows a list paints, top to bottom: for a list control its items in view, for a drawn list its painted lines.
std::vector<std::string> ListRows(TWindow& list);
// Whether the window is on the screen: shown, its top-level window exposed, some of it not covered by its parents' edges.
bool ShownOnScreen(TWindow& window);
bool ShownOnScreen(QWidget* widget);

}  // namespace vyn
