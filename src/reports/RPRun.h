#pragma once
// The run-time side of a report: band instances (RPSecInst, one per sample for the detail
// band, cut into slices at page breaks), laid-out pages (RPPage) and object instances
// (RPObjInst) that carry the evaluated condition and contents of one object in one band
// instance, and the device geometry the painters use.
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Geometry.h"

namespace vyn {

class RPReport;
class RPSection;
class RPObject;
class RPObjectTextBox;
class RPObjectGraph;
class TEvaluator;
class RPSecInst;

enum RPSecInstFlags : int { siFirstSlice = 1, siLastSlice = 2, siNewPageBefore = 4, siNewPageAfter = 8 };
enum RPVisibility : int { viNotEvaluated = 0, viPrinted = 1, viHidden = 2, viCondError = -1 };

class RPObjInst {
public:
    RPObjInst(RPSecInst& owner, RPObject& object);
    virtual ~RPObjInst() = default;
    RPObjInst(const RPObjInst&) = delete;
    RPObjInst& operator=(const RPObjInst&) = delete;

    // The condition (every kind); kinds add their content. Returns 1 to abort the run.
    virtual int Evaluate(TEvaluator* ev, int& ignoreAll);

    // Device geometry relative to the slice; 1 when the object itself is not painted, with
    // the marker to show in its place in marker ("" for a hidden object).
    int PrepareGeometry(std::string& marker);

    RPObject& Object() const { return object_; }
    RPSecInst& Owner() const { return owner_; }
    RPReport& Report() const;

    int visibility = viPrinted;
    int contentState = 1;
    bool conditionDone = false;
    bool contentDone = false;
    int borderMode = 0;
    TRect outer;
    TRect inner;
    int insetX = 0, insetY = 0;
    TRect objRect;

protected:
    RPSecInst& owner_;
    RPObject& object_;
};

class RPObjInstTextBox : public RPObjInst {
public:
    RPObjInstTextBox(RPSecInst& owner, RPObjectTextBox& box);
    int Evaluate(TEvaluator* ev, int& ignoreAll) override;
    RPObjectTextBox& Box() const;
    std::string text;
};

class RPObjInstGraph : public RPObjInst {
public:
    RPObjInstGraph(RPSecInst& owner, RPObjectGraph& graph);
    int Evaluate(TEvaluator* ev, int& ignoreAll) override;
    RPObjectGraph& Graph() const;
    int sampleIndex = -1;
};

// Rectangles, lines and pictures evaluate only their condition.
class RPObjInstShape : public RPObjInst {
public:
    using RPObjInst::RPObjInst;
};

class RPSecInst {
public:
    RPSecInst(RPReport& report, RPSection& band, int sample);
    void CreateObjectInstances();
    // 1 to abort the run.
    int Evaluate(TEvaluator* ev, int& ignoreAll);
    TRect DeviceRect() const { return TRect(devX, devY, devX + devWidth, devY + devHeight); }

    RPReport& report;
    RPSection& band;
    int column = 0;
    int page = 0;
    int evaluatedPage = 0;
    int flags = 0;
    int sample = -1;
    int width = 0;
    int height = 0;
    int sliceTop = 0;
    std::vector<std::unique_ptr<RPObjInst>> objects;
    int devX = 0, devY = 0, devWidth = 0, devHeight = 0;
};

class RPPage {
public:
    explicit RPPage(RPReport& report);
    // Places instances from f on page k; the number placed.
    int Fill(int k, int f);
    int CountFitting(int available, int f);

    RPReport& report;
    int pageNumber = 0;
    RPSecInst header;
    RPSecInst footer;
    bool headerShown = false;
    bool footerShown = false;
    int first = 0;
    int last = -1;
};

}  // namespace vyn
