#pragma once

namespace vyn {

// Dialog resources of the reader dialogs (resources/dialogs/readers.dlg).
enum ReaderDialogId : int {
    idDlgMeasure = 1,
    idDlgFilters = 2,
    idDlgComSetup = 3,
    idDlgProgress = 4,
    idDlgConfirmPlate = 5,
    idDlgCalSelect = 898,
    idDlgSltOptions = 6700,
    idDlgMulOptions = 6701,
    idDlgOstrelOptions = 6666,
};

// Help topics of the reader dialogs that the dialogs do not set themselves.
enum ReaderHelpId : int {
    kHelpProgress = 3313,
    kHelpConfirmPlate = 3318,  // the scanning reader waits for the plate
};

// String-table ids of the reader dialogs (resources/strings/readers_ui.str).
enum ReaderUiStringId : int {
    idsFltClose = 6200,
    idsFltOk = 6201,
    idsSltWhere0 = 6210,   // "inside", "outside"
    idsSltHow0 = 6212,     // "heavy", "normal", "light", "wide"
    idsOsSpeed0 = 6220,    // "slow" .. "fastest"
    idsOsStep0 = 6224,     // "narrow" .. "widest"
};

}  // namespace vyn
