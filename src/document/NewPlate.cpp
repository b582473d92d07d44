#include "document/NewPlate.h"

#include "document/PlateFile.h"

namespace vyn {

LineReader gPlateLineReader;
int gSeqSampleLimit = -1;

bool InitNewPlateFromMethod(QPlate& plate, int* message)
{
    return InitNewPlateFromMethod(plate, gPlateLineReader, gSeqSampleLimit, message);
}

bool InitNewPlateFromMethod(QPlate& plate, LineReader& reader, int seqLimit, int* message)
{
    return ReadPlateFile(plate, reader, seqLimit, message);
}

}  // namespace vyn
