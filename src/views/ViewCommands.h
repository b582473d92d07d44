#pragma once
// The command ids of the plate, list and graph views in one place: the views share several ids
// (the entry pair, the side bar's help button), and a file that shows more than one view must
// see each name once.
namespace vyn {

enum ViewCommand : unsigned {
    // Shared by the views.
    cmConfirmEntry = 1,
    cmCancelEntry = 2,
    cmModeButtonIdle = 1029,
    cmHelp = 2005,
    cmHelpContext = cmHelp,

    // Plate matrix view.
    cmImportData = 2205,
    cmExportData = 2206,
    cmSubtractData = 2207,
    cmMeasure = 2210,
    cmCalculate = 2211,
    cmTransform = 2212,
    cmPlateMatrix = 2224,
    cmSampleList = 2225,
    cmCalibrationCurve = 2226,
    cmSampleGraph = 2227,
    cmInsertCarrier = 2230,
    cmEjectCarrier = 2231,
    cmNames = 2240,
    cmEntryBox = 2461,
    cmNameBox = 2465,
    cmStopEntry = 2469,
    cmEditCell = 2471,
    cmDataEntry = 2472,
    cmLayoutMode = 2473,
    cmNormalView = 2474,
    cmPointer = 2475,
    cmControls = 2476,
    cmQualitative = 2477,
    cmStandards = 2478,
    cmQuantitative = 2479,
    cmRepeat = 2480,
    cmEditSample = 2481,
    cmRenumber = 2482,
    cmLayerFirst = 2483,
    cmLayerLast = 2487,
    cmDelete = 2490,
    cmNextName = 2491,
    cmPrevName = 2492,
    cmNextDilution = 2493,
    cmPrevDilution = 2494,
    cmReplication = 2495,
    cmArrangeFirst = 2496,
    cmArrangeLast = 2499,
    cmPreview = 24340,
    cmPrint = 24337,
    cmSave = 24333,

    // Sample list view.
    cmIdentifications = 1572,
    cmIdEdit = 2462,
    cmDeleteSample = cmDelete,
    cmStopListModify = 2501,
    cmListModify = 2502,
    cmStopIdEntry = 2503,
    cmFixSample = 2505,

    // Calibration curve and sample graph views.
    cmShowCalibrationInfo = 2208,
    cmCalibrationFit = 2213,
    cmCalculateSample = 2214,
    cmCalibrationDialog = 2218,
    cmSampleDefinition = 2219,
    cmShowPlate = cmPlateMatrix,
    cmShowList = cmSampleList,
    cmShowCurve = cmCalibrationCurve,
    cmShowSampleGraph = cmSampleGraph,
    cmSampleStatus = 2228,
    cmExcludePoints = 2421,
    cmIncludePoints = 2422,
    cmInvertPoints = 2423,
    cmRestorePoints = 2424,
    cmInverseCalculate = 2425,
    cmLogX = 2426,
    cmLogY = 2427,
    cmGrid = 2428,
};

}  // namespace vyn
