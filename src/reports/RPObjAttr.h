#pragma once
// The one attribute interface of everything a report designer edits: objects, bands, the
// report, the default attribute sets. A target answers HasAttr for its codes; the get of an
// attribute it lacks returns the neutral value below, and the set does nothing.
#include <cstdint>
#include <string>

#include "reports/QRSource.h"
#include "reports/RPAxisSpec.h"
#include "reports/RPFont.h"
#include "reports/RPNumFormat.h"

namespace vyn {

enum RPAttrCode : int {
    acLeft = 0,
    acTop = 1,
    acWidth = 2,
    acHeight = 3,
    acBorderStyle = 4,
    acRGBBorder = 5,
    acBorderWidth = 6,
    acBorderLnStyle = 7,
    acBackStyle = 8,
    acRGBBack = 9,
    acRGBFore = 10,
    acFont = 11,
    acTextAlignH = 12,
    acTextAlignV = 13,
    acSource = 14,
    acContents = 15,
    acCondition = 16,
    acFormat = 17,
    acLineSlant = 18,
    acAxisX = 19,
    acAxisY = 20,
    acRGBCurve = 21,
    acRGBPoint = 22,
    acCurveWidth = 23,
    acCurveRange = 24,
    acDrawGrid = 25,
    acGridWidth = 26,
    acDrawAxes = 27,
    acAxesWidth = 28,
    acDrawLabels = 29,
    acForceNewPage = 30,
    acHdFtPresent = 31,
    acNOfColumns = 32,
    acColumnLayout = 33,
    acDetailSamples = 34,
    acGranulX = 35,
    acGranulY = 36,
    acSizeMode = 37,
    acCount = 38,
};

// A stored colour whose top byte is 0x80 names a system colour, resolved when read.
int ResolveColour(int stored);
// What attribute sets keep of a colour.
inline int ColourBits(int value) { return value & 0xFFFFFF; }
// Clamps shared by the kinds and their default sets.
inline int Bool01(int v) { return v != 0 ? 1 : 0; }
inline int ClampBorderWidth(int v) { return v < 0 ? 0 : (v > 6 ? 6 : v); }
inline int BorderWidthOrZero(int v) { return (v < 0 || v > 6) ? 0 : v; }
inline int LnStyleOrZero(int v) { return (v < 0 || v > 4) ? 0 : v; }
inline int ClampTwips(int v) { return v < 0 ? 0 : (v > 31680 ? 31680 : v); }

const std::string& EmptyText();

class RPObjAttr {
public:
    virtual ~RPObjAttr() = default;
    virtual bool HasAttr(int /*code*/) const { return false; }
    virtual int GetLeft() const { return 32767; }
    virtual void SetLeft(int) {}
    virtual int GetTop() const { return 32767; }
    virtual void SetTop(int) {}
    virtual int GetWidth() const { return 32767; }
    virtual void SetWidth(int) {}
    virtual int GetHeight() const { return 32767; }
    virtual void SetHeight(int) {}
    virtual int GetBorderStyle() const { return 32767; }
    virtual void SetBorderStyle(int) {}
    virtual int GetBorderWidth() const { return 32767; }
    virtual void SetBorderWidth(int) {}
    virtual int GetBorderLnStyle() const { return 32767; }
    virtual void SetBorderLnStyle(int) {}
    virtual int GetBackStyle() const { return 32767; }
    virtual void SetBackStyle(int) {}
    virtual int GetTextAlignH() const { return 32767; }
    virtual void SetTextAlignH(int) {}
    virtual int GetTextAlignV() const { return 32767; }
    virtual void SetTextAlignV(int) {}
    virtual const RPLogFont* GetFont() const { return nullptr; }
    virtual void SetFont(const RPLogFont&) {}
    virtual int GetLineSlant() const { return 32767; }
    virtual void SetLineSlant(int) {}
    virtual int GetRGBBorder() const { return -1; }
    virtual void SetRGBBorder(int) {}
    virtual int GetRGBBack() const { return -1; }
    virtual void SetRGBBack(int) {}
    virtual int GetRGBFore() const { return -1; }
    virtual void SetRGBFore(int) {}
    virtual int GetForceNewPage() const { return 0; }
    virtual void SetForceNewPage(int) {}
    virtual int GetHdFtPresent() const { return 0; }
    virtual void SetHdFtPresent(int) {}
    virtual int GetNOfColumns() const { return 1; }
    virtual void SetNOfColumns(int) {}
    virtual int GetColumnLayout() const { return 0; }
    virtual void SetColumnLayout(int) {}
    virtual int GetDetailSamples() const { return 0; }
    virtual void SetDetailSamples(int) {}
    virtual const std::string& GetContents() const { return EmptyText(); }
    virtual void SetContents(const std::string&) {}
    virtual const RPNumFormat& GetFormat() const { return DefaultNumFormat(); }
    virtual void SetFormat(const RPNumFormat&) {}
    virtual const std::string& GetCondition() const { return EmptyText(); }
    virtual void SetCondition(const std::string&) {}
    virtual const QRSource& GetSource() const { return DefaultSource(); }
    virtual void SetSource(const QRSource&) {}
    virtual int GetGranulX() const { return 32767; }
    virtual void SetGranulX(int) {}
    virtual int GetGranulY() const { return 32767; }
    virtual void SetGranulY(int) {}
    virtual int GetSizeMode() const { return 32767; }
    virtual void SetSizeMode(int) {}
    virtual const RPAxisSpec& GetAxisX() const { return DefaultAxisSpec(); }
    virtual void SetAxisX(const RPAxisSpec&) {}
    virtual const RPAxisSpec& GetAxisY() const { return DefaultAxisSpec(); }
    virtual void SetAxisY(const RPAxisSpec&) {}
    virtual int GetRGBCurve() const { return -1; }
    virtual void SetRGBCurve(int) {}
    virtual int GetRGBPoint() const { return -1; }
    virtual void SetRGBPoint(int) {}
    virtual int GetCurveWidth() const { return 32767; }
    virtual void SetCurveWidth(int) {}
    virtual int GetCurveRange() const { return 32767; }
    virtual void SetCurveRange(int) {}
    virtual int GetDrawGrid() const { return 32767; }
    virtual void SetDrawGrid(int) {}
    virtual int GetGridWidth() const { return 32767; }
    virtual void SetGridWidth(int) {}
    virtual int GetDrawAxes() const { return 32767; }
    virtual void SetDrawAxes(int) {}
    virtual int GetAxesWidth() const { return 32767; }
    virtual void SetAxesWidth(int) {}
    virtual int GetDrawLabels() const { return 32767; }
    virtual void SetDrawLabels(int) {}
};

}  // namespace vyn
