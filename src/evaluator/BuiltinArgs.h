#pragma once
// Argument handling shared by the built-in functions: counts, kinds, integer conversions and
// the walk over the numbers of an argument list.
//
// A built-in gets the call's array as TFuncPool::CallFunc does: args[0] is the function's name
// (the result goes there), args[1..count] are the arguments, already resolved.
#include <cstdint>
#include <string_view>

#include "evaluator/TStackVal.h"
#include "platform/core/AsciiText.h"

namespace vyn {

// 1431 "Wrong number of arguments in "%s"." naming the function unless min <= count <= max.
void RequireArgCount(const TStackVal* args, int count, int min, int max);
// 1430 "Wrong argument of "%s"." naming the function.
[[noreturn]] void ThrowWrongArgument(const TStackVal* args);

// The number truncated toward zero to a signed 32-bit integer. A value that has no such
// integer (outside the range, not-a-number, NoValue) is a wrong argument of the function
// (1430): a cast would be undefined there.
int TruncToInt32(double value, const TStackVal* args);

// Fills the call's result: keeps the function name's own name and named bit.
void SetResult(TStackVal* args, const TStackVal& result);

// The numbers of an argument list in order: a simple number gives itself, a number vector its
// items, an empty vector (of either kind) nothing; any other argument raises 1406 / 1407 when
// the walk reaches it. NoValue items are given like every other number.
class NumArgIterator {
public:
    // first: the first argument (args + 1), count: the number of arguments.
    NumArgIterator(const TStackVal* first, int count) : fArg(first), fLeft(count) {}
    // false when every argument has been read.
    bool Next(double& value);

private:
    const TStackVal* fArg;
    int fLeft;
    int fItem = 0;
};

}  // namespace vyn
