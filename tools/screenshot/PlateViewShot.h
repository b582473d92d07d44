#pragma once
// The plate view the screenshot tools photograph: the plate read and calculated, shown in a plate
// matrix view with the layout, identification, data and result layers, active and focused.
#include <functional>
#include <string>

namespace vyn {
class QDoc;
class QPView;
}  // namespace vyn

// The view (the caller deletes it before the document), or nullptr with a message on stderr
// when the plate cannot be read. The caller sizes it.
vyn::QPView* ShowPlateView(vyn::QDoc& doc, const std::string& plate);

// Once the view is on the screen, runs act (what the user does to it), lets the view paint, saves
// what it shows as a PNG at out, and deletes it. 0 when the picture was written.
int ShootPlateView(vyn::QPView* view, const std::string& out, const std::function<void()>& act);
