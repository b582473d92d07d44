#pragma once

namespace vyn {

// String-table ids of the reader subsystem (resources/strings/readers.str).
enum ReaderStringId : int {
    idsDefaultPortText = 6002,   // settings text when the stored one is missing or rejected
    idsDefaultFilters = 6005,    // filter list used when the settings hold none
    idsPortNotLocked = 6007,     // no lock file could be made (the lock folder as argument)
    idsLockTakenFromEnded = 6008,  // a lock of an ended process taken over (its pid)
    idsLockTakenFromNobody = 6009, // a lock file naming no program taken over (its path)
    idsPortNotFound = 6010,
    idsPortInUse = 6011,
    idsLineRxOver = 6012,        // line errors, bit 0 .. 5, then "any other"
    idsLineOverrun = 6013,
    idsLineParity = 6014,
    idsLineFrame = 6015,
    idsLineBreak = 6016,
    idsLineTxFull = 6017,
    idsLineOther = 6018,
    idsError = 6020,
    idsAborted = 6021,
    idsNotResponding = 6022,
    idsDataGarbled = 6023,
    idsSuccess = 6024,
    idsSyncProblem = 6025,
    idsDemoDevice = 6026,
    idsSimReadFilters = 6030,
    idsSimWriteFilters = 6031,
    idsSimEnd = 6032,
    idsSimJustTesting = 6033,
    idsSimTestCaption = 6034,
    idsSimOptionsCaption = 6035,
    idsSimOptionsText = 6036,
    idsSimMeasureIntro1 = 6037,  // five introductory texts of the simulated measurement
    idsSimMoveIntro = 6042,
    idsStarted = 6050,
    idsInsertPlate = 6051,
    idsFilterRejected = 6052,
    idsCommandRejected = 6053,
    idsRejected = 6054,
    idsWrongFilter = 6055,
    idsConnecting = 6056,
    idsCheckingFilters = 6057,
    idsWaiting = 6058,
    idsWavelengthNotInReader = 6059,
    idsDeviceError0 = 6060,      // device errors 0 .. 15
};

}  // namespace vyn
