#pragma once
// A plate view on a document with the four layout descriptors, shown offscreen at a size that
// holds the whole plate, activated and focused; and helpers that drive it as the user does.
#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "controls/QGEdit.h"
#include "document/QDoc.h"
#include "platform/gui/Dc.h"
#include "platform/gui/TestHook.h"
#include "plate/QDesc.h"
#include "views/QPView.h"

namespace vyn::test {

class Listener : public TView {
public:
    explicit Listener(TDocument& doc) : TView(doc) {}
    const char* GetViewName() override { return "QTest"; }
    bool VnNotify(int event, long) override
    {
        heard.push_back(event);
        return true;
    }
    std::vector<int> heard;
};

inline int W(const char* name) { return (name[0] - 'A') * 12 + std::stoi(name + 1) - 1; }

struct ViewFixture {
    TTestHook hook;
    QDoc doc;
    QPlate& p = doc.GetPlate();
    QDesc* ctl = Add(skGlobal, "BL");
    QDesc* standard = Add(skStandard, "ST");
    QDesc* qual = Add(skQualitative, "QS");
    QDesc* quant = Add(skQuantitative, "NS");
    Listener* listener = new Listener(doc);
    QPView* view = new QPView(doc);

    explicit ViewFixture(int cols = 13, int rows = 9)
    {
        view->Create();
        view->MoveWindow(0, 0, view->HeaderWidth + cols * view->CellWidth, view->HeaderHeight + rows * view->CellHeight);
        view->ShowWindow(SW_SHOW);
        view->EvMDIActivate(true);
        view->SetFocus();
        TTestHook::ProcessEvents();
        view->UpdateWindow();
    }
    ~ViewFixture() { delete view; }

    QDesc* Add(int kind, const char* name)
    {
        p.descs.push_back(std::make_unique<QDesc>(kind, name, TColor(0, 0, 160), ""));
        return p.descs.back().get();
    }
    TPoint Centre(int col, int row) const
    {
        const TRect r = view->CellRect(col, row);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    TPoint Centre(const char* well) const { return Centre(W(well) % 12, W(well) / 12); }
    void Press(const char* well, unsigned keys = 0)
    {
        const TPoint c = Centre(well);
        view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(c.x, c.y));
    }
    void MoveTo(const char* well, unsigned keys = 0)
    {
        const TPoint c = Centre(well);
        view->SendMessage(WM_MOUSEMOVE, MK_LBUTTON | keys, MAKELPARAM(c.x, c.y));
    }
    void Release(const char* well, unsigned keys = 0)
    {
        const TPoint c = Centre(well);
        view->SendMessage(WM_LBUTTONUP, keys, MAKELPARAM(c.x, c.y));
    }
    // A mouse sweep through the given wells.
    void Sweep(std::vector<const char*> wells, unsigned keys = 0)
    {
        Press(wells.front(), keys);
        for (std::size_t i = 1; i < wells.size(); ++i) MoveTo(wells[i], keys);
        Release(wells.back(), keys);
    }
    void Command(unsigned id) { view->SendCommand(id); }
    QImage Image() const { return view->ClientImage() ? view->ClientImage()->copy() : QImage(); }
    // The wells of every sample in list order, e.g. "B2 B3|C4".
    std::string Samples() const
    {
        std::string out;
        for (int i = 0; i < p.sampleCount; ++i) {
            if (i) out += '|';
            const QSample* s = p.GetSample(i);
            for (std::size_t k = 0; k < s->wells.size(); ++k)
                out += (k ? " " : "") + p.WellName(s->wells[k].well);
        }
        return out;
    }
    std::string SelectedWells() const
    {
        std::string out;
        for (int i = 0; i < p.wellCount; ++i)
            if (view->SelectedBytes()[static_cast<std::size_t>(i)] & 1) out += (out.empty() ? "" : " ") + p.WellName(i);
        return out;
    }
};

}  // namespace vyn::test
