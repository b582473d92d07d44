#include "evaluator/Builtins.h"

#include <iterator>

#include "evaluator/BuiltinArgs.h"

namespace vyn {

namespace {
struct BuiltinEntry {
    const char* name;
    BuiltinFunc func;
};

const BuiltinEntry kBuiltins[] = {
    {"tmstr", BuiltinTmstr}, {"category", BuiltinCategory}, {"log", BuiltinLog},   {"pow10", BuiltinPow10},
    {"ln", BuiltinLn},       {"exp", BuiltinExp},           {"sqrt", BuiltinSqrt}, {"abs", BuiltinAbs},
    {"pow", BuiltinPow},     {"ctlt", BuiltinCtlt},         {"ctle", BuiltinCtle}, {"mod", BuiltinMod},
    {"div", BuiltinDiv},     {"nv", BuiltinNv},             {"min", BuiltinMin},   {"max", BuiltinMax},
    {"avg", BuiltinAvg},     {"std", BuiltinStd},           {"var", BuiltinVar},   {"ran", BuiltinRan},
    {"xran", BuiltinXran},   {"sel", BuiltinSel},           {"xsel", BuiltinXsel}, {"grb", BuiltinGrb},
    {"cntv", BuiltinCntv},   {"cntn", BuiltinCntn},         {"card", BuiltinCard}, {"str", BuiltinStr},
};
}  // namespace

BuiltinFunc FindBuiltin(std::string_view name)
{
    for (const BuiltinEntry& e : kBuiltins)
        if (EqualsNoCase(name, e.name)) return e.func;
    return nullptr;
}

}  // namespace vyn
