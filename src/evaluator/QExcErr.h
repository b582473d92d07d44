#pragma once
// The evaluation error and the pending error record it is made from.
//
// Every evaluation failure (lexer, parser, operators, pools, built-ins, numerical checks) is
// raised through ThrowEvalError: the id and the context text are stored in the pending record
// and a QExcErr carrying both is thrown. TEvaluator::Evaluate catches it and answers -1 (1 for
// an empty expression); the pending record keeps the error for the caller, who builds a
// QExcErr from it and formats the message:
//
//     if (ev.Evaluate(text) != 0) { QExcErr err; message = err.GetText(); }
//
// Numeric code outside the evaluator may also catch QExcErr directly.
#include <string>
#include <string_view>

namespace vyn {

class QExcErr {
public:
    QExcErr();                               // takes the pending id and a copy of its context
    QExcErr(int id, std::string context);

    int Id() const { return fId; }
    const std::string& Context() const { return fContext; }

    // The error's message from the string table with the context in place of its %s,
    // cut to 255 bytes like every formatted message.
    std::string GetText() const;

private:
    int fId;
    std::string fContext;
};

// FormatResString for an error: the message, cut to 255 bytes, in the shared buffer of
// FormatResString(int, const char*); valid until the next call.
const char* FormatResString(const QExcErr& error);

// Sets the pending context (cut to 63 bytes, never inside a UTF-8 character).
void SetEvalErrorContext(std::string_view text);

// Stores the id as pending and throws it. The context is left as it is: a message without
// "%s" ignores it.
[[noreturn]] void ThrowEvalError(int id);
// Sets the context, then throws.
[[noreturn]] void ThrowEvalError(int id, std::string_view context);

// The pending record: the last error raised on this thread.
int PendingEvalErrorId();
const std::string& PendingEvalErrorContext();

}  // namespace vyn
