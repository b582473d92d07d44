#pragma once
// One microplate: its wells and their values, the method definition, the samples laid out on
// the wells, the results of the calculation passes and the presentation settings. The plate
// is a variable and a function pool of the evaluator, runs the calculation passes and takes
// well values.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "calibration/QCalibr.h"
#include "evaluator/NumFormat.h"
#include "evaluator/TFuncPool.h"
#include "evaluator/TStackVal.h"
#include "evaluator/TVarPool.h"
#include "plate/QDefinitionList.h"
#include "plate/QDesc.h"
#include "plate/QSample.h"
#include "plate/QWellRecord.h"
#include "plate/RSt.h"
#include "plate/twostr.h"

namespace vyn {

// QPlateDataMode
enum QPlateDataMode : int {
    dmMeasured = 0,   // the data values are the measured values
    dmSimple = 1,     // data = measured - "gblank"
    dmGeneral = 2,    // the transformation expression computes every data value
};

// QPlateValidity
enum QPlateValidity : int {
    pvError = -1,
    pvNotValidated = 0,
    pvValid = 1,
    pvInvalid = 2,
};

// Set for the length of one evaluation of the blanking or transformation expression: plain
// well names and the samples' well variables then read measured values, because the data
// values are what those expressions are computing.
extern bool gPlateLevelEvaluation;

class QPlate : public TVarPool, public TFuncPool {
public:
    QPlate();
    ~QPlate() override;
    QPlate(const QPlate&) = delete;
    QPlate& operator=(const QPlate&) = delete;

    // --- size and names ---
    // Resets the change set; a new well count reallocates the wells (all empty) and the
    // sample table (all slots empty, their samples deleted). Clears the sample counts.
    void SetSize(int columns, int rows);
    bool IsWell(int i) const { return i >= 0 && i < wellCount; }
    // A1 .. H12; "?" for an index outside the plate.
    std::string FormatWellName(int i) const;
    std::string WellName(int i) const { return FormatWellName(i); }
    // The value in the measured- or data-value format; empty for NoValue or no such well.
    std::string FormatMeasured(int i) const;
    std::string FormatData(int i) const;
    // Display text of a sample's result by its result state; isText false only when a
    // number was formatted.
    std::string SampleResultText(const QSample& sample, bool& isText) const;
    // The selected short result when there is one, else SampleResultText.
    std::string WellResultText(const QSample& sample, bool& isText) const;
    void MarkUsedDescriptors();

    // --- samples ---
    QSample* GetSample(int i) const;
    // Puts the sample into slot index (0 .. sample count), moving the later samples one slot
    // back. fixed: the slot must lie in the fixed part (index <= fixed count), which grows;
    // otherwise index >= fixed count. Answers the index, or -1 (sample not taken) when the
    // slot is out of place or the table is full.
    int InsertSample(std::unique_ptr<QSample> sample, int index, bool fixed);
    // Takes sample i out of the table and closes the gap: every later sample moves one slot
    // down with its new index, the slots it leaves and its wells marked; the fixed count
    // drops when i was fixed. Wells still bound to the sample are freed. Answers the sample
    // (the caller decides whether it lives on), null for an index outside the table.
    std::unique_ptr<QSample> RemoveSample(int i);
    // The first fixed sample whose identification is text, or begins with text and a blank.
    QSample* FindSampleById(std::string_view text) const;

    // --- pools ---
    bool GetVar(TStackVal& value) override;
    bool GetQualifiedVar(TStackVal& qualifier, TStackVal& member) override;
    bool CallFunc(TStackVal* args, int count) override;
    bool CallQualifiedFunc(TStackVal* args, int count) override;
    // Local short date and time of a measurement stamp; empty for 0.
    static std::string FormatFileDate(std::uint64_t time);
    static std::string FormatFileTime(std::uint64_t time);

