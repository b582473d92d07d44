#include "plate/CellPool.h"

#include "evaluator/EvalErrors.h"
#include "evaluator/NoValue.h"
#include "evaluator/QExcErr.h"
#include "plate/QDesc.h"
#include "plate/QPlate.h"
#include "plate/Utilities.h"

namespace vyn {

namespace {
constexpr int kErrCellOutOfRange = 7403;
}

int TCellPool::CellIndex() const
{
    if (!fPlate || fColumn < 0 || fColumn >= fPlate->columns || fRow < 0 || fRow >= fPlate->rows)
        ThrowEvalError(kErrCellOutOfRange);
    return fRow * fPlate->columns + fColumn;
}

const QWellRecord& TCellPool::CellRecord() const
{
    return fPlate->wells[static_cast<std::size_t>(CellIndex())];
}

QSample* TCellPool::CellSample() const
{
    return CellRecord().sample;
}

bool TCellPool::GetVar(TStackVal& value)
{
    const QWellRecord& record = CellRecord();
    const QSample* s = record.sample;
    const std::string& name = value.Name();

    if (s) {
        for (const TStackVal& r : s->results) {
            if (!EqualNoCase(r.Name(), name)) continue;
            if (r.IsError()) value.SetNumber(NoValue);
            else value = r;
            return true;
        }
    }
    if (EqualNoCase(name, "cur")) {
        value.SetNumber(record.data);
        return true;
    }
    if (EqualNoCase(name, "M_cur")) {
        value.SetNumber(record.measured);
        return true;
    }
    if (EqualNoCase(name, "smplid")) {
        value.SetText(s ? s->ident : std::string());
        return true;
    }
    if (EqualNoCase(name, "smpltype")) {
        int code = 0;
        if (s) {
            if (s->kind == skStandard) code = 2;
            else if (s->kind == skQualitative) code = 3;
            else if (s->kind == skQuantitative) code = 4;
            else code = 1;
        }
        value.SetNumber(code);
        return true;
    }
    // The entry of this well in its sample's list, when the record's position is sound.
    const QSegm* entry = nullptr;
    if (s && record.position >= 0 && record.position < s->WellCount())
        entry = &s->wells[static_cast<std::size_t>(record.position)];
    const bool grouped = s && (s->kind == skStandard || s->kind == skQuantitative);

    if (EqualNoCase(name, "smplseq")) {
        std::string text;
        if (s && (s->kind == skQualitative || s->kind == skQuantitative))
            text = s->IsSequential() ? std::to_string(s->SeqNumber()) : IndexToLetters(s->index);
        value.SetText(text);
        return true;
    }
    if (EqualNoCase(name, "seg")) {
        value.SetText(entry && entry->desc ? entry->desc->name : std::string());
        return true;
    }
    if (EqualNoCase(name, "seggrp")) {
        std::string text;
        if (grouped && entry) {
            char buf[4];
            IndexToLettersLower(buf, entry->group);
            text = buf;
        }
        value.SetText(text);
        return true;
    }
    if (EqualNoCase(name, "seggrpi")) {
        value.SetNumber(grouped && entry ? entry->group : NoValue);
        return true;
    }
    if (name == "segseqi") {
        value.SetNumber(s ? record.position : NoValue);
        return true;
    }
    if (!TVarPool::GetVar(value)) value.SetText("");
    return true;
}

bool TCellPool::CallFunc(TStackVal* args, int count)
{
    if (EqualNoCase(args[0].Name(), "res")) {
        if (count != 0) ThrowEvalError(kErrWrongArgCount, args[0].Name());
        const QSample* s = CellSample();
        if (s && !s->results.empty() && !s->results.back().IsError()) args[0] = s->results.back();
        else args[0].SetNumber(NoValue);
        return true;
    }
    return TFuncPool::CallFunc(args, count);
}

}  // namespace vyn
