#pragma once
// The in-place edit below a definition list shows whether it is being typed in: black on white
// while it has the focus (or the expression wizard works on it), black on light grey otherwise,
// the grey of the list it belongs to.
#include "controls/QGEdit.h"

namespace vyn {

inline void ColourInPlaceEdit(QGEdit& edit)
{
    const bool typing = edit.HasFocus() || edit.WizardRunning;
    edit.SetColors(TColor(0, 0, 0), typing ? TColor(255, 255, 255) : TColor(192, 192, 192));
}

}  // namespace vyn
