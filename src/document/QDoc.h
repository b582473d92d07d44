#pragma once
// QDoc: the document of one plate. It owns the plate, opens and saves it, is the only
// sender of the plate views' notifications, and carries every editing operation of the
// layout and the values and the recalculation of the plate.
#include <memory>
#include <string>
#include <vector>

#include "document/DocDialogs.h"
#include "document/DocShell.h"
#include "platform/core/Document.h"
#include "plate/QPlate.h"

namespace vyn {

class LineReader;
class ILinePrinter;

// The plate views' notifications; item in brackets.
enum QDocNotification : int {
    vnPlateChanged = 101,         // (0) repaint what the plate's change set marks
    vnSampleRemoved = 102,        // (index) that slot was taken out, later samples moved up
    vnSampleAdded = 103,          // (index) a new sample was appended in that slot
    vnSampleSelected = 104,       // (index) the sample list picked a sample
    vnSampleFocused = 105,        // (index) the sample graph picked a sample
    vnTransformChanged = 106,     // (0) blanking was switched off
    vnPresentationChanged = 107,  // (bits) 1 data format, 2 result format, 4 cell width,
                                  // 8 result field width, 16 units
};

// Arrangements of the layout tools.
enum QArrangement : int {
    arSingle = 0,             // "Single samples"
    arDoubletsAcross = 1,     // "Doublets horizontally"
    arDoubletsDown = 2,       // "Doublets vertically"
    arFreeStyle = 3,          // "Free style"
};

class QDoc : public TDocument {
public:
    explicit QDoc(TDocument* parent = nullptr);
    ~QDoc() override;

    QPlate& GetPlate() { return fPlate; }
    const QPlate& GetPlate() const { return fPlate; }

    // --- life ---
    // With a path: reads the plate file ("Cannot open file." when it cannot be opened).
    // Without one: the new plate from the chosen method (InitNewDoc).
    bool InitDoc() override;
    // Reads the method block at the position of the program's plate line reader, with at
    // most the chosen number of sequential samples.
    bool InitNewDoc();
    // Writes the whole plate into a temporary file beside the document's file and renames
    // it over the old one, so that a failed save leaves the old file whole. False without a
    // path (nothing shown) or after a failure (its message shown, the document stays dirty).
    bool Commit(bool force = false) override;
    // Throws the changes away: the plate is read again from its file, or for a document
    // never saved returns to what it was when it was created; clear empties it instead.
    // False (the plate untouched, still dirty) when the file can no longer be read.
    bool Revert(bool clear = false) override;
    bool IsDirty() override { return GetDirtyFlag(); }

    // --- views ---
    // Views named "QPView", "QLView" or "QSView" (plate, sample list, calibration curve).
    int CountDataViews();
    // Destroys every "QNView" (sample graph): they never outlive the last data view.
    void CloseSampleGraphViews();
    bool NotifySampleSelected(int index);
    bool NotifySampleFocused(int index);

    // --- layout and sample editing ---
    // Every free well of the rectangle for the sample, or for the sample the descriptor's
    // kind gives when none is given. The sample's list index, or -1 when the rectangle
    // holds no free well or the descriptor names no sample kind.
    int PlaceSampleAt(QSample* sample, QDesc* desc, int group, int from, int to, bool byColumns);
    // One new standard level per block of the arrangement (0-2). 0, or -1.
    int PlaceStandardAt(QStdSample* sample, QDesc* desc, int from, int to, bool byColumns,
                        int arrangement);
    // One new qualitative or quantitative sample per block. How many were created, or -1.
    int PlaceNewSampleAt(QDesc* desc, int from, int to, bool byColumns, int arrangement);
    // The sample's last group repeated as further groups, one per block.
    bool RepeatDilutionAt(QSample* sample, int from, int to, bool byColumns);
    // New samples laid out as copies of the sample, one per block.
    bool RepeatSampleAt(QSample* sample, int from, int to, bool byColumns);
    // Takes every selected well (bit 0 of its selection byte) out of its sample; samples
    // left without wells leave the list.
    bool ClearSelectedWells(const std::vector<unsigned char>& selection);
    // Moves the selected wells by rows down and columns to the right; the selection moves
    // with them. Refused as a whole when a selected well belongs to no sample, or would
    // leave the plate or land on a well that is occupied and stays so.
    bool MoveSelectedWells(int rows, int columns, std::vector<unsigned char>& selection);
    // Moves the sample forward to the slot position, within its part of the list.
    bool MoveSampleTo(QSample* sample, int position);
    // The sequential sample at index becomes the last fixed sample.
    bool FixSample(int index);
    bool RemoveSample(QSample* sample);
    bool SetSampleName(const std::string& text, int index);
    bool SetPlateValue(double value, int well, bool measured);
    // A whole plate of measured values (one per well, NoValue for an invalid well), stamped
    // with the current time; subtract keeps the difference to the old values.
    bool SetMeasuredData(const std::vector<double>& values, bool subtract);

    // --- recalculation ---
    // vnPlateChanged when the change set shows anything, then a fresh change set.
    void NotifyChanges();
    // The views first see what changed so far; the busy indicator rests while it runs.
    int RunStatus(IStatusReport& report);
    // Every pass whose inputs are there and whose results are missing, errors reported in
    // the status report (the shell's when none is given). Answers 1.
    int CalculatePlate(IStatusReport* report = nullptr);
    // Blanking and transformation alone. Answers 1.
    int CalculateBlanking(IStatusReport* report = nullptr);

