// Arbitrary bytes as a plate file: the reader must accept them or refuse them with its
// message, never read out of bounds; and whatever it accepts must write back as a block that
// reads again and writes the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "document/LineReader.h"
#include "document/PlateFile.h"
#include "evaluator/NumFormat.h"
#include "plate/QPlate.h"

namespace {

bool ReadInto(vyn::QPlate& plate, const std::string& bytes, int limit)
{
    vyn::LineReader reader;
    reader.OpenMemory(bytes);
    int message = 0;
    const bool ok = vyn::ReadPlateFile(plate, reader, limit, &message);
    if (!ok && message != 3101 && message != 3102 && message != 3103) std::abort();
    return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vyn;
    if (size == 0) return 0;
    // The first byte picks the program's decimal character and the sequential limit.
    const char saved = gDecimalChar;
    gDecimalChar = (data[0] & 1) ? ',' : '.';
    const int limit = (data[0] >> 1) % 8 - 1;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    QPlate plate;
    if (ReadInto(plate, bytes, limit)) {
        if (gDecimalChar != ((data[0] & 1) ? ',' : '.')) std::abort();
        std::string first;
        if (RenderPlateBlock(plate, pwPlate, first)) {
            QPlate again;
            if (!ReadInto(again, first, -1)) std::abort();
            std::string second;
            if (!RenderPlateBlock(again, pwPlate, second) || second != first) std::abort();
        }
    }
    gDecimalChar = saved;
    return 0;
}
