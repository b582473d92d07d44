// Arbitrary bytes as an expression: every text must end with a result or an evaluation error
// from the string table, never a crash, a hang, an out-of-bounds access or a stray exception.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "evaluator/NoValue.h"
#include "evaluator/QExcErr.h"
#include "evaluator/TEvaluator.h"
#include "evaluator/ValueChecks.h"
#include "platform/core/StringTable.h"

namespace {

using namespace vyn;

// A few names of each kind, so that the fuzzer reaches the operators with real operands.
class FuzzPool : public TVarPool, public TFuncPool {
public:
    bool GetVar(TStackVal& v) override
    {
        const std::string& n = v.Name();
        if (n == "x") v.SetNumber(3);
        else if (n == "m") v.SetNumber(NoValue);
        else if (n == "z") v.SetNumber(0);
        else if (n == "t") v.SetText("abc");
        else if (n == "v") {
            v.MakeNumberVector(3);
            v.AppendNumber(1);
            v.AppendNumber(NoValue);
            v.AppendNumber(-2.5);
        } else if (n == "w") {
            v.MakeTextVector(2);
            v.AppendText("a");
            v.AppendText("");
        } else if (n == "e") {
            v.MakeNumberVector(0);
        } else {
            return TVarPool::GetVar(v);
        }
        return true;
    }

    bool GetQualifiedVar(TStackVal& q, TStackVal& m) override
    {
        if (q.Name() == "S" && m.Name() == "x") {
            m.SetNumber(10);
            return true;
        }
        return TVarPool::GetQualifiedVar(q, m);
    }

    bool CallFunc(TStackVal* args, int count) override
    {
        const std::string& n = args[0].Name();
        if (n == "f") {  // echoes its first argument
            if (count < 1) ThrowEvalError(1431, n);
            args[0] = args[1];
            return true;
        }
        if (n == "g") {  // counts its arguments
            args[0].SetNumber(count);
            return true;
        }
        if (n == "h") {  // checks its argument and raises
            if (count > 0) RequireNumber(args[1]);
            ThrowEvalError(1430, n);
        }
        return TFuncPool::CallFunc(args, count);
    }

    bool CallQualifiedFunc(TStackVal* args, int count) override
    {
        if (args[0].Name() == "S" && args[1].Name() == "f") {
            args[1].SetNumber(count);
            return true;
        }
        return TFuncPool::CallQualifiedFunc(args, count);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzPool pool;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    TEvaluator ev;
    ev.AddVarPool(&pool);
    ev.AddFuncPool(&pool);
    const int rc = ev.Evaluate(text);
    if (rc == 0) {
        const TStackVal& r = ev.Result();
        std::string form = r.Format();
        char small[8];
        r.Format(small, sizeof small);
        TStackVal copy;
        copy = r;
        if (copy.Format() != form) std::abort();
    } else {
        QExcErr err;
        // Every error the evaluator raises has its text in the string table.
        if (err.GetText().empty()) std::abort();
        (void)FormatResString(err);
        if (ev.Top() != -1) std::abort();
    }
    if (ev.CursorOffset() > size) std::abort();

    // Parsing alone must agree with evaluating on what is a syntax error.
    TEvaluator parser;
    const int parsed = parser.Evaluate(text, false);
    if (parsed != 0 && rc == 0) std::abort();
    return 0;
}
