#include "views/QSView.h"

#include "document/QDoc.h"
#include "evaluator/NoValue.h"
#include "platform/core/StringTable.h"
#include "printing/QMethodSummaryPrintout.h"
#include "printing/PageSettings.h"
#include "views/ViewShell.h"

namespace vyn {

namespace {

bool HasValues(const QPlate& p) { return p.measuredCount != 0 || p.dataCount != 0; }
bool HasStandards(const QPlate& p) { return p.stdInUse && p.stdInUse->WellCount() > 0; }

}  // namespace

QSView::QSView(QDoc& doc, TWindow* parent)
    : QCrvWindow(parent), TView(doc), doc_(doc), plate_(doc.GetPlate()), cal_(doc.GetPlate().calibr)
{
    SetXLog(plate_.curveLogX);
    SetYLog(plate_.curveLogY);
    SetAreaFlag(plate_.curveGrid);
    TPrintout::SetTitle("Calibration");

    OnCommand(cmShowCalibrationInfo, [this] {
        if (IDocDialogs* ui = GetViewShell().dialogs ? GetViewShell().dialogs(this) : nullptr)
            doc_.ShowCalibrationStatus(*ui);
    });
    OnCommand(cmCalibrationFit, [this] { CmFit(); });
    OnCommand(cmCalibrationDialog, [this] { CmCalibrationDialog(); });
    OnCommand(cmExcludePoints, [this] { if (HasSelection()) MarkSelected(true); });
    OnCommand(cmIncludePoints, [this] { if (HasSelection()) MarkSelected(false); });
    OnCommand(cmInvertPoints, [this] { InvertSelected(); });
    OnCommand(cmRestorePoints, [this] {
        if (PendingCount()) RestoreMarks();
        if (RangeChanged()) ResetMarkers();
    });
    OnCommand(cmInverseCalculate, [this] {
        if (GetViewShell().inverseCalculation) GetViewShell().inverseCalculation(this, doc_);
    });
    for (unsigned id : {cmLogX, cmLogY, cmGrid}) OnCommand(id, [this, id] { ToggleDisplay(id); });
    OnCommand(cmHelpContext, [this] {
        if (GetViewShell().help) GetViewShell().help(kHelpContext);
    });

    auto always = [](TCommandEnabler& ce) { ce.Enable(true); };
    for (unsigned id : {cmShowCalibrationInfo, cmCalibrationDialog, cmInverseCalculate, cmModeButtonIdle})
        OnCommandEnable(id, always);
    OnCommandEnable(cmCalibrationFit, [this](TCommandEnabler& ce) {
        ce.Enable(CanFit() || RangeChanged() || PendingCount() > 0);
    });
    for (unsigned id : {cmExcludePoints, cmIncludePoints, cmInvertPoints})
        OnCommandEnable(id, [this](TCommandEnabler& ce) { ce.Enable(HasSelection()); });
    OnCommandEnable(cmRestorePoints, [this](TCommandEnabler& ce) { ce.Enable(RangeChanged() || PendingCount() > 0); });
    OnCommandEnable(cmLogX, [this](TCommandEnabler& ce) { ce.Enable(true); ce.SetCheck(GetXLog()); });
    OnCommandEnable(cmLogY, [this](TCommandEnabler& ce) { ce.Enable(true); ce.SetCheck(GetYLog()); });
    OnCommandEnable(cmGrid, [this](TCommandEnabler& ce) { ce.Enable(true); ce.SetCheck(GetGrid()); });
    for (unsigned id : {cmShowPlate, cmShowList})
        OnCommandEnable(id, [](TCommandEnabler& ce) { ce.Enable(true); ce.SetCheck(TCommandEnabler::Unchecked); });
    OnCommandEnable(cmShowCurve, [](TCommandEnabler& ce) { ce.Enable(true); ce.SetCheck(TCommandEnabler::Checked); });
    OnCommandEnable(cmShowSampleGraph, [](TCommandEnabler& ce) { ce.Enable(false); ce.SetCheck(TCommandEnabler::Unchecked); });
}

QSView::~QSView()
{
    if (IsWindow()) Destroy();  // nothing may paint the graph while it is taken down
    ForgetActiveView(this);
}

void QSView::SetupWindow()
{
    QCrvWindow::SetupWindow();
    SetContextHelpId(kHelpContext);
    Rebuild();
}

double QSView::CurveY(double x) { return cal_.CurveY(x); }

bool QSView::CanFit() const
{
    return HasValues(plate_) && cal_.state == csNotCalculated && HasStandards(plate_);
}

std::string QSView::TitleText() const
{
    std::string t = QCalibr::ModelName(cal_.model);
    if (cal_.stored) t += " " + GetResStringStd(1722);
    return t;
}

void QSView::Rebuild()
{
    const std::string title = TitleText();
    QCrvWindow::SetTitle(title.c_str());
    if (cal_.state == csNotCalculated) {
        SetXLabel(GetResStringStd(HasStandards(plate_) ? 1635 : 1634).c_str(), false);
    } else if (cal_.state == csValid) {
        SetXLabel(plate_.units.c_str(), false);
    } else {
        SetXLabel(cal_.message.c_str(), true);
    }
    const auto& r = cal_.results;
    auto res = [&r](int i) { return i < static_cast<int>(r.size()) ? r[static_cast<std::size_t>(i)] : NoValue; };
    SetCurve(res(crDrawLo), res(crDrawHi), res(crRangeLo), res(crRangeHi));
    const int n = std::min(cal_.PointCount(), static_cast<int>(cal_.pointY.size()));
    pointFlags_.assign(static_cast<std::size_t>(n), 0);
    for (int i = 0; i < n && i < static_cast<int>(cal_.pointExcluded.size()); ++i)
        pointFlags_[static_cast<std::size_t>(i)] = cal_.pointExcluded[static_cast<std::size_t>(i)] ? kExcluded : 0;
    SetData(cal_.pointX.data(), cal_.pointY.data(), n, pointFlags_.data(), !cal_.stored);
    if (!cal_.stored) SetMarkers(res(crRangeLo), res(crRangeHi));
    else SetMarkers(NoValue, NoValue);
    if (IsWindow()) Refresh();
}

bool QSView::VnNotify(int event, long item)
{
    switch (event) {
    case vnPlateChanged:
        if (plate_.rst.CalibrationChanged()) Rebuild();
        return true;
    case vnPresentationChanged:
        if (item != 8 && (item & 16) && cal_.state == csValid) Rebuild();
        return true;
    default: return true;
    }
}

bool QSView::CanClose()
{
    if (doc_.CountDataViews() > 1) return true;
    if (!doc_.CanClose()) return false;
    doc_.CloseSampleGraphViews();
    return true;
}

void QSView::CmFit()
{
    if (CanFit()) {
        doc_.ApplyCalibration();
    } else if (PendingCount() > 0) {
        doc_.SetPointFlags(Flags());
    } else if (RangeChanged()) {
        doc_.SetCurveRange(MarkerLow(), MarkerHigh());
    }
}

void QSView::CmCalibrationDialog()
{
    IDocDialogs* ui = GetViewShell().dialogs ? GetViewShell().dialogs(this) : nullptr;
    if (!ui) return;
    doc_.EditCalibration(*ui);
    SetXLog(plate_.curveLogX);
    SetYLog(plate_.curveLogY);
    SetAreaFlag(plate_.curveGrid);
}

void QSView::ToggleDisplay(unsigned id)
{
    if (id == cmLogX) SetXLog(!GetXLog());
    else if (id == cmLogY) SetYLog(!GetYLog());
    else SetAreaFlag(!GetGrid());
    doc_.SetDisplayOptions(GetXLog(), GetYLog(), GetGrid());
}

void QSView::EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    if (key == VK_RETURN) {
        if (!(flags & KF_REPEAT)) PostCommand(cmCalibrationFit);
        return;
    }
    QCrvWindow::EvKeyDown(key, repeatCount, flags);
}

