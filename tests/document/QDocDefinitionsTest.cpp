#include <gtest/gtest.h>

#include <functional>

#include "EvaluatedPlate.h"
#include "plate/QQSample.h"

namespace vyn {
namespace {

using test::EvaluatedPlate;
using test::Heard;
using test::kPlateChanged;
using test::ScriptedDialogs;

constexpr Heard kTransformChanged{vnTransformChanged, 0};

TEST(DefinitionCommands, WizardConfirmedWithoutChangesOrCancelledLeavesEverything)
{
    EvaluatedPlate f;
    ScriptedDialogs ui;
    ui.wizard = [](MethodWizardData& d) {
        EXPECT_EQ(d.calculations.size(), 1u);
        EXPECT_EQ(d.evaluations.size(), 1u);
        EXPECT_EQ(d.curveFit.concentrations, (std::vector<double>{10, 20, 40, 80}));
        EXPECT_FALSE(d.curveFit.changed);
        return true;
    };
    EXPECT_EQ(f.doc.RunMethodWizard(ui), 1);
    EXPECT_TRUE(f.Take().empty());
    EXPECT_FALSE(f.doc.IsDirty());
    EXPECT_EQ(f.Kept(), EvaluatedPlate::kAllKept);

    ui.wizard = [](MethodWizardData& d) {
        d.calculations.clear();
        d.readerOptions = "x";
        return false;
    };
    EXPECT_EQ(f.doc.RunMethodWizard(ui), 0);
    EXPECT_TRUE(f.Take().empty());
    EXPECT_FALSE(f.doc.IsDirty());
    EXPECT_EQ(f.p.calculations.DefinitionCount(), 1);
    EXPECT_EQ(f.p.readerOptions, "");
}

// Each edit in the wizard drops exactly the results that depend on it.
TEST(DefinitionCommands, WizardEditsDropWhatDependsOnThem)
{
    struct Row {
        const char* name;
        std::function<void(MethodWizardData&)> edit;
        const char* kept;
        bool notified;
        bool dirty = true;
    };
    const std::vector<Row> rows = {
        {"reader options only", [](MethodWizardData& d) { d.readerOptions = "slow"; }, EvaluatedPlate::kAllKept, false},
        {"filters only", [](MethodWizardData& d) { d.measFilter = 450; d.useRefFilter = 1; }, EvaluatedPlate::kAllKept, false},
        {"calculation", [](MethodWizardData& d) { d.calculations[0].text = "gblank * 3"; }, "cal - - - - -", true},
        {"evaluation", [](MethodWizardData& d) { d.evaluations[0].text = "OD > 0.3"; }, "cal calc - - - -", true},
        {"validation", [](MethodWizardData& d) { d.validations.push_back({"cond2", "1"}); }, "cal calc s0 s1 s2 -", true},
        {"curve fit flagged", [](MethodWizardData& d) { d.curveFit.model = cmParabole; d.curveFit.changed = true; },
         "- - - - - -", true},
        {"curve fit not flagged", [](MethodWizardData& d) { d.curveFit.model = cmParabole; }, EvaluatedPlate::kAllKept, false, false},
        {"curve fit flagged, same values", [](MethodWizardData& d) { d.curveFit.changed = true; }, EvaluatedPlate::kAllKept, false, false},
    };
    for (const Row& r : rows) {
        EvaluatedPlate f;
        ScriptedDialogs ui;
        ui.wizard = [&](MethodWizardData& d) {
            r.edit(d);
            return true;
        };
        EXPECT_EQ(f.doc.RunMethodWizard(ui), 1) << r.name;
        EXPECT_EQ(f.Kept(), r.kept) << r.name;
        EXPECT_EQ(f.Take(), r.notified ? std::vector<Heard>{kPlateChanged} : std::vector<Heard>{}) << r.name;
        EXPECT_EQ(f.doc.IsDirty(), r.dirty) << r.name;
    }
}

TEST(DefinitionCommands, WizardCopiesBackEveryValue)
{
    EvaluatedPlate f;
    ScriptedDialogs ui;
    ui.wizard = [](MethodWizardData& d) {
        d.calculations.push_back({"fct2", "fct1 + 1"});
        d.evaluations = {{"res1", "OD > 0.4"}};
        d.validations.clear();
        d.useRefFilter = 1;
        d.measFilter = 450;
        d.refFilter = 620;
        d.readerOptions = "shake";
        return true;
    };
    f.doc.RunMethodWizard(ui);
    EXPECT_EQ(f.p.calculations.definitions, (TwostrArray{{"fct1", "gblank * 2"}, {"fct2", "fct1 + 1"}}));
    EXPECT_EQ(f.p.globalQualDef, (TwostrArray{{"res1", "OD > 0.4"}}));
    EXPECT_TRUE(f.p.validations.definitions.empty());
    EXPECT_EQ(f.p.useRefFilter, 1);
    EXPECT_EQ(f.p.measFilter, 450);
    EXPECT_EQ(f.p.refFilter, 620);
    EXPECT_EQ(f.p.readerOptions, "shake");
    EXPECT_TRUE(f.p.rst.CalculationsChanged());
    EXPECT_TRUE(f.p.rst.ValidationChanged());
}

TEST(DefinitionCommands, SheetBlankingSwitches)
{
    {
        EvaluatedPlate f;
        ScriptedDialogs ui;
        ui.sheet = [](MethodSheetData& d) {
            EXPECT_EQ(d.blankMode, dmSimple);
            EXPECT_EQ(d.blankExpr, "avg(BL)");
            d.blankMode = dmMeasured;
            return true;
        };
        EXPECT_EQ(f.doc.RunMethodSheet(ui), 1);
        EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged, kTransformChanged})) << "switched off";
        EXPECT_EQ(f.p.dataMode, dmMeasured);
        for (const QWellRecord& w : f.p.wells) EXPECT_EQ(w.data, w.measured);
        EXPECT_EQ(f.p.dataCount, f.p.measuredCount);
        EXPECT_EQ(f.p.currentBlank, nullptr);
        EXPECT_EQ(f.Kept(), "- - - - - -");
    }
    {
        EvaluatedPlate f;
        ScriptedDialogs ui;
        ui.sheet = [](MethodSheetData& d) {
            d.blankMode = dmGeneral;
            d.transformExpr = "OD - gblank";
            return true;
        };
        f.doc.RunMethodSheet(ui);
        EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged})) << "simple to general";
        EXPECT_EQ(f.p.dataMode, dmGeneral);
        EXPECT_EQ(f.p.dataCount, 0);
        EXPECT_EQ(f.Kept(), "- - - - - -");
    }
    {
        EvaluatedPlate f;
        ScriptedDialogs ui;
        ui.sheet = [](MethodSheetData& d) {
            d.blankMode = dmMeasured;
            return true;
        };
        f.doc.RunMethodSheet(ui);
        f.Take();
        ASSERT_EQ(f.doc.CalculatePlate(), 1);
        f.Take();
        f.doc.SetDirty(false);
        ui.sheet = [](MethodSheetData& d) {
            d.blankMode = dmSimple;
            return true;
        };
        f.doc.RunMethodSheet(ui);
        EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged})) << "switched on";
        EXPECT_EQ(f.p.dataMode, dmSimple);
        for (const QWellRecord& w : f.p.wells) EXPECT_EQ(w.data, NoValue);
        EXPECT_EQ(f.Kept(), "- - - - - -");
        EXPECT_TRUE(f.doc.IsDirty());
    }
}

