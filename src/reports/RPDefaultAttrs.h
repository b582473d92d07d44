#pragma once
// The default attribute sets from which new objects of each kind take their attributes; one
// program-wide instance each, edited by the designer's default-attributes command.
#include "reports/RPObjAttr.h"

namespace vyn {

// Width, height, the four styles and three colours shared by the sets.
class RPDefaAttrBase : public RPObjAttr {
public:
    int GetWidth() const override { return width; }
    int GetHeight() const override { return height; }
    void SetWidth(int v) override { width = ClampTwips(v); }
    void SetHeight(int v) override { height = ClampTwips(v); }
    int GetBorderStyle() const override { return borderStyle; }
    int GetBorderWidth() const override { return borderWidth; }
    int GetBorderLnStyle() const override { return borderLnStyle; }
    int GetBackStyle() const override { return backStyle; }
    void SetBorderStyle(int v) override { borderStyle = Bool01(v); }
    void SetBorderWidth(int v) override { borderWidth = ClampBorderWidth(v); }
    void SetBorderLnStyle(int v) override { borderLnStyle = LnStyleOrZero(v); }
    void SetBackStyle(int v) override { backStyle = Bool01(v); }
    int GetRGBBorder() const override { return ResolveColour(rgbBorder); }
    int GetRGBBack() const override { return ResolveColour(rgbBack); }
    void SetRGBBorder(int v) override { rgbBorder = v; }
    void SetRGBBack(int v) override { rgbBack = v; }

    int width = 1440, height = 360;
    int borderStyle = 0, borderWidth = 0, borderLnStyle = 0, backStyle = 0;
    int rgbBorder = 0, rgbBack = 0xFFFFFF;
};

class RPTextBoxDefaAttr : public RPDefaAttrBase {
public:
    RPTextBoxDefaAttr();
    bool HasAttr(int code) const override { return (code >= 2 && code <= 13) || code == acFormat; }
    int GetTextAlignH() const override { return alignH; }
    void SetTextAlignH(int v) override { alignH = (v >= 0 && v <= 2) ? v : 0; }
    int GetTextAlignV() const override { return alignV; }
    void SetTextAlignV(int v) override { alignV = Bool01(v); }
    int GetRGBFore() const override { return ResolveColour(rgbFore); }
    void SetRGBFore(int v) override { rgbFore = v; }
    const RPLogFont* GetFont() const override { return &font.Get(); }
    void SetFont(const RPLogFont& f) override { font.Set(f); }
    const RPNumFormat& GetFormat() const override { return format; }
    void SetFormat(const RPNumFormat& f) override { format = f; }

    int alignH = 0, alignV = 0, rgbFore = 0;
    RPFont font;
    RPNumFormat format;
};

class RPRectangleDefaAttr : public RPDefaAttrBase {
public:
    RPRectangleDefaAttr() { borderStyle = 1; }
    bool HasAttr(int code) const override { return code >= 2 && code <= 9; }
};

class RPLineDefaAttr : public RPDefaAttrBase {
public:
    RPLineDefaAttr() { height = 0; }
    bool HasAttr(int code) const override { return code == 2 || code == 3 || (code >= 5 && code <= 7) || code == acLineSlant; }
    int GetLineSlant() const override { return slant; }
    void SetLineSlant(int v) override { slant = Bool01(v); }
    int slant = 0;
};

class RPPictureDefaAttr : public RPDefaAttrBase {
public:
    RPPictureDefaAttr() { height = 720; }
    bool HasAttr(int code) const override { return (code >= 2 && code <= 9) || code == acSizeMode; }
    int GetSizeMode() const override { return sizeMode; }
    void SetSizeMode(int v) override { if (v >= 0 && v <= 2) sizeMode = v; }
    int sizeMode = 0;
};

class RPGraphDefaAttr : public RPDefaAttrBase {
public:
    RPGraphDefaAttr();
    bool HasAttr(int code) const override { return (code >= 2 && code <= 11) || (code >= 19 && code <= 29); }
    int GetRGBFore() const override { return ResolveColour(rgbFore); }
    void SetRGBFore(int v) override { rgbFore = v; }
    const RPLogFont* GetFont() const override { return &font.Get(); }
    void SetFont(const RPLogFont& f) override { font.Set(f); }
    const RPAxisSpec& GetAxisX() const override { return axisX; }
    const RPAxisSpec& GetAxisY() const override { return axisY; }
    void SetAxisX(const RPAxisSpec& a) override { if (!(a == axisX)) axisX = a; }
    void SetAxisY(const RPAxisSpec& a) override { if (!(a == axisY)) axisY = a; }
    int GetRGBCurve() const override { return ResolveColour(rgbCurve); }
    int GetRGBPoint() const override { return ResolveColour(rgbPoint); }
    void SetRGBCurve(int v) override { rgbCurve = v; }
    void SetRGBPoint(int v) override { rgbPoint = v; }
    int GetCurveWidth() const override { return curveWidth; }
    int GetCurveRange() const override { return curveRange; }
    int GetDrawGrid() const override { return drawGrid; }
    int GetGridWidth() const override { return gridWidth; }
    int GetDrawAxes() const override { return drawAxes; }
    int GetAxesWidth() const override { return axesWidth; }
    int GetDrawLabels() const override { return drawLabels; }
    void SetCurveWidth(int v) override { curveWidth = v; }
    void SetCurveRange(int v) override { curveRange = v; }
    void SetDrawGrid(int v) override { drawGrid = v; }
    void SetGridWidth(int v) override { gridWidth = v; }
    void SetDrawAxes(int v) override { drawAxes = v; }
    void SetAxesWidth(int v) override { axesWidth = v; }
    void SetDrawLabels(int v) override { drawLabels = v; }

    int rgbFore = 0;
    RPFont font;
    RPAxisSpec axisX, axisY;
    int rgbCurve = 0, rgbPoint = 0, curveWidth = 1, curveRange = 0, drawGrid = 0, gridWidth = 0;
    int drawAxes = 1, axesWidth = 1, drawLabels = 1;
};

RPTextBoxDefaAttr& TextBoxDefaults();
RPRectangleDefaAttr& RectangleDefaults();
RPLineDefaAttr& LineDefaults();
RPPictureDefaAttr& PictureDefaults();
RPGraphDefaAttr& GraphDefaults();

}  // namespace vyn
