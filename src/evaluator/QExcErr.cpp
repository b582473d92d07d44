#include "evaluator/QExcErr.h"

#include "platform/core/StringTable.h"

namespace vyn {

namespace {
// The pending record of the thread that evaluates (the main thread in the program; a test or
// a worker gets its own).
thread_local int tPendingId = 0;
thread_local std::string tPendingContext;

constexpr std::size_t kContextBytes = 63;
constexpr std::size_t kMessageBytes = 255;
}  // namespace

QExcErr::QExcErr() : fId(tPendingId), fContext(tPendingContext) {}

QExcErr::QExcErr(int id, std::string context) : fId(id), fContext(std::move(context)) {}

std::string QExcErr::GetText() const
{
    std::string pattern = CutUtf8(GetResStringStd(fId), kMessageBytes);
    return CutUtf8(FormatWithArg(pattern.c_str(), fContext.c_str()), kMessageBytes);
}

const char* FormatResString(const QExcErr& error) { return FormatResString(error.Id(), error.Context().c_str()); }

void SetEvalErrorContext(std::string_view text) { tPendingContext = CutUtf8(std::string(text), kContextBytes); }

void ThrowEvalError(int id)
{
    tPendingId = id;
    throw QExcErr(id, tPendingContext);
}

void ThrowEvalError(int id, std::string_view context)
{
    SetEvalErrorContext(context);
    ThrowEvalError(id);
}

int PendingEvalErrorId() { return tPendingId; }

const std::string& PendingEvalErrorContext() { return tPendingContext; }

}  // namespace vyn
