#pragma once
// A new plate document is read from a method block of the library: the method selection
// leaves gPlateLineReader at the chosen block and the sequential-sample limit in
// gSeqSampleLimit, and the new document reads the block from there.
#include "document/LineReader.h"

namespace vyn {

class QPlate;

// Lives for the whole run; closed (in error) until a method selection opens it.
extern LineReader gPlateLineReader;
// The most sequential samples a new plate takes from its method; -1 takes all.
extern int gSeqSampleLimit;

// Reads the block at the plate reader's position into a freshly constructed plate. A reader
// never opened fails with 3101; one opened and closed since meets the end at once and leaves
// the plate empty. *message as ReadPlateFile gives it.
bool InitNewPlateFromMethod(QPlate& plate, int* message = nullptr);
bool InitNewPlateFromMethod(QPlate& plate, LineReader& reader, int seqLimit, int* message = nullptr);

}  // namespace vyn
