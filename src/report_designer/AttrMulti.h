#pragma once
// RPMultiAttr: the attributes of a multiple selection. A get answers the value the selected
// objects share, or the marker of no common value; a set goes to every selected object that
// has the attribute. Nothing is cached: each call reads the selection as it is then. Band and
// report attributes keep the interface's neutral answers, so a selection never reaches them.
#include <vector>

#include "reports/RPObjAttr.h"

namespace vyn {

class RPObject;

class RPMultiAttr : public RPObjAttr {
public:
    explicit RPMultiAttr(const std::vector<RPObject*>* selection = nullptr) : selection_(selection) {}
    void Bind(const std::vector<RPObject*>* selection) { selection_ = selection; }

    bool HasAttr(int code) const override;

    int GetLeft() const override;
    void SetLeft(int v) override;
    int GetTop() const override;
    void SetTop(int v) override;
    int GetWidth() const override;
    void SetWidth(int v) override;
    int GetHeight() const override;
    void SetHeight(int v) override;
    int GetBorderStyle() const override;
    void SetBorderStyle(int v) override;
    int GetBorderWidth() const override;
    void SetBorderWidth(int v) override;
    int GetBorderLnStyle() const override;
    void SetBorderLnStyle(int v) override;
    int GetBackStyle() const override;
    void SetBackStyle(int v) override;
    int GetTextAlignH() const override;
    void SetTextAlignH(int v) override;
    int GetTextAlignV() const override;
    void SetTextAlignV(int v) override;
    const RPLogFont* GetFont() const override;
    void SetFont(const RPLogFont& f) override;
    int GetLineSlant() const override;
    void SetLineSlant(int v) override;
    int GetRGBBorder() const override;
    void SetRGBBorder(int v) override;
    int GetRGBBack() const override;
    void SetRGBBack(int v) override;
    int GetRGBFore() const override;
    void SetRGBFore(int v) override;
    const std::string& GetContents() const override;
    void SetContents(const std::string& v) override;
    const RPNumFormat& GetFormat() const override;
    void SetFormat(const RPNumFormat& v) override;
    const std::string& GetCondition() const override;
    void SetCondition(const std::string& v) override;
    const QRSource& GetSource() const override;
    void SetSource(const QRSource& v) override;
    int GetSizeMode() const override;
    void SetSizeMode(int v) override;
    const RPAxisSpec& GetAxisX() const override;
    void SetAxisX(const RPAxisSpec& v) override;
    const RPAxisSpec& GetAxisY() const override;
    void SetAxisY(const RPAxisSpec& v) override;
    int GetRGBCurve() const override;
    void SetRGBCurve(int v) override;
    int GetRGBPoint() const override;
    void SetRGBPoint(int v) override;
    int GetCurveWidth() const override;
    void SetCurveWidth(int v) override;
    int GetCurveRange() const override;
    void SetCurveRange(int v) override;
    int GetDrawGrid() const override;
    void SetDrawGrid(int v) override;
    int GetGridWidth() const override;
    void SetGridWidth(int v) override;
    int GetDrawAxes() const override;
    void SetDrawAxes(int v) override;
    int GetAxesWidth() const override;
    void SetAxesWidth(int v) override;
    int GetDrawLabels() const override;
    void SetDrawLabels(int v) override;

private:
    const std::vector<RPObject*>& Objects() const;
    const std::vector<RPObject*>* selection_;
};

}  // namespace vyn
