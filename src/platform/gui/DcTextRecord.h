#pragma once
// While recording is on, every run of text a DC draws into an image is noted with that image,
// and a block copy carries the noted runs of the copied part to the image it lands in (a view
// drawn into a memory bitmap and then put on the window): how test readers learn which texts
// a window's picture holds. Turning recording on or off forgets what was noted.
#include <string>
#include <vector>

#include "platform/core/Geometry.h"

class QImage;

namespace vyn {

struct TTextRun {
    std::string text;
    TRect rect;  // device pixels of the image, inside the clip it was drawn with
};

void RecordTextRuns(bool on);
// The runs noted for the image, in the order drawn.
std::vector<TTextRun> RecordedTextRuns(const QImage& image);

}  // namespace vyn
