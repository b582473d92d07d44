#include "evaluator/FormatValueText.h"


#include "evaluator/NumFormat.h"
#include "evaluator/TStackVal.h"
#include "platform/core/StringTable.h"

namespace vyn {

namespace {
std::string NumberText(double v)
{
    return FormatDouble(v, nmGeneral, 0, 5, 1);
}
}  // namespace

std::string FormatValueText(const TStackVal& value)
{
    if (value.IsError()) return "#";
    if (value.IsVector()) {
        const int n = value.Count();
        if (n == 0) return "{}";
        std::string out = "{";
        for (int i = 0; i < n; ++i) {
            out += ' ';
            out += value.HasNumbers() ? NumberText(value.NumberAt(i)) : value.TextAt(i);
            if (i + 1 < n) out += ';';
        }
        return out + "}";
    }
    if (value.IsText()) return value.Text();
    if (value.IsNumber()) return NumberText(value.Number());
    return "!";
}

int FormatValueText(const TStackVal& value, char* buffer, int size)
{
    return CopyTextToBuffer(FormatValueText(value), buffer, size);
}

}  // namespace vyn
