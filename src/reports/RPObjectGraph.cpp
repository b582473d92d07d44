#include "reports/RPObjectGraph.h"

#include <cstring>

#include "reports/ByteIO.h"
#include "reports/RPDefaultAttrs.h"
#include "reports/RPRun.h"
#include "reports/RecordIO.h"

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
    axesWidth_ = static_cast<int>(GetU16(g + 8));
    gridWidth_ = static_cast<int>(GetU16(g + 10));
    curveWidth_ = static_cast<int>(GetU16(g + 12));
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

}  // namespace vyn
