#include "views/QNView.h"

#include "document/QDoc.h"
#include "evaluator/NoValue.h"
#include "plate/QNSample.h"
#include "plate/Utilities.h"
#include "platform/core/StringTable.h"
#include "printing/PageSettings.h"
#include "printing/QMethodSummaryPrintout.h"
#include "views/QSView.h"
#include "views/ViewShell.h"

namespace vyn {

namespace {

bool HasValues(const QPlate& p) { return p.measuredCount != 0 || p.dataCount != 0; }

IDocDialogs* Dialogs(TWindow* w) { return GetViewShell().dialogs ? GetViewShell().dialogs(w) : nullptr; }

}  // namespace

QNView::QNView(QDoc& doc, TWindow* parent) : QNView(doc, gPendingViewSample, parent) {}

QNView::QNView(QDoc& doc, int sampleIndex, TWindow* parent)
    : QCrvWindow(parent), TView(doc), doc_(doc), plate_(doc.GetPlate()), index_(sampleIndex)
{
    if (index_ >= 0 && index_ < plate_.sampleCount) sample_ = plate_.GetSample(index_);
    Init();
}

void QNView::Init()
{
    SetXLog(plate_.curveLogX);
    SetYLog(plate_.curveLogY);
    SetAreaFlag(plate_.curveGrid);
    TPrintout::SetTitle("Sample");

    OnCommand(cmSampleStatus, [this] {
        if (!Sample()) return;
        if (IDocDialogs* ui = Dialogs(this)) doc_.ShowSampleStatus(*ui, SampleIndex());
    });
    OnCommand(cmCalculateSample, [this] { CmCalculate(); });
    OnCommand(cmSampleDefinition, [this] {
        if (!Sample()) return;
        if (IDocDialogs* ui = Dialogs(this)) doc_.EditSampleDefinition(*ui, SampleIndex(), 0);
    });
    OnCommand(cmExcludePoints, [this] { if (HasSelection()) MarkSelected(true); });
    OnCommand(cmIncludePoints, [this] { if (HasSelection()) MarkSelected(false); });
    OnCommand(cmInvertPoints, [this] { InvertSelected(); });
    OnCommand(cmRestorePoints, [this] { if (PendingCount()) RestoreMarks(); });
    for (unsigned id : {cmLogX, cmLogY, cmGrid}) OnCommand(id, [this, id] { ToggleDisplay(id); });
    OnCommand(cmHelpContext, [] {
        if (GetViewShell().help) GetViewShell().help(kHelpContext);
    });

    auto always = [](TCommandEnabler& ce) { ce.Enable(true); };
    OnCommandEnable(cmModeButtonIdle, always);
    OnCommandEnable(cmSampleDefinition, always);
    OnCommandEnable(cmSampleStatus, [this](TCommandEnabler& ce) { ce.Enable(Sample() != nullptr); });
    OnCommandEnable(cmCalculateSample, [this](TCommandEnabler& ce) { ce.Enable(CanCalculate() || PendingCount() > 0); });
    for (unsigned id : {cmExcludePoints, cmIncludePoints, cmInvertPoints})
        OnCommandEnable(id, [this](TCommandEnabler& ce) { ce.Enable(HasSelection()); });
    OnCommandEnable(cmRestorePoints, [this](TCommandEnabler& ce) { ce.Enable(PendingCount() > 0); });
    OnCommandEnable(cmLogX, [this](TCommandEnabler& ce) { ce.Enable(true); ce.SetCheck(GetXLog()); });
    OnCommandEnable(cmLogY, [this](TCommandEnabler& ce) { ce.Enable(true); ce.SetCheck(GetYLog()); });
    OnCommandEnable(cmGrid, [this](TCommandEnabler& ce) { ce.Enable(true); ce.SetCheck(GetGrid()); });
    for (unsigned id : {cmShowPlate, cmShowList, cmShowCurve})
        OnCommandEnable(id, [](TCommandEnabler& ce) { ce.Enable(true); ce.SetCheck(TCommandEnabler::Unchecked); });
    OnCommandEnable(cmShowSampleGraph, [](TCommandEnabler& ce) { ce.Enable(true); ce.SetCheck(TCommandEnabler::Checked); });
}

QNView::~QNView()
{
    if (IsWindow()) Destroy();  // nothing may paint the graph while it is taken down
    ForgetActiveView(this);
}

void QNView::SetupWindow()
{
    QCrvWindow::SetupWindow();
    SetContextHelpId(kHelpContext);
    Rebuild();
}

QNSample* QNView::Sample() const
{
    // The view follows its sample when renumbering or fixing moves it in the list; a sample
    // no longer in the list (it may be freed already) is shown no more.
    if (!sample_) return nullptr;
    for (int i = 0; i < plate_.sampleCount; ++i)
        if (plate_.GetSample(i) == sample_) return dynamic_cast<QNSample*>(sample_);
    return nullptr;
}

int QNView::SampleIndex() const
{
    const QNSample* s = Sample();
    return s ? s->index : index_;
}

double QNView::CurveY(double x) { return plate_.calibr.CurveY(x); }

bool QNView::CanCalculate() const
{
    const QNSample* s = Sample();
    return s && HasValues(plate_) && s->resultState == rsNotCalculated;
}

std::string QNView::TitleText() const
{
    const QNSample* s = Sample();
    if (!s) return {};
    std::string t = s->IsSequential() ? std::to_string(s->SeqNumber()) : IndexToLetters(s->index);
    return t + ".: " + s->ident;
}

std::string QNView::LabelText(bool& highlight) const
{
    highlight = false;
    const QNSample* s = Sample();
    if (!s) return {};
    bool isText = false;
    switch (s->resultState) {
    case rsError:
        highlight = true;
        return s->errorTexts.empty() ? std::string() : s->errorTexts.back();
    case rsNotCalculated: return GetResStringStd(1635);
    case rsCalculated: {
        std::string t = plate_.SampleResultText(*s, isText);
        if (s->CategoriesEmpty()) t += " " + plate_.units;
        return t;
    }
    default: return plate_.SampleResultText(*s, isText);
    }
}

void QNView::Rebuild()
{
    const QNSample* s = Sample();
    shownTitle_ = TitleText();
    QCrvWindow::SetTitle(shownTitle_.c_str());
    bool highlight = false;
    const std::string label = LabelText(highlight);
    SetXLabel(label.c_str(), highlight);
    const auto& r = plate_.calibr.results;
    auto res = [&r](int i) { return i < static_cast<int>(r.size()) ? r[static_cast<std::size_t>(i)] : NoValue; };
    SetCurve(res(crDrawLo), res(crDrawHi), res(crRangeLo), res(crRangeHi));
    x_.clear();
    y_.clear();
    flags_.clear();
    if (s) {
        const int n = std::min({s->pointCount, static_cast<int>(s->wellConcs.size()), static_cast<int>(s->signals.size()),
                                static_cast<int>(s->flags.size())});
        for (int i = 0; i < n; ++i) {
            x_.push_back(s->wellConcs[static_cast<std::size_t>(i)]);
            y_.push_back(s->signals[static_cast<std::size_t>(i)]);
            flags_.push_back(s->flags[static_cast<std::size_t>(i)] & (kExcluded | kSecondColour));
        }
    }
    SetData(x_.data(), y_.data(), static_cast<int>(x_.size()), flags_.data(), true);
    SetMarkers(NoValue, NoValue);
    if (IsWindow()) Refresh();
}

bool QNView::VnNotify(int event, long item)
{
    switch (event) {
    case vnPlateChanged:
        if (!Sample()) {
            // The plate was read again: its samples are new ones.
            if (sample_) {
                sample_ = nullptr;
                Rebuild();
            }
        } else if (plate_.rst.SampleChanged(SampleIndex()) || TitleText() != shownTitle_) {
            Rebuild();
        }
        return true;
    case vnSampleRemoved:
        // Its sample gone, the view goes too; without a shell to close it, it shows nothing.
        if (sample_ && !Sample()) {
            sample_ = nullptr;
            Rebuild();
            if (GetViewShell().closeView) GetViewShell().closeView(*this);  // this view is gone now
        } else if (Sample() && TitleText() != shownTitle_) {
            Rebuild();  // a sample before it went: its number moved up
        }
        return true;
    case vnPresentationChanged:
        if (item != 8 && (item & (2 | 16))) Rebuild();
        return true;
    default: return true;
    }
}

void QNView::CmCalculate()
{
    if (!Sample()) return;
    if (CanCalculate()) doc_.CalculateSample(SampleIndex());
    else if (PendingCount() > 0) doc_.SetSamplePointFlags(SampleIndex(), Flags());
}

void QNView::ToggleDisplay(unsigned id)
{
    if (id == cmLogX) SetXLog(!GetXLog());
    else if (id == cmLogY) SetYLog(!GetYLog());
    else SetAreaFlag(!GetGrid());
    doc_.SetDisplayOptions(GetXLog(), GetYLog(), GetGrid());
}

void QNView::EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    if (key == VK_RETURN) {
        if (!(flags & KF_REPEAT)) PostCommand(cmCalculateSample);
        return;
    }
    QCrvWindow::EvKeyDown(key, repeatCount, flags);
}

