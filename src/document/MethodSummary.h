#pragma once
// The method summary of a plate: a sectioned listing of everything its method defines (name,
// blanking, calculations, calibration, units, validations, sample evaluations, dilutions,
// measurement, controls and standards, the samples and their own definitions), written line
// by line through a line printer. The printout runs it once to paginate and again for each
// page; it writes the same lines every time.
namespace vyn {

class ILinePrinter;
class QPlate;

void WriteMethodSummary(const QPlate& plate, ILinePrinter& out);

}  // namespace vyn