    // --- calculation passes ---
    int CalcBlanking();                         // 1 done, 2 failed
    int EvalBlank();                            // 0 done, 1 failed
    int CalcTransformation(bool skipErrors);    // 1 all wells done, 2 stopped at cursor - 1
    void CommitPending(bool apply);
    // The fit from the standard sample in use (none: nothing to fit); QCalibr::Recalc's answer.
    int RecalcCalibration();
    int CalcCalculations();                     // 0 nothing to do, 1 all good, -1 some failed
    int CalcValidation();                       // the same
    // Each answers whether anything was there to clear.
    int InvalidateDataValues();
    int InvalidateValidation();
    int ClearSampleResults();
    int InvalidateSampleResults();
    int InvalidateCalculations();
    int InvalidateResults();
    int InvalidateAll();
    int ClearSampleResult(int i);
    int InvalidateSamplesAfter(int i);

    // --- well values ---
    int SetMeasuredValue(int well, double value);
    int SetDataValue(int well, double value);
    // values: one per well (shorter arrays leave the rest of the wells without a value).
    int SetMeasuredValues(const std::vector<double>& values);
    int SubtractMeasuredValues(const std::vector<double>& values, int sign);
    int SetDataValues(const std::vector<double>& values);
    void ResetDataToMeasured();
    void ClearDataValues(int mode);

    // --- fields ---
    std::string methodName;
    std::string methodInfo;
    int fixNameCounter = 0;
    int columns = 0;
    int rows = 0;
    int wellCount = 0;
    RSt rst;
    std::vector<QWellRecord> wells;
    int measuredCount = 0;
    int dataCount = 0;
    std::uint64_t measureTime = 0;   // ms since 1601; 0 not measured
    TStackVal blankValue;            // "gblank"
    TStackVal* currentBlank = nullptr;
    std::string passErrorText;
    int dataMode = dmMeasured;
    std::string blankExpr;
    std::string transformExpr;
    int passErrorPos = 0;
    QCalibr calibr;
    QGlobSample globSample;
    QStdSample stdSample;
    QGlobSample* globInUse = nullptr;
    QStdSample* stdInUse = nullptr;
    QDefinitionList calculations;
    int validity = pvNotValidated;
    QDefinitionList validations;
    QDescList descs;
    TwostrArray globalQualDef;
    std::vector<double> globalQuantDef{1.0};
    std::vector<std::unique_ptr<QSample>> samples;  // one slot per well
    int sampleCount = 0;
    int fixedCount = 0;
    int samplesWithResults = 0;
    int useRefFilter = 0;
    int measFilter = 0;
    int refFilter = 0;
    std::string readerOptions;
    std::string reportDef;
    QNumFormat measuredFormat{nmFixed, 3, 0};
    QNumFormat dataFormat{nmFixed, 3, 0};
    QNumFormat resultsFormat{nmGeneral, 3, 3};
    int resultFieldWidth = 36;
    int cellWidth = 22;
    std::string units;
    int curveLogX = 0;
    int curveLogY = 0;
    int curveGrid = 0;
    int wellCursor = 0;   // -1 while blanking; i + 1 while the transformation evaluates well i

private:
    // Well-name lookup of the variable pool: 1 answered, -1 not a well name here.
    int LookupWellName(TStackVal& value) const;
    // Result of one evaluated definition list pass; validation adds the verdict.
    int CalcDefinitions(QDefinitionList& list, bool validation);
    void ForgetBlank();
    // Each well's field from values (NoValue past their end), marking every changed well;
    // returns how many values are not NoValue.
    int StoreWellValues(const std::vector<double>& values, double QWellRecord::*field);
    // Data values become the measured ones, changed wells marked, the counts kept equal.
    void CopyMeasuredToData();
    // The blanking expression into "gblank"; fill: also the pending data values (simple
    // blanking) and the data flag. 0 done, 1 failed.
    int RunBlank(bool fill);

    // Data values that the blanking or transformation pass produced, applied by CommitPending.
    std::vector<double> fPending;
    bool fHasPending = false;
};

}  // namespace vyn