void QNView::Activated(bool active)
{
    if (GetViewShell().barsChanged) GetViewShell().barsChanged(*this, GraphViewBars(active, {cmSampleDefinition, gdSeparator, cmShowPlate, cmShowList, cmShowCurve, cmShowSampleGraph, cmSampleStatus}, cmCalculateSample, 5));
    if (!active) return;
    SetActiveView(&doc_, this);
    if (IsWindow() && !HasFocus()) SetFocus();
    if (Sample()) doc_.NotifySampleFocused(SampleIndex());
}

// --- printing --------------------------------------------------------------------------------

void QNView::PrepareHeader()
{
    QMethodSummaryPrintout::FillReportHeader(plate_, doc_.GetDocPath(), header);
    dateText = DateTimeText();
    EnsureLayout();
    title = TitleText();
    xCaption = plate_.units;
    for (int k = 0; k < 2; ++k) {
        const Axis& a = k == 0 ? XAxis() : YAxis();
        AxisRecord& rec = k == 0 ? xAxis : yAxis;
        rec.log = a.log;
        rec.grid = GetGrid();
        rec.min = a.first;
        rec.max = a.last;
        rec.step = a.step;
        rec.steps = a.intervals;
        rec.minorTicks = a.log ? 0 : a.minor;
        rec.firstDecade = a.firstDecade;
        rec.lastDecade = a.lastDecade;
    }
    const auto& r = plate_.calibr.results;
    auto res = [&r](int i) { return i < static_cast<int>(r.size()) ? r[static_cast<std::size_t>(i)] : NoValue; };
    curveFrom = res(crDrawLo);
    curveTo = res(crDrawHi);
    markFrom = res(crRangeLo);
    markTo = res(crRangeHi);
    pointCount = static_cast<int>(x_.size());
    pointX = x_.data();
    pointY = y_.data();
    pointFlags = flags_.data();
    message.reset();
    if (State() == -2) message = GetResStringStd(1659);
    else if (State() == -1) message = " ";
}

void QNView::PrintLegend()
{
    const QNSample* s = Sample();
    if (!s) return;
    bool isText = false;
    switch (s->resultState) {
    case rsError:
        if (!s->errorTexts.empty()) PrintWrapped(s->errorTexts.back());
        break;
    case rsNotCalculated: PrintWrapped(GetResStringStd(1635)); break;
    case rsCalculated: {
        std::string t = GetResStringStd(3140) + plate_.SampleResultText(*s, isText) + GetResStringStd(3141);
        if (s->CategoriesEmpty()) t += plate_.units;
        PrintF(t);
        break;
    }
    default: PrintF(GetResStringStd(3140) + plate_.SampleResultText(*s, isText)); break;
    }
}

}  // namespace vyn
