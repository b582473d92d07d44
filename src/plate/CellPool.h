#pragma once
// The names of one well for a report cell: its values, its sample, the sample's results and
// the well's place in the sample. Registered in front of the plate's own pools.
#include "evaluator/TFuncPool.h"
#include "evaluator/TVarPool.h"

namespace vyn {

class QPlate;
class QSample;
struct QWellRecord;

class TCellPool : public TVarPool, public TFuncPool {
public:
    TCellPool(const QPlate* plate, int column, int row) : fPlate(plate), fColumn(column), fRow(row) {}

    // The well's index; a cell outside the plate raises 7403.
    int CellIndex() const;
    const QWellRecord& CellRecord() const;
    QSample* CellSample() const;

    // Always answers: a name nobody knows becomes the empty text.
    bool GetVar(TStackVal& value) override;
    bool CallFunc(TStackVal* args, int count) override;

private:
    const QPlate* fPlate;
    int fColumn;
    int fRow;
};

}  // namespace vyn