TEST(DefinitionCommands, SheetTextsDilutionsAndPrint)
{
    {
        EvaluatedPlate f;
        f.p.ResetDataToMeasured();
        ScriptedDialogs ui;
        ui.sheet = [](MethodSheetData& d) {
            d.blankExpr = "min(BL)";   // no blanking: only the text changes
            d.printRequested = true;
            return true;
        };
        EXPECT_EQ(f.doc.RunMethodSheet(ui), 3);
        EXPECT_EQ(f.p.blankExpr, "min(BL)");
        EXPECT_EQ(f.Kept(), EvaluatedPlate::kAllKept);
        EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged}));
    }
    {
        EvaluatedPlate f;
        ScriptedDialogs ui;
        ui.sheet = [](MethodSheetData& d) {
            d.dilutions = {1.0, 2.0};
            return true;
        };
        EXPECT_EQ(f.doc.RunMethodSheet(ui), 1);
        EXPECT_EQ(f.p.globalQuantDef, (std::vector<double>{1.0, 2.0}));
        EXPECT_EQ(f.Kept(), "cal calc - - - -");
        EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged}));
    }
    {
        EvaluatedPlate f;
        ScriptedDialogs ui;
        ui.sheet = [](MethodSheetData& d) {
            d.readerOptions = "fast";
            return true;
        };
        EXPECT_EQ(f.doc.RunMethodSheet(ui), 1);
        EXPECT_TRUE(f.Take().empty()) << "reader options alone are not shown anywhere";
        EXPECT_TRUE(f.doc.IsDirty());
        EXPECT_EQ(f.Kept(), EvaluatedPlate::kAllKept);
    }
    {
        EvaluatedPlate f;
        ScriptedDialogs ui;
        ui.sheet = [](MethodSheetData& d) {
            d.blankMode = dmMeasured;
            return false;
        };
        EXPECT_EQ(f.doc.RunMethodSheet(ui), 0);
        EXPECT_EQ(f.p.dataMode, dmSimple);
        EXPECT_TRUE(f.Take().empty());
        EXPECT_FALSE(f.doc.IsDirty());
    }
}

