#pragma once
// Vector values built in one expression, for tables of test cases.
#include <initializer_list>

#include "evaluator/TStackVal.h"

namespace vyn::test {

inline TStackVal Numbers(std::initializer_list<double> items)
{
    TStackVal v;
    v.MakeNumberVector(static_cast<int>(items.size()));
    for (double d : items) v.AppendNumber(d);
    return v;
}

inline TStackVal Texts(std::initializer_list<const char*> items)
{
    TStackVal v;
    v.MakeTextVector(static_cast<int>(items.size()));
    for (const char* s : items) v.AppendText(s);
    return v;
}

}  // namespace vyn::test
