#pragma once
#include <memory>

#include "plate/QSample.h"

namespace vyn {

// A qualitative sample: judged by a list of named expressions, the plate's global
// qualitative definition or an own copy of one.
class QQSample : public QSample {
public:
    explicit QQSample(QPlate* plate);
    // A repeat of source: an own definition of the source is copied, not shared.
    QQSample(QPlate* plate, const QQSample& source);

    const TwostrArray& QualDefinition() const;

    std::string ResultSource(int i) const override;
    int HasOwnDefinition() const override { return fOwnDef ? 1 : 0; }
    int UsesGlobalDefinition() const override { return fOwnDef ? 0 : 1; }
    void UseGlobalDefinition() override;
    void SetOwnDefinition(const TwostrArray& definition) override;
    int Calculate() override;

    // Evaluates the definitions in order and appends their results behind those already
    // there; sets the result state (1, or -1 when a result entry failed) and the colour.
    void EvalQualResult();

protected:
    QQSample(QPlate* plate, int kind);

private:
    void ApplyColour(const TStackVal& value);

    std::unique_ptr<TwostrArray> fOwnDef;
};

}  // namespace vyn
