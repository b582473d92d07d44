#pragma once
// Samples: groups of wells of a plate that are evaluated as one. The plate owns them; each
// sample keeps a non-owning pointer back to its plate.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calibration/QCalibr.h"
#include "evaluator/TFuncPool.h"
#include "evaluator/TStackVal.h"
#include "evaluator/TVarPool.h"
#include "plate/twostr.h"

namespace vyn {

class QPlate;
class QDesc;

// QSampleKind: exactly one bit.
enum QSampleKind : int {
    skGlobal = 1,        // controls
    skQualitative = 2,
    skStandard = 4,
    skQuantitative = 8,
};

// QResultState; any value other than 0..3 counts as an error.
enum QResultState : int {
    rsError = -1,
    rsNotCalculated = 0,
    rsCalculated = 1,
    rsUnder = 2,   // concentration below the standards' range
    rsOver = 3,    // above it
};

// The colour word of a sample that has none (0x00BBGGRR otherwise).
inline constexpr std::uint32_t kNoSampleColour = 0x1000000;

// One well entry of a sample.
struct QSegm {
    int group = 0;          // replicate group, from 0 in layout order
    int well = 0;           // row * columns + column
    QDesc* desc = nullptr;  // the well's sample-name descriptor, owned by the plate
};

class QSample : public TVarPool, public TFuncPool {
public:
    QSample(QPlate* plate, int kind);
    ~QSample() override;
    QSample(const QSample&) = delete;
    QSample& operator=(const QSample&) = delete;

    // --- identity ---
    // Control bytes that the plate file cannot hold are dropped here, whether the text was
    // imported, pasted or typed: what the sample shows is what its file keeps.
    void SetIdent(std::string_view text);
    // "Fix%d" from the plate's counter, which then advances modulo 99. Answers 1.
    int MakeFixName();
    bool IsFixed() const;
    bool IsSequential() const { return !IsFixed(); }
    int SeqIndex() const;
    int SeqNumber() const { return SeqIndex() + 1; }

    // --- well list ---
    int WellCount() const { return static_cast<int>(wells.size()); }
    int AddWellEntry(const QSegm& entry);
    // A position outside 0 .. count is placed at the end. Answers the position used.
    int InsertWellEntry(const QSegm& entry, int position);
    // Renumbers the groups to 0, 1, 2 ... by runs and binds every entry's well to this sample.
    // Entries whose well lies outside the plate are not bound.
    void LinkWells();
    // Frees the wells of the entries that are still bound to this sample.
    void UnlinkWells();
    // Group number of entry i, its well's data value and whether it is a reference well;
    // -1 (value NoValue) for an entry outside the list or a well outside the plate.
    int GetWellEntry(int i, double& value, int& isReference) const;
    void MarkWellsChanged();
    int CountWellsWithDesc(const QDesc& desc) const;

    // --- results ---
    int ResultCount() const { return static_cast<int>(results.size()); }
    // Appends a good result named name (no value yet); answers its index.
    int AppendResult(std::string_view name);
    bool HasResults() const { return resultState != rsNotCalculated; }

    // --- the slots that the kinds override ---
    virtual std::string ResultSource(int i) const;
    virtual int CategoriesEmpty() const { return 0; }
    virtual int HasOwnDefinition() const { return 0; }
    virtual int UsesGlobalDefinition() const { return 0; }
    virtual void UseGlobalDefinition() {}
    virtual void SetOwnDefinition(const TwostrArray&) {}
    virtual void SetOwnQuantDefinition(const std::vector<double>&) {}
    // Throws the results away; 0 when there were none (state 0), else 1.
    virtual int ClearResults();
    // Controls and standards have no evaluation of their own.
    virtual int Calculate() { return 0; }

    // --- pools ---
    bool GetVar(TStackVal& value) override;
    bool CallFunc(TStackVal* args, int count) override;
    // The sample's own variables without asking the rest of the chain: 1 answered, 0 known
    // but unusable (a failed result), -1 not known here.
    int LookupVar(TStackVal& value) const;

    int kind;
    std::string ident;
    QPlate* plate;
    std::vector<QSegm> wells;
    int index = 0;
    std::vector<TStackVal> results;
    std::vector<std::string> errorTexts;
    std::vector<int> errorPositions;
    int resultState = rsNotCalculated;
    bool colourSet = false;
    std::uint32_t colour = kNoSampleColour;
    bool shortSelected = false;
    int shortIndex = 0;
    bool exportSelected = false;
    int exportIndex = 0;

protected:
    // Clears the colour and the short and export selections before an evaluation.
    void ResetPresentation();
    // The value of one well for the variables: data value, or measured when asked or while
    // the plate-level evaluation runs.
    double WellValue(int well, bool measured) const;
};

// The controls of a plate.
class QGlobSample : public QSample {
public:
    explicit QGlobSample(QPlate* plate) : QSample(plate, skGlobal) {}
};

// The standards of a plate: the calibration's source of points.
class QStdSample : public QSample {
public:
    explicit QStdSample(QPlate* plate) : QSample(plate, skStandard) {}

    // One calibration entry per well entry, in list order.
    std::vector<QCalEntry> CalibrationEntries() const;
};

}  // namespace vyn
