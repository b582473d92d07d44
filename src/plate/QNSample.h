#pragma once
#include <memory>
#include <vector>

#include "plate/QQSample.h"

namespace vyn {

// Point flags of a quantitative sample.
enum QPointFlag : int {
    pfUsed = 0,
    pfExcluded = 1,
    pfOutOfRange = 4,   // used, but its run's signal lies outside the curve's range
};

// A quantitative sample: one or more dilutions, each a replicate group, whose mean signals
// become one weighted concentration "conc" through the plate's calibration; then the
// qualitative evaluation on top when there are qualitative definitions.
class QNSample : public QQSample {
public:
    explicit QNSample(QPlate* plate);
    QNSample(QPlate* plate, const QNSample& source);

    // The dilution factor of each replicate group.
    const std::vector<double>& QuantDefinition() const;
    bool HasOwnQuantDefinition() const { return fOwnQuantDef != nullptr; }

    std::string ResultSource(int i) const override;
    int CategoriesEmpty() const override { return QualDefinition().empty() ? 1 : 0; }
    void UseGlobalDefinition() override;
    void SetOwnDefinition(const TwostrArray& definition) override;
    void SetOwnQuantDefinition(const std::vector<double>& definition) override;
    int ClearResults() override;
    int Calculate() override;
    bool CallFunc(TStackVal* args, int count) override;

    // After the user toggled points (bit 0 xor bit 1 of each flag: excluded): the
    // concentration and the results again, the points kept. Answers the result state.
    int Recalculate(const std::vector<int>& pointFlags);

    void SizePointArrays(int m);
    int CheckDilutions();    // 0 good, 1 failed (message in the error text of "conc")
    int CheckLayout();       // the same
    int CalcConcentrations(const std::vector<int>& pointFlags);  // the concentration status
    void MarkPointsOutOfRange();

    int PointCount() const { return pointCount; }

    // Points: the first pointCount items of each array are valid.
    int pointCount = 0;
    std::vector<double> signals;
    std::vector<double> wellConcs;
    std::vector<double> dilutions;
    std::vector<int> flags;
    int concStatus = 0;   // "cstat": -1 failed, 1 found, 2 below, 3 above; 0 not computed

private:
    void Fail(int id);    // the message into "conc"'s error text
    std::unique_ptr<std::vector<double>> fOwnQuantDef;
};

}  // namespace vyn
