#pragma once
// Resolution and kind checks shared by the operators, the built-ins and the plate's functions.
// Each check raises one of a pair of errors: for a value that came from a variable (it carries
// the named bit) the first id, whose message names the variable; else the second.
#include "evaluator/TStackVal.h"

namespace vyn {

class TVarPool;

// An unresolved named reference is looked up through the chain from head; no pool knowing it
// raises 1401 with the name as context. Any other value is left alone.
void ResolveValue(TStackVal& value, TVarPool* head);

void RequireVector(const TStackVal& v);    // 1402 / 1403
void RequireSimple(const TStackVal& v);    // 1404 / 1405
void RequireNumber(const TStackVal& v);    // a simple number: 1406 / 1407
void RequireNumeric(const TStackVal& v);   // a number, a number vector or {}: 1406 / 1407
void RequireText(const TStackVal& v);      // a simple text: 1408 / 1409
void RequireTextual(const TStackVal& v);   // a text, a text vector or {}: 1408 / 1409
// 1410 when exactly one is a vector; 1411 when both the number and the text bits differ.
void RequireCompatible(const TStackVal& a, const TStackVal& b);

}  // namespace vyn
