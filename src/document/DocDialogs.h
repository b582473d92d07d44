#pragma once
// The dialogs that the plate document's commands run, seen from the document: each takes a
// plain copy of what it edits and hands back the user's answer, 1 for OK and anything else
// for Cancel. The shell implements them over the command's parent window; tests script them.
// None of them changes the plate: the document compares the copies and copies back.
#include <memory>
#include <string>
#include <vector>

#include "document/DocShell.h"
#include "evaluator/NumFormat.h"
#include "plate/QDesc.h"
#include "plate/twostr.h"

namespace vyn {

class QCalibr;
class QDoc;
class QPlate;

// The curve-fit values the method editors show beside the calibration.
struct CurveFitValues {
    int decreasing = 0;   // the trend
    int model = 0;
    int logX = 0;
    std::vector<double> concentrations;
    int fixedK = 0;       // which constant is fixed
    double K0 = 0.0;
    double K1 = 1.0;
    bool changed = false; // the user touched them

    bool operator==(const CurveFitValues&) const = default;
};

// What the method wizard edits; the sheet edits all of it and more.
struct MethodWizardData {
    const QCalibr* calibration = nullptr;   // the plate's, for display
    CurveFitValues curveFit;
    TwostrArray calculations;
    TwostrArray evaluations;
    TwostrArray validations;
    int useRefFilter = 0;
    int measFilter = 0;
    int refFilter = 0;
    std::string readerOptions;
};

struct MethodSheetData : MethodWizardData {
    int blankMode = 0;
    std::string blankExpr;
    std::string transformExpr;
    std::vector<double> dilutions;
    bool printRequested = false;   // the sheet's "Print..." button
};

// The sample definition dialog, "Qualitative Sample Definition" or "Quantitative Sample
// Definition".
struct SampleDefinitionData {
    const QPlate* plate = nullptr;
    int index = 0;
    int option = 0;                  // the calling view's, passed through unchanged
    bool quantitative = false;
    bool globalDefinition = true;    // "&Global definition"
    TwostrArray categories;
    std::vector<double> dilutions;   // quantitative samples only
};

// The "Calibration" dialog.
struct CalibrationDialogData {
    const QCalibr* calibration = nullptr;   // the plate's, as it is
    CurveFitValues curveFit;
    bool stored = false;                    // the dialog's answer: still stored
    // "Load calibration...": the open plate whose calibration was chosen, and whether its
    // document was opened only for this.
    QDoc* loadedFrom = nullptr;
    bool loadedDocOpenedForLoad = false;
};

// "Plate Data Presentation", in data or result mode.
struct PresentationData {
    bool resultMode = false;
    QNumFormat format;
    int fieldWidth = 0;
    std::string units;               // result mode only
};

// A common open or save dialog.
struct FileDialogData {
    bool save = false;
    std::string title;
    std::string filter;              // "Text (*.TXT)|*.TXT|All (*.*)|*"
    int filterIndex = 0;             // in and out
    bool mustExist = false;          // open: the file must exist
    bool overwritePrompt = false;    // save: ask before replacing a file
    std::string path;                // out
};

class IDocDialogs {
public:
    virtual ~IDocDialogs() = default;
    virtual int RunMethodWizard(MethodWizardData& data) = 0;
    virtual int RunMethodSheet(MethodSheetData& data) = 0;
    virtual int RunSampleDefinition(SampleDefinitionData& data) = 0;
    virtual int RunCalibration(CalibrationDialogData& data) = 0;
    // "Sample Names" works on the plate's list itself, as its page of the start kind shows it.
    virtual int RunSampleNames(QDescList& descs, int startKind) = 0;
    // The method's name and comment.
    virtual int RunNameInfo(std::string& name, std::string& comment) = 0;
    virtual int RunPresentation(PresentationData& data) = 0;
    // True when the user chose a file.
    virtual bool RunFileDialog(FileDialogData& data) = 0;
    // The "Status" dialog with only its "Close" button, for the summary texts.
    virtual std::unique_ptr<IStatusReport> MakeInfoReport() = 0;
    // Closes a plate document that was opened only to load its calibration.
    virtual void CloseAndDeleteDoc(QDoc& doc) = 0;
};

}  // namespace vyn
