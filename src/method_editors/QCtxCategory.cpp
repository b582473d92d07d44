#include "method_editors/QCtxCategory.h"

#include <algorithm>

#include "plate/QDesc.h"
#include "plate/QPlate.h"
#include "platform/core/StringTable.h"

namespace vyn {

namespace {

// Texts by a base id: the name, the description, then per item its insert text, its line and
// its help.
class CtxFixed : public QCtxCategory {
public:
    CtxFixed(int base, int count) : base_(base), count_(count) {}
    int ItemCount() const override { return count_; }
    std::string Name() const override { return GetResStringStd(base_); }
    std::string Description() const override { return GetResStringStd(base_ + 1); }
    std::string ItemInsert(int n) const override { return Valid(n) ? GetResStringStd(base_ + 2 + 3 * n) : ""; }
    std::string ItemLine(int n) const override { return Valid(n) ? GetResStringStd(base_ + 3 + 3 * n) : ""; }
    std::string ItemHelp(int n) const override { return Valid(n) ? GetResStringStd(base_ + 4 + 3 * n) : ""; }

private:
    bool Valid(int n) const { return n >= 0 && n < count_; }
    int base_, count_;
};

bool SameNameNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

// The named well groups of samples: a name placed once is a single value, a name met again
// is a vector, and each vector is offered once more as its average.
class CtxPlateList : public QCtxCategory {
public:
    enum Kind { kSingle, kVector, kAverage };

    // ids: name, no plate, nothing to list, description, vector help, average help, single help.
    CtxPlateList(int nameId, const QPlate* plate, bool controls) : nameId_(nameId)
    {
        if (!plate) {
            descId_ = nameId + 1;
            return;
        }
        if (controls) {
            if (plate->globInUse) Merge(Build(*plate->globInUse));
        } else {
            for (const auto& s : plate->samples)
                if (s && (s->kind & skQualitative)) Merge(Build(*s));
        }
        const std::size_t listed = items_.size();
        for (std::size_t i = 0; i < listed; ++i)
            if (items_[i].kind == kVector) items_.push_back({items_[i].name, "avg(" + items_[i].name + ")", kAverage});
        descId_ = items_.empty() ? nameId + 2 : nameId + 3;
    }

    int ItemCount() const override { return static_cast<int>(items_.size()); }
    std::string Name() const override { return GetResStringStd(nameId_); }
    std::string Description() const override { return GetResStringStd(descId_); }
    std::string ItemLine(int n) const override { return Valid(n) ? items_[n].line : ""; }
    std::string ItemInsert(int n) const override
    {
        if (!Valid(n)) return "";
        return items_[n].kind == kAverage ? "avg(" + items_[n].name + ")" : items_[n].name;
    }
    std::string ItemHelp(int n) const override
    {
        if (!Valid(n)) return "";
        switch (items_[n].kind) {
        case kVector: return GetResStringStd(nameId_ + 4) + "avg(" + items_[n].name + ")";
        case kAverage: return GetResStringStd(nameId_ + 5);
        default: return GetResStringStd(nameId_ + 6);
        }
    }

private:
    struct Item {
        std::string name;
        std::string line;
        Kind kind;
    };

    bool Valid(int n) const { return n >= 0 && n < ItemCount(); }

    // Every well counts, as the sample's variable of that name answers every well that bears
    // it: the controls of a plate file all stand in one group, so a name cannot be told from
    // its group.
    static std::vector<Item> Build(const QSample& sample)
    {
        std::vector<Item> items;
        for (const QSegm& w : sample.wells) {
            if (!w.desc || w.desc->name.empty()) continue;
            auto it = std::find_if(items.begin(), items.end(), [&](const Item& i) { return SameNameNoCase(i.name, w.desc->name); });
            if (it != items.end()) it->kind = kVector;
            else items.push_back({w.desc->name, w.desc->name + "\t... " + w.desc->info, kSingle});
        }
        return items;
    }

    void Merge(const std::vector<Item>& more)
    {
        for (const Item& m : more) {
            auto it = std::find_if(items_.begin(), items_.end(), [&](const Item& i) { return SameNameNoCase(i.name, m.name); });
            if (it == items_.end()) items_.push_back(m);
            else if (m.kind == kVector) it->kind = kVector;
        }
    }