TEST(DefinitionCommands, SampleDefinition)
{
    EvaluatedPlate f;
    ScriptedDialogs ui;
    EXPECT_FALSE(f.doc.EditSampleDefinition(ui, 7, 0));
    EXPECT_TRUE(ui.ran.empty()) << "no dialog for an index without a sample";

    ui.sampleDefinition = [](SampleDefinitionData& d) {
        EXPECT_TRUE(d.quantitative);
        EXPECT_TRUE(d.globalDefinition);
        EXPECT_EQ(d.option, 5);
        EXPECT_EQ(d.categories, (TwostrArray{{"res1", "OD > 0.2"}}));
        d.globalDefinition = false;
        d.categories = {{"res1", "conc > 40"}};
        d.dilutions = {2.0};
        return true;
    };
    ASSERT_TRUE(f.doc.EditSampleDefinition(ui, 1, 5));
    auto* s = dynamic_cast<QNSample*>(f.p.GetSample(1));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->QualDefinition(), (TwostrArray{{"res1", "conc > 40"}}));
    EXPECT_EQ(s->QuantDefinition(), (std::vector<double>{2.0}));
    EXPECT_EQ(f.Kept(), "cal calc s0 - s2 val") << "a sequential sample drops only its own results";
    EXPECT_TRUE(f.p.rst.SampleChanged(1));
    EXPECT_TRUE(f.p.rst.WellChanged(test::W("C2")));
    EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged}));
    EXPECT_TRUE(f.doc.IsDirty());

    ui.sampleDefinition = [](SampleDefinitionData& d) {
        EXPECT_FALSE(d.globalDefinition);
        d.globalDefinition = true;
        return true;
    };
    ASSERT_TRUE(f.doc.EditSampleDefinition(ui, 1, 0));
    EXPECT_EQ(s->HasOwnDefinition(), 0);
    EXPECT_FALSE(s->HasOwnQuantDefinition());

    // A fixed sample: every later sample's results and the validation go too.
    EvaluatedPlate g;
    ASSERT_TRUE(g.doc.FixSample(0));
    ASSERT_EQ(g.doc.CalculatePlate(), 1);
    ui.sampleDefinition = [](SampleDefinitionData&) { return true; };
    ASSERT_TRUE(g.doc.EditSampleDefinition(ui, 0, 0));
    EXPECT_EQ(g.Kept(), "cal calc - - - -");
}

