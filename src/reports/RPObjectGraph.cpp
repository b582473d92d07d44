#include "reports/RPObjectGraph.h"

#include <cmath>
#include <cstring>

#include "reports/ByteIO.h"
#include "platform/core/StringTable.h"
#include "reports/IRepView.h"
#include "reports/RPDefaultAttrs.h"
#include "reports/RPReport.h"
#include "reports/RPRun.h"
#include "reports/RecordIO.h"
#include "reports/ReportStrings.h"

namespace vyn {

RPObjectGraph::RPObjectGraph() : font_(GraphDefaults().GetFont())
{
    const RPGraphDefaAttr& d = GraphDefaults();
    width_ = d.width;
    height_ = d.height;
    StoreStyles(d.borderStyle, d.borderWidth, d.borderLnStyle, d.backStyle);
    StoreColours(d.rgbBorder, d.rgbBack, d.rgbFore);
    axisX_ = d.axisX;
    axisY_ = d.axisY;
    rgbCurve_ = d.rgbCurve;
    curveWidth_ = d.curveWidth;
    curveRange_ = d.curveRange;
    rgbPoint_ = d.rgbPoint;
    drawGrid_ = d.drawGrid;
    gridWidth_ = d.gridWidth;
    drawAxes_ = d.drawAxes;
    axesWidth_ = d.axesWidth;
    drawLabels_ = d.drawLabels;
}

std::unique_ptr<RPObjInst> RPObjectGraph::CreateInstance(RPSecInst& owner)
{
    return std::make_unique<RPObjInstGraph>(owner, *this);
}

bool RPObjectGraph::HasAttr(int code) const
{
    return RPObject::HasAttr(code) || code == acRGBFore || code == acFont || (code >= 19 && code <= 29);
}

void RPObjectGraph::Changed(bool relayout)
{
    if (relayout) Relayout();
    else Invalidate();
    MarkModified();
}

void RPObjectGraph::SetFont(const RPLogFont& f)
{
    if (font_.Set(f) != 0) Changed(true);
}

void RPObjectGraph::SetRGBFore(int v)
{
    v = ColourBits(v);
    if (v == ForeColour()) return;
    StoreFore(v);
    Changed(false);
}

void RPObjectGraph::SetAxisX(const RPAxisSpec& a)
{
    if (a == axisX_) return;
    axisX_ = a;
    Changed(true);
}

void RPObjectGraph::SetAxisY(const RPAxisSpec& a)
{
    if (a == axisY_) return;
    axisY_ = a;
    Changed(true);
}

void RPObjectGraph::SetRGBCurve(int v)
{
    if (v == GetRGBCurve()) return;
    rgbCurve_ = v;
    Changed(false);
}

void RPObjectGraph::SetRGBPoint(int v)
{
    if (v == GetRGBPoint()) return;
    rgbPoint_ = v;
    Changed(false);
}

static int PenPoints(int v) { return (v < 0 || v > 6) ? 0 : v; }

void RPObjectGraph::SetCurveWidth(int v)
{
    v = PenPoints(v);
    if (v == curveWidth_) return;
    curveWidth_ = v;
    Changed(true);
}
void RPObjectGraph::SetGridWidth(int v)
{
    v = PenPoints(v);
    if (v == gridWidth_) return;
    gridWidth_ = v;
    Changed(true);
}
void RPObjectGraph::SetAxesWidth(int v)
{
    v = PenPoints(v);
    if (v == axesWidth_) return;
    axesWidth_ = v;
    Changed(true);
}
void RPObjectGraph::SetCurveRange(int v)
{
    v = Bool01(v);
    if (v == curveRange_) return;
    curveRange_ = v;
    Changed(false);
}
void RPObjectGraph::SetDrawGrid(int v)
{
    v = Bool01(v);
    if (v == drawGrid_) return;
    drawGrid_ = v;
    Changed(true);
}
void RPObjectGraph::SetDrawAxes(int v)
{
    v = Bool01(v);
    if (v == drawAxes_) return;
    drawAxes_ = v;
    Changed(true);
}
void RPObjectGraph::SetDrawLabels(int v)
{
    v = Bool01(v);
    if (v == drawLabels_) return;
    drawLabels_ = v;
    Changed(true);
}

int RPObjectGraph::Write(std::uint8_t* out) const
{
    const int common = WriteCommon(nullptr);
    const int size = common + kGraphPayloadSize;
    if (!out) return size;
    WriteCommon(out);
    std::uint8_t* p = out + common;
    std::memset(p, 0, kGraphPayloadSize);
    font_.Get().Store(p);
    WriteAxisRecord(p + 60, axisX_);
    WriteAxisRecord(p + 116, axisY_);
    std::uint8_t* g = p + 172;
    PutU16(g + 0, static_cast<std::uint32_t>(curveRange_));
    PutU16(g + 2, static_cast<std::uint32_t>(drawAxes_));
    PutU16(g + 4, static_cast<std::uint32_t>(drawLabels_));
    PutU16(g + 6, static_cast<std::uint32_t>(drawGrid_));
    PutU16(g + 8, static_cast<std::uint32_t>(axesWidth_));
    PutU16(g + 10, static_cast<std::uint32_t>(gridWidth_));
    PutU16(g + 12, static_cast<std::uint32_t>(curveWidth_));
    PutU32(g + 16, static_cast<std::uint32_t>(GetRGBCurve()));
    PutU32(g + 20, static_cast<std::uint32_t>(GetRGBPoint()));
    PutU32(out, static_cast<std::uint32_t>(size));
    return size;
}

int RPObjectGraph::Read(RecordReader& r)
{
    if (RPObject::Read(r) < 0) return -1;
    const std::size_t start = r.Pos();
    const std::uint8_t* p = r.Take(kGraphPayloadSize);
    if (!p) return -1;
    font_.Set(RPLogFont::Load(p));
    r.Seek(start + 60);
    ReadAxisRecord(r, axisX_);
    ReadAxisRecord(r, axisY_);
    const std::uint8_t* g = p + 172;
    curveRange_ = static_cast<int>(GetU16(g + 0));
    drawAxes_ = static_cast<int>(GetU16(g + 2));
    drawLabels_ = static_cast<int>(GetU16(g + 4));
    drawGrid_ = static_cast<int>(GetU16(g + 6));
    axesWidth_ = PenPoints(static_cast<int>(GetU16(g + 8)));
    gridWidth_ = PenPoints(static_cast<int>(GetU16(g + 10)));
    curveWidth_ = PenPoints(static_cast<int>(GetU16(g + 12)));
    rgbCurve_ = GetI32(g + 16);
    rgbPoint_ = GetI32(g + 20);
    r.Seek(start + kGraphPayloadSize);
    return r.Ok() ? static_cast<int>(r.Pos()) : -1;
}

int RPObjectGraph::Assign(const RPObject& other)
{
    if (RPObject::Assign(other) != 0) return 1;
    const auto& o = static_cast<const RPObjectGraph&>(other);
    font_.Set(*o.GetFont());
    axisX_ = o.axisX_;
    axisY_ = o.axisY_;
    rgbCurve_ = o.rgbCurve_;
    curveWidth_ = o.curveWidth_;
    curveRange_ = o.curveRange_;
    rgbPoint_ = o.rgbPoint_;
    drawGrid_ = o.drawGrid_;
    gridWidth_ = o.gridWidth_;
    drawAxes_ = o.drawAxes_;
    axesWidth_ = o.axesWidth_;
    drawLabels_ = o.drawLabels_;
    return 0;
}

void LayoutGraphAxis(const RPAxisSpec& spec, RPGraphAxisLayout& a)
{
    a = RPGraphAxisLayout();
    a.log = spec.scale == 1;
    a.automatic = spec.kind != 1;
    if (a.automatic) {
        a.minimum = a.log ? 1.0 : 0.0;
        a.maximum = 100.0;
        a.step = 25.0;
        a.subticks = 1;
    } else {
        a.minimum = spec.low;
        a.maximum = spec.high;
        a.step = spec.increment;
        a.subticks = spec.subticks;
    }
    if (!a.log) return;
    // A stored fixed range may hold limits no logarithm can take; drawing reports the axis.
    const double f = std::floor(std::log10(a.minimum * 1.02));
    const double l = std::ceil(std::log10(a.maximum / 1.02));
    if (!std::isfinite(f) || !std::isfinite(l) || std::fabs(f) > 300 || std::fabs(l) > 300) {
        a.usable = false;
        return;
    }
    a.firstExp = static_cast<int>(f);
    a.lastExp = static_cast<int>(l);
    a.minimum = std::pow(10.0, a.firstExp);
    a.maximum = std::pow(10.0, a.lastExp);
    a.logMin = a.firstExp;
    a.logMax = a.lastExp;
    a.subticks = 9;
}

void RPObjectGraph::Layout()
{
    RPObject::Layout();
    message_.clear();
    IRepView* view = View();
    if (!view) return;
    const TRect& in = px_.inner;
    if (in.Width() < 5 || in.Height() < 5) {
        message_ = GetResStringStd(kStrSmall);
        return;
    }
    RPGraphLayout& L = layout_;
    RPReport& rep = *Report();
    const RPScale& sx = rep.GridX();
    const RPScale& sy = rep.GridY();
    const TSize label = MeasureScreenText(font_, "888.888");
    L.labelW = label.cx;
    L.labelH = label.cy;
    const int t = sy.ToTwips(L.labelH / 2);
    L.tickX = sx.FromTwips(t);
    L.tickY = sy.FromTwips(t);
    L.minorX = 2 * L.tickX / 3;
    L.minorY = 2 * L.tickY / 3;
    L.gapX = L.tickX / 2;
    L.gapY = L.tickY / 2;
    L.markerW = sx.FromTwips(5 * t / 4);
    L.markerH = sy.FromTwips(5 * t / 4);
    L.pointPen = L.markerW / 5;
    L.curvePen = sx.FromTwips(curveWidth_ * 20);
    L.gridPen = sx.FromTwips(gridWidth_ * 20);
    L.axisPen = sx.FromTwips(axesWidth_ * 20);
    L.minorGridPen = 2 * L.gridPen / 3;
    L.minorTickPen = 2 * L.axisPen / 3;
    LayoutGraphAxis(axisX_, L.x);
    LayoutGraphAxis(axisY_, L.y);
    if (drawAxes_ == 0) {
        L.left = in.left;
        L.bottom = in.bottom;
        L.right = in.right;
        L.top = in.top;
    } else if (drawLabels_ == 0) {
        L.left = in.left + L.gapX + L.tickX;
        L.bottom = in.bottom - (L.gapY + L.tickY);
        L.right = in.right - L.gapX / 2;
        L.top = in.top + L.gapY / 2;
    } else {
        L.left = in.left + L.labelW + L.gapX + L.tickX;
        L.bottom = in.bottom - (L.labelH + L.gapY + L.tickY);
        L.right = in.right - L.labelW / 2;
        L.top = in.top + L.labelH / 2;
    }
}

}  // namespace vyn