void QSView::Activated(bool active)
{
    if (active) {
        SetActiveView(&doc_, this);
        // The keys of the graph (Tab, the arrows) go to the graph, not to its frame.
        if (IsWindow() && !HasFocus()) SetFocus();
    }
    // The palette's first separator comes with the mode button's group.
    if (GetViewShell().barsChanged) GetViewShell().barsChanged(*this, GraphViewBars(active, {cmCalibrationDialog, gdSeparator, cmShowPlate, cmShowList, cmShowCurve, cmShowCalibrationInfo}, cmCalibrationFit, 4));
}

// --- printing --------------------------------------------------------------------------------

namespace {

void CopyAxis(const QCrvWindow::Axis& a, int grid, APrintOutGraph::AxisRecord& r)
{
    r.log = a.log;
    r.grid = grid;
    r.min = a.first;
    r.max = a.last;
    r.step = a.step;
    r.steps = a.intervals;
    r.minorTicks = a.log ? 0 : a.minor;
    r.firstDecade = a.firstDecade;
    r.lastDecade = a.lastDecade;
}

}  // namespace

void QSView::PrepareHeader()
{
    QMethodSummaryPrintout::FillReportHeader(plate_, doc_.GetDocPath(), header);
    dateText = DateTimeText();
    EnsureLayout();
    title = TitleText();
    xCaption = plate_.units;
    CopyAxis(XAxis(), GetGrid(), xAxis);
    CopyAxis(YAxis(), GetGrid(), yAxis);
    const auto& r = cal_.results;
    auto res = [&r](int i) { return i < static_cast<int>(r.size()) ? r[static_cast<std::size_t>(i)] : NoValue; };
    curveFrom = res(crDrawLo);
    curveTo = res(crDrawHi);
    markFrom = res(crRangeLo);
    markTo = res(crRangeHi);
    pointCount = static_cast<int>(pointFlags_.size());
    pointX = cal_.pointX.data();
    pointY = cal_.pointY.data();
    pointFlags = pointFlags_.data();
    message.reset();
    if (cal_.state == csNotCalculated || State() == -1) message = " ";
    else if (State() == -2) message = GetResStringStd(1659);
}

void QSView::PrintLegend()
{
    if (cal_.state == csNotCalculated) {
        PrintWrapped(GetResStringStd(HasStandards(plate_) ? 1635 : 1634));
    } else if (cal_.state == csFailed) {
        PrintWrapped(cal_.message);
    } else {
        PrintWrapped(QCalibr::ModelFormula(cal_.model));
        NewLine();
        NewLine();
        PrintWrapped(cal_.message);
    }
}

}  // namespace vyn
