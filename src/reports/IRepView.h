#pragma once
// What the report model asks of an attached designer view. The report designer implements
// it; without a view the model calls none of it, geometry sets change nothing and nothing is
// marked modified.
#include <vector>

#include "platform/core/Geometry.h"

namespace vyn {

class RPObject;
class RPSection;

// Pixel metrics of the designer's selection handles.
struct RPRepMetrics {
    int titleHeight = 16;
    int handleOut = 3;
    int handleIn = 2;
    int handleCentre = 7;
    int anchorOut = 5;
    int anchorIn = 3;
};
extern RPRepMetrics gRepMetrics;

class IRepView {
public:
    virtual ~IRepView() = default;
    virtual int RepUnitsToPixelsX(int twips, int origin = 0) const = 0;
    virtual int RepUnitsToPixelsY(int twips, int origin = 0) const = 0;
    virtual int ScreenPpiX() const = 0;
    virtual int ScreenPpiY() const = 0;
    virtual void SetModified() = 0;
    virtual bool SetReportWidth(int width) = 0;
    virtual bool RefreshSection(RPSection& band, int height) = 0;
    virtual bool RefreshAllSections() = 0;
    virtual void MoveObjectBy(RPObject& object, int dx, int dy) = 0;
    virtual void ResizeObjectBy(RPObject& object, bool flipX, bool flipY, int dw, int dh) = 0;
    virtual void InvalidateClient(const TRect& rect) = 0;  // no erase
    virtual int ScrollX() const = 0;
    virtual int ScrollY() const = 0;
    virtual int ClientWidth() const = 0;
    virtual bool SnapToGrid() const = 0;
    virtual bool ShowGrid() const = 0;
    virtual const std::vector<RPObject*>& Selection() const = 0;
};

}  // namespace vyn
