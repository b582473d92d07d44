#pragma once
#include <string>

#include "platform/core/Geometry.h"
#include "platform/gui/Window.h"

namespace vyn {

class TDialog;

// A one- or two-line text in a colour of its own (the dialogs' red message lines). It takes
// the place and the id of a static control of the dialog's template, which is hidden, so the
// template still decides where the line lies.
class QMessageLine : public TWindow {
public:
    QMessageLine(TDialog& dlg, int id, TColor color);

    void SetText(const std::string& text);
    std::string GetText() const { return GetWindowText(); }
    void SetColor(TColor color);

protected:
    void Paint(TDC& dc, bool erase, TRect& rect) override;

private:
    TColor color_;
};

// A small picture in place of a template static: the busy sign that moves while a reader
// operation runs, or the error sign.
class QRunnerIcon : public TWindow {
public:
    enum Kind { Busy, Error };
    QRunnerIcon(TDialog& dlg, int id, Kind kind);

protected:
    void Paint(TDC& dc, bool erase, TRect& rect) override;

private:
    Kind kind_;
};

// Moves the template static with the id out of the way (hidden, id 0) and puts the window
// in its place under the same id; returns the static's rectangle.
TRect TakeStaticPlace(TDialog& dlg, int id, TWindow& replacement);

}  // namespace vyn
