#pragma once
// APrintOutGraph: one graph on one page, as the calibration-curve and sample-graph views print
// it: page furniture, a title, a square plot with framed axes, ticks, optional grid and labels
// (linear or decades), the curve sampled from the owner's y(x) with an optional heavier
// stretch, the marked points, and the owner's text lines below. A message can stand in for the
// graph. The same code paints the preview.
#include <optional>
#include <string>
#include <vector>

#include "printing/APrintOut.h"

namespace vyn {

class APrintOutGraph : public APrintOut {
public:
    // The owner's description of one axis. A log axis maps log10 values: Paginate sets min and
    // max to its decades. The owner keeps min < max (firstDecade < lastDecade).
    struct AxisRecord {
        int log = 0;
        int grid = 0;
        double min = 0.0;
        double max = 1.0;
        double step = 1.0;
        int steps = 1;
        int minorTicks = 0;
        int firstDecade = 0;
        int lastDecade = 1;
    };
    // Room for 800 curve steps, the first and the last point and two copies of each mark point.
    static constexpr int kPointBuffer = 810;
    static constexpr int kMaxSteps = 800;

    APrintOutGraph();
    ~APrintOutGraph() override;

    void BeginPrinting() override;
    void PrintPage(int page, TRect& rect, unsigned flags) override;
    void EndPrinting() override;
    void LoadMargins() override;
    void StoreMargins() override;
    void LoadFont() override;
    void Paginate() override;
    virtual double PrintCurveY(double x) = 0;
    // The owner's text lines below the graph.
    virtual void PrintLegend() {}

    int XPixel(double v) const;
    int YPixel(double v) const;
    double XValue(int px) const;
    double CurveAt(double x);
    static std::string DecadeLabel(int e);
    static std::string ValueLabel(double v);

    // --- layout (Paginate), device units of the printer context ---
    std::vector<TPoint> points;  // exists from BeginPrinting to EndPrinting
    int titleY = 0;
    TRect plotRect;
    int captionY = 0;
    TSize majorTick, minorTick, markRadius;
    int legendLines = 0;

    // --- described by the owner in PrepareHeader ---
    std::optional<std::string> message;
    std::optional<std::string> title;
    std::optional<std::string> xCaption;
    AxisRecord xAxis, yAxis;
    double curveFrom;
    double curveTo;
    double markFrom;
    double markTo;
    int pointCount = 0;
    const double* pointX = nullptr;  // not owned
    const double* pointY = nullptr;
    const int* pointFlags = nullptr;

    // The curve as last printed (device points), for checking.
    const std::vector<TPoint>& CurveDrawn() const { return drawn_; }

private:
    TSize PointSize(const TDC& dc, int pts) const;
    void DrawTicks(TDC& out, const TPen& thin, const TPen& heavy, bool xAxisTicks);
    void DrawCurve(TDC& out, const TPen& thin, const TPen& heavy);
    void DrawPoints(TDC& out, const TPen& thin, const TPen& heavy);
    std::vector<TPoint> drawn_;
};

}  // namespace vyn
