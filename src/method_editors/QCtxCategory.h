#pragma once
// The categories of the expression wizard: what an expression may use at its place, by
// group. Most are fixed tables of the string table; four are built from the plate and the
// method (its controls, its qualitative samples, its calculations and its evaluations).
#include <memory>
#include <string>
#include <vector>

#include "plate/twostr.h"

namespace vyn {

class QPlate;

// Where the expression is used and what it can see there.
struct CtxContext {
    int context = 0;  // 0 global blank, 1 transformation, 2 calculations, 3 validations, 4 evaluations, 7 report
    int second = 0;
    const QPlate* plate = nullptr;
    int fourth = 0;
    const TwostrArray* calculations = nullptr;  // none: the plate's own
    const TwostrArray* validations = nullptr;
    const TwostrArray* evaluations = nullptr;   // none: the plate's own
    const void* eighth = nullptr;
};

class QCtxCategory {
public:
    virtual ~QCtxCategory() = default;
    virtual int ItemCount() const = 0;
    virtual std::string Name() const = 0;
    virtual std::string Description() const = 0;
    virtual bool IsAvailable() const { return true; }
    virtual std::string ItemLine(int item) const = 0;
    virtual std::string ItemHelp(int item) const = 0;
    virtual std::string ItemInsert(int item) const = 0;
    virtual int DefaultItem(int /*item*/) const { return -1; }
};

// The categories of the context, in the order the wizard lists them.
std::vector<std::unique_ptr<QCtxCategory>> MakeContextCategories(const CtxContext& ctx);

}  // namespace vyn
