// Arbitrary bytes as a plate file, method block or method library: the tokenizer must end
// every one of them with a record, the end, or message 3101/3102, never read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "document/ICrunch.h"
#include "document/LineReader.h"
#include "evaluator/NumFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vyn;
    if (size == 0) return 0;
    // The first byte picks the decimal character, which changes what starts a number.
    const char saved = gDecimalChar;
    gDecimalChar = (data[0] & 1) ? ',' : '.';
    LineReader reader;
    reader.OpenMemory(std::string(reinterpret_cast<const char*>(data + 1), size - 1));

    // As the plate reader does: one block after another, each with its own tokenizer.
    for (int block = 0; block < 64 && !reader.IsEnd(); ++block) {
        ICrunch in(reader);
        while (in.GetTag() > 0) {
            for (int i = -1; i <= in.GetCount(); ++i) {
                (void)in.GetKind(i);
                (void)in.GetInt(i);
                (void)in.GetLong(i);
                (void)in.GetReal(i);
            }
            in.NextLine();
        }
        if (in.GetTag() < 0 && in.GetMessage() != 3101 && in.GetMessage() != 3102) __builtin_trap();
        if (in.GetTag() < 0 || in.IsFileEnd()) break;
    }
    // As the library listing does: raw lines, going back to a line's start now and then.
    reader.OpenMemory(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    std::string line;
    for (int n = 0; n < 4096 && !reader.IsEnd(); ++n) {
        reader.ReadLine(line, 255);
        if (n % 7 == 3 && !reader.IsEnd()) {
            reader.Seek(-1);
            reader.ReadLine(line, 255);
        }
    }
    gDecimalChar = saved;
    return 0;
}
