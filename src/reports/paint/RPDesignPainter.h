#pragma once
// Design-time painting of a report in the designer view: each object drawn from the pixel
// geometry of its Layout, the selection handles, the bands with their title bars, grid dots
// and detail columns, and the whole page. Everything goes through TDC.
namespace vyn {

class TDC;
class RPObject;
class RPSection;
class RPReport;
struct TRect;

// One object, in band coordinates (the DC's mapping puts band pixels where they show); clip
// in band coordinates too. Nothing is drawn when the object misses the clip.
void DrawObject(TDC& dc, RPObject& object, const TRect& clip);
// The eight selection handles of a selected object, inverted (drawn twice they are gone).
void DrawHandles(TDC& dc, const RPObject& object, const TRect& clip);
// One band: title bar, body, grid dots, objects and handles, detail columns; clip in client
// coordinates of the view. Needs the report's designer view.
void PaintSection(TDC& dc, RPSection& band, const TRect& clip);
// The designer page: the enabled bands from the top, grey below the last.
void PaintLayout(TDC& dc, RPReport& report, const TRect& clip);

}  // namespace vyn