    // --- definition commands ---
    // Each runs its dialog on copies; only OK copies back what differs, invalidates what the
    // difference makes stale, notifies the views and marks the document dirty.
    // 1 on OK, 0 on Cancel.
    int RunMethodWizard(IDocDialogs& ui);
    // 0 on Cancel; 1 on OK, 3 when the sheet asked for the method summary to be printed.
    int RunMethodSheet(IDocDialogs& ui);
    // False on Cancel or for an index without a qualitative or quantitative sample.
    bool EditSampleDefinition(IDocDialogs& ui, int index, int option);
    // True when the calibration changed.
    bool EditCalibration(IDocDialogs& ui);
    // The blanking mode (dmMeasured, dmSimple, dmGeneral) and the blank expression, as the
    // layout's blank wells call for them; false when both are as they were.
    bool SetBlanking(int mode, const std::string& blankExpr);
    // Releases a stored calibration; false when it was not stored.
    bool ResetCalibration();
    // Frees the standards' wells; false when there are no standards in use.
    bool RemoveStandards();
    // startKind: 1 controls, 2 qualitative, 4 standards, 8 quantitative. True on OK.
    bool EditSampleNames(IDocDialogs& ui, int startKind);
    bool EditMethodName(IDocDialogs& ui);

    // --- presentation and calibration operations ---
    // True when a setting changed; vnPresentationChanged carries the changed settings' bits.
    bool EditDataPresentation(IDocDialogs& ui);
    bool EditResultPresentation(IDocDialogs& ui);
    bool SetPresentationMode(int resultFieldWidth);
    void SetDisplayOptions(int logX, int logY, int grid);
    bool SetReportDefinition(const std::string& text);
    // Fits the curve when there are values and standards and no fit yet.
    bool ApplyCalibration();
    bool SetCurveRange(double low, double high);
    // One flag per calibration point: excluded = bit 0 xor bit 1.
    bool SetPointFlags(const std::vector<int>& flags);
    // One sample ahead of the whole plate, while it has no results.
    bool CalculateSample(int index);
    // A quantitative sample with results, again with its points flagged as in the graph.
    bool SetSamplePointFlags(int index, const std::vector<int>& flags);

    // --- evaluation summary texts (read only) ---
    void ShowPlateSummary(IDocDialogs& ui);
    void ShowSampleStatus(IDocDialogs& ui, int index);
    void ShowCalibrationStatus(IDocDialogs& ui);
    // The same texts into a report the caller runs.
    void FillPlateSummary(IStatusReport& report) const;
    void FillSampleStatus(IStatusReport& report, int index) const;
    void FillCalibrationStatus(IStatusReport& report) const;

    // --- text import and export ---
    // 1 when the plate changed, else 0. transformed: data values instead of measured ones.
    int ImportData(IDocDialogs& ui, bool transformed);
    // The file's values subtracted from the measured values (old minus new).
    int SubtractTextData(IDocDialogs& ui);
    // 1 written, 0 cancelled or failed.
    int ExportData(IDocDialogs& ui, bool transformed);
    // A text block from the clipboard; 1 when the plate changed, else 0.
    int PastePlateValues(const std::string& text, bool transformed);
    // The number of identifications taken.
    int PasteSampleIds(const std::string& text);
    // Number of samples from the index to the end, 0 for a bad index.
    int DeleteSampleIdent(int index);
    int InsertSampleIdent(int index);
    // 1 imported, 0 otherwise.
    int ImportIdentifications(IDocDialogs& ui);
    // 1 written, 0 cancelled or nothing to export, -1 failed.
    int ExportResults(IDocDialogs& ui);

    // --- printing ---
    // The method definition summary.
    void PrintBody(ILinePrinter& printer);

private:
    void Notify(int event, long item = 0);
    // Reads the document's file, its initial block or nothing into the plate, showing the
    // reader's message on failure.
    bool ReadSource(QPlate& plate);
    // Puts a fresh plate in the place of the current one (the views' pointer stays good);
    // the old samples are kept alive until the next editing operation.
    void ResetPlate();
    // Samples taken out of the list, kept until the views have heard of it.
    void RetireSample(std::unique_ptr<QSample> sample);
    void ForgetRetired() { fRetired.clear(); }
    // A sample's identification as the status report shows it.
    std::string SampleTitle(const QSample& sample) const;
    void ReportDefinitions(IStatusReport& report, const QDefinitionList& list);

    // Copies back the wizard's or the sheet's lists and measurement values; answers whether
    // a list changed (the measurement values alone only mark the document dirty).
    bool ApplyMethodLists(const MethodWizardData& data);
    // The new blanking in place of the old: the data values and results it makes stale are
    // dropped. True when blanking was switched off.
    bool ApplyBlanking(int mode, const std::string& blankExpr, const std::string& transformExpr);
    bool ApplyCurveFit(const CurveFitValues& values);
    // The tail of every accepted calibration change: later results dropped, views told.
    void CalibrationChanged();
    // Puts a whole plate of read values in; 1 when the plate changed.
    int StoreValues(const std::vector<double>& values, int how);
    // Identifications into the samples of the import range; the count taken.
    int TakeIdentifications(const std::vector<std::string>& lines);
    void IdentificationsChanged(int from);

    QPlate fPlate;
    std::vector<std::unique_ptr<QSample>> fRetired;
    // A new plate's method as read, for Revert of a document never saved.
    std::string fInitialBlock;
};

}  // namespace vyn
