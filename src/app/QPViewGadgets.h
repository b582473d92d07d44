#pragma once
// The shell's side of a plate matrix view's gadgets: the view describes what the bars should
// show (QPView::Bars()), this puts matching gadgets on the main tool bar after its anchors and
// on the tool palette after the mode button, and takes them off again; the Tools popup of the
// menu bar follows. The other views give their bars in the same form. The gadgets belong to
// the shell; only the boxes (the plate view's entry and name boxes, the list's identification
// edit) belong to the view.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Gadget.h"
#include "views/ViewBars.h"

namespace vyn {

class QPView;
class TView;
class TGadgetWindow;

// A tool-bar button that shows its picture (the command's own bitmap, or the one given), and a
// short caption only while the picture is missing.
class QViewButtonGadget : public TButtonGadget {
public:
    QViewButtonGadget(int commandId, TType type, const std::string& caption, int picture = 0);
    TSize GetDesiredSize(TDC& dc) override;
    void Paint(TDC& dc) override;
    const std::string& Caption() const { return caption_; }

private:
    std::string caption_;
};

// A view's control on a shell bar. The view deletes its controls before the shell hears that
// the view is gone; an orphaned gadget no longer touches its control.
class QHostedControlGadget : public TControlGadget {
public:
    using TControlGadget::TControlGadget;
    void Orphan() { orphan_ = true; }

protected:
    void Removed() override;

private:
    bool orphan_ = false;
};

class QPViewGadgets {
public:
    QPViewGadgets();
    ~QPViewGadgets();

    // Shows the view's bars (its gadgets when installed, none otherwise).
    void Apply(QPView& view);
    void Apply(TView& view, const QPViewBars& bars);
    // Takes every gadget of a plate view off the bars.
    void RemoveAll();
    // Takes everything off the bars and deletes it: the bars are about to go.
    void Clear();
    // The view is going (or gone): its boxes are no longer used.
    void ViewGone(const TView* view);

    // The view whose gadgets are on the bars, or none.
    const TView* ShownFor() const { return shownFor_; }
    // The gadget that stands for a command of a view, for tests; nullptr when none is made.
    TGadget* ButtonFor(int commandId) const;
    TTextGadget* EntryLabel() const { return entryLabel_.get(); }
    TTextGadget* ToolText() const { return toolText_.get(); }

private:
    TGadget* GadgetFor(int id, TView& owner, const QPViewBars& bars, std::size_t& separators);
    // The picture buttons show the view's state: the repeat and renumber pictures, the next
    // number and the dilution letter.
    void ShowFaces(const QPViewBars& bars);
    void DropControls();

    std::map<int, std::unique_ptr<TButtonGadget>> buttons_;
    std::vector<std::unique_ptr<TSeparatorGadget>> separators_;
    std::unique_ptr<TTextGadget> entryLabel_, toolText_;
    std::unique_ptr<QHostedControlGadget> entryBox_, nameBox_;
    const TView* controlsOf_ = nullptr;  // the view whose boxes the box gadgets hold
    const TView* shownFor_ = nullptr;  // the view whose gadgets are on the bars
};

QPViewGadgets& PlateViewGadgets();

}  // namespace vyn
