#pragma once
// What the method wizard asks, and how it lives in the method: the wizard keeps no file of its
// own, so its answers are stored as ordinary named definitions under reserved names
// ("Thr1".."Thr5" among the calculations; "ValCmp", "_CompFmt", "_OdFmt", "_ConcFmt", "color",
// "ShortResult", "ExportResult", "CategResult", "LongResult" among the evaluations). Methods
// written earlier are read through these text forms, so they must not change.
#include <array>
#include <string>
#include <vector>

#include "evaluator/NumFormat.h"
#include "plate/twostr.h"

namespace vyn {

// A number format of the long result: the shared format and a field width.
struct QWizzFormat {
    QNumFormat format;  // {4 digits, General, 2 decimals}
    int width = 0;

    bool operator==(const QWizzFormat&) const = default;
};

// Slots 0..5 hold categories 1..6 from low to high, slot 6 the missing-value category.
inline constexpr int kCategorySlots = 7;
inline constexpr int kMissingSlot = 6;
inline constexpr int kMaxThresholds = 5;

using CategoryTexts = std::array<std::string, kCategorySlots>;

// The wizard's state: what its pages edit and what the creating command reads back.
struct QWizzState {
    // 0: no standards in use and no stored calibration; 1: standards in use; 2: stored.
    int mode = 0;

    int curveFitValid = 0;
    int model = 0;
    int decreasing = 0;
    int logX = 0;
    std::vector<double> concentrations;
    int fixedK = 0;
    double K0 = 0.0;
    double K1 = 1.0;

    TwostrArray calculations;
    TwostrArray evaluations;
    TwostrArray validations;

    int useReference = 0;
    int measFilter = 0;
    int refFilter = 0;
    std::string readerOptions;

    std::array<std::string, kMaxThresholds> thresholds;
    std::string valueToCompare;
    CategoryTexts exportNames, matrixNames, categoryNames;
    bool includeCategory = false, includeValue = false, includeAbsorbance = false, includeConcentration = false;
    std::array<int, kCategorySlots> colours{-1, -1, -1, -1, -1, -1, -1};  // 0x00BBGGRR, -1 none
    QWizzFormat valueFormat, absorbanceFormat, concentrationFormat;
    std::array<std::string, 4> separators;
    int thresholdCount = 0;

    // What the answers came to when they were read, so that only a changed answer touches the
    // method: an unchanged one leaves its definition where and as it stands, the user's own
    // definition under a reserved name included.
    bool settingsRead = false;
    TwostrArray generatedAsRead;
};

// Fills the state from the reserved definitions in its calculations and evaluations. A reserved
// name whose text the wizard would not have written is the user's own: it is not read, and
// its answer keeps the default. The lists are left as they are.
void ReadSettings(QWizzState& s);
// Brings the reserved definitions in line with the answers: a definition whose answer changed
// since ReadSettings is replaced in place, appended when it was missing, or removed when the
// answers no longer make one; the others stay untouched. Nothing happens before ReadSettings.
void WriteSettings(QWizzState& s);
// The reserved definitions the answers make, in writing order ("Thr%d" first: they belong to
// the calculations, the others to the evaluations).
TwostrArray GeneratedDefinitions(const QWizzState& s);
// True for the names that live in the calculations ("Thr1".."Thr5").
bool IsThresholdName(const std::string& name);
// A text typed for a category, a presentation name or a separator ends up between double
// quotes in a definition: a quote inside would break it.
bool FitsQuotedText(const std::string& text);

// Helpers of the two, exposed for the pages and the tests.
bool FindDefinition(TwostrArray& list, const std::string& name, std::string& text, bool remove);
std::vector<std::string> ParseQuotedTexts(const std::string& text, int n);
void MoveMissingCategory(CategoryTexts& list, int n);
int ParseRgb(const std::string& text);
void ParseStrFormat(QWizzFormat& format, const std::string& text);
std::string StrExpression(const std::string& name, const QWizzFormat& format);
// An empty text is written as one blank: a category that gave the empty text would fail its
// samples with "Empty value.". legacyEmpty writes it empty, as older versions did.
std::string CategoryExpression(const CategoryTexts& slots, int n, bool legacyEmpty = false);
std::string ColourText(int colour);
std::string LongResultExpression(const QWizzState& s);
bool AnyText(const CategoryTexts& list, int n);
bool AnyColour(const std::array<int, kCategorySlots>& colours, int n);
// Thresholds in use: five, less one for each empty threshold from the fifth down to the first
// filled one (empty ones in between stay and count).
int CountThresholds(const std::array<std::string, kMaxThresholds>& thresholds);

}  // namespace vyn