TEST(DefinitionCommands, CalibrationDialog)
{
    // Changed parameters on a plate with values: fitted again at once.
    {
        EvaluatedPlate f;
        ScriptedDialogs ui;
        ui.calibration = [](CalibrationDialogData& d) {
            d.curveFit.model = cmPointToPoint;
            return true;
        };
        EXPECT_TRUE(f.doc.EditCalibration(ui));
        EXPECT_EQ(f.p.calibr.model, cmPointToPoint);
        EXPECT_EQ(f.p.calibr.state, csValid);
        EXPECT_EQ(f.Kept(), "cal - - - - -");
        EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged}));
    }
    // Load the calibration of another plate: stored, standards freed, two notifications.
    {
        EvaluatedPlate f;
        EvaluatedPlate source;
        source.p.curveLogX = 1;
        source.p.curveGrid = 1;
        ScriptedDialogs ui;
        ui.calibration = [&](CalibrationDialogData& d) {
            d.loadedFrom = &source.doc;
            d.loadedDocOpenedForLoad = true;
            d.stored = true;
            return true;
        };
        EXPECT_TRUE(f.doc.EditCalibration(ui));
        EXPECT_EQ(f.p.calibr.stored, 1);
        EXPECT_EQ(f.p.calibr.state, csValid);
        EXPECT_EQ(f.p.stdInUse, nullptr);
        EXPECT_EQ(f.p.wells[static_cast<std::size_t>(test::W("B1"))].sample, nullptr);
        EXPECT_EQ(f.p.curveLogX, 1);
        EXPECT_EQ(f.p.curveGrid, 1);
        EXPECT_EQ(ui.closed, (std::vector<QDoc*>{&source.doc}));
        EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged, kPlateChanged}));
        EXPECT_TRUE(f.Consistent());

        // Stored before and after, no load: nothing changed.
        ui.calibration = [](CalibrationDialogData& d) {
            EXPECT_TRUE(d.stored);
            d.curveFit.model = cmSpline;
            return true;
        };
        EXPECT_FALSE(f.doc.EditCalibration(ui));
        EXPECT_TRUE(f.Take().empty());

        // "Release cal.": not stored any more, and without standards nothing to fit.
        ui.calibration = [](CalibrationDialogData& d) {
            d.stored = false;
            return true;
        };
        EXPECT_TRUE(f.doc.EditCalibration(ui));
        EXPECT_EQ(f.p.calibr.stored, 0);
        EXPECT_EQ(f.p.calibr.state, csNotCalculated);
        EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged}));
    }
    // Cancel.
    {
        EvaluatedPlate f;
        ScriptedDialogs ui;
        EXPECT_FALSE(f.doc.EditCalibration(ui));
        EXPECT_EQ(f.Kept(), EvaluatedPlate::kAllKept);
        EXPECT_FALSE(f.doc.IsDirty());
    }
}

TEST(DefinitionCommands, ResetAndRemove)
{
    EvaluatedPlate f;
    EXPECT_FALSE(f.doc.ResetCalibration()) << "not stored";
    f.p.calibr.Remember();
    EXPECT_TRUE(f.doc.ResetCalibration());
    EXPECT_EQ(f.p.calibr.stored, 0);
    EXPECT_EQ(f.Kept(), "- - - - - -");
    EXPECT_TRUE(f.p.rst.CalibrationChanged());
    EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged}));
    EXPECT_TRUE(f.doc.IsDirty());

    EXPECT_TRUE(f.doc.RemoveStandards());
    EXPECT_EQ(f.p.stdInUse, nullptr);
    EXPECT_TRUE(f.p.stdSample.wells.empty());
    EXPECT_TRUE(f.p.rst.WellChanged(test::W("B4")));
    EXPECT_TRUE(f.Consistent());
    EXPECT_FALSE(f.doc.RemoveStandards()) << "no standards in use";
}

TEST(DefinitionCommands, NamesAndInfo)
{
    EvaluatedPlate f;
    ScriptedDialogs ui;
    int startKind = 0;
    ui.sampleNames = [&](QDescList& descs, int kind) {
        startKind = kind;
        EXPECT_NE(descs[0]->kind & 0x8000u, 0u) << "in use";
        descs[0]->info = "blank wells";
        return true;
    };
    EXPECT_TRUE(f.doc.EditSampleNames(ui, skStandard));
    EXPECT_EQ(startKind, skStandard);
    EXPECT_EQ(f.p.descs[0]->info, "blank wells");
    EXPECT_TRUE(f.doc.IsDirty());
    EXPECT_TRUE(f.Take().empty());

    f.doc.SetDirty(false);
    ui.nameInfo = [](std::string& name, std::string& comment) {
        name = "HBs";
        comment = "two plates a day";
        return false;
    };
    EXPECT_FALSE(f.doc.EditMethodName(ui));
    EXPECT_EQ(f.p.methodName, "");
    EXPECT_FALSE(f.doc.IsDirty());
    ui.nameInfo = [](std::string& name, std::string& comment) {
        name = "HBs";
        comment = "two plates a day";
        return true;
    };
    EXPECT_TRUE(f.doc.EditMethodName(ui));
    EXPECT_EQ(f.p.methodName, "HBs");
    EXPECT_EQ(f.p.methodInfo, "two plates a day");
    EXPECT_TRUE(f.doc.IsDirty());
    EXPECT_TRUE(f.Take().empty());
}

}  // namespace
}  // namespace vyn
