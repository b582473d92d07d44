#pragma once
// Paints one page of a laid-out and evaluated report run on a device context: the band
// backgrounds, then the objects of every band instance clipped to the instance (grown by a
// margin of about 3 points, so thick borders on a band's edge print whole).
namespace vyn {

class RPReport;
class TDC;

void PaintReportPage(RPReport& report, int page, TDC& dc);

}  // namespace vyn
