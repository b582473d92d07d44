#include "app/QPViewGadgets.h"

#include <algorithm>

#include "app/AppGlobals.h"
#include "app/QPictButtGadget.h"
#include "app/TMyControlBar.h"
#include "controls/QGCombo.h"
#include "controls/QGEdit.h"
#include "platform/gui/Dc.h"
#include "platform/gui/DecoratedFrame.h"
#include "platform/gui/GadgetWindow.h"
#include "views/QLView.h"
#include "views/QPView.h"

namespace vyn {

namespace {

struct ButtonKind {
    int id;
    TButtonGadget::TType type;
    const char* caption;   // shown only while the picture is missing; the tool tip has the words
    int picture = 0;       // the bitmap resource (of the first picture); 0: the command's own
    int pictures = 0;      // a strip of pictures with a text over them; 0: one plain picture
};

// The view's commands on the bars. Mode, layer and tool buttons show their state, the others
// only send their command.
constexpr ButtonKind kButtons[] = {
    {cmConfirmEntry, TButtonGadget::Command, "OK"},
    {cmCancelEntry, TButtonGadget::Command, "X"},
    {cmMeasure, TButtonGadget::Command, "Mea"},
    {cmCalculate, TButtonGadget::Command, "Calc"},
    {cmPreview, TButtonGadget::Command, "Prev"},
    {cmPrint, TButtonGadget::Command, "Prn"},
    {cmSave, TButtonGadget::Command, "Save"},
    {cmPlateMatrix, TButtonGadget::Command, "Pl"},
    {cmSampleList, TButtonGadget::Command, "Lst"},
    {cmCalibrationCurve, TButtonGadget::Command, "Crv"},
    {cmDataEntry, TButtonGadget::NonExclusive, "Ent"},
    {2483, TButtonGadget::NonExclusive, "L"},
    {2484, TButtonGadget::NonExclusive, "I"},
    {2485, TButtonGadget::NonExclusive, "D"},
    {2486, TButtonGadget::NonExclusive, "M"},
    {2487, TButtonGadget::NonExclusive, "R"},
    {cmDelete, TButtonGadget::Command, "Del"},
    {cmControls, TButtonGadget::NonExclusive, "C"},
    {cmQualitative, TButtonGadget::NonExclusive, "Ql"},
    {cmStandards, TButtonGadget::NonExclusive, "St"},
    {cmQuantitative, TButtonGadget::NonExclusive, "Qn"},
    {cmRepeat, TButtonGadget::NonExclusive, "Rep", 12480, 2},
    {cmEditSample, TButtonGadget::NonExclusive, "Ed"},
    {cmRenumber, TButtonGadget::NonExclusive, "Ren", 12487, 2},
    {2496, TButtonGadget::NonExclusive, "1"},
    {2497, TButtonGadget::NonExclusive, "2"},
    {2498, TButtonGadget::NonExclusive, "3"},
    {2499, TButtonGadget::NonExclusive, "4"},
    {cmNextDilution, TButtonGadget::Command, "+", 2493, 1},
    {cmPrevDilution, TButtonGadget::Command, "-"},
    {cmReplication, TButtonGadget::NonExclusive, "Rpl"},
    {cmSampleGraph, TButtonGadget::Command, "Gr"},
    {cmSampleStatus, TButtonGadget::Command, "Sts"},
    {cmIdentifications, TButtonGadget::NonExclusive, "Id"},
    {cmFixSample, TButtonGadget::Command, "Fix", 12507, 2},
    {cmSampleDefinition, TButtonGadget::Command, "Def", 3218, 2},
    {cmCalibrationDialog, TButtonGadget::Command, "Cal"},
    {cmShowCalibrationInfo, TButtonGadget::Command, "Inf"},
    // The report designer's: its tools and switches show their state.
    {24321, TButtonGadget::Command, "Undo"},
    {24322, TButtonGadget::Command, "Cut"},
    {24323, TButtonGadget::Command, "Copy"},
    {24324, TButtonGadget::Command, "Paste"},
    {2603, TButtonGadget::Command, "Prn", 2601},
    {2604, TButtonGadget::Command, "Prev", 2602},
    {7109, TButtonGadget::NonExclusive, "Txt"},
    {7110, TButtonGadget::NonExclusive, "Rect"},
    {7111, TButtonGadget::NonExclusive, "Line"},
    {7112, TButtonGadget::NonExclusive, "Gr"},
    {7113, TButtonGadget::NonExclusive, "Pic"},
    {7114, TButtonGadget::NonExclusive, "Brk"},
    {7115, TButtonGadget::NonExclusive, "Lck"},
    {7118, TButtonGadget::NonExclusive, "Attr"},
    {7119, TButtonGadget::Command, "Dup"},
};

const ButtonKind* FindKind(int id)
{
    for (const ButtonKind& k : kButtons)
        if (k.id == id) return &k;
    return nullptr;
}

}  // namespace

QViewButtonGadget::QViewButtonGadget(int commandId, TType type, const std::string& caption, int picture)
    : TButtonGadget(picture ? picture : commandId, commandId, type, false), caption_(caption)
{
}

TSize QViewButtonGadget::GetDesiredSize(TDC& dc)
{
    if (GetGlyph()) return TButtonGadget::GetDesiredSize(dc);
    const TSize t = dc.GetTextExtent(caption_);
    return {std::max(16, t.cx + 4) + 7, std::max(16, t.cy) + 7};
}

void QViewButtonGadget::Paint(TDC& dc)
{
    TButtonGadget::Paint(dc);
    if (GetGlyph() || caption_.empty()) return;
    const bool down = GetButtonState() == Down;
    TRect r = GetBounds();
    if (down) r = TRect(r.left + 1, r.top + 1, r.right + 1, r.bottom + 1);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetEnabled() ? TColor(0, 0, 0) : TColor(128, 128, 128));
    dc.DrawText(caption_, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void QHostedControlGadget::Removed()
{
    if (!orphan_) TControlGadget::Removed();
}

QPViewGadgets::QPViewGadgets() = default;

QPViewGadgets::~QPViewGadgets()
{
    RemoveAll();
    DropControls();
}

QPViewGadgets& PlateViewGadgets()
{
    static QPViewGadgets gadgets;
    return gadgets;
}

TGadget* QPViewGadgets::ButtonFor(int commandId) const
{
    auto it = buttons_.find(commandId);
    return it == buttons_.end() ? nullptr : it->second.get();
}

TGadget* QPViewGadgets::GadgetFor(int id, TView& owner, const QPViewBars& bars, std::size_t& separators)
{
    if (id == gdSeparator) {
        if (separators == separators_.size()) separators_.push_back(std::make_unique<TSeparatorGadget>(6));
        return separators_[separators++].get();
    }
    if (id == gdEntryLabel) {
        if (!entryLabel_) entryLabel_ = std::make_unique<TTextGadget>(0, TGadget::Recessed, TTextGadget::Left, 4);
        entryLabel_->SetText(bars.entryLabel);
        return entryLabel_.get();
    }
    if (id == gdToolText) {
        if (!toolText_) toolText_ = std::make_unique<TTextGadget>(0, TGadget::Recessed, TTextGadget::Left, 14);
        toolText_->SetText(bars.toolText);
        return toolText_.get();
    }
    if (id == cmEntryBox || id == cmNameBox || id == cmIdEdit) {
        // The plate view's value and name boxes, the list's identification edit.
        TWindow* control = nullptr;
        if (auto* plate = dynamic_cast<QPView*>(&owner); plate && id != cmIdEdit)
            control = id == cmEntryBox ? static_cast<TWindow*>(plate->EntryBox()) : static_cast<TWindow*>(plate->NameBox());
        else if (auto* list = dynamic_cast<QLView*>(&owner); list && id == cmIdEdit)
            control = list->Edit();
        if (!control) return nullptr;
        if (controlsOf_ != &owner) {
            DropControls();
            controlsOf_ = &owner;
        }
        auto& slot = id == cmNameBox ? nameBox_ : entryBox_;
        if (!slot) slot = std::make_unique<QHostedControlGadget>(*control);
        return slot.get();
    }
    auto it = buttons_.find(id);
    if (it == buttons_.end()) {
        const ButtonKind* kind = FindKind(id);
        const TButtonGadget::TType type = kind ? kind->type : TButtonGadget::Command;
        std::unique_ptr<TButtonGadget> b;
        if (kind && kind->pictures > 0) {
            auto p = std::make_unique<QPictButtGadget>(kind->picture, kind->pictures, id, type, false);
            // The renumber button's number stands out in red over its picture.
            if (id == cmRenumber) p->SetTextColor(TColor(255, 0, 0));
            b = std::move(p);
        } else {
            b = std::make_unique<QViewButtonGadget>(id, type, kind ? kind->caption : std::to_string(id),
                                                    kind ? kind->picture : 0);
        }
        it = buttons_.emplace(id, std::move(b)).first;
    }
    return it->second.get();
}

void QPViewGadgets::ShowFaces(const QPViewBars& bars)
{
    auto picture = [this](int id) { return dynamic_cast<QPictButtGadget*>(ButtonFor(id)); };
    if (QPictButtGadget* repeat = picture(cmRepeat)) repeat->SetPicture(bars.repeatPicture);
    if (QPictButtGadget* renumber = picture(cmRenumber)) {
        renumber->SetPicture(bars.renumberPicture);
        renumber->SetText(bars.renumberText);
    }
    if (QPictButtGadget* dilution = picture(cmNextDilution))
        dilution->SetLetter(bars.dilutionLetter.empty() ? 0 : bars.dilutionLetter[0]);
}

void QPViewGadgets::RemoveAll()
{
    if (gToolBar) {
        if (gToolBarGadgets[2] && gToolBar->Contains(*gToolBarGadgets[2])) gToolBar->RemoveAfter(gToolBarGadgets[2]);
        // Without the anchors nothing of a view may stay on the bar either.
        for (const auto& [id, b] : buttons_)
            if (gToolBar->Contains(*b)) gToolBar->Remove(*b);
        for (TGadget* g : {static_cast<TGadget*>(entryLabel_.get()), static_cast<TGadget*>(toolText_.get()),
                           static_cast<TGadget*>(entryBox_.get()), static_cast<TGadget*>(nameBox_.get())})
            if (g && gToolBar->Contains(*g)) gToolBar->Remove(*g);
        for (const auto& s : separators_)
            if (gToolBar->Contains(*s)) gToolBar->Remove(*s);
    }
    if (gToolPalette && gModeButton && gToolPalette->Contains(*gModeButton)) gToolPalette->RemoveAfter(gModeButton);
}

void QPViewGadgets::Clear()
{
    shownFor_ = nullptr;
    RemoveAll();
    for (auto* slot : {&entryBox_, &nameBox_})
        if (*slot) (*slot)->Orphan();
    DropControls();
    buttons_.clear();
    separators_.clear();
    entryLabel_.reset();
    toolText_.reset();
}

void QPViewGadgets::DropControls()
{
    for (auto* slot : {&entryBox_, &nameBox_}) {
        if (!*slot) continue;
        if (TGadgetWindow* w = (*slot)->GetGadgetWindow()) w->Remove(**slot);
        slot->reset();
    }
    controlsOf_ = nullptr;
}

void QPViewGadgets::ViewGone(const TView* view)
{
    // The view has deleted its boxes by now: their gadgets come off the bars without them.
    const bool itsControls = controlsOf_ && static_cast<const TView*>(controlsOf_) == view;
    if (itsControls)
        for (auto* slot : {&entryBox_, &nameBox_})
            if (*slot) (*slot)->Orphan();
    // A view that goes without losing the activation first leaves nothing behind.
    if (shownFor_ && static_cast<const TView*>(shownFor_) == view) {
        shownFor_ = nullptr;
        RemoveAll();
        if (gModeButton) {
            gModeButton->SetPicture(0);
            gModeButton->SetCommandId(CM_MODEBUTTON);
            gModeButton->SetButtonState(TButtonGadget::Up);
        }
    }
    if (itsControls) DropControls();
}

void QPViewGadgets::Apply(QPView& view) { Apply(view, view.Bars()); }

void QPViewGadgets::Apply(TView& view, const QPViewBars& bars)
{
    RemoveAll();
    if (gModeButton) {
        gModeButton->SetCommandId(bars.modeButtonCommand);
        gModeButton->SetPicture(bars.modeButtonPicture);
        gModeButton->SetButtonState(bars.modeButtonPressed ? TButtonGadget::Down : TButtonGadget::Up);
    }
    shownFor_ = bars.installed ? &view : nullptr;
    if (!bars.installed) {
        if (gToolBar) gToolBar->LayoutSession();
        if (gToolPalette) gToolPalette->LayoutSession();
        return;
    }
    std::size_t separators = 0;
    auto pressed = [&bars](int id) { return std::find(bars.pressed.begin(), bars.pressed.end(), id) != bars.pressed.end(); };
    auto place = [&](TMyControlBar* bar, int id) {
        TGadget* g = GadgetFor(id, view, bars, separators);
        if (!g || bar->Contains(*g)) return;
        bar->Insert(*g);
        if (auto* b = dynamic_cast<TButtonGadget*>(g)) {
            b->SetButtonState(pressed(id) ? TButtonGadget::Down : TButtonGadget::Up);
            b->CommandEnable();
        }
    };
    if (gToolBar) {
        if (bars.carrierAnchors) {
            for (TGadget* g : gToolBarGadgets)
                if (g && !gToolBar->Contains(*g)) gToolBar->Insert(*g);
        } else {
            // A view that has nothing to do with the reader: the bar keeps only its fixed part.
            gToolBar->RemoveFrom(gToolBarGadgets[0]);
        }
        // The anchors hold the carrier buttons already; the view's list names them again.
        place(gToolBar, cmSave);
        place(gToolBar, gdSeparator);
        for (int id : bars.mainBar)
            if (id != cmInsertCarrier && id != cmEjectCarrier) place(gToolBar, id);
        // The name box keeps its place on the bar while a replication pattern is pending, but
        // is not shown: no name is chosen then. Inserting the gadget has shown it.
        if (nameBox_ && gToolBar->Contains(*nameBox_) && !bars.nameBoxShown)
            nameBox_->GetControl().ShowWindow(SW_HIDE);
        gToolBar->LayoutSession();
    }
    if (gToolPalette) {
        place(gToolPalette, gdSeparator);
        for (int id : bars.palette) place(gToolPalette, id);
        gToolPalette->LayoutSession();
    }
    ShowFaces(bars);
    // The Tools popup (the third item of the view's menu) follows the view's mode. Only an
    // installed view's menu is the one shown: activation shows the menu before the view hears.
    if (bars.toolsPopup > 0 && gToolBar)
        if (TDecoratedFrame* frame = TDecoratedFrame::FrameOf(*gToolBar)) frame->ReplaceMenuPopup(2, bars.toolsPopup);
}

}  // namespace vyn
