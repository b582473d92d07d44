#pragma once
// The graph object: prints the plate's calibration curve with the points of a sample.
#include "reports/RPObject.h"

namespace vyn {

inline constexpr int kGraphPayloadSize = 212;

class RPObjectGraph : public RPObject {
public:
    RPObjectGraph();

    std::unique_ptr<RPObjInst> CreateInstance(RPSecInst& owner) override;
    int GetType() const override { return otGraph; }
    int Write(std::uint8_t* out) const override;
    int Read(RecordReader& r) override;
    int Assign(const RPObject& other) override;

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

    const std::string& Message() const { return message_; }

private:
    void Changed(bool relayout);

    RPFont font_;
    RPAxisSpec axisX_;
    RPAxisSpec axisY_;
    int rgbCurve_ = 0, rgbPoint_ = 0;
    int curveWidth_ = 1, curveRange_ = 0;
    int drawGrid_ = 0, gridWidth_ = 0, drawAxes_ = 1, axesWidth_ = 1, drawLabels_ = 1;
    std::string message_;
};

}  // namespace vyn
