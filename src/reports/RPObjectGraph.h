#pragma once
// The graph object: prints the plate's calibration curve with the points of a sample.
#include "reports/RPObject.h"

namespace vyn {

inline constexpr int kGraphPayloadSize = 212;

// One axis as the designer lays it out.
struct RPGraphAxisLayout {
    bool automatic = true;
    bool log = false;
    double minimum = 0.0, maximum = 100.0, step = 25.0;
    int subticks = 1;
    double logMin = 0.0, logMax = 0.0;  // log10 of minimum and maximum (log axes)
    int firstExp = 0, lastExp = 0;
    bool usable = true;  // false when the stored range cannot be laid out (drawing reports it)
};

// The designer's geometry of a graph, in view pixels, rebuilt by Layout.
struct RPGraphLayout {
    int curvePen = 0, gridPen = 0, minorGridPen = 0, axisPen = 0, minorTickPen = 0, pointPen = 0;
    int labelW = 0, labelH = 0, markerW = 0, markerH = 0;
    int tickX = 0, tickY = 0, gapX = 0, gapY = 0, minorX = 0, minorY = 0;
    int left = 0, bottom = 0, right = 0, top = 0;  // the plot frame
    RPGraphAxisLayout x, y;
};

class RPObjectGraph : public RPObject {
public:
    RPObjectGraph();

    std::unique_ptr<RPObjInst> CreateInstance(RPSecInst& owner) override;
    int GetType() const override { return otGraph; }
    int Write(std::uint8_t* out) const override;
    int Read(RecordReader& r) override;
    int Assign(const RPObject& other) override;
    void Layout() override;

    bool HasAttr(int code) const override;
    const RPLogFont* GetFont() const override { return &font_.Get(); }
    void SetFont(const RPLogFont& f) override;
    int GetRGBFore() const override { return ForeColour(); }
    void SetRGBFore(int v) override;
    const RPAxisSpec& GetAxisX() const override { return axisX_; }
    const RPAxisSpec& GetAxisY() const override { return axisY_; }
    void SetAxisX(const RPAxisSpec& a) override;
    void SetAxisY(const RPAxisSpec& a) override;
    int GetRGBCurve() const override { return ResolveColour(rgbCurve_); }
    int GetRGBPoint() const override { return ResolveColour(rgbPoint_); }
    void SetRGBCurve(int v) override;
    void SetRGBPoint(int v) override;
    int GetCurveWidth() const override { return curveWidth_; }
    int GetCurveRange() const override { return curveRange_; }
    int GetDrawGrid() const override { return drawGrid_; }
    int GetGridWidth() const override { return gridWidth_; }
    int GetDrawAxes() const override { return drawAxes_; }
    int GetAxesWidth() const override { return axesWidth_; }
    int GetDrawLabels() const override { return drawLabels_; }
    void SetCurveWidth(int v) override;
    void SetCurveRange(int v) override;
    void SetDrawGrid(int v) override;
    void SetGridWidth(int v) override;
    void SetDrawAxes(int v) override;
    void SetAxesWidth(int v) override;
    void SetDrawLabels(int v) override;

    // The text shown in the designer in place of the graph; empty when it can be drawn.
    // Drawing sets it when an axis fails, and it stays until the next Layout.
    const std::string& Message() const { return message_; }
    void SetMessage(const std::string& m) { message_ = m; }
    const RPGraphLayout& LayoutCache() const { return layout_; }
    const RPFont& Font() const { return font_; }

private:
    void Changed(bool relayout);

    RPFont font_;
    RPAxisSpec axisX_;
    RPAxisSpec axisY_;
    int rgbCurve_ = 0, rgbPoint_ = 0;
    int curveWidth_ = 1, curveRange_ = 0;
    int drawGrid_ = 0, gridWidth_ = 0, drawAxes_ = 1, axesWidth_ = 1, drawLabels_ = 1;
    std::string message_;
    RPGraphLayout layout_;
};

// Lays out one designer axis from its settings: automatic 0..100 by 25 (1..100 on a log
// axis), fixed from the record; a log axis widened to whole decades with 2 % tolerance.
void LayoutGraphAxis(const RPAxisSpec& spec, RPGraphAxisLayout& out);

}  // namespace vyn
