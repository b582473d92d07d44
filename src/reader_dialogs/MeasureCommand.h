#pragma once

namespace vyn {

class QDoc;
class QFoto;
class TWindow;

// What the shell does next after a measurement.
struct MeasureOutcome {
    bool measured = false;     // the values went into the plate
    bool autoProcess = false;  // "Automatic test processing" was ticked
};

// The "Measure..." command on a plate document: fills the measure dialog from the plate,
// runs it over the parent, and after "Start" succeeded writes the filters, reference flag and
// reader options back into the plate and hands the 96 values to the document (which stamps,
// stores, recalculates and notifies its views). autoMakeAfterMeasure is the application
// setting that pre-ticks automatic processing. The driver is gReader unless one is given.
MeasureOutcome RunMeasureCommand(TWindow* parent, QDoc& doc, bool autoMakeAfterMeasure, QFoto* driver = nullptr);

}  // namespace vyn
