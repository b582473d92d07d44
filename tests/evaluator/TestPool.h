#pragma once
// A small pool of variables and functions, plain and qualified, for the evaluator's tests.
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "StackValMakers.h"
#include "evaluator/EvalErrors.h"
#include "evaluator/NoValue.h"
#include "evaluator/QExcErr.h"
#include "evaluator/TFuncPool.h"
#include "evaluator/TVarPool.h"
#include "evaluator/ValueChecks.h"

namespace vyn::test {

class TestPool : public TVarPool, public TFuncPool {
public:
    // Names looked up through this pool, in order, so tests can show what was never asked.
    std::vector<std::string> asked;

    TestPool()
    {
        vars["x"] = TStackVal(3.0);
        vars["y"] = TStackVal(4.0);
        vars["zero"] = TStackVal(0.0);
        vars["miss"] = TStackVal(NoValue);
        vars["nan"] = TStackVal(std::numeric_limits<double>::quiet_NaN());
        vars["t"] = TStackVal::Text("abc");
        vars["v"] = Numbers({1.0, 2.0, 3.0});
        vars["tv"] = Texts({"a", "b"});
        vars["ev"] = Numbers({});
        vars["vm"] = Numbers({1.0, NoValue});
        qualified["S1.x"] = TStackVal(10.0);
        qualified["S1.t"] = TStackVal::Text("s1");
    }

    std::map<std::string, TStackVal> vars;
    std::map<std::string, TStackVal> qualified;

    bool GetVar(TStackVal& value) override
    {
        asked.push_back(value.Name());
        auto it = vars.find(value.Name());
        if (it != vars.end()) {
            value = it->second;
            return true;
        }
        if (value.Name().size() >= 100) {  // any long name is known: for the length limit
            value.SetNumber(1.0);
            return true;
        }
        return TVarPool::GetVar(value);
    }

    bool GetQualifiedVar(TStackVal& q, TStackVal& m) override
    {
        asked.push_back(q.Name() + "." + m.Name());
        auto it = qualified.find(q.Name() + "." + m.Name());
        if (it != qualified.end()) {
            m = it->second;
            return true;
        }
        return TVarPool::GetQualifiedVar(q, m);
    }

    bool CallFunc(TStackVal* args, int count) override
    {
        const std::string& name = args[0].Name();
        asked.push_back(name + "()");
        if (name == "twice") {
            if (count != 1) ThrowEvalError(kErrWrongArgCount, name);
            RequireNumber(args[1]);
            args[0].SetNumber(IsNoValue(args[1].Number()) ? NoValue : 2 * args[1].Number());
            return true;
        }
        if (name == "count") {
            args[0].SetNumber(count);
            return true;
        }
        if (name == "echo") {
            if (count != 1) ThrowEvalError(kErrWrongArgCount, name);
            args[0] = args[1];
            return true;
        }
        if (name == "fail") ThrowEvalError(kErrWrongArgument, name);
        if (name == "mean") {  // average of the numbers and number-vector items, NoValue skipped
            double sum = 0;
            int n = 0;
            for (int i = 1; i <= count; ++i) {
                RequireNumeric(args[i]);
                auto add = [&](double d) {
                    if (!IsNoValue(d)) sum += d, ++n;
                };
                if (args[i].IsVector()) {
                    for (double d : args[i].Numbers()) add(d);
                } else {
                    add(args[i].Number());
                }
            }
            args[0].SetNumber(n ? sum / n : NoValue);
            return true;
        }
        return TFuncPool::CallFunc(args, count);
    }

    bool CallQualifiedFunc(TStackVal* args, int count) override
    {
        const std::string name = args[0].Name() + "." + args[1].Name();
        asked.push_back(name + "()");
        if (name == "S1.f" && count == 1) {
            RequireNumber(args[2]);
            args[1].SetNumber(args[2].Number() + 100);
            return true;
        }
        if (name == "S1.n" && count == 0) {
            args[1].SetNumber(7);
            return true;
        }
        return TFuncPool::CallQualifiedFunc(args, count);
    }
};

}  // namespace vyn::test
