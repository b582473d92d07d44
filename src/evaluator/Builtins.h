#pragma once
// The evaluator's built-in variables and functions: the names that TEvaluator answers as the
// last pool of both chains, so that every plate, sample, cell and report name hides them.
//
// Each function takes the call's array as TFuncPool::CallFunc gets it (args[0] the function's
// name, args[1..count] the resolved arguments), fills args[0] only when it succeeds and raises
// evaluation errors otherwise.
#include <string_view>

#include "evaluator/TStackVal.h"

namespace vyn {

using BuiltinFunc = void (*)(TStackVal* args, int count);

// The built-in of that name, compared without regard to case; nullptr when there is none.
BuiltinFunc FindBuiltin(std::string_view name);

// "now" (milliseconds since 1601, UTC), "today" and "time" (the locale's short date and
// 24-hour time); fills value and answers true, false for any other name.
bool GetBuiltinVar(TStackVal& value);

// The Grubbs screen's factor for n values (3 and more; from 25 on the factor of 25).
double GrubbsFactor(int n);

// --- mathematics (BuiltinsMath.cpp) ---
void BuiltinLog(TStackVal* args, int count);    // "log"
void BuiltinPow10(TStackVal* args, int count);  // "pow10"
void BuiltinLn(TStackVal* args, int count);     // "ln"
void BuiltinExp(TStackVal* args, int count);    // "exp"
void BuiltinSqrt(TStackVal* args, int count);   // "sqrt"
void BuiltinAbs(TStackVal* args, int count);    // "abs"
void BuiltinPow(TStackVal* args, int count);    // "pow"
void BuiltinMod(TStackVal* args, int count);    // "mod"
void BuiltinDiv(TStackVal* args, int count);    // "div"
void BuiltinNv(TStackVal* args, int count);     // "nv"

// --- counting, statistics and selection (BuiltinsStats.cpp) ---
void BuiltinMin(TStackVal* args, int count);
void BuiltinMax(TStackVal* args, int count);
void BuiltinAvg(TStackVal* args, int count);
void BuiltinStd(TStackVal* args, int count);
void BuiltinVar(TStackVal* args, int count);
void BuiltinCntv(TStackVal* args, int count);
void BuiltinCntn(TStackVal* args, int count);
void BuiltinCard(TStackVal* args, int count);
void BuiltinRan(TStackVal* args, int count);
void BuiltinXran(TStackVal* args, int count);
void BuiltinSel(TStackVal* args, int count);
void BuiltinXsel(TStackVal* args, int count);
void BuiltinGrb(TStackVal* args, int count);
void BuiltinCtlt(TStackVal* args, int count);
void BuiltinCtle(TStackVal* args, int count);

// --- texts (BuiltinsText.cpp) ---
void BuiltinCategory(TStackVal* args, int count);
void BuiltinStr(TStackVal* args, int count);

// --- date and time (BuiltinsTime.cpp) ---
void BuiltinTmstr(TStackVal* args, int count);

}  // namespace vyn
