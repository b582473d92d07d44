#pragma once
// The states of the shell's bars a user can bring about, each brought about as a user does:
// no plate, the demo plate's matrix in every mode and with every tool, the sample list in its
// modes, the calibration curve, a sample's graph and the report designer. After each step the
// bars are looked at.
#include <gtest/gtest.h>

#include <functional>

#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/QChView.h"
#include "app/TMyControlBar.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"
#include "report_designer/DesignerDialogs.h"
#include "report_designer/RPListDialogs.h"
#include "views/ViewCommands.h"

inline void WalkEveryBarState(ShellFixture& s, vyn::TTestHook& hook, const std::function<void(const char* state)>& look)
{
    using namespace vyn;
    vyn::RwMainWindow& main = *s.app->GetMainFrame();
    auto seen = [&](const char* state) {
        TTestHook::ProcessEvents();
        look(state);
    };
    seen("no plate");
    ASSERT_TRUE(s.app->OpenPlate(s.env.data + "/Demo.plt"));
    seen("plate matrix");
    auto palette = [&](int id, const char* state) {
        EXPECT_TRUE(ClickGadget(*gToolPalette, id)) << "palette button " << id;
        seen(state);
    };
    auto menu = [&](unsigned id, const char* state) {
        EXPECT_TRUE(ChooseMenuItem(main, id)) << "menu item " << id;
        seen(state);
    };
    hook.AnswerDialog(QChView::kResId, IDOK);
    palette(cmDataEntry, "data entry");
    menu(cmStopEntry, "plate matrix");
    palette(cmLayoutMode, "layout");
    palette(cmControls, "controls tool");
    menu(cmPointer, "layout");
    palette(cmQualitative, "qualitative tool");
    menu(cmPointer, "layout");
    palette(cmQuantitative, "quantitative tool");
    menu(cmPointer, "layout");
    palette(cmStandards, "standards tool");
    EXPECT_TRUE(ClickGadget(*gToolBar, 2499));
    seen("standards tool, free style");
    menu(cmPointer, "layout");
    palette(cmRepeat, "repeat");
    menu(cmPointer, "layout");
    palette(cmEditSample, "edit sample");
    menu(cmPointer, "layout");
    palette(cmRenumber, "renumber");
    menu(cmPointer, "layout");
    menu(cmNormalView, "plate matrix");
    menu(cmSampleList, "sample list");
    menu(cmListModify, "list modification");
    menu(cmStopListModify, "sample list");
    menu(cmIdentifications, "identification entry");
    menu(cmStopIdEntry, "sample list");
    menu(cmCalibrationCurve, "calibration curve");
    menu(cmSampleList, "sample list");
    if (ChooseMenuItem(main, cmSampleGraph)) seen("sample graph");
    menu(cmPlateMatrix, "plate matrix");
    hook.AnswerDialog(kDlgRepManager, 104);  // "&New  >"
    hook.AnswerDialog(idRPSecDlg, IDOK);
    menu(CM_REPORTS, "report designer");
}
