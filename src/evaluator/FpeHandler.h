#pragma once
// Floating-point faults as evaluation errors.
//
// Nothing traps: the operations that can fault check their results instead. A division by
// zero, an overflow or an invalid operation ends an evaluation with 1415 "Numerical error.";
// a domain, pole or overflow fault of a mathematics function ends it with 1418 "Numerical
// error in %s." naming the function. Underflow to zero is not a fault. NoValue (+infinity)
// flowing through arithmetic is not a fault by itself: only a result that is infinite while
// its operands are finite, or not-a-number while its operands are numbers, is.

namespace vyn {

// Kept for the program's start and end; nothing is trapped, so they only clear the
// floating-point status flags and note whether the checks were announced.
void InstallFpeHandler();
void RemoveFpeHandler();
bool IsFpeHandlerInstalled();

// The result of one arithmetic operation on a and b (pass 0 for b of a one-operand
// operation); raises 1415 when it is a fault, else returns the result.
double CheckArith(double result, double a, double b = 0.0);

// The result of a mathematics function of a (and b); raises 1418 with the function's name
// as context when it is a domain, pole or overflow fault, else returns the result.
double CheckMath(const char* function, double result, double a, double b = 0.0);

// For longer numeric code (fits, minimisers): clears the status flags when built; Check()
// raises 1415 when division by zero, overflow or an invalid operation happened since, and
// CheckMath(name) raises 1418 naming the function instead. Build it right before the code to
// watch and check right after it: the flags are shared by everything on the thread.
class FpFaultScope {
public:
    FpFaultScope();
    bool Faulted() const;
    void Check() const;
    void CheckMath(const char* function) const;
};

}  // namespace vyn
