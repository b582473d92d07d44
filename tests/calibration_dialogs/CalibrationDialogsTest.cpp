// The "Calibration" dialog on the demo plate through the document's command, and the
// "Inverse Calculate" dialog against the curve's own conversions.
#include <gtest/gtest.h>

#include <cmath>

#include "controls/QGEdit.h"
#include "calibration/QCalibr.h"
#include "calibration_dialogs/CalibrationDialogs.h"
#include "calibration_dialogs/InvCalDlg.h"
#include "calibration_dialogs/QCalDlg.h"
#include "document/QDoc.h"
#include "evaluator/NoValue.h"
#include "evaluator/NumFormat.h"
#include "controls/QVarList.h"
#include "controls/TOkCancelGadgetWin.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/ControlList.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"

namespace vyn {
namespace {

const std::string kDemoPlate = std::string(VYN_SOURCE_DIR) + "/resources/demo/Demo.plt";

std::unique_ptr<QDoc> OpenDemo()
{
    auto doc = std::make_unique<QDoc>();
    doc->SetDocPath(kDemoPlate);
    if (!doc->InitDoc()) return nullptr;
    doc->CalculatePlate();
    doc->SetDirty(false);
    return doc;
}

template <class T>
T& Item(TDialog& d, int id)
{
    return static_cast<T&>(*d.GetDlgItem(id));
}

bool Checked(TDialog& d, int id) { return Item<TCheckBox>(d, id).GetCheck() == TCheckBox::BF_CHECKED; }

// Runs the document's "Calibration..." command with the dialog driven by drive; the dialog is
// ended with OK unless drive ended it.
bool EditCalibration(QDoc& doc, const std::function<void(QCalDlg&)>& drive)
{
    TTestHook hook;
    hook.AnswerDialog(QCalDlg::kResId, 0, [&](TDialog& d) {
        auto& dlg = static_cast<QCalDlg&>(d);
        drive(dlg);
        if (!dlg.HasEnded()) dlg.SendCommand(IDOK, BN_CLICKED, dlg.GetDlgItem(IDOK));
    });
    CalibrationDialogs ui(nullptr, &doc.GetPlate());
    return doc.EditCalibration(ui);
}

void SelectModel(QCalDlg& d, int model)
{
    auto& combo = Item<TComboBox>(d, QCalDlg::kModel);
    combo.SetSelIndex(model);
    d.SendCommand(QCalDlg::kModel, CBN_SELCHANGE, &combo);
}

TEST(CalibrationDialog, ModelChangeRefitsThePlate)
{
    auto doc = OpenDemo();
    ASSERT_TRUE(doc);
    QCalibr& cal = doc->GetPlate().calibr;
    ASSERT_EQ(cal.state, csValid);
    const int before = cal.model;
    const int other = before == cmLinear ? cmParabole : cmLinear;
    std::string state;
    ASSERT_TRUE(EditCalibration(*doc, [&](QCalDlg& d) {
        state = d.GetDlgItemText(QCalDlg::kState);
        SelectModel(d, other);
    }));
    EXPECT_EQ(state, "Calculated calibration curve");
    EXPECT_EQ(cal.model, other);
    EXPECT_EQ(cal.state, csValid) << "fitted again at once";
    EXPECT_TRUE(doc->IsDirty());
}

TEST(CalibrationDialog, OkWithoutChangesKeepsTheFitAndItsExcludedPoints)
{
    auto doc = OpenDemo();
    ASSERT_TRUE(doc);
    QCalibr& cal = doc->GetPlate().calibr;
    ASSERT_GE(cal.pointExcluded.size(), 3u);
    std::vector<int> flags(cal.pointExcluded.size(), 0);
    flags[1] = 1;
    ASSERT_TRUE(doc->SetPointFlags(flags));
    const std::vector<double> results = cal.results;
    doc->SetDirty(false);
    EXPECT_FALSE(EditCalibration(*doc, [](QCalDlg&) {})) << "nothing changed";
    EXPECT_NE(cal.pointExcluded[1], 0) << "the excluded standard point is still left out";
    EXPECT_EQ(cal.results, results);
    EXPECT_FALSE(doc->IsDirty());
}

TEST(CalibrationDialog, FourParameterHidesLogXAndLinearAloneHasTheK)
{
    auto doc = OpenDemo();
    ASSERT_TRUE(doc);
    bool logShown = true, k0Shown = true, k0After = true;
    ASSERT_TRUE(EditCalibration(*doc, [&](QCalDlg& d) {
        SelectModel(d, cmLinear);
        EXPECT_TRUE(ClickReaches(Item<TButton>(d, QCalDlg::kFixK0)));
        EXPECT_TRUE(ClickReaches(Item<TButton>(d, QCalDlg::kFixK1)));
        k0After = Checked(d, QCalDlg::kFixK0);
        Item<TEdit>(d, QCalDlg::kK1).SetWindowText("2,5x");
        Item<TButton>(d, QCalDlg::kLogX).SendCommand(0);
        Item<TCheckBox>(d, QCalDlg::kLogX).Check();
        SelectModel(d, cmFourParameter);
        logShown = Item<TWindow>(d, QCalDlg::kLogX).IsWindowVisible();
        k0Shown = Item<TWindow>(d, QCalDlg::kFixK0).IsWindowVisible();
    }));
    EXPECT_FALSE(k0After) << "checking K1 unchecks K0";
    EXPECT_FALSE(logShown);
    EXPECT_FALSE(k0Shown);
    const QCalibr& cal = doc->GetPlate().calibr;
    EXPECT_EQ(cal.model, cmFourParameter);
    EXPECT_EQ(cal.logX, 0);
    EXPECT_EQ(cal.fixedK, 2) << "the boxes still count when hidden";
    EXPECT_EQ(cal.K1, 2.0) << "read up to what is no number";
}

TEST(CalibrationDialog, ConcentrationsAreEditedInTheListAndMissingTailsDropped)
{
    auto doc = OpenDemo();
    ASSERT_TRUE(doc);
    std::vector<double> afterSlash;
    std::vector<double> answer;
    TTestHook hook;
    hook.AnswerDialog(QCalDlg::kResId, 0, [&](TDialog& dd) {
        auto& d = static_cast<QCalDlg&>(dd);
        d.concentrations = {100};
        d.List().Refill();
        d.List().SetFocus();
        TTestHook::Type("//", &d.List());
        afterSlash = d.concentrations;
        d.concentrations = {1, NoValue, 2, NoValue, NoValue};
        d.List().Refill();
        d.SendCommand(IDOK, BN_CLICKED, d.GetDlgItem(IDOK));
        answer = d.concentrations;
    });
    QCalDlg dlg(nullptr);
    dlg.cal = &doc->GetPlate().calibr;
    ASSERT_EQ(dlg.Execute(), IDOK);
    EXPECT_EQ(afterSlash, (std::vector<double>{100, 50, 25}));
    ASSERT_EQ(answer.size(), 3u);
    EXPECT_EQ(answer[1], NoValue) << "a missing value inside stays";
    EXPECT_EQ(answer[2], 2.0);
}

TEST(CalibrationDialog, StoredCalibrationIsShownLockedAndCanBeReleased)
{
    auto doc = OpenDemo();
    ASSERT_TRUE(doc);
    QCalibr& cal = doc->GetPlate().calibr;
    cal.stored = 1;
    bool modelEnabled = true, editShown = true, pairShown = true, releaseShown = false, listActive = true;
    std::string state;
    ASSERT_TRUE(EditCalibration(*doc, [&](QCalDlg& d) {
        modelEnabled = Item<TWindow>(d, QCalDlg::kModel).IsWindowEnabled();
        editShown = d.Edit().IsWindowVisible();
        pairShown = d.Pair().IsWindowVisible();
        releaseShown = Item<TWindow>(d, QCalDlg::kRelease).IsWindowVisible();
        listActive = d.List().GetState() != QVarList::stInactive;
        state = d.GetDlgItemText(QCalDlg::kState);
        TTestHook::Click(Item<TButton>(d, QCalDlg::kRelease));
    }));
    EXPECT_FALSE(modelEnabled);
    EXPECT_FALSE(editShown);
    EXPECT_FALSE(pairShown);
    EXPECT_TRUE(releaseShown);
    EXPECT_FALSE(listActive);
    EXPECT_EQ(state, "Stored calibration curve");
    EXPECT_EQ(cal.stored, 0) << "released";
}

TEST(CalibrationDialog, LoadCalibrationOpensAPlateFileWhenNoOtherPlateIsOpen)
{
    auto doc = OpenDemo();
    ASSERT_TRUE(doc);
    doc->GetPlate().calibr.SetParams(cmSpline, 0, 0, {1, 2, 3}, 0, 0.0, 1.0);
    const int demoModel = OpenDemo()->GetPlate().calibr.model;
    std::vector<std::string> asked;
    SetFileDialogAnswer([&](bool save, const std::string& title) {
        asked.push_back(title);
        return save ? std::string() : kDemoPlate;
    });
    ASSERT_TRUE(EditCalibration(*doc, [&](QCalDlg& d) { TTestHook::Click(Item<TButton>(d, QCalDlg::kLoad)); }));
    SetFileDialogAnswer({});
    EXPECT_EQ(asked.size(), 1u) << "straight to the file dialog";
    const QCalibr& cal = doc->GetPlate().calibr;
    EXPECT_EQ(cal.model, demoModel);
    EXPECT_NE(cal.stored, 0) << "a loaded calibration is stored";
}

TEST(CalibrationDialog, LoadCalibrationRefusesAFileWithoutAValidCurve)
{
    auto doc = OpenDemo();
    ASSERT_TRUE(doc);
    SetFileDialogAnswer([](bool, const std::string&) { return std::string(VYN_TEST_DATA) + "/document/legacy.plt"; });
    TTestHook hook;
    bool openAfter = false;
    hook.AnswerDialog(QCalDlg::kResId, IDCANCEL, [&](TDialog& d) {
        TTestHook::Click(Item<TButton>(d, QCalDlg::kLoad));
        openAfter = !d.HasEnded();
    });
    CalibrationDialogs ui(nullptr, &doc->GetPlate());
    EXPECT_FALSE(doc->EditCalibration(ui));
    SetFileDialogAnswer({});
    EXPECT_TRUE(openAfter) << "the dialog stays open";
    EXPECT_EQ(hook.MessageTexts(), std::vector<std::string>{"File does not contain a valid calibration."});
}

TEST(CalibrationDialog, ReopensWhereItWasClosed)
{
    auto doc = OpenDemo();
    ASSERT_TRUE(doc);
    TPoint first, second;
    EditCalibration(*doc, [&](QCalDlg& d) {
        d.SetWindowPos(nullptr, 70, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        first = d.ClientToScreen(TPoint(0, 0));
    });
    EditCalibration(*doc, [&](QCalDlg& d) { second = d.ClientToScreen(TPoint(0, 0)); });
    EXPECT_EQ(second.x, first.x);
    EXPECT_EQ(second.y, first.y);
}

// --- Inverse calculation ------------------------------------------------------------------

std::string Four(double v) { return v == NoValue ? std::string() : FormatDouble(v, nmGeneral, 0, 4, 0); }

TEST(InverseCalculation, ConvertsBothWaysAsTheCurveDoes)
{
    auto doc = OpenDemo();
    ASSERT_TRUE(doc);
    const QCalibr& cal = doc->GetPlate().calibr;
    ASSERT_EQ(cal.state, csValid);
    const double xMid = (cal.results[crRangeLo] + cal.results[crRangeHi]) / 2;
    const double yMid = cal.CurveY(xMid);
    double xBack = yMid;
    ASSERT_EQ(cal.XFromY(xBack), 0);
    const double yLow = std::min(cal.results[crSignalLo], cal.results[crSignalHi]);
    const double yHigh = std::max(cal.results[crSignalLo], cal.results[crSignalHi]);
    double below = yLow - 10 * (yHigh - yLow), above = yHigh + 10 * (yHigh - yLow);
    const int belowSide = cal.XFromY(below), aboveSide = cal.XFromY(above);
    ASSERT_NE(belowSide, 0);
    ASSERT_NE(aboveSide, 0);

    struct Row {
        const char* name;
        int edit;
        std::string typed;
        int other;
        std::string expected;
    };
    const std::string yText = FormatDouble(yMid, nmGeneral, 0, 15, 0);
    const std::string xText = FormatDouble(xMid, nmGeneral, 0, 15, 0);
    const Row rows[] = {
        {"signal to concentration", InvCalDlg::kYEdit, yText, InvCalDlg::kXEdit, Four(xBack)},
        {"concentration to signal", InvCalDlg::kXEdit, xText, InvCalDlg::kYEdit, Four(yMid)},
        {"signal far below", InvCalDlg::kYEdit, FormatDouble(below, nmGeneral, 0, 15, 0), InvCalDlg::kXEdit,
         belowSide < 0 ? "<<" : ">>"},
        {"signal far above", InvCalDlg::kYEdit, FormatDouble(above, nmGeneral, 0, 15, 0), InvCalDlg::kXEdit,
         aboveSide < 0 ? "<<" : ">>"},
        {"concentration beyond the curve", InvCalDlg::kXEdit,
         FormatDouble(cal.results[crDrawHi] * 10 + 1, nmGeneral, 0, 15, 0), InvCalDlg::kYEdit, ""},
        {"nothing readable", InvCalDlg::kYEdit, "abc", InvCalDlg::kXEdit, ""},
    };
    for (const Row& r : rows) {
        TTestHook hook;
        std::string got, source;
        hook.AnswerDialog(InvCalDlg::kResId, IDCANCEL, [&](TDialog& d) {
            d.SetDlgItemText(r.other, "stale");
            auto& edit = Item<TEdit>(d, r.edit);
            edit.SetFocus();
            TTestHook::Type(r.typed, &edit);
            got = d.GetDlgItemText(r.other);
            source = d.GetDlgItemText(r.edit);
        });
        InvCalDlg dlg(nullptr, &cal);
        dlg.Execute();
        EXPECT_EQ(got, r.expected) << r.name;
        EXPECT_EQ(source, r.typed) << r.name << ": the edit typed into is never overwritten";
    }
}

TEST(InverseCalculation, ShowsTheRangesOrWhyThereAreNone)
{
    auto doc = OpenDemo();
    ASSERT_TRUE(doc);
    const QCalibr& cal = doc->GetPlate().calibr;
    TTestHook hook;
    std::string xRange, yRange, model;
    hook.AnswerDialog(InvCalDlg::kResId, IDCANCEL, [&](TDialog& d) {
        xRange = d.GetDlgItemText(InvCalDlg::kXRange);
        yRange = d.GetDlgItemText(InvCalDlg::kYRange);
        model = d.GetDlgItemText(InvCalDlg::kModel);
    });
    InvCalDlg dlg(nullptr, &cal);
    dlg.Execute();
    EXPECT_EQ(model, QCalibr::ModelName(cal.model));
    EXPECT_EQ(xRange, Four(cal.results[crRangeLo]) + " .. " + Four(cal.results[crRangeHi]));
    EXPECT_EQ(yRange, Four(cal.CurveY(cal.results[crRangeLo])) + " .. " + Four(cal.CurveY(cal.results[crRangeHi])));

    QCalibr none;
    bool yEditShown = true;
    hook.AnswerDialog(InvCalDlg::kResId, IDCANCEL, [&](TDialog& d) {
        xRange = d.GetDlgItemText(InvCalDlg::kXRange);
        yEditShown = d.GetDlgItem(InvCalDlg::kYEdit)->IsWindowVisible();
    });
    InvCalDlg notCalculated(nullptr, &none);
    notCalculated.Execute();
    EXPECT_EQ(xRange, "Not calculated.");
    EXPECT_FALSE(yEditShown);
}

}  // namespace
}  // namespace vyn
