#pragma once
// Small builders shared by the plate tests: descriptors, samples laid on wells, values.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "evaluator/NoValue.h"
#include "evaluator/QExcErr.h"
#include "evaluator/TEvaluator.h"
#include "plate/QDesc.h"
#include "plate/QNSample.h"
#include "plate/QPlate.h"
#include "plate/QQSample.h"

namespace vyn::test {

// Adds a descriptor to the plate's list and answers it.
inline QDesc* AddDesc(QPlate& plate, std::uint32_t kind, const std::string& name)
{
    plate.descs.push_back(std::make_unique<QDesc>(kind, name, TColor(0, 0, 0), ""));
    return plate.descs.back().get();
}

// Appends well entries (well index, group) with one descriptor, then links the wells.
inline void Lay(QSample& s, QDesc* desc, std::initializer_list<std::pair<int, int>> wellsAndGroups)
{
    for (auto [well, group] : wellsAndGroups) s.AddWellEntry(QSegm{group, well, desc});
}

// Well index of a name such as "B3" on the plate.
inline int Well(const QPlate& plate, const char* name)
{
    return (name[0] - 'A') * plate.columns + std::stoi(name + 1) - 1;
}

// Evaluates text against the plate's pools; NaN for any failure, with the message kept.
struct PlateEval {
    explicit PlateEval(QPlate& p) : plate(p) {}
    // inner: a more specific pool (a cell's, a sample's), asked before the plate.
    template <class Pool = QPlate>
    int Run(const std::string& text, Pool* inner = nullptr)
    {
        TEvaluator ev;
        ev.AddVarPool(&plate);
        ev.AddFuncPool(&plate);
        if (inner) {
            ev.AddVarPool(inner);
            ev.AddFuncPool(inner);
        }
        const int rc = ev.Evaluate(text);
        result = ev.Result();
        if (rc < 0) error = QExcErr().GetText();
        return rc;
    }
    double Number(const std::string& text)
    {
        return Run(text) == 0 && result.IsNumber() ? result.Number() : std::nan("");
    }
    QPlate& plate;
    TStackVal result;
    std::string error;
};

}  // namespace vyn::test