    int nameId_;
    int descId_ = 0;
    std::vector<Item> items_;
};

std::string UserHelp(const twostr& t) { return GetResStringStd(3444) + t.text; }

class CtxCalculations : public QCtxCategory {
public:
    CtxCalculations(const TwostrArray* list, const QPlate* plate)
        : list_(list ? list : plate ? &plate->calculations.definitions : nullptr)
    {
    }
    int ItemCount() const override { return list_ ? static_cast<int>(list_->size()) : 0; }
    std::string Name() const override { return GetResStringStd(3440); }
    std::string Description() const override { return GetResStringStd(!list_ ? 3441 : list_->empty() ? 3442 : 3443); }
    std::string ItemLine(int n) const override { return Valid(n) ? (*list_)[n].name : ""; }
    std::string ItemInsert(int n) const override { return ItemLine(n); }
    std::string ItemHelp(int n) const override { return Valid(n) ? UserHelp((*list_)[n]) : ""; }

private:
    bool Valid(int n) const { return n >= 0 && n < ItemCount(); }
    const TwostrArray* list_;
};

class CtxEvaluations : public QCtxCategory {
public:
    CtxEvaluations(const TwostrArray* list, const QPlate* plate)
        : fixed_(3450, (!plate || plate->stdInUse) ? 5 : 3), list_(list ? list : plate ? &plate->globalQualDef : nullptr)
    {
    }
    int ItemCount() const override { return fixed_.ItemCount() + (list_ ? static_cast<int>(list_->size()) : 0); }
    std::string Name() const override { return fixed_.Name(); }
    std::string Description() const override { return fixed_.Description(); }
    std::string ItemLine(int n) const override { return n < fixed_.ItemCount() ? fixed_.ItemLine(n) : User(n).name; }
    std::string ItemInsert(int n) const override { return n < fixed_.ItemCount() ? fixed_.ItemInsert(n) : User(n).name; }
    std::string ItemHelp(int n) const override
    {
        if (n < fixed_.ItemCount()) return fixed_.ItemHelp(n);
        const twostr& t = User(n);
        return t.name.empty() && t.text.empty() ? "" : UserHelp(t);
    }

private:
    const twostr& User(int n) const
    {
        static const twostr kNone;
        const int i = n - fixed_.ItemCount();
        return list_ && i >= 0 && i < static_cast<int>(list_->size()) ? (*list_)[i] : kNone;
    }
    CtxFixed fixed_;
    const TwostrArray* list_;
};

}  // namespace

std::vector<std::unique_ptr<QCtxCategory>> MakeContextCategories(const CtxContext& c)
{
    std::vector<std::unique_ptr<QCtxCategory>> cats;
    const int ctx = c.context;
    const bool report = ctx == 7 || ctx == 8 || ctx == 9;
    if (report) {
        cats.push_back(std::make_unique<CtxFixed>(3320, 10));
        cats.push_back(std::make_unique<CtxFixed>(3400, 10));
        cats.push_back(std::make_unique<CtxFixed>(3370, 6));
    }
    cats.push_back(std::make_unique<CtxPlateList>(3300, c.plate, true));
    cats.push_back(std::make_unique<CtxFixed>(3360, 2));
    if (ctx > 1) {
        cats.push_back(std::make_unique<CtxFixed>(3470, ctx > 6 ? 11 : 8));
        cats.push_back(std::make_unique<CtxCalculations>(c.calculations, c.plate));
    }
    if (ctx == 4 || ctx == 7) cats.push_back(std::make_unique<CtxPlateList>(3310, c.plate, false));
    if (ctx == 4 || ctx >= 7) cats.push_back(std::make_unique<CtxEvaluations>(c.evaluations, c.plate));
    cats.push_back(std::make_unique<CtxFixed>(3620, 18));
    cats.push_back(std::make_unique<CtxFixed>(3510, 11));
    cats.push_back(std::make_unique<CtxFixed>(3550, 13));
    cats.push_back(std::make_unique<CtxFixed>(3600, 3));
    return cats;
}

}  // namespace vyn
