#include "DemoData.h"

#include <vector>

#include "document/PlateFile.h"
#include "document/QDoc.h"
#include "evaluator/NoValue.h"
#include "evaluator/NumFormat.h"
#include "platform/core/AtomicFile.h"

namespace vyn {

namespace {

int Well(const char* name)
{
    return (name[0] - 'A') * 12 + std::stoi(name + 1) - 1;
}

// 15 January 2024, 10:00 UTC, in ms since 1601: a fixed stamp keeps the files reproducible.
constexpr std::uint64_t kDemoTime = 13349786400000ULL;

const char* const kModelInfo[] = {
    "Demo: straight line through the standards",
    "Demo: parabola through the standards",
    "Demo: cubic parabola through the standards",
    "Demo: straight pieces between the standards",
    "Demo: spline through the standards",
    "Demo: four-parameter logistic curve",
};

// Blank 0.05 and signal 0.005 per concentration unit: the standards lie exactly on a line,
// so that the demo plate's results can be checked by hand.
constexpr double kBlank = 0.05;
constexpr double kSlope = 0.005;
const double kConcentrations[] = {5, 10, 20, 40, 80, 160};
// Each sample's two replicates straddle the signal of its concentration by 0.01.
const double kSampleConcs[] = {30, 60, 100, 150};

std::string Render(QDoc& doc, int flag)
{
    std::string block;
    RenderPlateBlock(doc.GetPlate(), flag, block);
    return block;
}

}  // namespace

void BuildDemoPlate(QDoc& doc, int model, bool withValues)
{
    QPlate& p = doc.GetPlate();
    p.methodName = "Demo " + QCalibr::ModelName(model);
    p.methodInfo = kModelInfo[model >= 0 && model < 6 ? model : 0];
    p.descs.push_back(std::make_unique<QDesc>(skGlobal, "BL", TColor(0, 128, 0), "Blank"));
    p.descs.push_back(std::make_unique<QDesc>(skStandard, "ST", TColor(0, 128, 255), "Standard"));
    p.descs.push_back(std::make_unique<QDesc>(skQuantitative, "X", TColor(255, 128, 0), "Sample"));
    QDesc* blank = p.descs[0].get();
    QDesc* standard = p.descs[1].get();
    QDesc* sample = p.descs[2].get();

    doc.PlaceSampleAt(nullptr, blank, 0, Well("A1"), Well("A2"), false);
    doc.PlaceStandardAt(nullptr, standard, Well("B1"), Well("B12"), false, arDoubletsAcross);
    doc.PlaceNewSampleAt(sample, Well("C1"), Well("C8"), false, arDoubletsAcross);

    p.calibr.SetParams(model, 0, 0, std::vector<double>(std::begin(kConcentrations), std::end(kConcentrations)),
                       0, 0.0, 1.0);
    p.ClearDataValues(dmSimple);
    p.blankExpr = "avg(BL)";
    p.calculations.definitions = {{"blank", "gblank"}};
    p.validations.definitions = {{"cond1", "blank < 0.1"}};
    p.globalQualDef = {{"high", "conc > 50"}};
    p.units = "ng/ml";

    if (withValues) {
        std::vector<double> v(96, NoValue);
        v[static_cast<std::size_t>(Well("A1"))] = kBlank;
        v[static_cast<std::size_t>(Well("A2"))] = kBlank;
        for (int i = 0; i < 6; ++i) {
            const double signal = kBlank + kSlope * kConcentrations[i];
            v[static_cast<std::size_t>(Well("B1") + 2 * i)] = signal;
            v[static_cast<std::size_t>(Well("B2") + 2 * i)] = signal;
        }
        for (int i = 0; i < 4; ++i) {
            const double signal = kBlank + kSlope * kSampleConcs[i];
            v[static_cast<std::size_t>(Well("C1") + 2 * i)] = signal - 0.01;
            v[static_cast<std::size_t>(Well("C2") + 2 * i)] = signal + 0.01;
        }
        doc.SetMeasuredData(v, false);
        p.measureTime = kDemoTime;
    }
    p.rst.Reset(0);
}

std::string DemoLibraryText()
{
    std::string text;
    for (int model = 0; model < QCalibr::ModelCount(); ++model) {
        QDoc doc;
        BuildDemoPlate(doc, model, false);
        text += Render(doc, pwMethod);
    }
    return text;
}

std::string DemoPlateText()
{
    QDoc doc;
    BuildDemoPlate(doc, cmLinear, true);
    return Render(doc, pwPlate);
}

bool WriteDemoFiles(const std::string& folder, std::string& error)
{
    const char saved = gDecimalChar;
    gDecimalChar = '.';  // the demo files read the same everywhere
    const std::string library = DemoLibraryText();
    const std::string plate = DemoPlateText();
    gDecimalChar = saved;
    if (library.empty() || plate.empty()) {
        error = "the demo data could not be rendered";
        return false;
    }
    for (const auto& [name, text] : {std::pair<std::string, const std::string&>{kDemoLibraryName, library},
                                     std::pair<std::string, const std::string&>{kDemoPlateName, plate}}) {
        const std::string path = folder + "/" + name;
        if (!WriteFileAtomic(path, text)) {
            error = "cannot write " + path;
            return false;
        }
    }
    return true;
}

}  // namespace vyn
