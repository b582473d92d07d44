// The text built-ins: the step lookup of category texts and the formatting of numbers and
// texts into fields.
#include <algorithm>
#include <limits>
#include <string>
#include <string_view>

#include "evaluator/BuiltinArgs.h"
#include "evaluator/Builtins.h"
#include "evaluator/NoValue.h"
#include "evaluator/NumFormat.h"
#include "evaluator/ValueChecks.h"

namespace vyn {

namespace {
constexpr int kMaxTextField = 127;
constexpr int kMaxNumberField = 64;

// Field widths count characters, not bytes, so that a name with accents lines up in a report
// column like any other.
bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

int Utf8Chars(std::string_view s)
{
    int n = 0;
    for (char c : s)
        if (!IsUtf8Continuation(c)) ++n;
    return n;
}

std::string_view Utf8Prefix(std::string_view s, int chars)
{
    std::size_t i = 0;
    for (int n = 0; i < s.size(); ++i) {
        if (!IsUtf8Continuation(s[i]) && n++ == chars) break;
    }
    return s.substr(0, i);
}

// A field argument truncated toward zero; outside lo..hi it falls back to 0.
int FieldNumber(TStackVal* args, int at, int lo, int hi)
{
    RequireNumber(args[at]);
    const int v = TruncToInt32(args[at].Number(), args);
    return v < lo || v > hi ? 0 : v;
}

// str(x [, digits [, mode [, width [, decimals]]]])
void StrOfNumber(TStackVal* args, int count)
{
    RequireNumber(args[1]);
    QNumFormat format;
    int width = 0;
    if (count >= 2) format.SetDigits(FieldNumber(args, 2, 0, 15));
    if (count >= 3) {
        RequireText(args[3]);
        const std::string& m = args[3].Text();
        const char c = m.empty() ? 'g' : m[0];
        format.SetMode(c == 'e' || c == 'E' ? nmScientific : c == 'f' || c == 'F' ? nmFixed : nmGeneral);
    }
    if (count >= 4) width = FieldNumber(args, 4, 0, kMaxNumberField);
    if (count >= 5) format.SetDecimals(FieldNumber(args, 5, 0, 15));
    const std::string text = FormatDouble(args[1].Number(), format, 0);
    TStackVal r;
    r.SetTextRight(text, std::max(width, static_cast<int>(text.size())));
    SetResult(args, r);
}

// str(s [, width [, letters]]); a fourth and fifth argument are accepted and ignored.
void StrOfText(TStackVal* args, int count)
{
    int width = 0;
    bool right = false, truncate = false;
    if (count >= 2) {
        RequireNumber(args[2]);
        width = std::max(0, TruncToInt32(args[2].Number(), args));
    }
    if (count >= 3) {
        RequireText(args[3]);
        for (char c : args[3].Text()) {
            if (c == 'r' || c == 'R') right = true;
            if (c == 't' || c == 'T') truncate = true;
        }
    }
    std::string_view text = Utf8Prefix(args[1].Text(), kMaxTextField);
    int length = Utf8Chars(text);
    width = std::min(width, kMaxTextField);
    if (width == 0 || (!truncate && width < length)) width = length;
    if (length > width) {
        text = Utf8Prefix(text, width);
        length = width;
    }
    const std::string pad(static_cast<std::size_t>(width - length), ' ');
    TStackVal r;
    r.SetText(right ? pad + std::string(text) : std::string(text) + pad);
    SetResult(args, r);
}
}  // namespace

// category(t0, l1, t2, l3, ..., x [, default]): the text before the first limit that x does
// not exceed, the text before x when it exceeds them all.
void BuiltinCategory(TStackVal* args, int count)
{
    RequireArgCount(args, count, 4, std::numeric_limits<int>::max());
    for (int p = 0; p < count; ++p) {
        const TStackVal& a = args[1 + p];
        if (p % 2 == 0 ? !a.IsText() : !a.IsNumber()) ThrowWrongArgument(args);
    }
    const int keyPos = count % 2 == 0 ? count - 1 : count - 2;
    const std::string fallback = count % 2 == 0 ? std::string() : args[count].Text();
    const double x = args[1 + keyPos].Number();
    const std::string* text = &fallback;
    if (x != NoValue) {
        text = &args[keyPos].Text();  // the text just before x
        for (int p = 1; p < keyPos; p += 2) {
            const double limit = args[1 + p].Number();
            if (limit == NoValue) {
                text = &fallback;
                break;
            }
            if (x <= limit) {
                text = &args[p].Text();
                break;
            }
        }
    }
    TStackVal r;
    r.SetText(*text);
    SetResult(args, r);
}

void BuiltinStr(TStackVal* args, int count)
{
    RequireArgCount(args, count, 1, 5);
    if (args[1].IsText())
        StrOfText(args, count);
    else
        StrOfNumber(args, count);
}

}  // namespace vyn
